#include "kxcommon/KXDocument.h"

#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/server.h"

#include <algorithm>
#include <set>

IMPLEMENT_DYNCREATE(CKXDocument, COleServerDoc)
IMPLEMENT_DYNAMIC(CKXMultiDocTemplate, CMultiDocTemplate)

BEGIN_MESSAGE_MAP(CKXDocument, COleServerDoc)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CKXDocument, COleServerDoc)
END_DISPATCH_MAP()

namespace {

CString DesignTitle(const IDesign* d) {
    if (!d) return CString();
    CString t;
    t.Format("%s.%s:%s", d->libName(), d->cellName(), d->viewName());
    return t;
}

} // namespace

CKXDocument::CKXDocument() = default;

CKXDocument::~CKXDocument() = default;

void CKXDocument::SetDesignContexts(const CDesignContext& master, const CDesignContext& shown) {
    m_masterDesignContext = master;
    m_designContext = shown;
    UpdateInterfaceInfo();
}

std::vector<CString> CKXDocument::CurrentInterface() const {
    std::vector<CString> ports;
    const IDesign* d = m_masterDesignContext.design();
    if (!d) return ports;
    for (ITerm* port : d->beginPort()) {
        if (!port) continue;
        CString line;
        line.Format("%s|%d|%d|%d", port->name(), port->direction(), port->msb(), port->lsb());
        ports.push_back(line);
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

void CKXDocument::UpdateInterfaceInfo() {
    m_interface = CurrentInterface();
}

BOOL CKXDocument::IsInterfaceChanged(CString& description) {
    description.Empty();
    std::vector<CString> now = CurrentInterface();
    auto nameOf = [](const CString& line) { return line.Left(line.Find('|')); };
    std::set<CString> before, after;
    for (const auto& l : m_interface)
        before.insert(nameOf(l));
    for (const auto& l : now)
        after.insert(nameOf(l));
    std::vector<CString> lines;
    for (const auto& n : after)
        if (!before.count(n)) lines.push_back("Added port " + n);
    for (const auto& n : before)
        if (!after.count(n)) lines.push_back("Removed port " + n);
    for (const auto& l : now) {
        CString n = nameOf(l);
        if (!before.count(n)) continue;
        if (std::find(m_interface.begin(), m_interface.end(), l) == m_interface.end())
            lines.push_back("Changed port " + n);
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) description += "\n";
        description += lines[i];
    }
    return lines.empty() ? FALSE : TRUE;
}

BOOL CKXDocument::SaveCurrentDesign(LPCTSTR lpszPathName, BOOL bSilent) {
    (void)lpszPathName;
    IDesign* d = m_masterDesignContext.design();
    IServer* server = m_masterDesignContext.server();
    if (!d || !server) {
        if (!bSilent) CKXErrorHandler::MessageBoxOk("KXCOMMON-102", DesignTitle(d), "no design");
        NoteSaveOutcome(false, "no design");
        return FALSE;
    }
    CString error;
    if (!server->saveDesign(d, &error)) {
        // A failed save is reported; the document stays modified so nothing is lost on close.
        CKXErrorHandler::MessageBoxOk("KXCOMMON-102", DesignTitle(d), error);
        NoteSaveOutcome(false, error);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    UpdateInterfaceInfo();
    NoteSaveOutcome(true);
    return TRUE;
}

namespace {
CKXDocument::SaveListener& SaveListenerSlot() {
    static CKXDocument::SaveListener listener;
    return listener;
}
} // namespace

void CKXDocument::SetSaveListener(SaveListener listener) {
    SaveListenerSlot() = std::move(listener);
}

void CKXDocument::NoteSaveOutcome(bool saved, const CString& why) const {
    if (const SaveListener& listener = SaveListenerSlot()) listener(*this, saved, why);
}

BOOL CKXDocument::HandleSaveModified() {
    if (!IsModified()) return TRUE;
    int answer =
        CKXErrorHandler::MessageBoxYesNoCancel("KXCOMMON-101", DesignTitle(m_masterDesignContext.design()));
    if (answer == IDCANCEL) return FALSE;
    if (answer == IDNO) {
        m_bSaveOnClose = 0;
        return TRUE;
    }
    if (!SaveCurrentDesign(GetPathName(), FALSE)) return FALSE;
    m_bSaveOnClose = 1;
    return TRUE;
}

CKXMultiDocTemplate::CKXMultiDocTemplate(HINSTANCE hInstance, UINT nIDResource, CRuntimeClass* pDocClass,
                                         CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_hInstance(hInstance) {}

CKXMultiDocTemplate::CKXMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                         CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CDocument* CKXMultiDocTemplate::CreateNewDocument() {
    CDocument* doc = CMultiDocTemplate::CreateNewDocument();
    if (!doc || !m_pOpening) return doc;
    auto* kx = dynamic_cast<CKXDocument*>(doc);
    if (!kx) {
        // Only documents of the editors' base can stand for a design.
        RemoveDocument(doc);
        delete doc;
        return nullptr;
    }
    const IDesign* d = m_pOpening->design();
    kx->SetOpenMode(static_cast<EOpenMode>(m_nOpeningMode));
    kx->SetDesignName(m_pOpeningName && *m_pOpeningName ? CString(m_pOpeningName) : CString(d->cellName()));
    // The document shows the design in the hierarchy it was opened in; its master is the design itself.
    kx->SetDesignContexts(CDesignContext(m_pOpening->server(), m_pOpening->design()), *m_pOpening);
    return doc;
}

CDocument* CKXMultiDocTemplate::OpenDocumentFile(const CDesignContext& design, int openMode,
                                                 BOOL bMakeVisible, const char* designName) {
    const IDesign* d = design.design();
    if (!d) return nullptr;
    CString path;
    if (d->directory() && *d->directory())
        path.Format("%s/%s.tbl", d->directory(), d->cellName());
    else
        path = DesignTitle(d);
    m_pOpening = &design;
    m_nOpeningMode = openMode;
    m_pOpeningName = designName;
    CDocument* doc = CMultiDocTemplate::OpenDocumentFile(path, bMakeVisible);
    m_pOpening = nullptr;
    m_pOpeningName = nullptr;
    return doc;
}

CKXDocument* CKXMultiDocTemplate::FindDocument(const CDesignContext& design, int openMode) const {
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        auto* doc = dynamic_cast<CKXDocument*>(GetNextDoc(pos));
        if (doc && doc->GetOpenMode() == openMode && doc->GetDesignContext() == design) return doc;
    }
    return nullptr;
}

extern "C" int InitKXCommonDll() {
    // The texts of the library's own message ids; a missing file only leaves the ids shown bare.
    CKXErrorHandler::LoadMessageFile("rmx/kxcommon.txt");
    return 1;
}
