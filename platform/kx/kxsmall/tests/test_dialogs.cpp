#include "kxsmall/CKXDlgEditValues.h"
#include "kxsmall/CKXDlgModelAssign.h"

#include "afx/afxanswer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { AfxGetAnswerQueue().Reset(); }
    void TearDown() override { AfxGetAnswerQueue().Reset(); }
};

TEST_F(DialogTest, EditValuesTakesTheScriptedValuesInItemOrder) {
    CKXModifyValueList third("", "C", "");
    CKXModifyValueList second("", "B", "", &third);
    CKXModifyValueList first("", "A", "", &second);
    AfxGetAnswerQueue().PushDialog("CKXDlgEditValues", TRUE,
                                   {{"value0", "A2"}, {"value2", "C2"}, {"option", "1"}});
    CKXDlgEditValues dlg(&first, 3, nullptr, "Signal Name", "", std::vector<CString>{"A", "B"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(first.GetNewValue(), "A2");
    EXPECT_EQ(second.GetNewValue(), "B"); // not answered: unchanged
    EXPECT_EQ(third.GetNewValue(), "C2");
    EXPECT_TRUE(dlg.GetOptionFlag());
}

TEST_F(DialogTest, EditValuesCancelledOrRefusedChangesNothing) {
    CKXModifyValueList second("", "B", "");
    CKXModifyValueList first("", "A", "", &second);
    {
        CKXDlgEditValues dlg(&first, 3, nullptr, "t", "", std::vector<CString>{});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL); // unanswered
    }
    AfxGetAnswerQueue().PushDialog("CKXDlgEditValues", TRUE, {{"value0", "ok"}, {"value1", "bad value"}});
    CKXDlgEditValues dlg(
        &first, 3,
        [](const CString& v, CString& msg) -> BOOL {
            if (v.Find(' ') >= 0) {
                msg = "no blanks";
                return FALSE;
            }
            return TRUE;
        },
        "t", "", std::vector<CString>{});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetLastError(), "no blanks");
    EXPECT_EQ(first.GetNewValue(), "A");
    EXPECT_EQ(second.GetNewValue(), "B");
}

TEST_F(DialogTest, ModelAssignFiltersByNameAndType) {
    fs::path dir = fs::temp_directory_path() / ("kxsmall_models_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "in1.mdl") << "MODEL IbisInput\n";
    std::ofstream(dir / "in2.mdl") << "MODEL IbisInput\r\n";
    std::ofstream(dir / "out1.mdl") << "MODEL IbisOutput\n";
    std::ofstream(dir / "junk.mdl") << "not a model\n";
    std::ofstream(dir / "notes.txt") << "MODEL IbisInput\n";

    CKXDlgModelAssign dlg(nullptr, 0);
    dlg.SetWorkingDir(dir.string().c_str());
    dlg.SetModelNameFilter("*");
    dlg.SetModelTypeFilter("IbisInput");
    EXPECT_EQ(dlg.GetModelList(), (std::vector<CString>{"in1", "in2"}));
    dlg.SetModelTypeFilter("*");
    EXPECT_EQ(dlg.GetModelList().size(), 3u);

    dlg.SetModelTypeFilter("IbisInput");
    AfxGetAnswerQueue().PushDialog("CKXDlgModelAssign", TRUE, {{"model", "out1"}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL); // filtered out: not offered
    EXPECT_TRUE(dlg.GetAssignedModel().IsEmpty());
    AfxGetAnswerQueue().PushDialog("CKXDlgModelAssign", TRUE, {{"model", "in2"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetAssignedModel(), "in2");
    AfxGetAnswerQueue().PushDialog("CKXDlgModelAssign", FALSE, {{"model", "in1"}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    fs::remove_all(dir);
}

} // namespace
