#include "FakeDialogs.h"

QString FakeDialogs::chooseFolder(const QString &title)
{
    folderTitles.append(title);
    return folders.isEmpty() ? QString() : folders.dequeue();
}

std::optional<QString> FakeDialogs::inputText(
    const QString &title, const QString &label, const QString &text)
{
    inputs.append({title, label, text});
    return inputReplies.isEmpty() ? std::nullopt : inputReplies.dequeue();
}
