// Cell controls.
#include "grid/gxcontrol.h"
#include "grid/gxdroplist.h"
#include <map>
#include <set>

#include "grid/gxcore.h"

#include <algorithm>

#define GX_IMPLEMENT_CONTROL(class_name, base_class_name) AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, nullptr)

// ---------------------------------------------------------------- children
CGXChild::CGXChild(CGXControl* pComposite) : m_pComposite(pComposite) {}

BOOL CGXChild::LButtonDown(UINT, CPoint)
{
    m_bPressed = TRUE;
    return TRUE;
}

BOOL CGXChild::LButtonUp(UINT, CPoint pt)
{
    const BOOL wasPressed = m_bPressed;
    m_bPressed = FALSE;
    if (wasPressed && PtInRect(pt) && m_pComposite) {
        m_pComposite->OnClickedButton(this);
        return TRUE;
    }
    return FALSE;
}

BOOL CGXChild::KeyPressed(UINT nMessage, UINT nChar, UINT, UINT)
{
    if (nMessage != WM_KEYDOWN || nChar != VK_SPACE || !m_pComposite || !dynamic_cast<CGXButton*>(this))
        return FALSE;
    m_pComposite->OnClickedButton(this);
    return TRUE;
}

BOOL CGXBitmapButtonChild::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel, UINT nIDBitmapResourceFocus)
{
    m_nBitmap = nIDBitmapResource;
    m_nBitmapSel = nIDBitmapResourceSel;
    m_nBitmapFocus = nIDBitmapResourceFocus;
    return nIDBitmapResource != 0;
}

// ---------------------------------------------------------------- CGXControl
CRuntimeClass* CGXControl::GetThisClass()
{
    static CRuntimeClass rc{"CGXControl", static_cast<int>(sizeof(CGXControl)), 0xFFFF, nullptr, &CObject::GetThisClass};
    static const bool registered = (CRuntimeClass::Register(&rc), true);
    (void)registered;
    return &rc;
}
CRuntimeClass* CGXControl::GetRuntimeClass() const { return GetThisClass(); }

GX_IMPLEMENT_CONTROL(CGXStatic, CGXControl)
GX_IMPLEMENT_CONTROL(CGXHeader, CGXStatic)
GX_IMPLEMENT_CONTROL(CGXEditControl, CGXStatic)
GX_IMPLEMENT_CONTROL(CGXComboBox, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGXBitmapButton, CGXControl)
GX_IMPLEMENT_CONTROL(CGXWndWrapper, CGXControl)
IMPLEMENT_DYNAMIC(CGXComboListBox, CListBox)

CGXControl::CGXControl(CGXGridCore* pGrid) : m_pGrid(pGrid) {}
CGXControl::~CGXControl() = default;

void CGXControl::Init(ROWCOL nRow, ROWCOL nCol)
{
    m_nRow = nRow;
    m_nCol = nCol;
    m_bInit = TRUE;
    m_bActive = FALSE;
    m_bModify = FALSE;
    m_pPressedChild = nullptr;
    LoadStyle(nRow, nCol);
    m_sText = m_pStyle ? m_pStyle->GetValue() : CString();
    m_nSelStart = m_nSelEnd = m_sText.GetLength();
    if (m_pGrid && !m_children.empty())
        OnInitChildren(nRow, nCol, GetCellRect(nRow, nCol));
}

void CGXControl::Deinit()
{
    m_bInit = FALSE;
    m_bActive = FALSE;
    m_bModify = FALSE;
    m_nRow = m_nCol = GX_INVALID;
    for (auto& c : m_children)
        c->SetPressed(FALSE);
}

BOOL CGXControl::IsActive() { return m_bActive; }
void CGXControl::SetActive(BOOL bActive) { m_bActive = bActive != FALSE; }

BOOL CGXControl::IsReadOnly()
{
    if (!m_bInit || !m_pGrid || !m_pGrid->GetParam())
        return TRUE;
    if (m_pGrid->GetParam()->IsReadOnly())
        return TRUE;
    return m_pStyle ? m_pStyle->IsReadOnlyForEdit() : FALSE;
}

void CGXControl::SetCurrentText(const CString& str)
{
    m_sText = str;
    m_nSelStart = m_nSelEnd = m_sText.GetLength();
    m_bModify = TRUE;
    m_bActive = TRUE; // text put in by the program is an edit like a typed one
}

void CGXControl::GetCurrentText(CString& strResult) { strResult = m_sText; }

BOOL CGXControl::GetSelectedText(CString& strResult)
{
    int a = std::clamp(std::min(m_nSelStart, m_nSelEnd), 0, m_sText.GetLength());
    int b = std::clamp(std::max(m_nSelStart, m_nSelEnd), 0, m_sText.GetLength());
    strResult = m_sText.Mid(a, b - a);
    return m_bInit;
}

void CGXControl::ReplaceSel(LPCTSTR pszReplaceText)
{
    int a = std::clamp(std::min(m_nSelStart, m_nSelEnd), 0, m_sText.GetLength());
    int b = std::clamp(std::max(m_nSelStart, m_nSelEnd), 0, m_sText.GetLength());
    CString ins(pszReplaceText ? pszReplaceText : "");
    m_sText = m_sText.Left(a) + ins + m_sText.Mid(b);
    m_nSelStart = m_nSelEnd = a + ins.GetLength();
    m_bModify = TRUE;
}

BOOL CGXControl::GetValue(CString& strResult)
{
    strResult = m_sText;
    return m_bInit;
}

void CGXControl::SetValue(LPCTSTR pszRawValue)
{
    m_sText = pszRawValue ? pszRawValue : "";
    m_nSelStart = m_nSelEnd = m_sText.GetLength();
}

void CGXControl::SetModify(BOOL bModified) { m_bModify = bModified != FALSE; }
BOOL CGXControl::GetModify() { return m_bModify; }

BOOL CGXControl::OnValidate()
{
    if (!m_bInit || !m_pGrid)
        return FALSE;
    if (m_pStyle && m_pStyle->GetIncludeMaxLength() && m_pStyle->GetMaxLength() > 0 &&
        m_sText.GetLength() > m_pStyle->GetMaxLength()) {
        m_pGrid->SetWarningText("The text is too long.");
        return FALSE;
    }
    return m_pGrid->OnValidateCell(m_nRow, m_nCol);
}

BOOL CGXControl::Store()
{
    if (!m_bInit || !m_pGrid)
        return FALSE;
    CString value;
    GetValue(value);
    return m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol), value, gxOverride, 0, GX_INVALIDATE);
}

void CGXControl::Reset()
{
    if (!m_bInit)
        return;
    LoadStyle(m_nRow, m_nCol);
    m_sText = m_pStyle ? m_pStyle->GetValue() : CString();
    m_nSelStart = m_nSelEnd = m_sText.GetLength();
    m_bModify = FALSE;
}

void CGXControl::Refresh()
{
    if (!m_bInit)
        return;
    LoadStyle(m_nRow, m_nCol);
    if (!m_bActive) {
        m_sText = m_pStyle ? m_pStyle->GetValue() : CString();
        m_nSelStart = m_nSelEnd = m_sText.GetLength();
    }
}

BOOL CGXControl::LoadStyle(ROWCOL nRow, ROWCOL nCol, CGXStyle* pStyle)
{
    if (!m_pStyle)
        m_pStyle = std::make_unique<CGXStyle>();
    if (pStyle) {
        *m_pStyle = *pStyle;
        return TRUE;
    }
    if (!m_pGrid)
        return FALSE;
    m_pGrid->ComposeStyleRowCol(nRow, nCol, m_pStyle.get());
    return TRUE;
}

CRect CGXControl::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle*)
{
    if (rectItem)
        return CRect(*rectItem);
    return m_pGrid ? m_pGrid->CalcRectFromRowColEx(nRow, nCol) : CRect(0, 0, 0, 0);
}

void CGXControl::OnInitChildren(ROWCOL, ROWCOL, const CRect& rect)
{
    int x = rect.right;
    for (auto& child : m_children) {
        int w = child->GetPreferredWidth() > 0 ? child->GetPreferredWidth() : rect.Height();
        w = std::min(w, std::max(0, x - rect.left));
        child->SetRect(CRect(x - w, rect.top, x, rect.bottom));
        x -= w;
    }
}

void CGXControl::AddChild(CGXChild* pChild)
{
    if (pChild && std::none_of(m_children.begin(), m_children.end(), [&](const auto& c) { return c.get() == pChild; }))
        m_children.emplace_back(pChild);
}

CGXChild* CGXControl::GetChild(int i) const
{
    return i >= 0 && i < GetChildCount() ? m_children[static_cast<size_t>(i)].get() : nullptr;
}

CGXChild* CGXControl::ChildFromPt(CPoint pt) const
{
    for (const auto& c : m_children)
        if (c->PtInRect(pt))
            return c.get();
    return nullptr;
}

void CGXControl::OnClickedButton(CGXChild*)
{
    if (m_pGrid && m_bInit)
        m_pGrid->OnClickedButtonRowCol(m_nRow, m_nCol);
}

// The caret keys of a cell being edited. m_nSelStart is the selection's anchor and m_nSelEnd the
// caret: with Shift the caret moves and the anchor stays, so that the text between them is selected;
// without, a selection collapses to the side the key points to. FALSE when the caret is at the edge
// the key points to and nothing is selected: the key is then the grid's (it moves the current cell).
BOOL CGXControl::MoveCaret(UINT nChar, bool extend)
{
    const int len = m_sText.GetLength();
    const int caret = std::clamp(m_nSelEnd, 0, len);
    const int low = std::clamp(std::min(m_nSelStart, m_nSelEnd), 0, len);
    const int high = std::clamp(std::max(m_nSelStart, m_nSelEnd), 0, len);
    int to = caret;
    switch (nChar) {
    case VK_LEFT: to = extend ? std::max(caret - 1, 0) : (low != high ? low : caret - 1); break;
    case VK_RIGHT: to = extend ? std::min(caret + 1, len) : (low != high ? high : caret + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = len; break;
    default: return FALSE;
    }
    // Shift keeps the key in the edit even at the text's edge: it selects, it never leaves the cell.
    if (extend) {
        m_nSelEnd = to;
        return TRUE;
    }
    if (low == high && (to < 0 || to > len || to == caret))
        return FALSE;
    m_nSelStart = m_nSelEnd = std::clamp(to, 0, len);
    return TRUE;
}

BOOL CGXControl::KeyPressed(UINT nMessage, UINT nChar, UINT, UINT)
{
    if (nMessage == WM_CHAR) {
        if (nChar < 32 && nChar != 8)
            return FALSE;
        if (IsReadOnly())
            return FALSE;
        if (!m_bActive) {
            if (!OnStartEditing())
                return FALSE;
            if (nChar != 8) {
                // Typing into a cell replaces its text.
                m_nSelStart = 0;
                m_nSelEnd = m_sText.GetLength();
            }
        }
        if (nChar == 8) {
            if (m_nSelStart == m_nSelEnd && m_nSelStart > 0)
                --m_nSelStart;
            ReplaceSel("");
        } else {
            char s[2] = {static_cast<char>(nChar), 0};
            ReplaceSel(s);
        }
        return TRUE;
    }
    if (nMessage != WM_KEYDOWN || !m_bActive)
        return FALSE;
    const int len = m_sText.GetLength();
    if (nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_HOME || nChar == VK_END)
        return MoveCaret(nChar, GetKeyState(VK_SHIFT) < 0);
    switch (nChar) {
    case VK_DELETE:
        if (IsReadOnly())
            return FALSE;
        if (m_nSelStart == m_nSelEnd && m_nSelEnd < len)
            ++m_nSelEnd;
        ReplaceSel("");
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CGXControl::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CGXControl::LButtonDown(UINT, CPoint, UINT) { return FALSE; }
BOOL CGXControl::LButtonUp(UINT, CPoint, UINT) { return FALSE; }
BOOL CGXControl::LButtonDblClk(UINT, CPoint) { return FALSE; }

BOOL CGXControl::OnStartEditing()
{
    if (!m_bInit || !m_pGrid || IsReadOnly())
        return FALSE;
    if (m_bActive)
        return TRUE;
    if (!m_pGrid->OnStartEditing(m_nRow, m_nCol))
        return FALSE;
    m_bActive = TRUE;
    return TRUE;
}

BOOL CGXControl::GetControlText(CString& strResult, ROWCOL, ROWCOL, LPCTSTR pszRawValue, const CGXStyle&)
{
    strResult = pszRawValue ? pszRawValue : "";
    return TRUE;
}

// ---------------------------------------------------------------- CGXEditControl
CGXEditControl::CGXEditControl(CGXGridCore* pGrid, UINT nID) : CGXStatic(pGrid), m_nEditID(nID) {}
CGXEditControl::~CGXEditControl() = default;

BOOL CGXEditControl::IsReadOnly() { return CGXControl::IsReadOnly(); }
BOOL CGXEditControl::OnStartEditing() { return CGXControl::OnStartEditing(); }
void CGXEditControl::SetCurrentText(const CString& str) { CGXControl::SetCurrentText(str); }
void CGXEditControl::GetCurrentText(CString& strResult) { CGXControl::GetCurrentText(strResult); }
BOOL CGXEditControl::GetSelectedText(CString& strResult) { return CGXControl::GetSelectedText(strResult); }
void CGXEditControl::ReplaceSel(LPCTSTR pszReplaceText) { CGXControl::ReplaceSel(pszReplaceText); }
void CGXEditControl::ReplaceSel(LPCTSTR text, BOOL) { CGXControl::ReplaceSel(text); }
BOOL CGXEditControl::KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags)
{
    return CGXControl::KeyPressed(nMessage, nChar, nRepCnt, flags);
}
BOOL CGXEditControl::OnCommand(WPARAM, LPARAM) { return FALSE; }
LRESULT CGXEditControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_KEYDOWN && message != WM_KEYUP && message != WM_CHAR)
        return CWnd::WindowProc(message, wParam, lParam);
    if (!m_pGrid)
        return 0;
    return m_pGrid->ProcessKeys(m_pGrid->GridWnd(), message, static_cast<UINT>(wParam), LOWORD(lParam),
                                HIWORD(lParam));
}
void CGXEditControl::Init(ROWCOL nRow, ROWCOL nCol) { CGXControl::Init(nRow, nCol); }
void CGXEditControl::Reset() { CGXControl::Reset(); }

void CGXEditControl::SetWindowText(LPCTSTR text) { CGXControl::SetValue(text); }
void CGXEditControl::GetWindowText(CString& text) const { text = m_sText; }
int CGXEditControl::GetWindowTextLength() const { return m_sText.GetLength(); }

void CGXEditControl::SetSel(int nStart, int nEnd, BOOL)
{
    const int len = m_sText.GetLength();
    if (nStart < 0) { // (-1, x) removes the selection, leaving the caret at the end of it
        m_nSelStart = m_nSelEnd = std::clamp(m_nSelEnd, 0, len);
        return;
    }
    m_nSelStart = std::clamp(nStart, 0, len);
    m_nSelEnd = nEnd < 0 ? len : std::clamp(nEnd, 0, len);
}

void CGXEditControl::GetSel(int& nStart, int& nEnd) const
{
    nStart = std::min(m_nSelStart, m_nSelEnd);
    nEnd = std::max(m_nSelStart, m_nSelEnd);
}

DWORD CGXEditControl::GetSel() const
{
    int a, b;
    GetSel(a, b);
    return static_cast<DWORD>(MAKELONG(a, b));
}

// ---------------------------------------------------------------- CGXComboBox
CGXComboBox::CGXComboBox(CGXGridCore* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags)
    : CGXEditControl(pGrid, nEditID), m_nListBoxID(nListBoxID), m_nFlags(nFlags)
{
    AddChild(new CGXButton(this)); // the drop-down button
}

namespace {

// The combo cells whose list is down, process-wide.
std::set<const CGXComboBox*>& DroppedCombos()
{
    static std::set<const CGXComboBox*> dropped;
    return dropped;
}

// The lists the combo cells keep of their own.
std::map<const CGXComboBox*, CListBox*>& OwnLists()
{
    static std::map<const CGXComboBox*, CListBox*> lists;
    return lists;
}

} // namespace

BOOL GXDiscardNcActivate() { return DroppedCombos().empty() ? FALSE : TRUE; }

void GXSetDroppedList(const CGXComboBox* combo, CListBox* list)
{
    if (list)
        OwnLists()[combo] = list;
    else
        OwnLists().erase(combo);
}

CListBox* GXGetDroppedList(const CGXComboBox* combo)
{
    const auto it = OwnLists().find(combo);
    return it == OwnLists().end() ? nullptr : it->second;
}

CGXComboBox::~CGXComboBox()
{
    DroppedCombos().erase(this);
    OwnLists().erase(this);
}

void CGXComboBox::SetDropped(BOOL bDropped)
{
    m_bDropped = bDropped ? TRUE : FALSE;
    if (m_bDropped)
        DroppedCombos().insert(this);
    else
        DroppedCombos().erase(this);
}

void CGXComboBox::Init(ROWCOL nRow, ROWCOL nCol)
{
    if (!IsInit(nRow, nCol))
        SetDropped(FALSE);
    CGXEditControl::Init(nRow, nCol);
}

void CGXComboBox::Deinit()
{
    SetDropped(FALSE);
    CGXEditControl::Deinit();
}

void CGXComboBox::GetChoiceList(std::vector<CString>& items)
{
    items.clear();
    if (!m_pStyle)
        return;
    const CString& list = m_pStyle->GetChoiceList();
    int start = 0;
    while (start <= list.GetLength()) {
        int nl = list.Find('\n', start);
        if (nl < 0) {
            if (start < list.GetLength())
                items.push_back(list.Mid(start));
            break;
        }
        items.push_back(list.Mid(start, nl - start));
        start = nl + 1;
    }
}

BOOL CGXComboBox::SelectItem(int nIndex)
{
    std::vector<CString> items;
    GetChoiceList(items);
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= items.size())
        return FALSE;
    if (!m_bActive && !OnStartEditing())
        return FALSE;
    SetCurrentText(items[static_cast<size_t>(nIndex)]);
    SetDropped(FALSE);
    return TRUE;
}

void CGXComboBox::OnClickedButton(CGXChild* pChild)
{
    if (pChild == GetChild(0)) {
        if (!IsReadOnly())
            SetDropped(!m_bDropped);
        return;
    }
    CGXEditControl::OnClickedButton(pChild);
}

void CGXComboBox::OnListCancelled(BOOL bFocusLost)
{
    SetDropped(FALSE);
    if (!bFocusLost || !m_bActive)
        return;
    if (m_pGrid && m_bInit && m_pGrid->IsCurrentCell(m_nRow, m_nCol) && m_pGrid->GetCurrentCellControl() == this) {
        m_pGrid->TransferCurrentCell(FALSE);
        return;
    }
    SetModify(FALSE);
    SetActive(FALSE);
    Reset();
}

LRESULT CGXComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != GX_LIST_CANCELLED)
        return CGXEditControl::WindowProc(message, wParam, lParam);
    OnListCancelled(wParam == GX_LIST_CANCEL_FOCUS_LOST ? TRUE : FALSE);
    return 0;
}

// ---------------------------------------------------------------- CGXBitmapButton
CGXBitmapButton::CGXBitmapButton(CGXGridCore* pGrid, UINT nBitmapResourceID, UINT nBitmapResourceSelID,
                                 UINT nBitmapResourceFocusID)
    : CGXControl(pGrid), m_pButton(new CGXBitmapButtonChild(this))
{
    AddChild(m_pButton);
    m_pButton->LoadBitmaps(nBitmapResourceID, nBitmapResourceSelID, nBitmapResourceFocusID);
}

UINT CGXBitmapButton::GetBitmapId() const { return m_pButton->GetBitmapId(); }

void CGXBitmapButton::OnInitChildren(ROWCOL, ROWCOL, const CRect& rect) { m_pButton->SetRect(rect); }

// ---------------------------------------------------------------- CGXWndWrapper
CGXWndWrapper::CGXWndWrapper(CGXGridCore* pGrid, CWnd* pWnd, BOOL bNeedDestroy, BOOL bCanActivate, BOOL bInvertBorders)
    : CGXControl(pGrid), m_pWnd(pWnd), m_bNeedDestroy(bNeedDestroy), m_bCanActivate(bCanActivate),
      m_bInvertBorders(bInvertBorders)
{
}

CGXWndWrapper::~CGXWndWrapper()
{
    if (m_bNeedDestroy && m_pWnd) {
        if (m_pWnd->GetSafeHwnd())
            m_pWnd->DestroyWindow();
        delete m_pWnd;
    }
}

BOOL CGXWndWrapper::IsActive() { return m_bCanActivate && m_bActive; }

void CGXWndWrapper::SetActive(BOOL bActive) { m_bActive = m_bCanActivate && bActive; }

void CGXWndWrapper::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXControl::Init(nRow, nCol);
    if (m_pWnd && m_pWnd->GetSafeHwnd()) {
        CRect rc = GetCellRect(nRow, nCol);
        if (!rc.IsRectEmpty())
            m_pWnd->MoveWindow(rc.left, rc.top, rc.Width(), rc.Height(), FALSE);
    }
}

// ---------------------------------------------------------------- tool tips
BOOL CGXNoToolTipCtrlProxy::GetToolTipText(ROWCOL nRow, ROWCOL nCol, CString& text)
{
    text.Empty();
    if (!m_pGrid || !m_bActive || nRow > m_pGrid->GetRowCount() || nCol > m_pGrid->GetColCount())
        return FALSE;
    text = m_pGrid->LookupStyleRowCol(nRow, nCol).GetUserAttribute(GX_IDS_UA_TOOLTIPTEXT).GetValue();
    return !text.IsEmpty();
}

CGXChild* CGXControl::GetFocusChild() const
{
    for (const auto& child : m_children)
        if (child && child->HasFocus()) return child.get();
    return nullptr;
}
