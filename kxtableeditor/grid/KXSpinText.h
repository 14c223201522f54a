// Text rules of the signal-name spin cell: the parts of a vector name
// (base, open bracket, number, optional "..", number, close bracket), stepping
// one of its numbers within bounds, moving the selection between its parts,
// cycling through a list and completing typed text from a list.
//
// These rules work on plain text and a selection so that the cell control only
// has to move text and selection between them and its edit window.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kxspin {

// Character positions of the parts of a vector name; all -1 when the text is
// not a vector name.
struct VectorParts {
    int open = -1;  // index of the open bracket
    int dots = -1;  // index of the first '.' of "..", -1 without a range
    int close = -1; // index of the close bracket
    bool IsVector() const { return open >= 0; }
    bool HasRange() const { return dots >= 0; }
};

// Finds the parts of text with the given brackets. A text is a vector name when
// it has an open bracket after a non-empty base and a close bracket at its end.
VectorParts FindParts(const std::string& text, char openBracket, char closeBracket);

// A selection [start, end) in the edit text; start -1 means no caret.
struct Selection {
    int start = -1;
    int end = -1;
};

// The outcome of a key: whether it was consumed, the new text and selection,
// and whether the arrow buttons are to be shown (only meaningful when
// arrowsChanged is set).
struct KeyResult {
    bool consumed = false;
    std::string text;
    Selection sel;
    bool arrowsChanged = false;
    bool showArrows = false;
};

// Bounds and options for stepping a number.
struct StepOptions {
    int minimum = 0;
    int maximum = 25000;
    bool clampMin = false;
    bool clampMax = false;
    bool emptyUsesDefault = false;
    int defaultValue = 0;
};

// Which number a caret selects for a step: 0 none, 1 the first, 2 the second.
int NumberUnderCaretForStep(const VectorParts& parts, int caret);

// Steps the number under the caret up (+1, wrapping from the maximum to the
// minimum) or down (-1, wrapping from the minimum to the maximum). Not consumed
// when the text is not a vector name or the caret is on no number.
KeyResult Step(const std::string& text, const VectorParts& parts, int caret, int direction,
               const StepOptions& options);

// Left (previous part) and Right (next part) on a vector name. Not consumed
// when the text is not a vector name or the edit window should move the caret.
KeyResult PreviousPart(const std::string& text, const VectorParts& parts, int caret);
KeyResult NextPart(const std::string& text, const VectorParts& parts, int caret);

// The part under a caret placed by the mouse; not consumed when there is none.
KeyResult PartUnderCaret(const std::string& text, const VectorParts& parts, int caret);

// Cycles through list entries: the entry equal to text (without case) is the
// start, with none the first entry is taken; direction +1 next, -1 previous,
// wrapping around. Returns -1 for an empty list, else the index of the entry.
int CycleIndex(const std::vector<std::string>& entries, const std::string& text, int direction);

// Auto-completion: the first entry that begins with typed (without case). On a
// match the result text is typed followed by the rest of the entry and the
// completed tail is selected; consumed is false when nothing matched.
KeyResult Complete(const std::vector<std::string>& entries, const std::string& typed);

// Parses a decimal number ("" and non-digits give 0, like the usual decimal
// prefix rule: leading digits only).
int LeadingNumber(const std::string& text);

} // namespace kxspin
