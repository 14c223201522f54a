// The small services that read or change the design database: physical block filter, block creation (save
// as), system object names and the property merge engine.
#include "kxsmall/CKXCreateBlockDlg.h"
#include "kxsmall/CKXDlgFilterPhys.h"
#include "kxsmall/CPQRedsDictionary.h"
#include "kxsmall/ISysObjectServer.h"

#include "afx/afxanswer.h"
#include "afx/afxcoll.h"
#include "afx/afxfile.h"
#include "rmx/rmx.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Splits text into trimmed non-empty lines; false when a line is not a hierarchical path.
bool pathLines(const std::string& text, std::vector<std::string>& lines, std::string& bad) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        line = line.substr(start);
        if (line[0] != '@' || line.size() < 2) {
            bad = line;
            return false;
        }
        lines.push_back(line);
    }
    return true;
}

// The paths of the filter file (none when there is no file); false with the reason in why when it cannot be
// read (a folder of that name, a file the user may not read) or a line of it is no block path.
bool readPaths(const CString& path, std::vector<std::string>& lines, std::string& why) {
    std::error_code ec;
    if (path.IsEmpty()) {
        why = "no file named";
        return false;
    }
    if (!fs::exists(path.str(), ec)) return true;
    if (fs::is_directory(path.str(), ec)) {
        why = "it is a folder";
        return false;
    }
    std::string text, bad;
    if (!AfxReadFile(path.str(), text, why)) return false;
    if (pathLines(text, lines, bad)) return true;
    why = "the line \"" + bad + "\" is no block path (as @INSTANCE)";
    return false;
}

} // namespace

BOOL ReadExcludedSpathList(const CDesignContext& design, std::vector<CString>& list, const CString& path) {
    CString why;
    return ReadExcludedSpathList(design, list, path, why);
}

BOOL ReadExcludedSpathList(const CDesignContext&, std::vector<CString>& list, const CString& path, CString& why) {
    std::vector<std::string> lines;
    std::string reason;
    if (!readPaths(path, lines, reason)) {
        why = CString(reason);
        return FALSE;
    }
    for (const auto& l : lines)
        if (std::find(list.begin(), list.end(), CString(l)) == list.end()) list.emplace_back(l);
    return TRUE;
}

BOOL ReadExcludedSpathList(const CDesignContext& design, CStringList& list, const CString& path) {
    CString why;
    return ReadExcludedSpathList(design, list, path, why);
}

BOOL ReadExcludedSpathList(const CDesignContext& design, CStringList& list, const CString& path, CString& why) {
    std::vector<CString> read;
    if (!ReadExcludedSpathList(design, read, path, why)) return FALSE;
    for (const auto& p : read)
        if (!list.Find(p)) list.AddTail(p);
    return TRUE;
}

BOOL WriteExcludedSpathList(const CDesignContext& design, const CString& text, const CString& path) {
    CString why;
    return WriteExcludedSpathList(design, text, path, why);
}

BOOL WriteExcludedSpathList(const CDesignContext&, const CString& text, const CString& path, CString& why) {
    why.Empty();
    std::vector<std::string> lines;
    std::string bad;
    if (path.IsEmpty()) {
        why = "no file named";
        return FALSE;
    }
    if (!pathLines(text.str(), lines, bad)) {
        why = CString("\"" + bad + "\" is no block path");
        return FALSE;
    }
    std::string out;
    for (const auto& l : lines)
        out += l + "\n";
    std::string error;
    if (AfxWriteFileSafely(path.str(), out, error)) return TRUE;
    why = error.c_str();
    return FALSE;
}

// ---- physical filter dialog ----

CKXDlgFilterPhys::CKXDlgFilterPhys(void*) {}

CKXDlgFilterPhys::~CKXDlgFilterPhys() = default;

void CKXDlgFilterPhys::SetDesignContext(const CDesignContext& design) {
    m_pDesign = std::make_unique<CDesignContext>(design);
}

int CKXDlgFilterPhys::DoModal() {
    m_strExcluded.Empty();
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXDlgFilterPhys", answer)) return IDCANCEL;
    std::vector<std::string> lines;
    auto it = answer.fields.find("paths");
    std::string bad;
    const auto refuse = [](const std::string& why) {
        AfxGetAnswerQueue().RefuseDialog("CKXDlgFilterPhys", CString(why));
        return IDCANCEL;
    };
    if (it != answer.fields.end()) {
        if (!pathLines(it->second.str(), lines, bad)) return refuse("\"" + bad + "\" is no block path");
    } else if (std::string why; !readPaths(m_strFile, lines, why)) {
        return refuse("the stored block paths could not be read");
    }
    // With a design, every path must name a block instance of it.
    if (m_pDesign && *m_pDesign && m_pDesign->server()) {
        for (const auto& l : lines) {
            ISchemaObject* obj = m_pDesign->server()->findObject(*m_pDesign, l.c_str());
            auto* inst = dynamic_cast<IInstance*>(obj);
            if (!inst || !inst->isBlock()) return refuse("\"" + l + "\" names no block of the design");
        }
    }
    for (const auto& l : lines)
        m_strExcluded += CString(l + "\n");
    return IDOK;
}

// ---- block creation ----

CKXCreateBlockDlg::CKXCreateBlockDlg(void*) {}

CKXCreateBlockDlg::~CKXCreateBlockDlg() = default;

void CKXCreateBlockDlg::SetDesignContext(const CDesignContext& design) {
    m_pDesign = std::make_unique<CDesignContext>(design);
}

int CKXCreateBlockDlg::DoModal() {
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXCreateBlockDlg", answer)) return IDCANCEL;
    auto lib = answer.fields.find("library");
    auto block = answer.fields.find("block");
    if (lib == answer.fields.end() || block == answer.fields.end() || lib->second.IsEmpty() ||
        block->second.IsEmpty()) {
        m_strError = "a library and a block name are needed";
        AfxGetAnswerQueue().RefuseDialog("CKXCreateBlockDlg", m_strError);
        return IDCANCEL;
    }
    m_strLib = lib->second;
    m_strBlock = block->second;
    return IDOK;
}

namespace {

// The folder of the library a new block goes into: the folder a design of that library was loaded from
// (the design's own first); none for a library the session has not loaded.
fs::path BlockLibraryFolder(IServer* server, IDesign* design, const CString& lib) {
    if (!design->directory()[0]) return fs::path();
    if (lib == design->libName()) return fs::path(design->directory());
    for (IDesign* d : server->beginDesign())
        if (lib == d->libName() && d->directory()[0]) return fs::path(d->directory());
    return fs::path();
}

} // namespace

int CKXCreateBlockDlg::CreateSubProject(int, CString lib, CString block, CString, CString, CString, int, int,
                                        int, int, int, int, CStringArray&, CStringArray&) {
    m_strError.Empty();
    m_bNameTooLong = false;
    m_bLibraryLocked = false;
    if (!m_pDesign || !*m_pDesign) {
        m_strError = "no design to save";
        return 0;
    }
    if (lib.IsEmpty() || block.IsEmpty() || !CSchemaUtilities::isValidName(block) ||
        !CSchemaUtilities::isValidName(lib)) {
        m_strError = "invalid library or block name";
        return 0;
    }
    IDesign* design = m_pDesign->design();
    IServer* server = m_pDesign->server() ? m_pDesign->server() : design->server();
    CString view = m_strView.IsEmpty() ? CString(design->viewName()) : m_strView;
    const fs::path folder = BlockLibraryFolder(server, design, lib);
    if (folder.empty()) {
        if (design->directory()[0])
            m_strError.Format("no library %s is loaded", lib.GetString());
        else
            m_strError = "the design has no library folder";
        return 0;
    }
    const fs::path file = folder / (block.str() + "." + view.str() + ".design");
    // A name the file system cannot take is refused before a folder is made.
    std::string why;
    if (!AfxFileNameFits(file.string(), why)) {
        m_strError = why.c_str();
        m_bNameTooLong = true;
        return 0;
    }
    // A block the library holds, loaded or only on disk, is never overwritten.
    std::error_code ec;
    if (server->findDesign(lib, block, view) || fs::exists(file, ec)) {
        m_strError.Format("design %s.%s:%s already exists", lib.GetString(), block.GetString(),
                          view.GetString());
        return 0;
    }
    fs::create_directories(folder, ec);
    CString error;
    {
        // The design file and its companions go in place together; the design file as a new one, so that
        // of two processes saving under one new name at once, the second is refused where the files go in.
        AfxFileBatch together;
        if (!server->saveDesignAs(design, folder.string().c_str(), lib, block, view, &error, true)) {
            m_strError = error;
            return 0;
        }
        if (m_companions && !m_companions(folder.string(), block, why)) {
            m_strError = why.c_str();
            return 0;
        }
        if (!together.Commit(why)) {
            m_strError = why.c_str();
            m_bLibraryLocked = together.LockRefused();
            return 0;
        }
    }
    // The new block is a design of the library from now on: it opens in this session too.
    if (!server->loadDesignFile(folder.string().c_str(), lib, block, view, error)) {
        m_strError = error;
        return 0;
    }
    m_strLib = lib;
    m_strBlock = block;
    return 1;
}

// ---- system object server ----

namespace {

const char* typeText(int code) {
    switch (code) {
    case ITerm::eTermInput:
        return "Input";
    case ITerm::eTermOutput:
        return "Output";
    case ITerm::eTermBidirectional:
        return "Bidirectional";
    case ITerm::eTermInout:
        return "Inout";
    case ITerm::eTermPower:
        return "Power";
    case ITerm::eTermGround:
        return "Ground";
    default:
        return nullptr;
    }
}

char* dup(const char* s) {
    if (!s) return nullptr;
    size_t n = std::strlen(s) + 1;
    char* out = static_cast<char*>(std::malloc(n));
    if (out) std::memcpy(out, s, n);
    return out;
}

class SysObjectServer : public ISysObjectServer {
public:
    char* GetSysObjectName(long id) override { return dup(typeText(static_cast<int>(id))); }

    char* GetSysObjectName(const CInstTermBitContext& bit) override {
        IInstTerm* pin = bit.instTerm();
        if (!pin || !pin->isAlive()) return nullptr;
        if (const char* t = typeText(pin->termType())) return dup(t);
        switch (pin->direction()) {
        case ITerm::eDirInput:
            return dup("Input");
        case ITerm::eDirOutput:
            return dup("Output");
        case ITerm::eDirInout:
            return dup("Inout");
        default:
            return nullptr;
        }
    }

    void FreeName(char* name) override { std::free(name); }

    bool HandleAssociatedInstance(CDesignContext* design, IDTInstance* instance,
                                  CTransaction* transaction) override {
        // The packaging step needs a live component of the transaction's design; there is nothing to package
        // otherwise.
        return design && instance && transaction && instance->isAlive() &&
               instance->design() == transaction->design();
    }
};

} // namespace

ISysObjectServer* ISysObjectServer::GetSysObjectServer() {
    static SysObjectServer server;
    return &server;
}

bool KXServerIsConstraint(IServer* server, const CString& name) {
    return server && server->propertyDictionary()->IsConstraint(name, false);
}

// ---- merge engine ----

int CMergeEngine::MergeObjects(CTransaction* transaction, const CDesignContext& design, const CString& from,
                               const CString& into, int kind, int mode) {
    if (!transaction || !design || mode != 4 || (kind != 10 && kind != 19)) return 0;
    CString fromBase, intoBase;
    int fromLsb = -1, fromMsb = -1, intoLsb = -1, intoMsb = -1;
    if (!CSchemaUtilities::parsePinName(from, fromBase, fromLsb, fromMsb) ||
        !CSchemaUtilities::parsePinName(into, intoBase, intoLsb, intoMsb))
        return 0;
    INet* fromNet = design.design()->findNet(fromBase);
    INet* intoNet = design.design()->findNet(intoBase);
    if (!fromNet || !intoNet || fromNet == intoNet) return 0;
    const bool bits = kind == 19;
    if (bits && (fromMsb != fromLsb || intoMsb != intoLsb)) return 0; // one bit each
    CNetBit fromBit(fromNet, bits ? fromMsb : -1), intoBit(intoNet, bits ? intoMsb : -1);
    for (const CString& name : bits ? fromBit.beginPropertyName() : fromNet->beginPropertyName()) {
        std::unique_ptr<CPQPropertyData> src(bits ? fromBit.findProperty(name) : fromNet->findProperty(name));
        if (!src) continue;
        std::unique_ptr<CPQPropertyData> dst(bits ? intoBit.findProperty(name) : intoNet->findProperty(name));
        if (dst) continue; // the target's own value wins
        if (!transaction->addProperty(intoNet, bits ? intoMsb : -1, name, src->value(), src->source()))
            return 0;
    }
    return 1;
}
