// The causes a refusal can name that the entry sweep tells from a row's situation alone, and the
// message ids that name each, read from the system's one table of them (grid/KXRefusalCauses.h). A
// row whose situation has one of these causes must give an id of it; an id of a cause the row's
// situation does not have names the wrong cause.
#pragma once

#include "grid/KXRefusalCauses.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kxsweep {

// The causes, as the system names them (grid/KXRefusalCauses.h).
using Cause = KXCause::Kind;

inline const char* CauseName(Cause c) {
    switch (c) {
    case Cause::Usage: return "the word's usage";
    case Cause::ReadOnly: return "read-only window";
    case Cause::PhysicalView: return "physical view";
    case Cause::NoGrid: return "no grid";
    case Cause::NothingSelected: return "nothing selected";
    case Cause::WrongGridKind: return "a grid kind that does not take the action";
    case Cause::UnknownKey: return "a key that names no pin";
    case Cause::NothingCopied: return "nothing copied";
    case Cause::NoConnection: return "no connection of their own";
    case Cause::OtherPins: return "together with other pins";
    }
    return "?";
}

// The ids of the system's message file whose text is a usage ("Usage: ..."): each names that cause.
inline const std::set<std::string>& UsageIds() {
    static const std::set<std::string> ids = [] {
        std::set<std::string> out;
        const char* src = std::getenv("KX_TEST_SOURCE_DIR");
        std::ifstream in(std::string(src ? src : ".") + "/kxtableeditor/rmx/tblerrors.txt");
        for (std::string line; std::getline(in, line);)
            if (const size_t colon = line.find(": Usage:"); colon != std::string::npos && line.rfind("KX", 0) == 0)
                out.insert(line.substr(0, colon));
        return out;
    }();
    return ids;
}

// Each id that names one of the causes, besides the usages: the system's own table.
inline const std::map<std::string, Cause>& CauseOfMessage() {
    static const std::map<std::string, Cause> ids = [] {
        std::map<std::string, Cause> out;
        for (const KXCause::Naming& n : KXCause::kNamings)
            out.emplace(n.id, n.cause);
        return out;
    }();
    return ids;
}

// The cause an id names, if it names one of the causes.
inline std::optional<Cause> CauseOf(const std::string& id) {
    if (UsageIds().count(id)) return Cause::Usage;
    const auto it = CauseOfMessage().find(id);
    return it == CauseOfMessage().end() ? std::nullopt : std::optional<Cause>(it->second);
}

// What the sweep knows of a row's situation.
struct Situation {
    bool usage = false;          // the line is no command
    bool readOnlyWindow = false; // the window may not edit
    bool readOnlyEdit = false;  // an edit in a window that may not edit
    bool physicalView = false;  // the window shows the physical view
    bool noGrid = false;        // the pane shows nothing
    bool rowsChosen = false;    // the set-up selected pin rows the action can take (not a header, not hidden)
    bool keyNamesNoPin = false; // the road names a key no shown pin has
    bool keyNamesPins = false;  // the road names only keys of shown pins
    bool cellCopied = false;    // a cell the active grid takes was copied
    bool noCellChosen = false;  // no cell of the active grid is current or selected
    bool pinsConnected = false; // the pins chosen are connected
    bool onePin = false;        // one pin is chosen
};

// The cause a refusal must name, where the situation decides it: the first that holds.
inline std::optional<Cause> ExpectedCause(const Situation& s) {
    if (s.usage) return Cause::Usage;
    if (s.readOnlyEdit) return Cause::ReadOnly;
    if (s.noGrid && (s.keyNamesNoPin || s.keyNamesPins)) return Cause::NoGrid;
    if (s.keyNamesNoPin) return Cause::UnknownKey;
    if (s.noCellChosen) return Cause::NothingSelected;
    return std::nullopt;
}

// Whether the situation rules a cause out: a message naming it names the wrong cause.
inline bool RulesOut(const Situation& s, Cause c) {
    switch (c) {
    case Cause::Usage: return false;
    case Cause::ReadOnly: return !s.readOnlyWindow;
    case Cause::PhysicalView: return !s.physicalView;
    case Cause::NoGrid: return !s.noGrid && s.rowsChosen;
    case Cause::NothingSelected: return s.rowsChosen || s.keyNamesPins;
    case Cause::UnknownKey: return s.keyNamesPins;
    case Cause::NothingCopied: return s.cellCopied;
    case Cause::WrongGridKind: return false;
    case Cause::NoConnection: return s.pinsConnected;
    case Cause::OtherPins: return s.onePin;
    }
    return false;
}

// The faults of a refusal's messages against the situation.
inline std::vector<std::string> CauseFaults(const Situation& s, const std::vector<std::string>& messages) {
    std::vector<std::string> faults;
    if (messages.size() != 1) return faults; // the count is the sweep's other rule
    const std::string& id = messages.front();
    // A cell that takes no typing was never edited: no cause of an edit's refusal applies.
    if (id == "takes no typing") return faults;
    const std::optional<Cause> named = CauseOf(id);
    const std::optional<Cause> expected = ExpectedCause(s);
    if (expected && named != expected)
        faults.push_back("refused with " + id + ", not the id of its cause (" + CauseName(*expected) + ")");
    else if (named && RulesOut(s, *named))
        faults.push_back("refused with " + id + " (" + CauseName(*named) + "), a cause the row does not have");
    return faults;
}

} // namespace kxsweep
