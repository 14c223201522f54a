// The roads of a session over windows, views and settings: two and three windows on the board in
// different open modes (read-only, editable, the physical view, a matrix view), switches between them
// and between the logical and physical views (saving or not), a block descended into and ascended
// from, the block edited in a window of its own, the physical lists' block filter, the host's power
// pins and their groups' ties, columns the user adds and types into, Save As (from the editable block,
// then a save of the design from another window), Zoom and the columns'
// widths, keys inside a cell's editor, one-bit pair names, saves from one window and another, and
// names that quoting gets wrong (blanks, quotes, brackets, long ones).
#include "KXRandomEdits.h"

namespace kxrandom {

namespace {

std::string Number(Rng& rng, int low, int high) {
    return std::to_string(std::uniform_int_distribution<int>(low, high)(rng));
}

// A name a user may well type: blanks, quotes, brackets, a dollar, a long one.
std::string HostileName(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> names = {"a b", "q\"x", "br[1]", "d$v", "{c}", "s;t", "x'y"};
    if (OneIn(rng, 4)) return w.NewSignal(std::string(120, 'L').c_str());
    return w.NewSignal(Pick(rng, names).c_str());
}

// Another window on the board in a mode of the user's choosing, while fewer than three are open; the
// third, when there is one, made the active one instead.
std::string AnotherWindow(Rng& rng, EditWorld&) {
    static const std::vector<std::string> modes = {"0", "1", "3", "4"};
    const std::string mode = Pick(rng, modes);
    const std::string show = mode == "4" ? "catch {kx::show clp RN1}" : "kx::show clp " + std::string(OneIn(rng, 2) ? "U1" : "R2");
    return "if {[catch {kx::tab 3}]} {kx::open demo.board:sch " + mode + "; " + show + "}";
}

// A window made the active one by its number (one that is not open: nothing happens).
std::string SomeWindow(Rng& rng, EditWorld&) { return "catch {kx::tab " + Number(rng, 1, 3) + "}"; }

// A matrix view in a window of its own, with a few rows and U1.
std::string MatrixWindow(Rng& rng, EditWorld&) {
    return "if {[catch {kx::tab 3}]} {kx::open demo.board:sch " + std::string(OneIn(rng, 2) ? "3" : "1") +
           "; openMatrixView pin " + (OneIn(rng, 2) ? "mw" : "mv") +
           "; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}";
}

// The other view of the active window's design, its edits left unsaved.
std::string ViewSwitchUnsaved(Rng& rng, EditWorld&) {
    const std::string word = OneIn(rng, 2) ? "physicalView" : "logicalView";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return word + " -nosave";
    case 1: return "kx::answer question KXCOMMON-101 no; " + word + " -prompt";
    default: return "kx::answer question MSG_HOST_ASK_SAVE no; kx::menu 35563";
    }
}

// The same, the design saved on the way.
std::string ViewSwitchSaved(Rng& rng, EditWorld&) {
    const std::string word = OneIn(rng, 2) ? "physicalView" : "logicalView";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return word + " -save";
    case 1: return "kx::answer question KXCOMMON-101 yes; " + word + " -prompt";
    default: return "kx::answer question MSG_HOST_ASK_SAVE yes; kx::menu 35563";
    }
}

// The power block opened in its parent's context from the component list.
std::string Descend(Rng&, EditWorld&) { return "kx::select clp PWR1; kx::call Descend"; }

// Back up from a block opened in its parent's context, and now and then the block edited as a design of
// its own after the descended window closed.
std::string Ascend(Rng& rng, EditWorld& w) {
    std::string line = "kx::select clp PWR1; kx::call Descend; ascend";
    if (OneIn(rng, 2))
        line += "; kx::close; kx::open demo.PWR:sch " + std::string(OneIn(rng, 2) ? "0" : "1") +
                "; kx::call AddSignal " + w.NewSignal("ZZP") + " {} {}; saveDesign";
    return line;
}

// The block edited in a window of its own: a signal added, saved mostly.
std::string BlockOfItsOwn(Rng& rng, EditWorld& w) {
    return "kx::open demo.PWR:sch 1; kx::call AddSignal " + w.NewSignal("BLK") + " {} {}" +
           (OneIn(rng, 4) ? std::string() : std::string("; saveDesign"));
}

// The physical lists without a block's parts: the word or its dialog, in a physical window.
std::string BlockFilter(Rng& rng, EditWorld&) {
    const std::string window = "if {[catch {kx::tab 2}]} {kx::open demo.board:sch 4}; ";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return window + "filterBlock -exclude PWR1";
    case 1: return window + "kx::answer dialog CKXDlgFilterPhys ok paths PWR1; kx::menu 35571";
    default: return window + "kx::answer dialog CKXDlgFilterPhys ok paths {}; filterBlock";
    }
}

// The host's power pins shown, a power group tied to a net by typing or released by Delete, the pins
// hidden again now and then.
std::string PowerPins(Rng& rng, EditWorld& w) {
    static const std::vector<std::pair<std::string, std::string>> groups = {
        {"U2", "VDD"}, {"U2", "VSS"}, {"U1", "VCCIO"}, {"U1", "VCCINT"}};
    const auto& [instance, group] = Pick(rng, groups);
    std::string line = "kx::powerpins on; kx::show clp " + instance + "; ";
    if (OneIn(rng, 3)) line += "kx::select ccp {*}[kxcell " + group + " Signal]; kx::key ccp Delete";
    else line += "kx::edit ccp {*}[kxcell " + group + " Signal] " + (OneIn(rng, 2) ? w.NewSignal("PWR_") : Pick(rng, w.signals));
    return line + (OneIn(rng, 3) ? "; kx::powerpins off" : "") + Target(instance);
}

// A property column added in the customise dialog, then a value typed into it in a pin grid, a signal
// grid or a matrix view.
std::string AddedColumn(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> values = {"fast", "1V8", "a b", ""};
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0:
        return "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::answer dialog CKXCustomizeDialog ok add "
               "{SLEW|Slew|8s|PINPROP|SHOW}; kx::menu 35130; kx::edit ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
               " Slew] " + Braced(Pick(rng, values)) + Target("-");
    case 1:
        return "kx::show slp PG; kx::select ccp {*}[kxcell U1 Instance]; kx::answer dialog CKXCustomizeDialog ok add "
               "{VOLT|Volt|8s|NETPROP|SHOW}; kx::menu 35130; kx::edit ccp {*}[kxcell " + std::string(OneIn(rng, 2) ? "U1" : "R2") +
               " Volt] " + Braced(Pick(rng, values)) + Target("-");
    default:
        return "openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; kx::select ccp {*}[kxcell "
               "MCLK Signal]; kx::answer dialog CKXCustomizeDialog ok add {VOLT|Volt|8s|NETPROP|SHOW}; kx::menu 35130; "
               "kx::edit ccp {*}[kxcell MCLK Volt] " + Braced(Pick(rng, values)) + Target("-");
    }
}

// The editable block's edits saved under another name (its plain save, the word or the method), then the
// board saved in place from another window: the block's edits went to the copy alone.
std::string SaveAsThenSaveElsewhere(Rng& rng, EditWorld& w) {
    const std::string block = w.NewSignal("board_rev");
    static const std::vector<std::string> saves = {"saveDesignAs demo ", "kx::call SaveBlockAs demo ",
                                                   "kx::answer dialog CKXCreateBlockDlg ok library demo block "};
    const std::string& save = Pick(rng, saves);
    return "if {[catch {kx::tab 3}]} {kx::open demo.board:sch 1}; kx::show clp U1; addConnection pin " +
           w.NewSignal("CPY") + " " + Braced(Pick(rng, w.pins)) + "; " + save + block +
           (save.find("dialog") != std::string::npos ? "; saveDesign" : "") + "; kx::tab " + Number(rng, 1, 2) +
           "; saveDesign";
}

// The design saved under another name into its library (a name a user may type, hostile ones too); now
// and then from the editable block, the board then saved from another window.
std::string SaveAs(Rng& rng, EditWorld& w) {
    if (OneIn(rng, 3)) return SaveAsThenSaveElsewhere(rng, w);
    static const std::vector<std::string> names = {"board_copy", "board copy", "b\"q", "brd[1]", "board"};
    const std::string name = OneIn(rng, 5) ? std::string(90, 'B') : Pick(rng, names);
    return std::string(OneIn(rng, 2) ? "" : "catch {kx::tab 1}; ") + "saveDesignAs demo " + Braced(name) +
           (OneIn(rng, 6) ? " " + Braced(w.NewSignal("X")) : std::string());
}

// The pane's Zoom, and a column fitted to its cells by a double-click on its border.
std::string ZoomAndColumns(Rng& rng, EditWorld&) {
    static const std::vector<std::string> captions = {"Signal", "\"Pin Name\"", "\"Pin Number\"", "Termination"};
    if (OneIn(rng, 2))
        return "kx::show clp U1; kx::answer dialog CKXZoomDialog " + std::string(OneIn(rng, 5) ? "cancel" : "ok") +
               " zoom " + Number(rng, 10, 400) + "; kx::menu 35093";
    return "kx::show clp U1; kx::click ccp {*}[kxrow 4 " + Pick(rng, captions) + "] border";
}

// Keys pressed in a Signal cell's editor: F2, the bit or the neighbouring signal stepped, a letter, then
// Enter, Escape or Tab.
std::string CellEditorKeys(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> steps = {"Up", "Down", "Up", "A", "7", "End"};
    static const std::vector<std::string> ends = {"Enter", "Enter", "Escape", "Tab"};
    std::string line = "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]; kx::key ccp F2";
    const int n = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < n; ++i)
        line += "; kx::key ccp " + Pick(rng, steps);
    line += "; kx::key ccp " + Pick(rng, ends);
    // The square style now and then: the host's own setting, put back whatever the keys did.
    if (OneIn(rng, 4)) line = "kx::brackets square; catch {" + line + "}; kx::brackets angle";
    return line + Target("U1");
}

// A pair name with one bit typed into the clock pair's row or given to the word.
std::string OneBitPairName(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> names = {"EW<3>", "LVDS<2>", "SYSCLK<0>", "EW<0>"};
    const std::string name = (OneIn(rng, 3) ? w.NewSignal("OB") + "<1>" : Pick(rng, names)) + " (Differential Pair)";
    const std::string answers = "kx::answer dialog CKXDontAskAgainYesNoDlg ok; kx::answer dialog CKXRetainAssocCompDlg ok "
                                "preserveTermination " + std::string(OneIn(rng, 2) ? "1" : "0") + "; ";
    if (OneIn(rng, 2)) return "kx::show clp U1; " + answers + "addConnection pin " + Braced(name) + " CLK" + Target("U1");
    return "kx::show clp U1; " + answers + "kx::edit ccp {*}[kxcell CLK Signal] " + Braced(name) + Target("U1");
}

// A save from the first window or from another one.
std::string SaveFromAWindow(Rng& rng, EditWorld&) {
    return "catch {kx::tab " + Number(rng, 1, 3) + "}; saveDesign";
}

// Signals, connections and stored views under names that quoting gets wrong.
std::string HostileNames(Rng& rng, EditWorld& w) {
    const std::string name = HostileName(rng, w);
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0: return "kx::call AddSignal " + Braced(name) + " {} {}";
    case 1: return "kx::show clp U1; addConnection pin " + Braced(name) + " " + Braced(Pick(rng, w.pins)) + Target("U1");
    case 2: return "kx::show clp U1; kx::edit ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal] " + Braced(name) + Target("U1");
    default: return "openMatrixView pin " + Braced(name) + "; matrixAdd pin component U1";
    }
}

// A comma text on the vector pair's row, then Delete on that row.
std::string PairRowDeleteAfterComma(Rng& rng, EditWorld&) {
    return "kx::show clp U1; addConnection pin " + std::string(OneIn(rng, 2) ? "MCLK," : ",PGOOD") +
           " {TX<3..0>}; kx::select ccp {*}[kxcell {TX<3..0>} Signal]; kx::key ccp Delete" + Target("U1");
}

} // namespace

std::vector<EditKind> WindowRoads() {
    return {
        {"another window in some mode", AnotherWindow},
        {"some window", SomeWindow},
        {"a matrix view in a window of its own", MatrixWindow},
        {"view switch, unsaved", ViewSwitchUnsaved},
        {"view switch that saves", ViewSwitchSaved, "view switches that save"},
        {"descend", Descend},
        {"ascend", Ascend, "ascend"},
        {"the block in a window of its own", BlockOfItsOwn},
        {"block filter", BlockFilter, "block filters"},
        {"power pins", PowerPins, "power pins"},
        {"a column the user adds", AddedColumn, "user columns in a fresh registry"},
        {"Save As", SaveAs},
        {"zoom and columns", ZoomAndColumns},
        {"keys in a cell editor", CellEditorKeys},
        {"one-bit pair names", OneBitPairName},
        {"save from a window", SaveFromAWindow},
        {"hostile names", HostileNames},
        {"pair row Delete after a comma text", PairRowDeleteAfterComma, "pair row Delete after a comma text"},
    };
}

} // namespace kxrandom
