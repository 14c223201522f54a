#include "matrix/KXMatrixViewDlg.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"

#include <algorithm>
#include <memory>

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

// The net-bit paths a signal name stands for; false when it names no net or a bit the net lacks.
bool SignalPaths(const CDesignContext& design, const CString& text, std::vector<CString>& paths) {
    CString base;
    int first = -1, second = -1;
    if (!CKXGenUtils::ParseSignalName(text, base, first, second)) return false;
    const CNetContext net = design.net(base.GetString());
    if (!net) return false;
    if (net.net()->isScalar()) {
        if (first >= 0 || second >= 0) return false;
        AddOnce(paths, net.spath());
        return true;
    }
    // A bus without bits is every bit of it.
    if (first < 0 && second < 0) {
        first = net.net()->msb();
        second = net.net()->lsb();
    }
    for (int bit : BitsBetween(first, second)) {
        if (!net.net()->hasBit(bit)) return false;
        AddOnce(paths, net.bitContext(bit).spath());
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
        AddOnce(paths.instances, instance.spath());
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
        std::unique_ptr<CContext> context(server->getContext(design, path.GetString()));
        if (auto* instance = dynamic_cast<CInstanceContext*>(context.get())) components.push_back(instance->name());
    }
    for (const CString& path : paths.signals) {
        std::unique_ptr<CContext> context(server->getContext(design, path.GetString()));
        if (auto* bit = dynamic_cast<CNetBitContext*>(context.get()); bit && bit->net())
            signals.push_back(bit->net()->isScalar() || bit->bit() < 0
                                  ? CString(bit->net()->name())
                                  : CSchemaUtilities::vectorName(bit->net()->name(), bit->bit()));
        else if (auto* net = dynamic_cast<CNetContext*>(context.get()); net && net->net())
            signals.push_back(net->net()->name());
    }
}

} // namespace kxmatrix
