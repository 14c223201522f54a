// The column layout every matrix grid shares, through the host's roads: a column border dragged with the
// mouse (kx::drag), the Customize Columns dialog (menu 35130), what every open matrix window then draws
// (kx::widths) and what closing a window saves as the "MATRIX" customisation.
#include "MatrixTestSupport.h"

#include "kxcommon/KXCustomizeAPI.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

class MatrixLayout : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        Views()->CreateView("v");
        Views()->AddInstanceToMatrixView("v", "@J1");
        Views()->AddInstanceToMatrixView("v", "@J2");
        Views()->AddSignalToMatrixView("v", "@:N1");
        ASSERT_EQ(Run("openMatrixView pin v"), "1");
    }
    // The widths the active grid draws its columns with, from column 0.
    std::vector<int> Widths() {
        std::istringstream in(Run("kx::widths ccp"));
        std::vector<int> widths;
        for (int w = 0; in >> w;) widths.push_back(w);
        return widths;
    }
    int Width(int col) {
        const std::vector<int> widths = Widths();
        return col >= 0 && col < static_cast<int>(widths.size()) ? widths[static_cast<std::size_t>(col)] : -1;
    }
    // A second window of the design showing the same view: the one made active.
    void OpenSecondWindow() {
        ASSERT_EQ(Run("kx::open work.board:sch 1"), "1");
        ASSERT_EQ(Run("openMatrixView pin v"), "1");
    }
    // The "MATRIX" customisation entry of the key as the service holds it now ("" when none).
    static std::string Entry(const char* key) {
        CKXCustomizeAPI::setCustomizationOrigin("MATRIX");
        for (const CStringArray* list : {&CKXCustomizeAPI::getUserEntriesArray(), &CKXCustomizeAPI::getDefaultEntriesArray()})
            for (INT_PTR i = 0; i < list->GetSize(); ++i)
                if ((*list)[i].Left(static_cast<int>(std::strlen(key)) + 1) == CString(key) + "|") return (*list)[i].GetString();
        return std::string();
    }
    std::string Drag(int col, int dx) {
        return Run("kx::drag ccp 1 " + std::to_string(col) + " " + std::to_string(dx));
    }
};

// A Pin Number border dragged 36 pixels wider in one window: the column of every group, in every matrix
// window, takes the width; closing a window saves it in characters (100 pixels, 8 a character: "12s").
TEST_F(MatrixLayout, ADraggedBorderWidensTheColumnOfEveryGroupInEveryWindowAndIsSaved) {
    OpenSecondWindow();
    const int pn = PnCol(0), wide = Width(pn) + 36;
    ASSERT_EQ(wide, 100);
    ASSERT_EQ(Drag(pn, 36), "1");
    EXPECT_EQ(Width(pn), wide);
    EXPECT_EQ(Width(PnCol(1)), wide);
    ASSERT_EQ(Run("kx::tab 1"), "1");
    EXPECT_EQ(Width(PnCol(0)), wide);
    EXPECT_EQ(Width(PnCol(1)), wide);
    // Column 0 has no width, whatever the row-number option says.
    Run("kx::option show_row_numbers 1");
    EXPECT_EQ(Width(0), 0);
    ASSERT_EQ(Run("closeDesign -nosave"), "1");
    EXPECT_EQ(Entry("PN"), "PN|Pin Number|12s|DEFAULT|SHOW");
    // An edge that is no column title's takes no drag.
    EXPECT_EQ(Run("kx::drag ccp 5 " + std::to_string(pn) + " 10"), "0");
}

// A border dragged so far that the mouse's end point leaves the 16 bits a side a mouse message carries is
// refused (an error, as a drag of a million pixels is): the point would arrive wrapped, as a drag the other
// way that hides the column. The column keeps its width; a drag within the range still widens it.
TEST_F(MatrixLayout, ADragBeyondWhatAMouseMessageCarriesIsRefused) {
    const int pn = PnCol(0), before = Width(pn);
    ASSERT_GT(before, 0);
    for (const int dx : {32640, 40000, -40000}) {
        SCOPED_TRACE(dx);
        EXPECT_EQ(Drag(pn, dx).rfind("error:", 0), 0u);
        EXPECT_EQ(Width(pn), before);
    }
    ASSERT_EQ(Drag(pn, 200), "1");
    EXPECT_EQ(Width(pn), before + 200);
}

// A fixed width given in the dialog holds in every group: its border takes no drag, and a save keeps the
// user's width. Hiding a sub-column makes it 0 pixels wide in every group of every matrix window.
TEST_F(MatrixLayout, AFixedWidthHoldsAndAHiddenColumnHasNoWidthInAnyGroup) {
    OpenSecondWindow();
    Run("kx::answer dialog CKXCustomizeDialog ok width.PIN_TYPE 40f");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    EXPECT_EQ(Width(TypeCol(0)), 40);
    EXPECT_EQ(Width(TypeCol(1)), 40);
    EXPECT_EQ(Drag(TypeCol(0), 24), "0");
    EXPECT_EQ(Width(TypeCol(0)), 40);
    EXPECT_EQ(Width(TypeCol(1)), 40);
    EXPECT_EQ(Entry("PIN_TYPE"), "PIN_TYPE|Pin Type|40f|DEFAULT|SHOW");
    Run("kx::answer dialog CKXCustomizeDialog ok hide PN");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    for (int window : {1, 2}) {
        ASSERT_EQ(Run("kx::tab " + std::to_string(window)), "1");
        EXPECT_EQ(Width(PnCol(0)), 0) << window;
        EXPECT_EQ(Width(PnCol(1)), 0) << window;
    }
}

// The dialog answered as the columns are changes nothing: 0, KXPANE-700, on the matrix as on the pin grid;
// cancelled it answers 2; a column it lacks is refused (KXTABLE-381). The layout stays as it was.
TEST_F(MatrixLayout, ACustomiseThatChangesNothingSaysSo) {
    const std::vector<int> before = Widths();
    Run("kx::answer dialog CKXCustomizeDialog ok");
    EXPECT_EQ(Run("kx::menu 35130"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-700"});
    Run("kx::answer dialog CKXCustomizeDialog ok show PN");
    EXPECT_EQ(Run("kx::menu 35130"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-700"});
    Run("kx::answer dialog CKXCustomizeDialog cancel");
    EXPECT_EQ(Run("kx::menu 35130"), "2");
    Run("kx::answer dialog CKXCustomizeDialog ok hide NOSUCH");
    EXPECT_EQ(Run("kx::menu 35130"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    EXPECT_EQ(Widths(), before);
    // A pin grid's customisation leaves the matrix's layout as it is; answered unchanged it says so too.
    ASSERT_EQ(Run("kx::open work.board:sch 1"), "1");
    ASSERT_EQ(Run("kx::show clp J1"), "1");
    Run("kx::answer dialog CKXCustomizeDialog ok");
    EXPECT_EQ(Run("kx::menu 35130"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-700"});
    Run("kx::answer dialog CKXCustomizeDialog ok hide PN,PIN_TYPE");
    EXPECT_EQ(Run("kx::menu 35130"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    EXPECT_EQ(Widths(), before);
}

// A "MATRIX" customisation written without a Pin Number column (by another version, or by hand): the
// groups show Pin Name, Pin Type and Termination, and no cell of theirs takes a pin number. The matrix
// keeps the column it needs hidden, so that its Pin Type cell does not stand in for it and connect a pin.
class MatrixLayoutWithoutPinNumbers : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        std::ofstream(m_dir / "registry" / "MATRIX.cust", std::ios::binary)
            << "KXCUSTOMIZE 1\nD NAME|Signal|16s|DEFAULT|SHOW\nD PHYS_NET_NAME|Physical Net|14s|DEFAULT|SHOW\n"
               "D PUPD|Pull Up/Down|10s|DEFAULT|SHOW\nD PIN_NAME|Pin Name|14s|DEFAULT|SHOW\n"
               "D PIN_TYPE|Pin Type|8s|DEFAULT|SHOW\nD TERMINATION|Termination|12s|DEFAULT|SHOW\n";
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@J1"}, {"@:N1", "@:FREE"}), nullptr);
    }
};

TEST_F(MatrixLayoutWithoutPinNumbers, APinTypeCellTakesNoPinNumber) {
    const std::string window = Run("kx::window ccp");
    EXPECT_NE(window.find("1: Signal | Physical Net | Pull Up/Down | Pin Name | Pin Type | Termination"),
              std::string::npos)
        << window;
    const std::string netlist = Run("kx::netlist");
    ASSERT_NE(netlist.find("J1 T N1"), std::string::npos) << netlist;
    Run("kx::answer question KXTABLE-140 yes");
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(Row("FREE")) + " " + std::to_string(TypeCol(0)) + " 16"), "0");
    EXPECT_EQ(Run("kx::netlist"), netlist);
    // The Pin Name cell still connects by name.
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(Row("FREE")) + " " + std::to_string(PinCol(0)) + " T"), "1");
    EXPECT_NE(Run("kx::netlist").find("J1 T FREE"), std::string::npos);
}

} // namespace
