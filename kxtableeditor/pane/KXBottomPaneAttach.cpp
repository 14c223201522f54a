// The Attach Signal bar of the connectivity pane: the combo of signal names and
// naming rules, the two drop lists the grids' signal cells show, the rule menu
// that prepares a rule for its argument, and what a typed text means.
#include "pane/KXBottomPaneContainerView.h"

#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "kxcommon/KXGenUtils.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"

#include <array>

namespace {

const std::array<const char*, 8> kRuleWords = {"=AUTONAME",      "=PINNAME",         "=PREFIXPINNAME",
                                               "=SUFFIXPINNAME", "=PREFIXPINNUMBER", "=SUFFIXPINNUMBER",
                                               "=SHORTPINS",     "=INCREMENTSIGNAME"};

const char kDiffPairSuffix[] = " (Differential Pair)";

} // namespace

void CKXBottomPaneContainerView::CreateAttachControls() {
    if (!m_AttachSignalCombo.GetSafeHwnd())
        m_AttachSignalCombo.Create(0x50A10142, CRect(91, 28, 350, 225), this, 35257);
    if (!m_pSignalDropList->GetSafeHwnd())
        m_pSignalDropList->Create(0x00A00003, CRect(-1, -1, -1, -1), this, 9041);
    if (!m_pDiffPairDropList->GetSafeHwnd())
        m_pDiffPairDropList->Create(0x00A00003, CRect(-1, -1, -1, -1), this, 9093);
    ResetSignalLists();
}

void CKXBottomPaneContainerView::ResetSignalLists() {
    m_AttachSignalCombo.ResetContent();
    m_pSignalDropList->ResetContent();
    m_pDiffPairDropList->ResetContent();
    for (const char* word : kRuleWords)
        AddSignalListEntry(word, 0);
    for (const char* word : kRuleWords)
        AddDiffPairListEntry(word);
}

void CKXBottomPaneContainerView::AddSignalListEntry(const CString& text, DWORD data) {
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
    if (entries.size() > kInsertLimit) {
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
}

void CKXBottomPaneContainerView::RemoveDiffPairEntry(IDPNet* pair) {
    if (!pair) return;
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

// Takes out of a list (a list box or a combo) the first entry whose data is `id`, or (id -1) every
// entry whose data is in `ids`. Item data are compared whole: an id is never matched by another that
// only shares its low bits. Few removals delete in place; many rebuild the list in one merge.
template <class List, class TextOf>
void RemoveEntriesByData(List& list, long id, const std::set<DWORD_PTR>* ids, TextOf textOf) {
    constexpr size_t kInPlaceLimit = 16;
    std::vector<int> gone;
    std::vector<CAfxItemList::NewItem> kept;
    for (int i = 0; i < list.GetCount(); ++i) {
        const DWORD_PTR data = list.GetItemData(i);
        const bool match = id != -1 ? gone.empty() && data == static_cast<DWORD_PTR>(id)
                                    : ids && ids->count(data) != 0;
        if (match)
            gone.push_back(i);
        else
            kept.push_back({textOf(list, i), data});
    }
    if (gone.empty()) return;
    if (gone.size() <= kInPlaceLimit) {
        for (auto it = gone.rbegin(); it != gone.rend(); ++it)
            list.DeleteString(static_cast<UINT>(*it));
        return;
    }
    list.ResetContent();
    list.AddStrings(std::move(kept));
}

} // namespace

void CKXBottomPaneContainerView::RemoveNetFromLists(long id, const std::set<DWORD_PTR>* ids) {
    if (id == -1 && (!ids || ids->empty())) return;
    if (m_pSignalDropList->GetSafeHwnd())
        RemoveEntriesByData(*m_pSignalDropList, id, ids, [](const CListBox& l, int i) {
            CString text;
            l.GetText(i, text);
            return text;
        });
    RemoveEntriesByData(m_AttachSignalCombo, id, ids, [](const CComboBox& c, int i) {
        CString text;
        c.GetLBText(i, text);
        return text;
    });
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
    if (m_AttachSignalCombo.GetSafeHwnd())
        m_AttachSignalCombo.ShowWindow(m_bAttachRowShown ? SW_SHOW : SW_HIDE);
}

void CKXBottomPaneContainerView::EnableAttachSignalControls(BOOL enable) {
    m_bAttachEnabled = enable && GetViewMode() != eOpenModeContext;
    if (m_AttachSignalCombo.GetSafeHwnd()) m_AttachSignalCombo.EnableWindow(m_bAttachEnabled);
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
