// The physical part grid and the physical net grid in the grid conformance suite
// (tests/grid/GridConformance.h): a packaged part P1 of two pins, its pin A on N1.
#include "GridConformance.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "rmx/DesignBuilder.h"
#include "rmx/packaging.h"

#include <memory>

namespace {

CDesignContext Board() {
    return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch");
}

std::string ModelOfP1A() {
    std::unique_ptr<CContext> pin(CKXShareGlobalData::m_pServer->getContext("work.board:sch@P1.A"));
    std::unique_ptr<CPQPropertyData> p(pin ? pin->findProperty("PIN_SIGNAL_MODEL") : nullptr);
    return p ? p->value() : "";
}

void AddPackagedPart(rmx::DesignBuilder& b) {
    b.symbol("pkg").port("A").port("B").packagePin("1", "A").packagePin("2", "B");
    b.schematic("board").instance("P1", "pkg", "P1");
    b.connect("P1", "A", "N1").pinNumber("P1", "A", "1").pinNumber("P1", "B", "2");
}

struct PhysPartTraits {
    using G = CKXPhysPartDetailsGridWnd;
    static constexpr KXGridKind kKind = KXGridKind::PhysPart;
    static constexpr int kOpenMode = 4; // the physical view, whose journal handle is "board_phys"
    static G& Part(CKXGridWnd& grid) { return static_cast<G&>(grid); }
    static void AddToDesign(rmx::DesignBuilder& b) { AddPackagedPart(b); }
    static void Load(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        const CDesignContext design = Board();
        std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&design, "P1"));
        ASSERT_TRUE(part);
        Part(grid).PopulatePhysPart(design, part.get(), "", TRUE);
    }
    static void SelectPin1(CKXGridWnd& grid) {
        const ROWCOL row = Part(grid).FindPinRow("P1", "1");
        grid.SetCurrentCell(row, static_cast<ROWCOL>(G::s_nPNCol));
        grid.SelectRange(CGXRange().SetRows(row), TRUE, TRUE);
    }
    static bool Edit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        SelectPin1(grid);
        return Part(grid).CommitAssignModel("M1") && ModelOfP1A() == "M1";
    }
    // Removing a model the pin does not have.
    static bool FailingEdit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        SelectPin1(grid);
        return Part(grid).CommitRemoveModel() != FALSE;
    }
    static void Filter(CKXGridWnd& grid, ROWCOL col, const CString& pattern) {
        grid.SetValueRange(CGXRange(kxphys::kPartFilterRow, col), pattern);
        Part(grid).FilterRows(static_cast<int>(col));
    }
    static bool Dump(CKXGridWnd& grid, const char* path) { return Part(grid).DumpCCP(path) == 1; }
    static void ResizeColumnAndBroadcast(CKXGridWnd& grid, int col, int width) {
        G::Columns().At(col)->m_nWidth = width;
        Part(grid).BroadcastLayout();
    }
};

struct PhysNetTraits {
    using G = CKXPhysNetDetailsGridWnd;
    static constexpr KXGridKind kKind = KXGridKind::PhysNet;
    static constexpr int kOpenMode = 4; // the physical view, whose journal handle is "board_phys"
    static G& Net(CKXGridWnd& grid) { return static_cast<G&>(grid); }
    static void AddToDesign(rmx::DesignBuilder& b) { AddPackagedPart(b); }
    static void Load(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        const CDesignContext design = Board();
        std::unique_ptr<IPhysNet> net(getPhysNet(&design, "N1"));
        ASSERT_TRUE(net);
        Net(grid).PopulatePhysNet(design, net.get(), "");
    }
    static void SelectPinA(CKXGridWnd& grid) {
        CStringArray keys;
        keys.Add("A:1");
        Net(grid).SelectRowsByKey(&keys, "");
    }
    static bool Edit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        SelectPinA(grid);
        Net(grid).AssignModel(1, "M1");
        return ModelOfP1A() == "M1";
    }
    // Deleting a model the pin does not have.
    static bool FailingEdit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        SelectPinA(grid);
        const std::string before = ModelOfP1A();
        Net(grid).DeleteSelection();
        return ModelOfP1A() != before;
    }
    static void Filter(CKXGridWnd& grid, ROWCOL col, const CString& pattern) {
        grid.SetValueRange(CGXRange(kxphys::kNetFilterRow, col), pattern);
        Net(grid).FilterRows(col);
    }
    static bool Dump(CKXGridWnd& grid, const char* path) { return Net(grid).DumpSCP(path) == 1; }
    static void ResizeColumnAndBroadcast(CKXGridWnd& grid, int col, int width) {
        G::Columns().At(col)->m_nWidth = width;
        Net(grid).BroadcastLayout();
    }
};

} // namespace

using kPhysicalKinds = ::testing::Types<PhysPartTraits, PhysNetTraits>;
INSTANTIATE_TYPED_TEST_SUITE_P(Physical, GridConformance, kPhysicalKinds);
