// Registry files: what is read is written and read back as the same file.
#include "FuzzSupport.h"

#include "afx/afx.h"
#include "afx/afxreg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto dir = kxfuzz::Scratch("reg");
    kxfuzz::Write(dir / "registry.txt", kxfuzz::Text(data, size));
    AfxSetRegistryDirectory(dir.c_str());
    bool damaged = !AfxTakeRegistryProblems().empty();
    // A change writes the whole file; reading that file and changing it again writes the same bytes.
    if (!AfxRegSetDword(HKEY_CURRENT_USER, "Software\\Fuzz", "round", 1)) return 0;
    std::string written = kxfuzz::Read(dir / "registry.txt");
    AfxSetRegistryDirectory(dir.c_str());
    KX_FUZZ_CHECK(AfxTakeRegistryProblems().empty(), written);
    KX_FUZZ_CHECK(AfxRegSetDword(HKEY_CURRENT_USER, "Software\\Fuzz", "round", 1), written);
    KX_FUZZ_CHECK(kxfuzz::Read(dir / "registry.txt") == written, written);
    (void)damaged;
    AfxSetRegistryDirectory("");
    return 0;
}
