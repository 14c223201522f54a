#include "KXShellFixture.h"

#include "KXTableEditor.h"
#include "shell/KXTableChildFrm.h"
#include "grid/KXTableOleDropTarget.h"

#include "kxinstsigpane/KXListPanes.h"

#include <gtest/gtest.h>

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
    CKXTableOleDropTarget target;
    ASSERT_TRUE(target.RegisterTarget(signals, Frame()->GetDesignContext()));
    COleDataObject data;
    data.SetText(static_cast<CLIPFORMAT>(RegisterFormatFromString(IDS_SIGNAL_BROWSER_DROP_DATA)), "N1");
    std::string before = Run("kx::netlist");
    AfxDropResult r = AfxDoDragDrop(signals, data, CPoint(5, 5));
    EXPECT_EQ(r.enterEffect, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
    EXPECT_TRUE(r.bDropped);
    EXPECT_TRUE(r.bResult);
    EXPECT_EQ(Run("kx::netlist"), before);
    target.Revoke();
}

TEST_F(DropTargetTest, WrongPairsAreRefused) {
    ASSERT_TRUE(Open());
    CKXSignalPaneGrid* signals = Slp()->GetSignalGridWnd();
    CKXTableOleDropTarget target;
    ASSERT_TRUE(target.RegisterTarget(signals, Frame()->GetDesignContext()));
    for (UINT id : {IDS_COMPONENT_BROWSER_DROP_DATA, IDS_PHYSICAL_PART_FILTER_DROP_DATA,
                    IDS_SIGNAL_VIEW_DROP_DATA, IDS_INSTANCE_VIEW_DROP_DATA}) {
        COleDataObject data;
        data.SetText(static_cast<CLIPFORMAT>(RegisterFormatFromString(id)), "work.res:sym");
        AfxDropResult r = AfxDoDragDrop(signals, data, CPoint(5, 5));
        EXPECT_EQ(r.enterEffect, static_cast<DROPEFFECT>(DROPEFFECT_NONE)) << id;
        EXPECT_FALSE(r.bResult) << id;
        EXPECT_FALSE(target.OnDrop(signals, &data, DROPEFFECT_COPY, CPoint(5, 5))) << id;
    }
    target.Revoke();
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
