// The object information window of the connectivity pane: it remembers every
// component and signal the pane was asked to show, keeps the grids of the most
// recently shown ones open (at most `max_open_windows` of each kind), shows one
// grid or several side by side, and carries at its bottom a beam that names the
// current object and drops down the lists of the remembered components and
// signals, from which one or several objects are shown again.
//
// Object kinds: 0 components, 1 signals; a request with kind 2 takes the kind the
// beam shows. Objects are keyed by their id as decimal text; a group shown in one
// grid by its ids joined with ":".
#pragma once

#include "afx/afxdlg.h"
#include "afx/afxwin.h"
#include "grid/gxrecordinfo.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class CKXGridWnd;
class CKXObjectInfoWnd;

// Drops down a list (wParam 0 components, 1 signals), shows the ids joined in the text lParam points
// to (wParam 4), or (any other wParam but 2 and 3) gives the shown grids equal widths.
constexpr UINT MSG_OBJECT_INFO_LIST = 0x7A3;
// Sent to the connectivity pane with an object's id (wParam): that object's window is shown alone.
constexpr UINT KX_MSG_ACTIVATE_OBJECT_WINDOW = 0x785;

// One remembered object. The window is null while the object is remembered without an open grid.
struct SKXObjectInfo {
    CKXGridWnd* window = nullptr;
    int kind = 0;
    CString name;
    long data = 0;
    std::string key;
};

// What the window asks of the pane that owns it: the grids themselves.
class IKXObjectInfoOwner {
public:
    // A grid for one object (kind 0: the component of the id, kind 1: the net or net bit of the key;
    // netBit: the key names a net bit), or for a group keyed by its joined ids. NULL when none can be made.
    virtual CKXGridWnd* CreateObjectGrid(int kind, const std::string& key, int netBit) = 0;
    virtual CKXGridWnd* CreateGroupObjectGrid(int kind, const std::string& key, int netBit, BOOL group) = 0;
    // The grid goes for good.
    virtual void DestroyObjectGrid(CKXGridWnd* grid) = 0;
    // A net bit remembered among the bits of its net (AddBitRows): its name (column 0) and its
    // second text (column 1).
    virtual CString BitText(unsigned long long id, int column) = 0;
    // The grids the window shows now, in display order, and the active one.
    virtual void AfterObjectsShown(const std::vector<CKXGridWnd*>& shown, CKXGridWnd* active) = 0;
    // The user chose objects in a dropped list: the kind and the records now shown (names and keys).
    virtual void AfterObjectsChosen(int kind, const std::vector<const SKXObjectInfo*>& shown) = 0;

protected:
    ~IKXObjectInfoOwner() = default;
};

// The drop-down list of the remembered objects of one kind. It holds its rows itself (an owner-data
// list): a row of its own texts, or a run of rows whose ids follow each other (the bits of a bus),
// which costs what one row costs and reads its rows' texts when they are shown.
class CKXObjectInfoListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CKXObjectInfoListCtrl)
public:
    static constexpr UINT kComponentListId = 29990;
    static constexpr UINT kSignalListId = 29991;
    // The MSG_OBJECT_INFO_LIST wParam that tells the parent to show the chosen ids (lParam: "id:id...").
    static constexpr WPARAM kShowChosen = 4;
    // The text of a run's row at a column, by the row's id.
    using RunText = std::function<CString(DWORD_PTR id, int column)>;
    CKXObjectInfoListCtrl(BOOL multiple, int kind);
    BOOL CreateList(CWnd* parent);
    int GetKind() const { return m_nKind; }
    BOOL IsMultipleSelection() const { return m_bMultiple; }
    void SetRunText(RunText text) { m_runText = std::move(text); }
    // The row whose item data is the id; -1 when none.
    int FindRowById(DWORD_PTR id) const;
    // Appends a row keyed by the id (the third text only where the list has a third column);
    // FALSE when the id has a row already.
    BOOL AddRow(DWORD_PTR id, const CString& name, const CString& second, const CString& third);
    // Appends the rows of `count` ids, from `first` on, each `step` (1 or -1) from the one before;
    // ids that have a row keep theirs.
    void AddRun(DWORD_PTR first, int count, int step);
    // Takes out the rows of the ids; the others keep their order.
    void RemoveRows(const std::set<DWORD_PTR>& ids);
    // A row of a run that is given a text becomes a row of its own.
    BOOL SetItemText(int row, int column, LPCTSTR text);
    BOOL DeleteItem(int row);
    BOOL DeleteAllItems();
    // The item data of the selected rows, in row order, joined with ":".
    CString SelectedIds() const;
    // A click on a row's label: with Ctrl or Shift it selects as a multiple-selection list does,
    // without it the row is chosen alone and shown.
    void ClickRow(int row, BOOL ctrlOrShift);

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    CString OnGetItemText(int row, int column) const override;
    DWORD_PTR OnGetItemData(int row) const override;

private:
    // One row with its texts (step 0), or `count` rows of a run.
    struct Entry {
        DWORD_PTR first = 0;
        int count = 1;
        int step = 0;
        std::vector<CString> texts;
        DWORD_PTR IdAt(int offset) const {
            return step < 0 ? first - static_cast<DWORD_PTR>(offset) : first + static_cast<DWORD_PTR>(offset);
        }
        DWORD_PTR Lowest() const { return IdAt(step < 0 ? count - 1 : 0); }
        // The offset of the id in the entry; -1 when it is not one of its rows.
        int OffsetOf(DWORD_PTR id) const;
        // The runs of the rows between the offsets `gaps`, in order.
        void SplitAround(std::vector<int> gaps, std::vector<Entry>& pieces) const;
    };
    // The entry that holds the id and the id's offset in it.
    bool Locate(DWORD_PTR id, size_t& entry, int& offset) const;
    void Choose();
    // The entry of a row and the row's offset in it.
    size_t EntryOfRow(int row, int& offset) const;
    // The entries changed: row numbers and ids are indexed afresh when next asked.
    void Changed();
    void Append(Entry entry);
    void Reindex() const;
    BOOL m_bMultiple;
    int m_nKind;
    RunText m_runText;
    std::vector<Entry> m_entries;
    mutable bool m_bIndexed = true;
    mutable std::vector<int> m_firstRow;             // of each entry
    mutable std::map<DWORD_PTR, size_t> m_byLowest; // an entry by its lowest id
};

// The record beam: the kind shown, the current object's text, the count of remembered objects of
// that kind and the current one's id. Its buttons 0 and 1 drop down the component and signal lists.
class CKXObjectInfoBeam : public CGXRecordInfoBeam {
    DECLARE_DYNAMIC(CKXObjectInfoBeam)
public:
    static constexpr int kButtonWidth = 18;
    CKXObjectInfoBeam() { SetButtonWidth(kButtonWidth); }
    void SetKind(int kind);
    int GetKind() const { return m_nKind; }
    const CString& GetCaption() const { return m_strCaption; }
    // The text (with every "&" doubled), the count of remembered objects and the current one's id.
    void SetRecord(const CString& text, long count, long current);
    // The tool tip of a beam button ("Component List", "Signal List"; none for the others).
    static const char* ButtonTip(int button);
    // A press on a beam button: every button but 4 asks the window it serves.
    void OnButtonPressed(int button) override;
    const CString& GetToolTip() const { return m_strTip; }
    // The window class "CKXObjectInfoBeam" (global, procedure WndProcHook): registered unless it is already,
    // so that a dialog template can name it. Returns the class name; a failed registration raises
    // CResourceException.
    static LPCSTR RegisterClassA(HINSTANCE hInstance = nullptr);
    static BOOL UnregisterClassA(HINSTANCE hInstance = nullptr);
    // The first message of a window created from the class: makes its window object, attaches it to
    // the handle, lists it among the windows deleted on destruction and hands it the message.
    static LRESULT WndProcHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Deletes the beam only when it was made from its class name.
    void PostNcDestroy() override;
    // A click presses the button under the pointer; the pointer over a button shows its tip.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    int m_nKind = 0;
    CString m_strCaption = "Component";
    CString m_strTip;
};

class CKXObjectInfoWnd : public CGXRecordInfoWnd {
    DECLARE_DYNAMIC(CKXObjectInfoWnd)
public:
    static constexpr int kKinds = 2;
    static constexpr int kDefaultMaxOpenWindows = 100;
    static constexpr UINT kFirstSequenceNumber = 30000;
    static constexpr UINT kWindowId = 29989;

    // Installs the record-info interface: grids tell it when their current cell changes.
    CKXObjectInfoWnd();
    ~CKXObjectInfoWnd() override;
    BOOL CreateInfoWnd(CWnd* parent);
    // The pane that makes the grids.
    void SetOwnerPane(IKXObjectInfoOwner* owner) { m_pOwner = owner; }
    // Reads the limit of open grids per kind (program GRIDWORKSHOP, max_open_windows; 100 when not set).
    void ReadMaxOpenWindows();
    int GetMaxOpenWindows() const { return m_nMaxOpenWindows; }

    // Show requests. mode1: several keys go into one grid; mode2: the objects are net bits.
    void ShowObjectInfo(const std::string& keys, int kind, int mode1, int mode2);
    void ActivateObjectWindow(const std::string& key, int kind, int mode1, int mode2);
    void SetGroupFlag(BOOL group) { m_bGroupFlag = group; }
    // The mode values of the request about to be shown (the pane sets them before it remembers its objects).
    void SetShowModes(int mode1, int mode2) {
        m_nMode1 = mode1;
        m_nMode2 = mode2;
    }
    // Remembers an object (a list row unless a mode value is set) / a group under its joined key.
    void CreateObjectList(const std::string& key, const CString& name, const CString& second,
                          const CString& third, int kind, long data);
    void CreateObjectListByKey(const std::string& key, const CString& name, const CString& second,
                               const CString& third, int kind, long data);
    // Remembers an object with a row of its kind's list, whatever request is being shown (a net the
    // pane registers, and its bits).
    void AddObjectRow(const std::string& key, const CString& name, const CString& second, const CString& third,
                      int kind, long data);
    // Remembers the net bits of ids first, first+step, ... (`count` of them, step 1 or -1) with rows of
    // the signal list, in that order. A bit has no record until it is shown: the owner names it.
    void AddBitRows(unsigned long long first, int count, int step);
    const SKXObjectInfo* FindRecord(const std::string& key, int kind) const;
    CKXGridWnd* FindWindowById(const std::string& key, int kind) const;
    // Walks the records of a kind: their grids (NULL for a record without one).
    POSITION GetFirstWindowPosition(int kind) const;
    using CWnd::GetNextWindow;
    CKXGridWnd* GetNextWindow(POSITION& pos, int kind) const;
    CKXGridWnd* GetActiveGrid() const { return m_pActive; }
    int GetShownKind() const { return m_beam.GetKind(); }
    // The grid of the shown list at the index if its record has the kind, advancing the index.
    CKXGridWnd* GetNextGrid(size_t& index, int kind) const;
    // Every open grid of the kind, oldest first.
    std::vector<CKXGridWnd*> OpenWindows(int kind) const;
    std::vector<CKXGridWnd*> ShownGrids() const;
    // Every remembered object of the kind, a bit without its record too.
    size_t GetRecordCount(int kind) const { return m_records[Kind(kind)].size() + (Kind(kind) == 1 ? m_bitsWithoutRecord : 0); }
    std::vector<std::string> RecordKeys(int kind) const;
    UINT NextSequenceNumber() { return m_nNextSequence++; }

    // The record's name and its row's; with `second`, the row's second text too.
    void RenameObject(const std::string& key, int kind, const CString& name, const CString* second = nullptr);
    void CloseObjectWindowById(unsigned long long id, int kind, BOOL remove);
    void CloseObjectWindowByKey(const std::string& key, int kind, BOOL remove);
    void CloseObjectWindows(std::set<std::string>& keys, int kind, BOOL remove);
    // Closes every record of the kind one of whose ids is in the set (a group holding it too).
    void CloseObjectsHolding(const std::set<std::string>& ids, int kind, BOOL remove);
    // Closes the oldest open grid of the kind (not one shown now) when the limit is reached.
    void TrimOpenWindows(int kind);
    // A grid destroyed elsewhere: its record stays without a window.
    void ForgetWindow(CKXGridWnd* grid);

    // The beam's record from the grid: count, current object and text.
    void UpdateRecordInfo(CKXGridWnd* grid);
    // The window that holds the grid (among its ancestors or their children); NULL when none does.
    static CKXObjectInfoWnd* EnclosingWindow(CWnd* grid);
    CKXObjectInfoBeam& Beam() { return m_beam; }
    CKXObjectInfoListCtrl* GetList(int kind) const { return m_lists[Kind(kind)].get(); }
    CKXObjectInfoListCtrl* GetDroppedList() const { return m_pDropped; }
    void HideDroppedList();
    BOOL IsSideBySide() const { return m_bSideBySide; }
    size_t GetSeparatorCount() const { return m_separators.size(); }
    // The vertical scroll bar of the window itself: shown while side-by-side grids scroll together.
    BOOL ShowsOwnScrollBar() const { return m_bOwnScrollBar; }
    // Places the beam, the shown grids left to right with separators between them, and a dropped list.
    void LayoutWindows() override;
    // Moves the separator after the shown grid at the index by dx pixels (negative: to the left).
    BOOL DragSeparator(size_t index, int dx);
    // The separator under the point; -1 when none.
    int SeparatorAt(CPoint point) const;
    void OnSize(UINT type, int cx, int cy);
    // The window class "CKXObjectInfoWnd" (global, procedure WndProcHook): registered unless it is already,
    // so that a dialog template can name it. Returns the class name; a failed registration raises
    // CResourceException.
    static LPCSTR RegisterClassA(HINSTANCE hInstance = nullptr);
    static BOOL UnregisterClassA(HINSTANCE hInstance = nullptr);
    // The first message of a window created from the class: makes its window object, attaches it to
    // the handle, lists it among the windows deleted on destruction and hands it the message.
    static LRESULT WndProcHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Deletes the window only when it was made from its class name.
    void PostNcDestroy() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    using RecordMap = std::map<std::string, std::unique_ptr<SKXObjectInfo>>;
    static int Kind(int kind) { return kind == 1 ? 1 : 0; }
    SKXObjectInfo* Record(const std::string& key, int kind) const;
    SKXObjectInfo* Remember(const std::string& key, const CString& name, int kind, long data);
    // The record of the key, made for a bit remembered without one.
    SKXObjectInfo* Recall(const std::string& key, int kind);
    // Takes the bit out of the bits remembered without a record; FALSE when it is not one of them.
    bool TakeBit(unsigned long long id);
    bool InBitRuns(unsigned long long id) const;
    void AddListRow(const std::string& key, const CString& name, const CString& second, const CString& third,
                    int kind);
    void CreateLists();
    void RemoveListRows(int kind, const std::set<std::string>& keys);
    void SwitchBeamKind(int kind);
    void HideShownGrids();
    // Opens the record's grid when it has none (trimming first) and appends it to the shown list.
    void OpenAndShow(SKXObjectInfo& record, BOOL group, int mode2);
    void ShowSeparate(const std::vector<std::string>& keys, int kind, int mode2);
    void ShowGroup(const std::string& keys, int kind, int mode2);
    void FinishShow();
    void CloseRecord(SKXObjectInfo& record, BOOL remove, BOOL removeRow = TRUE);
    CRect ClientArea() const;
    void EqualWidths();
public:
    // Whether the user gave the shown grids widths of their own (by dragging a separator).
    bool HasUserWidths() const { return !m_widths.empty(); }
private:
    LRESULT OnObjectInfoList(WPARAM wParam, LPARAM lParam);
    void DropDown(int kind);
    void ShowChosen(const CString& ids);

    IKXObjectInfoOwner* m_pOwner = nullptr;
    RecordMap m_records[kKinds];
    std::set<std::string> m_groups[kKinds]; // keys of the records of groups
    // Net bits remembered without a record: runs of ids, lowest to highest, and how many ids they hold.
    std::map<unsigned long long, unsigned long long> m_bitRuns;
    size_t m_bitsWithoutRecord = 0;
    std::deque<std::string> m_open[kKinds]; // keys of the open grids, oldest first
    std::map<CKXGridWnd*, SKXObjectInfo*> m_byWindow;
    std::vector<SKXObjectInfo*> m_shown;
    std::vector<std::unique_ptr<CButton>> m_separators;
    std::unique_ptr<CKXObjectInfoListCtrl> m_lists[kKinds];
    CKXObjectInfoListCtrl* m_pDropped = nullptr;
    CKXObjectInfoBeam m_beam;
    CKXGridWnd* m_pActive = nullptr;
    BOOL m_bSideBySide = FALSE;
    BOOL m_bScrollTogether = TRUE;
    BOOL m_bOwnScrollBar = FALSE;
    int m_nMode1 = 0;
    int m_nMode2 = 0;
    BOOL m_bGroupFlag = FALSE;
    BOOL m_bSeparators = TRUE;
    BOOL m_bCreated = FALSE;
    int m_nDragging = -1; // the separator being dragged
    int m_nPressX = 0;
    UINT m_nNextSequence = kFirstSequenceNumber;
    int m_nMaxOpenWindows = kDefaultMaxOpenWindows;
    std::map<CKXGridWnd*, int> m_widths; // widths the user gave the shown grids
};
