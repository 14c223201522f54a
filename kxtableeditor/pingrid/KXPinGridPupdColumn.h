// The pin grid's Pull Up/Down column: each row's mark from the pull-ups and pull-downs on its net bits
// (local, or on an alias), a group row's from its child rows, the states asked once per net in a fill,
// and the rows a load in a design without pull-ups has written already.
#pragma once

#include "grid/KXPupdMark.h"
#include "grid/gxtypes.h"

#include <map>
#include <vector>

class CKXInstanceDetailsGridWnd;
class IDesign;
class INet;

class KXPinGridPupdColumn {
public:
    explicit KXPinGridPupdColumn(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The PUPD cells of the rows in a design without pull-ups or pull-downs: no mark anywhere.
    void ClearPupdColumn(const std::vector<ROWCOL>& rows);
    // Every pin row but those the load wrote the PUPD cell of already.
    std::vector<ROWCOL> RowsLeftForPupd();
    void SetPupdCellStyle(ROWCOL row, bool localUp, bool localDown, bool aliasUp, bool aliasDown);
    void SetPupdCellStyle(ROWCOL row, const PUPDSTRUCTURE& state);
    // A group row's mark from its child rows.
    void ApplyPupdParentRule(ROWCOL row);
    // The states of net bits asked within one fill, by net id: one list per net, one entry per bit.
    using PupdCache = std::map<unsigned, std::vector<PUPDSTRUCTURE>>;
    PUPDSTRUCTURE PupdStateOf(PupdCache& cache, INet* net, int bit);
    static bool HasPullComponents(IDesign* design);

    // A load in a design without pull-ups or pull-downs writes the PUPD cell of each ordinary pin row
    // with the row (FinishPinRow); FillPupdColumn then passes over those rows (ascending).
    bool m_bPupdInFill = false;
    std::vector<ROWCOL> m_pupdFilledRows;

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
