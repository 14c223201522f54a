// The cells the pin grid writes from the design for group, bit and pair rows: an expandable row's
// SIGNAL cell (its one connection, else what its child rows are on), the bit rows' SIGNAL and
// TERMINATION cells, a leg's polarity, and a pair row's SIGNAL cell from its legs.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"
#include "pingrid/KXPinFillStyles.h"
#include "pingrid/KXPinGridUtil.h"
#include "rmx/context.h"

#include <vector>

class CKXInstanceDetailsGridWnd;

class KXPinGridSignalCells {
public:
    explicit KXPinGridSignalCells(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The SIGNAL cell of an expandable row: the net when one connection covers the whole pin, else what
    // its child rows are connected to (childRows when the fill has just summed them up, else read back).
    // pinConns: the row's pin's connections when the caller has them already.
    void SetConnectionCell(ROWCOL row, kxpingrid::ConnectionSum* childRows = nullptr,
                           const CSchemaObjectIterator<CConn>* pinConns = nullptr);
    // Clears the SIGNAL and TERMINATION cells of the child rows of a group row.
    void ResetNoValueCell(ROWCOL row, BOOL bRedraw);
    // SIGNAL cells of the bit rows below row, bit first to bit last of one net.
    void FillVectorBitCell(ROWCOL row, const CString& netName, int netId, int first, int last,
                           BOOL bNameOnly);
    // The TERMINATION cell of a bit row written from a net: empty with the name-only flag, else
    // the bit's terminations.
    void FillBitTerminationCell(ROWCOL row, BOOL bNameOnly);
    // The polarity of a pair's leg: 1 non-inverting, -1 inverting, anything else not defined.
    void SetPolarityCell(ROWCOL row, int polarity);
    // The SIGNAL cell of a differential-pair row (kinds 6, 7, 8) from its legs: the pair net's name
    // (a lane's bit of it for a lane of a vector pair) when each two legs are on one pair net, else the
    // legs' texts joined by commas. recurse 1: the lanes of a vector pair are written first.
    void FillDiffPairSignalCells(ROWCOL row, int recurse);
    // The pair net, and lane, a leg row's pin sits on: its pair pin's, when the leg's net bit is one of
    // that pair net's legs; none otherwise.
    kxpingrid::PairNetLane LegPairNet(ROWCOL leg);
    // The name for a pair row's SIGNAL cell: while the user types into that cell a text that is the
    // name in other letter case, the typed text.
    CString PairNameAsShown(ROWCOL row, const CString& name);
    // The one writer of a pair row's SIGNAL cell: text, the pair-signal control and the row's level.
    void WritePairSignalCell(ROWCOL row, const CString& text);
    // Rewrites the SIGNAL cells of the rows of the pairs of those connections (added or deleted alike).
    void FillDiffPairColumn(const std::vector<IDPConn*>& conns, BOOL bClear);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
