#include "KXTableEditor.h"

#include "pane/KXConnectivityPane.h"
#include "pane/KXObjectInfoWnd.h"
#include "matrix/KXMatrixGridWnd.h"
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsHeader.h"
#include "grid/KXColumnModel.h"
#include "grid/KXEditResult.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXInstanceDetailsHeader.h"
#include "pingrid/KXPinGridRetain.h"
#include "shell/KXDesignChangeLog.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "afx/afx.h"
#include "afx/afxres.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXDocument.h"
#include "kxcontrols/KXControlsDll.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXInstSigPaneDll.h"
#include "kxsmall/KXSmallExport.h"

#include <new>

namespace {
AFX_EXTENSION_MODULE g_kxTableEditorDLL;
std::vector<std::string> g_initSteps;
char g_moduleTag; // its address stands for the library's module handle

HINSTANCE ModuleHandle() {
    return reinterpret_cast<HINSTANCE>(&g_moduleTag);
}

void AddResources(HINSTANCE module) {
    AfxAddStringTable(module,
                      {
                          {IDR_KXTABLETYPE, "\nKXTable\nKXTable\nDesign Editor Table Files (*.tbl)\n.tbl\n"
                                            "KXTable.Document\nKXTable Document"},
                          {IDS_SIGNAL_BROWSER_DROP_DATA, "SIGNAL_BROWSER_DROP_DATA"},
                          {IDS_SIGNAL_VIEW_DROP_DATA, "SIGNAL_VIEW_DROP_DATA"},
                          {IDS_COMPONENT_BROWSER_DROP_DATA, "COMPONENT_BROWSER_DROP_DATA"},
                          {IDS_PHYSICAL_PART_FILTER_DROP_DATA, "PHYSICAL_PART_FILTER_DROP_DATA"},
                          {IDS_INSTANCE_VIEW_DROP_DATA, "INSTANCE_VIEW_DROP_DATA"},
                      });
    AfxAddDialogResource(module, kxphys::IDD_PHYSPART_HEADER, CKXPhysPartDetailsHeader::Template());
    AfxAddDialogResource(module, IDD_INSTANCE_DETAILS_HEADER, CKXInstanceDetailsHeader::Template());
}

// The runtime's library entry: attach when the library is loaded, detach when it is unloaded.
struct LibraryEntry {
    LibraryEntry() { KXTableEditorDllMain(ModuleHandle(), 1, nullptr); }
    ~LibraryEntry() { KXTableEditorDllMain(ModuleHandle(), 0, nullptr); }
};
} // namespace

const std::vector<std::string>& KXTableEditorInitSteps() {
    return g_initSteps;
}
void KXTableEditorClearInitSteps() {
    g_initSteps.clear();
}

extern "C" BOOL KXTableEditorDllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == 1) {
        if (!AfxInitExtensionModule(g_kxTableEditorDLL, hInstance)) return 0;
        AddResources(hInstance);
        InitKXTableEditorDLL();
        return 1;
    }
    if (dwReason == 0) {
        CKXObjectInfoWnd::UnregisterClassA(hInstance);
        CKXObjectInfoBeam::UnregisterClassA(hInstance);
        AfxTermExtensionModule(g_kxTableEditorDLL, FALSE);
        AfxRemoveModuleResources(hInstance);
        return 1;
    }
    return 1;
}

void KXTableEditorNewSession() {
    // Every grid kind reads its column layout again: a column an earlier session added is not this one's.
    CKXInstanceDetailsGridWnd::Columns().Forget();
    CKXSignalDetailsGridWnd::Columns().Forget();
    CKXPhysPartDetailsGridWnd::Columns().Forget();
    CKXPhysNetDetailsGridWnd::Columns().Forget();
    CKXMatrixGridWnd::Columns().Forget();
    KXPinGridRetain::ForgetRetainRun();
    // The commits logged for a close without saving were the former server's.
    CKXDesignChangeLog::Forget();
}

extern "C" BOOL InitKXTableEditorDLL() {
    // The resource chain owns the link; it is never deleted here.
    new (std::nothrow) CDynLinkLibrary(g_kxTableEditorDLL, FALSE);
    g_initSteps.push_back("resources");
    InitKXControlsDll();
    g_initSteps.push_back("kxcontrols");
    InitKXCommonDll();
    g_initSteps.push_back("kxcommon");
    InitKXClipboardDll();
    g_initSteps.push_back("kxclipboard");
    InitKXAddBlockDLL();
    g_initSteps.push_back("kxaddblock");
    InitKXModelAssignDLL();
    g_initSteps.push_back("kxmodelassign");
    InitKXInstSigPaneDll();
    g_initSteps.push_back("kxinstsigpane");
    InitKXAssocCompDLL();
    g_initSteps.push_back("kxassoccomp");
    // Dialog templates may name the object information window and its beam by class.
    CKXObjectInfoWnd::RegisterClassA();
    CKXObjectInfoBeam::RegisterClassA();
    CKXTableChildFrm::RegisterScriptWords();
    KXTableEditorNewSession();
    CKXErrorHandler::LoadMessageFile("rmx/tblerrors.txt");
    g_initSteps.push_back("rmx/tblerrors.txt");
    BOOL registered = COleObjectFactory::RegisterAll();
    g_initSteps.push_back("factories");
    return registered;
}

extern "C" CDocTemplate* DllGetDocTemplate() {
    CWinApp* app = AfxGetApp();
    HINSTANCE hInstance = app ? app->m_hInstance : AfxGetInstanceHandle();
    return new (std::nothrow)
        CKXMultiDocTemplate(hInstance, IDR_KXTABLETYPE, RUNTIME_CLASS(CKXTableDoc),
                            RUNTIME_CLASS(CKXTableChildFrm), KXConnectivityPaneClass());
}

extern "C" BOOL DllAddToolBars() {
    return 1;
}

extern "C" long KXRunAnsweredStep(void (*step)(void*), void* context) {
    const KXMenuAnswer answer;
    if (step) step(context);
    return static_cast<long>(answer.Answer());
}

// Constructed after the registered messages (this file is linked after them).
static LibraryEntry g_libraryEntry;
