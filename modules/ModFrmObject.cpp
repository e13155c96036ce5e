#include "modules/ModFrmObject.h"

#include "platform/desktop/MousePointer.h"
#include "platform/widgets/ControlKind.h"
#include "platform/widgets/Twips.h"

#include <QVariant>
#include <QWidget>

namespace ModFrmObject {

void EnableControlsByType(QWidget *window, bool buttons, bool checkBoxes, bool tabStrips,
    bool grids, bool textBoxes, bool comboBoxes)
{
    const QList<QPair<const char *, bool>> states {
        {ControlKind::CommandButton, buttons},
        {ControlKind::CheckBox, checkBoxes},
        {ControlKind::TabStrip, tabStrips},
        {ControlKind::FlexGrid, grids},
        {ControlKind::TextBox, textBoxes},
        {ControlKind::ComboBox, comboBoxes},
    };
    const auto controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        const QString kind = ControlKind::of(control);
        if (kind.isEmpty())
            continue;
        for (const auto &[name, enabled] : states) {
            if (kind == QLatin1String(name))
                control->setEnabled(enabled);
        }
    }
}

void SaveControlGeometry(QWidget *window)
{
    window->setProperty("designedSize",
        QSize(Twips::fromPixels(window->width()), Twips::fromPixels(window->height())));
    const auto controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (ControlKind::of(control).isEmpty())
            continue;
        const QRect r = control->geometry();
        control->setProperty("designedRect",
            QRect(Twips::fromPixels(r.x()), Twips::fromPixels(r.y()), Twips::fromPixels(r.width()),
                Twips::fromPixels(r.height())));
    }
}

QRect designedRect(const QWidget *control)
{
    return control->property("designedRect").toRect();
}

void LockWindow(QWidget *window, bool locked)
{
    const bool on = !locked;
    EnableControlsByType(window, on, on, on, on, on, on);
    MousePointer::set(locked ? MousePointer::Wait : MousePointer::Default);
}

WindowLock::WindowLock(QWidget *window)
    : m_window(window)
{
    LockWindow(m_window, true);
}

WindowLock::~WindowLock()
{
    LockWindow(m_window, false);
}

} // namespace ModFrmObject
