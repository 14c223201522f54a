// CKXColumnModel: the columns of one grid kind. Every grid of a kind shares one
// model (the kind's column list is class-wide: a width dragged in one grid is the
// width of every grid of the kind). The model owns its descriptors, builds them
// from the column customisation of its origin, saves them back, scales widths,
// and sends and receives the layout broadcast (MSG_COLUMN_LAYOUT_CHANGED, lParam
// the kind's number) that keeps the open grids of the kind aligned.
//
// A grid kind keeps its model in one place:
//
//   CKXColumnModel& CKXMyGrid::Columns() {
//       static CKXColumnModel model("SCP", KXGridKind::Signal, "SCP");
//       return model;
//   }
//
// and uses it:
//
//   Columns().SelectOrigin();                               // before any customisation call
//   if (Columns().Empty()) Columns().Setup(kFixed, AverageCharWidth(), m_bShowRowNumbers);
//   const int col = Columns().ColumnOfKey("SIGNAL");
//   void CustomizeColumns() override { if (Columns().Customize(kFixed, cw, rn, kDialogKind)) Redraw(); }
//   LRESULT OnColumnLayoutChanged(WPARAM w, LPARAM l) {   // registered with the message server
//       if (!Columns().IsLayoutOfKind(l)) return 0;
//       Columns().ApplyLayout(*this, kCaptionRow, CKXColumnModel::OldLayout(w), hooks);
//       return 1;
//   }
//
// Column 0 is the row-number column; the fixed columns a kind gives follow it,
// then one column per customisation entry (user entries first, then defaults).
#pragma once

#include "grid/KXColumnInfoClass.h"
#include "grid/KXGridKind.h"
#include "grid/gxall.h"

#include "afx/afxstr.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CKXColumnModel {
public:
    // A built-in column between the row-number column and the customised columns.
    struct FixedColumn {
        const char* caption;
        int widthInChars;
        bool visible;
    };
    using Layout = std::vector<CKXColumnInfoClass*>;
    // The order in which the customisation entries become columns.
    enum class EntryOrder {
        UserFirst,    // the user's entries, then the defaults
        DefaultsFirst // the defaults, then the user's entries (the physical grids)
    };

    // origin: the customisation origin ("CCP", "SCP", ...); registryPrefix: the first part of
    // the settings key of a column ("<prefix>\<key>").
    CKXColumnModel(CString origin, KXGridKind kind, CString registryPrefix,
                   EntryOrder order = EntryOrder::UserFirst);
    CKXColumnModel(const CKXColumnModel&) = delete;
    CKXColumnModel& operator=(const CKXColumnModel&) = delete;

    const CString& Origin() const { return m_origin; }
    KXGridKind Kind() const { return m_kind; }

    // ---- descriptors (index = grid column number)
    bool Empty() const { return m_layout.empty(); }
    int Size() const { return static_cast<int>(m_layout.size()); }
    // The descriptor of a column; a number outside the list raises the invalid-argument exception.
    CKXColumnInfoClass* At(int col) const;
    // The descriptor of a column; NULL outside the list.
    CKXColumnInfoClass* Find(int col) const;
    const Layout& Columns() const { return m_layout; }
    // Shows or hides the row-number column (column 0): the model outlives the grid that built it,
    // a grid opened later follows the user's option as it stands then.
    void ShowRowNumbers(bool show);
    // The first customised column (after the row-number and fixed columns).
    int FirstCustomised() const { return m_firstCustomised; }
    // Column of a key among the customised columns (letter case ignored); -1 when none has it.
    int ColumnOfKey(const CString& key) const;
    // "<prefix>\<key>" of a column; empty for -1; a number outside the list raises the
    // invalid-argument exception.
    CString RegistrySubKey(int col) const;
    // Property name -> column of the custom property columns; the lower column wins a shared name.
    std::map<CString, int> PropertyColumns() const;
    // The caption the column menus show for column col (the caption of the column before it:
    // column 0 has none, so the menus' numbering starts at 1).
    bool MenuCaption(int col, CString& text) const;

    // ---- customisation
    // Makes the model's origin the current one of the customisation service and loads it.
    void SelectOrigin() const;
    // Builds the descriptors from the customisation entries of the origin. Entries the service
    // cannot read make no column. The former descriptors are given back (kept alive for the
    // layout broadcast that may follow).
    std::vector<std::unique_ptr<CKXColumnInfoClass>> Setup(const std::vector<FixedColumn>& fixed, int charWidth,
                                                           bool showRowNumbers);
    // A new session of the library: no grid is open, the descriptors go, and the next grid that needs
    // them sets them up from the customisation as it stands then.
    void Forget();
    // Writes the customised columns as the default customisation of the origin; with parse the
    // service also takes them as its current list.
    void Save(int charWidth, bool parse) const;
    // The customise dialog (dialogKind: the service's number of the grid kind). When it is accepted
    // with a change, the columns are rebuilt and the new layout is broadcast; true then.
    bool Customize(const std::vector<FixedColumn>& fixed, int charWidth, bool showRowNumbers, int dialogKind);
    // Whether the customise dialog's answer changed the columns; an answer that left them as they were
    // is reported as a command that changed nothing (KXPANE-700).
    static bool TookCustomizeAnswer(int answer);
    // A column the customisation lacks added as the dialog adds it (an entry "KEY|Caption|8s|PINPROP|SHOW"):
    // rebuilt and broadcast as above. 1 added, 0 the customisation has the key already, -1 no entry.
    int AddUserColumn(const std::vector<FixedColumn>& fixed, int charWidth, bool showRowNumbers,
                      const CString& entry);

    // ---- widths
    // The model holds pixel widths as the grids draw them at 100% zoom, whatever zoom a grid shows:
    // a character is this wide, and a zoom changes what is drawn, never what is kept or saved.
    static constexpr int kCharWidth = GX_CHAR_WIDTH;
    // Takes the width the grid now draws column col with (a drag, a fit) as the width of the column
    // when it is of the width kind WidthInChars, brought back to 100% zoom.
    void TrackWidth(CGXGridCore& grid, int col);

    // ---- layout broadcast
    // Sends the layout (the old one when columns were rebuilt) to every grid of the kind.
    void Broadcast(const Layout& old) const;
    bool IsLayoutOfKind(LPARAM kind) const { return kind == KXGridKindNumber(m_kind); }
    // The old layout a broadcast carries (wParam); NULL when none.
    static const Layout* OldLayout(WPARAM wParam) { return reinterpret_cast<const Layout*>(wParam); }

    // What a grid does for the receipt of a layout: style a new column's caption cell, and fill
    // the new column's cells (custom property columns).
    struct LayoutHooks {
        std::function<void(int col, const CString& caption)> styleCaption;
        std::function<void(int col, const CKXColumnInfoClass& info)> fillColumn;
        // Runs after the columns are aligned, before drawing is unlocked (width tips and the like).
        std::function<void()> finish;
    };
    // Aligns a grid's columns with the model: shown columns move to their place (found by the
    // caption's tooltip text in the caption row) or are inserted; columns the old layout had
    // and the model no longer shows are hidden; widths follow the descriptors. No drawing; one
    // redraw at the end unless the grid was locked.
    void ApplyLayout(CGXGridCore& grid, ROWCOL captionRow, const Layout* old, const LayoutHooks& hooks) const;

    // ---- the column chooser (a right click in a grid's caption row)
    enum class MenuChoice {
        Dismissed, // nothing chosen
        Toggled,   // a column was shown or hidden in the model: the caller broadcasts the layout
        Customize  // "More...": the caller opens the customise dialog
    };
    // Lists every column after the row-number column, checked when shown, with the commands
    // firstCommand, firstCommand + 1, ... and "More..." after a separator; a column for which
    // enabled(col) is false is greyed and cannot be chosen.
    MenuChoice ShowChooser(CWnd& owner, CPoint screen, UINT firstCommand,
                           const std::function<bool(int col)>& enabled);

    // The customisation entry that describes a column as the grid has it now (a journal names a
    // property column by it, so that a replay can add the column first).
    static CString EntryOf(const CKXColumnInfoClass& info, int charWidth);

private:
    // The columns set up again from the customisation, the new layout broadcast.
    void Rebuild(const std::vector<FixedColumn>& fixed, int charWidth, bool showRowNumbers);
    // The user entries of those keys (upper case) take the entries given.
    static void SaveUserColumns(const std::map<CString, CString>& columns);
    std::unique_ptr<CKXColumnInfoClass> MakeColumn(int col, const CString& caption, int width, int widthType,
                                                   bool visible) const;
    int FindCaptionColumn(CGXGridCore& grid, ROWCOL captionRow, const CString& caption) const;
    void PlaceShownColumns(CGXGridCore& grid, ROWCOL captionRow, const LayoutHooks& hooks) const;
    void HideDroppedColumns(CGXGridCore& grid, ROWCOL captionRow, const Layout& old) const;

    CString m_origin;
    KXGridKind m_kind;
    CString m_registryPrefix;
    EntryOrder m_order;
    std::vector<std::unique_ptr<CKXColumnInfoClass>> m_columns;
    Layout m_layout;
    int m_firstCustomised = 1;
};
