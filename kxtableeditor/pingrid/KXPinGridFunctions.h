// The functions (sections) of the part the pin grid shows: the header's Functions choice, the pin
// numbers of the chosen function group that the rows are limited to, and the section an instance
// moves to when a pin number of another section is given to it.
#pragma once

#include "afx/afxstr.h"
#include "rmx/context.h"

#include <map>
#include <vector>

class CKXInstanceDetailsGridWnd;
class CTransaction;

class KXPinGridFunctions {
public:
    explicit KXPinGridFunctions(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // Fills (or hides) the header's Functions choice for the instance.
    void GetPartSymbolProperties(CInstanceContext instance);
    // Before a pin number moves the instance to a section: a section another instance of the
    // package holds is swapped (after a question unless silent). Writes "SEC" in the given
    // transaction, else in the open grid transaction; FALSE when refused or without one.
    BOOL CheckAssignedSection(const CInstanceContext& instance, const CString& section, BOOL silent,
                              CTransaction* transaction = nullptr);
    // Interned path of the first pin bit of the instance whose "PN" is pinNumber; NULL when none.
    const char* CollectInstancePinNumbers(const CInstanceContext* instance, const char* pinNumber);
    void ResetFunctions(BOOL bShow);
    // The header bar shows the choice as it stands.
    void ShowHeaderFunctions();

    // The header's Functions choice: its entries, the selected one, and whether it is shown.
    std::vector<CString> m_arrFunctions;
    CString m_strSelectedFunction;
    BOOL m_bFunctionsComboShown = FALSE;
    std::map<CString, CString> m_mapFunctionPins; // pin numbers of the chosen function group

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
