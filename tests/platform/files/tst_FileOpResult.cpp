#include "platform/files/FileOpResult.h"

#include <QTest>

#include <cerrno>

using Kind = FileOpResult::Kind;
Q_DECLARE_METATYPE(FileOpResult)

// The error windows word every kind of failure through text(); the window
// tests see only some of these, so each wording is held here.
class TestFileOpResult : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textOfEachKind_data();
    void textOfEachKind();
};

void TestFileOpResult::textOfEachKind_data()
{
    QTest::addColumn<FileOpResult>("result");
    QTest::addColumn<QString>("text");
    const QString notTrashed = QStringLiteral("已有的同名文件无法放入回收站，两个文件都留在原处：");
    QTest::newRow("done") << FileOpResult::success() << QString();
    QTest::newRow("cancelled") << FileOpResult::cancelled() << QString();
    // The suite runs under LANG=C.UTF-8: the system's own words.
    QTest::newRow("system") << FileOpResult::fromErrno(ENOENT)
                            << QStringLiteral("No such file or directory");
    QTest::newRow("not a full path")
        << FileOpResult::refused(Kind::NotFullPath) << QStringLiteral("不是完整的文件路径。");
    QTest::newRow("folder") << FileOpResult::refused(Kind::Folder)
                            << QStringLiteral("这是一个文件夹，此操作只处理文件。");
    QTest::newRow("onto itself") << FileOpResult::refused(Kind::OntoItself)
                                 << QStringLiteral("源文件和目标文件是同一个文件。");
    QTest::newRow("already in trash")
        << FileOpResult::refused(Kind::AlreadyInTrash) << QStringLiteral("此文件已在回收站中。");
    QTest::newRow("changed while moved")
        << FileOpResult::refused(Kind::ChangedWhileMoved)
        << QStringLiteral("文件在移动过程中被其他程序替换或修改，两个文件都留在原处。");
    QTest::newRow("changed since listed") << FileOpResult::refused(
        Kind::ChangedSinceListed) << QStringLiteral("文件在列出之后已被替换或修改，未作处理。");
    QTest::newRow("not trashed: system") << FileOpResult::notTrashed(
        FileOpResult::fromErrno(EACCES)) << notTrashed + QStringLiteral("Permission denied");
    QTest::newRow("not trashed: already in trash")
        << FileOpResult::notTrashed(FileOpResult::refused(Kind::AlreadyInTrash))
        << notTrashed + QStringLiteral("此文件已在回收站中。");
}

void TestFileOpResult::textOfEachKind()
{
    QFETCH(FileOpResult, result);
    QFETCH(QString, text);
    QCOMPARE(result.text(), text);
}

QTEST_APPLESS_MAIN(TestFileOpResult)
#include "tst_FileOpResult.moc"
