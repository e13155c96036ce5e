#include "platform/widgets/ThrottledText.h"

#include <QTest>

class TestThrottledText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsAtMostOncePerInterval();
    void showsEveryTextWithoutInterval();
};

void TestThrottledText::showsAtMostOncePerInterval()
{
    QStringList shown;
    QWidget panel;
    ThrottledText text([&](const QString &t) { shown << t; }, &panel, 60000);
    text.setText(u"a"_qs);
    text.setText(u"b"_qs);
    text.setText(u"c"_qs);
    QCOMPARE(shown, QStringList {u"a"_qs});
    QCOMPARE(text.text(), u"c"_qs);
    text.flush();
    QCOMPARE(shown, (QStringList {u"a"_qs, u"c"_qs}));
    text.flush(); // nothing new
    QCOMPARE(shown.size(), 2);
}

void TestThrottledText::showsEveryTextWithoutInterval()
{
    QStringList shown;
    ThrottledText text([&](const QString &t) { shown << t; }, nullptr, 0);
    text.setText(u"a"_qs);
    text.setText(u"b"_qs);
    QCOMPARE(shown, (QStringList {u"a"_qs, u"b"_qs}));
}

QTEST_MAIN(TestThrottledText)
#include "tst_ThrottledText.moc"
