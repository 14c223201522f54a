// What the grids share around the associated-component library: the pull-ups/pull-downs a net
// bit carries, and the transaction a step of the library's dialog goes on in.
#pragma once

#include "afx/afxstr.h"

#include <functional>
#include <set>
#include <vector>

class CKXAssocCompAPI;
class CDesignContext;
class CInstTermBit;
class CNetBit;
class CTransaction;
class IDTInstance;
class CGXGridCore;
class CKXGridEdit;
class KXShownMark;
enum class KXPupdDialogResult;

// Components in the order they were made (a design numbers its components as it makes them), which a
// replay of the session's edits in a fresh process gives alike. An order by address differs from one
// process to the next, and so would what is done in it: the designators copies take, the journal's order.
struct KXMadeFirst {
    bool operator()(const IDTInstance* a, const IDTInstance* b) const;
};
using KXComponentSet = std::set<IDTInstance*, KXMadeFirst>;

// The pull-up/pull-down instances on a net bit (the library is pointed at the bit).
KXComponentSet KXPupdsOn(CKXAssocCompAPI& api, const CNetBit& bit);

// The transaction a step of the library's dialog goes on in: the one the grid's edit bracket
// holds, so that the dialog's work is one undo step with the rest; NULL when the grid holds none.
// A step named "Add Termination" first hands the transaction to onAddTermination.
CTransaction* KXAssocCompStepTransaction(const CGXGridCore& grid, const CString& stepName,
                                         const std::function<void(CTransaction*)>& onAddTermination);

// While it lives, the library's commit on apply (CommitTransactionOnApply) commits through the edit
// bracket given: a bracket that joined a caller's edit leaves its work to that edit, which commits it
// as one undo step with the rest (announced and journalled with it). Without a running bracket the
// library's commit is refused; the library commits nothing behind the grid's edit.
class KXAssocApplyCommit {
public:
    KXAssocApplyCommit(CKXAssocCompAPI& api, CKXGridEdit& edit);
    ~KXAssocApplyCommit();
    KXAssocApplyCommit(const KXAssocApplyCommit&) = delete;
    KXAssocApplyCommit& operator=(const KXAssocApplyCommit&) = delete;

    // The library's commit hand: the running bracket's Commit().
    static BOOL Commit(CString name);

private:
    CKXAssocCompAPI& m_api;
    CKXGridEdit* m_previous;
};

// Ends an associated-component edit: a bracket that began its own transaction commits it; one that
// joined a caller's edit has the library commit the work on apply (CommitTransactionOnApply with the
// step's name), which goes through the bracket and leaves the work to that edit.
BOOL KXCommitAssocEdit(CKXAssocCompAPI& api, CKXGridEdit& edit, const char* name);

// Hands the terminations on the pin bits to the system-object server in the transaction of an add,
// once for the whole add after the library's work (each termination once, however many bits carry
// it); the library gets back the pin bit it was at. True when the server took one; false without a
// server or a transaction.
bool KXHandTerminations(CKXAssocCompAPI& api, const std::vector<CInstTermBit>& bits, CDesignContext& design,
                        CTransaction* transaction);

// After the termination dialog (opened after the mark) closed without work: an answer it could not take
// (a type it does not offer) is refused with KXTABLE-381, which names it; when the user left the one
// termination it showed as it was, the command says that nothing was changed. Either answers 0, and
// then true; a cancelled dialog says nothing (false).
bool KXReportUnchangedTermination(const CKXAssocCompAPI& api, const KXShownMark& asked);

// After the pull-up/pull-down edit dialog: true when it was accepted (its edit made, to be committed);
// otherwise the command answers as the dialog closed: 2 when cancelled, 0 with KXTABLE-217 and the
// edit's cause when the edit refused the answer.
bool KXPupdDialogAccepted(KXPupdDialogResult result, const CKXAssocCompAPI& api);
// The commit of an associated-component edit (a dialog's or a word's) failed: unless the commit said
// why, the edit gave the parts what they have already, and the command says that nothing was changed
// (KXTABLE-267).
void KXReportUnchangedAssoc(const KXShownMark& committing);

// Whether pins of these types (the Pin Type texts of the selected rows) mix an "Input" and an
// "Output": a termination goes on pins of one direction ("Inout" and the rest count as neither).
bool KXMixesInputAndOutput(const std::vector<CString>& pinTypes);
