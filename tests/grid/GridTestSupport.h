// A grid kind for the tests: records what the base calls of its interface.
#pragma once

#include "grid/KXGridSite.h"
#include "grid/KXGridWnd.h"

#include <array>
#include <vector>

class CRecordingGrid : public CKXGridWnd {
public:
    int crossSelects = 0;
    int selectionNotes = 0;
    int f4Presses = 0;
    int finds = 0;
    int replaces = 0;
    int paneTitles = 0;
    std::vector<std::array<CString, 4>> comments;
    std::vector<int> sortedColumns;
    bool withRowNumberInfo = false;
    CKXColumnInfoClass rowNumberInfo;
    CKXColumnInfoClass fixedInfo;

    void CrossSelectInHost() override { ++crossSelects; }
    void NotifySelectionChanged() override { ++selectionNotes; }
    void OnKeyF4() override { ++f4Presses; }
    void ShowFindReplace(BOOL bFind) override { bFind ? ++finds : ++replaces; }
    void UpdatePaneTitle() override { ++paneTitles; }
    void SetPinComment(CString inst, CString pin, CString newComment, CString oldComment) override {
        comments.push_back({inst, pin, newComment, oldComment});
    }
    void SortRows(int col, BOOL bAscending) override {
        sortedColumns.push_back(col);
        CKXGridWnd::SortRows(col, bAscending);
    }
    CKXColumnInfoClass* GetColumnInfo(int col) override {
        if (col == 0 && withRowNumberInfo) return &rowNumberInfo;
        if (col == 3) return &fixedInfo;
        return nullptr;
    }
};

// A created and initialised grid: header rows 1..5, data from row 6 on, list
// header on row 2, four columns.
inline void SetUpGrid(CKXGridWnd& grid, ROWCOL dataRows = 4, ROWCOL cols = 4) {
    grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 480), nullptr, 100);
    grid.InitializeGrid(6, 1, 2, nullptr);
    grid.SetColCount(cols);
    grid.SetRowCount(5 + dataRows);
}

// A site with nothing behind it: no comments, no panes; the journal handle and undo sink the test sets.
class CFakeGridSite : public IKXGridSite {
public:
    CString handle;
    CCommonInterface* sink = nullptr; // the undo list the site hands out
    CComments* CommentStore() override { return nullptr; }
    void MarkModified() override {}
    CString DocumentJournalHandle() override { return handle; }
    EOpenMode OpenMode() const override { return eOpenModeEditBlock; }
    CCommonInterface* UndoSink() override { return sink; }
    BOOL IsSiteBusy() const override { return FALSE; }
    CCommonInterface* InstanceListPane() override { return nullptr; }
    CCommonInterface* SignalListPane() override { return nullptr; }
    void ActivateAdjacentGrid(CGXGridCore*, BOOL) override {}
    int GridIndexOf(CGXGridCore*) const override { return -1; }
    void ClearOtherGridSelections(int) override {}
    void SyncTopRow(CGXGridCore*, ROWCOL) override {}
    void HideRowsInAllGrids(ROWCOL, ROWCOL, BOOL, CByteArray*, UINT, GXCmdType) override {}
    void RefreshCellControlsInOtherGrids(CGXGridCore*, int, int) override {}
    void EnableAttachSignalControls(BOOL) override {}
    CKXListComboBox* SignalDropList() const override { return nullptr; }
    CKXListComboBox* DiffPairDropList() const override { return nullptr; }
    void ApplyAutoCompleteSetting(int, BOOL) override {}
    void ApplyShowSignalComboSetting(int, BOOL) override {}
    void SetPaneTitle(UINT) override {}
    void RunPaneCommand(UINT) override {}
    BOOL AssignPowerInListPane(const std::vector<CImplicitPin*>&, CStringArray*) override { return FALSE; }
};
