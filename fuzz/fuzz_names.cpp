// Signal, pin, pair and bus names, and CParseString patterns. A name's display text is a name
// whose display text is itself.
#include "FuzzSupport.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/ParseString.h"
#include "rmx/schemautil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = kxfuzz::Text(data, size);
    CString name(text.c_str());
    CString display, net, again, net2;
    int lsb = -1, msb = -1, step = 1, type = -1, scope = 0, stride = 0, expand = 0;
    if (CKXGenUtils::ParseSignalName(name, display, net, lsb, msb, step, type, scope, stride, expand)) {
        int l2 = -1, m2 = -1, s2 = 1, sc2 = 0, st2 = 0, e2 = 0;
        KX_FUZZ_CHECK(CKXGenUtils::ParseSignalName(display, again, net2, l2, m2, s2, type, sc2, st2, e2), display.str());
        KX_FUZZ_CHECK(again == display && net2 == net && l2 == lsb && m2 == msb && sc2 == scope, text + " -> " + display.str() + " -> " + again.str());
    }
    lsb = msb = -1;
    if (CKXGenUtils::ParsePinName(name, display, net, lsb, msb, step, scope, type)) {
        int l2 = -1, m2 = -1, s2 = 1, sc2 = 0;
        KX_FUZZ_CHECK(CKXGenUtils::ParsePinName(display, again, net2, l2, m2, s2, sc2, type), display.str());
        KX_FUZZ_CHECK(again == display && net2 == net && l2 == lsb && m2 == msb, text + " -> " + display.str());
    }
    CString full, base, pos, neg;
    int second = -1, first = -1, flag = 0;
    CKXGenUtils::ParseDPName(name, full, base, second, first, flag);
    CKXGenUtils::GetDiffPairNetNames(name, pos, neg);
    CString rbase;
    int rl = 0, rm = 0, kind = 0;
    if (CSchemaUtilities::parsePinName(text.c_str(), rbase, rl, rm, kind)) KX_FUZZ_CHECK(!rbase.IsEmpty(), text);
    CSchemaUtilities::isValidName(text.c_str());
    CSchemaUtilities::getValidBusSyntax(text.c_str());
    // The text split in two: a pattern and what it is matched against.
    size_t cut = text.find('\n');
    if (cut != std::string::npos) {
        std::vector<CString> parts;
        std::string pat = text.substr(0, cut);
        int n = CParseString::Parse(CString(text.substr(cut + 1).c_str()), pat.c_str(), parts, 64);
        KX_FUZZ_CHECK(n >= 0 && static_cast<size_t>(n) <= parts.size() + 1, pat);
    }
    return 0;
}
