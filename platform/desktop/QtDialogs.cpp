#include "platform/desktop/QtDialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>

#include <optional>

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The window lock puts the wait pointer over the whole application; a window
// that waits for the user shows the normal one, and the wait pointer comes
// back once it is gone, for the window is still locked.
class NormalPointer
{
public:
    NormalPointer()
        : m_pushed(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_pushed)
            QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~NormalPointer()
    {
        const QCursor *top = QGuiApplication::overrideCursor();
        if (m_pushed && top && top->shape() == Qt::ArrowCursor)
            QGuiApplication::restoreOverrideCursor();
    }
    NormalPointer(const NormalPointer &) = delete;
    NormalPointer &operator=(const NormalPointer &) = delete;

private:
    bool m_pushed;
};

// The progress window of a file operation. While a prompt is up it stays out
// of sight, even when its own timer comes due meanwhile, so it never covers
// the question it waits for; it comes back when the prompt is answered.
class ProgressWindow : public QProgressDialog
{
public:
    explicit ProgressWindow(QWidget *parent)
        : QProgressDialog(parent)
    {
    }

    void holdBack(bool held)
    {
        if (held) {
            m_showAfter = isVisible();
            if (m_showAfter)
                hide();
            m_held = true;
        } else {
            m_held = false;
            if (m_showAfter)
                show();
            m_showAfter = false;
        }
    }

    void setVisible(bool visible) override
    {
        if (visible && m_held) {
            m_showAfter = true;
            return;
        }
        if (!visible)
            m_pointer.reset();
        else if (!m_pointer)
            m_pointer.emplace();
        QProgressDialog::setVisible(visible);
    }

private:
    bool m_held = false;
    bool m_showAfter = false;
    std::optional<NormalPointer> m_pointer;
};

// Keeps the progress window out of sight for the length of a prompt.
class HeldBack
{
public:
    explicit HeldBack(QProgressDialog *progress)
        : m_progress(static_cast<ProgressWindow *>(progress))
    {
        if (m_progress)
            m_progress->holdBack(true);
    }
    ~HeldBack()
    {
        if (m_progress)
            m_progress->holdBack(false);
    }
    HeldBack(const HeldBack &) = delete;
    HeldBack &operator=(const HeldBack &) = delete;

private:
    QPointer<ProgressWindow> m_progress;
};

class QtProgress : public Dialogs::Progress
{
public:
    QtProgress(const QString &title, QWidget *parent)
        : m_dialog(parent)
    {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setCancelButtonText(QString::fromUtf8(Dialogs::Cancel));
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setRange(0, 1000);
        m_dialog.setValue(0);
        // File names are shown as they are, never read as markup.
        for (QLabel *label : m_dialog.findChildren<QLabel *>())
            label->setTextFormat(Qt::PlainText);
        // One width for the whole operation, well inside the screen: long
        // names are shortened in the middle instead of widening the window.
        const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        const int room = screen ? screen->availableGeometry().width() - 40 : 480;
        m_dialog.setFixedWidth(qBound(200, room, 480));
        m_textWidth = m_dialog.width() - 60;
    }
    QProgressDialog *dialog() { return &m_dialog; }

    void setLabel(const QString &text) override
    {
        const QFontMetrics metrics(m_dialog.font());
        QStringList lines = text.split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = metrics.elidedText(line, Qt::ElideMiddle, m_textWidth);
        m_dialog.setLabelText(lines.join(QLatin1Char('\n')));
        QCoreApplication::processEvents();
    }
    void setValue(qint64 done, qint64 total) override
    {
        m_dialog.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
    }
    bool cancelled() override { return m_dialog.wasCanceled(); }

private:
    ProgressWindow m_dialog;
    int m_textWidth = 0;
};

} // namespace

Dialogs::Reply QtDialogs::ask(const Prompt &prompt)
{
    const HeldBack held(m_progress);
    const NormalPointer pointer;
    QMessageBox box(toQt(prompt.icon), prompt.title, prompt.text, QMessageBox::NoButton, m_parent);
    // The texts hold file names, which may look like markup.
    box.setTextFormat(Qt::PlainText);
    if (prompt.systemModal) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    QList<QAbstractButton *> buttons;
    for (int i = 0; i < prompt.buttons.size(); ++i) {
        const auto role
            = i == prompt.escapeButton ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        buttons.append(box.addButton(prompt.buttons.at(i), role));
    }
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    if (prompt.escapeButton >= 0 && prompt.escapeButton < buttons.size())
        box.setEscapeButton(buttons.at(prompt.escapeButton));
    QCheckBox *check = nullptr;
    if (!prompt.checkBox.isEmpty()) {
        check = new QCheckBox(prompt.checkBox, &box);
        box.setCheckBox(check);
    }
    box.exec();
    Reply reply;
    reply.button = static_cast<int>(buttons.indexOf(box.clickedButton()));
    if (reply.button < 0)
        reply.button = prompt.escapeButton;
    reply.checked = check && check->isChecked();
    return reply;
}

QString QtDialogs::chooseFolder(const QString &title)
{
    const HeldBack held(m_progress);
    const NormalPointer pointer;
    return QFileDialog::getExistingDirectory(m_parent, title, QString(), QFileDialog::ShowDirsOnly);
}

std::optional<QString> QtDialogs::inputText(
    const QString &title, const QString &label, const QString &text)
{
    const HeldBack held(m_progress);
    const NormalPointer pointer;
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextValue(text);
    // The prompt names a file, which may look like markup.
    for (QLabel *shown : dialog.findChildren<QLabel *>())
        shown->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtDialogs::popupMenu(QMenu *menu, const QPoint &globalPos)
{
    menu->exec(globalPos);
}

std::unique_ptr<Dialogs::Progress> QtDialogs::startProgress(const QString &title)
{
    auto progress = std::make_unique<QtProgress>(title, m_parent);
    m_progress = progress->dialog();
    return progress;
}
