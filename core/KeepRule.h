#pragma once

#include "core/FileRecord.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// What the keep rules read of one file of a listed pair. A time that could
// not be read is nullopt and counts as earlier than every time that could;
// two such times are equal.
struct KeepFacts
{
    double size = 0;
    std::optional<QDateTime> created;
    std::optional<QDateTime> modified;
    std::optional<QDateTime> accessed;
    // In a protected folder: never the file a pair gives up.
    bool isProtected = false;
};

// The ten keep rules of Combo2, by index: 0 keep file 1, 1 keep file 2,
// 2/3 the larger/smaller file, 4/5 created earlier/later, 6/7 modified
// earlier/later, 8/9 accessed earlier/later. Each rule is a consistent order
// whose ties always go the same way (file 1 is the earlier catalogue record),
// so in every group of listed pairs the file that wins against all the others
// is never queued, whichever rows are listed and however they are sorted.
namespace KeepRule {

constexpr int Count = 10;

enum class Kept { File1, File2 };

// nullopt for an index outside 0..9: no file is chosen, so nothing goes.
std::optional<Kept> decide(int rule, const KeepFacts &file1, const KeepFacts &file2);

// The rules' captions, by index, as Combo2 lists them.
QStringList captions();

// A size cell read as its leading decimal number; 0 when it has none.
double readSize(const QString &cell);

// What the rules read of a record: its size and times as the lists show
// them, so times compare to the second, as the user sees them.
KeepFacts factsOf(const FileRecord &record);

// The sign of (second − first) in whole seconds: -1, 0 or 1.
int compareTimes(const std::optional<QDateTime> &first, const std::optional<QDateTime> &second);

} // namespace KeepRule
