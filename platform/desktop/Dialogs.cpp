#include "platform/desktop/Dialogs.h"

#include <QCoreApplication>

namespace {

QStringList okOnly()
{
    return {QString::fromUtf8(Dialogs::Ok)};
}

} // namespace

void Dialogs::notice(const QString &text)
{
    ask({QStringLiteral("提示"), text, Icon::Information, okOnly(), {}, true, 0});
}

bool Dialogs::question(const QString &text)
{
    const QStringList buttons {QString::fromUtf8(Ok), QString::fromUtf8(Cancel)};
    return ask({QStringLiteral("询问"), text, Icon::Question, buttons, {}, true, 1}).button == 0;
}

void Dialogs::error(const QString &text)
{
    ask({QStringLiteral("错误！"), text, Icon::Critical, okOnly(), {}, true, 0});
}

void Dialogs::plainMessage(const QString &text)
{
    ask({QCoreApplication::applicationName(), text, Icon::None, okOnly(), {}, false, 0});
}
