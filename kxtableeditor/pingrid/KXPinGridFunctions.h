// The part the pin grid shows, as its header bar presents it: the part's reader and physical parts,
// the header texts, the functions (sections) of the part in the header's Functions choice, the pin
// numbers of the chosen function group that the rows are limited to, and the section an instance
// moves to when a pin number of another section is given to it.
#pragma once

#include "afx/afxstr.h"
#include "kxcommon/KXPartReader.h"
#include "rmx/context.h"
#include "rmx/packaging.h"

#include <map>
#include <memory>
#include <vector>

class CKXInstanceDetailsGridWnd;
class CTransaction;

class KXPinGridFunctions {
public:
    explicit KXPinGridFunctions(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}
    ~KXPinGridFunctions();
    KXPinGridFunctions(const KXPinGridFunctions&) = delete;
    KXPinGridFunctions& operator=(const KXPinGridFunctions&) = delete;

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
    // The header bar shows the texts and the choice as they stand.
    void ShowHeaderTexts();
    void ShowHeaderFunctions();
    // The physical part of each shown instance, looked up when a row first needs it (a fresh load
    // forgets them): building the design's physical view is left to the grids that read it.
    std::map<UINT, std::unique_ptr<IPhysPartInst>> m_mapPhysPartInst;
    IPhysPartInst* PhysPartOfInstance(int index);

    // The header's Functions choice: its entries, the selected one, and whether it is shown.
    std::vector<CString> m_arrFunctions;
    CString m_strSelectedFunction;
    BOOL m_bFunctionsComboShown = FALSE;
    std::map<CString, CString> m_mapFunctionPins; // pin numbers of the chosen function group
    CKXPartReader m_partReader;
    CString m_strPartName;
    BOOL m_bPartRefreshOff = FALSE;
    // Texts of the header: the cell text and the header dialog's instance, second and label texts.
    CString m_strHeaderInstanceText, m_strHeaderSecondText, m_strHeaderLabel;

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
