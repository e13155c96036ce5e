#include "platform/Dialogs.h"

void Dialogs::inform(const QString &title, const QString &text, Icon icon, bool systemModal)
{
    ask({title, text, icon, {QString::fromUtf8(Ok)}, {}, systemModal, 0});
}

bool Dialogs::confirm(const QString &title, const QString &text, Icon icon, bool systemModal)
{
    const Reply reply = ask({title, text, icon, {QString::fromUtf8(Ok), QString::fromUtf8(Cancel)},
        {}, systemModal, 1});
    return reply.button == 0;
}
