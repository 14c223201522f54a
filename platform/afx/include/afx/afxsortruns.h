// SortStableRuns: a stable sort that finds the ascending runs its input already holds and merges them.
//
// Lists of names come from the design in runs (in the order they were read, most often sorted by some
// rule close to the list's own): a sorted input costs one pass, and an input of r runs costs
// n log r comparisons where a merge sort of it costs n log n. The result is the one std::stable_sort
// gives: the runs are cut only where an item is less than the one before it, so items of equal keys
// stay in their order, and adjacent runs merge with the earlier one's items first on a tie.
#pragma once

#include <algorithm>
#include <iterator>
#include <vector>

template <class It, class Less>
void SortStableRuns(It first, It last, Less less) {
    std::vector<It> bounds{first}; // run i is [bounds[i], bounds[i + 1])
    if (first == last) return;
    for (It prev = first, it = std::next(first); it != last; prev = it, ++it)
        if (less(*it, *prev)) bounds.push_back(it);
    bounds.push_back(last);
    std::vector<It> merged;
    while (bounds.size() > 2) {
        merged.assign(1, bounds.front());
        size_t i = 0;
        for (; i + 2 < bounds.size(); i += 2) {
            std::inplace_merge(bounds[i], bounds[i + 1], bounds[i + 2], less);
            merged.push_back(bounds[i + 2]);
        }
        if (i + 1 < bounds.size()) merged.push_back(bounds.back()); // an odd run out: kept for the next round
        bounds.swap(merged);
    }
}
