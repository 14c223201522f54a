// Hostile input and stale changes: blank lines, designs that hold themselves, a bad file among
// good ones, changes whose before-state no longer holds, and temporaries left by a killed save.
#include <csignal>
#include <functional>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

#include "fixture.h"
#include "util.h"

namespace {

const char* kLib = "rmx-library 1\nlibrary work\n";

std::string design(const std::string& cell, const std::string& body) {
    return "rmx-design 1\ndesign work " + cell + " sch schematic\n" + body;
}

}  // namespace

TEST(LoadRobust, LinesOfOnlyBlanksOrTabsAreEmptyLines) {
    TempDir dir;
    writeFile(dir.str("library.rmx"), std::string(kLib) + "  \n\t\n");
    writeFile(dir.str("p.part"), "rmx-part 1\n \t \npart P\n\t\npin 1 A - input 0\n");
    writeFile(dir.str("a.sch.design"), "rmx-design 1\n   \ndesign work a sch schematic\n\t\nnet N -1 -1 0 unknown\n \n");
    IServer s;
    CString err;
    ASSERT_TRUE(s.loadLibrary(dir.str().c_str(), err)) << err.str();
    ASSERT_NE(s.findDesign("work.a:sch"), nullptr);
    EXPECT_NE(s.findDesign("work.a:sch")->findNet("N"), nullptr);
    // The same in transaction text.
    CTransaction t(&s, "rmx-transaction 1 \"work.a:sch\" \"x\"\n  \t\n", true, true);
    EXPECT_TRUE(t.isValid()) << t.lastError().str();
}

TEST(LoadRobust, DesignsThatHoldThemselvesAreRefusedWithTheirPlace) {
    TempDir dir;
    writeFile(dir.str("library.rmx"), kLib);
    writeFile(dir.str("self.sch.design"), design("self", "inst I1 work self sch\n"));
    writeFile(dir.str("a.sch.design"), design("a", "net N -1 -1 0 unknown\ninst X work b sch\n"));
    writeFile(dir.str("b.sch.design"), design("b", "inst Y work c sch\n"));
    writeFile(dir.str("c.sch.design"), design("c", "inst Z1 work d sch\ninst Z2 work a sch\n"));
    writeFile(dir.str("d.sch.design"), design("d", "net M -1 -1 0 unknown\n"));
    writeFile(dir.str("top.sch.design"), design("top", "inst T work a sch\ninst U work d sch\n"));
    IServer s;
    CString err;
    bool partly = false;
    EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err, &partly));
    EXPECT_TRUE(partly);
    std::string e = err.str();
    EXPECT_NE(e.find(dir.str("self.sch.design") + ":3: design work.self:sch contains itself"), std::string::npos) << e;
    EXPECT_NE(e.find(dir.str("a.sch.design") + ":4:"), std::string::npos) << e;
    EXPECT_NE(e.find(dir.str("b.sch.design") + ":3:"), std::string::npos) << e;
    EXPECT_NE(e.find(dir.str("c.sch.design") + ":4:"), std::string::npos) << e;
    for (const char* gone : {"work.self:sch", "work.a:sch", "work.b:sch", "work.c:sch"})
        EXPECT_EQ(s.findDesign(gone), nullptr) << gone;
    // Outside the cycle everything loads; an instance of a refused design is an unresolved one.
    ASSERT_NE(s.findDesign("work.d:sch"), nullptr);
    IDesign* top = s.findDesign("work.top:sch");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->findInstance("T")->master(), nullptr);
    EXPECT_EQ(top->findInstance("U")->master(), s.findDesign("work.d:sch"));
}

TEST(LoadRobust, OneBadFileLeavesTheRestLoadedAndSaysSo) {
    TempDir dir;
    writeFile(dir.str("library.rmx"), kLib);
    writeFile(dir.str("good.sch.design"), design("good", "net N -1 -1 0 unknown\n"));
    writeFile(dir.str("bad.sch.design"), design("bad", "net N -1 -1 9 unknown\n"));
    IServer s;
    CString err;
    bool partly = false;
    EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err, &partly));
    EXPECT_TRUE(partly);
    EXPECT_NE(err.str().find("bad.sch.design:3:"), std::string::npos) << err.str();
    EXPECT_NE(s.findDesign("work.good:sch"), nullptr);
    // A library that cannot be read at all is no partial load.
    IServer other;
    EXPECT_FALSE(other.loadLibrary(dir.str("nowhere").c_str(), err, &partly));
    EXPECT_FALSE(partly);
}

TEST(SaveRobust, TemporariesOfAKilledSaveAreRemovedByTheNextSave) {
    TempDir dir;
    IServer s;
    IDesign* board = buildBoard(&s, dir.str());
    CString err;
    ASSERT_TRUE(s.saveDesign(board, &err)) << err.str();
    // A save killed between writing and renaming leaves its temporary; one of a running process stays.
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    std::string dead = dir.str("board.sch.design.tmp" + std::to_string(child));
    std::string running = dir.str("board.sch.design.tmp1");  // init runs
    std::string other = dir.str("BLK.sch.design.tmp" + std::to_string(child));
    for (auto& f : {dead, running, other}) writeFile(f, "half a file");
    ASSERT_TRUE(s.saveDesign(board, &err)) << err.str();
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(other));  // another file's temporaries wait for its own save
    EXPECT_FALSE(std::filesystem::exists(dir.str("board.sch.design.tmp" + std::to_string(::getpid()))));
}

// ------------------------------------------------------------------------------------------------
// A change is applied only over the state it was made from.

namespace {

struct Stale : ::testing::Test {
    std::unique_ptr<IServer> owned = std::make_unique<IServer>();
    IServer* server = owned.get();
    IDesign* board = buildBoard(server);
    CDesignContext top{server, board};
    // A fresh board on a fresh server.
    void reset() {
        owned = std::make_unique<IServer>();
        server = owned.get();
        board = buildBoard(server);
        top = CDesignContext(server, board);
    }
    std::string commit(const std::function<void(CTransaction&)>& edit) {
        CTransaction t(top, "edit");
        edit(t);
        EXPECT_TRUE(t.commit()) << t.lastError().str();
        return t.toString().str();
    }
    INet* net(const char* n) { return board->findNet(n); }
    IInstance* inst(const char* n) { return board->findInstance(n); }
    IInstTerm* pin(const char* i, const char* p) { return inst(i)->findInstTerm(p); }
};

}  // namespace

TEST_F(Stale, UndoOverAChangeMadeSinceByAnotherRouteIsRefusedAndChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(Stale&, CTransaction&)> first, since;
        bool redoRefused = true;  // the state the change was made from no longer holds either
    };
    const std::vector<Case> cases = {
        {"property value",
         [](Stale& s, CTransaction& t) { t.addProperty(s.top.net("CLK"), "VALUE", "10k", 0); },
         [](Stale& s, CTransaction& t) { t.addProperty(s.top.net("CLK"), "VALUE", "22k", 0); }},
        {"property removed since",
         [](Stale& s, CTransaction& t) { t.addProperty(s.top.net("CLK"), "VALUE", "10k", 0); },
         [](Stale& s, CTransaction& t) { t.removeProperty(s.top.net("CLK"), "VALUE"); }, false},
        {"net width",
         [](Stale& s, CTransaction& t) { t.changeNetWidth(s.net("DATA"), 9, 0); },
         [](Stale& s, CTransaction& t) { t.changeNetWidth(s.net("DATA"), 11, 0); }},
        {"pin type",
         [](Stale& s, CTransaction& t) { t.changeInstTermType(s.pin("R1", "B"), ITerm::eTermPower, ITerm::eDirInput); },
         [](Stale& s, CTransaction& t) { t.changeInstTermType(s.pin("R1", "B"), ITerm::eTermGround, ITerm::eDirInput); }},
        {"pin width",
         [](Stale& s, CTransaction& t) { t.changeInstTermWidth(s.pin("R1", "B"), 1, 0); },
         [](Stale& s, CTransaction& t) { t.changeInstTermWidth(s.pin("R1", "B"), 3, 0); }},
        {"master",
         [](Stale& s, CTransaction& t) { t.replaceMaster(s.inst("R1"), "work", "LDO", "sym"); },
         [](Stale& s, CTransaction& t) { t.replaceMaster(s.inst("R1"), "work", "CAP", "sym"); }},
        {"power pin",
         [](Stale& s, CTransaction& t) { t.setPowerPinNet(s.inst("U1"), "VDD", "VCC_IO"); },
         [](Stale& s, CTransaction& t) { t.setPowerPinNet(s.inst("U1"), "VDD", "VCC_CORE"); }},
        {"component type",
         [](Stale& s, CTransaction& t) { t.changeDTType(s.board->findDTInstance("RT1"), "Shunt"); },
         [](Stale& s, CTransaction& t) { t.changeDTType(s.board->findDTInstance("RT1"), "Thevenin"); }},
        {"component place",
         [](Stale& s, CTransaction& t) {
             t.attachDTInstance(s.board->findDTInstance("RT1"), CInstTermBit(s.pin("U1", "D"), 4));
         },
         [](Stale& s, CTransaction& t) {
             t.attachDTInstance(s.board->findDTInstance("RT1"), CInstTermBit(s.pin("U1", "D"), 5));
         }},
        {"net deleted and made again",
         [](Stale& s, CTransaction& t) { t.removeNet(s.net("SYSCLK")); },
         [](Stale&, CTransaction& t) { t.createNet("SYSCLK", 8, 0); }},
    };
    for (const Case& c : cases) {
        reset();
        IServer& fresh = *server;
        std::string text = commit([&](CTransaction& t) { c.first(*this, t); });
        commit([&](CTransaction& t) { c.since(*this, t); });
        std::string before = snapshot(fresh, board);
        CTransaction undo(&fresh, text.c_str(), true, false);
        ASSERT_TRUE(undo.isValid()) << c.what;
        EXPECT_FALSE(undo.commit()) << c.what;
        EXPECT_EQ(snapshot(fresh, board), before) << c.what;
        // Done again where the state it was made from no longer holds, the change is refused too.
        if (!c.redoRefused) continue;
        CTransaction redo(&fresh, text.c_str(), true, true);
        EXPECT_FALSE(redo.commit()) << c.what;
        EXPECT_EQ(snapshot(fresh, board), before) << c.what;
    }
}

TEST_F(Stale, AFailedCommitOfTextLeavesTheDesignExactlyAsItWas) {
    std::string text = commit([&](CTransaction& t) { t.replaceMaster(inst("R1"), "work", "LDO", "sym"); });
    // The same change again, followed by one that fails: R1 is LDO already, and stays so.
    std::string failing = text + "netDelete \"work.board:sch\" \"NOPE\" \"\" \"\" \"\" \"\" \"\" -1 -1 0 0 -1 -1 -1 -1 0 0 0 0 \"\" 0 \"\" 0\n";
    std::string before = snapshot(*server, board);
    CTransaction t(server, failing.c_str(), true, true);
    ASSERT_TRUE(t.isValid()) << t.lastError().str();
    EXPECT_FALSE(t.commit());
    EXPECT_EQ(snapshot(*server, board), before);
    EXPECT_STREQ(inst("R1")->cellName(), "LDO");
}
