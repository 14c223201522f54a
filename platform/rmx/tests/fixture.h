// A small board used by several suites: a part with a bus, a pair and package pins, a resistor,
// a block with its own schematic, nets, an alias and components.
#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "rmx/DesignBuilder.h"

inline IDesign* buildBoard(IServer* s, const std::string& folder = "") {
    rmx::DesignBuilder b(s, "work", folder);
    b.symbol("MEM").bus("D", 7, 0, ITerm::eDirInout, ITerm::eTermInout).port("CLK", ITerm::eDirInput, ITerm::eTermInput)
        .port("CK_P", ITerm::eDirInput).port("CK_N", ITerm::eDirInput).symbolPair("CK", "CK_P", "CK_N");
    b.partDefinition("MEM");
    for (int i = 0; i < 8; ++i) b.packagePin("A" + std::to_string(i + 1), "D<" + std::to_string(i) + ">", "", ITerm::eTermInout, 1);
    b.packagePin("B1", "CLK", "", ITerm::eTermInput).packagePin("B2", "CK_P").packagePin("B3", "CK_N").packagePin("B4", "NC");
    b.powerPin("C1", "VDD", "VCC").powerPin("C2", "VSS", "GND", true);
    b.symbol("RES").port("A").port("B");
    b.symbol("BLK").bus("D", 7, 0).port("CLK");
    b.schematic("BLK", "sch").schematicPort("D", 7, 0).schematicPort("CLK");
    b.instance("R1", "RES", "R1").connect("R1", "A", "CLK");
    b.schematic("board", "sch");
    b.instance("U1", "MEM", "U1").instance("R1", "RES", "R1").instance("B1", "BLK", "", "sch");
    b.net("DATA", 7, 0).net("CLK").net("CK_P").net("CK_N").net("SYSCLK");
    b.connect("U1", "D", "DATA").connect("U1", "CLK", "CLK").connect("R1", "A", "CLK").connect("B1", "D", "DATA")
        .connect("B1", "CLK", "CLK").connect("U1", "CK_P", "CK_P").connect("U1", "CK_N", "CK_N");
    b.alias("CLK", "SYSCLK");
    for (int i = 0; i < 8; ++i) b.pinNumber("U1", "D<" + std::to_string(i) + ">", "A" + std::to_string(i + 1));
    b.pinNumber("U1", "CLK", "B1");
    b.dpNet("CKD", "CK_P", "CK_N").dpConnect("U1", "CK", "CKD");
    b.termination("RT1", "Series", "U1", "D<3>").pull("RP1", "PullUp", "CLK").pairTermination("RT2", "Parallel", "U1", "CK");
    b.prop("@:CLK", "PHYS_NET_NAME", "CLK_MAIN");
    EXPECT_TRUE(b.ok()) << b.error();
    return b.design();
}

// A test over the sample board, opened as the top design.
struct BoardTest : ::testing::Test {
    IServer server;
    IDesign* board = nullptr;
    CDesignContext top;
    void SetUp() override {
        board = buildBoard(&server);
        top = CDesignContext(&server, board);
    }
};
