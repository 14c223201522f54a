#include "kxassoccomp/CKXAssocCompAPI.h"

#include "AssocModel.h"
#include "Designators.h"

#include "afx/afxanswer.h"
#include "afx/afxcoll.h"
#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"

#include <algorithm>
#include <cctype>

using namespace kxassoc;

#include "AssocState.h"

int CKXAssocCompAPI::bApplyPUPDDump = 0;


std::string kxassoc::lowerText(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

namespace {


std::vector<std::string> toItems(const CStringArray* list) {
    std::vector<std::string> out;
    if (list)
        for (INT_PTR i = 0; i < list->GetSize(); ++i)
            out.push_back(list->GetAt(i).str());
    return out;
}

std::vector<std::string> toItems(const std::vector<CString>& list) {
    std::vector<std::string> out;
    for (const auto& s : list)
        out.push_back(s.str());
    return out;
}

// "name=value" items: a later item replaces an earlier one of the same name.
void mergeItems(std::vector<std::string>& into, const std::vector<std::string>& items) {
    for (const auto& item : items) {
        std::string name = item.substr(0, item.find('='));
        auto it = std::find_if(into.begin(), into.end(),
                               [&](const std::string& e) { return e.substr(0, e.find('=')) == name; });
        if (it != into.end())
            *it = item;
        else
            into.push_back(item);
    }
}

bool validItems(const std::vector<std::string>& items, std::string& error) {
    for (const auto& i : items) {
        size_t eq = i.find('=');
        if (eq == std::string::npos || eq == 0) {
            error = "property item \"" + i + "\" is not of the form name=value";
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::string> kxassoc::splitNames(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (c == ' ' || c == ',' || c == '\t') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

namespace {


bool matchesName(const IDTInstance* dt, const std::string& name) {
    if (lowerText(dt->name()) == lowerText(name)) return true;
    for (const auto& sl : readSettings(dt).slots)
        if (lowerText(sl.refDes) == lowerText(name)) return true;
    return false;
}

} // namespace

CKXAssocCompAPI::CKXAssocCompAPI() : m_p(std::make_unique<SKXAssocCompState>()) {}

CKXAssocCompAPI::~CKXAssocCompAPI() = default;

// ---- context ----

void CKXAssocCompAPI::setTransaction(CTransaction* transaction, bool) {
    m_p->transaction = transaction;
}

void CKXAssocCompAPI::setVPXProject(void* project) {
    m_p->project = project;
}

void CKXAssocCompAPI::setServer(IServer* server) {
    m_p->server = server;
}

void CKXAssocCompAPI::setDesignContext(const CDesignContext& design) {
    m_p->design = design;
}

void CKXAssocCompAPI::setHierarchyDesignContext(const CDesignContext& design) {
    m_p->hierDesign = design;
}

void CKXAssocCompAPI::setDesignOpenMode(int mode) {
    m_p->openMode = mode;
}

void CKXAssocCompAPI::InitCKXTransaction(KXTransactionCallBack callBack) {
    m_p->callBack = callBack;
}

void CKXAssocCompAPI::InitCKXCommit(KXCommitCallBack callBack) {
    m_p->commitCallBack = callBack;
}

KXCommitCallBack CKXAssocCompAPI::GetCommitCallBack() const {
    return m_p->commitCallBack;
}

void CKXAssocCompAPI::setKindOfOperation(int kind) {
    m_p->kind = kind == 2 ? 2 : 1;
}

void CKXAssocCompAPI::setMultipleSelection(bool multiple) {
    m_p->multiple = multiple;
}

void CKXAssocCompAPI::setNewSignalFlag(bool newSignal) {
    m_p->newSignal = newSignal;
}

void CKXAssocCompAPI::WillRemoveExistingPupd(bool remove) {
    m_p->removeExistingPupd = remove;
}

void CKXAssocCompAPI::SetShortBeforePupd(bool shortFirst) {
    m_p->shortBefore = shortFirst;
}

void CKXAssocCompAPI::refDesChanged(bool changed) {
    m_p->refDesChanged = changed;
}

void CKXAssocCompAPI::setAssociatedInstance(IDTInstance* instance) {
    m_p->associated = instance;
}

void CKXAssocCompAPI::setDelayConstraint(CString delay) {
    m_p->term.delay = delay.str();
}

void CKXAssocCompAPI::SetTerminationSignal(CString signal, CString side) {
    if (side.CompareNoCase("High") == 0)
        m_p->term.high = signal.str();
    else if (side.CompareNoCase("Low") == 0)
        m_p->term.low = signal.str();
}

// ---- current object ----

void CKXAssocCompAPI::setInstTermBit(const CInstTermBit& bit) {
    m_p->target = SKXAssocCompState::Pin;
    m_p->pinBit = bit;
    m_p->pair = nullptr;
    m_p->netBit = bit ? bit.netbitOuter() : CNetBit();
}

CInstTermBit CKXAssocCompAPI::getInstTermBit() const {
    return m_p->pinBit;
}

void CKXAssocCompAPI::setDPInstTermBit(IDPInstTerm* pairPin) {
    m_p->target = SKXAssocCompState::Pair;
    m_p->pair = pairPin;
    m_p->pinBit = CInstTermBit();
}

void CKXAssocCompAPI::setNetBit(const CNetBit& bit) {
    m_p->target = SKXAssocCompState::Net;
    m_p->netBit = bit;
}

// ---- queries ----

namespace {

std::vector<IDTInstance*> currentDTs(const SKXAssocCompState& s, int kind) {
    if (kind == 2) return dtsOn(s.netBit, 2);
    if (s.target == SKXAssocCompState::Pair) return dtsOn(s.pair, 1);
    return dtsOn(s.pinBit, 1);
}

} // namespace

IDTInstance* CKXAssocCompAPI::getAssociatedInstance(int kind) {
    auto dts = currentDTs(*m_p, kind);
    return dts.empty() ? nullptr : dts.front();
}

int CKXAssocCompAPI::getMultipleAssociatedInstance(int kind, std::vector<IDTInstance*>& list) {
    list = currentDTs(*m_p, kind);
    return static_cast<int>(list.size());
}

int CKXAssocCompAPI::getMultipleAssociatedInstance(int kind, CPtrArray& list) {
    list.RemoveAll();
    for (IDTInstance* dt : currentDTs(*m_p, kind))
        list.Add(dt);
    return static_cast<int>(list.GetSize());
}

int CKXAssocCompAPI::getAssocInstanceArray(int kind, KXMultiMap& map) {
    map.clear();
    for (IDTInstance* dt : currentDTs(*m_p, kind))
        map.emplace(CString(dt->typeName()), dt);
    return static_cast<int>(map.size());
}

CString CKXAssocCompAPI::getAppliedAssocCompType(int kind) {
    IDTInstance* dt = getAssociatedInstance(kind);
    return dt ? CString(dt->typeName()) : CString();
}

CString CKXAssocCompAPI::getDisplayText(int kind) {
    std::string text;
    for (IDTInstance* dt : currentDTs(*m_p, kind)) {
        if (!text.empty()) text += "\n";
        text += displayText(readSettings(dt));
    }
    return CString(text);
}

void CKXAssocCompAPI::GetPupdInfoOnThisNet(const CNetBitContext& netBit, bool& localPullup,
                                           bool& localPulldown, bool& aliasPullup, bool& aliasPulldown) {
    if (!netBit) return;
    // Type names are read without regard to case: designs store "Pullup" as well as "PullUp".
    auto mark = [](const IDTInstance* dt, bool& up, bool& down) {
        const std::string type = pupdTypeName(dt->typeName());
        if (type == "Pullup") up = true;
        if (type == "Pulldown") down = true;
    };
    for (IDTInstance* dt : dtsOn(netBit.netBit(), 2))
        mark(dt, localPullup, localPulldown);
    for (const CNetBit& alias : netBit.beginAlias())
        for (IDTInstance* dt : dtsOn(alias, 2))
            mark(dt, aliasPullup, aliasPulldown);
}

PUPDMODE CKXAssocCompAPI::GetPupdModeSelected() const {
    return m_p->pupdMode;
}

void CKXAssocCompAPI::SetPupdMode(PUPDMODE mode) {
    m_p->pupdMode = mode;
    m_p->forgetCommonPart();
}

int CKXAssocCompAPI::getComponentCount() const {
    if (m_p->kind == 2) return m_p->pupdReady ? static_cast<int>(m_p->pupd.slots.size()) : 0;
    return static_cast<int>(m_p->term.slots.size());
}

void CKXAssocCompAPI::getSlotIds(std::vector<CString>& ids) const {
    ids.clear();
    const Settings& s = m_p->kind == 2 ? m_p->pupd : m_p->term;
    for (const auto& sl : s.slots)
        ids.emplace_back(sl.id);
}

void CKXAssocCompAPI::getSlotIds(CStringArray& ids) const {
    std::vector<CString> v;
    getSlotIds(v);
    ids.RemoveAll();
    for (const auto& id : v)
        ids.Add(id);
}

int CKXAssocCompAPI::readSignals() {
    m_arrSignals.clear();
    const CDesignContext& d = m_p->hierDesign ? m_p->hierDesign : m_p->design;
    if (!d) return 0;
    for (INet* net : d.design()->beginNet())
        if (net && net->isAlive()) m_arrSignals.emplace_back(net->name());
    return static_cast<int>(m_arrSignals.size());
}

int CKXAssocCompAPI::getSignalCount() const {
    return static_cast<int>(m_arrSignals.size());
}

void CKXAssocCompAPI::getLCVPropFromSetup(bool reset) {
    const std::string type = m_strTerminationType.str();
    if (m_p->kind == 1) {
        if (reset || m_p->term.type != type || m_p->term.slots.empty()) {
            Settings s;
            if (defaultTermination(type, s)) {
                s.delay = reset ? std::string() : m_p->term.delay;
                m_p->term = s;
            } else {
                m_p->term = Settings{};
            }
            m_p->termSlotsGiven = false;
        }
    } else if (reset) {
        m_p->pupdReady = false;
        m_p->forgetCommonPart();
    }
}

void CKXAssocCompAPI::getLCVPropFromInstance(IDTInstance* instance) {
    m_p->associated = instance;
    if (!instance) return;
    Settings s = readSettings(instance);
    if (instance->assocKind() == IDTInstance::ePullUpDown) {
        m_p->kind = 2;
        m_p->pupd = s;
        m_p->pupdReady = true;
    } else {
        m_p->kind = 1;
        m_p->term = s;
        m_p->termSlotsGiven = true;
        m_strTerminationType = CString(s.type);
    }
}

BOOL CKXAssocCompAPI::IsDCNetExists(bool) {
    if (!m_p->pupdReady || m_p->pupd.dcNet.empty()) {
        m_p->error = "no DC net given";
        return FALSE;
    }
    if (m_arrSignals.empty()) readSignals();
    for (const auto& s : m_arrSignals)
        if (s.CompareNoCase(m_p->pupd.dcNet.c_str()) == 0) return TRUE;
    m_p->error = "DC net \"" + m_p->pupd.dcNet + "\" does not exist";
    return FALSE;
}

// ---- helpers for actions ----

namespace {


} // namespace

CTransaction* kxassoc::workTransaction(CKXAssocCompAPI& api, SKXAssocCompState& s, const char* stepName,
                              bool dialogStep) {
    if ((api.m_nModeFlags & 2) && api.m_pSpareTransaction) return api.m_pSpareTransaction;
    if (dialogStep && s.callBack) {
        // The caller may ask about other pins meanwhile (its "Add Termination" step hands the
        // terminations of its selection on): the step goes on with the object it was about.
        const auto target = s.target;
        const CInstTermBit pinBit = s.pinBit;
        IDPInstTerm* const pair = s.pair;
        const CNetBit netBit = s.netBit;
        ++s.handCalls[std::string("step ") + stepName];
        CTransaction* t = s.callBack(CString(stepName));
        s.target = target;
        s.pinBit = pinBit;
        s.pair = pair;
        s.netBit = netBit;
        if (t) s.transaction = t;
    }
    return s.transaction;
}

namespace {


} // namespace

int CKXAssocCompAPI::AddTermination(int) {
    m_p->error.clear();
    CTransaction* tx = workTransaction(*this, *m_p, "Add Termination", false);
    if (!tx) {
        m_p->error = "no transaction";
        return 0;
    }
    if (m_p->term.type.empty() || !findTermType(m_p->term.type)) {
        m_p->error = "unknown termination type \"" + m_p->term.type + "\"";
        return 0;
    }
    if (m_p->target == SKXAssocCompState::Pin && !m_p->pinBit) {
        m_p->error = "no pin bit";
        return 0;
    }
    if (m_p->target == SKXAssocCompState::Pair && !m_p->pair) {
        m_p->error = "no pair pin";
        return 0;
    }
    if (m_p->target != SKXAssocCompState::Pin && m_p->target != SKXAssocCompState::Pair) {
        m_p->error = "no pin bit or pair pin to terminate";
        return 0;
    }
    auto existing = currentDTs(*m_p, 1);
    if (!existing.empty()) {
        if (!m_bHasExistingTermination && !m_p->replaceFromDialog) {
            m_p->error = "the pin already has a termination";
            return 0;
        }
        for (IDTInstance* dt : existing)
            if (!removeComponent(tx, dt)) {
                m_p->error = tx->lastError().str();
                return 0;
            }
    }
    Settings s = m_p->term;
    // Each pin gets its own components: reference designators are only kept when the caller named them.
    if (!m_p->termSlotsGiven || m_p->multiple)
        for (auto& sl : s.slots)
            sl.refDes.clear();
    IDTInstance* dt =
        createTermination(tx, m_p->pinBit, m_p->target == SKXAssocCompState::Pair ? m_p->pair : nullptr, s,
                          m_p->error);
    if (!dt) return 0;
    m_p->associated = dt;
    return 1;
}

BOOL CKXAssocCompAPI::ApplyTermination(bool commit, bool) {
    if (!AddTermination(0)) return FALSE;
    if (commit) return CommitTransactionOnApply("Add Termination");
    return TRUE;
}

int CKXAssocCompAPI::AddTerminationInstance(CString slotId, CString lib, CString cell, CString view,
                                            CString physName, CString value, CStringArray*,
                                            CStringArray* keyProps, CStringArray* instProps) {
    m_p->error.clear();
    if (m_p->term.type.empty() ||
        (m_p->term.type != m_strTerminationType.str() && !m_strTerminationType.IsEmpty()))
        getLCVPropFromSetup(true);
    auto it = std::find_if(m_p->term.slots.begin(), m_p->term.slots.end(),
                           [&](const Slot& s) { return lowerText(s.id) == lowerText(slotId.str()); });
    if (it == m_p->term.slots.end()) {
        m_p->error = "termination type \"" + m_p->term.type + "\" has no slot \"" + slotId.str() + "\"";
        return 0;
    }
    // A component names its library, cell and view, or none of them: a part of no library, as a design
    // file may hold one (a paste of such a part gives it again).
    const bool noLibrary = lib.IsEmpty() && cell.IsEmpty() && view.IsEmpty();
    if (!noLibrary && (lib.IsEmpty() || cell.IsEmpty() || view.IsEmpty())) {
        m_p->error = "a component needs a library, cell and view";
        return 0;
    }
    std::vector<std::string> k = toItems(keyProps), i = toItems(instProps);
    if (!validItems(k, m_p->error) || !validItems(i, m_p->error)) return 0;
    it->lib = lib.str();
    it->cell = cell.str();
    it->view = view.str();
    it->physName = physName.str();
    it->value = value.str();
    it->keyProps = k;
    it->instProps = i;
    return 1;
}

int CKXAssocCompAPI::EditTermination(std::set<CString>& refDesSet, std::map<CString, CString>& newRefDes,
                                     CString& delay, CString& high, CString& low, KXPropListMap& keyProps,
                                     KXPropListMap& instProps, int byRefDes,
                                     const std::map<CString, CString>* partLooks) {
    m_p->error.clear();
    CTransaction* tx = workTransaction(*this, *m_p, "Edit Termination", false);
    IDTInstance* dt = getAssociatedInstance(1);
    if (!tx || !dt) {
        m_p->error = tx ? "no termination on the pin" : "no transaction";
        return 0;
    }
    Settings s = readSettings(dt);
    if (!refDesSet.empty()) {
        bool match = false;
        for (const auto& name : refDesSet) {
            if (byRefDes) {
                for (const auto& sl : s.slots)
                    if (sl.refDes == name.str()) match = true;
            } else if (std::to_string(dt->id()) == name.str() || name == dt->name()) {
                match = true;
            }
        }
        if (!match) {
            m_p->error = "the termination is not among the ones named";
            return 0;
        }
    }
    // Renames must not collide with designators used elsewhere.
    const Designators& refs = Designators::of(tx->design());
    const std::vector<std::string> own = slotDesignators(dt);
    for (const auto& [oldName, newName] : newRefDes) {
        if (newName.IsEmpty()) continue;
        for (auto& sl : s.slots) {
            if (sl.refDes != oldName.str()) continue;
            if (refs.takenByOthers(newName.str(), own)) {
                m_p->error = "reference designator " + newName.str() + " is already used";
                return 0;
            }
            sl.refDes = newName.str();
        }
    }
    auto applyProps = [&](KXPropListMap& map, bool key) -> bool {
        for (auto& [ref, items] : map) {
            std::vector<std::string> v = toItems(items);
            if (!validItems(v, m_p->error)) return false;
            for (auto& sl : s.slots) {
                std::string target = ref.str();
                auto renamed = newRefDes.find(ref);
                if (sl.refDes == target || (renamed != newRefDes.end() && sl.refDes == renamed->second.str()))
                    mergeItems(key ? sl.keyProps : sl.instProps, v);
            }
        }
        return true;
    };
    if (!applyProps(keyProps, true) || !applyProps(instProps, false)) return 0;
    if (partLooks && !applyPartLooks(*partLooks, s.slots, m_p->error)) return 0;
    if (!delay.IsEmpty()) s.delay = delay.str();
    if (!high.IsEmpty()) s.high = high.str();
    if (!low.IsEmpty()) s.low = low.str();
    return rewriteSettings(tx, dt, s, m_p->error) ? 1 : 0;
}

int CKXAssocCompAPI::AddPupdInstance(CString type, CString lib, CString cell, CString view, CString physName,
                                     CString value, CStringArray& keyProps, CStringArray& instProps,
                                     CString dcNet) {
    m_p->error.clear();
    Settings s;
    if (!defaultPupd(type.str(), s)) {
        m_p->error = "type must be pullup or pulldown";
        return 0;
    }
    if (dcNet.IsEmpty()) {
        m_p->error = "a pull-up/pull-down needs a DC net";
        return 0;
    }
    std::vector<std::string> k = toItems(&keyProps), i = toItems(&instProps);
    if (!validItems(k, m_p->error) || !validItems(i, m_p->error)) return 0;
    Slot& sl = s.slots.front();
    if (!lib.IsEmpty()) sl.lib = lib.str();
    if (!cell.IsEmpty()) sl.cell = cell.str();
    if (!view.IsEmpty()) sl.view = view.str();
    sl.physName = physName.str();
    if (!value.IsEmpty()) sl.value = value.str();
    sl.keyProps = k;
    sl.instProps = i;
    s.dcNet = dcNet.str();
    m_p->kind = 2;
    m_p->pupd = s;
    m_p->pupdReady = true;
    m_p->forgetCommonPart();
    if (!IsDCNetExists(false)) {
        m_p->pupdReady = false;
        return 0;
    }
    return 1;
}

BOOL CKXAssocCompAPI::ApplyPupd(bool commit, bool) {
    m_p->error.clear();
    CTransaction* tx = workTransaction(*this, *m_p, "Add Pupd", false);
    if (!tx) {
        m_p->error = "no transaction";
        return FALSE;
    }
    if (!m_p->pupdReady) {
        m_p->error = "no pull-up/pull-down prepared";
        return FALSE;
    }
    if (!m_p->netBit) {
        m_p->error = "no net bit";
        return FALSE;
    }
    for (IDTInstance* dt : dtsOn(m_p->netBit, 2)) {
        if (pupdTypeName(dt->typeName()) != pupdTypeName(m_p->pupd.type)) continue;
        if (!m_p->removeExistingPupd) {
            m_p->error = "the net bit already has a " + lowerText(m_p->pupd.type);
            return FALSE;
        }
        if (!removeComponent(tx, dt)) {
            m_p->error = tx->lastError().str();
            return FALSE;
        }
    }
    Settings s = m_p->pupd;
    const bool common = m_p->pupdMode == PUPD_MODE_COMMON;
    IDTInstance* dt =
        createPupd(tx, m_p->netBit, s, common ? m_p->commonRefDes : std::string(), m_p->error);
    if (!dt) return FALSE;
    if (common && m_p->commonRefDes.empty()) {
        m_p->commonRefDes = s.slots.front().refDes;
        m_p->commonSettings = encodeSettings(m_p->pupd);
        m_p->commonGroup = CKXShareGlobalData::m_nReplayStepGroup;
    }
    m_p->associated = dt;
    if (commit) return CommitTransactionOnApply("Add Pupd");
    return TRUE;
}

int CKXAssocCompAPI::EditPupd(const CNetBit& netBit, CString word, CString refDes, CString dcNets,
                              CStringArray* keyProps, CStringArray* instProps) {
    m_p->error.clear();
    CTransaction* tx = workTransaction(*this, *m_p, "Edit Pupd", false);
    if (!tx) {
        m_p->error = "no transaction";
        return 0;
    }
    std::vector<std::string> k = toItems(keyProps), i = toItems(instProps);
    if (!validItems(k, m_p->error) || !validItems(i, m_p->error)) return 0;
    std::vector<IDTInstance*> targets;
    for (IDTInstance* dt : dtsOn(netBit, 2))
        if (word.IsEmpty() || matchesName(dt, word.str())) targets.push_back(dt);
    if (targets.empty()) {
        m_p->error = "no pull-up/pull-down named \"" + word.str() + "\" on the net bit";
        return 0;
    }
    if (!refDes.IsEmpty() && targets.size() > 1) {
        m_p->error = "one reference designator cannot name several components";
        return 0;
    }
    if (!refDes.IsEmpty() && Designators::of(tx->design()).takenByOthers(refDes.str(), slotDesignators(targets[0]))) {
        m_p->error = "reference designator " + refDes.str() + " is already used";
        return 0;
    }
    if (!dcNets.IsEmpty()) {
        m_p->pupd.dcNet = dcNets.str();
        bool wasReady = m_p->pupdReady;
        m_p->pupdReady = true;
        BOOL exists = IsDCNetExists(false);
        m_p->pupdReady = wasReady;
        if (!exists) return 0;
    }
    for (IDTInstance* dt : targets) {
        Settings s = readSettings(dt);
        if (s.slots.empty()) s.slots.push_back(Slot{"R", "", "", "", "", "", "", {}, {}});
        if (!refDes.IsEmpty()) s.slots.front().refDes = refDes.str();
        if (!dcNets.IsEmpty()) s.dcNet = dcNets.str();
        mergeItems(s.slots.front().keyProps, k);
        mergeItems(s.slots.front().instProps, i);
        if (!rewriteSettings(tx, dt, s, m_p->error)) return 0;
    }
    return 1;
}

int CKXAssocCompAPI::DeletePupd(const CNetBit& netBit, const std::set<CString>& names) {
    CString list;
    for (const auto& n : names) {
        if (n.IsEmpty()) continue;
        // Names with blanks or commas cannot be told apart in a list; they match nothing.
        if (n.FindOneOf(" ,\t") >= 0) {
            m_p->error = "bad component name \"" + n.str() + "\"";
            return 0;
        }
        list += n + " ";
    }
    if (!names.empty() && list.IsEmpty()) {
        m_p->error = "no component named";
        return 0;
    }
    return DeletePupd(netBit, list);
}

int CKXAssocCompAPI::DeletePupd(const CNetBit& netBit, CString refDesList) {
    m_p->error.clear();
    CTransaction* tx = workTransaction(*this, *m_p, "Delete Pupd", false);
    if (!tx) {
        m_p->error = "no transaction";
        return 0;
    }
    std::vector<std::string> names = splitNames(refDesList.str());
    int removed = 0;
    for (IDTInstance* dt : dtsOn(netBit, 2)) {
        bool wanted = names.empty() || std::any_of(names.begin(), names.end(),
                                                   [&](const std::string& n) { return matchesName(dt, n); });
        if (!wanted) continue;
        if (!removeComponent(tx, dt)) {
            m_p->error = tx->lastError().str();
            return 0;
        }
        ++removed;
    }
    if (!removed) m_p->error = "nothing to delete on the net bit";
    return removed;
}

BOOL CKXAssocCompAPI::deleteAssocCompInstance(int kind) {
    m_p->error.clear();
    CTransaction* tx = workTransaction(*this, *m_p, kind == 2 ? "Delete Pupd" : "Delete Termination", false);
    if (!tx) {
        m_p->error = "no transaction";
        return FALSE;
    }
    auto dts = currentDTs(*m_p, kind);
    if (dts.empty()) {
        m_p->error = "nothing to delete";
        return FALSE;
    }
    for (IDTInstance* dt : dts)
        if (!removeComponent(tx, dt)) {
            m_p->error = tx->lastError().str();
            return FALSE;
        }
    return TRUE;
}

BOOL CKXAssocCompAPI::ApplyDelayChanges(int kind) {
    m_p->error.clear();
    CTransaction* tx = workTransaction(*this, *m_p, "Change Delay", false);
    IDTInstance* dt = m_p->associated;
    if (!tx || !dt || !dt->isAlive() || kind != 1) {
        m_p->error = "no termination to change";
        return FALSE;
    }
    Settings s = readSettings(dt);
    s.delay = m_p->term.delay;
    return rewriteSettings(tx, dt, s, m_p->error) ? TRUE : FALSE;
}

int CKXAssocCompAPI::GetHandCalls(const CString& what) const {
    const auto it = m_p->handCalls.find(what.str());
    return it == m_p->handCalls.end() ? 0 : it->second;
}

BOOL CKXAssocCompAPI::CommitTransactionOnApply(CString name) {
    m_p->error.clear();
    if (m_p->commitCallBack) {
        // The caller's edit commits the work: it is one step of that edit (undo, journal, broadcast).
        ++m_p->handCalls["commit " + name.str()];
        if (!m_p->commitCallBack(name)) {
            m_p->error = "the edit did not commit";
            return FALSE;
        }
        m_bAppliedInDialog = false;
        return TRUE;
    }
    CTransaction* tx = (m_nModeFlags & 2) && m_pSpareTransaction ? m_pSpareTransaction : m_p->transaction;
    if (!tx) {
        m_p->error = "no transaction";
        return FALSE;
    }
    if (!tx->hasPendingChanges()) return TRUE;
    if (!tx->commit()) {
        m_p->error = "commit failed: " + tx->lastError().str();
        return FALSE;
    }
    m_bAppliedInDialog = false;
    return TRUE;
}

void CKXAssocCompAPI::resetPropertyGridArray() {
    m_p->termSlotsGiven = false;
    getLCVPropFromSetup(true);
}

void CKXAssocCompAPI::resetPreCommitObjects() {
    m_p->associated = nullptr;
    m_p->forgetCommonPart();
}

void CKXAssocCompAPI::Initialize() {
    auto fresh = std::make_unique<SKXAssocCompState>();
    fresh->callBack = m_p->callBack;
    fresh->commitCallBack = m_p->commitCallBack;
    fresh->handCalls = std::move(m_p->handCalls);
    m_p = std::move(fresh);
    m_strTerminationType.Empty();
    m_nModeFlags = 0;
    m_bHasExistingTermination = false;
    m_bAppliedInDialog = false;
    m_arrSignals.clear();
}

namespace {

// One word of a script command, quoted by the same rule every script line of the library uses.
std::string scriptWord(const std::string& v) {
    return CTclArgsList::QuoteTclWord(v.c_str()).str();
}

// A list of values as one word: each value a list element, the whole list quoted as a single word.
std::string scriptList(const std::vector<std::string>& items) {
    std::string list;
    for (size_t i = 0; i < items.size(); ++i)
        list += (i ? " " : "") + scriptWord(items[i]);
    return scriptWord(list);
}

BOOL sendToHost(const std::string& text) {
    CWnd* main = AfxGetMainWnd();
    if (!main) return FALSE;
    // The host runs the command at once and answers its result: 1 when it did what was asked.
    return main->SendMessage(0x840F, reinterpret_cast<WPARAM>(text.c_str()), 0) == 1 ? TRUE : FALSE;
}

} // namespace

BOOL CKXAssocCompAPI::SendAddTermCommand() {
    const Settings& s = m_p->term;
    if (s.type.empty() || s.slots.empty()) {
        m_p->error = "no termination prepared";
        return FALSE;
    }
    std::string cmd = "addTermination pin -type " + scriptWord(s.type);
    for (size_t i = 0; i < s.slots.size(); ++i) {
        const Slot& sl = s.slots[i];
        cmd += " -part" + std::to_string(i + 1) + " -lib " + scriptWord(sl.lib) + " -cell " +
               scriptWord(sl.cell) + " -view " + scriptWord(sl.view) + " -physname " +
               scriptWord(sl.physName) + " -value " + scriptWord(sl.value);
        if (!sl.keyProps.empty()) cmd += " -k " + scriptList(sl.keyProps);
        if (!sl.instProps.empty()) cmd += " -i " + scriptList(sl.instProps);
    }
    if (!s.delay.empty()) cmd += " -delay " + scriptWord(s.delay);
    if (!s.high.empty()) cmd += " -high " + scriptWord(s.high);
    if (!s.low.empty()) cmd += " -low " + scriptWord(s.low);
    m_p->lastCommand = cmd;
    return sendToHost(cmd);
}

BOOL CKXAssocCompAPI::SendAddPupdCommand(int, int common, int shortFirst) {
    if (!m_p->pupdReady || m_p->pupd.slots.empty()) {
        m_p->error = "no pull-up/pull-down prepared";
        return FALSE;
    }
    const Settings& s = m_p->pupd;
    const Slot& sl = s.slots.front();
    std::string cmd = "addPupd pin -type " + scriptWord(lowerText(s.type)) + " -lib " + scriptWord(sl.lib) + " -cell " +
                      scriptWord(sl.cell) + " -view " + scriptWord(sl.view) + " -physname " +
                      scriptWord(sl.physName) + " -value " + scriptWord(sl.value) + " -dcnet " +
                      scriptWord(s.dcNet);
    if (!sl.keyProps.empty()) cmd += " -k " + scriptList(sl.keyProps);
    if (!sl.instProps.empty()) cmd += " -i " + scriptList(sl.instProps);
    if (common || m_p->pupdMode == PUPD_MODE_COMMON) cmd += " -common";
    if (shortFirst || m_p->shortBefore) cmd += " -short";
    m_p->lastCommand = cmd;
    return sendToHost(cmd);
}

CString CKXAssocCompAPI::GetLastCommandText() const {
    return CString(m_p->lastCommand);
}

CString CKXAssocCompAPI::GetLastError() const {
    return CString(m_p->error);
}

