#include "afx/afxgdi.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace {
UINT_PTR g_nextGdi = 0x30000;
std::unordered_map<HGDIOBJ, CFont*>& fonts() {
    // Never destroyed: fonts with static storage may be deleted after any other static.
    static auto* m = new std::unordered_map<HGDIOBJ, CFont*>;
    return *m;
}
} // namespace

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    long long p = static_cast<long long>(nNumber) * nNumerator;
    long long half = std::llabs(nDenominator) / 2;
    long long r = (p >= 0) == (nDenominator > 0) ? (std::llabs(p) + half) / std::llabs(nDenominator)
                                                 : -((std::llabs(p) + half) / std::llabs(nDenominator));
    return static_cast<int>(r);
}

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)

HGDIOBJ CGdiObject::newHandle() {
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(g_nextGdi);
    g_nextGdi += 4;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    fonts().erase(m_hObject);
    m_hObject = nullptr;
    return TRUE;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    if (!lpLogFont || m_hObject) return FALSE;
    m_lf = *lpLogFont;
    m_lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_hObject = newHandle();
    fonts()[m_hObject] = this;
    return TRUE;
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
    LOGFONT lf;
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic;
    lf.lfUnderline = bUnderline;
    lf.lfStrikeOut = cStrikeOut;
    lf.lfCharSet = nCharSet;
    lf.lfOutPrecision = nOutPrecision;
    lf.lfClipPrecision = nClipPrecision;
    lf.lfQuality = nQuality;
    lf.lfPitchAndFamily = nPitchAndFamily;
    if (lpszFacename) std::strncpy(lf.lfFaceName, lpszFacename, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONT lf;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName) std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    (void)pDC;
    if (!lpLogFont) return FALSE;
    LOGFONT lf = *lpLogFont;
    // tenths of a point -> pixels at 96 dpi, as a character height
    lf.lfHeight = -MulDiv(lf.lfHeight, 96, 720);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
    if (!pLogFont || !m_hObject) return 0;
    *pLogFont = m_lf;
    return static_cast<int>(sizeof(LOGFONT));
}

CFont* CFont::FromHandle(HFONT hFont) {
    auto it = fonts().find(hFont);
    return it == fonts().end() ? nullptr : it->second;
}

int CFont::GetHeight() const {
    int h = std::abs(static_cast<int>(m_lf.lfHeight));
    return h == 0 ? 13 : h;
}

int CFont::GetAveCharWidth() const {
    if (m_lf.lfWidth > 0) return m_lf.lfWidth;
    return (GetHeight() + 1) / 2 + (m_lf.lfWeight >= 600 ? 1 : 0);
}

CFont* AfxGetDefaultFont() {
    static CFont* font = [] {
        static CFont f;
        f.CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
        return &f;
    }();
    return font;
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (m_hObject) return FALSE;
    m_nStyle = nPenStyle;
    m_nWidth = nWidth;
    m_color = crColor;
    m_hObject = newHandle();
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    if (m_hObject) return FALSE;
    m_color = crColor;
    m_hObject = newHandle();
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    if (m_hObject) return FALSE;
    m_nID = nIDResource;
    m_size = CSize(16, 16);
    m_hObject = newHandle();
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int nWidth, int nHeight) {
    if (m_hObject) return FALSE;
    m_size = CSize(nWidth, nHeight);
    m_hObject = newHandle();
    return TRUE;
}

// ---------------------------------------------------------------- CDC
CFont* CDC::SelectObject(CFont* pFont) {
    CFont* old = GetCurrentFont();
    m_pFont = pFont;
    return old;
}
CPen* CDC::SelectObject(CPen* pPen) {
    std::swap(pPen, m_pPen);
    return pPen;
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    std::swap(pBrush, m_pBrush);
    return pBrush;
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    std::swap(pBitmap, m_pBitmap);
    return pBitmap;
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    if (nIndex == DEFAULT_GUI_FONT || nIndex == SYSTEM_FONT || nIndex == ANSI_VAR_FONT)
        return SelectObject(AfxGetDefaultFont());
    return nullptr;
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    const CFont* f = GetCurrentFont();
    int n = lpszString ? nCount : 0;
    if (n < 0) n = static_cast<int>(std::strlen(lpszString));
    return CSize(n * f->GetAveCharWidth(), f->GetHeight());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const {
    if (!lpMetrics) return FALSE;
    const CFont* f = GetCurrentFont();
    int h = f->GetHeight();
    lpMetrics->tmHeight = h;
    lpMetrics->tmDescent = h / 4;
    lpMetrics->tmAscent = h - h / 4;
    lpMetrics->tmInternalLeading = 0;
    lpMetrics->tmExternalLeading = 0;
    lpMetrics->tmAveCharWidth = f->GetAveCharWidth();
    lpMetrics->tmMaxCharWidth = f->GetAveCharWidth();
    lpMetrics->tmWeight = f->GetLogFontRef().lfWeight;
    return TRUE;
}

int CDC::GetDeviceCaps(int nIndex) const {
    if (nIndex == LOGPIXELSX || nIndex == LOGPIXELSY) return 96;
    return 0;
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(str, str.GetLength(), lpRect, nFormat);
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    CString s = lpszString ? (nCount < 0 ? CString(lpszString) : CString(lpszString, nCount)) : CString();
    CSize ext = GetTextExtent(s);
    if (nFormat & DT_CALCRECT) {
        if (lpRect) {
            lpRect->right = lpRect->left + ext.cx;
            lpRect->bottom = lpRect->top + ext.cy;
        }
        return ext.cy;
    }
    CString line;
    CRect r(lpRect);
    line.Format("text %d,%d,%d,%d %s", r.left, r.top, r.right, r.bottom, s.GetString());
    m_drawn.push_back(line);
    return ext.cy;
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    CString line;
    line.Format("text %d,%d %s", x, y, str.GetString());
    m_drawn.push_back(line);
    return TRUE;
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, const int* lpDxWidths) {
    (void)nOptions, (void)lpRect, (void)lpDxWidths;
    return TextOut(x, y, str);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (!lpRect) return;
    CString line;
    line.Format("fill %d,%d,%d,%d #%06x", lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, clr);
    m_drawn.push_back(line);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    FillSolidRect(lpRect, pBrush ? pBrush->m_color : 0);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    CString line;
    line.Format("rect %d,%d,%d,%d", x1, y1, x2, y2);
    m_drawn.push_back(line);
    return TRUE;
}

CPoint CDC::MoveTo(int x, int y) {
    CPoint old = m_pos;
    m_pos = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y) {
    CString line;
    line.Format("line %d,%d,%d,%d", m_pos.x, m_pos.y, x, y);
    m_drawn.push_back(line);
    m_pos = CPoint(x, y);
    return TRUE;
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    (void)clrTopLeft, (void)clrBottomRight;
    if (lpRect) Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
