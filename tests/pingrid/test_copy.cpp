// Copying pin rows: the echo of a user's copy, the texts put on the clipboard and the enable tests.
#include "KXTempPath.h"
#include "PinGridTestSupport.h"

#include "afx/afxole.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using G = CKXInstanceDetailsGridWnd;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

class MainWindow {
public:
    MainWindow() {
        wnd.m_textParams[MSG_HOST_SCRIPT_TEXT] = 'w';
        wnd.CreateEx(0, "MAIN", "main", 0, CRect(0, 0, 100, 100), nullptr, 0);
        AfxSetMainWnd(&wnd);
    }
    ~MainWindow() {
        AfxSetMainWnd(nullptr);
        wnd.DestroyWindow();
    }
    CMessageRecorderWnd wnd;
};

class Copy : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").port("B").port("C");
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .connect("U1", "A", "N1")
            .connect("U1", "B", "N2")
            .pinNumber("U1", "A", "11")
            .pinNumber("U1", "B", "12,13");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override { CKXShareGlobalData::m_bAutomation = nullptr; }
    void SelectCells(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right) {
        grid->SetCurrentCell(top, left);
        grid->SelectRange(CGXRange(top, left, bottom, right), TRUE, TRUE);
    }
};

TEST_F(Copy, PinNameCellsGiveLinesAndTextObjects) {
    const ROWCOL a = Row("A"), b = Row("B");
    ASSERT_EQ(b, a + 1);
    // Three columns selected: only the leftmost is copied.
    SelectCells(a, C(G::m_nColPinName), b, C(G::m_nColPinName) + 2);
    grid->CopySelection();
    EXPECT_EQ(AfxGetClipboardText(), "A\r\nB\r\n");
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_TEXT_OBJECTS);

    // A filtered row inside the range is not copied.
    grid->HideRows(a, a);
    grid->CopySelection();
    EXPECT_EQ(AfxGetClipboardText(), "B\r\n");
}

TEST_F(Copy, SignalCellsAndAnEmptySelection) {
    SelectCells(Row("A"), C(G::m_nColSignal), Row("B"), C(G::m_nColSignal));
    grid->CopySelection();
    EXPECT_EQ(AfxGetClipboardText(), "N1\r\nN2\r\n");
    // No current cell and nothing selected: the clipboard keeps what it had.
    grid->SelectRange(CGXRange().SetTable(), FALSE, TRUE);
    grid->SetCurrentCell(GX_INVALID, GX_INVALID);
    grid->CopySelection();
    EXPECT_EQ(AfxGetClipboardText(), "N1\r\nN2\r\n");
}

TEST_F(Copy, EchoOfAUsersCopy) {
    MainWindow main;
    const ROWCOL a = Row("A"), c = Row("C");
    // Brackets and dollars in a cell reach the host as the text, not as a substitution.
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetValueRange(CGXRange(c, C(G::m_nColPinName)), "C[1]$x");
    grid->SetCurrentCell(a, C(G::m_nColSignal));
    grid->SelectRange(CGXRange().SetRows(a), TRUE, TRUE);
    grid->SelectRange(CGXRange().SetRows(c), TRUE, TRUE);
    grid->OnEditCopy();
    const auto texts = main.wnd.TextsOf(MSG_HOST_SCRIPT_TEXT);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "selectWindow ccp; copy pin [list U1 A \"11\"] [list U1 \"C\\[1\\]\\$x\" \"\"]  \"Signal\"");
    // A header cell copies nothing.
    grid->SetCurrentCell(4, C(G::m_nColSignal));
    grid->OnEditCopy();
    EXPECT_EQ(main.wnd.TextsOf(MSG_HOST_SCRIPT_TEXT).size(), 1u);
}

TEST_F(Copy, JournalLinesPerRow) {
    const auto path = KXUniqueTempPath("pingrid_copy_journal.vbs");
    std::filesystem::remove(path);
    std::string journal = path.string();
    CKXShareGlobalData::m_bAutomation = journal.data();
    SelectCells(Row("A"), C(G::m_nColSignal), Row("B"), C(G::m_nColSignal));
    grid->CopySelection();
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    EXPECT_NE(s.find(".Clp().Select(\"U1\")"), std::string::npos) << s;
    EXPECT_NE(s.find(".ConnectivityPane().SelectSignalCol(\"A\",\"11\")"), std::string::npos) << s;
    // Several pin numbers: the pin name alone.
    EXPECT_NE(s.find(".ConnectivityPane().SelectSignalCol(\"B\")"), std::string::npos) << s;
    EXPECT_NE(s.find("' --- Copy ---\ncall "), std::string::npos) << s;
    std::filesystem::remove(path);
}

TEST_F(Copy, EnableTests) {
    const ROWCOL a = Row("A");
    grid->SetCurrentCell(a, C(G::m_nColComments));
    EXPECT_FALSE(grid->CanCopy());
    grid->SetCurrentCell(a, C(G::m_nColPinName));
    EXPECT_TRUE(grid->CanCopy());
    // Text objects on the clipboard: a pin-name cell takes neither kind of paste, a signal cell both.
    SelectCells(a, C(G::m_nColPinName), a, C(G::m_nColPinName));
    grid->CopySelection();
    grid->SetCurrentCell(a, C(G::m_nColPinName));
    EXPECT_FALSE(grid->CanPaste());
    EXPECT_FALSE(grid->CanPasteSpecial());
    EXPECT_EQ(G::m_pCurrentPinGrid, grid.get());
    grid->SetCurrentCell(a, C(G::m_nColSignal));
    EXPECT_TRUE(grid->CanPaste());
    EXPECT_TRUE(grid->CanPasteSpecial());
}

} // namespace
