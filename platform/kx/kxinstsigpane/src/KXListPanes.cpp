// The list panes: the change guard, the journal and call log of pane methods, the list grid every list
// is, and the pane view both panes are.
#include "kxinstsigpane/KXListPanes.h"

#include "KXListPaneChange.h"
#include "KXListPaneText.h"
#include "KXPowerPinTies.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <sstream>
#include <string>
#include <unordered_set>

#include "grid/gxrange.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "afx/afxsortruns.h"
#include "kxcontrols/KXSortRows.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"
#include "grid/gxcommand.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

IMPLEMENT_DYNAMIC(CKXListPaneGrid, CGXGridWnd)
IMPLEMENT_DYNAMIC(CKXListPaneView, CFormView)

using namespace kxlistpane;

namespace {
KXListChangeGuard g_listChangeGuard = nullptr;
} // namespace

void KXSetListChangeGuard(KXListChangeGuard guard) {
    g_listChangeGuard = guard;
}

BOOL KXListChangeAllowed(CKXListPaneView& pane) {
    return g_listChangeGuard ? g_listChangeGuard(pane) : TRUE;
}

CString KXJoinPropertyTexts(const CStringArray& texts) {
    CString joined;
    for (INT_PTR i = 0; i < texts.GetSize(); ++i) {
        if (texts[i].IsEmpty()) continue;
        if (!joined.IsEmpty()) joined += ";";
        joined += texts[i];
    }
    return joined;
}

bool KXSplitPropertyTexts(const CString& joined, unsigned long flags, std::vector<SKXPropertyText>& out) {
    const std::string text = joined.GetString();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string piece = text.substr(start, end - start);
        start = end + 1;
        if (piece.empty()) continue;
        const size_t eq = piece.find('=');
        if (eq == std::string::npos || eq == 0) return false;
        out.push_back({piece.substr(0, eq).c_str(), piece.substr(eq + 1).c_str(), flags});
    }
    return true;
}

// ------------------------------------------------------------------------------------------------ journal

namespace {
int g_automationDepth = 0;

CString Quoted(const CString& text) { return CKXShareGlobalData::JournalString(text); }
} // namespace

CKXPaneAutomationScope::CKXPaneAutomationScope() { ++g_automationDepth; }
CKXPaneAutomationScope::~CKXPaneAutomationScope() { --g_automationDepth; }
BOOL CKXPaneAutomationScope::IsActive() { return g_automationDepth > 0; }

// ------------------------------------------------------------------------------------------------ call log

void CKXPaneCallLog::Record(const char* op, std::initializer_list<CString> args) {
    CString line = op;
    line += "(";
    bool first = true;
    for (const CString& a : args) {
        if (!first) line += ", ";
        line += a;
        first = false;
    }
    line += ")";
    m_calls.push_back(line);
}

void CKXPaneCallLog::RecordMessage(const char* op, WPARAM wParam, LPARAM lParam) {
    CString w, l;
    w.Format("%llu", static_cast<unsigned long long>(wParam));
    l.Format("%lld", static_cast<long long>(lParam));
    Record(op, {w, l});
}

// ------------------------------------------------------------------------------------------------ list grid

CKXListPaneGrid::CKXListPaneGrid() { SetRowSource(this); }
CKXListPaneGrid::~CKXListPaneGrid() = default;

CString CKXListPaneGrid::GetObjectName(int index) const {
    return index >= 0 && index < GetObjectCount() ? m_names[static_cast<size_t>(index)] : CString();
}

namespace {
// Lists show their objects by name in alphanumeric order ("U2" before "U10"), ignoring case.
bool NameBefore(const CString& a, const CString& b) {
    static const KXSortOptions alphanumeric = [] {
        KXSortOptions opt;
        opt.alpha = false;
        return opt;
    }();
    return KXCompareSortKeys(a.str(), b.str(), alphanumeric) < 0;
}
} // namespace

void CKXListPaneGrid::FillFromDesign(const CDesignContext& design) {
    std::vector<Entry> entries;
    std::vector<ISchemaObject*> keys;
    auto add = [&](ISchemaObject* object) {
        Entry e;
        if (!MakeEntry(design, object, e)) return;
        entries.push_back(std::move(e));
        keys.push_back(object);
    };
    if (IDesign* d = design.design()) {
        if (GetObjectType() == 'I')
            for (IInstance* inst : d->beginInstance()) add(inst);
        else
            for (INet* net : d->beginNet()) add(net);
    }
    SetEntries(std::move(entries), std::move(keys));
}

void CKXListPaneGrid::SetEntries(std::vector<Entry> entries, std::vector<ISchemaObject*> keys) {
    if (!IsInitialized()) Initialize();
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    // Each name's key is made once: the sort's comparisons are then plain byte comparisons.
    std::vector<std::string> sortKeys;
    sortKeys.reserve(entries.size());
    for (const Entry& e : entries) sortKeys.push_back(KXAlphaNumericKey(e.name.str(), false));
    auto before = [&](size_t a, size_t b) { return sortKeys[a] < sortKeys[b]; };
    // A design keeps its objects in the order they were made, often in runs of their name order.
    SortStableRuns(order.begin(), order.end(), before);
    bool second = false;
    for (const Entry& e : entries) second = second || !e.second.IsEmpty();
    m_names.clear();
    m_paths.clear();
    m_seconds.clear();
    m_keys.clear();
    m_listedNames.clear();
    m_names.reserve(order.size());
    m_paths.reserve(order.size());
    m_seconds.reserve(order.size());
    m_keys.reserve(order.size());
    m_listedNames.reserve(order.size());
    for (size_t i : order) {
        Entry& e = entries[i];
        m_names.push_back(std::move(e.name));
        m_paths.push_back(std::move(e.path));
        m_seconds.push_back(std::move(e.second));
        m_keys.push_back(i < keys.size() ? keys[i] : nullptr);
        if (m_keys.back()) m_listedNames[m_keys.back()] = m_names.back();
    }
    BOOL lock = LockUpdate(TRUE);
    SetColCount(second ? 2 : 1);
    SetRowCount(static_cast<ROWCOL>(order.size()));
    // The rows show the list's texts; a value written into a cell from outside gives way to them.
    if (GetData()->GetStoredCellCount() != 0)
        for (ROWCOL r = 1; r <= GetRowCount(); ++r) ShowRow(r);
    LockUpdate(lock);
    m_bInOrder = true;
    m_bFilled = TRUE;
}

int CKXListPaneGrid::FindKeyIndex(ISchemaObject* object) const {
    // The object's row is among the rows of the name it was listed by (a rename since has not moved it).
    auto listed = m_listedNames.find(object);
    if (listed == m_listedNames.end()) return -1;
    auto [first, last] = std::equal_range(m_names.begin(), m_names.end(), listed->second, NameBefore);
    for (auto it = first; it != last; ++it) {
        const size_t i = static_cast<size_t>(it - m_names.begin());
        if (m_keys[i] == object) return static_cast<int>(i);
    }
    return -1;
}

bool CKXListPaneGrid::GetRowValue(ROWCOL nRow, ROWCOL nCol, CString& value) const {
    if (nRow > m_names.size() || nCol > 2) return false;
    value = nCol == 1 ? m_names[nRow - 1] : m_seconds[nRow - 1];
    return true;
}

void CKXListPaneGrid::ShowRow(ROWCOL row) {
    const CGXData* data = GetData();
    const ROWCOL cols = std::min<ROWCOL>(GetColCount(), 2);
    for (ROWCOL c = 1; c <= cols; ++c) {
        const CGXStyle* cell = data->LookupCell(row, c);
        CString value;
        if (cell && cell->GetIncludeValue() && GetRowValue(row, c, value)) SetValueRange(CGXRange(row, c), value);
    }
    RedrawRowCol(CGXRange(row, 1, row, std::max<ROWCOL>(cols, 1)));
}

void CKXListPaneGrid::RemoveIndex(size_t index) {
    const ROWCOL row = static_cast<ROWCOL>(index + 1);
    RemoveRows(row, row, GX_INVALIDATE, gxDo);
    m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(index));
    m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(index));
    m_seconds.erase(m_seconds.begin() + static_cast<std::ptrdiff_t>(index));
    m_listedNames.erase(m_keys[index]);
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(index));
}

void CKXListPaneGrid::InsertEntry(const Entry& entry, ISchemaObject* object) {
    // After the rows of equal names, as a stable sort of the design's objects would put it.
    const size_t index = static_cast<size_t>(
        std::upper_bound(m_names.begin(), m_names.end(), entry.name, NameBefore) - m_names.begin());
    const ROWCOL row = static_cast<ROWCOL>(index + 1);
    const bool hadSelection = !GetParam()->GetRangeList()->IsEmpty();
    if (!entry.second.IsEmpty() && GetColCount() < 2) SetColCount(2);
    m_names.insert(m_names.begin() + static_cast<std::ptrdiff_t>(index), entry.name);
    m_paths.insert(m_paths.begin() + static_cast<std::ptrdiff_t>(index), entry.path);
    m_seconds.insert(m_seconds.begin() + static_cast<std::ptrdiff_t>(index), entry.second);
    m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(index), object);
    m_listedNames[object] = entry.name;
    InsertRows(row, 1, GX_INVALIDATE, gxDo);
    ShowRow(row);
    // A row inserted inside a selected block is not selected with it.
    if (hadSelection) SelectRange(CGXRange().SetRows(row), FALSE);
}

BOOL CKXListPaneGrid::UpdateObject(const CDesignContext& design, ISchemaObject* object) {
    if (!m_bFilled || !m_bInOrder || !IsInitialized()) return FALSE;
    Entry entry;
    const bool listed = MakeEntry(design, object, entry);
    const int at = FindKeyIndex(object);
    if (at >= 0) {
        const size_t i = static_cast<size_t>(at);
        if (listed && (m_names[i] == entry.name || StaysAt(i, entry.name))) {
            // Same place in the order (a rename most often): the row changes where it is.
            if (!entry.second.IsEmpty() && GetColCount() < 2) SetColCount(2);
            m_names[i] = entry.name;
            m_paths[i] = entry.path;
            m_seconds[i] = entry.second;
            m_listedNames[object] = entry.name;
            ShowRow(static_cast<ROWCOL>(i + 1));
            return TRUE;
        }
        RemoveIndex(i);
    }
    if (listed) InsertEntry(entry, object);
    return TRUE;
}

// Whether an entry at index i renamed to name keeps its index: after its neighbour above (equal names
// included) and before the one below, as removing and inserting it again would place it.
bool CKXListPaneGrid::StaysAt(size_t i, const CString& name) const {
    const bool afterAbove = i == 0 || !NameBefore(name, m_names[i - 1]);
    const bool beforeBelow = i + 1 >= m_names.size() || NameBefore(name, m_names[i + 1]);
    return afterAbove && beforeBelow;
}

ROWCOL CKXListPaneGrid::FindObjectRow(LPCTSTR nameOrPath) const {
    CString key = nameOrPath ? nameOrPath : "";
    if (key.IsEmpty()) return GX_INVALID;
    for (size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i] == key || (!m_paths[i].IsEmpty() && m_paths[i] == key)) return static_cast<ROWCOL>(i + 1);
    // A canonical path carries the root design's name in front of the hierarchical path.
    CString path = key;
    int at = key.Find('@');
    if (at > 0) path = key.Mid(at);
    for (size_t i = 0; i < m_paths.size(); ++i)
        if (!m_paths[i].IsEmpty() && m_paths[i] == path) return static_cast<ROWCOL>(i + 1);
    // A path into the object (a bit of a net, a pin of an instance) finds the object.
    for (size_t i = 0; i < m_paths.size(); ++i)
        if (PathCovers(m_paths[i], path)) return static_cast<ROWCOL>(i + 1);
    return GX_INVALID;
}

BOOL CKXListPaneGrid::SelectObject(LPCTSTR nameOrPath, BOOL bSelect) {
    ROWCOL row = FindObjectRow(nameOrPath);
    if (row == GX_INVALID) return FALSE;
    SelectRange(CGXRange().SetRows(row), bSelect);
    if (bSelect) {
        SetCurrentCell(row, 1);
        ScrollCellInView(row, 1);
    }
    return TRUE;
}

void CKXListPaneGrid::RemoveSelection() {
    if (!IsInitialized()) return;
    SelectRange(CGXRange().SetTable(), FALSE);
}

void CKXListPaneGrid::GetSelectedNames(CStringArray& names) {
    names.RemoveAll();
    if (!IsInitialized()) return;
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    for (int i = 0; i < rows.GetSize(); ++i) {
        ROWCOL r = rows[i];
        if (r >= 1 && r <= m_names.size()) names.Add(m_names[r - 1]);
    }
}

void CKXListPaneGrid::ActivateGridWnd() {
    if (!IsInitialized()) Initialize();
    OnActivateGrid(TRUE);
    if (GetSafeHwnd()) SetFocus();
    Record("ActivateGridWnd");
}

BOOL CKXListPaneGrid::OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    if (nRow < 1 || nRow > m_names.size()) return CGXGridWnd::OnLButtonDblClkRowCol(nRow, nCol, nFlags, pt);
    SelectRange(CGXRange().SetTable(), FALSE);
    SelectRange(CGXRange().SetRows(nRow), TRUE);
    SetCurrentCell(nRow, nCol == 0 ? 1 : nCol);
    Showconnectivity(TRUE);
    return TRUE;
}

BOOL CKXListPaneGrid::HighlightRowCol(ROWCOL nRow, ROWCOL nCol) {
    if (!IsInitialized() || nRow < 1 || nRow > GetRowCount() || nCol > GetColCount()) return FALSE;
    SelectRange(CGXRange().SetTable(), FALSE);
    SelectRange(CGXRange().SetRows(nRow), TRUE);
    SetCurrentCell(nRow, nCol == 0 ? 1 : nCol);
    ScrollCellInView(nRow, nCol == 0 ? 1 : nCol);
    return TRUE;
}

void CKXListPaneGrid::OnSelectionFollowUp() { Showconnectivity(TRUE); }

CCommonInterface* CKXListPaneGrid::Details() const { return m_pView ? m_pView->GetDetailsViewPtr() : nullptr; }

CCommonInterface* CKXListPaneGrid::DetailsAndSelection(CStringArray& names) {
    CCommonInterface* details = Details();
    if (!details) return nullptr;
    GetSelectedNames(names);
    return names.GetSize() > 0 ? details : nullptr;
}

const CDesignContext* CKXListPaneGrid::Design() const { return m_pView ? m_pView->GetPaneDesignContext() : nullptr; }

// ------------------------------------------------------------------------------------------------ pane views

CKXListPaneView::CKXListPaneView(UINT nTemplate) : CFormView(nTemplate) {}

CKXListPaneView::~CKXListPaneView() {
    if (m_hRegistered)
        if (IKXMessageServer* server = GetKXMsgSrvr()) server->UnregisterWindow(m_hRegistered);
}

void CKXListPaneView::Subscribe() {
    HWND hwnd = GetSafeHwnd();
    if (!hwnd || hwnd == m_hRegistered) return;
    if (IKXMessageServer* server = GetKXMsgSrvr()) {
        if (server->RegisterWindow(MSG_TRANSACTION_COMMITTED, hwnd)) m_hRegistered = hwnd;
    }
}

void CKXListPaneView::Refill(CKXListPaneGrid* list) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!list || !design || !design->design()) return;
    CStringArray selected;
    list->GetSelectedNames(selected);
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    BOOL hadCurrent = list->IsInitialized() && list->GetCurrentCell(row, col);
    list->FillFromDesign(*design);
    for (INT_PTR i = 0; i < selected.GetSize(); ++i) {
        ROWCOL r = list->FindObjectRow(selected[i]);
        if (r != GX_INVALID) list->SelectRange(CGXRange().SetRows(r), TRUE);
    }
    if (hadCurrent && selected.GetSize() > 0) {
        ROWCOL r = list->FindObjectRow(selected[0]);
        if (r != GX_INVALID) list->SetCurrentCell(r, 1);
    }
}

LRESULT CKXListPaneView::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    const CDesignContext* design = GetPaneDesignContext();
    if (!transaction || !design) return 0;
    // The physical view lists the objects of the whole hierarchy under the names their properties give.
    if (RenamesPhysicalObjects(*transaction)) RefillPhysicalLists();
    if (transaction->design() != design->design()) return 0;
    if (!transaction->modifiesObjectType('N') && !transaction->modifiesObjectType('I')) return 0;
    if (!FollowChanges(*transaction)) FillData();
    return 0;
}

bool CKXListPaneView::RenamesPhysicalObjects(const CTransaction& transaction) const {
    const char* property = PhysicalNameProperty();
    if (!property || !IsPhysicalView() || !transaction.modifiesObjectType('P')) return false;
    for (IChange* change : transaction.beginChange()) {
        const ISchemaObject* object = change ? change->object() : nullptr;
        if (object && object->objectType() == 'P' && CString(object->name()).CompareNoCase(property) == 0) return true;
    }
    return false;
}

namespace {
// Beyond this many changed objects a refill of the lists costs less than following them one by one.
constexpr size_t kMostObjectsFollowed = 64;
} // namespace

bool CKXListPaneView::FollowChanges(CTransaction& transaction) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return false;
    std::vector<CKXListPaneGrid*> lists = GetLists();
    if (lists.empty()) return false;
    std::vector<ISchemaObject*> changed;
    std::unordered_set<ISchemaObject*> seen;
    for (IChange* change : transaction.beginChange()) {
        ISchemaObject* object = change ? change->object() : nullptr;
        if (!object || change->design() != design->design()) continue;
        const char type = change->objectType();
        if ((type != 'N' && type != 'I') || object->objectType() != type) continue;
        if (!seen.insert(object).second) continue;
        if (seen.size() > kMostObjectsFollowed) return false;
        changed.push_back(object);
    }
    // A list that cannot follow object by object is refilled when it is the one shown; a list not shown
    // is filled again when its view is.
    CKXListPaneGrid* shown = GetActiveList();
    for (CKXListPaneGrid* list : lists) {
        if (!list->FollowsObjects()) {
            if (list == shown) return false;
            continue;
        }
        if (!list->GetReadyState()) return false;
    }
    for (ISchemaObject* object : changed) {
        for (CKXListPaneGrid* list : lists)
            if (list->FollowsObjects() && object->objectType() == list->GetObjectType() &&
                !list->UpdateObject(*design, object))
                return false;
        TellDetails(*design, object);
    }
    return true;
}

BOOL CKXListPaneView::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == MSG_TRANSACTION_COMMITTED) {
        LRESULT result = OnTransactionCommitted(wParam, lParam);
        if (pResult) *pResult = result;
        return TRUE;
    }
    return CFormView::OnWndMsg(message, wParam, lParam, pResult);
}

void CKXListPaneView::SetDesignContext(const CDesignContext& design) {
    m_pDesign = std::make_unique<CDesignContext>(design);
}

const CDesignContext* CKXListPaneView::GetPaneDesignContext() const {
    if (m_pDesign) return m_pDesign.get();
    if (auto* doc = dynamic_cast<CKXDocument*>(GetDocument())) return &doc->GetDesignContext();
    return nullptr;
}

BOOL CKXListPaneView::IsPhysicalView() const {
    if (m_nPhysical >= 0) return m_nPhysical;
    if (auto* doc = dynamic_cast<CKXDocument*>(GetDocument())) return static_cast<int>(doc->GetOpenMode()) == 4;
    return FALSE;
}

void CKXListPaneView::PrepareList(CKXListPaneGrid* list, UINT nID) {
    if (list->GetSafeHwnd()) return;
    // A list made before the pane had a window becomes one of the pane's child windows now, so that
    // drops and clicks reach it.
    if (GetSafeHwnd()) {
        CRect rc(0, 0, 100, 100);
        list->Create(WS_CHILD | WS_VISIBLE, rc, this, nID);
    }
    if (!list->IsInitialized()) list->Initialize();
}

void CKXListPaneView::FillData() {}

const CDesignContext* CKXListPaneView::FillLists(CKXListPaneGrid* logical, UINT logicalId, CKXListPaneGrid* physical,
                                                 UINT physicalId) {
    PrepareList(logical, logicalId);
    PrepareList(physical, physicalId);
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return nullptr;
    Subscribe();
    Refill(logical);
    // The physical list is filled when its view is shown: a logical window does not build the
    // physical view of the whole hierarchy to list it unseen.
    if (IsPhysicalView()) Refill(physical);
    return design;
}

void CKXListPaneView::RemoveSelection() {
    if (CKXListPaneGrid* list = GetActiveList()) list->RemoveSelection();
}

void CKXListPaneView::FocusActiveGrid() {
    if (CKXListPaneGrid* list = GetActiveList()) list->ActivateGridWnd();
}

BOOL CKXListPaneView::ActivateGrids() {
    FocusActiveGrid();
    return GetActiveList() != nullptr;
}

void CKXListPaneView::NotifyFrameActivated(BOOL bActivated) {
    Record("NotifyFrameActivated", {bActivated ? CString("1") : CString("0")});
}

void CKXListPaneView::CreateMatrixView() {
    Record("CreateMatrixView");
    if (m_pDetails) m_pDetails->CreateMatrixView();
}

void CKXListPaneView::EditMatrixView() {
    Record("EditMatrixView");
    if (m_pDetails) m_pDetails->EditMatrixView();
}

void CKXListPaneView::OpenMatrixView(int index) {
    CString i;
    i.Format("%d", index);
    Record("OpenMatrixView", {i});
    if (m_pDetails) m_pDetails->OpenMatrixView(index);
}

void CKXListPaneView::OpenMatrixView(CString name) {
    Record("OpenMatrixView", {name});
    if (m_pDetails) m_pDetails->OpenMatrixView(name);
}

int CKXListPaneView::GetMatrixViewCount() {
    CComments* store = CommentStore();
    return store ? static_cast<int>(store->GetMatrixViewData()->Count()) : 0;
}

void CKXListPaneView::SaveAsMatrixView() {
    Record("SaveAsMatrixView");
    if (m_pDetails) m_pDetails->SaveAsMatrixView();
}

void CKXListPaneView::RemoveMatrixView(CString name) {
    Record("RemoveMatrixView", {name});
    if (m_pDetails) m_pDetails->RemoveMatrixView(name);
}

void CKXListPaneView::MarkDocumentModified() {
    if (CDocument* doc = GetDocument()) doc->SetModifiedFlag(TRUE);
}

CString CKXListPaneView::GetJournalHandle() const {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return CString();
    // "lib.cell:view": the handle is the cell.
    CString name = design->name();
    int dot = name.Find('.'), colon = name.Find(':');
    CString cell = dot >= 0 && colon > dot ? name.Mid(dot + 1, colon - dot - 1) : name;
    if (IsPhysicalView()) cell += "_phys";
    return cell;
}

void CKXListPaneView::JournalEdit(const char* title, const char* method, std::initializer_list<CString> texts,
                                  std::initializer_list<long> numbers) {
    if (CKXPaneAutomationScope::IsActive() || !CKXShareGlobalData::IsJournalling()) return;
    CString handle = GetJournalHandle();
    if (handle.IsEmpty()) return;
    CString line;
    line.Format("\n\n ' --- %s ---\n\ncall %s.%s(", title, handle.GetString(), method);
    bool first = true;
    for (const CString& t : texts) {
        if (!first) line += ",";
        line += Quoted(t);
        first = false;
    }
    for (long n : numbers) {
        CString num;
        num.Format("%ld", n);
        if (!first) line += ",";
        line += num;
        first = false;
    }
    line += ")";
    CKXShareGlobalData::AppendToJournal(line);
}

BOOL CKXListPaneView::Select(LPCTSTR nameOrPath) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list) return FALSE;
    if (!list->IsInitialized()) FillData();
    list->RemoveSelection();
    if (!list->SelectObject(nameOrPath, TRUE)) return FALSE;
    list->OnSelectionFollowUp();
    return TRUE;
}

BOOL CKXListPaneView::AddDesignInstance(CString name, CString lib, CString cell, CString view,
                                        const std::vector<SKXPropertyText>& properties) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return FALSE;
    if (design->instance(name.GetString()).instance()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-252", name);
        return FALSE;
    }
    // Every road that places a component comes here: a master the library lacks is refused.
    IServer* server = design->design()->server();
    if (!server || !server->findDesign(lib, cell, view)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-251", lib + "." + cell + ":" + view);
        return FALSE;
    }
    return ChangeDesign("Add Component", [&](CTransaction& t) {
        IInstance* inst = t.createInstance(name, lib, cell, view);
        if (!inst) return false;
        const CInstanceContext added = design->instance(inst->id());
        for (const SKXPropertyText& p : properties)
            if (!t.addProperty(added, p.name, p.value, p.flags)) return false;
        return true;
    });
}

