#include "platform/files/ShellFilePrompts.h"

#include "platform/files/FileOps.h"

namespace ShellFilePrompts {

namespace {

QString verb(ShellFileRequest::Operation operation)
{
    switch (operation) {
    case ShellFileRequest::Copy:
        return QStringLiteral("复制");
    case ShellFileRequest::Move:
        return QStringLiteral("移动");
    case ShellFileRequest::Delete:
        break;
    }
    return QStringLiteral("删除");
}

QString facts(const FileFacts &file)
{
    return QStringLiteral("%1 字节，修改时间 %2\n%3")
        .arg(file.size)
        .arg(file.modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), file.path);
}

QString nameOf(const QString &path)
{
    return FileOps::fileNameOf(path);
}

} // namespace

FileOpPrompter::Prompt trashConfirmation(const QStringList &paths)
{
    const QString text = paths.size() == 1
        ? QStringLiteral("确实要把此文件放入回收站吗？\n") + nameOf(paths.first())
        : QStringLiteral("确实要把这 %1 项放入回收站吗？").arg(paths.size());
    return {QStringLiteral("删除文件"), text, FileOpPrompter::Icon::Question,
        {QString::fromUtf8(FileOpPrompter::Yes), QString::fromUtf8(FileOpPrompter::No)}, {}, false,
        1};
}

FileOpPrompter::Prompt clash(ShellFileRequest::Operation operation, const QString &name,
    const FileFacts &incoming, const FileFacts &existing)
{
    const QString text
        = QStringLiteral("目标文件夹中已有名为“%1”的文件。\n\n要%2的文件：%3\n\n已有的文件：%4")
              .arg(name, verb(operation), facts(incoming), facts(existing));
    return {QStringLiteral("替换或跳过文件"), text, FileOpPrompter::Icon::Warning,
        {QStringLiteral("替换"), QStringLiteral("跳过"), QStringLiteral("保留两者"),
            QString::fromUtf8(FileOpPrompter::Cancel)},
        QStringLiteral("为所有冲突执行此操作"), false, CancelAll};
}

FileOpPrompter::Prompt failure(ShellFileRequest::Operation operation, const FileOpResult &failed)
{
    const QString &path = failed.path;
    return {QStringLiteral("%1文件时出错").arg(verb(operation)),
        QStringLiteral("无法%1“%2”：\n%3\n\n%4")
            .arg(verb(operation), nameOf(path), failed.text(), path),
        FileOpPrompter::Icon::Critical,
        {QStringLiteral("跳过"), QString::fromUtf8(FileOpPrompter::Cancel)}, {}, false, CancelRest};
}

FileOpPrompter::Prompt unusableTarget(
    ShellFileRequest::Operation operation, const FileOpResult &failed)
{
    return {QStringLiteral("%1文件时出错").arg(verb(operation)),
        QStringLiteral("无法使用目标文件夹：\n%1\n\n%2").arg(failed.text(), failed.path),
        FileOpPrompter::Icon::Critical, {QString::fromUtf8(FileOpPrompter::Ok)}, {}, false, 0};
}

QString progressTitle(ShellFileRequest::Operation operation)
{
    return verb(operation) + QStringLiteral("文件");
}

QString progressLabel(
    ShellFileRequest::Operation operation, const QString &name, int number, int count)
{
    const QString doing = operation == ShellFileRequest::Delete
        ? QStringLiteral("正在放入回收站：")
        : QStringLiteral("正在%1：").arg(verb(operation));
    return doing + name + QStringLiteral("\n第 %1 项，共 %2 项").arg(number).arg(count);
}

QString byteCount(qint64 done, qint64 total)
{
    return QStringLiteral("已完成 %1 / %2 字节").arg(done).arg(total);
}

} // namespace ShellFilePrompts
