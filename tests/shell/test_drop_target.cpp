#include "KXShellFixture.h"

#include "KXTableEditor.h"
#include "shell/KXTableChildFrm.h"
#include "grid/KXTableOleDropTarget.h"

#include "kxinstsigpane/KXListPanes.h"

#include "afx/afxdoc.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using DropTargetTest = KXShellFixture;

TEST_F(DropTargetTest, FormatsComeFromTheStringTableAndStayTheSame) {
    UINT a = RegisterFormatFromString(IDS_SIGNAL_VIEW_DROP_DATA);
    EXPECT_NE(a, 0u);
    EXPECT_EQ(a, RegisterFormatFromString(IDS_SIGNAL_VIEW_DROP_DATA));
    EXPECT_EQ(a, RegisterClipboardFormatA("SIGNAL_VIEW_DROP_DATA"));
    EXPECT_NE(a, RegisterFormatFromString(IDS_INSTANCE_VIEW_DROP_DATA));
    EXPECT_EQ(RegisterFormatFromString(1), 0u); // no such string
}

TEST_F(DropTargetTest, SignalBrowserDataOnTheSignalListIsAcceptedAndChangesNothing) {
    ASSERT_TRUE(Open());
    CKXSignalPaneGrid* signals = Slp()->GetSignalGridWnd();
    // The design window registers the list's drop target itself.
    auto* target = dynamic_cast<CKXTableOleDropTarget*>(COleDropTarget::FromWindow(signals));
    ASSERT_NE(target, nullptr);
    CKXTableOleDropTarget second;
    EXPECT_FALSE(second.RegisterTarget(signals, Frame()->GetDesignContext())); // one target per window
    COleDataObject data;
    data.SetText(static_cast<CLIPFORMAT>(RegisterFormatFromString(IDS_SIGNAL_BROWSER_DROP_DATA)), "N1");
    std::string before = Run("kx::netlist");
    AfxDropResult r = AfxDoDragDrop(signals, data, CPoint(5, 5));
    EXPECT_EQ(r.enterEffect, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
    EXPECT_TRUE(r.bDropped);
    EXPECT_TRUE(r.bResult);
    EXPECT_EQ(Run("kx::netlist"), before);
}

TEST_F(DropTargetTest, WrongPairsAreRefused) {
    ASSERT_TRUE(Open());
    CKXSignalPaneGrid* signals = Slp()->GetSignalGridWnd();
    auto* target = dynamic_cast<CKXTableOleDropTarget*>(COleDropTarget::FromWindow(signals));
    ASSERT_NE(target, nullptr);
    for (UINT id : {IDS_COMPONENT_BROWSER_DROP_DATA, IDS_PHYSICAL_PART_FILTER_DROP_DATA,
                    IDS_SIGNAL_VIEW_DROP_DATA, IDS_INSTANCE_VIEW_DROP_DATA}) {
        COleDataObject data;
        data.SetText(static_cast<CLIPFORMAT>(RegisterFormatFromString(id)), "work.res:sym");
        AfxDropResult r = AfxDoDragDrop(signals, data, CPoint(5, 5));
        EXPECT_EQ(r.enterEffect, static_cast<DROPEFFECT>(DROPEFFECT_NONE)) << id;
        EXPECT_FALSE(r.bResult) << id;
        EXPECT_FALSE(target->OnDrop(signals, &data, DROPEFFECT_COPY, CPoint(5, 5))) << id;
    }
}

namespace {
class CKXDropProbe : public CWnd {
    DECLARE_DYNAMIC(CKXDropProbe)
};
IMPLEMENT_DYNAMIC(CKXDropProbe, CWnd)
} // namespace

TEST(DropTargetClasses, ClassTestsFollowTheBaseChainByName) {
    CKXDropProbe probe;
    EXPECT_TRUE(KXIsKindOfName(&probe, "CKXDropProbe"));
    EXPECT_TRUE(KXIsKindOfName(&probe, "CWnd"));
    EXPECT_FALSE(KXIsKindOfName(&probe, "CKXMatrixGridWnd"));
    EXPECT_FALSE(KXIsKindOfName(nullptr, "CWnd"));
}

// ------------------------------------------------------------------ drops on the lists, through the host

namespace {

class ListDrops : public KXShellFixture {
protected:
    CDesignContext Design() const { return Frame()->GetDesignContext(); }
    bool HasInstance(const char* name) const { return Design().instance(name).instance() != nullptr; }
    std::string Property(const char* instance, const char* name) const {
        CPQPropertyData* p = Design().instance(instance).findProperty(name);
        std::string value = p ? std::string(p->GetValue()) : std::string("<none>");
        delete p;
        return value;
    }
    static constexpr const char* kPart =
        R"((("work.res:sym" "R5") ("VALUE" "10k" x "1") ("TOL" "5%" x "0") ("PN" "RC-1" x)))";
};

TEST_F(ListDrops, AComponentFromTheBrowserBecomesAnInstanceInOneUndoableStep) {
    ASSERT_TRUE(Open());
    const std::string before = Run("kx::netlist");
    EXPECT_NE(COleDropTarget::FromWindow(Clp()->GetInstancePaneGrid()), nullptr);
    EXPECT_EQ(Run("kx::drop clp component work.res:sym"), "1") << Transcript();
    // U1 is taken: the first free automatic name.
    ASSERT_TRUE(HasInstance("U2"));
    EXPECT_EQ(Design().instance("U2").instance()->cellName(), std::string("res"));
    EXPECT_NE(Clp()->GetInstancePaneGrid()->FindObjectRow("U2"), GX_INVALID);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_NE(JournalText().find(R"(AddComponent("U2","work","res","sym","","",1))"), std::string::npos)
        << JournalText();
    Run("undo");
    EXPECT_FALSE(HasInstance("U2"));
    EXPECT_EQ(Run("kx::netlist"), before);
}

TEST_F(ListDrops, AMalformedOrUnknownComponentAddsNothing) {
    ASSERT_TRUE(Open());
    const std::string journal = JournalText();
    EXPECT_EQ(Run("kx::drop clp component work-res-sym"), "0"); // no "." and ":"
    EXPECT_EQ(Run("kx::drop clp component work.res"), "0");     // no ":" after the "."
    EXPECT_NE(Transcript().find("drop taken, nothing added"), std::string::npos);
    EXPECT_FALSE(HasInstance("U2"));
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());
}

// A master the library lacks is refused the same way on every road that places a component.
TEST_F(ListDrops, AMasterTheLibraryLacksIsRefusedOnEveryRoad) {
    ASSERT_TRUE(Open());
    const std::string journal = JournalText();
    const std::string before = Run("kx::netlist");
    Messages();
    EXPECT_EQ(Run("kx::call AddComponent U9 work NOPE sym"), "0");
    EXPECT_EQ(Run("kx::drop clp component work.nope:sym"), "0");
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.nope:sym" "R5") ("VALUE" "10k" x "1"))})"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-251", "KXPANE-251", "KXPANE-251"}));
    EXPECT_FALSE(HasInstance("U9"));
    EXPECT_FALSE(HasInstance("R5"));
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ListDrops, APartDescriptionBecomesAnInstanceWithItsProperties) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run(std::string("kx::drop clp part {") + kPart + "}"), "1");
    ASSERT_TRUE(HasInstance("R5"));
    EXPECT_EQ(Property("R5", "VALUE"), "10k");
    EXPECT_EQ(Property("R5", "TOL"), "5%");
    EXPECT_EQ(Property("R5", "PN"), "RC-1"); // a missing flag: the second array
    EXPECT_NE(JournalText().find(R"(AddComponent("R5","work","res","sym","VALUE=10k","TOL=5%;PN=RC-1",1))"),
              std::string::npos)
        << JournalText();
    // The name is taken now: a second drop of the same part is refused and changes nothing.
    EXPECT_EQ(Run(std::string("kx::drop clp part {") + kPart + "}"), "0");
    Run("undo");
    EXPECT_FALSE(HasInstance("R5"));
}

TEST_F(ListDrops, ThePartDropReplaysFromTheJournal) {
    ASSERT_TRUE(Open());
    const size_t start = JournalText().size();
    EXPECT_EQ(Run(std::string("kx::drop clp part {") + kPart + "}"), "1");
    const std::string journal = JournalText().substr(start);
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    ASSERT_TRUE(Open());
    EXPECT_FALSE(HasInstance("R5"));
    const std::filesystem::path file = m_dir / "drop.vbs";
    std::ofstream(file, std::ios::binary) << journal;
    EXPECT_EQ(Run("kx::replay " + file.string()), "1");
    ASSERT_TRUE(HasInstance("R5"));
    EXPECT_EQ(Property("R5", "TOL"), "5%");
}

// A property of a dropped part that its list of "NAME=VALUE" texts cannot carry (a name with "=", a value
// with ";"), and a description that cannot be read, place nothing and say why; a "#" is an ordinary character.
TEST_F(ListDrops, APartDescriptionThatCannotTravelIsRefusedByName) {
    ASSERT_TRUE(Open());
    Messages();
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.res:sym" "R7") ("VA=L" "1" x "1"))})"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-531"}));
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.res:sym" "R7") ("VALUE" "1;2" x "1"))})"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-531"}));
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.res:sym" "R7") ("VALUE" "1" x "1")})"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-530"}));
    EXPECT_FALSE(HasInstance("R7"));
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.res:sym" "R7") ("VALUE" "10k # 1%" x "1"))})"), "1");
    EXPECT_EQ(Property("R7", "VALUE"), "10k # 1%");
}

// A part whose name no component can have, or one the design has already, places nothing and says why, as
// the list's AddComponent does: the drop never refuses in silence.
TEST_F(ListDrops, APartNameTheDesignDoesNotTakeIsRefusedWithItsMessage) {
    ASSERT_TRUE(Open());
    const std::string journal = JournalText();
    const std::string netlist = Run("kx::netlist");
    Messages();
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.res:sym" "R\"7") ("VALUE" "1" x "1"))})"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-565"}));
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.res:sym" "R 7"))})"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-565"}));
    EXPECT_EQ(Run(R"(kx::drop clp part {(("work.res:sym" "U1"))})"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-252"}));
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ListDrops, PropertiesThatAreNoNameValueTextsAreRefused) {
    ASSERT_TRUE(Open());
    CKXInstancePaneContainerView* clp = Clp();
    Messages();
    EXPECT_FALSE(clp->AddComponent("R6", "work", "res", "sym", "VALUE", "", 1));
    EXPECT_FALSE(clp->AddComponent("R6", "work", "res", "sym", "", "=5", 1));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-290", "KXPANE-290"}));
    EXPECT_FALSE(HasInstance("R6"));
    EXPECT_TRUE(clp->AddComponent("R6", "work", "res", "sym", ";VALUE=1;;", "", 1)); // empty pieces skipped
    EXPECT_EQ(Property("R6", "VALUE"), "1");
}

// The list takes the drop and adds nothing: the drop answers 0, as work not done.
TEST_F(ListDrops, TheSignalListTakesABrowserSignalAndChangesNothing) {
    ASSERT_TRUE(Open());
    const std::string before = Run("kx::netlist");
    EXPECT_EQ(Run("kx::drop slp signal N1"), "0");
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_FALSE(Doc()->IsModified());
    // Pairs the lists do not take.
    EXPECT_EQ(Run("kx::drop slp component work.res:sym").rfind("error", 0), 0u);
    EXPECT_EQ(Run("kx::drop clp signal N1").rfind("error", 0), 0u);
    EXPECT_FALSE(HasInstance("U2"));
}

} // namespace
