#include "platform/desktop/FilePropertiesWindow.h"

#include "platform/files/FileTypes.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace {

QString userName(unsigned int uid)
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    struct passwd entry;
    struct passwd *found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid); // a user the system has no name for
}

} // namespace

FilePropertiesWindow::FilePropertiesWindow(
    const QString &path, const FileSystem::EntryStatus &status, QWidget *owner)
    : QWidget(owner, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    const qsizetype slash = path.lastIndexOf(FileSystem::Separator);
    const QString name = path.mid(slash + 1);
    setWindowTitle(name + QStringLiteral(" 属性"));

    const QString values[] = {
        name,
        FileTypes().textOf(name),
        slash > 0 ? path.left(slash) : QString(FileSystem::Separator),
        QStringLiteral("%1 字节").arg(status.size),
        FileSystem::dateTimeText(status.created),
        FileSystem::dateTimeText(status.modified),
        FileSystem::dateTimeText(status.accessed),
        (status.attributes & FileSystem::ReadOnly) ? QStringLiteral("是") : QStringLiteral("否"),
        userName(status.owner),
    };
    const QString captions[]
        = {QStringLiteral("名称："), QStringLiteral("类型："), QStringLiteral("位置："),
            QStringLiteral("大小："), QStringLiteral("创建时间："), QStringLiteral("修改时间："),
            QStringLiteral("访问时间："), QStringLiteral("只读："), QStringLiteral("所有者：")};

    auto *form = new QFormLayout;
    for (size_t i = 0; i < std::size(Fields); ++i) {
        auto *value = new QLabel(values[i]);
        value->setTextFormat(Qt::PlainText); // a name may look like markup
        value->setObjectName(QLatin1String(Fields[i]));
        value->setAccessibleName(captions[i] + values[i]);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(captions[i], value);
    }
    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}
