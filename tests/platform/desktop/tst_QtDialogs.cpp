#include "platform/desktop/QtDialogs.h"

#include <QApplication>
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

private:
    static QProgressDialog *visibleProgress();
    static Qt::CursorShape pointer();
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

QTEST_MAIN(TestQtDialogs)
#include "tst_QtDialogs.moc"
