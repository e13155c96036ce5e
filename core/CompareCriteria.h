#pragma once

#include "core/FileRecord.h"

#include <array>

// Which record fields take part in a compare run: slot f is 1 when the box of
// field f was ticked at its last click. The folder slot is never written, so
// two files agree whatever folders they lie in. The slot after the fields
// is the content box: two files agree only when their contents are
// identical.
struct CompareCriteria
{
    static constexpr int ContentSlot = FileRecord::FieldCount;
    static constexpr int SlotCount = ContentSlot + 1;
    // The slots a box can tick, in the order of the boxes: every field but
    // the folder, then the content.
    static constexpr int BoxSlots[] = {FileRecord::Name, FileRecord::Size, FileRecord::Created,
        FileRecord::Modified, FileRecord::Accessed, FileRecord::Type, ContentSlot};

    std::array<int, SlotCount> slots {};

    bool takesPart(int field) const { return slots[static_cast<size_t>(field)] == 1; }
    bool content() const { return takesPart(ContentSlot); }
    // Whether any record field takes part, the content aside.
    bool anyField() const
    {
        for (int f = 0; f < FileRecord::FieldCount; ++f) {
            if (takesPart(f))
                return true;
        }
        return false;
    }
};

// The two comparison modes, as the index of the selected mode tab.
enum class CompareMode { SameName = 1, SimilarName = 2 };
