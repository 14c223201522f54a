// Shared test grid: a bare core that records its notifications.
#pragma once

#include "grid/gxall.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class TestGrid : public CGXGridCore {
public:
    TestGrid(ROWCOL rows = 20, ROWCOL cols = 5)
    {
        Initialize();
        GetParam()->EnableUndo(FALSE);
        SetRowCount(rows);
        SetColCount(cols);
    }

    std::vector<std::string> log;
    BOOL validateResult = TRUE;
    BOOL startEditResult = TRUE;
    BOOL allowSelectionChange = TRUE;

    BOOL OnValidateCell(ROWCOL r, ROWCOL c) override
    {
        log.push_back("validate " + std::to_string(r) + "," + std::to_string(c));
        return validateResult;
    }
    BOOL OnStartEditing(ROWCOL r, ROWCOL c) override
    {
        log.push_back("start " + std::to_string(r) + "," + std::to_string(c));
        return startEditResult;
    }
    BOOL OnEndEditing(ROWCOL r, ROWCOL c) override
    {
        log.push_back("end " + std::to_string(r) + "," + std::to_string(c));
        return TRUE;
    }
    void OnCanceledEditing(ROWCOL r, ROWCOL c) override { log.push_back("cancel " + std::to_string(r) + "," + std::to_string(c)); }
    void OnMovedCurrentCell(ROWCOL r, ROWCOL c) override { log.push_back("moved " + std::to_string(r) + "," + std::to_string(c)); }
    BOOL OnLButtonClickedRowCol(ROWCOL r, ROWCOL c, UINT, CPoint) override
    {
        log.push_back("click " + std::to_string(r) + "," + std::to_string(c));
        return TRUE;
    }
    BOOL OnRButtonClickedRowCol(ROWCOL r, ROWCOL c, UINT, CPoint) override
    {
        log.push_back("rclick " + std::to_string(r) + "," + std::to_string(c));
        return TRUE;
    }
    BOOL OnClickedButtonRowCol(ROWCOL r, ROWCOL c) override
    {
        log.push_back("button " + std::to_string(r) + "," + std::to_string(c));
        return TRUE;
    }
    BOOL CanChangeSelection(CGXRange* pRange, BOOL, BOOL) override
    {
        log.push_back("canchange");
        (void)pRange;
        return allowSelectionChange;
    }
    void OnEndTracking(ROWCOL row, ROWCOL col, int mode, CSize& size) override
    {
        CGXGridCore::OnEndTracking(row, col, mode, size);
        log.push_back("endtrack " + std::to_string(col) + "=" + std::to_string(size.cx) + " width " +
                      std::to_string(GetColWidth(col)));
    }
    void OnTopRowChanged() override { log.push_back("top " + std::to_string(GetTopRow())); }

    bool Logged(const std::string& s) const
    {
        for (const auto& l : log)
            if (l == s)
                return true;
        return false;
    }
    void ExpectConsistent()
    {
        CString why;
        EXPECT_TRUE(CheckConsistency(why)) << why.GetString();
    }
    // Centre of a cell in client coordinates.
    CPoint CellPoint(ROWCOL r, ROWCOL c)
    {
        CRect rc = CalcRectFromRowCol(r, c);
        return rc.CenterPoint();
    }
    // The text shown in a cell (composed value).
    std::string Value(ROWCOL r, ROWCOL c) { return GetValueRowCol(r, c).GetString(); }
    void Put(ROWCOL r, ROWCOL c, const char* v) { ASSERT_TRUE(SetValueRange(CGXRange(r, c), v)); }
};

// Keys pressed in a test are released at the end of it.
struct KeyStateReset {
    ~KeyStateReset() { AfxResetKeyState(); }
};
