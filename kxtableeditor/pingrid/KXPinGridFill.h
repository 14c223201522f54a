// The pin grid's row fill: the rows of a scalar pin or bit, a vector pin with its bit rows, a pair with its
// leg rows and a power-pin group, each written once from the fill's styles.
#pragma once

#include "pingrid/KXPinGridIds.h"
#include "pingrid/KXPinFillStyles.h"

#include "afx/afxstr.h"
#include "grid/gxtypes.h"
#include "rmx/hmtpi.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class CKXInstanceDetailsGridWnd;

class KXPinGridFill {
public:
    explicit KXPinGridFill(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // Fills one pin at row (rows are inserted; row ends on the last row written).
    void FillPinRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level);
    // A differential-pair row and its two leg rows.
    void FillDiffPairRows(IDPInstTerm* pair, int mode, ROWCOL parentRow, ROWCOL& row);
    // Pins that share one physical pin: a group row and one child row per pin (row ends on the last).
    void FillPowerPinRows(const std::vector<IInstTerm*>& pins, ROWCOL& row);
    void FillChildPinRow(IInstTerm* pin, ROWCOL& row, const CString& level);
    void ApplySignalCellStyle(ROWCOL row, const CString& text, int netId, int connCount, BOOL bShowConn);
    // Instance, Ref Des and DIFF_PAIR cells of a pin row.
    void FillInstanceCells(ROWCOL row, const CString& level, UINT diffPairControl, int plusMinus);
    void FillInstanceCells(ROWCOL row, const kxpingrid::PinFillStyles::InstanceCells& cells);
    // The steps of FillPinRow: each writes every cell of its row once, from the fill's styles.
    void FillScalarPinRow(IInstTerm* pin, ROWCOL row, int bit, const CString& rowLevel, bool block);
    // Text and net of a scalar pin's signal cell, from its connections (violations reported).
    void ScalarPinSignal(IInstTerm* pin, CString& text, int& netId);
    // A vector pin's row, and what its bit rows will share. numbers: the pin numbers of the bits, in
    // the order of the bit rows; conns: the pin's connections.
    kxpingrid::VectorBitCells FillVectorParentRow(IInstTerm* pin, ROWCOL row, int msb, int lsb,
                                                  const CString& name, const std::vector<CString>& numbers,
                                                  const CSchemaObjectIterator<CConn>& conns, bool block);
    // What the bit rows of a vector pin share (connectedWhole: one connection covers the pin).
    kxpingrid::VectorBitCells VectorBitCellsOf(IInstTerm* pin, bool connectedWhole);
    // A bit row of a vector pin; shared holds what its cells share with the other bits' rows.
    void FillVectorBitRow(IInstTerm* pin, ROWCOL row, int bit, const CString& name, const CString& number,
                          kxpingrid::VectorBitCells& shared, bool block);
    // Writes the bit rows of a wide pin's row below it (hidden ones when the row is folded) that are not
    // there, of every bit or of the bits listed; how many rows were written.
    ROWCOL WriteWidePinBitRows(ROWCOL row, const std::vector<int>* only = nullptr);
    // What a wide pin's bits are connected to, summed up from the design, without their rows.
    kxpingrid::ConnectionSummary SumWidePinBits(IInstTerm* pin);
    // A vector pin wider than this has its bit rows only while its row is expanded (or while a command
    // needs them): folded, the rows of a wide pin would cost far more than all the grid shows.
    static constexpr std::size_t kWidePinBits = 1024;
    // The row of a wide vector pin (its pin in pin); bitRows: how many of its bit rows are below it now.
    bool IsWidePinRow(ROWCOL row, IInstTerm** pin = nullptr, ROWCOL* bitRows = nullptr);
    // Takes the bit rows of a folded wide pin's row away again.
    void DropWidePinBitRows(ROWCOL row);
    // Writes the bit rows of a folded wide pin named by a bit name (W<5>) that no row shows.
    bool WriteWidePinBitRowsOf(const CString& bitName);
    // Writes the bit rows of the folded wide pins a bit of which shows a text that matches in the column
    // (the pin-name or the signal column), so that a filter or a find reaches the bit as on any bus.
    void WriteWidePinRowsMatching(int col, const std::function<bool(const CString&)>& matches);
    // The nets of a vector pin's bits, as its bit rows' signal cells show them.
    std::vector<CString> BitSignalTexts(IInstTerm* pin, const std::vector<int>& bits);
    // The names of a vector pin's bits, as its bit rows show them (a pin file's names when it has them).
    std::vector<CString> BitRowNames(IInstTerm* pin, const std::vector<int>& bits);
    // A vector whose pin-file names disagree: each bit on a row of its own.
    void FillCsvBitRows(IInstTerm* pin, ROWCOL& row, const std::vector<int>& bits, const CString& level);
    // The PUPD cell of a row whose design has no pull-up or pull-down to mark (the row noted as filled).
    void WriteNoPupdCell(ROWCOL row);
    // The termination and comments cells of a filled pin row (msb..lsb the bits it shows); the termination
    // it shows. A bit row of a vector empties its vector row's termination cell when the two differ.
    CString FinishPinRow(ROWCOL row, IInstTerm* pin, int msb, int lsb, bool block,
                         kxpingrid::VectorBitCells* vector = nullptr);
    void WriteStaticCell(ROWCOL row, int col, const CString& value, const CString& level);
    // The signal cell of a row of the level (no parent update).
    void WriteSignalCell(ROWCOL row, const CString& level, const CString& text, int netId);
    // The same from a signal cell style of the row's level, which takes the text and net.
    void WriteSignalCell(ROWCOL row, CGXStyle& sig, const CString& text, int netId);
    CString PhysicalPinName(IInstTerm* pin, int bit);
    // The name a pin bit gets from the part's pin file; empty when the file has none.
    CString CsvPinName(IInstTerm* pin, int bit);
    void ToggleRow(ROWCOL row);
    // The same for a vector's row whose bitRows bit rows below it the fill has just written.
    void ToggleWrittenVectorRow(ROWCOL row, ROWCOL bitRows);
    void MarkNestedLeg(ROWCOL row, int mode);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
