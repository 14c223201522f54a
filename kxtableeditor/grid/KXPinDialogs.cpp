// The assign-pin-number and swap-pins dialogs of the pin and physical part grids.
#include "grid/KXPinDialogs.h"

#include "afx/afxanswer.h"
#include "afx/afxwin.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr int kAllPins = 15;

// "NAME<BIT>" as base name and bit; the whole text and -1 for anything that names no one bit.
void SplitBitName(const CString& name, CString& base, int& bit) {
    int lsb = -1, msb = -1, kind = 0;
    if (CSchemaUtilities::parsePinName(name, base, lsb, msb, kind) && kind < 2) {
        bit = lsb;
        return;
    }
    base = name;
    bit = -1;
}

const char* TypeText(int direction) {
    switch (direction) {
    case 0: return "Unspec";
    case 1: return "Input";
    case 2: return "Output";
    default: return "Inout";
    }
}

CString PropertyValue(CPQPropertyData* found) {
    std::unique_ptr<CPQPropertyData> prop(found);
    return prop ? CString(prop->value()) : CString();
}

} // namespace

CKXAssignPinDialog::~CKXAssignPinDialog() {
    if (m_hOwnGen) hmtStopGen(m_hOwnGen);
}

void CKXAssignPinDialog::SetPinGenerator(HMTGEN gen) {
    m_hGen = gen;
    FillNumbers(gen);
}

void CKXAssignPinDialog::FillNumbers(HMTGEN gen) {
    m_candidates.clear();
    if (!gen) return;
    hmtResetGen(gen);
    while (HMTPIN pin = hmtGenPins(gen))
        m_candidates.emplace_back(hmtPinName(pin));
    hmtResetGen(gen);
}

void CKXAssignPinDialog::SetPinInfo(int row, CString baseName, int first, int second, CString pinNumber) {
    m_nPresetRow = row;
    m_strPresetName = baseName;
    m_nPresetFirst = first;
    m_nPresetLast = second;
    m_strCurrent = pinNumber;
}

CString CKXAssignPinDialog::PresetName() const {
    if (m_nPresetFirst == -1 && m_nPresetLast == -1) return m_strPresetName;
    if (m_nPresetFirst == m_nPresetLast) return CSchemaUtilities::vectorName(m_strPresetName, m_nPresetFirst);
    return CString(); // a range names no one pin
}

void CKXAssignPinDialog::BuildSectionMap(std::map<CString, int>& sections) const {
    IServer* server = m_instance ? m_instance.server() : nullptr;
    HMTPART part = server ? server->partDataService()->getPartDefinition(m_instance) : nullptr;
    HMTGEN all = part ? hmtStartGenPins(part, kAllPins) : nullptr;
    if (!all) return;
    while (HMTPIN pin = hmtGenPins(all)) {
        const char* section = hmtGetSectionPinParentSection(pin);
        sections[hmtPinName(pin)] = section ? std::atoi(section) : -1;
    }
    hmtStopGen(all);
}

CKXAssignPinDialog::FunctionNumbers CKXAssignPinDialog::StartSectionNumbers() const {
    FunctionNumbers numbers;
    IServer* server = m_pStartSection && m_instance ? m_instance.server() : nullptr;
    HMTPART part = server ? server->partDataService()->getPartDefinition(m_instance) : nullptr;
    HMTGEN all = part ? hmtStartGenPins(part, kAllPins) : nullptr;
    if (!all) return numbers;
    while (HMTPIN p = hmtGenPins(all))
        if (hmtGetSectionPinParentSection(p) == m_pStartSection) numbers.emplace(hmtLogPinName(p), hmtPinName(p));
    hmtStopGen(all);
    return numbers;
}

// The number a pin bit has: its PN property, else (a part with sections) the number of its
// function in the instance's section.
CString CKXAssignPinDialog::PinNumberOf(const CInstanceContext& instance, const char* pin, int bit, const char* name,
                                        const FunctionNumbers& sectionNumbers) const {
    const CString number = instance.instTerm(pin).bitContext(bit).physicalPinName();
    if (!number.IsEmpty() || sectionNumbers.empty()) return number;
    const auto found = sectionNumbers.find(hmtHashSaveStrng(name));
    return found == sectionNumbers.end() ? CString() : CString(found->second);
}

BOOL CKXAssignPinDialog::OnInitDialog() {
    m_bSummaryShown = TRUE;
    m_nHeight = kDialogHeight;
    m_strSummaryButton = "&Function Summary <<";
    m_pChosenNumber = nullptr;
    m_pinNames.clear();
    m_summary.clear();
    FillNumbers(m_hGen);
    IInstance* inst = m_instance.instance();
    m_pStartSection = m_pChosenSection = hmtHashSaveStrng(PropertyValue(m_instance.findProperty("SEC")).GetString());
    if (m_pStartSection && !*m_pStartSection) m_pStartSection = m_pChosenSection = nullptr;
    std::map<CString, int> sections;
    m_bChips = inst && inst->isChips();
    if (m_bChips) BuildSectionMap(sections);
    const CString preset = PresetName();
    const FunctionNumbers sectionNumbers = StartSectionNumbers();
    for (auto it = inst ? inst->beginInstTerm() : CSchemaObjectIterator<IInstTerm*>(); it; ++it) {
        IInstTerm* pin = *it;
        for (int bit : pin->bits()) {
            SummaryRow row;
            row.name = bit == -1 ? CString(pin->name()) : CSchemaUtilities::vectorName(pin->name(), bit);
            row.number = PinNumberOf(m_instance, pin->name(), bit, row.name, sectionNumbers);
            row.type = TypeText(pin->direction());
            if (m_bChips && sections.count(row.number)) row.section = sections[row.number];
            if (row.name == preset) m_strSelectedName = row.name;
            m_pinNames.push_back(row.name);
            m_summary.push_back(row);
        }
    }
    return TRUE;
}

void CKXAssignPinDialog::OnSelchangePinName(const CString& name) {
    IServer* server = m_instance ? m_instance.server() : nullptr;
    if (!server) return;
    CString base;
    int bit = -1;
    SplitBitName(name, base, bit);
    HMTGEN gen = server->partDataService()->getCandidatePins(m_instance, base.GetString(), bit, bit);
    if (gen) hmtResetGen(gen);
    // Only a generator the dialog made is released here; the caller's stays the caller's.
    if (m_hOwnGen) hmtStopGen(m_hOwnGen);
    m_hOwnGen = m_hGen = gen;
    m_strSelectedName = name;
    FillNumbers(gen);
    for (const SummaryRow& row : m_summary)
        if (row.name == name) {
            m_pChosenNumber = hmtHashSaveStrng(row.number.GetString());
            break;
        }
}

CKXAssignPinDialog::SummaryRow* CKXAssignPinDialog::SummaryRowNamed(const char* name, int section) {
    SummaryRow* first = nullptr;
    for (SummaryRow& row : m_summary) {
        if (row.name != name) continue;
        if (!m_bChips || row.section == section) return &row;
        if (!first) first = &row;
    }
    // An instance of one section has no rows of another: its functions take the section's numbers.
    return first;
}

BOOL CKXAssignPinDialog::OnSelchangePinNumber(const CString& number) {
    if (std::find(m_candidates.begin(), m_candidates.end(), number) == m_candidates.end()) return FALSE;
    m_pChosenNumber = hmtHashSaveStrng(number.GetString());
    if (!m_hGen) return TRUE;
    HMTPIN found = nullptr;
    hmtResetGen(m_hGen);
    while (HMTPIN pin = hmtGenPins(m_hGen))
        if (hmtPinName(pin) == m_pChosenNumber) {
            found = pin;
            break;
        }
    hmtResetGen(m_hGen);
    if (!found) return TRUE;
    if (const char* section = hmtGetSectionPinParentSection(found)) m_pChosenSection = section;
    const int chosen = m_pChosenSection ? std::atoi(m_pChosenSection) : -1;
    HMTGEN sectionPins = hmtStartGenParentSectionPins(found);
    while (HMTPIN pin = sectionPins ? hmtGenPins(sectionPins) : nullptr)
        if (SummaryRow* row = SummaryRowNamed(hmtLogPinName(pin), chosen)) row->number = hmtPinName(pin);
    if (sectionPins) hmtStopGen(sectionPins);
    return TRUE;
}

void CKXAssignPinDialog::OnFunctionSummary() {
    m_bSummaryShown = !m_bSummaryShown;
    m_nHeight += m_bSummaryShown ? kSummaryHeight : -kSummaryHeight;
    m_strSummaryButton = m_bSummaryShown ? "&Function Summary <<" : "&Function Summary >>";
}

int CKXAssignPinDialog::DoModal() {
    OnInitDialog();
    AfxDialogAnswer answer;
    const BOOL ok = AfxGetAnswerQueue().TakeDialog("CKXAssignPinDialog", answer) && answer.bOK;
    auto field = [&answer](const char* name) -> const CString* {
        auto it = answer.fields.find(name);
        return it == answer.fields.end() ? nullptr : &it->second;
    };
    if (const CString* summary = field("summary"); summary && (*summary == "1") != (m_bSummaryShown != 0))
        OnFunctionSummary();
    if (const CString* chosen = field("name")) OnSelchangePinName(*chosen);
    const CString* pin = field("pin");
    // OK without a number chosen takes the one the combo shows: the chosen pin name's, else the pin's own.
    const CString number = pin ? *pin : m_pChosenNumber ? CString(m_pChosenNumber) : m_strCurrent;
    // Only a number the combo offers can be chosen: another is refused, and the dialog stays unchosen.
    const bool candidate = ok && !number.IsEmpty() &&
                           std::find(m_candidates.begin(), m_candidates.end(), number) != m_candidates.end();
    if (ok && !number.IsEmpty() && !candidate)
        CKXErrorHandler::MessageBoxOk("KXTABLE-198", number.GetString());
    // The number goes to the pin the dialog was opened for: another pin's name shows that pin's numbers
    // only, and an OK with it chosen would give one of them to the wrong pin.
    const CString* name = field("name");
    const bool otherPin = name && *name != PresetName();
    if (candidate && otherPin) {
        CString why;
        why.Format("pin name %s: the dialog numbers pin %s only", name->GetString(),
                   PresetName().GetString());
        AfxGetAnswerQueue().RefuseDialog("CKXAssignPinDialog", why);
    }
    const bool offered = candidate && !otherPin && OnSelchangePinNumber(number);
    if (!offered) {
        m_pChosenNumber = nullptr;
        return IDCANCEL;
    }
    return IDOK;
}

CKXSwappinsDialog::CKXSwappinsDialog(const CInstanceContext& instance, CString pinName, CString pinNumber, CWnd*)
    : m_instance(instance), m_strPinName(pinName), m_strPinNumber(pinNumber) {}

const std::vector<CString>& CKXSwappinsDialog::GetSwappablePins() {
    // Read when the dialog shows them, not for a swap given by number.
    if (!m_bRead)
        if (IServer* server = m_instance ? m_instance.server() : nullptr)
            m_swappable = server->pinSwapService()->swappablePins(m_instance, m_strPinNumber.GetString());
    m_bRead = true;
    return m_swappable;
}

int CKXSwappinsDialog::DoModal() {
    m_strChosen.Empty();
    GetSwappablePins();
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXSwappinsDialog", answer) || !answer.bOK) return IDCANCEL;
    auto it = answer.fields.find("pin");
    if (it == answer.fields.end()) {
        AfxGetAnswerQueue().RefuseDialog("CKXSwappinsDialog", "no pin number given");
        return IDCANCEL;
    }
    if (!MaySwap(m_instance, m_strPinName, m_strPinNumber, it->second)) return IDCANCEL;
    m_strChosen = it->second;
    return IDOK;
}

void CKXSwappinsDialog::RefusePartner(const CInstanceContext& instance, const CString& number) {
    const char* package = instance ? instance.physicalPackageName() : nullptr;
    const CDesignContext design = instance ? instance.design() : CDesignContext();
    IDesign* holder = package && *package ? design.design() : nullptr;
    for (IInstance* other : holder ? holder->beginInstance() : CSchemaObjectIterator<IInstance*>()) {
        const CInstanceContext context = design.instance(other);
        const char* otherPackage = context.physicalPackageName();
        if (context == instance || !otherPackage || std::strcmp(otherPackage, package) != 0) continue;
        for (IInstTerm* pin : other->beginInstTerm())
            for (int bit : pin->bits())
                if (context.instTerm(pin).bitContext(bit).physicalPinName() == number) {
                    const CString name = pin->isScalar() ? CString(pin->name())
                                                         : CSchemaUtilities::vectorName(pin->name(), bit);
                    CKXErrorHandler::MessageBoxOk("KXTABLE-520", number, name, context.name());
                    return;
                }
    }
    CKXErrorHandler::MessageBoxOk("KXTABLE-107");
}

bool CKXSwappinsDialog::MaySwap(const CInstanceContext& instance, const CString& pinName, const CString& from,
                                const CString& to) {
    if (to == from) return true;
    IServer* server = instance ? instance.server() : nullptr;
    if (server && server->pinSwapService()->canSwap(instance, from.GetString(), to.GetString())) return true;
    CKXErrorHandler::MessageBoxOk("KXTABLE-489", pinName, from, to);
    return false;
}
