#include "grid/KXSpinControl.h"
#include "grid/KXGridKeys.h"
#include "grid/gxdroplist.h"

#include "rmx/schemautil.h"

#include <algorithm>

namespace {

constexpr int kArrowStrip = 17; // pixels kept free at the right while the arrows are shown
constexpr int kArrowWidth = 15;
constexpr int kUpArrowHeight = 7;

using kxgrid::ShiftDown;

} // namespace

// ---------------------------------------------------------------------------
// CKXListComboBox

IMPLEMENT_DYNAMIC(CKXListComboBox, CGXComboListBox)

CKXListComboBox::CKXListComboBox(CWnd* pOwner) : CGXComboListBox(pOwner), m_pOwnerWnd(pOwner) {}

BOOL CKXListComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    // Bordered and sorted.
    return CWnd::Create("LISTBOX", nullptr, dwStyle | 0x800002u, rect, pParentWnd, nID);
}

std::vector<std::string> CKXListComboBox::GetEntries() const {
    std::vector<std::string> entries;
    const int count = GetCount();
    entries.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        CString text;
        GetText(i, text);
        entries.push_back(text.str());
    }
    return entries;
}

// ---------------------------------------------------------------------------
// CKXSpinControl

CRuntimeClass* CKXSpinControl::GetThisClass() {
    static CRuntimeClass rc{"CKXSpinControl", static_cast<int>(sizeof(CKXSpinControl)), 0xFFFF, nullptr,
                            &CGXComboBox::GetThisClass};
    return &rc;
}

CRuntimeClass* CKXSpinControl::GetRuntimeClass() const {
    return GetThisClass();
}

CKXSpinControl::CKXSpinControl(CGXGridCore* pGrid, UINT nEditId, UINT nListBoxId, UINT nFlags,
                               CKXListComboBox* pListBox, BOOL bShowArrows)
    : CGXComboBox(pGrid, nEditId, nListBoxId, nFlags), m_pUpArrow(new CGXUpArrowButton(this)),
      m_pDownArrow(new CGXDownArrowButton(this)), m_pListBox(pListBox), m_bShowArrows(bShowArrows) {
    AddChild(m_pUpArrow);
    AddChild(m_pDownArrow);
    GXSetDroppedList(this, pListBox);
}

void CKXSpinControl::SetShowArrows(BOOL bShow) {
    m_bShowArrows = bShow;
    if (IsInit()) OnInitChildren(GetRow(), GetCol(), CGXComboBox::GetCellRect(GetRow(), GetCol()));
}

CRect CKXSpinControl::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle) {
    CRect rect = CGXComboBox::GetCellRect(nRow, nCol, rectItem, pStyle);
    if (m_bShowArrows) rect.right -= kArrowStrip;
    return rect;
}

void CKXSpinControl::OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) {
    CRect comboRect = rect;
    if (m_bShowArrows) comboRect.right -= kArrowStrip;
    CGXComboBox::OnInitChildren(nRow, nCol, comboRect);
    if (m_bShowArrows) {
        const int left = rect.right - kArrowWidth;
        m_pUpArrow->SetRect(CRect(left, rect.top, rect.right, rect.top + kUpArrowHeight));
        m_pDownArrow->SetRect(CRect(left, rect.top + kUpArrowHeight, rect.right,
                                    std::max(rect.bottom - 1, rect.top + kUpArrowHeight)));
    } else {
        // Hidden arrows lie outside the cell, so no click reaches them.
        const CRect outside(rect.right + 1, rect.bottom + 1, rect.right + 1, rect.bottom + 1);
        m_pUpArrow->SetRect(outside);
        m_pDownArrow->SetRect(outside);
    }
}

void CKXSpinControl::OnClickedButton(CGXChild* pChild) {
    // The buttons work in a cell being edited: a press starts the edit when the cell is not yet.
    if (!IsActive() && !OnStartEditing()) return;
    if (pChild == m_pUpArrow || pChild == m_pDownArrow) {
        m_bSuppressStep = FALSE;
        OnEditKeyDown(pChild == m_pUpArrow ? VK_UP : VK_DOWN, 1, 0);
        return;
    }
    CGXComboBox::OnClickedButton(pChild);
    if (IsDroppedDown()) {
        CreateListBox();
        OnFillDroppedList();
    }
}

BOOL CKXSpinControl::KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags) {
    // A child with the focus (an arrow button reached by the keyboard) gets the key first.
    if (CGXChild* focus = GetFocusChild(); focus && focus->KeyPressed(nMessage, nChar, nRepCnt, flags)) return TRUE;
    if (nMessage == WM_CHAR) {
        CGXComboBox::KeyPressed(nMessage, nChar, nRepCnt, flags);
        if (nChar != VK_BACK && CanUseList()) AutoComplete();
        return TRUE;
    }
    return CGXComboBox::KeyPressed(nMessage, nChar, nRepCnt, flags);
}

BOOL CKXSpinControl::OnValidate() {
    m_bBoundsFromDesign = TRUE;
    SetShowArrows(FALSE);
    return CGXComboBox::OnValidate();
}

void CKXSpinControl::CreateListBox() {
    if (m_pListBox) m_pListBox->SetSpinControl(this);
}

void CKXSpinControl::OnFillDroppedList() {
    if (!m_pListBox) return;
    CString text;
    if (IsActive()) {
        GetWindowText(text);
    } else if (Grid() && IsInit()) {
        CGXStyle style;
        Grid()->ComposeStyleRowCol(GetRow(), GetCol(), &style);
        text = style.GetValue();
    }
    m_pListBox->SetCurSel(m_pListBox->FindStringExact(-1, text));
}

void CKXSpinControl::OnStoreDroppedList() {
    if (!m_pListBox) return;
    const int sel = m_pListBox->GetCurSel();
    if (sel < 0) return;
    CString text;
    m_pListBox->GetText(sel, text);
    SetWindowText(text);
    SetModify(TRUE);
    SetSel(0, -1);
}

void CKXSpinControl::OnListSelChange() {
    if (IsReadOnly()) return;
    OnStoreDroppedList();
}

void CKXSpinControl::OnListEnded() {
    if (!IsReadOnly()) OnStoreDroppedList();
    ShowDropDown(FALSE);
}

LRESULT CKXSpinControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case GX_LIST_SELCHANGE:
        OnListSelChange();
        return 0;
    case GX_LIST_ENDED:
        OnListEnded();
        return 0;
    case WM_KEYDOWN:
        OnEditKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CHAR:
        OnEditChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnEditMouseMove(static_cast<UINT>(wParam), CPoint(static_cast<short>(LOWORD(lParam)),
                                                          static_cast<short>(HIWORD(lParam))));
        return CGXComboBox::WindowProc(message, wParam, lParam);
    case WM_LBUTTONUP: {
        // The edit window places the caret first; the name part under it is selected after.
        const LRESULT result = CGXComboBox::WindowProc(message, wParam, lParam);
        OnEditLButtonUp(static_cast<UINT>(wParam), CPoint(static_cast<short>(LOWORD(lParam)),
                                                          static_cast<short>(HIWORD(lParam))));
        return result;
    }
    default:
        return CGXComboBox::WindowProc(message, wParam, lParam);
    }
}

bool CKXSpinControl::CanUseList() {
    return m_pListBox != nullptr && !IsReadOnly();
}

std::string CKXSpinControl::EditText() const {
    CString text;
    GetWindowText(text);
    return text.str();
}

int CKXSpinControl::Caret() const {
    int start = 0;
    int end = 0;
    GetSel(start, end);
    return start;
}

kxspin::VectorParts CKXSpinControl::PartsOf(const std::string& text) const {
    // The host's style first; a name the design wrote in the other style (DQ<5> while the host shows
    // square brackets) is a vector all the same.
    const bool square = CSchemaUtilities::getVectorDisplayFormat() != 0;
    const kxspin::VectorParts parts = kxspin::FindParts(text, square ? '[' : '<', square ? ']' : '>');
    return parts.IsVector() ? parts : kxspin::FindParts(text, square ? '<' : '[', square ? '>' : ']');
}

void CKXSpinControl::ApplyResult(const kxspin::KeyResult& result) {
    if (!result.consumed) return;
    m_bKeyNotConsumed = FALSE;
    if (result.text != EditText()) {
        SetWindowText(result.text.c_str());
        SetModify(TRUE);
    }
    SetSel(result.sel.start, result.sel.end);
    if (result.arrowsChanged) SetShowArrows(result.showArrows ? TRUE : FALSE);
}

void CKXSpinControl::LookUpBounds(const std::string& text, const kxspin::VectorParts& parts) {
    if (!m_bBoundsFromDesign) return;
    m_nMaximum = 25000;
    m_nMinimum = 0;
    if (m_designContext.isNull() || !parts.IsVector()) return;
    const std::string base = text.substr(0, static_cast<size_t>(parts.open));
    const CNetContext net = m_designContext.net(base.c_str());
    if (net.isNull() || net->isScalar()) return;
    m_nMaximum = std::max(net->msb(), net->lsb());
    m_nMinimum = std::min(net->msb(), net->lsb());
}

void CKXSpinControl::StepNumber(int direction) {
    const std::string text = EditText();
    const kxspin::VectorParts parts = PartsOf(text);
    const int caret = Caret();
    if (kxspin::NumberUnderCaretForStep(parts, caret) == 0) return;
    LookUpBounds(text, parts);
    kxspin::StepOptions options;
    options.minimum = m_nMinimum;
    options.maximum = m_nMaximum;
    options.clampMin = m_bClampMin != FALSE;
    options.clampMax = m_bClampMax != FALSE;
    options.emptyUsesDefault = m_bEmptyUsesDefault != FALSE;
    options.defaultValue = m_nDefaultValue;
    ApplyResult(kxspin::Step(text, parts, caret, direction, options));
}

void CKXSpinControl::PreviousPart() {
    const std::string text = EditText();
    ApplyResult(kxspin::PreviousPart(text, PartsOf(text), Caret()));
}

void CKXSpinControl::NextPart() {
    const std::string text = EditText();
    ApplyResult(kxspin::NextPart(text, PartsOf(text), Caret()));
}

void CKXSpinControl::CycleList(int direction) {
    if (!m_pListBox) return;
    const std::vector<std::string> entries = m_pListBox->GetEntries();
    const int index = kxspin::CycleIndex(entries, EditText(), direction);
    if (index < 0) return;
    SetWindowText(entries[static_cast<size_t>(index)].c_str());
    SetModify(TRUE);
    SetSel(0, -1);
}

void CKXSpinControl::AutoComplete() {
    if (!m_bAutoComplete || !m_pListBox) return;
    int start = 0;
    int end = 0;
    GetSel(start, end);
    const kxspin::KeyResult result = kxspin::Complete(m_pListBox->GetEntries(), EditText());
    if (!result.consumed) {
        SetSel(start, end);
        return;
    }
    SetWindowText(result.text.c_str());
    SetModify(TRUE);
    SetSel(result.sel.start, result.sel.end);
}

void CKXSpinControl::OnEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // A key the control does not take is the edit box's: the grid handles it (Enter, Tab, Escape, ...).
    const auto editKey = [&] { CGXComboBox::WindowProc(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags)); };
    if (!CanUseList()) {
        editKey();
        return;
    }
    if ((nChar == VK_DOWN || nChar == VK_UP) && GetKeyState(VK_MENU) < 0) {
        // Alt+Down (or Alt+Up) drops the list, or takes it up again, as the combo button does.
        OnClickedButton(GetChild(0));
        return;
    }
    m_bKeyNotConsumed = TRUE;
    if (nChar == VK_UP && !m_bSuppressStep)
        StepUp();
    else if (nChar == VK_DOWN && !m_bSuppressStep)
        StepDown();
    else if (nChar == VK_RIGHT && !ShiftDown())
        NextPart();
    else if (nChar == VK_LEFT && !ShiftDown())
        PreviousPart();
    m_bSuppressStep = FALSE;

    if (!m_bKeyNotConsumed) return;
    if (nChar == VK_UP || nChar == VK_DOWN)
        CycleList(nChar == VK_DOWN ? +1 : -1);
    else
        editKey();
}

void CKXSpinControl::OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    SetShowArrows(FALSE);
    CGXComboBox::KeyPressed(WM_CHAR, nChar, nRepCnt, nFlags);
    if (nChar != VK_BACK && CanUseList()) AutoComplete();
}

void CKXSpinControl::OnEditMouseMove(UINT nFlags, CPoint point) {
    (void)point;
    if (nFlags & MK_LBUTTON) m_bDragging = TRUE;
}

void CKXSpinControl::OnEditLButtonUp(UINT nFlags, CPoint point) {
    (void)point;
    const bool dragged = m_bDragging != FALSE;
    m_bDragging = FALSE;
    if (dragged || (nFlags & MK_SHIFT)) return;
    const std::string text = EditText();
    ApplyResult(kxspin::PartUnderCaret(text, PartsOf(text), Caret()));
}

BOOL CKXSpinControl::IsChildOfCurrentCellControl(CPoint point) const {
    const CGXChild* pFirst = GetChildCount() > 0 ? GetChild(0) : nullptr;
    return pFirst && pFirst->PtInRect(point);
}
