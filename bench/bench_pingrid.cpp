// The pin grid in a design window at FPGA scale: the synthetic design of the design database
// (1,000 and 10,000 pins) opened the way the host opens it, component U1 shown in the
// connectivity pane, then the work a user does to it: opening the window, loading the pins,
// one connection edit, a net rename, disconnecting every pin, and one transaction creating
// thousands of nets and connections. Each benchmark leaves the design as it found it.
//
// Run under callgrind (`make bench-count`), only the measured parts are instrumented, so the
// instruction count of a run divided by its iterations is the cost of one operation.
#include "KXHostApp.h"
#include "KXHostCore.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"
#include "KXTableEditor.h"

#include "afx/afxanswer.h"
#include "afx/afxreg.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/DesignBuilder.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include "BenchMeasure.h"

#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr unsigned kWhole = static_cast<unsigned>(-1);

// The board a window shows: the design database's synthetic FPGA board, made in the host's server, or a
// library folder written by the FPGA design generator (KX_FPGA_DESIGN_TOOL, by default the shared tool
// beside the project: vectors on vector nets, spare pins, resistors), read by the host as a user's --lib.
enum class Board { Synthetic, Generated };

std::string GeneratedLibrary(int pins) {
    const char* tool = std::getenv("KX_FPGA_DESIGN_TOOL");
    const std::string generator = tool ? tool : KX_PROJECT_SOURCE_DIR "/../shared/tools/gen-fpga-design";
    const std::string folder = "/tmp/kx_bench_fpga_" + std::to_string(pins);
    const std::string command = generator + " " + std::to_string(pins) + " " + folder + " >/dev/null";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "bench_pingrid: '%s' failed\n", command.c_str());
        std::exit(1);
    }
    return folder;
}

using kxbench::Measured;
using kxbench::Untimed;

std::string EditorLibrary() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&DllGetDocTemplate), &info) && info.dli_fname) return info.dli_fname;
    return "libkxtableeditor.so";
}

// The host with the synthetic design, its window open and U1 shown in the connectivity pane.
class Window {
public:
    explicit Window(int pins, Board board = Board::Synthetic)
        : m_pins(pins), m_board(board), m_design(board == Board::Synthetic ? "bench.top:sch" : "perf.top:sch") {
        AfxSetRegistryDirectory("");
        AfxGetAnswerQueue().Reset();
        CKXErrorHandler::SetDataDirectory(KX_EDITOR_SOURCE_DIR);
        m_core = std::make_unique<CKXHostCore>(m_out);
        m_core->SetQuiet(true);
        m_app = std::make_unique<CKXHostApp>(*m_core);
        std::string error;
        const std::string library = board == Board::Generated ? GeneratedLibrary(pins) : std::string();
        if (!m_app->Start(library, "", error, EditorLibrary())) Fail("cannot start the host: " + error);
        if (board == Board::Synthetic && !rmx::generateSyntheticDesign(m_app->Server(), pins))
            Fail("cannot make the synthetic design");
        OpenWindow();
        ShowU1();
    }
    ~Window() {
        m_app->Stop();
        m_app.reset();
        m_core.reset();
        AfxGetAnswerQueue().Reset();
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    int Pins() const { return m_pins; }
    Board Kind() const { return m_board; }
    const std::string& DesignName() const { return m_design; }

    void OpenWindow() {
        std::string error;
        if (!m_app->Open(m_design, 1, error)) Fail("cannot open the design window: " + error);
    }
    void CloseWindow() {
        std::string error;
        if (!m_app->Close(error)) Fail("cannot close the design window: " + error);
    }
    CDesignContext Design() const { return CDesignContext(CKXShareGlobalData::m_pServer, m_design.c_str()); }
    CKXTableChildFrm* Frame() const { return dynamic_cast<CKXTableChildFrm*>(m_app->ActiveFrame()); }
    CKXBottomPaneContainerView* Pane() const { return Frame() ? Frame()->GetConnectivityPane() : nullptr; }
    void ShowU1() {
        CDesignContext design = Design();
        CKXInstanceContextArray shown;
        shown.Add(design.instance("U1"));
        Pane()->ShowInstanceConnectivity(design, &shown, TRUE);
        if (!Grid()) Fail("U1 has no pin grid");
    }
    CKXInstanceDetailsGridWnd* Grid() const {
        CKXBottomPaneContainerView* pane = Pane();
        if (!pane || pane->GetShownGrids().empty()) return nullptr;
        return dynamic_cast<CKXInstanceDetailsGridWnd*>(pane->GetShownGrids().front());
    }
    IInstance* U1() const { return Design().design()->findInstance("U1"); }

    // One transaction through the pin grid, committed as the user's edits are.
    template <class Edit> void Commit(const char* name, Edit edit) {
        CKXInstanceDetailsGridWnd* grid = Grid();
        if (!CKXTransaction::BeginTrans(grid, Design(), name)) Fail(std::string("cannot begin ") + name);
        if (!edit(*CKXTransaction::GetCurrentTransactionObj())) Fail(std::string("cannot make ") + name);
        if (!CKXTransaction::CommitTrans(grid, 1, 1)) Fail(std::string("cannot commit ") + name);
    }

    // A script word as the host runs it; its result.
    std::string Run(const std::string& script) {
        std::string result;
        if (!m_core->Eval(script, result)) Fail("'" + script + "' failed: " + result + m_out.str());
        return result;
    }

    [[noreturn]] static void Fail(const std::string& why) {
        std::fprintf(stderr, "bench_pingrid: %s\n", why.c_str());
        std::exit(1);
    }

private:
    int m_pins;
    Board m_board;
    std::string m_design;
    std::ostringstream m_out;
    std::unique_ptr<CKXHostCore> m_core;
    std::unique_ptr<CKXHostApp> m_app;
};

// One window at a time: kept while benchmarks of the same size follow each other, closed
// before the program ends (the editor library must still be loaded then).
std::unique_ptr<Window> window;

Window& WindowFor(benchmark::State& state, Board board = Board::Synthetic) {
    const int pins = static_cast<int>(state.range(0));
    if (!window || window->Pins() != pins || window->Kind() != board) {
        window.reset();
        window = std::make_unique<Window>(pins, board);
    }
    return *window;
}

// Every connection of U1 (pin bit by pin bit for the bus bits), and its pair connections.
struct Connections {
    std::vector<CConn> conns;
    struct Pair {
        IDPNet* net;
        IDPInstTerm* pin;
    };
    std::vector<Pair> pairs;
};

Connections ConnectionsOf(IInstance* inst) {
    Connections c;
    for (IInstTerm* pin : inst->beginInstTerm())
        for (const CConn& conn : pin->beginConn())
            c.conns.push_back(conn);
    for (IDPInstTerm* pair : inst->beginDPInstTerm())
        if (IDPConn* conn = pair->dpConn()) c.pairs.push_back({conn->dpNet(), pair});
    return c;
}

bool Disconnect(CTransaction& t, const Connections& c) {
    for (const auto& p : c.pairs)
        if (!t.removeDPConn(p.net, -1, -1, p.pin, -1, -1)) return false;
    for (const CConn& conn : c.conns)
        if (!t.removeConn(conn)) return false;
    return true;
}

bool Reconnect(CTransaction& t, const Connections& c) {
    for (const CConn& conn : c.conns)
        if (!t.addConn(conn.net(), static_cast<unsigned>(conn.netMsb()), static_cast<unsigned>(conn.netLsb()),
                       conn.instTerm(), static_cast<unsigned>(conn.instTermMsb()),
                       static_cast<unsigned>(conn.instTermLsb())))
            return false;
    for (const auto& p : c.pairs)
        if (!t.addDPConn(p.net, -1, -1, p.pin, -1, -1)) return false;
    return true;
}

void SetRowCounter(benchmark::State& state, Window& w) {
    state.counters["rows"] = static_cast<double>(w.Grid()->GetRowCount());
}

// ------------------------------------------------------------------ the benchmarks

void BM_OpenDesignWindow(benchmark::State& state) {
    Window& w = WindowFor(state);
    for (auto _ : state) {
        Untimed untimed(state);
        w.CloseWindow();
        {
            Measured m(state);
            w.OpenWindow();
        }
    }
    w.ShowU1();
}

// A new pin grid of the connectivity pane, made as the pane makes one, with no component loaded.
std::unique_ptr<CKXInstanceDetailsGridWnd> NewPinGrid(Window& w, CDesignContext design) {
    auto grid = std::make_unique<CKXInstanceDetailsGridWnd>();
    if (!grid->Create(WS_CHILD | WS_CLIPSIBLINGS, CRect(200, 200, 200, 200), w.Pane(), 9300))
        Window::Fail("cannot make a pin grid");
    grid->SetSite(w.Pane());
    grid->InitializeGrid(w.Pane(), design, design, 0);
    return grid;
}

// A new pin grid of the connectivity pane, made as the pane makes one, loads U1's pins.
void BM_LoadComponentPins(benchmark::State& state) {
    Window& w = WindowFor(state);
    CDesignContext design = w.Design();
    CInstanceContext u1 = design.instance("U1");
    ROWCOL rows = 0;
    double heapPerRow = 0;
    for (auto _ : state) {
        Untimed untimed(state);
        const size_t heapBefore = ::mallinfo2().uordblks;
        auto grid = NewPinGrid(w, design);
        {
            Measured m(state);
            grid->LoadComponentPins(design, u1, FALSE);
        }
        rows = grid->GetRowCount();
        // The heap the loaded grid holds, per row (the window's share of peak memory).
        heapPerRow = (static_cast<double>(::mallinfo2().uordblks) - static_cast<double>(heapBefore)) /
                     static_cast<double>(rows ? rows : 1);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["heap_bytes_per_row"] = heapPerRow;
}

// Pin P1 leaves its net and joins it again, iteration by iteration: one edit each.
void BM_ConnectionEdit(benchmark::State& state) {
    Window& w = WindowFor(state);
    IInstTerm* pin = w.U1()->findInstTerm("P1");
    INet* net = w.Design().design()->findNet("SP1");
    bool connected = true;
    for (auto _ : state) {
        Untimed untimed(state);
        Measured m(state);
        w.Commit("Edit Connection", [&](CTransaction& t) {
            return connected ? t.removeConn(net, kWhole, kWhole, pin, kWhole, kWhole)
                             : t.addConn(net, kWhole, kWhole, pin, kWhole, kWhole);
        });
        connected = !connected;
    }
    if (!connected) w.Commit("Edit Connection", [&](CTransaction& t) {
        return t.addConn(net, kWhole, kWhole, pin, kWhole, kWhole);
    });
    SetRowCounter(state, w);
}

// Net SP3 (on pin P3) is renamed and named back, iteration by iteration.
void BM_NetRename(benchmark::State& state) {
    Window& w = WindowFor(state);
    INet* net = w.Design().design()->findNet("SP3");
    bool renamed = false;
    for (auto _ : state) {
        Untimed untimed(state);
        Measured m(state);
        w.Commit("Rename Net", [&](CTransaction& t) { return t.renameNet(net, renamed ? "SP3" : "SP3_RENAMED"); });
        renamed = !renamed;
    }
    if (renamed) w.Commit("Rename Net", [&](CTransaction& t) { return t.renameNet(net, "SP3"); });
}

void BM_DisconnectAll(benchmark::State& state) {
    Window& w = WindowFor(state);
    const Connections all = ConnectionsOf(w.U1());
    for (auto _ : state) {
        Untimed untimed(state);
        {
            Measured m(state);
            w.Commit("Disconnect All", [&](CTransaction& t) { return Disconnect(t, all); });
        }
        w.Commit("Reconnect All", [&](CTransaction& t) { return Reconnect(t, all); });
    }
    state.counters["connections"] = static_cast<double>(all.conns.size() + all.pairs.size());
}

// With U1 disconnected, one transaction makes a net for every pin bit and joins the bit to
// it; the nets are removed again between iterations.
void BM_CreateNetsTransaction(benchmark::State& state) {
    Window& w = WindowFor(state);
    const Connections all = ConnectionsOf(w.U1());
    IDesign* design = w.Design().design();
    w.Commit("Disconnect All", [&](CTransaction& t) { return Disconnect(t, all); });
    std::vector<std::string> made;
    for (auto _ : state) {
        Untimed untimed(state);
        made.clear();
        {
            Measured m(state);
            w.Commit("Create Nets", [&](CTransaction& t) {
                for (IInstTerm* pin : w.U1()->beginInstTerm())
                    for (int bit : pin->bits()) {
                        std::string name = std::string("NEW_") + pin->name();
                        if (bit >= 0) name += "_" + std::to_string(bit);
                        INet* net = t.createNet(name.c_str(), kWhole, kWhole);
                        const unsigned pinBit = bit >= 0 ? static_cast<unsigned>(bit) : kWhole;
                        if (!net || !t.addConn(net, kWhole, kWhole, pin, pinBit, pinBit)) return false;
                        made.push_back(name);
                    }
                return true;
            });
        }
        w.Commit("Remove Nets", [&](CTransaction& t) {
            for (const std::string& name : made)
                if (!t.removeNet(design->findNet(name.c_str()))) return false;
            return true;
        });
    }
    w.Commit("Reconnect All", [&](CTransaction& t) { return Reconnect(t, all); });
    state.counters["nets"] = static_cast<double>(made.size());
}

// With U1 disconnected, every pin row selected and Auto Name chosen from the rule menu: one
// transaction makes a net for each pin bit; the pane's undo takes it back between iterations.
void BM_AutoNameAttach(benchmark::State& state) {
    constexpr UINT kAutoNameCommand = 35255;
    Window& w = WindowFor(state);
    const Connections all = ConnectionsOf(w.U1());
    w.Commit("Disconnect All", [&](CTransaction& t) { return Disconnect(t, all); });
    size_t made = 0;
    for (auto _ : state) {
        Untimed untimed(state);
        const size_t before = w.Design().nets().size();
        w.Grid()->SelectRowsByKey(nullptr, "");
        {
            Measured m(state);
            w.Pane()->OnCmdMsg(kAutoNameCommand, CN_COMMAND, nullptr, nullptr);
        }
        made = w.Design().nets().size() - before;
        if (made == 0) Window::Fail("Auto Name made no net");
        w.Pane()->OnEditUndo();
        if (w.Design().nets().size() != before) Window::Fail("undo of Auto Name left nets");
    }
    w.Commit("Reconnect All", [&](CTransaction& t) { return Reconnect(t, all); });
    state.counters["nets"] = static_cast<double>(made);
}

// addConnection names a pin row by its key with the whole grid shown: pin P1 moves between
// nets SP2 and SP1, iteration by iteration.
void BM_AddConnectionByKey(benchmark::State& state) {
    Window& w = WindowFor(state);
    bool onSecond = false;
    for (auto _ : state) {
        Untimed untimed(state);
        const std::string word = std::string("addConnection pin ") + (onSecond ? "SP1" : "SP2") + " P1";
        Measured m(state);
        if (const std::string r = w.Run(word); r != "1" && r != "2") Window::Fail(word + " connected nothing: " + r);
        onSecond = !onSecond;
    }
    if (onSecond) w.Run("addConnection pin SP1 P1");
    SetRowCounter(state, w);
}

// A signal added from the signal list pane while the design window shows U1; the net is removed
// again between iterations.
void BM_AddSignal(benchmark::State& state) {
    Window& w = WindowFor(state);
    CKXSignalPaneContainerView* signals = w.Frame()->GetSignalPane();
    if (!signals) Window::Fail("the window has no signal list pane");
    IDesign* design = w.Design().design();
    int n = 0;
    for (auto _ : state) {
        Untimed untimed(state);
        const std::string name = "BENCH_ADDED_" + std::to_string(n++);
        {
            Measured m(state);
            if (!signals->AddSignal(name.c_str(), "", "", "")) Window::Fail("AddSignal refused");
        }
        w.Commit("Remove Net", [&](CTransaction& t) { return t.removeNet(design->findNet(name.c_str())); });
    }
}

// The object window remembers every net of the design with its row; every other one of them is closed
// and forgotten at once, as a transaction deleting them closes them. They are remembered again between
// iterations.
void BM_CloseObjectWindows(benchmark::State& state) {
    Window& w = WindowFor(state);
    CKXObjectInfoWnd& info = w.Pane()->ObjectInfo();
    std::vector<std::pair<std::string, CString>> nets;
    for (const CNetContext& net : w.Design().nets())
        nets.emplace_back(std::to_string(net.net()->id()), net.net()->name());
    std::set<std::string> doomed;
    for (auto _ : state) {
        Untimed untimed(state);
        doomed.clear();
        for (size_t i = 0; i < nets.size(); ++i) {
            info.CreateObjectList(nets[i].first, nets[i].second, "", "", 1, 0);
            if (i % 2) doomed.insert(nets[i].first);
        }
        const size_t closed = doomed.size();
        {
            Measured m(state);
            info.CloseObjectWindows(doomed, 1, TRUE);
        }
        state.counters["nets"] = static_cast<double>(closed);
    }
    std::set<std::string> all;
    for (const auto& net : nets)
        all.insert(net.first);
    info.CloseObjectWindows(all, 1, TRUE);
}

// Every implicit power pin of U1 (one in 16 of its pins) tied to another net at once, as the pin grid
// hands a component's power rows to the component list; the transaction is discarded between iterations.
void BM_TieAllPowerPins(benchmark::State& state) {
    Window& w = WindowFor(state);
    std::vector<std::unique_ptr<CImplicitPin>> owned;
    std::vector<CImplicitPin*> pins;
    for (const CImplicitPowerPin& p : w.U1()->implicitPowerPins()) {
        owned.push_back(std::make_unique<CImplicitPin>(p.pinName, p.pinNumber, "BENCH_POWER", "Power"));
        pins.push_back(owned.back().get());
    }
    CStringArray names;
    names.Add("U1");
    for (auto _ : state) {
        Untimed untimed(state);
        if (!CKXTransaction::BeginTrans(w.Grid(), w.Design(), "Tie")) Window::Fail("cannot begin the tie");
        {
            Measured m(state);
            if (w.Pane()->AssignPowerInListPane(pins, &names) != TRUE) Window::Fail("the power pins were not tied");
        }
        CKXTransaction::DiscardTrans(w.Grid());
    }
    state.counters["pins"] = static_cast<double>(pins.size());
}

// What a user waits for after an edit: the design window opened afresh and one connection changed
// (so that nothing the design keeps from before, such as its physical view, is current), then
// `kx::show clp U1` through the host: the window's grid made, U1's pins loaded and styled, the
// pull-up column and the sort.
void BM_ShowAfterEdit(benchmark::State& state) {
    Window& w = WindowFor(state);
    IInstTerm* pin = w.U1()->findInstTerm("P1");
    bool onSecond = false;
    double heapPerRow = 0;
    for (auto _ : state) {
        Untimed untimed(state);
        w.CloseWindow();
        w.OpenWindow();
        {
            CTransaction t(w.Design(), "Edit Connection");
            IDesign* design = w.Design().design();
            const bool moved = t.removeConn(design->findNet(onSecond ? "SP2" : "SP1"), kWhole, kWhole, pin, kWhole,
                                            kWhole) &&
                               t.addConn(design->findNet(onSecond ? "SP1" : "SP2"), kWhole, kWhole, pin, kWhole,
                                         kWhole) &&
                               t.commit();
            if (!moved) Window::Fail("cannot move P1");
        }
        onSecond = !onSecond;
        const size_t heapBefore = ::mallinfo2().uordblks;
        {
            Measured m(state);
            w.Run("kx::show clp U1");
        }
        const double rows = static_cast<double>(w.Grid() ? w.Grid()->GetRowCount() : 1);
        heapPerRow = (static_cast<double>(::mallinfo2().uordblks) - static_cast<double>(heapBefore)) / rows;
        SetRowCounter(state, w);
    }
    state.counters["heap_bytes_per_row"] = heapPerRow;
    if (onSecond) {
        CTransaction t(w.Design(), "Edit Connection");
        IDesign* design = w.Design().design();
        t.removeConn(design->findNet("SP2"), kWhole, kWhole, pin, kWhole, kWhole);
        t.addConn(design->findNet("SP1"), kWhole, kWhole, pin, kWhole, kWhole);
        t.commit();
    }
}

// The design window opened afresh and U1 shown through the host, then the first edit a user makes in it.
// `edit` is the host word; P1 moves to SP2, and back between iterations.
template <class Word> void FirstEditAfterShow(benchmark::State& state, Word word) {
    Window& w = WindowFor(state);
    IInstTerm* pin = w.U1()->findInstTerm("P1");
    INet* home = w.Design().design()->findNet("SP1");
    INet* away = w.Design().design()->findNet("SP2");
    for (auto _ : state) {
        Untimed untimed(state);
        w.CloseWindow();
        w.OpenWindow();
        w.Run("kx::show clp U1");
        const std::string script = word(w);
        {
            Measured m(state);
            // addConnection answers 2 where the pin left another net for this one
            if (const std::string r = w.Run(script); r != "1" && r != "2")
                Window::Fail(script + " changed nothing: " + r);
        }
        w.Commit("Edit Connection", [&](CTransaction& t) {
            return t.removeConn(away, kWhole, kWhole, pin, kWhole, kWhole) &&
                   t.addConn(home, kWhole, kWhole, pin, kWhole, kWhole);
        });
    }
    SetRowCounter(state, w);
}

std::string TypeSp2IntoP1(Window& w) {
    CKXInstanceDetailsGridWnd* grid = w.Grid();
    const ROWCOL row = grid->FindPinRow(w.Design().instance("U1"), static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName),
                                        "P1", 1);
    if (!row) Window::Fail("U1 shows no row of P1");
    return "kx::edit ccp " + std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal) + " SP2";
}

// SP2 typed into P1's Signal cell.
void BM_FirstTypedEditAfterShow(benchmark::State& state) { FirstEditAfterShow(state, TypeSp2IntoP1); }

// addConnection naming P1 by its key.
void BM_FirstKeyedEditAfterShow(benchmark::State& state) {
    FirstEditAfterShow(state, [](Window&) { return std::string("addConnection pin SP2 P1"); });
}

// A session of typed connects on one pin grid: state.range(1) edits made before, then each iteration types
// kSessionBatch of them (P1 between SP2 and SP1 in turn), so that the first iteration's count of a long
// session against a fresh one's is the cost of an edit late in a session against an early one.
constexpr int kSessionBatch = 100;

void BM_TypedSessionPinGrid(benchmark::State& state) {
    Window& w = WindowFor(state);
    w.CloseWindow();
    w.OpenWindow();
    w.Run("kx::show clp U1");
    const std::string toSp2 = TypeSp2IntoP1(w);
    const std::string toSp1 = toSp2.substr(0, toSp2.size() - 1) + "1";
    int made = 0;
    auto edit = [&] {
        const std::string& script = made++ % 2 ? toSp1 : toSp2;
        if (const std::string r = w.Run(script); r != "1") Window::Fail(script + " changed nothing: " + r);
    };
    for (int64_t i = 0; i < state.range(1); ++i) edit();
    for (auto _ : state) {
        Untimed untimed(state);
        Measured m(state);
        for (int i = 0; i < kSessionBatch; ++i) edit();
    }
    if (made % 2) edit();
    SetRowCounter(state, w);
}

// kx::open of the generated FPGA library's board through the host, the window closed between iterations.
void BM_HostOpenGenerated(benchmark::State& state) {
    Window& w = WindowFor(state, Board::Generated);
    const std::string open = "kx::open " + w.DesignName() + " 1";
    for (auto _ : state) {
        Untimed untimed(state);
        w.CloseWindow();
        Measured m(state);
        w.Run(open);
    }
    w.ShowU1();
}

// `kx::show clp U1` of the generated board in a window just opened.
void BM_HostShowGenerated(benchmark::State& state) {
    Window& w = WindowFor(state, Board::Generated);
    for (auto _ : state) {
        Untimed untimed(state);
        w.CloseWindow();
        w.OpenWindow();
        Measured m(state);
        w.Run("kx::show clp U1");
    }
    SetRowCounter(state, w);
}

// The pin grid of a component whose N pins are 65,536 bits wide each, loaded as `kx::show clp WX1` loads
// it: the folded wide pins cost their rows, not their bits (heap_bytes: what the loaded grid holds).
void BM_ShowWidePins(benchmark::State& state) {
    constexpr int kBoardPins = 1000; // the synthetic board the host holds beside it
    constexpr int kMsb = 65535;
    if (!window || window->Pins() != kBoardPins || window->Kind() != Board::Synthetic) {
        window.reset();
        window = std::make_unique<Window>(kBoardPins);
    }
    Window& w = *window;
    const std::string cell = "wide" + std::to_string(state.range(0));
    const std::string name = "bench." + cell + ":sch";
    if (!CDesignContext(CKXShareGlobalData::m_pServer, name.c_str()).design()) {
        rmx::DesignBuilder b(CKXShareGlobalData::m_pServer, "bench");
        b.symbol(cell);
        for (int64_t i = 0; i < state.range(0); ++i) b.bus("W" + std::to_string(i), kMsb, 0);
        b.schematic(cell).instance("WX1", cell, "WX1");
        if (!b.ok()) Window::Fail("cannot make the wide board: " + b.error());
    }
    // The window stays open (closed, the design made in memory would go back to nothing): this benchmark
    // runs last, and the next window the benchmarks make is a new host's.
    w.Run("kx::open " + name + " 1");
    const CDesignContext design(CKXShareGlobalData::m_pServer, name.c_str());
    const CInstanceContext wx1 = design.instance("WX1");
    ROWCOL rows = 0;
    double heap = 0;
    for (auto _ : state) {
        Untimed untimed(state);
        const size_t heapBefore = ::mallinfo2().uordblks;
        auto grid = NewPinGrid(w, design);
        {
            Measured m(state);
            grid->LoadComponentPins(design, wx1, FALSE);
        }
        rows = grid->GetRowCount();
        heap = static_cast<double>(::mallinfo2().uordblks) - static_cast<double>(heapBefore);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["heap_bytes"] = heap;
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
    kxbench::FixedIterations(b);
}

BENCHMARK(BM_OpenDesignWindow)->Apply(Sizes)->Arg(40000);
BENCHMARK(BM_LoadComponentPins)->Apply(Sizes);
BENCHMARK(BM_ConnectionEdit)->Apply(Sizes);
BENCHMARK(BM_NetRename)->Apply(Sizes);
BENCHMARK(BM_DisconnectAll)->Apply(Sizes);
BENCHMARK(BM_CreateNetsTransaction)->Apply(Sizes);
BENCHMARK(BM_AutoNameAttach)->Apply(Sizes);
BENCHMARK(BM_AddSignal)->Apply(Sizes);
BENCHMARK(BM_AddConnectionByKey)->Apply(Sizes);
BENCHMARK(BM_CloseObjectWindows)->Apply(Sizes);
BENCHMARK(BM_TieAllPowerPins)->Apply(Sizes);
BENCHMARK(BM_ShowAfterEdit)->Apply(Sizes)->Arg(40000);
BENCHMARK(BM_FirstTypedEditAfterShow)->Apply(Sizes)->Arg(40000);
BENCHMARK(BM_FirstKeyedEditAfterShow)->Apply(Sizes)->Arg(40000);
BENCHMARK(BM_TypedSessionPinGrid)->Args({1000, 0})->Args({1000, 900})->Unit(benchmark::kMillisecond)->Apply(
    [](benchmark::internal::Benchmark* b) { kxbench::FixedIterations(b); });
BENCHMARK(BM_HostOpenGenerated)->Apply(Sizes)->Arg(40000);
BENCHMARK(BM_HostShowGenerated)->Apply(Sizes)->Arg(40000);
BENCHMARK(BM_ShowWidePins)->Arg(3)->Arg(30)->Unit(benchmark::kMillisecond)->Apply(
    [](benchmark::internal::Benchmark* b) { kxbench::FixedIterations(b); });

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    window.reset();
    benchmark::Shutdown();
    return 0;
}
