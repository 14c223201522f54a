// Track in Signal List from the matrix: the current row's signal is selected in the signal list.
#include "MatrixTestSupport.h"

#include "kxinstsigpane/KXListPanes.h"

#include <gtest/gtest.h>

namespace {

class PaneTrackMatrix : public MatrixTest {
protected:
    bool NetSelected(const char* name) {
        CKXListPaneGrid* list = Slp()->GetActiveList();
        const ROWCOL row = list ? list->FindObjectRow(name) : GX_INVALID;
        return row != GX_INVALID && list->IsCellSelected(row, 1);
    }
};

TEST_F(PaneTrackMatrix, TheCurrentRowsSignalIsSelectedInTheSignalList) {
    ASSERT_TRUE(Open());
    Views()->CreateView("bus");
    Views()->AddInstanceToMatrixView("bus", "@U1");
    for (const char* s : {"@:N1", "@:FREE"}) Views()->AddSignalToMatrixView("bus", s);
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    const ROWCOL free = Row("FREE");
    ASSERT_NE(free, 0u);
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(free) + " " + std::to_string(NameCol())), "1");
    Messages();
    EXPECT_EQ(Run("trackInSignalList pin"), "1");
    EXPECT_TRUE(NetSelected("FREE"));
    EXPECT_FALSE(NetSelected("N1"));
    EXPECT_TRUE(Messages().empty());
}

} // namespace
