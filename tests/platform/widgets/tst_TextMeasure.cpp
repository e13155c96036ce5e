#include "platform/widgets/TextMeasure.h"
#include "platform/widgets/Twips.h"

#include <QFontMetricsF>
#include <QTest>

class TestTextMeasure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void measuresLikeTheFont();
};

void TestTextMeasure::measuresLikeTheFont()
{
    QFont font;
    font.setPointSize(9);
    TextMeasure measure(font);
    const QFontMetricsF metrics(font);
    const QStringList texts = {QString(), u"song.mp3"_qs, u"/home/用户/音乐/华语/"_qs,
        u"2021/3/4 5:06:07"_qs, u"MP3 音频"_qs, u"\U0001F3B5"_qs};
    for (const QString &text : texts) {
        const double exact = metrics.horizontalAdvance(u"####"_qs + text) * Twips::perPixel();
        const int summed = measure.widthTwips(text);
        QVERIFY2(qAbs(summed - exact) <= qMax(15.0, exact * 0.03),
            qPrintable(
                text + u": "_qs + QString::number(summed) + u" vs "_qs + QString::number(exact)));
    }
    QVERIFY(measure.widthTwips(u"aaaa"_qs) > measure.widthTwips(u"aaa"_qs));
}

QTEST_MAIN(TestTextMeasure)
#include "tst_TextMeasure.moc"
