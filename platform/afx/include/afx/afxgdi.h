// GDI objects with deterministic metrics: no screen, but width arithmetic is testable.
//
// Font metrics: the cell height is |lfHeight| (13 when 0); every character is as wide as the
// average character width, (height + 1) / 2, plus 1 for bold (weight >= 600). Point sizes convert
// at 96 pixels per inch: CreatePointFont(85, ...) gives lfHeight -11.
#pragma once

#include "afx/afxwin.h"

#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define ANSI_CHARSET 0
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define DEFAULT_GUI_FONT 17
#define SYSTEM_FONT 13
#define ANSI_VAR_FONT 12
#define NULL_BRUSH 5
#define NULL_PEN 8
#define WHITE_BRUSH 0
#define BLACK_PEN 7

struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};
using LOGFONTA = LOGFONT;
using LPLOGFONT = LOGFONT*;

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
};
using LPTEXTMETRIC = TEXTMETRIC*;

int MulDiv(int nNumber, int nNumerator, int nDenominator);

struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;
using HFONT = HGDIOBJ;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject();
    ~CGdiObject() override { DeleteObject(); }

protected:
    HGDIOBJ newHandle();
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // nPointSize in tenths of a point.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const;
    operator HFONT() const { return m_hObject; }
    static CFont* FromHandle(HFONT hFont);

    // Metrics (see the file comment).
    int GetHeight() const;
    int GetAveCharWidth() const;
    const LOGFONT& GetLogFontRef() const { return m_lf; }

private:
    LOGFONT m_lf;
};

// The font windows use when none was set (13 pixels high, 7 wide per character).
CFont* AfxGetDefaultFont();

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    int m_nStyle = 0;
    int m_nWidth = 0;
    COLORREF m_color = 0;
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor);
    COLORREF m_color = 0;
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    // Bitmaps are not drawn: loading records the id and succeeds.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    UINT m_nID = 0;
    CSize m_size;
};

// A device context without a device: it keeps the selected objects and colours, measures text with
// the selected font, and records what is drawn (one line per call) for tests.
class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    explicit CDC(CWnd* pWnd) : m_pWnd(pWnd) {
        if (pWnd && pWnd->GetFont()) m_pFont = pWnd->GetFont();
    }
    ~CDC() override = default;

    CFont* SelectObject(CFont* pFont);
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectStockObject(int nIndex);
    CFont* GetCurrentFont() const { return m_pFont ? m_pFont : AfxGetDefaultFont(); }

    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    CSize GetOutputTextExtent(const CString& str) const { return GetTextExtent(str); }
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;
    int GetDeviceCaps(int nIndex) const;
    BOOL CreateCompatibleDC(CDC* pDC) {
        (void)pDC;
        return TRUE;
    }
    BOOL DeleteDC() { return TRUE; }

    COLORREF SetTextColor(COLORREF c) {
        std::swap(c, m_textColor);
        return c;
    }
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF SetBkColor(COLORREF c) {
        std::swap(c, m_bkColor);
        return c;
    }
    COLORREF GetBkColor() const { return m_bkColor; }
    int SetBkMode(int nBkMode) {
        std::swap(nBkMode, m_bkMode);
        return nBkMode;
    }
    int SaveDC() { return ++m_saved; }
    BOOL RestoreDC(int) { return TRUE; }

    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    BOOL TextOut(int x, int y, const CString& str);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str,
                    const int* lpDxWidths = nullptr);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
        CRect r(x, y, x + cx, y + cy);
        FillSolidRect(&r, clr);
    }
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    BOOL BitBlt(int, int, int, int, CDC*, int, int, DWORD) { return TRUE; }
    BOOL DrawFocusRect(LPCRECT) { return TRUE; }
    int IntersectClipRect(LPCRECT) { return 1; }
    BOOL PatBlt(int, int, int, int, DWORD) { return TRUE; }

    std::vector<CString> m_drawn;

protected:
    CWnd* m_pWnd = nullptr;
    CFont* m_pFont = nullptr;
    CPen* m_pPen = nullptr;
    CBrush* m_pBrush = nullptr;
    CBitmap* m_pBitmap = nullptr;
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    int m_saved = 0;
    CPoint m_pos;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd) : CDC(pWnd) {}
};
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd) : CDC(pWnd) {}
};
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd) : CDC(pWnd) {}
};
