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
#include <utility>
#include <vector>

template <class It, class Less>
void SortStableRuns(It first, It last, Less less) {
    std::vector<It> bounds{first}; // run i is [bounds[i], bounds[i + 1])
    if (first == last) return;
    for (It prev = first, it = std::next(first); it != last; prev = it, ++it)
        if (less(*it, *prev)) bounds.push_back(it);
    bounds.push_back(last);
    // A merge moves the earlier run out to one buffer kept for every merge, then fills the place of
    // both runs from it and the later run: the earlier run's item first on a tie.
    std::vector<typename std::iterator_traits<It>::value_type> buffer;
    auto merge = [&](It out, It mid, It end) {
        buffer.assign(std::make_move_iterator(out), std::make_move_iterator(mid));
        auto x = buffer.begin();
        for (It y = mid; x != buffer.end() && y != end; ++out)
            *out = less(*y, *x) ? std::move(*y++) : std::move(*x++);
        std::move(x, buffer.end(), out);
    };
    std::vector<It> merged;
    while (bounds.size() > 2) {
        merged.assign(1, bounds.front());
        size_t i = 0;
        for (; i + 2 < bounds.size(); i += 2) {
            merge(bounds[i], bounds[i + 1], bounds[i + 2]);
            merged.push_back(bounds[i + 2]);
        }
        if (i + 1 < bounds.size()) merged.push_back(bounds.back()); // an odd run out: kept for the next round
        bounds.swap(merged);
    }
}
