#include "matrix/KXMatrixViewDlg.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxnotes/CComments.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

CKXMatrixViewDlg::CKXMatrixViewDlg(CWnd* pParent) : CKXScriptedDialog("CKXMatrixViewDlg", pParent) {}

int CKXMatrixViewDlg::DoModal() {
    const CString name = m_strName;
    const std::vector<CString> components = m_components, signals = m_signals;
    if (RunScripted()) return IDOK;
    // A cancelled dialog leaves what it was given.
    m_strName = name;
    m_components = components;
    m_signals = signals;
    return IDCANCEL;
}

void CKXMatrixViewDlg::OnField(const CString& name, const CString& value) {
    if (name == "name") {
        m_strName = value;
        m_strName.Trim();
    } else if (name == "components") {
        m_components = kxmatrix::SplitNames(value);
    } else if (name == "signals") {
        m_signals = kxmatrix::SplitNames(value);
    }
}

CKXMatrixSaveAsDlg::CKXMatrixSaveAsDlg(CWnd* pParent) : CKXScriptedDialog("CKXMatrixSaveAsDlg", pParent) {}

int CKXMatrixSaveAsDlg::DoModal() {
    const CString name = m_strName;
    if (RunScripted()) return IDOK;
    m_strName = name;
    return IDCANCEL;
}

void CKXMatrixSaveAsDlg::OnField(const CString& name, const CString& value) {
    if (name != "name") return;
    m_strName = value;
    m_strName.Trim();
}

namespace kxmatrix {

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void AddOnce(std::vector<CString>& list, const CString& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

// The design's own place in its window's hierarchy: "" at the root, else the path of the block instances.
CString BlockPrefix(const CDesignContext& design) {
    const CString prefix = design.spath();
    return prefix == "@" ? CString() : prefix;
}

// After the block's place a path goes on with "@" (an instance and what is in it) or, for an object of the
// design itself, with ':', '~' or '$'; at the root such an object's path begins "@:", "@~" or "@$".
bool IsDesignLevelMark(char c) {
    return c == ':' || c == '~' || c == '$';
}

bool GoesOnAfter(const CString& path, const CString& prefix) {
    if (path.GetLength() <= prefix.GetLength() || path.Left(prefix.GetLength()) != prefix) return false;
    const char next = path[prefix.GetLength()];
    return next == '@' || IsDesignLevelMark(next);
}

} // namespace

CString ViewPathOf(const CContext& object, const CDesignContext& design) {
    const CString path = object.spath();
    const CString prefix = BlockPrefix(design);
    if (prefix.IsEmpty() || !GoesOnAfter(path, prefix)) return path;
    const CString local = path.Mid(prefix.GetLength());
    return IsDesignLevelMark(local[0]) ? "@" + local : local;
}

CContext* ViewObjectOf(IServer* server, const CDesignContext& design, const CString& stored) {
    if (!server || !design) return nullptr;
    const CString prefix = BlockPrefix(design);
    CString path = stored;
    // A path stored with the block's place in this hierarchy already (as views were once kept) is read as is.
    if (!prefix.IsEmpty() && !GoesOnAfter(stored, prefix) && stored.Left(1) == "@")
        path = stored.GetLength() > 1 && IsDesignLevelMark(stored[1]) ? prefix + stored.Mid(1) : prefix + stored;
    return server->getContext(design, path.GetString());
}

namespace {

// The net-bit paths a signal name stands for; false when it names no net or a bit the net lacks.
bool SignalPaths(const CDesignContext& design, const CString& text, std::vector<CString>& paths) {
    CString base;
    int first = -1, second = -1;
    if (!CKXGenUtils::ParseSignalName(text, base, first, second)) return false;
    const CNetContext net = design.net(base.GetString());
    if (!net) return false;
    if (net.net()->isScalar()) {
        if (first >= 0 || second >= 0) return false;
        AddOnce(paths, ViewPathOf(net, design));
        return true;
    }
    // A bus without bits is every bit of it.
    if (first < 0 && second < 0) {
        first = net.net()->msb();
        second = net.net()->lsb();
    }
    for (int bit : BitsBetween(first, second)) {
        if (!net.net()->hasBit(bit)) return false;
        AddOnce(paths, ViewPathOf(net.bitContext(bit), design));
    }
    return true;
}

} // namespace

std::vector<CString> SplitNames(const CString& text) {
    std::vector<CString> names;
    const std::string s = text.GetString();
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsSeparator(s[i])) ++i;
        std::size_t end = i;
        while (end < s.size() && !IsSeparator(s[end])) ++end;
        if (end > i) names.emplace_back(s.substr(i, end - i).c_str());
        i = end;
    }
    return names;
}

CString JoinNames(const std::vector<CString>& names) {
    CString text;
    for (const CString& name : names) text += (text.IsEmpty() ? "" : " ") + name;
    return text;
}

std::vector<int> BitsBetween(int first, int second) {
    if (first < 0 && second < 0) return {-1};
    if (first < 0) first = second;
    if (second < 0) second = first;
    std::vector<int> bits;
    const int step = first <= second ? 1 : -1;
    for (int b = second;; b -= step) {
        bits.push_back(b);
        if (b == first) break;
    }
    return bits;
}

bool ResolveViewNames(const CDesignContext& design, const std::vector<CString>& components,
                      const std::vector<CString>& signals, KXMatrixViewPaths& paths, CString& bad) {
    paths = {};
    bad.Empty();
    for (const CString& name : components) {
        const CInstanceContext instance = design ? design.instance(name.GetString()) : CInstanceContext();
        if (!instance) {
            bad = name;
            return false;
        }
        AddOnce(paths.instances, ViewPathOf(instance, design));
    }
    for (const CString& name : signals)
        if (!design || !SignalPaths(design, name, paths.signals)) {
            bad = name;
            return false;
        }
    return true;
}

void NamesOfViewPaths(const CDesignContext& design, const KXMatrixViewPaths& paths, std::vector<CString>& components,
                      std::vector<CString>& signals) {
    components.clear();
    signals.clear();
    IServer* server = CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : design.server();
    if (!server || !design) return;
    for (const CString& path : paths.instances) {
        std::unique_ptr<CContext> context(ViewObjectOf(server, design, path));
        if (auto* instance = dynamic_cast<CInstanceContext*>(context.get())) components.push_back(instance->name());
    }
    for (const CString& path : paths.signals) {
        std::unique_ptr<CContext> context(ViewObjectOf(server, design, path));
        if (auto* bit = dynamic_cast<CNetBitContext*>(context.get()); bit && bit->net())
            signals.push_back(bit->net()->isScalar() || bit->bit() < 0
                                  ? CString(bit->net()->name())
                                  : CSchemaUtilities::vectorName(bit->net()->name(), bit->bit()));
        else if (auto* net = dynamic_cast<CNetContext*>(context.get()); net && net->net())
            signals.push_back(net->net()->name());
    }
}

void FollowRenames(CMatrixViewData& views, const CDesignContext& design,
                   const std::vector<KXRename>& renames) {
    if (renames.empty() || !design || views.Count() == 0) return;
    const auto objectOf = [](const KXRename& r) -> const void* {
        return r.net ? static_cast<const void*>(r.net) : r.instance;
    };
    // The name each rename gave: the name the object had before its next rename, or the name it has now.
    std::vector<std::string> given(renames.size());
    std::unordered_map<const void*, std::string> next;
    for (std::size_t i = renames.size(); i-- > 0;) {
        const KXRename& r = renames[i];
        const auto later = next.find(objectOf(r));
        given[i] =
            later != next.end() ? later->second : std::string(r.net ? r.net->name() : r.instance->name());
        next[objectOf(r)] = r.previous;
    }
    for (std::size_t i = 0; i < renames.size(); ++i) {
        const KXRename& r = renames[i];
        // The path of an object ends with its name: the place before it is the same under either name.
        const std::string path =
            (r.net ? ViewPathOf(design.net(r.net), design) : ViewPathOf(design.instance(r.instance), design))
                .str();
        const std::string name = r.net ? r.net->name() : r.instance->name();
        if (path.size() < name.size() || path.compare(path.size() - name.size(), name.size(), name) != 0)
            continue;
        const std::string place = path.substr(0, path.size() - name.size());
        const CString from((place + r.previous).c_str()), to((place + given[i]).c_str());
        if (r.net)
            views.RenameNet(from, to);
        else
            views.RenameInstance(from, to);
    }
}

} // namespace kxmatrix
