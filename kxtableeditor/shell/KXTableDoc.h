// The document of the "KXTable" type: one design of the connectivity server,
// opened in one open mode. The design's data stay in the server; the documents
// of one design share its comment store, saves and closes the design, writes the
// journal lines of those actions and carries the document's automation methods.
#pragma once

#include "afx/afxdisp.h"
#include "kxcommon/KXDocument.h"

#include "pane/KXConnectivityPane.h"

#include <memory>
#include <vector>

class CComments;
class CKXCreateBlockDlg;
class CKXTableChildFrm;
class CTransaction;
class IServer;

class CKXTableDoc : public CKXDocument, public IKXDocument {
    DECLARE_DYNCREATE(CKXTableDoc)
public:
    CKXTableDoc();
    ~CKXTableDoc() override;

    // IKXDocument: the document's automation interface.
    IDispatch* GetDocumentInterface() override;

    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    void OnCloseDocument() override;
    COleServerItem* OnGetEmbeddedItem() override { return nullptr; }
    BOOL SaveCurrentDesign(LPCTSTR lpszPathName, BOOL bSilent) override;
    // Journals a save the user made in place other than through Save() (a view switch's, Save and
    // Reopen's) as Save("InPlace"), which a replay runs without asking.
    void JournalSaveInPlace() const;
    virtual void SetModified(BOOL bModified);
    virtual BOOL SaveDesignAs();
    // TRUE when the window's open mode saves as a block (the editable block, the physical view);
    // otherwise the message that names the mode is shown.
    BOOL SavesAsBlock() const;

    CComments* GetComments() const { return m_pComments.get(); }
    BOOL IsDesignModified() const;
    // The work of the "saveDesign" script command: TRUE when the design was written; FALSE when it
    // could not be, or the user declined or cancelled the save.
    BOOL SaveBlockCommand();
    // The closing work (script "closeDesign" and OnCloseDocument): FALSE when the window stays open, its
    // edits being dropped but not all of them able to be taken back (see TakeBackOwnEdits).
    BOOL CloseBlockCommand();
    // Every window of the design: the steps done now are in its file.
    void MarkDesignStepsSaved(const IDesign* design) const;
    // Whether another window shows the design.
    bool IsShownElsewhere(const IDesign* design) const;
    // Undoes the window's steps, newest first (journalled, so a replay does the same). When one cannot be
    // undone (another window changed what it changed since), those undone are redone and the window says
    // why (KXTABLE-318): FALSE.
    BOOL TakeBackOwnEdits();
    // Whether a step of another window on the design, made after one of this window's steps, touched
    // an object that step touched: taking this window's steps back would pull it from under that one.
    bool OwnEditsUnderLaterEdits(const IDesign* design) const;
    // The same for the window's newest step alone: its undo would pull it from under a later step.
    bool NewestEditUnderLaterEdits() const;
    // Save As without a dialog, to a library and block name; TRUE when done.
    BOOL SaveBlockAs(const CString& library, const CString& blockName);
    // TRUE from the start of closing on: a "closeDesign" that arrives while the
    // document is closing (its own echo) must not close it a second time.
    BOOL IsClosing() const { return m_bClosing; }

    // The journal handle of the document for Save As and Close: its design name,
    // "%s_phys" of it in the physical view.
    CString GetJournalHandle() const;
    // The cell name of the design (the journal handle of Save).
    CString GetCellName() const;

    // Automation methods (dispatch ids in this order, from 1).
    LPDISPATCH Clp();
    LPDISPATCH Slp();
    LPDISPATCH ConnectivityPane();
    BOOL Undo();
    BOOL Redo();
    BOOL Descend();
    BOOL Ascend();
    BOOL DeleteAlias(LPCTSTR first, LPCTSTR second);
    BOOL EditBlock();
    BOOL AddSignal(LPCTSTR a1, LPCTSTR a2, LPCTSTR a3, const VARIANT& a4);
    BOOL ChangeBlkOption(LPCTSTR option, LPCTSTR value, LPCTSTR third, const VARIANT& a4, const VARIANT& a5,
                         const VARIANT& a6, const VARIANT& a7);
    // Saves as the user's File Save does; Save("InPlace") saves in place without a question, as a view
    // switch saves before it switches.
    BOOL Save(const VARIANT& how);
    // Save("InPlace"): saves in place without a question; 0 with its message when refused or when there
    // was nothing to save.
    BOOL SaveInPlace();
    // Closes the window as the user would (the save question is asked); Close(False) closes it without
    // saving and without asking, as the journal writes a close the user did not save (the window's own
    // edits are taken back while another window shows the design); Close("Keep") closes it without
    // saving and leaves its edits in the design for the other windows, as the host's exit closes them.
    BOOL Close(const VARIANT& save);
    BOOL AddComponent(LPCTSTR a1, LPCTSTR a2, LPCTSTR a3, LPCTSTR a4, const VARIANT& a5, const VARIANT& a6,
                      const VARIANT& a7);
    BOOL AddBlock(LPCTSTR a1, LPCTSTR a2, LPCTSTR a3, LPCTSTR a4, LPCTSTR a5, LPCTSTR a6, const VARIANT& a7,
                  const VARIANT& a8, const VARIANT& a9, const VARIANT& a10, const VARIANT& a11,
                  const VARIANT& a12);
    BOOL ModifyComponent(const VARIANT& a1, const VARIANT& a2);
    BOOL AliasNets(LPCTSTR a1, LPCTSTR a2, const VARIANT& a3, const VARIANT& a4);
    BOOL InsertComment(LPCTSTR text);
    BOOL EditComment(LPCTSTR text);
    BOOL DeleteComment();
    BOOL SaveBlockAsAuto(LPCTSTR library, LPCTSTR blockName);
    BOOL DeleteRefDes();
    BOOL EditRefDes(LPCTSTR a1, LPCTSTR a2);
    // Reads a block interface file back into the design (the journal form of importInterface).
    BOOL ImportInterface(LPCTSTR file, LPCTSTR instance);
    // Deletes a component of the design (the journal form of a deletion from the component list).
    BOOL DeleteComponent(LPCTSTR name);
    // The block filter of the physical view (the journal form of filterBlock): "-exclude" or "-include"
    // and the block-name paths, one to a line.
    BOOL FilterBlock(LPCTSTR option, LPCTSTR blocks);

    // Option keyword of ChangeBlkOption and AddBlock: 0..3, or -1.
    static int BlkOptionKind(const CString& keyword);

protected:
    void OnFileSave();
    void OnUpdateFileSave(CCmdUI* pCmdUI);
    void OnFileSaveAs();
    void OnUpdateFileSaveAs(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
    DECLARE_DISPATCH_MAP()

private:
    CKXTableChildFrm* GetChildFrame() const;
    // Whether a step of another window on the design, made after one of the given steps, touched an
    // object that step touched.
    bool StepsUnderLaterEdits(const IDesign* design, const std::vector<IKXConnectivityPane::StepFootprint>& own) const;
    // Closes the window (echo: tells the host, as a close the host did not ask for); FALSE when it stays.
    BOOL CloseWindow(bool echo);
    // Tells the other windows and panes that the window closes.
    void AnnounceClose(IDesign* master);
    void JournalClose(bool closingAll, bool dropped, bool kept) const;
    void StatusText(const CString& text) const;
    void Journal(const CString& comment, const CString& line) const;
    bool CreateSaveAsBlock(CKXCreateBlockDlg& dlg, const CString& library, const CString& blockName);
    void TellSaveAsRefusal(const CKXCreateBlockDlg& dlg, const CString& library, const CString& blockName) const;
    // The editable block's Save As leaves the design it shows as its files hold it (the window's edits went
    // to the new block): whether they can be taken back (else the user is told), and taking them back.
    bool CanLeaveOriginalAsRead() const;
    void LeaveOriginalAsRead();
    // In context mode a save writes the parent design and the parent's blocks open in context mode too:
    // those designs (none in other modes), whether one has something to save, writing those that do
    // (false with the reason, and whether another host saved the file since), and telling their windows.
    std::vector<IDesign*> ContextFamily() const;
    bool FamilyHasChangesToSave(const std::vector<IDesign*>& family) const;
    bool WriteFamily(const std::vector<IDesign*>& family, CString& error, bool& changedOnDisk);
    void MarkFamilySaved(const std::vector<IDesign*>& family) const;
    void JournalSaveBlockAs(const CString& library, const CString& blockName);
    // A save in context mode saves the parent too: the user is told once (unless asked not to).
    void InformContextSave(BOOL bSilent);
    // The store of comments the windows of the design share; nullptr when no window made one.
    static std::shared_ptr<CComments> SharedCommentStore(IDesign* design);
    CString SavedDesignTitle() const;
    bool ConfirmInterfaceSave(IDesign* design, BOOL bSilent, const CString& description, bool& notify);
    bool WriteDesignIfChanged(IDesign* design, BOOL bSilent, CString& error, bool& declined);
    CString RefusalWithRoad(const CString& reason, bool changedOnDisk) const;
    BOOL RefuseSave(const char* id, const CString& reason);
    BOOL SaveEditableBlock();

    // Every committed change of the document's design marks the document modified, whatever route
    // made it (a grid, a list pane, automation, a script word, an undo or another window).
    void WatchDesignChanges();
    void OnDesignCommitted(CTransaction* transaction);

    // Shared by every window of the design (see OnOpenDocument).
    std::shared_ptr<CComments> m_pComments;
    IServer* m_pWatchedServer = nullptr;
    int m_nCommitListener = 0;
    BOOL m_bModified = FALSE;
    CString m_strSaveError; // why the last save of SaveBlockCommand failed, empty when it did not
    BOOL m_bNothingToSave = FALSE; // the last save found the files holding what the windows show
    BOOL m_bClosing = FALSE;
    BOOL m_bKeepEditsOnClose = FALSE; // Close("Keep"): no edit of the window is taken back
    std::vector<IDesign*> m_familyWritten; // the designs besides its own whose files the last save wrote
};
