#include "modules/ModFindFile.h"
#include "platform/desktop/CancellableWait.h"
#include "platform/files/FileSystem.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/TextMeasure.h"
#include "platform/widgets/ThrottledText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <stdexcept>

namespace {

const QString ScanSchema
    = u"< 序号 |<文件名|<文件位置|<文件大小(字节)|<文件创建时间|<文件修改时间|>"
      u"文件访问时间|>文件类型"_qs;

struct GridScan
{
    GridScan()
    {
        grid.setFormatString(ScanSchema);
        grid.setRows(2);
        grid.setRedraw(false);
    }

    void run(const QString &folder)
    {
        catalogue.clear();
        outcome = ModFindFile::ScanFolder(
            folder, u"*.mp3"_qs, catalogue, window, grid, status, await, read);
    }

    // Record k and row k + 1 are the same file, numbered k + 1.
    void verifyInStep() const
    {
        QCOMPARE(grid.Rows(), catalogue.count() + 2);
        for (int k = 0; k < catalogue.count(); ++k) {
            QCOMPARE(grid.TextMatrix(k + 1, 0), QString::number(k + 1));
            for (int f = 0; f < FileRecord::FieldCount; ++f)
                QCOMPARE(grid.TextMatrix(k + 1, f + 1), catalogue.at(k).field(f));
        }
        for (int c = 0; c < grid.Cols(); ++c)
            QCOMPARE(grid.TextMatrix(grid.Rows() - 1, c), QString());
    }

    QWidget window;
    FlexGrid grid {&window};
    FileCatalogue catalogue;
    QStringList texts;
    std::function<void(const QString &)> shown; // told each text shown
    ThrottledText status {[this](const QString &t) {
                              texts << t;
                              if (shown)
                                  shown(t);
                          },
        nullptr, 0};
    ModFindFile::Await await;
    ScanWalk::ReadFolder read;
    ModFindFile::ScanOutcome outcome;
};

void makeFile(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY2(QFile(path).open(QIODevice::WriteOnly), qPrintable(path));
}

} // namespace

class TestModFindFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillsTheGridInStepWithTheCatalogue();
    void widensButNeverNarrows();
    void keepsRowsAndRecordsInStepAtTheLimit();
    void listsAndFitsWhatItFoundBeforeAFailure();
    void showsTheCountOfASlowScanAndKeepsItsRowsOnEsc();
};

void TestModFindFile::fillsTheGridInStepWithTheCatalogue()
{
    QTemporaryDir dir;
    for (const QString &name : {u"b.mp3"_qs, u"a.mp3"_qs, u"sub/c.mp3"_qs, u"sub/deeper/d.mp3"_qs,
             u"tab\tand*star.mp3"_qs})
        makeFile(dir.filePath(name));
    GridScan scan;
    scan.run(dir.path());
    QCOMPARE(scan.catalogue.count(), 5);
    QCOMPARE(scan.outcome.files, 5);
    QCOMPARE(scan.outcome.folders, 2);
    scan.verifyInStep();
    QCOMPARE(scan.grid.TextMatrix(0, 1), u"文件名"_qs); // the header stays
    QCOMPARE(scan.grid.TextMatrix(3, 1), u"tab\tand*star.mp3"_qs);
    QVERIFY(!scan.outcome.filesRefused);

    // A second scan that finds nothing leaves an empty catalogue; its caller
    // resets the grid beforehand.
    QTemporaryDir empty;
    GridScan again;
    again.run(empty.path());
    QVERIFY(again.catalogue.isEmpty());
    QCOMPARE(again.grid.Rows(), 2);
}

void TestModFindFile::widensButNeverNarrows()
{
    QTemporaryDir dir;
    makeFile(dir.filePath(u"a-rather-long-file-name-for-the-first-column.mp3"_qs));
    GridScan scan;
    const int wide = 100000;
    scan.grid.setColWidth(7, wide);
    const int nameBefore = scan.grid.ColWidth(1);
    const int numberBefore = scan.grid.ColWidth(0);
    scan.run(dir.path()); // no subfolders: the columns are fitted all the same
    QVERIFY(scan.grid.ColWidth(1) > nameBefore);
    QCOMPARE(scan.grid.ColWidth(7), wide);
    QCOMPARE(scan.grid.ColWidth(0),
        std::max(numberBefore, TextMeasure(scan.window.font()).widthTwips(u"1")));
}

void TestModFindFile::keepsRowsAndRecordsInStepAtTheLimit()
{
    QTemporaryDir dir;
    const int total = 32767 + 5;
    for (int i = 0; i < total; ++i) {
        const QString folder = dir.filePath(u"f%1"_qs.arg(i / 1000, 2, 10, QChar(u'0')));
        if (i % 1000 == 0)
            QVERIFY(QDir().mkpath(folder));
        QVERIFY(
            QFile(folder + u"/%1.mp3"_qs.arg(i, 5, 10, QChar(u'0'))).open(QIODevice::WriteOnly));
    }
    GridScan scan;
    scan.run(dir.path());
    QCOMPARE(int(scan.outcome.files), 32767);
    QCOMPARE(scan.catalogue.count(), 32767);
    QVERIFY(scan.outcome.filesRefused);
    scan.verifyInStep();
    // Five-digit numbers show whole.
    QVERIFY(scan.grid.ColWidth(0) >= TextMeasure(scan.window.font()).widthTwips(u"32767"));
}

void TestModFindFile::listsAndFitsWhatItFoundBeforeAFailure()
{
    QTemporaryDir dir;
    makeFile(dir.filePath(u"a-rather-long-file-name-for-the-first-column.mp3"_qs));
    makeFile(dir.filePath(u"b.mp3"_qs));
    makeFile(dir.filePath(u"sub/c.mp3"_qs));
    GridScan scan;
    const int nameBefore = scan.grid.ColWidth(1);
    // The subfolder's listing fails as a vanished share's can.
    scan.read = [](const QString &folder) {
        if (folder.endsWith(u"/sub/"))
            throw std::runtime_error("share gone");
        return FileSystem::readFolder(folder);
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, scan.run(dir.path()));
    QCOMPARE(scan.catalogue.count(), 2);
    scan.verifyInStep();
    QVERIFY(scan.grid.ColWidth(1) > nameBefore);
}

void TestModFindFile::showsTheCountOfASlowScanAndKeepsItsRowsOnEsc()
{
    QTemporaryDir dir;
    const int folders = 10;
    makeFile(dir.filePath(u"a.mp3"_qs));
    for (int i = 0; i < folders; ++i)
        makeFile(dir.filePath(u"f%1/%1.mp3"_qs.arg(i)));
    GridScan scan;
    scan.window.show();
    // Every folder takes a while to list, as on a slow network share.
    scan.read = [](const QString &folder) {
        QThread::msleep(200);
        return FileSystem::readFolder(folder);
    };
    scan.await = [](const QFuture<void> &work, const std::function<void()> &tick) {
        return CancellableWait::until(work, tick);
    };
    const QRegularExpression count(u"^正在扫描：(\\d+) 个文件   扫描目录：10 个$"_qs);
    int counted = -1;
    scan.shown = [&](const QString &text) {
        const QRegularExpressionMatch match = count.match(text);
        if (counted < 0 && match.hasMatch()) {
            counted = match.captured(1).toInt();
            QTest::keyClick(&scan.window, Qt::Key_Escape);
        }
    };
    scan.run(dir.path());

    QVERIFY2(counted >= 0, qPrintable(scan.texts.join(u'\n')));
    QVERIFY(scan.outcome.cancelled);
    // The walk stopped soon after Esc, and what it had listed stays listed.
    QVERIFY(scan.outcome.files >= counted);
    QVERIFY(scan.outcome.files < folders + 1);
    QCOMPARE(scan.catalogue.count(), scan.outcome.files);
    scan.verifyInStep();
    // Before the count, the entries examined were named as always.
    QVERIFY(scan.texts.first().startsWith(u"正在扫描："_qs + dir.path()));
}

QTEST_MAIN(TestModFindFile)
#include "tst_ModFindFile.moc"
