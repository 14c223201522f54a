// The pin grid's load of an instance's rows: the steps of LoadComponentPins and the progress it shows.
#pragma once

#include "pingrid/KXPinGridIds.h"
#include "pingrid/KXPinFillStyles.h"

#include "grid/gxtypes.h"
#include "rmx/hmtpi.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class CKXInstanceDetailsGridWnd;
class KXCsvParser;

class KXPinGridLoader {
public:
    explicit KXPinGridLoader(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    void SetPinNameCaptions(const char* pinName, const char* pinType);
    void ShowProgress(int done, int count, const CString& instanceName);
    // The steps of LoadComponentPins.
    void PrepareLoadColumns(const CInstanceContext& instance, bool multiple);
    void ClearPinRows();
    void WriteLoadHeader(const CInstanceContext& instance, bool multiple);
    // A standard FPGA's pin file, parsed; FALSE (with its message) when it cannot be read.
    BOOL OpenPinFile(IInstance* inst, std::unique_ptr<KXCsvParser>& csv);
    void LoadInstanceRows(const CDesignContext& design, const CInstanceContext& instance);
    void LoadDiffPairRows(const CDesignContext& design, IInstance* inst, ROWCOL& row,
                          std::set<IInstTerm*>& legs);
    void LoadDiffPair(IDPInstTerm* pair, ROWCOL& row, std::set<IInstTerm*>& legs);
    void LoadPinRows(const CInstanceContext& instance, const std::vector<IInstTerm*>& pins,
                     const std::set<IInstTerm*>& legs, ROWCOL& row);
    void FinishSingleLoad(const CInstanceContext& instance, BOOL bKeepOrder);
    void KeepReadOnlyRows();

private:
    CKXInstanceDetailsGridWnd& m_grid;
    // The last progress line shown, and the steps of the pins since that left its percentage as it was
    // (the bar takes them with the next line).
    CString m_strProgressText;
    int m_nProgressPercent = -1, m_nProgressCount = -1, m_nProgressSkipped = 0;
};
