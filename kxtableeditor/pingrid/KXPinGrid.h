// IKXPinGrid: what the connectivity pane asks only of a pin grid, beyond the
// common grid interface of CKXGridWnd. The pane holds every grid as a
// CKXGridWnd and reaches this interface through its factory
// (CKXBottomPaneContainerView::PinGridOf), after a Kind() check; it never sees
// the pin grid's class. An operation every grid kind offers belongs in
// CKXGridWnd's slots instead.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

#include <vector>

class CKXGridWnd;
class CMenu;
class CTclArgsList;
class CKXHiliteObject;
class KXAssocAutomation;

class IKXPinGrid {
public:
    virtual ~IKXPinGrid() = default;

    // The key column of the pin keys of the selection words ("pin", "pin:number", ...).
    static constexpr const char* kPinNameKeyColumn = "Pinname";

    // The grid window itself.
    virtual CKXGridWnd& Grid() = 0;

    // ---- loading and refreshing
    virtual BOOL LoadComponentPins(CDesignContext design, CInstanceContext instance, BOOL bKeepOrder) = 0;
    virtual BOOL ReloadInstanceRows(CDesignContext design, const std::vector<UINT>& arrInstances, BOOL bNoSort) = 0;
    virtual BOOL RefreshInstances(const std::vector<IInstance*>* pInstances) = 0;
    // The first shown instance; NULL when none.
    virtual IInstance* GetInstance() = 0;
    virtual void UpdateHeaderCaption() = 0;
    virtual void RefreshInstanceCells(int instanceIndex) = 0;
    virtual void RefreshCellControls(int row, BOOL bExpand) = 0;
    // Writes the column customisation of the pin grids (with bParse also as the current one).
    virtual void LoadCustomPropertyColumns(BOOL bParse) = 0;

    // ---- view options
    virtual void RecordViewOptionsScript(int busOption, int dpOption) = 0;
    // The journal line that shows the grid again on replay (Clp().Select, or SelectGroup of a group).
    virtual CString ShownObjectsJournalLine() = 0;
    // The options the next load reads, taken over from another grid: no journal line (the user set
    // them in that grid, whose line is written).
    virtual void TakeViewOptions(int busOption, int dpOption) = 0;
    virtual int GetBusOption() const = 0;
    virtual int GetDiffPairOption() const = 0;
    virtual void ExpandAllPins(CString onOff, CString scope) = 0;

    // ---- journal lines of an edit the caller owns
    // From HoldJournal on, the grid's journal lines wait for the caller's transaction; ReleaseJournal
    // writes them (bWrite: the transaction committed) or drops them (it was thrown away).
    virtual void HoldJournal() = 0;
    virtual void ReleaseJournal(BOOL bWrite) = 0;
    // Ends the hold and gives its lines to the caller, which writes them with other grids' lines.
    virtual CString TakeHeldJournal() = 0;

    // ---- script words and automation
    virtual int DumpGrid(const char* path) = 0;
    virtual BOOL OnFilterCellChanged(CString columnName, CString pattern) = 0;
    virtual int SortByColumnName(CString name) = 0;
    // Makes the pin's row current (a bus bit's parent row is expanded first) and its top row.
    virtual void ExpandPin(const CString& pinName) = 0;
    // Sorts the column as another grid of the pane just did (grids side by side).
    virtual void SortLike(int col, BOOL bAscending) = 0;
    // The value the list panes hand to every shown pin grid through the pane (SetPinGridsFlag).
    virtual void SetPaneFlag(int value) = 0;
    virtual int GetPaneFlag() const = 0;
    virtual int SelectRowsByKeyCount(CStringArray* pKeys, const CString& keyColumn) = 0;
    // FALSE when no row shows the pin.
    virtual BOOL SelectColumnByName(const CString& pinName, const CString& columnName) = 0;
    virtual BOOL SelectPinCell(const CString& columnKey, const CString& pinName, const CString& pinNumber) = 0;
    // FALSE when the grid shows no pin row.
    virtual BOOL SelectFirstSignalCell() = 0;
    virtual BOOL SelectNextSignalCell() = 0;
    virtual BOOL IsCurrentSignalCellFilled() = 0;
    // Selects the tracked pin's signals in the signal list: FALSE when it has none there.
    virtual BOOL HiliteSelection() = 0;
    virtual void CopySelection() = 0;
    // Colours the rows of the object the host highlights.
    virtual void HighlightObject(CKXHiliteObject* hilite) = 0;
    // Shows the store's pin comments again in every row's Comments cell.
    virtual void RefreshCommentCells() = 0;

    // ---- connection editing (the pane's transaction around it)
    virtual int ConnectSelectedPins(CString text, int bEchoToHost) = 0;
    // Picks the entry from the SIGNAL cell list of the first selected pin, which connects the pin;
    // FALSE when the list offers no such entry or the connect was refused.
    virtual BOOL PickSignalCellEntry(const CString& name) = 0;
    virtual void AddSelectedPinsToArgs(CTclArgsList* args) = 0;
    // Ctrl+V (bPasteSpecial: Paste Special) on the SIGNAL cells of the selected pins, in a grid whose
    // host holds the transaction: the clipboard's lines connect the pins as one edit inside it (one line
    // onto every pin, several one to a pin down the grid). echoes gets the script lines of what each
    // row took. 0 when nothing was pasted, the design then as it was before the paste.
    virtual int PasteOnSelectedPins(BOOL bPasteSpecial, std::vector<CTclArgsList>* echoes) = 0;
    // The rows show what the host's open transaction changed so far, as a commit would show it.
    virtual void ShowOpenEditChanges() = 0;
    // The host's transaction ended (kept or thrown away): what was shown of it no longer counts.
    virtual void ForgetOpenEdit() = 0;
    virtual BOOL IsDiffPairRowSelected() = 0;
    virtual BOOL CanRemoveDiffPair() = 0;
    // The pane's ChangePropValue automation: the selected rows' cells of the custom property column
    // named take the value, in one undo step; FALSE when no such column, no selection or refused.
    virtual BOOL ChangePropValue(const CString& name, const CString& value) = 0;
    // The property of the custom property column named by its property or by the caption it shows (in
    // any case); empty when the grid has no such column.
    virtual CString CustomColumnKey(const CString& name) = 0;
    virtual BOOL RemoveDiffPair() = 0;
    virtual BOOL SwapSelectedSignals() = 0;
    // The "renameConnection" word: 1 done (or refused with its message), 2 the editor was shown.
    // With keys as many as names, each key's pins take that key's name.
    virtual int RenameSignal(CStringArray* names, int flag, CStringArray* keys = nullptr) = 0;
    // Pin numbers: the host command "assignPinNumber" (from the menu id's number, or the text), and its
    // committing end. The host command answers as the word did: 1 assigned, 2 stopped at a question the
    // user declined (another instance's section), 0 refused; so does the dialog road of "More...".
    virtual BOOL AssignPinNumberInHost(UINT commandId, BOOL useText, CString text) = 0;
    virtual BOOL CommitAssignPinNumber(CString number) = 0;
    // The pin-number menu of the current pin (numbers from 35545, "More..." 35550; the generator, kept
    // by the grid, or NULL with no menu) and the Assign Pin Number dialog of "More...".
    virtual HMTGEN BuildPinNumberMenu(CMenu* menu) = 0;
    virtual BOOL SendAssignPinNumber() = 0;

    // ---- terminations, pull-ups/pull-downs and pin models
    // The committing halves of "assignModel" / "removeModel" on the selected pins.
    virtual BOOL CommitAssignModel(CString modelName) = 0;
    virtual BOOL CommitRemoveModel() = 0;
    // The automation road: prepares the grid's automation object (1) or refuses (0).
    virtual int InitTermination(CString text) = 0;
    virtual int InitPUPD(CString text, int bShort) = 0;
    virtual int ChangeTerminationDelay(const char* delay) = 0;
    virtual int SendDeletePupdCommand(const char* list) = 0;
    // A pull-up/pull-down described as a copy carries it onto the net bits of the selected pins, as one
    // journalled edit (the journal's road of a paste); FALSE, with the message, when none took it.
    virtual BOOL PastePupdEntry(const CString& type, const CString& name, const CString& data) = 0;
    // The grid's automation object of the associated-components library.
    virtual KXAssocAutomation& AssocAutomation() = 0;
};
