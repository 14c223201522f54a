// The random user sessions draw every command of the host, every script word of the editor and every
// message of the host's tools that can edit: a command, word or message added to the host or the editor
// fails this suite until the sessions draw it, or until it is named below with the reason it cannot edit.
#include "KXRandomEditsFixture.h"

#include "kxcontrols/KXTclCmdManager.h"
#include "kxmsgsrvr/KXHostMessages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

using namespace kxrandom;

namespace {

// The commands, words and messages the sessions need not draw, each with the reason it edits nothing a
// session's check could see.
const std::map<std::string, std::string>& ThoseThatCannotEdit() {
    static const std::map<std::string, std::string> exempt = {
        {"kx::echoes", "reads (and forgets) the lines the editor echoed"},
        {"kx::netlist", "reads the design's connections"},
        {"kx::prop", "reads a property of the design"},
        {"kx::window", "reads what a window shows"},
        {"kx::widths", "reads the widths the active grid draws"},
        {"kx::scrollbars", "paints the active grid and reads which scroll bars it shows"},
        {"kx::panes", "reads the sizes of the panes"},
        {"kx::menustate", "reads whether a menu item is enabled"},
        {"kx::access", "reads what an accessibility client reads of the pane"},
        {"kx::createwindow",
         "makes a control of a window class in the main window, outside every design window"},
        {"kx::journal",
         "starts or stops the journal: the journal a session writes is what its check replays"},
        {"kx::replay", "replays a journal: the check's own road, which every session's fresh host takes"},
        {"kx::translog", "writes the database's transactions to a log file outside the library"},
        {"dumpGrid", "writes the shown grid's rows to a file outside the library"},
        {"kx::notify INT_MSG_HIGHLIGHT_PIN",
         "its operand is a pin object no text gives: kx::highlight sends it"},
    };
    return exempt;
}

// How many lines of each kind are drawn to see what the kind draws.
constexpr unsigned kDrawsPerKind = 400;

// Every command the sessions' lines run, over many draws of every kind (those awaiting a mend too).
std::set<std::string> DrawnCommands() {
    std::set<std::string> drawn;
    for (const EditKind& kind : EveryEditKind())
        for (unsigned seed = 1; seed <= kDrawsPerKind; ++seed) {
            Rng rng(seed);
            EditWorld world;
            const std::set<std::string> commands = CommandsOf(kind.line(rng, world));
            drawn.insert(commands.begin(), commands.end());
        }
    for (const std::string& line : SessionFrameLines()) {
        const std::set<std::string> commands = CommandsOf(line);
        drawn.insert(commands.begin(), commands.end());
    }
    return drawn;
}

// The commands a kxhost process of its own has once it has opened the board (its procs left out).
std::set<std::string> CommandsOfAFreshHost(const std::filesystem::path& dir,
                                           const std::filesystem::path& lib) {
    const std::filesystem::path script = dir / "commands.tcl", listed = dir / "commands.txt";
    std::ofstream(script)
        << "kx::open demo.board:sch 3\nset f [open {" << listed.string() << "} w]\n"
        << "foreach c [info commands] { if {[info procs $c] eq {}} { puts $f $c } }\nclose $f\n";
    const std::string command = "cd '" + dir.string() + "' && KX_REGISTRY_DIR='" + dir.string() +
                                "' ASAN_OPTIONS=detect_leaks=0 '" KXHOST_PATH "' --quiet --lib '" +
                                lib.string() + "' '" + script.string() + "' </dev/null >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::set<std::string> commands;
    std::ifstream in(listed);
    for (std::string name; std::getline(in, name);)
        commands.insert(name);
    return commands;
}

} // namespace

// The names at the start of each command of a line are what it runs; blanks, braces and brackets do not
// hide them, and a name inside an argument is none.
TEST(RandomEditChecks, TheCommandsOfALineAreTheNamesThatStartItsCommands) {
    const std::set<std::string> commands = CommandsOf(
        "kx::show clp U1; if {[catch {kx::tab 3}]} {kx::open demo.board:sch 1}; ::kx::word selectObject pin "
        "A:1; "
        "addConnection pin {undo,redo} MCLK; kx::notify INT_MSG_DELETE_INSTANCE -text R1 ;# target: R1");
    EXPECT_EQ(commands, (std::set<std::string>{"kx::show", "if", "catch", "kx::tab", "kx::open", "kx::word",
                                               "selectObject", "addConnection", "kx::notify",
                                               "kx::notify INT_MSG_DELETE_INSTANCE"}));
}

// A command of the host, a word of the editor or a message of the host's tools that the sessions never draw
// is an edit road no session proves: it is drawn, or named among those that cannot edit, with the reason.
TEST_F(RandomEdits, EveryHostCommandEditorWordAndToolMessageIsDrawnOrCannotEdit) {
    // Every kind of window open, so that every word is registered.
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("openMatrixView pin mv; kx::open demo.board:sch 4");
    const std::set<std::string> drawn = DrawnCommands();
    const std::map<std::string, std::string>& exempt = ThoseThatCannotEdit();
    std::set<std::string> known;
    const auto check = [&](const std::string& name) {
        known.insert(name);
        EXPECT_TRUE(drawn.count(name) || exempt.count(name))
            << name << " is neither drawn by the random sessions nor named among those that cannot edit";
    };
    std::istringstream commands(Run("lsort [info commands ::kx::*]"));
    for (std::string name; commands >> name;)
        check(name.substr(2));
    // The words the host made commands of (a word the editor's manager numbers but no window takes is none),
    // as a kxhost of its own has them: a word a test of this process registered is no word of the host's.
    const std::set<std::string> hostCommands = CommandsOfAFreshHost(m_dir, m_lib);
    for (UINT number = MSG_TCL_COMMAND_FIRST; number <= MSG_TCL_COMMAND_LAST; ++number) {
        const char* word = CKXTclCmdManager::GetTCLCommandName(number);
        if (!word || !hostCommands.count(word)) continue;
        const std::string name = word;
        if (Run("info commands ::" + name) == "::" + name && Run("info procs ::" + name).empty()) check(name);
    }
    for (const SKXHostMessageForm& form : KXHostMessageForms())
        check(std::string("kx::notify ") + form.name);
    EXPECT_GT(known.size(), 100u) << "the host's commands and words were not found";
    // An exemption that names nothing of the host, or what the sessions draw after all, is stale.
    for (const auto& [name, reason] : exempt) {
        EXPECT_TRUE(known.count(name))
            << name << " (" << reason << ") names no command, word or message of the host";
        EXPECT_FALSE(drawn.count(name)) << name << " is drawn by the random sessions: it comes off the list";
    }
}
