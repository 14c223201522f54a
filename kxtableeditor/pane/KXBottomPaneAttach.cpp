// The Attach Signal bar of the connectivity pane: the combo of signal names and
// naming rules, the two drop lists the grids' signal cells show, the rule menu
// that prepares a rule for its argument, and what a typed text means.
#include "pane/KXBottomPaneContainerView.h"

#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxsortruns.h"
#include "kxcommon/KXGenUtils.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

const std::array<const char*, 8> kRuleWords = {"=AUTONAME",      "=PINNAME",         "=PREFIXPINNAME",
                                               "=SUFFIXPINNAME", "=PREFIXPINNUMBER", "=SUFFIXPINNUMBER",
                                               "=SHORTPINS",     "=INCREMENTSIGNAME"};

const char kDiffPairSuffix[] = " (Differential Pair)";

} // namespace

namespace {

constexpr DWORD kShortcutBarStyle = 0x50000001; // child, visible; horizontal
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kFxButtonStyle = 0x50810000;
constexpr DWORD kToolTipStyle = 0x80000081;
const char kTitleBarLabel[] = "Connectivity Details";
const char kAttachLabel[] = "&Attach Signal:";
const char kAttachTip[] = "Connect by signal from list";
const char kFxTip[] = "Function selector";

} // namespace

// The title bar and the Attach Signal row: the label, the function selector button and the combo,
// each with its tool tip.
void CKXBottomPaneContainerView::CreateAttachControls() {
    if (!m_ShortcutBar.GetSafeHwnd() && m_ShortcutBar.Create(this, kShortcutBarStyle, kShortcutBarId)) {
        m_ShortcutBar.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        m_ShortcutBar.AddBar(kTitleBarLabel);
        m_ShortcutBar.ActivateBar(0);
    }
    if (!m_AttachSignalLabel.GetSafeHwnd()) m_AttachSignalLabel.Create(kAttachLabel, kLabelStyle, CRect(2, 32, 72, 50), this);
    if (!m_SignalFxButton.GetSafeHwnd() &&
        m_SignalFxButton.Create("Fx", kFxButtonStyle, CRect(75, 28, 90, 50), this, kFxButtonId))
        m_SignalFxButton.AttachBitmap(kFxBitmapId, SEC_BMPBTN_CENTER);
    if (!m_AttachSignalCombo.GetSafeHwnd())
        m_AttachSignalCombo.Create(0x50A10142, CRect(91, 28, 350, 225), this, kAttachComboId);
    if (!m_ToolTip.GetSafeHwnd() && m_ToolTip.Create(this, kToolTipStyle)) {
        m_ToolTip.AddTool(&m_AttachSignalLabel, kAttachTip);
        m_ToolTip.AddTool(&m_AttachSignalCombo, kAttachTip);
        m_ToolTip.AddTool(&m_SignalFxButton, kFxTip);
        m_ToolTip.Activate(TRUE);
    }
    if (!m_pSignalDropList->GetSafeHwnd())
        m_pSignalDropList->Create(0x00A00003, CRect(-1, -1, -1, -1), this, 9041);
    if (!m_pDiffPairDropList->GetSafeHwnd())
        m_pDiffPairDropList->Create(0x00A00003, CRect(-1, -1, -1, -1), this, 9093);
    ResetSignalLists();
}

void CKXBottomPaneContainerView::ResetSignalLists() {
    m_waitingNets.clear();
    m_AttachSignalCombo.ResetContent();
    m_pSignalDropList->ResetContent();
    m_pDiffPairDropList->ResetContent();
    m_offeredText.clear();
    m_offeredPairs.clear();
    for (const char* word : kRuleWords)
        AddSignalListEntry(word, 0);
    for (const char* word : kRuleWords)
        AddDiffPairListEntry(word);
    OfferDesignPairs();
}

void CKXBottomPaneContainerView::SetChildFrame(CKXTableChildFrm* frame) {
    m_pChildFrame = frame;
    OfferDesignPairs();
}

// The pairs the design holds when the window opens; later ones come with the committed transactions.
void CKXBottomPaneContainerView::OfferDesignPairs() {
    const IDesign* design = PaneDesign().design();
    if (!design || !m_AttachSignalCombo.GetSafeHwnd()) return;
    for (IDPNet* pair : design->beginDPNet())
        if (pair && pair->isAlive() && !m_offeredPairs.count(pair->id())) AddDiffPairEntry(pair);
}

void CKXBottomPaneContainerView::AddSignalListEntry(const CString& text, DWORD data) {
    if (data) m_offeredText[data] = text;
    if (m_pSignalDropList->GetSafeHwnd()) {
        const int at = m_pSignalDropList->AddString(text);
        if (at >= 0) m_pSignalDropList->SetItemData(at, data);
    }
    const int at = m_AttachSignalCombo.AddString(text);
    if (at >= 0) m_AttachSignalCombo.SetItemData(at, data);
}

// A few new entries (one new net, most often) each go in at their place, found by a binary search;
// many go in by one merge of the lists. Both keep the same order and the same selected entry.
void CKXBottomPaneContainerView::AddSignalListEntries(std::vector<CAfxItemList::NewItem> entries) {
    constexpr size_t kInsertLimit = 16;
    if (entries.empty()) return;
    for (const CAfxItemList::NewItem& entry : entries)
        if (entry.data) m_offeredText[entry.data] = entry.text;
    if (entries.size() > kInsertLimit) {
        // Put in the lists' order once here (as each list's merge would): both merges find them sorted.
        SortStableRuns(entries.begin(), entries.end(), [](const CAfxItemList::NewItem& a, const CAfxItemList::NewItem& b) {
            return a.text.CompareNoCase(b.text) < 0;
        });
        if (m_pSignalDropList->GetSafeHwnd()) m_pSignalDropList->AddStrings(entries);
        m_AttachSignalCombo.AddStrings(std::move(entries));
        return;
    }
    // A list box's single adds leave its current index where it was: one with a current entry merges.
    const bool dropList = m_pSignalDropList->GetSafeHwnd() != nullptr;
    const bool dropListEach = dropList && m_pSignalDropList->GetCurSel() == LB_ERR;
    if (dropList && !dropListEach) m_pSignalDropList->AddStrings(entries);
    for (const CAfxItemList::NewItem& entry : entries) {
        if (dropListEach) {
            const int at = m_pSignalDropList->AddString(entry.text);
            if (at >= 0) m_pSignalDropList->SetItemData(at, entry.data);
        }
        const int at = m_AttachSignalCombo.AddString(entry.text);
        if (at >= 0) m_AttachSignalCombo.SetItemData(at, entry.data);
    }
}

void CKXBottomPaneContainerView::AddDiffPairListEntry(const CString& text) {
    if (!m_pDiffPairDropList->GetSafeHwnd()) return;
    const int at = m_pDiffPairDropList->AddString(text);
    if (at >= 0) m_pDiffPairDropList->SetItemData(at, 0);
}

void CKXBottomPaneContainerView::AddDiffPairEntry(IDPNet* pair) {
    if (!pair) return;
    const CString name = CKXGenUtils::GetDiffPairName(pair);
    if (m_pDiffPairDropList->GetSafeHwnd()) {
        const int at = m_pDiffPairDropList->AddString(name);
        if (at >= 0) m_pDiffPairDropList->SetItemData(at, pair->id());
    }
    const int at = m_AttachSignalCombo.AddString(name + kDiffPairSuffix);
    if (at >= 0) m_AttachSignalCombo.SetItemData(at, pair->id());
    m_offeredPairs.insert(pair->id());
}

void CKXBottomPaneContainerView::RemoveDiffPairEntry(IDPNet* pair) {
    if (!pair) return;
    m_offeredPairs.erase(pair->id());
    for (int i = m_pDiffPairDropList->GetCount(); i-- > 0;)
        if (m_pDiffPairDropList->GetItemData(i) == pair->id()) m_pDiffPairDropList->DeleteString(i);
    // The combo's pair entries are told from the nets' by their suffix; the pair's entry goes under
    // whatever name it was offered by, so a renamed pair leaves no stale entry.
    const CString suffix = kDiffPairSuffix;
    for (int i = m_AttachSignalCombo.GetCount(); i-- > 0;) {
        CString text;
        m_AttachSignalCombo.GetLBText(i, text);
        if (m_AttachSignalCombo.GetItemData(i) == pair->id() && text.Right(suffix.GetLength()) == suffix) {
            m_AttachSignalCombo.DeleteString(i);
            break;
        }
    }
}

void CKXBottomPaneContainerView::UpdateDiffPairEntry(IDPNet* pair) {
    RemoveDiffPairEntry(pair);
    AddDiffPairEntry(pair);
}

namespace {

constexpr size_t kInPlaceLimit = 16; // more removals than this rebuild a list in one pass

// The index of the entry of `text` whose data is `data`: a sorted list holds the entries of one text
// (ignoring case) side by side, found by a binary search; LB_ERR when there is none.
template <class List, class TextOf>
int FindEntry(const List& list, const CString& text, DWORD_PTR data, TextOf textOf) {
    const int first = list.FindStringExact(-1, text);
    if (first < 0) return LB_ERR;
    for (int i = first; i < list.GetCount() && textOf(list, i).CompareNoCase(text) == 0; ++i)
        if (list.GetItemData(i) == data) return i;
    // A list out of order (never a sorted one) is searched whole.
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetItemData(i) == data && textOf(list, i).CompareNoCase(text) == 0) return i;
    return LB_ERR;
}

// Takes every entry whose data is in `ids` out of a list in one pass: the rest is added back in one
// merge. Item data are compared whole: an id is never matched by another that only shares its low bits.
template <class List, class TextOf> void RebuildWithout(List& list, const std::set<DWORD_PTR>& ids, TextOf textOf) {
    std::vector<CAfxItemList::NewItem> kept;
    kept.reserve(static_cast<size_t>(list.GetCount()));
    bool removed = false;
    for (int i = 0; i < list.GetCount(); ++i) {
        const DWORD_PTR data = list.GetItemData(i);
        if (ids.count(data))
            removed = true;
        else
            kept.push_back({textOf(list, i), data});
    }
    if (!removed) return;
    list.ResetContent();
    list.AddStrings(std::move(kept));
}

CString ListBoxText(const CListBox& l, int i) {
    CString text;
    l.GetText(i, text);
    return text;
}

CString ComboText(const CComboBox& c, int i) {
    CString text;
    c.GetLBText(i, text);
    return text;
}

} // namespace

void CKXBottomPaneContainerView::RemoveNetFromLists(long id, const std::set<DWORD_PTR>* ids) {
    std::set<DWORD_PTR> one;
    if (id != -1) one.insert(static_cast<DWORD_PTR>(id));
    const std::set<DWORD_PTR>& gone = id != -1 ? one : (ids ? *ids : one);
    if (gone.empty()) return;
    OfferWaitingNets();
    const bool dropList = m_pSignalDropList->GetSafeHwnd() != nullptr;
    if (gone.size() > kInPlaceLimit) {
        if (dropList) RebuildWithout(*m_pSignalDropList, gone, ListBoxText);
        RebuildWithout(m_AttachSignalCombo, gone, ComboText);
        for (DWORD_PTR netId : gone)
            m_offeredText.erase(netId);
        return;
    }
    for (DWORD_PTR netId : gone) {
        auto offered = m_offeredText.find(netId);
        if (offered == m_offeredText.end()) continue; // never offered (a name another net has)
        if (dropList) {
            const int at = FindEntry(*m_pSignalDropList, offered->second, netId, ListBoxText);
            if (at >= 0) m_pSignalDropList->DeleteString(static_cast<UINT>(at));
        }
        const int at = FindEntry(m_AttachSignalCombo, offered->second, netId, ComboText);
        if (at >= 0) m_AttachSignalCombo.DeleteString(static_cast<UINT>(at));
        m_offeredText.erase(offered);
    }
}

CString CKXBottomPaneContainerView::OfferedSignalText(DWORD_PTR netId) const {
    m_AttachSignalCombo.RunPendingFill(); // the waiting nets are offered first
    auto offered = m_offeredText.find(netId);
    return offered == m_offeredText.end() ? CString() : offered->second;
}

namespace {

// The net entries of a list (rule words have no data, pair entries in the combo carry their suffix).
// A net offered twice shows as two entries of its id.
using NetEntryList = std::vector<std::pair<DWORD_PTR, CString>>;

template <class List, class TextOf> NetEntryList NetEntries(const List& list, TextOf textOf) {
    const CString suffix = kDiffPairSuffix;
    NetEntryList entries;
    for (int i = 0; i < list.GetCount(); ++i) {
        const CString text = textOf(list, i);
        if (list.GetItemData(i) && !(text.Right(suffix.GetLength()) == suffix))
            entries.emplace_back(list.GetItemData(i), text);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return entries;
}

} // namespace

bool CKXBottomPaneContainerView::SignalListsAgree() const {
    m_AttachSignalCombo.RunPendingFill(); // the waiting nets are offered first
    NetEntryList known(m_offeredText.begin(), m_offeredText.end());
    std::sort(known.begin(), known.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const bool dropList = m_pSignalDropList->GetSafeHwnd() != nullptr;
    if (dropList && NetEntries(*m_pSignalDropList, ListBoxText) != known) return false;
    return NetEntries(m_AttachSignalCombo, ComboText) == known;
}

std::vector<CString> CKXBottomPaneContainerView::GetAttachSignalEntries() const {
    std::vector<CString> entries;
    for (int i = 0; i < m_AttachSignalCombo.GetCount(); ++i) {
        CString text;
        m_AttachSignalCombo.GetLBText(i, text);
        entries.push_back(text);
    }
    return entries;
}

// ------------------------------------------------------------------ the row

void CKXBottomPaneContainerView::ShowAttachSignalControls(BOOL show) {
    // A read-only window never edits connections: the row stays hidden there.
    m_bAttachRowShown = show && GetViewMode() != eOpenModeContext;
    if (m_pChildFrame && m_pChildFrame->GetTableDoc() && GetViewMode() == eOpenModeContext)
        EnableAttachSignalControls(FALSE);
    for (CWnd* control : {static_cast<CWnd*>(&m_AttachSignalLabel), static_cast<CWnd*>(&m_SignalFxButton),
                          static_cast<CWnd*>(&m_AttachSignalCombo)})
        if (control->GetSafeHwnd()) control->ShowWindow(m_bAttachRowShown ? SW_SHOW : SW_HIDE);
}

void CKXBottomPaneContainerView::EnableAttachSignalControls(BOOL enable) {
    m_bAttachEnabled = enable && GetViewMode() != eOpenModeContext;
    for (CWnd* control : {static_cast<CWnd*>(&m_AttachSignalLabel), static_cast<CWnd*>(&m_SignalFxButton),
                          static_cast<CWnd*>(&m_AttachSignalCombo)})
        if (control->GetSafeHwnd()) control->EnableWindow(m_bAttachEnabled);
}

// ------------------------------------------------------------------ rules

// The rule word goes into the edit field with its placeholder; the placeholder (without its
// parentheses) is selected so that typing replaces it. Nothing is connected yet.
void CKXBottomPaneContainerView::PrepareRule(const char* word, const char* placeholder) {
    const int at = m_AttachSignalCombo.FindStringExact(-1, word);
    if (at >= 0) m_AttachSignalCombo.SetCurSel(at);
    CString text;
    m_AttachSignalCombo.GetWindowText(text);
    if (at < 0) text = word;
    const int start = text.GetLength() + 1;
    text += placeholder;
    m_AttachSignalCombo.SetWindowText(text);
    if (m_AttachSignalCombo.GetSafeHwnd()) m_AttachSignalCombo.SetFocus();
    m_AttachSignalCombo.SetEditSel(start, text.GetLength() - 1);
}

void CKXBottomPaneContainerView::OnPrefixPinName() {
    PrepareRule("=PREFIXPINNAME", "(<string>)");
}
void CKXBottomPaneContainerView::OnSuffixPinName() {
    PrepareRule("=SUFFIXPINNAME", "(<string>)");
}
void CKXBottomPaneContainerView::OnPrefixPinNumber() {
    PrepareRule("=PREFIXPINNUMBER", "(<string>)");
}
void CKXBottomPaneContainerView::OnSuffixPinNumber() {
    PrepareRule("=SUFFIXPINNUMBER", "(<string>)");
}
void CKXBottomPaneContainerView::OnIncrementSignalName() {
    PrepareRule("=INCREMENTSIGNAME", "(<signal, start_num>)");
}

CString CKXBottomPaneContainerView::GetAttachSignalText() const {
    CString text;
    m_AttachSignalCombo.GetWindowText(text);
    return text;
}

CKXBottomPaneContainerView::EAttachText CKXBottomPaneContainerView::ClassifyAttachText(const CString& text) {
    CString upper = text;
    upper.MakeUpper();
    if (upper.Find("=SHORTPINS") >= 0) return EAttachText::ShortPins;
    for (const char* rule : {"=AUTONAME", "=PINNAME", "=PREFIXPINNAME", "=SUFFIXPINNAME", "=PREFIXPINNUMBER",
                             "=SUFFIXPINNUMBER", "=INCREMENTSIGNAME", "=CONNECTBITS"})
        if (upper.Find(rule) >= 0) return EAttachText::Rule;
    return EAttachText::Signal;
}
