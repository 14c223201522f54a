// What the pin grid tells the host when the user selects cells: the status prompt, the current net,
// the records of the property editor and those of the associated-component viewer, on the example
// board through the host.
#include "PinGridBoardFixture.h"

#include "grid/KXAssocCompStruct.h"

#include "afx/afxwin.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "rmx/context.h"

#include <gtest/gtest.h>

namespace {

using G = CKXInstanceDetailsGridWnd;

// Hears the viewer's records and the current net.
class CHeardWnd : public CWnd {
public:
    std::vector<std::string> m_viewer;
    std::vector<std::string> m_nets;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == MSG_ASSOC_COMP_VIEWER_SELECTION) {
            m_viewer.clear();
            for (const auto& record : *reinterpret_cast<CKXAssocCompArray*>(lParam))
                m_viewer.push_back(std::to_string(record->m_nType) + " " + record->m_pContext->spath().str());
            return 0;
        }
        if (message == MSG_NET_SELECTED) {
            m_nets.push_back(reinterpret_cast<const CNetContext*>(wParam)->net()->name());
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class PinGridPublish : public PinGridBoard {
protected:
    void TearDown() override {
        if (m_heard) {
            for (UINT m : {MSG_ASSOC_COMP_VIEWER_SELECTION, MSG_NET_SELECTED})
                GetKXMsgSrvr()->UnregisterWindow(m, m_heard->GetSafeHwnd());
            m_heard->DestroyWindow();
        }
        PinGridBoard::TearDown();
    }
    // U1 shown with both docked windows open, and a window that hears what the grid publishes.
    void ShowU1() {
        OpenBoard();
        // The pane's commands, with the pane active.
        ASSERT_EQ(Run("kx::select ccp " + std::to_string(PinRow("MCLK")) + " " + std::to_string(G::m_nColPinName)),
                  "1");
        ASSERT_EQ(Run("kx::menu 35071"), "1"); // the property editor
        ASSERT_EQ(Run("kx::menu 35574"), "1"); // the associated-component viewer
        m_heard = std::make_unique<CHeardWnd>();
        CRect r(0, 0, 1, 1);
        m_heard->Create(nullptr, "heard", 0, r, nullptr, 0);
        for (UINT m : {MSG_ASSOC_COMP_VIEWER_SELECTION, MSG_NET_SELECTED})
            GetKXMsgSrvr()->RegisterWindow(m, m_heard->GetSafeHwnd());
    }
    // Selects the cells of the pins' rows in one column (the first to the last row) as the user does;
    // what the property editor was handed, one "NAME KIND FIRST SECOND" per record.
    std::vector<std::string> Select(const std::string& first, const std::string& last, int col) {
        ClearPropEditorSelection();
        m_heard->m_viewer.clear();
        m_heard->m_nets.clear();
        const std::string c = std::to_string(col);
        EXPECT_EQ(Run("kx::select ccp " + std::to_string(PinRow(first)) + " " + c + " " +
                      std::to_string(PinRow(last)) + " " + c),
                  "1");
        std::vector<std::string> records;
        for (const CKXConnObjInfo* r : GetPropEditorSelection())
            records.push_back(std::string(r->m_strName.GetString()) + " " + std::to_string(r->m_nKind) + " " +
                              std::to_string(r->m_nFirstBit) + " " + std::to_string(r->m_nSecondBit));
        return records;
    }
    // The last status text the grid showed.
    std::string Status() {
        const std::string text = Transcript();
        const size_t at = text.rfind("status: ");
        return at == std::string::npos ? "" : text.substr(at + 8, text.find('\n', at) - at - 8);
    }
    std::string PinId(const char* pin) {
        return std::to_string(Grid()->GetRowInstance(PinRow("MCLK")).instance()->findInstTerm(pin)->id());
    }
    std::unique_ptr<CHeardWnd> m_heard;
};

// The Signal cell of a pair row stands for its pair net: the net bit of each leg (of each lane for a
// vector pair); its other cells for the pins of its legs.
TEST_F(PinGridPublish, APairRowPublishesItsLegNetsInTheSignalColumnAndItsLegPinsElsewhere) {
    ShowU1();
    EXPECT_EQ(Select("CLK", "CLK", G::m_nColSignal), (std::vector<std::string>{"SYSCLK_P 2 -1 -1", "SYSCLK_N 2 -1 -1"}));
    EXPECT_EQ(m_heard->m_viewer, std::vector<std::string>{"3 @U1%CLK"});
    const std::vector<std::string> lanes = Select("TX<3..0>", "TX<3..0>", G::m_nColSignal);
    ASSERT_EQ(lanes.size(), 8u);
    for (int lane = 0; lane < 4; ++lane) {
        const std::string bit = std::to_string(lane);
        EXPECT_NE(std::find(lanes.begin(), lanes.end(), "LVDS_P 5 " + bit + " " + bit), lanes.end()) << lane;
        EXPECT_NE(std::find(lanes.begin(), lanes.end(), "LVDS_N 5 " + bit + " " + bit), lanes.end()) << lane;
    }
    EXPECT_EQ(Select("CLK", "CLK", G::m_nColPinName),
              (std::vector<std::string>{PinId("CLK_P") + " 3 -1 -1", PinId("CLK_N") + " 3 -1 -1"}));
}

// An ordinary row: its net in the Signal column (named to whoever follows nets too), its pin
// elsewhere; the viewer gets the pin, or in the Pull Up/Down column the net bits that carry a mark.
TEST_F(PinGridPublish, AnOrdinaryRowPublishesItsNetOrItsPin) {
    ShowU1();
    EXPECT_EQ(Select("MCLK", "MCLK", G::m_nColSignal), std::vector<std::string>{"MCLK 2 -1 -1"});
    EXPECT_EQ(m_heard->m_nets, std::vector<std::string>{"MCLK"});
    EXPECT_EQ(m_heard->m_viewer, std::vector<std::string>{"2 @U1.MCLK"});
    EXPECT_EQ(Select("DQ<15..0>", "DQ<15..0>", G::m_nColSignal), std::vector<std::string>{"DQ 5 15 0"});
    EXPECT_EQ(m_heard->m_viewer.size(), 16u);
    EXPECT_EQ(Select("MCLK", "MCLK", G::m_nColPinName), std::vector<std::string>{PinId("MCLK") + " 3 -1 -1"});
    EXPECT_TRUE(m_heard->m_nets.empty());
    Select("PGOOD", "RST_N", G::m_nColPupd);
    EXPECT_EQ(m_heard->m_viewer, std::vector<std::string>{"1 @:RESET_N"}) << "PGOOD has no mark";
}

// A range of pin rows: the prompt counts the selected pins (a bus row once, its folded bits not), and in
// the Signal column adds its hint.
TEST_F(PinGridPublish, TheStatusPromptCountsTheSelectedPins) {
    ShowU1();
    Select("DQ<15..0>", "RST_N", G::m_nColPinName); // DQ<15..0>, MCLK, PGOOD, RST_N
    EXPECT_EQ(Status(), "Width of selected pins: 4");
    Select("DQ<15..0>", "RST_N", G::m_nColSignal);
    EXPECT_EQ(Status(), "Width of selected pins: 4. Type signal name or use \"Alt+Down Arrow\" to pick signal from list.");
}

} // namespace
