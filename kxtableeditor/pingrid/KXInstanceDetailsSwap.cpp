// Swaps between the pins of the pin grid: two selected pins exchange their
// signals, or a pin takes another pin number of its part and the pin that held
// that number takes the old one. Each swap is one transaction of its own.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPinNumbers.h"

#include "grid/KXJournalLine.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXPinDialogs.h"
#include "grid/KXGridSite.h"

#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/packaging.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <memory>

using kxpingrid::Col;

namespace {

// The flag word pin numbers written by a swap carry.
constexpr unsigned long kSwapPropertyFlags = 2;

} // namespace

// ---------------------------------------------------------------------------
// Signals

bool KXPinGridPinNumbers::CanSwapConnections(ROWCOL rowA, ROWCOL rowB) {
    int pinMsbA = -1, pinLsbA = -1, pinMsbB = -1, pinLsbB = -1, netMsb = -1, netLsb = -1;
    IInstTerm* pinA = m_grid.GetRowInstTerm(rowA, pinMsbA, pinLsbA);
    IInstTerm* pinB = m_grid.GetRowInstTerm(rowB, pinMsbB, pinLsbB);
    if (!pinA || !pinB || pinMsbA != pinLsbA || pinMsbB != pinLsbB) return false;
    m_grid.GetRowNet(rowA, netMsb, netLsb);
    if (netMsb != netLsb) return false;
    m_grid.GetRowNet(rowB, netMsb, netLsb);
    if (netMsb != netLsb) return false;
    // The common library answers TRUE when the part lets the two pin bits swap.
    return CKXGenUtils::CanSwapConnections(m_grid.m_designContext, pinA, pinMsbA, pinB, pinMsbB) != FALSE;
}

BOOL KXPinGridPinNumbers::CanSwapPinRows(ROWCOL rowA, ROWCOL rowB) {
    if (rowA == rowB || m_grid.GetRowInstanceIndex(rowA) != m_grid.GetRowInstanceIndex(rowB)) return FALSE;
    int msb = -1, lsb = -1;
    if (!m_grid.GetRowInstTerm(rowA, msb, lsb) || !m_grid.GetRowInstTerm(rowB, msb, lsb)) return FALSE;
    for (ROWCOL r : {rowA, rowB})
        if (m_grid.GetValueRowCol(r, Col(m_grid.m_nColPinName)).IsEmpty() ||
            m_grid.GetValueRowCol(r, Col(m_grid.m_nColPinNumber)).IsEmpty())
            return FALSE;
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::CanSwapSignals() {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.size() != 2) return FALSE;
    if (m_bMultipleInstances &&
        GetValueRowCol(rows[0], Col(m_nColInstance)).CompareNoCase(GetValueRowCol(rows[1], Col(m_nColInstance))))
        return FALSE;
    if (IsDiffPairRow(rows[0]) || IsDiffPairRow(rows[1])) return FALSE;
    return m_pinNumbers->CanSwapPinRows(rows[0], rows[1]) &&
           m_pinNumbers->CanSwapConnections(rows[0], rows[1]);
}

// The menu's road: the swap, echoed with the two pins so that the host's log replays it.
BOOL CKXInstanceDetailsGridWnd::SwapSignals(int, CString) {
    CTclArgsList echo;
    echo.Add(KXScriptWord::swapSignal);
    echo.Add("pin");
    AddSelectedPinsToArgs(&echo);
    if (!SwapSelectedSignals()) return FALSE;
    SendEcho(echo);
    return TRUE;
}

// A swap is an edit of its own: an edit held open for a later call (InitTermination, InitPUPD) is
// discarded, as any other edit discards it; one the caller works in refuses the swap.
bool KXPinGridPinNumbers::BeginSwapEdit() {
    CKXGridEdit::DiscardWaiting();
    if (!CKXTransaction::IsTransactionStarted()) return true;
    CKXErrorHandler::MessageBoxOk("KXTABLE-620");
    return false;
}

BOOL CKXInstanceDetailsGridWnd::SwapSelectedSignals() {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.size() != 2) return FALSE;
    int msbA = -1, lsbA = -1, msbB = -1, lsbB = -1;
    IInstTerm* pinA = GetRowInstTerm(rows[0], msbA, lsbA);
    IInstTerm* pinB = GetRowInstTerm(rows[1], msbB, lsbB);
    if (!pinA || !pinB) return FALSE;
    if (!m_pinNumbers->BeginSwapEdit()) return FALSE;
    CKXPinConnEdit edit(*this, m_designContext, "Swap Signals");
    if (!edit) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-620");
        return FALSE;
    }
    if (!edit.Transaction()->swapConn(pinA, static_cast<unsigned>(msbA), pinB, static_cast<unsigned>(msbB)))
        return FALSE;
    // The replay makes the connections the swap made: each pin takes the other's signal. The rows are
    // named now, before the commit's refresh rewrites them.
    const CString journal = m_pinNumbers->SwappedConnectionJournal(rows[0], rows[1]) +
                            m_pinNumbers->SwappedConnectionJournal(rows[1], rows[0]);
    if (!edit.Commit()) return FALSE;
    m_pinNumbers->RefreshPinNumberCells();
    if (IKXGridSite* site = Site()) site->MarkModified();
    WriteJournal(journal);
    return TRUE;
}

CString KXPinGridPinNumbers::SwappedConnectionJournal(ROWCOL row, ROWCOL from) {
    const CString signal = m_grid.GetValueRowCol(from, Col(m_grid.m_nColSignal));
    // A swap moves the pins alone: the terminations stay on them and the pull-ups on their nets. The
    // connect or delete that replays it is told so, instead of taking the replay's answer to the
    // question (a delete would otherwise take the terminations with the connection).
    KXJournalLines answers(m_grid.JournalHandle());
    if (signal.IsEmpty()) {
        answers.Pane("RetainTermination", {"1"}).End();
        return answers.Text() + m_grid.JournalRowText(row, "Delete", "Delete", CString(), false);
    }
    answers.Pane("RetainTermination", {"1"}).Pane("RetainPUPD", {"0"}).End();
    return answers.Text() + m_grid.JournalRowText(row, "Swap Signals", m_grid.ConnectJournalMethod(), signal);
}

// ---------------------------------------------------------------------------
// Pin numbers

// The name of the physical part a row's instance is packaged in; empty when it has none.
CString KXPinGridPinNumbers::RowPhysPartName(ROWCOL row) {
    const CInstanceContext instance = m_grid.GetRowInstance(row);
    if (!instance || !m_grid.m_designContext) return CString();
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&m_grid.m_designContext, &instance));
    const std::unique_ptr<IPhysPartDefn> definition(part ? part->partDefn() : nullptr); // the caller's to delete
    return definition && definition->name() ? CString(definition->name()) : CString();
}

BOOL CKXInstanceDetailsGridWnd::CanSwapPins() {
    // Nothing to swap until the user chose a pin.
    if (!CKXGenUtils::IsSwapPinsAllowed() || !HasSelectionOfTheUser()) return FALSE;
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.empty()) return FALSE;
    for (ROWCOL r : rows)
        if (IsImplicitPowerPinRow(r, nullptr) || IsDiffPairRow(r)) return FALSE;
    return m_pinNumbers->RowsTakeOnePinNumber(rows, false);
}

// One pin, or in a grid of several instances the same pin of instances of one physical part: the
// rows of other instances show the first row's pin number and their instances are packaged in a part
// of the first one's name (texts compared with case when asked).
bool KXPinGridPinNumbers::RowsTakeOnePinNumber(const std::vector<ROWCOL>& rows, bool withCase) {
    if (rows.empty() || m_grid.IsDiffPairRow(rows[0])) return false;
    auto differ = [withCase](const CString& a, const CString& b) {
        return (withCase ? a.Compare(b) : a.CompareNoCase(b)) != 0;
    };
    bool oneInstance = true;
    if (m_grid.m_bMultipleInstances) {
        const CString instance = m_grid.GetValueRowCol(rows[0], Col(m_grid.m_nColInstance));
        const CString number = m_grid.GetValueRowCol(rows[0], Col(m_grid.m_nColPinNumber));
        const CString part = RowPhysPartName(rows[0]);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (m_grid.IsRowHidden(rows[i])) continue;
            if (m_grid.IsDiffPairRow(rows[i]) ||
                differ(m_grid.GetValueRowCol(rows[i], Col(m_grid.m_nColPinNumber)), number))
                return false;
            if (m_grid.GetValueRowCol(rows[i], Col(m_grid.m_nColInstance)).CompareNoCase(instance) == 0)
                continue;
            oneInstance = false;
            if (part.IsEmpty() || differ(RowPhysPartName(rows[i]), part)) return false;
        }
    }
    if (!oneInstance) return true;
    std::vector<ROWCOL> targets;
    m_grid.CollectTargetRows(rows, targets, FALSE, -1, -1);
    return targets.size() <= 1;
}

BOOL CKXInstanceDetailsGridWnd::SwapPins(int bScripted, CString pinNumber) {
    if (!CKXGenUtils::IsSwapPinsAllowed() || !MayEdit()) return FALSE;
    const std::vector<ROWCOL> rows = RowsToSwap();
    if (rows.empty()) return FALSE;
    // One number goes to one pin of a part: several pins of one part would all take it.
    if (!m_pinNumbers->RowsTakeOnePinNumber(rows, false)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-487");
        return FALSE;
    }
    CInstTermBitContext first;
    if (!GetRowInstTermBitContext(rows[0], first)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-107");
        return FALSE;
    }
    CString chosen = pinNumber;
    if (!bScripted) {
        const CInstanceContext instance = GetRowInstance(rows[0]);
        const CString oldNumber = GetValueRowCol(rows[0], Col(m_nColPinNumber));
        // The dialog offers the numbers of the pin's swap group.
        CKXSwappinsDialog dialog(instance, GetValueRowCol(rows[0], Col(m_nColPinName)), oldNumber);
        if (dialog.DoModal() != IDOK) return FALSE;
        chosen = dialog.getSwappablePinNumber();
    }
    chosen.Trim();
    if (chosen.IsEmpty()) return FALSE;
    if (!m_pinNumbers->BeginSwapEdit()) return FALSE;
    CKXPinConnEdit edit(*this, m_designContext, "Swap Pins");
    if (!edit) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-620");
        return FALSE;
    }
    CTransaction* transaction = edit.Transaction();
    CString journal;
    bool swapped = false; // the journal is empty when none is recorded
    for (ROWCOL row : rows) {
        CInstTermBitContext bit;
        if (!GetRowInstTermBitContext(row, bit)) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-107");
            return FALSE;
        }
        const CString oldNumber = GetValueRowCol(row, Col(m_nColPinNumber));
        const CInstanceContext instance = GetRowInstance(row);
        // The dialog offers the pin's swap group; a number given by script is taken as it is.
        if (!bScripted &&
            !CKXSwappinsDialog::MaySwap(instance, GetValueRowCol(row, Col(m_nColPinName)), oldNumber, chosen))
            return FALSE;
        const ROWCOL other = FindPinRow(instance, Col(m_nColPinNumber), chosen, 0);
        if (other == row) continue;
        // A number that no pin of the instance carries leaves nothing to swap with: it carries a pin of
        // another instance of the package, or none.
        if (!other) {
            CKXSwappinsDialog::RefusePartner(instance, chosen);
            return FALSE;
        }
        CInstTermBitContext otherBit;
        if (!GetRowInstTermBitContext(other, otherBit)) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-107");
            return FALSE;
        }
        if (!transaction->addProperty(bit, "PN", chosen, kSwapPropertyFlags, false) ||
            !transaction->addProperty(otherBit, "PN", oldNumber, kSwapPropertyFlags, false))
            return FALSE;
        journal += JournalRowText(row, "Swap Pins", "SwapPins", chosen);
        swapped = true;
    }
    if (!swapped) {
        // Every pin has the chosen number already: nothing to swap.
        CKXErrorHandler::MessageBoxOk("KXTABLE-196", chosen);
        return FALSE;
    }
    if (!edit.Commit()) return FALSE;
    m_pinNumbers->RefreshPinNumberCells();
    if (IKXGridSite* site = Site()) site->MarkModified();
    WriteJournal(journal);
    return TRUE;
}

void KXPinGridPinNumbers::RefreshPinNumberCells() {
    kxpingrid::GridWriteScope scope(m_grid);
    std::vector<ROWCOL> pairRows;
    for (ROWCOL row = PIN_FIRST_ROW; row <= m_grid.GetRowCount(); ++row) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        if (pin) {
            const CString numbers =
                CKXGenUtils::GetPNProp(m_grid.GetRowInstance(row).instTerm(pin), msb, lsb);
            if (numbers != m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinNumber)))
                m_grid.SetValueRange(CGXRange(row, Col(m_grid.m_nColPinNumber)), numbers);
        } else if (m_grid.GetRowDPInstTerm(row)) {
            pairRows.push_back(row);
        }
    }
    for (ROWCOL row : pairRows)
        m_grid.JoinChildPinNumbers(row);
}
