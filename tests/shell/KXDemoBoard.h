// The example board, copied into the test's folder and loaded: the design a new user meets first.
#pragma once

#include "KXExampleLibrary.h"
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"

#include "rmx/server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Set-ups many tests on the board share: U1's pins shown; U1's PGOOD Signal cell selected.
inline constexpr const char* kShowU1 = "kx::show clp U1";
inline constexpr const char* kPgoodSignalCell = "kx::show clp U1; kx::select ccp 41 7";

// Copies the example library into `dir` (as its folder "demo") and loads it into the server.
inline void LoadDemoLibrary(const std::filesystem::path& dir, IServer& server) {
    const std::filesystem::path demo = KXCopyExampleLibrary(dir);
    CString error;
    ASSERT_TRUE(server.loadLibrary(demo.c_str(), error)) << error.GetString();
}

class DemoBoard : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        LoadDemoLibrary(m_dir, *m_app->Server());
    }

    // Opens the board in the open mode given and runs `setup` in its window: false when either failed.
    bool OpenBoard(int mode, const std::string& setup = {}) {
        if (Run("kx::open demo.board:sch " + std::to_string(mode)) != "1") return false;
        return setup.empty() || Run(setup).rfind("error", 0) != 0;
    }

    // What a refusal leaves as it was: the design's connections and the undo history.
    struct DesignMark {
        std::string netlist;
        int steps = 0;
    };
    DesignMark MarkDesign() { return {Run("kx::netlist"), Ccp() ? Ccp()->GetUndoStepCount() : 0}; }
    void ExpectUnchangedSince(const DesignMark& mark, const std::string& what = {}) {
        EXPECT_EQ(Run("kx::netlist"), mark.netlist) << what;
        EXPECT_EQ(Ccp() ? Ccp()->GetUndoStepCount() : 0, mark.steps) << what;
    }
    // The number of the connectivity pane's row that shows `cells` (as `kx::window ccp` writes them),
    // "" when none does.
    std::string RowShowing(const std::string& cells) {
        const std::string window = Run("kx::window ccp");
        const size_t at = window.find(cells);
        if (at == std::string::npos) return {};
        const size_t start = window.rfind('\n', at) + 1;
        std::string row = window.substr(start, window.find(':', start) - start);
        row.erase(0, row.find_first_not_of(' '));
        return row;
    }
};
