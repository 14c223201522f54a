// A design window on the fixture's board with a connector (pin numbers, a bus,
// a second pin of the connector on N1), a stored matrix view, and the matrix
// grid the connectivity pane shows for it.
#pragma once

#include "KXDesignSnapshot.h"
#include "KXShellFixture.h"

#include "matrix/KXMatrixGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxnotes/CComments.h"
#include "rmx/DesignBuilder.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

class MatrixTest : public KXShellFixture {
protected:
    using G = CKXMatrixGridWnd;

    // Each test has a registry of its own; the customisation service, which keeps what it read
    // for the whole process, starts from it too.
    void SetUp() override {
        CKXCustomizeAPI::Reset();
        KXShellFixture::SetUp();
    }

    void BuildDesign(rmx::DesignBuilder& b) override {
        KXShellFixture::BuildDesign(b);
        b.symbol("hdr").bus("P", 4, 1).port("S").port("T");
        b.schematic("board").instance("J1", "hdr", "J1").instance("J2", "hdr", "J2");
        for (int bit = 1; bit <= 4; ++bit) b.pinNumber("J1", "P<" + std::to_string(bit) + ">", std::to_string(10 + bit));
        b.pinNumber("J1", "S", "15").pinNumber("J1", "T", "16");
        b.connect("J1", "S", "N1").connect("J1", "T", "N1").connect("J1", "P<2..1>", "DATA<1..0>");
        b.net("FREE");
        b.termination("T1", "Series", "J1", "S").pull("PU1", "Pullup", "GND");
        // Each records its one part, as the library writes them, so that a copy carries it.
        for (const char* component : {"@$T1", "@$PU1"}) {
            b.prop(component, "SLOT_COUNT", "1").prop(component, "SLOT0.ID", "R");
            b.prop(component, "SLOT0.LIB", "discrete").prop(component, "SLOT0.CELL", "resistor");
            b.prop(component, "SLOT0.VIEW", "sym").prop(component, "SLOT0.PHYSNAME", "R0402");
            b.prop(component, "SLOT0.VALUE", "22");
        }
    }

    CDesignContext Design() { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    CMatrixViewData* Views() { return Ccp()->GetCommentStore()->GetMatrixViewData(); }
    // Stores a view of instance paths ("@U1") and signal paths ("@:N1", "@:DATA<2>"), then opens it
    // as the list's Open Matrix View does.
    G* OpenView(const char* name, std::initializer_list<const char*> instances,
                std::initializer_list<const char*> signals) {
        Views()->CreateView(name);
        for (const char* path : instances) Views()->AddInstanceToMatrixView(name, path);
        for (const char* path : signals) Views()->AddSignalToMatrixView(name, path);
        Ccp()->OpenMatrixView(CString(name));
        return Grid();
    }
    G* Grid() {
        const auto& shown = Ccp()->GetShownGrids();
        return shown.empty() ? nullptr : dynamic_cast<G*>(shown.front());
    }
    CString Cell(ROWCOL row, int col) { return Grid()->GetValueRowCol(row, static_cast<ROWCOL>(col)); }
    static int NameCol() { return G::Layout().m_nNameCol; }
    static int PinCol(int group) { return G::ColumnOf(group, G::Layout().m_nPinNameOffset); }
    static int PnCol(int group) { return G::ColumnOf(group, G::Layout().m_nPnOffset); }
    static int TypeCol(int group) { return G::ColumnOf(group, G::Layout().m_nPinTypeOffset); }
    // The data rows whose NAME cell reads the signal, in order.
    std::vector<ROWCOL> Rows(const char* signal) {
        std::vector<ROWCOL> rows;
        for (ROWCOL r = kxmatrix::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
            if (Cell(r, NameCol()) == signal) rows.push_back(r);
        return rows;
    }
    ROWCOL Row(const char* signal) {
        const std::vector<ROWCOL> rows = Rows(signal);
        return rows.empty() ? 0 : rows.front();
    }
    // The pin texts a group shows on a signal's rows, in row order (empty cells left out).
    std::vector<std::string> Pins(const char* signal, int group) {
        std::vector<std::string> pins;
        for (ROWCOL r : Rows(signal))
            if (!Cell(r, PinCol(group)).IsEmpty()) pins.push_back(Cell(r, PinCol(group)).GetString());
        return pins;
    }
    // Types a text into a cell and leaves it, as the user does: TRUE when the grid took it.
    BOOL Type(ROWCOL row, int col, const char* text) {
        Grid()->SetCurrentCell(row, static_cast<ROWCOL>(col));
        return TypeHere(text);
    }
    // Types into the current cell, keeping the selection.
    BOOL TypeHere(const char* text) {
        G* grid = Grid();
        CGXControl* control = grid->GetCurrentCellControl();
        if (!control) return FALSE;
        control->SetActive(TRUE);
        control->SetCurrentText(text);
        control->SetModify(TRUE);
        return grid->TransferCurrentCell(TRUE);
    }
    std::string Snapshot() { return KXDesignSnapshot(*CKXShareGlobalData::m_pServer, Design().design(), "m"); }
    std::vector<std::string> AllCells() {
        std::vector<std::string> cells;
        for (ROWCOL r = 0; r <= Grid()->GetRowCount(); ++r)
            for (ROWCOL c = 1; c <= Grid()->GetColCount(); ++c) cells.push_back(Grid()->GetValueRowCol(r, c).GetString());
        return cells;
    }
    bool Connected(const std::string& line) { return Run("kx::netlist").find(line) != std::string::npos; }
    // The row of the signal whose group cell shows the pin.
    ROWCOL PinRow(const char* signal, const char* pin) {
        for (ROWCOL r : Rows(signal))
            if (Cell(r, PinCol(0)) == pin) return r;
        return 0;
    }
    std::filesystem::path StartJournal() {
        const std::filesystem::path file = m_dir / "matrix.vbs";
        Run("kx::journal " + file.string());
        return file;
    }
    std::string StopJournal(const std::filesystem::path& file) {
        Run("kx::journal");
        std::ifstream in(file);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Takes the recorded steps back, replays the lines and answers the design the replay left.
    std::string Replayed(const std::string& lines, int undoSteps) {
        for (int i = 0; i < undoSteps; ++i) EXPECT_EQ(Run("undo"), "1");
        const std::filesystem::path replay = m_dir / "replay.vbs";
        std::ofstream(replay) << lines;
        EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
        return Snapshot();
    }
};
