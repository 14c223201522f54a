#include "kxassoccomp/CKXAssocCompAPI.h"

#include "afx/afxanswer.h"
#include "afx/afxcoll.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "rmx/DesignBuilder.h"
#include "rmx/rmx.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

class AssocCompTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetAnswerQueue().Reset();
        CKXImpClipBoard::Reset();
        rmx::DesignBuilder b(&m_server, "work");
        b.symbol("part").port("A").port("B").port("C").bus("D", 3, 0);
        b.schematic("board")
            .instance("U1", "part", "U1")
            .net("N1")
            .net("N2")
            .net("VCC")
            .net("GND")
            .net("DATA", 3, 0)
            .connect("U1", "A", "N1")
            .connect("U1", "B", "N2")
            .connect("U1", "C", "N2")
            .connect("U1", "D<3..0>", "DATA<3..0>")
            .alias("N1", "N2");
        ASSERT_TRUE(b.ok()) << b.error();
        m_design = b.context();
        m_u1 = m_design.design()->findInstance("U1");
        ASSERT_NE(m_u1, nullptr);
        ASSERT_TRUE(InitKXAssocCompDLL());
    }
    void TearDown() override {
        AfxGetAnswerQueue().Reset();
        CKXImpClipBoard::Reset();
    }

    CInstTermBit pin(const char* name, int bit = -1) { return CInstTermBit(m_u1->findInstTerm(name), bit); }
    CNetBit net(const char* name, int bit = -1) { return CNetBit(m_design.design()->findNet(name), bit); }

    void configure(CKXAssocCompAPI& api, CTransaction* tx) {
        api.setServer(&m_server);
        api.setDesignContext(m_design);
        api.setHierarchyDesignContext(m_design);
        api.setTransaction(tx, false);
    }

    // Adds a termination of the type on the pin bit and commits; returns the committed transaction's text.
    // Chooses the termination type (with its setup's values) and the pin bit it goes on.
    static void chooseTermination(CKXAssocCompAPI& api, const char* type, const CInstTermBit& bit) {
        api.m_strTerminationType = type;
        api.getLCVPropFromSetup(true);
        api.setInstTermBit(bit);
    }

    std::string addTermination(const char* type, const CInstTermBit& bit) {
        CTransaction tx(m_design, "Add Termination");
        CKXAssocCompAPI api;
        configure(api, &tx);
        api.setKindOfOperation(1);
        api.m_strTerminationType = type;
        api.getLCVPropFromSetup(true);
        api.readSignals();
        api.setInstTermBit(bit);
        EXPECT_EQ(api.AddTermination(0), 1) << api.GetLastError().GetString();
        EXPECT_TRUE(api.CommitTransactionOnApply("Add Termination"));
        return tx.toString().str();
    }

    IDTInstance* terminationOn(const CInstTermBit& bit) {
        CKXAssocCompAPI api;
        api.setInstTermBit(bit);
        return api.getAssociatedInstance(1);
    }

    IServer m_server;
    CDesignContext m_design;
    IInstance* m_u1 = nullptr;
};

TEST_F(AssocCompTest, TerminationAddedShownEditedDeletedInTransactions) {
    addTermination("Series", pin("A"));
    IDTInstance* term = terminationOn(pin("A"));
    ASSERT_NE(term, nullptr);
    EXPECT_STREQ(term->typeName(), "Series");

    CKXAssocCompAPI api;
    api.setInstTermBit(pin("A"));
    EXPECT_EQ(api.getAppliedAssocCompType(1), "Series");
    EXPECT_NE(api.getDisplayText(1).Find("R1 33"), -1) << api.getDisplayText(1).GetString();
    EXPECT_TRUE(terminationOn(pin("B")) == nullptr);
    EXPECT_TRUE(api.getAppliedAssocCompType(1).IsEmpty() == FALSE);

    {
        CTransaction tx(m_design, "Edit Termination");
        configure(api, &tx);
        api.setInstTermBit(pin("A"));
        std::set<CString> refs{"R1"};
        std::map<CString, CString> renames{{"R1", "R9"}};
        CString delay = "1.5ns", high, low;
        KXPropListMap keys{{"R1", {"TOL=1%"}}}, insts;
        ASSERT_EQ(api.EditTermination(refs, renames, delay, high, low, keys, insts, 1), 1)
            << api.GetLastError().GetString();
        ASSERT_TRUE(tx.commit());
    }
    CString text = api.getDisplayText(1);
    EXPECT_NE(text.Find("R9 33"), -1) << text.GetString();
    EXPECT_NE(text.Find("delay 1.5ns"), -1);

    {
        CTransaction tx(m_design, "Delete Termination");
        configure(api, &tx);
        api.setInstTermBit(pin("A"));
        ASSERT_TRUE(api.deleteAssocCompInstance(1));
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(terminationOn(pin("A")), nullptr);
    CKXAssocCompAPI fresh;
    fresh.setInstTermBit(pin("A"));
    EXPECT_FALSE(fresh.deleteAssocCompInstance(1)); // no transaction, nothing there
}

TEST_F(AssocCompTest, TerminationUndoneAndRedone) {
    std::string text = addTermination("Thevenin", pin("D", 2));
    ASSERT_NE(terminationOn(pin("D", 2)), nullptr);
    {
        CTransaction undo(&m_server, text.c_str(), true, false);
        ASSERT_TRUE(undo.isValid());
        ASSERT_TRUE(undo.commit());
    }
    EXPECT_EQ(terminationOn(pin("D", 2)), nullptr);
    {
        CTransaction redo(&m_server, text.c_str(), true, true);
        ASSERT_TRUE(redo.commit());
    }
    IDTInstance* again = terminationOn(pin("D", 2));
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again->typeName(), "Thevenin");
    CKXAssocCompAPI api;
    api.setInstTermBit(pin("D", 2));
    EXPECT_NE(api.getDisplayText(1).Find("R1 100, R2 100"), -1) << api.getDisplayText(1).GetString();
}

TEST_F(AssocCompTest, DesignatorsStayUniqueAcrossInterleavedCallers) {
    CTransaction tx(m_design, "Add Termination");
    CKXAssocCompAPI a, b;
    for (CKXAssocCompAPI* api : {&a, &b}) {
        configure(*api, &tx);
        api->m_strTerminationType = "Thevenin";
        api->getLCVPropFromSetup(true);
    }
    const std::pair<CKXAssocCompAPI*, CInstTermBit> steps[] = {
        {&a, pin("D", 3)}, {&b, pin("A")}, {&a, pin("D", 2)}, {&b, pin("B")}, {&a, pin("D", 1)}};
    for (const auto& [api, bit] : steps) {
        api->setInstTermBit(bit);
        ASSERT_EQ(api->AddTermination(0), 1) << api->GetLastError().GetString();
    }
    // A rename by one caller is seen by the other.
    b.setInstTermBit(pin("B"));
    std::set<CString> none;
    std::map<CString, CString> renames{{"R7", "R11"}};
    CString d, h, l;
    KXPropListMap k, i;
    ASSERT_EQ(b.EditTermination(none, renames, d, h, l, k, i, 1), 1) << b.GetLastError().GetString();
    a.setInstTermBit(pin("D", 0));
    ASSERT_EQ(a.AddTermination(0), 1);
    ASSERT_TRUE(tx.commit());

    std::set<std::string> seen;
    for (IDTInstance* dt : m_design.design()->beginDTInstance()) {
        CKXAssocCompAPI q;
        q.getLCVPropFromInstance(dt);
        std::vector<CString> ids;
        q.getSlotIds(ids);
        EXPECT_EQ(ids.size(), 2u);
    }
    for (const char* p : {"A", "B"}) {
        CKXAssocCompAPI q;
        q.setInstTermBit(pin(p));
        std::string text = q.getDisplayText(1).str();
        for (const char* r :
             {"R1 ", "R2 ", "R3 ", "R4 ", "R5 ", "R6 ", "R7 ", "R8 ", "R9 ", "R10 ", "R11 ", "R12 "})
            if (text.find(r) != std::string::npos) {
                EXPECT_TRUE(seen.insert(r).second) << r << " twice";
            }
    }
    for (int bit = 0; bit < 4; ++bit) {
        CKXAssocCompAPI q;
        q.setInstTermBit(pin("D", bit));
        std::string text = q.getDisplayText(1).str();
        for (const char* r :
             {"R1 ", "R2 ", "R3 ", "R4 ", "R5 ", "R6 ", "R7 ", "R8 ", "R9 ", "R10 ", "R11 ", "R12 "})
            if (text.find(r) != std::string::npos) {
                EXPECT_TRUE(seen.insert(r).second) << r << " twice";
            }
    }
    EXPECT_EQ(seen.size(), 12u);
}

TEST_F(AssocCompTest, DiscardedTransactionLeavesNoTermination) {
    CTransaction tx(m_design, "Add Termination");
    CKXAssocCompAPI api;
    configure(api, &tx);
    chooseTermination(api, "Shunt", pin("A"));
    ASSERT_EQ(api.AddTermination(0), 1);
    EXPECT_NE(terminationOn(pin("A")), nullptr); // visible inside the transaction
    tx.discard();
    EXPECT_EQ(terminationOn(pin("A")), nullptr);
}

// With a caller's commit hand the library commits nothing itself: the hand gets the step's name and
// decides (a refusal is the library's refusal); without one it commits the transaction it was given.
namespace commithand {
std::vector<CString> asked;
BOOL answer = TRUE;
BOOL hand(CString name) {
    asked.push_back(name);
    return answer;
}
} // namespace commithand

TEST_F(AssocCompTest, CommitOnApplyGoesToTheCallersHand) {
    CTransaction tx(m_design, "Delete Termination");
    CKXAssocCompAPI api;
    configure(api, &tx);
    chooseTermination(api, "Shunt", pin("A"));
    ASSERT_EQ(api.AddTermination(0), 1);
    commithand::asked.clear();
    commithand::answer = TRUE;
    api.InitCKXCommit(&commithand::hand);
    api.m_bAppliedInDialog = true;
    EXPECT_TRUE(api.CommitTransactionOnApply("Delete Termination"));
    EXPECT_EQ(commithand::asked, std::vector<CString>{CString("Delete Termination")});
    EXPECT_TRUE(tx.hasPendingChanges()) << "the library committed behind its caller";
    EXPECT_FALSE(api.m_bAppliedInDialog);
    commithand::answer = FALSE;
    EXPECT_FALSE(api.CommitTransactionOnApply("Edit Pupd"));
    EXPECT_FALSE(api.GetLastError().IsEmpty());
    EXPECT_TRUE(tx.hasPendingChanges());
    api.Initialize(); // the hand stays with the object, as the transaction hand does
    EXPECT_EQ(api.GetCommitCallBack(), &commithand::hand);
    configure(api, &tx);
    api.InitCKXCommit(nullptr);
    EXPECT_TRUE(api.CommitTransactionOnApply("Add Termination"));
    EXPECT_FALSE(tx.hasPendingChanges());
    EXPECT_NE(terminationOn(pin("A")), nullptr);
}

TEST_F(AssocCompTest, TerminationRefusals) {
    addTermination("Series", pin("A"));
    CTransaction tx(m_design, "Add Termination");
    CKXAssocCompAPI api;
    configure(api, &tx);
    chooseTermination(api, "Series", pin("A"));
    EXPECT_EQ(api.AddTermination(0), 0); // already terminated
    EXPECT_FALSE(api.GetLastError().IsEmpty());
    api.m_bHasExistingTermination = true; // the caller asked to replace it
    EXPECT_EQ(api.AddTermination(0), 1);

    chooseTermination(api, "NoSuchType", pin("B"));
    EXPECT_EQ(api.AddTermination(0), 0);

    api.m_strTerminationType = "ShuntRC";
    api.getLCVPropFromSetup(true);
    std::vector<CString> ids;
    api.getSlotIds(ids);
    EXPECT_EQ(ids, (std::vector<CString>{"R", "C"}));
    EXPECT_EQ(api.getComponentCount(), 2);
    EXPECT_EQ(api.AddTerminationInstance("X", "l", "c", "v", "", "1", nullptr, nullptr, nullptr), 0);
    CStringArray bad;
    bad.Add("novalue");
    EXPECT_EQ(api.AddTerminationInstance("C", "l", "c", "v", "", "1", nullptr, &bad, nullptr), 0);
    EXPECT_EQ(
        api.AddTerminationInstance("C", "lib", "cap", "sym", "C0402", "10pF", nullptr, nullptr, nullptr), 1);
    api.setInstTermBit(pin("B"));
    EXPECT_EQ(api.AddTermination(0), 1);
    EXPECT_NE(api.getDisplayText(1).Find("10pF"), -1);

    CKXAssocCompAPI noTx;
    noTx.m_strTerminationType = "Series";
    noTx.getLCVPropFromSetup(true);
    noTx.setInstTermBit(pin("C"));
    EXPECT_EQ(noTx.AddTermination(0), 0);
}

TEST_F(AssocCompTest, PullupAddedWithAliasInheritanceEditedAndDeleted) {
    {
        CTransaction tx(m_design, "Add PUPD");
        CKXAssocCompAPI api;
        configure(api, &tx);
        api.setKindOfOperation(2);
        ASSERT_GT(api.readSignals(), 0);
        CStringArray k, i;
        EXPECT_EQ(api.AddPupdInstance("pullup", "", "", "", "", "10k", k, i, "NOSUCHNET"), 0);
        ASSERT_EQ(api.AddPupdInstance("pullup", "", "", "", "", "10k", k, i, "VCC"), 1);
        api.setNetBit(net("N1"));
        CKXAssocCompAPI::bApplyPUPDDump = 1;
        ASSERT_TRUE(api.ApplyPupd(false, false)) << api.GetLastError().GetString();
        CKXAssocCompAPI::bApplyPUPDDump = 0;
        EXPECT_FALSE(api.ApplyPupd(false, false)); // a second pull-up on the same bit is refused
        ASSERT_TRUE(api.CommitTransactionOnApply("Add Pupd"));
    }
    CKXAssocCompAPI api;
    bool lu = false, ld = false, au = false, ad = false;
    api.GetPupdInfoOnThisNet(m_design.net("N1").bitContext(-1), lu, ld, au, ad);
    EXPECT_TRUE(lu);
    EXPECT_FALSE(ld || au || ad);
    lu = ld = au = ad = false;
    api.GetPupdInfoOnThisNet(m_design.net("N2").bitContext(-1), lu, ld, au, ad);
    EXPECT_TRUE(au) << "the pull-up of the aliased net shows as inherited";
    EXPECT_FALSE(lu || ld || ad);

    api.setNetBit(net("N1"));
    std::vector<IDTInstance*> list;
    ASSERT_EQ(api.getMultipleAssociatedInstance(2, list), 1);
    EXPECT_STREQ(list[0]->typeName(), "Pullup");
    EXPECT_NE(api.getDisplayText(2).Find("to VCC"), -1);

    {
        CTransaction tx(m_design, "Edit Pupd");
        configure(api, &tx);
        CStringArray k;
        k.Add("POWER=0.1W");
        EXPECT_EQ(api.EditPupd(net("N1"), "R99", "", "", &k, nullptr), 0); // no such component
        ASSERT_EQ(api.EditPupd(net("N1"), "R1", "R20", "GND", &k, nullptr), 1)
            << api.GetLastError().GetString();
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_NE(api.getDisplayText(2).Find("R20 10k to GND"), -1) << api.getDisplayText(2).GetString();
    {
        CTransaction tx(m_design, "Delete Pupd");
        configure(api, &tx);
        EXPECT_EQ(api.DeletePupd(net("N1"), "R1"), 0);
        EXPECT_EQ(api.DeletePupd(net("N1"), std::set<CString>{"R 1"}), 0);
        EXPECT_EQ(api.DeletePupd(net("N1"), std::set<CString>{"r20"}), 1);
        ASSERT_TRUE(tx.commit());
    }
    lu = ld = au = ad = false;
    api.GetPupdInfoOnThisNet(m_design.net("N2").bitContext(-1), lu, ld, au, ad);
    EXPECT_FALSE(au);
}

TEST_F(AssocCompTest, PullupUndoneAndRedoneKeepsAliasView) {
    std::string text;
    {
        CTransaction tx(m_design, "Add PUPD");
        CKXAssocCompAPI api;
        configure(api, &tx);
        CStringArray k, i;
        ASSERT_EQ(api.AddPupdInstance("pulldown", "", "", "", "", "", k, i, "GND"), 1);
        api.setNetBit(net("N2"));
        ASSERT_TRUE(api.ApplyPupd(true, false)) << api.GetLastError().GetString();
        text = tx.toString().str();
    }
    auto flags = [&](const char* name) {
        bool f[4] = {false, false, false, false};
        CKXAssocCompAPI api;
        api.GetPupdInfoOnThisNet(m_design.net(name).bitContext(-1), f[0], f[1], f[2], f[3]);
        return std::vector<bool>(f, f + 4);
    };
    EXPECT_EQ(flags("N2"), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(flags("N1"), (std::vector<bool>{false, false, false, true}));
    {
        CTransaction undo(&m_server, text.c_str(), true, false);
        ASSERT_TRUE(undo.commit());
    }
    EXPECT_EQ(flags("N2"), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(flags("N1"), (std::vector<bool>{false, false, false, false}));
    {
        CTransaction redo(&m_server, text.c_str(), true, true);
        ASSERT_TRUE(redo.commit());
    }
    EXPECT_EQ(flags("N1"), (std::vector<bool>{false, false, false, true}));
}

TEST_F(AssocCompTest, CommonPullupSharesOneDesignator) {
    CTransaction tx(m_design, "Add PUPD");
    KXAssocAutomation automation(&m_server);
    configure(automation, &tx);
    ASSERT_EQ(automation.InitPUPD("pulldown GND"), 1);
    ASSERT_EQ(automation.InitPUPD("sideways"), 0);
    AfxGetAnswerQueue().PushDialog(
        "CKXPupdDlg", TRUE, {{"type", "pulldown"}, {"dcnet", "GND"}, {"value", "1k"}, {"mode", "common"}});
    automation.setNetBit(net("DATA", 3));
    ASSERT_TRUE(automation.invokePUPDDialog(false)) << automation.GetLastError().GetString();
    EXPECT_EQ(automation.GetPupdModeSelected(), PUPD_MODE_COMMON);
    automation.setNetBit(net("DATA", 2));
    ASSERT_TRUE(automation.ApplyPupd(false, false));
    ASSERT_TRUE(tx.commit());
    automation.setNetBit(net("DATA", 3));
    CString first = automation.getDisplayText(2);
    automation.setNetBit(net("DATA", 2));
    EXPECT_EQ(automation.getDisplayText(2), first);
    EXPECT_NE(first.Find("R1 1k to GND"), -1) << first.GetString();
}

TEST_F(AssocCompTest, ScriptedTerminationDialogAppliesInTheCallbacksTransaction) {
    static CTransaction* handedOut = nullptr;
    static int calls = 0;
    CTransaction tx(m_design, "Add Termination");
    handedOut = &tx;
    calls = 0;
    CKXAssocCompAPI api;
    configure(api, nullptr);
    api.InitCKXTransaction([](CString) -> CTransaction* {
        ++calls;
        return handedOut;
    });
    api.setInstTermBit(pin("B"));
    bool stop = true;
    EXPECT_FALSE(api.invokeTerminationDialog(stop, false, true)); // unanswered: cancelled
    AfxGetAnswerQueue().PushDialog("CKXTerminationDlg", TRUE, {{"type", "DualClampDiode"}, {"high", "VCC"}});
    ASSERT_TRUE(api.invokeTerminationDialog(stop, false, true)) << api.GetLastError().GetString();
    EXPECT_FALSE(stop);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(api.m_bAppliedInDialog);
    ASSERT_TRUE(tx.commit());
    EXPECT_EQ(api.getAppliedAssocCompType(1), "DualClampDiode");
    EXPECT_NE(api.getDisplayText(1).Find("high VCC"), -1);

    // The dialog on a pin that has a termination changes it (the user saw it there).
    CTransaction tx2(m_design, "Edit Termination");
    handedOut = &tx2;
    AfxGetAnswerQueue().PushDialog("CKXTerminationDlg", TRUE, {{"type", "Series"}, {"value0", "22"}});
    ASSERT_TRUE(api.invokeTerminationDialog(stop, false, true)) << api.GetLastError().GetString();
    ASSERT_TRUE(tx2.commit());
    EXPECT_EQ(api.getAppliedAssocCompType(1), "Series");
    std::vector<IDTInstance*> all;
    EXPECT_EQ(api.getMultipleAssociatedInstance(1, all), 1);
}

TEST_F(AssocCompTest, ClipboardRoundTripOfATermination) {
    addTermination("Series", pin("A"));
    IDTInstance* term = terminationOn(pin("A"));
    ASSERT_NE(term, nullptr);
    CKXImpClipBoard::StartCopying();
    CString entry = CKXImpClipBoard::CopyAssocComponents(m_design, -1, term, 1);
    EXPECT_NE(entry.Find("Series"), -1);
    CKXImpClipBoard::CopyCFText("TERM1\r\n");
    CKXImpClipBoard::EndCopying();
    ASSERT_TRUE(CKXImpClipBoard::PutTextOnClipBoard(1, 1));
    ASSERT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_TERMINATIONS);
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, TRUE, FALSE, 0, 0, 0, 1));
    CString buffer, t1, t2, t3;
    CKXImpClipBoard::GetTerminationBuffer(buffer);
    int kind = 0, number = 0;
    ASSERT_GT(CKXImpClipBoard::GetAssocCompInfo(buffer, kind, number, t1, t2, t3), 0);

    CTransaction tx(m_design, "Paste");
    EXPECT_EQ(CKXImpClipBoard::PasteAssocComponents(&tx, pin("C"), nullptr, CNetBit(), CInstanceContext(), t3,
                                                    t1, t2, "", kind, 0),
              1);
    // Malformed component data is refused and nothing is created.
    EXPECT_EQ(CKXImpClipBoard::PasteAssocComponents(&tx, pin("B"), nullptr, CNetBit(), CInstanceContext(),
                                                    "type=Series;slots=9x", t1, t2, "", kind, 0),
              0);
    // The texts may come in another order (the matrix hands the name first).
    EXPECT_EQ(CKXImpClipBoard::PasteAssocComponents(&tx, pin("D", 0), nullptr, CNetBit(), CInstanceContext(),
                                                    "TERM1", t1, t2, t3, kind, 0),
              1);
    ASSERT_TRUE(tx.commit());
    EXPECT_NE(terminationOn(pin("D", 0)), nullptr);
    IDTInstance* pasted = terminationOn(pin("C"));
    ASSERT_NE(pasted, nullptr);
    EXPECT_STREQ(pasted->typeName(), "Series");
    EXPECT_NE(pasted, term);
    EXPECT_EQ(terminationOn(pin("B")), nullptr);
    CKXAssocCompAPI api;
    api.setInstTermBit(pin("C"));
    EXPECT_EQ(api.getDisplayText(1).Find("R1 "), -1) << "a pasted component gets its own designator";
}

TEST_F(AssocCompTest, RandomComponentDataIsRefusedWithoutHarm) {
    std::mt19937 rng(7);
    const std::string valid = "type=Series;slots=1;0.id=R;0.lib=l;0.cell=c;0.view=v;0.value=33";
    const std::string alphabet = "=;\\.0123456789idtypeslotsSeriesR";
    CTransaction tx(m_design, "Paste");
    int created = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string data = valid;
        for (int e = 0; e < 1 + static_cast<int>(rng() % 3) && !data.empty(); ++e) {
            size_t at = rng() % data.size();
            if (rng() % 2)
                data[at] = alphabet[rng() % alphabet.size()];
            else
                data.erase(at, 1 + rng() % 4);
        }
        // Pasted onto a pin that has no termination; any result is fine as long as nothing breaks.
        int r = CKXImpClipBoard::PasteAssocComponents(&tx, pin("D", static_cast<int>(round % 4)), nullptr,
                                                      CNetBit(), CInstanceContext(), data.c_str(), "", "", "",
                                                      1, 0);
        created += r;
        if (r) tx.discard();
    }
    tx.discard();
    EXPECT_EQ(terminationOn(pin("D", 0)), nullptr);
    EXPECT_GE(created, 0);
}

TEST_F(AssocCompTest, DelayChangeAndShowPupdDialog) {
    addTermination("Series", pin("A"));
    {
        CTransaction tx(m_design, "Change Termination RefDes");
        CKXAssocCompAPI api;
        configure(api, &tx);
        api.setInstTermBit(pin("A"));
        api.getLCVPropFromInstance(api.getAssociatedInstance(1));
        api.setDelayConstraint("2ns");
        ASSERT_TRUE(api.ApplyDelayChanges(1));
        ASSERT_TRUE(tx.commit());
        EXPECT_NE(api.getDisplayText(1).Find("delay 2ns"), -1);
    }
    {
        CTransaction tx(m_design, "Add PUPD");
        CKXAssocCompAPI api;
        configure(api, &tx);
        CStringArray k, i;
        ASSERT_EQ(api.AddPupdInstance("pullup", "", "", "", "", "", k, i, "VCC"), 1);
        api.setNetBit(net("N1"));
        ASSERT_TRUE(api.ApplyPupd(false, false));
        ASSERT_TRUE(tx.commit());
    }
    CTransaction tx(m_design, "Edit Pupd");
    CKXAssocCompAPI api;
    configure(api, &tx);
    const CNetBitContext n1 = m_design.net("N1").bitContext(-1);
    EXPECT_EQ(ShowPupdDlg(&api, m_design, m_design, n1, FALSE), KXPupdDialogResult::Cancelled); // unanswered
    // An answer the edit refuses is no cancel: the caller says why, and nothing changed.
    AfxGetAnswerQueue().PushDialog("CKXPupdEditDlg", TRUE, {{"action", "edit"}, {"name", "PU1"}, {"dcnet", "NOSUCH"}});
    EXPECT_EQ(ShowPupdDlg(&api, m_design, m_design, n1, FALSE), KXPupdDialogResult::Refused);
    EXPECT_NE(api.GetLastError().Find("NOSUCH"), -1);
    AfxGetAnswerQueue().PushDialog("CKXPupdEditDlg", TRUE, {{"action", "delete"}, {"name", "PU1"}});
    EXPECT_EQ(ShowPupdDlg(&api, m_design, m_design, n1, FALSE), KXPupdDialogResult::Accepted);
    ASSERT_TRUE(tx.commit());
    api.setNetBit(net("N1"));
    EXPECT_EQ(api.getAssociatedInstance(2), nullptr);
}

} // namespace

namespace {

TEST(AssocCompCommands, ScriptCommandsQuoteEveryValue) {
    KXAssocAutomation automation(nullptr);
    ASSERT_EQ(automation.InitTermination("Series"), 1);
    ASSERT_EQ(automation.AddTerminationInstance("R", "my lib", "res[1]", "sym", "", "3$3", nullptr, nullptr,
                                                nullptr),
              1);
    automation.setDelayConstraint("1 ns; exit");
    automation.SendAddTermCommand(); // no host window here: only the text is made
    EXPECT_EQ(automation.GetLastCommandText(), "addTermination pin -type Series -part1 -lib \"my lib\" -cell "
                                               "\"res\\[1\\]\" -view sym -physname \"\" -value \"3\\$3\" "
                                               "-delay \"1 ns; exit\"");
    // The type alone names no DC net: it is refused where it is prepared, and nothing is left to add.
    EXPECT_EQ(automation.InitPUPD("pulldown"), 0);
    EXPECT_NE(automation.GetLastError().Find("DC net"), -1);
    EXPECT_FALSE(automation.SendAddPupdCommand(1, 0, 0));
}

TEST(AssocCompCommands, AutomationObjectAnswersByName) {
    KXAssocAutomation automation(nullptr);
    ASSERT_NE(automation.GetIDispatch(FALSE), nullptr);
    EXPECT_GE(automation.GetDispIdOfName("initpupd"), 0);
    EXPECT_GE(automation.GetDispIdOfName("InitTermination"), 0);
    EXPECT_EQ(automation.GetDispIdOfName("Nothing"), -1);
    COleVariant result;
    ASSERT_EQ(
        AfxInvokeByName(automation.GetIDispatch(FALSE), "InitTermination", {COleVariant("Shunt")}, &result),
        S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 1);
    EXPECT_EQ(automation.m_strTerminationType, "Shunt");
}

} // namespace

namespace {

// The example board stores its resistors as "PullUp" and "PullDown": they read as pull-ups and pull-downs,
// locally on their nets and inherited through an alias.
TEST(AssocCompExample, PullUpsOfTheExampleBoardReadWhateverTheirCase) {
    const char* src = std::getenv("KX_TEST_SOURCE_DIR");
    const std::string folder = std::string(src ? src : ".") + "/examples/designs";
    IServer server;
    CString error;
    ASSERT_TRUE(server.loadLibrary(folder.c_str(), error)) << error.GetString();
    IDesign* board = server.findDesign("demo.board:sch");
    ASSERT_NE(board, nullptr);
    CDesignContext design(&server, board);
    CKXAssocCompAPI api;
    auto info = [&](const char* net) {
        bool lu = false, ld = false, au = false, ad = false;
        api.GetPupdInfoOnThisNet(design.net(net).bitContext(-1), lu, ld, au, ad);
        return std::string(lu ? "U" : "-") + (ld ? "D" : "-") + (au ? "u" : "-") + (ad ? "d" : "-");
    };
    EXPECT_EQ(info("RESET_N"), "U---");
    EXPECT_EQ(info("EN"), "-D--");
    EXPECT_EQ(info("RST_IN"), "--u-"); // joined to RESET_N
    EXPECT_EQ(info("MCLK"), "----");
}

// What the automation object is handed back as text is the component that was prepared, values included.
TEST(AssocCompCommands, PreparedTextsRoundTripThroughTheAutomationObject) {
    KXAssocAutomation first(nullptr);
    ASSERT_EQ(first.InitTermination("ShuntRC"), 1);
    ASSERT_EQ(first.AddTerminationInstance("C", "discrete", "cap", "sym", "C0402", "22pF", nullptr, nullptr,
                                           nullptr),
              1);
    first.setDelayConstraint("2ns");
    first.SendAddTermCommand();
    KXAssocAutomation second(nullptr);
    ASSERT_EQ(second.InitTermination(first.GetPreparedText(1)), 1);
    EXPECT_EQ(second.m_strTerminationType, "ShuntRC");
    second.SendAddTermCommand();
    EXPECT_EQ(second.GetLastCommandText(), first.GetLastCommandText());
    EXPECT_NE(second.GetLastCommandText().Find("-value 22pF"), -1);
    EXPECT_EQ(second.InitTermination("type=Nothing;slots=0"), 0);

    CStringArray k, i;
    ASSERT_EQ(first.InitPUPD("pulldown"), 0);
    ASSERT_EQ(first.AddPupdInstance("PullDown", "", "", "", "", "1k", k, i, "GND"), 0); // no signals read
    KXAssocAutomation pupd(nullptr);
    EXPECT_EQ(pupd.InitPUPD("type=Pullup;slots=1;0.id=R;0.value=2k;dcnet=VCC;mode=common"), 1);
    pupd.SendAddPupdCommand(1, 0, 0);
    EXPECT_EQ(pupd.GetLastCommandText().Left(24), "addPupd pin -type pullup");
    EXPECT_NE(pupd.GetLastCommandText().Find("-value 2k"), -1);
    EXPECT_NE(pupd.GetLastCommandText().Find("-common"), -1);
    EXPECT_EQ(pupd.InitPUPD("type=Pullup;slots=1;0.id=R"), 0); // no DC net
}

} // namespace

namespace {

KXHeldDesignators g_held;
const KXHeldDesignators& heldForTest() {
    return g_held;
}

class HeldDesignatorsTest : public AssocCompTest {
protected:
    void SetUp() override {
        AssocCompTest::SetUp();
        if (HasFatalFailure()) return;
        // A block whose part is R2, placed once on the board and removed again: an undo can bring it back.
        rmx::DesignBuilder b(&m_server, "work");
        b.schematic("blk").instance("RB", "part", "R2");
        ASSERT_TRUE(b.ok()) << b.error();
        CTransaction place(m_design, "Place Block");
        ASSERT_NE(place.createInstance("B1", "work", "blk", "sch"), nullptr);
        ASSERT_TRUE(place.commit());
        CTransaction remove(m_design, "Remove Block");
        ASSERT_TRUE(remove.removeInstance(m_design.design()->findInstance("B1")));
        ASSERT_TRUE(remove.commit());
        const std::string board = m_design.design()->name();
        g_held = KXHeldDesignators{};
        g_held.generation = 1;
        g_held.designators = {{board, "R1"}, {"work.other:sch", "R3"}};
        g_held.masters = {{board, "work.blk:sch"}, {board, "work.part:sym"}};
        g_held.components = {{board, "TERM1"}, {"work.other:sch", "TERM2"}};
        CKXAssocCompAPI::SetDesignatorHold(&heldForTest);
    }
    void TearDown() override {
        CKXAssocCompAPI::SetDesignatorHold(nullptr);
        AssocCompTest::TearDown();
    }
    std::string designatorOn(const CInstTermBit& bit) {
        CKXAssocCompAPI api;
        api.setInstTermBit(bit);
        // "<type>: <designator> <value>..."
        const std::string text = api.getDisplayText(1).GetString();
        const size_t start = text.find(": ") + 2;
        return text.substr(start, text.find(' ', start) - start);
    }
};

} // namespace

// Designators and names an undo can bring back are not taken: those named for the design, and the designators
// of the parts of a removed block; those named for other designs are free. Once nothing is held any more, the
// lowest designators are taken.
TEST_F(HeldDesignatorsTest, NewComponentsLeaveTheDesignatorsAnUndoCanBringBack) {
    addTermination("Series", pin("A"));
    EXPECT_EQ(designatorOn(pin("A")), "R3");
    EXPECT_STREQ(terminationOn(pin("A"))->name(), "TERM2");
    g_held = KXHeldDesignators{};
    g_held.generation = 2;
    addTermination("Series", pin("D", 0));
    addTermination("Series", pin("D", 1));
    EXPECT_EQ(designatorOn(pin("D", 0)), "R1");
    EXPECT_EQ(designatorOn(pin("D", 1)), "R2");
}

// Once no hold is set, nothing is held: also after the design changed some other way, when its designators
// are read again.
TEST_F(HeldDesignatorsTest, WithoutAHoldNothingIsHeldAfterTheDesignIsReadAgain) {
    addTermination("Series", pin("A"));
    EXPECT_EQ(designatorOn(pin("A")), "R3");
    CKXAssocCompAPI::SetDesignatorHold(nullptr);
    CTransaction place(m_design, "Place Part");
    ASSERT_NE(place.createInstance("U2", "work", "part", "sym"), nullptr);
    ASSERT_TRUE(place.commit());
    addTermination("Series", pin("D", 0));
    EXPECT_EQ(designatorOn(pin("D", 0)), "R1");
}

// A component is not renamed to a designator an undo can bring back; to one of its own it is.
TEST_F(HeldDesignatorsTest, AComponentIsNotRenamedToADesignatorAnUndoCanBringBack) {
    addTermination("Series", pin("A"));
    auto rename = [&](const char* from, const char* to) {
        CTransaction tx(m_design, "Edit Termination");
        CKXAssocCompAPI api;
        configure(api, &tx);
        api.setInstTermBit(pin("A"));
        std::set<CString> refs{from};
        std::map<CString, CString> renames{{from, to}};
        CString delay, high, low;
        KXPropListMap keys, insts;
        const int done = api.EditTermination(refs, renames, delay, high, low, keys, insts, 1);
        return done == 1 && tx.commit();
    };
    EXPECT_FALSE(rename("R3", "R1"));
    EXPECT_FALSE(rename("R3", "R2"));
    EXPECT_EQ(designatorOn(pin("A")), "R3");
    g_held.designators.insert({m_design.design()->name(), "R3"});
    ++g_held.generation;
    EXPECT_TRUE(rename("R3", "R3"));
    EXPECT_TRUE(rename("R3", "R7"));
    EXPECT_EQ(designatorOn(pin("A")), "R7");
}
