// The connectivity pane follows committed changes of its design: windows of
// removed components close, renamed ones keep their window, new nets become
// known, and resolved violations become undo steps.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXSortRows.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <string>

namespace {

class PaneChanges : public KXShellFixture {
protected:
    CDesignContext Design() { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    void Show(std::initializer_list<const char*> names) {
        CDesignContext design = Design();
        CKXInstanceContextArray arr;
        for (const char* n : names)
            arr.Add(design.instance(n));
        Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    }
    // One edit, committed as the user's edits are.
    template <class Edit> void Commit(const char* name, Edit edit) {
        CKXGridWnd* grid = Ccp()->PaneGrid();
        ASSERT_NE(grid, nullptr);
        ASSERT_TRUE(CKXTransaction::BeginTrans(grid, Design(), name));
        ASSERT_TRUE(edit(*CKXTransaction::GetCurrentTransactionObj()));
        ASSERT_TRUE(CKXTransaction::CommitTrans(grid, 1, 1));
    }
};

TEST_F(PaneChanges, SubscribedAtTheFirstUpdateWithTheDesignsNets) {
    ASSERT_TRUE(Open());
    EXPECT_TRUE(Ccp()->IsSubscribed());
    EXPECT_TRUE(Ccp()->IsNetRegistered(Design().net("N1").net()->id()));
}

TEST_F(PaneChanges, RemovedComponentsLoseTheirWindowRenamedOnesKeepIt) {
    ASSERT_TRUE(Open());
    Show({"U1", "R1"});
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    CKXGridWnd* u1 = Ccp()->GetShownGrids()[0];
    IInstance* r1 = Design().instance("R1").instance();
    Commit("Rename",
           [&](CTransaction& t) { return t.renameInstance(Design().instance("U1").instance(), "U7"); });
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    EXPECT_EQ(Ccp()->GetShownGrids()[0], u1);
    EXPECT_EQ(std::string(Ccp()->GetShownObjects()[0]), "U7");
    Commit("Remove", [&](CTransaction& t) { return t.removeInstance(r1); });
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_EQ(Ccp()->GetShownGrids()[0], u1);
}

TEST_F(PaneChanges, NetsMadeAndRemovedInOneDesign) {
    ASSERT_TRUE(Open());
    Commit("Add", [&](CTransaction& t) { return t.createNet("NEWNET", -1u, -1u) != nullptr; });
    INet* made = Design().design()->findNet("NEWNET");
    ASSERT_NE(made, nullptr);
    const unsigned id = made->id();
    EXPECT_TRUE(Ccp()->IsNetRegistered(id));
    Commit("Remove", [&](CTransaction& t) { return t.removeNet(made); });
    EXPECT_FALSE(Ccp()->IsNetRegistered(id));
}

TEST_F(PaneChanges, PinOnlyChangesAndOtherMessagesLeaveThePaneAlone) {
    ASSERT_TRUE(Open());
    Show({"U1"});
    EXPECT_EQ(Ccp()->SendMessage(MSG_TRANSACTION_COMMITTED, 0, 0), 0); // no transaction
    const unsigned n1 = Design().net("N1").net()->id();
    Commit("Delete Connections", [&](CTransaction& t) {
        IInstTerm* pin = Design().instance("U1").instance()->findInstTerm("OUT");
        const unsigned whole = static_cast<unsigned>(-1);
        return t.removeConn(Design().design()->findNet("N1"), whole, whole, pin, whole, whole);
    });
    EXPECT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_TRUE(Ccp()->IsNetRegistered(n1));
}

TEST_F(PaneChanges, TwoResolvedViolationsAreTwoUndoSteps) {
    ASSERT_TRUE(Open());
    CTransaction first(Design(), "a"), second(Design(), "b");
    const int before = Ccp()->GetUndoStepCount();
    Ccp()->SendMessage(MSG_VIOLATION_RESOLVED, reinterpret_cast<WPARAM>(&first),
                       reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 2);
    EXPECT_EQ(std::string(Ccp()->GetUndoDescription()), "Resolve Violation");
    Ccp()->SendMessage(MSG_VIOLATION_RESOLVED, 0, 0);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 2);
}

TEST_F(PaneChanges, AssocCompChangesOfThisDesignOnlyAreRecorded) {
    ASSERT_TRUE(Open());
    CTransaction mine(Design(), "a");
    CTransaction other(CDesignContext(CKXShareGlobalData::m_pServer, "work.blk:sch"), "b");
    const int before = Ccp()->GetUndoStepCount();
    Ccp()->SendMessage(MSG_ASSOC_COMP_CHANGED, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before);
    Ccp()->SendMessage(MSG_ASSOC_COMP_CHANGED, 0, reinterpret_cast<LPARAM>(&mine));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 1);
    EXPECT_EQ(std::string(Ccp()->GetUndoDescription()), "Change Assoc Comp");
    Ccp()->SendMessage(MSG_ASSOC_COMP_CHANGED, 0, 0);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 1);
}

} // namespace

namespace {

// The names the pane offers (the Attach Signal combo and the grids' signal drop list) follow the nets.
class PaneNetLists : public PaneChanges {
protected:
    int InCombo(const char* name) {
        const std::vector<CString> entries = Ccp()->GetAttachSignalEntries();
        return static_cast<int>(std::count(entries.begin(), entries.end(), CString(name)));
    }
    int InDropList(const char* name) {
        CListBox* list = Ccp()->GetSignalDropList();
        int n = 0;
        for (int i = 0; list && i < list->GetCount(); ++i) {
            CString text;
            list->GetText(i, text);
            if (text == name) ++n;
        }
        return n;
    }
    int Offered(const char* name) { return InCombo(name) + InDropList(name); }
};

TEST_F(PaneNetLists, ASignalAddedThenUndoneLeavesTheListsAndRedoBringsItBack) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    EXPECT_EQ(Offered("ZZNET"), 2);
    Run("undo");
    EXPECT_EQ(Offered("ZZNET"), 0);
    Run("redo");
    EXPECT_EQ(Offered("ZZNET"), 2);
}

// One new net goes in at its place; a commit of many merges. Either way both lists stay in name order
// (case ignored, equal names in the order they came), each entry carries its net, and the drop list's
// current entry stays on the same name.
TEST_F(PaneNetLists, NewNetsKeepTheListsInOrderWithTheirNets) {
    ASSERT_TRUE(Open());
    CListBox* drop = Ccp()->GetSignalDropList();
    ASSERT_NE(drop, nullptr);
    const int current = drop->FindStringExact(-1, "N1");
    ASSERT_GE(current, 0);
    drop->SetCurSel(current);
    EXPECT_EQ(Run("kx::call AddSignal aaa_first {} {}"), "1");
    EXPECT_EQ(Run("kx::call AddSignal MMM_MID {} {}"), "1");
    Commit("Add", [&](CTransaction& t) {
        for (int i = 0; i < 40; ++i)
            if (!t.createNet(("BULK" + std::to_string(i)).c_str(), -1u, -1u)) return false;
        return true;
    });
    CString text;
    ASSERT_GE(drop->GetCurSel(), 0);
    drop->GetText(drop->GetCurSel(), text);
    EXPECT_EQ(text, CString("N1"));
    for (int i = 1; i < drop->GetCount(); ++i) {
        CString prev, cur;
        drop->GetText(i - 1, prev);
        drop->GetText(i, cur);
        EXPECT_LE(prev.CompareNoCase(cur), 0) << prev.GetString() << " before " << cur.GetString();
    }
    const std::vector<CString> combo = Ccp()->GetAttachSignalEntries();
    for (size_t i = 1; i < combo.size(); ++i)
        EXPECT_LE(combo[i - 1].CompareNoCase(combo[i]), 0) << combo[i - 1].GetString();
    for (const char* name : {"aaa_first", "MMM_MID", "BULK7"}) {
        EXPECT_EQ(Offered(name), 2) << name;
        const int at = drop->FindStringExact(-1, name);
        ASSERT_GE(at, 0) << name;
        EXPECT_EQ(drop->GetItemData(at), Design().design()->findNet(name)->id()) << name;
    }
}

// A design of many hundreds of nets (the lists span many storage blocks): signals added from the
// script at the top, the middle and the end of the order, one removed and the removal undone. After
// each step the signal list's rows, its names and the offered lists agree, in order, entry by entry.
TEST_F(PaneNetLists, ManyNetsAddedAndRemovedOneByOneKeepEveryListWhole) {
    ASSERT_TRUE(Open());
    constexpr int kNets = 700;
    Commit("Add", [&](CTransaction& t) {
        for (int i = 0; i < kNets; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "W%04d", i);
            if (!t.createNet(name, -1u, -1u)) return false;
        }
        return true;
    });
    CKXSignalPaneGrid* signals = Slp()->GetSignalGridWnd();
    CListBox* drop = Ccp()->GetSignalDropList();
    ASSERT_NE(signals, nullptr);
    ASSERT_NE(drop, nullptr);
    auto check = [&](const char* step) {
        const int count = signals->GetObjectCount();
        ASSERT_GE(count, kNets) << step;
        ASSERT_EQ(signals->GetRowCount(), static_cast<ROWCOL>(count)) << step;
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(signals->GetValueRowCol(static_cast<ROWCOL>(i + 1), 1), signals->GetObjectName(i)) << step << " row " << i + 1;
        for (int i = 1; i < drop->GetCount(); ++i) {
            CString prev, cur;
            drop->GetText(i - 1, prev);
            drop->GetText(i, cur);
            ASSERT_LE(prev.CompareNoCase(cur), 0) << step << ": " << prev.GetString() << " before " << cur.GetString();
        }
        const std::vector<CString> combo = Ccp()->GetAttachSignalEntries();
        for (size_t i = 1; i < combo.size(); ++i)
            ASSERT_LE(combo[i - 1].CompareNoCase(combo[i]), 0) << step << ": " << combo[i - 1].GetString();
    };
    check("bulk");
    for (const char* name : {"aaa_top", "W0350_mid", "zzz_end", "W0001_near_top"}) {
        ASSERT_EQ(Run(std::string("kx::call AddSignal ") + name + " {} {}"), "1") << name;
        check(name);
        EXPECT_EQ(Offered(name), 2) << name;
        const ROWCOL row = signals->FindObjectRow(name);
        ASSERT_NE(row, GX_INVALID) << name;
        EXPECT_EQ(signals->GetObjectName(static_cast<int>(row - 1)), CString(name));
        const int at = drop->FindStringExact(-1, name);
        ASSERT_GE(at, 0) << name;
        EXPECT_EQ(drop->GetItemData(at), Design().design()->findNet(name)->id()) << name;
    }
    const int rows = signals->GetObjectCount();
    Commit("Remove", [&](CTransaction& t) { return t.removeNet(Design().design()->findNet("W0350_mid")); });
    check("removed");
    EXPECT_EQ(signals->GetObjectCount(), rows - 1);
    EXPECT_EQ(Offered("W0350_mid"), 0);
    EXPECT_EQ(signals->FindObjectRow("W0350_mid"), GX_INVALID);
    Run("undo");
    check("undone");
    EXPECT_EQ(signals->GetObjectCount(), rows);
    EXPECT_EQ(Offered("W0350_mid"), 2);
}

TEST_F(PaneNetLists, ARenamedNetIsOfferedUnderItsNewNameOnly) {
    ASSERT_TRUE(Open());
    INet* n1 = Design().design()->findNet("N1");
    ASSERT_NE(n1, nullptr);
    Commit("Rename Signal", [&](CTransaction& t) { return t.renameNet(n1, "N1_NEW"); });
    EXPECT_EQ(Offered("N1"), 0);
    EXPECT_EQ(Offered("N1_NEW"), 2);
    // The other nets and the rule words stay.
    EXPECT_EQ(Offered("GND"), 2);
    EXPECT_EQ(InCombo("=AUTONAME"), 1);
}

TEST_F(PaneNetLists, ANetRenamedAndDeletedInOneTransactionIsGone) {
    ASSERT_TRUE(Open());
    INet* gnd = Design().design()->findNet("GND");
    Commit("Rename and delete", [&](CTransaction& t) { return t.renameNet(gnd, "GND2") && t.removeNet(gnd); });
    EXPECT_EQ(Offered("GND"), 0);
    EXPECT_EQ(Offered("GND2"), 0);
    EXPECT_EQ(Offered("N1"), 2);
}

TEST_F(PaneNetLists, ManyNetsDeletedAtOnceLeaveTheOthersInPlace) {
    ASSERT_TRUE(Open());
    constexpr int kNets = 40; // more than are taken out one by one
    Commit("Add", [&](CTransaction& t) {
        for (int i = 0; i < kNets; ++i)
            if (!t.createNet(("BULK" + std::to_string(i)).c_str(), -1u, -1u)) return false;
        return true;
    });
    EXPECT_EQ(Offered("BULK7"), 2);
    const int before = Ccp()->GetSignalDropList()->GetCount();
    Commit("Remove", [&](CTransaction& t) {
        for (int i = 0; i < kNets; ++i)
            if (!t.removeNet(Design().design()->findNet(("BULK" + std::to_string(i)).c_str()))) return false;
        return true;
    });
    EXPECT_EQ(Offered("BULK7"), 0);
    EXPECT_EQ(Ccp()->GetSignalDropList()->GetCount(), before - kNets);
    EXPECT_EQ(Offered("N1"), 2);
    EXPECT_EQ(Offered("DATA<3..0>"), 2);
    EXPECT_EQ(InCombo("=SHORTPINS"), 1);
    // Item data survive the rebuild: a net is still taken out by its id.
    Ccp()->RemoveNetFromLists(static_cast<long>(Design().net("N1").net()->id()));
    EXPECT_EQ(Offered("N1"), 0);
}

TEST_F(PaneNetLists, AnEntryIsTakenOutByItsWholeIdOnly) {
    ASSERT_TRUE(Open());
    const unsigned gnd = Design().net("GND").net()->id();
    Ccp()->AddSignalListEntry("SHARES_LOW_BITS", gnd + 0x10000u);
    Ccp()->RemoveNetFromLists(static_cast<long>(gnd));
    EXPECT_EQ(Offered("GND"), 0);
    EXPECT_EQ(Offered("SHARES_LOW_BITS"), 2);
}

TEST_F(PaneNetLists, APairsEntryFollowsItsCreationRenameAndRemoval) {
    ASSERT_TRUE(Open());
    INet* n1 = Design().design()->findNet("N1");
    INet* gnd = Design().design()->findNet("GND");
    IDPNet* pair = nullptr;
    Commit("Add pair", [&](CTransaction& t) {
        pair = t.createDPNet("CLKP", n1, -1, IDPNet::ePositive, gnd, -1, IDPNet::eNegative);
        return pair != nullptr;
    });
    EXPECT_EQ(InCombo("CLKP (Differential Pair)"), 1);
    Commit("Rename pair", [&](CTransaction& t) { return t.renameDPNet(pair, "CLKQ"); });
    EXPECT_EQ(InCombo("CLKP (Differential Pair)"), 0);
    EXPECT_EQ(InCombo("CLKQ (Differential Pair)"), 1);
    Commit("Remove pair", [&](CTransaction& t) { return t.removeDPNet(pair); });
    EXPECT_EQ(InCombo("CLKQ (Differential Pair)"), 0);
}

} // namespace

namespace {

// The pane knows the text each net is offered by, so that a net leaves the lists without a walk of
// them. After every kind of change the lists and what the pane knows of them agree.
class PaneSignalListIndex : public PaneNetLists {
protected:
    CString OfferedText(const char* net) {
        INet* n = Design().design()->findNet(net);
        return n ? Ccp()->OfferedSignalText(n->id()) : CString();
    }
};

TEST_F(PaneSignalListIndex, FollowsAddRenameDeleteUndoAndRedo) {
    ASSERT_TRUE(Open());
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(OfferedText("N1"), CString("N1"));
    EXPECT_EQ(Run("kx::call AddSignal K_NEW {} {}"), "1");
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(OfferedText("K_NEW"), CString("K_NEW"));
    INet* net = Design().design()->findNet("K_NEW");
    Commit("Rename Signal", [&](CTransaction& t) { return t.renameNet(net, "A_RENAMED"); });
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Ccp()->OfferedSignalText(net->id()), CString("A_RENAMED"));
    EXPECT_EQ(Offered("K_NEW"), 0);
    Run("undo");
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Ccp()->OfferedSignalText(net->id()), CString("K_NEW"));
    EXPECT_EQ(Offered("A_RENAMED"), 0);
    EXPECT_EQ(Offered("K_NEW"), 2);
    Run("redo");
    EXPECT_EQ(Offered("A_RENAMED"), 2);
    const unsigned id = net->id();
    Commit("Remove", [&](CTransaction& t) { return t.removeNet(net); });
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Ccp()->OfferedSignalText(id), CString());
    EXPECT_EQ(Offered("A_RENAMED"), 0);
    Run("undo");
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Offered("A_RENAMED"), 2);
}

// Opening a window offers no net yet: the lists take the design's nets at their first use, as if they
// had held them all along, and a net removed before that use is offered by neither.
TEST_F(PaneSignalListIndex, TheDesignsNetsAreOfferedAtTheListsFirstUse) {
    ASSERT_TRUE(Open());
    EXPECT_TRUE(Ccp()->GetSignalDropList()->HasPendingFill());
    INet* n1 = Design().design()->findNet("N1");
    ASSERT_NE(n1, nullptr);
    const unsigned id = n1->id();
    Commit("Remove", [&](CTransaction& t) { return t.removeNet(n1); });
    EXPECT_FALSE(Ccp()->GetSignalDropList()->HasPendingFill());
    EXPECT_EQ(Offered("N1"), 0);
    EXPECT_EQ(Ccp()->OfferedSignalText(id), CString());
    EXPECT_EQ(Offered("DATA<3..0>"), 2);
    EXPECT_TRUE(Ccp()->SignalListsAgree());
}

// A bus is offered with its range; a rename keeps the range in the new text.
TEST_F(PaneSignalListIndex, ARenamedBusIsFoundByItsRangedText) {
    ASSERT_TRUE(Open());
    INet* bus = Design().design()->findNet("DATA");
    ASSERT_NE(bus, nullptr);
    EXPECT_EQ(Ccp()->OfferedSignalText(bus->id()), CString("DATA<3..0>"));
    Commit("Rename Signal", [&](CTransaction& t) { return t.renameNet(bus, "ADDR"); });
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Offered("DATA<3..0>"), 0);
    EXPECT_EQ(Offered("ADDR<3..0>"), 2);
}

// Entries of one text (case ignored) stand side by side: the net's own entry goes, not its neighbour's.
TEST_F(PaneSignalListIndex, ANetLeavesAmongEntriesOfTheSameText) {
    ASSERT_TRUE(Open());
    const unsigned gnd = Design().net("GND").net()->id();
    Ccp()->AddSignalListEntry("gnd", gnd + 1000u);
    Ccp()->AddSignalListEntry("GND", gnd + 2000u);
    Ccp()->RemoveNetFromLists(static_cast<long>(gnd));
    EXPECT_EQ(Offered("GND"), 2); // the other GND entry
    EXPECT_EQ(Offered("gnd"), 2);
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    const int at = Ccp()->GetSignalDropList()->FindStringExact(-1, "GND");
    ASSERT_GE(at, 0);
    for (int i = at; i < at + 2; ++i)
        EXPECT_NE(Ccp()->GetSignalDropList()->GetItemData(i), static_cast<DWORD_PTR>(gnd));
}

// Many nets made and taken out at once (a rebuild of the lists), then renames in the long lists.
TEST_F(PaneSignalListIndex, StaysWholeThroughBulkChangesAndRenamesInLongLists) {
    ASSERT_TRUE(Open());
    constexpr int kNets = 300;
    auto name = [](int i) {
        char text[16];
        std::snprintf(text, sizeof text, "V%04d", i);
        return std::string(text);
    };
    Commit("Add", [&](CTransaction& t) {
        for (int i = 0; i < kNets; ++i)
            if (!t.createNet(name(i).c_str(), -1u, -1u)) return false;
        return true;
    });
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    Commit("Remove", [&](CTransaction& t) {
        for (int i = 0; i < kNets; i += 2)
            if (!t.removeNet(Design().design()->findNet(name(i).c_str()))) return false;
        return true;
    });
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Offered("V0010"), 0);
    EXPECT_EQ(Offered("V0011"), 2);
    for (int i : {1, 151, 299}) {
        INet* net = Design().design()->findNet(name(i).c_str());
        ASSERT_NE(net, nullptr);
        Commit("Rename Signal", [&](CTransaction& t) { return t.renameNet(net, ("R" + name(i)).c_str()); });
        EXPECT_TRUE(Ccp()->SignalListsAgree()) << i;
        EXPECT_EQ(Offered(name(i).c_str()), 0) << i;
        EXPECT_EQ(Offered(("R" + name(i)).c_str()), 2) << i;
    }
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Offered("V0151"), 2);
    EXPECT_EQ(Offered("RV0151"), 0);
    Run("undo"); // the first rename
    EXPECT_EQ(Offered("V0001"), 2);
    Run("undo"); // the removal of every other net
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    EXPECT_EQ(Offered("V0010"), 2);
}

// Names made in no order, in mixed case, equal but for case, and buses: the signal list puts them in
// alphanumeric order ignoring case with equal names in the design's order, and the offered lists in
// text order ignoring case with equal texts in the order they came (those listed already first).
TEST_F(PaneNetLists, UnsortedNamesListInTheListsOrders) {
    ASSERT_TRUE(Open());
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        const int n = (i * 17) % 40; // every number once, out of order
        names.push_back((i % 3 == 0 ? "sig" : i % 3 == 1 ? "SIG" : "Sig_") + std::to_string(n));
        if (i % 5 == 0) names.push_back("Sig" + std::to_string(n)); // equal to an earlier one but for case
    }
    Commit("Add", [&](CTransaction& t) {
        for (size_t i = 0; i < names.size(); ++i) {
            const bool bus = i % 4 == 3;
            if (!t.createNet(names[i].c_str(), bus ? 7u : -1u, bus ? 0u : -1u)) return false;
        }
        return true;
    });
    std::map<std::string, int> made; // a net's place in the design's order
    for (INet* net : Design().design()->beginNet()) made.emplace(net->name(), static_cast<int>(made.size()));
    CKXSignalPaneGrid* signals = Slp()->GetSignalGridWnd();
    ASSERT_NE(signals, nullptr);
    signals->FillFromDesign(Design());
    KXSortOptions alphanumeric;
    alphanumeric.alpha = false;
    ASSERT_EQ(signals->GetObjectCount(), static_cast<int>(made.size()));
    for (int i = 1; i < signals->GetObjectCount(); ++i) {
        const std::string prev = signals->GetObjectName(i - 1).str(), cur = signals->GetObjectName(i).str();
        const int order = KXCompareSortKeys(prev, cur, alphanumeric);
        EXPECT_TRUE(order < 0 || (order == 0 && made.at(prev) < made.at(cur))) << prev << " before " << cur;
    }

    Ccp()->ResetSignalLists();
    std::vector<CString> expected = Ccp()->GetAttachSignalEntries(); // the rule words
    std::vector<CAfxItemList::NewItem> offered;
    for (size_t i = 0; i < names.size(); ++i) offered.push_back({CString(names[i].c_str()), static_cast<DWORD>(i + 1)});
    offered.push_back({CString("=pinName"), 0}); // equal but for case to a rule word
    std::vector<CString> added;
    for (const CAfxItemList::NewItem& item : offered) added.push_back(item.text);
    auto byText = [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; };
    std::stable_sort(added.begin(), added.end(), byText);
    std::vector<CString> merged;
    std::merge(expected.begin(), expected.end(), added.begin(), added.end(), std::back_inserter(merged), byText);
    Ccp()->AddSignalListEntries(std::move(offered));
    EXPECT_EQ(Ccp()->GetAttachSignalEntries(), merged);
    CListBox* drop = Ccp()->GetSignalDropList();
    ASSERT_NE(drop, nullptr);
    ASSERT_EQ(drop->GetCount(), static_cast<int>(merged.size()));
    for (int i = 0; i < drop->GetCount(); ++i) {
        CString text;
        drop->GetText(i, text);
        EXPECT_EQ(text, merged[static_cast<size_t>(i)]) << "drop list entry " << i;
    }
}

} // namespace
