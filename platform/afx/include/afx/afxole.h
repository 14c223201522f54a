// Drag and drop, global memory and the process clipboard.
//
// Clipboard formats registered by name share the table of registered window messages: the same
// name (without regard to case) gives the same number in every module. The clipboard keeps one
// block of global memory per format; SetClipboardData hands the block over to it.
// A drag is played by AfxDoDragDrop: the registered target of the window gets OnDragEnter,
// OnDragOver at the drop point and then OnDrop (or OnDragLeave when it refused).
#pragma once

#include "afx/afxwin.h"

#include <map>
#include <string>

using DROPEFFECT = DWORD;

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GMEM_DDESHARE 0x2000
#define GMEM_SHARE 0x2000

HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
size_t GlobalSize(HGLOBAL hMem);
// nullptr when freed; an unknown handle is returned unchanged.
HGLOBAL GlobalFree(HGLOBAL hMem);
// A block holding the text and its terminating NUL.
HGLOBAL AfxGlobalAllocText(LPCSTR lpszText);
// The text of a block (up to its first NUL or its end).
CString AfxGlobalText(HGLOBAL hMem);
int AfxGetGlobalBlockCount(); // live blocks (tests check for leaks)

UINT RegisterClipboardFormatA(LPCSTR lpszFormat);
inline UINT RegisterClipboardFormat(LPCSTR lpszFormat) {
    return RegisterClipboardFormatA(lpszFormat);
}
int GetClipboardFormatNameA(UINT format, LPSTR lpszFormatName, int cchMaxCount);
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard takes the block; FALSE (and the caller keeps it) when the clipboard is not open.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The clipboard's own block (do not free), or nullptr.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
// Changes whenever the clipboard is emptied or takes data: a copy that put nothing there leaves it.
DWORD GetClipboardSequenceNumber();
// Convenience for tests and the host: replace the clipboard by one text block / read a format.
void AfxSetClipboardText(LPCSTR lpszText, UINT uFormat = CF_TEXT);
CString AfxGetClipboardText(UINT uFormat = CF_TEXT);

// The data of a drag or of the clipboard.
class COleDataObject {
public:
    COleDataObject() = default;
    // Data offered by a drag source (format -> bytes).
    void SetData(CLIPFORMAT cfFormat, const std::string& bytes) { m_data[cfFormat] = bytes; }
    void SetText(CLIPFORMAT cfFormat, LPCSTR lpszText) {
        m_data[cfFormat] = std::string(lpszText ? lpszText : "") + '\0';
    }
    // Reads the process clipboard instead.
    BOOL AttachClipboard();
    void Release() {
        m_data.clear();
        m_bClipboard = FALSE;
    }
    BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
    // A new block with the data (the caller frees it with GlobalFree), or nullptr.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;
    CString GetText(CLIPFORMAT cfFormat) const;

private:
    std::map<CLIPFORMAT, std::string> m_data;
    BOOL m_bClipboard = FALSE;
};

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget() = default;
    ~COleDropTarget() override;
    // Makes this the drop target of the window; FALSE for no window or one that already has a target.
    BOOL Register(CWnd* pWnd);
    void Revoke();
    CWnd* GetWindow() const { return m_pWnd; }
    static COleDropTarget* FromWindow(CWnd* pWnd);

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);

private:
    CWnd* m_pWnd = nullptr;
    HWND m_hWnd = nullptr;
};

struct AfxDropResult {
    DROPEFFECT enterEffect = DROPEFFECT_NONE;
    DROPEFFECT overEffect = DROPEFFECT_NONE;
    BOOL bDropped = FALSE; // OnDrop ran
    BOOL bResult = FALSE;  // what OnDrop returned
};

// Plays a drag of the data onto the window (its own target, else its nearest ancestor's):
// enter at the point, move over the point, then drop when the effect is not none, else leave.
AfxDropResult AfxDoDragDrop(CWnd* pTarget, COleDataObject& data, CPoint point, DWORD dwKeyState = 0);
