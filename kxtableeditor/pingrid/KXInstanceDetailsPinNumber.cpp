// Assigning pin numbers from the pin grid: the candidate numbers of the
// current pin (the pin-number menu and the Assign Pin Number dialog), the host
// command "assignPinNumber" that every choice travels through, and its
// committing end, which exchanges pin numbers (or sections) inside the part.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXPinGridPinNumbers.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXPinDialogs.h"
#include "grid/KXScriptText.h"
#include "grid/KXGridSite.h"

#include "afx/afxmenu.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <cstring>

using kxpingrid::Col;

namespace {

constexpr UINT kFirstNumberCommand = 35545;
constexpr UINT kMoreCommand = 35550;
constexpr int kMenuNumbers = 5;
constexpr int kAllPins = 15;                       // generator flags: every pin of the part
constexpr unsigned long kPinNumberFlags = 2;       // pin numbers written by an exchange
constexpr unsigned long kSectionMoveFlags = 0x20;  // pin numbers moved with their section
constexpr int kPinBitKind = 8;                     // object kind of a pin bit named by path

// Stops a generator when it goes out of scope.
struct GenScope {
    HMTGEN gen;
    ~GenScope() {
        if (gen) hmtStopGen(gen);
    }
};

HMTPIN FindPin(HMTGEN gen, const char* interned) {
    if (!gen) return nullptr;
    hmtResetGen(gen);
    HMTPIN found = nullptr;
    while (HMTPIN pin = hmtGenPins(gen))
        if (hmtPinName(pin) == interned) {
            found = pin;
            break;
        }
    hmtResetGen(gen);
    return found;
}

} // namespace

KXPinGridPinNumbers::~KXPinGridPinNumbers() {
    if (m_hPinGenerator) hmtStopGen(m_hPinGenerator); // the candidates of the last pin-number menu
}

// The generator of the candidate pins of the current pin; null when the current row is no single
// pin bit of a packaged part.
ROWCOL KXPinGridPinNumbers::PinNumberRow() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (m_grid.GetCurrentCell(row, col) && row >= PIN_FIRST_ROW && row <= m_grid.GetRowCount()) return row;
    // Rows selected by key have no current cell: the first of them.
    const std::vector<ROWCOL> rows = m_grid.SelectedPinRows();
    return rows.empty() ? GX_INVALID : rows.front();
}

HMTGEN KXPinGridPinNumbers::CurrentPinCandidates() {
    const ROWCOL row = PinNumberRow();
    if (row == GX_INVALID || row < PIN_FIRST_ROW || row > m_grid.GetRowCount()) return nullptr;
    const CInstanceContext instance = m_grid.GetRowInstance(row);
    IServer* server = instance.server();
    if (!instance || !server) return nullptr;
    int msb = -1, lsb = -1;
    const CString name = m_grid.GetRowPinName(row, msb, lsb);
    if (msb != lsb) return nullptr;
    return server->partDataService()->getCandidatePins(instance, name.GetString(), lsb, msb);
}

void KXPinGridPinNumbers::KeepPinGenerator(HMTGEN gen) {
    if (m_hPinGenerator && m_hPinGenerator != gen) hmtStopGen(m_hPinGenerator);
    m_hPinGenerator = gen;
}

HMTGEN CKXInstanceDetailsGridWnd::BuildPinNumberMenu(CMenu* menu) {
    if (!menu) return nullptr;
    menu->DeleteMenu(0, MF_BYPOSITION);
    if (!m_pinNumbers->RowsTakeOnePinNumber(SelectedPinRows(), true)) return nullptr;
    m_pinNumbers->m_mapPinNumberMenu.clear();
    HMTGEN gen = m_pinNumbers->CurrentPinCandidates();
    if (!gen) return nullptr;
    m_pinNumbers->KeepPinGenerator(gen);
    int count = 0;
    hmtResetGen(gen);
    while (hmtGenPins(gen))
        ++count;
    hmtResetGen(gen);
    if (count < 2) return nullptr;
    UINT id = kFirstNumberCommand;
    while (HMTPIN pin = hmtGenPins(gen)) {
        if (id >= kFirstNumberCommand + kMenuNumbers) break;
        m_pinNumbers->m_mapPinNumberMenu[id] = hmtPinName(pin);
        menu->AppendMenu(MF_STRING, id++, hmtPinName(pin));
    }
    hmtResetGen(gen);
    menu->AppendMenu(MF_STRING, kMoreCommand, "More...");
    return gen;
}

BOOL CKXInstanceDetailsGridWnd::AssignPinNumberInHost(UINT commandId, BOOL useText, CString text) {
    if (!useText) {
        auto it = m_pinNumbers->m_mapPinNumberMenu.find(commandId);
        if (it == m_pinNumbers->m_mapPinNumberMenu.end() || !it->second) return FALSE;
        text = it->second;
    }
    if (text.IsEmpty()) return FALSE;
    // The number is one Tcl word, whatever characters it holds.
    const CString command = CString(KXScriptWord::assignPinNumber) + " pin " + KXTclQuote(text);
    CWnd* main = AfxGetMainWnd();
    const LRESULT answer =
        main ? main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(command.GetString()), 0) : 0;
    return answer == 2 ? 2 : answer != 0 ? TRUE : FALSE;
}

BOOL CKXInstanceDetailsGridWnd::SendAssignPinNumber() {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.empty()) return FALSE;
    CKXAssignPinDialog dialog(nullptr);
    if (HMTGEN gen = m_pinNumbers->CurrentPinCandidates()) m_pinNumbers->KeepPinGenerator(gen);
    if (m_pinNumbers->m_hPinGenerator) dialog.SetPinGenerator(m_pinNumbers->m_hPinGenerator);
    int msb = -1, lsb = -1;
    dialog.SetInstanceContext(GetRowInstance(rows[0]));
    dialog.SetPinInfo(static_cast<int>(rows[0]), GetRowPinName(rows[0], msb, lsb), msb, lsb,
                      GetValueRowCol(rows[0], Col(m_nColPinNumber)));
    if (dialog.DoModal() != IDOK) return FALSE;
    return AssignPinNumberInHost(kMoreCommand, TRUE, dialog.GetSelectedPinData());
}

// Whether every selected pin shows that number: giving it them changes nothing.
bool KXPinGridPinNumbers::SelectionHasPinNumber(const CString& number) {
    bool any = false;
    for (ROWCOL row : m_grid.SelectedPinRows()) {
        if (row < PIN_FIRST_ROW || row > m_grid.GetRowCount() || m_grid.IsRowHidden(row)) continue;
        if (m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinNumber)) != number) return false;
        any = true;
    }
    return any;
}

BOOL CKXInstanceDetailsGridWnd::CommitAssignPinNumber(CString number) {
    // With no pin chosen there is no pin to give the number (the cell the grid's activation placed is none).
    if (!HasSelectionOfTheUser()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-570");
        return FALSE;
    }
    if (m_pinNumbers->SelectionHasPinNumber(number)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-196", number.GetString());
        return FALSE;
    }
    HMTGEN gen = m_pinNumbers->CurrentPinCandidates();
    if (!gen) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-199");
        return FALSE;
    }
    m_pinNumbers->KeepPinGenerator(gen);
    const char* wanted = hmtHashSaveStrng(number.GetString());
    HMTPIN pin = FindPin(gen, wanted);
    const char* section = pin ? hmtGetSectionPinParentSection(pin) : nullptr;
    if (!pin || !section) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-198", number.GetString());
        return FALSE;
    }
    const ROWCOL current = m_pinNumbers->PinNumberRow();
    const CString journal = JournalRowText(current, "Assign Pin Numbers", "AssignPinNumber", number);
    CKXPinConnEdit edit(*this, m_designContext, "Assign Pin");
    if (!edit) return FALSE;
    BOOL any = FALSE;
    for (ROWCOL row : SelectedPinRows()) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row)) continue;
        CInstanceContext instance = GetRowInstance(row);
        if (!instance) continue;
        const CString oldNumber = GetValueRowCol(row, Col(m_nColPinNumber));
        const BOOL done =
            instance.instance()->isChips()
                ? m_pinNumbers->ExchangePinNumbers(&instance, oldNumber.GetString(), wanted)
                : m_functions->CheckAssignedSection(instance, section, FALSE, edit.Transaction());
        if (done) any = TRUE;
    }
    if (!any || !edit.Commit()) return FALSE;
    m_pinNumbers->RefreshPinNumberCells();
    if (IKXGridSite* site = Site()) site->MarkModified();
    WriteJournal(journal);
    return TRUE;
}

BOOL KXPinGridPinNumbers::ExchangePinNumbers(CInstanceContext* instance, const char* numberA,
                                             const char* numberB) {
    if (!instance || !*instance || !numberA || !numberB || std::strcmp(numberA, numberB) == 0) return FALSE;
    IServer* server = instance->server();
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    HMTPART part = server ? server->partDataService()->getPartDefinition(*instance) : nullptr;
    if (!part || !transaction) return FALSE;
    const char* a = hmtHashSaveStrng(numberA);
    const char* b = hmtHashSaveStrng(numberB);
    GenScope all{hmtStartGenPins(part, kAllPins)};
    HMTPIN pinA = FindPin(all.gen, a);
    HMTPIN pinB = FindPin(all.gen, b);
    if (!pinA || !pinB) return FALSE;
    const char* sectionA = hmtGetSectionPinParentSection(pinA);
    const char* sectionB = hmtGetSectionPinParentSection(pinB);
    if (sectionA == sectionB) {
        const ROWCOL rowA = m_grid.FindPinRow(*instance, Col(m_grid.m_nColPinNumber), a, 0);
        const ROWCOL rowB = m_grid.FindPinRow(*instance, Col(m_grid.m_nColPinNumber), b, 0);
        if (rowA && rowB) {
            CInstTermBitContext bitA, bitB;
            if (!m_grid.GetRowInstTermBitContext(rowA, bitA) ||
                !m_grid.GetRowInstTermBitContext(rowB, bitB)) {
                CKXErrorHandler::MessageBoxOk("KXTABLE-107");
                return FALSE;
            }
            return transaction->addProperty(bitA, "PN", b, kPinNumberFlags, false) &&
                   transaction->addProperty(bitB, "PN", a, kPinNumberFlags, false);
        }
    }
    // Another section: every pin of section A changes places with its namesake in section B. A section
    // another component of the package holds keeps its numbers there: the package would have two pins of one
    // number.
    const char* package = instance->physicalPackageName();
    const char* holder = package && *package && sectionB
                             ? server->partDataService()->getSectionHolder(*instance, package, sectionB)
                             : nullptr;
    if (holder && holder != hmtHashSaveStrng(instance->spath().GetString())) {
        CString name = holder;
        if (ISchemaObject* obj = server->findObject(instance->designContext(), holder)) name = obj->name();
        CKXErrorHandler::MessageBoxOk("KXTABLE-343", numberB, name);
        return FALSE;
    }
    BOOL any = FALSE;
    GenScope outer{hmtStartGenPins(part, kAllPins)};
    while (HMTPIN p = hmtGenPins(outer.gen)) {
        if (hmtGetSectionPinParentSection(p) != sectionA) continue;
        GenScope inner{hmtStartGenPins(part, kAllPins)};
        while (HMTPIN q = hmtGenPins(inner.gen)) {
            if (hmtGetSectionPinParentSection(q) != sectionB || hmtLogPinName(q) != hmtLogPinName(p)) continue;
            const char* pathP = m_grid.m_functions->CollectInstancePinNumbers(instance, hmtPinName(p));
            const char* pathQ = m_grid.m_functions->CollectInstancePinNumbers(instance, hmtPinName(q));
            if (pathP) {
                transaction->addProperty(kPinBitKind, pathP, "SEC", sectionB ? sectionB : "", kPinNumberFlags);
                transaction->addProperty(kPinBitKind, pathP, "PN", hmtPinName(q), kSectionMoveFlags);
            }
            if (pathQ) {
                transaction->addProperty(kPinBitKind, pathQ, "SEC", sectionA ? sectionA : "", kPinNumberFlags);
                transaction->addProperty(kPinBitKind, pathQ, "PN", hmtPinName(p), kSectionMoveFlags);
            }
            if (pathP || pathQ) {
                any = TRUE;
                break;
            }
        }
    }
    return any;
}
