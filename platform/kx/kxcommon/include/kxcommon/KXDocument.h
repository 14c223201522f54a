// The document base of the editors: a document stands for one design of the connectivity server, opened in
// one mode through CKXMultiDocTemplate.
#pragma once

#include "afx/afxdisp.h"
#include "afx/afxdoc.h"
#include "rmx/context.h"

#include <functional>

class CKXDocument;

// How a design was opened.
enum EOpenMode {
    eOpenModeNoSwitch = 0,    // view switching disabled
    eOpenModeEditBlock = 1,   // the editable logical block: a plain save becomes Save As
    eOpenModeContext = 2,     // a block opened in the context of its parent
    eOpenModeInParent = 3,    // a block opened within its parent
    eOpenModePhysical = 4,    // the physical view
    eOpenModeInParentAlt = 6, // a block opened within its parent (other road)
};

// The interface a document offers the host: its automation object.
class IKXDocument {
public:
    virtual ~IKXDocument() = default;
    virtual IDispatch* GetDocumentInterface() = 0;
};

// What the panes and grids call on their frame.
class IKXChildFrameBase {
public:
    virtual void SetHighlight() = 0;
    virtual BOOL SaveDesignToServer() = 0;
    virtual BOOL SetDocumentModified(BOOL bModified) = 0;
    virtual BOOL IsDocumentModified() = 0;
    virtual ~IKXChildFrameBase() = default;
};

class CKXDocument : public COleServerDoc {
    DECLARE_DYNCREATE(CKXDocument)
public:
    CKXDocument();
    ~CKXDocument() override;

    // The design as the template opened it (master) and the design the document shows (the same design,
    // or for a block opened in its parent's context, with the parent's hierarchy).
    const CDesignContext& GetMasterDesignContext() const { return m_masterDesignContext; }
    const CDesignContext& GetDesignContext() const { return m_designContext; }
    void SetDesignContexts(const CDesignContext& master, const CDesignContext& shown);
    EOpenMode GetOpenMode() const { return m_eOpenMode; }
    void SetOpenMode(EOpenMode mode) { m_eOpenMode = mode; }
    // The name the template gave the document (its journal handle).
    const CString& GetDesignName() const { return m_strDesignName; }
    void SetDesignName(const CString& name) { m_strDesignName = name; }

    // 1 when the design is to be saved as the document closes (set by HandleSaveModified).
    int m_bSaveOnClose = 0;
    // The document's interface for the host (set by the derived document at construction).
    IKXDocument* m_pKXDocInterface = nullptr;

    // Whether the design's interface (its ports: names, directions, bit ranges) changed since it was opened
    // or since UpdateInterfaceInfo; description lists the changes ("Added: A; Removed: B; Changed: C").
    BOOL IsInterfaceChanged(CString& description);
    // Takes the current interface as the reference.
    void UpdateInterfaceInfo();

    // Asks whether to save a modified design (question "KXCOMMON-101" with the design name; yes, no or
    // cancel). Yes: SaveCurrentDesign and remember to save on close; No: close without saving; Cancel or
    // unanswered: FALSE, the document stays open. TRUE when the close may go on.
    virtual BOOL HandleSaveModified();
    // Saves the design through the server; TRUE when saved. Derived documents refine it.
    virtual BOOL SaveCurrentDesign(LPCTSTR lpszPathName, BOOL bSilent);

    BOOL SaveModified() override { return HandleSaveModified(); }

    // Every save of a design window ends here, whatever road asked for it (a word, a menu, a method, a
    // close): saved, or not saved with the reason (a file that could not be written, a conflict, a name
    // taken). The host listens, to say a failed save on standard error and in its exit status. A save the
    // user declined (a question answered No) is neither.
    using SaveListener = std::function<void(const CKXDocument& doc, bool saved, const CString& why)>;
    static void SetSaveListener(SaveListener listener);
    void NoteSaveOutcome(bool saved, const CString& why = CString()) const;

protected:
    CDesignContext m_masterDesignContext;
    CDesignContext m_designContext;
    EOpenMode m_eOpenMode = eOpenModeNoSwitch;
    CString m_strDesignName;
    std::vector<CString> m_interface; // reference interface, one text per port
    std::vector<CString> CurrentInterface() const;

    // Documents of the editors chain their command, dispatch and interface maps to these.
    DECLARE_MESSAGE_MAP()
    DECLARE_DISPATCH_MAP()
};

class CKXMultiDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CKXMultiDocTemplate)
public:
    CKXMultiDocTemplate(HINSTANCE hInstance, UINT nIDResource, CRuntimeClass* pDocClass,
                        CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
    CKXMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                        CRuntimeClass* pViewClass);

    using CMultiDocTemplate::OpenDocumentFile;
    // Opens a design: creates the document (a CKXDocument), gives it the design contexts, the open mode and
    // the design name (the design's cell name unless one is given), then opens it with the design's path
    // ("<design directory>/<cell>.tbl", or "lib.cell:view" for a design without a directory).
    // NULL when the context holds no design or the document refuses to open.
    virtual CDocument* OpenDocumentFile(const CDesignContext& design, int openMode, BOOL bMakeVisible = TRUE,
                                        const char* designName = nullptr);
    // The document that shows this design in this mode, if one is open.
    CKXDocument* FindDocument(const CDesignContext& design, int openMode) const;

    HINSTANCE m_hInstance = nullptr;

private:
    // Set while OpenDocumentFile(design) runs, read by the document creation hook.
    const CDesignContext* m_pOpening = nullptr;
    int m_nOpeningMode = 0;
    const char* m_pOpeningName = nullptr;

public:
    CDocument* CreateNewDocument() override;
};

// Initialises the common library (the host calls it once at start; calling it again is harmless): loads the
// texts of its message ids from "rmx/kxcommon.txt" under the error handler's data directory. Returns 1.
extern "C" int InitKXCommonDll();
