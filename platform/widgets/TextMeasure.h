#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <vector>

// Text widths for fitting grid columns: the width of "####" followed by the
// text, in the given font, in twips rounded to a whole number. A scan or a
// compare run measures several texts per file but needs each width only for
// a running maximum, so widths are summed from per-character advances that
// are measured once each (kerning is left out, which is close enough for a
// column that gets a margin of four "#" anyway).
class TextMeasure
{
public:
    explicit TextMeasure(const QFont &font);

    int widthTwips(QStringView text);

private:
    qreal advance(char32_t c);

    QFontMetricsF m_metrics;
    qreal m_twipsPerPixel;
    qreal m_prefix;
    std::vector<float> m_bmp; // advances of the basic plane, < 0 while unmeasured
    QHash<char32_t, qreal> m_astral;
};
