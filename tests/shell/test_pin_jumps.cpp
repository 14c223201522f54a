// Going from a pin to the other view, tracking its signal in the signal list, the pane's Paste Special
// command and the host's selectObject, on the example board: each answers 1 only for work it did (a
// request the host was sent counts: going to the pin is the host's work), and otherwise refuses with the
// message that says why, nothing changed and nothing journalled.
#include "KXDemoBoard.h"

#include "kxmsgsrvr/KXMsgIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class PinJumps : public DemoBoard {
protected:
    bool Said(const std::vector<std::string>& shown, const char* id) {
        return std::find(shown.begin(), shown.end(), id) != shown.end();
    }
};

// Go to physical pin and its word ask the host to go to the current pin; a read-only window opens no
// physical view, so the menu refuses before it asks whether to save, as the word does.
TEST_F(PinJumps, GoingToThePinInTheOtherViewIsARequestToTheHost) {
    ASSERT_TRUE(OpenBoard(3, kPgoodSignalCell));
    ClearNotifications();
    const size_t said = Transcript().size();
    EXPECT_EQ(Run("editPhysicalPin pin"), "1");
    EXPECT_EQ(Notifications(MSG_EDIT_PIN).size(), 1u);
    EXPECT_NE(Transcript().find("edit pin: @U1.PGOOD", said), std::string::npos) << Transcript().substr(said);
    EXPECT_EQ(Run("kx::answer question MSG_HOST_ASK_SAVE no; kx::menu 35570"), "1");
    EXPECT_EQ(Notifications(MSG_EDIT_PIN).size(), 2u);

    ASSERT_TRUE(OpenBoard(4, "kx::show clp U1; kx::select ccp 47 5"));
    ClearNotifications();
    EXPECT_EQ(Run("editLogicalPin pin"), "1");
    EXPECT_EQ(Notifications(MSG_EDIT_PIN).size(), 1u);

    ASSERT_TRUE(OpenBoard(2, kPgoodSignalCell));
    ClearNotifications();
    Messages();
    const size_t asked = AnswerLog().size();
    EXPECT_EQ(Run("kx::menu 35570"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-382"});
    const std::vector<std::string> answers = AnswerLog();
    for (size_t i = asked; i < answers.size(); ++i)
        EXPECT_EQ(answers[i].find("MSG_HOST_ASK_SAVE"), std::string::npos) << "asked in a read-only window";
    EXPECT_EQ(Run("editPhysicalPin pin"), "0");
    EXPECT_TRUE(Notifications(MSG_EDIT_PIN).empty());
}

// One selected pin row leads the signal list to its signal; over several rows nothing is tracked, and the
// word and the menu say so alike.
TEST_F(PinJumps, TrackingOverTwoRowsIsRefusedAndOneRowSelectsItsSignal) {
    for (const char* road : {"trackInSignalList pin", "kx::menu 35718"}) {
        // MCLK's row and PGOOD's (on the net PG): two signals, none tracked.
        ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::select ccp 40 7 41 7"));
        const std::string before = Run("kx::window slp selected");
        Messages();
        EXPECT_EQ(Run(road), "0") << road;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-592"}) << road;
        EXPECT_EQ(Run("kx::window slp selected"), before) << road;
        // PGOOD's row alone.
        Run("kx::select ccp 41 7");
        EXPECT_EQ(Run(road), "1") << road;
        EXPECT_EQ(Run("kx::window slp selected"), "PG") << road;
    }
}

// Paste Special copies the active grid's selection and pastes it special into the shown grids, as one
// command: with nothing to paste into it says why before copying; a paste that changes nothing is refused
// and leaves neither its copy nor anything else in the journal.
TEST_F(PinJumps, PasteSpecialThatPastesNothingIsRefusedAndJournalsNothing) {
    struct Case {
        int mode;
        const char* setup;
        const char* message;
    };
    const Case cases[] = {
        {3, "", "KXPANE-246"},
        {3, kPgoodSignalCell, "KXTABLE-267"},
        {2, kPgoodSignalCell, "KXTABLE-382"},
        {4, "", "KXPANE-178"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(OpenBoard(c.mode, c.setup)) << c.setup;
        Messages();
        const size_t journal = JournalText().size();
        const DesignMark before = MarkDesign();
        EXPECT_EQ(Run("kx::menu 35281"), "0") << c.mode << " " << c.setup;
        EXPECT_TRUE(Said(Messages(), c.message)) << c.mode << " " << c.setup;
        EXPECT_EQ(JournalText().substr(journal), "") << c.mode << " " << c.setup;
        ExpectUnchangedSince(before, c.setup);
    }
}

// selectObject without the grid word is refused with its usage, whichever pane is active, as the pane's
// other words are, and selects nothing; with it, it selects the pin.
TEST_F(PinJumps, SelectObjectWithoutTheGridWordShowsItsUsage) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("selectWindow clp");
    Messages();
    const std::string view = Run("kx::window ccp") + Run("kx::window clp selected");
    EXPECT_EQ(Run("selectObject MCLK"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-159"});
    EXPECT_EQ(Run("kx::window ccp") + Run("kx::window clp selected"), view);
    EXPECT_EQ(Run("selectObject pin PGOOD"), "1");
}

} // namespace

namespace {

// With no row the user chose, the current cell is the one the grid put there when it became active:
// tracking follows nobody's pin. Every grid kind that tracks refuses it alike (the word says why, the
// menu command is not offered) and leaves the signal list as it was; a row the user chooses is followed.
class TrackingWithNoRowChosen : public PinJumps {
protected:
    void ExpectRefusedUntilARowIsChosen(int mode, const char* show, const char* choose, const char* tracked) {
        ASSERT_TRUE(OpenBoard(mode, show));
        const std::string before = Run("kx::window slp selected");
        Messages();
        EXPECT_EQ(Run("trackInSignalList pin"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-695"});
        EXPECT_EQ(Run("kx::menu 35718"), "0");
        EXPECT_EQ(Run("kx::window slp selected"), before);
        Run(choose);
        for (const char* road : {"trackInSignalList pin", "kx::menu 35718"}) {
            EXPECT_EQ(Run(road), "1") << road;
            EXPECT_EQ(Run("kx::window slp selected"), tracked) << road;
        }
    }
};

TEST_F(TrackingWithNoRowChosen, InAPinGrid) {
    ExpectRefusedUntilARowIsChosen(3, "kx::show clp U1", "kx::select ccp 41 7", "PG");
}

TEST_F(TrackingWithNoRowChosen, InAPhysicalPartGrid) {
    ExpectRefusedUntilARowIsChosen(4, "kx::show clp U1", "kx::select ccp 7 5", "DQ<14>");
}

TEST_F(TrackingWithNoRowChosen, InAMatrix) {
    ExpectRefusedUntilARowIsChosen(3, "kx::pane CreateMatrixView V1 {U1} {MCLK EN}; selectWindow ccp",
                                   "kx::select ccp 6 1", "EN");
}

} // namespace
