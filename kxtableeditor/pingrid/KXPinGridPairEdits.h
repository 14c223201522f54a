// The checks and edits of the pin grid's pair pins: which rows a pair signal goes on, the question
// before a connection makes a new pair over a bit that has one, a pair pin parted from its pair net,
// and the terminations on a pair pin deleted.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "rmx/schema.h"

class CKXInstanceDetailsGridWnd;
class CTransaction;

class KXPinGridPairEdits {
public:
    explicit KXPinGridPairEdits(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // Both names are pair names with the same base name.
    BOOL IsSameDiffPairName(const CString& nameA, const CString& nameB);
    // A pair signal (" (Differential Pair)" in its text) goes on pair rows only, any other signal on
    // other rows only; a refusal is told on the status line.
    BOOL CheckDiffPairConnect(const CDWordArray& rows, const char* signalText);
    // Asked before a connection makes a new pair where the connected bit already has one.
    BOOL ConfirmDiffPairReplace(const CNetBit& connected, const CString& newName);
    BOOL RemoveDiffPairConnection(CTransaction* transaction, IDPInstTerm* dpPin);
    void RemoveConnection(CTransaction* transaction, const CInstTermBit& connection);
    bool DeleteTerminationOnDiffPair(IDPInstTerm* dpPin);
    void DeleteDiffPairTerminations(IDPInstTerm* dpPin);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
