#include "kxcommon/KXShareGlobalData.h"

#include "rmx/server.h"

namespace {
CKXServerDataAccess g_serverDataAccess;

// The server's data access is the default; a host may replace it.
const bool g_installed = [] {
    if (!CKXShareGlobalData::m_pDataAccessContext)
        CKXShareGlobalData::m_pDataAccessContext = &g_serverDataAccess;
    return true;
}();
} // namespace

BOOL CKXServerDataAccess::GetDesignDirectory(const char* lib, const char* cell, const char* view, int flags,
                                             CString& dir) {
    (void)flags;
    dir.Empty();
    IServer* server = CKXShareGlobalData::m_pServer;
    if (!server || !lib || !cell || !view) return FALSE;
    IDesign* design = server->findDesign(lib, cell, view);
    if (!design || !design->directory() || !*design->directory()) return FALSE;
    dir = design->directory();
    return TRUE;
}
