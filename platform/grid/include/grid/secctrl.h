// The toolkit's shortcut bar and bitmap button, headless. A shortcut bar is a window that holds
// bars, each a label with an optional client window, of which one is active; a bitmap button is a
// push button that shows a bitmap resource instead of its caption. Nothing is drawn: the state is
// what the owners and tests read.
#pragma once

#include "afx/afx.h"
#include "afx/afxdlg.h"

#include <vector>

// Alignment (the two low style bits) and options (the next four) of a shortcut bar.
#define SEC_OBS_VERT 0x0000L
#define SEC_OBS_HORZ 0x0001L
#define SEC_OBS_ALIGN_MASK 0x0003L
#define SEC_OBS_OPTIONS_MASK 0x003CL
#define SEC_OBS_STYLE_BITS 0x003FL

class SECShortcutBar : public CWnd {
    DECLARE_DYNCREATE(SECShortcutBar)
public:
    SECShortcutBar() = default;

    // Creates the bar window as a child of the parent: the style's two low bits are the alignment,
    // the next four the option bits; the window gets the style less those six bits. TRUE at once
    // when the window exists; FALSE when it cannot be made.
    using CWnd::Create;
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    DWORD GetAlignStyle() const { return m_dwAlign; }
    DWORD GetBarOptions() const { return m_dwOptions; }

    // The fonts and brushes the bars are drawn with; made once, after the window.
    virtual void ConstructGDIObjects();
    BOOL HasGDIObjects() const { return m_bGDIObjects; }

    // Bars, counted from 0. AddBar appends a bar and returns its index; the first bar added becomes
    // the active one. Operations with an index that names no bar change nothing and answer FALSE.
    int AddBar(CWnd* pClient, LPCTSTR lpszLabel);
    int AddBar(LPCTSTR lpszLabel) { return AddBar(nullptr, lpszLabel); }
    BOOL RenameBar(int nIndex, LPCTSTR lpszLabel);
    BOOL RemoveBar(int nIndex);
    BOOL ActivateBar(int nIndex);
    int GetActiveIndex() const { return m_nActive; }
    int GetBarCount() const { return static_cast<int>(m_bars.size()); }
    CString GetBarLabel(int nIndex) const;
    CWnd* GetBarClient(int nIndex) const;

protected:
    // The window class the bar's window is made of; a derived bar that registers a class of its
    // own names it here.
    virtual LPCTSTR BarClassName() const { return "SECShortcutBar"; }
    BOOL IsBarIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetBarCount(); }

private:
    struct Bar {
        CString label;
        CWnd* client = nullptr;
    };
    std::vector<Bar> m_bars;
    int m_nActive = -1;
    DWORD m_dwAlign = 0;
    DWORD m_dwOptions = 0;
    BOOL m_bGDIObjects = FALSE;
};

// Alignment of the bitmap of a bitmap button (its "button style").
#define SEC_BMPBTN_LEFT 0
#define SEC_BMPBTN_TOP 1
#define SEC_BMPBTN_RIGHT 2
#define SEC_BMPBTN_BOTTOM 3
#define SEC_BMPBTN_CENTER 4

class SECBitmapButton : public CButton {
    DECLARE_DYNCREATE(SECBitmapButton)
public:
    SECBitmapButton() = default;
    // The bitmap resource the button shows and where; FALSE for resource 0.
    BOOL AttachBitmap(UINT nBitmapId, UINT nAlign = SEC_BMPBTN_CENTER);
    UINT GetBitmapId() const { return m_nBitmapId; }
    UINT GetBitmapAlign() const { return m_nAlign; }

private:
    UINT m_nBitmapId = 0;
    UINT m_nAlign = SEC_BMPBTN_CENTER;
};
