// Pin CSV files, and the pin names looked up after a good parse.
#include "FuzzSupport.h"

#include "kxsmall/KXCsvParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto file = kxfuzz::Scratch("csv") / "pins.csv";
    kxfuzz::Write(file, kxfuzz::Text(data, size));
    KXCsvParser parser{QBString(file.c_str())};
    QBStatus status;
    parser.parse(&status);
    if (status.isOk())
        for (const char* number : {"A1", "1", "", "B 2"}) {
            CString n = number, name;
            parser.getPinNameFromNumber(n, name);
        }
    parser.close(&status);
    return 0;
}
