// Comment and matrix-view files: what loads is saved, loaded and saved again, byte for byte.
#include "FuzzSupport.h"

#include "kxnotes/CComments.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fs::path in = kxfuzz::Scratch("in"), a = kxfuzz::Scratch("a"), b = kxfuzz::Scratch("b");
    kxfuzz::Write(in / "board.TableEditor.notes", kxfuzz::Text(data, size));
    CComments first("TableEditor", "board", 1);
    if (!first.loadComments(in.c_str())) return 0;
    KX_FUZZ_CHECK(first.saveComments(a.c_str()), first.GetLastError().str());
    CComments second("TableEditor", "board", 1);
    KX_FUZZ_CHECK(second.loadComments(a.c_str()), second.GetLastError().str());
    KX_FUZZ_CHECK(second.saveComments(b.c_str()), second.GetLastError().str());
    KX_FUZZ_CHECK(kxfuzz::Read(a / "board.TableEditor.notes") == kxfuzz::Read(b / "board.TableEditor.notes"),
                  "save -> load -> save differs");
    return 0;
}
