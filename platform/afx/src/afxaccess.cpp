// CWnd's accessibility: children, names, locations and hit tests.
#include "afx/afxwin.h"
#include "afx/afxdisp.h"

// ---------------------------------------------------------------- accessibility
std::vector<CWnd*> CWnd::AccessibleChildren() const {
    std::vector<CWnd*> shown;
    for (CWnd* child : m_children)
        if (child && child->IsVisibleFlag()) shown.push_back(child);
    return shown;
}

// The window a child number names: this window for CHILDID_SELF, else the child (hr E_INVALIDARG
// and null for a number that names none or a variant that is not a number).
CWnd* CWnd::AccessibleTarget(const VARIANT& varChild, HRESULT& hr) const {
    hr = S_OK;
    if (varChild.vt != VT_I4) {
        hr = E_INVALIDARG;
        return nullptr;
    }
    if (varChild.lVal == CHILDID_SELF) return const_cast<CWnd*>(this);
    const std::vector<CWnd*> children = AccessibleChildren();
    if (varChild.lVal < 1 || static_cast<size_t>(varChild.lVal) > children.size()) {
        hr = E_INVALIDARG;
        return nullptr;
    }
    return children[static_cast<size_t>(varChild.lVal - 1)];
}

HRESULT CWnd::GetAccessibleChildCount(long* pcountChildren) {
    if (!pcountChildren) return E_INVALIDARG;
    *pcountChildren = static_cast<long>(AccessibleChildren().size());
    return S_OK;
}

HRESULT CWnd::GetAccessibleChild(const VARIANT& varChild, CWnd** ppChild) {
    if (!ppChild) return E_INVALIDARG;
    *ppChild = nullptr;
    HRESULT hr = S_OK;
    CWnd* target = AccessibleTarget(varChild, hr);
    if (!target) return hr;
    if (target == this) return S_FALSE;
    *ppChild = target;
    return S_OK;
}

HRESULT CWnd::GetAccessibleName(const VARIANT& varChild, CString* pszName) {
    if (!pszName) return E_INVALIDARG;
    HRESULT hr = S_OK;
    CWnd* target = AccessibleTarget(varChild, hr);
    if (!target) return hr;
    // "&&" stands for one '&'; a single '&' only marks the mnemonic.
    const CString& text = target->m_strText;
    CString name;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.GetLength() && text[i + 1] == '&') name += '&';
            ++i;
            if (i < text.GetLength() && text[i] != '&') name += text[i];
            continue;
        }
        name += text[i];
    }
    *pszName = name;
    return S_OK;
}

HRESULT CWnd::GetAccessibilityLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                       const VARIANT& varChild) {
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_INVALIDARG;
    HRESULT hr = S_OK;
    CWnd* target = AccessibleTarget(varChild, hr);
    if (!target) return hr;
    CRect r;
    target->GetWindowRect(&r);
    *pxLeft = r.left;
    *pyTop = r.top;
    *pcxWidth = r.Width();
    *pcyHeight = r.Height();
    return S_OK;
}

HRESULT CWnd::GetAccessibilityHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    if (!pvarChild) return E_INVALIDARG;
    const CPoint pt(static_cast<int>(xLeft), static_cast<int>(yTop));
    CRect own;
    GetWindowRect(&own);
    pvarChild->vt = VT_EMPTY;
    if (!own.PtInRect(pt)) return S_FALSE;
    // The topmost child wins where children overlap: the last in z-order.
    const std::vector<CWnd*> children = AccessibleChildren();
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    for (size_t i = children.size(); i-- > 0;) {
        CRect r;
        children[i]->GetWindowRect(&r);
        if (r.PtInRect(pt)) {
            pvarChild->lVal = static_cast<LONG>(i + 1);
            break;
        }
    }
    return S_OK;
}

HRESULT CWnd::get_accChildCount(long* pcountChildren) {
    return GetAccessibleChildCount(pcountChildren);
}
HRESULT CWnd::get_accChild(const VARIANT& varChild, CWnd** ppChild) {
    return GetAccessibleChild(varChild, ppChild);
}
HRESULT CWnd::get_accName(const VARIANT& varChild, CString* pszName) {
    return GetAccessibleName(varChild, pszName);
}
HRESULT CWnd::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, const VARIANT& varChild) {
    return GetAccessibilityLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
}
HRESULT CWnd::accHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    return GetAccessibilityHitTest(xLeft, yTop, pvarChild);
}

