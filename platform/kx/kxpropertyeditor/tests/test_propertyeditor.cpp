#include "kxpropertyeditor/KXPropertyEditor.h"

#include "rmx/context.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <gtest/gtest.h>

namespace {

class PropertyEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        KXClearPropRules();
        ClosePropEditor();
    }
    void TearDown() override {
        KXClearPropRules();
        ClosePropEditor();
    }
};

TEST_F(PropertyEditorTest, StateFollowsSourceAndRules) {
    EXPECT_EQ(GetPropState(KX_SRC_NONE, "VALUE"), KX_PROP_NONE);
    EXPECT_EQ(GetPropState(KX_SRC_LOCAL, "VALUE"), KX_PROP_LOCAL);
    EXPECT_EQ(GetPropState(KX_SRC_INHERITED, "VALUE"), KX_PROP_INHERITED);
    EXPECT_EQ(GetPropState(KX_SRC_OVERRIDDEN, "VALUE"), KX_PROP_OVERRIDDEN);

    KXRegisterPropRule("PINUSE", KX_RULE_REQUIRED);
    EXPECT_EQ(GetPropState(KX_SRC_LOCAL, "pinuse"), KX_PROP_REQUIRED);
    EXPECT_EQ(GetPropState(KX_SRC_INHERITED, "PINUSE"), KX_PROP_REQUIRED_INH);
    EXPECT_EQ(GetPropState(KX_SRC_NONE, "PINUSE"), KX_PROP_REQUIRED);

    KXRegisterPropRule("OLD", KX_RULE_DELETE_ONLY);
    EXPECT_EQ(GetPropState(KX_SRC_LOCAL, "OLD"), KX_PROP_DELETE_ONLY);
    EXPECT_EQ(GetPropState(KX_SRC_NONE, "OLD"), KX_PROP_NONE);
    KXRegisterPropRule("LOCKED", KX_RULE_READONLY | KX_RULE_REQUIRED);
    EXPECT_EQ(GetPropState(KX_SRC_LOCAL, "LOCKED"), KX_PROP_READONLY);
    KXRegisterPropRule("SECRET", KX_RULE_HIDDEN);
    EXPECT_EQ(GetPropState(KX_SRC_LOCAL, "SECRET"), KX_PROP_HIDDEN);
    KXRegisterPropRule("SECRET", KX_RULE_NONE);
    EXPECT_EQ(GetPropState(KX_SRC_LOCAL, "SECRET"), KX_PROP_LOCAL);
}

TEST_F(PropertyEditorTest, EditorModesAndSelectionOwnership) {
    EXPECT_FALSE(IsPropEditorShown());
    EXPECT_FALSE(ShowPropEditor(7));
    EXPECT_FALSE(IsPropEditorShown());
    EXPECT_TRUE(ShowPropEditor(2));
    EXPECT_EQ(GetPropEditorMode(), 2);
    EXPECT_TRUE(ShowPropEditor(3));
    EXPECT_EQ(GetPropEditorMode(), 3);

    auto* net = new CKXConnObjInfo("DATA", CKXConnObjInfo::BUS, 7, 0);
    auto* pin = new CKXConnObjInfo("42", CKXConnObjInfo::PIN, -1, -1, new CInstanceContext());
    std::vector<CKXConnObjInfo*> records{net, pin, net};
    SetPropEditorSelection(records);
    EXPECT_TRUE(records.empty());
    ASSERT_EQ(GetPropEditorSelection().size(), 2u);
    EXPECT_EQ(GetPropEditorSelection()[0]->m_strName, "DATA");
    EXPECT_EQ(GetPropEditorSelection()[0]->m_nFirstBit, 7);
    std::vector<CKXConnObjInfo*> none;
    SetPropEditorSelection(none); // the earlier records are deleted (the sanitizers watch)
    EXPECT_TRUE(GetPropEditorSelection().empty());
    ClosePropEditor();
    EXPECT_EQ(GetPropEditorMode(), 0);
}

TEST_F(PropertyEditorTest, SelectionMessagesHandTheRecordsOver) {
    IKXMessageServer* ms = GetKXMsgSrvr();
    ASSERT_NE(ms, nullptr);
    const int before = KXPropEditorLiveRecordCount();
    {
        CKXConnObjInfoList list;
        list.Add(new CKXConnObjInfo("U1", CKXConnObjInfo::INSTANCE));
        list.Add(new CKXConnObjInfo("U2", CKXConnObjInfo::INSTANCE));
        EXPECT_GE(ms->Broadcast(MSG_CONN_OBJECT_INFO, reinterpret_cast<WPARAM>(&list), 0), 1);
    } // the sender frees only its list
    ASSERT_EQ(GetPropEditorSelection().size(), 2u);
    EXPECT_EQ(GetPropEditorSelection()[1]->m_strName, "U2");
    EXPECT_EQ(KXPropEditorLiveRecordCount(), before + 2);

    CKXConnObjInfoList next;
    next.Add(new CKXConnObjInfo("DATA", CKXConnObjInfo::NET, 3, 3));
    next.Add(reinterpret_cast<CKXConnObjInfo*>(&next)); // not a record: ignored, never deleted
    ms->Broadcast(MSG_PROPERTY_EDITOR_SELECTION, reinterpret_cast<WPARAM>(&next), 0);
    ASSERT_EQ(GetPropEditorSelection().size(), 1u);
    EXPECT_EQ(KXPropEditorLiveRecordCount(), before + 1); // the earlier two were deleted
    ms->Broadcast(MSG_PROPERTY_EDITOR_SELECTION, 0, 0);   // closing a document empties it
    EXPECT_TRUE(GetPropEditorSelection().empty());
    EXPECT_EQ(KXPropEditorLiveRecordCount(), before);
}

} // namespace
