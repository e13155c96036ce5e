#include "modules/ModFrmObject.h"

#include "platform/desktop/MousePointer.h"
#include "platform/widgets/ControlKind.h"
#include "platform/widgets/Twips.h"

#include <QVariant>
#include <QWidget>

#include <cmath>

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
        control->setProperty("designedRect", Twips::geometry(control));
    }
}

QRect designedRect(const QWidget *control)
{
    return control->property("designedRect").toRect();
}

QSize designedSize(const QWidget *window)
{
    return window->property("designedSize").toSize();
}

void ResizeControlsByType(QWidget *window)
{
    const QSize designed = designedSize(window);
    if (designed.isEmpty())
        return;
    const QRect present = Twips::geometry(window);
    const double rw = double(present.width()) / designed.width();
    const double rh = double(present.height()) / designed.height();
    const int dh = present.height() - designed.height();
    const auto scaled = [](int length, double ratio) { return int(std::lround(length * ratio)); };
    const auto controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        const QString kind = ControlKind::of(control);
        const QVariant saved = control->property("designedRect");
        if (kind.isEmpty() || !saved.isValid())
            continue;
        QRect r = saved.toRect();
        if (kind == QLatin1String(ControlKind::Frame) && control->objectName() == u"FrameFile") {
            r.setWidth(scaled(r.width(), rw));
        } else if (kind == QLatin1String(ControlKind::Frame)
            && control->objectName() == u"Frame1") {
            r.moveLeft(scaled(r.left(), rw));
        } else if (kind == QLatin1String(ControlKind::Frame)
            || kind == QLatin1String(ControlKind::FlexGrid)
            || kind == QLatin1String(ControlKind::ListView)) {
            r.setWidth(scaled(r.width(), rw));
            r.setHeight(r.height() + dh);
        } else if (kind == QLatin1String(ControlKind::PictureBox)) {
            r.moveTop(scaled(r.top(), rh));
            r.setWidth(scaled(r.width(), rw));
        } else {
            continue;
        }
        Twips::setGeometry(control, r);
    }
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
