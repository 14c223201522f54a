// A design window on a board with a connector, a bus and pin numbers, and the
// signal grid the connectivity pane shows for a net.
#pragma once

#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "kxcommon/KXShareGlobalData.h"
#include "rmx/DesignBuilder.h"
#include "rmx/context.h"
#include "rmx/schema.h"

#include <string>

class SignalGridTest : public KXShellFixture {
protected:
    using G = CKXSignalDetailsGridWnd;

    void BuildDesign(rmx::DesignBuilder& b) override {
        KXShellFixture::BuildDesign(b);
        b.symbol("hdr").bus("P", 4, 1).port("S");
        b.schematic("board").instance("J1", "hdr", "J1").instance("J2", "hdr", "J2");
        for (int bit = 1; bit <= 4; ++bit) {
            b.pinNumber("J1", "P<" + std::to_string(bit) + ">", std::to_string(10 + bit));
            b.pinNumber("J2", "P<" + std::to_string(bit) + ">", std::to_string(20 + bit));
        }
        b.pinNumber("J1", "S", "15").pinNumber("J2", "S", "25");
        b.connect("J1", "P<2..1>", "DATA<1..0>").connect("J2", "S", "N1");
        b.net("FREE");
    }

    CDesignContext Design() { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    // Shows a net (or a bit of it, bit >= 0) as a double-click in the signal list would.
    G* Show(const char* net, int bit = -1) {
        CDesignContext design = Design();
        if (bit >= 0) {
            CKXNetBitContextArray bits;
            bits.Add(design.net(net).bitContext(bit));
            Ccp()->ShowNetBitConnectivity(design, &bits, TRUE);
        } else {
            CKXNetContextArray nets;
            nets.Add(design.net(net));
            Ccp()->ShowNetConnectivity(design, &nets, TRUE);
        }
        return Grid();
    }
    G* Grid() {
        const auto& shown = Ccp()->GetShownGrids();
        return shown.empty() ? nullptr : dynamic_cast<G*>(shown.front());
    }
    CString Cell(ROWCOL row, int col) { return Grid()->GetValueRowCol(row, static_cast<ROWCOL>(col)); }
    // The data row whose INSTANCE and PIN_NAME cells read so; 0 when none.
    ROWCOL Row(const char* instance, const char* pin) {
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
            if (Cell(r, G::m_nColInstance) == instance && Cell(r, G::m_nColPinName) == pin) return r;
        return 0;
    }
    // Filled data rows.
    int FilledRows() {
        int n = 0;
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
            if (!Cell(r, G::m_nColInstance).IsEmpty()) ++n;
        return n;
    }
    // Types a text into a cell and leaves it, as the user does: TRUE when the grid took it.
    BOOL Type(ROWCOL row, int col, const char* text) {
        G* grid = Grid();
        grid->SetCurrentCell(row, static_cast<ROWCOL>(col));
        CGXControl* control = grid->GetCurrentCellControl();
        if (!control) return FALSE;
        control->SetActive(TRUE);
        control->SetCurrentText(text);
        control->SetModify(TRUE);
        return grid->TransferCurrentCell(TRUE);
    }
    // The design's connections of one net as "instance pin[bit] net[bit]" lines.
    std::string Netlist() { return Run("kx::netlist"); }
};
