// A connect of the pin grid's selected pins to a plain signal text (a name, a bus range or bit, a comma
// list; a naming rule goes to its dispatcher): the text parsed, the net found, made or widened, the
// bits asked for when a range does not fit, each target row joined, and the journal of the rows that
// took the signal.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"

#include <cstdlib>
#include <vector>

class CKXInstanceDetailsGridWnd;
class CNetContext;
class CTransaction;
class INet;

class KXPinGridPlainConnect {
public:
    explicit KXPinGridPlainConnect(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    int DispatchNamingRule(const CString& text, int bEchoToHost);
    int ConnectPlainSignal(const CString& given, const CString& text, bool dpName, int bEchoToHost);
    // Refuses a connect that no selected row can take (KXTABLE-230): 0.
    int RefuseNoTarget(const CString& signal);
    // What a plain text names, as the parser reads it.
    struct SignalText {
        CString display, netName;
        int lsb = -1, msb = -1, step = 1, pinType = -1, scope = 0, stride = 0, expand = 0;
        bool Scalar() const { return lsb == -1 && msb == -1; }
        bool SingleBit() const { return !Scalar() && lsb == msb; }
        bool Reversed() const { return !Scalar() && msb < lsb; }
        int BitWidth() const { return Scalar() ? 1 : (std::abs(msb - lsb) + step) / step; }
    };
    BOOL ParsePlainSignal(const CString& text, SignalText& sig);
    INet* PlainSignalNet(const SignalText& sig, CTransaction* transaction, BOOL& newNet);
    // Widens the other leg of each pair over the whole leg net to the leg's range.
    BOOL WidenPartnerLegs(INet* leg);
    // What a target row of a connect run took: the text it shows (empty when it refused), and the journal
    // blocks of what its connect did first (its dropped terminations), which replay before its connect.
    struct ConnectedRow {
        CString text;
        CString lead;
        int msb = -1, lsb = -1;       // the net bits a row of a spread range took
        int pinMsb = -1, pinLsb = -1; // and the row's own pin bits
    };
    CString ChosenBitsJournal(int lsb, int msb, int step, int pinLsb, int pinMsb);
    void EchoPlainConnect(const CString& name);
    bool SortPlainSignalTargets(const CString& given, const SignalText& sig, bool dpName,
                                const std::vector<ROWCOL>& selected, bool& anyPair, bool& anyOther);
    CString ConnectedRowsJournal(const std::vector<ROWCOL>& targets,
                                 const std::vector<ConnectedRow>& rowsTaken, const SignalText& sig,
                                 bool netMade, bool bitsChosen);
    BOOL ConnectTargetRows(const std::vector<ROWCOL>& targets, const SignalText& sig, CNetContext& netContext,
                           CTransaction* transaction, BOOL newNet, std::vector<ConnectedRow>& rows);
    BOOL AskVectorBits(const CString& netName, const std::vector<ROWCOL>& selected, int& lsb, int& msb,
                       int& step, int& stride, int expandFlag, int& bits, std::vector<ROWCOL>& targets);
    // The journal blocks of the pair rows a connect took: what their connects did first, then their own.
    CString TakePairJournal();
    CString m_chosenBitsJournal; // the bits the running connect's dialog gave, as a journal block

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
