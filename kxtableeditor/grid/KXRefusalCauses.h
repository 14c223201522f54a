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
// No row chosen to follow into the signal list: the current cell is where activation put it.
inline constexpr const char* kNothingChosenToTrack = "KXPANE-695";
// A comment's text (a pin's or the design's) that is no printable text (%s: what it holds, and where).
inline constexpr const char* kCommentText = "KXTABLE-542";
// A name the user types (a matrix view's) that is no printable text on one line (%s: what it holds, where).
inline constexpr const char* kNameText = "KXTABLE-543";

// The causes a refusal names that the window's state alone decides, whatever the road.
enum class Kind {
    Usage,           // the line is no command: its usage (the message file's "Usage:" texts)
    ReadOnly,        // the window may not edit (open mode 2)
    PhysicalView,    // a logical edit in the physical view (open mode 4)
    NoGrid,          // the pane shows no grid
    NothingSelected, // no pin row or cell is selected or current
    WrongGridKind,   // the active grid is of a kind that does not take the action
    UnknownKey,      // a key that names no pin the pane shows
    NothingCopied,   // the clipboard holds nothing the grid can take
    NoConnection,    // the pins chosen have no connection to take off
    OtherPins,       // a pin cannot take it together with other pins
};

// A message id and the cause it names.
struct Naming {
    const char* id;
    Kind cause;
};

// Every message id that names one of the causes (besides the usages): the messages above, and those
// that say the same cause in the words of the action they refuse.
inline constexpr Naming kNamings[] = {
    {kReadOnlyWindow, Kind::ReadOnly},
    {"KXTABLE-397", Kind::PhysicalView}, // nothing deleted: the physical view takes no connections off
    {"KXTABLE-436", Kind::PhysicalView}, // no signal added in the physical view
    {"KXTABLE-265", Kind::PhysicalView}, // a part's pins are connected in the logical view
    {"KXPANE-571", Kind::PhysicalView},  // nothing connected in the physical view
    {kNoGrid, Kind::NoGrid},
    {kNothingSelected, Kind::NothingSelected},
    {kNoTargetCell, Kind::NothingSelected},
    {"KXTABLE-396", Kind::NothingSelected}, // the current cell is on the titles or the filter row
    {"KXTABLE-488", Kind::NothingSelected}, // no pin to swap
    {"KXPANE-270", Kind::NothingSelected},  // the current cell is on no pin row
    {"KXTABLE-570", Kind::NothingSelected}, // no pin chosen for a pin number
    {kNoModelPinChosen, Kind::NothingSelected},
    {kNoModelPinChosenToRemove, Kind::NothingSelected},
    {kNothingChosenToTrack, Kind::NothingSelected},
    {"KXPANE-574", Kind::NothingSelected},  // no pin for a naming rule
    {kGridKind, Kind::WrongGridKind},
    {"KXPANE-291", Kind::WrongGridKind}, // Track in Signal List on a grid of another kind
    {"KXPANE-588", Kind::WrongGridKind}, // Find and Replace on a grid of another kind
    {"KXPANE-403", Kind::WrongGridKind}, // no matrix view is shown
    {kKeyNamesNoPin, Kind::UnknownKey},
    {kNothingCopied, Kind::NothingCopied},
    {kNoConnection, Kind::NoConnection},
    {"KXTABLE-114", Kind::OtherPins}, // a termination that cannot go with other pins
    {"KXTABLE-605", Kind::OtherPins}, // one pin number for two pins of one part
};

} // namespace KXCause
