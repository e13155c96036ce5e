#include "platform/widgets/ControlKind.h"

#include <QVariant>
#include <QWidget>

namespace ControlKind {

void set(QWidget *control, const char *kind)
{
    control->setProperty("controlKind", QString::fromLatin1(kind));
}

QString of(const QWidget *control)
{
    return control->property("controlKind").toString();
}

} // namespace ControlKind
