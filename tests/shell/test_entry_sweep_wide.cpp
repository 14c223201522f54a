// The entry sweep over what the window's own tables do not list: pin grids side by side (a selection
// over them, and one pin in each), keys written as users write them (a fresh list, braces, quotes, a
// list printed before), cells typed into (every column of every kind of grid, `kx::edit`), the pane's
// words given without their grid word whichever pane holds the keyboard, and a paste with a cell copied.
// Each row keeps the rules of the whole sweep (KXEntrySweep.h), the cause its refusal names included.
#include "KXEntrySweep.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kxsweep;

// Types TEXT into the cell of the active grid's column CAPTION (its captions are the row four above the
// first data row) on the current row (the first data row where no cell is current), as the user types.
constexpr const char* kTypeProc = R"tcl(proc ::sweepType {caption text} {
    set w [split [kx::window ccp] \n]
    set i [lsearch -glob $w "*(active)*"]
    regexp {first data row ([0-9]+), columns ([0-9 ]+)} [lindex $w $i] -> first cols
    set titles [lsearch -inline -glob -start $i $w "    [expr {$first - 4}]: *"]
    regexp {^ *[0-9]+: (.*)$} $titles -> captions
    set col [lindex $cols [lsearch -exact [split [string map {" | " "\x01"} $captions] "\x01"] $caption]]
    set cell [kx::grid ccp cell]
    set row [expr {$cell eq "" ? $first : [lindex $cell 0]}]
    kx::edit ccp $row $col $text
}; )tcl";

// The kinds of pins shown: U1's grid, two or three components side by side.
enum class Pins { U1, TwoSideBySide, ThreeSideBySide, None };

// What the set-up did before the road: nothing, or an edit it then took back (the roads are Undo and Redo),
// or chose a pin of a swap group (the roads are Swap Pins', with a number the pin's group holds).
enum class Before { Nothing, EditUndone, Copied, Terminated, EmptyTermination, SwapGroupPin };

struct WideContext {
    Context context;
    Pins pins;
    Before before = Before::Nothing;
};

std::vector<WideContext> WideContextsOf(int mode) {
    std::vector<WideContext> all;
    auto add = [&](Shown shown, Pins pins, const char* selection, const std::string& setup, bool copied = false) {
        Context c{mode, shown, selection, std::string(kTypeProc) + setup};
        c.copied = copied;
        all.push_back({c, pins});
    };
    // The last context's pins: connected, one pin.
    auto pinsOf = [&all](bool connected, bool onePin) {
        all.back().context.connected = connected;
        all.back().context.onePin = onePin;
    };
    // A pin of a swap group chosen, and a number of its group: the Swap Pins roads must agree on it.
    auto swapping = [&all, &add](Shown shown, const char* selection, const std::string& setup,
                                 const char* number) {
        add(shown, Pins::None, selection, setup);
        all.back().context.swapTo = number;
        all.back().before = Before::SwapGroupPin;
    };
    // U1's DQ<3> (A13) swaps with A12, DQ<4>'s; RN1's pin 1 (RN1A's A) with pin 2, which carries RN1B's A,
    // and with pin 3, which carries no logical pin.
    const std::pair<const char*, const char*> partners[] = {{"pack pin, partner of another instance", "2"},
                                                            {"pack pin, partner without a logical pin", "3"}};
    if (mode == 4) {
        add(Shown::PhysPart, Pins::None, "one row", "kx::show clp U1; kx::select ccp 47 5");
        add(Shown::PhysNet, Pins::None, "one row", "kx::show slp RST_IN; kx::select ccp 5 6");
        swapping(Shown::PhysPart, "pin of a swap group", "kx::show clp U1; kx::select ccp 18 5", "A12");
        for (const auto& [selection, number] : partners)
            swapping(Shown::PhysPart, selection, "kx::show clp RN1 U1; kx::grid ccp 1; kx::select ccp 6 3",
                     number);
        return all;
    }
    add(Shown::Pin, Pins::TwoSideBySide, "one in each", "kx::show clp R1 R2; kx::word selectObject pin B:2");
    add(Shown::Pin, Pins::TwoSideBySide, "over both",
        "kx::show clp R1 R2; kx::word selectObject pin [list R1 A 1] [list R1 B 2] [list R2 A 1] [list R2 B 2]");
    add(Shown::Pin, Pins::ThreeSideBySide, "one in each of three",
        "kx::show clp R1 R2 RN1A; kx::word selectObject pin [list R1 B 2] [list R2 B 2] [list RN1A B 8]");
    add(Shown::Pin, Pins::U1, "one row", "kx::show clp U1; kx::select ccp 41 7");
    pinsOf(true, true);
    // A terminated pin: a termination prepared for it alone.
    add(Shown::Pin, Pins::None, "terminated pin", "kx::show clp U1; kx::select ccp 40 8");
    pinsOf(true, true);
    all.back().before = Before::Terminated;
    // PGOOD's Signal cell copied, RST_N's current: a paste has something the grid takes.
    add(Shown::Pin, Pins::U1, "one row", "kx::show clp U1; kx::select ccp 41 7; kx::key ccp Ctrl+C; kx::select ccp 42 7",
        true);
    pinsOf(true, true);
    // MCLK's termination copied onto the bus DQ<15..0> with one bit unconnected.
    add(Shown::Pin, Pins::None, "bus row",
        "kx::show clp U1; kx::select ccp 40 8; kx::key ccp Ctrl+C; expandPins pin on; kx::edit ccp 24 7 {}; "
        "expandPins pin off; kx::select ccp 23 8",
        true);
    all.back().before = Before::Copied;
    // R1's Signal cell copied, R2 shown with no cell chosen.
    add(Shown::Pin, Pins::None, "no cell", "kx::show clp R1; kx::select ccp 6 7; kx::key ccp Ctrl+C; kx::show clp R2",
        true);
    all.back().context.noCell = true;
    all.back().before = Before::Copied;
    add(Shown::Signal, Pins::None, "one row", "kx::show slp MCLK; kx::select ccp 5 8");
    // An edit taken back: its redo and a second undo keep its name in a replay too.
    const std::pair<const char*, const char*> undone[] = {
        {"comment undone", "kx::show clp U1; kx::select ccp 41 7; addComment pin sweepnote"},
        {"power pin comment undone",
         "kx::show clp U1; expandPins pin on; kx::powerpins on; kx::select ccp 59 10; addComment pin pwr"},
        {"delete over two grids undone", "kx::show clp R1 R2; kx::word selectObject pin B:2; deleteConnection pin"}};
    for (const auto& [name, edit] : undone) {
        add(Shown::Pin, Pins::None, name, std::string(edit) + "; undo");
        all.back().before = Before::EditUndone;
    }
    // A read-only window stores no view: it shows the one a window that edits made and saved.
    const std::string matrix =
        mode == 2 ? std::string("kx::open demo.board:sch 3; kx::pane CreateMatrixView V1 U1 {MCLK DQ}; saveDesign; "
                                 "kx::close; openMatrixView pin V1")
                   : std::string("openMatrixView pin V1; matrixAdd pin component U1; matrixAdd pin signal MCLK; "
                                 "matrixAdd pin signal DQ");
    add(Shown::Matrix, Pins::None, "one row", matrix + "; kx::select ccp 5 4");
    // DQ<15>'s empty Termination cell: the pin is connected, it has no termination.
    add(Shown::Matrix, Pins::None, "empty termination cell", matrix + "; kx::select ccp 6 7");
    pinsOf(true, true);
    all.back().before = Before::EmptyTermination;
    swapping(Shown::Pin, "pin of a swap group beside another grid",
             "kx::show clp U1 U2; kx::word selectObject pin [list U1 {DQ<3>} A13]", "A12");
    for (const auto& [selection, number] : partners)
        swapping(Shown::Pin, selection, "kx::show clp R1 RN1A; kx::grid ccp 2; kx::select ccp 6 5", number);
    return all;
}

// The columns a kind of grid shows on the example board, what the user types into each, and what that
// typing may change.
struct Column {
    const char* caption;
    const char* text;
    Owns owns;
};

std::vector<Column> ColumnsOf(Shown shown, Pins pins) {
    switch (shown) {
    case Shown::Pin:
        if (pins != Pins::U1)
            return {{"Pin Name", "X", Owns::Nothing}, {"Pin Number", "3", Owns::Physical}, {"Signal", "TYPED", Owns::Logical}};
        return {{"Diff Pair", "X", Owns::Logical},       {"Pin Name", "X", Owns::Nothing},
                {"Pin Number", "C9", Owns::Physical},    {"Pin Type", "Output", Owns::Nothing},
                {"Signal", "TYPED", Owns::Logical},      {"Termination", "Series", Owns::Logical},
                {"Pull Up/Down", "PULLUP", Owns::Logical}, {"Comments", "typed note", Owns::Comment}};
    case Shown::Signal:
        return {{"Cell", "X", Owns::Nothing},       {"Instance", "U2", Owns::Logical},
                {"Ref Des", "X", Owns::Nothing},    {"Pin Name", "PGOOD", Owns::Logical},
                {"Pin Number", "C10", Owns::Logical}, {"Pin Type", "Output", Owns::Nothing},
                {"Termination", "Series", Owns::Logical}, {"Pull Up/Down", "PULLUP", Owns::Logical}};
    case Shown::Matrix:
        return {{"Signal", "X", Owns::Nothing},          {"Physical Net", "PNET", Owns::Logical},
                {"Pull Up/Down", "PULLUP", Owns::Logical}, {"Pin Name", "PGOOD", Owns::Logical},
                {"Pin Number", "C10", Owns::Logical},    {"Pin Type", "Output", Owns::Nothing},
                {"Termination", "Series", Owns::Logical}};
    case Shown::PhysPart:
        return {{"Pin Number", "C9", Owns::Physical}, {"Pin Name", "X", Owns::Nothing}, {"Pin Type", "Output", Owns::Nothing},
                {"Signal", "X", Owns::Nothing},       {"Signal Model", "LVCMOS33_8MA", Owns::Physical}};
    case Shown::PhysNet:
        return {{"Ref Des", "X", Owns::Nothing},  {"Pin Number", "3", Owns::Physical}, {"Pin Name", "X", Owns::Nothing},
                {"Pin Type", "Output", Owns::Nothing}, {"Signal Model", "LVCMOS33_8MA", Owns::Physical}};
    case Shown::Nothing: break;
    }
    return {};
}

std::vector<Action> TypedCells(const WideContext& w) {
    std::vector<Action> out;
    for (const Column& col : ColumnsOf(w.context.shown, w.pins))
        out.push_back({std::string("type ") + col.caption, col.owns,
                       {{Road::Word, std::string("sweepType {") + col.caption + "} {" + col.text + "}"}}});
    return out;
}

// A keyed word with each way a user writes its keys: a list made then, braces, quotes, and a list whose
// text was made before (printed or joined).
Action Keyed(const std::string& name, Owns owns, const std::string& before,
             const std::vector<std::string>& keys, const std::string& after, Action::Keys kind) {
    const char* suffix = kind != Action::Keys::Unknown ? ""
                         : keys.size() > 1         ? " (one key of no pin)"
                                                   : " (no such pin)";
    Action a{name + suffix, owns, {}};
    a.keys = kind;
    a.doneAsTwo = name == "addConnection";
    std::string listed, braced, quoted, made, named;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string var = i == 0 ? "::k" : "::k" + std::to_string(i + 1);
        listed += " [list " + keys[i] + "]";
        braced += " {" + keys[i] + "}";
        quoted += " \"" + keys[i] + "\"";
        made += "set " + var + " [list " + keys[i] + "]; set ::shown \"key: $" + var + "\"; ";
        named += " $" + var;
    }
    a.ways = {{Road::Word, before + listed + after},
              {Road::Word, before + braced + after},
              {Road::Word, before + quoted + after},
              {Road::Word, made + before + named + after}};
    return a;
}

std::vector<Action> KeyedWords(Pins pins) {
    const std::string shown = pins == Pins::U1 ? "U1 PGOOD C10" : "R2 B 2";
    if (pins == Pins::None) return {}; // the keys of pin grids
    const std::string unknown = "U1 NOPIN Z99";
    std::vector<Action> out;
    // A key of no pin beside a shown one refuses the word whole, as a key of no pin alone does.
    for (const auto& [keys, kind] : {std::pair{std::vector{shown}, Action::Keys::Shown},
                                     std::pair{std::vector{unknown}, Action::Keys::Unknown},
                                     std::pair{std::vector{shown, unknown}, Action::Keys::Unknown}}) {
        out.push_back(Keyed("selectObject", Owns::Nothing, "kx::word selectObject pin", keys, "", kind));
        out.push_back(Keyed("assignModel", Owns::Physical, "assignModel pin LVCMOS33_8MA", keys, "", kind));
        out.push_back(Keyed("removeModel", Owns::Physical, "removeModel pin", keys, "", kind));
        out.push_back(Keyed("addConnection", Owns::Logical, "addConnection pin KEYSIG", keys, "", kind));
        out.push_back(Keyed("deleteConnection", Owns::Logical, "deleteConnection pin", keys, "", kind));
        out.push_back(Keyed("deleteTermination", Owns::Logical, "deleteTermination pin", keys, "", kind));
        out.push_back(Keyed("addComment", Owns::Comment, "addComment pin keyed", keys, "", kind));
        out.push_back(Keyed("copy", Owns::Nothing, "copy pin", keys, " Signal", kind));
    }
    return out;
}

// The pane's words without their grid word: one line does one thing whichever view holds the keyboard.
std::vector<Action> WordsWithoutGridWord() {
    auto focused = [](const char* name, Owns owns, const std::string& tcl) {
        Action a{std::string(name) + " without its grid word", owns, {}};
        a.focusRoads = true;
        a.usage = true;
        for (const char* view : {"ccp 1", "clp", "slp"})
            a.ways.push_back({Road::Word, std::string("kx::focus ") + view + "; " + tcl});
        return a;
    };
    return {focused("selectObject", Owns::Nothing, "selectObject MCLK"),
            focused("deleteConnection", Owns::Logical, "deleteConnection MCLK"),
            focused("addComment", Owns::Comment, "addComment hello PGOOD"),
            focused("addConnection", Owns::Logical, "addConnection FOO [list U1 PGOOD C10]")};
}

std::vector<Action> ActionsOf(const WideContext& w) {
    if (w.before == Before::EditUndone) {
        std::vector<Action> out;
        for (Action& a : JoinedActions())
            if (a.name == "Undo" || a.name == "Redo") out.push_back(std::move(a));
        return out;
    }
    if (w.before == Before::Copied || w.before == Before::EmptyTermination) {
        std::vector<Action> out;
        for (Action& a : JoinedActions())
            if (a.name == (w.before == Before::Copied ? "Paste" : "Delete")) out.push_back(std::move(a));
        if (w.before == Before::EmptyTermination)
            out.push_back({"deleteTermination", Owns::Logical, {{Road::Word, "deleteTermination pin"}}});
        return out;
    }
    if (w.before == Before::SwapGroupPin) return SwapPinsActions(w.context);
    if (w.before == Before::Terminated)
        return {{"InitTermination", Owns::Logical, {{Road::Method, "kx::pane InitTermination Series"}}},
                {"Add Termination", Owns::Logical, {{Road::Word, "addTermination pin"}}}};
    std::vector<Action> out = TypedCells(w);
    auto add = [&out](std::vector<Action> more) { out.insert(out.end(), more.begin(), more.end()); };
    add(KeyedWords(w.pins));
    if (w.pins == Pins::U1) add(WordsWithoutGridWord());
    if (w.pins == Pins::TwoSideBySide || w.pins == Pins::ThreeSideBySide) {
        // Every road of the window over grids side by side.
        add(JoinedActions());
        add(SwapPinsActions(w.context));
        add(WordActions());
        for (const std::string& key : Keys())
            out.push_back({"key " + key, Owns::Nothing, {{Road::Key, "kx::key ccp " + key}}});
    }
    if (w.context.copied)
        for (Action& a : JoinedActions())
            if (a.name == "Paste") out.push_back(std::move(a));
    return out;
}

class EntrySweepWide : public EntrySweepRows {
protected:
    void SweepMode(int mode) {
        const std::vector<WideContext> wide = WideContextsOf(mode);
        std::vector<Context> contexts;
        for (const WideContext& w : wide)
            contexts.push_back(w.context);
        SweepRows(
            mode, contexts,
            [&wide](const Context& c) {
                for (const WideContext& w : wide)
                    if (w.context.setup == c.setup && w.context.selection == c.selection) return ActionsOf(w);
                return std::vector<Action>{};
            },
            {0, 0});
    }
};

TEST_F(EntrySweepWide, EveryRoadKeepsTheRuleInTheFirstMode) { SweepMode(0); }
TEST_F(EntrySweepWide, EveryRoadKeepsTheRuleInTheEditableBlock) { SweepMode(1); }
TEST_F(EntrySweepWide, EveryRoadKeepsTheRuleInAReadOnlyWindow) { SweepMode(2); }
TEST_F(EntrySweepWide, EveryRoadKeepsTheRuleInABlockWithinItsParent) { SweepMode(3); }
TEST_F(EntrySweepWide, EveryRoadKeepsTheRuleInThePhysicalView) { SweepMode(4); }
TEST_F(EntrySweepWide, EveryRoadKeepsTheRuleInModeSix) { SweepMode(6); }

} // namespace
