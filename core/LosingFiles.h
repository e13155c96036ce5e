#pragma once

#include "core/KeepRule.h"

#include <QList>
#include <QString>

#include <functional>

class PendingList;

// One row of the compare list as the keep-rule walk reads it: the paths
// and facts of the records the row stands for.
struct ListedPair
{
    int row = 0;
    QString path1;
    QString path2;
    KeepFacts file1;
    KeepFacts file2;
};

// The file of a pair (1 or 2) the keep rule queues, 0 when the rule is
// none of the ten. A protected file is never queued: the pair gives up its
// other file instead, or nothing when both are protected. The batch walk and the preview of what it
// takes both ask this, so what the preview shows is what the batch queues.
int losingFile(int rule, const KeepFacts &file1, const KeepFacts &file2);

// The keep-rule walk: empties the list, then queues and counts the losing
// file of every pair in the order given, each file once. A chosen file that
// may not go (mayGo of the pair and the chosen file, 1 or 2, is false: it is
// no longer there, or the twin that made it a duplicate is not as it was) is
// neither queued nor counted; the rows of those pairs are returned so that
// the caller can mark them.
QList<int> queueLosingFiles(int rule, const QList<ListedPair> &pairs, PendingList &list,
    const std::function<bool(const ListedPair &pair, int file)> &mayGo);
