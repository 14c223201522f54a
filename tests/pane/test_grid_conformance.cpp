// The grid conformance suite (tests/grid/GridConformance.h) on every grid kind
// the pane's factory makes. A new kind adds its traits and one entry in kKinds.
#include "GridConformance.h"

#include "grid/KXGridEdit.h"
#include "grid/KXRowFilter.h"
#include "matrix/KXMatrixGridWnd.h"
#include "kxnotes/CComments.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

namespace {

struct PinGridTraits {
    using G = CKXInstanceDetailsGridWnd;
    static constexpr KXGridKind kKind = KXGridKind::Pin;

    static G& Pin(CKXGridWnd& grid) { return static_cast<G&>(grid); }
    static ROWCOL RowOf(CKXGridWnd& grid, const char* pin) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid.GetRowCount(); ++r)
            if (grid.GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)) == pin) return r;
        return 0;
    }
    static void SelectPin(CKXGridWnd& grid, const char* pin) {
        const ROWCOL row = RowOf(grid, pin);
        grid.SetCurrentCell(row, static_cast<ROWCOL>(G::m_nColSignal));
        grid.SelectRange(CGXRange().SetRows(row), TRUE, TRUE);
    }

    // U1's IN and OUT are the legs of a pair pin: the edit moves a leg, and the pair's row follows.
    static void AddToDesign(rmx::DesignBuilder& builder) { builder.dpPin("U1", "DP", "IN", "OUT"); }
    static void Load(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        const CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        ASSERT_TRUE(Pin(grid).LoadComponentPins(design, design.instance("U1"), FALSE));
        Pin(grid).ExpandAllPins("on", ""); // the legs as rows of their own
    }
    static bool Edit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        SelectPin(grid, "IN");
        CKXGridEdit edit(grid, "Add Connections");
        if (!edit || !Pin(grid).ConnectSelectedPins("N1", 0)) return false;
        return edit.Commit();
    }
    static bool FailingEdit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        SelectPin(grid, "IN");
        CKXGridEdit edit(grid, "Add Connections");
        if (!edit || !Pin(grid).ConnectSelectedPins("not a signal name<", 0)) return false;
        return edit.Commit();
    }
    static void Filter(CKXGridWnd& grid, ROWCOL col, const CString& pattern) {
        grid.SetCurrentCell(4, col);
        Pin(grid).OnFilterCellChanged("", pattern);
    }
    static bool Dump(CKXGridWnd& grid, const char* path) { return Pin(grid).DumpGrid(path) == 1; }
    static void ResizeColumnAndBroadcast(CKXGridWnd& grid, int col, int width) {
        G::m_arrColumnInfo[static_cast<std::size_t>(col)]->m_nWidth = width;
        Pin(grid).BroadcastColumnLayout(G::m_arrColumnInfo);
    }
};

// The pin grid with the parts' implicit power pins shown (the host's option): an edit is a net typed
// into a power group's Signal cell, which ties the group's pins.
struct PowerPinGridTraits : PinGridTraits {
    static void AddToDesign(rmx::DesignBuilder& b) {
        b.symbol("pwr").port("A").partDefinition("pwr").packagePin("1", "A").powerPin("7", "VCC", "N1").powerPin(
            "14", "VCC", "N1");
        b.schematic("board").instance("P7", "pwr", "P7").pinNumber("P7", "A", "1");
    }
    static void Load(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        CKXShareGlobalData::m_bShowPowerPins = TRUE;
        const CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        ASSERT_TRUE(Pin(grid).LoadComponentPins(design, design.instance("P7"), FALSE));
        ASSERT_NE(RowOf(grid, "VCC"), 0u);
    }
    static bool Connect(CKXGridWnd& grid, const char* text) {
        SelectPin(grid, "VCC");
        CKXGridEdit edit(grid, "Add Connections");
        if (!edit || !Pin(grid).ConnectSelectedPins(text, 0)) return false;
        return edit.Commit();
    }
    static bool Edit(CKXBottomPaneContainerView&, CKXGridWnd& grid) { return Connect(grid, "GND"); }
    static bool FailingEdit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        return Connect(grid, "not a signal name<");
    }
};

struct SignalGridTraits {
    using G = CKXSignalDetailsGridWnd;
    static constexpr KXGridKind kKind = KXGridKind::Signal;

    static G& Signal(CKXGridWnd& grid) { return static_cast<G&>(grid); }
    // N1's rows carry a pull-up mark.
    static void AddToDesign(rmx::DesignBuilder& builder) { builder.pull("RP1", "PullUp", "N1"); }
    static void Load(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        const CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        ASSERT_TRUE(Signal(grid).AddNetRows(design, design.net("N1")));
    }
    static bool Edit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= grid.GetRowCount(); ++r)
            if (grid.GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColInstance)) == "U1") {
                grid.SetCurrentCell(r, static_cast<ROWCOL>(G::m_nColInstance));
                grid.SelectRange(CGXRange().SetRows(r), TRUE, TRUE);
                return grid.DeleteConnections();
            }
        return false;
    }
    static bool FailingEdit(CKXBottomPaneContainerView&, CKXGridWnd& grid) {
        return Signal(grid).AssignConnectivityByName("NO_SUCH_INSTANCE", "1", "-1", "-1", "");
    }
    static void Filter(CKXGridWnd& grid, ROWCOL col, const CString& pattern) {
        grid.SetCurrentCell(3, col);
        Signal(grid).SetColumnFilter("", pattern);
    }
    static bool Dump(CKXGridWnd& grid, const char* path) { return Signal(grid).DumpSCP(path) == TRUE; }
    static void ResizeColumnAndBroadcast(CKXGridWnd&, int col, int width) {
        G::Columns().At(col)->m_nWidth = width;
        G::Columns().Broadcast(G::Columns().Columns());
    }
};

struct MatrixTraits {
    using G = CKXMatrixGridWnd;
    static constexpr KXGridKind kKind = KXGridKind::Matrix;
    static constexpr const char* kView = "conformance";

    static G& Matrix(CKXGridWnd& grid) { return static_cast<G&>(grid); }
    // The stored view: U1 and R1 against N1, GND and the DATA bus.
    static void Load(CKXBottomPaneContainerView& pane, CKXGridWnd& grid) {
        CMatrixViewData* views = pane.GetCommentStore()->GetMatrixViewData();
        if (!views->HasView(kView)) {
            views->CreateView(kView);
            for (const char* instance : {"@U1", "@R1"})
                views->AddInstanceToMatrixView(kView, instance);
            for (const char* signal : {"@:N1", "@:GND", "@:DATA<3>", "@:DATA<2>"})
                views->AddSignalToMatrixView(kView, signal);
        }
        ASSERT_TRUE(Matrix(grid).LoadMatrixView(kView));
    }
    // Types into the PIN_NAME cell of a group on a signal's row, as the user does.
    static bool Type(CKXGridWnd& grid, const char* signal, int group, const char* text) {
        ROWCOL row = 0;
        for (ROWCOL r = kxmatrix::kFirstDataRow; r <= grid.GetRowCount() && !row; ++r)
            if (grid.GetValueRowCol(r, static_cast<ROWCOL>(G::Layout().m_nNameCol)) == signal) row = r;
        const ROWCOL col = static_cast<ROWCOL>(G::ColumnOf(group, G::Layout().m_nPinNameOffset));
        grid.SetCurrentCell(row, col);
        CGXControl* control = grid.GetCurrentCellControl();
        if (!row || !control) return false;
        control->SetActive(TRUE);
        control->SetCurrentText(text);
        control->SetModify(TRUE);
        return grid.TransferCurrentCell(TRUE) != FALSE;
    }
    // U1's free pin IN joins DATA<2>.
    static bool Edit(CKXBottomPaneContainerView&, CKXGridWnd& grid) { return Type(grid, "DATA<2>", 0, "IN"); }
    static bool FailingEdit(CKXBottomPaneContainerView&, CKXGridWnd& grid) { return Type(grid, "N1", 1, "NOPE"); }
    static void Filter(CKXGridWnd& grid, ROWCOL col, const CString& pattern) {
        KXRowFilter(grid, kxmatrix::kFilterRow).SetPattern(col, pattern);
        Matrix(grid).FilterRows(GX_INVALID);
    }
    static bool Dump(CKXGridWnd& grid, const char* path) { return Matrix(grid).DumpMatrix(path) == TRUE; }
    static void ResizeColumnAndBroadcast(CKXGridWnd&, int col, int width) {
        G::Layout().m_arrSignalColumns[static_cast<std::size_t>(col)]->m_nWidth = width;
        G::Columns().Broadcast(G::Columns().Columns());
    }
};

} // namespace

using kKinds = ::testing::Types<PinGridTraits, PowerPinGridTraits, SignalGridTraits, MatrixTraits>;
INSTANTIATE_TYPED_TEST_SUITE_P(Kinds, GridConformance, kKinds);
