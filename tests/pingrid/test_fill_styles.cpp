// The pieces the pin rows' fill builds its cells from: bus bit names composed once per net, and the
// styles kept for writing one cell after another.
#include "PinGridTestSupport.h"

#include "grid/KXPupdMark.h"
#include "pingrid/KXPinFillStyles.h"
#include "pingrid/KXPinGridIds.h"
#include "pingrid/KXPinGridUtil.h"
#include "rmx/schemautil.h"

#include <utility>
#include <vector>

namespace {

using kxpingrid::Id;

class FillPieces : public PinGridTest {};

// Bits asked for on one net, then on another, then on the first again: each name is the one the
// design's own naming gives, whichever net was asked for before.
TEST_F(FillPieces, BusBitNamesFollowTheNetAskedFor) {
    builder.schematic("top").net("DATA", 3, 0).net("ADDRESS_LINES", 1025, 1020).net("Q", 0, 0);
    Init();
    IDesign* top = design.design();
    const INet* data = top->findNet("DATA");
    const INet* address = top->findNet("ADDRESS_LINES");
    const INet* q = top->findNet("Q");
    ASSERT_TRUE(data && address && q);
    kxpingrid::NetBitNames names;
    const std::vector<std::pair<const INet*, int>> asked{{data, 3},    {data, 2},    {address, 1025}, {data, 0},
                                                         {q, 0},       {address, 1020}, {address, 1023}, {data, 1}};
    for (const auto& [net, bit] : asked)
        EXPECT_EQ(names.Of(net, bit), CSchemaUtilities::vectorName(net->name(), bit)) << net->name() << bit;
}

// A style kept for writing takes each write's value and net, and keeps what its level's style gives.
TEST_F(FillPieces, StylesKeptForWritingKeepTheirLevelsLook) {
    kxpingrid::PinFillStyles styles;
    CGXStyle& text = styles.StaticToWrite("2");
    EXPECT_EQ(&text, &styles.StaticToWrite("2"));
    EXPECT_NE(&text, &styles.StaticToWrite("1"));
    text.SetValue("17");
    CGXStyle expected = styles.Static("2");
    expected.SetValue("17");
    EXPECT_TRUE(text == expected);

    CGXStyle& signal = styles.SignalToWrite("3");
    signal.SetValue("N1").SetUserAttribute(Id(IDS_UA_CONN_INDEX), 12);
    signal.SetValue("N2").SetUserAttribute(Id(IDS_UA_CONN_INDEX), -1);
    CGXStyle second = styles.Signal("3");
    second.SetValue("N2").SetUserAttribute(Id(IDS_UA_CONN_INDEX), -1);
    EXPECT_TRUE(signal == second);
    EXPECT_TRUE(styles.Signal("3").GetValue().IsEmpty()); // the level's own style stays as it was
}

// The PUPD cell of a pin without a pull-up or pull-down is the style made for the "none" mark, whichever
// is asked for first.
TEST_F(FillPieces, APinWithoutPupdTakesTheNoneMarksStyle) {
    kxpingrid::PinFillStyles first;
    const CGXStyle& none = first.NoPupd();
    EXPECT_EQ(&none, &first.Pupd(IDS_CTRL_PUPD_NONE, ""));
    EXPECT_EQ(none.GetControl(), Id(IDS_CTRL_PUPD_NONE));
    EXPECT_TRUE(none.GetReadOnly());
    kxpingrid::PinFillStyles second;
    const CGXStyle& made = second.Pupd(IDS_CTRL_PUPD_NONE, "");
    second.Pupd(IDS_CTRL_PUPD_LOCAL_PULLUP, "Local Pullup");
    EXPECT_EQ(&second.NoPupd(), &made);
}

} // namespace
