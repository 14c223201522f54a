// The associated-component API's dialogs and its automation texts.
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
#include "AssocState.h"

using namespace kxassoc;

// ---- dialogs ----

namespace {

// The same component as far as the user sees it in the dialog (designators aside: the pin's own stay).
bool sameChoice(const Settings& a, const Settings& b) {
    auto sameSlot = [](const Slot& x, const Slot& y) {
        return lowerText(x.id) == lowerText(y.id) && x.lib == y.lib && x.cell == y.cell && x.view == y.view &&
               x.physName == y.physName && x.value == y.value && x.keyProps == y.keyProps &&
               x.instProps == y.instProps;
    };
    return lowerText(a.type) == lowerText(b.type) && a.delay == b.delay && a.high == b.high && a.low == b.low &&
           std::equal(a.slots.begin(), a.slots.end(), b.slots.begin(), b.slots.end(), sameSlot);
}

} // namespace

BOOL CKXAssocCompAPI::invokeTerminationDialog(bool& stop, bool, bool apply) {
    stop = false;
    m_p->error.clear();
    m_p->dialogChangedNothing = false;
    m_p->dialogEdits = false;
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXTerminationDlg", answer)) return FALSE;
    auto field = [&](const char* name) -> std::string {
        auto it = answer.fields.find(name);
        return it == answer.fields.end() ? std::string() : it->second.str();
    };
    // A pin bit (or pair) that has a termination opens the dialog on it: what the user leaves as it is
    // stays as it was; another type starts from that type's parts.
    const IDTInstance* shown = getAssociatedInstance(1);
    const Settings before = readSettings(shown);
    std::string type = field("type");
    if (type.empty()) type = shown ? before.type : m_strTerminationType.str();
    Settings s;
    if (shown && lowerText(type) == lowerText(before.type)) {
        s = before;
    } else if (!defaultTermination(type, s)) {
        // An answer the dialog does not offer: it refuses it (whichever road opened it says so).
        m_p->error = "unknown termination type \"" + type + "\"";
        AfxGetAnswerQueue().RefuseDialog("CKXTerminationDlg", CString(m_p->error));
        return FALSE;
    }
    // Fields per slot: value<i>, lib<i>, cell<i>, view<i>, physname<i>.
    for (size_t i = 0; i < s.slots.size(); ++i) {
        std::string n = std::to_string(i);
        if (auto v = field(("value" + n).c_str()); !v.empty()) s.slots[i].value = v;
        if (auto v = field(("lib" + n).c_str()); !v.empty()) s.slots[i].lib = v;
        if (auto v = field(("cell" + n).c_str()); !v.empty()) s.slots[i].cell = v;
        if (auto v = field(("view" + n).c_str()); !v.empty()) s.slots[i].view = v;
        if (auto v = field(("physname" + n).c_str()); !v.empty()) s.slots[i].physName = v;
    }
    const auto given = [&](const char* name, std::string& value) {
        if (auto v = field(name); !v.empty() || !shown) value = v;
    };
    given("delay", s.delay);
    given("high", s.high);
    given("low", s.low);
    stop = field("stop") == "1";
    // The one termination shown, left as it was: the dialog closes with nothing to do.
    if (shown && !m_p->multiple && sameChoice(s, before)) {
        m_p->dialogChangedNothing = true;
        return FALSE;
    }
    // The termination shown, kept in its type: the change is made to it in place, keeping its name, its
    // other properties and its parts' designators (over several pins, to each termination of that type the
    // caller finds; a pin without one takes the dialog's choice, as an add does).
    m_p->dialogEdits = shown && lowerText(s.type) == lowerText(before.type);
    if (m_p->dialogEdits) {
        m_p->dialogEditName = shown->name();
        m_p->dialogBefore = before;
        m_p->term = s;
        m_p->kind = 1;
        m_p->termSlotsGiven = false;
        m_strTerminationType = CString(s.type);
        return TRUE;
    }
    m_strTerminationType = CString(s.type);
    m_p->kind = 1;
    m_p->term = s;
    m_p->termSlotsGiven = false;
    if (!apply) return TRUE;
    // Applying from the dialog works in the transaction the caller's callback hands out.
    workTransaction(*this, *m_p, "Add Termination", true);
    m_p->replaceFromDialog = true;
    int added = AddTermination(0);
    m_p->replaceFromDialog = false;
    if (!added) return FALSE;
    m_bAppliedInDialog = true;
    return TRUE;
}

bool CKXAssocCompAPI::DialogChangedNothing() const {
    return m_p->dialogChangedNothing;
}

bool CKXAssocCompAPI::DialogEdit(CString& name, std::map<CString, CString>& partLooks, CString& delay,
                                 CString& high, CString& low) const {
    if (!m_p->dialogEdits) return false;
    const Settings& before = m_p->dialogBefore;
    const Settings& after = m_p->term;
    name = CString(m_p->dialogEditName);
    partLooks = changedPartLooks(before, after);
    delay = CString(after.delay != before.delay ? after.delay : std::string());
    high = CString(after.high != before.high ? after.high : std::string());
    low = CString(after.low != before.low ? after.low : std::string());
    return true;
}

BOOL CKXAssocCompAPI::invokePUPDDialog(bool) {
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXPupdDlg", answer)) return FALSE;
    auto field = [&](const char* name) -> CString {
        auto it = answer.fields.find(name);
        return it == answer.fields.end() ? CString() : it->second;
    };
    CStringArray none1, none2;
    if (!AddPupdInstance(field("type"), field("lib"), field("cell"), field("view"), field("physname"),
                         field("value"), none1, none2, field("dcnet")))
        return FALSE;
    CString mode = field("mode");
    m_p->pupdMode = mode.CompareNoCase("common") == 0 ? PUPD_MODE_COMMON : PUPD_MODE_SEPARATE;
    workTransaction(*this, *m_p, "Add Pupd", true);
    if (!ApplyPupd(false, false)) return FALSE;
    m_bAppliedInDialog = true;
    return TRUE;
}

KXPupdDialogResult ShowPupdDlg(CKXAssocCompAPI* api, const CDesignContext& design,
                               const CDesignContext& hierarchyDesign, const CNetBitContext& netBit, BOOL readOnly) {
    if (!api || !netBit) return KXPupdDialogResult::Cancelled;
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXPupdEditDlg", answer)) return KXPupdDialogResult::Cancelled;
    if (readOnly) return KXPupdDialogResult::Accepted; // seen, nothing to change
    api->setDesignContext(design);
    api->setHierarchyDesignContext(hierarchyDesign);
    auto field = [&](const char* name) -> CString {
        auto it = answer.fields.find(name);
        return it == answer.fields.end() ? CString() : it->second;
    };
    CString action = field("action");
    CStringArray k, i;
    const bool done = action.CompareNoCase("delete") == 0
                          ? api->DeletePupd(netBit.netBit(), field("name")) != 0
                          : api->EditPupd(netBit.netBit(), field("name"), field("refdes"), field("dcnet"), &k, &i) != 0;
    return done ? KXPupdDialogResult::Accepted : KXPupdDialogResult::Refused;
}

// ---- automation ----

BEGIN_DISPATCH_MAP(KXAssocAutomation, CCmdTarget)
DISP_FUNCTION(KXAssocAutomation, "InitTermination", DispInitTermination, VT_I4, VTS_BSTR)
DISP_FUNCTION(KXAssocAutomation, "InitPUPD", DispInitPUPD, VT_I4, VTS_BSTR)
DISP_FUNCTION(KXAssocAutomation, "SendAddTermCommand", DispSendAddTermCommand, VT_BOOL, VTS_NONE)
DISP_FUNCTION(KXAssocAutomation, "SendAddPupdCommand", DispSendAddPupdCommand, VT_BOOL, VTS_NONE)
END_DISPATCH_MAP()

KXAssocAutomation::KXAssocAutomation(IServer* server) {
    EnableAutomation();
    setServer(server);
}

CString CKXAssocCompAPI::GetPreparedText(int kind) const {
    if (kind == 2) {
        if (!m_p->pupdReady) return CString();
        std::string text = encodeSettings(m_p->pupd);
        if (m_p->pupdMode == PUPD_MODE_COMMON) text += ";mode=common";
        return CString(text);
    }
    return m_p->term.type.empty() ? CString() : CString(encodeSettings(m_p->term));
}

namespace {

// A prepared component given as the text GetPreparedText wrote ("type=...;..."); false for any other text.
bool preparedFromText(const CString& text, Settings& s) {
    if (text.Find("type=") < 0) return false;
    std::string error;
    return decodeSettings(text.str(), s, error);
}

} // namespace

void KXAssocAutomation::ForgetTermination() {
    m_p->term = Settings{};
    m_strTerminationType.Empty();
}

int KXAssocAutomation::InitTermination(CString text) {
    Settings given;
    if (preparedFromText(text, given)) {
        if (!findTermType(given.type)) {
            m_p->error = "unknown termination type \"" + given.type + "\"";
            return 0;
        }
        setKindOfOperation(1);
        m_strTerminationType = CString(findTermType(given.type)->name);
        getLCVPropFromSetup(true);
        given.type = m_strTerminationType.str();
        m_p->term = given;
        return 1;
    }
    CString type = text;
    type.Trim();
    Settings s;
    if (!defaultTermination(type.str(), s)) {
        m_p->error = "unknown termination type \"" + type.str() + "\"";
        return 0;
    }
    setKindOfOperation(1);
    m_strTerminationType = CString(s.type);
    getLCVPropFromSetup(true);
    return 1;
}

int KXAssocAutomation::InitPUPD(CString text) {
    Settings given;
    if (preparedFromText(text, given)) {
        const std::string type = pupdTypeName(given.type);
        if (type.empty() || given.slots.size() != 1 || given.dcNet.empty()) {
            m_p->error = "expected one pull-up or pull-down with a DC net";
            return 0;
        }
        setKindOfOperation(2);
        getLCVPropFromSetup(true);
        given.type = type;
        m_p->pupd = given;
        m_p->pupdReady = true;
        m_p->pupdMode = text.Find(";mode=common") >= 0 ? PUPD_MODE_COMMON : PUPD_MODE_SEPARATE;
        return 1;
    }
    // Whatever an earlier call prepared goes: a refused text leaves nothing for AddPUPD to add.
    m_p->pupdReady = false;
    std::vector<std::string> words = splitNames(text.str());
    if (words.empty() || pupdTypeName(words[0]).empty()) {
        m_p->error = "expected pullup or pulldown";
        return 0;
    }
    // The part has defaults; the net it pulls to has none.
    if (words.size() < 2) {
        m_p->error = "a " + lowerText(pupdTypeName(words[0])) + " needs the DC net it pulls to, after its type (" +
                     lowerText(pupdTypeName(words[0])) + " NET)";
        return 0;
    }
    setKindOfOperation(2);
    getLCVPropFromSetup(true);
    m_p->pupdMode = PUPD_MODE_SEPARATE;
    CStringArray k, i;
    return AddPupdInstance(CString(words[0]), "", "", "", "", "", k, i, CString(words[1]));
}

// ---- clipboard ----

namespace {

class AssocClipCodec : public IKXClipAssocCodec {
public:
    bool Describe(const CDesignContext&, int, IDTInstance* instance, int kind, CString& typeText,
                  CString& nameText, CString& dataText) override {
        if (!instance || !instance->isAlive()) return false;
        Settings s = readSettings(instance);
        typeText = CString(s.type);
        if (s.slots.empty() && kind == CKXAssocCompAPI::TERMINATION) {
            // A termination that records no parts describes none: a paste of it makes nothing, and says
            // so by the component's name. A pull-up or pull-down is one by its type alone, parts or not.
            nameText = CString(instance->name());
            dataText.Empty();
            return true;
        }
        std::string names;
        for (const auto& sl : s.slots)
            names += (names.empty() ? "" : " ") + sl.refDes;
        nameText = CString(names);
        // Designators are not carried over: a pasted component gets its own.
        for (auto& sl : s.slots)
            sl.refDes.clear();
        dataText = CString(encodeSettings(s));
        return true;
    }

    int Paste(CTransaction* transaction, const CInstTermBit& pinBit, IDPInstTerm* pairPin,
              const CNetBit& netBit, const CInstanceContext&, const CString& dataText,
              const CString& typeText, const CString& nameText, const CString& netName, int kind,
              int) override {
        if (!transaction) return 0;
        // Callers hand the entry's texts on in more than one order; the component data is the one text that
        // reads as a described component, whatever its place.
        Settings s;
        bool found = false;
        for (const CString* text : {&dataText, &typeText, &nameText, &netName}) {
            std::string error;
            if (!text->IsEmpty() && decodeSettings(text->str(), s, error)) {
                found = true;
                break;
            }
        }
        if (!found) return 0;
        std::string error;
        for (auto& sl : s.slots)
            sl.refDes.clear();
        if (kind == 1) {
            // A termination without parts is no termination: nothing is made.
            if (!findTermType(s.type) || s.slots.empty()) return 0;
            if (pairPin ? !dtsOn(pairPin, 1).empty() : (!pinBit || !dtsOn(pinBit, 1).empty())) return 0;
            return createTermination(transaction, pinBit, pairPin, s, error) ? 1 : 0;
        }
        if (kind == 2) {
            if (pupdTypeName(s.type).empty() || !netBit) return 0;
            for (IDTInstance* dt : dtsOn(netBit, 2))
                if (pupdTypeName(s.type) == pupdTypeName(dt->typeName())) return 0;
            return createPupd(transaction, netBit, s, std::string(), error) ? 1 : 0;
        }
        return 0;
    }
};

AssocClipCodec& codec() {
    static AssocClipCodec c;
    return c;
}

} // namespace

extern "C" BOOL InitKXAssocCompDLL() {
    CKXImpClipBoard::SetAssocCodec(&codec());
    return TRUE;
}

void CKXAssocCompAPI::SetDesignatorHold(DesignatorHold hold) {
    Designators::setHold(hold);
}

bool CKXAssocCompAPI::IsDesignatorTaken(IDesign* design, const CString& ref) {
    return design && !ref.IsEmpty() && Designators::of(design).taken(ref.GetString());
}

bool CKXAssocCompAPI::IsAssociatedDesignator(IDesign* design, const CString& ref) {
    return design && !ref.IsEmpty() && Designators::of(design).associated(ref.GetString());
}
