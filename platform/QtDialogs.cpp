#include "platform/QtDialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

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
    }
    void setLabel(const QString &text) override
    {
        m_dialog.setLabelText(text);
        QCoreApplication::processEvents();
    }
    void setValue(qint64 done, qint64 total) override
    {
        m_dialog.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
    }
    bool cancelled() override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

Dialogs::Reply QtDialogs::ask(const Prompt &prompt)
{
    QMessageBox box(toQt(prompt.icon), prompt.title, prompt.text, QMessageBox::NoButton, m_parent);
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
    return QFileDialog::getExistingDirectory(m_parent, title, QString(), QFileDialog::ShowDirsOnly);
}

std::optional<QString> QtDialogs::inputText(
    const QString &title, const QString &label, const QString &text)
{
    bool ok = false;
    const QString result
        = QInputDialog::getText(m_parent, title, label, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return result;
}

std::unique_ptr<Dialogs::Progress> QtDialogs::startProgress(const QString &title)
{
    return std::make_unique<QtProgress>(title, m_parent);
}
