#include "afx/afxole.h"

#include <cctype>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

// ---------------------------------------------------------------- global memory
namespace {
struct GlobalBlocks {
    std::unordered_map<HGLOBAL, std::unique_ptr<std::vector<char>>> blocks;
    static GlobalBlocks& get() {
        static GlobalBlocks g;
        return g;
    }
};
std::vector<char>* block(HGLOBAL h) {
    auto& b = GlobalBlocks::get().blocks;
    auto it = b.find(h);
    return it == b.end() ? nullptr : it->second.get();
}
} // namespace

HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes) {
    (void)uFlags; // always zero-filled
    auto mem = std::make_unique<std::vector<char>>(dwBytes == 0 ? 1 : dwBytes, '\0');
    if (dwBytes == 0) mem->clear();
    HGLOBAL h = mem->empty() ? static_cast<HGLOBAL>(mem.get()) : static_cast<HGLOBAL>(mem->data());
    GlobalBlocks::get().blocks[h] = std::move(mem);
    return h;
}

LPVOID GlobalLock(HGLOBAL hMem) {
    std::vector<char>* b = block(hMem);
    return b && !b->empty() ? b->data() : nullptr;
}

BOOL GlobalUnlock(HGLOBAL hMem) {
    (void)hMem; // blocks do not move: there is no lock count
    return FALSE;
}

size_t GlobalSize(HGLOBAL hMem) {
    std::vector<char>* b = block(hMem);
    return b ? b->size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
    if (!hMem) return nullptr;
    return GlobalBlocks::get().blocks.erase(hMem) ? nullptr : hMem;
}

HGLOBAL AfxGlobalAllocText(LPCSTR lpszText) {
    size_t n = lpszText ? std::strlen(lpszText) : 0;
    HGLOBAL h = GlobalAlloc(GHND, n + 1);
    if (n) std::memcpy(GlobalLock(h), lpszText, n);
    GlobalUnlock(h);
    return h;
}

CString AfxGlobalText(HGLOBAL hMem) {
    std::vector<char>* b = block(hMem);
    if (!b || b->empty()) return CString();
    size_t n = 0;
    while (n < b->size() && (*b)[n] != '\0')
        ++n;
    return CString(b->data(), static_cast<int>(n));
}

int AfxGetGlobalBlockCount() {
    return static_cast<int>(GlobalBlocks::get().blocks.size());
}

// ---------------------------------------------------------------- clipboard
namespace {
struct Clipboard {
    std::map<UINT, HGLOBAL> data;
    bool open = false;
    HWND owner = nullptr;
    DWORD sequence = 1; // counts the changes of the contents
    std::map<UINT, CString> names;
    ~Clipboard() {
        for (auto& [f, h] : data)
            GlobalFree(h);
    }
    static Clipboard& get() {
        static Clipboard c;
        return c;
    }
    void clear() {
        for (auto& [f, h] : data)
            GlobalFree(h);
        data.clear();
    }
};
Clipboard& C() {
    // The blocks must outlive the clipboard's destructor.
    GlobalBlocks::get();
    return Clipboard::get();
}
} // namespace

UINT RegisterClipboardFormatA(LPCSTR lpszFormat) {
    UINT n = RegisterWindowMessageA(lpszFormat);
    if (n) C().names.emplace(n, lpszFormat);
    return n;
}

int GetClipboardFormatNameA(UINT format, LPSTR lpszFormatName, int cchMaxCount) {
    auto it = C().names.find(format);
    if (it == C().names.end() || !lpszFormatName || cchMaxCount <= 0) return 0;
    int n = std::min(cchMaxCount - 1, it->second.GetLength());
    std::memcpy(lpszFormatName, it->second.GetString(), static_cast<size_t>(n));
    lpszFormatName[n] = '\0';
    return n;
}

BOOL OpenClipboard(HWND hWndNewOwner) {
    if (C().open) return FALSE;
    C().open = true;
    C().owner = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard() {
    if (!C().open) return FALSE;
    C().open = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    if (!C().open) return FALSE;
    C().clear();
    ++C().sequence;
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) {
    if (!C().open || !uFormat) return nullptr;
    auto it = C().data.find(uFormat);
    if (it != C().data.end() && it->second != hMem) GlobalFree(it->second);
    C().data[uFormat] = hMem;
    ++C().sequence;
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat) {
    auto it = C().data.find(uFormat);
    return it == C().data.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    return C().data.count(format) != 0;
}
DWORD GetClipboardSequenceNumber() {
    return C().sequence;
}
int CountClipboardFormats() {
    return static_cast<int>(C().data.size());
}

void AfxSetClipboardText(LPCSTR lpszText, UINT uFormat) {
    bool wasOpen = C().open;
    C().open = true;
    EmptyClipboard();
    SetClipboardData(uFormat, AfxGlobalAllocText(lpszText));
    C().open = wasOpen;
}

CString AfxGetClipboardText(UINT uFormat) {
    return AfxGlobalText(GetClipboardData(uFormat));
}

// ---------------------------------------------------------------- data objects
BOOL COleDataObject::AttachClipboard() {
    m_data.clear();
    m_bClipboard = TRUE;
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const {
    if (m_bClipboard) return IsClipboardFormatAvailable(cfFormat);
    return m_data.count(cfFormat) != 0;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const {
    if (m_bClipboard) {
        HGLOBAL src = GetClipboardData(cfFormat);
        if (!src) return nullptr;
        size_t n = GlobalSize(src);
        HGLOBAL h = GlobalAlloc(GHND, n);
        if (n) std::memcpy(GlobalLock(h), GlobalLock(src), n);
        return h;
    }
    auto it = m_data.find(cfFormat);
    if (it == m_data.end()) return nullptr;
    HGLOBAL h = GlobalAlloc(GHND, it->second.size());
    if (!it->second.empty()) std::memcpy(GlobalLock(h), it->second.data(), it->second.size());
    return h;
}

CString COleDataObject::GetText(CLIPFORMAT cfFormat) const {
    HGLOBAL h = GetGlobalData(cfFormat);
    CString s = AfxGlobalText(h);
    GlobalFree(h);
    return s;
}

// ---------------------------------------------------------------- drop targets
IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

namespace {
std::unordered_map<HWND, COleDropTarget*>& targets() {
    static std::unordered_map<HWND, COleDropTarget*> t;
    return t;
}
} // namespace

COleDropTarget::~COleDropTarget() {
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
    if (!pWnd || !pWnd->m_hWnd || m_hWnd) return FALSE;
    if (targets().count(pWnd->m_hWnd)) return FALSE;
    targets()[pWnd->m_hWnd] = this;
    m_pWnd = pWnd;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (m_hWnd) {
        auto it = targets().find(m_hWnd);
        if (it != targets().end() && it->second == this) targets().erase(it);
    }
    m_hWnd = nullptr;
    m_pWnd = nullptr;
}

COleDropTarget* COleDropTarget::FromWindow(CWnd* pWnd) {
    if (!pWnd) return nullptr;
    auto it = targets().find(pWnd->m_hWnd);
    if (it == targets().end()) return nullptr;
    // A target whose window is gone (or reuses nothing) is not used.
    return CWnd::FromHandle(it->first) == it->second->m_pWnd ? it->second : nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                       CPoint point) {
    (void)pWnd, (void)pDataObject, (void)dwKeyState, (void)point;
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                      CPoint point) {
    (void)pWnd, (void)pDataObject, (void)dwKeyState, (void)point;
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    (void)pWnd, (void)pDataObject, (void)dropEffect, (void)point;
    return FALSE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd) {
    (void)pWnd;
}

AfxDropResult AfxDoDragDrop(CWnd* pTarget, COleDataObject& data, CPoint point, DWORD dwKeyState) {
    AfxDropResult r;
    CWnd* w = pTarget;
    COleDropTarget* target = nullptr;
    for (; w; w = w->GetParent())
        if ((target = COleDropTarget::FromWindow(w))) break;
    if (!target) return r;
    HWND h = w->m_hWnd;
    r.enterEffect = target->OnDragEnter(w, &data, dwKeyState, point);
    if (CWnd::FromHandle(h) != w || COleDropTarget::FromWindow(w) != target) return r;
    r.overEffect = target->OnDragOver(w, &data, dwKeyState, point);
    if (CWnd::FromHandle(h) != w || COleDropTarget::FromWindow(w) != target) return r;
    DROPEFFECT effect = r.overEffect & ~static_cast<DROPEFFECT>(DROPEFFECT_SCROLL);
    if (effect == DROPEFFECT_NONE) {
        target->OnDragLeave(w);
        return r;
    }
    r.bDropped = TRUE;
    r.bResult = target->OnDrop(w, &data, effect, point);
    return r;
}
