// Sparse cell storage: styles per cell, per row, per column and for the table, plus row and column state.
#pragma once

#include "grid/gxrowshifts.h"
#include "grid/gxstyle.h"
#include "afx/afxtiered.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

// Rows and columns are kept as small records in index order; a record holds its stored styles (only
// when something was stored), its size and its hidden flag. Inserting, removing or moving rows moves
// these records, so everything stays with its row without touching the other rows' cells.
class CGXData {
public:
    CGXData();
    ~CGXData();
    CGXData(const CGXData&) = delete;
    CGXData& operator=(const CGXData&) = delete;

    ROWCOL GetRowCount() const { return static_cast<ROWCOL>(m_rows.size() - 1); }
    ROWCOL GetColCount() const { return static_cast<ROWCOL>(m_cols.size() - 1); }
    BOOL SetRowCount(ROWCOL nRows);
    BOOL SetColCount(ROWCOL nCols);

    // nType -1 addresses whole-row styles at (row, 0), whole-column styles at (0, col) and the table
    // style at (0, 0); any other type addresses the cell. A null style or gxRemove removes.
    BOOL StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt, int nType = 0);
    // Stores a non-empty style into a cell that holds none yet, as StoreStyleRowCol(nRow, nCol, &style,
    // gxOverride) does; FALSE, changing nothing, when the cell holds a style already or lies outside.
    BOOL StoreFreshCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style);
    BOOL GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt, int nType = 0) const;
    const CGXStyle* LookupCell(ROWCOL nRow, ROWCOL nCol) const;
    const CGXStyle* LookupRowStyle(ROWCOL nRow) const;
    const CGXStyle* LookupColStyle(ROWCOL nCol) const;
    const CGXStyle* LookupTableStyle() const { return m_table.get(); }

    BOOL InsertRows(ROWCOL nRow, ROWCOL nCount);
    BOOL RemoveRows(ROWCOL nFromRow, ROWCOL nToRow);
    BOOL MoveRows(ROWCOL nFromRow, ROWCOL nToRow, ROWCOL nDestRow);
    BOOL InsertCols(ROWCOL nCol, ROWCOL nCount);
    BOOL RemoveCols(ROWCOL nFromCol, ROWCOL nToCol);
    BOOL MoveCols(ROWCOL nFromCol, ROWCOL nToCol, ROWCOL nDestCol);
    // Puts rows first..first+order.size()-1 into the given order: the row at position i afterwards is
    // the row that was at order[i] (absolute row numbers; must be a permutation of that block).
    BOOL ReorderRows(ROWCOL nFirstRow, const std::vector<ROWCOL>& order);

    // Row and column state. Sizes of -1 mean "the default size".
    BOOL IsRowHidden(ROWCOL nRow) const;
    BOOL IsColHidden(ROWCOL nCol) const;
    void SetRowHidden(ROWCOL nRow, BOOL b);
    void SetColHidden(ROWCOL nCol, BOOL b);
    int GetRowHeight(ROWCOL nRow) const;
    int GetColWidth(ROWCOL nCol) const;
    void SetRowHeight(ROWCOL nRow, int n);
    void SetColWidth(ROWCOL nCol, int n);
    ROWCOL GetHiddenRowCount() const { return m_nHiddenRows; }
    ROWCOL GetHiddenColCount() const { return m_nHiddenCols; }

    // Number of cells that hold a stored style (for measurements and checks).
    size_t GetStoredCellCount() const;
    // Number of cell places the rows hold, used or not (a row's storage never exceeds its columns).
    size_t GetCellSlotCount() const;

    // Row identities: a number that a row keeps while rows are inserted, removed, moved or sorted around
    // it (and through the undo of its removal), given when first asked for; 0 for row 0 and rows past the
    // end. PeekRowId reads it without giving one (0: none yet). The layout version changes whenever rows
    // change their numbers, so that a map from identities to rows knows when to rebuild itself.
    std::uint64_t GetRowId(ROWCOL nRow);
    std::uint64_t PeekRowId(ROWCOL nRow) const { return nRow > 0 && nRow < m_rows.size() ? m_rows[nRow].id : 0; }
    std::uint64_t GetRowLayoutVersion() const { return m_nLayoutVersion; }
    // Where the row numbered nRow at layout version nVersion is now (0: removed since), followed through
    // the rows inserted and removed since; FALSE when rows were moved or sorted since (or too long ago):
    // only a walk of the rows tells then.
    BOOL FollowRow(ROWCOL nRow, std::uint64_t nVersion, ROWCOL& nNow) const {
        return m_shifts.Follow(nRow, nVersion, nNow) ? TRUE : FALSE;
    }
    // The layout version of the last change that moved rows other than by inserting or removing them
    // (a move, a sort, the undo of a removal): a row identity gone before it may be back.
    std::uint64_t GetRowCutVersion() const { return m_shifts.LastCut(); }

    // Detaches rows (with their records) and puts them back; used by undo of row removal.
    struct RowRecord;
    std::vector<std::unique_ptr<RowRecord>> ExtractRows(ROWCOL nFromRow, ROWCOL nToRow);
    BOOL RestoreRows(ROWCOL nRow, std::vector<std::unique_ptr<RowRecord>>& rows);
    // Copies of rows (their records as ExtractRows gives them), the rows staying; empty for a bad range.
    std::vector<std::unique_ptr<RowRecord>> CopyRows(ROWCOL nFromRow, ROWCOL nToRow) const;

    // Keeping rows: from BeginKeepRows on, each change of a row (its cells, row style, height, hidden state)
    // and each insert or removal of rows notes what it takes away, newest last, so that the grid can give
    // the rows back as they were at the mark BeginKeepRows answers; only rows that change are copied. Keeps
    // nest; the notes go with the outermost EndKeepRows. Moves, sorts and column changes note every row.
    struct KeptStep;
    size_t BeginKeepRows();
    void EndKeepRows();
    // The notes since the mark, taken out of the keep (the grid puts them back newest first).
    std::vector<KeptStep> TakeKeptSteps(size_t nMark);
    // Puts a kept copy of one row in the row's place.
    BOOL PutBackRow(ROWCOL nRow, RowRecord& row);

    // The same for columns: each record keeps the column's own state and its cells.
    struct ColRecord;
    std::vector<std::unique_ptr<ColRecord>> ExtractCols(ROWCOL nFromCol, ROWCOL nToCol);
    BOOL RestoreCols(ROWCOL nCol, std::vector<std::unique_ptr<ColRecord>>& cols);

    // Verifies the internal counters; FALSE and a reason when something disagrees.
    BOOL CheckConsistency(CString& reason) const;

private:
    struct Cell {
        explicit Cell(ROWCOL c = 0) : col(c) {}
        ROWCOL col;
        CGXStyle style;
    };
    struct Line {
        std::unique_ptr<CGXStyle> style; // whole-row or whole-column style
        std::vector<Cell> cells;         // rows only: cells sorted by column
        bool Empty() const { return !style && cells.empty(); }
    };
    // A row's or column's line, held in its slot rather than on the heap (a grid of ten thousand
    // rows makes ten thousand fewer allocations and reads a cell one indirection sooner): set or not,
    // as a pointer is; a slot moved from is left without a line.
    class LineSlot {
    public:
        LineSlot() = default;
        LineSlot(LineSlot&& o) noexcept { TakeFrom(o); }
        LineSlot& operator=(LineSlot&& o) noexcept
        {
            if (this != &o) {
                m_line.reset();
                TakeFrom(o);
            }
            return *this;
        }
        explicit operator bool() const { return m_line.has_value(); }
        Line* get() { return m_line ? &*m_line : nullptr; }
        const Line* get() const { return m_line ? &*m_line : nullptr; }
        Line* operator->() { return &*m_line; }
        const Line* operator->() const { return &*m_line; }
        Line& emplace() { return m_line.emplace(); }
        void reset() { m_line.reset(); }

    private:
        void TakeFrom(LineSlot& o)
        {
            if (o.m_line) {
                m_line.emplace(std::move(*o.m_line));
                o.m_line.reset();
            }
        }
        std::optional<Line> m_line;
    };
    struct RowSlot {
        LineSlot line;
        int size = -1;
        bool hidden = false;
        std::uint64_t id = 0; // the row's identity (rows only), 0 until asked for
    };

public:
    struct RowRecord {
        RowSlot slot;
    };
    struct ColRecord {
        RowSlot slot;
        std::vector<std::pair<ROWCOL, CGXStyle>> cells; // (row, style)
    };
    struct KeptStep {
        enum class Kind { Row, Inserted, Removed, All };
        Kind kind = Kind::Row;
        ROWCOL row = 0;   // the first row the step is about
        ROWCOL count = 0; // Inserted: how many rows came in
        std::vector<std::unique_ptr<RowRecord>> rows; // Row: the row; Removed: the rows; All: rows 1..last
    };

private:
    Line* RowLine(ROWCOL nRow, bool create);
    const Line* RowLine(ROWCOL nRow) const;
    // created, when given, is set when the cell is made (a new, empty one).
    Cell* FindCell(ROWCOL nRow, ROWCOL nCol, bool create, bool* created = nullptr);
    void ReserveCell(std::vector<Cell>& cells, ROWCOL nCol) const;
    static std::unique_ptr<RowRecord> CopySlot(const RowSlot& from);
    bool Keeping() const { return m_nKeepDepth > 0; }
    void NoteRow(ROWCOL nRow);
    void NoteRemoved(ROWCOL nFromRow, ROWCOL nToRow);
    void NoteInserted(ROWCOL nRow, ROWCOL nCount);
    void NoteAll();

    CTieredVector<RowSlot> m_rows; // index = row, size = count + 1; tiered: a row inserted or
                                   // removed does not move the records of all rows below it
    std::vector<RowSlot> m_cols;   // index = column; only style, size and hidden are used
    std::unique_ptr<CGXStyle> m_table;
    ROWCOL m_nHiddenRows = 0;
    std::uint64_t m_nLastRowId = 0;
    std::uint64_t m_nLayoutVersion = 0;
    CGXRowShifts m_shifts; // how the layout versions moved the rows
    ROWCOL m_nHiddenCols = 0;
    int m_nKeepDepth = 0;
    std::vector<KeptStep> m_kept;
    std::unordered_set<ROWCOL> m_keptRows; // rows noted since the last insert, removal or mark
};
