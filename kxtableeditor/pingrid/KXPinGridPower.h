// The pin grid's implicit power pins: their group and pin rows, the signals typed into them and their
// ties to power nets when an edit is committed.
#pragma once

#include "grid/KXChangeDigest.h"

#include "grid/gxtypes.h"
#include "kxcommon/KXGenUtils.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

#include <map>
#include <memory>
#include <vector>

class CKXInstanceDetailsGridWnd;

class KXPinGridPower {
public:
    explicit KXPinGridPower(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    static void ReadAllowPowerPins();
    void AddImplicitPowerPins(int& nRow, CInstanceContext& instance, const CString& strPinName,
                              CKXImplicitPinArray* pPins);
    // nMode 1 a group row, 2 a pin row; nRow advances by one.
    void InsertImplicitPowerPinRow(int& nRow, CInstanceContext& instance, const CString& strPinName,
                                   const CString& strPinNumber, const CString& strKind,
                                   const CString& strSignal, int nMode);
    // The implicit pins of the shown rows by instance index, each with the signal it is to have.
    using ImplicitPinsByInstance = std::map<int, std::vector<std::unique_ptr<CImplicitPin>>>;
    void CollectImplicitPins(ImplicitPinsByInstance& byInstance);
    // True when the pins would leave two pins of one name of an instance on different nets (the design
    // ties a name's pins together); the name and the instance's name are given back.
    bool SplitsPowerPinGroup(const ImplicitPinsByInstance& byInstance, CString& pinName,
                             CString& instanceName) const;
    // The physical net an implicit pin row is to be tied to: the signal stored for it (or for its
    // group row) in this edit, else the net its SIGNAL cell shows.
    CString ImplicitPinSignal(ROWCOL row, ROWCOL group);
    BOOL CreatePowerNet(CString strSignal);
    void RefreshPowerPinSignals(IInstance* pInstance);
    // The row's SIGNAL cell from the signals of its instance's implicit power pins by pin number.
    void RefreshPowerPinSignalCell(const std::map<CString, CString>& signalsByNumber, ROWCOL nRow);
    void RefreshPowerPinsAfterCommit(const KXChangeDigest& digest);
    static void FreeImplicitPinArray(CKXImplicitPinArray* pPins);
    // The implicit pins of an instance's package, one group per pin name, below its pins.
    void AddInstanceImplicitPins(int& nRow, CInstanceContext& instance);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
