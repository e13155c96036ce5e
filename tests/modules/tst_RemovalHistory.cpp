#include "modules/ModEditFile.h"
#include "modules/RemovalHistory.h"

#include "support/FakeDialogs.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

// Taking back a delete or a move over real files, with a trash of the
// case's own: a file returns only while its old path is free and it is
// still where, and as, the removal left it.
class TestRemovalHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void fileThatMovedOnStays_data();
    void fileThatMovedOnStays();
    void onlyWhatWentIsOffered();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRemovalHistory::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
}

void TestRemovalHistory::fileThatMovedOnStays_data()
{
    QTest::addColumn<bool>("move");
    // What happens to the removed file before the undo.
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<int>("kind");

    const int changed = int(FileOpResult::Kind::ChangedSinceListed);
    const int system = int(FileOpResult::Kind::System);
    QTest::newRow("trash entry gone") << false << "gone" << system;
    QTest::newRow("trash entry rewritten") << false << "rewritten" << changed;
    QTest::newRow("trash, old path taken") << false << "taken" << system;
    QTest::newRow("moved copy gone") << true << "gone" << system;
    QTest::newRow("moved copy rewritten") << true << "rewritten" << changed;
}

void TestRemovalHistory::fileThatMovedOnStays()
{
    QFETCH(bool, move);
    QFETCH(QString, meanwhile);
    QFETCH(int, kind);
    const QString file = path(QStringLiteral("tree/song.mp3"));
    const QString kept = path(QStringLiteral("tree/other.mp3"));
    QVERIFY(TestFiles::write(file, "song"));
    QVERIFY(TestFiles::write(kept, "kept"));
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("是"));
    ModEditFile::Handled handled;
    const QString list = file + QChar(u'\0') + kept;
    const int result = move
        ? ModEditFile::MoveFileList(dialogs, list, path(QStringLiteral("target")), {}, &handled)
        : ModEditFile::RecycleFileList(dialogs, list, {}, &handled);
    QCOMPARE(result, 1);
    QCOMPARE(handled.size(), 2);
    const QString where = move ? handled.at(0).destination : handled.at(0).trashed.trashedFile;
    QVERIFY(QFile::exists(where));
    if (meanwhile == u"gone")
        QVERIFY(QFile::rename(where, path(QStringLiteral("elsewhere"))));
    else if (meanwhile == u"rewritten")
        QVERIFY(TestFiles::rewriteKeepingTimes(where, "SONG"));
    else
        QVERIFY(TestFiles::write(file, "new"));

    RemovalHistory history;
    history.record(handled);
    const QList<RemovalHistory::Restored> restored = history.undoLast();
    QCOMPARE(restored.size(), 2);
    QCOMPARE(restored.at(0).path, file);
    QCOMPARE(int(restored.at(0).result.kind), kind);
    if (meanwhile == u"taken") {
        QVERIFY(restored.at(0).result.isErrno(EEXIST));
        QCOMPARE(TestFiles::read(file), "new");
        QCOMPARE(TestFiles::read(where), "song");
        QVERIFY(QFile::exists(handled.at(0).trashed.infoFile));
    }
    // The other file of the same removal comes back all the same.
    QVERIFY(restored.at(1).result);
    QCOMPARE(TestFiles::read(kept), "kept");
    QVERIFY(history.isEmpty());
}

void TestRemovalHistory::onlyWhatWentIsOffered()
{
    // A request that removed nothing is no removal to take back.
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("否"));
    const QString file = path(QStringLiteral("tree/song.mp3"));
    QVERIFY(TestFiles::write(file, "song"));
    ModEditFile::Handled handled;
    QCOMPARE(ModEditFile::RecycleFileList(dialogs, file, {}, &handled), 0);
    RemovalHistory history;
    history.record(handled);
    QVERIFY(history.isEmpty());
    QVERIFY(history.undoLast().isEmpty());
}

QTEST_GUILESS_MAIN(TestRemovalHistory)
#include "tst_RemovalHistory.moc"
