// Loading a component's pins: header, rows, vectors, pairs, blocks and reloads.
#include "KXTempPath.h"
#include "PinGridTestSupport.h"

#include "kxcontrols/KXProgressBar.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"
#include "kxcommon/KXPartReader.h"
#include "kxerrorhandler/KXErrorHandler.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <list>
#include <map>

#include <string>
#include <vector>
#include "pingrid/KXPinGridFunctions.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class LoadPins : public PinGridTest {
protected:
    void Part() {
        builder.symbol("PART")
            .port("B")
            .port("A", ITerm::eDirInput, ITerm::eTermInput)
            .bus("D", 3, 0)
            .port("CLKP")
            .port("CLKN")
            .symbolPair("CLK", "CLKP", "CLKN");
    }
    bool Load(const char* instance, BOOL keepOrder = FALSE) {
        return grid->LoadComponentPins(design, Instance(instance), keepOrder) != FALSE;
    }
    std::vector<std::string> PinNames() {
        std::vector<std::string> names;
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            names.push_back(Cell(r, G::m_nColPinName).GetString());
        return names;
    }
};

TEST_F(LoadPins, ScalarAndVectorRows) {
    Part();
    builder.schematic("top")
        .instance("U1", "PART", "U7")
        .connect("U1", "A", "N1")
        .connect("U1", "D<3..0>", "DATA<3..0>")
        .pinNumber("U1", "A", "12")
        .pinNumber("U1", "D<3>", "4")
        .pinNumber("U1", "D<2>", "5")
        .pinNumber("U1", "D<1>", "6")
        .pinNumber("U1", "D<0>", "7");
    Init();
    ASSERT_TRUE(Load("U1"));

    EXPECT_EQ(Cell(0, 1), "Component: U1 (PART)      Ref Des: U7");
    EXPECT_EQ(grid->PartFunctions().m_strHeaderSecondText, "- U7");
    // Sorted by pin name; the pair first, with its legs below it.
    EXPECT_EQ(PinNames(), (std::vector<std::string>{"A", "B", "CLK", "CLKP", "CLKN", "D<3..0>", "D<3>",
                                                    "D<2>", "D<1>", "D<0>"}));

    const ROWCOL a = Row("A");
    EXPECT_EQ(Kind(a), PIN_ROW_SCALAR);
    EXPECT_EQ(Cell(a, G::m_nColSignal), "N1");
    EXPECT_EQ(Cell(a, G::m_nColPinNumber), "12");
    EXPECT_EQ(Cell(a, G::m_nColPinType), "Input");
    EXPECT_EQ(Cell(a, G::m_nColRefDes), "U7");
    int msb = 0, lsb = 0;
    IInstTerm* pin = grid->GetRowInstTerm(a, msb, lsb);
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->name(), "A");
    EXPECT_EQ(msb, -1);
    INet* net = grid->GetRowNet(a, msb, lsb);
    ASSERT_NE(net, nullptr);
    EXPECT_STREQ(net->name(), "N1");
    EXPECT_EQ(grid->GetRowConnIndex(a), static_cast<int>(net->id()));
    EXPECT_EQ(Cell(Row("B"), G::m_nColSignal), "");
    EXPECT_EQ(grid->GetRowConnIndex(Row("B")), -1);

    // The vector: a parent row, its bits collapsed below it.
    const ROWCOL d = Row("D<3..0>");
    EXPECT_EQ(Kind(d), PIN_ROW_GROUP);
    EXPECT_EQ(Cell(d, G::m_nColSignal), "DATA<3..0>");
    EXPECT_EQ(Cell(d, G::m_nColPinNumber), "4,5,6,7");
    for (ROWCOL r = d + 1; r <= d + 4; ++r) {
        EXPECT_EQ(Kind(r), PIN_ROW_PLUSMINUS_CHILD) << r;
        EXPECT_EQ(grid->GetRowParentOffset(r), d) << r;
        EXPECT_TRUE(grid->IsRowHidden(r)) << r;
    }
    EXPECT_EQ(Cell(d + 1, G::m_nColSignal), "DATA<3>");
    CInstTermBitContext bit;
    ASSERT_TRUE(grid->GetRowInstTermBitContext(d + 1, bit));
    EXPECT_EQ(bit.bit(), 3);
    EXPECT_FALSE(grid->GetRowInstTermBitContext(d, bit));
    EXPECT_EQ(grid->FindPinRow(Instance("U1"), G::m_nColPinName, "d<2>", 0), d + 2);
}

TEST_F(LoadPins, DifferentialPairRows) {
    Part();
    builder.schematic("top").instance("U1", "PART").pinNumber("U1", "CLKP", "1").pinNumber("U1", "CLKN", "2");
    Init();
    ASSERT_TRUE(Load("U1"));
    EXPECT_TRUE(grid->m_bHasDiffPairs);
    EXPECT_FALSE(grid->IsColHidden(G::m_nColDiffPair));
    const ROWCOL pair = Row("CLK");
    ASSERT_NE(pair, 0u);
    EXPECT_EQ(Kind(pair), PIN_ROW_DIFFPAIR);
    EXPECT_TRUE(grid->IsDiffPairRow(pair));
    EXPECT_EQ(Cell(pair, G::m_nColPinNumber), "1,2");
    ASSERT_NE(grid->GetRowDPInstTerm(pair), nullptr);
    std::list<CInstTermBitContext> legs;
    grid->GetRowBitContexts(pair, legs);
    ASSERT_EQ(legs.size(), 2u);
    EXPECT_STREQ(legs.front().instTerm()->name(), "CLKP");
    // The scalar legs have no rows of their own.
    EXPECT_EQ(Kind(pair + 1), PIN_ROW_DIFFPAIR_LEG);
    EXPECT_EQ(Kind(pair + 2), PIN_ROW_DIFFPAIR_LEG);
    EXPECT_EQ(grid->GetRowParentOffset(pair + 2), pair);
    int count = 0;
    for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
        if (Cell(r, G::m_nColPinName) == "CLKP") ++count;
    EXPECT_EQ(count, 1);
}

TEST_F(LoadPins, FirstViewOfADesignListsLegsAsPins) {
    Part();
    builder.schematic("top", "sch_1").instance("U1", "PART");
    Init();
    ASSERT_TRUE(Load("U1"));
    EXPECT_FALSE(grid->m_bHasDiffPairs);
    EXPECT_TRUE(grid->IsColHidden(G::m_nColDiffPair));
    EXPECT_EQ(Row("CLK"), 0u);
    EXPECT_EQ(Kind(Row("CLKP")), PIN_ROW_SCALAR);
}

TEST_F(LoadPins, VectorsShownBitByBit) {
    Part();
    builder.schematic("top")
        .instance("U1", "PART")
        .connect("U1", "D<3..2>", "X<1..0>")
        .connect("U1", "D<1..0>", "Y<1..0>");
    Init();
    grid->m_bShowVectors = 0;
    ASSERT_TRUE(Load("U1", TRUE)); // keep the server's order
    const ROWCOL first = Row("D<3>");
    ASSERT_NE(first, 0u);
    for (int i = 0; i < 4; ++i) {
        const CString name = CSchemaUtilities::vectorName("D", 3 - i);
        EXPECT_EQ(Cell(first + i, G::m_nColPinName), name);
        CGXStyle style;
        grid->GetStyleRowCol(first + i, static_cast<ROWCOL>(G::m_nColPinName), style);
        EXPECT_EQ(style.GetControl(), IDS_UA_SINGLEBIT_VECTOR_PINNAME_CELL);
        EXPECT_EQ(grid->GetRowParentOffset(first + i), GX_INVALID);
        EXPECT_EQ(Attr(first + i, G::m_nColPinName, IDS_UA_ROW_LEVEL), "1");
    }
    EXPECT_EQ(Cell(first, G::m_nColSignal), "X<1>");
    EXPECT_EQ(Cell(first + 3, G::m_nColSignal), "Y<0>");
}

// A vector's bit rows each show their own name, bit, number and the pin's type: here a long name
// and bit numbers on both sides of the ones whose texts the fill keeps.
TEST_F(LoadPins, BitRowsOfAWideVectorShowTheirOwnBits) {
    builder.symbol("WIDE").bus("MEMORY_ADDRESS_BUS", 1025, 1022, ITerm::eDirInput, ITerm::eTermInput);
    builder.schematic("top")
        .instance("U1", "WIDE")
        .connect("U1", "MEMORY_ADDRESS_BUS<1025..1022>", "A<3..0>");
    for (int b = 1022; b <= 1025; ++b)
        builder.pinNumber("U1", CSchemaUtilities::vectorName("MEMORY_ADDRESS_BUS", b).str(),
                          std::to_string(b - 1000));
    Init();
    ASSERT_TRUE(Load("U1"));
    const ROWCOL parent = Row("MEMORY_ADDRESS_BUS<1025..1022>");
    ASSERT_NE(parent, 0u);
    EXPECT_EQ(Cell(parent, G::m_nColPinNumber), "25,24,23,22");
    for (int i = 0; i < 4; ++i) {
        const ROWCOL r = parent + 1 + static_cast<ROWCOL>(i);
        const int bit = 1025 - i;
        EXPECT_EQ(Cell(r, G::m_nColPinName), CSchemaUtilities::vectorName("MEMORY_ADDRESS_BUS", bit)) << r;
        EXPECT_EQ(Attr(r, G::m_nColPinName, IDS_UA_VECTOR_MSB), std::to_string(bit).c_str()) << r;
        EXPECT_EQ(Attr(r, G::m_nColPinName, IDS_UA_VECTOR_LSB), std::to_string(bit).c_str()) << r;
        EXPECT_EQ(Cell(r, G::m_nColPinNumber), std::to_string(bit - 1000).c_str()) << r;
        EXPECT_EQ(Cell(r, G::m_nColPinType), "Input") << r;
        EXPECT_EQ(Cell(r, G::m_nColSignal), CSchemaUtilities::vectorName("A", 3 - i)) << r;
        EXPECT_EQ(grid->GetRowParentOffset(r), parent) << r;
    }
}

// The parent row of a vector on two nets joins its bits' signals (no one connection covers it).
TEST_F(LoadPins, VectorOnTwoNetsSumsItsBitsUpInTheParentSignal) {
    Part();
    builder.schematic("top")
        .instance("U1", "PART")
        .connect("U1", "D<3..2>", "X<1..0>")
        .connect("U1", "D<1..0>", "Y<1..0>");
    Init();
    ASSERT_TRUE(Load("U1"));
    const ROWCOL d = Row("D<3..0>");
    EXPECT_EQ(Cell(d, G::m_nColSignal), "X<1>,X<0>,Y<1>,Y<0>");
    EXPECT_EQ(Cell(d + 2, G::m_nColSignal), "X<0>");
    EXPECT_EQ(Cell(d + 3, G::m_nColSignal), "Y<1>");
}

// A pin of one bit (a scalar, or a vector of one bit) shows the one net bit it is on, with that net's
// id, whether the net is a scalar or a bus, and nothing when it is on none.
TEST_F(LoadPins, OneBitPinsShowTheNetBitTheyAreOn) {
    builder.symbol("ONEBIT").port("S").port("T").port("U").bus("E", 5, 5).bus("F", 0, 0);
    builder.schematic("top")
        .instance("U1", "ONEBIT")
        .net("Q", 3, 0)
        .connect("U1", "S", "N1")
        .connect("U1", "T", "Q<2>")
        .connect("U1", "E<5>", "Q<0>")
        .net("W")
        .connect("U1", "F<0>", "W");
    Init();
    ASSERT_TRUE(Load("U1"));
    const std::vector<std::pair<const char*, const char*>> shown{
        {"S", "N1"}, {"T", "Q<2>"}, {"U", ""}, {"E<5>", "Q<0>"}, {"F<0>", "W"}};
    for (const auto& [pin, signal] : shown) {
        const ROWCOL row = Row(pin);
        ASSERT_NE(row, 0u) << pin;
        EXPECT_EQ(Cell(row, G::m_nColSignal), signal) << pin;
        int msb = 0, lsb = 0;
        const INet* net = grid->GetRowNet(row, msb, lsb);
        EXPECT_EQ(grid->GetRowConnIndex(row), net ? static_cast<int>(net->id()) : -1) << pin;
        EXPECT_EQ(net != nullptr, *signal != '\0') << pin;
    }
}

// Rows written one after another on one net, on none, then on another each keep their own net: the
// bits of a bus, pins on no net between pins on nets.
TEST_F(LoadPins, RowsInARowOnOneNetOrNoneKeepTheirOwnNet) {
    builder.symbol("RUNS").bus("D", 3, 0).port("E").port("F").port("G").port("H");
    builder.schematic("top")
        .instance("U1", "RUNS")
        .connect("U1", "D<3..0>", "DATA<3..0>")
        .connect("U1", "G", "N1")
        .connect("U1", "H", "N1");
    Init();
    ASSERT_TRUE(Load("U1"));
    const IDesign* top = design.design();
    const int data = static_cast<int>(top->findNet("DATA")->id());
    const int n1 = static_cast<int>(top->findNet("N1")->id());
    const std::vector<std::pair<const char*, int>> nets{{"D<3>", data}, {"D<2>", data}, {"D<0>", data}, {"E", -1},
                                                        {"F", -1},      {"G", n1},      {"H", n1}};
    for (const auto& [pin, net] : nets) {
        const ROWCOL row = Row(pin);
        ASSERT_NE(row, 0u) << pin;
        EXPECT_EQ(grid->GetRowConnIndex(row), net) << pin;
        EXPECT_EQ(Attr(row, G::m_nColSignal, IDS_UA_CONN_INDEX), std::to_string(net).c_str()) << pin;
    }
    EXPECT_EQ(Cell(Row("D<2>"), G::m_nColSignal), "DATA<2>");
    EXPECT_EQ(Cell(Row("F"), G::m_nColSignal), "");
    EXPECT_EQ(Cell(Row("H"), G::m_nColSignal), "N1");
}

TEST_F(LoadPins, TheShownInstanceIsNotReloaded) {
    Part();
    builder.schematic("top").instance("U1", "PART").instance("U2", "PART");
    Init();
    ASSERT_TRUE(Load("U1"));
    const ROWCOL rows = grid->GetRowCount();
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetValueRange(CGXRange(Row("A"), static_cast<ROWCOL>(G::m_nColComments)), "mark");
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_EQ(grid->GetRowCount(), rows);
    EXPECT_EQ(Cell(Row("A"), G::m_nColComments), "mark");
    EXPECT_EQ(grid->m_arrInstanceIds.size(), 1u);
    // A refresh reloads it.
    ASSERT_TRUE(Load("U1", TRUE));
    EXPECT_EQ(grid->GetRowCount(), rows);
    EXPECT_EQ(Cell(Row("A"), G::m_nColComments), "");
    // A forced reload too, and it is cleared afterwards.
    grid->m_arrInstanceIds.assign(1, Instance("U1")->id());
    grid->m_bForceReload = 1;
    ASSERT_TRUE(Load("U1"));
    EXPECT_EQ(grid->m_bForceReload, 0);
    EXPECT_EQ(grid->m_arrInstanceIds.size(), 2u);
}

TEST_F(LoadPins, HeaderWithoutReferenceDesignator) {
    Part();
    builder.schematic("top").instance("U1", "PART");
    Init();
    ASSERT_TRUE(Load("U1"));
    EXPECT_EQ(Cell(0, 1), "Component: U1 (PART)      Ref Des: ");
    EXPECT_EQ(grid->PartFunctions().m_strHeaderSecondText, "");
    EXPECT_EQ(grid->PartFunctions().m_strHeaderInstanceText, "U1 (PART)");
    EXPECT_EQ(grid->PartFunctions().m_strHeaderLabel, " ");
}

TEST_F(LoadPins, BlocksShowPortsAndHideTerminations) {
    Part();
    builder.schematic("blk").schematicPort("IN");
    builder.schematic("top").instance("B1", "blk", "", "sch").instance("U1", "PART");
    Init();
    ASSERT_TRUE(Load("B1"));
    EXPECT_TRUE(grid->m_bIsBlock);
    EXPECT_EQ(Cell(PIN_CAPTION_ROW, G::m_nColPinName), "Port Name");
    EXPECT_EQ(Cell(PIN_CAPTION_ROW, G::m_nColPinType), "Port Type");
    EXPECT_TRUE(grid->IsColHidden(G::m_nColTermination));
    EXPECT_TRUE(grid->IsColHidden(G::m_nColPinNumber));
    EXPECT_EQ(grid->PartFunctions().m_strHeaderLabel, "Block    : ");
    // A component after the block gets its pin columns and captions back.
    ASSERT_TRUE(Load("U1"));
    EXPECT_FALSE(grid->m_bIsBlock);
    EXPECT_FALSE(grid->IsColHidden(G::m_nColTermination));
    EXPECT_FALSE(grid->IsColHidden(G::m_nColPinNumber));
    EXPECT_EQ(Cell(PIN_CAPTION_ROW, G::m_nColPinName), "Pin Name");
}

TEST_F(LoadPins, ProgressCountsWholePercents) {
    builder.symbol("THREE").port("P1").port("P2").port("P3");
    builder.schematic("top").instance("U1", "THREE");
    Init();
    std::vector<std::string> texts;
    CKXProgressBar::SetPumpHook([&texts]() -> BOOL {
        if (CKXProgressBar::m_pProgressBar)
            texts.push_back(CKXProgressBar::m_pProgressBar->GetText().GetString());
        return TRUE;
    });
    const bool loaded = Load("U1");
    CKXProgressBar::SetPumpHook(nullptr);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Processed 33% of 3 Pins of component U1");
    EXPECT_EQ(texts[2], "Processed 100% of 3 Pins of component U1");
    EXPECT_EQ(CKXProgressBar::m_pProgressBar, nullptr);
}

// A load of more pins than percents shows each percent once, at the first pin that reaches it, with
// the bar at that pin: the bar is where stepping it pin by pin would have put it.
TEST_F(LoadPins, ProgressOfManyPinsShowsEachPercentAtItsFirstPin) {
    constexpr int kPins = 250;
    auto& symbol = builder.symbol("MANY");
    for (int i = 0; i < kPins; ++i)
        symbol.port(("P" + std::to_string(i)).c_str());
    builder.schematic("top").instance("U1", "MANY");
    Init();
    std::vector<std::pair<int, std::string>> shown; // the bar's position and text at each pump
    CKXProgressBar::SetPumpHook([&shown]() -> BOOL {
        if (const CKXProgressBar* bar = CKXProgressBar::m_pProgressBar)
            shown.emplace_back(bar->GetPos(), bar->GetText().GetString());
        return TRUE;
    });
    const bool loaded = Load("U1");
    CKXProgressBar::SetPumpHook(nullptr);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(shown.size(), 101u); // 0% .. 100%
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto& [pos, text] = shown[i];
        const int percent = pos * 100 / kPins;
        EXPECT_EQ(text, "Processed " + std::to_string(percent) + "% of 250 Pins of component U1") << pos;
        EXPECT_TRUE(pos == 1 || (pos - 1) * 100 / kPins < percent) << pos; // the first pin of its percent
    }
    EXPECT_EQ(shown.back().first, kPins);
}

} // namespace

namespace {

class PinFile : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        m_parts = KXUniqueTempPath("pingrid_pinfile");
        std::filesystem::create_directories(m_parts / "work");
        CKXPartReader::SetPartDirectory(m_parts.string().c_str());
        CKXErrorHandler::ClearTranscript();
        builder.symbol("FPGA").port("A").bus("D", 1, 0).bus("E", 1, 0);
        builder.schematic("top")
            .instance("U1", "FPGA", "U7")
            .pinNumber("U1", "A", "12")
            .pinNumber("U1", "D<1>", "20")
            .pinNumber("U1", "D<0>", "21")
            .pinNumber("U1", "E<1>", "30")
            .pinNumber("U1", "E<0>", "31");
    }
    void TearDown() override {
        CKXPartReader::SetPartDirectory("");
        std::filesystem::remove_all(m_parts);
    }
    void PinFileText(const char* text) { std::ofstream(m_parts / "work" / "FPGA.csv") << text; }
    std::filesystem::path m_parts;
};

TEST_F(PinFile, PinNamesComeFromThePinFile) {
    PinFileText("Pin Number,Pin Name\n12,IO_A\n20,BANK<5>\n21,BANK<4>\n30,X<1>\n31,Y<0>\n");
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_TRUE(grid->m_bStandardFPGA);
    EXPECT_NE(Row("IO_A"), 0u);
    EXPECT_EQ(Row("A"), 0u);
    // Bits of one base inside the pin's range... BANK<5..4> is outside D<1..0>: bits of their own.
    EXPECT_NE(Row("BANK<5>"), 0u);
    EXPECT_EQ(grid->GetRowParentOffset(Row("BANK<5>")), GX_INVALID);
    // Two bases: no parent row either.
    EXPECT_NE(Row("X<1>"), 0u);
    EXPECT_NE(Row("Y<0>"), 0u);
    EXPECT_EQ(Row("E<1..0>"), 0u);
}

// A pin bit's own pin text names it before the pin file does; a bit without one takes the file's name.
TEST_F(PinFile, ABitsPinTextComesBeforeThePinFile) {
    builder.prop("@U1.A", "ZRV_PIN_TEXT", " IO_TEXT ");
    PinFileText("Pin Number,Pin Name\n12,IO_A\n20,B<1>\n21,B<0>\n");
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_NE(Row("IO_TEXT"), 0u) << "trimmed";
    EXPECT_EQ(Row("IO_A"), 0u);
    EXPECT_NE(Row("B<1..0>"), 0u);
}

TEST_F(PinFile, AGoodBaseKeepsTheParentRow) {
    PinFileText("Pin Number,Pin Name\n20,B<1>\n21,B<0>\n");
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    const ROWCOL parent = Row("B<1..0>");
    ASSERT_NE(parent, 0u);
    EXPECT_EQ(Kind(parent), PIN_ROW_GROUP);
    EXPECT_EQ(Cell(parent + 1, CKXInstanceDetailsGridWnd::m_nColPinName), "B<1>");
}

// A pin file that names none of a bus's bits leaves the bus as the design has it: its row with its
// bits below, not one top-level row a bit.
TEST_F(PinFile, ABusThePinFileDoesNotNameKeepsItsRow) {
    PinFileText("Pin Number,Pin Name\n12,IO_A\n20,B<1>\n21,B<0>\n");
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_NE(Row("B<1..0>"), 0u);
    const ROWCOL parent = Row("E<1..0>");
    ASSERT_NE(parent, 0u);
    EXPECT_EQ(Kind(parent), PIN_ROW_GROUP);
    for (const char* bit : {"E<1>", "E<0>"}) {
        ASSERT_NE(Row(bit), 0u) << bit;
        EXPECT_EQ(grid->GetRowParentOffset(Row(bit)), parent) << bit;
    }
}

TEST_F(PinFile, AnUnreadablePinFileStopsTheLoad) {
    PinFileText("Pin Number,Pin Name\n12,IO_A\n12,IO_B\n");
    Init();
    EXPECT_FALSE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    ASSERT_FALSE(CKXErrorHandler::GetTranscript().empty());
    EXPECT_EQ(CKXErrorHandler::GetTranscript().back().id, "KXTABLE-126");
    EXPECT_FALSE(grid->IsLockUpdate());
    EXPECT_EQ(CKXProgressBar::m_pProgressBar, nullptr);
}

} // namespace

namespace {

using G = CKXInstanceDetailsGridWnd;

class RowOperations : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").bus("D", 3, 0).port("P").port("N").symbolPair("CLK", "P", "N");
        builder.schematic("top")
            .instance("U1", "PART")
            .connect("U1", "D<3..0>", "DATA<3..0>")
            .connect("U1", "A", "N1");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
        d = Row("D<3..0>");
        ASSERT_NE(d, 0u);
        grid->ExpandAllPins("on", "");
    }
    ROWCOL d = 0;
};

TEST_F(RowOperations, TargetRowsOfASelection) {
    std::vector<ROWCOL> rows;
    EXPECT_EQ(grid->CollectTargetRows({d}, rows, FALSE, 0, 0), 4);
    EXPECT_EQ(rows, (std::vector<ROWCOL>{d}));
    // Some bits selected: only those.
    rows.clear();
    EXPECT_EQ(grid->CollectTargetRows({d, d + 2}, rows, FALSE, 0, 0), 1);
    EXPECT_EQ(rows, (std::vector<ROWCOL>{d + 2}));
    // Expanded to the bits in a range, reversed when the range is given downwards.
    rows.clear();
    EXPECT_EQ(grid->CollectTargetRows({d}, rows, TRUE, 2, 1), 2);
    EXPECT_EQ(rows, (std::vector<ROWCOL>{d + 3, d + 2}));
    // A pair row stands for its legs; a hidden row is left out.
    const ROWCOL pair = Row("CLK");
    rows.clear();
    EXPECT_EQ(grid->CollectTargetRows({pair, Row("A")}, rows, FALSE, 0, 0), 3);
    EXPECT_EQ(rows.size(), 3u);
    grid->HideRows(Row("A"), Row("A"), TRUE);
    rows.clear();
    EXPECT_EQ(grid->CollectTargetRows({Row("A")}, rows, FALSE, 0, 0), 0);
}

TEST_F(RowOperations, RenamedNetAndPinTexts) {
    INet* data = design.design()->findNet("DATA");
    const int dataId = static_cast<int>(data->id());
    CTransaction t(design, "rename");
    ASSERT_TRUE(t.renameNet(data, "BUS"));
    ASSERT_TRUE(t.commit());
    grid->UpdateVectorNameCells(dataId, "BUS");
    EXPECT_EQ(Cell(d, G::m_nColSignal), "BUS<3..0>");
    EXPECT_EQ(Cell(d + 1, G::m_nColSignal), "BUS<3>");
    EXPECT_EQ(Cell(Row("A"), G::m_nColSignal), "N1");
    // The pin-name refresh writes the pin's own names back.
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetValueRange(CGXRange(d + 1, static_cast<ROWCOL>(G::m_nColPinName)), "stale");
    grid->GetParam()->SetLockReadOnly(TRUE);
    grid->GetVectorName(Instance("U1").instance()->findInstTerm("D"), TRUE);
    EXPECT_EQ(Cell(d + 1, G::m_nColPinName), "D<3>");
    EXPECT_EQ(Cell(d, G::m_nColPinName), "D<3..0>");
    EXPECT_EQ(Cell(Row("CLK"), G::m_nColPinName), "CLK");
}

TEST_F(RowOperations, ARenamedPinsRowsAllShowItsName) {
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetValueRange(CGXRange(d, static_cast<ROWCOL>(G::m_nColPinName)), "OLD<3..0>");
    grid->SetValueRange(CGXRange(d + 2, static_cast<ROWCOL>(G::m_nColPinName)), "OLD<2>");
    grid->GetParam()->SetLockReadOnly(TRUE);
    grid->RefreshPinNameCells(Instance("U1").instance()->findInstTerm("D"));
    // The bus row too: it would otherwise keep the old name.
    EXPECT_EQ(Cell(d, G::m_nColPinName), "D<3..0>");
    EXPECT_EQ(Cell(d + 2, G::m_nColPinName), "D<2>");
    EXPECT_EQ(Cell(Row("A"), G::m_nColPinName), "A");
    // Found by its name again, not by the old one.
    CStringArray keys;
    keys.Add("D<2>");
    EXPECT_EQ(grid->SelectRowsByKeyCount(&keys, ""), 1);
    keys.RemoveAll();
    keys.Add("OLD<2>");
    EXPECT_EQ(grid->SelectRowsByKeyCount(&keys, ""), 0);
    // The bit rows lead to the bus row; the bus row and a scalar row have no parent.
    EXPECT_EQ(grid->GetParentRow(d + 2), static_cast<int>(d));
    EXPECT_EQ(grid->GetParentRow(d), -1);
    EXPECT_EQ(grid->GetParentRow(Row("A")), -1);
    EXPECT_EQ(grid->GetParentRow(grid->GetRowCount() + 1), -1);
    grid->RefreshPinNameCells(nullptr); // no pin: nothing changes
    EXPECT_EQ(Cell(d, G::m_nColPinName), "D<3..0>");
}

TEST_F(RowOperations, FilterTextsAndSelectedNetBits) {
    EXPECT_TRUE(grid->IsTextInFilterMap("anything"));
    grid->m_bFilterActive = TRUE;
    grid->PartFunctions().m_mapFunctionPins["N1"] = "N1";
    EXPECT_TRUE(grid->IsTextInFilterMap("N1"));
    EXPECT_FALSE(grid->IsTextInFilterMap("N2"));
    EXPECT_TRUE(grid->IsTextInFilterMap("N2,N1"));
    EXPECT_FALSE(grid->IsTextInFilterMap("N2,N3"));

    std::vector<CNetBit> bits;
    std::multimap<CNetBit, ROWCOL> rows;
    grid->CollectSelectedNetBits({d, Row("A")}, bits, rows);
    ASSERT_EQ(bits.size(), 5u);
    EXPECT_EQ(bits[0].bit(), 0);
    EXPECT_EQ(bits[4].bit(), -1);
    EXPECT_EQ(rows.count(bits[4]), 1u);
}

} // namespace

namespace {

TEST_F(LoadPins, CodesignPinsOnOnePhysicalPinShareAGroup) {
    builder.symbol("TRIO").port("A").port("B").port("C");
    builder.schematic("top")
        .instance("U1", "TRIO", "U7")
        .prop("@U1", "CODESIGN", "TRUE")
        .pinNumber("U1", "A", "5")
        .pinNumber("U1", "B", "5")
        .pinNumber("U1", "C", "6")
        .connect("U1", "A", "N1");
    Init();
    ASSERT_TRUE(Load("U1"));
    // The group row is named after the group's last pin, the pins follow as its children.
    ROWCOL group = 0;
    for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
        if (grid->IsPowerPinRow(r)) group = r;
    ASSERT_NE(group, 0u);
    EXPECT_EQ(Cell(group, CKXInstanceDetailsGridWnd::m_nColPinName), "B");
    EXPECT_EQ(Cell(group, CKXInstanceDetailsGridWnd::m_nColPinNumber), "5,5");
    EXPECT_EQ(Kind(group + 1), PIN_ROW_POWER_CHILD);
    EXPECT_EQ(Kind(group + 2), PIN_ROW_POWER_CHILD);
    EXPECT_EQ(grid->GetRowParentOffset(group + 2), group);
    EXPECT_EQ(Cell(group + 1, CKXInstanceDetailsGridWnd::m_nColSignal), "N1");
    EXPECT_TRUE(grid->IsRowHidden(group + 1));
    EXPECT_EQ(Kind(Row("C")), PIN_ROW_SCALAR);
    CDWordArray rows;
    rows.Add(group);
    int count = 0;
    grid->ExpandRowArray(rows, count);
    EXPECT_EQ(count, 2);
}

} // namespace

namespace {

TEST_F(LoadPins, VectorPairRows) {
    builder.symbol("VP").port("A").bus("P", 1, 0).bus("N", 1, 0).symbolPair("DP", "P", "N");
    builder.schematic("top").instance("U1", "VP");
    Init();
    ASSERT_TRUE(Load("U1"));
    ROWCOL pair = 0;
    for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
        if (Kind(r) == PIN_ROW_VECTOR_DIFFPAIR) pair = r;
    ASSERT_NE(pair, 0u);
    // Two member pairs, each with its two legs, all below the collapsed vector pair.
    std::list<int> members, legs;
    grid->GetChildRows(pair, members, 1);
    grid->GetChildRows(pair, legs, 0);
    EXPECT_EQ(members.size(), 2u);
    EXPECT_EQ(legs.size(), 4u);
    for (ROWCOL r = pair + 1; r <= pair + 6; ++r)
        EXPECT_TRUE(grid->IsRowHidden(r)) << r;
    // The leg pins have no rows of their own besides.
    int rowsOfP = 0;
    for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
        if (Cell(r, CKXInstanceDetailsGridWnd::m_nColPinName).Left(2) == "P<") ++rowsOfP;
    EXPECT_EQ(rowsOfP, 2); // one leg row per member pair
    grid->ExpandAllPins("on", "");
    for (ROWCOL r = pair + 1; r <= pair + 6; ++r)
        EXPECT_FALSE(grid->IsRowHidden(r)) << r;
    // A member pair collapses its own legs only.
    grid->RefreshCellControls(static_cast<int>(pair + 1), FALSE);
    EXPECT_TRUE(grid->IsRowHidden(pair + 2));
    EXPECT_FALSE(grid->IsRowHidden(pair + 4));
}

} // namespace

namespace {

// After a load, every vector's bits are hidden below its collapsed row, exactly as a collapse of each
// vector's row walking its rows leaves them: vectors side by side, before a scalar pin and last in the grid.
TEST_F(LoadPins, CollapsedVectorsAfterALoadMatchACollapseOfEachVector) {
    builder.symbol("VEC").bus("A", 1, 0).bus("B", 2, 0).port("C").bus("Z", 3, 0);
    builder.schematic("top").instance("U1", "VEC").connect("U1", "B<2..0>", "BUS<2..0>");
    Init();
    ASSERT_TRUE(Load("U1"));
    auto hiddenRows = [&] {
        std::vector<bool> hidden;
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            hidden.push_back(grid->IsRowHidden(r) != FALSE);
        return hidden;
    };
    const std::vector<bool> loaded = hiddenRows();
    EXPECT_EQ(PinNames(), (std::vector<std::string>{"A<1..0>", "A<1>", "A<0>", "B<2..0>", "B<2>", "B<1>", "B<0>",
                                                    "C", "Z<3..0>", "Z<3>", "Z<2>", "Z<1>", "Z<0>"}));
    EXPECT_EQ(loaded, (std::vector<bool>{false, true, true, false, true, true, true, false, false, true, true,
                                         true, true}));
    grid->ExpandAllPins("on", "");
    const std::vector<bool> expanded = hiddenRows();
    EXPECT_EQ(std::count(expanded.begin(), expanded.end(), true), 0);
    grid->ExpandAllPins("off", "");
    EXPECT_EQ(hiddenRows(), loaded);
}

} // namespace
