#include "core/MatchRows.h"

#include "core/MatchRowSource.h"

namespace MatchRows {

QList<QStringList> rows(const QList<FileRecord> &records, const QList<MatchPair> &pairs)
{
    const MatchRowSource source(records, pairs);
    QList<QStringList> out;
    out.reserve(pairs.size());
    for (qsizetype i = 0; i < pairs.size(); ++i)
        out.append(source.texts(i));
    return out;
}

QString resultText(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("没有找到相同的文件");
    return QStringLiteral("对比结果：%1 组符合项").arg(count);
}

QString limitNoticeText(qsizetype limit)
{
    return QStringLiteral(
        "匹配的文件对超过 %1 组，只列出了前 %1 组。请勾选更多对比项目或提高相似度后重新对比。")
        .arg(limit);
}

} // namespace MatchRows
