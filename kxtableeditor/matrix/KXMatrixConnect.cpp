// Connections typed into the matrix: a pin name into a PIN_NAME cell or a pin
// number into a PN cell connects that pin bit to the row's signal, an emptied
// cell disconnects it; the text goes to the same row of every selected group.
// Each edit is one grid transaction, echoed to the host and journalled as the
// pane's MatrixConnect call, which replays it.
#include "matrix/KXMatrixGridWnd.h"
#include "grid/KXScriptWords.h"

#include "grid/KXDiffPairLegs.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"

#include <algorithm>

using namespace kxmatrix;
using kxgrid::GridWriteScope;

namespace {

constexpr int kAnswerNo = 7;

ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

unsigned Bit(int bit) {
    return static_cast<unsigned>(bit);
}

} // namespace

// ------------------------------------------------------------------ the cell edit

CString CKXMatrixGridWnd::EditedText(ROWCOL row, ROWCOL col, bool trimmed) {
    CGXControl* control = GetControl(row, col);
    CString text;
    if (control && control->IsActive())
        control->GetCurrentText(text);
    else
        text = GetValueRowCol(row, col);
    if (trimmed) text.Trim();
    return text;
}

BOOL CKXMatrixGridWnd::OnValidateCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == kFilterRow) {
        // A filter changes no design: its store is no undo step, whichever key stores it.
        m_bStoringEdit = FilterRows(nCol);
        return m_bStoringEdit;
    }
    if (nRow >= kFirstDataRow && IsPropertyColumn(static_cast<int>(nCol))) {
        m_bStoringEdit = ChangeCellProperty(nRow, nCol, EditedText(nRow, nCol, false));
        // The cell stores the value the design took, without the blanks typed around it.
        if (CGXControl* control = GetControl(nRow, nCol); m_bStoringEdit && control && control->IsActive())
            control->SetCurrentText(EditedText(nRow, nCol));
        return m_bStoringEdit;
    }
    int offset = -1, group = -1;
    if (nRow < kFirstDataRow || !DecodeInstanceColumn(static_cast<int>(nCol), offset, group)) return TRUE;
    const CString old = CellText(nRow, static_cast<int>(nCol));
    const BOOL ok = CommitPendingConnections(nRow, nCol, EditedText(nRow, nCol));
    m_bStoringEdit = ok;
    if (!ok) {
        // A refused edit gives the cell back its stored value and keeps it current.
        if (CGXControl* control = GetControl(nRow, nCol); control && control->IsActive()) {
            control->SetCurrentText(old);
            control->SetModify(FALSE);
        }
    }
    return ok;
}

std::vector<int> CKXMatrixGridWnd::EditColumns(ROWCOL col) {
    std::vector<int> columns;
    int offset = -1, group = -1;
    if (!DecodeInstanceColumn(static_cast<int>(col), offset, group)) return columns;
    if (!m_bPastingConnections) {
        CRowColArray selected;
        GetSelectedCols(selected, FALSE, FALSE);
        for (INT_PTR i = 0; i < selected.GetSize(); ++i) {
            int o = -1, g = -1;
            if (SplitColumn(static_cast<int>(selected[i]), o, g) && o == offset) columns.push_back(static_cast<int>(selected[i]));
        }
    }
    columns.push_back(static_cast<int>(col));
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    return columns;
}

BOOL CKXMatrixGridWnd::CommitPendingConnections(ROWCOL row, ROWCOL col, const CString& text) {
    if (!MayEdit()) return FALSE;
    const std::vector<int> columns = EditColumns(col);
    if (columns.empty()) return FALSE;
    // An edit opened by the caller (the pane's paste or delete) is joined and left to it; a refused
    // edit takes back what it did in it (a pin it took off the row before the pin it was to put there
    // was refused), so that the caller's other edits stand alone.
    // An emptied cell is a delete: its step is named as the pane's Delete names it, on every road.
    CKXGridEdit edit(*this, text.IsEmpty() ? "Delete Connections" : "Add Conn", CKXGridEdit::kNested);
    if (!edit) return FALSE;
    m_cellWrites.clear();
    m_retainJournal.clear();
    m_editNets.clear();
    m_bEditCarriedPupds = false;
    struct Done {
        int col;
        CString old;
    };
    std::vector<Done> done;
    bool shownAlready = false;
    for (int c : columns) {
        const CString old = CellText(row, c);
        if (!text.IsEmpty() && old.CompareNoCase(text) == 0) {
            shownAlready = true;
            continue;
        }
        if (text.IsEmpty() && old.IsEmpty()) continue;
        if (!old.IsEmpty() && !RemoveCellConnection(row, c, text.IsEmpty())) continue;
        if (!text.IsEmpty() && !ConnectPinToSignal(row, c, text)) {
            m_cellWrites.clear();
            m_retainJournal.clear();
            return FALSE;
        }
        done.push_back({c, old});
    }
    if (done.empty() && shownAlready) SayRefusal([text] { CKXErrorHandler::MessageBoxOk("KXTABLE-348", text); });
    if (!FinishCellWrites(!done.empty() && edit.Commit())) return FALSE;
    MarkModified();
    // The connections, then what the user left behind when a pin moved (as a replay needs it): the calls
    // of the one step the edit is.
    CString lines;
    for (const Done& d : done)
        EchoAndJournal(row, d.col, d.old, text, true, &lines);
    std::vector<KXJournalLines> retained;
    retained.swap(m_retainJournal);
    for (const KXJournalLines& left : retained)
        lines += left.Text();
    KXWriteJournalOfOneStep(lines, static_cast<int>(done.size() + retained.size()));
    // Pull-ups carried along can show on any row (through aliases); otherwise only the edited nets'
    // rows can be new or changed.
    RefreshPupdCells(m_bEditCarriedPupds ? std::vector<unsigned>() : m_editNets);
    return TRUE;
}

BOOL CKXMatrixGridWnd::ConnectPinToSignal(ROWCOL row, int col, const CString& text) {
    int offset = -1, group = -1;
    if (!SplitColumn(col, offset, group)) return FALSE;
    const char* why = "KXTABLE-119";
    const CInstTermBit pinBit = PinOfField(col, text, why);
    int netBit = -1;
    INet* net = GetCellNetBit(row, netBit);
    CTransaction* tx = CKXTransaction::GetCurrentTransactionObj();
    if (!pinBit || !net || !tx) return RefuseField(pinBit ? "KXTABLE-119" : why, group, text);
    const CInstTermBitContext context =
        GroupInstance(group).instTerm(pinBit.instTerm()).bitContext(pinBit.bit());
    if (offset == Layout().m_nPinNameOffset)
        return MovePinToRow(*tx, row, group, pinBit, CKXGenUtils::GetPinLogicalName(context), text,
                            context.physicalPinName());
    return MovePinToRow(*tx, row, group, pinBit, text, PinText(pinBit.instTerm(), pinBit.bit()), text);
}

CInstTermBit CKXMatrixGridWnd::PinOfField(int col, const CString& text, const char*& why) {
    why = "KXTABLE-119";
    int offset = -1, group = -1;
    const CInstanceContext instance =
        SplitColumn(col, offset, group) ? GroupInstance(group) : CInstanceContext();
    if (!instance) return CInstTermBit();
    if (offset == Layout().m_nPinNameOffset) {
        CString base = text;
        int lsb = -1, msb = -1;
        if (CSchemaUtilities::parsePinName(text.GetString(), base, lsb, msb) && msb != lsb) {
            why = "KXTABLE-120";
            return CInstTermBit();
        }
        IInstTerm* pin = instance.instance()->findInstTerm(base.GetString());
        const bool bitExists = pin && (pin->isScalar() ? msb < 0 : msb >= 0 && pin->hasBit(msb));
        return bitExists ? CInstTermBit(pin, pin->isScalar() ? -1 : msb) : CInstTermBit();
    }
    for (IInstTerm* pin : instance.instance()->beginInstTerm())
        for (int bit : pin->bits())
            if (instance.instTerm(pin).bitContext(bit).physicalPinName().CompareNoCase(text) == 0)
                return CInstTermBit(pin, bit);
    return CInstTermBit();
}

BOOL CKXMatrixGridWnd::RefuseField(const char* id, int group, const CString& text) {
    if (!m_bPastingConnections) {
        CKXErrorHandler::MessageBoxOk(id);
        return FALSE;
    }
    const CInstanceContext instance = GroupInstance(group);
    const CString name = instance ? CString(instance.instance()->name()) : CString();
    SayRefusal([name, text] { CKXErrorHandler::MessageBoxOk("KXTABLE-420", name, text); });
    return FALSE;
}

void CKXMatrixGridWnd::SayRefusal(std::function<void()> say) {
    if (!m_bPastingConnections) say();
    else if (!m_pasteRefusal) m_pasteRefusal = std::move(say);
}

BOOL CKXMatrixGridWnd::MovePinToRow(CTransaction& tx, ROWCOL row, int group, const CInstTermBit& pinBit,
                                    const CString& what, const CString& pinName, const CString& pinNumber) {
    int netBit = -1;
    INet* net = GetCellNetBit(row, netBit);
    if (!net) return FALSE;
    // A pin that moves to a no-connect net leaves its termination behind; one that moves elsewhere
    // keeps it, and its old net's pull-ups come along, as the user answers.
    const CNetBit old = pinBit.netbitOuter();
    NoteEditNet(net);
    if (old) NoteEditNet(old.net());
    if (!ReleaseConnectedPin(tx, row, pinBit, group, what)) return FALSE;
    const RetainAnswer keep = AskRetain(pinBit, old, net);
    const bool toNoConnect = CKXGenUtils::IsNC(net->name()) != 0;
    if (!tx.addConn(net, Bit(netBit), Bit(netBit), pinBit.instTerm(), Bit(pinBit.bit()), Bit(pinBit.bit()), 0))
        return FALSE;
    const CInstanceContext instance = GroupInstance(group);
    const CInstTermBitContext context = instance.instTerm(pinBit.instTerm()).bitContext(pinBit.bit());
    if (!toNoConnect) CarryPupds(tx, row, old, CNetBit(net, netBit), keep.pupds);
    // The termination the user lets go goes after the carried pull-ups are made, as the journal's Delete
    // after the connect takes it in a replay: the pull-ups' reference designators are the replay's.
    const bool dropped = (toNoConnect || !keep.termination) && DeleteTermination(tx, pinBit);
    if (dropped && !toNoConnect) NoteDroppedTermination(row, group, PinText(pinBit.instTerm(), pinBit.bit()));
    m_cellWrites.push_back([=, this] { WriteConnectionCells(row, group, context, pinName, pinNumber); });
    AutoConnectDiffPairLeg(tx, pinBit);
    return TRUE;
}

bool CKXMatrixGridWnd::ReleaseConnectedPin(CTransaction& tx, ROWCOL row, const CInstTermBit& pinBit, int group,
                                           const CString& what) {
    const CNetBit old = pinBit.netbitOuter();
    if (!old) return true;
    // Already on the row's signal (shown on another of its rows): nothing moves.
    int rowBit = -1;
    IInstance* instance = pinBit.instance();
    if (old.net() == GetCellNetBit(row, rowBit) && old.bit() == rowBit) {
        const CString pin = PinText(pinBit.instTerm(), pinBit.bit());
        const CString component = instance ? CString(instance->name()) : CString();
        const CString signal = CellText(row, Layout().m_nNameCol);
        SayRefusal([pin, component, signal] { CKXErrorHandler::MessageBoxOk("KXTABLE-580", pin, component, signal); });
        return false;
    }
    IDesign* owner = instance ? instance->master() : nullptr;
    if (CKXErrorHandler::MessageBoxYesNo("KXTABLE-140", what, instance ? instance->name() : "",
                                         owner ? owner->name() : (instance ? instance->cellName() : "")) == kAnswerNo)
        return false;
    if (!tx.removeConn(old.net(), Bit(old.bit()), Bit(old.bit()), pinBit.instTerm(), Bit(pinBit.bit()),
                       Bit(pinBit.bit()), 0))
        return false;
    for (ROWCOL shown : m_rowIndex.Rows(KXRowKey::PinBit(pinBit.id(), pinBit.bit())))
        if (RowShowsPin(shown, group, pinBit.id(), pinBit.bit()))
            m_cellWrites.push_back([=, this] { ClearGroupCells(shown, group); });
    return true;
}

BOOL CKXMatrixGridWnd::RemoveCellConnection(ROWCOL row, int col, BOOL bClearCells) {
    int offset = -1, group = -1;
    if (!SplitColumn(col, offset, group)) return FALSE;
    int pinBit = -1, netBit = -1;
    IInstTerm* pin = GetCellInstTermBit(row, col, pinBit);
    INet* net = GetCellNetBit(row, netBit);
    CTransaction* tx = CKXTransaction::GetCurrentTransactionObj();
    if (!pin || !net || !tx) return FALSE;
    const CNetBit on = pin->netBit(pinBit);
    if (on.net() != net || on.bit() != netBit) return FALSE;
    if (!tx->removeConn(net, Bit(netBit), Bit(netBit), pin, Bit(pinBit), Bit(pinBit), 0)) return FALSE;
    NoteEditNet(net);
    DeleteTermination(*tx, CInstTermBit(pin, pinBit));
    if (bClearCells) m_cellWrites.push_back([=, this] { ClearGroupCells(row, group); });
    return TRUE;
}

void CKXMatrixGridWnd::AutoConnectDiffPairLeg(CTransaction& tx, const CInstTermBit& leg) {
    // The partner leg joins the same edit; its cells follow once the edit is committed.
    if (!KXAutoConnectDpLegAsked()) return;
    if (std::optional<CConn> other = KXConnectOtherLeg(tx, leg)) {
        NoteEditNet(other->net());
        m_cellWrites.push_back([this, conn = *other] { FillPinRows(conn, 1); });
    }
}

void CKXMatrixGridWnd::NoteEditNet(const INet* net) {
    // (An empty list would refresh every row: a net that is gone names none.)
    m_editNets.push_back(net ? net->id() : 0u);
}

BOOL CKXMatrixGridWnd::FinishCellWrites(bool committed) {
    // The cells show an edit only once the design has it.
    std::vector<std::function<void()>> writes;
    writes.swap(m_cellWrites);
    if (!committed) return FALSE;
    GridWriteScope write(*this);
    for (const auto& w : writes)
        w();
    return TRUE;
}

bool CKXMatrixGridWnd::DeleteTermination(CTransaction& tx, const CInstTermBit& bit) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    api->setInstTermBit(bit);
    IDTInstance* termination = api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
    return termination && tx.removeDTInstance(termination);
}

// ------------------------------------------------------------------ deleting

BOOL CKXMatrixGridWnd::DeleteConnections() {
    if (IsReadOnlyWindow()) return FALSE;
    CKXGridEdit edit(*this, "Remove Conn", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    m_cellWrites.clear();
    struct Removed {
        ROWCOL row;
        int col;
        CString old;
        CString signal, index; // the cell's row as a journal selects it: the signal's index-th row
    };
    std::vector<Removed> removed;
    // The pins of the selected pin cells, each once, however many of its group's cells are selected.
    for (const PinCell& cell : SelectedPinCells(true)) {
        const int pinNameCol = ColumnOf(cell.group, Layout().m_nPinNameOffset);
        const CString old = CellText(cell.row, pinNameCol);
        int bit = -1;
        INet* net = GetCellNetBit(cell.row, bit);
        CString signal, index;
        if (net) {
            const std::vector<ROWCOL> rows = SignalRows(net->id(), bit);
            signal = SignalName(net, bit);
            index.Format("%d", static_cast<int>(std::find(rows.begin(), rows.end(), cell.row) - rows.begin()));
        }
        if (RemoveCellConnection(cell.row, pinNameCol, TRUE)) removed.push_back({cell.row, pinNameCol, old, signal, index});
    }
    if (!FinishCellWrites(!removed.empty() && edit.Commit())) return FALSE;
    MarkModified();
    // Several cells replay as one Delete of them all selected again: the one step made here.
    const bool together = removed.size() > 1;
    for (const Removed& r : removed)
        EchoAndJournal(r.row, r.col, r.old, CString(), !together);
    if (together && KXJournalLines::IsRecording()) {
        KXJournalLines journal(JournalHandle());
        journal.Comment("Delete").Pane("OpenMatrixView", {m_strViewName});
        bool first = true;
        for (const Removed& r : removed) {
            const CString column = GetSortKeyOfCol(r.col);
            journal.Pane("MatrixSelectRow", {r.signal, r.index, column, column, first ? "0" : "1"});
            first = false;
        }
        journal.Pane("Delete").End().Write();
    }
    return TRUE;
}

BOOL CKXMatrixGridWnd::CanDelete() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < kFirstDataRow) return FALSE;
    int offset = -1, group = -1;
    if (DecodeInstanceColumn(static_cast<int>(col), offset, group)) {
        CGXControl* control = GetControl(row, col);
        if (control && control->IsActive()) return FALSE;
        int bit = -1;
        return GetCellInstTermBit(row, static_cast<int>(col), bit) != nullptr;
    }
    if (IsCurrentCellTerminationCol()) return CurrentPinHasTermination(); // over several rows too
    if (static_cast<int>(col) != Layout().m_nPupdCol) return FALSE;
    // (The cell's value names its signal bit, whatever it shows: the net bits say what they carry.)
    for (const SignalRow& signal : CollectSelectedNetBits())
        if (HasAnyPupd(signal)) return TRUE;
    return FALSE;
}

// The caption of the current cell's column when it shows what the pins or signals carry (Termination,
// Pull Up/Down) rather than a pin: empty on a pin cell.
CString CKXMatrixGridWnd::CurrentAssocColumnCaption() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (IsCurrentCellTerminationCol()) return "Termination";
    if (GetCurrentCell(row, col) && static_cast<int>(col) == Layout().m_nPupdCol) return "Pull Up/Down";
    return CString();
}

// A Termination or Pull Up/Down cell with nothing in it: its pins or net bits lack that, not a
// connection (the pins of the row may well be connected).
const char* CKXMatrixGridWnd::NothingToDeleteCause() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (IsCurrentCellTerminationCol()) return KXCause::kNoTermination;
    if (GetCurrentCell(row, col) && static_cast<int>(col) == Layout().m_nPupdCol) return KXCause::kNoPupd;
    return KXCause::kNoConnection;
}

void CKXMatrixGridWnd::GetDeleteScriptCommand(CString& command) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    GetCurrentCell(row, col);
    command = static_cast<int>(col) == Layout().m_nPupdCol ? KXScriptWord::deletePupd
              : IsCurrentCellTerminationCol()           ? KXScriptWord::deleteTermination
                                                        : KXScriptWord::deleteConnection;
    command += " pin";
}

// ------------------------------------------------------------------ by name (script and journal)

INet* CKXMatrixGridWnd::NetOfName(const CString& signal, int& bit) {
    CString base;
    int first = -1, second = -1;
    bit = -1;
    INet* net = m_designContext && CKXGenUtils::ParseSignalName(signal, base, first, second)
                    ? m_designContext.design()->findNet(base.GetString())
                    : nullptr;
    if (!net || first != second || (!net->isScalar() && !net->hasBit(first))) return nullptr;
    bit = net->isScalar() ? -1 : first;
    return net;
}

BOOL CKXMatrixGridWnd::ConnectByName(const CString& signal, const CString& instance, const CString& column,
                                     const CString& oldText, const CString& newText) {
    int bit = -1;
    INet* net = NetOfName(signal, bit);
    const CInstanceContext inst = m_designContext ? m_designContext.instance(instance.GetString()) : CInstanceContext();
    const int offset = column.CompareNoCase("PN") == 0 ? Layout().m_nPnOffset
                       : column.CompareNoCase("PIN_NAME") == 0 ? Layout().m_nPinNameOffset : -1;
    if (!net || !inst || offset < 0) return FALSE;
    // A replayed journal may name a signal or an instance its view does not show yet: they join it
    // as a drop would add them.
    if (GroupOf(inst.instance()->id()) < 0) DropInstance(inst.instance()->name());
    if (SignalRows(net->id(), bit).empty()) DropSignal(SignalName(net, bit));
    const int group = GroupOf(inst.instance()->id());
    if (group < 0) return FALSE;
    const int col = ColumnOf(group, offset);
    ROWCOL row = 0;
    for (ROWCOL r : SignalRows(net->id(), bit))
        if (CellText(r, col).CompareNoCase(oldText) == 0) {
            row = r;
            break;
        }
    // Without an old text the row that shows the new text already answers for it, before a free one.
    if (!row && oldText.IsEmpty())
        for (ROWCOL r : SignalRows(net->id(), bit))
            if (CellText(r, col).CompareNoCase(newText) == 0) {
                row = r;
                break;
            }
    if (!row && oldText.IsEmpty()) row = FreeRowOfSignal(net->id(), bit, group);
    if (!row) return FALSE;
    SetCurrentCell(row, Col(col));
    SelectRange(CGXRange(row, Col(col)), TRUE, FALSE);
    return CommitPendingConnections(row, Col(col), newText);
}

void CKXMatrixGridWnd::EchoAndJournal(ROWCOL row, int col, const CString& oldText, const CString& newText,
                                      bool journal, CString* gathered) {
    int offset = -1, group = -1;
    SplitColumn(col, offset, group);
    const CInstanceContext instance = GroupInstance(group);
    const CString signal = CellText(row, Layout().m_nNameCol);
    const CString column = offset == Layout().m_nPnOffset ? "PN" : "PIN_NAME";
    const CString instanceName = instance ? CString(instance.instance()->name()) : CString();
    if (CWnd* main = AfxGetMainWnd()) {
        m_bEchoing = TRUE;
        CTclArgsList select;
        select.Add(KXScriptWord::selectWindow);
        select.Add("ccp");
        main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&select), 0);
        CTclArgsList word;
        word.Add(KXScriptWord::matrixConnect);
        word.Add("pin");
        for (const CString& value : {signal, instanceName, column, newText, oldText})
            word.Add(value);
        main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&word), 0);
        m_bEchoing = FALSE;
    }
    if (!journal) return;
    KXJournalLines lines(JournalHandle());
    lines.Comment("Matrix Connection")
        .Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixConnect", {signal, instanceName, column, oldText, newText})
        .OwnStep()
        .End();
    if (gathered)
        *gathered += lines.Text();
    else
        lines.Write();
}
