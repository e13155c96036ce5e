#include "platform/desktop/FilePropertiesWindow.h"
#include "platform/desktop/QtDialogs.h"
#include "platform/files/ShellFilePrompts.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>

// The real windows of the dialog seam as a file operation meets them: it runs
// under the window lock's wait pointer and asks its questions while its own
// progress window is up.
class TestQtDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void promptShowsAboveProgressUnderNormalPointer();
    void progressKeepsOneWidth();
    void namesShowAsText_data();
    void namesShowAsText();

private:
    static QProgressDialog *visibleProgress();
    static Qt::CursorShape pointer();
    // The non-empty texts of a window's labels, and those of them drawn as markup.
    static void readLabels(const QWidget *window, QStringList &texts, QStringList &markup);
};

QProgressDialog *TestQtDialogs::visibleProgress()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QProgressDialog *>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

Qt::CursorShape TestQtDialogs::pointer()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

void TestQtDialogs::cleanup()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void TestQtDialogs::promptShowsAboveProgressUnderNormalPointer()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor); // the window lock's
    QtDialogs dialogs;
    auto progress = dialogs.startProgress(QStringLiteral("移动文件"));
    progress->setLabel(QStringLiteral("正在移动：a.txt\n第 1 项，共 2 项"));

    const Dialogs::Prompt question = {QStringLiteral("替换或跳过文件"), QStringLiteral("a.txt"),
        Dialogs::Icon::Warning, {QStringLiteral("替换"), QStringLiteral("跳过")},
        QStringLiteral("为所有冲突执行此操作"), false, 1};
    // Each round: what was seen while the prompt was up.
    struct Seen
    {
        bool box = false;
        bool progressShown = true;
        Qt::CursorShape pointer = Qt::WaitCursor;
    };
    const auto answerAfter = [](int waitMs, Seen &seen) {
        QTimer::singleShot(0, [waitMs, &seen] {
            QTest::qWait(waitMs);
            QMessageBox *box = nullptr;
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *shown = qobject_cast<QMessageBox *>(widget); shown && shown->isVisible())
                    box = shown;
            }
            seen.box = box != nullptr;
            seen.progressShown = visibleProgress() != nullptr;
            seen.pointer = pointer();
            if (box) {
                for (QPushButton *button : box->findChildren<QPushButton *>()) {
                    if (button->text() == QStringLiteral("跳过"))
                        button->click();
                }
            }
        });
    };

    // Asked before the progress window appeared: its timer comes due while
    // the prompt is up and must not bring it up over the prompt.
    Seen early;
    answerAfter(700, early);
    QCOMPARE(dialogs.ask(question).button, 1);
    QVERIFY(early.box);
    QCOMPARE(early.pointer, Qt::ArrowCursor);
    QVERIFY(!early.progressShown);

    // Asked while the progress window is up.
    progress->setLabel(QStringLiteral("正在移动：b.txt\n第 2 项，共 2 项"));
    QVERIFY(visibleProgress());
    QCOMPARE(pointer(), Qt::ArrowCursor); // its Cancel button must be usable
    Seen late;
    answerAfter(0, late);
    QCOMPARE(dialogs.ask(question).button, 1);
    QVERIFY(late.box);
    QVERIFY(!late.progressShown);
    QCOMPARE(late.pointer, Qt::ArrowCursor);
    QVERIFY(visibleProgress());

    progress.reset();
    QCOMPARE(pointer(), Qt::WaitCursor); // the window is still locked
}

void TestQtDialogs::progressKeepsOneWidth()
{
    QtDialogs dialogs;
    const auto progress = dialogs.startProgress(QStringLiteral("复制文件"));
    progress->setLabel(QStringLiteral("正在复制：a.txt\n第 1 项，共 2 项"));
    QThread::msleep(650);
    progress->setLabel(QStringLiteral("正在复制：b.txt\n第 2 项，共 3 项"));
    QProgressDialog *window = visibleProgress();
    QVERIFY(window);
    const int width = window->width();

    const QString name = QStringLiteral("很长的名字").repeated(80) + QStringLiteral("-end.mp3");
    progress->setLabel(QStringLiteral("正在复制：") + name + QStringLiteral("\n第 3 项，共 3 项"));
    QCOMPARE(window->width(), width);
    QVERIFY(width <= window->screen()->availableGeometry().width());
    const QString shown = window->labelText();
    QVERIFY2(shown.contains(QChar(u'…')), qPrintable(shown));
    QVERIFY2(shown.startsWith(QStringLiteral("正在复制：很长的名字")), qPrintable(shown));
    QVERIFY2(shown.endsWith(QStringLiteral("-end.mp3\n第 3 项，共 3 项")), qPrintable(shown));
}

void TestQtDialogs::readLabels(const QWidget *window, QStringList &texts, QStringList &markup)
{
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;
        texts << label->text();
        const Qt::TextFormat format = label->textFormat();
        if (format == Qt::RichText || format == Qt::MarkdownText
            || (format == Qt::AutoText && Qt::mightBeRichText(label->text())))
            markup << label->text();
    }
}

void TestQtDialogs::namesShowAsText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("message box") << u"ask"_qs;
    QTest::newRow("input dialog") << u"input"_qs;
    QTest::newRow("progress label") << u"progress"_qs;
    QTest::newRow("properties window") << u"properties"_qs;
}

void TestQtDialogs::namesShowAsText()
{
    QFETCH(QString, kind);
    // Read as markup, this name would hide everything after it.
    const QString name = u"<b>x<!--.mp3"_qs;
    const QString folder = u"/music/<i>new"_qs;
    const QString path = folder + u"/"_qs + name;
    const QString other = u"/music/old/"_qs + name;

    QWidget owner;
    QtDialogs dialogs(&owner);
    QStringList texts;
    QStringList markup;
    QStringList expected; // pieces that must all be shown
    const auto readModal = [&] {
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!window)
                return;
            readLabels(window, texts, markup);
            window->reject();
        });
    };
    if (kind == u"ask") {
        readModal();
        const ShellFilePrompts::FileFacts incoming {path, 1234, QDateTime()};
        const ShellFilePrompts::FileFacts existing {other, 99, QDateTime()};
        dialogs.ask(ShellFilePrompts::clash(ShellFileRequest::Move, name, incoming, existing));
        expected
            = QStringList {u"已有名为“"_qs + name, u"1234 字节"_qs, path, u"99 字节"_qs, other};
    } else if (kind == u"input") {
        readModal();
        const QString label = u"原文件："_qs + path + u"\r\n请输入一个合法的新文件名："_qs;
        QCOMPARE(dialogs.inputText(u"文件改名"_qs, label, u"<b>x<!--"_qs), std::nullopt);
        expected = QStringList {label};
    } else if (kind == u"progress") {
        const auto progress = dialogs.startProgress(u"删除文件"_qs);
        progress->setLabel(ShellFilePrompts::progressLabel(ShellFileRequest::Delete, name, 1, 1));
        QProgressDialog *window = owner.findChild<QProgressDialog *>();
        QVERIFY(window);
        readLabels(window, texts, markup);
        expected = QStringList {u"正在放入回收站："_qs + name + u"\n第 1 项，共 1 项"_qs};
    } else {
        const FilePropertiesWindow window(path, FileSystem::EntryStatus {});
        readLabels(&window, texts, markup);
        expected = QStringList {name, folder};
    }
    QVERIFY2(markup.isEmpty(), qPrintable(markup.join(u" | "_qs)));
    const QString shown = texts.join(u"\n"_qs);
    for (const QString &piece : std::as_const(expected))
        QVERIFY2(shown.contains(piece), qPrintable(piece + u" not in: "_qs + shown));
}

QTEST_MAIN(TestQtDialogs)
#include "tst_QtDialogs.moc"
