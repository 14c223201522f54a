// The steps of the pin grid's set-up after Create: the cell controls, the SIGNAL cells' controls and
// their lists, the user's options for them, the design messages the grid follows, the header bar and
// the header's filter row and covered bands.
#pragma once

#include "afx/afxcoll.h"
#include "grid/gxtypes.h"
#include "rmx/context.h"

#include <memory>

class CKXInstanceDetailsGridWnd;
class CKXListComboBox;
class CKXSpinControl;

class KXPinGridSetup {
public:
    explicit KXPinGridSetup(CKXInstanceDetailsGridWnd& grid);
    ~KXPinGridSetup();
    KXPinGridSetup(const KXPinGridSetup&) = delete;
    KXPinGridSetup& operator=(const KXPinGridSetup&) = delete;

    // The steps of InitializeGrid: cell controls, signal cells and their lists, the user's options for
    // them, and the design messages the grid follows.
    void RegisterCellControls();
    void CreateSignalControls(const CDesignContext& design, CStringList* pSignals);
    void ApplySignalCellOptions();
    void SubscribeToDesignMessages();
    // The header's filter row ("*", the filter combo) over columns first..last, and the covered
    // header bands (rows 0-1, 3 and 5) across all columns; a column inserted later needs both.
    void StyleFilterCells(ROWCOL first, ROWCOL last);
    void CoverHeaderBands();
    // The header bar shows the grid's header texts, functions and options.
    void CreateHeader();

    CKXSpinControl* m_pSignalSpin = nullptr; // differential-pair signal cells
    std::unique_ptr<CKXListComboBox> m_pDiffPairList;

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
