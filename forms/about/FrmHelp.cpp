#include "forms/about/FrmHelp.h"

#include "forms/ControlDescriptions.h"
#include "platform/widgets/AccessibleWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QString guide()
{
    QFile file(QStringLiteral(":/help.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

FrmHelp::FrmHelp()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("FrmHelp"));
    AccessibleWindow::mark(this, QAccessible::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral(" 使用帮助"));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("使用帮助"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // 宋体 is a serif CJK face; this platform's is Noto Serif CJK, with the
    // sans face of the same family where the serif one is missing.
    QFont font;
    font.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(10.5);
    Text1->setFont(font);
    Text1->setPlainText(guide());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(Text1);
    ControlDescriptions::apply(this);
    resize(760, 600);
}
