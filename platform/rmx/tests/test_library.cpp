#include <filesystem>
#include <unistd.h>

#include "fixture.h"
#include "rmx/packaging.h"
#include "util.h"

TEST(Library, SaveLoadSaveRoundTripsByteForByte) {
    TempDir dir;
    std::string first;
    {
        IServer s;
        ASSERT_NE(buildBoard(&s, dir.str()), nullptr);
        CString err;
        ASSERT_TRUE(s.saveLibrary("work", dir.str().c_str(), &err)) << err.str();
        first = readFile(dir.str("board.sch.design"));
        EXPECT_FALSE(s.findDesign("work.board:sch")->isModified());
    }
    IServer s2;
    CString err;
    ASSERT_TRUE(s2.loadLibrary(dir.str().c_str(), err)) << err.str();
    IDesign* d = s2.findDesign("work.board:sch");
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->isModified());
    EXPECT_EQ(snapshot(s2, d), first);
    // The loaded design behaves: pair pins, components, aliases, hierarchy.
    CDesignContext top(&s2, d);
    EXPECT_NE(d->findInstance("U1")->findDPInstTerm("CK")->dpConn(), nullptr);
    EXPECT_EQ(d->findDTInstance("RT2")->attachKind(), IDTInstance::eOnDPConn);
    EXPECT_STREQ(top.instance("B1").containedDesign().instance("R1").instTerm("A").bitContext(-1).netbitOuter()
                     .physicalNetName(), "CLK_MAIN");
    EXPECT_STREQ(d->numberText(), "1");
    // A second save writes the same bytes; a design loaded twice is refused.
    ASSERT_TRUE(s2.saveDesign(d, &err)) << err.str();
    EXPECT_EQ(readFile(dir.str("board.sch.design")), first);
    EXPECT_FALSE(s2.loadLibrary(dir.str().c_str(), err));
    EXPECT_NE(err.str().find("loaded already"), std::string::npos);
}

TEST(Library, BadFilesAreRefusedWithFileAndLineAndLoadNothing) {
    struct Case {
        const char* text;
        int line;
        const char* what;
    };
    const char* head = "rmx-design 1\ndesign work bad sch schematic\n";
    const Case cases[] = {
        {"rmx-design 2\n", 1, "version"},
        {"rmx-design 1\ndesign other bad sch schematic\n", 2, "library"},
        {"net A -1 -1 0 unknown\nnet A -1 -1 0 unknown\n", 4, "exists"},
        {"net A 3 -1 0 unknown\n", 3, "bit range"},
        {"inst U1 work RES sym\nconn U1 A NOPE\n", 4, "no net"},
        {"net A -1 -1 0 unknown\nconn U1 A A\n", 4, "no pin"},
        {"prop @:NOPE X \"1\" 0\n", 3, "no object"},
        {"net A -1 -1 0 unknown\nprop @:A X \"unterminated 0\n", 4, "unterminated"},
        {"frobnicate\n", 3, "unknown statement"},
        {"net A<3> -1 -1 0 unknown\n", 3, "invalid net name"},
        {"net A -1 -1 0 sideways\n", 3, "unknown type"},
        {"net A 0 999999999 0 unknown\n", 3, "bit numbers run from 0 to 65535"},
        {"net A 65536 0 0 unknown\n", 3, "bit numbers run from 0 to 65535"},
        {"number 0\n", 3, "bad number"},
        {"port P -1 -1 in unknown\nport P -1 -1 in unknown\n", 4, "twice"},
        {"pair X A B\n", 3, "symbol"},
        {"net A 1 0 0 unknown\nnet B -1 -1 0 unknown\nalias A B\n", 5, "cannot alias"},
        {"net A -1 -1 0 unknown\nprop @:A X \"1\" 0\nprop @:A X \"2\" 0\n", 5, "twice"},
        {"dpnet P A B -1 1\n", 3, "no net"},
        {"dt RT1 1 Series @U9.A\n", 3, "no pin"},
        {"dt RT1 3 Series -\n", 3, "bad number"},
        {"inst U1 work RES sym\npin U1 A -1 -1 in unknown\ndppin U1 P A A 3\n", 5, "same pin bit"},
        {"dpconn P -1 -1 U1 X -1 -1\n", 3, "no pair net"},
        {"net A -1 -1 0 unknown\nprop @:A \"bad name\" \"1\" 0\n", 4, "bad property name"},
        {"net A -1 -1 0 unknown\nprop @:A X \"1\\q\" 0\n", 4, "bad escape"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir.str("library.rmx"), "rmx-library 1\nlibrary work\n");
        std::string text = std::string(c.text).rfind("rmx-design", 0) == 0 ? c.text : std::string(head) + c.text;
        writeFile(dir.str("bad.sch.design"), text);
        writeFile(dir.str("good.sch.design"), "rmx-design 1\ndesign work good sch schematic\nnet N -1 -1 0 unknown\n");
        IServer s;
        CString err;
        EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err)) << c.text;
        std::string e = err.str();
        std::string where = dir.str("bad.sch.design") + ":" + std::to_string(c.line) + ":";
        EXPECT_NE(e.find(where), std::string::npos) << e;
        EXPECT_NE(e.find(c.what), std::string::npos) << e;
        EXPECT_EQ(s.findDesign("work.bad:sch"), nullptr) << "nothing of a bad file is loaded";
        EXPECT_NE(s.findDesign("work.good:sch"), nullptr) << "the good file still loads";
    }
}

TEST(Library, ValuesWithAnyCharactersRoundTrip) {
    TempDir dir;
    IServer s;
    rmx::DesignBuilder b(&s, "work", dir.str());
    const std::string odd = "a \"quoted\" \\ back\nslash\ttab # hash \xc3\xa9";
    b.schematic("odd").net("N").prop("@:N", "NOTE", odd, 4294967295ul).prop("@", "EMPTY", "");
    ASSERT_TRUE(b.ok()) << b.error();
    CString err;
    ASSERT_TRUE(s.saveDesign(b.design(), &err)) << err.str();
    IServer s2;
    ASSERT_TRUE(s2.loadLibrary(dir.str().c_str(), err)) << err.str();
    CDesignContext d(&s2, "work.odd:sch");
    std::unique_ptr<CPQPropertyData> p(d.net("N").findProperty("NOTE"));
    ASSERT_TRUE(p);
    EXPECT_EQ(std::string(p->value()), odd);
    EXPECT_EQ(p->source(), 4294967295ul);
    std::unique_ptr<CPQPropertyData> e(d.findProperty("EMPTY"));
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->value(), "");
}

TEST(Library, BuilderRecordsTheFirstError) {
    IServer s;
    rmx::DesignBuilder b(&s, "work");
    b.net("N");  // no schematic yet
    b.schematic("top").instance("U1", "NOSUCH").connect("U1", "A", "N");
    EXPECT_FALSE(b.ok());
    EXPECT_NE(b.error().find("net: no schematic"), std::string::npos) << b.error();
    EXPECT_NE(b.design(), nullptr);
    EXPECT_NE(b.design()->findInstance("U1"), nullptr);  // an unknown master gives an instance without pins
}

TEST(Library, MissingOrBadLibraryFile) {
    TempDir dir;
    IServer s;
    CString err;
    EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err));
    EXPECT_NE(err.str().find("library.rmx"), std::string::npos);
    writeFile(dir.str("library.rmx"), "rmx-library 1\nlibrary bad name\n");
    EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err));
    EXPECT_NE(err.str().find(":2:"), std::string::npos);
    writeFile(dir.str("library.rmx"), "rmx-library 1\nlibrary work\n");
    writeFile(dir.str("p.part"), "rmx-part 1\npart P\npin 1 A S9 input 0\n");
    EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err));
    EXPECT_NE(err.str().find("p.part:3: unknown section"), std::string::npos) << err.str();
}

TEST(Library, SavingIsAtomicAndAFailedSaveKeepsTheOldFile) {
    TempDir dir;
    IServer s;
    IDesign* d = buildBoard(&s, dir.str());
    CString err;
    ASSERT_TRUE(s.saveDesign(d, &err)) << err.str();
    std::string old = readFile(dir.str("board.sch.design"));
    // The temporary file cannot be made (a folder stands in its way): the save fails and the old
    // file stays whole.
    std::string blocker = dir.str("board.sch.design.tmp" + std::to_string(getpid()));
    std::filesystem::create_directory(blocker);
    CTransaction t(CDesignContext(&s, d));
    t.createNet("LATE", -1, -1);
    ASSERT_TRUE(t.commit());
    EXPECT_FALSE(s.saveDesign(d, &err));
    EXPECT_FALSE(err.IsEmpty());
    EXPECT_EQ(readFile(dir.str("board.sch.design")), old);
    EXPECT_TRUE(d->isModified());
    std::filesystem::remove(blocker);
    ASSERT_TRUE(s.saveDesign(d, &err)) << err.str();
    EXPECT_NE(readFile(dir.str("board.sch.design")), old);
    for (auto& e : std::filesystem::directory_iterator(dir.path))
        EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos) << "no temporary file left";
    IDesign* none = nullptr;
    EXPECT_FALSE(s.saveDesign(none, &err));
    IDesign* loose = s.createDesign("work", "loose", "sch");
    EXPECT_FALSE(s.saveDesign(loose, &err));  // no folder
    EXPECT_FALSE(s.saveDesignAs(d, dir.str().c_str(), "other", "board", "sch", &err));  // the folder is "work"
    EXPECT_NE(err.str().find("holds library work"), std::string::npos) << err.str();
}

// Two servers on one library stand for two processes: each keeps what its design file held when it read
// or wrote it, and a save over a file the other saved since is refused, the other's file staying whole.
TEST(Library, ASaveNeverWritesOverWhatAnotherWriterSavedSince) {
    TempDir dir;
    CString err;
    {
        IServer maker;
        buildBoard(&maker, dir.str());
        ASSERT_TRUE(maker.saveLibrary("work", dir.str().c_str(), &err)) << err.str();
    }
    IServer a, b;
    ASSERT_TRUE(a.loadLibrary(dir.str().c_str(), err)) << err.str();
    ASSERT_TRUE(b.loadLibrary(dir.str().c_str(), err)) << err.str();
    auto addNet = [](IServer& s, const char* net) {
        IDesign* d = s.findDesign("work.board:sch");
        CTransaction t(CDesignContext(&s, d));
        t.createNet(net, -1, -1);
        EXPECT_TRUE(t.commit());
        return d;
    };
    IDesign* da = addNet(a, "FROM_A");
    ASSERT_TRUE(a.saveDesign(da, &err)) << err.str();
    const std::string saved = readFile(dir.str("board.sch.design"));
    IDesign* db = addNet(b, "FROM_B");
    EXPECT_FALSE(b.saveDesign(db, &err));
    EXPECT_NE(err.str().find("changed on disk"), std::string::npos) << err.str();
    EXPECT_TRUE(db->isModified());
    EXPECT_EQ(readFile(dir.str("board.sch.design")), saved);
    // Saving it in its own place by name is the same save.
    EXPECT_FALSE(b.saveDesignAs(db, dir.str().c_str(), "work", "board", "sch", &err));
    EXPECT_EQ(readFile(dir.str("board.sch.design")), saved);
    // The writer that saved last goes on saving; a save under another name is always there.
    addNet(a, "AGAIN_A");
    EXPECT_TRUE(a.saveDesign(da, &err)) << err.str();
    EXPECT_TRUE(b.saveDesignAs(db, dir.str().c_str(), "work", "bcopy", "sch", &err)) << err.str();
    // A file removed since is written again: nobody's work is on it.
    std::filesystem::remove(dir.str("board.sch.design"));
    EXPECT_TRUE(b.saveDesign(db, &err)) << err.str();
    EXPECT_NE(readFile(dir.str("board.sch.design")).find("FROM_B"), std::string::npos);
    EXPECT_FALSE(a.saveDesign(da, &err));
}

TEST(Library, InterfaceChangesAndParentsToWarn) {
    IServer s;
    IDesign* board = buildBoard(&s);
    IDesign* blk = s.findDesign("work.BLK:sch");
    CString what;
    EXPECT_FALSE(s.isInterfaceChanged(blk, what));
    EXPECT_FALSE(s.shouldWarnParent(board, blk));
    CTransaction t(CDesignContext(&s, blk));
    ASSERT_TRUE(t.changeNetWidth(blk->findNet("D"), 3, 0));
    ASSERT_TRUE(t.commit());
    EXPECT_FALSE(s.isInterfaceChanged(blk, what));  // nets are not ports
    EXPECT_EQ(s.beginDesignOfCell("BLK").count(), 2u);  // the symbol and the schematic
    rmx::DesignBuilder b(&s, "work");
    b.schematic("BLK", "sch").schematicPort("RST");
    // The builder takes the new port as the saved interface; a file edited behind the server's
    // back is what changes an interface here.
    EXPECT_FALSE(s.isInterfaceChanged(blk, what));
}

// A port changed in a transaction changes the interface until it is saved; its text undoes and redoes it.
TEST(Library, APortChangedInATransactionChangesTheInterface) {
    IServer s;
    IDesign* board = buildBoard(&s);
    IDesign* blk = s.findDesign("work.BLK:sch");
    ITerm* port = blk->findPort("D");
    ASSERT_NE(port, nullptr);
    const int msb = port->msb(), lsb = port->lsb();
    CTransaction t(CDesignContext(&s, blk));
    EXPECT_FALSE(t.changePortWidth(port, 3, -1));  // half a range
    ASSERT_TRUE(t.changePortWidth(port, 3, 0)) << t.lastError().str();
    ASSERT_TRUE(t.commit());
    CString what;
    EXPECT_TRUE(s.isInterfaceChanged(blk, what));
    EXPECT_EQ(what.str(), "Changed port D\n");
    EXPECT_TRUE(s.shouldWarnParent(board, blk));  // the board still joins the old width
    const CString text = t.toString();
    CTransaction undo(&s, text, true, false);
    ASSERT_TRUE(undo.isValid()) << undo.lastError().str();
    ASSERT_TRUE(undo.commit());
    EXPECT_EQ(port->msb(), msb);
    EXPECT_EQ(port->lsb(), lsb);
    EXPECT_FALSE(s.isInterfaceChanged(blk, what));
    CTransaction redo(&s, text, true, true);
    ASSERT_TRUE(redo.commit());
    EXPECT_EQ(port->msb(), 3);
}

TEST(Library, ParentsOfAChangedBlockAreWarned) {
    TempDir dir;
    {
        IServer s;
        buildBoard(&s, dir.str());
        CString err;
        ASSERT_TRUE(s.saveLibrary("work", dir.str().c_str(), &err)) << err.str();
    }
    // The block's port D shrinks to four bits and gains RST; the board still joins eight bits of D.
    std::string blk = readFile(dir.str("BLK.sch.design"));
    size_t at = blk.find("port D 7 0");
    ASSERT_NE(at, std::string::npos);
    blk.replace(at, 10, "port D 3 0");
    blk.replace(blk.find("port CLK"), 0, "port RST -1 -1 in unknown\n");
    size_t net = blk.find("net D 7 0");
    ASSERT_NE(net, std::string::npos);
    blk.replace(net, 9, "net D 3 0");
    writeFile(dir.str("BLK.sch.design"), blk);
    IServer s;
    CString err;
    ASSERT_TRUE(s.loadLibrary(dir.str().c_str(), err)) << err.str();
    IDesign* board = s.findDesign("work.board:sch");
    IDesign* block = s.findDesign("work.BLK:sch");
    EXPECT_TRUE(s.shouldWarnParent(board, block));
    EXPECT_FALSE(s.shouldWarnParent(board, s.findDesign("work.RES:sym")));
    EXPECT_FALSE(s.isInterfaceChanged(block, err));  // as loaded
    // The parent's pin no longer matches the block: its inner bit is found only where it exists.
    CInstTermBitContext b6 = CDesignContext(&s, board).instance("B1").instTerm("D").bitContext(6);
    EXPECT_FALSE(b6.netbitInner());
    EXPECT_TRUE(CDesignContext(&s, board).instance("B1").instTerm("D").bitContext(2).netbitInner());
    EXPECT_TRUE(s.unloadDesign(block));
    EXPECT_EQ(s.findDesign("work.BLK:sch"), nullptr);
    EXPECT_FALSE(s.unloadDesign(block));
    EXPECT_EQ(board->findInstance("B1")->containedDesign(), nullptr);  // now a leaf
}

TEST(Library, ExampleLibraryLoads) {
    const char* src = std::getenv("KX_TEST_SOURCE_DIR");
    std::string folder = std::string(src ? src : "/work/main") + "/examples/designs";
    if (!std::filesystem::exists(folder + "/library.rmx")) GTEST_SKIP() << "no example library";
    IServer s;
    CString err;
    ASSERT_TRUE(s.loadLibrary(folder.c_str(), err)) << err.str();
    IDesign* d = s.findDesign("demo.board:sch");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(snapshot(s, d), readFile(folder + "/board.sch.design"));
    // Its physical view: the resistor pack's two sections form one part, power pins find their nets.
    CDesignContext top(&s, d);
    std::unique_ptr<IPhysPartInst> rn1(getPhysPartInst(&top, "RN1"));
    ASSERT_TRUE(rn1);
    EXPECT_EQ(rn1->logicalInstances().size(), 2u);
    EXPECT_EQ(rn1->functionCount(), 4);
    std::unique_ptr<IPhysPin> p7(rn1->getPhysPin("7"));
    ASSERT_TRUE(p7);
    std::unique_ptr<IPhysNet> rst(p7->physNet());
    ASSERT_TRUE(rst);
    EXPECT_STREQ(rst->name(), "RST_IN");
    std::unique_ptr<IPhysNet> clk(getPhysNet(&top, "DDR_CLK"));
    ASSERT_TRUE(clk);
    std::unique_ptr<CPhysIterator<IPhysPin>> pins(clk->beginPin());
    EXPECT_EQ(pins->count(), 2u);  // the FPGA's MCLK and the memory's CLK
    std::unique_ptr<IPhysNet> gnd(getPhysNet(&top, "GND"));
    ASSERT_TRUE(gnd);
    std::unique_ptr<CPhysIterator<IPhysPowerPin>> power(gnd->beginPowerPin());
    EXPECT_GE(power->count(), 3u);
    // The block's regulator is packaged too, and its enable climbs to the board's EN net.
    std::unique_ptr<IPhysPartInst> u10(getPhysPartInst(&top, "U10"));
    ASSERT_TRUE(u10);
    std::unique_ptr<IPhysPin> en(u10->getPhysPin("3"));
    std::unique_ptr<IPhysNet> enNet(en->physNet());
    ASSERT_TRUE(enNet);
    EXPECT_STREQ(enNet->name(), "EN");
    EXPECT_EQ(enNet->netBit().net(), d->findNet("EN"));
}

TEST(Library, BadPartFilesAreRefusedWithTheirLine) {
    struct Case {
        const char* body;
        int line;
        const char* what;
    };
    const Case cases[] = {
        {"pin 1 A - input 0\n", 2, "expected a part line"},
        {"part P\npin 1 A - input 0\npin 1 B - input 0\n", 4, "twice"},
        {"part P\npin 1 A - sideways 0\n", 3, "unknown pin type"},
        {"part P\npin 1 A<x> - input 0\n", 3, "bad logical pin name"},
        {"part P\npin 1 A - input -2\n", 3, "bad swap group"},
        {"part P\npower 1 VDD VCC sometimes\n", 3, "power|ground"},
        {"part P\nsection S\nsection S\n", 4, "twice"},
        {"part P\npart Q\n", 3, "second part"},
        {"part P\nmodel\n", 3, "model takes a name"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir.str("library.rmx"), "rmx-library 1\nlibrary work\n");
        writeFile(dir.str("p.part"), std::string("rmx-part 1\n") + c.body);
        IServer s;
        CString err;
        EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err)) << c.body;
        std::string e = err.str();
        EXPECT_NE(e.find("p.part:" + std::to_string(c.line) + ":"), std::string::npos) << e;
        EXPECT_NE(e.find(c.what), std::string::npos) << e;
    }
}

TEST(Library, ANulByteInANameRefusesTheFileInsteadOfCuttingTheName) {
    using namespace std::string_literals;
    // A part saved under the cut name would go to a file the next load does not read.
    const std::pair<std::string, std::string> cases[] = {
        {"rmx-part 1\npart P\0X\npin 1 A - input 0\n"s, "p.part:2: a NUL byte"},
        {"rmx-part 1\npart P\npin 1 A\0B - input 0\n"s, "p.part:3: a NUL byte"}};
    for (const auto& [body, where] : cases) {
        TempDir dir;
        writeFile(dir.str("library.rmx"), "rmx-library 1\nlibrary work\n");
        writeFile(dir.str("p.part"), body);
        IServer s;
        CString err;
        EXPECT_FALSE(s.loadLibrary(dir.str().c_str(), err));
        EXPECT_NE(err.str().find(where), std::string::npos) << err.str();
    }
}
