#include "afx/afxcoll.h"
#include "afx/afxmsg.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {
std::map<std::string, CRuntimeClass*>& classRegistry() {
    static std::map<std::string, CRuntimeClass*> reg;
    return reg;
}
std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}
} // namespace

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* c = this; c; c = c->GetBaseClass())
        if (c == pBaseClass) return TRUE;
    return FALSE;
}

void CRuntimeClass::Register(CRuntimeClass* pClass) {
    std::lock_guard<std::mutex> lock(registryMutex());
    classRegistry()[pClass->m_lpszClassName] = pClass;
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) {
    if (!lpszClassName) return nullptr;
    std::lock_guard<std::mutex> lock(registryMutex());
    auto it = classRegistry().find(lpszClassName);
    return it == classRegistry().end() ? nullptr : it->second;
}

CRuntimeClass* CObject::GetThisClass() {
    static CRuntimeClass rc{"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
    return &rc;
}

IMPLEMENT_DYNCREATE(CStringArray, CObject)
IMPLEMENT_DYNCREATE(CObArray, CObject)
IMPLEMENT_DYNCREATE(CPtrArray, CObject)
IMPLEMENT_DYNCREATE(CDWordArray, CObject)
IMPLEMENT_DYNCREATE(CUIntArray, CObject)
IMPLEMENT_DYNCREATE(CWordArray, CObject)
IMPLEMENT_DYNCREATE(CByteArray, CObject)
IMPLEMENT_DYNCREATE(CStringList, CObject)
IMPLEMENT_DYNCREATE(CPtrList, CObject)
IMPLEMENT_DYNCREATE(CObList, CObject)
IMPLEMENT_DYNCREATE(CMapStringToString, CObject)
IMPLEMENT_DYNCREATE(CMapStringToPtr, CObject)
IMPLEMENT_DYNCREATE(CMapStringToOb, CObject)
IMPLEMENT_DYNCREATE(CMapWordToPtr, CObject)
IMPLEMENT_DYNCREATE(CMapWordToOb, CObject)
IMPLEMENT_DYNCREATE(CMapPtrToPtr, CObject)
IMPLEMENT_DYNCREATE(CMapPtrToWord, CObject)

// ---------------------------------------------------------------- CCmdTarget
IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {AFX_MSGMAP_ENTRY{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

namespace {
bool entryMatches(const AFX_MSGMAP_ENTRY& e, UINT message, UINT nCode, UINT nID) {
    if (e.pRegistered) return message >= 0xC000 && *e.pRegistered == message;
    if (e.nMessage != message) return false;
    if (message == WM_COMMAND) return e.nCode == nCode && nID >= e.nID && nID <= e.nLastID;
    if (message == WM_NOTIFY)
        return (e.nCode & 0xFFFF) == (nCode & 0xFFFF) && nID >= e.nID && nID <= e.nLastID;
    return true;
}
} // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e)
            if (entryMatches(*e, message, 0, 0)) return e;
    return nullptr;
}

BOOL CCmdTarget::DispatchFromMap(UINT message, UINT nCode, UINT nID, afx_detail::MsgCall& call,
                                 AFX_CMDHANDLERINFO* info) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (!entryMatches(*e, message, nCode, nID)) continue;
            if (info) {
                info->pTarget = this;
                return TRUE;
            }
            call.message = message;
            call.nID = nID;
            return e->pfn(this, call);
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    afx_detail::MsgCall call;
    call.pExtra = pExtra;
    UINT code = static_cast<UINT>(nCode);
    if (HIWORD(code) == WM_NOTIFY && code != CN_UPDATE_COMMAND_UI) {
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!notify && !pHandlerInfo) return FALSE;
        BOOL r = DispatchFromMap(WM_NOTIFY, LOWORD(code), nID, call, pHandlerInfo);
        return r;
    }
    return DispatchFromMap(WM_COMMAND, code, nID, call, pHandlerInfo);
}

// ---------------------------------------------------------------- CCmdUI
BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (!pTarget || m_nID == 0 || m_nID >= 0xF000) return FALSE;
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (!handled && bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        if (!pTarget->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &info)) Enable(FALSE);
    }
    return handled;
}
