// The component list pane and the signal list pane: headless lists of the design's instances and signals
// (physical parts and nets in the physical view). Selecting rows and double-clicking asks the connectivity
// pane (the "details view", a CCommonInterface) to show the selected objects.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "afx/afxcoll.h"
#include "afx/afxdisp.h"
#include "afx/afxdoc.h"
#include "afx/afxtiered.h"
#include "grid/gxwnd.h"
#include "kxinstsigpane/CommonInterface.h"
#include "rmx/context.h"

class CImplicitPin;
class CKXListPaneView;

// A property a new component is given: "NAME=VALUE", with the source flags it is set with.
struct SKXPropertyText {
    CString name, value;
    unsigned long flags = 0;
};
// "NAME=VALUE" texts joined by ";" (the form AddComponent takes them in), and back: each non-empty
// piece is appended with the flags given; false for a piece without "=" or without a name.
CString KXJoinPropertyTexts(const CStringArray& texts);
bool KXSplitPropertyTexts(const CString& joined, unsigned long flags, std::vector<SKXPropertyText>& out);

// Every operation that a pane only forwards is kept in its call log, one line per call:
// "Name(arg1, arg2, ...)" with the arguments as given.
class CKXPaneCallLog {
public:
    void Record(const char* op, std::initializer_list<CString> args = {});
    // A call whose arguments are a message's two parameters, as numbers.
    void RecordMessage(const char* op, WPARAM wParam, LPARAM lParam);
    const std::vector<CString>& GetCalls() const { return m_calls; }
    CString GetLastCall() const { return m_calls.empty() ? CString() : m_calls.back(); }
    void ClearCalls() { m_calls.clear(); }

private:
    std::vector<CString> m_calls;
};

// One list of names; row 1 onward, one object per row, column 1 the name. The grid stores no cell of
// the list: it reads a row's texts from the list when the row is drawn or read.
class CKXListPaneGrid : public CGXGridWnd, public CKXPaneCallLog, private CGXRowSource {
    DECLARE_DYNAMIC(CKXListPaneGrid)
public:
    CKXListPaneGrid();
    ~CKXListPaneGrid() override;

    ROWCOL GetFirstDataRow() const { return 1; }
    CKXListPaneView* GetPaneView() const { return m_pView; }
    void SetPaneView(CKXListPaneView* view) { m_pView = view; }

    // Refills the list from the pane's design: every object that the kind lists, by name in alphanumeric
    // order ("U2" before "U10"), ignoring case.
    virtual void FillFromDesign(const CDesignContext& design);
    // Brings one object's row up to date after a committed change: the row of an object that is no longer
    // in the design goes, a new object gets its row at its place in the order, a renamed one moves. Costs
    // the change, not the list. FALSE when the list cannot follow the change (refill it instead).
    BOOL UpdateObject(const CDesignContext& design, ISchemaObject* object);
    // The type letter of the objects listed: 'I' (instances) or 'N' (nets).
    virtual char GetObjectType() const = 0;
    // Whether the list follows a committed change object by object (UpdateObject); a list that cannot
    // (the physical lists, whose rows stand for objects of the whole hierarchy) is refilled instead.
    virtual bool FollowsObjects() const { return true; }
    int GetObjectCount() const { return static_cast<int>(m_names.size()); }
    CString GetObjectName(int index) const;
    // Row of the object with that name or hierarchical path; GX_INVALID when none.
    virtual ROWCOL FindObjectRow(LPCTSTR nameOrPath) const;

    // Selects (or deselects) the object's row and makes it current; FALSE when there is no such object.
    BOOL SelectObject(LPCTSTR nameOrPath, BOOL bSelect = TRUE);
    void RemoveSelection();
    // Names of the selected rows, or of the current row when nothing is selected.
    void GetSelectedNames(CStringArray& names);
    // Makes the grid the active, focused list of its pane.
    void ActivateGridWnd();
    // Asks the details view to show the selected objects. bForce: show them even when the details view
    // shows the other kind of object. Returns FALSE when nothing is selected or there is no details view.
    virtual BOOL Showconnectivity(BOOL bForce = TRUE, BOOL bReserved = FALSE) = 0;
    // A double-click on a data row selects that row and shows its object.
    BOOL OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    // Makes a cell current and selects its row (a find-all result); FALSE when it lies outside the list.
    BOOL HighlightRowCol(ROWCOL nRow, ROWCOL nCol);
    // 1 when the list is filled and can take requests.
    int GetReadyState() const { return m_bFilled ? 1 : 0; }
    // The follow-up of a selection made from outside: the details view shows the selected objects.
    void OnSelectionFollowUp();

protected:
    // What a row shows of its object: the name, the hierarchical path (may be empty) and the text of
    // a second column (empty: none).
    struct Entry {
        CString name, path, second;
    };
    // The row of an object of the design; false when this kind does not list it.
    virtual bool MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const = 0;
    // Rows from entries; keys[i] is the object of entries[i].
    void SetEntries(std::vector<Entry> entries, std::vector<ISchemaObject*> keys);
    CCommonInterface* Details() const;
    const CDesignContext* Design() const;
    // The details view, with the names of the selected rows for it to show; null when there is no
    // details view or no row is selected.
    CCommonInterface* DetailsAndSelection(CStringArray& names);
    // Row index (from 0) of the object's row; -1 when it has none.
    int FindKeyIndex(ISchemaObject* object) const;
    void InsertEntry(const Entry& entry, ISchemaObject* object);
    bool StaysAt(size_t i, const CString& name) const;
    void RemoveIndex(size_t index);
    // The row shows its entry's texts anew (a value stored in one of its cells is overwritten).
    void ShowRow(ROWCOL row);

    CKXListPaneView* m_pView = nullptr;
    BOOL m_bFilled = FALSE;
    bool m_bInOrder = true; // m_names follow the list's order (a rename in place may break it)
    // Row by row (index 0 is row 1); tiered, so that a row inserted or removed at its place in the
    // order does not move every row after it.
    CTieredVector<CString> m_names;
    CTieredVector<CString> m_paths;
    CTieredVector<CString> m_seconds; // the second column's texts (when the list has that column)
    CTieredVector<ISchemaObject*> m_keys;                        // the object of each row
    std::unordered_map<ISchemaObject*, CString> m_listedNames; // the name each object is listed by

private:
    bool GetRowValue(ROWCOL nRow, ROWCOL nCol, CString& value) const override;
};

// What the component lists (logical and physical) share.
class CKXComponentListGrid : public CKXListPaneGrid {
    DECLARE_DYNAMIC(CKXComponentListGrid)
public:
    // A component from the host's text "LIB.CELL[:VIEW] [NAME]" (view "sym", an unused "U<n>" name when
    // none is given) is added to the design as AddComponent adds it; the physical form's text
    // "LIB.CELL[:VIEW] REFDES" also gives the new component that reference designator. FALSE, with a
    // message, for a text of another form or a master the library lacks.
    BOOL AddInstanceFromStr(const char* text);
    BOOL AddPhysicalInstanceFromStr(const char* text);
    // The row of an instance that was renamed takes the new name; FALSE when the old name is not listed.
    BOOL RenameTableInstance(CString oldName, CString newName);
    // Refused with "KXPANE-455": the models of discrete parts come from the host's model library, which
    // is not installed here.
    void AutoAssignModelToDiscretes();
    // Deletes the components selected in the list (the logical instances of a selected physical part) in
    // one step, journalled as DeleteComponent for each; FALSE when nothing was deleted.
    BOOL DeleteCurSelInstance(int flag = 0);
    // Deletes the component the host names: a logical instance of the design alone (in the physical list
    // too, where its part's other instances stay), else the selected rows as DeleteCurSelInstance does;
    // FALSE when nothing was deleted.
    BOOL DeleteNamedInstance(LPCTSTR name, int flag = 0);
    // Pastes the clipboard viewer's item `item` (1 the newest) as one new component, as AddComponent adds
    // it: the item names a component of the design (a copy: its master and properties, less the reference
    // designator, under the first free name of its prefix) or gives "LIB.CELL[:VIEW] [NAME]". In the
    // physical list the new component also takes its name as reference designator. FALSE, with a message,
    // for a read-only window, an empty or unknown item, or an item of several lines.
    BOOL PasteComponentItem(int item);

protected:
    // The details view learns of an instance the host renamed (its registry of names follows).
    void TellRenamed(const CString& oldName, const CString& newName);
    // The physical list's parts by their logical instances: instance name or path -> reference designator.
    std::map<std::string, CString> m_partOfInstance;
};

class CKXInstancePaneGrid : public CKXComponentListGrid {
    DECLARE_DYNAMIC(CKXInstancePaneGrid)
public:
    char GetObjectType() const override { return 'I'; }
    BOOL Showconnectivity(BOOL bForce = TRUE, BOOL bReserved = FALSE) override;

    BOOL ViewPhysical(int flag); // FALSE when the view was not switched (a declined save, no view)
    // The host renamed the instance `first` to `second`: the comments of its pins move with it (a pin
    // that already has a comment under the new name keeps it). The "WithUndo" form makes the move a
    // step of the connectivity pane's undo history. Nothing happens when there is nothing to move.
    // Moves the comments of component `first` to `second`: FALSE when none moved.
    BOOL PreserveComments(CString first, CString second);
    BOOL PreserveCommentsWithUndo(CString first, CString second);
    // How many comments moved.
    int MoveInstanceComments(const CString& first, const CString& second, BOOL bUndo);
    BOOL PasteInstance(WPARAM wParam, LPARAM lParam); // TRUE when the item was pasted
    BOOL ExportCodesignInterface(bool scripted, CString path, CString file, int exportLocalAsInout);
    BOOL ImportCodesignInterface(bool scripted, CString file, CString instance);
    BOOL AssignPower(const std::vector<CImplicitPin*>& pins, CStringArray* names);
    void SetNamingConventionOnCopy(int convention);
    // A component dropped on the list: an instance of lib.cell:view named `name` (an unused "U<n>" when
    // empty) is added to the design with the "NAME=VALUE" properties of props1 (the part's own) and
    // props2, as AddComponent adds it (one step, journalled); nonzero when it was added.
    BOOL AddInstance(CString lib, CString cell, CString view, CString name, CStringArray& props1,
                     CStringArray& props2, int a, int b, int c, CString d, CString e, int f, CString g, int h);

    // Column of the instance names.
    static ROWCOL m_nInstanceCol;

protected:
    // Instances, the second column the master's cell.
    bool MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const override;
};

class CKXSignalPaneGrid : public CKXListPaneGrid {
    DECLARE_DYNAMIC(CKXSignalPaneGrid)
public:
    char GetObjectType() const override { return 'N'; }
    BOOL Showconnectivity(BOOL bForce = TRUE, BOOL bReserved = FALSE) override;

    BOOL PasteSignal(WPARAM wParam, LPARAM lParam); // TRUE when the item was pasted
    // A fresh automatic signal name "signal_<n>", never the name of a net the design already has.
    CString GetNewAutoName();
    void SetAutoNameCounter(int counter) { m_nAutoName = counter; }

protected:
    bool MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const override;

private:
    int m_nAutoName = 0;
};

// Physical view: parts by reference designator (instances with a physical package).
class CKXPhysPartGrid : public CKXComponentListGrid {
    DECLARE_DYNAMIC(CKXPhysPartGrid)
public:
    char GetObjectType() const override { return 'I'; }
    bool FollowsObjects() const override { return false; }
    // Every physical part of the hierarchy below the design, by reference designator, less the parts
    // that lie in a block the pane's block filter excludes.
    void FillFromDesign(const CDesignContext& design) override;
    // A part is found by its reference designator, and by the name or path of a logical instance in it.
    ROWCOL FindObjectRow(LPCTSTR nameOrPath) const override;
    BOOL Showconnectivity(BOOL bForce = TRUE, BOOL bReserved = FALSE) override;
    BOOL ViewPhysical(int flag); // FALSE when the view was not switched (a declined save, no view)
    BOOL PasteInstance(WPARAM wParam, LPARAM lParam); // TRUE when the item was pasted


    // Instances with a physical package.
    bool MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const override;
};

// Physical view: nets by name.
class CKXPhysNetGrid : public CKXListPaneGrid {
    DECLARE_DYNAMIC(CKXPhysNetGrid)
public:
    char GetObjectType() const override { return 'N'; }
    bool FollowsObjects() const override { return false; }
    // Every physical net of the design by its physical name, less the nets that lie wholly inside a block
    // the pane's block filter excludes.
    void FillFromDesign(const CDesignContext& design) override;
    BOOL Showconnectivity(BOOL bForce = TRUE, BOOL bReserved = FALSE) override;

protected:
    bool MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const override;
};

// What the two pane views share: the design, the details view, the block filter, the physical switch.
class CKXListPaneView : public CFormView, public CCommonInterface, public CKXPaneCallLog {
    DECLARE_DYNAMIC(CKXListPaneView)
public:
    ~CKXListPaneView() override;

    // The design shown: the one given here, else the document's (a CKXDocument).
    void SetDesignContext(const CDesignContext& design);
    const CDesignContext* GetPaneDesignContext() const;
    // The physical view shows the physical grid (a document in open mode 4, or as set here).
    void SetPhysicalView(BOOL bPhysical) { m_nPhysical = bPhysical ? 1 : 0; }
    BOOL IsPhysicalView() const;

    void SetDetailsViewPtr(CCommonInterface* details) { m_pDetails = details; }
    CCommonInterface* GetDetailsViewPtr() const { return m_pDetails; }
    // The block filter: the hierarchical paths of the blocks that the physical lists leave out. Either
    // call refills the physical lists that are filled.
    void SetBlockFilterList(CStringList* list);
    const CStringList& GetBlockFilterList() const { return m_blockFilter; }
    // The filter as text: every excluded path followed by "\n" (an empty text excludes nothing).
    void FilterPhys(CString filter);
    // TRUE when the object at that hierarchical path lies in (or is) an excluded block.
    BOOL IsExcludedByBlockFilter(const CString& spath) const;
    // Shows the document's design in the other view: the physical view (open mode 4) or the logical
    // one. flag 1: save a modified design first, 0: do not, -1: ask. The window that shows the design
    // in that view is activated, or the host is asked to open one. FALSE when nothing switched (the
    // user cancelled, the save failed, the design could not be opened: the last two with a message).
    BOOL SwitchView(int flag, BOOL bPhysical);

    // Fills both lists of the pane from the design (the selected objects stay selected). Once the pane has a
    // window it also subscribes to MSG_TRANSACTION_COMMITTED, so that the lists follow every change.
    virtual void FillData();
    // Follows a committed transaction object by object: the rows of the objects it changed, and what the
    // details view knows of them. False (nothing done) when a refill is the better way: a wide change,
    // or a list that cannot follow.
    bool FollowChanges(CTransaction& transaction);
    // A committed transaction (also an undo or redo) that touches the pane's design refills the lists.
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Automation "Select": selects the named object (name or hierarchical path) in the shown list and
    // shows it in the connectivity pane, as a click would; FALSE when the list has no such object.
    BOOL Select(LPCTSTR nameOrPath);
    // Adds an instance of lib.cell:view with those properties to the design (in the open grid
    // transaction, or its own); nonzero when it was added. A name that is taken is refused.
    BOOL AddDesignInstance(CString name, CString lib, CString cell, CString view,
                           const std::vector<SKXPropertyText>& properties = {});
    // The list that the current view shows.
    virtual CKXListPaneGrid* GetActiveList() = 0;

    // CCommonInterface
    void RemoveSelection() override;
    void FocusActiveGrid() override;
    BOOL ActivateGrids() override;
    void NotifyFrameActivated(BOOL bActivated) override;
    // Matrix views are managed by the connectivity pane; the list panes only pass the requests on.
    void CreateMatrixView() override;
    void EditMatrixView() override;
    void OpenMatrixView(int index) override;
    void OpenMatrixView(CString name) override;
    void SaveAsMatrixView() override;
    void RemoveMatrixView(CString name) override;
    // The stored-view commands apply while the connectivity pane shows a matrix view.
    BOOL IsInMatrixEditMode() override { return m_pDetails ? m_pDetails->IsInMatrixEditMode() : FALSE; }
    // The views stored in the comments the design window gave the pane.
    int GetMatrixViewCount() override;

protected:
    explicit CKXListPaneView(UINT nTemplate);
    // Makes the lists usable: as child windows of the pane when the pane has a window, else bare grids.
    void PrepareList(CKXListPaneGrid* list, UINT nID);
    // Runs a design change in the open grid transaction, or in one of its own named `name`.
    template <class F>
    BOOL ChangeDesign(const char* name, F&& change);

    CCommonInterface* m_pDetails = nullptr;
    CStringList m_blockFilter;
    CString m_strPhysFilter;
    std::unique_ptr<CDesignContext> m_pDesign;
    int m_nPhysical = -1; // -1: from the document
    HWND m_hRegistered = nullptr; // the window subscribed at the message server

    void Subscribe();
    void Refill(CKXListPaneGrid* list);
    // Refills the filled lists that show the physical view's objects (after a block filter change).
    void RefillPhysicalLists();
    // The property by which the physical list names its objects (none: it names them otherwise): a
    // committed change of it renames a row of that list.
    virtual const char* PhysicalNameProperty() const { return nullptr; }
    bool RenamesPhysicalObjects(const CTransaction& transaction) const;
    // The pane's two lists (logical, physical), and what the details view learns of a changed object.
    virtual std::vector<CKXListPaneGrid*> GetLists() { return {}; }
    virtual void TellDetails(const CDesignContext& design, ISchemaObject* object) {
        (void)design;
        (void)object;
    }
    // Prepares the pane's logical and physical lists and fills both from the pane's design; returns that
    // design, or null (lists left empty) when there is none.
    const CDesignContext* FillLists(CKXListPaneGrid* logical, UINT logicalId, CKXListPaneGrid* physical,
                                    UINT physicalId);
    // Appends the edit to the automation journal as a call of the document's method of the same action:
    // "\n\n ' --- <title> ---\n\ncall <handle>.<method>(<args>)". Texts are quoted with their quotes
    // doubled; numbers stay bare. Nothing happens outside journalling or inside a CKXPaneAutomationScope.
    void JournalEdit(const char* title, const char* method, std::initializer_list<CString> texts,
                     std::initializer_list<long> numbers = {});
    CString GetJournalHandle() const;

public:
    // The document's comments (pin and design comments, matrix views) as the design window gave them.
    CComments* CommentStore() const { return m_pComments; }
    void MarkDocumentModified();
};

// While one of these lives, edits of the list panes are not journalled: the caller (the document's
// automation methods, which a replayed journal calls) journals on its own or must not journal at all.
class CKXPaneAutomationScope {
public:
    CKXPaneAutomationScope();
    ~CKXPaneAutomationScope();
    CKXPaneAutomationScope(const CKXPaneAutomationScope&) = delete;
    CKXPaneAutomationScope& operator=(const CKXPaneAutomationScope&) = delete;
    static BOOL IsActive();
};

class CKXSignalPaneContainerView;

class CKXInstancePaneContainerView : public CKXListPaneView {
    DECLARE_DYNCREATE(CKXInstancePaneContainerView)
public:
    CKXInstancePaneContainerView();
    ~CKXInstancePaneContainerView() override;

    CKXInstancePaneGrid* GetInstancePaneGrid() { return &m_instanceGrid; }
    std::vector<CKXListPaneGrid*> GetLists() override { return {&m_instanceGrid, &m_physPartGrid}; }
    void TellDetails(const CDesignContext& design, ISchemaObject* object) override;
    CKXPhysPartGrid* GetPhysPartGrid() { return &m_physPartGrid; }
    CKXListPaneGrid* GetActiveList() override;
    void SetSignalPaneViewPointer(CKXSignalPaneContainerView* view) { m_pSignalPane = view; }
    CKXSignalPaneContainerView* GetSignalPaneViewPointer() const { return m_pSignalPane; }
    void FillData() override;

    // Operations the frame and the document's automation forward.
    // The host's co-design marking: wParam the component names (blank separated text, 0 for the
    // components selected in the list), lParam nonzero to mark them, 0 to take the mark off.
    BOOL MarkAsCodesign(WPARAM wParam, LPARAM lParam); // FALSE when refused (it says why)
    // Marks (or unmarks) the named components as co-design instances (property CODESIGN) in one
    // transaction, journalled as Clp().MarkAsCodesign; empty names: the list's selection. FALSE, with
    // a message, when a name is unknown, nothing is named, or every component is marked so already.
    BOOL MarkComponentsAsCodesign(CString names, long mark);
    // Automation "PreserveComments": the comments of the pins of instance `first` move to `second` (the
    // host renamed it), as one undo step when `undo` is nonzero; FALSE when there was nothing to move.
    BOOL PreserveComments(LPCTSTR first, LPCTSTR second, long undo);
    // Journals a move of the comments of an instance's pins as Clp().PreserveComments.
    void JournalCommentMove(const CString& first, const CString& second, BOOL bUndo);
    // Refused with "KXPANE-456": creating a new block schematic is the host's block creation, which is
    // not installed here.
    void LaunchCreateBlock();
    BOOL CanExportInterface();
    BOOL CanImportInterface();
    // The interactive forms: the interface dialog (CKXInterfaceDlg) asks for the instance and the file;
    // on OK the matching script command is sent to the host, which does the work.
    // The interface dialog and the command it sends: -1 when cancelled, else the command's answer.
    LRESULT ExportInterface();
    LRESULT ImportInterface();
    // Assign Power: the power group dialog (CKXPowerGroupDlg: the implicit power pin "pin" and the net
    // "net") for the components selected in the list; OK ties that pin of each to the net. 1 when tied,
    // 0 when refused (its message said why), 2 when the dialog was cancelled.
    int OnPowerGroup();
    // Ties the implicit power pin `pin` of each named component (blank separated; empty: the list's
    // selection) to the net `net`, in one transaction journalled as Clp().AssignPowerGroup. FALSE, with a
    // message, when a name is unknown, the net name is empty or invalid, or no component has such a pin
    // that is not tied to that net already.
    BOOL AssignPowerGroup(CString names, CString pin, CString net);
    // Opens the block selected in the component list: Descend in the context of this design (open mode
    // 2, so that ascend returns here), EditBlock as a design of its own (open mode 1). FALSE, with a
    // message, when the selection is not one block.
    BOOL Descend();
    BOOL EditBlock();
    // The interface file of a block: for an instance path, every pin bit of that instance with the net
    // bit it is joined to ("pin DQ<3> inout DATA<3>", "-" for none); for an empty path, the design's
    // own ports ("port EN in -1 -1"). Ports of no direction are written "local", or "inout" when
    // exportLocalAsInout is nonzero. FALSE, with a message, when the file cannot be written.
    BOOL ExportInterfaceFile(const CString& path, const CString& file, int exportLocalAsInout);
    // Reads an instance's interface file back: each pin bit is joined to the net bit the file names
    // (a missing scalar net is made) or parted from its net for "-", in one transaction that is
    // journalled as ImportInterface. `instance` names the instance, else the file's "instance" line
    // does. Nothing changes when the file does not fit the instance (message); a file that changes
    // nothing makes no undo step.
    BOOL ImportInterfaceFile(const CString& file, const CString& instance);
    BOOL EditBlkPackagingOptions(int kind, CString value, CString third, CString t4, CString t5, CString t6,
                                 CString t7);
    using CCommonInterface::AddComponent;
    // Adds an instance named `name` of master lib.cell:view to the design, with the properties of the
    // fifth and sixth texts ("NAME=VALUE;NAME=VALUE"); nonzero when it was added.
    BOOL AddComponent(CString name, CString lib, CString cell, CString view, CString fifth, CString sixth,
                      int seventh);
    BOOL AddBlock(CString a1, CString a2, CString a3, int kind, CString a5, CString a6, int flag, CString t8,
                  CString t9, CString t10, int i11, int i12);
    // Each of these changes the design in one transaction and journals itself, or refuses with a
    // message, changing and journalling nothing; nonzero when done.
    BOOL Modify(CString first, CString second);
    BOOL DeleteRefDes();
    BOOL EditRefDes(CString first, CString second);
    using CCommonInterface::RenameComponent;
    // Renames an instance of the design; nonzero when it was renamed.
    BOOL RenameComponent(CString oldName, CString newName);
    BOOL DeleteComponent(CString name);
    // Deletes the named components of the design in one transaction, journalled as DeleteComponent for
    // each; FALSE (nothing deleted) when a name is not a component of the design.
    BOOL DeleteComponents(const CStringArray& names);

    // CCommonInterface
    void ShowInstanceConnectivity(const CDesignContext& design, CKXInstanceContextArray* instances,
                                  BOOL bForce) override;
    void ShowComponentsByName(const CDesignContext& design, CStringList* names, BOOL bForce) override;
    void HighlightObject(CKXHiliteObject* object) override;

private:
    BOOL Refuse(const char* id, const CString& what);
    // The one block instance selected in the component list; empty, with a message, otherwise.
    CInstanceContext SelectedBlock();
    // Asks for the interface's instance and file (CKXInterfaceDlg) and sends the script command.
    LRESULT AskInterface(bool isExport);
    // The instance of that name, or the one instance selected in the component list for no name.
    CInstanceContext NamedOrSelectedInstance(const CString& name);
    BOOL SetBlockOption(const CInstanceContext& block, const char* keyword, const CString& value);

    CKXInstancePaneGrid m_instanceGrid;
    CKXPhysPartGrid m_physPartGrid;
    CKXSignalPaneContainerView* m_pSignalPane = nullptr;
    DECLARE_DISPATCH_MAP()

public:
    BOOL Select(LPCTSTR nameOrPath) { return CKXListPaneView::Select(nameOrPath); }
    // The components named (separated by blanks) selected and shown together in one grid, as the list
    // asks for its selection shown as a group; FALSE (nothing shown) when a name is no component, or
    // in the physical view, whose parts are shown each in a grid of its own.
    BOOL SelectGroup(LPCTSTR names);
};

class CKXSignalPaneContainerView : public CKXListPaneView {
    DECLARE_DYNCREATE(CKXSignalPaneContainerView)
public:
    CKXSignalPaneContainerView();
    ~CKXSignalPaneContainerView() override;

    CKXSignalPaneGrid* GetSignalGridWnd() { return &m_signalGrid; }
    std::vector<CKXListPaneGrid*> GetLists() override { return {&m_signalGrid, &m_physNetGrid}; }
    void TellDetails(const CDesignContext& design, ISchemaObject* object) override;
    const char* PhysicalNameProperty() const override { return "PHYS_NET_NAME"; }
    CKXPhysNetGrid* GetPhysNetGridWnd() { return &m_physNetGrid; }
    CKXListPaneGrid* GetActiveList() override;
    void SetInstancePaneViewPointer(CKXInstancePaneContainerView* view) { m_pInstancePane = view; }
    CKXInstancePaneContainerView* GetInstancePaneViewPointer() const { return m_pInstancePane; }
    void FillData() override;

    void ShowDPSignals(CString flag);
    BOOL IsShowingDPSignals() const { return m_bShowDPSignals; }
    void ShowNetConnectivity(WPARAM wParam, LPARAM lParam);
    // Adds a signal (a net named `name`) to the design; nonzero when it was added.
    BOOL AddSignal(CString name, CString second, CString third, CString fourth);
    // Joins two nets as aliases; nonzero when they were joined.
    BOOL AliasNets(CString first, CString second, CString third, CString fourth);
    // Parts two aliased nets; nonzero when they were aliases.
    BOOL DeleteAlias(CString first, CString second);
    BOOL RenameSignal(CString oldName, CString newName);

    // CCommonInterface
    void ShowNetConnectivity(const CDesignContext& design, CKXNetContextArray* nets, BOOL bForce) override;
    void ShowNetBitConnectivity(const CDesignContext& design, CKXNetBitContextArray* netBits, BOOL bForce) override;
    void ShowNetsByName(CStringList* names, BOOL bForce) override;
    void HighlightObject(CKXHiliteObject* object) override;

private:
    CKXSignalPaneGrid m_signalGrid;
    CKXPhysNetGrid m_physNetGrid;
    CKXInstancePaneContainerView* m_pInstancePane = nullptr;
    BOOL m_bShowDPSignals = TRUE;
    DECLARE_DISPATCH_MAP()

public:
    // Selects the signal and shows its connectivity; a bit of a bus (DQ<3>) shows that bit's, as the
    // bit picked in the expanded bus does.
    BOOL Select(LPCTSTR nameOrPath);
    // Selects the signals named (separated by blanks; bus bits as in Select) and shows them as one
    // group, as a selection of several does; FALSE, showing nothing new, when a name is none of them.
    // In the physical view the names are those of physical nets.
    BOOL SelectGroup(LPCTSTR names);

private:
    // The net bit a name stands for: a whole net (bit -1) or a bit of a bus; an empty context when none.
    CNetBitContext NamedNetBit(const CDesignContext& design, const CString& name) const;
    // SelectGroup in the physical view: the names are physical nets.
    BOOL SelectPhysicalGroup(const CDesignContext& design, CCommonInterface& details, LPCTSTR names);
};
