#include "platform/desktop/QtDialogs.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>

// The real progress window of a file operation. The operation runs on the
// user-interface thread without returning to the event loop, so the window
// has to appear and take the Cancel click from inside the progress calls.
class TestQtProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortRequestShowsNoWindow();
    void longRequestShowsWindowAndTakesCancel();

private:
    static QProgressDialog *visibleProgress();
};

QProgressDialog *TestQtProgress::visibleProgress()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QProgressDialog *>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

void TestQtProgress::shortRequestShowsNoWindow()
{
    QtDialogs dialogs;
    const auto progress = dialogs.startProgress(QStringLiteral("复制文件"));
    for (int i = 1; i <= 20; ++i) {
        progress->setLabel(QStringLiteral("正在复制：%1.txt").arg(i));
        progress->setValue(i, 20);
    }
    QVERIFY(!visibleProgress());
    QVERIFY(!progress->cancelled());
}

void TestQtProgress::longRequestShowsWindowAndTakesCancel()
{
    QtDialogs dialogs;
    const auto progress = dialogs.startProgress(QStringLiteral("移动文件"));
    progress->setLabel(QStringLiteral("正在移动：1.bin\n第 1 项，共 3 项"));
    progress->setValue(1, 3);
    QVERIFY(!visibleProgress());

    QThread::msleep(650); // the first file takes a while
    const QString second = QStringLiteral("正在移动：2.bin\n第 2 项，共 3 项");
    progress->setLabel(second);
    QProgressDialog *window = visibleProgress();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("移动文件"));
    QCOMPARE(window->labelText(), second);
    QVERIFY(!progress->cancelled());

    QPushButton *cancel = nullptr;
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (button->text() == QStringLiteral("取消"))
            cancel = button;
    }
    QVERIFY(cancel);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(progress->cancelled());
}

QTEST_MAIN(TestQtProgress)
#include "tst_QtProgress.moc"
