// The grid's own undo commands (internal).
#pragma once

#include "grid/gxcore.h"

#include <memory>
#include <vector>

// Stored styles of cells (or rows/columns/table with nType -1) before a change.
class CGXSetStyleCmd : public CGXCommand {
public:
    struct Entry {
        ROWCOL row, col;
        int type;
        std::unique_ptr<CGXStyle> style; // null: nothing was stored
    };
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;
    bool IsCellStore() const override { return true; }
    void Add(ROWCOL row, ROWCOL col, int type, const CGXStyle* old)
    {
        m_entries.push_back(Entry{row, col, type, old ? std::make_unique<CGXStyle>(*old) : nullptr});
    }
    bool Empty() const { return m_entries.empty(); }

private:
    std::vector<Entry> m_entries;
};

class CGXHideCmd : public CGXCommand {
public:
    CGXHideCmd(bool rows, ROWCOL from, ROWCOL to, std::vector<BOOL> states)
        : m_rows(rows), m_from(from), m_to(to), m_states(std::move(states)) {}
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

private:
    bool m_rows;
    ROWCOL m_from, m_to;
    std::vector<BOOL> m_states;
};

class CGXSizeCmd : public CGXCommand {
public:
    CGXSizeCmd(bool rows, ROWCOL from, ROWCOL to, std::vector<int> sizes)
        : m_rows(rows), m_from(from), m_to(to), m_sizes(std::move(sizes)) {}
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

private:
    bool m_rows;
    ROWCOL m_from, m_to;
    std::vector<int> m_sizes; // raw stored sizes (-1 = default)
};

// Undoes an insertion of rows or columns by removing them again.
class CGXInsertCmd : public CGXCommand {
public:
    CGXInsertCmd(bool rows, ROWCOL at, ROWCOL count) : m_rows(rows), m_at(at), m_count(count) {}
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

private:
    bool m_rows;
    ROWCOL m_at, m_count;
};

class CGXRemoveRowsCmd : public CGXCommand {
public:
    CGXRemoveRowsCmd(ROWCOL row, std::vector<std::unique_ptr<CGXData::RowRecord>> rows)
        : m_row(row), m_rows(std::move(rows)) {}
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

private:
    ROWCOL m_row;
    std::vector<std::unique_ptr<CGXData::RowRecord>> m_rows;
};

class CGXRemoveColsCmd : public CGXCommand {
public:
    CGXRemoveColsCmd(ROWCOL col, std::vector<std::unique_ptr<CGXData::ColRecord>> cols)
        : m_col(col), m_cols(std::move(cols)) {}
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

private:
    ROWCOL m_col;
    std::vector<std::unique_ptr<CGXData::ColRecord>> m_cols;
};

class CGXMoveCmd : public CGXCommand {
public:
    CGXMoveCmd(bool rows, ROWCOL from, ROWCOL to, ROWCOL dest) : m_rows(rows), m_from(from), m_to(to), m_dest(dest) {}
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

private:
    bool m_rows;
    ROWCOL m_from, m_to, m_dest;
};

class CGXCoveredCmd : public CGXCommand {
public:
    explicit CGXCoveredCmd(const CGXRangeList& old) : m_old(old) {}
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

private:
    CGXRangeList m_old;
};

// Access for the commands to the grid's internals.
struct CGXGridCoreAccess {
    static BOOL RestoreRemovedRows(CGXGridCore* g, ROWCOL row, std::vector<std::unique_ptr<CGXData::RowRecord>>& rows,
                                   GXCmdType ct);
    static BOOL RestoreRemovedCols(CGXGridCore* g, ROWCOL col, std::vector<std::unique_ptr<CGXData::ColRecord>>& cols,
                                   GXCmdType ct);
    static BOOL RestoreCovered(CGXGridCore* g, const CGXRangeList& list, GXCmdType ct);
    static BOOL RecordWanted(CGXGridCore* g, GXCmdType ct);
};
