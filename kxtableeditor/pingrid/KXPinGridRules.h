// The pin grid's naming rules: the signal name a rule gives each selected row, and the connect of
// the row to it, for AttachSignal.
#pragma once

#include "grid/KXChangeDigest.h"
#include "grid/gxtypes.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

#include <vector>

class CKXInstanceDetailsGridWnd;
class CTransaction;

class KXPinGridRules {
public:
    explicit KXPinGridRules(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The pin name of a rule's row with its bits: parsed from the name for a standard FPGA part
    // (false when it does not parse), else from the row's vector attributes.
    bool RowPinNameBits(ROWCOL row, CString& pinName, int& low, int& high);
    // The state of one naming-rule run over its rows.
    struct RuleRun {
        CString argument, rest, incrementBase;
        int rule = -1, counter = 0;
        bool firstIncrement = true;
        bool listEnded = false; // a list's last entry was taken: it serves the remaining pins
        bool openEntry = false; // the row's list entry is written empty
        CString invalidNames, scalarPins, journal;
    };
    bool RuleChangesAnyRow(const std::vector<ROWCOL>& targets, const CString& argument, int rule);
    bool RuleRowName(ROWCOL row, RuleRun& run, CString& pinName, CString& name, int& low, int& high);
    INet* RuleNet(const CString& name, int low, int high, CTransaction* transaction, RuleRun& run);
    BOOL ConnectRuleRow(ROWCOL row, RuleRun& run, CTransaction* transaction);
    // A leg of a pair whose list entry is empty is left open (parted from its net); false when it was.
    bool OpenListedLeg(ROWCOL row, RuleRun& run);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
