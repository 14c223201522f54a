// Connecting and disconnecting pins from a signal-grid row: the checks, the
// question before bits are taken from another signal, the change in one grid
// transaction, the row's cells, the echo to the host and the journal.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXDiffPairLegs.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"
#include "grid/KXJournalLine.h"
#include "grid/KXGridSite.h"
#include "kxinstsigpane/CommonInterface.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

using namespace kxsignal;

namespace {

constexpr int kAnswerNo = 7;

bool IsPinNameText(const CString& text) {
    CString base;
    int lsb = -1, msb = -1;
    return CSchemaUtilities::parsePinName(text.GetString(), base, lsb, msb);
}

// The net bit joined to pin bit p by a connection.
int NetBitOf(const CConn& c, int p) {
    if (c.netLsb() == -1 || c.netMsb() == -1) return -1;
    return c.netLsb() > c.netMsb() ? std::abs(c.netMsb() - p + c.instTermMsb())
                                   : std::abs(c.instTermMsb() - p - c.netMsb());
}

} // namespace

BOOL CKXSignalDetailsGridWnd::AssignConnectivity(ROWCOL row, BOOL bPinName, CString text, BOOL bShowMessages) {
    m_nConnectedRow = row;
    if (!MayEdit()) return FALSE;
    ConnTarget t;
    if (!ResolveConnPin(row, bPinName, text, t, bShowMessages)) return FALSE;
    if (!ResolveConnNetBits(row, t, bShowMessages)) return FALSE;
    // The pin the row shows now leaves the net for the new one: named before the row changes.
    const bool replacing = GetRowPinId(row) >= 0 && !CellText(row, m_nColPinName).IsEmpty();
    const CString oldKey = replacing ? RowPinKey(row) : CString();
    // A pin on those net bits already: nothing to ask, and its connection stays as it is. Named by the word,
    // that is a refusal; typed into a row of another pin, the pin's row moves up to it.
    if (!t.fillOnly && HasConnectionAlready(t)) {
        if (m_bConnectingByName) {
            if (bShowMessages) {
                CKXErrorHandler::MessageBoxOk("KXTABLE-304", t.net->name());
                TransferCurrentCell(FALSE, kNoUpdate, TRUE);
            }
            return FALSE;
        }
        if (!replacing || !ShowsPinBits(row, t))
            return MoveConnectedPinToRow(row, bPinName, text, t, oldKey, bShowMessages);
    }
    std::vector<std::unique_ptr<CKXPinData>> records;
    if (!t.fillOnly && !CommitConnection(row, bPinName, text, t, records, bShowMessages)) return FALSE;
    const CString pinNumber = WriteConnectedCells(row, bPinName, t);
    if (t.fillOnly) return TRUE; // a row only filled in connects nothing: no echo, no journal line
    {
        UpdateLockScope lock(*this);
        row = UpdateRowAfterConnect(row, m_designContext.instance(t.inst), t.pin, records);
    }
    m_nConnectedRow = row;
    // A pin without a number (a block's pin) is named by its name, as the row's key names it; so are several
    // bits of a pin, which a list of pin numbers does not name.
    const CString pinKey = t.hi != t.lo ? CSchemaUtilities::vectorName(t.pin->name(), t.hi, t.lo)
                           : pinNumber.IsEmpty() ? RowPinKey(row)
                                                 : pinNumber;
    EchoConnection(row, pinKey, t.net->isScalar());
    JournalConnection(row, pinKey, t.net->isScalar(), oldKey);
    return TRUE;
}

BOOL CKXSignalDetailsGridWnd::ResolveConnPin(ROWCOL row, BOOL bPinName, const CString& text, ConnTarget& t,
                                             BOOL bShowMessages) {
    const CString instanceName = CellText(row, m_nColInstance);
    if (instanceName.IsEmpty()) return Refuse(bShowMessages, "KXTABLE-117");
    t.inst = m_designContext ? m_designContext.design()->findInstance(instanceName.GetString()) : nullptr;
    if (!t.inst) return Refuse(bShowMessages, "KXTABLE-108");
    t.pin = bPinName ? CheckPinName(t.inst, text, t.hi, t.lo) : FindInstTerm(t.inst, text, t.hi, t.lo);
    if (!t.pin) return bPinName && !IsPinNameText(text) ? FALSE : Refuse(bShowMessages, "KXTABLE-119");
    if (t.lo > t.hi) std::swap(t.lo, t.hi);
    const int pinHigh = std::max(t.pin->msb(), t.pin->lsb()), pinLow = std::min(t.pin->msb(), t.pin->lsb());
    if (pinHigh < t.hi || pinLow > t.lo) return Refuse(bShowMessages, "KXTABLE-120");
    if (t.hi != t.lo && !(t.hi == pinHigh && t.lo == pinLow)) return Refuse(bShowMessages, "KXTABLE-106");
    t.net = GetNetOfRow(row).net();
    if (!t.net) return Refuse(bShowMessages, "KXTABLE-145");
    return TRUE;
}

BOOL CKXSignalDetailsGridWnd::ResolveConnNetBits(ROWCOL row, ConnTarget& t, BOOL bShowMessages) {
    if (t.net->isScalar()) return t.hi == t.lo ? TRUE : Refuse(bShowMessages, "KXTABLE-102");
    if (m_bNetBitMode) {
        // A row of one shown bit takes one pin bit.
        if (t.hi != t.lo) return Refuse(bShowMessages, "KXTABLE-135");
        t.start = t.end = GetRowNetBit(row);
        return TRUE;
    }
    const CString startText = CellText(row, m_nColStartBit), endText = CellText(row, m_nColEndBit);
    if (startText.IsEmpty() || endText.IsEmpty()) {
        // A grid of several nets cannot tell the bits from the row: they must be given. The grid knows
        // what it shows, whatever the signal list has selected since.
        CCommonInterface* signalPane = Site() ? Site()->SignalListPane() : nullptr;
        if (m_arrNetData.size() > 1 || (signalPane && signalPane->GetGroupFlag() == 1))
            return Refuse(bShowMessages, "KXTABLE-146");
        t.fillOnly = true;
    }
    t.start = std::atoi(startText.GetString());
    t.end = std::atoi(endText.GetString());
    // A bit that is no number is refused rather than read as 0.
    int parsed = 0;
    if ((!startText.IsEmpty() && !ParseInt(startText, parsed)) || (!endText.IsEmpty() && !ParseInt(endText, parsed)))
        return Refuse(bShowMessages, "KXTABLE-101");
    if (std::abs(t.hi - t.lo) != std::abs(t.start - t.end)) return Refuse(bShowMessages, "KXTABLE-135");
    return TRUE;
}

// Whether the row shows one of the target's pin bits.
bool CKXSignalDetailsGridWnd::ShowsPinBits(ROWCOL row, const ConnTarget& t) {
    if (GetRowPinId(row) != static_cast<int>(t.pin->id())) return false;
    const int msb = RowAttr(row, m_nColPinName, kAttrConnMsb, -1);
    const int lsb = RowAttr(row, m_nColPinName, kAttrConnLsb, -1);
    return std::max(msb, lsb) >= t.lo && std::min(msb, lsb) <= t.hi;
}

// Whether each pin bit of the target is joined to the net bit the connection would give it (net bit `end`
// goes with pin bit `lo`, `start` with `hi`).
bool CKXSignalDetailsGridWnd::HasConnectionAlready(const ConnTarget& t) const {
    const int step = t.start >= t.end ? 1 : -1;
    for (int i = 0; i <= t.hi - t.lo; ++i) {
        const CNetBit joined = t.pin->netBit(t.lo + i);
        const int netBit = t.net->isScalar() ? -1 : t.end + i * step;
        if (joined.net() != t.net || (!t.net->isScalar() && joined.bit() != netBit)) return false;
    }
    return true;
}

BOOL CKXSignalDetailsGridWnd::RemoveOverlappingConns(CTransaction& tx, const ConnTarget& t,
                                                     std::vector<std::unique_ptr<CKXPinData>>& records) {
    std::vector<CConn> existing;
    for (const CConn& c : t.pin->beginConn())
        existing.push_back(c);
    for (const CConn& c : existing) {
        const int cLo = std::min(c.instTermLsb(), c.instTermMsb()), cHi = std::max(c.instTermLsb(), c.instTermMsb());
        if (cHi < t.lo || cLo > t.hi) continue;
        if (CKXErrorHandler::MessageBoxYesNo("KXTABLE-140", t.pin->name(), t.inst->name(), t.inst->cellName()) ==
            kAnswerNo) {
            TransferCurrentCell(FALSE, kNoUpdate, TRUE);
            return FALSE;
        }
        const int oLo = std::max(t.lo, cLo), oHi = std::min(t.hi, cHi);
        tx.removeConn(c.net(), static_cast<unsigned>(NetBitOf(c, oLo)), static_cast<unsigned>(NetBitOf(c, oHi)), t.pin,
                      static_cast<unsigned>(oLo), static_cast<unsigned>(oHi), 0);
        if (!IsShownNet(c.net())) continue;
        records.push_back(std::make_unique<CKXPinData>(oHi, oLo, NetBitOf(c, oHi), NetBitOf(c, oLo), c.net(),
                                                       CKXPinData::Removed));
        AddKeptParts(c, oLo, oHi, records);
    }
    return TRUE;
}

void CKXSignalDetailsGridWnd::AddKeptParts(const CConn& c, int oLo, int oHi,
                                           std::vector<std::unique_ptr<CKXPinData>>& records) const {
    if (m_bNetBitMode) return;
    const int cLo = std::min(c.instTermLsb(), c.instTermMsb()), cHi = std::max(c.instTermLsb(), c.instTermMsb());
    const bool down = c.netLsb() > c.netMsb();
    if (cHi > oHi)
        records.push_back(std::make_unique<CKXPinData>(cHi, oHi + 1, c.netMsb(), NetBitOf(c, oHi) + (down ? -1 : 1),
                                                       c.net(), CKXPinData::Kept));
    if (cLo < oLo)
        records.push_back(std::make_unique<CKXPinData>(oLo - 1, cLo, NetBitOf(c, oLo) + (down ? 1 : -1), c.netLsb(),
                                                       c.net(), CKXPinData::Kept));
}

BOOL CKXSignalDetailsGridWnd::CommitConnection(ROWCOL row, BOOL bPinName, const CString& text, const ConnTarget& t,
                                               std::vector<std::unique_ptr<CKXPinData>>& records,
                                               BOOL bShowMessages) {
    CKXGridEdit transaction(*this, "Add Conn", CKXGridEdit::kJoinOpen);
    CTransaction* tx = transaction.Transaction();
    if (!tx) return Refuse(bShowMessages, "KXTABLE-145");
    const CString oldPinName = CellText(row, m_nColPinName);
    if (!oldPinName.IsEmpty() && !DisconnectPin(row, oldPinName, t.start, t.end, bShowMessages)) return FALSE;
    // Refused: the transaction, when this call began it, is discarded.
    if (!RemoveOverlappingConns(*tx, t, records)) return FALSE;
    if (!tx->addConn(t.net, static_cast<unsigned>(t.end), static_cast<unsigned>(t.start), t.pin,
                     static_cast<unsigned>(t.lo), static_cast<unsigned>(t.hi), 0)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-135");
        TransferCurrentCell(FALSE, kNoUpdate, TRUE);
        return FALSE;
    }
    // What the pin cell shows before the edit: given back when the design refuses the commit.
    CGXStyle shown;
    GetStyleRowCol(row, Col(m_nColPinName), shown, gxCopy, 0);
    WriteRowPin(row, bPinName, text, t);
    const std::vector<CConn> legs = AutoConnectDiffPairLegs(*tx, t.pin, t.lo, t.hi);
    if (!transaction.Commit()) {
        kxgrid::GridWriteScope restore(*this);
        SetStyleRange(CGXRange(row, Col(m_nColPinName)), shown, gxCopy, 0, kNoUpdate, gxDo);
        return FALSE;
    }
    for (const CConn& leg : legs)
        FillConnectionRows(leg);
    return TRUE;
}

void CKXSignalDetailsGridWnd::WriteRowPin(ROWCOL row, BOOL bPinName, const CString& text, const ConnTarget& t) {
    CGXStyle pinName;
    pinName.SetWrapText(FALSE);
    if (bPinName) pinName.SetValue(text);
    pinName.SetUserAttribute(Id(IDS_UA_CONN_INSTTERM), static_cast<int>(t.pin->id()))
        .SetUserAttribute(Id(IDS_UA_CONN_MSB), t.hi)
        .SetUserAttribute(Id(IDS_UA_CONN_LSB), t.lo);
    {
        GridWriteScope undoOff(*this, GridWriteScope::kUndo);
        WriteCell(row, m_nColPinName, pinName);
    }
    IndexPinRow(t.pin->id(), row);
}

BOOL CKXSignalDetailsGridWnd::MoveConnectedPinToRow(ROWCOL row, BOOL bPinName, const CString& text,
                                                    const ConnTarget& t, const CString& oldKey,
                                                    BOOL bShowMessages) {
    // The pin the row showed leaves the net, the one change to the design: an undo step of its own,
    // journalled as the row's Delete (named before the row changes).
    if (!oldKey.IsEmpty()) {
        KXJournalLines journal(JournalHandle());
        JournalRowDelete(journal, JournalNetName(row), CellText(row, m_nColInstance), oldKey).End();
        if (!DisconnectPin(row, CellText(row, m_nColPinName), t.start, t.end, bShowMessages)) return FALSE;
        journal.Write();
    }
    m_nConnectedRow = ShowConnectedPinInRow(row, bPinName, text, t);
    return TRUE;
}

ROWCOL CKXSignalDetailsGridWnd::ShowConnectedPinInRow(ROWCOL row, BOOL bPinName, const CString& text,
                                                      const ConnTarget& t) {
    WriteRowPin(row, bPinName, text, t);
    WriteConnectedCells(row, bPinName, t);
    // The rows showing those pin bits go, as after a connect that took them off the net; the pin's other
    // bits on the net stay, each part in a row of its own.
    std::vector<std::unique_ptr<CKXPinData>> shown;
    shown.push_back(std::make_unique<CKXPinData>(t.hi, t.lo, t.start, t.end, t.net, CKXPinData::Removed));
    for (const CConn& c : t.pin->beginConn()) {
        const int cLo = std::min(c.instTermLsb(), c.instTermMsb()), cHi = std::max(c.instTermLsb(), c.instTermMsb());
        if (c.net() == t.net && cHi >= t.lo && cLo <= t.hi)
            AddKeptParts(c, std::max(t.lo, cLo), std::min(t.hi, cHi), shown);
    }
    UpdateLockScope lock(*this);
    return UpdateRowAfterConnect(row, m_designContext.instance(t.inst), t.pin, shown);
}

CString CKXSignalDetailsGridWnd::WriteConnectedCells(ROWCOL row, BOOL bPinName, const ConnTarget& t) {
    const CInstTermContext pinContext = m_designContext.instance(t.inst).instTerm(t.pin);
    const CString pinNumber = CKXGenUtils::GetPNProp(pinContext, t.hi, t.lo);
    GridWriteScope scope(*this);
    CGXStyle type;
    type.SetValue(CKXGenUtils::GetPinType(t.pin)).SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE).SetWrapText(FALSE);
    WriteCell(row, m_nColPinType, type);
    CGXStyle other;
    other.SetControl(Id(IDS_CTRL_PIN_COMBO)).SetWrapText(FALSE);
    other.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    if (bPinName) {
        other.SetValue(pinNumber);
        WriteCell(row, m_nColPinNumber, other);
    } else {
        other.SetValue(t.pin->isScalar() ? CString(t.pin->name()) : CSchemaUtilities::vectorName(t.pin->name(), t.lo));
        WriteCell(row, m_nColPinName, other);
    }
    UpdatePupdCellOfRow(row, t.start, t.end);
    SetBitsConnectedRow(row, Col(m_nColTermination));
    return pinNumber;
}

void CKXSignalDetailsGridWnd::EchoConnection(ROWCOL row, const CString& pinNumber, bool scalarNet) {
    CWnd* main = AfxGetMainWnd();
    if (!main) return;
    // The echo is a record of what this grid did: while it runs, the grid keeps its current cell
    // (the edit that made the connection is still being stored) and the command that comes back is
    // not carried out a second time.
    m_bConnectEcho = TRUE;
    CTclArgsList select;
    select.Add(KXScriptWord::selectWindow);
    select.Add("ccp");
    main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&select), 0);
    CTclArgsList add;
    add.Add(KXScriptWord::addConnection);
    add.Add("pin");
    add.StartArgument();
    add.AddToArgument(CellText(row, m_nColInstance));
    add.AddToArgument(pinNumber);
    add.AddToArgument(scalarNet ? CString("-1") : CellText(row, m_nColStartBit));
    add.AddToArgument(scalarNet ? CString("-1") : CellText(row, m_nColEndBit));
    add.AddToArgument(CellText(row, m_nColSignalName));
    add.EndArgument();
    main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&add), 0);
    m_bConnectEcho = FALSE;
}

void CKXSignalDetailsGridWnd::JournalConnection(ROWCOL row, const CString& pinNumber, bool scalarNet,
                                                const CString& replacedKey) {
    // A row of a shown bit has no bit cells: the call names the bit.
    const CString bit = Decimal(GetRowNetBit(row));
    const CString start = scalarNet ? CString("-1") : m_bNetBitMode ? bit : CellText(row, m_nColStartBit);
    const CString end = scalarNet ? CString("-1") : m_bNetBitMode ? bit : CellText(row, m_nColEndBit);
    const CString netName = JournalNetName(row);
    KXJournalLines journal(JournalHandle());
    // The replay's connect adds a row of its own: the pin the row showed before leaves the net first,
    // as here, by the row's Delete.
    if (!replacedKey.IsEmpty()) JournalRowDelete(journal, netName, CellText(row, m_nColInstance), replacedKey).OwnStep();
    journal.Call("Slp()", "Select", {netName})
        .Comment("Assign Connectivity")
        .Pane("AssignConnectivity", {CellText(row, m_nColInstance), pinNumber, start, end});
    if (!replacedKey.IsEmpty()) journal.OwnStep();
    journal.End().Write();
}

BOOL CKXSignalDetailsGridWnd::DisconnectRow(ROWCOL row, CString pinName, BOOL bShowMessages) {
    const CString startText = CellText(row, m_nColStartBit), endText = CellText(row, m_nColEndBit);
    const int start = startText.IsEmpty() ? -1 : std::atoi(startText.GetString());
    const int end = endText.IsEmpty() ? -1 : std::atoi(endText.GetString());
    return DisconnectPin(row, pinName, start, end, bShowMessages);
}

BOOL CKXSignalDetailsGridWnd::DisconnectPin(ROWCOL row, CString pinName, int nStartBit, int nEndBit,
                                            BOOL bShowMessages) {
    CKXGridEdit transaction(*this, "Add Conn", CKXGridEdit::kJoinOpen);
    if (!transaction) return FALSE; // a window that may not edit said so
    CTransaction* tx = transaction.Transaction();
    CString base;
    int lsb = -1, msb = -1;
    if (pinName.IsEmpty() || !CSchemaUtilities::parsePinName(pinName.GetString(), base, lsb, msb))
        return transaction.Commit();
    if (lsb > msb) std::swap(lsb, msb);
    const CString instanceName = CellText(row, m_nColInstance);
    if (instanceName.IsEmpty()) return Refuse(bShowMessages, "KXTABLE-117");
    IInstance* inst = m_designContext ? m_designContext.design()->findInstance(instanceName.GetString()) : nullptr;
    if (!inst) return Refuse(bShowMessages, "KXTABLE-108");
    const int id = GetRowPinId(row);
    IInstTerm* pin = id < 0 ? nullptr : inst->findInstTerm(static_cast<unsigned>(id));
    const CNetContext net = GetNetOfRow(row);
    if (!pin || !net || !tx) return transaction.Commit();
    // A row whose pin bits and net bits differ in number shows no connection of the design as it is:
    // its pin is not taken off, and the edit that would put another pin in the row is refused with it.
    if (std::abs(msb - lsb) != std::abs(nStartBit - nEndBit)) {
        if (bShowMessages) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-391", pinName.GetString());
            TransferCurrentCell(FALSE, kNoUpdate, TRUE);
        }
        return FALSE;
    }
    // The pin bits the row names leave the row's net, wherever on the net they sit; a pin that
    // leaves the net loses its terminations.
    bool removed = false;
    for (int b = msb; b >= lsb; --b) {
        const CNetBit on = pin->netBit(b);
        if (on.net() != net.net()) continue;
        if (!tx->removeConn(net.net(), static_cast<unsigned>(on.bit()), static_cast<unsigned>(on.bit()), pin,
                            static_cast<unsigned>(b), static_cast<unsigned>(b), 0))
            continue;
        removed = true;
        DeleteTerminationOfPin(*tx, CInstTermBit(pin, b));
        // The last leg of a pair to leave takes the pair's connection with it, as Delete on the pair does.
        if (CKXAssocCompAPI* api = GetAssocCompApi())
            KXRemovePairConnectionWithoutLegs(*tx, *api, CInstTermBit(pin, b));
    }
    // Nothing of the row was connected: the row is stale, and the disconnect is no success.
    if (!removed) {
        if (bShowMessages) TransferCurrentCell(FALSE, kNoUpdate, TRUE);
        return FALSE;
    }
    return transaction.Commit();
}

BOOL CKXSignalDetailsGridWnd::AddInstanceRow(const CInstanceContext& instance, ROWCOL* pRow) {
    IInstance* inst = instance.instance();
    if (!inst) return FALSE;
    GridWriteScope scope(*this);
    const ROWCOL row = TakeBlankRow();
    RestyleRow(row);
    CGXStyle cell;
    cell.SetValue(inst->cellName()).SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO)).SetWrapText(FALSE);
    WriteCell(row, m_nColCell, cell);
    SetCellWithEllipsis(row, inst->name(), static_cast<int>(inst->id()));
    CGXStyle location;
    location.SetValue(CKXGenUtils::GetLocationProp(inst)).SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO));
    WriteCell(row, m_nColLocation, location);
    if (pRow) *pRow = row;
    return TRUE;
}

// The signal a connection by name names: none named passes with no net; one this grid does not show refuses.
bool CKXSignalDetailsGridWnd::NamedSignal(const CString& signalText, INet*& net) {
    net = nullptr;
    if (signalText.IsEmpty()) return true;
    CString netName;
    int sLsb = -1, sMsb = -1;
    if (CKXGenUtils::ParseSignalName(signalText, netName, sLsb, sMsb) && m_designContext)
        net = m_designContext.design()->findNet(netName.GetString());
    if (net && IsShownNet(net)) return true;
    net = nullptr;
    SendHostMessage("Invalid signal name specified");
    CKXErrorHandler::MessageBoxOk("KXTABLE-560", signalText);
    return false;
}

// Whether the bits of a connection by name fit its net: bits for a bus and none for a scalar net, first of
// all, then bits within the net's range. A refusal names which.
bool CKXSignalDetailsGridWnd::NamedBitsFit(INet* net, int start, int end, const CString& bitsText) {
    if ((start == -1) != (end == -1) || (start == -1) != net->isScalar()) {
        CKXErrorHandler::MessageBoxOk(net->isScalar() ? "KXTABLE-563" : "KXTABLE-562", net->name());
        return false;
    }
    int lsb = net->lsb(), msb = net->msb();
    CKXGenUtils::AdjustLsbMsb(lsb, msb);
    if (start <= msb && end >= lsb) return true;
    SendHostMessage("Invalid value of msb/lsb specified for signal");
    CKXErrorHandler::MessageBoxOk("KXTABLE-561", bitsText, net->name());
    return false;
}

BOOL CKXSignalDetailsGridWnd::AssignConnectivityByName(const char* instance, const char* pinNumber,
                                                       const char* startBit, const char* endBit, const char* signal) {
    if (!MayEdit()) return FALSE;
    const CString signalText = signal ? signal : "";
    if (m_bMultipleNets && signalText.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-160");
        return FALSE;
    }
    INet* net = nullptr;
    if (!NamedSignal(signalText, net)) return FALSE;
    IInstance* inst = m_designContext && instance ? m_designContext.design()->findInstance(instance) : nullptr;
    if (!inst) return FALSE;
    // The bits as given, for the messages that refuse them.
    const CString bitsText = CString(startBit ? startBit : "") + ".." + (endBit ? endBit : "");
    int start = 0, end = 0;
    if (!ParseInt(startBit ? startBit : "", start) || !ParseInt(endBit ? endBit : "", end)) {
        SendHostMessage("Invalid value of msb/lsb specified for signal");
        CKXErrorHandler::MessageBoxOk("KXTABLE-561", bitsText, net ? CString(net->name()) : GetTitle());
        return FALSE;
    }
    CKXGenUtils::AdjustLsbMsb(end, start);
    ROWCOL row = 0;
    AddInstanceRow(m_designContext.instance(inst), &row);
    if (net) {
        const CString name = m_bNetBitMode && !net->isScalar() ? (start == end ? CSchemaUtilities::vectorName(net->name(), start)
                                                                               : CSchemaUtilities::vectorName(net->name(), start, end))
                                                               : CString(net->name());
        WriteNetNameCells(row, net, start, name, PhysicalNetName(net, start, end));
    } else {
        net = GetNetOfRow(kFirstDataRow).net();
    }
    if (!net) {
        RestyleRow(row);
        return FALSE;
    }
    // Bits that do not fit the net: nothing connected, and the row goes back to blank.
    if (!NamedBitsFit(net, start, end, bitsText)) {
        RestyleRow(row);
        return FALSE;
    }
    const CString number = pinNumber ? pinNumber : "";
    if (number.IsEmpty()) {
        RestyleRow(row);
        CKXErrorHandler::MessageBoxOk("KXTABLE-160");
        return FALSE;
    }
    // A pin without a number (a block's pin) is named by its name, a bus pin's bits by its name and bits.
    int pinMsb = -1, pinLsb = -1;
    CString pinBase;
    const bool byName = !FindInstTerm(inst, number, pinMsb, pinLsb) &&
                        CSchemaUtilities::parsePinName(number.GetString(), pinBase, pinLsb, pinMsb) &&
                        inst->findInstTerm(pinBase.GetString());
    if (start != -1) {
        GridWriteScope scope(*this);
        WriteCell(row, m_nColStartBit, CGXStyle().SetValue(Decimal(start)).SetControl(Id(IDS_CTRL_EDIT)));
        WriteCell(row, m_nColEndBit, CGXStyle().SetValue(Decimal(end)).SetControl(Id(IDS_CTRL_EDIT)));
    }
    const BOOL result = [&] {
        const BOOL outer = std::exchange(m_bConnectingByName, TRUE);
        const BOOL done = CommitCellEdit(row, Col(byName ? m_nColPinName : m_nColPinNumber), number, TRUE);
        m_bConnectingByName = outer;
        return done;
    }();
    GridWriteScope scope(*this, GridWriteScope::kUndo);
    // Refused: the row goes back to blank. Connected: the row keeps the pin, by name or by number (it
    // moved up when the pin was shown in a row above, which went).
    if (!result)
        RestyleRow(row);
    else if (!byName)
        WriteCell(m_nConnectedRow, m_nColPinNumber, CGXStyle().SetValue(number));
    return result;
}
