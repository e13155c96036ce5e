#include "core/TwoDecimals.h"

#include <QLocale>

QString twoDecimals(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}
