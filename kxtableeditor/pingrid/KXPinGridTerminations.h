// The pin grid's terminations: the rows an add or edit goes to (pin bits, and the pair pins of pair
// rows), the library set up for them, the termination dialog's steps, and the journal of an add.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"

#include <vector>

class CKXAssocCompAPI;
class CKXInstanceDetailsGridWnd;
class CTransaction;
class IDPInstTerm;
struct KXTerminationDialogEdit;
struct KXTerminationEditArgs;
struct KXTerminationTarget;

class KXPinGridTerminations {
public:
    explicit KXPinGridTerminations(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The termination dialog for a row (double-click, cell button, pane command) and the choice made in it.
    void AddTerminationFromDialog(ROWCOL row, ROWCOL col);
    void ChooseTerminationInDialog(ROWCOL row, ROWCOL col, KXTerminationDialogEdit& inPlace);
    // The set-up of a termination add without the dialog: the library in the transaction, told the
    // type, and the target rows checked together; 0 (reported) when refused.
    int InitAssocCompForTermination(CKXAssocCompAPI& api, CString type, CTransaction* transaction,
                                    const std::vector<ROWCOL>& targets);
    // Edits, in the library's transaction, the termination on every pin bit of the target rows and
    // on every pair pin of the selected pair rows that carries one; 1 when at least one was edited
    // and none refused (why then tells the reason).
    // The rows whose terminations it edited are added to `edited`.
    int EditSelectedTerminations(CKXAssocCompAPI& api, const KXTerminationEditArgs& args, CString delay,
                                 CString high, CString low, int byRefDes, CString& why,
                                 std::vector<ROWCOL>& edited);
    // Every pin bit of the target rows (from the highest bit) and every pair pin of the pair rows.
    std::vector<KXTerminationTarget> DialogTargets(const std::vector<ROWCOL>& targets,
                                                   const std::vector<ROWCOL>& pairRows);
    // Sets the library up for the termination rows of the selection; 0 (reported) when refused.
    int CheckTerminationTargets(CKXAssocCompAPI& api, const std::vector<ROWCOL>& targets, bool automation);
    // The number of pin bits and pair pins terminated; kTerminationRefused when the design or a pair whose
    // legs' pins differ in type (KXTABLE-148, a refusal when refuseMixedLegs, else that pair is left out)
    // stopped it.
    static constexpr int kTerminationRefused = -1;
    static constexpr int kTerminationRefusedSaid = -2;
    int ApplyTerminationToSelection(CKXAssocCompAPI& api, const std::vector<ROWCOL>& targets,
                                    const std::vector<ROWCOL>& pairRows, bool refuseMixedLegs,
                                    bool firstDone = false);
    // Whether the two leg pins of a pair pin are of different pin types.
    static bool LegsDifferInType(const IDPInstTerm* term);
    bool NoPairTakesTermination(const std::vector<ROWCOL>& pairRows);
    std::vector<ROWCOL> SelectedPairRows(const std::vector<ROWCOL>& selected);
    std::vector<ROWCOL> TerminationTargetRows(const std::vector<ROWCOL>& selected);
    // Whether each row carries a termination the add replaces (a pair row: on its pair pin).
    std::vector<bool> RowsReplacing(const std::vector<ROWCOL>& rows);
    CString AddTerminationJournal(const std::vector<ROWCOL>& rows, const CString& prepared,
                                  const std::vector<bool>& replacing);

private:
    // A pin of no known kind refused (KXTABLE-200 in a block opened within its parent, else KXTABLE-142): 0.
    int RefuseUnknownKind();

    CKXInstanceDetailsGridWnd& m_grid;
};
