// What the connectivity pane shows: its title, the name and id registry of the
// objects the list panes give by name, the component windows (pin grids) and
// the walks that keep the shown grids in step.
#include "pane/KXBottomPaneContainerView.h"

#include "afx/afxcoll.h"
#include "grid/KXGridScopes.h"
#include "grid/KXProjectReader.h"
#include "grid/KXPupdMark.h"
#include "matrix/KXMatrixGridIds.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/context.h"
#include "rmx/schema.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

const char* CKXBottomPaneContainerView::HintText() {
    return "Double-click on an instance (in the Component List Pane)  or a signal (in the Signal List Pane) "
           "to "
           "see its connectivity.";
}

EOpenMode CKXBottomPaneContainerView::GetViewMode() const {
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    return doc ? doc->GetOpenMode() : eOpenModeContext;
}

CDesignContext CKXBottomPaneContainerView::PaneDesign() const {
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    return doc ? doc->GetDesignContext() : CDesignContext();
}

CDesignContext CKXBottomPaneContainerView::PaneMasterDesign() const {
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    return doc ? doc->GetMasterDesignContext() : CDesignContext();
}

// ------------------------------------------------------------------ title

void CKXBottomPaneContainerView::SetPaneTitle(UINT kind) {
    m_bHintVisible = FALSE;
    const EOpenMode mode = GetViewMode();
    CString title;
    if (kind == kShowsComponents) {
        m_bInfoVisible = TRUE;
        if (mode == eOpenModePhysical) {
            title = "Physical Part Connectivity Details";
            ShowAttachSignalControls(FALSE);
        } else if (m_bMatrixFlag) {
            title = "Matrix Connectivity View - " + m_strMatrixViewName;
            ShowAttachSignalControls(FALSE);
        } else {
            title = "Component Connectivity Details";
            ShowAttachSignalControls(TRUE);
        }
    } else if (kind == kShowsSignals) {
        m_bInfoVisible = TRUE;
        title = mode == eOpenModePhysical ? "Physical Net Connectivity Details" : "Signal Connectivity Details";
        ShowAttachSignalControls(FALSE);
    }
    if (!title.IsEmpty()) m_ShortcutBar.RenameBar(0, title);
    m_nShownKind = static_cast<int>(kind);
}

// ------------------------------------------------------------------ registry

void CKXBottomPaneContainerView::AddComponent(IInstance* instance, CString cellName) {
    (void)cellName;
    if (instance && instance->name()) AddComponentNamed(instance->name());
}

void CKXBottomPaneContainerView::AddComponentNamed(const CString& name) {
    if (name.IsEmpty() || m_compNameToId.count(name.str())) return;
    const int id = ++m_nLastCompId;
    m_compNameToId[name.str()] = id;
    m_compIdToName[id] = name;
}

void CKXBottomPaneContainerView::AddNetName(CString name) {
    if (name.IsEmpty() || m_netNameToId.count(name.str())) return;
    const int id = ++m_nLastNetId;
    m_netNameToId[name.str()] = id;
    m_netIdToName[id] = name;
}

void CKXBottomPaneContainerView::AddOrUpdateComponent(IInstance* instance, CString cellName) {
    if (!instance || !instance->name() || !*instance->name()) return;
    if (m_compNameToId.count(instance->name())) return; // the physical part grids take the path list later
    AddComponent(instance, cellName);
}

void CKXBottomPaneContainerView::RemoveComponent(CString name) {
    auto it = m_compNameToId.find(name.str());
    if (name.IsEmpty() || it == m_compNameToId.end()) return;
    const int id = it->second;
    m_compNameToId.erase(it);
    m_compIdToName.erase(id);
    // The component's window goes with it.
    CloseComponentWindow(static_cast<UINT>(id));
}

void CKXBottomPaneContainerView::RemoveNet(CString name) {
    auto it = m_netNameToId.find(name.str());
    if (name.IsEmpty() || it == m_netNameToId.end()) return;
    m_netIdToName.erase(it->second);
    m_netNameToId.erase(it);
}

void CKXBottomPaneContainerView::RenameNet(INet* net, CString oldName) {
    if (!net || !net->name() || !*net->name()) return;
    auto it = m_netNameToId.find(oldName.str());
    if (it == m_netNameToId.end()) return;
    const int id = it->second;
    m_netNameToId.erase(it);
    m_netNameToId[net->name()] = id;
    m_netIdToName[id] = net->name();
    RenameObjectInInfo(net->id(), 1, net->name());
}

int CKXBottomPaneContainerView::GetComponentId(const CString& name) const {
    auto it = m_compNameToId.find(name.str());
    return it == m_compNameToId.end() ? -1 : it->second;
}

int CKXBottomPaneContainerView::GetNetId(const CString& name) const {
    auto it = m_netNameToId.find(name.str());
    return it == m_netNameToId.end() ? -1 : it->second;
}

CString CKXBottomPaneContainerView::GetComponentName(int id) const {
    auto it = m_compIdToName.find(id);
    return it == m_compIdToName.end() ? CString() : it->second;
}

CString CKXBottomPaneContainerView::GetNetName(int id) const {
    auto it = m_netIdToName.find(id);
    return it == m_netIdToName.end() ? CString() : it->second;
}

// ------------------------------------------------------------------ key lists

CKXBottomPaneContainerView::ObjectKey CKXBottomPaneContainerView::NetBitKey(unsigned netId, int bit) {
    return ((static_cast<ObjectKey>(netId) + 1) << 32) | static_cast<std::uint32_t>(bit);
}

void CKXBottomPaneContainerView::DecodeNetKey(ObjectKey key, unsigned& netId, int& bit) {
    const ObjectKey high = key >> 32;
    if (high == 0) {
        netId = static_cast<unsigned>(key);
        bit = -1;
    } else {
        netId = static_cast<unsigned>(high - 1);
        bit = static_cast<int>(static_cast<std::uint32_t>(key));
    }
}

std::vector<CKXBottomPaneContainerView::ObjectKey> CKXBottomPaneContainerView::ParseKeyList(const CString& keys) {
    std::vector<ObjectKey> ids;
    const std::string text = keys.str();
    size_t start = 0;
    while (start <= text.size()) {
        size_t colon = text.find(':', start);
        if (colon == std::string::npos) colon = text.size();
        const std::string piece = text.substr(start, colon - start);
        const bool digits = !piece.empty() && piece.size() <= 20 &&
                            piece.find_first_not_of("0123456789") == std::string::npos;
        if (digits) {
            errno = 0;
            const unsigned long long v = std::strtoull(piece.c_str(), nullptr, 10);
            if (errno == 0) ids.push_back(static_cast<ObjectKey>(v));
        }
        start = colon + 1;
    }
    return ids;
}

CString CKXBottomPaneContainerView::MakeKeyList(const std::vector<ObjectKey>& ids) {
    std::string keys;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i) keys += ':';
        keys += std::to_string(ids[i]);
    }
    return keys.c_str();
}

// ------------------------------------------------------------------ show requests

namespace {

// A show request leaves the keyboard with the window that asked: the application's active window and
// the focus are given back as they were (a window destroyed meanwhile is left alone).
class CKXFocusKeeper {
public:
    CKXFocusKeeper() {
        CWnd* active = CWnd::GetActiveWindow();
        CWnd* focus = CWnd::GetFocus();
        m_hActive = active ? active->GetSafeHwnd() : nullptr;
        m_hFocus = focus ? focus->GetSafeHwnd() : nullptr;
    }
    ~CKXFocusKeeper() {
        if (m_hActive && ::IsWindow(m_hActive))
            if (CWnd* active = CWnd::FromHandle(m_hActive)) active->SetActiveWindow();
        if (m_hFocus && ::IsWindow(m_hFocus))
            if (CWnd* focus = CWnd::FromHandle(m_hFocus)) focus->SetFocus();
    }
    CKXFocusKeeper(const CKXFocusKeeper&) = delete;
    CKXFocusKeeper& operator=(const CKXFocusKeeper&) = delete;

private:
    HWND m_hActive = nullptr;
    HWND m_hFocus = nullptr;
};

// The physical nets a logical net bit belongs to: its own, or each bit's of a whole bus.
void AddPhysNetNames(const CNetBitContext& bit, std::vector<CString>& names) {
    const INet* net = bit.net();
    if (!net) return;
    if (net->isScalar() || bit.bit() != -1) {
        names.push_back(bit.physicalNetName());
        return;
    }
    const CNetContext whole = bit.netContext();
    for (int b : net->bits()) names.push_back(whole.bitContext(b).physicalNetName());
}

} // namespace

void CKXBottomPaneContainerView::ShowInstanceConnectivity(const CDesignContext&,
                                                          CKXInstanceContextArray* instances, BOOL bForce) {
    if (!bForce && !(IsShowingComponents() && !m_bMatrixFlag)) return;
    SetPaneTitle(kShowsComponents);
    const CKXFocusKeeper keeper;
    std::vector<ObjectKey> keys;
    std::vector<CString> names;
    if (instances)
        for (INT_PTR i = 0; i < instances->GetSize(); ++i) {
            const CInstanceContext& inst = instances->GetAt(i);
            if (!inst.instance()) continue;
            keys.push_back(inst.instance()->id());
            names.push_back(inst.name());
        }
    if (keys.empty()) return;
    m_shown = std::move(names);
    m_shownKeys = keys;
    ShowObjectInfo(keys, 0);
}

void CKXBottomPaneContainerView::ShowComponentsByName(const CDesignContext&, CStringList* names,
                                                      BOOL bForce) {
    if (!bForce && !IsShowingComponents()) return;
    SetPaneTitle(kShowsComponents);
    const CKXFocusKeeper keeper;
    if (GetViewMode() == eOpenModePhysical && names) {
        std::vector<CString> parts;
        for (POSITION pos = names->GetHeadPosition(); pos;)
            parts.push_back(names->GetNext(pos));
        ShowPhysParts(parts);
    }
    std::vector<ObjectKey> keys;
    std::vector<CString> shown;
    if (names)
        for (POSITION pos = names->GetHeadPosition(); pos;) {
            const CString& name = names->GetNext(pos);
            const int id = GetComponentId(name);
            if (id < 0) continue; // not registered: skipped
            keys.push_back(static_cast<ObjectKey>(id));
            shown.push_back(name);
        }
    // Components shown by name are physical parts; their grids come with the physical view.
    KeepShown(keys, std::move(shown), 0);
}

void CKXBottomPaneContainerView::ShowNetBitConnectivity(const CDesignContext&, CKXNetBitContextArray* netBits,
                                                        BOOL bForce) {
    if (!bForce && IsShowingComponents()) return;
    SetPaneTitle(kShowsSignals);
    const CKXFocusKeeper keeper;
    if (!netBits) return;
    if (GetViewMode() == eOpenModePhysical) {
        // The physical view shows the physical nets of the bits, never a grid of logical signals.
        std::vector<CString> names;
        for (INT_PTR i = 0; i < netBits->GetSize(); ++i) AddPhysNetNames(netBits->GetAt(i), names);
        ShowPhysNets(names);
        return;
    }
    m_bGroupFlag = netBits->GetSize() > 1;
    std::vector<ObjectKey> keys;
    std::vector<CString> shown;
    std::vector<CNetBitContext> bits;
    for (INT_PTR i = 0; i < netBits->GetSize(); ++i) {
        const CNetBitContext& bit = netBits->GetAt(i);
        INet* net = bit.net();
        if (!net) continue;
        ObjectKey key = net->id();
        if (net->msb() != net->lsb() && bit.bit() != -1) key = NetBitKey(net->id(), bit.bit());
        keys.push_back(key);
        shown.push_back(bit.spath());
        bits.push_back(bit);
    }
    KeepShown(keys, std::move(shown), 1, true);
    if (!bits.empty()) ShowSignalObjects({}, bits);
}

void CKXBottomPaneContainerView::ShowNetConnectivity(const CDesignContext&, CKXNetContextArray* nets,
                                                     BOOL bForce) {
    if (!bForce && IsShowingComponents()) return;
    SetPaneTitle(kShowsSignals);
    const CKXFocusKeeper keeper;
    if (!nets) return;
    if (GetViewMode() == eOpenModePhysical) {
        std::vector<CString> names;
        for (INT_PTR i = 0; i < nets->GetSize(); ++i) AddPhysNetNames(nets->GetAt(i).bitContext(-1), names);
        ShowPhysNets(names);
        return;
    }
    m_bGroupFlag = nets->GetSize() > 1;
    std::vector<ObjectKey> keys;
    std::vector<CString> shown;
    std::vector<CNetContext> contexts;
    for (INT_PTR i = 0; i < nets->GetSize(); ++i) {
        INet* net = nets->GetAt(i).net();
        if (!net) continue;
        keys.push_back(net->id());
        shown.push_back(net->name());
        contexts.push_back(nets->GetAt(i));
    }
    KeepShown(keys, std::move(shown), 1, true);
    if (!contexts.empty()) ShowSignalObjects(contexts, {});
}

void CKXBottomPaneContainerView::ShowNetsByName(CStringList* names, BOOL bForce) {
    if (!bForce && IsShowingComponents()) return;
    SetPaneTitle(kShowsSignals);
    const CKXFocusKeeper keeper;
    if (GetViewMode() == eOpenModePhysical) {
        // The physical view shows the physical net grid.
        std::vector<CString> nets;
        if (names)
            for (POSITION pos = names->GetHeadPosition(); pos;)
                nets.push_back(names->GetNext(pos));
        ShowPhysNets(nets);
        return;
    }
    std::vector<ObjectKey> keys;
    std::vector<CString> shown;
    if (names)
        for (POSITION pos = names->GetHeadPosition(); pos;) {
            const CString& name = names->GetNext(pos);
            const int id = GetNetId(name);
            if (id < 0) continue;
            keys.push_back(static_cast<ObjectKey>(id));
            shown.push_back(name);
        }
    KeepShown(keys, std::move(shown), 1);
    std::vector<CNetContext> contexts;
    const CDesignContext design = PaneDesign();
    for (const CString& name : m_shown)
        if (CNetContext net = design ? design.net(name.GetString()) : CNetContext()) contexts.push_back(net);
    if (!keys.empty() && !contexts.empty()) ShowSignalObjects(contexts, {});
}

void CKXBottomPaneContainerView::KeepShown(const std::vector<ObjectKey>& keys, std::vector<CString> shown,
                                           int kind, bool objectKeys) {
    if (keys.empty()) return;
    m_shown = std::move(shown);
    // Registry ids of names are no object's: the names they were shown by stay.
    m_shownKeys = objectKeys ? keys : std::vector<ObjectKey>();
    m_strLastKeys = MakeKeyList(keys);
    m_nLastKind = kind;
}



CKXGridWnd* CKXBottomPaneContainerView::CreateComponentGrid(UINT id) {
    IKXPinGrid* grid = PinGridOf(CreateGrid(KXGridKind::Pin));
    if (!grid) return nullptr;
    CDesignContext design = PaneDesign();
    CInstanceContext inst = design ? design.instance(id) : CInstanceContext();
    // An id the design no longer knows leaves the grid empty; it is kept like any other.
    if (inst.instance()) grid->LoadComponentPins(design, inst, FALSE);
    return &grid->Grid();
}

CKXGridWnd* CKXBottomPaneContainerView::CreateGroupComponentGrid(const CString& keys) {
    IKXPinGrid* grid = PinGridOf(CreateGrid(KXGridKind::Pin));
    if (!grid) return nullptr;
    std::vector<UINT> ids;
    for (ObjectKey key : ParseKeyList(keys))
        if (key <= UINT_MAX) ids.push_back(static_cast<UINT>(key));
    grid->ReloadInstanceRows(PaneDesign(), ids, FALSE);
    return &grid->Grid();
}

CKXSignalDetailsGridWnd* CKXBottomPaneContainerView::CreateSignalGrid(const std::vector<CNetContext>& nets,
                                                                     const std::vector<CNetBitContext>& bits,
                                                                     BOOL bList) {
    CKXGridWnd* made = CreateGrid(KXGridKind::Signal);
    CKXSignalDetailsGridWnd* grid = SignalGridOf(made);
    if (!grid) return nullptr;
    const CDesignContext design = PaneDesign();
    if (bList && !bits.empty())
        grid->LoadNetBits(design, bits);
    else if (bList)
        grid->LoadNets(design, nets);
    else if (!bits.empty())
        grid->AddNetBitRows(design, bits.front());
    else
        grid->AddNetRows(design, nets.front());
    return grid;
}

CKXSignalDetailsGridWnd* CKXBottomPaneContainerView::ActiveSignalGrid() const {
    return SignalGridOf(GetActiveGrid());
}

void CKXBottomPaneContainerView::AfterShowObjects(BOOL& bSeveral, BOOL& bSame) {
    std::vector<IKXPinGrid*> grids;
    for (CKXGridWnd* g : m_shownGrids)
        if (IKXPinGrid* pin = PinGridOf(g)) grids.push_back(pin);
    if (grids.empty()) return;
    IInstance* first = grids.front()->GetInstance();
    if (!first) return;
    BOOL same = TRUE;
    for (IKXPinGrid* g : grids) {
        IInstance* inst = g->GetInstance();
        if (!inst || inst->id() != first->id()) same = FALSE;
    }
    const BOOL several = grids.size() > 1;
    if (several && same) {
        // One component in several grids: they share their columns only while its pins are alike.
        CPtrList instances;
        for (IKXPinGrid* g : grids)
            instances.AddTail(g->GetInstance());
        same = CKXInstanceDetailsGridWnd::AreObjectsAlike(PaneDesign(), &instances);
    }
    bSeveral = several;
    bSame = same;
    for (size_t i = 0; i < grids.size(); ++i) {
        CKXGridWnd& grid = grids[i]->Grid();
        {
            kxgrid::LockUpdateScope lock(grid, kxgrid::LockUpdateScope::kNoRedraw);
            grid.SetColumnMode(several, several && same, i != 0 && same, static_cast<int>(i));
        }
        grid.Redraw(2, 1);
    }
}

// ------------------------------------------------------------------ shown grids in step

// A cell a grid's activation placed is nobody's choice: only the grids the user chose rows in count.
int CKXBottomPaneContainerView::CountSelectedObjects() const {
    int count = 0;
    for (CKXGridWnd* g : m_shownGrids) {
        if (!PinGridOf(g) || !g->HasSelectionOfTheUser()) continue;
        CRowColArray rows;
        count += static_cast<int>(g->GetSelectedRows(rows, FALSE, TRUE));
    }
    return count;
}

void CKXBottomPaneContainerView::SyncTopRow(CGXGridCore* grid, ROWCOL top) {
    if (m_bSyncing) return;
    m_bSyncing = TRUE;
    for (CKXGridWnd* g : m_shownGrids)
        if (g != grid) g->SetTopRow(top, 2, TRUE);
    m_bSyncing = FALSE;
}

void CKXBottomPaneContainerView::RefreshCellControlsInOtherGrids(CGXGridCore* grid, int first, int second) {
    for (CKXGridWnd* g : m_shownGrids) {
        IKXPinGrid* pin = PinGridOf(g);
        if (!pin || g == grid) continue;
        kxgrid::GridWriteScope noUndo(*g, kxgrid::GridWriteScope::kUndo);
        pin->RefreshCellControls(first, second);
    }
}

BOOL CKXBottomPaneContainerView::ActivateGrids() {
    if (m_pChildFrame) m_pChildFrame->ActivatePane("CCP");
    return ActivatePaneGrids();
}

BOOL CKXBottomPaneContainerView::ActivatePaneGrids() {
    CKXGridWnd* active = GetActiveGrid();
    if (GetViewMode() != eOpenModePhysical)
        for (CKXGridWnd* g : m_shownGrids)
            if (g != active) g->ActivateGridView();
    if (!active) return FALSE;
    active->ActivateGridView();
    active->RemoveListPaneSelection();
    return TRUE;
}

void CKXBottomPaneContainerView::FocusActiveGrid() {
    if (CKXGridWnd* active = GetActiveGrid())
        active->SetFocus();
    else
        SetFocus();
}

// ------------------------------------------------------------------ text

namespace {

// What a header cell shows: a bitmap ("#BMP(185)") is named by its column's caption.
CString HeaderCellText(CKXGridWnd* grid, ROWCOL col, const CString& value) {
    if (value.Left(5) != "#BMP(") return value;
    const CKXColumnInfoClass* info = grid->GetColumnInfo(static_cast<int>(col));
    if (!info || info->m_strCaption.IsEmpty() || info->m_strCaption.Left(5) == "#BMP(") return value;
    return info->m_strCaption;
}

} // namespace

// A cell that shows a picture rather than text (a pull-up/pull-down mark), or no text, is read by its
// tool tip; a tip of several lines (a bus cell's bits, one "BIT:NET" a line) is read as one line, its
// lines joined by "; ", so that a row stays on one line.
static CString ToolTipOnlyText(const CGXStyle& style) {
    if (!style.GetIncludeUserAttribute(GX_IDS_UA_TOOLTIPTEXT)) return CString();
    CString tip = style.GetUserAttributeText(GX_IDS_UA_TOOLTIPTEXT);
    tip.Replace("\r\n", "\n");
    tip.Trim("\n");
    tip.Replace("\n", "; ");
    return tip;
}

// What the user reads in a data cell. A pull-up/pull-down mark is a picture named by its tool tip:
// the matrix keeps a label under it (state and signal name, in the window's colour) that nobody sees.
static CString DataCellText(CKXGridWnd* grid, ROWCOL row, ROWCOL col) {
    CGXStyle style;
    grid->GetStyleRowCol(row, col, style);
    if (style.GetIncludeControl() && IsPupdControl(style.GetControl())) return ToolTipOnlyText(style);
    const CString value = grid->GetValueRowCol(row, col);
    return value.IsEmpty() ? ToolTipOnlyText(style) : value;
}

// A row of a grid as the user reads it: its grid row number and the cells of the columns the user sees,
// joined by " | "; empty when no cell shows text. A title of row 0 covers a group of columns: it is read
// once, in the first column of its group that the user sees.
static CString RowLineText(CKXGridWnd* g, ROWCOL r, ROWCOL firstRow) {
    CString line;
    line.Format("\n    %u: ", r);
    bool any = false;
    bool first = true;
    ROWCOL coveredTo = 0;
    for (ROWCOL c = 1; c <= g->GetColCount(); ++c) {
        if (g->GetColWidth(c) == 0) continue; // a column the user does not see
        CString v;
        if (r == 0) {
            CGXRange group;
            const bool covered = g->GetCoveredCellsRowCol(r, c, group) != nullptr;
            if (c > coveredTo) v = HeaderCellText(g, c, g->GetValueRowCol(r, covered ? group.left : c));
            if (covered) coveredTo = group.right;
        } else {
            v = r < firstRow ? HeaderCellText(g, c, g->GetValueRowCol(r, c)) : DataCellText(g, r, c);
        }
        if (!v.IsEmpty()) any = true;
        line += (first ? "" : " | ") + v;
        first = false;
    }
    return any ? line : CString();
}

CString CKXBottomPaneContainerView::GetPaneText() {
    CString text = m_bHintVisible ? CString(HintText()) : GetPaneTitle();
    for (const CString& s : m_shown)
        text += "\n  " + s;
    // Every shown grid: its number, kind, objects, first data row and the grid columns the user
    // sees, then its rows as the user sees them (a matrix's from row 0, its group titles); hidden and
    // empty rows and hidden columns are left out.
    const CKXGridWnd* active = GetActiveGrid();
    for (size_t i = 0; i < m_shownGrids.size(); ++i) {
        CKXGridWnd* g = m_shownGrids[i];
        const ROWCOL firstRow = g->FirstDataRow() == GX_INVALID ? 1 : g->FirstDataRow();
        CString kind, names;
        GetShownGridInfo(static_cast<int>(i), kind, names);
        CString head;
        head.Format("\n  grid %zu%s: %s \"%s\", first data row %u, columns", i + 1, g == active ? " (active)" : "",
                    kind.GetString(), names.GetString(), firstRow);
        for (ROWCOL c = 1; c <= g->GetColCount(); ++c)
            if (g->GetColWidth(c) != 0) head += (" " + std::to_string(c)).c_str();
        text += head;
        for (ROWCOL r = MatrixGridOf(g) ? kxmatrix::kTitleRow : 1; r <= g->GetRowCount(); ++r)
            if (!g->IsRowHidden(r)) text += RowLineText(g, r, firstRow);
    }
    return text;
}
