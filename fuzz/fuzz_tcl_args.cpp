// Tcl argument lists: a line that reads is written and read back as the same arguments.
#include "FuzzSupport.h"

#include "kxcommon/TclArgs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = kxfuzz::Text(data, size);
    CString error;
    std::unique_ptr<CTclArgsList> list = CTclArgsList::FromTclCommandLine(text.c_str(), &error);
    if (!list) return 0;
    CString line = list->ToTclCommandLine();
    std::unique_ptr<CTclArgsList> back = CTclArgsList::FromTclCommandLine(line.GetString(), &error);
    KX_FUZZ_CHECK(back != nullptr, line.str() + "\n" + error.str());
    KX_FUZZ_CHECK(*back == *list, line.str());
    KX_FUZZ_CHECK(back->ToTclCommandLine() == line, line.str());
    return 0;
}
