// Renumbering of rows or columns when a block of them moves (internal).
#pragma once

#include "grid/gxtypes.h"

// Where index i lands when the block [from, to] moves to start at dest; the others close up around it.
inline ROWCOL MovedIndex(ROWCOL i, ROWCOL from, ROWCOL to, ROWCOL dest)
{
    const ROWCOL n = to - from + 1;
    if (i >= from && i <= to)
        return dest + (i - from);
    if (dest < from && i >= dest && i < from)
        return i + n;
    if (dest > from && i > to && i < dest + n)
        return i - n;
    return i;
}
