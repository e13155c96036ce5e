#include "modules/ModFrmObject.h"

#include "platform/ControlKind.h"
#include "platform/MousePointer.h"
#include "platform/Twips.h"

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

WindowLock::WindowLock(QWidget *window)
    : m_window(window)
{
    EnableControlsByType(m_window, false, false, false, false, false, false);
    MousePointer::set(MousePointer::Wait);
}

WindowLock::~WindowLock()
{
    EnableControlsByType(m_window, true, true, true, true, true, true);
    MousePointer::set(MousePointer::Default);
}

} // namespace ModFrmObject
