// A design window in the physical view on a board with a packaged FPGA (U1,
// sections B0 and B1, swappable data pins) and a resistor pack of two sections
// (RN1A and RN1B of package RN1, master cell "chips").
#pragma once

#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include "afx/afxanswer.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/DesignBuilder.h"
#include "rmx/packaging.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class PhysGridTest : public KXShellFixture {
protected:
    using G = CKXPhysPartDetailsGridWnd;

    void BuildDesign(rmx::DesignBuilder& b) override {
        b.symbol("fpga")
            .bus("D", 3, 0, ITerm::eDirInout)
            .port("CLK", ITerm::eDirInput, ITerm::eTermInput)
            .port("OUT", ITerm::eDirOutput, ITerm::eTermOutput)
            .packagePin("1", "D<0>", "B0", ITerm::eTermInout, 1)
            .packagePin("2", "D<1>", "B0", ITerm::eTermInout, 1)
            .packagePin("3", "D<2>", "B0", ITerm::eTermInout, 1)
            .packagePin("4", "D<3>", "B0", ITerm::eTermInout, 1)
            .packagePin("5", "CLK", "B0", ITerm::eTermInput, 0)
            .packagePin("6", "OUT", "B1", ITerm::eTermOutput, 0)
            .packagePin("7", "D<0>", "B1", ITerm::eTermInout, 1)
            .powerPin("9", "VCC", "VCC");
        b.symbol("chips").port("A").port("B");
        b.partDefinition("RPACK4");
        for (int s = 1; s <= 4; ++s) {
            const std::string sec = std::to_string(s);
            b.packagePin(sec, "A", sec, ITerm::eTermTypeUnknown, 4);
            b.packagePin(std::to_string(9 - s), "B", sec, ITerm::eTermTypeUnknown, 5);
        }
        b.schematic("board")
            .instance("U1", "fpga", "U1")
            .instance("RN1A", "chips", "RN1")
            .instance("RN1B", "chips", "RN1");
        b.connect("U1", "D<3..0>", "DATA<3..0>").connect("U1", "CLK", "CK").connect("U1", "OUT", "N1");
        b.connect("RN1A", "A", "N1").connect("RN1A", "B", "X1").connect("RN1B", "A", "X2");
        for (int i = 0; i < 4; ++i)
            b.pinNumber("U1", "D<" + std::to_string(i) + ">", std::to_string(i + 1));
        b.pinNumber("U1", "CLK", "5").pinNumber("U1", "OUT", "6");
        b.prop("@RN1A", "CHIPS_PART_NAME", "RPACK4").prop("@RN1B", "CHIPS_PART_NAME", "RPACK4");
        b.prop("@RN1A", "SEC", "1").prop("@RN1B", "SEC", "2");
        b.pinNumber("RN1A", "A", "1").pinNumber("RN1A", "B", "8");
        b.pinNumber("RN1B", "A", "2").pinNumber("RN1B", "B", "7");
    }

    void TearDown() override {
        unsetenv("KX_ALLOW_SWAP_PINS");
        KXShellFixture::TearDown();
    }

    // Opens the board in the physical view and shows the parts in the pane.
    G* ShowParts(std::initializer_list<const char*> names) {
        if (!Doc() && !Open("work.board:sch", 4)) return nullptr;
        CStringList list;
        for (const char* n : names)
            list.AddTail(n);
        Ccp()->ShowComponentsByName(Design(), &list, TRUE);
        return dynamic_cast<G*>(Ccp()->GetActiveGrid());
    }
    // What `show` gives while the implicit power pins are shown; the option is off again afterwards.
    template <class Show>
    auto WithPowerPins(Show show) {
        CKXShareGlobalData::m_bShowPowerPins = TRUE;
        auto shown = show();
        CKXShareGlobalData::m_bShowPowerPins = FALSE;
        return shown;
    }
    CDesignContext Design() const { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    std::string Prop(const std::string& path, const char* name) {
        std::unique_ptr<CContext> c(CKXShareGlobalData::m_pServer->getContext(path.c_str()));
        if (!c) return "<none>";
        std::unique_ptr<CPQPropertyData> p(c->findProperty(name));
        return p ? std::string(p->value()) : std::string();
    }
    std::string Cell(G* g, ROWCOL row, int col) { return g->GetValueRowCol(row, static_cast<ROWCOL>(col)).str(); }
    // The row of a package pin; 0 when the grid has none.
    ROWCOL Row(G* g, const char* part, const char* number) { return g->FindPinRow(part, number); }
    std::string RowText(G* g, const char* part, const char* number) {
        const ROWCOL r = Row(g, part, number);
        if (!r) return "<no row>";
        return Cell(g, r, G::s_nPNCol) + "|" + Cell(g, r, G::s_nPinNameCol) + "|" + Cell(g, r, G::s_nPinTypeCol) + "|" +
               Cell(g, r, G::s_nSignalCol) + "|" + Cell(g, r, G::s_nSignalModelCol);
    }
    // The saved design file's bytes.
    std::string Saved() {
        CString error;
        EXPECT_TRUE(CKXShareGlobalData::m_pServer->saveDesign("work.board:sch", &error)) << error.str();
        std::ifstream in(m_lib / "board.sch.design", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Select(G* g, std::initializer_list<ROWCOL> rows) {
        g->DeselectAllRows();
        bool first = true;
        for (ROWCOL r : rows) {
            if (first) g->SetCurrentCell(r, static_cast<ROWCOL>(G::s_nPNCol));
            first = false;
            g->SelectRange(CGXRange().SetRows(r), TRUE, FALSE);
        }
    }
};
