#include "core/MatchRows.h"

#include "core/NameSimilarity.h"

#include <QHash>

namespace MatchRows {

QStringList cells(const QList<FileRecord> &records, const MatchPair &pair, qint32 number)
{
    const FileRecord &first = records.at(pair.first);
    const FileRecord &second = records.at(pair.second);
    QStringList row;
    row.reserve(ColumnCount);
    row.append(QString::number(number));
    row.append(NameSimilarity::text(pair.score));
    for (int f = 0; f < FileRecord::FieldCount; ++f) {
        row.append(first.field(f));
        row.append(second.field(f));
    }
    return row;
}

QList<QStringList> rows(const QList<FileRecord> &records, const QList<MatchPair> &pairs)
{
    // Most pairs of a run share a handful of similarity texts.
    QHash<qint32, QString> texts;
    QList<QStringList> out;
    out.reserve(pairs.size());
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const MatchPair &pair = pairs.at(i);
        auto text = texts.constFind(pair.score);
        if (text == texts.cend())
            text = texts.insert(pair.score, NameSimilarity::text(pair.score));
        QStringList row = cells(records, pair, static_cast<qint32>(i + 1));
        row[1] = *text;
        out.append(std::move(row));
    }
    return out;
}

QString resultText(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("没有找到相同的文件");
    return QStringLiteral("对比结果：%1 组符合项").arg(count);
}

QString limitNoticeTitle()
{
    return QStringLiteral("提示");
}

QString limitNoticeText(qsizetype limit)
{
    return QStringLiteral(
        "匹配的文件对超过 %1 组，只列出了前 %1 组。请勾选更多对比项目或提高相似度后重新对比。")
        .arg(limit);
}

} // namespace MatchRows
