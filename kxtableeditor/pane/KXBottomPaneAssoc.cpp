// The pane's words and automation methods for the components attached to pins
// and nets: terminations (addTermination, editTermination, deleteTermination),
// pull-ups/pull-downs (addPupd, editPupd, deletePupd) and the signal models of
// pins. The words parse their options and hand the values to the active grid's
// operations; every grid kind answers them through its CKXGridWnd overrides.
#include "pane/KXBottomPaneContainerView.h"
#include "grid/KXRefusalCauses.h"
#include "grid/KXScriptWords.h"

#include "grid/KXGridEdit.h"
#include "grid/KXPropLists.h"

#include "pingrid/KXPinGrid.h"
#include "shell/KXShellUtil.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// Part slots beyond this are refused: a script cannot make the pane grow its lists without bound.
constexpr int kMaxParts = 16;

std::vector<CTclArgs*> ArgsOf(CTclArgsList* args) {
    std::vector<CTclArgs*> out;
    if (args)
        for (auto it = args->beginArgs(); it != args->endArgs(); ++it)
            if (*it) out.push_back(*it);
    return out;
}

bool Is(const CString& value, const char* full, const char* prefix = nullptr) {
    if (value.CompareNoCase(full) == 0) return true;
    return prefix && value.GetLength() >= static_cast<int>(std::strlen(prefix)) &&
           value.Left(static_cast<int>(std::strlen(prefix))).CompareNoCase(prefix) == 0;
}

// The part N (from 1) an option "-partN" names; 0 for another word or a part past the last one taken.
int PartOption(const CString& v) {
    if (!Is(v, "-part", "-part") || v.GetLength() <= 5) return 0;
    const int part = std::atoi(v.Mid(5).GetString());
    return part > 0 && part <= kMaxParts ? part : 0;
}

// An option of editTermination that changes a look of the part named before it.
bool IsPartLook(const CString& v) {
    for (const char* look : {"-value", "-lib", "-cell", "-view", "-physname"})
        if (v == look) return true;
    return false;
}

// The active grid when it takes pull-up/pull-down words on its selection; nullptr after telling why
// (the physical view, no fit grid, or a selection that is no single net bit).
CKXGridWnd* PupdGrid(const CKXBottomPaneContainerView& pane) {
    // The physical view and a read-only window take no edit at all, whatever is selected.
    if (pane.GetViewMode() == 4 || pane.GetViewMode() == 2) {
        CKXErrorHandler::MessageBoxOk("KXPANE-178");
        return nullptr;
    }
    CKXGridWnd* grid = pane.GetActiveGrid();
    if (!grid || !grid->CanAddPupd()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-219");
        return nullptr;
    }
    return grid;
}

// NAME=VALUE with a name of one word: "A B=1" names no property.
bool IsPropertyPair(const CString& value) {
    const int eq = value.Find('=');
    if (eq <= 0) return false;
    const CString name = value.Left(eq);
    return name.FindOneOf(" \t\r\n") < 0;
}

// The property list an argument gives, added to `into`; false when it reads as no list.
template <class List>
bool AddProperties(const CTclArgs& arg, List& into) {
    std::vector<CString> items;
    if (!KXReadPropertyList(arg, items)) return false;
    for (const CString& item : items) {
        if constexpr (std::is_same_v<List, CStringList>)
            into.AddTail(item);
        else
            into.Add(item);
    }
    return true;
}

// The per-part values of addTermination.
struct TerminationParts {
    CString type, delay, high, low;
    CStringArray libs, cells, views, physNames, values;
    std::vector<std::unique_ptr<CStringArray>> keys, insts;
    CObArray keyLists, instLists;
    int libCount = 0, cellCount = 0, viewCount = 0, physCount = 0;

    void Grow(int index) {
        for (CStringArray* a : {&libs, &cells, &views, &physNames, &values})
            if (a->GetSize() <= index) a->SetSize(index + 1);
        while (static_cast<int>(keys.size()) <= index) {
            keys.push_back(std::make_unique<CStringArray>());
            insts.push_back(std::make_unique<CStringArray>());
        }
    }
    void Finish() {
        keyLists.RemoveAll();
        instLists.RemoveAll();
        for (size_t i = 0; i < keys.size(); ++i) {
            keyLists.Add(keys[i].get());
            instLists.Add(insts[i].get());
        }
    }
};

// Reads addTermination's options; false when an option is not known or has no value.
bool ParseTermination(const std::vector<CTclArgs*>& args, TerminationParts& p) {
    int part = 0;
    p.Grow(0);
    for (size_t k = 0; k < args.size(); ++k) {
        const CString v = args[k]->GetValue(0);
        if (KXIsHelpWord(v)) return false;
        if (Is(v, "-part", "-part") && v.GetLength() > 5) {
            part = PartOption(v) - 1;
            if (part < 0) return false;
            p.Grow(part);
            continue;
        }
        if (k + 1 >= args.size()) return false;
        const CTclArgs* next = args[++k];
        const CString value = next->GetValue(0);
        if (Is(v, "-type", "-t")) p.type = value;
        else if (Is(v, "-lib", "-li")) p.libs.SetAt(part, value), ++p.libCount;
        else if (Is(v, "-cell", "-c")) p.cells.SetAt(part, value), ++p.cellCount;
        else if (Is(v, "-view", "-vi")) p.views.SetAt(part, value), ++p.viewCount;
        else if (Is(v, "-physname", "-ph")) p.physNames.SetAt(part, value), ++p.physCount;
        else if (v == "-k" || v == "-i") {
            auto& lists = v == "-k" ? p.keys : p.insts;
            if (!AddProperties(*next, *lists[static_cast<size_t>(part)])) return false;
        } else if (Is(v, "-value", "-va")) p.values.SetAt(part, value);
        else if (Is(v, "-delay", "-d")) p.delay = value;
        else if (Is(v, "-high", "-hi")) p.high = value;
        else if (Is(v, "-low", "-lo")) p.low = value;
        else return false;
    }
    p.Finish();
    return true;
}

} // namespace

namespace {

// The refusal of a termination add the grid does not take: with the selection off the pin rows (the
// current cell on the column titles or the filter row) no pin is selected at all, which the message says.
KXEditResult RefuseTermination(CKXGridWnd* grid) {
    if (grid && grid->FirstDataRow() != GX_INVALID) {
        CRowColArray rows;
        grid->GetSelectedRows(rows, FALSE, TRUE);
        bool pinRow = false;
        for (INT_PTR r = 0; r < rows.GetSize(); ++r)
            pinRow = pinRow || rows[r] >= grid->FirstDataRow();
        if (!pinRow) return KXEditResult::Refused("KXTABLE-396");
    }
    return KXEditResult::Refused("KXTABLE-210");
}

} // namespace

KXEditResult CKXBottomPaneContainerView::OnTclAddTermination(CTclArgsList* args, long) {
    if (!args) return BadOperands();
    const std::vector<CTclArgs*> list = ArgsOf(args);
    for (CTclArgs* a : list)
        if (KXIsHelpWord(a->GetValue(0))) return Help();
    CKXGridWnd* grid = GetActiveGrid();
    if (grid && grid->HasTermination()) {
        return KXEditResult::Refused("KXTABLE-209");
    }
    const BOOL allowed = grid && GetViewMode() != 2 && GetViewMode() != 4 && grid->CanAddTermination();
    if (list.empty()) {
        if (!allowed) return RefuseTermination(grid);
        const KXShownMark mark;
        grid->OnAddTermination();
        // Refused before its dialog opened (the message says why): nothing was asked.
        if (mark.SaidSince() && !mark.DialogOpenedSince()) return KXEditResult::Of(FALSE, "KXTABLE-210");
        return KXEditResult::Dialog();
    }
    TerminationParts parts;
    // Up to fifteen words that do not read as options cannot name a whole part: the parts are incomplete.
    constexpr std::size_t kFewestWordsOfUsage = 16;
    if (!ParseTermination(list, parts))
        return list.size() >= 2 && list.size() < kFewestWordsOfUsage ? KXEditResult::Refused("KXTABLE-211")
                                                                     : BadOperands();
    if (GetViewMode() == 4) {
        return KXEditResult::Refused("KXPANE-178");
    }
    if (!allowed) return RefuseTermination(grid);
    if (parts.libCount == 0 || parts.libCount != parts.cellCount || parts.libCount != parts.viewCount ||
        parts.libCount != parts.physCount) {
        return KXEditResult::Refused("KXTABLE-211");
    }
    return KXEditResult::Of(grid->AddTerminationInstance(parts.type, &parts.libs, &parts.cells, &parts.views,
                                                         &parts.physNames, &parts.values, &parts.keyLists,
                                                         &parts.instLists, parts.delay, parts.high, parts.low,
                                                         parts.libCount),
                            "KXTABLE-210");
}

KXEditResult CKXBottomPaneContainerView::OnTclEditTermination(CTclArgsList* args, long) {
    if (!args) return BadOperands();
    const std::vector<CTclArgs*> list = ArgsOf(args);
    for (CTclArgs* a : list)
        if (KXIsHelpWord(a->GetValue(0))) return Help();
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid || !grid->HasTermination()) {
        return KXEditResult::Refused("KXTABLE-212");
    }
    if (list.empty()) {
        grid->OnAddTermination();
        return KXEditResult::Dialog();
    }
    CStringArray designators;
    CMapStringToString renames, keys, insts, looks;
    CString delay, high, low, last;
    int part = -1; // the part "-partN" named last, from 0
    bool ids = false, refDes = false, renamed = false;
    for (size_t k = 0; k < list.size(); ++k) {
        const CString v = list[k]->GetValue(0);
        if (const int named = PartOption(v); named > 0) {
            part = named - 1;
            continue;
        }
        if (k + 1 >= list.size()) return BadOperands();
        const CTclArgs* next = list[++k];
        const CString value = next->GetValue(0);
        if (Is(v, "-id")) {
            ids = true;
            designators.Add(value);
            last = value;
        } else if (Is(v, "-oldrefdes", "-old")) {
            refDes = true;
            designators.Add(value);
            last = value;
        } else if (Is(v, "-newrefdes", "-new")) {
            if (last.IsEmpty()) return BadOperands();
            renamed = true;
            renames.SetAt(last, value);
        } else if (v == "-k" || v == "-i") {
            if (last.IsEmpty()) return BadOperands();
            std::vector<CString> read;
            if (!KXReadPropertyList(*next, read)) return BadOperands();
            CString items;
            for (const CString& item : read) items += (items.IsEmpty() ? "" : "\n") + item;
            (v == "-k" ? keys : insts).SetAt(last, items);
        } else if (Is(v, "-delay", "-d")) {
            delay = value;
        } else if (Is(v, "-high", "-hi")) {
            high = value;
        } else if (Is(v, "-low", "-lo")) {
            low = value;
        } else if (IsPartLook(v)) {
            if (part < 0) return BadOperands();
            looks.SetAt(std::to_string(part).c_str() + CString(".") + v.Mid(1), value);
        } else {
            return BadOperands();
        }
    }
    if (ids && (refDes || renamed)) return BadOperands();
    if (GetViewMode() == 4 || GetViewMode() == 2 || !grid->CanAddTermination()) {
        return KXEditResult::Refused("KXTABLE-210");
    }
    return KXEditResult::Of(
        grid->EditTermination(&designators, &renames, &keys, &insts, delay, high, low, 0, ids ? 0 : 1, &looks),
        "KXTABLE-212");
}

// deleteTermination KEY ...: the keyed pins (the selected ones without keys) of every shown grid lose
// their terminations in one transaction.
KXEditResult CKXBottomPaneContainerView::OnTclDeleteTermination(CTclArgsList* args, long) {
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys); !read.IsDone()) return read;
    if (!IsEditable() || GetViewMode() == 4) {
        return KXEditResult::Refused(IsEditable() ? "KXPANE-178" : kKXReadOnlyWindow);
    }
    if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
    const BOOL began = BeginPaneTransaction("Delete Termination");
    BOOL any = FALSE;
    for (CKXGridWnd* grid : m_shownGrids)
        if (grid->DeleteTerminations()) any = TRUE;
    if (began) EndPaneTransaction(any);
    return any ? KXEditResult::Done() : KXEditResult::Refused(KXCause::kNoTermination);
}

KXEditResult CKXBottomPaneContainerView::OnTclAddPupd(CTclArgsList* args, long) {
    if (!args) return BadOperands();
    const std::vector<CTclArgs*> list = ArgsOf(args);
    if (list.size() >= 21) return BadOperands();
    CString type, lib, cell, view, phys, value, dcNet, parent;
    CStringList keys, insts;
    BOOL common = FALSE, shortFirst = FALSE;
    for (size_t k = 0; k < list.size(); ++k) {
        const CString v = list[k]->GetValue(0);
        if (Is(v, "-help", "-h")) return Help();
        if (Is(v, "-common", "-co")) {
            common = TRUE;
            continue;
        }
        if (Is(v, "-short", "-s")) {
            shortFirst = TRUE;
            continue;
        }
        if (k + 1 >= list.size()) return BadOperands();
        const CTclArgs* next = list[++k];
        const CString val = next->GetValue(0);
        if (Is(v, "-type", "-t")) type = val;
        else if (Is(v, "-lib", "-l")) lib = val;
        else if (Is(v, "-cell", "-ce")) cell = val;
        else if (Is(v, "-view", "-vi")) view = val;
        else if (Is(v, "-physname", "-ph")) phys = val;
        else if (v == "-k" || v == "-i") {
            if (!AddProperties(*next, v == "-k" ? keys : insts)) return BadOperands();
        } else if (Is(v, "-value", "-va")) value = val;
        else if (Is(v, "-dcnet", "-n")) dcNet = val;
        else if (Is(v, "-parent", "-pa")) parent = val;
        else return BadOperands();
    }
    if (dcNet.IsEmpty() || (type.CompareNoCase("pullup") != 0 && type.CompareNoCase("pulldown") != 0))
        return BadOperands();
    CKXGridWnd* grid = PupdGrid(*this);
    if (!grid) return KXEditResult::Of(FALSE, "KXTABLE-219");
    return KXEditResult::Of(grid->AddPupdOnOpenPins(TRUE, shortFirst, [&] {
        return grid->AddPupdInstance(type, lib, cell, view, phys, value, dcNet, &keys, &insts, common);
    }),
                            "KXTABLE-219");
}

KXEditResult CKXBottomPaneContainerView::OnTclEditPupd(CTclArgsList* args, long) {
    if (!args) return BadOperands();
    const std::vector<CTclArgs*> list = ArgsOf(args);
    if (list.empty()) return BadOperands();
    CString name, refDes, dcNets, parent;
    CStringList keys, injs;
    BOOL diffPair = FALSE;
    bool emptyOption = false;
    for (size_t k = 0; k < list.size(); ++k) {
        const CString v = list[k]->GetValue(0);
        if (Is(v, "-help", "-h")) return Help();
        const bool option = Is(v, "-refdes", "-r") || Is(v, "-dcnets", "-d") || Is(v, "-keyprop", "-k") ||
                            Is(v, "-injprop", "-i") || Is(v, "-parent", "-p");
        if (!option) {
            // One name, and no option the word does not know ("-value 4k7" names no pull-up).
            if (!name.IsEmpty() || v.Left(1) == "-") return BadOperands();
            name = v;
            continue;
        }
        if (k + 1 >= list.size()) return BadOperands();
        const CTclArgs* next = list[++k];
        const CString val = next->GetValue(0);
        if (Is(v, "-refdes", "-r")) {
            refDes = val;
            emptyOption = emptyOption || val.IsEmpty();
        } else if (Is(v, "-dcnets", "-d")) {
            dcNets = val;
            emptyOption = emptyOption || val.IsEmpty();
        } else if (Is(v, "-parent", "-p")) {
            parent = val;
            if (val.CompareNoCase("dp") == 0) {
                if (next->GetArgCount() < 2) return BadOperands();
                parent = next->GetValue(1);
                diffPair = TRUE;
            }
        } else {
            std::vector<CString> items;
            if (!KXReadPropertyList(*next, items) || !std::all_of(items.begin(), items.end(), IsPropertyPair))
                return BadOperands();
            CStringList& into = Is(v, "-keyprop", "-k") ? keys : injs;
            for (const CString& item : items) into.AddTail(item);
            emptyOption = emptyOption || items.empty();
        }
    }
    if (name.IsEmpty() || emptyOption) return BadOperands();
    CKXGridWnd* grid = PupdGrid(*this);
    if (!grid) return KXEditResult::Of(FALSE, "KXTABLE-217", name);
    return KXEditResult::Of(grid->EditPupd(parent, name, refDes, dcNets, &keys, &injs, diffPair), "KXTABLE-217", name);
}

// deletePupd ?NAME ...? | ?{NAME VALUE} ...?: the named pull-ups/pull-downs (all without names) of the
// selected pins' net bits, in every shown grid, in one transaction.
KXEditResult CKXBottomPaneContainerView::OnTclDeletePupd(CTclArgsList* args, long) {
    const std::vector<CTclArgs*> list = ArgsOf(args);
    CStringArray names;
    CMapStringToString values;
    size_t paired = 0;
    for (CTclArgs* a : list) {
        // NAME, or NAME VALUE given as a list or as one text ({RP1 1}).
        std::vector<CString> fields;
        if (const KXEditResult read = ReadKeyFields(a, fields); !read.IsDone()) return read;
        if (fields.empty() || fields.size() > 2) return BadOperands();
        const CString name = fields[0], value = fields.size() == 2 ? fields[1] : CString();
        names.Add(name);
        if (!value.IsEmpty()) {
            ++paired;
            values.SetAt(name, value);
        }
    }
    if (paired != 0 && paired != list.size()) return BadOperands();
    if (GetViewMode() == 4 || !IsEditable()) {
        return KXEditResult::Refused(IsEditable() ? "KXPANE-178" : kKXReadOnlyWindow);
    }
    const BOOL began = BeginPaneTransaction("Delete Connections");
    BOOL any = FALSE;
    for (CKXGridWnd* grid : m_shownGrids)
        if (grid->DeletePupds(&names, &values)) any = TRUE;
    if (began) EndPaneTransaction(any);
    return any ? KXEditResult::Done() : KXEditResult::Refused("KXTABLE-220");
}

// assignModel / removeModel on the pin grids: the listed pins are selected in every shown grid, then each
// grid that holds one commits, all in one step; without keys the active grid's selected pins.
KXEditResult CKXBottomPaneContainerView::PinGridModelCommand(CTclArgsList* args, bool assign) {
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) return NoGridOfKind();
    CString model;
    CStringArray keys;
    if (assign && args && args->GetArg(0)) model = args->GetArg(0)->GetValue(0);
    if (const KXEditResult read = ReadKeys(args, keys, assign ? 1 : 0); !read.IsDone()) return read;
    if (GetViewMode() == 2) {
        return KXEditResult::Refused(kKXReadOnlyWindow);
    }
    if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
    std::vector<IKXPinGrid*> keyed;
    for (IKXPinGrid* shown : ShownPinGrids())
        if (keys.GetSize() > 0 && shown->Grid().HasSelectedDataRow()) keyed.push_back(shown);
    if (keys.GetSize() > 0 && keyed.empty()) return KXEditResult::Refused(KXCause::kKeyNamesNoPin, keys[0]);
    if (keyed.size() > 1) return ModelsOverPinGrids(keyed, assign ? &model : nullptr);
    if (!keyed.empty()) {
        pin = keyed.front();
    } else if (!pin->Grid().HasSelectionOfTheUser()) {
        return KXEditResult::Refused(assign ? KXCause::kNoModelPinChosen : KXCause::kNoModelPinChosenToRemove);
    }
    if (!assign) return KXEditResult::Of(pin->CommitRemoveModel(), kKXNoModelRemoved);
    if (args == nullptr || args->GetTotalArgCount() == 0) {
        // Pins the dialog cannot serve (two directions, no pin but vector rows) are refused before it opens.
        const KXShownMark mark;
        if (pin->Grid().AssignModel(0, "") || mark.DialogCancelledSince()) return KXEditResult::Dialog();
        return KXEditResult::Of(FALSE, "KXTABLE-186");
    }
    // The grid refuses pins that take no model (KXTABLE-184) or differ in direction (KXTABLE-127).
    return KXEditResult::Of(pin->CommitAssignModel(model), "KXTABLE-184");
}

// The model given (none: the models taken off) on the keyed pins of several grids side by side: one edit,
// whose grids' journal lines are its one step. Done when a grid changed a pin.
KXEditResult CKXBottomPaneContainerView::ModelsOverPinGrids(const std::vector<IKXPinGrid*>& grids,
                                                            const CString* model) {
    // Named as a grid names its own model edit, whether it assigns or takes off.
    const BOOL began = BeginPaneTransaction("Assign Model");
    BOOL any = FALSE;
    for (IKXPinGrid* grid : grids)
        if (model ? grid->CommitAssignModel(*model) : grid->CommitRemoveModel()) any = TRUE;
    const BOOL done = began ? EndPaneTransaction(any) : any;
    return KXEditResult::Of(done, model ? "KXTABLE-184" : kKXNoModelRemoved);
}

// ------------------------------------------------------------------ automation

// The termination methods act on the shown pin grid or signal grid.
namespace {

// The add that completes an automation set-up either commits the edit the set-up held open or, when it
// was refused before it reached the grid (nothing prepared, say), leaves it waiting: it goes now, so a
// refused add leaves the design as it was before the set-up and no transaction open.
BOOL EndHeldSetUp(BOOL added) {
    CKXGridEdit::DiscardWaiting();
    return added;
}

// A termination method that did nothing and said nothing says why: the fallback names the cause.
BOOL SaidWhy(BOOL done, const KXShownMark& since, const char* fallback) {
    return KXEditResult::Of(done, fallback).AnswerBool(since);
}

} // namespace

BOOL CKXBottomPaneContainerView::AutoAddTermination() {
    const KXShownMark since;
    if (!IsEditable()) return KXEditResult::Refused(kKXReadOnlyWindow).AnswerBool(since);
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid())
        return SaidWhy(EndHeldSetUp(signal->SendPreparedTermination()), since, "KXPANE-586");
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) return RefuseAutomation();
    return SaidWhy(EndHeldSetUp(pin->AssocAutomation().SendAddTermCommand()), since, "KXPANE-586");
}

LPDISPATCH CKXBottomPaneContainerView::AutoInitTermination(LPCTSTR text) {
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid()) {
        if (!signal->InitTermination(text ? text : "")) return nullptr;
        return signal->AssocAutomation().GetIDispatch(TRUE);
    }
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) {
        RefuseAutomation();
        return nullptr;
    }
    if (!pin->InitTermination(text ? text : "")) return nullptr;
    return pin->AssocAutomation().GetIDispatch(TRUE);
}

BOOL CKXBottomPaneContainerView::ChangeDelay(LPCTSTR delay) {
    const KXShownMark since;
    if (!IsEditable()) return KXEditResult::Refused(kKXReadOnlyWindow).AnswerBool(since);
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid())
        return SaidWhy(signal->ChangeTerminationDelay(delay ? delay : "") ? TRUE : FALSE, since, "KXPANE-585");
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) return RefuseAutomation();
    return SaidWhy(pin->ChangeTerminationDelay(delay ? delay : "") ? TRUE : FALSE, since, "KXPANE-585");
}

// The editPupd word with the operands given, read as script words and written back quoted.
BOOL CKXBottomPaneContainerView::AutoEditPUPD(LPCTSTR operands) {
    const std::unique_ptr<CTclArgsList> list = CTclArgsList::FromTclCommandLine(operands ? operands : "");
    if (!list) {
        CKXErrorHandler::MessageBoxOk("KXPANE-243");
        return FALSE;
    }
    return AnswerHostWord(KXScriptWord::editPupd, " pin " + list->ToTclCommandLine());
}

// The editTermination word with the operands given, read as script words and written back quoted
// (nothing in them runs); FALSE when they cannot be read.
BOOL CKXBottomPaneContainerView::AutoEditTermination(LPCTSTR operands) {
    CString error;
    const std::unique_ptr<CTclArgsList> list = CTclArgsList::FromTclCommandLine(operands ? operands : "", &error);
    if (!list) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-213");
        return FALSE;
    }
    return AnswerHostWord(KXScriptWord::editTermination, " pin " + list->ToTclCommandLine());
}

LPDISPATCH CKXBottomPaneContainerView::AutoInitPUPD(LPCTSTR text) {
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) {
        RefuseAutomation();
        return nullptr;
    }
    if (!pin->InitPUPD(text ? text : "", 0)) return nullptr;
    return pin->AssocAutomation().GetIDispatch(TRUE);
}

BOOL CKXBottomPaneContainerView::AddPUPD() {
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) return RefuseAutomation();
    // A pull-up or pull-down goes onto one net bit: a whole bus row (or an unfit selection) takes none,
    // whatever an earlier InitPUPD left prepared.
    if (!pin->Grid().CanAddPupd()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-219");
        return EndHeldSetUp(FALSE);
    }
    // Nothing prepared (or the add refused before it reached the design) is said, never answered silently.
    const KXShownMark since;
    const BOOL sent = pin->AssocAutomation().SendAddPupdCommand(1, 0, 0);
    if (!sent && !since.SaidSince()) {
        const CString why = pin->AssocAutomation().GetLastError();
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", why.IsEmpty() ? "the command was not run" : why.GetString());
    }
    return EndHeldSetUp(sent);
}

BOOL CKXBottomPaneContainerView::AutoPastePUPD(LPCTSTR type, LPCTSTR name, LPCTSTR data) {
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) return RefuseAutomation();
    if (!IsEditable() || GetViewMode() == 4) {
        CKXErrorHandler::MessageBoxOk(IsEditable() ? "KXPANE-178" : kKXReadOnlyWindow);
        return FALSE;
    }
    return pin->PastePupdEntry(type ? type : "", name ? name : "", data ? data : "");
}

BOOL CKXBottomPaneContainerView::DeletePUPD(LPCTSTR text) {
    IKXPinGrid* pin = ActivePinGrid();
    if (!pin) return RefuseAutomation();
    return pin->SendDeletePupdCommand(text ? text : "") > 0 ? TRUE : FALSE;
}
