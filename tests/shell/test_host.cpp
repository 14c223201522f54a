#include "KXShellFixture.h"

#include "shell/KXTableDoc.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxnotes/CComments.h"
#include "rmx/DesignBuilder.h"
#include "rmx/schema.h"

#include <gtest/gtest.h>

#include <fstream>

using HostTest = KXShellFixture;

TEST_F(HostTest, HostCommandsOpenShowAndClose) {
    EXPECT_EQ(Run("kx::open work.nosuch:sch"), "0");
    EXPECT_EQ(Run("kx::open work.board:sch 1"), "1");
    std::string list = Run("kx::window clp");
    for (const char* name : {"U1", "R1", "X1"})
        EXPECT_NE(list.find(name), std::string::npos) << list;
    EXPECT_EQ(Run("kx::select clp U1"), "1");
    EXPECT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_NE(Run("kx::window ccp").find("Component Connectivity Details"), std::string::npos)
        << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::select clp NOPE").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::answer question KXTABLE-143 maybe").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::close"), "1");
    EXPECT_EQ(Run("kx::close").rfind("error:", 0), 0u);
}

// The host finds the message files of the editor and of the common library where the build puts them.
TEST_F(HostTest, AStartFindsEveryMessageFile) {
    EXPECT_EQ(Transcript().find("message file"), std::string::npos) << Transcript();
    EXPECT_TRUE(CKXErrorHandler::HasMessage("KXTABLE-156"));
    EXPECT_TRUE(CKXErrorHandler::HasMessage("KXCOMMON-101"));
}

TEST_F(HostTest, NetlistListsEveryConnectedPinBitSorted) {
    ASSERT_TRUE(Open());
    std::string n = Run("kx::netlist");
    EXPECT_NE(n.find("R1 A N1"), std::string::npos);
    EXPECT_NE(n.find("U1 D<3> DATA<3>"), std::string::npos);
    EXPECT_LT(n.find("R1 A N1"), n.find("U1 OUT N1"));
}

class HostPropTest : public KXShellFixture {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        KXShellFixture::BuildDesign(b);
        b.pinNumber("U1", "D<3>", "A13").prop("@U1", "VALUE", "");
    }
};

TEST_F(HostPropTest, PropReadsBitsAndRefusesWhatIsNotThere) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::prop work.board:sch@U1.D<3> PN"), "A13");
    EXPECT_EQ(Run("kx::prop work.board:sch@U1 VALUE"), "");
    // A netlist line's pin names a path the other commands take.
    std::string n = Run("kx::netlist");
    EXPECT_NE(n.find("U1 D<3> DATA<3>"), std::string::npos) << n;
    EXPECT_EQ(Run("kx::prop work.board:sch@U1.D<3> NOSUCH"),
              "error: no property \"NOSUCH\" on \"work.board:sch@U1.D<3>\"");
    EXPECT_EQ(Run("kx::prop work.board:sch@U1.D<7> PN").rfind("error: no object", 0), 0u);
    EXPECT_EQ(Run("kx::prop work.board:sch@NOPE PN").rfind("error: no object", 0), 0u);
}

TEST_F(HostTest, MessagesAndEchoesAreTakenOnce) {
    ASSERT_TRUE(Open());
    Run("kx::echoes");
    Run("selectWindow -help");
    EXPECT_EQ(Run("kx::messages"), "KXTABLE-169");
    EXPECT_EQ(Run("kx::messages"), "");
    Run("kx::menu 35614");
    EXPECT_EQ(Run("kx::echoes"), "{designComment add}");
}

// A journal file that cannot be written is refused when it is asked for, not lost in silence action by
// action: the journal the session had goes on taking its lines.
TEST_F(HostTest, AJournalThatCannotBeWrittenIsRefusedAndTheOldOneGoesOn) {
    ASSERT_TRUE(Open());
    const std::string refused = Run("kx::journal " + (m_dir / "no-such-folder" / "j.vbs").string());
    EXPECT_EQ(refused.rfind("error: cannot write the journal", 0), 0u) << refused;
    const std::string before = JournalText();
    EXPECT_EQ(Run("kx::call AddSignal ZZ {} {}"), "1");
    EXPECT_NE(JournalText().find("AddSignal(\"ZZ\""), std::string::npos)
        << JournalText().substr(before.size());
}

TEST_F(HostTest, ReplayOfARecordedJournalReachesTheSameState) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("designComment add {replayed \"text\"}");
    std::string journal = JournalText();
    ASSERT_NE(journal.find("InsertComment"), std::string::npos);
    Run("designComment delete");
    // Replay without journalling again.
    std::ofstream(m_dir / "copy.vbs", std::ios::binary) << journal;
    CKXShareGlobalData::SetAutomationPath(nullptr);
    std::string error;
    ASSERT_TRUE(m_app->Replay((m_dir / "copy.vbs").string(), error)) << error;
    CString text, date, time, user;
    ASSERT_TRUE(Doc()->GetComments()->getDesignComments(text, date, time, user));
    EXPECT_EQ(text, CString("replayed \"text\""));
}

TEST_F(HostTest, ReplayRefusesForeignLinesWithTheirNumber) {
    ASSERT_TRUE(Open());
    std::ofstream(m_dir / "bad.vbs") << "' fine\n\nWScript.Echo \"x\"\n";
    std::string error;
    EXPECT_FALSE(m_app->Replay((m_dir / "bad.vbs").string(), error));
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
    EXPECT_FALSE(m_app->Replay((m_dir / "missing.vbs").string(), error));
}

TEST_F(HostTest, AJournalReplaysInAFreshHostFromTheOpeningOn) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("designComment add {from the first host}");
    std::string journal = JournalText();
    ASSERT_NE(journal.find("call RMX.OpenDesign(\"work.board:sch\", \"1\")"), std::string::npos);
    std::ofstream(m_dir / "copy.vbs", std::ios::binary) << journal;
    std::string err;
    ASSERT_TRUE(m_app->Close(err) || true);
    // A second host on the same design library.
    m_app->Stop();
    CKXShareGlobalData::SetAutomationPath(nullptr);
    std::ostringstream out;
    CKXHostCore core(out);
    core.SetQuiet(true);
    CKXHostApp app(core);
    ASSERT_TRUE(app.Start("", "", err, KXEditorLibraryPath())) << err;
    {
        rmx::DesignBuilder builder(app.Server(), "work", (m_dir / "designs2").string());
        BuildDesign(builder);
    }
    ASSERT_TRUE(app.Replay((m_dir / "copy.vbs").string(), err)) << err;
    auto* doc = dynamic_cast<CKXTableDoc*>(app.ActiveDocument());
    ASSERT_TRUE(doc);
    CString text, date, time, user;
    ASSERT_TRUE(doc->GetComments()->getDesignComments(text, date, time, user));
    EXPECT_EQ(text, CString("from the first host"));
    app.Stop();
}

// The host's power pin option is journalled when it changes, and a replay sets it: the power group rows
// that the journal's edits select are there in a host that was not told by hand.
class HostPowerPinTest : public KXShellFixture {
protected:
    void TearDown() override {
        CKXShareGlobalData::m_bShowPowerPins = FALSE;
        KXShellFixture::TearDown();
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

TEST_F(HostPowerPinTest, TheOptionIsJournalledWhenItChangesAndReplayed) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::powerpins on"), "1");
    EXPECT_EQ(Run("kx::powerpins on"), "1");
    EXPECT_EQ(Run("kx::powerpins off"), "1");
    const std::string journal = JournalText();
    EXPECT_EQ(Count(journal, "call RMX.ShowPowerPins(\"1\")"), 1u) << journal;
    EXPECT_EQ(Count(journal, "call RMX.ShowPowerPins(\"0\")"), 1u) << journal;
    EXPECT_LT(journal.find("ShowPowerPins(\"1\")"), journal.find("ShowPowerPins(\"0\")"));

    CKXShareGlobalData::SetAutomationPath(nullptr);
    std::ofstream(m_dir / "on.vbs") << "\ncall RMX.ShowPowerPins(\"1\")\n";
    std::string error;
    ASSERT_TRUE(m_app->Replay((m_dir / "on.vbs").string(), error)) << error;
    EXPECT_TRUE(CKXShareGlobalData::m_bShowPowerPins);
    std::ofstream(m_dir / "bad.vbs") << "call RMX.ShowPowerPins(\"yes\")\n";
    EXPECT_FALSE(m_app->Replay((m_dir / "bad.vbs").string(), error));
    EXPECT_EQ(error.rfind("line 1:", 0), 0u) << error;
    EXPECT_TRUE(CKXShareGlobalData::m_bShowPowerPins);
}

// A method called with arguments it does not take is not called: the host shows the method's usage and what
// was wrong with the call, on every object it calls (the pane's, a list's, the document's); a name that is no
// method of the object says so.
TEST_F(HostTest, AMethodCallItsMethodCannotTakeShowsTheMethodsUsage) {
    ASSERT_EQ(Run("kx::open work.board:sch 3"), "1");
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("kx::pane EditTermination -id RT2"),
              "error: usage: kx::pane ccp EditTermination TEXT (2 arguments given)");
    EXPECT_EQ(Run("kx::pane SwapPins"), "error: usage: kx::pane ccp SwapPins TEXT (0 arguments given)");
    EXPECT_EQ(Run("kx::pane SelectPinNameCol A B C"),
              "error: usage: kx::pane ccp SelectPinNameCol TEXT ?VALUE? (3 arguments given)");
    EXPECT_EQ(Run("kx::pane clp NoSuchMethod"), "error: kx::pane clp has no method \"NoSuchMethod\"");
    EXPECT_EQ(Run("kx::call SaveBlockAs work"),
              "error: usage: kx::call SaveBlockAs TEXT TEXT (1 argument given)");
    EXPECT_EQ(Run("kx::call NoSuchMethod"), "error: kx::call has no method \"NoSuchMethod\"");
    // The operands as one text: the word runs (no termination on U1's current pin: its own refusal).
    EXPECT_EQ(Run("kx::pane EditTermination {-id RT2}"), "0");
}
