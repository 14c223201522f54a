// Pin numbers of the physical part grid: the pin-number menu and dialog (which
// only echo "assignPinNumber" to the host), the assignment itself (a PN exchange
// within a section, a section exchange, or moving the instance to another
// section) and the swap of two pins.
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "grid/KXScriptWords.h"

#include "grid/KXGridEdit.h"
#include "grid/KXPartSections.h"

#include "grid/KXPinDialogs.h"

#include "grid/KXGridSite.h"
#include "grid/KXScriptText.h"

#include "afx/afxanswer.h"
#include "afx/afxmenu.h"
#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/packaging.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

using namespace kxphys;

namespace {

constexpr unsigned long kWriteFlags = 2;
constexpr unsigned long kSectionExchangeFlags = 32;
constexpr int kInstanceKind = 6;
constexpr int kPinBitKind = 8;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

IPartDataService* PartData() {
    return CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer->partDataService() : nullptr;
}

// Counts the generator's pins up to limit and rewinds it.
int CountPins(HMTGEN gen, int limit) {
    int n = 0;
    hmtResetGen(gen);
    while (n < limit && hmtGenPins(gen))
        ++n;
    hmtResetGen(gen);
    return n;
}

// The generator's pin with the (interned) number; rewinds it.
HMTPIN FindPin(HMTGEN gen, const char* number) {
    hmtResetGen(gen);
    HMTPIN found = nullptr;
    while (HMTPIN pin = hmtGenPins(gen))
        if (hmtPinName(pin) == number) {
            found = pin;
            break;
        }
    hmtResetGen(gen);
    return found;
}

// Splits a ';'-separated list.
std::vector<CString> SplitPaths(const char* list) {
    std::vector<CString> out;
    if (!list) return out;
    CString text = list;
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find(';', start);
        if (end < 0) end = text.GetLength();
        if (end > start) out.push_back(text.Mid(start, end - start));
        start = end + 1;
    }
    return out;
}

struct GenDeleter {
    void operator()(hmtGen_* gen) const { hmtStopGen(gen); }
};
using GenPtr = std::unique_ptr<hmtGen_, GenDeleter>;

} // namespace

void CKXPhysPartDetailsGridWnd::StopPinGen() {
    if (m_hPinGen) hmtStopGen(m_hPinGen);
    m_hPinGen = nullptr;
}

void CKXPhysPartDetailsGridWnd::ReplacePinGen(HMTGEN gen) {
    hmtResetGen(gen);
    StopPinGen();
    m_hPinGen = gen;
}

HMTGEN CKXPhysPartDetailsGridWnd::CandidateGenerator(ROWCOL row) {
    CInstTermBitContext bit;
    if (!GetInstTermOfRow(row, &bit)) return nullptr;
    IPartDataService* data = PartData();
    if (!data) return nullptr;
    int first = -1, second = -1;
    CString base;
    GetRowLogicalPin(base, row, &first, &second);
    return data->getCandidatePins(bit.instance(), base.GetString(), first, second);
}

bool CKXPhysPartDetailsGridWnd::RowsShareNumber(const std::vector<ROWCOL>& rows) {
    if (rows.empty()) return false;
    const CString number = GetValueRowCol(rows.front(), C(s_nPNCol));
    std::unique_ptr<IPhysPartDefn> firstDefn;
    CInstTermBitContext bit;
    if (GetInstTermOfRow(rows.front(), &bit))
        if (const CInstanceContext inst = bit.instance();
            std::unique_ptr<IPhysPartInst> p =
                std::unique_ptr<IPhysPartInst>(getPhysPartInst(&m_designContext, &inst)))
            firstDefn.reset(p->partDefn());
    for (ROWCOL r : rows) {
        if (!IsShownPinRow(r)) continue;
        if (GetValueRowCol(r, C(s_nPNCol)) != number) return false;
        CInstTermBitContext other;
        if (!GetInstTermOfRow(r, &other)) return false;
        const CInstanceContext otherInst = other.instance();
        std::unique_ptr<IPhysPartInst> p(getPhysPartInst(&m_designContext, &otherInst));
        std::unique_ptr<IPhysPartDefn> d(p ? p->partDefn() : nullptr);
        if (!d || !firstDefn || CString(d->name()).CompareNoCase(firstDefn->name()) != 0) return false;
    }
    return true;
}

CString CKXPhysPartDetailsGridWnd::PartWithTwoSelectedPins(const std::vector<ROWCOL>& rows) {
    std::set<CString> parts;
    for (ROWCOL r : rows) {
        CInstTermBitContext pin;
        if (!IsShownPinRow(r) || !GetInstTermOfRow(r, &pin)) continue;
        const CString part = StoredText(r, C(s_nPhysPartCol));
        if (!parts.insert(part).second) return part;
    }
    return CString();
}

// ---------------------------------------------------------------------------
// Menu and dialog: echo only

HMTGEN CKXPhysPartDetailsGridWnd::BuildPinNumberMenu(CMenu* menu) {
    std::vector<ROWCOL> rows;
    CRowColArray selected;
    GetSelectedRows(selected, FALSE, FALSE);
    for (INT_PTR i = 0; i < selected.GetSize(); ++i)
        rows.push_back(selected[i]);
    if (m_bObjectLoaded) {
        if (rows.empty() || !RowsShareNumber(rows)) return nullptr;
    } else if (rows.size() > 1) {
        return nullptr;
    }
    m_mapMenuIdToPinNumber.clear();
    ROWCOL row = 0, col = 0;
    GetCurrentCell(row, col);
    HMTGEN gen = CandidateGenerator(row);
    if (!gen) return nullptr;
    ReplacePinGen(gen);
    if (menu)
        for (UINT id = ID_PIN_NUMBER_FIRST; id <= ID_PIN_NUMBER_LAST; ++id)
            menu->RemoveMenu(id, MF_BYCOMMAND);
    if (CountPins(m_hPinGen, 2) < 2) return nullptr;
    int k = 0;
    while (HMTPIN pin = hmtGenPins(m_hPinGen)) {
        if (k == kPinNumberEntries) break;
        const UINT id = ID_PIN_NUMBER_FIRST + static_cast<UINT>(k++);
        if (menu) menu->AppendMenu(MF_STRING, id, hmtPinName(pin));
        m_mapMenuIdToPinNumber[id] = hmtPinName(pin);
    }
    hmtResetGen(m_hPinGen);
    if (k > 0 && menu) menu->AppendMenu(MF_STRING, ID_PIN_NUMBER_MORE, "More...");
    return m_hPinGen;
}

BOOL CKXPhysPartDetailsGridWnd::AssignPinNumberInHost(UINT id) {
    auto it = m_mapMenuIdToPinNumber.find(id);
    if (it == m_mapMenuIdToPinNumber.end()) return FALSE;
    return SendHostText(CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::assignPinNumber + " pin " +
                        KXTclListElement(it->second));
}

BOOL CKXPhysPartDetailsGridWnd::SendAssignPinNumber() {
    CKXAssignPinDialog dialog(nullptr);
    if (m_hPinGen) dialog.SetPinGenerator(m_hPinGen);
    const std::vector<ROWCOL> rows = SelectedRows();
    if (rows.empty()) return FALSE;
    const ROWCOL row = rows.front();
    CInstTermBitContext bit;
    if (!GetInstTermOfRow(row, &bit)) return FALSE;
    dialog.SetInstanceContext(bit.instance());
    int first = -1, second = -1;
    CString base;
    GetRowLogicalPin(base, row, &first, &second);
    dialog.SetPinInfo(static_cast<int>(row), base, first, second, GetValueRowCol(row, C(s_nPNCol)));
    if (dialog.DoModal() != IDOK) return FALSE;
    return SendHostText(CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::assignPinNumber + " pin " +
                        KXTclListElement(dialog.GetSelectedPinData()));
}

// ---------------------------------------------------------------------------
// The assignment

BOOL CKXPhysPartDetailsGridWnd::OnAssignPinNumber(CString pinNumber) {
    const char* wanted = hmtHashSaveStrng(pinNumber.GetString());
    ROWCOL row = 0, col = 0;
    GetCurrentCell(row, col);
    // With no pin chosen (a reload of the rows after an edit leaves none) there is no current pin to
    // give the number: the cell the grid's activation placed is none the user chose.
    if (!HasSelectionOfTheUser()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-570");
        return FALSE;
    }
    CInstTermBitContext bit;
    // A package pin without a logical pin has no candidate numbers.
    if (!GetInstTermOfRow(row, &bit)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-198", pinNumber);
        return FALSE;
    }
    // The number the pin has: nothing to move (its own section would be written back as it is).
    if (GetValueRowCol(row, C(s_nPNCol)) == pinNumber) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-196", pinNumber);
        return FALSE;
    }
    HMTGEN gen = PartData() ? CandidateGenerator(row) : nullptr;
    if (!gen) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-199");
        return FALSE;
    }
    ReplacePinGen(gen);
    if (CountPins(m_hPinGen, 2) < 2) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-198", pinNumber);
        return FALSE;
    }
    HMTPIN candidate = FindPin(m_hPinGen, wanted);
    const char* section = candidate ? hmtGetSectionPinParentSection(candidate) : nullptr;
    if (!candidate || !section) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-198", pinNumber);
        return FALSE;
    }
    const std::vector<ROWCOL> rows = SelectedRows();
    // One package pin takes one logical pin: two selected pins of one part cannot both take the number.
    if (const CString part = PartWithTwoSelectedPins(rows); !part.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-605", pinNumber, part);
        return FALSE;
    }
    CKXGridEdit edit(*this, "Assign Pin");
    if (!edit) return FALSE;
    // One journalled assignment per row, each selecting its pin by the number it has before the
    // pins move; a replay assigns them one by one to the same end, as the rows are of different
    // parts (each part's pins are its own).
    CString lines;
    for (ROWCOL r : rows) {
        CInstTermBitContext pin;
        if (!IsShownPinRow(r) || !GetInstTermOfRow(r, &pin)) continue;
        CInstanceContext inst = pin.instance();
        const CString current = GetValueRowCol(r, C(s_nPNCol));
        const CString selection =
            JournalRowEdit(r, "Assign Pin Number", "AssignPinNumber(" + Vbs(pinNumber) + ")");
        const BOOL done = inst.instance()->isChips()
                              ? ExchangePinNumbers(&inst, hmtHashSaveStrng(current.GetString()), wanted)
                              : AssignSection(&inst, section);
        if (done) lines += selection;
    }
    if (lines.IsEmpty()) return FALSE; // the bracket throws the empty edit away
    const BOOL committed = edit.Commit();
    if (committed) {
        MarkDocumentModified();
        Journal(lines);
    }
    return committed;
}

BOOL CKXPhysPartDetailsGridWnd::ExchangePinNumbers(CInstanceContext* inst, const char* current,
                                                   const char* wanted) {
    if (!inst || !*inst || !current || !wanted || std::strcmp(current, wanted) == 0) return FALSE;
    IPartDataService* data = PartData();
    HMTPART part = data ? data->getPartDefinition(*inst) : nullptr;
    if (!part) return FALSE;
    GenPtr genA(hmtStartGenPins(part, 15)), genB(hmtStartGenPins(part, 15));
    HMTPIN pinA = FindPin(genA.get(), hmtHashSaveStrng(current));
    HMTPIN pinB = FindPin(genB.get(), hmtHashSaveStrng(wanted));
    if (!pinA || !pinB) return FALSE;
    const char* sectionA = hmtGetSectionPinParentSection(pinA);
    const char* sectionB = hmtGetSectionPinParentSection(pinB);
    if (!sectionA || !sectionB) return FALSE;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!transaction) return FALSE;
    if (sectionA == sectionB) {
        const ROWCOL rowA = FindPinRowByValue(current, *inst, C(s_nPNCol), 0);
        const ROWCOL rowB = FindPinRowByValue(wanted, *inst, C(s_nPNCol), 0);
        // Both numbers must be pins of this instance: anything else would leave a pin number twice.
        if (!rowA || !rowB) return FALSE;
        const std::vector<CInstTermBitContext> bitsA = *GetRowPins(rowA);
        const std::vector<CInstTermBitContext> bitsB = *GetRowPins(rowB);
        for (const CInstTermBitContext& b : bitsA)
            transaction->addProperty(b, "PN", wanted, kWriteFlags, false);
        for (const CInstTermBitContext& b : bitsB)
            transaction->addProperty(b, "PN", current, kWriteFlags, false);
        return TRUE;
    }
    // Section exchange: every pin of section A moves to the pin of section B with its logical name.
    BOOL any = FALSE;
    GenPtr outer(hmtStartGenPins(part, 15));
    while (HMTPIN o = hmtGenPins(outer.get())) {
        if (hmtGetSectionPinParentSection(o) != sectionA) continue;
        GenPtr inner(hmtStartGenPins(part, 15));
        while (HMTPIN i = hmtGenPins(inner.get())) {
            if (hmtGetSectionPinParentSection(i) != sectionB || hmtLogPinName(i) != hmtLogPinName(o))
                continue;
            const char* pathsO = GetPinPathsByNumber(inst, hmtPinName(o));
            const char* pathsI = GetPinPathsByNumber(inst, hmtPinName(i));
            for (const CString& p : SplitPaths(pathsO)) {
                transaction->addProperty(kPinBitKind, p.GetString(), "SEC", sectionB, kWriteFlags, false);
                transaction->addProperty(kPinBitKind, p.GetString(), "PN", hmtPinName(i),
                                         kSectionExchangeFlags, false);
            }
            for (const CString& p : SplitPaths(pathsI)) {
                transaction->addProperty(kPinBitKind, p.GetString(), "SEC", sectionA, kWriteFlags, false);
                transaction->addProperty(kPinBitKind, p.GetString(), "PN", hmtPinName(o),
                                         kSectionExchangeFlags, false);
            }
            if (pathsO || pathsI) {
                any = TRUE;
                break;
            }
        }
    }
    return any;
}

const char* CKXPhysPartDetailsGridWnd::GetPinPathsByNumber(CInstanceContext* inst, const char* pinNumber) {
    if (!inst || !*inst || !pinNumber) return nullptr;
    if (const char* package = inst->physicalPackageName()) {
        if (const std::vector<CInstTermBitContext>* bits =
                m_mapPins.Find(m_mapPins.Key(package, pinNumber))) {
            CString joined;
            for (const CInstTermBitContext& b : *bits) {
                if (!joined.IsEmpty()) joined += ";";
                joined += b.spath();
            }
            return joined.IsEmpty() ? nullptr : hmtHashSaveStrng(joined.GetString());
        }
    }
    for (IInstTerm* pin : inst->instance()->beginInstTerm()) {
        CInstTermContext pc = inst->instTerm(pin);
        for (int b : pin->bits()) {
            CInstTermBitContext bc = pc.bitContext(b);
            if (CKXGenUtils::GetPinNumber(bc) == pinNumber) return hmtHashSaveStrng(bc.spath().GetString());
        }
    }
    return nullptr;
}

BOOL CKXPhysPartDetailsGridWnd::AssignSection(CInstanceContext* inst, const char* section) {
    if (!inst || !*inst || !section) return FALSE;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!transaction) return FALSE;
    IPartDataService* data = PartData();
    const char* package = inst->physicalPackageName();
    const char* holder = package && data ? data->getSectionHolder(*inst, package, section) : nullptr;
    const char* own = hmtHashSaveStrng(inst->spath().GetString());
    std::unique_ptr<CPQPropertyData> old(inst->findProperty("SEC"));
    const CString oldSection = old ? CString(old->value()) : CString();
    if (holder && holder != own) {
        CString name = holder;
        if (std::unique_ptr<CContext> c(inst->server()->getContext(m_designContext, holder)); c)
            if (auto* ic = dynamic_cast<CInstanceContext*>(c.get())) name = ic->name();
        if (CKXErrorHandler::MessageBoxOkCancel("KXTABLE-133", name) != IDOK) return FALSE;
        // The other instance takes this one's section, so that no section is held twice.
        transaction->addProperty(kInstanceKind, holder, "SEC", oldSection.GetString(), kWriteFlags, false);
        if (std::unique_ptr<CContext> c(inst->server()->getContext(m_designContext, holder)); c)
            if (auto* other = dynamic_cast<CInstanceContext*>(c.get()))
                KXNumberPinsForSection(*transaction, *other, oldSection.GetString());
    }
    transaction->addProperty(*inst, "SEC", section, kWriteFlags, false);
    KXNumberPinsForSection(*transaction, *inst, section);
    if (Site() && Site()->ViewMode() == eOpenModePhysical)
        if (IKXMessageServer* server = GetKXMsgSrvr()) {
            const CDesignContext top = CKXGenUtils::GetTopMostParent(m_designContext);
            if (top && top.design() && m_designContext.design()) {
                MarkDocumentModified();
                const CString topName = top.design()->name();
                const CString name = m_designContext.design()->name();
                server->Broadcast(MSG_TOP_DESIGN_MODIFIED, reinterpret_cast<WPARAM>(topName.GetString()),
                                  reinterpret_cast<LPARAM>(name.GetString()), 0);
            }
        }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Swapping

BOOL CKXPhysPartDetailsGridWnd::CanSwapPins() {
    // Nothing to swap until the user chose a pin.
    if (!CKXGenUtils::IsSwapPinsAllowed() || !HasSelectionOfTheUser()) return FALSE;
    const std::vector<ROWCOL> rows = SelectedRows();
    if (!m_bObjectLoaded) return rows.size() <= 2;
    if (rows.size() == 1) return TRUE;
    const CString firstPart = GetValueRowCol(rows.front(), C(s_nPhysPartCol));
    bool otherPart = false;
    for (ROWCOL r : rows)
        if (GetValueRowCol(r, C(s_nPhysPartCol)) != firstPart) otherPart = true;
    if (!otherPart) return FALSE;
    return RowsShareNumber(rows) ? TRUE : FALSE;
}

BOOL CKXPhysPartDetailsGridWnd::SwapPins(int bNoDialog, CString pinNumber) {
    if (!CKXGenUtils::IsSwapPinsAllowed()) return FALSE;
    const std::vector<ROWCOL> rows = RowsToSwap();
    if (rows.empty()) return FALSE;
    CInstTermBitContext first;
    if (!GetInstTermOfRow(rows.front(), &first)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-107");
        return FALSE;
    }
    CKXSwappinsDialog dialog(first.instance(), GetValueRowCol(rows.front(), C(s_nPinNameCol)),
                             GetValueRowCol(rows.front(), C(s_nPNCol)), nullptr);
    if (bNoDialog)
        dialog.SetSwappablePinNo(pinNumber);
    else if (dialog.DoModal() != IDOK)
        return FALSE;
    const CString target = dialog.getSwappablePinNumber();
    CKXGridEdit edit(*this, "Swap Pins");
    if (!edit) {
        AfxMessageBox("Illegal Transaction");
        return FALSE;
    }
    CTransaction* transaction = edit.Transaction();
    auto refuse = []() { // leaving throws the edit away
        CKXErrorHandler::MessageBoxOk("KXTABLE-107");
        return FALSE;
    };
    bool written = false;
    CString lines; // each row's swap, selected by the pin number it has before the swap
    for (ROWCOL r : rows) {
        const std::vector<CInstTermBitContext>* mine = GetRowPins(r);
        if (!mine) return refuse();
        const CString old = GetValueRowCol(r, C(s_nPNCol));
        if (target.IsEmpty() || target == old) continue;
        // The dialog offers the pin's swap group; a number given by script is taken as it is.
        if (!bNoDialog && !CKXSwappinsDialog::MaySwap(mine->front().instance(),
                                                      GetValueRowCol(r, C(s_nPinNameCol)), old, target))
            return FALSE;
        lines += JournalRowEdit(r, "Swap Pins", "SwapPins(" + Vbs(target) + ")");
        const ROWCOL other = FindPinRowByValue(target, mine->front().instance(), C(s_nPNCol), 0);
        // A pin number that no row of the instance carries leaves nothing to swap with: it carries a pin
        // of another instance of the package, or none.
        if (!other) {
            CKXSwappinsDialog::RefusePartner(mine->front().instance(), target);
            return FALSE; // leaving throws the edit away
        }
        const std::vector<CInstTermBitContext>* theirs = GetRowPins(other);
        if (!theirs) return refuse();
        const std::vector<CInstTermBitContext> a = *mine, b = *theirs;
        for (const CInstTermBitContext& bit : a)
            transaction->addProperty(bit, "PN", target.GetString(), kWriteFlags, false);
        for (const CInstTermBitContext& bit : b)
            transaction->addProperty(bit, "PN", old.GetString(), kWriteFlags, false);
        written = true;
    }
    if (!written) {
        // Every pin has the chosen number already: nothing to swap.
        if (!target.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-196", target);
        return FALSE;
    }
    if (!edit.Commit()) return FALSE;
    MarkDocumentModified();
    Journal(lines);
    return TRUE;
}
