#include "platform/widgets/TextMeasure.h"

#include "core/CodePoints.h"
#include "platform/widgets/Twips.h"

#include <cmath>

TextMeasure::TextMeasure(const QFont &font)
    : m_metrics(font)
    , m_twipsPerPixel(Twips::perPixel())
    , m_prefix(m_metrics.horizontalAdvance(QStringLiteral("####")))
    , m_bmp(0x10000, -1.0f)
{
}

qreal TextMeasure::advance(char32_t c)
{
    if (c < 0x10000) {
        float &cached = m_bmp[c];
        if (cached < 0)
            cached = static_cast<float>(m_metrics.horizontalAdvance(QChar(char16_t(c))));
        return cached;
    }
    const auto found = m_astral.constFind(c);
    if (found != m_astral.cend())
        return *found;
    const char32_t units[] = {c};
    const qreal width = m_metrics.horizontalAdvance(QString::fromUcs4(units, 1));
    m_astral.insert(c, width);
    return width;
}

int TextMeasure::widthTwips(QStringView text)
{
    qreal pixels = m_prefix;
    for (qsizetype i = 0; i < text.size();)
        pixels += advance(CodePoints::next(text, i));
    return static_cast<int>(std::lround(pixels * m_twipsPerPixel));
}
