#include "platform/widgets/AccessibleWindow.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

constexpr auto RoleProperty = "velkorAccessibleRole";

QAccessibleInterface *windowInterface(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->isWindow())
        return nullptr;
    const QVariant role = widget->property(RoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void AccessibleWindow::mark(QWidget *window, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
    window->setProperty(RoleProperty, static_cast<int>(role));
}
