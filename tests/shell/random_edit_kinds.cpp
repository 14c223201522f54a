// The first kinds of edit of the random user sessions (the design, its comments, the grids, the matrix,
// dialogs, the host's words and the lists' automation), and the kinds a session picks from.
#include "KXRandomEditsFixture.h"

namespace kxrandom {

namespace {

// Shows a matrix view (one of two, the second now and then) with U1 and a few signals in it.
std::string MatrixShown(Rng& rng, EditWorld&) {
    return std::string("openMatrixView pin ") + (OneIn(rng, 4) ? "mv2" : "mv") +
           "; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}";
}

// A pin of U1 with its number, as the pin grid's copy and select words name it.
std::string PinAndNumber(Rng& rng) {
    static const std::vector<std::string> pins = {"MCLK B14", "PGOOD C10", "RST_N C9", "{DQ<3>} A13", "MCLK B14",
                                                  "PGOOD C10"};
    return Pick(rng, pins);
}

std::string InstanceConnectivity(Rng& rng, EditWorld& w) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> instances = {
        {"U1", {"MCLK", "PGOOD", "RST_N", "CLK", "DQ<3>", "NOPIN"}}, {"R2", {"A", "B"}}, {"R1", {"A", "B"}}};
    static const std::vector<std::string> functions = {"35280", "35255", "35256", "35275", "35278", "35282"};
    static const std::vector<std::string> texts = {"PG", "=PREFIXPINNAME(X_)", "=AUTONAME", "", "MCLK"};
    const auto& [instance, pins] = Pick(rng, instances);
    std::string line = "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination " +
                       std::string(OneIn(rng, 2) ? "1" : "0") + "; ";
    const int actions = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < actions; ++i) {
        std::string chosen = Pick(rng, pins);
        if (OneIn(rng, 2)) chosen += " " + Pick(rng, pins);
        line += "kx::answer dialog CKXInstConnDlg ok pins " + Braced(chosen) +
                (OneIn(rng, 2) ? " fx " + Pick(rng, functions)
                               : " signal " + Braced(OneIn(rng, 2) ? w.NewSignal("IC") : Pick(rng, texts))) +
                "; ";
    }
    line += std::string("kx::answer dialog CKXInstConnDlg ") + (OneIn(rng, 4) ? "cancel" : "ok") + "; ";
    return line + "kx::instconn " + instance + " " + std::to_string(std::uniform_int_distribution<int>(0, 9)(rng));
}

// Ctrl+C on cells of U1's pin grid (signals mostly, pin names now and then: a bus name asks for bits,
// which stays unanswered, so that line refuses the paste), then Ctrl+V on pins of the instance
// connectivity dialog among its other steps; the dialog kept or cancelled.
std::string InstanceConnectivityPaste(Rng& rng, EditWorld& w) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> instances = {
        {"U1", {"MCLK", "PGOOD", "RST_N", "CLK", "DQ<3>"}}, {"R2", {"A", "B"}}, {"R1", {"A", "B"}}};
    std::string line = "kx::show clp U1; copy pin [list U1 " + PinAndNumber(rng) + "]";
    if (OneIn(rng, 3)) line += " [list U1 " + PinAndNumber(rng) + "]";
    line += OneIn(rng, 5) ? " {Pin Name}; " : " Signal; ";
    const auto& [instance, pins] = Pick(rng, instances);
    line += "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination ";
    line += OneIn(rng, 2) ? "1; " : "0; ";
    auto chosen = [&] {
        std::string names = Pick(rng, pins);
        if (OneIn(rng, 2)) names += " " + Pick(rng, pins);
        return "kx::answer dialog CKXInstConnDlg ok pins " + Braced(names);
    };
    if (OneIn(rng, 2)) line += chosen() + " signal " + Braced(w.NewSignal("IC")) + "; ";
    line += chosen() + " paste " + (OneIn(rng, 4) ? "special" : "1") + "; ";
    if (OneIn(rng, 3)) line += chosen() + " fx 35255; ";
    line += std::string("kx::answer dialog CKXInstConnDlg ") + (OneIn(rng, 5) ? "cancel" : "ok") + "; ";
    const int counter = std::uniform_int_distribution<int>(0, 9)(rng);
    return line + "kx::instconn " + instance + " " + std::to_string(counter);
}

std::string PinGridPupdPaste(Rng& rng, EditWorld&) {
    std::string line = "kx::show clp U1; ";
    const std::string source = PinAndNumber(rng);
    // Mostly a pull-up with its DC net first: the saved board's own has none, which does not paste.
    if (!OneIn(rng, 4))
        line += "selectObject pin " + source.substr(0, source.find(' ')) + "; addPupd pin -type " +
                (OneIn(rng, 2) ? "pullup" : "pulldown") + " -dcnet VCC3V3 -value 4k7; ";
    line += "copy pin [list U1 " + source + "]";
    if (OneIn(rng, 3)) line += " [list U1 " + PinAndNumber(rng) + "]";
    // Onto pins of the grid's rows (a bus pin, or a bit shown only with the pins expanded, now and then).
    // Mostly pins other than the copied one, which has the pull-up already.
    static const std::vector<std::string> targets = {"MCLK", "PGOOD", "RST_N", "MCLK", "PGOOD", "A<12..0>", "DQ<4>"};
    const std::string copied = source.substr(0, source.find(' '));
    auto target = [&] {
        std::string pin = Pick(rng, targets);
        for (int tries = 0; pin == copied && tries < 3; ++tries) pin = Pick(rng, targets);
        return pin;
    };
    line += " pupd; kx::select ccp {*}[kxcell " + Braced(target()) + " \"Pull Up/Down\"]";
    if (OneIn(rng, 2)) line += " {*}[kxcell " + Braced(target()) + " \"Pull Up/Down\"]";
    return line + (OneIn(rng, 4) ? "; paste special" : "; paste pin");
}

std::string MatrixAssocPaste(Rng& rng, EditWorld& w) {
    std::string line = MatrixShown(rng, w) + "; matrixAdd pin signal RESET_N; ";
    if (OneIn(rng, 4)) {
        // What the journal writes for a pasted component, and a few that cannot be placed.
        static const std::vector<std::string> calls = {
            "TERMINATION {DQ<2>} U1 {DQ<2>} Series {} {type=Series;delay=;slots=1;0.id=R;0.lib=discrete;"
            "0.cell=resistor;0.view=sym;0.phys=R0402;0.value=22;0.refdes=;0.k=;0.i=}",
            "TERMINATION MCLK U1 NOPIN Series {} {type=Series;slots=1;0.lib=discrete;0.cell=resistor;0.view=sym}",
            "PUPD PG {} {} PullUp {} {type=PullUp;delay=;high=;low=;dcnet=VCC3V3;slots=1;0.id=R;0.lib=discrete;"
            "0.cell=resistor;0.view=sym;0.phys=R0402;0.value=10k;0.refdes=;0.k=;0.i=}",
            "PUPD {DQ<3>} {} {} PullDown {} {}"};
        return line + "kx::pane MatrixPasteAssoc " + Pick(rng, calls);
    }
    const bool pupd = OneIn(rng, 2);
    const std::string caption = pupd ? "\"Pull Up/Down\"" : "Termination";
    // Mostly a row with something to copy: MCLK's termination, RESET_N's pull-up, or one made now.
    std::string source = OneIn(rng, 3) ? Pick(rng, w.matrixRows) : std::string(pupd ? "RESET_N" : "MCLK");
    if (OneIn(rng, 2)) {
        source = Pick(rng, w.matrixRows);
        line += "kx::select ccp {*}[kxcell " + Braced(source) +
                (pupd ? " Signal]; addPupd pin -type pulldown -dcnet VCC3V3 -value 10k; "
                      : " \"Pin Name\"]; addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view "
                        "sym -physname R0402 -value 50; ");
    }
    line += "kx::select ccp {*}[kxcell " + Braced(source) + " " + caption + "]; kx::key ccp Ctrl+C; ";
    // Into the other view now and then.
    if (OneIn(rng, 3)) line += "openMatrixView pin mv4; matrixAdd pin component U1; matrixAdd pin signal PG; "
                               "matrixAdd pin signal {DQ<4..2>}; ";
    line += "kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " + caption + "]";
    if (OneIn(rng, 2)) line += " {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " + caption + "]";
    return line + (OneIn(rng, 3) ? "; paste special" : "; paste pin");
}

std::string ClipViewerPaste(Rng& rng, EditWorld& w) {
    std::string line;
    // An instance's name copied from a signal grid, or a pin's signal from the pin grid.
    if (OneIn(rng, 2))
        line = "kx::show slp " + std::string(OneIn(rng, 2) ? "MCLK" : "PG") + "; kx::select ccp {*}[kxcell " +
               Pick(rng, std::vector<std::string>{"U1", "U2", "R2"}) + " Instance]; kx::key ccp Ctrl+C; ";
    else
        line = "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
               " Signal]; kx::key ccp Ctrl+C; ";
    // Mostly the newest item, now and then an older one (or one the viewer does not hold).
    const std::string item = OneIn(rng, 3) ? std::to_string(std::uniform_int_distribution<int>(2, 4)(rng)) : "1";
    if (OneIn(rng, 2)) return line + "selectWindow clp; kx::clipview " + item;
    return line + "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]; kx::clipview " +
           item;
}

std::string PairMoveRetain(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> pairs = {"SYSCLK", "LVDS<1>", "LVDS"};
    std::string line = "kx::show clp U1; ";
    // The positive leg given a termination of its own first (its row shows with pairs off).
    if (OneIn(rng, 2))
        line += "setViewOption pin dp_off; selectObject pin CLK_P; addTermination pin -type Series -part1 -lib "
                "discrete -cell resistor -view sym -physname R0402 -value 22; setViewOption pin dp_on; ";
    // The answer a journal gives, or the user's in the question.
    if (OneIn(rng, 3)) line += "kx::pane RetainTermination " + std::string(OneIn(rng, 2) ? "1" : "0") + "; ";
    line += "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination " + std::string(OneIn(rng, 2) ? "1" : "0") +
            "; kx::answer dialog CKXDontAskAgainYesNoDlg " + (OneIn(rng, 4) ? "cancel" : "ok") + "; ";
    const std::string pair = (OneIn(rng, 2) ? w.NewSignal("FCLK") : Pick(rng, pairs)) + " (Differential Pair)";
    if (OneIn(rng, 2)) return line + "addConnection pin " + Braced(pair) + " CLK";
    return line + "kx::edit ccp {*}[kxcell CLK Signal] " + Braced(pair);
}

// The pin grid's renames: each listed pin of U1 gets a new signal or one the design has (three words:
// the pin is disconnected), all in one step. The second key names the first one's pin again now and
// then (to another name, or to none): that word is refused whole.
std::string RenameConnection(Rng& rng, EditWorld& w) {
    std::string line = "kx::show clp U1; renameConnection pin";
    const int pins = OneIn(rng, 3) ? 2 : 1;
    std::string first;
    for (int i = 0; i < pins; ++i) {
        const std::string pin = i > 0 && OneIn(rng, 3) ? first : PinAndNumber(rng);
        if (i == 0) first = pin;
        line += " [list U1 " + pin;
        if (!OneIn(rng, 5)) line += " " + (OneIn(rng, 2) ? w.NewSignal("RN") : Pick(rng, w.signals));
        line += "]";
    }
    return line;
}

// The clock pair's pin taken off U1 by the word, its automation or the menu, its connection cleared
// first mostly (a connected pair is refused).
std::string RemovePairPin(Rng& rng, EditWorld&) {
    std::string line = "kx::show clp U1; ";
    if (!OneIn(rng, 4)) line += "kx::edit ccp {*}[kxcell CLK Signal] {}; ";
    static const std::vector<std::string> roads = {"removeDiffPairPin pin CLK", "kx::pane RemoveDiffPairPin CLK",
                                                   "kx::select ccp {*}[kxcell CLK \"Pin Name\"]; kx::menu 35725",
                                                   "removeDiffPairPin pin {TX<3..0>}"};
    return line + Pick(rng, roads);
}

// Modify Values on selected Signal cells of U1's pins, the values answered in the dialog.
std::string ModifyValues(Rng& rng, EditWorld& w) {
    std::string line = "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]";
    if (OneIn(rng, 2)) line += " {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]";
    line += "; kx::answer dialog CKXDlgEditValues " + std::string(OneIn(rng, 5) ? "cancel" : "ok") + " value0 " +
            Braced(OneIn(rng, 2) ? w.NewSignal("MV") : Pick(rng, w.signals));
    if (OneIn(rng, 2)) line += " value1 " + Braced(w.NewSignal("MV"));
    return line + "; kx::menu 35096";
}

// The termination dialog of a pin grid's or signal grid's row: the cell's button, a double-click or
// the pane's Add Termination, the dialog kept or cancelled.
std::string TerminationDialog(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> answers = {"ok type Series", "ok type Shunt value0 47", "cancel",
                                                     "ok type Thevenin"};
    std::string line = OneIn(rng, 3) ? "kx::show slp " + std::string(OneIn(rng, 2) ? "PG" : "MCLK") + "; "
                                     : std::string("kx::show clp U1; ");
    line += "kx::answer dialog CKXTerminationDlg " + Pick(rng, answers) + "; ";
    const std::string cell = "{*}[kxcell " + Braced(Pick(rng, w.rowTexts)) + " Termination]";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return line + "kx::click ccp " + cell + " button";
    case 1: return line + "kx::click ccp " + cell + " double";
    default: return line + "kx::select ccp " + cell + "; kx::menu 35522";
    }
}

// The pull-up/pull-down dialog of U1's pins (open pins get signals first, one common one or each its
// own): a double-click on the Pull Up/Down cell or the pane's menu.
std::string PupdDialog(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> answers = {"ok type pullup dcnet VCC3V3 value 10k",
                                                     "ok type pulldown dcnet GND value 4k7", "cancel"};
    std::string line = "kx::show clp U1; kx::answer dialog CKXOpenPinConnectionDlg ok common " +
                       std::string(OneIn(rng, 2) ? "1" : "0") + "; kx::answer dialog CKXPupdDlg " +
                       Pick(rng, answers) + "; ";
    const std::string cell = "{*}[kxcell " + Braced(Pick(rng, w.pins)) + " \"Pull Up/Down\"]";
    if (OneIn(rng, 2)) return line + "kx::click ccp " + cell + " double";
    return line + "kx::select ccp " + cell + "; kx::menu 35509";
}

// Several components side by side or several signals as a group, then one of the shown grids made the
// active one.
std::string ShowSeveral(Rng& rng, EditWorld& w) {
    std::string line = OneIn(rng, 2) ? "kx::show clp U1 " + Pick(rng, w.components)
                                     : "kx::show slp " + Pick(rng, w.signals) + " " + Pick(rng, w.signals);
    return line + "; catch {kx::grid ccp " + std::to_string(std::uniform_int_distribution<int>(1, 2)(rng)) + "}";
}

// A pin of RN1A given a number by the pane's Assign Pin Number items or their More... dialog.
std::string PinNumberMenu(Rng& rng, EditWorld&) {
    std::string line = "kx::show clp " + std::string(OneIn(rng, 2) ? "RN1A" : "RN1B") + "; kx::select ccp {*}[kxcell " +
                       (OneIn(rng, 2) ? "A" : "B") + " \"Pin Number\"]; ";
    if (OneIn(rng, 3))
        return line + "kx::answer dialog CKXAssignPinDialog ok pin " +
               std::to_string(std::uniform_int_distribution<int>(1, 8)(rng)) + "; kx::menu 35550";
    return line + "kx::menu " + std::to_string(std::uniform_int_distribution<int>(35545, 35549)(rng));
}

// The signal grid's connect of an instance's pin by its number (a bus bit too).
std::string SignalGridConnect(Rng& rng, EditWorld&) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> shown = {
        {"PG", {"J1:8", "R1:1", "U2:30", "J1:99"}}, {"EN", {"R2:2", "J1:7"}}, {"DQ", {"J1:9:4:4:DQ", "J1:9:4"}}};
    const auto& [signal, keys] = Pick(rng, shown);
    return "kx::show slp " + signal + "; kx::answer question KXTABLE-140 " + (OneIn(rng, 2) ? "yes" : "no") +
           "; addConnection pin " + Pick(rng, keys);
}

// The matrix view's cells: models set and taken off, a termination or pull-up changed, a termination
// or pull-up made by the pane's dialogs, copied pin cells pasted into other rows.
std::string MatrixCellEdit(Rng& rng, EditWorld& w) {
    const std::string line = MatrixShown(rng, w) + "; matrixAdd pin signal PG; matrixAdd pin signal RESET_N; ";
    const std::string row = Braced(Pick(rng, w.matrixRows));
    switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
    case 0: return line + "assignModel pin LVCMOS33 [list " + row + " U1]";
    case 1: return line + "removeModel pin [list " + row + " U1]";
    case 2:
        return line + "kx::pane MatrixSelect " + row + " U1 TERMINATION " + row + "; editTermination pin -delay " +
               std::to_string(std::uniform_int_distribution<int>(1, 9)(rng)) + "ns";
    case 3:
        return line + "kx::select ccp {*}[kxcell " + row + " Signal]; editPupd pin RP1 -dcnets " +
               (OneIn(rng, 2) ? "GND" : "VCC3V3");
    case 4:
        return line + "kx::select ccp {*}[kxcell " + row + " \"Pin Name\"]; kx::answer dialog CKXTerminationDlg " +
               (OneIn(rng, 3) ? "cancel" : "ok type Series") + "; kx::answer dialog CKXPupdDlg ok type pulldown "
               "dcnet GND value 1k; kx::menu " + (OneIn(rng, 2) ? "35522" : "35509");
    default:
        return line + "kx::select ccp {*}[kxcell " + row + " \"Pin Name\"]; kx::key ccp Ctrl+C; kx::select ccp "
               "{*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " \"Pin Name\"]; kx::answer question KXTABLE-140 " +
               (OneIn(rng, 2) ? "yes" : "no") + "; paste pin";
    }
}

// Stored matrix views saved under another name, removed, made and changed by the list's menus.
std::string MatrixViewMenus(Rng& rng, EditWorld& w) {
    const std::string name = OneIn(rng, 2) ? "mv" : "mv" + std::to_string(std::uniform_int_distribution<int>(5, 7)(rng));
    const std::string shown = MatrixShown(rng, w) + "; ";
    switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
    case 0: return shown + "kx::pane SaveAsMatrixView " + name;
    case 1: return shown + "kx::answer dialog CKXMatrixSaveAsDlg ok name " + name + "; kx::menu 35677";
    case 2: return "kx::pane RemoveMatrixView " + name;
    case 3: return shown + "kx::menu 35678";
    case 4:
        return "kx::answer dialog CKXMatrixViewDlg ok name " + name + " components " +
               Braced("U1 " + Pick(rng, w.components)) + " signals " + Braced("MCLK " + Pick(rng, w.signals)) +
               "; kx::menu 35676";
    default:
        return shown + "kx::answer dialog CKXMatrixViewDlg ok signals " + Braced(Pick(rng, w.signals) + " PG") +
               "; kx::menu 35706";
    }
}

// A pin row's Signal Model typed in the physical net grid.
std::string PhysicalNetModel(Rng& rng, EditWorld&) {
    static const std::vector<std::string> models = {"RES_MODEL", "RES_FAST", "", "NOSUCHMODEL"};
    static const std::vector<std::string> nets = {"VCC3V3", "RST_IN", "RESET_N"};
    return (OneIn(rng, 3) ? PhysicalWindow() : std::string()) + "catch {kx::show slp " + Pick(rng, nets) +
           "}; kx::edit ccp {*}[kxcell RN1 \"Signal Model\"] " + Braced(Pick(rng, models));
}

// What the pin grid shows of U1: pairs and vectors shown or not, its rows sorted, or filtered (the
// filter taken off again mostly, so that the edits that follow find their rows).
std::string ViewOfThePins(Rng& rng, EditWorld&) {
    static const std::vector<std::string> options = {"dp_off", "dp_on", "bus_off", "bus_on"};
    static const std::vector<std::string> sorts = {"\"Pin Name\"", "Signal", "\"Pin Number\""};
    static const std::vector<std::string> filters = {"M*", "*N", "D*", "*"};
    std::string line = "kx::show clp U1; ";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return line + "setViewOption pin " + Pick(rng, options);
    case 1: return line + "sort pin " + Pick(rng, sorts);
    default:
        line += "filterRows pin -col Signal -filter " + Pick(rng, filters);
        return OneIn(rng, 3) ? line : line + "; filterRows pin -col Signal -filter *";
    }
}

// The host's own changes told to the window: an instance deleted, a master placed (by the host, or
// dropped from the part filter), a pin's comment moved to another pin and back.
std::string HostChanges(Rng& rng, EditWorld&) {
    static const std::vector<std::string> instances = {"R1", "RN1A", "U2", "J1", "NOSUCH"};
    static const std::vector<std::string> moves = {"U1,MCLK:U1,PGOOD", "U1,RST_N:U1,MCLK", "U1,PGOOD:U2,CLK"};
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0:
        // The host's delete deleted the component shown last: that road waits for its mend.
        if (!RoadOpen("instance deletes by the host")) return std::string("kx::notify INT_MSG_ADD_LOGICAL_PART -text {demo.RES:sym R5}");
        return "kx::notify INT_MSG_DELETE_INSTANCE -text " + Pick(rng, instances);
    case 1: return "kx::notify INT_MSG_ADD_LOGICAL_PART -text {demo.RES:sym R" +
                   std::to_string(std::uniform_int_distribution<int>(5, 9)(rng)) + "}";
    case 2: return "kx::drop clp part {((\"demo.RES:sym\" \"R" + std::to_string(std::uniform_int_distribution<int>(5, 9)(rng)) +
                   "\") (\"VALUE\" \"10k\" x \"1\"))}";
    default: {
        const std::string move = Pick(rng, moves);
        const size_t colon = move.find(':');
        const std::string back = move.substr(colon + 1) + ":" + move.substr(0, colon);
        const std::string undo = OneIn(rng, 2) ? " 1" : " 0";
        return "kx::notify INT_MSG_PRESERVE_PIN_COMMENT " + move + undo + "; kx::notify INT_MSG_PRESERVE_PIN_COMMENT " +
               back + undo;
    }
    }
}

// The signal grid's copied pin numbers pasted into another signal's rows, or a column of its rows
// set by automation.
std::string SignalGridPaste(Rng& rng, EditWorld&) {
    static const std::vector<std::string> sources = {"PG R2", "EN R1", "MCLK U1", "PG PWR1"};
    static const std::vector<std::string> targets = {"EN R1", "PG R2", "MCLK U2", "EN PWR1"};
    std::istringstream from(Pick(rng, sources)), to(Pick(rng, targets));
    std::string net, instance, otherNet, otherInstance;
    from >> net >> instance;
    to >> otherNet >> otherInstance;
    const std::string caption = OneIn(rng, 2) ? "\"Pin Number\"" : "\"Pin Name\"";
    if (OneIn(rng, 3))
        return "kx::show slp " + net + "; kx::select ccp {*}[kxcell " + instance + " " + caption +
               "]; kx::pane ChangePropValue " + caption + " " + std::to_string(std::uniform_int_distribution<int>(1, 9)(rng));
    return "kx::show slp " + net + "; kx::select ccp {*}[kxcell " + instance + " " + caption +
           "]; kx::key ccp Ctrl+C; kx::show slp " + otherNet + "; kx::answer question KXTABLE-140 " +
           (OneIn(rng, 2) ? "yes" : "no") + "; kx::select ccp {*}[kxcell " + otherInstance + " " + caption + "]; " +
           (OneIn(rng, 2) ? "paste pin" : "kx::key ccp Ctrl+V");
}

// The component and signal lists' automation: components added, given another master or another
// reference designator (or none), deleted; blocks placed and their packaging option; nets aliased and
// the alias taken off.
std::string ListAutomation(Rng& rng, EditWorld& w) {
    const std::string name = "R" + std::to_string(std::uniform_int_distribution<int>(5, 9)(rng));
    switch (std::uniform_int_distribution<int>(0, 7)(rng)) {
    case 0: return "kx::call AddComponent " + name + " demo " + (OneIn(rng, 2) ? "RES" : "NOSUCH") + " sym";
    case 1: return "kx::call ModifyComponent " + Pick(rng, w.components) + " demo.LDO";
    case 2: return "kx::call EditRefDes " + Pick(rng, w.components) + " " + name + "0";
    case 3: return "kx::select clp " + Pick(rng, w.components) + "; kx::call DeleteRefDes";
    case 4: return "kx::call DeleteComponent " + Pick(rng, w.components);
    case 5:
        return "kx::call AddBlock PWR" + std::to_string(std::uniform_int_distribution<int>(2, 3)(rng)) +
               " demo PWR SUFFIX _b sch TRUE";
    case 6: return "kx::call ChangeBlkOption PREFIX P_ " + std::string(OneIn(rng, 2) ? "PWR1" : "PWR2");
    default:
        return std::string(OneIn(rng, 3) ? "kx::call DeleteAlias" : "kx::call AliasNets") + " " +
               Pick(rng, w.signals) + " " + Pick(rng, w.signals);
    }
}

std::vector<EditKind>& FirstKinds() {
    static std::vector<EditKind> kinds = {
        // The design and its comments.
        {"AddSignal",
         [](Rng& rng, EditWorld& w) {
             // Now and then a name taken already, which is refused.
             return "kx::call AddSignal " + (OneIn(rng, 5) ? std::string("PG") : w.NewSignal("SIG_")) + " {} {}";
         }},
        {"designComment add", [](Rng& rng, EditWorld&) { return "designComment add " + Braced(SomeText(rng)); }},
        {"designComment edit", [](Rng& rng, EditWorld&) { return "designComment edit " + Braced(SomeText(rng)); }},
        {"designComment delete", [](Rng&, EditWorld&) { return std::string("designComment delete"); }},
        {"InsertComment", [](Rng& rng, EditWorld&) { return "kx::call InsertComment " + Braced(SomeText(rng)); }},
        {"EditComment", [](Rng& rng, EditWorld&) { return "kx::call EditComment " + Braced(SomeText(rng)); }},
        {"addComment",
         [](Rng& rng, EditWorld& w) { return "addComment pin " + Braced(SomeText(rng)) + " " + Braced(Pick(rng, w.pins)); }},
        {"modifyComment",
         [](Rng& rng, EditWorld& w) {
             return "modifyComment pin " + Braced(SomeText(rng)) + " " + Braced(Pick(rng, w.pins));
         }},
        {"deleteComment", [](Rng& rng, EditWorld& w) { return "deleteComment pin {} " + Braced(Pick(rng, w.pins)); }},
        {"changeCustomColumn",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> values = {"fast", "slow", "1.8 V", "", "a,b"};
             return "changeCustomColumn pin -col " + Pick(rng, w.columns) + " -val " + Braced(Pick(rng, values)) +
                    " " + Braced(Pick(rng, w.pins));
         }},
        // Terminations, pull-ups/pull-downs and pin models of the selected pins.
        {"addTermination",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"Series", "Shunt", "Thevenin"};
             return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; addTermination pin -type " +
                    Pick(rng, types) + " -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22";
         }},
        {"deleteTermination", [](Rng& rng, EditWorld& w) { return "deleteTermination pin " + Braced(Pick(rng, w.pins)); }},
        {"addPupd",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"pullup", "pulldown"};
             return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; addPupd pin -type " + Pick(rng, types) +
                    " -dcnet " + (OneIn(rng, 3) ? "GND" : "VCC3V3") + " -value 1k";
         }},
        {"deletePupd",
         [](Rng& rng, EditWorld& w) { return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; deletePupd pin"; }},
        {"assignModel",
         [](Rng& rng, EditWorld& w) { return "assignModel pin LVCMOS33 " + Braced(Pick(rng, w.pins)); }},
        {"removeModel", [](Rng& rng, EditWorld& w) { return "removeModel pin " + Braced(Pick(rng, w.pins)); }},
        {"editTermination",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> ids = {"RT2", "RT3", "RT1"};
             std::string line = "selectObject pin " + Braced(Pick(rng, w.pins)) + "; editTermination pin -id " +
                                Pick(rng, ids) + " -delay " + std::to_string(std::uniform_int_distribution<int>(1, 9)(rng)) + "ns";
             if (OneIn(rng, 2)) line += " -k [list TOL=" + std::to_string(std::uniform_int_distribution<int>(1, 5)(rng)) + "%]";
             return line;
         }},
        // The automation roads of terminations and pull-ups: a cell of the shown grid (a pin of the pin
        // grid, or an instance's pin of the signal grid), then the methods a journal calls.
        {"InitTermination automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"Series", "Shunt", "NoSuchType"};
             return "kx::pane SelectTerminationCol " + Pick(rng, w.terminationCells) + "; kx::pane InitTermination " +
                    Pick(rng, types) + "; kx::pane AddTermination";
         }},
        {"ChangeDelay automation",
         [](Rng& rng, EditWorld& w) {
             return "kx::pane SelectTerminationCol " + Pick(rng, w.terminationCells) + "; kx::pane ChangeDelay " +
                    std::to_string(std::uniform_int_distribution<int>(1, 9)(rng)) + "ns";
         }},
        {"termination in the signal grid",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> keys = {"C10:U1", "2:R2", "B14:U1"};
             std::string line = "kx::show slp " + std::string(OneIn(rng, 2) ? "PG" : "MCLK") + "; selectObject pin " +
                                Pick(rng, keys) + "; ";
             if (OneIn(rng, 3)) return line + "deleteTermination pin";
             return line + "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym "
                           "-physname R0402 -value " + std::to_string(std::uniform_int_distribution<int>(10, 99)(rng));
         }},
        {"paste a copied termination",
         [](Rng& rng, EditWorld& w) {
             // Mostly from MCLK, which has one on the saved board.
             return "copy pin " + Braced(OneIn(rng, 3) ? Pick(rng, w.pins) : std::string("MCLK")) +
                    " Termination; kx::pane SelectTerminationCol " +
                    Pick(rng, w.terminationCells) + "; paste pin";
         }},
        {"editPupd",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> names = {"RP1", "RP2", "PU1", "PD1"};
             static const std::vector<std::string> nets = {"VCC3V3", "GND", "NOSUCHNET"};
             // Mostly RST_N, whose net has RP1 on the saved board.
             const bool rst = !OneIn(rng, 3);
             return "selectObject pin " + Braced(rst ? std::string("RST_N") : Pick(rng, w.pins)) + "; editPupd pin " +
                    (rst && !OneIn(rng, 4) ? std::string("RP1") : Pick(rng, names)) +
                    " -dcnets " + Pick(rng, nets) + (OneIn(rng, 2) ? " -keyprop {TOL=1%}" : "");
         }},
        {"InitPUPD automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> texts = {"{pullup VCC3V3}", "{pulldown GND}", "pullup"};
             return "kx::pane SelectPUPDCol " + Pick(rng, w.terminationCells) + "; kx::pane InitPUPD " +
                    Pick(rng, texts) + "; kx::pane AddPUPD";
         }},
        {"DeletePUPD automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> names = {"{}", "RP1", "PU1"};
             return "kx::pane SelectPUPDCol " + Pick(rng, w.terminationCells) + "; kx::pane DeletePUPD " +
                    Pick(rng, names);
         }},
        {"AssignModel automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> models = {"LVCMOS18", "SSTL"};
             return "kx::pane SelectPinNameCol " + Pick(rng, w.terminationCells) + "; kx::pane AssignModel " +
                    Pick(rng, models);
         }},
        {"RemoveModel automation",
         [](Rng& rng, EditWorld& w) {
             return "kx::pane SelectPinNameCol " + Pick(rng, w.terminationCells) + "; kx::pane RemoveModel";
         }},
        // The physical part grid's pin numbers and swaps (in a logical window the pin grid's).
        {"physical pin number",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> keys = {"A:1", "A:2", "B:7", "B:8"};
             return (OneIn(rng, 3) ? PhysicalWindow() : std::string()) +
                    "catch {kx::show clp RN1}; kx::word selectObject pin " + Pick(rng, keys) +
                    "; kx::pane ccp AssignPinNumber " + std::to_string(std::uniform_int_distribution<int>(1, 8)(rng));
         }},
        // A pin swaps only within its swap group: U1's data pins take the numbers of DQ<15..8> (A1..A8),
        // the pack's pins any of its numbers, those of the other group (its A or B pins) refused.
        {"physical swap",
         [](Rng& rng, EditWorld&) {
             struct Pin {
                 const char* show;
                 const char* key;
                 const char* numbers; // the prefix of the numbers 1..8 offered
             };
             static const std::vector<Pin> pins = {
                 {"catch {kx::show clp RN1}", "A:2", ""}, {"catch {kx::show clp RN1}", "B:7", ""},
                 {"catch {kx::show clp U1}", "{DQ<3>}", "A"}, {"catch {kx::show clp U1}", "{DQ<12>}", "A"}};
             const std::string window = OneIn(rng, 3) ? PhysicalWindow() : std::string();
             const Pin& pin = Pick(rng, pins);
             return window + pin.show + "; kx::word selectObject pin " + pin.key + "; kx::pane ccp SwapPins " +
                    pin.numbers + std::to_string(std::uniform_int_distribution<int>(1, 8)(rng));
         }},
        // What the pane shows: a component or a signal, one named before too.
        {"show component", [](Rng& rng, EditWorld& w) { return "kx::show clp " + Pick(rng, w.components); }},
        {"show signal", [](Rng& rng, EditWorld& w) { return "kx::show slp " + Pick(rng, w.signals); }},
        {"expandPins", [](Rng& rng, EditWorld&) { return std::string("expandPins pin ") + (OneIn(rng, 2) ? "on" : "off"); }},
        // The connection words.
        {"addConnection name",
         [](Rng& rng, EditWorld& w) {
             const std::string signal = OneIn(rng, 3) ? Pick(rng, w.signals) : w.NewSignal("N");
             return "addConnection pin " + signal + " " + Pick(rng, w.keys);
         }},
        {"addConnection bus range",
         [](Rng& rng, EditWorld& w) {
             return "addConnection pin {" + w.NewSignal("XB") + "[12..0]} " + (OneIn(rng, 2) ? "{A<12..0>}" : "{DQ<15..0>}");
         }},
        {"addConnection rule",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> rules = {"=AUTONAME", "=PINNAME", "=PREFIXPINNAME(P_)",
                                                            "=SUFFIXPINNUMBER(_S)"};
             if (OneIn(rng, 3))
                 return "addConnection pin =INCREMENTSIGNAME(" + w.NewSignal("INC") + ",4) MCLK RST_N";
             return "addConnection pin " + Pick(rng, rules) + " " + Pick(rng, w.keys);
         }},
        {"addConnection comma list",
         [](Rng&, EditWorld& w) {
             return "addConnection pin {" + w.NewSignal("C") + "," + w.NewSignal("C") + "} PGOOD RST_N";
         }},
        {"deleteConnection", [](Rng& rng, EditWorld& w) { return "deleteConnection pin " + Pick(rng, w.keys); }},
        {"swapSignal",
         [](Rng& rng, EditWorld&) {
             const int a = std::uniform_int_distribution<int>(2, 6)(rng);
             return "swapSignal pin {DQ<" + std::to_string(a) + ">} {DQ<" + std::to_string(a + 1) + ">}";
         }},
        {"assignPinNumber",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> numbers = {"2", "3", "6", "7", "C10"};
             return "assignPinNumber pin -number " + Pick(rng, numbers) + " " + (OneIn(rng, 2) ? "A" : "B");
         }},
        {"AddConnection automation",
         [](Rng& rng, EditWorld& w) {
             return "selectObject pin " + Pick(rng, w.keys) + "; kx::pane AddConnection " + w.NewSignal("AUTO");
         }},
        {"AttachSignal automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> rules = {"AUTONAME", "PINNAME", "PREFIXPINNAME(Q_)"};
             return "selectObject pin " + Pick(rng, w.keys) + "; kx::pane AttachSignal " + Pick(rng, rules);
         }},
        // The user's hands on the shown grid.
        {"type into a cell",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> texts = {"PG", "MCLK", "", "fast", "7", "U1", "R2"};
             const std::string text = OneIn(rng, 2) ? w.NewSignal("T") : Pick(rng, texts);
             return "kx::edit ccp " + Cell(rng, w) + " " + Braced(text);
         }},
        {"Delete on a column", [](Rng& rng, EditWorld& w) { return "kx::select ccp " + Cell(rng, w) + "; kx::key ccp Delete"; }},
        {"drop a signal",
         [](Rng& rng, EditWorld& w) { return "kx::drop ccp " + Cell(rng, w) + " signal " + Pick(rng, w.signals); }},
        {"drop a component",
         [](Rng& rng, EditWorld& w) { return "kx::drop ccp " + Cell(rng, w) + " component " + Pick(rng, w.components); }},
        // The matrix view: opened (a component and signals added), typed into, Delete on its cells, the
        // connect word, and terminations and pull-ups of its cells.
        {"openMatrixView",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> signals = {"MCLK", "{DQ<4..2>}", "PG", "RESET_N", "NOSUCHNET"};
             return MatrixShown(rng, w) + "; matrixAdd pin component " + Pick(rng, w.components) +
                    "; matrixAdd pin signal " + Pick(rng, signals);
         }},
        {"type into a matrix cell",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> captions = {"Pin Name", "Pin Number", "Termination", "Signal"};
             return MatrixShown(rng, w) + "; kx::answer question KXTABLE-140 " + (OneIn(rng, 2) ? "yes" : "no") +
                    "; kx::edit ccp {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " + Braced(Pick(rng, captions)) +
                    "] " + Braced(Pick(rng, w.matrixTexts));
         }},
        {"matrixConnect",
         [](Rng& rng, EditWorld& w) {
             const bool byName = OneIn(rng, 2);
             std::string text = byName ? Pick(rng, w.matrixTexts) : std::string(OneIn(rng, 2) ? "B14" : "C10");
             return MatrixShown(rng, w) + "; kx::answer question KXTABLE-140 yes; matrixConnect pin " +
                    Braced(Pick(rng, w.matrixRows)) + " U1 " + (byName ? "PIN_NAME " : "PN ") + Braced(text);
         }},
        {"Delete on a matrix cell",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> captions = {"Pin Name", "Pin Number", "Termination",
                                                               "Pull Up/Down", "Signal"};
             return MatrixShown(rng, w) + "; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " +
                    Braced(Pick(rng, captions)) + "]; kx::key ccp Delete";
         }},
        {"matrix termination",
         [](Rng& rng, EditWorld& w) {
             const std::string line = MatrixShown(rng, w) + "; kx::select ccp {*}[kxcell " +
                                      Braced(Pick(rng, w.matrixRows)) + " \"Pin Name\"]; ";
             if (OneIn(rng, 2)) return line + "deleteTermination pin";
             return line + "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym "
                           "-physname R0402 -value 33";
         }},
        {"matrix pull-up",
         [](Rng& rng, EditWorld& w) {
             const std::string line = MatrixShown(rng, w) + "; kx::select ccp {*}[kxcell " +
                                      Braced(Pick(rng, w.matrixRows)) + " Signal]; ";
             if (OneIn(rng, 2)) return line + "deletePupd pin";
             return line + "addPupd pin -type " + (OneIn(rng, 2) ? "pullup" : "pulldown") + " -dcnet " +
                    (OneIn(rng, 3) ? "GND" : "VCC3V3") + " -value 1k";
         }},
        // The pin grid's paste of copied signal names (Ctrl+C on one Signal cell, paste on another).
        {"paste copied signals",
         [](Rng& rng, EditWorld& w) {
             return "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; paste pin";
         }},
        // A model typed into the physical part grid's Signal Model cell.
        {"physical model",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> models = {"RES_MODEL", "RES_FAST", "", "NOSUCHMODEL"};
             static const std::vector<std::string> numbers = {"1", "2", "7", "8"};
             return (OneIn(rng, 3) ? PhysicalWindow() : std::string()) +
                    "catch {kx::show clp RN1}; kx::edit ccp {*}[kxcell " + Pick(rng, numbers) +
                    " \"Signal Model\"] " + Braced(Pick(rng, models));
         }},
        // A component from the browser dropped on the component list.
        {"drop on the component list",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> cells = {"demo.RES:sym", "demo.CONN10:sym", "demo.NOSUCH:sym"};
             return "kx::drop clp component " + Pick(rng, cells);
         }},
        // An instance dropped on a signal grid's free row, then its pin number typed.
        {"drop an instance on a signal",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> drops = {"J1 8", "J1 9", "R2 1", "R1 2", "U2 30", "J1 99"};
             std::istringstream what(Pick(rng, drops));
             std::string instance, number;
             what >> instance >> number;
             // A pin connected elsewhere moves when the question is answered yes.
             return "kx::show slp " + std::string(OneIn(rng, 2) ? "MCLK" : "EN") + "; kx::answer question KXTABLE-140 " +
                    (OneIn(rng, 2) ? "yes" : "no") + "; set r [kxfree]; kx::drop ccp $r " +
                    "[lindex [kxcell {} Instance] 1] component " + instance + "; kx::edit ccp $r [lindex [kxcell {} " +
                    "{Pin Number}] 1] " + number;
         }},
        // The host renamed an instance and tells the window: its pin comments go with it. The host
        // journals its renames itself and tells the window again on replay, so the sequence renames
        // back (the window's undo steps of both moves are still undone and redone by the checks).
        {"PreserveComments",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> renames = {"U1 U7", "R1 R9", "U2 U8"};
             std::istringstream pair(Pick(rng, renames));
             std::string from, to;
             pair >> from >> to;
             const std::string undo = OneIn(rng, 2) ? " 1" : " 0";
             return "kx::notify INT_MSG_PRESERVE_INST_COMMENT " + from + ":" + to + undo +
                    "; kx::notify INT_MSG_PRESERVE_INST_COMMENT " + to + ":" + from + undo;
         }},
        // A signal typed into a pin row's Signal cell, the question whether terminations stay answered.
        {"type a signal, retain answered",
         [](Rng& rng, EditWorld& w) {
             const std::string text = OneIn(rng, 2) ? w.NewSignal("RT") : Pick(rng, w.signals);
             return std::string("kx::show clp U1; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination ") +
                    (OneIn(rng, 2) ? "1" : "0") + "; kx::edit ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal] " + Braced(text);
         }},
        // The component list's requests from the host, and stored matrix views defined by automation.
        {"co-design mark",
         [](Rng& rng, EditWorld& w) {
             return "kx::pane clp MarkAsCodesign " + Braced(Pick(rng, w.components) + " " + Pick(rng, w.components)) +
                    (OneIn(rng, 2) ? " 1" : " 0");
         }},
        {"power group",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> pins = {"VDD", "VCCINT", "GND", "NOPIN"};
             return "kx::pane clp AssignPowerGroup " + Pick(rng, w.components) + " " + Pick(rng, pins) + " " +
                    Pick(rng, w.signals);
         }},
        {"define a matrix view",
         [](Rng& rng, EditWorld& w) {
             const std::string view = OneIn(rng, 2) ? "mv" : "mv3";
             const std::string components = Braced(Pick(rng, w.components) + " U1");
             const std::string signals = Braced(Pick(rng, w.signals) + " MCLK");
             return OneIn(rng, 2) ? "kx::pane CreateMatrixView " + view + " " + components + " " + signals
                                  : "kx::pane EditMatrixView " + view + " " + view + " " + components + " " + signals;
         }},
        // The instance connectivity dialog the host opens on a placed instance: pins connected by its
        // functions or a typed signal, then OK or Cancel.
        {"instance connectivity dialog", InstanceConnectivity},
        // Copied cells pasted onto pins of the instance connectivity dialog, one edit of its step.
        {"instance connectivity dialog paste", InstanceConnectivityPaste},
        // Copied pull-ups/pull-downs pasted into the pin grid's Pull Up/Down column.
        {"paste pull-ups in the pin grid", PinGridPupdPaste},
        // The matrix's copied terminations and pull-ups pasted (in the same view or another), or made
        // again by the call the journal writes.
        {"matrix paste of terminations and pull-ups", MatrixAssocPaste},
        // The clipboard viewer's item pasted into the component list or the active grid.
        {"clipboard viewer paste", ClipViewerPaste},
        // The clock pair moved to another pair net, the terminations question answered.
        {"pair moved, terminations answered", PairMoveRetain},
        // The pin grid's renames, the pair pin taken off, Modify Values, the termination and pull-up
        // dialogs, the Assign Pin Number menu.
        {"renameConnection", RenameConnection},
        {"pair pin removed", RemovePairPin},
        {"Modify Values", ModifyValues},
        {"termination dialog", TerminationDialog},
        {"pull-up dialog", PupdDialog},
        {"Assign Pin Number menu", PinNumberMenu},
        // Several grids shown at once, another one active.
        {"show several", ShowSeveral},
        {"signal grid connect", SignalGridConnect},
        {"matrix cell edit", MatrixCellEdit},
        {"matrix view menus", MatrixViewMenus},
        {"physical net model", PhysicalNetModel},
        {"view of the pins", ViewOfThePins},
        {"the host's changes", HostChanges},
        {"signal grid paste", SignalGridPaste},
        // Paste by the main window's accelerator on the pin grid's Signal cells.
        {"Ctrl+V",
         [](Rng& rng, EditWorld& w) {
             return "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; kx::key ccp Ctrl+V";
         }},
        {"list automation", ListAutomation},
        // Undo and redo by the main window's accelerators.
        {"Ctrl+Z", [](Rng&, EditWorld&) { return std::string("kx::key ccp Ctrl+Z"); }},
        {"Ctrl+Y", [](Rng&, EditWorld&) { return std::string("kx::key ccp Ctrl+Y"); }},
        {"undo", [](Rng&, EditWorld&) { return std::string("undo"); }},
        {"redo", [](Rng&, EditWorld&) { return std::string("redo"); }},
        // Windows: a second one on the design (the physical view too), and back to the first.
        {"second window",
         [](Rng& rng, EditWorld&) { return std::string("kx::open demo.board:sch ") + (OneIn(rng, 2) ? "4" : "0"); },
         "two windows on one design"},
        {"first window", [](Rng&, EditWorld&) { return std::string("kx::tab 1"); }, "two windows on one design"},
    };
    return kinds;
}


} // namespace

const std::vector<EditKind>& EditKinds() {
    static const std::vector<EditKind> kinds = [] {
        std::vector<EditKind> open;
        // The session, text and hand roads three times over and the window roads twice: each is one kind
        // among a hundred otherwise.
        const std::vector<EditKind> roads = SessionRoads(), windows = WindowRoads(), texts = TextRoads(),
                                    hands = HandRoads();
        const std::vector<EditKind>& first = FirstKinds();
        for (const std::vector<EditKind>* from : {&first, &roads, &roads, &roads, &windows, &windows, &texts, &texts,
                                                  &texts, &hands, &hands, &hands})
            for (const EditKind& kind : *from)
                if (RoadOpen(kind.name) && (!kind.awaiting || RoadOpen(kind.awaiting))) open.push_back(kind);
        return open;
    }();
    return kinds;
}

std::vector<EditKind> EveryEditKind() {
    std::vector<EditKind> every = FirstKinds();
    for (std::vector<EditKind> (*roads)() : {SessionRoads, WindowRoads, TextRoads, HandRoads})
        for (EditKind& kind : roads())
            every.push_back(std::move(kind));
    return every;
}

const std::vector<std::string>& SessionFrameLines() {
    static const std::vector<std::string> lines = {kFirstShow, kLastSave, kCloseAndReopen};
    return lines;
}

}  // namespace kxrandom
