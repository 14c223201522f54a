// Grid core: set-up, styles, controls, undo and the consistency check.
#include "grid/gxcore.h"

#include "gxcmds.h"

#include <algorithm>
#include <set>

CGXGridCore::CGXGridCore() = default;

CGXGridCore::~CGXGridCore()
{
    m_pCurrentControl = nullptr;
    m_controls.clear();
    m_ownedControls.clear();
    m_transStack.clear();
}

void CGXGridCore::OnGridInitialUpdate()
{
    if (!m_pParam)
        SetParam(new CGXGridParam, TRUE);
    if (!m_pParam->GetStylesMap()) {
        auto* map = new CGXStylesMap;
        m_pParam->SetStylesMap(map, TRUE);
    }
    m_pParam->GetStylesMap()->CreateStandardStyles();
    // The library's own controls; grids may replace them by registering under the same ids.
    if (!GetRegisteredControl(GX_IDS_CTRL_EDIT))
        RegisterControl(GX_IDS_CTRL_EDIT, new CGXEditControl(this, GX_IDS_CTRL_EDIT), TRUE);
    if (!GetRegisteredControl(GX_IDS_CTRL_STATIC))
        RegisterControl(GX_IDS_CTRL_STATIC, new CGXStatic(this));
    if (!GetRegisteredControl(GX_IDS_CTRL_HEADER))
        RegisterControl(GX_IDS_CTRL_HEADER, new CGXHeader(this));
    if (!GetRegisteredControl(GX_IDS_CTRL_COMBOBOX))
        RegisterControl(GX_IDS_CTRL_COMBOBOX, new CGXComboBox(this, GX_IDS_CTRL_COMBOBOX, GX_IDS_CTRL_COMBOBOX + 1000));
    if (!GetRegisteredControl(GX_IDS_CTRL_TEXTFIT))
        RegisterControl(GX_IDS_CTRL_TEXTFIT, new CGXComboBox(this, GX_IDS_CTRL_TEXTFIT, GX_IDS_CTRL_TEXTFIT + 1000));
    ClampState();
    m_bInitDone = TRUE;
}

void CGXGridCore::SetParam(CGXGridParam* pParam, BOOL bMustDelete)
{
    if (pParam == m_pParam) {
        if (bMustDelete && pParam && m_ownedParam.get() != pParam)
            m_ownedParam.reset(pParam);
        return;
    }
    ClearEditState();
    m_nCurrentRow = m_nCurrentCol = GX_INVALID;
    std::unique_ptr<CGXGridParam> old = std::move(m_ownedParam);
    m_pParam = pParam;
    if (bMustDelete && pParam)
        m_ownedParam.reset(pParam);
    ClampState();
}

void CGXGridCore::EnableCellTips(CRuntimeClass* pFactoryClass, UINT nFlags1, UINT nFlags2, UINT nDelay)
{
    m_bCellTips = TRUE;
    m_pCellTipFactory = pFactoryClass;
    m_nCellTipFlags1 = nFlags1;
    m_nCellTipFlags2 = nFlags2;
    m_nCellTipDelay = nDelay;
}

void CGXGridCore::SetToolTipProxy(CGXNoToolTipCtrlProxy* pProxy)
{
    if (pProxy != m_pToolTipProxy.get())
        m_pToolTipProxy.reset(pProxy);
}

void CGXGridCore::SetScrollBarMode(int nBar, int nSetting, BOOL bRedraw)
{
    // nBar: 0 horizontal, 1 vertical, 3 both.
    if (nBar == 0 || nBar == 3)
        m_nScrollBarMode[0] = nSetting;
    if (nBar == 1 || nBar == 3)
        m_nScrollBarMode[1] = nSetting;
    if (bRedraw)
        MarkRedraw(GX_INVALIDATE);
}

int CGXGridCore::GetScrollBarMode(int nBar) const { return m_nScrollBarMode[nBar == 1 ? 1 : 0]; }

void CGXGridCore::SetMergeCellsMode(int nMode, BOOL bRedraw)
{
    m_nMergeCellsMode = nMode;
    if (bRedraw)
        MarkRedraw(GX_INVALIDATE);
}

void CGXGridCore::SetZoom(int nZoom, UINT flags)
{
    m_nZoom = std::clamp(nZoom, 10, 400);
    MarkRedraw(flags);
}

// ---------------------------------------------------------------- base styles
static BOOL ChangeBase(CGXStylesMap* map, WORD id, const CGXStyle& style, GXModifyType mt)
{
    CGXStyle* p = nullptr;
    if (!map || !map->LookupStyle(id, p) || !p)
        return FALSE;
    p->ChangeStyle(style, mt);
    return TRUE;
}

BOOL CGXGridCore::ChangeStandardStyle(const CGXStyle& style, GXModifyType mt, UINT flags, GXCmdType)
{
    BOOL ok = GetStylesMap() && ChangeBase(GetStylesMap(), GetStylesMap()->m_wStyleStandard, style, mt);
    MarkRedraw(flags);
    return ok;
}

BOOL CGXGridCore::ChangeRowHeaderStyle(const CGXStyle& style, GXModifyType mt, UINT flags, GXCmdType)
{
    BOOL ok = GetStylesMap() && ChangeBase(GetStylesMap(), GetStylesMap()->m_wStyleRowHeader, style, mt);
    MarkRedraw(flags);
    return ok;
}

BOOL CGXGridCore::ChangeColHeaderStyle(const CGXStyle& style, GXModifyType mt, UINT flags, GXCmdType)
{
    BOOL ok = GetStylesMap() && ChangeBase(GetStylesMap(), GetStylesMap()->m_wStyleColHeader, style, mt);
    MarkRedraw(flags);
    return ok;
}

BOOL CGXGridCore::ChangeBaseStyle(WORD wStyleId, const CGXStyle& style, GXModifyType mt, UINT flags)
{
    BOOL ok = ChangeBase(GetStylesMap(), wStyleId, style, mt);
    MarkRedraw(flags);
    return ok;
}

const CGXStyle* CGXGridCore::GetBaseStyle(WORD wStyleId) const
{
    return GetStylesMap() ? GetStylesMap()->LookupStyle(wStyleId) : nullptr;
}

// ---------------------------------------------------------------- styles
BOOL CGXGridCore::GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt, int nType)
{
    const CGXData* data = GetData();
    if (!data) {
        if (mt == gxCopy)
            style.Free();
        return FALSE;
    }
    const BOOL stored = data->GetStyleRowCol(nRow, nCol, style, mt, nType);
    if (!m_pRowSource || nType != 0 || nRow == 0 || nCol == 0)
        return stored;
    return ApplyRowSource(nRow, nCol, style, mt) || stored;
}

BOOL CGXGridCore::ApplyRowSource(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt) const
{
    if (mt == gxRemove)
        return FALSE;
    const CGXStyle* cell = mt == gxCopy ? &style : GetData()->LookupCell(nRow, nCol);
    if (cell && cell->GetIncludeValue())
        return FALSE;
    CString value;
    if (!m_pRowSource->GetRowValue(nRow, nCol, value))
        return FALSE;
    if (mt == gxExclude)
        style.SetIncludeValue(FALSE);
    else if (mt != gxApplyNew || !style.GetIncludeValue())
        style.SetValue(value);
    return TRUE;
}

BOOL CGXGridCore::StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt, int nType)
{
    CGXData* data = GetData();
    return data ? data->StoreStyleRowCol(nRow, nCol, pStyle, mt, nType) : FALSE;
}

void CGXGridCore::ApplyBaseStyles(ROWCOL nRow, ROWCOL nCol, CGXStyle& style)
{
    const CGXStylesMap* map = GetStylesMap();
    if (!map)
        return;
    const WORD standard = map->m_wStyleStandard;
    WORD id;
    if (style.GetIncludeBaseStyle())
        id = style.GetBaseStyle();
    else if (nRow == 0)
        id = map->m_wStyleColHeader;
    else if (nCol == 0)
        id = map->m_wStyleRowHeader;
    else
        id = standard;
    bool standardDone = false;
    // Base styles may name further base styles; a cycle ends after a bounded number of steps.
    for (int depth = 0; id != 0 && depth < 32; ++depth) {
        const CGXStyle* base = map->LookupStyle(id);
        if (!base)
            break;
        style.ChangeStyle(*base, gxApplyNew);
        if (id == standard) {
            standardDone = true;
            break;
        }
        id = base->GetIncludeBaseStyle() ? base->GetBaseStyle() : standard;
    }
    if (!standardDone && standard)
        if (const CGXStyle* s = map->LookupStyle(standard))
            style.ChangeStyle(*s, gxApplyNew);
}

void CGXGridCore::ComposeStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle* pStyle, BOOL bApplyStandard)
{
    if (!pStyle)
        return;
    pStyle->Free();
    GetStyleRowCol(nRow, nCol, *pStyle, gxCopy, 0);
    if (nRow > 0 && nCol > 0) {
        const CGXData* data = GetData();
        // Row, column and table styles fill what the cell leaves open.
        if (data && data->LookupRowStyle(nRow))
            GetStyleRowCol(nRow, 0, *pStyle, gxApplyNew, -1);
        if (data && data->LookupColStyle(nCol))
            GetStyleRowCol(0, nCol, *pStyle, gxApplyNew, -1);
        if (data && data->LookupTableStyle())
            GetStyleRowCol(0, 0, *pStyle, gxApplyNew, -1);
    }
    if (bApplyStandard)
        ApplyBaseStyles(nRow, nCol, *pStyle);
}

const CGXStyle& CGXGridCore::LookupStyleRowCol(ROWCOL nRow, ROWCOL nCol)
{
    ComposeStyleRowCol(nRow, nCol, &m_lookupStyle);
    return m_lookupStyle;
}

const CString& CGXGridCore::GetValueRowCol(ROWCOL nRow, ROWCOL nCol)
{
    // Most cells carry their own value: then nothing behind the cell needs composing.
    m_lookupStyle.Free();
    GetStyleRowCol(nRow, nCol, m_lookupStyle, gxCopy, 0);
    if (m_lookupStyle.GetIncludeValue())
        return m_lookupStyle.GetValue();
    return LookupStyleRowCol(nRow, nCol).GetValue();
}

BOOL CGXGridCore::IsCellReadOnly(ROWCOL nRow, ROWCOL nCol)
{
    // Read-only as the composed style has it, found without composing.
    const CGXStyle* from = FindComposedStyle(nRow, nCol, [](const CGXStyle& s) { return s.GetIncludeReadOnly() != FALSE; });
    return from ? from->GetReadOnly() : FALSE;
}

const CGXStyle* CGXGridCore::FindComposedStyle(ROWCOL nRow, ROWCOL nCol,
                                               const std::function<bool(const CGXStyle&)>& has) const
{
    const CGXData* data = GetData();
    if (!data)
        return nullptr;
    const CGXStyle* chain[4] = {data->LookupCell(nRow, nCol), nullptr, nullptr, nullptr};
    if (nRow > 0 && nCol > 0) {
        chain[1] = data->LookupRowStyle(nRow);
        chain[2] = data->LookupColStyle(nCol);
        chain[3] = data->LookupTableStyle();
    }
    const CGXStyle* withBase = nullptr;
    for (const CGXStyle* s : chain) {
        if (!s)
            continue;
        if (has(*s))
            return s;
        if (!withBase && s->GetIncludeBaseStyle())
            withBase = s;
    }
    const CGXStylesMap* map = GetStylesMap();
    if (!map)
        return nullptr;
    // The base styles in the order ApplyBaseStyles applies them, the standard style last.
    const WORD standard = map->m_wStyleStandard;
    WORD id = withBase ? withBase->GetBaseStyle()
                       : (nRow == 0 ? map->m_wStyleColHeader : nCol == 0 ? map->m_wStyleRowHeader : standard);
    bool standardDone = false;
    for (int depth = 0; id != 0 && depth < 32; ++depth) {
        const CGXStyle* base = map->LookupStyle(id);
        if (!base)
            break;
        if (has(*base))
            return base;
        if (id == standard) {
            standardDone = true;
            break;
        }
        id = base->GetIncludeBaseStyle() ? base->GetBaseStyle() : standard;
    }
    if (!standardDone && standard)
        if (const CGXStyle* s = map->LookupStyle(standard); s && has(*s))
            return s;
    return nullptr;
}

BOOL CGXGridCore::RecordWanted(GXCmdType ctCmd) const
{
    if (!m_pParam || ctCmd == gxRollback)
        return FALSE;
    if (ctCmd == gxUndo || ctCmd == gxRedo)
        return TRUE;
    return m_pParam->IsEnableUndo() && !m_pCapture;
}

BOOL CGXGridCore::SetStyleRange(const CGXRange& range, const CGXStyle& style, GXModifyType mt, int nType, UINT flags,
                                GXCmdType ctCmd)
{
    return SetStyleRange(range, &style, mt, nType, flags, ctCmd);
}

BOOL CGXGridCore::SetStyleRange(const CGXRange& range, const CGXStyle* pStyle, GXModifyType mt, int nType, UINT flags,
                                GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || !range.IsValid())
        return FALSE;
    if (!pStyle)
        mt = gxRemove;
    const bool record = RecordWanted(ctCmd);
    if (!record && range.IsCells() && range.top == range.bottom && range.left == range.right)
        return StoreOneCell(range, pStyle, mt, nType, flags);
    const ROWCOL rows = data->GetRowCount(), cols = data->GetColCount();
    std::unique_ptr<CGXSetStyleCmd> undo(record ? new CGXSetStyleCmd : nullptr);
    BOOL ok = TRUE;

    auto storeWhole = [&](ROWCOL r, ROWCOL c) {
        if (undo) {
            CGXStyle old;
            undo->Add(r, c, -1, data->GetStyleRowCol(r, c, old, gxCopy, -1) ? &old : nullptr);
        }
        if (!StoreStyleRowCol(r, c, pStyle, mt, -1))
            ok = FALSE;
    };

    if (range.IsTable()) {
        storeWhole(0, 0);
    } else if (range.IsRows()) {
        if (range.top > rows || range.top == 0)
            ok = FALSE;
        for (ROWCOL r = std::max<ROWCOL>(range.top, 1); r <= std::min(range.bottom, rows); ++r)
            storeWhole(r, 0);
    } else if (range.IsCols()) {
        if (range.left > cols || range.left == 0)
            ok = FALSE;
        for (ROWCOL c = std::max<ROWCOL>(range.left, 1); c <= std::min(range.right, cols); ++c)
            storeWhole(0, c);
    } else {
        if (range.bottom > rows || range.right > cols)
            ok = FALSE; // cells outside the grid are not stored
        const bool lock = m_pParam->IsLockReadOnly();
        const ROWCOL bottom = std::min(range.bottom, rows), right = std::min(range.right, cols);
        for (ROWCOL r = range.top; r <= bottom; ++r) {
            for (ROWCOL c = range.left; c <= right; ++c) {
                if (lock && IsCellReadOnly(r, c)) {
                    ok = FALSE;
                    continue;
                }
                if (undo)
                    undo->Add(r, c, nType, data->LookupCell(r, c));
                if (!StoreStyleRowCol(r, c, pStyle, mt, nType))
                    ok = FALSE;
            }
            if (r == GX_MAXROWCOL)
                break;
        }
    }
    if (undo && !undo->Empty())
        AddCommand(undo.release(), ctCmd);
    CellsWritten(range, flags);
    return ok;
}

inline void CGXGridCore::CellsWritten(const CGXRange& range, UINT flags)
{
    // A cell written while it is the current cell shows the new value.
    if (m_pCurrentControl && !m_pCurrentControl->IsActive() && range.IsCellInRange(m_nCurrentRow, m_nCurrentCol))
        m_pCurrentControl->Reset();
    RedrawRowCol(range, flags);
}

// One cell without undo, the write of a grid filling its rows: what the loop over a range does for it.
BOOL CGXGridCore::StoreOneCell(const CGXRange& cell, const CGXStyle* pStyle, GXModifyType mt, int nType, UINT flags)
{
    const CGXData* data = GetData();
    const ROWCOL r = cell.top, c = cell.left;
    BOOL ok = r <= data->GetRowCount() && c <= data->GetColCount();
    if (ok && m_pParam->IsLockReadOnly() && IsCellReadOnly(r, c))
        ok = FALSE;
    else if (ok && !StoreStyleRowCol(r, c, pStyle, mt, nType))
        ok = FALSE;
    CellsWritten(cell, flags);
    return ok;
}

BOOL CGXGridCore::StoreFreshCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, UINT flags)
{
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    if (!data || m_pParam->IsLockReadOnly() || RecordWanted(gxDo) || style.IsEmpty() ||
        !data->StoreFreshCell(nRow, nCol, style))
        return FALSE;
    CellsWritten(CGXRange(nRow, nCol), flags);
    return TRUE;
}

BOOL CGXGridCore::SetValueRange(const CGXRange& range, LPCTSTR pszValue, GXModifyType mt, int nType, UINT flags,
                                GXCmdType ctCmd)
{
    CGXStyle s;
    s.SetValue(pszValue ? pszValue : "");
    return SetStyleRange(range, s, mt == gxCopy ? gxOverride : mt, nType, flags, ctCmd);
}

BOOL CGXGridCore::SetValueRange(const CGXRange& range, double value, GXModifyType mt, int nType, UINT flags,
                                GXCmdType ctCmd)
{
    CGXStyle s;
    s.SetValue(value);
    return SetStyleRange(range, s, mt == gxCopy ? gxOverride : mt, nType, flags, ctCmd);
}

BOOL CGXGridCore::SetValueRange(const CGXRange& range, long value, GXModifyType mt, int nType, UINT flags,
                                GXCmdType ctCmd)
{
    CGXStyle s;
    s.SetValue(value);
    return SetStyleRange(range, s, mt == gxCopy ? gxOverride : mt, nType, flags, ctCmd);
}

// ---------------------------------------------------------------- controls
void CGXGridCore::RegisterControl(WORD nID, CGXControl* pControl, BOOL, BOOL)
{
    if (!pControl)
        return;
    auto it = m_controls.find(nID);
    if (it != m_controls.end() && it->second != pControl) {
        CGXControl* old = it->second;
        m_controls.erase(it);
        // The old object goes unless it is still registered under another id.
        bool stillUsed = std::any_of(m_controls.begin(), m_controls.end(), [&](const auto& e) { return e.second == old; });
        if (!stillUsed) {
            if (m_pCurrentControl == old)
                m_pCurrentControl = nullptr;
            m_ownedControls.erase(std::remove_if(m_ownedControls.begin(), m_ownedControls.end(),
                                                 [&](const auto& p) { return p.get() == old; }),
                                  m_ownedControls.end());
        }
    }
    m_controls[nID] = pControl;
    if (std::none_of(m_ownedControls.begin(), m_ownedControls.end(), [&](const auto& p) { return p.get() == pControl; }))
        m_ownedControls.emplace_back(pControl);
}

CGXControl* CGXGridCore::GetRegisteredControl(WORD nID) const
{
    auto it = m_controls.find(nID);
    return it == m_controls.end() ? nullptr : it->second;
}

CGXControl* CGXGridCore::GetControl(ROWCOL nRow, ROWCOL nCol)
{
    CGXStyle style;
    ComposeStyleRowCol(nRow, nCol, &style);
    if (style.GetIncludeControl())
        if (CGXControl* p = GetRegisteredControl(style.GetControl()))
            return p;
    CGXControl* p = GetRegisteredControl((nRow == 0 || nCol == 0) ? GX_IDS_CTRL_HEADER : GX_IDS_CTRL_EDIT);
    return p ? p : GetRegisteredControl(GX_IDS_CTRL_EDIT);
}

CGXControl* CGXGridCore::GetCurrentCellControl()
{
    if (m_nCurrentRow == GX_INVALID || m_nCurrentCol == GX_INVALID)
        return nullptr;
    if (m_pCurrentControl && m_pCurrentControl->IsActive())
        return m_pCurrentControl; // an edit in progress keeps its control
    CGXControl* p = GetControl(m_nCurrentRow, m_nCurrentCol);
    if (p != m_pCurrentControl && m_pCurrentControl)
        m_pCurrentControl->Deinit();
    m_pCurrentControl = p;
    if (p && !p->IsInit(m_nCurrentRow, m_nCurrentCol))
        p->Init(m_nCurrentRow, m_nCurrentCol);
    return p;
}

void CGXGridCore::ClearEditState()
{
    // An edit in progress whose cell goes away is over: the grid hears of it as of a cancelled one.
    const BOOL dropped = m_pCurrentControl && m_pCurrentControl->IsActive() && m_nCurrentRow != GX_INVALID;
    const ROWCOL row = m_nCurrentRow, col = m_nCurrentCol;
    if (m_pCurrentControl) {
        m_pCurrentControl->SetActive(FALSE);
        m_pCurrentControl->SetModify(FALSE);
        m_pCurrentControl->Deinit();
    }
    m_pCurrentControl = nullptr;
    if (dropped)
        OnCanceledEditing(row, col);
}

// ---------------------------------------------------------------- drawing
BOOL CGXGridCore::LockUpdate(BOOL bLock)
{
    BOOL old = m_bLockUpdate;
    m_bLockUpdate = bLock != FALSE;
    return old;
}

void CGXGridCore::MarkRedraw(UINT flags)
{
    if (m_bLockUpdate || (flags & GX_NOREDRAW))
        return;
    ++m_nRedrawCount;
    if (CWnd* w = GridWnd())
        if (w->GetSafeHwnd())
            w->Invalidate(FALSE);
}

void CGXGridCore::Redraw(UINT flags, BOOL) { MarkRedraw(flags); }
void CGXGridCore::RedrawRowCol(const CGXRange&, UINT flags, BOOL) { MarkRedraw(flags); }
void CGXGridCore::RedrawRowCol(ROWCOL, ROWCOL, UINT flags, BOOL) { MarkRedraw(flags); }

// ---------------------------------------------------------------- undo
void CGXGridCore::AddCommand(CGXCommand* pCmd, GXCmdType ctCmd)
{
    std::unique_ptr<CGXCommand> cmd(pCmd);
    if (!cmd || !m_pParam)
        return;
    if (m_pCapture) {
        // While Undo/Redo runs a command, what it records is the opposite step; anything else it
        // does is part of that step and is not recorded separately.
        if (ctCmd == gxUndo || ctCmd == gxRedo)
            m_pCapture->GetList().AddTail(std::move(cmd));
        return;
    }
    switch (ctCmd) {
    case gxRollback:
        return;
    case gxDo:
        if (!m_pParam->IsEnableUndo())
            return;
        if (!m_transStack.empty()) {
            m_transStack.back()->GetList().AddTail(std::move(cmd));
            return;
        }
        m_pParam->GetUndoList()->AddTail(std::move(cmd));
        m_pParam->GetUndoList()->LimitTo(m_pParam->GetUndoLimit());
        m_pParam->GetRedoList()->RemoveAll();
        return;
    case gxUndo:
        m_pParam->GetRedoList()->AddTail(std::move(cmd));
        return;
    case gxRedo:
        m_pParam->GetUndoList()->AddTail(std::move(cmd));
        return;
    }
}

BOOL CGXGridCore::RunCommand(CGXCommandList* pList, GXCmdType ctType)
{
    if (!pList || pList->IsEmpty() || !m_transStack.empty() || m_pCapture)
        return FALSE;
    if (!TransferCurrentCell(TRUE))
        return FALSE;
    std::unique_ptr<CGXCommand> cmd = pList->RemoveTail();
    CGXBlockCmd capture(cmd->GetName());
    m_pCapture = &capture;
    BOOL ok = cmd->Execute(this, ctType);
    m_pCapture = nullptr;
    CGXCommandList* target = ctType == gxUndo ? m_pParam->GetRedoList() : m_pParam->GetUndoList();
    CGXCommandList& got = capture.GetList();
    if (got.GetCount() == 1) {
        target->AddTail(got.RemoveTail());
    } else if (got.GetCount() > 1) {
        auto block = std::make_unique<CGXBlockCmd>(cmd->GetName());
        while (!got.IsEmpty())
            block->GetList().AddTail(got.RemoveHead());
        target->AddTail(std::move(block));
    }
    MarkRedraw(GX_INVALIDATE);
    return ok;
}

BOOL CGXGridCore::Undo() { return m_pParam ? RunCommand(m_pParam->GetUndoList(), gxUndo) : FALSE; }
BOOL CGXGridCore::Redo() { return m_pParam ? RunCommand(m_pParam->GetRedoList(), gxRedo) : FALSE; }
BOOL CGXGridCore::CanUndo() { return m_pParam && !m_pParam->GetUndoList()->IsEmpty() && m_transStack.empty(); }
BOOL CGXGridCore::CanRedo() { return m_pParam && !m_pParam->GetRedoList()->IsEmpty() && m_transStack.empty(); }

void CGXGridCore::BeginTrans(LPCTSTR pszDescription)
{
    m_transStack.push_back(std::make_unique<CGXBlockCmd>(pszDescription ? pszDescription : ""));
}

void CGXGridCore::CommitTrans()
{
    if (m_transStack.empty())
        return;
    std::unique_ptr<CGXBlockCmd> block = std::move(m_transStack.back());
    m_transStack.pop_back();
    if (block->GetList().IsEmpty())
        return;
    if (!m_transStack.empty()) {
        m_transStack.back()->GetList().AddTail(std::move(block));
        return;
    }
    AddCommand(block.release(), gxDo);
}

void CGXGridCore::Rollback()
{
    if (m_transStack.empty())
        return;
    std::unique_ptr<CGXBlockCmd> block = std::move(m_transStack.back());
    m_transStack.pop_back();
    // Inner commands record nothing while they are rolled back.
    CGXBlockCmd sink("");
    CGXBlockCmd* prev = m_pCapture;
    m_pCapture = &sink;
    block->Execute(this, gxRollback);
    m_pCapture = prev;
    MarkRedraw(GX_INVALIDATE);
}

// ---------------------------------------------------------------- commands
BOOL CGXGridCoreAccess::RecordWanted(CGXGridCore* g, GXCmdType ct) { return g->RecordWanted(ct); }
BOOL CGXGridCoreAccess::RestoreRemovedRows(CGXGridCore* g, ROWCOL row,
                                           std::vector<std::unique_ptr<CGXData::RowRecord>>& rows, GXCmdType ct)
{
    return g->RestoreRemovedRows(row, rows, ct);
}
BOOL CGXGridCoreAccess::RestoreRemovedCols(CGXGridCore* g, ROWCOL col,
                                           std::vector<std::unique_ptr<CGXData::ColRecord>>& cols, GXCmdType ct)
{
    return g->RestoreRemovedCols(col, cols, ct);
}
BOOL CGXGridCoreAccess::RestoreCovered(CGXGridCore* g, const CGXRangeList& list, GXCmdType ct)
{
    return g->RestoreCovered(list, ct);
}

BOOL CGXSetStyleCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    CGXData* data = pGrid ? pGrid->GetData() : nullptr;
    if (!data)
        return FALSE;
    auto opposite = std::make_unique<CGXSetStyleCmd>();
    opposite->SetName(m_sName);
    // Restore in reverse order so that a cell written twice ends with its oldest style.
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        const Entry& e = *it;
        CGXStyle cur;
        BOOL had = data->GetStyleRowCol(e.row, e.col, cur, gxCopy, e.type == -1 ? -1 : 0);
        opposite->Add(e.row, e.col, e.type, had ? &cur : nullptr);
        // Undo restores read-only cells too: the recorded state is what the user saw.
        data->StoreStyleRowCol(e.row, e.col, e.style.get(), e.style ? gxCopy : gxRemove, e.type == -1 ? -1 : 0);
    }
    pGrid->Redraw(GX_INVALIDATE);
    if (CGXGridCoreAccess::RecordWanted(pGrid, ctType))
        pGrid->AddCommand(opposite.release(), ctType);
    return TRUE;
}

BOOL CGXHideCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    if (!pGrid || m_states.empty())
        return FALSE;
    return m_rows ? pGrid->HideRows(m_from, m_to, FALSE, m_states.data(), GX_INVALIDATE, ctType)
                  : pGrid->HideCols(m_from, m_to, FALSE, m_states.data(), GX_INVALIDATE, ctType);
}

BOOL CGXSizeCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    if (!pGrid || m_sizes.empty())
        return FALSE;
    return m_rows ? pGrid->SetRowHeight(m_from, m_to, 0, m_sizes.data(), GX_INVALIDATE, ctType)
                  : pGrid->SetColWidth(m_from, m_to, 0, m_sizes.data(), GX_INVALIDATE, ctType);
}

BOOL CGXInsertCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    if (!pGrid)
        return FALSE;
    const ROWCOL last = m_at + m_count - 1;
    return m_rows ? pGrid->RemoveRows(m_at, last, GX_INVALIDATE, ctType)
                  : pGrid->RemoveCols(m_at, last, GX_INVALIDATE, ctType);
}

BOOL CGXRemoveRowsCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    return pGrid && CGXGridCoreAccess::RestoreRemovedRows(pGrid, m_row, m_rows, ctType);
}

BOOL CGXRemoveColsCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    return pGrid && CGXGridCoreAccess::RestoreRemovedCols(pGrid, m_col, m_cols, ctType);
}

BOOL CGXMoveCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    if (!pGrid)
        return FALSE;
    const ROWCOL n = m_to - m_from + 1;
    return m_rows ? pGrid->MoveRows(m_dest, m_dest + n - 1, m_from, GX_INVALIDATE, ctType)
                  : pGrid->MoveCols(m_dest, m_dest + n - 1, m_from, GX_INVALIDATE, ctType);
}

BOOL CGXCoveredCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    return pGrid && CGXGridCoreAccess::RestoreCovered(pGrid, m_old, ctType);
}

// ---------------------------------------------------------------- consistency
namespace {

// Covered ranges: inside the grid, more than one cell, not overlapping.
bool CoveredRangesSound(const CGXRangeList& cl, ROWCOL rows, ROWCOL cols, CString& reason)
{
    std::vector<CGXRange> covered;
    for (POSITION pos = cl.GetHeadPosition(); pos;) {
        const CGXRange* r = cl.GetNext(pos);
        if (!r->IsValid() || !r->IsCells() || r->bottom > rows || r->right > cols) {
            reason.Format("covered range (%u,%u)-(%u,%u) lies outside the %u x %u grid", r->top, r->left, r->bottom,
                          r->right, rows, cols);
            return false;
        }
        if (r->top == r->bottom && r->left == r->right) {
            reason.Format("covered range at (%u,%u) covers a single cell", r->top, r->left);
            return false;
        }
        for (const CGXRange& o : covered)
            if (o.IsIntersecting(*r)) {
                reason.Format("covered ranges overlap at (%u,%u)", r->top, r->left);
                return false;
            }
        covered.push_back(*r);
    }
    return true;
}

// Every selected range is valid and inside the grid.
bool SelectionInside(const CGXRangeList& sel, ROWCOL rows, ROWCOL cols, CString& reason)
{
    for (POSITION pos = sel.GetHeadPosition(); pos;) {
        const CGXRange* r = sel.GetNext(pos);
        if (!r->IsValid()) {
            reason = "an invalid range in the selection";
            return false;
        }
        bool bad = false;
        if (r->IsCells())
            bad = r->bottom > rows || r->right > cols;
        else if (r->IsRows())
            bad = r->bottom > rows;
        else if (r->IsCols())
            bad = r->right > cols;
        if (bad) {
            reason.Format("selected range (%u,%u)-(%u,%u) outside the %u x %u grid", r->top, r->left, r->bottom,
                          r->right, rows, cols);
            return false;
        }
    }
    return true;
}

} // namespace

BOOL CGXGridCore::CheckConsistency(CString& reason)
{
    const CGXData* data = GetData();
    if (!data) {
        reason = "no parameter object";
        return FALSE;
    }
    if (!data->CheckConsistency(reason))
        return FALSE;
    const ROWCOL rows = data->GetRowCount(), cols = data->GetColCount();
    if (GetRowCount() != rows || GetColCount() != cols) {
        reason.Format("counts %u x %u disagree with the stored %u x %u", GetRowCount(), GetColCount(), rows, cols);
        return FALSE;
    }
    ROWCOL hidden = 0;
    for (ROWCOL r = 0; r <= rows; ++r)
        hidden += data->IsRowHidden(r) ? 1 : 0;
    if (hidden != data->GetHiddenRowCount()) {
        reason = "hidden rows disagree";
        return FALSE;
    }
    if (!CoveredRangesSound(*m_pParam->GetCoveredCellsList(), rows, cols, reason))
        return FALSE;
    if (m_nHeaderRows > m_nFrozenRows || m_nHeaderCols > m_nFrozenCols) {
        reason = "more header rows/columns than frozen ones";
        return FALSE;
    }
    if ((rows > 0 && m_nFrozenRows > rows) || (cols > 0 && m_nFrozenCols > cols)) {
        reason = "frozen rows/columns beyond the counts";
        return FALSE;
    }
    if (m_nTopRow <= m_nFrozenRows || m_nLeftCol <= m_nFrozenCols) {
        reason.Format("top row %u / left column %u inside the frozen area", m_nTopRow, m_nLeftCol);
        return FALSE;
    }
    if ((m_nCurrentRow == GX_INVALID) != (m_nCurrentCol == GX_INVALID)) {
        reason = "half a current cell";
        return FALSE;
    }
    if (m_nCurrentRow != GX_INVALID) {
        if (m_nCurrentRow > rows || m_nCurrentCol > cols) {
            reason.Format("current cell (%u,%u) outside the %u x %u grid", m_nCurrentRow, m_nCurrentCol, rows, cols);
            return FALSE;
        }
        CGXRange cov;
        if (GetCoveredCellsRowCol(m_nCurrentRow, m_nCurrentCol, cov) &&
            (cov.top != m_nCurrentRow || cov.left != m_nCurrentCol)) {
            reason = "current cell inside a covered range but not on its first cell";
            return FALSE;
        }
        // A shared control may be bound to another cell for a moment (grids ask controls about any
        // cell); an edit in progress, though, must belong to the current cell.
        if (m_pCurrentControl && m_pCurrentControl->IsActive() &&
            !m_pCurrentControl->IsInit(m_nCurrentRow, m_nCurrentCol)) {
            reason = "the edit in progress belongs to another cell";
            return FALSE;
        }
    } else if (m_pCurrentControl && m_pCurrentControl->IsActive()) {
        reason = "an active edit without a current cell";
        return FALSE;
    }
    if (!SelectionInside(*m_pParam->GetRangeList(), rows, cols, reason))
        return FALSE;
    reason.Empty();
    return TRUE;
}
