// The pin grid's connects of differential-pair rows to pair nets: the pair net of a typed name or a
// naming rule, the bits it hands each row, and what the pair rows' legs and terminations do.
#pragma once

#include "grid/KXChangeDigest.h"
#include "grid/gxtypes.h"
#include "rmx/context.h"
#include "afx/afxcoll.h"
#include "rmx/hmtpi.h"

#include <map>
#include <vector>

class CKXInstanceDetailsGridWnd;
class CTransaction;

class KXPinGridPairConnect {
public:
    explicit KXPinGridPairConnect(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The leg pins of a pair pin just joined to a pair net (netHigh..netLow of it) go onto its leg nets.
    bool ConnectPairLegs(CTransaction* transaction, const IDPNet* net, int netHigh, int netLow,
                         const IDPInstTerm* pin);
    // The pair net of a typed pair name and the bits it hands the rows, first to second.
    struct TypedPair {
        IDPNet* net = nullptr;
        int first = -1, second = -1;
        bool bitsChosen = false; // the bits came from the vector-bits dialog
        int pinWidth = 0;        // the pair rows' pins together
    };
    // The rows refused by a connect to pair nets, reported together at its end.
    struct PairReports {
        CString scalarOnVector, vectorOnScalar, width, failed;
        void Show() const;
    };
    // The names a naming rule gives pair rows one after another.
    struct PairNamer {
        CString argument;
        int rule = -1;
        CString base;
        int counter = 0;
        bool first = true;
        CString Next(CKXInstanceDetailsGridWnd& grid, ROWCOL row);
    };
    std::vector<ROWCOL> CollectPairRows(const CDWordArray& rows, const CString& typed);
    BOOL ResolveTypedPair(const CString& text, const std::vector<ROWCOL>& rows, TypedPair& out);
    // The vector-bits dialog over the pair net's bits lsb..msb for the rows' pins: the bits chosen in out;
    // false when cancelled.
    bool AskPairBits(const CString& base, int lsb, int msb, const std::vector<ROWCOL>& rows, TypedPair& out);
    // Takes away the pair connections the lanes of a vector pair pin have of their own.
    void DropLaneConnections(CTransaction* transaction, IDPInstTerm* pin);
    bool RulePairFits(const IDPInstTerm& pin, const IDPNet& net, PairReports& reports);
    IDPNet* RulePairNet(CTransaction* transaction, ROWCOL row, const IDPInstTerm& pin, PairNamer& namer,
                        std::map<CString, IDPNet*>& cache, PairReports& reports);
    bool TypedPairBits(const IDPInstTerm& pin, const TypedPair& typed, int& cursor, int& high, int& low,
                       PairReports& reports);
    bool PairInPlace(CTransaction* transaction, const IDPInstTerm* pin, const IDPNet* net, int high, int low);
    bool TypedPairChangesAnything(CTransaction* transaction, const std::vector<ROWCOL>& rows,
                                  const TypedPair& typed);
    // The terminations on a pair pin's connections (its own and its members'), by pair pin. When the
    // user drops them they are deleted here (journalled as the row's termination delete) and none
    // are returned; kept, the caller attaches them to the pin's new pair connections.
    using PairTerminations = std::map<IDPInstTerm*, std::vector<IDTInstance*>>;
    PairTerminations TakePairTerminations(CTransaction* transaction, ROWCOL row, IDPInstTerm* pin);
    // After a pair row left its pair net: unless the user keeps them, the terminations on the row's
    // leg pin bits are deleted too; true when one was.
    bool DropLegTerminations(CTransaction* transaction, ROWCOL row);
    struct PairJournalRow {
        ROWCOL row;
        CString pairName;
        bool legTerminationsDropped;
    };

    // A pair row already on the pair net: its legs moved elsewhere come back onto the leg nets (the row
    // is journalled); a row with its legs in place names the net in unchanged.
    void ReturnLegsInPlace(CTransaction* transaction, ROWCOL row, IDPInstTerm* pin, IDPNet* net, int high,
                           int low, PairReports& reports, CString& unchanged,
                           std::vector<PairJournalRow>& journalRows);
    // The journal blocks of the connected pair rows, each replayed as a connect of its own.
    void JournalPairRows(const std::vector<PairJournalRow>& journalRows);
    // The script line of a connect to a typed pair name: the bits the dialog chose, else the text.
    void EchoPairConnect(const TypedPair& typed, const CString& text);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
