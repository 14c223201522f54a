// The instance connectivity dialog: the pins of an instance just placed, connected inside one
// transaction that OK keeps as one undo step and Cancel throws away; reached from the host.
#include "ConnEditFixture.h"
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXInstConnDlg.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "grid/KXSpinControl.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxanswer.h"
#include "afx/afxmenu.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"
#include "rmx/context.h"

#include <algorithm>

namespace {

class InstConn : public KXShellFixture {
protected:
    CDesignContext Design() { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    void Answer(const std::string& fields) { Run("kx::answer dialog CKXInstConnDlg " + fields); }
    std::string Netlist() { return Run("kx::netlist"); }
    bool Has(const std::string& line) {
        const std::string list = Netlist();
        return list.find(line) != std::string::npos;
    }
    std::string Journal() { return JournalText(); }
    // A dialog run without DoModal, for what the user sees while it is open.
    std::unique_ptr<CKXInstConnDlg> OpenModeless(const char* instance, int counter) {
        CKXTableChildFrm* frame = Frame();
        CKXTableDoc* doc = frame->GetTableDoc();
        auto dialog = std::make_unique<CKXInstConnDlg>(frame, doc->GetDesignContext(), doc->GetMasterDesignContext(),
                                                       doc->GetDesignContext().instance(instance), counter, frame);
        EXPECT_TRUE(dialog->Create(CKXInstConnDlg::IDD, frame));
        return dialog;
    }
};

TEST_F(InstConn, ShortPinsTakesANewAutomaticNameEachTimeAndOkKeepsBothAsOneStep) {
    ASSERT_TRUE(Open());
    Answer("ok pins IN fx 35280");
    Answer("ok pins OUT fx 35280");
    Answer("ok");
    Echoes();
    EXPECT_EQ(Run("kx::instconn U1 4"), "1");
    EXPECT_TRUE(Has("U1 IN signal_5")) << Netlist();
    const std::vector<std::string> echoes = Echoes(); // each kept connection, with its pins
    ASSERT_EQ(std::count_if(echoes.begin(), echoes.end(),
                            [](const std::string& e) { return e.rfind("addConnection pin signal_", 0) == 0; }),
              2);
    EXPECT_TRUE(Has("U1 OUT signal_6")) << Netlist();
    EXPECT_TRUE(Doc()->IsModified());
    // One undo step takes both back.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(Has("signal_5"));
    EXPECT_TRUE(Has("U1 OUT N1")) << Netlist();
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Has("U1 IN signal_5"));
    EXPECT_TRUE(Has("U1 OUT signal_6"));
}

TEST_F(InstConn, CancelAfterSeveralConnectionsLeavesTheDesignAsItWas) {
    ASSERT_TRUE(Open());
    const std::string before = Netlist();
    Answer("ok pins IN fx 35255");
    Answer("ok pins OUT signal NEWNET");
    Answer("ok pins A signal =PINNAME");
    Answer("cancel");
    Echoes();
    EXPECT_EQ(Run("kx::instconn U1"), "0");
    EXPECT_EQ(Netlist(), before);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Run("undo"), "0"); // no step was left behind
    for (const std::string& echo : Echoes()) // the host heard of no connection
        EXPECT_EQ(echo.find("addConnection"), std::string::npos) << echo;
    // Unanswered, the dialog is cancelled the same way.
    Answer("ok pins IN fx 35280");
    EXPECT_EQ(Run("kx::instconn U1"), "0");
    EXPECT_EQ(Netlist(), before);
}

TEST_F(InstConn, AnAutomaticNameANetHasAlreadyIsPassedOver) {
    ASSERT_TRUE(Open());
    Answer("ok pins IN fx 35280");
    Answer("ok");
    ASSERT_EQ(Run("kx::instconn U1 0"), "1");
    ASSERT_TRUE(Has("U1 IN signal_1"));
    // The next run starts from the same counter: R1's pin must not join U1's net.
    Answer("ok pins A fx 35280");
    Answer("ok");
    ASSERT_EQ(Run("kx::instconn R1 0"), "1");
    EXPECT_TRUE(Has("R1 A signal_2")) << Netlist();
    EXPECT_FALSE(Has("R1 A signal_1"));
}

TEST_F(InstConn, ARuleTextWithItsStringConnectsByTheRule) {
    ASSERT_TRUE(Open());
    Answer("ok pins IN signal =PREFIXPINNAME(X_)");
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_TRUE(Has("U1 IN X_IN")) << Netlist();
}

// A function entry prepares its rule with the placeholder selected: the text typed next goes into it.
TEST_F(InstConn, TextTypedAfterAPreparedRuleGoesIntoItsPlaceholder) {
    ASSERT_TRUE(Open());
    Answer("ok pins IN fx 35275");
    Answer("ok pins IN signal Q_");
    Answer("ok pins OUT signal PLAIN");
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_TRUE(Has("U1 IN Q_IN")) << Netlist();
    // Once the rule took its argument, a text typed again is a text of its own.
    EXPECT_TRUE(Has("U1 OUT PLAIN")) << Netlist();
}

TEST_F(InstConn, OkWithoutAConnectionIsNoEdit) {
    ASSERT_TRUE(Open());
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1"), "0");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_NE(Run("kx::instconn NOPE"), "1"); // no such instance: an error
}

TEST_F(InstConn, SameAsPinNameAndIncrementRuleConnectByTheRule) {
    ASSERT_TRUE(Open());
    Answer("ok pins IN fx 35256");
    Answer("ok pins OUT signal =INCREMENTSIGNAME(S,4)");
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_TRUE(Has("U1 IN IN")) << Netlist();
    EXPECT_TRUE(Has("U1 OUT S4")) << Netlist();
}

TEST_F(InstConn, PinsTheGridDoesNotShowConnectNothing) {
    ASSERT_TRUE(Open());
    const std::string before = Netlist();
    Answer("ok pins NOPE fx 35280");
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1 0"), "0");
    EXPECT_EQ(Netlist(), before);
}

TEST_F(InstConn, AReadOnlyWindowKeepsNothing) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    const std::string before = Netlist();
    Answer("ok pins IN fx 35280");
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1"), "0");
    EXPECT_EQ(Netlist(), before);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-382"});
}

TEST_F(InstConn, WhatTheOpenDialogShows) {
    ASSERT_TRUE(Open());
    auto dialog = OpenModeless("U1", 0);
    EXPECT_EQ(std::string(dialog->GetCaption()), "Connectivity for Instance: U1 of part: buf");
    const std::vector<CString> entries = dialog->GetSignalComboEntries();
    ASSERT_GE(entries.size(), 8u);
    EXPECT_EQ(std::string(entries[0]), "=AUTONAME");
    EXPECT_EQ(std::string(entries[6]), "=INCREMENTSIGNAME");
    EXPECT_NE(std::find(entries.begin(), entries.end(), CString("N1")), entries.end());
    ASSERT_NE(dialog->GetCCPTabWnd(), nullptr);
    EXPECT_EQ(dialog->GetCCPTabWnd()->GetDlgCtrlID(), static_cast<int>(CKXInstConnDlg::kGridId));
    // The prefix entry leaves its rule with the placeholder selected for typing.
    dialog->OnBptoolbarPrefixpinname();
    EXPECT_EQ(std::string(dialog->GetSignalComboText()), "=PREFIXPINNAME(<string>)");
    EXPECT_EQ(dialog->GetSignalComboEditSel(), static_cast<DWORD>(MAKELONG(15, 23)));
    dialog->OnBptoolbarIncrementSigName();
    EXPECT_EQ(std::string(dialog->GetSignalComboText()), "=INCREMENTSIGNAME(<signal, start_num>)");
    EXPECT_EQ(dialog->GetSignalComboEditSel(), static_cast<DWORD>(MAKELONG(18, 37)));
    dialog->OnCancel();
}

TEST_F(InstConn, TheDialogsBarAndFunctionButtonAreTheToolkitsControls) {
    ASSERT_TRUE(Open());
    auto dialog = OpenModeless("U1", 0);
    auto* bar = dynamic_cast<SECShortcutBar*>(dialog->GetDlgItem(CKXInstConnDlg::kShortcutBarId));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetBarCount(), 1);
    EXPECT_EQ(std::string(bar->GetBarLabel(bar->GetActiveIndex())), "Connectivity Details");
    auto* fx = dynamic_cast<SECBitmapButton*>(dialog->GetDlgItem(CKXInstConnDlg::kFxButtonId));
    ASSERT_NE(fx, nullptr);
    EXPECT_EQ(fx->GetBitmapId(), 8882u);
    // Pressed, it drops the function menu from its lower-left corner; the choice prepares the rule.
    AfxGetAnswerQueue().PushMenu(35276);
    fx->Click();
    CRect button;
    fx->GetWindowRect(&button);
    EXPECT_EQ(CMenu::GetLastTrackPoint(), CPoint(button.left, button.bottom));
    EXPECT_EQ(std::string(dialog->GetSignalComboText()), "=SUFFIXPINNAME(<string>)");
    dialog->OnCancel();
}

TEST_F(InstConn, ResizingBeforeTheDialogOpenedMovesNothing) {
    ASSERT_TRUE(Open());
    CKXTableDoc* doc = Frame()->GetTableDoc();
    CKXInstConnDlg dialog(Frame(), doc->GetDesignContext(), doc->GetMasterDesignContext(),
                          doc->GetDesignContext().instance("U1"), 0, Frame());
    EXPECT_TRUE(dialog.IsInitialising());
    dialog.OnSize(0, 300, 200); // nothing there yet to lay out
    EXPECT_EQ(dialog.GetCCPTabWnd(), nullptr);
}

TEST_F(InstConn, TheKeptConnectionsAreJournalledAfterTheInstanceIsShown) {
    ASSERT_TRUE(Open());
    Answer("ok pins IN signal NEWNET");
    Answer("cancel");
    Run("kx::instconn U1");
    EXPECT_EQ(Journal().find("NEWNET"), std::string::npos); // a cancelled dialog journals nothing
    Answer("ok pins IN signal NEWNET");
    Answer("ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    const std::string journal = Journal();
    const size_t shown = journal.find("Clp().Select(\"U1\")");
    const size_t connected = journal.find("AddConnection(\"NEWNET\")");
    ASSERT_NE(shown, std::string::npos) << journal;
    ASSERT_NE(connected, std::string::npos) << journal;
    EXPECT_LT(shown, connected);
}

// The Signal cells of the dialog's pins offer the nets its own connections made, before OK keeps them;
// the list is the dialog's own, so a cancelled dialog leaves no name of a net that is not there.
class InstConnCells : public InstConn {
protected:
    static CKXListComboBox* CellList(CKXInstConnDlg& dialog) {
        auto* grid = dynamic_cast<CKXInstanceDetailsGridWnd*>(dialog.GetCCPTabWnd());
        return grid && grid->m_pSignalCombo ? grid->m_pSignalCombo->m_pListBox : nullptr;
    }
    static int Count(const CListBox& list, const char* name) {
        int n = 0;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString text;
            list.GetText(i, text);
            if (text == name) ++n;
        }
        return n;
    }
};

TEST_F(InstConnCells, ANetMadeInTheDialogIsPickedFromAnotherPinsSignalCell) {
    ASSERT_TRUE(Open());
    Answer("ok pins IN signal NEWNET");
    Answer("ok pins OUT cell NEWNET");
    Answer("ok");
    Echoes();
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_TRUE(Has("U1 IN NEWNET")) << Netlist();
    EXPECT_TRUE(Has("U1 OUT NEWNET")) << Netlist();
    const std::vector<std::string> echoes = Echoes(); // both connections, heard once OK kept them
    EXPECT_EQ(std::count_if(echoes.begin(), echoes.end(),
                            [](const std::string& e) { return e.rfind("addConnection pin NEWNET", 0) == 0; }),
              2)
        << ::testing::PrintToString(echoes);
    EXPECT_EQ(Run("undo"), "1"); // one step takes both back
    EXPECT_FALSE(Has("NEWNET"));
    EXPECT_TRUE(Has("U1 OUT N1")) << Netlist();
}

TEST_F(InstConnCells, ANetARuleMadeIsOfferedTooAndANameNotOfferedIsNotPicked) {
    ASSERT_TRUE(Open());
    const std::string before = Netlist();
    Answer("ok pins OUT cell NOSUCH"); // not in the list: nothing is connected
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1"), "0");
    EXPECT_EQ(Netlist(), before);
    Answer("ok pins IN signal =PREFIXPINNAME(X_)");
    Answer("ok pins OUT cell X_IN");
    Answer("ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_TRUE(Has("U1 IN X_IN")) << Netlist();
    EXPECT_TRUE(Has("U1 OUT X_IN")) << Netlist();
}

TEST_F(InstConnCells, TheDesignsNetsAreOfferedSortedByTheNamesThePaneOffersThemBy) {
    ASSERT_TRUE(Open());
    auto dialog = OpenModeless("U1", 0);
    const std::vector<CString> entries = dialog->GetSignalComboEntries();
    ASSERT_EQ(entries.size(), 10u); // seven rules, then the three nets
    const std::vector<CString> nets(entries.begin() + 7, entries.end());
    EXPECT_EQ(nets, (std::vector<CString>{"DATA<3..0>", "GND", "N1"}));
    CKXListComboBox* cells = CellList(*dialog);
    ASSERT_NE(cells, nullptr);
    const int bus = cells->FindStringExact(-1, "DATA<3..0>");
    ASSERT_GE(bus, 0);
    EXPECT_EQ(cells->GetItemData(bus), static_cast<DWORD_PTR>(Design().net("DATA").net()->id()));
    EXPECT_LT(cells->FindStringExact(-1, "DATA"), 0); // a bus is not offered by its bare name
    dialog->OnCancel();
}

TEST_F(InstConnCells, TheCellListIsTheDialogsOwnAndTakesANewNameOnce) {
    ASSERT_TRUE(Open());
    auto dialog = OpenModeless("U1", 0);
    CKXListComboBox* cells = CellList(*dialog);
    ASSERT_NE(cells, nullptr);
    CListBox* pane = Ccp()->GetSignalDropList();
    ASSERT_NE(pane, nullptr);
    EXPECT_NE(static_cast<CListBox*>(cells), pane);
    EXPECT_EQ(Count(*cells, "N1"), 1); // the design's nets, as the pane offers them
    CStringArray in;
    in.Add("IN");
    ASSERT_TRUE(dialog->SelectPins(in));
    ASSERT_TRUE(dialog->ApplySignalText("NEWNET"));
    EXPECT_EQ(Count(*cells, "NEWNET"), 1);
    CStringArray out;
    out.Add("OUT");
    ASSERT_TRUE(dialog->SelectPins(out));
    ASSERT_TRUE(dialog->PickSignalCellEntry("NEWNET"));
    EXPECT_EQ(Count(*cells, "NEWNET"), 1);
    EXPECT_FALSE(dialog->PickSignalCellEntry("newnet")); // an entry is its name exactly
    EXPECT_EQ(Count(*pane, "NEWNET"), 0); // the pane hears of it only when it is kept
    dialog->OnCancel();
    EXPECT_FALSE(Has("NEWNET"));
    EXPECT_EQ(Count(*pane, "NEWNET"), 0);
}

// On the example board: the journal of a kept dialog replays to the same saved design, also when the
// dialog's step was undone.
using InstConnBoard = ConnEditFixture;

TEST_F(InstConnBoard, AKeptDialogReplaysToTheSameDesign) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Run("kx::answer dialog CKXInstConnDlg ok pins RST_N fx 35280");
    Run("kx::answer dialog CKXInstConnDlg ok pins PGOOD signal =PREFIXPINNAME(X_)");
    Run("kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn U1 4"), "1");
    const std::string edited = Saved();
    ASSERT_NE(edited, original);
    EXPECT_EQ(Replayed(original), edited);
}

TEST_F(InstConnBoard, APickFromTheSignalCellReplaysToTheSameDesign) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Run("kx::answer dialog CKXInstConnDlg ok pins PGOOD signal NEWPG");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Run("kx::answer dialog CKXInstConnDlg ok pins RST_N cell NEWPG");
    Run("kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_EQ(Conn("U1 RST_N"), "NEWPG");
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

TEST_F(InstConnBoard, AnUndoneDialogReplaysToTheDesignBeforeIt) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Run("kx::answer dialog CKXInstConnDlg ok pins {PGOOD MCLK} fx 35255");
    Run("kx::answer dialog CKXInstConnDlg ok pins PGOOD signal NEWPG");
    Run("kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(Replayed(original), original);
}

} // namespace

namespace {

using InstConnRefusals = ConnEditFixture;

// A step of the dialog that connects nothing leaves nothing in the kept step: the net its signal
// would have made is not in the design, and the journal of the kept step replays to the same design.
TEST_F(InstConnRefusals, ASignalThatConnectsNothingLeavesNoNetBehind) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show clp U1");
    Run("expandPins pin on");
    const std::string original = Saved();
    Messages();
    // DQ has no bit 99: the key names no row, so nothing takes STRAY.
    Run("kx::answer dialog CKXInstConnDlg ok pins {DQ<99>} signal STRAY");
    Run("kx::answer dialog CKXInstConnDlg ok pins MCLK signal KEPT");
    Run("kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    const std::string edited = Saved();
    EXPECT_NE(edited.find("net KEPT "), std::string::npos) << edited;
    EXPECT_EQ(edited.find("STRAY"), std::string::npos) << edited;
    EXPECT_EQ(Replayed(original), edited);
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Saved(), original);
}

// The name a refused step would have made stays free for a later step of the same dialog.
TEST_F(InstConnRefusals, ANameARefusedStepWouldHaveMadeIsMadeByALaterStep) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show clp U1");
    Run("expandPins pin on");
    const std::string original = Saved();
    Run("kx::answer dialog CKXInstConnDlg ok pins {DQ<3>} signal LATER");
    Run("kx::answer dialog CKXInstConnDlg ok pins PGOOD signal LATER");
    Run("kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    const std::string edited = Saved();
    EXPECT_NE(edited.find("net LATER -1 -1"), std::string::npos) << edited;
    EXPECT_EQ(Replayed(original), edited);
}

} // namespace

namespace {

using InstConnPhysical = ConnEditFixture;

// The physical view shows physical parts: the dialog there is refused and changes nothing (its
// connections could not be journalled so that a replay makes them again).
TEST_F(InstConnPhysical, ThePhysicalViewRefusesTheDialogAndChangesNothing) {
    ASSERT_TRUE(Open("demo.board:sch", 4));
    Run("kx::show clp R2");
    const std::string before = Saved();
    const std::string journal = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    Run("kx::answer dialog CKXInstConnDlg ok pins {A B} signal PHYS_IC");
    Run("kx::answer dialog CKXInstConnDlg ok");
    EXPECT_EQ(Run("kx::instconn R2"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-265"});
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(Doc()->IsModified());
    AfxGetAnswerQueue().ClearPending();
    // The logical view connects them.
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::answer dialog CKXInstConnDlg ok pins {A B} signal PHYS_IC");
    Run("kx::answer dialog CKXInstConnDlg ok");
    EXPECT_EQ(Run("kx::instconn R2"), "1");
    EXPECT_NE(Saved().find("conn R2 A PHYS_IC"), std::string::npos);
}

} // namespace

namespace {

// Ctrl+V on pins of the dialog's grid: the clipboard's lines connect them as one edit inside the
// dialog's transaction, which OK keeps as one step and Cancel throws away; a line the grid refuses
// takes the whole paste back and leaves the dialog's other edits as they were.
class InstConnPaste : public ConnEditFixture {
protected:
    void TearDown() override {
        CKXImpClipBoard::Reset();
        ConnEditFixture::TearDown();
    }
    // Plain text on the clipboard, as another program leaves it.
    static void Clip(const char* text) {
        CKXImpClipBoard::StartCopying();
        CKXImpClipBoard::CopyCFText(text);
        CKXImpClipBoard::EndCopying();
        CKXImpClipBoard::PutTextOnClipBoard(0, 1);
    }
    void Answer(const std::string& fields) { Run("kx::answer dialog CKXInstConnDlg " + fields); }
    static long CountOf(const std::vector<std::string>& lines, const std::string& prefix) {
        return std::count_if(lines.begin(), lines.end(),
                             [&prefix](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }
};

TEST_F(InstConnPaste, CopiedSignalOntoSeveralPinsIsOneKeptStepThatReplays) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Run("kx::show clp U1");
    ASSERT_EQ(Run("copy pin [list U1 MCLK B14] Signal"), "1"); // Ctrl+C on MCLK's Signal cell
    const int steps = Steps();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Answer("ok pins {PGOOD RST_N} paste 1");
    Answer("ok");
    Echoes();
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "MCLK");
    EXPECT_EQ(Conn("U1 RST_N"), "MCLK");
    EXPECT_EQ(CountOf(Echoes(), "addConnection pin MCLK [list U1 "), 2); // the host hears of each pasted pin
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Steps(), steps + 1);
    const std::string edited = Saved();
    ASSERT_EQ(Run("undo"), "1"); // the dialog's one step takes the whole paste back
    EXPECT_EQ(Saved(), original);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Saved(), edited);
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

TEST_F(InstConnPaste, ARefusedLineTakesTheWholePasteBackAndKeepsTheDialogsOtherEdits) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    const std::string mclk = Conn("U1 MCLK"), pgood = Conn("U1 PGOOD");
    Clip("GOOD1\n!!bad name\n");
    Messages();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Answer("ok pins RST_N signal KEPT");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Answer("ok pins {MCLK PGOOD} paste 1"); // MCLK takes GOOD1, PGOOD refuses its line
    Answer("ok pins PGOOD cell GOOD1");      // the refused paste's net is not offered
    Answer("ok");
    Echoes();
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-112"});
    EXPECT_EQ(Conn("U1 RST_N"), "KEPT");
    EXPECT_EQ(Conn("U1 MCLK"), mclk);
    EXPECT_EQ(Conn("U1 PGOOD"), pgood);
    const std::string edited = Saved();
    EXPECT_EQ(edited.find("GOOD1"), std::string::npos);
    EXPECT_EQ(JournalText().find("GOOD1"), std::string::npos);
    EXPECT_EQ(CountOf(Echoes(), "addConnection pin GOOD1"), 0);
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

// Should the host's edit have been committed under a paste, the refused paste can no longer be taken back:
// what stays of it is journalled and echoed with the dialog's other steps, so replay makes what OK kept.
TEST_F(InstConnPaste, APasteThatCouldNotBeTakenBackIsJournalledAndEchoed) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Clip("GOOD1\n!!bad name\n");
    AfxGetAnswerQueue().SetListener([](const AfxAnswerRecord& r) {
        if (r.key != "KXTABLE-112") return; // the refused line, before the paste is taken back
        if (CTransaction* open = CKXTransaction::GetCurrentTransactionObj()) open->commit();
    });
    Messages();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Answer("ok pins {MCLK PGOOD} paste 1"); // MCLK takes GOOD1, PGOOD refuses its line
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Answer("ok pins RST_N signal KEPT");
    Answer("ok");
    Echoes();
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    AfxGetAnswerQueue().SetListener(nullptr);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-112", "KXTABLE-255"}));
    EXPECT_EQ(Conn("U1 MCLK"), "GOOD1");
    EXPECT_EQ(Conn("U1 RST_N"), "KEPT");
    EXPECT_EQ(CountOf(Echoes(), "addConnection pin GOOD1"), 1);
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

TEST_F(InstConnPaste, ANameTheRefusedPasteWouldHaveMadeIsMadeByALaterStep) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    const std::string mclk = Conn("U1 MCLK");
    Clip("LATER\n!!bad name\n");
    Answer("ok pins {MCLK PGOOD} paste 1");
    Answer("ok pins PGOOD signal LATER");
    Answer("ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "LATER");
    EXPECT_EQ(Conn("U1 MCLK"), mclk);
    const std::string edited = Saved();
    EXPECT_NE(edited.find("net LATER -1 -1"), std::string::npos) << edited;
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

// The dialog's grid shows each of its connections before OK keeps them: a pin moved in the dialog
// and pasted its old signal goes back to it, as the replayed journal does.
TEST_F(InstConnPaste, APinMovedInTheDialogTakesItsOldSignalBackFromAPaste) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    const std::string pgood = Conn("U1 PGOOD");
    Run("kx::show clp U1");
    ASSERT_EQ(Run("copy pin [list U1 PGOOD C10] Signal"), "1");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Answer("ok pins PGOOD signal MOVED");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok");
    Answer("ok pins PGOOD paste 1");
    Answer("ok");
    ASSERT_EQ(Run("kx::instconn U1"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), pgood);
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

// An empty line takes a pair's connection off as the Delete key does: its legs stay on the nets
// they are on, also when the dialog showed the legs' own rows, and the journal replays the same.
TEST_F(InstConnPaste, AnEmptyLineOntoAPairConnectedInTheDialogReplaysToTheSameLegs) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Clip("\n");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1");
    // The pair takes IC2 as a pair's name (its question answered yes): a pair row and a plain pin
    // given one name connect together or not at all.
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Answer("ok pins {MCLK CLK} signal IC2");
    Answer("ok pins {RST_N CLK} paste special");
    Answer("ok");
    ASSERT_EQ(Run("kx::instconn U1 2"), "1");
    EXPECT_EQ(Conn("U1 MCLK"), "IC2");
    EXPECT_EQ(Conn("U1 RST_N"), "");
    const std::string legP = Conn("U1 CLK_P"), legN = Conn("U1 CLK_N");
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(original), edited) << JournalText();
    EXPECT_EQ(Conn("U1 CLK_P"), legP);
    EXPECT_EQ(Conn("U1 CLK_N"), legN);
}

// Delete on a pair's row leaves its legs' connections whether or not the legs' rows are unfolded.
TEST_F(InstConnPaste, DeleteOnAPairKeepsItsLegsWhenTheirRowsAreShown) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show clp U1");
    const std::string legP = Conn("U1 CLK_P"), legN = Conn("U1 CLK_N");
    ASSERT_FALSE(legP.empty());
    Run("kx::pane SelectSignalCol CLK_P B15"); // unfolds the pair
    Run("kx::pane SelectSignalCol CLK");
    Run("kx::pane Delete");
    EXPECT_EQ(Conn("U1 CLK_P"), legP);
    EXPECT_EQ(Conn("U1 CLK_N"), legN);
}

// The same on a vector pair: a lane's legs hang below the lane's row, not the pair's, and stay too.
TEST_F(InstConnPaste, DeleteOnAVectorPairKeepsItsLanesLegsWhenTheirRowsAreShown) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addConnection pin MCLK, TX<3..0>"), "2"); // lane 3's legs onto MCLK and nothing
    const std::vector<std::string> legP = Conns("U1 TX_P"), legN = Conns("U1 TX_N");
    ASSERT_NE(std::find(legP.begin(), legP.end(), "MCLK"), legP.end());
    Run("kx::pane SelectSignalCol TX_N<3> C2"); // unfolds lane 3
    ASSERT_EQ(Run("kx::pane SelectSignalCol TX<3..0>"), "1");
    ASSERT_EQ(Run("kx::pane Delete"), "1"); // the pair connection
    EXPECT_EQ(Conns("U1 TX_P"), legP);
    EXPECT_EQ(Conns("U1 TX_N"), legN);
}

TEST_F(InstConnPaste, CancelAndAnEmptyClipboardLeaveTheDesignAsItWas) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    const std::string journal = JournalText();
    Run("kx::show clp U1");
    ASSERT_EQ(Run("copy pin [list U1 MCLK B14] Signal"), "1");
    Answer("ok pins PGOOD paste special");
    Answer("cancel");
    EXPECT_EQ(Run("kx::instconn U1"), "0");
    EXPECT_EQ(Saved(), original);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Run("undo"), "0");
    CKXImpClipBoard::Reset(); // nothing on the clipboard
    Answer("ok pins PGOOD paste 1");
    Answer("ok");
    EXPECT_EQ(Run("kx::instconn U1"), "0");
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(JournalText().find("AddConnection"), std::string::npos);
}

} // namespace

namespace {

// The dialog on the example board without its modal loop, and what its grid shows.
class InstConnOpen : public InstConnPaste {
protected:
    void SetUp() override {
        InstConnPaste::SetUp();
        Run("kx::powerpins on");
        ASSERT_TRUE(Open("demo.board:sch", 1));
        ASSERT_TRUE(Reopen());
        AfxGetAnswerQueue().PushDialog("CKXRetainAssocCompDlg", true); // RST_N's net has a pull-up
    }
    // The dialog (again) on U1, with an edit of its own.
    bool Reopen() {
        m_dialog.reset();
        CKXTableDoc* doc = Frame()->GetTableDoc();
        m_dialog = std::make_unique<CKXInstConnDlg>(Frame(), doc->GetDesignContext(), doc->GetMasterDesignContext(),
                                                    doc->GetDesignContext().instance("U1"), 0, Frame());
        if (!m_dialog->Create(CKXInstConnDlg::IDD, Frame())) return false;
        m_grid = dynamic_cast<CKXInstanceDetailsGridWnd*>(m_dialog->GetCCPTabWnd());
        return m_grid != nullptr;
    }
    void TearDown() override {
        m_dialog.reset();
        InstConnPaste::TearDown();
    }
    ROWCOL RowOf(const char* pin) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= m_grid->GetRowCount(); ++r)
            if (!m_grid->IsRowHidden(r) && m_grid->GetValueRowCol(r, CKXInstanceDetailsGridWnd::m_nColPinName) == pin)
                return r;
        return 0;
    }
    std::string SignalOf(const char* pin) {
        return m_grid->GetValueRowCol(RowOf(pin), CKXInstanceDetailsGridWnd::m_nColSignal).GetString();
    }
    BOOL Select(std::initializer_list<const char*> pins) {
        CStringArray names;
        for (const char* pin : pins)
            names.Add(pin);
        return m_dialog->SelectPins(names);
    }
    BOOL Connect(std::initializer_list<const char*> pins, const char* signal) {
        return Select(pins) && m_dialog->ApplySignalText(signal);
    }
    std::unique_ptr<CKXInstConnDlg> m_dialog;
    CKXInstanceDetailsGridWnd* m_grid = nullptr;
};

// A power group whose signal names a net the design has not got yet makes that net when it is tied,
// inside the dialog's edit without committing it: the refused paste takes the net, the tie and the
// rows before it back, and OK keeps only the dialog's other edit.
TEST_F(InstConnOpen, ANetMadeForAPowerGroupGoesWithTheRefusedPaste) {
    ASSERT_TRUE(Connect({"RST_N"}, "KEPT"));
    m_grid->StoreImplicitPinSignal(RowOf("GND"), "NEWPWR");
    ASSERT_TRUE(Select({"PGOOD", "MCLK"}));
    Clip("\n!!bad name\n"); // the first line disconnects MCLK, the second is refused
    Messages();
    EXPECT_FALSE(m_dialog->PasteIntoPins(FALSE));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-112"});
    m_dialog->OnOK();
    const std::string kept = Saved();
    EXPECT_EQ(kept.find("NEWPWR"), std::string::npos) << kept;
    EXPECT_NE(kept.find("conn U1 PGOOD PG\n"), std::string::npos);
    EXPECT_NE(kept.find("conn U1 MCLK MCLK\n"), std::string::npos);
    EXPECT_NE(kept.find("conn U1 RST_N KEPT\n"), std::string::npos);
}

// Each step shows on the rows what the dialog's open edit made of them; rows whose shown changes were
// taken back are read from the design again, also when as many changes were made since.
TEST_F(InstConnOpen, AStepShowsOnlyWhatItAddedAndRowsTakenBackShowTheDesign) {
    CTransaction* edit = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_NE(edit, nullptr);
    const CTransaction::Mark before = edit->mark();
    ASSERT_TRUE(Connect({"PGOOD"}, "FIRST"));
    EXPECT_EQ(SignalOf("PGOOD"), "FIRST");
    ASSERT_TRUE(Connect({"RST_N"}, "SECOND"));
    EXPECT_EQ(SignalOf("RST_N"), "SECOND");
    EXPECT_EQ(SignalOf("PGOOD"), "FIRST");
    ASSERT_TRUE(edit->discardTo(before)); // as a nested edit taken back whole
    ASSERT_TRUE(Connect({"PGOOD"}, "THIRD"));
    EXPECT_EQ(SignalOf("PGOOD"), "THIRD");
    EXPECT_EQ(SignalOf("RST_N"), "RESET_N");
}

// Two edits of the dialog one after the other (OK, then the dialog again): each shows its own steps, the
// kept ones of the first staying as the design has them, the thrown-away ones of the second gone.
TEST_F(InstConnOpen, EachEditOfTheDialogShowsItsOwnSteps) {
    ASSERT_TRUE(Connect({"PGOOD"}, "FIRST"));
    m_dialog->OnOK();
    ASSERT_TRUE(Reopen());
    ASSERT_TRUE(Connect({"RST_N"}, "SECOND"));
    EXPECT_EQ(SignalOf("RST_N"), "SECOND");
    EXPECT_EQ(SignalOf("PGOOD"), "FIRST");
    ASSERT_TRUE(Connect({"PGOOD"}, "THIRD"));
    EXPECT_EQ(SignalOf("PGOOD"), "THIRD");
    EXPECT_EQ(SignalOf("RST_N"), "SECOND");
    m_dialog->OnCancel();
    ASSERT_TRUE(Reopen());
    EXPECT_EQ(SignalOf("PGOOD"), "FIRST");
    EXPECT_EQ(SignalOf("RST_N"), "RESET_N");
}

} // namespace
