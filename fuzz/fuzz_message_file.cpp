// Message files: read, then every message formatted with arguments.
#include "FuzzSupport.h"

#include "kxerrorhandler/KXErrorHandler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto file = kxfuzz::Scratch("msg") / "messages.txt";
    kxfuzz::Write(file, kxfuzz::Text(data, size));
    CKXErrorHandler::ClearMessages();
    if (CKXErrorHandler::LoadMessageFile(file.c_str())) {
        for (const char* id : {"KXTABLE-1", "KXTABLE-131", "A", "X-1"})
            CKXErrorHandler::FormatMessage(id, {KXMsgArg("one"), KXMsgArg(2), KXMsgArg("%s%1")});
    }
    CKXErrorHandler::TakeLoadFailures();
    return 0;
}
