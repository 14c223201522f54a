// Design database benchmarks: opening and walking a large instance, committing a wide
// connection transaction, and one connection in designs of growing size.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>

#include "rmx/DesignBuilder.h"

namespace {

struct Folder {
    std::string path;
    Folder() {
        char tmpl[] = "/tmp/rmxbenchXXXXXX";
        path = mkdtemp(tmpl);
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

// One saved synthetic library per pin count, made on first use.
const std::string& savedLibrary(int pins) {
    static std::map<int, std::unique_ptr<Folder>> folders;
    auto& f = folders[pins];
    if (!f) {
        f = std::make_unique<Folder>();
        IServer s;
        rmx::generateSyntheticDesign(&s, pins);
        s.saveLibrary("bench", f->path.c_str());
    }
    return f->path;
}

long walk(IInstance* inst) {
    long n = 0;
    for (IInstTerm* p : inst->beginInstTerm())
        for (const CInstTermBit& b : p->beginBit()) {
            CNetBit nb = b.netbitOuter();
            std::unique_ptr<CPQPropertyData> pn(b.findProperty("PN"));
            n += (nb ? 1 : 0) + (pn ? 1 : 0);
        }
    return n;
}

void BM_OpenAndWalkInstance(benchmark::State& state) {
    const std::string& folder = savedLibrary(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        IServer s;
        CString err;
        s.loadLibrary(folder.c_str(), err);
        IInstance* u1 = s.findDesign("bench.top:sch")->findInstance("U1");
        benchmark::DoNotOptimize(walk(u1));
    }
}
BENCHMARK(BM_OpenAndWalkInstance)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WalkInstance(benchmark::State& state) {
    IServer s;
    IDesign* d = rmx::generateSyntheticDesign(&s, static_cast<int>(state.range(0)));
    IInstance* u1 = d->findInstance("U1");
    for (auto _ : state) benchmark::DoNotOptimize(walk(u1));
    state.counters["pins"] = u1->instTermCount();
}
BENCHMARK(BM_WalkInstance)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Connects every bit of a 10,000-bit pin, one bit per addConn, in one committed transaction.
void BM_CommitConnectPins(benchmark::State& state) {
    const int pins = static_cast<int>(state.range(0));
    IServer s;
    rmx::DesignBuilder b(&s, "bench");
    b.symbol("WIDE").bus("P", pins - 1, 0);
    b.schematic("top").instance("U1", "WIDE").net("BUS", pins - 1, 0);
    IDesign* d = b.design();
    IInstTerm* p = d->findInstance("U1")->findInstTerm("P");
    INet* bus = d->findNet("BUS");
    for (auto _ : state) {
        CTransaction t(b.context(), "Add Conn");
        for (int k = 0; k < pins; ++k)
            t.addConn(bus, static_cast<unsigned>(k), static_cast<unsigned>(k), p, static_cast<unsigned>(k),
                      static_cast<unsigned>(k));
        t.commit();
        state.PauseTiming();
        CTransaction undo(b.context());
        undo.removeConn(bus, static_cast<unsigned>(-1), static_cast<unsigned>(-1), p, static_cast<unsigned>(-1),
                        static_cast<unsigned>(-1));
        undo.commit();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CommitConnectPins)->Arg(10000)->Unit(benchmark::kMillisecond);

// One connection committed in designs with 1,000 to 100,000 connections.
void BM_CommitOneConnection(benchmark::State& state) {
    IServer s;
    IDesign* d = rmx::generateSyntheticDesign(&s, 1024, static_cast<int>(state.range(0)));
    CDesignContext ctx(&s, d);
    IInstance* r = d->findInstance("R0");
    INet* n = d->findNet("DATA0");
    IInstTerm* a = r->findInstTerm("A");
    CNetBit old = a->netBit(-1);
    state.counters["connections"] = static_cast<double>(state.range(0));
    for (auto _ : state) {
        CTransaction t(ctx, "Add Conn");
        t.addConn(n, 5, 5, a, static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        t.commit();
        state.PauseTiming();
        CTransaction back(ctx);
        back.addConn(old.net(), static_cast<unsigned>(old.bit()), static_cast<unsigned>(old.bit()), a,
                     static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        back.commit();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CommitOneConnection)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
