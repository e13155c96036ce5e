#pragma once

#include <QChar>
#include <QStringView>

// A text read as code points: a whole surrogate pair is one, a lone
// surrogate stands for itself.
namespace CodePoints {

// The code point that starts at i; i is moved past it.
inline char32_t next(QStringView text, qsizetype &i)
{
    const char16_t unit = text[i++].unicode();
    if (QChar::isHighSurrogate(unit) && i < text.size() && QChar::isLowSurrogate(text[i].unicode()))
        return QChar::surrogateToUcs4(unit, text[i++].unicode());
    return unit;
}

} // namespace CodePoints
