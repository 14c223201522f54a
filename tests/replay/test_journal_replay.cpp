// The system's journals replay: a recording kxhost runs every action script of actions/ with a
// journal, a fresh kxhost replays that journal on a fresh copy of the same library, and the
// libraries the two runs leave behind are the same byte for byte. Every journal line form is
// listed in line_forms.txt; a form the code writes that is not listed, or that no action writes,
// fails here.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kReplayDir = KX_REPLAY_DIR;

fs::path SourceRoot() {
    const char* src = std::getenv("KX_TEST_SOURCE_DIR");
    return src ? fs::path(src) : kReplayDir.parent_path().parent_path();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string line; std::getline(s, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The form of a journal line: its call chain without the handle and without arguments
// ("ConnectivityPane.SelectSignalCol", "Save", "RMX.SelectTab", "set RMX.GetActiveTab"); empty for
// blank and comment lines; "?" plus the line for a line of no known shape.
std::string FormOf(const std::string& raw) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '\'') return std::string();
    if (line.rfind("set ", 0) == 0) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos && Trim(line.substr(eq + 1)) == "RMX.GetActiveTab()")
            return "set RMX.GetActiveTab";
        return "?" + line;
    }
    if (line.rfind("call ", 0) != 0) return "?" + line;
    std::string rest = Trim(line.substr(5));
    std::string form;
    size_t i = 0;
    if (rest.rfind("RMX.", 0) == 0) {
        form = "RMX.";
        i = 4;
    } else {
        // The handle runs up to the first ".Name(".
        size_t at = std::string::npos;
        for (size_t k = 0; k < rest.size() && at == std::string::npos; ++k) {
            if (rest[k] != '.') continue;
            size_t j = k + 1;
            while (j < rest.size() && IsIdentChar(rest[j])) ++j;
            if (j > k + 1 && j < rest.size() && rest[j] == '(') at = k + 1;
        }
        if (at == std::string::npos) return "?" + line;
        i = at;
    }
    // Name(args)[.Name(args)...], strings skipped inside the arguments.
    for (;;) {
        const size_t start = i;
        while (i < rest.size() && IsIdentChar(rest[i])) ++i;
        if (i == start || i >= rest.size() || rest[i] != '(') return "?" + line;
        form += rest.substr(start, i - start);
        int depth = 0;
        bool quoted = false;
        for (; i < rest.size(); ++i) {
            const char c = rest[i];
            if (quoted) {
                if (c == '"') quoted = false; // "" inside a string reads as two toggles
            } else if (c == '"') {
                quoted = true;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                ++i;
                break;
            }
        }
        if (depth != 0 || quoted) return "?" + line;
        if (i >= rest.size()) return form;
        if (rest[i] != '.') return "?" + line;
        form += '.';
        ++i;
    }
}

std::set<std::string> ListedForms() {
    std::set<std::string> forms;
    for (const std::string& raw : Lines(ReadText(kReplayDir / "line_forms.txt"))) {
        const std::string line = Trim(raw);
        if (!line.empty() && line[0] != '#') forms.insert(line);
    }
    return forms;
}

// Runs kxhost in a folder; its exit code, with standard output and error in log.
int RunHost(const fs::path& folder, const std::string& arguments, const fs::path& log) {
    // A fixed clock: the comment files record when each comment was made.
    const std::string command = "cd '" + folder.string() + "' && KX_REGISTRY_DIR='" +
                                (folder / "registry").string() +
                                "' SOURCE_DATE_EPOCH=1780000000 ASAN_OPTIONS=detect_leaks=0 '" +
                                std::string(KXHOST_PATH) + "' " + arguments + " >'" + log.string() +
                                "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file a run left below its folder, by relative path (the run's registry left out).
std::map<std::string, std::string> FilesBelow(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_regular_file() && name.rfind("registry", 0) != 0) files[name] = ReadText(entry.path());
    }
    return files;
}

// The forms that a journal fragment stands for (fragments/FORM.vbs).
std::set<std::string> FragmentForms() {
    std::set<std::string> forms;
    if (fs::exists(kReplayDir / "fragments"))
        for (const auto& entry : fs::directory_iterator(kReplayDir / "fragments"))
            if (entry.path().extension() == ".vbs") forms.insert(entry.path().stem().string());
    return forms;
}

class JournalReplay : public ::testing::Test {
protected:
    void SetUp() override {
        // Pin swaps of the physical view are allowed in the recording and in the replay alike.
        setenv("KX_ALLOW_SWAP_PINS", "1", 1);
        static std::mt19937 rng(std::random_device{}());
        m_dir = fs::temp_directory_path() / ("kxreplay_" + std::to_string(rng()));
        for (const char* run : {"record", "replay"}) {
            fs::create_directories(m_dir / run / "registry");
            fs::copy(SourceRoot() / "examples" / "designs", m_dir / run / "designs",
                     fs::copy_options::recursive);
        }
    }
    void TearDown() override {
        std::error_code ec;
        if (!HasFailure()) fs::remove_all(m_dir, ec);
    }

    // The recording script: a small prelude, then every action script in name order.
    fs::path RecordingScript() {
        std::vector<fs::path> actions;
        for (const auto& entry : fs::directory_iterator(kReplayDir / "actions"))
            if (entry.path().extension() == ".tcl") actions.push_back(entry.path());
        std::sort(actions.begin(), actions.end());
        std::string script = ReadText(kReplayDir / "prelude.tcl");
        for (const fs::path& a : actions)
            script += "\n# ---- " + a.filename().string() + "\nset ::action " + a.filename().string() + "\n" +
                      ReadText(a) + "\n";
        const fs::path path = m_dir / "record.tcl";
        std::ofstream(path, std::ios::binary) << script;
        return path;
    }

    // Every file the recording left is the same after the replay, and the replay wrote no other.
    void ExpectTheSameFiles() {
        const auto before = FilesBelow(m_dir / "record");
        const auto after = FilesBelow(m_dir / "replay");
        for (const auto& [name, content] : before) {
            auto it = after.find(name);
            if (it == after.end()) {
                ADD_FAILURE() << "the replay did not write " << name;
                continue;
            }
            EXPECT_TRUE(it->second == content) << name << " differs after the replay:\n--- recorded\n"
                                               << content << "\n--- replayed\n"
                                               << it->second;
        }
        for (const auto& [name, content] : after)
            EXPECT_TRUE(before.count(name)) << "the replay wrote " << name << ", the recording did not";
    }

    // How a session ends: saved and closed by the harness, or as its script leaves it, the host's exit
    // closing the windows still open; or saved, with the undo history of its windows (kx::history) kept
    // in a file beside the library, which the replay, its windows left open, writes too.
    enum class Ending { SaveAndClose, HostExit, SaveShowingHistory };

    // A user session (sessions/NAME.tcl, after the prelude) recorded with a journal in one kxhost and
    // replayed in a fresh one: both leave the same files (and show the same undo steps, by name).
    // A session that leaves the design as it was opened has nothing to save: its save answers 0, saying so.
    enum class Leaves { Edits, NothingToSave };

    void ExpectSessionReplays(const std::string& name, Ending ending = Ending::SaveAndClose,
                              Leaves leaves = Leaves::Edits) {
        const std::string save = leaves == Leaves::Edits
                                     ? "\ncheck \"save\" [saveDesign] 1\n"
                                     : "\ncheck \"save\" [saveDesign] 0\n"
                                       "check \"nothing to save\" [lindex [kx::messages] end] KXTABLE-530\n";
        static const std::string history =
            "\nset f [open history.txt w]; puts -nonewline $f [kx::history]; close $f\n";
        const fs::path script = m_dir / "session.tcl";
        std::ofstream(script, std::ios::binary)
            << ReadText(kReplayDir / "prelude.tcl") << "\nset ::action " << name << "\n"
            << ReadText(kReplayDir / "sessions" / name)
            << (ending == Ending::SaveShowingHistory ? history : "")
            << (ending != Ending::HostExit ? save : "\n")
            << (ending == Ending::SaveAndClose ? "kx::close\n" : "");
        const fs::path journal = m_dir / "journal.vbs";
        // The session's project, when it has one: the replay runs without it.
        std::string project;
        if (!m_project.empty()) {
            std::ofstream(m_dir / "project.txt", std::ios::binary) << m_project;
            project = "--project '" + (m_dir / "project.txt").string() + "' ";
        }
        ASSERT_EQ(RunHost(m_dir / "record",
                          "--lib designs " + project + "--journal '" + journal.string() + "' --quiet '" +
                              script.string() + "'",
                          m_dir / "record.log"),
                  0)
            << ReadText(m_dir / "record.log");
        const fs::path after = m_dir / "after.tcl";
        std::ofstream(after) << (ending == Ending::SaveShowingHistory ? history : "");
        const fs::path replayed = m_dir / "replayed.vbs";
        std::ofstream(replayed, std::ios::binary) << WithoutClosing(ReadText(journal), ending);
        ASSERT_EQ(RunHost(m_dir / "replay",
                          "--lib designs --replay '" + replayed.string() + "' --quiet '" + after.string() + "'",
                          m_dir / "replay.log"),
                  0)
            << ReadText(m_dir / "replay.log");
        SCOPED_TRACE(ReadText(journal));
        ExpectTheSameFiles();
    }

    // The journal, without the lines that close the windows when the replay is to show their history.
    static std::string WithoutClosing(const std::string& journal, Ending ending) {
        if (ending != Ending::SaveShowingHistory) return journal;
        std::string kept;
        for (const std::string& line : Lines(journal))
            if (line.find(".Close(") == std::string::npos) kept += line + "\n";
        return kept;
    }

    fs::path m_dir;
    std::string m_project; // the project file's text of the next session's recording; none when empty
};

TEST_F(JournalReplay, RecordedActionsReplayToTheSameSavedDesigns) {
    const fs::path journal = m_dir / "journal.vbs";
    const int recorded = RunHost(m_dir / "record", "--lib designs --journal '" + journal.string() + "' --quiet '" +
                                                       RecordingScript().string() + "'",
                                 m_dir / "record.log");
    ASSERT_EQ(recorded, 0) << ReadText(m_dir / "record.log");
    const std::string text = ReadText(journal);
    ASSERT_FALSE(text.empty());

    // Every line has a listed form, and every listed form was written.
    const std::set<std::string> listed = ListedForms();
    std::set<std::string> seen;
    int number = 0;
    for (const std::string& line : Lines(text)) {
        ++number;
        const std::string form = FormOf(line);
        if (form.empty()) continue;
        EXPECT_TRUE(listed.count(form)) << "journal line " << number << " has a form nobody replays: " << line
                                        << "\n(list it in line_forms.txt and write it from an action)";
        seen.insert(form);
    }
    const std::set<std::string> fragments = FragmentForms();
    for (const std::string& form : listed)
        EXPECT_TRUE(seen.count(form) || fragments.count(form))
            << "no action writes the form " << form << ", and no fragment stands for it";

    const fs::path empty = m_dir / "empty.tcl";
    std::ofstream(empty) << "";
    const int replayed = RunHost(m_dir / "replay",
                                 "--lib designs --replay '" + journal.string() + "' --quiet '" + empty.string() + "'",
                                 m_dir / "replay.log");
    ASSERT_EQ(replayed, 0) << ReadText(m_dir / "replay.log");

    ExpectTheSameFiles();
}

// User sessions that once replayed to another design.
TEST_F(JournalReplay, ABusBitDeletedInASignalGridReplaysAsThatBit) {
    ExpectSessionReplays("bus_bit_delete.tcl");
}

TEST_F(JournalReplay, RowsDeletedTogetherAfterAPullUpDeleteReplayAsConnectionDeletes) {
    ExpectSessionReplays("rows_deleted_after_pupd_delete.tcl");
}

TEST_F(JournalReplay, ACommonPullUpOverSeveralNetsReplaysWithItsOneDesignator) {
    ExpectSessionReplays("common_pullup_two_nets.tcl");
}

TEST_F(JournalReplay, ARenameOfTwoRowsNamesItsPullUpsAsTheReplayOfItsRows) {
    ExpectSessionReplays("rename_rows_pullup_names.tcl");
}

TEST_F(JournalReplay, TheRowsOfASignalDeletedWithABlocksPinReplayWithoutThatPin) {
    ExpectSessionReplays("block_pin_row_delete.tcl");
}

TEST_F(JournalReplay, ClearedSignalGridPinCellsReplayAsDisconnects) {
    ExpectSessionReplays("cleared_pin_cells.tcl");
}

TEST_F(JournalReplay, APinTypedIntoARowOfAnotherWidthIsRefusedAndLeavesNoLine) {
    ExpectSessionReplays("other_width_pin_row.tcl", Ending::SaveAndClose, Leaves::NothingToSave);
}

TEST_F(JournalReplay, UndoneSortsLeaveTheEditsBeforeThemInTheReplay) {
    ExpectSessionReplays("sort_undo.tcl");
}

// The project's pair-leg option is the journal's to say: a replay in a host without the project connects the
// legs the session's project brought along, in the step of the edit.
TEST_F(JournalReplay, PairLegsTheProjectConnectedReplayInAHostWithoutTheProject) {
    m_project = "[GRIDWORKSHOP]\nauto_connect_dpleg on\n";
    ExpectSessionReplays("project_pair_legs.tcl", Ending::SaveShowingHistory);
}

TEST_F(JournalReplay, ThePairConnectionGoesWithTheLastLegDeletedInASignalGrid) {
    ExpectSessionReplays("pair_legs_deleted.tcl", Ending::SaveShowingHistory);
}

TEST_F(JournalReplay, RowsMovedByTheirBitCellsReplay) {
    ExpectSessionReplays("bit_cell_moves.tcl", Ending::SaveShowingHistory);
}

TEST_F(JournalReplay, RoadsThatChangeNothingLeaveNoStepForAReplayedUndo) {
    ExpectSessionReplays("empty_steps.tcl", Ending::SaveAndClose, Leaves::NothingToSave);
}

TEST_F(JournalReplay, FiltersSortsAndClearedEmptyCellsLeaveNoStepForAReplayedUndo) {
    ExpectSessionReplays("view_steps.tcl");
}

TEST_F(JournalReplay, AViewOptionSetAfterAMatrixViewReplaysInThePinGrid) {
    ExpectSessionReplays("view_options_after_matrix.tcl");
}

TEST_F(JournalReplay, ASwapOfSignalsReplaysWithThePullUpsLeftOnTheirNets) {
    ExpectSessionReplays("swap_pullups.tcl");
}

TEST_F(JournalReplay, ASwapWithAFreePinReplaysWithTheTerminationLeftOnThePinItFreed) {
    ExpectSessionReplays("swap_free_pin_termination.tcl");
}

TEST_F(JournalReplay, AFilterInOneSignalsGridReplaysInThatGridNotInTheOneEditedBefore) {
    ExpectSessionReplays("filter_other_signal.tcl");
}

TEST_F(JournalReplay, ThePullupEditDialogsChangesReplay) {
    ExpectSessionReplays("pupd_edit_dialog.tcl");
}

TEST_F(JournalReplay, PinCommentsMovedByAHostRenameReplay) {
    ExpectSessionReplays("pin_comment_move.tcl");
}

TEST_F(JournalReplay, WindowsOpenedClosedAndSwitchedOnOneDesignReplayInTheSameWindows) {
    ExpectSessionReplays("two_windows.tcl");
}

TEST_F(JournalReplay, NewPartsInTwoWindowsReplayWithTheDesignatorsTheSessionGave) {
    ExpectSessionReplays("held_designators.tcl");
}

TEST_F(JournalReplay, AModelOfTheNetGridReplaysOnThePartItWasWrittenOn) {
    ExpectSessionReplays("net_grid_models.tcl");
}

TEST_F(JournalReplay, TerminationsPastedInASignalGridReplayAsTheyWereCopied) {
    ExpectSessionReplays("pasted_terminations.tcl");
}

TEST_F(JournalReplay, TerminationsPastedInAPinGridReplayWithTheCopiedPartAndValue) {
    ExpectSessionReplays("pasted_pin_terminations.tcl");
}

TEST_F(JournalReplay, APullUpWithoutDcNetPastedInThePinGridReplays) {
    ExpectSessionReplays("pasted_pullups.tcl");
}

TEST_F(JournalReplay, APullUpOnOpenPinsUndoneApartFromTheirConnectionsReplays) {
    ExpectSessionReplays("open_pin_pullup_undo.tcl");
}

TEST_F(JournalReplay, AViewOptionOfAComponentShownAgainReplaysInItsGrid) {
    ExpectSessionReplays("view_option_reshown.tcl");
}

TEST_F(JournalReplay, PinsConnectedInTheInstanceDialogReplayWithTheComponentsViewOptions) {
    ExpectSessionReplays("inst_conn_pair_legs.tcl");
}

TEST_F(JournalReplay, AFilterInAGridOfSeveralSignalsReplaysInThatGroupsGrid) {
    ExpectSessionReplays("filter_signal_group.tcl");
}

TEST_F(JournalReplay, AModelTypedInTheNetGridAfterAPinNumberGivenInAnotherWindowReplays) {
    ExpectSessionReplays("net_grid_moved_pins.tcl");
}

// Sessions that leave windows open for the host's exit to close: each close is journalled as what it did
// with the window's edits, so that the replay saves, drops and keeps what the session did.
TEST_F(JournalReplay, APhysicalEditSavedFromALogicalWindowStaysAfterTheExit) {
    ExpectSessionReplays("exit_physical_edit_saved.tcl", Ending::HostExit);
}

TEST_F(JournalReplay, ALogicalEditSavedFromThePhysicalWindowStaysAfterTheExit) {
    ExpectSessionReplays("exit_logical_edit_saved.tcl", Ending::HostExit);
}

TEST_F(JournalReplay, EditsInBothViewsSavedFromTheLogicalWindowStayAfterTheExit) {
    ExpectSessionReplays("exit_both_views_saved.tcl", Ending::HostExit);
}

// A save that a view switch makes replays as a save, in the editable block's mode too, with its matrix
// views.
TEST_F(JournalReplay, SavesMadeByViewSwitchesReplay) {
    ExpectSessionReplays("view_switch_saves.tcl", Ending::HostExit);
}

// A switch's save that found nothing to write left the window unmodified: the replayed window closes
// without a save as the session's did.
TEST_F(JournalReplay, AViewSwitchSaveThatFoundNothingLeavesTheReplayedWindowUnmodified) {
    ExpectSessionReplays("view_switch_nothing_saved.tcl", Ending::HostExit);
}

// Save and Reopen of a design in its vlog_structural view replays its save, and the replay opens the windows
// the session opened.
TEST_F(JournalReplay, SaveAndReopenReplaysItsSave) {
    // The example library has no design in that view: both runs get the same copy of the power block there.
    for (const char* run : {"record", "replay"}) {
        const fs::path designs = m_dir / run / "designs";
        std::string text = ReadText(designs / "PWR.sch.design");
        const std::string header = "design demo PWR sch ";
        const size_t at = text.find(header);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, header.size(), "design demo PWR vlog_structural ");
        std::ofstream(designs / "PWR.vlog_structural.design", std::ios::binary) << text;
    }
    ExpectSessionReplays("save_and_reopen.tcl", Ending::HostExit);
}

// An ascend is one journal line: the replay opens the parent once, and the windows opened after it have
// the session's numbers.
TEST_F(JournalReplay, AnAscendOpensTheParentOnceInTheReplay) {
    ExpectSessionReplays("ascend_then_open.tcl");
}

// A window of open mode 0 takes connections only typed into the Signal cells: its journal replays the typing.
TEST_F(JournalReplay, ConnectionsTypedInAWindowOfModeZeroReplay) {
    ExpectSessionReplays("typed_in_mode_zero.tcl");
}

// A rename over two side-by-side grids replays as the one step it was.
TEST_F(JournalReplay, ARenameOverTwoGridsReplaysAsOneStep) {
    ExpectSessionReplays("rename_two_grids.tcl", Ending::SaveShowingHistory, Leaves::NothingToSave);
}

// Connections and deletes over two side-by-side grids, by every road, replay as the one step each was,
// named as in the session; each undo and redo of them replays once.
TEST_F(JournalReplay, ConnectionsOverTwoGridsReplayAsOneStepEach) {
    ExpectSessionReplays("two_grid_connects.tcl", Ending::SaveShowingHistory);
}

TEST_F(JournalReplay, DeletesOverTwoGridsReplayAsOneStepEach) {
    ExpectSessionReplays("two_grid_deletes.tcl", Ending::SaveShowingHistory);
}

// Comments moved without an undo step leave nothing to redo: a redo would bring back what the move
// replaced.
TEST_F(JournalReplay, CommentsMovedWithoutAStepLeaveNothingToRedo) {
    ExpectSessionReplays("stepless_comment_moves.tcl", Ending::SaveShowingHistory);
}

// A comment over two pins, a power pin's comment undone and redone, the instance connectivity dialog's
// two rules: one step each, of the session's name.
TEST_F(JournalReplay, CommentsAndDialogStepsReplayAsOneStepOfTheirName) {
    ExpectSessionReplays("two_pin_comments.tcl", Ending::SaveShowingHistory);
}

// The bits chosen in a connect's bits dialog replay as chosen, without the dialog asking again.
TEST_F(JournalReplay, BitsChosenInTheBitsDialogReplay) {
    ExpectSessionReplays("vector_bits_dialog.tcl");
}

// Power group edits replay in a host that was not told to show power pins: the journal shows them.
TEST_F(JournalReplay, PowerGroupEditsReplayWithThePowerPinsTheSessionShowed) {
    ExpectSessionReplays("power_group_edits.tcl");
}

// Changes another tool committed and sent, and properties the host set, replay as the same changes with
// the same undo steps; the undo lists another tool cleared are empty in the replay too; hostile texts in
// them replay exactly.
TEST_F(JournalReplay, AnotherToolsChangesReplayAsTheSameStepsAndFiles) {
    ExpectSessionReplays("other_tool_changes.tcl", Ending::SaveShowingHistory);
}

TEST_F(JournalReplay, UndoListsAnotherToolClearedAreEmptyInTheReplay) {
    ExpectSessionReplays("other_tool_clear_undo.tcl", Ending::SaveShowingHistory);
}

TEST_F(JournalReplay, HostileTextsOfAnotherToolReplayExactly) {
    ExpectSessionReplays("other_tool_texts.tcl", Ending::SaveShowingHistory);
}

// Forms that only typing writes: their fragments replay line by line in a fresh host.
TEST_F(JournalReplay, ADeleteOnAPairRowAfterACommaTextReplaysAsThePairConnectionAlone) {
    ExpectSessionReplays("pair_row_delete_after_comma_text.tcl");
}

TEST_F(JournalReplay, AMatrixPasteLineTheUserRefusedReplaysWithItsRowAsItWas) {
    ExpectSessionReplays("matrix_paste_refused_line.tcl");
}

TEST_F(JournalReplay, AMatrixRowPastedAcrossTwoGroupsReplaysOnEveryRoad) {
    ExpectSessionReplays("matrix_paste_two_groups.tcl");
}

TEST_F(JournalReplay, ValuesTypedIntoUserColumnsReplayWithoutTheUsersSettings) {
    ExpectSessionReplays("user_column_values.tcl");
}

TEST_F(JournalReplay, FragmentsOfTypedFormsReplay) {
    const std::set<std::string> listed = ListedForms();
    for (const std::string& form : FragmentForms()) {
        SCOPED_TRACE(form);
        EXPECT_TRUE(listed.count(form)) << "a fragment for a form that is not listed";
        const fs::path fragment = kReplayDir / "fragments" / (form + ".vbs");
        bool written = false;
        for (const std::string& line : Lines(ReadText(fragment))) written = written || FormOf(line) == form;
        EXPECT_TRUE(written) << "the fragment does not write its form";
        const fs::path empty = m_dir / "empty.tcl";
        std::ofstream(empty) << "";
        const fs::path log = m_dir / (form + ".log");
        // The user settings a fragment needs (a column the user added) come with it.
        const fs::path settings = kReplayDir / "fragments" / (form + ".registry");
        const fs::path registry = m_dir / "replay" / "registry";
        if (fs::exists(settings))
            fs::copy(settings, registry, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
        EXPECT_EQ(RunHost(m_dir / "replay", "--lib designs --replay '" + fragment.string() + "' '" + empty.string() + "'",
                          log),
                  0)
            << ReadText(log);
        fs::remove_all(registry);
        fs::create_directories(registry);
    }
}

// The method names the code writes into journal lines: the ".Name(" pieces of string literals on
// lines that build a call line, and the methods handed to the list panes' journal writer.
TEST(JournalLineForms, EveryMethodTheCodeJournalsIsAListedForm) {
    // Every name of a listed chain: the accessors (Clp, ConnectivityPane) and the methods.
    std::set<std::string> methods;
    for (const std::string& form : ListedForms()) {
        std::stringstream chain(form.rfind("set ", 0) == 0 ? form.substr(4) : form);
        for (std::string name; std::getline(chain, name, '.');) methods.insert(name);
    }
    const std::regex literal("\"([^\"\\\\]|\\\\.)*\"");
    const std::regex call("\\.([A-Z][A-Za-z0-9_]*)\\(");
    const std::regex journalEdit("JournalEdit\\(\"[^\"]*\",\\s*\"([A-Za-z0-9_]+)\"");
    const std::regex methodWord("method\\s*=\\s*\"([A-Z][A-Za-z0-9_]*)\"");
    std::vector<std::string> missing;
    const fs::path root = SourceRoot();
    for (const char* folder : {"kxtableeditor", "platform/kx", "host/src"}) {
        if (!fs::exists(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const fs::path& p = entry.path();
            if (!entry.is_regular_file() || p.extension() != ".cpp") continue;
            if (p.string().find("/tests/") != std::string::npos) continue;
            const std::vector<std::string> lines = Lines(ReadText(p));
            for (size_t i = 0; i < lines.size(); ++i) {
                const std::string& line = lines[i];
                if (Trim(line).rfind("//", 0) == 0) continue; // a comment
                std::smatch m;
                auto note = [&](const std::string& name) {
                    if (!methods.count(name))
                        missing.push_back(name + " (" + fs::relative(p, root).string() + ":" +
                                          std::to_string(i + 1) + ")");
                };
                if (std::regex_search(line, m, journalEdit)) note(m[1]);
                if (std::regex_search(line, m, methodWord)) note(m[1]);
                // A line that writes a call: its literals, and those of the line after it.
                const bool writesCall = line.find("call ") != std::string::npos &&
                                        line.find("\"") != std::string::npos;
                const bool continues = i > 0 && lines[i - 1].find("\"\\ncall ") != std::string::npos;
                if (!writesCall && !continues) continue;
                for (auto it = std::sregex_iterator(line.begin(), line.end(), literal); it != std::sregex_iterator();
                     ++it) {
                    const std::string text = it->str();
                    for (auto c = std::sregex_iterator(text.begin(), text.end(), call); c != std::sregex_iterator();
                         ++c)
                        note((*c)[1]);
                }
            }
        }
    }
    EXPECT_TRUE(missing.empty()) << "journalled methods without a listed form:\n"
                                 << [&] {
                                        std::string s;
                                        for (const auto& m : missing) s += "  " + m + "\n";
                                        return s;
                                    }();
}

TEST(JournalLineForms, FormsAreReadFromTheCallChain) {
    EXPECT_EQ(FormOf("call board.ConnectivityPane().SelectSignalCol(\"MCLK\",\"B14\")"),
              "ConnectivityPane.SelectSignalCol");
    EXPECT_EQ(FormOf("call board_phys.Save()"), "Save");
    EXPECT_EQ(FormOf("call RMX.OpenDesign(\"demo.board:sch\", \"1\")"), "RMX.OpenDesign");
    EXPECT_EQ(FormOf("set board = RMX.GetActiveTab()"), "set RMX.GetActiveTab");
    EXPECT_EQ(FormOf("call board.InsertComment(\"a (b) \"\"c\"\"\" & vbLf & \"d\")"), "InsertComment");
    EXPECT_EQ(FormOf(" ' --- Save ---"), "");
    EXPECT_EQ(FormOf("Dim x"), "?Dim x");
}

} // namespace
