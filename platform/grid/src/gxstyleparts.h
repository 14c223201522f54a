// The parts of a style that copies share: its extension and its user-attribute list. Each counts the
// styles holding it and is copied when one of them changes it while others hold it too.
#pragma once

#include "grid/gxstyle.h"

#include <algorithm>

struct CGXStyle::Ext {
    unsigned refs = 1;
    CGXBrush interior;
    CGXFont font;
    CGXPen borders[4];
    CString choiceList;
};

// The attributes sorted by id, in one block with the count: a cell's list is one allocation, and
// a copy of it only counts the attribute objects it shares.
struct alignas(8) CGXStyle::UAList {
    struct Entry {
        WORD id;
        const CGXAbstractUserAttribute* value;
    };

    unsigned refs;
    unsigned size;
    unsigned capacity;

    Entry* begin() { return reinterpret_cast<Entry*>(this + 1); }
    Entry* end() { return begin() + size; }
    const Entry* begin() const { return reinterpret_cast<const Entry*>(this + 1); }
    const Entry* end() const { return begin() + size; }
    // Lists are short (a cell holds a few attributes): up to kWalked entries, a walk finds an id
    // sooner than a halving would.
    static constexpr unsigned kWalked = 16;
    // The first entry whose id is not below id.
    Entry* LowerBound(WORD id);
    const Entry* Find(WORD id) const;

    // An empty list with room for capacity entries, held once.
    static UAList* Make(unsigned capacity);
    // A list with the entries of from (holding their objects) and room for capacity entries.
    static UAList* Copy(const UAList& from, unsigned capacity);
    // Drops one holder of the list; the last one drops the attribute objects and frees the block.
    static void Release(UAList* list)
    {
        if (list && --list->refs == 0)
            Free(list);
    }

private:
    static void Free(UAList* list);
};

inline const CGXStyle::UAList::Entry* CGXStyle::UAList::Find(WORD id) const
{
    if (size > kWalked) {
        const Entry* it = std::lower_bound(begin(), end(), id, [](const Entry& e, WORD key) { return e.id < key; });
        return it != end() && it->id == id ? it : nullptr;
    }
    for (const Entry* it = begin(); it != end(); ++it)
        if (it->id >= id)
            return it->id == id ? it : nullptr;
    return nullptr;
}
