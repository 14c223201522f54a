// Wide buses: a bus costs what its used bits cost, so a small file of very wide nets loads in a
// small address space, and the data of a used bit stays at its bit through width changes.
#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fixture.h"
#include "util.h"

namespace {

// Runs body in a child process whose address space may grow by at most extraMb; its exit code
// (0 when body answered true; a failed allocation aborts the child).
int inSmallAddressSpace(long extraMb, const std::function<bool()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) +
                             static_cast<rlim_t>(extraMb) * 1024 * 1024;
        rlimit r{limit, limit};
        setrlimit(RLIMIT_AS, &r);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST(WideBits, AFileOfFullWidthNetsLoadsAndSavesInLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a sanitizer reserves more address space than the limit";
#endif
    TempDir dir;
    writeFile(dir.str("library.rmx"), "rmx-library 1\nlibrary work\n");
    writeFile(dir.str("RES.sym.design"), "rmx-design 1\ndesign work RES sym symbol\nport A 65535 0 inout unknown\n");
    std::string body = "rmx-design 1\ndesign work big sch schematic\n";
    for (int n = 0; n < 200; ++n) body += "net BIG" + std::to_string(n) + " 65535 0 0 unknown\n";
    body += "inst R1 work RES sym\npin R1 A 65535 0 inout unknown\n"
            "conn R1 A<65535> BIG7<0>\nconn R1 A<0> BIG7<65535>\n"
            "prop @:BIG199<40000> NOTE \"far\" 0\n";
    writeFile(dir.str("big.sch.design"), body);
    // 200 nets and a pin of 65,536 bits each: about 1.6 GB when every bit is held.
    const int rc = inSmallAddressSpace(128, [&] {
        IServer s;
        CString err;
        if (!s.loadLibrary(dir.str().c_str(), err)) return false;
        IDesign* d = s.findDesign("work.big:sch");
        if (!d) return false;
        IInstTerm* a = d->findInstance("R1")->findInstTerm("A");
        const std::string text = snapshot(s, d);
        return a->netBit(65535) == CNetBit(d->findNet("BIG7"), 0) && a->netBit(1).isNull() &&
               text.find("conn R1 A<0> BIG7<65535>") != std::string::npos &&
               text.find("prop @:BIG199<40000> NOTE \"far\" 0") != std::string::npos;
    });
    EXPECT_EQ(rc, 0);
}

// A used bit keeps its connections and properties through a width change, the bits that held nothing
// come and go freely, and going back to the old width gives back the very file.
TEST_F(BoardTest, TheDataOfAUsedBitStaysAtItsBitThroughWidthChanges) {
    INet* data = board->findNet("DATA");
    IInstTerm* d = board->findInstance("U1")->findInstTerm("D");
    const std::string before = snapshot(server, board);
    {
        CTransaction t(top, "widen");
        ASSERT_TRUE(t.addProperty(top.net("DATA").bitContext(6), "NOTE", "six", 0));
        ASSERT_TRUE(t.changeNetWidth(data, 65535, 0));
        ASSERT_TRUE(t.commit()) << t.lastError().str();
        const std::string wide = snapshot(server, board);
        EXPECT_NE(wide.find("net DATA 65535 0 0 unknown"), std::string::npos);
        EXPECT_EQ(d->netBit(3), CNetBit(data, 3));
        EXPECT_EQ(CNetBit(data, 6).beginPropertyName().count(), 1u);
        EXPECT_TRUE(CNetBit(data, 40000).beginInstTermBit().atEnd());
        CTransaction n(top, "narrow");
        ASSERT_TRUE(n.changeNetWidth(data, 7, 0));
        ASSERT_TRUE(n.removeProperty(top.net("DATA").bitContext(6), "NOTE"));
        ASSERT_TRUE(n.commit()) << n.lastError().str();
    }
    EXPECT_EQ(snapshot(server, board), before);
    EXPECT_EQ(data->connectionCount(), 16);  // U1 and B1, eight bits each
}
