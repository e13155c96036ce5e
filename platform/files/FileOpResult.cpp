#include "platform/files/FileOpResult.h"

#include <cstring>

namespace {

QString reason(FileOpResult::Kind kind, int errorNumber)
{
    using Kind = FileOpResult::Kind;
    switch (kind) {
    case Kind::Done:
    case Kind::Cancelled:
    case Kind::NotTrashed: // worded around its cause, by text()
        break;
    case Kind::System:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    case Kind::NotFullPath:
        return QStringLiteral("不是完整的文件路径。");
    case Kind::Folder:
        return QStringLiteral("这是一个文件夹，此操作只处理文件。");
    case Kind::OntoItself:
        return QStringLiteral("源文件和目标文件是同一个文件。");
    case Kind::AlreadyInTrash:
        return QStringLiteral("此文件已在回收站中。");
    case Kind::ChangedWhileMoved:
        return QStringLiteral("文件在移动过程中被其他程序替换或修改，两个文件都留在原处。");
    case Kind::ChangedSinceListed:
        return QStringLiteral("文件在列出之后已被替换或修改，未作处理。");
    }
    return QString();
}

} // namespace

FileOpResult FileOpResult::fromErrno(int number, const QString &path)
{
    return {Kind::System, number, Kind::Done, path};
}

FileOpResult FileOpResult::refused(Kind kind, const QString &path)
{
    return {kind, 0, Kind::Done, path};
}

FileOpResult FileOpResult::notTrashed(const FileOpResult &trashed)
{
    return {Kind::NotTrashed, trashed.errorNumber, trashed.kind, trashed.path};
}

FileOpResult FileOpResult::about(const QString &file) const
{
    FileOpResult result = *this;
    result.path = file;
    return result;
}

QString FileOpResult::text() const
{
    if (kind == Kind::NotTrashed)
        return QStringLiteral("已有的同名文件无法放入回收站，两个文件都留在原处：%1")
            .arg(reason(cause, errorNumber));
    return reason(kind, errorNumber);
}
