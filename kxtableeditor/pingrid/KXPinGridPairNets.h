// The pair net of a pair name typed into the pin grid: found in the design, or made over its leg nets
// in the open transaction (a name with one bit, "EW<3>", is a pair of its own unless a pair of its base
// name has that bit).
#pragma once

#include "afx/afxstr.h"

#include <map>

class CKXInstanceDetailsGridWnd;
class CTransaction;
class IDesign;
class IDPNet;
class INet;

class KXPinGridPairNets {
public:
    explicit KXPinGridPairNets(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    IDPNet* EditDiffPair(CString text, int* pFirst, int* pSecond, CString* pBase,
                         std::map<CString, IDPNet*>* pCache);
    IDPNet* FindDiffPairNet(IDesign& design, const CString& name, const CString& base, int& first,
                            int& second);
    IDPNet* CreateDiffPairNet(CTransaction& transaction, const CString& name, const CString& base, int& first,
                              int& second);
    INet* TakeDiffPairLeg(CTransaction& transaction, const CString& name, int first, int second);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
