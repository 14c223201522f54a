// The example board in a design window, for the pin grid driven through the host: the library is
// copied into the test's folder; readers give the connectivity pane's rows as kx::window shows them.
#pragma once

#include "KXExampleLibrary.h"
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "rmx/server.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

class PinGridBoard : public KXShellFixture {
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
    // Replaces one line of a design file of the copied library.
    void ReplaceLine(const char* file, const std::string& from, const std::string& to) {
        const std::filesystem::path path = m_demo / file;
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        std::string content = text.str();
        const size_t at = content.find(from + "\n");
        ASSERT_NE(at, std::string::npos) << from;
        content.replace(at, from.size(), to);
        in.close();
        std::ofstream(path, std::ios::trunc) << content;
    }

    void OpenBoard(const std::string& component = "U1", int mode = 1) {
        ASSERT_TRUE(Open("demo.board:sch", mode));
        Run("kx::show clp " + component);
        Messages();
        Echoes();
    }

    CKXInstanceDetailsGridWnd* Grid() { return dynamic_cast<CKXInstanceDetailsGridWnd*>(Ccp()->GetActiveGrid()); }

    // The first grid's rows as kx::window ccp shows them: row -> cell texts in column order.
    std::map<int, std::vector<std::string>> Rows() {
        std::map<int, std::vector<std::string>> rows;
        std::istringstream in(Run("kx::window ccp"));
        int grid = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("  grid ", 0) == 0) {
                ++grid;
                continue;
            }
            if (grid != 1 || line.rfind("    ", 0) != 0) continue;
            const size_t colon = line.find(": ");
            if (colon == std::string::npos) continue;
            std::vector<std::string> cells;
            for (size_t start = colon + 2;;) {
                const size_t bar = line.find(" | ", start);
                cells.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
                if (bar == std::string::npos) break;
                start = bar + 3;
            }
            rows[std::atoi(line.c_str() + 4)] = cells;
        }
        return rows;
    }
    // The texts of the grid's Pin Name column, from the first data row on.
    std::vector<std::string> PinNames() {
        std::vector<std::string> names;
        CKXInstanceDetailsGridWnd* grid = Grid();
        if (!grid) return names;
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (!grid->IsRowHidden(r))
                names.push_back(grid->GetValueRowCol(r, static_cast<ROWCOL>(grid->m_nColPinName)).GetString());
        return names;
    }
    bool Shows(const std::string& pin) {
        const std::vector<std::string> names = PinNames();
        return std::find(names.begin(), names.end(), pin) != names.end();
    }
    ROWCOL PinRow(const std::string& pin) {
        CKXInstanceDetailsGridWnd* grid = Grid();
        for (ROWCOL r = PIN_FIRST_ROW; grid && r <= grid->GetRowCount(); ++r)
            if (grid->GetValueRowCol(r, static_cast<ROWCOL>(grid->m_nColPinName)) == pin.c_str()) return r;
        return 0;
    }
    std::string CellText(ROWCOL row, int col) {
        return Grid() ? std::string(Grid()->GetValueRowCol(row, static_cast<ROWCOL>(col)).GetString()) : "";
    }

    std::filesystem::path m_demo;
};
