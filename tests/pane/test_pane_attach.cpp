// The Attach Signal bar: what its combo offers, how a rule is prepared for its
// argument, what a typed text asks for, and where the bar may be used.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"

#include "kxcommon/KXShareGlobalData.h"
#include "rmx/context.h"

#include <algorithm>

namespace {

using Pane = CKXBottomPaneContainerView;
using PaneAttach = KXShellFixture;

TEST_F(PaneAttach, RuleWordsAndTheDesignsSignals) {
    ASSERT_TRUE(Open());
    // The combo keeps its list sorted: what counts is what it offers.
    const std::vector<CString> entries = Ccp()->GetAttachSignalEntries();
    auto has = [&](const char* name) {
        return std::find(entries.begin(), entries.end(), CString(name)) != entries.end();
    };
    for (const char* rule : {"=AUTONAME", "=PINNAME", "=PREFIXPINNAME", "=SUFFIXPINNAME", "=PREFIXPINNUMBER",
                             "=SUFFIXPINNUMBER", "=SHORTPINS", "=INCREMENTSIGNAME"})
        EXPECT_TRUE(has(rule)) << rule;
    EXPECT_FALSE(has("=CONNECTBITS")); // typed only
    EXPECT_TRUE(has("N1"));
    EXPECT_TRUE(has("DATA<3..0>"));
    // Each signal once, whoever registered it.
    EXPECT_EQ(std::count(entries.begin(), entries.end(), CString("N1")), 1);
    // The rule words are in the pair list too.
    ASSERT_NE(Ccp()->GetDiffPairDropList(), nullptr);
    EXPECT_EQ(Ccp()->GetDiffPairDropList()->GetCount(), 8);
}

TEST_F(PaneAttach, PreparingARuleSelectsItsPlaceholder) {
    ASSERT_TRUE(Open());
    Ccp()->OnCmdMsg(35275, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(std::string(Ccp()->GetAttachSignalText()), "=PREFIXPINNAME(<string>)");
    EXPECT_EQ(LOWORD(Ccp()->GetAttachSignalEditSel()), 15);
    EXPECT_EQ(HIWORD(Ccp()->GetAttachSignalEditSel()), 23);
    Ccp()->OnCmdMsg(35278, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(std::string(Ccp()->GetAttachSignalText()), "=SUFFIXPINNUMBER(<string>)");
    EXPECT_EQ(LOWORD(Ccp()->GetAttachSignalEditSel()), 17);
    EXPECT_EQ(HIWORD(Ccp()->GetAttachSignalEditSel()), 25);
    Ccp()->OnCmdMsg(35282, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(std::string(Ccp()->GetAttachSignalText()), "=INCREMENTSIGNAME(<signal, start_num>)");
    EXPECT_EQ(LOWORD(Ccp()->GetAttachSignalEditSel()), 18);
    EXPECT_EQ(HIWORD(Ccp()->GetAttachSignalEditSel()), 37);
}

TEST(PaneAttachText, RulesAreFoundAnywhereInAnyCase) {
    using T = Pane::EAttachText;
    EXPECT_EQ(Pane::ClassifyAttachText("=shortpins"), T::ShortPins);
    EXPECT_EQ(Pane::ClassifyAttachText("=SHORTPINS(X)"), T::ShortPins);
    EXPECT_EQ(Pane::ClassifyAttachText("=PINNAMEX"), T::Rule);
    EXPECT_EQ(Pane::ClassifyAttachText("=connectbits"), T::Rule);
    EXPECT_EQ(Pane::ClassifyAttachText("=prefixpinname(A_)"), T::Rule);
    EXPECT_EQ(Pane::ClassifyAttachText("CLK"), T::Signal);
    EXPECT_EQ(Pane::ClassifyAttachText("PINNAME"), T::Signal);
}

TEST_F(PaneAttach, ReadOnlyWindowsKeepTheBarHiddenAndOff) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    Ccp()->ShowAttachSignalControls(TRUE);
    Ccp()->EnableAttachSignalControls(TRUE);
    EXPECT_FALSE(Ccp()->IsAttachSignalRowShown());
    EXPECT_FALSE(Ccp()->IsAttachSignalEnabled());
}

TEST_F(PaneAttach, EditableWindowsFollowTheCallers) {
    ASSERT_TRUE(Open());
    EXPECT_FALSE(Ccp()->IsAttachSignalRowShown()); // hidden until components are shown
    Ccp()->ShowAttachSignalControls(TRUE);
    EXPECT_TRUE(Ccp()->IsAttachSignalRowShown());
    Ccp()->EnableAttachSignalControls(FALSE);
    EXPECT_FALSE(Ccp()->IsAttachSignalEnabled());
    Ccp()->EnableAttachSignalControls(TRUE);
    EXPECT_TRUE(Ccp()->IsAttachSignalEnabled());
    // The box takes the name; with no pin grid shown nothing is attached, and the call says so.
    EXPECT_FALSE(Ccp()->AttachSignalByName("N1"));
    EXPECT_EQ(std::string(Ccp()->GetAttachSignalText()), "N1");
}

} // namespace
