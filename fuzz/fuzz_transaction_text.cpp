// Transaction text on the example board. A text that commits is undone by its backward text,
// which gives the design back byte for byte; a text that does not commit changes nothing.
#include "FuzzSupport.h"

#include "rmx/server.h"
#include "rmx/transaction.h"

namespace fs = std::filesystem;

namespace {

IServer* Board() {
    static IServer* server = [] {
        auto* s = new IServer;
        CString error;
        if (!s->loadLibrary(KX_SOURCE_DIR "/examples/designs", error)) kxfuzz::Fail("the example library loads", error.str());
        return s;
    }();
    return server;
}

std::string Snapshot(IServer* s) {
    IDesign* d = s->findDesign("demo.board:sch");
    fs::path dir = kxfuzz::Scratch("snap");
    CString error;
    if (!s->saveDesignAs(d, dir.c_str(), "demo", "board", "sch", &error)) kxfuzz::Fail("snapshot", error.str());
    return kxfuzz::Read(dir / "board.sch.design");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IServer* server = Board();
    std::string text = kxfuzz::Text(data, size);
    std::string before = Snapshot(server);
    CTransaction forward(server, text.c_str(), true, true);
    if (!forward.isValid() || !forward.commit()) {
        KX_FUZZ_CHECK(Snapshot(server) == before, "a refused transaction changed the design");
        return 0;
    }
    CTransaction backward(server, text.c_str(), true, false);
    KX_FUZZ_CHECK(backward.isValid() && backward.commit(), backward.lastError().str());
    KX_FUZZ_CHECK(Snapshot(server) == before, "transaction -> backward text does not restore the design");
    return 0;
}
