// The causes a refusal names the same way on every road (a word, a method, a menu command, a key; every
// grid kind and every open mode), each with the message that says it. A refusal of one of these causes
// names it by this table, so that no road says another cause's message for it.
#pragma once

namespace KXCause {

// A block opened in the context of its parent (open mode 2): the window is read-only.
inline constexpr const char* kReadOnlyWindow = "KXTABLE-382";
// The connectivity pane shows no grid to act on.
inline constexpr const char* kNoGrid = "KXPANE-246";
// The active grid is of a kind that does not take the action (%s: the kind).
inline constexpr const char* kGridKind = "KXPANE-496";
// A key that names no pin of the shown grids (%s: the keys).
inline constexpr const char* kKeyNamesNoPin = "KXPANE-247";
// No pin is selected or named.
inline constexpr const char* kNothingSelected = "KXTABLE-272";
// Nothing on the clipboard that the active grid can take.
inline constexpr const char* kNothingCopied = "KXPANE-570";
// A paste with no cell chosen to paste into.
inline constexpr const char* kNoTargetCell = "KXPANE-620";
// The selected cells hold the value given already: the edit changes nothing.
inline constexpr const char* kUnchanged = "KXTABLE-267";
// The selected pins have no termination to take off.
inline constexpr const char* kNoTermination = "KXTABLE-218";
// The selected net bits have no such pull-up or pull-down to take off.
inline constexpr const char* kNoPupd = "KXTABLE-220";
// The selected pins have no connection of their own to take off.
inline constexpr const char* kNoConnection = "KXTABLE-346";
// No pin chosen to give a model to, or to take models off.
inline constexpr const char* kNoModelPinChosen = "KXPANE-670";
inline constexpr const char* kNoModelPinChosenToRemove = "KXPANE-671";
// A comment's text (a pin's or the design's) that is no printable text (%s: what it holds, and where).
inline constexpr const char* kCommentText = "KXTABLE-542";

} // namespace KXCause
