#include "platform/grid/GridCellOrder.h"

namespace GridCellOrder {

bool readsAsNumber(QStringView text, double *value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && text.at(i) == u'-')
        ++i;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9')
            ++i;
        return i > start;
    };
    if (!digits())
        return false;
    if (i < n && text.at(i) == u'.') {
        ++i;
        if (!digits())
            return false;
    }
    const qsizetype end = i;
    if (i < n && text.at(i) == u'%')
        ++i;
    if (i != n)
        return false;
    bool ok = false;
    *value = text.first(end).toDouble(&ok);
    return ok;
}

Key keyOf(const QString &text)
{
    Key key;
    if (readsAsNumber(text, &key.value))
        key.number = true;
    else
        key.text = text;
    return key;
}

int compare(const Key &a, const Key &b)
{
    if (a.number != b.number)
        return a.number ? -1 : 1;
    if (a.number)
        return a.value < b.value ? -1 : (b.value < a.value ? 1 : 0);
    return QString::compare(a.text, b.text, Qt::CaseSensitive);
}

} // namespace GridCellOrder
