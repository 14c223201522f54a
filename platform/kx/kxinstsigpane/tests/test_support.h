// Shared set-up of the pane library's tests: a small design and a recorder of committed transactions.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "grid/gxcore.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxinstsigpane/KXUndoCmd.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/DesignBuilder.h"
#include "rmx/transaction.h"

// A design "work.top:sch" with instances U1 and U2 of a two-pin part and nets N1 (U1.A) and N2 (U2.A).
struct TestDesign {
    IServer server;
    std::unique_ptr<rmx::DesignBuilder> builder;
    CDesignContext design;

    TestDesign() {
        builder = std::make_unique<rmx::DesignBuilder>(&server);
        builder->symbol("RES").port("A").port("B");
        builder->schematic("top").instance("U1", "RES").instance("U2", "RES");
        builder->net("N1").net("N2").connect("U1", "A", "N1").connect("U2", "A", "N2");
        design = builder->context();
        CKXUndoCmd::SetServer(&server);
    }
    ~TestDesign() { CKXUndoCmd::SetServer(nullptr); }

    IDesign* Design() const { return design.design(); }
    INet* Net(const char* name) const { return Design()->findNet(name); }

    // The design as its saved text, to compare states exactly.
    std::string Snapshot(const char* tag) {
        namespace fs = std::filesystem;
        fs::path dir = fs::temp_directory_path() / ("kxisp_" + std::to_string(::getpid()) + "_" + tag);
        fs::remove_all(dir);
        fs::create_directories(dir);
        CString error;
        EXPECT_TRUE(server.saveDesignAs(Design(), dir.string().c_str(), "snap", "top", "sch", &error))
            << error.GetString();
        std::string all;
        std::vector<fs::path> files;
        for (auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file()) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            std::stringstream ss;
            ss << in.rdbuf();
            all += f.filename().string() + "\n" + ss.str();
        }
        fs::remove_all(dir);
        return all;
    }
};

// Receives the message server's broadcasts of committed transactions (through a fake window).
struct CommitRecorder {
    struct Seen {
        CTransaction* transaction;
        BOOL started;          // a grid transaction was open while the message arrived
        CGXGridCore* grid;     // CKXTransaction::GetGrid() at that moment
        CGXGridCore* undoGrid; // CKXUndoCmd::GetCurrentUndoGrid() at that moment
    };
    std::vector<Seen> seen;
    // Run inside the delivery (a window that reacts to the commit).
    std::function<void(CTransaction*)> react;
    HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4b58));

    CommitRecorder() {
        SetKXMsgSrvrAvailable(TRUE);
        SetKXMsgDeliver([this](HWND h, UINT msg, WPARAM, LPARAM l) -> LRESULT {
            if (h == hwnd && msg == MSG_TRANSACTION_COMMITTED)
                seen.push_back({reinterpret_cast<CTransaction*>(l), CKXTransaction::IsTransactionStarted(),
                                CKXTransaction::GetGrid(), CKXUndoCmd::GetCurrentUndoGrid()});
            if (react) {
                auto fn = react;
                fn(reinterpret_cast<CTransaction*>(l));
            }
            return 0;
        });
        GetKXMsgSrvr()->RegisterWindow(MSG_TRANSACTION_COMMITTED, hwnd);
    }
    ~CommitRecorder() {
        GetKXMsgSrvr()->UnregisterWindow(hwnd);
        SetKXMsgDeliver(nullptr);
    }
};

// An undo history kept as the connectivity pane keeps it: new commands and redone ones on the undo list,
// undone ones on the redo list.
class TestUndoSink : public CCommonInterface {
public:
    std::vector<std::unique_ptr<CGXCommand>> undo, redo;
    std::vector<int> states;

    void AddUndoCommand(CGXGridCore*, CGXCommand* command, GXCmdType type, int state) override {
        states.push_back(state);
        if (type == gxUndo)
            redo.emplace_back(command);
        else
            undo.emplace_back(command);
    }
    // Runs the newest entry of a list as the grid library's Undo/Redo does.
    BOOL Step(bool bUndo, CGXGridCore* grid) {
        auto& list = bUndo ? undo : redo;
        if (list.empty()) return FALSE;
        std::unique_ptr<CGXCommand> cmd = std::move(list.back());
        list.pop_back();
        return cmd->Execute(grid, bUndo ? gxUndo : gxRedo);
    }
};
