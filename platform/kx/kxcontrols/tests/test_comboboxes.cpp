#include <gtest/gtest.h>

#include "kxcontrols/KXComboBoxes.h"

TEST(AutoCompleteComboBox, CompletesTypedTextAndSelectsTheRest) {
    CKXAutoCompleteComboBox combo;
    combo.AddString("=AUTONAME");
    combo.AddString("CLK_IN");
    combo.AddString("CLK_OUT");
    EXPECT_TRUE(combo.OnTextTyped("clk"));
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, "clk_IN");
    DWORD sel = combo.GetEditSel();
    EXPECT_EQ(LOWORD(sel), 3);
    EXPECT_EQ(HIWORD(sel), 6);
    EXPECT_FALSE(combo.OnTextTyped("XYZ"));
    combo.GetWindowText(text);
    EXPECT_EQ(text, "XYZ");
    combo.OnTextDeleted("CL");
    combo.GetWindowText(text);
    EXPECT_EQ(text, "CL");
    combo.SetAutoComplete(FALSE);
    EXPECT_FALSE(combo.OnTextTyped("=AUTO"));
    EXPECT_FALSE(combo.OnTextTyped(nullptr));
}
