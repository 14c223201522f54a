// Design library files: a design or part file in a library folder. What loads is saved, loaded in
// a fresh server and saved again: the two saves are the same bytes.
#include "FuzzSupport.h"

#include "rmx/server.h"

#include <algorithm>
#include <map>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> Files(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) out[e.path().filename().string()] = kxfuzz::Read(e.path());
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = kxfuzz::Text(data, size);
    fs::path lib = kxfuzz::Scratch("lib");
    kxfuzz::Write(lib / "library.rmx", "rmx-library 1\nlibrary demo\n");
    bool part = text.compare(0, 8, "rmx-part") == 0;
    kxfuzz::Write(lib / (part ? "input.part" : "input.sch.design"), text);

    IServer first;
    CString error;
    if (!first.loadLibrary(lib.c_str(), error)) return 0;
    fs::path a = kxfuzz::Scratch("a"), b = kxfuzz::Scratch("b");
    // A design whose name the file system cannot take as a file name is refused by the save, and said so.
    if (!first.saveLibrary("demo", a.c_str(), &error)) {
        KX_FUZZ_CHECK(error.str().find("name too long") != std::string::npos, error.str());
        return 0;
    }
    IServer second;
    KX_FUZZ_CHECK(second.loadLibrary(a.c_str(), error), error.str());
    KX_FUZZ_CHECK(second.saveLibrary("demo", b.c_str(), &error), error.str());
    KX_FUZZ_CHECK(Files(a) == Files(b), "save -> load -> save differs");
    return 0;
}
