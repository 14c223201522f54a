// The retain question of one connect run of the pin grid: asked before the first pin changes when the
// selection's pins carry terminations or their nets pull-ups/pull-downs; the pin connects read its
// answers, drop the terminations of the pins that move, and carry the kept pull-ups over to the new nets.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "grid/gxtypes.h"
#include "rmx/schema.h"

#include <memory>
#include <set>
#include <utility>
#include <vector>

class CKXInstanceDetailsGridWnd;
class CKXRetainAssocCompDlg;
class CTransaction;

class KXPinGridRetain {
public:
    explicit KXPinGridRetain(CKXInstanceDetailsGridWnd& grid);
    ~KXPinGridRetain();

    // Before the selection's signal changes: sets m_bAskRetain when terminations or pull-ups
    // would be lost and the question is not suppressed. targets, when given, are the rows the
    // selection's pins come to (CollectTargetRows without expanding), collected already.
    void RetainAssocComponents(int column, CString newSignal, const std::vector<ROWCOL>* targets = nullptr);
    void SetRetainQuestion(std::unique_ptr<CKXRetainAssocCompDlg> question);
    // The question of the run (CKXRetainScope), asked before its first pin changes.
    void AskRetainQuestion(const CString& signal, const std::vector<ROWCOL>* targets = nullptr);
    void EndRetainQuestion();
    // A connect keeps the terminations of the pin bits it moves to another net: the retain answer
    // (kept when the question was not put). A disconnect keeps them only when so answered.
    bool KeepsTerminationsOnMove() const;
    bool KeepsTerminationsOnDisconnect() const;
    // Deletes the terminations of the row's pin bits that leave another net for net, and notes the
    // row's termination delete for the run's journal; true when one was deleted.
    bool DropMovedTerminations(CTransaction* transaction, ROWCOL row, IInstTerm* pin, int msb, int lsb,
                               const INet* net);
    // The user keeps the pull-ups/pull-downs of the nets the moved pins leave.
    bool KeepsPupdsOnMove() const;
    // The row's pin bits that leave another net for net, with the net bit each leaves.
    static std::vector<std::pair<int, CNetBit>> MovingBits(IInstTerm* pin, int msb, int lsb, const INet* net);
    // When the user keeps them, puts the pull-ups of the left net bits onto the pins' new net bits
    // (once per pair of nets in a run).
    void CarryPupdsOver(CTransaction* transaction, IInstTerm* pin,
                        const std::vector<std::pair<int, CNetBit>>& moved);
    // A pull-up answer of no, given or remembered, goes before each row block of the run's journal.
    void JournalPupdRetainAnswer();
    // What the question asks about: a row's terminations, the pull-ups of its net bits (each net bit
    // asked once in a question), a pair's leg nets.
    bool RowCarriesTermination(ROWCOL row);
    bool RowNetCarriesPupd(ROWCOL row, std::set<std::pair<unsigned, int>>& asked);
    bool NetBitCarriesPupd(INet* net, int bit, std::set<std::pair<unsigned, int>>& asked);
    bool PairLegNetsCarryPupd(const IDPInstTerm* pin, std::set<std::pair<unsigned, int>>& asked);

    // The retain answer a journal gives for the pull-ups of the nets the next connect's pins leave
    // (in whichever pin grid): that connect puts no question, and leaves them behind unless keep.
    static void AnswerPupdRetainOnNextConnect(bool keep) { m_nPupdRetainAnswer = keep ? 1 : 0; }
    static int m_nPupdRetainAnswer; // -1: none given
    // The same for the terminations of the pins the next connect moves (their pair pins' legs too),
    // or that the next delete of connections parts: kept there only when so answered.
    static void AnswerTerminationRetainOnNextConnect(bool keep) { m_nTerminationRetainAnswer = keep ? 1 : 0; }
    static int m_nTerminationRetainAnswer; // -1: none given
    // The retain question's net-replace list: the old and new net pairs whose pull-ups the open edit
    // has carried over already, shared by the edit's connects (the grids side by side, the rows of a
    // paste) while the grid hands it on (m_bCellControlClick). It lives as long as the edit's
    // transaction: emptied when one begins or ends, so nothing of it reaches the next edit, an undo,
    // a redo or a replayed line.
    static CStringList g_netReplaceList;
    // The answers the open edit's retain question was given, for its later connects that do not ask
    // again; -1: none.
    static int m_nRunKeepTerminations;
    static int m_nRunKeepPupds;
    static void ForgetRetainRun();

    std::unique_ptr<CKXRetainAssocCompDlg> m_pRetainQuestion;
    int m_bAskRetain = 0;

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
