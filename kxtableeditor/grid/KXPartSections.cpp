// Pin numbers of a part's section, written onto an instance given that section.
#include "grid/KXPartSections.h"

#include "kxcommon/KXGenUtils.h"
#include "rmx/hmtpi.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <map>
#include <memory>

namespace {

constexpr int kAllPins = 15;                  // generator flags: every pin of the part
constexpr unsigned long kPinNumberFlags = 2; // the source of a pin number the user assigned

struct GenStop {
    void operator()(hmtGen_* gen) const { hmtStopGen(gen); }
};

} // namespace

int KXNumberPinsForSection(CTransaction& transaction, const CInstanceContext& instance, const char* section) {
    IServer* server = instance ? instance.server() : nullptr;
    HMTPART part = server && section ? server->partDataService()->getPartDefinition(instance) : nullptr;
    if (!part) return 0;
    // The generator names sections by their interned texts.
    const char* wanted = hmtHashSaveStrng(section);
    std::map<CString, const char*> numbers; // logical pin name -> its pin number in the section
    const std::unique_ptr<hmtGen_, GenStop> gen(hmtStartGenPins(part, kAllPins));
    while (HMTPIN pin = hmtGenPins(gen.get()))
        if (hmtGetSectionPinParentSection(pin) == wanted) numbers.emplace(hmtLogPinName(pin), hmtPinName(pin));
    if (numbers.empty()) return 0;
    int written = 0;
    for (IInstTerm* pin : instance.instance()->beginInstTerm()) {
        const CInstTermContext term = instance.instTerm(pin);
        for (int b : pin->bits()) {
            const CInstTermBitContext bit = term.bitContext(b);
            const auto found = numbers.find(CKXGenUtils::GetPinLogicalName(bit));
            if (found == numbers.end() || CKXGenUtils::GetPinNumber(bit) == found->second) continue;
            if (transaction.addProperty(bit, "PN", found->second, kPinNumberFlags, false)) ++written;
        }
    }
    return written;
}
