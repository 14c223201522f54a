#include "kxsmall/CKXCreateBlockDlg.h"
#include "kxsmall/CKXDlgFilterPhys.h"
#include "kxsmall/CPQRedsDictionary.h"
#include "kxsmall/ISysObjectServer.h"

#include "afx/afxanswer.h"
#include "afx/afxcoll.h"
#include "rmx/DesignBuilder.h"
#include "rmx/rmx.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class DesignServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetAnswerQueue().Reset();
        m_dir = fs::temp_directory_path() / ("kxsmall_ds_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "work");
        rmx::DesignBuilder b(&m_server, "work", (m_dir / "work").string());
        b.symbol("part").port("A", ITerm::eDirInput).port("P", ITerm::eDirInout, ITerm::eTermPower);
        b.schematic("blk").schematicPort("A");
        b.schematic("board")
            .instance("U1", "part", "U1")
            .instance("B1", "blk", "", "sch")
            .net("N1")
            .net("N2", 1, 0)
            .connect("U1", "A", "N1")
            .prop("@:N1", "MAX_DELAY", "2ns")
            .prop("@:N1", "COLOR", "red")
            .prop("@:N2", "COLOR", "blue")
            .net("B", 1, 0)
            .net("C", 1, 0)
            .prop("@:B<1>", "SKEW", "5ps");
        ASSERT_TRUE(b.ok()) << b.error();
        m_design = b.context();
    }
    void TearDown() override {
        AfxGetAnswerQueue().Reset();
        fs::remove_all(m_dir);
    }

    std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    IServer m_server;
    CDesignContext m_design;
    fs::path m_dir;
};

TEST_F(DesignServicesTest, ExcludedPathsRoundTripAndBadTextIsRefused) {
    const CString file = (m_dir / "physModule.dat").string().c_str();
    std::vector<CString> list;
    ASSERT_TRUE(ReadExcludedSpathList(m_design, list, file)); // missing file: empty
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(WriteExcludedSpathList(m_design, "@B1\n@B2@B3\n", file));
    EXPECT_EQ(read(file.str()), "@B1\n@B2@B3\n");
    list.push_back("@B1");
    ASSERT_TRUE(ReadExcludedSpathList(m_design, list, file));
    EXPECT_EQ(list, (std::vector<CString>{"@B1", "@B2@B3"})); // no duplicates
    CStringList slist;
    ASSERT_TRUE(ReadExcludedSpathList(m_design, slist, file));
    EXPECT_EQ(slist.GetCount(), 2);

    EXPECT_FALSE(WriteExcludedSpathList(m_design, "@B1\nnot a path\n", file));
    EXPECT_EQ(read(file.str()), "@B1\n@B2@B3\n") << "a refused text leaves the file as it was";
    std::ofstream(file.str()) << "@B1\ngarbage\n";
    std::vector<CString> again{"@X"};
    EXPECT_FALSE(ReadExcludedSpathList(m_design, again, file));
    EXPECT_EQ(again, (std::vector<CString>{"@X"}));
    ASSERT_TRUE(WriteExcludedSpathList(m_design, "", file));
    EXPECT_EQ(read(file.str()), "");
}

TEST_F(DesignServicesTest, FilterDialogAcceptsOnlyBlocks) {
    CKXDlgFilterPhys dlg;
    dlg.SetConfFile((m_dir / "physModule.dat").string().c_str());
    dlg.SetDesignContext(m_design);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    AfxGetAnswerQueue().PushDialog("CKXDlgFilterPhys", TRUE, {{"paths", "@U1\n"}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL); // a part, not a block
    AfxGetAnswerQueue().PushDialog("CKXDlgFilterPhys", TRUE, {{"paths", "@B1\r\n\n"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetExcSPathList(), "@B1\n");
    AfxGetAnswerQueue().PushDialog("CKXDlgFilterPhys", TRUE, {{"paths", ""}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.GetExcSPathList().IsEmpty());
}

TEST_F(DesignServicesTest, SaveAsBlockCopiesTheDesign) {
    CKXCreateBlockDlg dlg;
    dlg.SetDesignContext(m_design);
    dlg.SetMode(2);
    dlg.SetViewName("sch");
    AfxGetAnswerQueue().PushDialog("CKXCreateBlockDlg", TRUE, {{"library", "work"}, {"block", "board2"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetSelectedLib(), "work");
    CStringArray a, b;
    ASSERT_EQ(
        dlg.CreateSubProject(1, dlg.GetSelectedLib(), dlg.GetBlockName(), "", "", "", 0, 0, 0, 0, 0, 0, a, b),
        1)
        << dlg.GetLastError().GetString();
    EXPECT_TRUE(fs::exists(m_dir / "work" / "board2.sch.design"));
    // The new block is a design of the session at once.
    IDesign* copy = m_server.findDesign("work", "board2", "sch");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->findNet("N1"), nullptr);
    EXPECT_EQ(dlg.CreateSubProject(1, "work", "bad name!", "", "", "", 0, 0, 0, 0, 0, 0, a, b), 0);
    EXPECT_FALSE(dlg.GetLastError().IsEmpty());
    // A library the session has not loaded is no place for a block: nothing is made.
    EXPECT_EQ(dlg.CreateSubProject(1, "copies", "board3", "", "", "", 0, 0, 0, 0, 0, 0, a, b), 0);
    EXPECT_NE(std::string(dlg.GetLastError().GetString()).find("copies"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_dir / "copies"));
    CKXCreateBlockDlg none;
    EXPECT_EQ(none.CreateSubProject(1, "work", "x", "", "", "", 0, 0, 0, 0, 0, 0, a, b), 0);
}

TEST_F(DesignServicesTest, SystemObjectNamesOfPinBits) {
    ISysObjectServer* s = ISysObjectServer::GetSysObjectServer();
    ASSERT_NE(s, nullptr);
    CInstanceContext u1 = m_design.instance("U1");
    char* name = s->GetSysObjectName(u1.instTerm("A").bitContext(-1));
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Input");
    s->FreeName(name);
    name = s->GetSysObjectName(u1.instTerm("P").bitContext(-1));
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Power");
    s->FreeName(name);
    EXPECT_EQ(s->GetSysObjectName(CInstTermBitContext()), nullptr);
    EXPECT_EQ(s->GetSysObjectName(99L), nullptr);
    CTransaction tx(m_design, "t");
    EXPECT_FALSE(s->HandleAssociatedInstance(&m_design, nullptr, &tx));
}

TEST_F(DesignServicesTest, MergeCopiesMissingPropertiesOnly) {
    CTransaction tx(m_design, "Merge");
    EXPECT_EQ(CMergeEngine::MergeObjects(&tx, m_design, "N1", "NOPE", 10, 4), 0);
    EXPECT_EQ(CMergeEngine::MergeObjects(&tx, m_design, "N1", "N2", 10, 3), 0);
    ASSERT_EQ(CMergeEngine::MergeObjects(&tx, m_design, "N1", "N2", 10, 4), 1);
    ASSERT_TRUE(tx.commit());
    INet* n2 = m_design.design()->findNet("N2");
    std::unique_ptr<CPQPropertyData> color(n2->findProperty("COLOR"));
    std::unique_ptr<CPQPropertyData> delay(n2->findProperty("MAX_DELAY"));
    ASSERT_TRUE(color && delay);
    EXPECT_STREQ(color->value(), "blue");
    EXPECT_STREQ(delay->value(), "2ns");

    CTransaction tx2(m_design, "Merge bits");
    ASSERT_EQ(CMergeEngine::MergeObjects(&tx2, m_design, "B<1>", "C<0>", 19, 4), 1);
    EXPECT_EQ(CMergeEngine::MergeObjects(&tx2, m_design, "B<1..0>", "C<0>", 19, 4), 0); // one bit each
    ASSERT_TRUE(tx2.commit());
    std::unique_ptr<CPQPropertyData> skew(CNetBit(m_design.design()->findNet("C"), 0).findProperty("SKEW"));
    ASSERT_TRUE(skew);
    EXPECT_STREQ(skew->value(), "5ps");
    std::unique_ptr<CPQPropertyData> none(CNetBit(m_design.design()->findNet("C"), 1).findProperty("SKEW"));
    EXPECT_FALSE(none);
}

TEST_F(DesignServicesTest, DictionaryConsultsTheServer) {
    CPQRedsDictionary* d = CPQRedsDictionary::GetDictionary();
    d->Reset();
    EXPECT_FALSE(d->IsConstraint("MY_RULE", false));
    m_server.propertyDictionary()->addConstraint("MY_RULE");
    d->SetServer(&m_server);
    EXPECT_TRUE(d->IsConstraint("my_rule", false));
    d->Reset();
}

} // namespace
