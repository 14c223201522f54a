// The example board in a design window, for connection edits end to end: the
// library is copied into the test's folder, so saving writes there; helpers read
// the board's connections as the host's netlist does and its saved text.
#pragma once

#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "rmx/server.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class ConnEditFixture : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        const char* src = std::getenv("KX_TEST_SOURCE_DIR");
        const std::filesystem::path from = std::filesystem::path(src ? src : ".") / "examples" / "designs";
        m_demo = m_dir / "demo";
        std::filesystem::copy(from, m_demo, std::filesystem::copy_options::recursive);
        CString error;
        ASSERT_TRUE(m_app->Server()->loadLibrary(m_demo.c_str(), error)) << error.GetString();
    }

    // Opens the board and shows the component's pins.
    void OpenBoard(const std::string& component = "U1", int mode = 1) {
        ASSERT_TRUE(Open("demo.board:sch", mode));
        Run("kx::show clp " + component);
        Messages();
        Echoes();
    }

    // The board's connections of one pin ("U1 PGOOD"): "net[bit]" per pin bit, in netlist order.
    std::vector<std::string> Conns(const std::string& pin) {
        std::vector<std::string> out;
        std::istringstream in(Run("kx::netlist"));
        for (std::string line; std::getline(in, line);) {
            if (line.rfind(pin + " ", 0) != 0 && line.rfind(pin + "<", 0) != 0) continue;
            out.push_back(line.substr(line.rfind(' ') + 1));
        }
        return out;
    }
    std::string Conn(const std::string& pin) {
        const std::vector<std::string> c = Conns(pin);
        return c.empty() ? std::string() : c.front();
    }

    // The board as saved now.
    std::string Saved() {
        CString error;
        EXPECT_TRUE(m_app->Server()->saveDesign("demo.board:sch", &error)) << error.GetString();
        std::ifstream in(m_demo / "board.sch.design", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    CKXInstanceDetailsGridWnd* Grid() { return dynamic_cast<CKXInstanceDetailsGridWnd*>(Ccp()->GetActiveGrid()); }

    // Selects the rows of the keys in the pin grid (nothing else stays selected).
    void Select(const std::vector<std::string>& keys) {
        CStringArray list;
        for (const std::string& k : keys)
            list.Add(k.c_str());
        Grid()->SelectAllRows();
        Grid()->SelectRowsByKey(&list, "");
    }

    std::filesystem::path m_demo;
};
