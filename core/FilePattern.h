#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// A scan's file-name pattern: "*" matches any run of characters, "?" exactly
// one character, every other character stands for itself; letter case is
// ignored and the whole name must match. "*.*" matches every name, also one
// without a dot, as users of the original tool expect.
class FilePattern
{
public:
    explicit FilePattern(const QString &pattern);

    bool matches(QStringView name) const;

private:
    QList<char32_t> m_folded;
    bool m_matchesAll = false;
};
