// The list grids of the panes: component lists, instances, signals, physical parts and nets.
#include "kxinstsigpane/KXListPanes.h"

#include "KXListPaneChange.h"
#include "KXListPaneText.h"
#include "KXPowerPinTies.h"

#include <limits>

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxnotes/CComments.h"

IMPLEMENT_DYNAMIC(CKXComponentListGrid, CKXListPaneGrid)
IMPLEMENT_DYNAMIC(CKXInstancePaneGrid, CKXComponentListGrid)
IMPLEMENT_DYNAMIC(CKXSignalPaneGrid, CKXListPaneGrid)
IMPLEMENT_DYNAMIC(CKXPhysPartGrid, CKXComponentListGrid)
IMPLEMENT_DYNAMIC(CKXPhysNetGrid, CKXListPaneGrid)

ROWCOL CKXInstancePaneGrid::m_nInstanceCol = 1;

using namespace kxlistpane;

// ------------------------------------------------------------------------------------------------ component lists

BOOL CKXComponentListGrid::RenameTableInstance(CString oldName, CString newName) {
    Record("RenameTableInstance", {oldName, newName});
    if (newName.IsEmpty()) return FALSE;
    TellRenamed(oldName, newName); // also when the row followed the rename's commit already
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] != oldName) continue;
        m_names[i] = newName;
        m_bInOrder = false; // the row keeps its place: a refill puts it in order again
        ShowRow(static_cast<ROWCOL>(i + 1));
        return TRUE;
    }
    return FALSE;
}

void CKXComponentListGrid::TellRenamed(const CString& oldName, const CString& newName) {
    // The physical list's rows are parts: the details view follows their reference designators itself.
    if (!IsKindOf(RUNTIME_CLASS(CKXInstancePaneGrid))) return;
    CCommonInterface* details = Details();
    const CDesignContext* design = Design();
    if (!details || !design) return;
    if (IInstance* renamed = design->instance(newName.GetString()).instance()) details->RenameComponent(renamed, oldName);
}

void CKXComponentListGrid::AutoAssignModelToDiscretes() {
    Record("AutoAssignModelToDiscretes");
    // Which model a discrete part takes comes from the host's model library; none is installed here.
    CKXErrorHandler::MessageBoxOk("KXPANE-455");
}

// ------------------------------------------------------------------------------------------------ instances

bool CKXInstancePaneGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    if (!object || object->objectType() != 'I') return false;
    const CInstanceContext inst = design.instance(static_cast<IInstance*>(object));
    if (!inst.instance()) return false;
    entry.name = inst.name();
    entry.path = inst.spath();
    const CString master = inst.instance()->masterName();
    // "lib.cell:view": the cell is between the point and the colon.
    const int dot = master.Find('.'), colon = master.Find(':');
    entry.second = dot >= 0 && colon > dot ? master.Mid(dot + 1, colon - dot - 1) : master;
    return true;
}

BOOL CKXInstancePaneGrid::Showconnectivity(BOOL bForce, BOOL) {
    CStringArray names;
    CCommonInterface* details = DetailsAndSelection(names);
    const CDesignContext* design = Design();
    if (!details || !design) return FALSE;
    CKXInstanceContextArray instances;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        CInstanceContext inst = design->instance(names[i].GetString());
        if (inst.instance()) instances.Add(inst);
    }
    if (instances.GetSize() == 0) return FALSE;
    // The list's own selection is shown side by side: a group is asked for by its own request.
    details->m_bGroupFlag = FALSE;
    details->ShowInstanceConnectivity(*design, &instances, bForce);
    return TRUE;
}

namespace {

// Moves pin comments from one instance key to another; its undo moves them back (and records the
// redo), so undo and redo of a rename in the host keep the comments with the instance.
class CKXMoveCommentsCmd : public CGXCommand {
public:
    CKXMoveCommentsCmd(CKXListPaneView* pane, CString from, CString to, std::vector<CString> pins)
        : m_pPane(pane), m_from(std::move(from)), m_to(std::move(to)), m_pins(std::move(pins)) {
        SetName("Preserve Comments");
    }
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override {
        CComments* store = m_pPane ? m_pPane->CommentStore() : nullptr;
        if (!store) return FALSE;
        // This entry holds the move as it was done: running it takes the comments back.
        store->movePinComments(m_to, m_from, m_pins);
        m_pPane->MarkDocumentModified();
        if (CCommonInterface* details = m_pPane->GetDetailsViewPtr()) details->PinCommentsChanged();
        if (pGrid) pGrid->AddCommand(new CKXMoveCommentsCmd(m_pPane, m_to, m_from, m_pins), ctType);
        return TRUE;
    }

private:
    CKXListPaneView* m_pPane;
    CString m_from, m_to;
    std::vector<CString> m_pins;
};

} // namespace

int CKXInstancePaneGrid::MoveInstanceComments(const CString& first, const CString& second, BOOL bUndo) {
    CComments* store = m_pView ? m_pView->CommentStore() : nullptr;
    if (!store || first.IsEmpty() || second.IsEmpty()) return 0;
    // The comments are the design's: a window that may not change it moves none (the guard says why).
    if (!KXListChangeAllowed(*m_pView)) return 0;
    std::vector<CString> pins;
    const int moved = store->moveInstanceComments(first, second, &pins);
    if (moved == 0) return 0;
    m_pView->MarkDocumentModified();
    if (CCommonInterface* history = m_pView->GetDetailsViewPtr(); history && bUndo)
        history->AddUndoCommand(nullptr, new CKXMoveCommentsCmd(m_pView, first, second, pins), gxDo, 0);
    else if (history)
        history->ForgetRedoSteps();
    if (CCommonInterface* details = m_pView->GetDetailsViewPtr()) details->PinCommentsChanged();
    // The move is the design's comments changing: a replay makes it again.
    if (auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView))
        pane->JournalCommentMove(first, second, bUndo);
    return moved;
}

BOOL CKXInstancePaneContainerView::PreserveComments(LPCTSTR first, LPCTSTR second, long undo) {
    const CString from = first ? first : "", to = second ? second : "";
    if (m_instanceGrid.MoveInstanceComments(from, to, undo != 0) > 0) return TRUE;
    CKXErrorHandler::MessageBoxOk("KXPANE-562", from, to);
    return FALSE;
}

void CKXInstancePaneContainerView::JournalCommentMove(const CString& first, const CString& second, BOOL bUndo) {
    JournalEdit("Preserve Comments", "Clp().PreserveComments", {first, second}, {bUndo ? 1L : 0L});
}

BOOL CKXInstancePaneGrid::PreserveComments(CString first, CString second) {
    Record("PreserveComments", {first, second});
    return MoveInstanceComments(first, second, FALSE) > 0;
}

BOOL CKXInstancePaneGrid::PreserveCommentsWithUndo(CString first, CString second) {
    Record("PreserveCommentsWithUndo", {first, second});
    return MoveInstanceComments(first, second, TRUE) > 0;
}

BOOL CKXInstancePaneGrid::PasteInstance(WPARAM wParam, LPARAM lParam) {
    RecordMessage("PasteInstance", wParam, lParam);
    return PasteComponentItem(static_cast<int>(wParam));
}

namespace {
enum class PinTie { kDone, kRefusedTie, kRefusedRelease };

// Ties one implicit power pin as its row asks. An empty signal releases the instance's own tie, so
// that the pin goes back to its part's net; a pin the instance does not tie itself has nothing to
// release and is left alone (the design is not asked, so no refusal of its is left behind).
// `changed` is set when the design changed.
PinTie TieImplicitPin(CTransaction& t, const IInstance& inst, CKXPowerPinTies& ties, const CImplicitPin& pin,
                      bool& changed) {
    const CKXPowerPinTies::Tie* tie = ties.Find(pin.m_strPinName);
    if (pin.m_strSignal.IsEmpty()) {
        if (!tie || !tie->own) return PinTie::kDone;
        if (!t.removePowerPinNet(&inst, pin.m_strPinName.GetString())) return PinTie::kRefusedRelease;
        ties.Released(pin.m_strPinName);
        changed = true;
        return PinTie::kDone;
    }
    if (tie && tie->net == pin.m_strSignal) return PinTie::kDone;
    if (!t.setPowerPinNet(&inst, pin.m_strPinName.GetString(), pin.m_strSignal.GetString()))
        return PinTie::kRefusedTie;
    ties.Tied(pin.m_strPinName, pin.m_strSignal);
    changed = true;
    return PinTie::kDone;
}
} // namespace

// The implicit power pins of one instance (the first name) take the signals of their rows, in the
// grid transaction that is open: they are part of the edit that typed them. TRUE when a pin was tied
// to another net or released, FALSE when nothing changed, kPowerTieRefused when the design refused a
// pin (message KXPANE-454 for a tie, KXTABLE-250 for a release): the instance's pins tied before it
// are taken back, so the edit can abort.
BOOL CKXInstancePaneGrid::AssignPower(const std::vector<CImplicitPin*>& pins, CStringArray* names) {
    CString count;
    count.Format("%d", static_cast<int>(pins.size()));
    Record("AssignPower", {count, names ? Join(*names) : CString()});
    const CDesignContext* design = Design();
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    if (pins.empty() || !names || names->GetSize() == 0 || !design || !design->design() || !t) return FALSE;
    const IInstance* inst = design->instance(names->GetAt(0).GetString()).instance();
    if (!inst) return FALSE;
    const CTransaction::Mark before = t->mark();
    CKXPowerPinTies ties(*inst);
    bool changed = false;
    for (const CImplicitPin* pin : pins) {
        const PinTie done = pin ? TieImplicitPin(*t, *inst, ties, *pin, changed) : PinTie::kDone;
        if (done == PinTie::kDone) continue;
        t->discardTo(before);
        if (done == PinTie::kRefusedTie)
            CKXErrorHandler::MessageBoxOk("KXPANE-454", pin->m_strSignal);
        else
            CKXErrorHandler::MessageBoxOk("KXTABLE-250", pin->m_strPinName, inst->name());
        return kPowerTieRefused;
    }
    return changed ? TRUE : FALSE;
}

void CKXInstancePaneGrid::SetNamingConventionOnCopy(int convention) {
    CString c;
    c.Format("%d", convention);
    Record("SetNamingConventionOnCopy", {c});
}

BOOL CKXInstancePaneGrid::AddInstance(CString lib, CString cell, CString view, CString name, CStringArray& props1,
                                      CStringArray& props2, int, int, int, CString, CString, int, CString, int) {
    Record("AddInstance", {lib, cell, view, name});
    const CDesignContext* design = Design();
    auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView);
    if (!design || !design->design() || !pane || lib.IsEmpty() || cell.IsEmpty()) return FALSE;
    // A given name goes to the pane as it is: the pane refuses a taken one and says so.
    CString instanceName = name;
    for (int n = 1; name.IsEmpty() && (instanceName.IsEmpty() || design->instance(instanceName).instance());
         ++n)
        instanceName.Format("U%d", n);
    return pane->AddComponent(instanceName, lib, cell, view.IsEmpty() ? CString("sym") : view,
                              KXJoinPropertyTexts(props1), KXJoinPropertyTexts(props2), 1);
}

// ------------------------------------------------------------------------------------------------ signals

namespace {
bool MakeNetEntry(const CDesignContext& design, ISchemaObject* object, CString& name, CString& path) {
    if (!object || object->objectType() != 'N') return false;
    const CNetContext net = design.net(static_cast<INet*>(object));
    if (!net.net()) return false;
    name = NetName(net);
    path = net.spath();
    return true;
}
} // namespace

bool CKXSignalPaneGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    return MakeNetEntry(design, object, entry.name, entry.path);
}

BOOL CKXSignalPaneGrid::Showconnectivity(BOOL bForce, BOOL) {
    CStringArray names;
    CCommonInterface* details = DetailsAndSelection(names);
    const CDesignContext* design = Design();
    if (!details || !design) return FALSE;
    CKXNetContextArray nets;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        CNetContext net = design->net(names[i].GetString());
        if (net.net()) nets.Add(net);
    }
    if (nets.GetSize() == 0) return FALSE;
    if (m_pView) m_pView->m_bGroupFlag = nets.GetSize() > 1;
    details->ShowNetConnectivity(*design, &nets, bForce);
    return TRUE;
}

BOOL CKXSignalPaneGrid::PasteSignal(WPARAM wParam, LPARAM lParam) {
    RecordMessage("PasteSignal", wParam, lParam);
    CKXErrorHandler::MessageBoxOk("KXPANE-178"); // not available
    return FALSE;
}

CString CKXSignalPaneGrid::GetNewAutoName() {
    const CDesignContext* design = Design();
    IDesign* d = design ? design->design() : nullptr;
    CString name;
    // A name that a net already has would join the pins to that net: skip taken names.
    for (int tries = 0; tries < 1000000; ++tries) {
        // The counter never wraps: past its last number no name is made (an empty name connects nothing).
        if (m_nAutoName < 0 || m_nAutoName == std::numeric_limits<int>::max()) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-281", CString(std::to_string(m_nAutoName).c_str()));
            return CString();
        }
        name = ("signal_" + std::to_string(++m_nAutoName)).c_str(); // one name per pin of a run: no formatter
        if (!d || !d->findNet(name.GetString())) break;
    }
    return name;
}

// ------------------------------------------------------------------------------------------------ physical

namespace {
void AddNames(const CStringArray& names, CStringList& list) {
    for (INT_PTR i = 0; i < names.GetSize(); ++i) list.AddTail(names[i]);
}
} // namespace

bool CKXPhysPartGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    if (!object || object->objectType() != 'I') return false;
    const CInstanceContext inst = design.instance(static_cast<IInstance*>(object));
    if (!inst.instance() || !inst.instance()->physicalPackageName()) return false;
    entry.name = inst.name();
    entry.path = inst.spath();
    return true;
}

BOOL CKXPhysPartGrid::Showconnectivity(BOOL bForce, BOOL) {
    CStringArray names;
    CCommonInterface* details = DetailsAndSelection(names);
    const CDesignContext* design = Design();
    if (!details || !design) return FALSE;
    CStringList list;
    AddNames(names, list);
    details->ShowComponentsByName(*design, &list, bForce);
    return TRUE;
}

BOOL CKXPhysPartGrid::PasteInstance(WPARAM wParam, LPARAM lParam) {
    RecordMessage("PasteInstance", wParam, lParam);
    return PasteComponentItem(static_cast<int>(wParam));
}

bool CKXPhysNetGrid::MakeEntry(const CDesignContext& design, ISchemaObject* object, Entry& entry) const {
    return MakeNetEntry(design, object, entry.name, entry.path);
}

BOOL CKXPhysNetGrid::Showconnectivity(BOOL bForce, BOOL) {
    CStringArray names;
    CCommonInterface* details = DetailsAndSelection(names);
    if (!details) return FALSE;
    CStringList list;
    AddNames(names, list);
    details->ShowNetsByName(&list, bForce);
    return TRUE;
}
