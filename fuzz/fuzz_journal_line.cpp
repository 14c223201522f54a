// Journal lines as the replay reads them.
#include "FuzzSupport.h"

#include "KXJournalLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = kxfuzz::Text(data, size);
    size_t start = 0;
    while (start <= text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        SKXJournalLine line;
        std::string why;
        if (KXParseJournalLine(text.substr(start, nl - start), line, why)) {
            KX_FUZZ_CHECK(line.kind != SKXJournalLine::Call || !line.calls.empty(), line.text);
            KX_FUZZ_CHECK(line.kind != SKXJournalLine::OpenDesign || line.calls.at(0).args.size() == 2, line.text);
            KX_FUZZ_CHECK(line.kind != SKXJournalLine::SelectTab || line.calls.at(0).args.size() == 1, line.text);
        }
        start = nl + 1;
    }
    return 0;
}
