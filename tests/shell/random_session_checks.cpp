// What a random user session checks beside undo and redo: an action's netlist change against what
// it names, the reference designators of the end state, and the session's journal replayed by a
// fresh kxhost process on the library as shipped, which must leave every file the session left.
#include "KXRandomEdits.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace kxrandom {

namespace {

std::set<std::string> Lines(const std::string& text) {
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.insert(line);
    return lines;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether the netlist line ("INSTANCE PIN NET") is of a pin the target names.
bool Named(const std::string& line, const std::vector<std::string>& target) {
    for (std::string name : target) {
        const size_t dot = name.find('.');
        if (dot == std::string::npos) name += ' ';
        else name[dot] = ' ';
        // A bit names itself alone; "U1.A<" every bit of A.
        if (name.back() == '>') name += ' ';
        if (line.compare(0, name.size(), name) == 0) return true;
    }
    return false;
}

} // namespace

std::string TargetOf(const std::string& line, std::vector<std::string>& names) {
    static const std::string mark = " ;# target: ";
    const size_t at = line.rfind(mark);
    names.clear();
    if (at == std::string::npos) return std::string();
    std::istringstream in(line.substr(at + mark.size()));
    for (std::string name; in >> name;)
        if (name != "-") names.push_back(name);
    return line.substr(at + mark.size());
}

std::set<std::string> CommandsOf(const std::string& line) {
    std::set<std::string> commands;
    const auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':'; };
    // The name that starts at `at` (blanks before it skipped), and where it ends.
    const auto nameAt = [&](size_t at, size_t& end) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        end = at;
        while (end < line.size() && isName(line[end])) ++end;
        return line.substr(at, end - at);
    };
    // A brace opens a script after another braced or bracketed word (an if's or for's body) or after the
    // commands that take a script first; elsewhere it quotes an argument.
    const auto opensScript = [&](size_t brace) {
        size_t before = brace;
        while (before > 0 && line[before - 1] == ' ') --before;
        if (before > 0 && (line[before - 1] == '}' || line[before - 1] == ']')) return true;
        size_t start = before;
        while (start > 0 && isName(line[start - 1])) --start;
        static const std::set<std::string> scripted = {"catch", "if", "elseif", "else", "while", "foreach", "for"};
        return scripted.count(line.substr(start, before - start)) != 0;
    };
    for (size_t at = 0; at < line.size(); ++at) {
        const char before = at > 0 ? line[at - 1] : ';';
        if (before != ';' && before != '[' && before != '\n' && (before != '{' || !opensScript(at - 1))) continue;
        size_t end = at;
        std::string name = nameAt(at, end);
        if (name.rfind("::", 0) == 0) name.erase(0, 2);
        if (name.empty()) continue;
        commands.insert(name);
        if (name == "kx::word" || name == "kx::notify") {
            const std::string operand = nameAt(end, end);
            if (!operand.empty()) commands.insert(name == "kx::word" ? operand : name + " " + operand);
        }
    }
    return commands;
}

std::string ChangesOutsideTarget(const std::string& before, const std::string& after,
                                 const std::vector<std::string>& target) {
    const std::set<std::string> was = Lines(before), now = Lines(after);
    std::string out;
    for (const auto& [from, to, sign] : {std::tuple{&was, &now, "-"}, std::tuple{&now, &was, "+"}})
        for (const std::string& line : *from)
            if (!to->count(line) && !Named(line, target)) out += std::string(" ") + sign + line + ";";
    return out;
}

std::string DuplicateReferenceDesignators(const std::string& design) {
    // "prop @INSTANCE LOCATION "U1" 0": an instance's designator (the slots of one package share it);
    // "prop @$TERM1 SLOT0.REFDES "R5" 0": the part of an associated component, which has its own.
    std::map<std::string, std::string> instances, parts;
    std::istringstream in(design);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string prop, path, name, value;
        if (!(words >> prop >> path >> name >> value) || prop != "prop" || value == "\"\"") continue;
        if (name == "LOCATION" && path.find('.') == std::string::npos) instances.emplace(value, path);
        const bool slot = name.rfind("SLOT", 0) == 0 && name.size() > 7 && name.compare(name.size() - 7, 7, ".REFDES") == 0;
        if (slot && path.rfind("@$", 0) == 0) parts.emplace(path + " " + name, value);
    }
    std::string out;
    std::map<std::string, std::string> taken;
    for (const auto& [part, value] : parts) {
        if (auto it = instances.find(value); it != instances.end()) out += " " + value + " on " + it->second + " and " + part + ";";
        if (auto [it, fresh] = taken.emplace(value, part); !fresh) out += " " + value + " on " + it->second + " and " + part + ";";
    }
    return out;
}

namespace {

// Every file below the folder, by its path relative to it.
std::map<std::string, fs::path> FilesBelow(const fs::path& root) {
    std::map<std::string, fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file()) files.emplace(fs::relative(it->path(), root).generic_string(), it->path());
    return files;
}

// The files of the replay's library that are not the session's, one line each.
std::string DifferentFiles(const fs::path& got, const fs::path& want) {
    const std::map<std::string, fs::path> mine = FilesBelow(got), theirs = FilesBelow(want);
    std::string out;
    for (const auto& [name, path] : theirs) {
        auto it = mine.find(name);
        if (it == mine.end()) out += "\n  " + name + ": the replay does not write it";
        else if (const std::string text = ReadText(it->second), wanted = ReadText(path); text != wanted)
            out += "\n  " + name + ": other content" + FirstDifference(text, wanted);
    }
    for (const auto& [name, path] : mine)
        if (!theirs.count(name)) out += "\n  " + name + ": only the replay writes it";
    return out;
}

} // namespace

namespace {

// One window of a kx::history text: its undo steps oldest first, its redo steps next first, each step as
// "undo NAME" or "redo NAME"; the first step whose journal replays as several steps (an edit is one step
// in the session and in a replay alike); and whether a step that replays as none (a view step: a sort by
// a click) stands in it: the redo steps that step cleared stay in a replay, which never made it, yet no
// journal can redo them, so the redo steps after it are not compared.
struct WindowSteps {
    std::string name;
    std::vector<std::string> steps;
    std::string several;
    bool redoCut = false;
};

std::vector<WindowSteps> HistoryWindows(const std::string& history, bool session) {
    static const std::string mark = " (replays as ";
    std::vector<WindowSteps> windows;
    std::istringstream in(history);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("window ", 0) == 0 || windows.empty()) {
            windows.push_back({line, {}, {}, false});
            continue;
        }
        WindowSteps& window = windows.back();
        int times = 1;
        if (const size_t at = line.rfind(mark); session && at != std::string::npos && line.back() == ')') {
            times = std::atoi(line.c_str() + at + mark.size());
            line.erase(at);
        }
        if (times == 0) window.redoCut = true;
        if (times > 1 && window.several.empty()) window.several = line + " (replays as " + std::to_string(times) + ")";
        if (line.rfind("redo ", 0) == 0 && window.redoCut) continue;
        if (times > 0) window.steps.push_back(line);
    }
    return windows;
}

} // namespace

std::string OtherHistory(const std::string& replayed, const std::string& session) {
    const std::vector<WindowSteps> got = HistoryWindows(replayed, false), want = HistoryWindows(session, true);
    for (size_t w = 0; w < std::max(got.size(), want.size()); ++w) {
        if (w >= got.size() || w >= want.size() || got[w].name != want[w].name)
            return " (window " + std::to_string(w + 1) + ": the replay has " + std::to_string(got.size()) +
                   " windows, the session " + std::to_string(want.size()) + ")";
        if (!want[w].several.empty())
            return " (" + want[w].name + ": the session's step \"" + want[w].several + "\" is one step of several on replay)";
        std::vector<std::string> steps = got[w].steps;
        if (want[w].redoCut)
            while (steps.size() > want[w].steps.size() && steps.back().rfind("redo ", 0) == 0) steps.pop_back();
        if (steps == want[w].steps) continue;
        const auto count = [](const std::vector<std::string>& list, const char* kind) {
            return std::to_string(std::count_if(list.begin(), list.end(), [kind](const std::string& step) {
                return step.rfind(kind, 0) == 0;
            }));
        };
        if (count(steps, "undo ") != count(want[w].steps, "undo ") || count(steps, "redo ") != count(want[w].steps, "redo "))
            return " (" + want[w].name + ": " + count(steps, "undo ") + " undo and " + count(steps, "redo ") +
                   " redo steps instead of " + count(want[w].steps, "undo ") + " and " + count(want[w].steps, "redo ") + ")";
        size_t step = 0;
        while (steps[step] == want[w].steps[step]) ++step;
        return " (" + want[w].name + ": step " + std::to_string(step + 1) + " is \"" + steps[step] + "\" instead of \"" +
               want[w].steps[step] + "\")";
    }
    return std::string();
}

bool ReplayInFreshHost(const FreshReplay& run, std::string& why) {
    std::error_code ec;
    fs::remove_all(run.dir, ec);
    fs::create_directories(run.dir / "registry");
    fs::copy(run.library, run.dir / "lib", fs::copy_options::recursive);
    if (!run.settings.empty()) fs::copy(run.settings, run.dir / "registry", fs::copy_options::recursive, ec);
    std::ofstream(run.dir / "session.vbs", std::ios::binary) << run.journal;
    std::ofstream(run.dir / "exit.vbs", std::ios::binary) << run.exitJournal;
    // After the session's actions, the history as the replay left it; then what the host's exit did.
    std::ofstream(run.dir / "history.tcl", std::ios::binary)
        << "set f [open history.txt w]; puts -nonewline $f [kx::history]; close $f\n"
        << (run.exitJournal.empty() ? "" : "kx::replay exit.vbs\n");
    const std::string command = "cd '" + run.dir.string() + "' && KX_REGISTRY_DIR='" + (run.dir / "registry").string() +
                                "' KX_CUSTOMIZE_DIR= USER=tester LOGNAME=tester SOURCE_DATE_EPOCH=" + run.epoch +
                                " ASAN_OPTIONS=detect_leaks=0 '" + run.host +
                                "' --lib lib --replay session.vbs --quiet history.tcl </dev/null >host.log 2>&1";
    const int status = std::system(command.c_str());
    const std::string log = ReadText(run.dir / "host.log");
    // KX_EDIT_KEEP=<folder>: the fresh host's folder is kept there, to replay it again by hand.
    if (const char* keep = std::getenv("KX_EDIT_KEEP")) {
        fs::remove_all(keep, ec);
        fs::copy(run.dir, keep, fs::copy_options::recursive, ec);
        fs::copy(run.session, fs::path(keep) / "session-lib", fs::copy_options::recursive, ec);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return why = "the fresh kxhost did not replay the journal (status " + std::to_string(status) + "):\n" + log,
               false;
    if (const std::string other = OtherHistory(ReadText(run.dir / "history.txt"), run.history); !other.empty())
        return why = "the journal replayed in a fresh kxhost leaves another undo history" + other +
                     ":\n" + ReadText(run.dir / "history.txt") + "\ninstead of:\n" + run.history + "\n" + log,
               false;
    if (const std::string other = DifferentFiles(run.dir / "lib", run.session); !other.empty())
        return why = "the journal replayed in a fresh kxhost leaves other files:" + other + "\n" + log, false;
    return true;
}

} // namespace kxrandom
