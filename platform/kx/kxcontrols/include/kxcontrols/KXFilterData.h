// Row-filter patterns of the grids' filter rows.
#pragma once

#include <string>

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

// Pattern language (matching ignores letter case and always covers the whole tested text):
//   *   any run of characters, also none
//   ?   exactly one character
//   any other character stands for itself; brackets, backslashes and the like have no special meaning, so
//   bus names such as "DATA[3]" are typed as they are shown.
// "*" alone, an empty pattern and a pattern of blanks only do not filter: every text matches.
class CKXFilterData {
public:
    CKXFilterData() = default;
    ~CKXFilterData() = default;

    // Takes a copy of the pattern. Always succeeds; NULL counts as the empty pattern.
    BOOL SetPattern(LPCTSTR pattern);
    // Nonzero when the text from offset nStart to its end matches the pattern. A NULL text is the empty text;
    // an offset below 0 counts as 0, one past the end as the empty rest.
    BOOL SearchText(LPCTSTR text, int nStart = 0) const;
    // Forgets the pattern; afterwards every text matches.
    void FreePattern();

    BOOL IsMatchAll() const { return m_bMatchAll; }
    const std::string& GetPattern() const { return m_pattern; }

private:
    std::string m_pattern; // lower-cased copy
    bool m_bMatchAll = true;
};
