#include "forms/about/FrmAbout.h"

#include "forms/ControlDescriptions.h"

#include "core/ProgramVersion.h"
#include "platform/widgets/AccessibleWindow.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template<typename Control>
Control *named(QWidget *parent, const QString &name)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    return control;
}

QLabel *label(QWidget *parent, const QString &name)
{
    auto *text = named<QLabel>(parent, name);
    text->setTextFormat(Qt::PlainText);
    return text;
}

void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

// This platform's line break: the texts are shown, never written to a file.
constexpr auto Break = "\n";

} // namespace

FrmAbout::FrmAbout()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("FrmAbout"));
    AccessibleWindow::mark(this, QAccessible::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);

    picIcon = named<QLabel>(this, QStringLiteral("picIcon"));
    picIcon->setPixmap(QIcon(QStringLiteral(":/velkor.svg")).pixmap(64, 64));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lblTitle = label(this, QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = label(this, QStringLiteral("lblVersion"));
    lblDescription = label(this, QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    // An etched separator: a grey line with a white one right below it.
    const QColor lineColours[] = {QColor(0x80, 0x80, 0x80), QColor(0xFF, 0xFF, 0xFF)};
    for (int i = 0; i < 2; ++i) {
        Line1[i] = named<QFrame>(this, QStringLiteral("Line1(%1)").arg(i));
        Line1[i]->setFixedHeight(1);
        Line1[i]->setAutoFillBackground(true);
        QPalette palette = Line1[i]->palette();
        palette.setColor(QPalette::Window, lineColours[i]);
        Line1[i]->setPalette(palette);
    }
    lblDisclaimer = label(this, QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    cmdOK = named<QPushButton>(this, QStringLiteral("cmdOK"));
    cmdOK->setText(QStringLiteral("确定"));
    cmdOK->setAccessibleName(QStringLiteral("确定"));
    cmdOK->setDefault(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(12);
    texts->addWidget(lblDescription);
    auto *top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addWidget(cmdOK, 0, Qt::AlignBottom);
    auto *window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addSpacing(8);
    window->addWidget(Line1[0]);
    window->setSpacing(0);
    window->addWidget(Line1[1]);
    window->addSpacing(8);
    window->addLayout(bottom);
    window->setContentsMargins(16, 16, 16, 12);

    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);

    Form_Load();
    ControlDescriptions::apply(this);
    resize(480, sizeHint().height());
}

void FrmAbout::Form_Load()
{
    const QString title = QCoreApplication::applicationName();
    setWindowTitle(QStringLiteral("关于 ") + title);
    setLabelText(lblTitle, title);
    setLabelText(lblVersion, QStringLiteral("版本 ") + programVersion());
    const QString br = QString::fromLatin1(Break);
    setLabelText(lblDescription,
        QStringLiteral("开发环境：C++20 / Qt 6") + br + br
            + QStringLiteral("整理时间：2012-04 （Velkor 开发团队）") + br + br
            + QStringLiteral("问题反馈：请在项目主页提交问题") + br + br + br
            + QStringLiteral("在 Debian 12、Qt 6 中运行通过"));
    setLabelText(lblDisclaimer, QStringLiteral("老少爷们们，有钱的捧个钱场！没钱的捧个人场！"));
}

// The OK button is both the default and the cancel button.
void FrmAbout::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        cmdOK->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FrmAbout::cmdOK_Click()
{
    close();
}
