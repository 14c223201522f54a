// The example board in a design window, for connection edits end to end: the
// library is copied into the test's folder, so saving writes there; helpers read
// the board's connections as the host's netlist does and its saved text.
#pragma once

#include "KXExampleLibrary.h"
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "rmx/server.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class ConnEditFixture : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        m_demo = KXCopyExampleLibrary(m_dir);
        EditDemo();
        CString error;
        ASSERT_TRUE(m_app->Server()->loadLibrary(m_demo.c_str(), error)) << error.GetString();
    }

    // A suite's changes to the copied library before it is loaded.
    virtual void EditDemo() {}

    // Writes into the copied board two leg nets NAME_P<MSB..0> and NAME_N<MSB..0> with the pair PAIR
    // over them (for EditDemo).
    void AddPairOverLegNets(const std::string& pair, const std::string& legs, int msb) {
        const std::filesystem::path file = m_demo / "board.sch.design";
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::string board = text.str();
        const std::string range = " " + std::to_string(msb) + " 0 0 unknown\n";
        InsertAfter(board, "net EN -1 -1 0 unknown\n", "net " + legs + "_N" + range + "net " + legs + "_P" + range);
        InsertAfter(board, "dpnet SYSCLK SYSCLK_P SYSCLK_N -1 1\n",
                    "dpnet " + pair + " " + legs + "_P " + legs + "_N -1 1\n");
        std::ofstream(file, std::ios::binary) << board;
    }
    static void InsertAfter(std::string& text, const std::string& after, const std::string& lines) {
        const std::size_t at = text.find(after);
        ASSERT_NE(at, std::string::npos) << after;
        text.insert(at + after.size(), lines);
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

    // The journal written so far, replayed on the board as it was saved before (original) in a fresh
    // window: the board as that replay saves it.
    std::string Replayed(const std::string& original) {
        const std::filesystem::path journal = m_dir / "replay.vbs";
        {
            std::ofstream out(journal, std::ios::binary);
            out << JournalText();
        }
        Run("kx::journal");
        Run("closeDesign -nosave");
        {
            std::ofstream back(m_demo / "board.sch.design", std::ios::binary);
            back << original;
        }
        IDesign* board = m_app->Server()->findDesign("demo.board:sch");
        EXPECT_NE(board, nullptr);
        if (!board || !m_app->Server()->unloadDesign(board)) return std::string();
        CString error;
        m_app->Server()->loadLibrary(m_demo.c_str(), error);
        EXPECT_EQ(Run("kx::replay " + journal.string()), "1");
        return Saved();
    }

    // The visible row whose PIN_NAME cell shows the text; 0 when none.
    int PinRow(const std::string& pinName) {
        CKXInstanceDetailsGridWnd* grid = Grid();
        if (!grid) return 0;
        const auto col = static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName);
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (!grid->IsRowHidden(r) && grid->GetValueRowCol(r, col) == pinName.c_str()) return static_cast<int>(r);
        return 0;
    }
    std::string SignalCell(const std::string& pinName) {
        const int row = PinRow(pinName);
        if (!row) return "<no row>";
        const auto col = static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColSignal);
        return Grid()->GetValueRowCol(static_cast<ROWCOL>(row), col).GetString();
    }
    // Types the text into the pin's SIGNAL cell and presses Enter, as kx::edit does: its result.
    std::string TypeSignal(const std::string& pinName, const std::string& text) {
        const int row = PinRow(pinName);
        if (!row) return "<no row for " + pinName + ">";
        return Run("kx::edit ccp " + std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal) +
                   " {" + text + "}");
    }

    // The text of the pane's row whose PIN_NAME (or first) cell is the pin; empty when none.
    std::string Row(const std::string& pin) {
        std::istringstream in(Run("kx::window ccp"));
        for (std::string line; std::getline(in, line);)
            if (line.find(" | " + pin + " | ") != std::string::npos || line.find(": " + pin + " | ") != std::string::npos)
                return line;
        return std::string();
    }
    bool RowShows(const std::string& pin, const std::string& text) {
        return Row(pin).find("| " + text + " |") != std::string::npos;
    }
    int Steps() { return Ccp()->GetUndoStepCount(); }
    // How often what stands in the text.
    static std::size_t Count(const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    static constexpr const char* kSeries22 =
        "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22";

    std::filesystem::path m_demo;
};

// Connects that may ask whether to keep a moved pin's termination and pull-ups.
class RetainFixture : public ConnEditFixture {
protected:
    // Whether the retain question was asked since the last call.
    bool Asked() {
        const std::vector<std::string> log = AnswerLog();
        const bool asked =
            std::any_of(log.begin() + static_cast<long>(m_seen), log.end(), [](const std::string& l) {
                return l.find("CKXRetainAssocCompDlg") != std::string::npos;
            });
        m_seen = log.size();
        return asked;
    }
    bool Has(const std::string& savedLine) { return Saved().find(savedLine) != std::string::npos; }
    std::size_t m_seen = 0;
};
