// A design with one part instance and a created, initialised pin grid for it.
#pragma once

#include "KXFreshState.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "afx/afxreg.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "rmx/DesignBuilder.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

class PinGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetRegistryDirectory("");
        KXStartFromAFreshState();
        grid = std::make_unique<CKXInstanceDetailsGridWnd>();
        grid->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 100);
    }

    // Builds the design, then initialises the grid on it.
    void Init() {
        ASSERT_TRUE(builder.ok()) << builder.error();
        design = builder.context();
        grid->InitializeGrid(nullptr, design, design, 0);
    }

    CInstanceContext Instance(const char* name) { return design.instance(name); }

    // Customises the grid's columns to the entries and sets the grid up for them;
    // false (nothing set up) when the entries do not parse.
    bool UseColumns(std::initializer_list<const char*> entries) {
        CStringArray list;
        for (const char* e : entries)
            list.Add(e);
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        if (!CKXCustomizeAPI::parseFile(list, false)) return false;
        grid->SetupColumns();
        grid->SetupGridLook();
        return true;
    }

    // The row whose PIN_NAME cell shows the text; 0 when none.
    ROWCOL Row(const char* pinName) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (Cell(r, CKXInstanceDetailsGridWnd::m_nColPinName) == pinName) return r;
        return 0;
    }
    CString Cell(ROWCOL row, int col) { return grid->GetValueRowCol(row, static_cast<ROWCOL>(col)); }
    CString Attr(ROWCOL row, int col, UINT id) {
        CGXStyle style;
        grid->GetStyleRowCol(row, static_cast<ROWCOL>(col), style);
        return style.GetIncludeUserAttribute(static_cast<WORD>(id))
                   ? style.GetUserAttributeText(static_cast<WORD>(id))
                   : CString();
    }
    PinRowKind Kind(ROWCOL row) {
        CString base;
        int msb = 0, lsb = 0;
        return grid->GetRowKind(row, base, msb, lsb);
    }

    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    CDesignContext design;
    std::unique_ptr<CKXInstanceDetailsGridWnd> grid;
};
