// The row-sort algorithm of the grids' column sort, on a plain row model so that it can be used and tested
// without a grid. CKXSortGrid reads a grid into this model and writes the resulting order back.
#pragma once

#include <set>
#include <string>
#include <vector>

// One data row as the sort sees it.
struct KXSortItem {
    std::string key; // text of the sorted cell (or of its sort attribute)
    int level = 0;   // hierarchy level; rows whose level is a skip level stay under the row above them
    bool blankRow = false; // every cell of the row is empty (see KXSortOptions::freezeBlankRows)
};

struct KXSortOptions {
    bool ascending = true;
    // 1: compare texts (alphabetic or alphanumeric, below); 0: compare numbers (texts that are no number sort
    // after the numbers, among themselves as texts).
    int kind = 1;
    // Alphabetic: plain character order. Alphanumeric (false): runs of digits compare by their value, so
    // "A2" comes before "A10" and "D[9]" before "D[10]".
    bool alpha = true;
    bool caseSensitive = false;
    // Rows with an empty key go after all others, in both directions; otherwise empty sorts as the smallest.
    bool blanksLast = true;
    // Wholly blank rows keep their positions; the other rows are sorted into the remaining places.
    bool freezeBlankRows = false;
    std::set<int> skipLevels; // levels of child rows that move with their parent and keep their order
};

// Compares two keys as the options say (-1, 0, 1); ignores direction and blank handling.
int KXCompareSortKeys(const std::string& a, const std::string& b, const KXSortOptions& opt);

// A key whose plain byte order (std::string's <) is the alphanumeric order of the texts: keys compare as
// KXCompareSortKeys compares the texts with alpha = false. A list sorted by many comparisons makes each
// text's key once.
std::string KXAlphaNumericKey(const std::string& text, bool caseSensitive);

// The new order: result[i] is the index, in `rows`, of the row that goes to place i. The sort is stable: rows
// with equal keys keep their relative order, in both directions. A child row (level in skipLevels) stays
// directly under the nearest row above it that is not a child row, together with its siblings, in their
// order; a child row with no such row above it counts as a parent.
std::vector<size_t> KXComputeSortOrder(const std::vector<KXSortItem>& rows, const KXSortOptions& opt);
