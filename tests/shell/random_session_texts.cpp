// The text forms of a session's words: comma lists whose entries are buses, ranges and names, given on
// every road a connect takes (typed into a Signal cell, the Attach Signal row, addConnection and
// renameConnection); property lists of terminations and pull-ups holding blanks, semicolons, quotes and
// equal signs, and copies of such terminations pasted; words over several keys, some of components
// the pane does not show. Where an action names what it acts on, its line says so (Target).
#include "KXRandomEdits.h"

#include <algorithm>

namespace kxrandom {

namespace {

// A row of a component's pin grid, named by the text its Pin Name cell shows and by the key the words take.
struct PinRow {
    const char* component;
    const char* row; // the Pin Name cell's text
    const char* key; // the words' key
};

const PinRow& SomePinRow(Rng& rng) {
    static const std::vector<PinRow> rows = {
        {"U1", "A<12..0>", "{U1 A<12..0>}"}, {"U1", "DQ<15..0>", "{U1 DQ<15..0>}"}, {"U1", "MCLK", "{U1 MCLK B14}"},
        {"U1", "PGOOD", "{U1 PGOOD C10}"},   {"U2", "CLK", "{U2 CLK}"},             {"U2", "A<12..0>", "{U2 A<12..0>}"},
        {"R2", "A", "{R2 A}"},               {"J1", "P<10..1>", "{J1 P<10..1>}"}};
    return Pick(rng, rows);
}

// One entry of a comma list: a new bus, a range of a bus the design has, a bit, a name (new or the
// design's), or nothing.
std::string ListEntry(Rng& rng, EditWorld& w, bool bus) {
    static const std::vector<std::string> widths = {"12..0", "3..0", "1..0", "15..0", "0..3"};
    static const std::vector<std::string> ranges = {"DQ<7..4>", "ADDR<3..0>", "DQ<15..0>", "LVDS_P<1..0>", "DQ<2>"};
    static const std::vector<std::string> names = {"MCLK", "PG", "EN", "VCC3V3", ""};
    if (bus) return OneIn(rng, 2) ? w.NewSignal("XB") + "<" + Pick(rng, widths) + ">" : Pick(rng, ranges);
    return OneIn(rng, 2) ? w.NewSignal("YB") : Pick(rng, names);
}

// Two or three entries, the first a bus or range when busFirst, a name otherwise; the others of either kind.
std::string CommaList(Rng& rng, EditWorld& w, bool busFirst) {
    std::string list = ListEntry(rng, w, busFirst);
    const int more = OneIn(rng, 3) ? 2 : 1;
    for (int i = 0; i < more; ++i)
        list += "," + ListEntry(rng, w, OneIn(rng, 2));
    return list;
}

// The comma list given to one row on one of the roads of a connect.
std::string CommaListOnARoad(Rng& rng, EditWorld& w, bool busFirst) {
    const PinRow& row = SomePinRow(rng);
    const std::string text = Braced(CommaList(rng, w, busFirst));
    std::string line = "kx::show clp " + std::string(row.component) +
                       "; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination " +
                       (OneIn(rng, 2) ? "1" : "0") + "; ";
    const std::string cell = "{*}[kxcell " + Braced(row.row) + " Signal]";
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0: line += "kx::edit ccp " + cell + " " + text; break;
    case 1: line += "kx::select ccp " + cell + "; kx::ccpbar type " + text; break;
    case 2: line += "addConnection pin " + text + " " + row.key; break;
    default: {
        // renameConnection's key: the component, the pin, its number (none), the new name.
        std::string key = row.key;
        key.pop_back();
        const bool numbered = std::count(key.begin(), key.end(), ' ') > 1;
        line += "renameConnection pin [list " + key.substr(1) + (numbered ? "" : " {}") + " " + text + "]";
        break;
    }
    }
    return line + Target(row.component);
}

std::string CommaListOfNames(Rng& rng, EditWorld& w) { return CommaListOnARoad(rng, w, false); }
std::string CommaListBusFirst(Rng& rng, EditWorld& w) { return CommaListOnARoad(rng, w, true); }

// A property list as the words take it (-k, -i, -keyprop): items NAME=VALUE, several in one word
// (separated by blanks or semicolons), values holding blanks, quotes or equal signs.
std::string PropertyList(Rng& rng) {
    static const std::vector<std::string> lists = {"{A=1 B=2}", "{X=1 Y=2}", "TOL=1%", "{A=1;B=2}",
                                                   "{NOTE=\"a b\"}", "{EQ=a=b}", "[list {A=1 B} C=2]",
                                                   "{Q=\\\"x\\\"}", "{A=1  B=2 }", "{A=1; B=2}"};
    return Pick(rng, lists);
}

// A termination or a pull-up made with property lists, or one edited to take them, on one of U1's pins.
std::string PropertyListsOnParts(Rng& rng, EditWorld& w) {
    const std::string pin = Braced(Pick(rng, w.pins));
    std::string line = "kx::show clp U1; selectObject pin " + pin + "; ";
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0:
        line += "addTermination pin -type " + std::string(OneIn(rng, 2) ? "Shunt" : "Series") +
                " -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 10";
        if (!OneIn(rng, 3)) line += " -k " + PropertyList(rng);
        if (OneIn(rng, 2)) line += " -i " + PropertyList(rng);
        break;
    case 1:
        line += "addPupd pin -type " + std::string(OneIn(rng, 2) ? "pullup" : "pulldown") +
                " -dcnet VCC3V3 -lib discrete -cell resistor -view sym -physname R0402 -value 1k -k " +
                PropertyList(rng);
        break;
    case 2: line += "editTermination pin -id RT" + std::to_string(std::uniform_int_distribution<int>(1, 3)(rng)) +
                    " -k " + PropertyList(rng); break;
    default: line += "editPupd pin RP1 -dcnets VCC3V3 -keyprop " + PropertyList(rng); break;
    }
    // A pull-up or termination on a pin on no signal gives the pin a net of its own to carry it.
    return line + Target("U1");
}

// A termination or pull-up given a property list, copied, and pasted onto a bus row and other rows (by the
// word, Ctrl+V or the pane's selection of a termination cell).
std::string PastedPartsWithPropertyLists(Rng& rng, EditWorld&) {
    static const std::vector<std::string> sources = {"PGOOD", "MCLK", "RST_N"};
    static const std::vector<std::string> targets = {"DQ<15..0>", "A<12..0>", "PGOOD", "RST_N", "CLK"};
    const bool pupd = OneIn(rng, 3);
    const std::string source = Pick(rng, sources);
    const std::string caption = pupd ? "\"Pull Up/Down\"" : "Termination";
    std::string line = "kx::show clp U1; selectObject pin " + source + "; ";
    line += pupd ? "addPupd pin -type pullup -dcnet VCC3V3 -lib discrete -cell resistor -view sym -physname R0402 "
                   "-value 1k -k " + PropertyList(rng) + "; "
                 : "addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 "
                   "-value 10 -k " + PropertyList(rng) + (OneIn(rng, 2) ? " -i " + PropertyList(rng) : "") + "; ";
    line += "kx::select ccp {*}[kxcell " + source + " " + caption + "]; kx::key ccp Ctrl+C; ";
    line += "kx::select ccp {*}[kxcell " + Braced(Pick(rng, targets)) + " " + caption + "]";
    if (OneIn(rng, 3)) line += " {*}[kxcell " + Braced(Pick(rng, targets)) + " " + caption + "]";
    static const std::vector<std::string> pastes = {"; paste pin", "; kx::key ccp Ctrl+V", "; paste pin special"};
    return line + Pick(rng, pastes) + Target("U1");
}

// A key of a pin the pane shows, of one it does not show, or of none at all.
std::string SomeKey(Rng& rng) {
    static const std::vector<std::string> keys = {"{U1 PGOOD}", "{U1 MCLK B14}", "{U1 RST_N C9}", "{J1 P<9>}",
                                                  "{U2 CLK}",   "{R2 A}",        "{U1 NOPE}",     "{U9 X}"};
    return Pick(rng, keys);
}

// A word over two or three keys while the pane shows one component or two, some keys naming pins of
// components not shown (or no pin at all).
std::string KeyedWords(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> shown = {"J1", "U1", "U1 J1", "U2 R2"};
    std::string keys = SomeKey(rng) + " " + SomeKey(rng);
    if (OneIn(rng, 3)) keys += " " + SomeKey(rng);
    std::string line = "kx::show clp " + Pick(rng, shown) + "; ";
    switch (std::uniform_int_distribution<int>(0, 7)(rng)) {
    case 0: line += "addConnection pin " + (OneIn(rng, 2) ? w.NewSignal("KW") : Pick(rng, w.signals)) + " " + keys; break;
    case 1: line += "deleteConnection pin " + keys; break;
    case 2: line += "assignModel pin LVCMOS33 " + keys; break;
    case 3: line += "removeModel pin " + keys; break;
    case 4: line += "deleteTermination pin " + keys; break;
    case 5:
        line += "copy pin " + keys + " Signal; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.rowTexts)) +
                " Signal]; paste pin";
        break;
    case 6: line += "selectObject pin " + keys + "; " + (OneIn(rng, 2) ? "deleteConnection pin" : "kx::key ccp Delete"); break;
    default: {
        const std::string name = w.NewSignal("KR");
        line += "renameConnection pin [list U1 PGOOD C10 " + name + "] [list J1 P<9> {} " + name + "]";
        break;
    }
    }
    return line + Target("U1 J1 U2 R2");
}

} // namespace

std::vector<EditKind> TextRoads() {
    return {
        {"comma lists of names on every connect road", CommaListOfNames},
        {"comma lists with a bus first on every connect road", CommaListBusFirst},
        {"termination and pull-up property lists", PropertyListsOnParts},
        {"pasted terminations with property lists", PastedPartsWithPropertyLists},
        {"words over keys of components not shown", KeyedWords},
    };
}

} // namespace kxrandom
