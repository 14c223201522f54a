#include "kxinstsigpane/KXListPanes.h"

#include "KXListPaneChange.h"
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
IMPLEMENT_DYNAMIC(CKXComponentListGrid, CKXListPaneGrid)
IMPLEMENT_DYNAMIC(CKXInstancePaneGrid, CKXComponentListGrid)
IMPLEMENT_DYNAMIC(CKXSignalPaneGrid, CKXListPaneGrid)
IMPLEMENT_DYNAMIC(CKXPhysPartGrid, CKXComponentListGrid)
IMPLEMENT_DYNAMIC(CKXPhysNetGrid, CKXListPaneGrid)
IMPLEMENT_DYNAMIC(CKXListPaneView, CFormView)
IMPLEMENT_DYNCREATE(CKXInstancePaneContainerView, CKXListPaneView)
IMPLEMENT_DYNCREATE(CKXSignalPaneContainerView, CKXListPaneView)

ROWCOL CKXInstancePaneGrid::m_nInstanceCol = 1;

BEGIN_DISPATCH_MAP(CKXInstancePaneContainerView, CKXListPaneView)
DISP_FUNCTION(CKXInstancePaneContainerView, "Select", Select, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXInstancePaneContainerView, "MarkAsCodesign", MarkComponentsAsCodesign, VT_BOOL, VTS_BSTR VTS_I4)
DISP_FUNCTION(CKXInstancePaneContainerView, "AssignPowerGroup", AssignPowerGroup, VT_BOOL, VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXInstancePaneContainerView, "PreserveComments", PreserveComments, VT_BOOL, VTS_BSTR VTS_BSTR VTS_I4)
END_DISPATCH_MAP()

BEGIN_DISPATCH_MAP(CKXSignalPaneContainerView, CKXListPaneView)
DISP_FUNCTION(CKXSignalPaneContainerView, "Select", Select, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXSignalPaneContainerView, "SelectGroup", SelectGroup, VT_BOOL, VTS_BSTR)
END_DISPATCH_MAP()

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

namespace {

CString NetName(const CNetContext& net) { return net.net() ? CString(net.net()->name()) : CString(); }

constexpr UINT kInstanceListId = 9201, kPhysPartListId = 9202, kSignalListId = 9203, kPhysNetListId = 9204;

// A hierarchical path names the object itself, or a part of it (a bit, a pin) when the next character
// continues the path.
bool PathCovers(const CString& objectPath, const CString& path) {
    if (objectPath.IsEmpty() || path.GetLength() < objectPath.GetLength()) return false;
    if (path.Left(objectPath.GetLength()) != objectPath) return false;
    if (path.GetLength() == objectPath.GetLength()) return true;
    char next = path[objectPath.GetLength()];
    return !std::isalnum(static_cast<unsigned char>(next)) && next != '_';
}

CString Join(const CStringArray& names) {
    CString s;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        if (i) s += ", ";
        s += names[i];
    }
    return s;
}

} // namespace

// ------------------------------------------------------------------------------------------------ journal

namespace {
int g_automationDepth = 0;

CString Quoted(const CString& text) { return CKXShareGlobalData::JournalString(text); }

const char* BlockOptionKeyword(int kind) {
    switch (kind) {
    case 0: return "SUFFIX";
    case 1: return "PREFIX";
    case 2: return "RANGE";
    case 3: return "OPTIMIZED";
    default: return nullptr;
    }
}
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

const CDesignContext* CKXListPaneGrid::Design() const { return m_pView ? m_pView->GetPaneDesignContext() : nullptr; }

// ------------------------------------------------------------------------------------------------ component lists

BOOL CKXComponentListGrid::RenameTableInstance(CString oldName, CString newName) {
    Record("RenameTableInstance", {oldName, newName});
    if (newName.IsEmpty()) return FALSE;
    TellRenamed(oldName, newName); // also when the row followed the rename's commit already
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] != oldName) continue;
        m_names[i] = newName;
        m_bInOrder = false; // the row keeps its place: a refill puts it in order again
        ShowRow(static_cast<ROWCOL>(i + 1));
        return TRUE;
    }
    return FALSE;
}

void CKXComponentListGrid::TellRenamed(const CString& oldName, const CString& newName) {
    // The physical list's rows are parts: the details view follows their reference designators itself.
    if (!IsKindOf(RUNTIME_CLASS(CKXInstancePaneGrid))) return;
    CCommonInterface* details = Details();
    const CDesignContext* design = Design();
    if (!details || !design) return;
    if (IInstance* renamed = design->instance(newName.GetString()).instance()) details->RenameComponent(renamed, oldName);
}

void CKXComponentListGrid::AutoAssignModelToDiscretes() {
    Record("AutoAssignModelToDiscretes");
    // Which model a discrete part takes comes from the host's model library; none is installed here.
    CKXErrorHandler::MessageBoxOk("KXPANE-455");
}

// ------------------------------------------------------------------------------------------------ instances

bool CKXInstancePaneGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    if (!object || object->objectType() != 'I') return false;
    const CInstanceContext inst = design.instance(static_cast<IInstance*>(object));
    if (!inst.instance()) return false;
    entry.name = inst.name();
    entry.path = inst.spath();
    const CString master = inst.instance()->masterName();
    // "lib.cell:view": the cell is between the point and the colon.
    const int dot = master.Find('.'), colon = master.Find(':');
    entry.second = dot >= 0 && colon > dot ? master.Mid(dot + 1, colon - dot - 1) : master;
    return true;
}

BOOL CKXInstancePaneGrid::Showconnectivity(BOOL bForce, BOOL) {
    CCommonInterface* details = Details();
    const CDesignContext* design = Design();
    if (!details || !design) return FALSE;
    CStringArray names;
    GetSelectedNames(names);
    if (names.GetSize() == 0) return FALSE;
    CKXInstanceContextArray instances;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        CInstanceContext inst = design->instance(names[i].GetString());
        if (inst.instance()) instances.Add(inst);
    }
    if (instances.GetSize() == 0) return FALSE;
    details->ShowInstanceConnectivity(*design, &instances, bForce);
    return TRUE;
}

namespace {

// Moves pin comments from one instance key to another; its undo moves them back (and records the
// redo), so undo and redo of a rename in the host keep the comments with the instance.
class CKXMoveCommentsCmd : public CGXCommand {
public:
    CKXMoveCommentsCmd(CKXListPaneView* pane, CString from, CString to, std::vector<CString> pins)
        : m_pPane(pane), m_from(std::move(from)), m_to(std::move(to)), m_pins(std::move(pins)) {
        SetName("Preserve Comments");
    }
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override {
        CComments* store = m_pPane ? m_pPane->CommentStore() : nullptr;
        if (!store) return FALSE;
        // This entry holds the move as it was done: running it takes the comments back.
        store->movePinComments(m_to, m_from, m_pins);
        m_pPane->MarkDocumentModified();
        if (pGrid) pGrid->AddCommand(new CKXMoveCommentsCmd(m_pPane, m_to, m_from, m_pins), ctType);
        return TRUE;
    }

private:
    CKXListPaneView* m_pPane;
    CString m_from, m_to;
    std::vector<CString> m_pins;
};

} // namespace

int CKXInstancePaneGrid::MoveInstanceComments(const CString& first, const CString& second, BOOL bUndo) {
    CComments* store = m_pView ? m_pView->CommentStore() : nullptr;
    if (!store || first.IsEmpty() || second.IsEmpty()) return 0;
    // The comments are the design's: a window that may not change it moves none (the guard says why).
    if (!KXListChangeAllowed(*m_pView)) return 0;
    std::vector<CString> pins;
    const int moved = store->moveInstanceComments(first, second, &pins);
    if (moved == 0) return 0;
    m_pView->MarkDocumentModified();
    if (CCommonInterface* history = m_pView->GetDetailsViewPtr(); history && bUndo)
        history->AddUndoCommand(nullptr, new CKXMoveCommentsCmd(m_pView, first, second, pins), gxDo, 0);
    else if (history)
        history->ForgetRedoSteps();
    // The move is the design's comments changing: a replay makes it again.
    if (auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView))
        pane->JournalCommentMove(first, second, bUndo);
    return moved;
}

BOOL CKXInstancePaneContainerView::PreserveComments(LPCTSTR first, LPCTSTR second, long undo) {
    const CString from = first ? first : "", to = second ? second : "";
    if (m_instanceGrid.MoveInstanceComments(from, to, undo != 0) > 0) return TRUE;
    CKXErrorHandler::MessageBoxOk("KXPANE-562", from, to);
    return FALSE;
}

void CKXInstancePaneContainerView::JournalCommentMove(const CString& first, const CString& second, BOOL bUndo) {
    JournalEdit("Preserve Comments", "Clp().PreserveComments", {first, second}, {bUndo ? 1L : 0L});
}

BOOL CKXInstancePaneGrid::PreserveComments(CString first, CString second) {
    Record("PreserveComments", {first, second});
    return MoveInstanceComments(first, second, FALSE) > 0;
}

BOOL CKXInstancePaneGrid::PreserveCommentsWithUndo(CString first, CString second) {
    Record("PreserveCommentsWithUndo", {first, second});
    return MoveInstanceComments(first, second, TRUE) > 0;
}

BOOL CKXInstancePaneGrid::PasteInstance(WPARAM wParam, LPARAM lParam) {
    CString w, l;
    w.Format("%llu", static_cast<unsigned long long>(wParam));
    l.Format("%lld", static_cast<long long>(lParam));
    Record("PasteInstance", {w, l});
    return PasteComponentItem(static_cast<int>(wParam));
}

namespace {
enum class PinTie { kDone, kRefusedTie, kRefusedRelease };

// Ties one implicit power pin as its row asks. An empty signal releases the instance's own tie, so
// that the pin goes back to its part's net; a pin the instance does not tie itself has nothing to
// release and is left alone (the design is not asked, so no refusal of its is left behind).
// `changed` is set when the design changed.
PinTie TieImplicitPin(CTransaction& t, const IInstance& inst, CKXPowerPinTies& ties, const CImplicitPin& pin,
                      bool& changed) {
    const CKXPowerPinTies::Tie* tie = ties.Find(pin.m_strPinName);
    if (pin.m_strSignal.IsEmpty()) {
        if (!tie || !tie->own) return PinTie::kDone;
        if (!t.removePowerPinNet(&inst, pin.m_strPinName.GetString())) return PinTie::kRefusedRelease;
        ties.Released(pin.m_strPinName);
        changed = true;
        return PinTie::kDone;
    }
    if (tie && tie->net == pin.m_strSignal) return PinTie::kDone;
    if (!t.setPowerPinNet(&inst, pin.m_strPinName.GetString(), pin.m_strSignal.GetString()))
        return PinTie::kRefusedTie;
    ties.Tied(pin.m_strPinName, pin.m_strSignal);
    changed = true;
    return PinTie::kDone;
}
} // namespace

// The implicit power pins of one instance (the first name) take the signals of their rows, in the
// grid transaction that is open: they are part of the edit that typed them. TRUE when a pin was tied
// to another net or released, FALSE when nothing changed, kPowerTieRefused when the design refused a
// pin (message KXPANE-454 for a tie, KXTABLE-250 for a release): the instance's pins tied before it
// are taken back, so the edit can abort.
BOOL CKXInstancePaneGrid::AssignPower(const std::vector<CImplicitPin*>& pins, CStringArray* names) {
    CString count;
    count.Format("%d", static_cast<int>(pins.size()));
    Record("AssignPower", {count, names ? Join(*names) : CString()});
    const CDesignContext* design = Design();
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    if (pins.empty() || !names || names->GetSize() == 0 || !design || !design->design() || !t) return FALSE;
    const IInstance* inst = design->instance(names->GetAt(0).GetString()).instance();
    if (!inst) return FALSE;
    const CTransaction::Mark before = t->mark();
    CKXPowerPinTies ties(*inst);
    bool changed = false;
    for (const CImplicitPin* pin : pins) {
        const PinTie done = pin ? TieImplicitPin(*t, *inst, ties, *pin, changed) : PinTie::kDone;
        if (done == PinTie::kDone) continue;
        t->discardTo(before);
        if (done == PinTie::kRefusedTie)
            CKXErrorHandler::MessageBoxOk("KXPANE-454", pin->m_strSignal);
        else
            CKXErrorHandler::MessageBoxOk("KXTABLE-250", pin->m_strPinName, inst->name());
        return kPowerTieRefused;
    }
    return changed ? TRUE : FALSE;
}

void CKXInstancePaneGrid::SetNamingConventionOnCopy(int convention) {
    CString c;
    c.Format("%d", convention);
    Record("SetNamingConventionOnCopy", {c});
}

BOOL CKXInstancePaneGrid::AddInstance(CString lib, CString cell, CString view, CString name, CStringArray& props1,
                                      CStringArray& props2, int, int, int, CString, CString, int, CString, int) {
    Record("AddInstance", {lib, cell, view, name});
    const CDesignContext* design = Design();
    auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView);
    if (!design || !design->design() || !pane || lib.IsEmpty() || cell.IsEmpty()) return FALSE;
    // A given name goes to the pane as it is: the pane refuses a taken one and says so.
    CString instanceName = name;
    for (int n = 1; name.IsEmpty() && (instanceName.IsEmpty() || design->instance(instanceName).instance());
         ++n)
        instanceName.Format("U%d", n);
    return pane->AddComponent(instanceName, lib, cell, view.IsEmpty() ? CString("sym") : view,
                              KXJoinPropertyTexts(props1), KXJoinPropertyTexts(props2), 1);
}

// ------------------------------------------------------------------------------------------------ signals

namespace {
bool MakeNetEntry(const CDesignContext& design, ISchemaObject* object, CString& name, CString& path) {
    if (!object || object->objectType() != 'N') return false;
    const CNetContext net = design.net(static_cast<INet*>(object));
    if (!net.net()) return false;
    name = NetName(net);
    path = net.spath();
    return true;
}
} // namespace

bool CKXSignalPaneGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    return MakeNetEntry(design, object, entry.name, entry.path);
}

BOOL CKXSignalPaneGrid::Showconnectivity(BOOL bForce, BOOL) {
    CCommonInterface* details = Details();
    const CDesignContext* design = Design();
    if (!details || !design) return FALSE;
    CStringArray names;
    GetSelectedNames(names);
    if (names.GetSize() == 0) return FALSE;
    CKXNetContextArray nets;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        CNetContext net = design->net(names[i].GetString());
        if (net.net()) nets.Add(net);
    }
    if (nets.GetSize() == 0) return FALSE;
    if (m_pView) m_pView->m_bGroupFlag = nets.GetSize() > 1;
    details->ShowNetConnectivity(*design, &nets, bForce);
    return TRUE;
}

BOOL CKXSignalPaneGrid::PasteSignal(WPARAM wParam, LPARAM lParam) {
    CString w, l;
    w.Format("%llu", static_cast<unsigned long long>(wParam));
    l.Format("%lld", static_cast<long long>(lParam));
    Record("PasteSignal", {w, l});
    CKXErrorHandler::MessageBoxOk("KXPANE-178"); // not available
    return FALSE;
}

CString CKXSignalPaneGrid::GetNewAutoName() {
    const CDesignContext* design = Design();
    IDesign* d = design ? design->design() : nullptr;
    CString name;
    // A name that a net already has would join the pins to that net: skip taken names.
    for (int tries = 0; tries < 1000000; ++tries) {
        // The counter never wraps: past its last number no name is made (an empty name connects nothing).
        if (m_nAutoName < 0 || m_nAutoName == std::numeric_limits<int>::max()) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-281", CString(std::to_string(m_nAutoName).c_str()));
            return CString();
        }
        name = ("signal_" + std::to_string(++m_nAutoName)).c_str(); // one name per pin of a run: no formatter
        if (!d || !d->findNet(name.GetString())) break;
    }
    return name;
}

// ------------------------------------------------------------------------------------------------ physical

bool CKXPhysPartGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    if (!object || object->objectType() != 'I') return false;
    const CInstanceContext inst = design.instance(static_cast<IInstance*>(object));
    if (!inst.instance() || !inst.instance()->physicalPackageName()) return false;
    entry.name = inst.name();
    entry.path = inst.spath();
    return true;
}

BOOL CKXPhysPartGrid::Showconnectivity(BOOL bForce, BOOL) {
    CCommonInterface* details = Details();
    const CDesignContext* design = Design();
    if (!details || !design) return FALSE;
    CStringArray names;
    GetSelectedNames(names);
    if (names.GetSize() == 0) return FALSE;
    CStringList list;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) list.AddTail(names[i]);
    details->ShowComponentsByName(*design, &list, bForce);
    return TRUE;
}

BOOL CKXPhysPartGrid::PasteInstance(WPARAM wParam, LPARAM lParam) {
    CString w, l;
    w.Format("%llu", static_cast<unsigned long long>(wParam));
    l.Format("%lld", static_cast<long long>(lParam));
    Record("PasteInstance", {w, l});
    return PasteComponentItem(static_cast<int>(wParam));
}

bool CKXPhysNetGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    return MakeNetEntry(design, object, entry.name, entry.path);
}

BOOL CKXPhysNetGrid::Showconnectivity(BOOL bForce, BOOL) {
    CCommonInterface* details = Details();
    if (!details) return FALSE;
    CStringArray names;
    GetSelectedNames(names);
    if (names.GetSize() == 0) return FALSE;
    CStringList list;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) list.AddTail(names[i]);
    details->ShowNetsByName(&list, bForce);
    return TRUE;
}

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
    if (!transaction || !design || transaction->design() != design->design()) return 0;
    if (!transaction->modifiesObjectType('N') && !transaction->modifiesObjectType('I')) return 0;
    if (!FollowChanges(*transaction)) FillData();
    return 0;
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

// ------------------------------------------------------------------------------------------------ component pane

CKXInstancePaneContainerView::CKXInstancePaneContainerView() : CKXListPaneView(9002) {
    EnableAutomation();
    m_instanceGrid.SetPaneView(this);
    m_physPartGrid.SetPaneView(this);
}

CKXInstancePaneContainerView::~CKXInstancePaneContainerView() = default;

CKXListPaneGrid* CKXInstancePaneContainerView::GetActiveList() {
    return IsPhysicalView() ? static_cast<CKXListPaneGrid*>(&m_physPartGrid) : &m_instanceGrid;
}

void CKXInstancePaneContainerView::FillData() {
    const CDesignContext* design = FillLists(&m_instanceGrid, kInstanceListId, &m_physPartGrid, kPhysPartListId);
    if (!design) return;
    // The connectivity pane keeps ids for the objects it may be asked to show.
    if (CCommonInterface* details = GetDetailsViewPtr()) {
        for (const CInstanceContext& inst : design->instances()) {
            details->AddComponentById(inst.instance());
            if (inst.instance() && inst.instance()->physicalPackageName())
                details->AddComponent(inst.instance(), inst.name());
        }
    }
}

void CKXInstancePaneContainerView::TellDetails(const CDesignContext& design, ISchemaObject* object) {
    CCommonInterface* details = GetDetailsViewPtr();
    if (!details || !object || object->objectType() != 'I') return;
    const CInstanceContext inst = design.instance(static_cast<IInstance*>(object));
    if (!inst.instance()) return;
    details->AddComponentById(inst.instance());
    if (inst.instance()->physicalPackageName()) details->AddComponent(inst.instance(), inst.name());
}

void CKXInstancePaneContainerView::LaunchCreateBlock() {
    Record("LaunchCreateBlock");
    // A new block is a new schematic of the library, made by the host's block creation, which is not
    // installed here; an existing schematic is placed as a block with AddBlock.
    CKXErrorHandler::MessageBoxOk("KXPANE-456");
}

BOOL CKXInstancePaneContainerView::CanExportInterface() {
    const CDesignContext* design = GetPaneDesignContext();
    return design && design->design() && !IsPhysicalView();
}

// An import edits the design: a window opened for looking only (in its parent's context) takes none.
BOOL CKXInstancePaneContainerView::CanImportInterface() {
    const auto* doc = dynamic_cast<CKXDocument*>(GetDocument());
    return CanExportInterface() && !(doc && doc->GetOpenMode() == eOpenModeContext);
}

// ------------------------------------------------------------------ block options and reference designators

namespace {

// The packaging option of a block instance: the option's keyword and, where it takes one, its value.
constexpr const char* kPackagingOption = "PACKAGING_OPTION";
constexpr const char* kPackagingValue = "PACKAGING_VALUE";
// The reference designator of a component.
constexpr const char* kRefDes = "LOCATION";

bool SetOrRemove(CTransaction& t, const CInstanceContext& inst, const char* name, const CString& value) {
    if (!value.IsEmpty()) return t.addProperty(inst, name, value);
    CPQPropertyData* had = inst.findProperty(name);
    const bool present = had != nullptr;
    delete had;
    return !present || t.removeProperty(inst, name);
}

// "LIB.CELL:VIEW" (or "LIB.CELL", the view then empty) split into its parts; false when malformed.
bool SplitMaster(const CString& master, CString& lib, CString& cell, CString& view) {
    const int dot = master.Find('.');
    if (dot <= 0) return false;
    const int colon = master.Find(':', dot + 1);
    lib = master.Left(dot);
    cell = colon < 0 ? master.Mid(dot + 1) : master.Mid(dot + 1, colon - dot - 1);
    view = colon < 0 ? CString() : master.Mid(colon + 1);
    return !cell.IsEmpty() && (colon < 0 || !view.IsEmpty());
}

} // namespace

BOOL CKXInstancePaneContainerView::Refuse(const char* id, const CString& what) {
    CKXErrorHandler::MessageBoxOk(id, what);
    return FALSE;
}

CInstanceContext CKXInstancePaneContainerView::NamedOrSelectedInstance(const CString& name) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return CInstanceContext();
    CString wanted = name;
    if (wanted.IsEmpty()) {
        CStringArray selected;
        m_instanceGrid.GetSelectedNames(selected);
        if (selected.GetSize() != 1) return CInstanceContext();
        wanted = selected[0];
    }
    return design->instance(wanted.GetString());
}

BOOL CKXInstancePaneContainerView::SetBlockOption(const CInstanceContext& block, const char* keyword,
                                                   const CString& value) {
    return ChangeDesign("Change Block Option", [&](CTransaction& t) {
        return SetOrRemove(t, block, kPackagingOption, keyword) && SetOrRemove(t, block, kPackagingValue, value);
    });
}

BOOL CKXInstancePaneContainerView::EditBlkPackagingOptions(int kind, CString value, CString third, CString t4,
                                                           CString t5, CString t6, CString t7) {
    CString k;
    k.Format("%d", kind);
    Record("EditBlkPackagingOptions", {k, value, third, t4, t5, t6, t7});
    const char* keyword = BlockOptionKeyword(kind);
    if (!keyword) return FALSE;
    // The block is named by the third text, or is the one selected in the component list.
    CInstanceContext block = NamedOrSelectedInstance(third);
    if (!block.instance() || !block.instance()->containedDesign())
        return Refuse("KXPANE-250", third.IsEmpty() ? CString("(the selection)") : third);
    if (!SetBlockOption(block, keyword, value)) return FALSE;
    JournalEdit("Change Block Option", "ChangeBlkOption", {keyword, value, third, t4, t5, t6, t7});
    return TRUE;
}

BOOL CKXInstancePaneContainerView::AddComponent(CString name, CString lib, CString cell, CString view, CString fifth,
                                                CString sixth, int seventh) {
    CString s;
    s.Format("%d", seventh);
    Record("AddComponent", {name, lib, cell, view, fifth, sixth, s});
    if (name.IsEmpty() || lib.IsEmpty() || cell.IsEmpty()) return FALSE;
    // The fifth and sixth texts are the new component's properties, "NAME=VALUE" joined by ";": the
    // fifth's are the part's own (source 1), the sixth's the others.
    std::vector<SKXPropertyText> properties;
    if (!KXSplitPropertyTexts(fifth, 1, properties) || !KXSplitPropertyTexts(sixth, 0, properties))
        return Refuse("KXPANE-290", fifth.IsEmpty() ? sixth : fifth);
    // A new part takes no designator that another part has, or that one an undo can bring back has.
    const CDesignContext* design = GetPaneDesignContext();
    for (const SKXPropertyText& p : properties)
        if (p.name.CompareNoCase(kRefDes) == 0 && design &&
            CKXAssocCompAPI::IsDesignatorTaken(design->design(), p.value))
            return Refuse("KXPANE-491", p.value);
    if (!AddDesignInstance(name, lib, cell, view.IsEmpty() ? CString("sym") : view, properties)) return FALSE;
    JournalEdit("Add Component", "AddComponent", {name, lib, cell, view, fifth, sixth}, {seventh});
    return TRUE;
}

// A block instance a1 of the schematic a2.a3 (view a6, "sch" when empty) with its packaging option.
BOOL CKXInstancePaneContainerView::AddBlock(CString a1, CString a2, CString a3, int kind, CString a5, CString a6,
                                            int flag, CString t8, CString t9, CString t10, int i11, int i12) {
    CString k, f, x, y;
    k.Format("%d", kind);
    f.Format("%d", flag);
    x.Format("%d", i11);
    y.Format("%d", i12);
    Record("AddBlock", {a1, a2, a3, k, a5, a6, f, t8, t9, t10, x, y});
    const char* keyword = BlockOptionKeyword(kind);
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    if (!keyword || !d || a1.IsEmpty()) return FALSE;
    const CString view = a6.IsEmpty() ? CString("sch") : a6;
    IServer* server = d->server();
    IDesign* master = server ? server->findDesign(a2, a3, view) : nullptr;
    if (!master || master->isSymbol()) return Refuse("KXPANE-251", a2 + "." + a3 + ":" + view);
    if (design->instance(a1.GetString()).instance()) return Refuse("KXPANE-252", a1);
    const BOOL added = ChangeDesign("Add Block", [&](CTransaction& t) {
        IInstance* inst = t.createInstance(a1, a2, a3, view);
        if (!inst) return false;
        const CInstanceContext block = design->instance(inst->id());
        return SetOrRemove(t, block, kPackagingOption, keyword) && SetOrRemove(t, block, kPackagingValue, a5);
    });
    if (!added) return FALSE;
    JournalEdit("Add Block", "AddBlock", {a1, a2, a3, keyword, a5, a6, flag ? "TRUE" : "FALSE", t8, t9, t10},
                {i11, i12});
    return TRUE;
}

// The component `first` gets the master `second` ("LIB.CELL:VIEW"; the view kept when left out).
BOOL CKXInstancePaneContainerView::Modify(CString first, CString second) {
    Record("Modify", {first, second});
    CInstanceContext inst = NamedOrSelectedInstance(first);
    if (!inst.instance()) return Refuse("KXPANE-250", first);
    CString lib, cell, view;
    if (!SplitMaster(second, lib, cell, view)) return Refuse("KXPANE-251", second);
    if (view.IsEmpty()) view = inst.instance()->viewName();
    IInstance* object = inst.instance();
    IServer* server = object->design() ? object->design()->server() : nullptr;
    if (!server || !server->findDesign(lib, cell, view)) return Refuse("KXPANE-251", lib + "." + cell + ":" + view);
    if (!ChangeDesign("Modify Component",
                      [&](CTransaction& t) { return t.replaceMaster(object, lib, cell, view); }))
        return FALSE;
    JournalEdit("Modify Component", "ModifyComponent", {first, second});
    return TRUE;
}

// The reference designators of the components selected in the component list are removed.
BOOL CKXInstancePaneContainerView::DeleteRefDes() {
    Record("DeleteRefDes");
    const CDesignContext* design = GetPaneDesignContext();
    CStringArray selected;
    m_instanceGrid.GetSelectedNames(selected);
    std::vector<CInstanceContext> targets;
    for (INT_PTR i = 0; design && i < selected.GetSize(); ++i) {
        CInstanceContext inst = design->instance(selected[i].GetString());
        if (inst.instance() && inst.instance()->physicalPackageName()) targets.push_back(inst);
    }
    if (targets.empty()) return Refuse("KXPANE-253", Join(selected));
    if (!ChangeDesign("Delete RefDes", [&](CTransaction& t) {
            for (const CInstanceContext& inst : targets)
                if (!t.removeProperty(inst, kRefDes)) return false;
            return true;
        }))
        return FALSE;
    // The journal names the components: one selection and one call for each.
    for (const CInstanceContext& inst : targets) {
        JournalEdit("Select Component", "Clp().Select", {inst.name()});
        JournalEdit("Delete RefDes", "DeleteRefDes", {});
    }
    return TRUE;
}

// The component `first` (the selected one when empty) gets the reference designator `second`.
BOOL CKXInstancePaneContainerView::EditRefDes(CString first, CString second) {
    Record("EditRefDes", {first, second});
    CInstanceContext inst = NamedOrSelectedInstance(first);
    CString refDes = second;
    refDes.Trim();
    if (!inst.instance()) return Refuse("KXPANE-250", first);
    if (refDes.IsEmpty()) return Refuse("KXPANE-253", first);
    // A placed part's designator may be shared by the sections of one part; an associated component's is
    // its own.
    const CDesignContext* design = GetPaneDesignContext();
    if (design && CKXAssocCompAPI::IsAssociatedDesignator(design->design(), refDes))
        return Refuse("KXPANE-491", refDes);
    if (!ChangeDesign("Edit RefDes", [&](CTransaction& t) { return t.addProperty(inst, kRefDes, refDes); }))
        return FALSE;
    JournalEdit("Edit RefDes", "EditRefDes", {first, second});
    return TRUE;
}

BOOL CKXInstancePaneContainerView::RenameComponent(CString oldName, CString newName) {
    Record("RenameComponent", {oldName, newName});
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || newName.IsEmpty()) return FALSE;
    CInstanceContext inst = design->instance(oldName.GetString());
    if (!inst.instance()) return FALSE;
    IInstance* object = inst.instance();
    return ChangeDesign("Rename Component", [&](CTransaction& t) { return t.renameInstance(object, newName); });
}

BOOL CKXInstancePaneContainerView::DeleteComponent(CString name) {
    Record("DeleteComponent", {name});
    const CDesignContext* design = GetPaneDesignContext();
    if (!design) return FALSE;
    CInstanceContext inst = design->instance(name.GetString());
    if (!inst.instance()) return FALSE;
    IInstance* object = inst.instance();
    return ChangeDesign("Delete Component", [&](CTransaction& t) { return t.removeInstance(object); });
}

void CKXInstancePaneContainerView::ShowInstanceConnectivity(const CDesignContext&, CKXInstanceContextArray* instances,
                                                            BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !instances) return;
    list->RemoveSelection();
    for (INT_PTR i = 0; i < instances->GetSize(); ++i) list->SelectObject((*instances)[i].name(), TRUE);
}

void CKXInstancePaneContainerView::ShowComponentsByName(const CDesignContext&, CStringList* names, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !names) return;
    list->RemoveSelection();
    for (POSITION pos = names->GetHeadPosition(); pos;) list->SelectObject(names->GetNext(pos), TRUE);
}

void CKXInstancePaneContainerView::HighlightObject(CKXHiliteObject* object) {
    if (!object) return;
    CKXListPaneGrid* list = GetActiveList();
    if (list) list->SelectObject(object->GetObjectPath(), object->IsHilite());
}

// ------------------------------------------------------------------------------------------------ signal pane

CKXSignalPaneContainerView::CKXSignalPaneContainerView() : CKXListPaneView(9003) {
    EnableAutomation();
    m_signalGrid.SetPaneView(this);
    m_physNetGrid.SetPaneView(this);
}

CKXSignalPaneContainerView::~CKXSignalPaneContainerView() = default;

CKXListPaneGrid* CKXSignalPaneContainerView::GetActiveList() {
    return IsPhysicalView() ? static_cast<CKXListPaneGrid*>(&m_physNetGrid) : &m_signalGrid;
}

void CKXSignalPaneContainerView::FillData() {
    const CDesignContext* design = FillLists(&m_signalGrid, kSignalListId, &m_physNetGrid, kPhysNetListId);
    if (!design) return;
    if (CCommonInterface* details = GetDetailsViewPtr()) {
        // All at once: the details view merges them into its sorted lists.
        const std::vector<CNetContext> nets = design->nets();
        if (IsPhysicalView())
            for (const CNetContext& net : nets) details->AddNetName(NetName(net));
        std::vector<INet*> all;
        all.reserve(nets.size());
        for (const CNetContext& net : nets) all.push_back(net.net());
        details->AddNets(all);
    }
}

void CKXSignalPaneContainerView::TellDetails(const CDesignContext& design, ISchemaObject* object) {
    CCommonInterface* details = GetDetailsViewPtr();
    if (!details || !object || object->objectType() != 'N') return;
    const CNetContext net = design.net(static_cast<INet*>(object));
    if (!net.net()) return;
    details->AddNet(net.net());
    if (IsPhysicalView()) details->AddNetName(NetName(net));
}

void CKXSignalPaneContainerView::ShowDPSignals(CString flag) {
    CString f = flag;
    f.Trim();
    m_bShowDPSignals = !(f == "0" || f.CompareNoCase("false") == 0 || f.CompareNoCase("off") == 0);
    Record("ShowDPSignals", {flag});
}

void CKXSignalPaneContainerView::ShowNetConnectivity(WPARAM wParam, LPARAM lParam) {
    CString w, l;
    w.Format("%llu", static_cast<unsigned long long>(wParam));
    l.Format("%lld", static_cast<long long>(lParam));
    Record("ShowNetConnectivity", {w, l});
    GetActiveList()->Showconnectivity(TRUE);
}

BOOL CKXSignalPaneContainerView::AddSignal(CString name, CString second, CString third, CString fourth) {
    Record("AddSignal", {name, second, third, fourth});
    CString n = name;
    n.Trim();
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    if (n.IsEmpty() || (d && d->findNet(n.GetString()))) {
        CKXErrorHandler::MessageBoxOk(n.IsEmpty() ? "KXPANE-492" : "KXPANE-521", n);
        return FALSE;
    }
    BOOL added = ChangeDesign("Add Signal", [&](CTransaction& t) {
        INet* net = t.createNet(n, static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        return net && t.addNet(net);
    });
    if (added) {
        if (fourth.IsEmpty())
            JournalEdit("Add Signal", "AddSignal", {name, second, third});
        else
            JournalEdit("Add Signal", "AddSignal", {name, second, third, fourth});
    }
    return added;
}

BOOL CKXSignalPaneContainerView::AliasNets(CString first, CString second, CString third, CString fourth) {
    Record("AliasNets", {first, second, third, fourth});
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    INet* a = d ? d->findNet(first.GetString()) : nullptr;
    INet* b = d ? d->findNet(second.GetString()) : nullptr;
    if (!a || !b || a == b) return FALSE;
    if (!ChangeDesign("Alias Nets", [&](CTransaction& t) { return t.addAlias(a, b); })) return FALSE;
    JournalEdit("Alias Nets", "AliasNets", {first, second, third, fourth});
    return TRUE;
}

BOOL CKXSignalPaneContainerView::DeleteAlias(CString first, CString second) {
    Record("DeleteAlias", {first, second});
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    INet* a = d ? d->findNet(first.GetString()) : nullptr;
    INet* b = d ? d->findNet(second.GetString()) : nullptr;
    if (!a || !b) return FALSE;
    CAlias* alias = nullptr;
    for (CAlias* candidate : a->beginAlias())
        if (candidate && ((candidate->first() == a && candidate->second() == b) ||
                          (candidate->first() == b && candidate->second() == a)))
            alias = candidate;
    if (!alias) return FALSE;
    if (!ChangeDesign("Delete Alias", [&](CTransaction& t) { return t.removeAlias(alias); })) return FALSE;
    JournalEdit("Delete Alias", "DeleteAlias", {first, second});
    return TRUE;
}

BOOL CKXSignalPaneContainerView::RenameSignal(CString oldName, CString newName) {
    Record("RenameSignal", {oldName, newName});
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    INet* net = d ? d->findNet(oldName.GetString()) : nullptr;
    if (!net || newName.IsEmpty()) return FALSE;
    return ChangeDesign("Rename Signal", [&](CTransaction& t) { return t.renameNet(net, newName); });
}

void CKXSignalPaneContainerView::ShowNetConnectivity(const CDesignContext&, CKXNetContextArray* nets, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !nets) return;
    list->RemoveSelection();
    m_bGroupFlag = nets->GetSize() > 1;
    for (INT_PTR i = 0; i < nets->GetSize(); ++i) list->SelectObject(NetName((*nets)[i]), TRUE);
}

void CKXSignalPaneContainerView::ShowNetBitConnectivity(const CDesignContext&, CKXNetBitContextArray* netBits, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !netBits) return;
    list->RemoveSelection();
    m_bGroupFlag = netBits->GetSize() > 1;
    for (INT_PTR i = 0; i < netBits->GetSize(); ++i) list->SelectObject((*netBits)[i].spath(), TRUE);
}

BOOL CKXSignalPaneContainerView::Select(LPCTSTR nameOrPath) {
    if (CKXListPaneView::Select(nameOrPath)) return TRUE;
    const CDesignContext* design = GetPaneDesignContext();
    CCommonInterface* details = GetDetailsViewPtr();
    if (!design || !details || !nameOrPath) return FALSE;
    const CNetBitContext bit = NamedNetBit(*design, nameOrPath);
    if (!bit.net() || bit.bit() < 0) return FALSE;
    CKXNetBitContextArray bits;
    bits.Add(bit);
    details->ShowNetBitConnectivity(*design, &bits, TRUE);
    return TRUE;
}

CNetBitContext CKXSignalPaneContainerView::NamedNetBit(const CDesignContext& design,
                                                       const CString& name) const {
    const CNetContext whole = design.net(name.GetString());
    if (whole.net()) return whole.bitContext(-1);
    CString base;
    int lsb = -1, msb = -1;
    if (!CSchemaUtilities::parsePinName(name.GetString(), base, lsb, msb) || lsb != msb || lsb < 0) return {};
    const CNetContext net = design.net(base.GetString());
    const INet* bus = net.net();
    if (!bus || bus->isScalar() || lsb < std::min(bus->msb(), bus->lsb()) ||
        lsb > std::max(bus->msb(), bus->lsb()))
        return {};
    return net.bitContext(lsb);
}

BOOL CKXSignalPaneContainerView::SelectGroup(LPCTSTR names) {
    const CDesignContext* design = GetPaneDesignContext();
    CCommonInterface* details = GetDetailsViewPtr();
    if (!design || !details || !names) return FALSE;
    CKXNetBitContextArray bits;
    bool anyBit = false;
    std::istringstream words(names);
    for (std::string word; words >> word;) {
        const CNetBitContext bit = NamedNetBit(*design, CString(word.c_str()));
        if (!bit.net()) return FALSE;
        anyBit = anyBit || bit.bit() >= 0;
        bits.Add(bit);
    }
    if (bits.GetSize() == 0) return FALSE;
    CKXListPaneGrid* list = GetActiveList();
    if (list) list->RemoveSelection();
    m_bGroupFlag = bits.GetSize() > 1;
    if (!anyBit) {
        // Whole nets go as the list's selection, as the user's selection of several does.
        CKXNetContextArray nets;
        for (INT_PTR i = 0; i < bits.GetSize(); ++i) {
            if (list) list->SelectObject(bits[i].net()->name(), TRUE);
            nets.Add(design->net(bits[i].net()->name()));
        }
        details->ShowNetConnectivity(*design, &nets, TRUE);
        return TRUE;
    }
    details->ShowNetBitConnectivity(*design, &bits, TRUE);
    return TRUE;
}

void CKXSignalPaneContainerView::ShowNetsByName(CStringList* names, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !names) return;
    list->RemoveSelection();
    m_bGroupFlag = names->GetCount() > 1;
    for (POSITION pos = names->GetHeadPosition(); pos;) list->SelectObject(names->GetNext(pos), TRUE);
}

void CKXSignalPaneContainerView::HighlightObject(CKXHiliteObject* object) {
    if (!object) return;
    CKXListPaneGrid* list = GetActiveList();
    if (list) list->SelectObject(object->GetObjectPath(), object->IsHilite());
}
