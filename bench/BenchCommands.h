#pragma once

#include <QStringList>

// One function per velkor-bench command; each prints "key: value" lines and
// returns the process exit code.
int benchGrid(const QStringList &args);
// velkor-bench scan ROOT [PATTERN]: a bare walk against the scan command.
int benchScan(const QStringList &args);
// velkor-bench select ROOT: the commands on a selection of a full compare list.
int benchSelect(const QStringList &args);
// velkor-bench delete-all ROOT: every cell of the full compare list of a
// copy of ROOT selected and deleted into a trash of the bench's own.
int benchDeleteAll(const QStringList &args);
// velkor-bench sort ROOT: every compare grid column sorted both ways through
// the header button, and a window resize, on a full compare list.
int benchSort(const QStringList &args);
// velkor-bench content ROOT: the content box alone and with the name, from a
// cold and a warm page cache and again with the hash cache filled, beside
// xxh128sum, jdupes and rmlint when they are installed.
int benchContent(const QStringList &args);
// velkor-bench batch [PAIRS]: "删除相同文件" on a list of PAIRS (10,000) pairs
// of copies, each losing file sent to a trash of the bench's own.
int benchBatch(const QStringList &args);
// velkor-bench undo [PAIRS]: the same batch delete, then "撤销" of it.
int benchUndo(const QStringList &args);
// velkor-bench preview ROOT: the removal preview of a full compare list,
// ticked and after each change of the keep rule.
int benchPreview(const QStringList &args);
