// A block's interface for co-design: written to a file from the component list and read back into the
// design. The file is text, one statement a line, words separated by blanks:
//   design LIB.CELL:VIEW          the design the interface was written from
//   instance NAME                 the instance whose pins follow
//   pin PIN[<BIT>] DIRECTION NET[<BIT>]|-
//   port NAME DIRECTION MSB LSB   a port of the design itself (an interface without an instance)
// Lines starting with "#" and empty lines are ignored.
#include "kxinstsigpane/KXListPanes.h"

#include "KXListPaneChange.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "afx/afxanswer.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"

namespace {

const char* DirectionWord(int direction, int localAsInout) {
    switch (direction) {
    case ITerm::eDirInput: return "in";
    case ITerm::eDirOutput: return "out";
    case ITerm::eDirInout: return "inout";
    default: return localAsInout ? "inout" : "local";
    }
}

CString BitName(const char* name, int bit) {
    return bit < 0 ? CString(name) : CSchemaUtilities::vectorName(name, bit);
}

// "DQ<3>" -> DQ, 3; "EN" -> EN, -1. FALSE for a malformed bit.
bool SplitBit(const std::string& text, std::string& name, int& bit) {
    const size_t open = text.find('<');
    if (open == std::string::npos) {
        name = text;
        bit = -1;
        return !name.empty();
    }
    if (text.back() != '>' || open == 0 || open + 2 > text.size() - 1) return false;
    name = text.substr(0, open);
    const std::string digits = text.substr(open + 1, text.size() - open - 2);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    bit = std::stoi(digits);
    return true;
}

// The instance at a hierarchical path ("@B1@U3") below the design; empty when none.
CInstanceContext InstanceAtPath(const CDesignContext& design, const CString& path) {
    CDesignContext level = design;
    CInstanceContext found;
    for (int start = path.Find('@'); start >= 0 && level;) {
        const int next = path.Find('@', start + 1);
        const CString name = path.Mid(start + 1, next < 0 ? path.GetLength() - start - 1 : next - start - 1);
        found = level.instance(name.GetString());
        if (!found) return CInstanceContext();
        start = next;
        if (start >= 0) level = found.containedDesign();
    }
    return found;
}

struct PinLine {
    std::string pin, net; // net "-": no net
    int lineNumber = 0;
};

struct InterfaceFile {
    std::string instance;
    std::vector<PinLine> pins;
};

// Reads the file; an empty text on success, else what is wrong.
CString ReadInterface(const CString& file, InterfaceFile& out) {
    std::ifstream in(file.GetString(), std::ios::binary);
    if (!in) return "it cannot be opened";
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#') continue;
        std::vector<std::string> rest;
        for (std::string w; words >> w;) rest.push_back(w);
        CString where;
        where.Format("line %d", number);
        if (word == "instance" && rest.size() == 1) {
            out.instance = rest[0];
        } else if (word == "pin" && rest.size() == 3) {
            out.pins.push_back({rest[0], rest[2], number});
        } else if ((word == "design" && rest.size() == 1) || (word == "port" && rest.size() == 4)) {
            continue;
        } else {
            return where + " is not an interface statement";
        }
    }
    return CString();
}

// One pin bit to join to (or part from) a net bit.
struct PinChange {
    IInstTerm* pin = nullptr;
    int pinBit = -1;
    std::string netName; // empty: part the pin bit from its net
    int netBit = -1;
};

// Checks the file's pins against the instance; the changes it asks for, or what does not fit.
CString PlanImport(const CInstanceContext& inst, const InterfaceFile& file, std::vector<PinChange>& changes) {
    IDesign* design = inst.instance()->design();
    std::map<std::pair<IInstTerm*, int>, int> given; // a pin bit and the line that gave it a net
    for (const PinLine& line : file.pins) {
        CString where;
        where.Format("line %d: ", line.lineNumber);
        PinChange change;
        std::string pinName;
        if (!SplitBit(line.pin, pinName, change.pinBit)) return where + "bad pin " + line.pin.c_str();
        change.pin = inst.instance()->findInstTerm(pinName.c_str());
        if (!change.pin || !change.pin->hasBit(change.pinBit)) return where + "no pin " + line.pin.c_str();
        // A pin bit is on one net bit: a file that gives it two says two things.
        const auto [earlier, first] =
            given.emplace(std::make_pair(change.pin, change.pinBit), line.lineNumber);
        if (!first) {
            CString twice;
            twice.Format("pin %s is given on line %d already", line.pin.c_str(), earlier->second);
            return where + twice;
        }
        if (line.net != "-") {
            if (!SplitBit(line.net, change.netName, change.netBit)) return where + "bad net " + line.net.c_str();
            INet* net = design->findNet(change.netName.c_str());
            if (net ? !net->hasBit(change.netBit) : change.netBit >= 0)
                return where + "no net bit " + line.net.c_str();
            // A net the import makes needs a name the design takes.
            if (!net && !CSchemaUtilities::isValidName(change.netName.c_str()))
                return where + "bad net " + line.net.c_str();
        }
        const CNetBit now = change.pin->netBit(change.pinBit);
        const bool same = change.netName.empty()
                              ? !now
                              : now && change.netName == now.net()->name() && change.netBit == now.bit();
        if (!same) changes.push_back(change);
    }
    return CString();
}

bool ApplyChange(CTransaction& t, IDesign* design, const PinChange& c) {
    const unsigned pinBit = static_cast<unsigned>(c.pinBit);
    if (c.netName.empty()) {
        const CNetBit now = c.pin->netBit(c.pinBit);
        const unsigned netBit = static_cast<unsigned>(now.bit());
        return t.removeConn(now.net(), netBit, netBit, c.pin, pinBit, pinBit);
    }
    INet* net = design->findNet(c.netName.c_str());
    if (!net) net = t.createNet(c.netName.c_str(), static_cast<unsigned>(-1), static_cast<unsigned>(-1));
    const unsigned netBit = static_cast<unsigned>(c.netBit);
    return net && t.addConn(net, netBit, netBit, c.pin, pinBit, pinBit);
}

} // namespace

// ------------------------------------------------------------------------------------------------ export

BOOL CKXInstancePaneContainerView::ExportInterfaceFile(const CString& path, const CString& file,
                                                       int exportLocalAsInout) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return FALSE;
    std::ostringstream text;
    text << "# interface\ndesign " << design->design()->name() << "\n";
    if (path.IsEmpty()) {
        for (ITerm* port : design->design()->beginPort())
            text << "port " << port->name() << " " << DirectionWord(port->direction(), exportLocalAsInout) << " "
                 << port->msb() << " " << port->lsb() << "\n";
    } else {
        const CInstanceContext inst = InstanceAtPath(*design, path);
        if (!inst) return Refuse("KXPANE-189", path);
        text << "instance " << inst.name().GetString() << "\n";
        for (IInstTerm* pin : inst.instance()->beginInstTerm())
            for (int bit : pin->bits()) {
                const CNetBit net = pin->netBit(bit);
                text << "pin " << BitName(pin->name(), bit).GetString() << " "
                     << DirectionWord(pin->direction(), exportLocalAsInout) << " "
                     << (net ? BitName(net.net()->name(), net.bit()).GetString() : "-") << "\n";
            }
    }
    std::ofstream out(file.GetString(), std::ios::binary | std::ios::trunc);
    out << text.str();
    out.close();
    if (!out) {
        CKXErrorHandler::MessageBoxOk("KXPANE-274", file);
        return FALSE;
    }
    return TRUE;
}

// ------------------------------------------------------------------------------------------------ import

BOOL CKXInstancePaneContainerView::ImportInterfaceFile(const CString& file, const CString& instance) {
    if (!CanImportInterface()) return Refuse("KXPANE-178", file);
    InterfaceFile parsed;
    const CString problem = ReadInterface(file, parsed);
    if (!problem.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-273", file, problem);
        return FALSE;
    }
    const CString name = instance.IsEmpty() ? CString(parsed.instance.c_str()) : instance;
    if (name.IsEmpty()) return Refuse("KXPANE-275", file);
    const CDesignContext* design = GetPaneDesignContext();
    const CInstanceContext inst = design ? design->instance(name.GetString()) : CInstanceContext();
    if (!inst) return Refuse("KXPANE-189", name);
    std::vector<PinChange> changes;
    const CString misfit = PlanImport(inst, parsed, changes);
    if (!misfit.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-276", name, misfit);
        return FALSE;
    }
    if (changes.empty()) { // the design already has this interface
        CKXErrorHandler::MessageBoxOk("KXPANE-495", name, file);
        return FALSE;
    }
    IDesign* d = design->design();
    const BOOL done = ChangeDesign("Import Interface", [&](CTransaction& t) {
        for (const PinChange& c : changes)
            if (!ApplyChange(t, d, c)) return false;
        return true;
    });
    if (!done) return FALSE;
    JournalEdit("Import Interface", "ImportInterface", {file, instance});
    return TRUE;
}

// ------------------------------------------------------------------------------------------------ interactive

namespace {
// The interface dialog, headless: the answer queue gives its fields "inst", "file" and (export only)
// "local" ("1": ports of no direction are written as inout).
struct CKXInterfaceDlg {
    CString inst, file;
    bool local = false;
    bool DoModal() {
        AfxDialogAnswer answer;
        if (!AfxGetAnswerQueue().TakeDialog("CKXInterfaceDlg", answer)) return false;
        inst = answer.fields["inst"];
        file = answer.fields["file"];
        local = answer.fields["local"] == "1";
        return true;
    }
};
} // namespace

LRESULT CKXInstancePaneContainerView::AskInterface(bool isExport) {
    CKXInterfaceDlg dlg;
    if (!dlg.DoModal()) return -1;
    CTclArgsList command;
    command.add(isExport ? "exportInterface" : "importInterface");
    if (!dlg.inst.IsEmpty()) {
        command.add("-inst");
        command.add(dlg.inst);
    }
    if (!dlg.file.IsEmpty()) {
        command.add("-file");
        command.add(dlg.file);
    }
    if (isExport && dlg.local) command.add("-export_local_as_inout");
    const CString line = command.ToTclCommandLine();
    CWnd* main = AfxGetMainWnd();
    return main ? main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(line.GetString()), 0) : 0;
}

LRESULT CKXInstancePaneContainerView::ExportInterface() {
    Record("ExportInterface");
    return AskInterface(true);
}

LRESULT CKXInstancePaneContainerView::ImportInterface() {
    Record("ImportInterface");
    return AskInterface(false);
}

BOOL CKXInstancePaneGrid::ExportCodesignInterface(bool scripted, CString path, CString file, int exportLocalAsInout) {
    CString s = scripted ? "1" : "0", e;
    e.Format("%d", exportLocalAsInout);
    Record("ExportCodesignInterface", {s, path, file, e});
    auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView);
    if (!pane) return FALSE;
    // The dialog cancelled or its command done: TRUE; the command refused (it said why): FALSE.
    if (!scripted) return pane->ExportInterface() != 0;
    if (file.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-229");
        return FALSE;
    }
    return pane->ExportInterfaceFile(path, file, exportLocalAsInout);
}

BOOL CKXInstancePaneGrid::ImportCodesignInterface(bool scripted, CString file, CString instance) {
    Record("ImportCodesignInterface", {scripted ? CString("1") : CString("0"), file, instance});
    auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView);
    if (!pane) return FALSE;
    if (!scripted) return pane->ImportInterface() != 0;
    if (file.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-230");
        return FALSE;
    }
    return pane->ImportInterfaceFile(file, instance);
}
