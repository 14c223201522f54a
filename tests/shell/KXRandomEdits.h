// What the random user sessions share: what the edit makers pick from on the example board,
// an edit kind (a road the user takes, and the Tcl line that takes it), and the helpers that write
// Tcl words.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kxrandom {

using Rng = std::mt19937;

// What the edit makers may pick from on the example board.
struct EditWorld {
    // Pins of U1 (comments and custom columns are keyed by them), and pin keys of the other parts.
    std::vector<std::string> pins = {"MCLK", "RST_N", "PGOOD", "DQ<3>", "DQ<4>", "A<12..0>"};
    std::vector<std::string> keys = {"MCLK", "RST_N", "PGOOD", "PGOOD:C10", "DQ<3>", "DQ<4>", "A", "B", "P<8>",
                                     "P<9>", "{A<12..0>}", "NOSUCHPIN"};
    std::vector<std::string> columns = {"SPEED", "VOLT_MAX"};
    std::vector<std::string> components = {"U1", "U2", "J1", "R1", "R2", "RN1A", "PWR1"};
    std::vector<std::string> signals = {"PG", "MCLK", "DQ", "EN", "RESET_N", "VCC3V3", "ADDR"};
    // Texts that name a row of the shown grid, and the captions of the columns to act on.
    std::vector<std::string> rowTexts = {"MCLK", "PGOOD", "RST_N", "DQ<3>", "U1", "R2", "PWR1", "A", "B", "CLK"};
    std::vector<std::string> captions = {"Signal", "Pin Name", "Pin Number", "Instance", "Termination", "Speed"};
    // The two words that name a pin's cell for the Select...Col methods: a pin of U1 and its number
    // (pin grid), or an instance and its pin's number (signal grid).
    std::vector<std::string> terminationCells = {"MCLK B14", "PGOOD C10", "RST_N C9", "{DQ<3>} A13",
                                                 "U1 C10", "R2 2", "U1 B14"};
    // Rows of the matrix view (its signals) and what is typed into its pin cells.
    std::vector<std::string> matrixRows = {"MCLK", "DQ<3>", "DQ<2>", "PG", "RESET_N"};
    std::vector<std::string> matrixTexts = {"MCLK", "PGOOD", "DQ<3>", "RST_N", "", "NOPE"};
    int nextSignal = 0;
    std::string NewSignal(const char* prefix) { return prefix + std::to_string(++nextSignal); }
};

// A road the user takes: its name, the function that writes one Tcl line for it, and the road
// awaiting a mend that it meets (nullptr: none; see RoadOpen).
struct EditKind {
    const char* name;
    std::function<std::string(Rng&, EditWorld&)> line;
    const char* awaiting = nullptr;
};

// Roads that meet a known fault whose mend has not landed yet: the suite leaves them out, so that it
// stays green meanwhile. Once the mend is in, its road comes off this list. KX_EDIT_ROADS=all takes
// every road, KX_EDIT_ROADS=NAME,NAME the named ones besides the open roads.
inline const std::vector<std::string>& RoadsAwaitingAMend() {
    static const std::vector<std::string> roads = {};
    return roads;
}

// Whether a road is taken: not awaiting a mend, or asked for by KX_EDIT_ROADS.
inline bool RoadOpen(const std::string& road) {
    const char* asked = std::getenv("KX_EDIT_ROADS");
    const std::string wanted = asked ? "," + std::string(asked) + "," : std::string();
    if (wanted == ",all," || wanted.find("," + road + ",") != std::string::npos) return true;
    for (const std::string& awaiting : RoadsAwaitingAMend())
        if (awaiting == road) return false;
    return true;
}

// A second window on the design (the physical view) for the physical roads while the road of two
// windows is taken; else they stay in the first window, whose pin grid takes them or refuses them.
inline std::string PhysicalWindow() {
    return RoadOpen("two windows on one design") ? std::string("kx::open demo.board:sch 4; ") : std::string();
}

// What an action may change, written after its line as a Tcl comment ("; # target: R2 U1.DQ<3>"),
// so that a script of failing lines keeps it: the pin bits of the instances named (a name with a pin,
// "U1.DQ<3>", only that pin; "U1.A<" every bit of A), or nothing at all ("-").
inline std::string Target(const std::string& names) { return " ;# target: " + (names.empty() ? "-" : names); }

// What an action that changes the design outside the editor's undo history (the host's schematic tool and
// property editor, a cleared undo list) writes after its line, before a target: undoing every step no
// longer gives the design the session started from.
inline constexpr const char* kOutsideUndo = " ;# outside the undo history";
inline std::string OutsideUndo() { return kOutsideUndo; }

// "kxfault TEXT": a line's own check found a fault; the session fails with TEXT.
// "kxrow OFFSET CAPTION": the row and column (two words) of the active grid's row OFFSET rows above its
// first data row (2: the filter row, 4: the captions) in the column titled CAPTION; "0 0" without one.
inline constexpr const char* kRowProc = R"TCL(
proc kxrow {offset caption} {
    set cols {}; set active 0; set first 6; set col 0
    foreach line [split [kx::window ccp] \n] {
        if {[string match "  grid *" $line]} {
            set active [string match "*(active)*" $line]
            if {$active} {
                regexp {first data row ([0-9]+)} $line -> first
                set cols [string range $line [expr {[string first ", columns" $line] + 9}] end]
            }
            continue
        }
        if {!$active || ![string match "    *" $line]} continue
        set colon [string first ": " $line]
        set r [string trim [string range $line 0 [expr {$colon - 1}]]]
        if {$r != $first - 4} continue
        set cells [split [string map [list " | " \x01] [string range $line [expr {$colon + 2}] end]] \x01]
        foreach c $cols t $cells { if {$t eq $caption && !$col} { set col $c } }
    }
    return "[expr {$col ? $first - $offset : 0}] $col"
}
proc kxfault {what} { error "FAULT: $what" }
)TCL";

// The edits of the roads beside the first ones: long sessions over every road.
std::vector<EditKind> SessionRoads();
// The roads over windows, views and settings (random_session_windows.cpp).
std::vector<EditKind> WindowRoads();
// The text forms of the words: comma lists, property lists, keys of components not shown
// (random_session_texts.cpp).
std::vector<EditKind> TextRoads();
// Group grids, the schematic tool, focus moves, side-by-side drops, the host's tools and the remaining
// hands (random_session_hands.cpp).
std::vector<EditKind> HandRoads();
// The lines a session writes itself: what the pane shows as it starts, its last action, and the close
// without saving and the reopen it draws now and then.
inline constexpr const char* kFirstShow = "kx::show clp U1";
inline constexpr const char* kLastSave = "catch {kx::tab 1}; saveDesign";
inline constexpr const char* kCloseAndReopen =
    "kx::answer question KXCOMMON-101 no; kx::close; kx::open demo.board:sch 3; kx::show clp U1";
// Every kind of every road, those awaiting a mend too, once each.
std::vector<EditKind> EveryEditKind();
// The lines a session writes itself: its first show, the close and reopen it draws, and its last save.
const std::vector<std::string>& SessionFrameLines();

// The target a line names (its names into names, "-" left out); "" when it names none.
std::string TargetOf(const std::string& line, std::vector<std::string>& names);
// The netlist lines ("INSTANCE PIN NET", kx::netlist) an action changed outside its target, as
// " -LINE; +LINE;"; "" when it kept to it.
std::string ChangesOutsideTarget(const std::string& before, const std::string& after,
                                 const std::vector<std::string>& target);
// The commands a Tcl line runs: the name at the start of each command (the line's start, and after ";",
// "[" or "{", where a script of if, catch or for starts), the word a "kx::word" sends, and for each
// "kx::notify" the message it sends as "kx::notify NAME".
std::set<std::string> CommandsOf(const std::string& line);
// Reference designators that two instances of the saved design text carry, as " R1 on @R1 and @$RT5;".
std::string DuplicateReferenceDesignators(const std::string& design);

// A session's journal replayed by a fresh kxhost process on a fresh copy of the library, its settings
// folder empty (or a copy of the session's settings while columns a user added do not replay without
// them); the undo history of its windows after the session's actions must be the session's (the same
// steps with the same names, kx::history), and every file the fresh host leaves in its library the
// session's, byte for byte, once the journal of the host's exit replayed too.
struct FreshReplay {
    std::filesystem::path dir, library, settings, session; // scratch, library as shipped, settings, session's
    std::string host, epoch, journal;
    std::string exitJournal; // what the session's exit journalled (the windows it closed)
    std::string history;     // kx::history of the session after its actions
};
// Where the history a replay shows (kx::history) is not the session's, as " (WINDOW: ...)"; "" when
// every window has the same undo steps and redo steps, in the same order and with the same names. A
// session's step whose journal replays as several steps is a difference of its own: an edit is one undo
// step in the session and in its replay alike.
std::string OtherHistory(const std::string& replayed, const std::string& session);
// True when every file of the fresh host's library is the session's, and no other file is there.
bool ReplayInFreshHost(const FreshReplay& run, std::string& why);

template <class T> const T& Pick(Rng& rng, const std::vector<T>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
}

inline bool OneIn(Rng& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng) == 0; }

// A text with the characters that quoting gets wrong: blanks, quotes, brackets, dollars, braces.
inline std::string SomeText(Rng& rng) {
    static const std::vector<std::string> pieces = {"note", "a b", "\"q\"", "[x]", "$v", "{b}", "10k", "\\", ";", "é"};
    std::string text;
    int n = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < n; ++i) text += (i ? " " : "") + Pick(rng, pieces);
    return text;
}

// The first line where two saved designs differ, as " (line N: got ... instead of ...)".
inline std::string FirstDifference(const std::string& got, const std::string& want) {
    std::istringstream a(got), b(want);
    std::string x, y;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, x)), moreB = static_cast<bool>(std::getline(b, y));
        if (!moreA && !moreB) return std::string();
        if (!moreA || !moreB || x != y)
            return " (line " + std::to_string(line) + ": \"" + (moreA ? x : "<end>") + "\" instead of \"" +
                   (moreB ? y : "<end>") + "\")";
    }
}

// A Tcl word that reads back as the text.
inline std::string Braced(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\' || c == '[' || c == ']' || c == '$' || c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The cell of the active grid in the row showing the text, in the column with the caption.
inline std::string Cell(Rng& rng, EditWorld& w) {
    return "{*}[kxcell " + Braced(Pick(rng, w.rowTexts)) + " " + Braced(Pick(rng, w.captions)) + "]";
}

} // namespace kxrandom
