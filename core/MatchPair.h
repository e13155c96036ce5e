#pragma once

#include <QtGlobal>

// One row of the match list in compact form: the catalogue indexes of file 1
// (the earlier record) and file 2, and the similarity in ten-thousandths. The
// window turns it into grid cells that share the catalogue's texts.
struct MatchPair
{
    qint32 first = 0;
    qint32 second = 0;
    qint32 score = 0;

    bool operator==(const MatchPair &) const = default;
};
