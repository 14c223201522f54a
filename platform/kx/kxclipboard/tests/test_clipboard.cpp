#include "kxclipboard/CKXImpClipBoard.h"

#include "afx/afxole.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { CKXImpClipBoard::Reset(); }
    void TearDown() override { CKXImpClipBoard::Reset(); }

    // Publishes object data and text the way a grid's copy does.
    static void publish(const std::string& objects, const std::string& text) {
        CKXImpClipBoard::StartCopying();
        CKXImpClipBoard::CopyCFText(text.c_str());
        CKXImpClipBoard::SetClipboardText(objects.c_str(), text.c_str());
        CKXImpClipBoard::EndCopying();
        ASSERT_TRUE(CKXImpClipBoard::PutTextOnClipBoard(1, 1));
    }
};

TEST_F(ClipboardTest, TextObjectsRoundTripWithAnyBytes) {
    std::string odd("a\tb\r\nc\0d@TX 3:", 14);
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyTextAsObject("DATA<3>");
    CKXImpClipBoard::CopyTextAsObject(CString(odd));
    CKXImpClipBoard::CopyCFText("DATA<3>\r\nx\r\n");
    CString data;
    ASSERT_TRUE(CKXImpClipBoard::GetDataBuffer(data));
    // Without SetClipboardText the library publishes its own buffer, which keeps every byte (a C string
    // handed to SetClipboardText would end at the first zero byte).
    CKXImpClipBoard::EndCopying();
    ASSERT_TRUE(CKXImpClipBoard::PutTextOnClipBoard(1, 1));

    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_TEXT_OBJECTS);
    std::vector<SKXClipEntry> entries;
    std::string error;
    ASSERT_TRUE(CKXImpClipBoard::ParseObjects(data.str(), entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text1, "DATA<3>");
    EXPECT_EQ(entries[1].text1, odd);
    CString text;
    ASSERT_TRUE(CKXImpClipBoard::GetCFText(text));
    EXPECT_EQ(text, "DATA<3>\r\nx\r\n");
}

TEST_F(ClipboardTest, TextOnlyCopyIsPlainText) {
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyCFText("abc");
    CKXImpClipBoard::EndCopying();
    ASSERT_TRUE(CKXImpClipBoard::PutTextOnClipBoard(0, 1));
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_PLAIN_TEXT);
    EXPECT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, FALSE, 0, 0, 0, 1));
    EXPECT_FALSE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, TRUE, FALSE, 0, 0, 0, 1));
}

TEST_F(ClipboardTest, EmptyClipboardHasNothingToPaste) {
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_NONE);
    EXPECT_FALSE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, FALSE, 0, 0, 0, 1));
    EXPECT_FALSE(CKXImpClipBoard::GetLastError().IsEmpty());
    EXPECT_FALSE(CKXImpClipBoard::PutTextOnClipBoard(1, 1));
}

TEST_F(ClipboardTest, TerminationEntriesAreConsumedOneByOne) {
    std::string objects = CKXImpClipBoard::EncodeAssoc(1, -1, "Series", "R1", "data one") +
                          CKXImpClipBoard::EncodeAssoc(1, -1, "Shunt", "R2 R3", "");
    publish(objects, "R1\r\nR2\r\n");
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_TERMINATIONS);
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, TRUE, FALSE, 0, 0, 0, 1));

    CString buffer;
    CKXImpClipBoard::GetTerminationBuffer(buffer);
    std::vector<std::string> types;
    for (;;) {
        int kind = 0, number = 0;
        CString t1, t2, t3;
        int used = CKXImpClipBoard::GetAssocCompInfo(buffer, kind, number, t1, t2, t3);
        if (used < 0) break;
        EXPECT_EQ(kind, 1);
        types.push_back(t1.str());
        buffer.Delete(0, used);
        buffer.TrimLeft("\r\n");
    }
    EXPECT_EQ(types, (std::vector<std::string>{"Series", "Shunt"}));
    EXPECT_TRUE(buffer.IsEmpty());
}

TEST_F(ClipboardTest, PupdGroupsArePrunedInOrder) {
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::StartPupdGroup();
    CString data;
    CKXImpClipBoard::GetDataBuffer(data); // closes the open group, as a grid reading the buffer mid-copy does
    std::string objects = data.str() + "@GR\r\n" + CKXImpClipBoard::EncodeAssoc(2, 3, "Pullup", "R7", "x") +
                          CKXImpClipBoard::EncodeAssoc(2, 3, "Pulldown", "R8", "y") + "@EG\r\n";
    publish(objects, "\r\nR7\r\nR8\r\n");
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_PUPD_GROUPS);
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, FALSE, 0, 0, 0, 1));
    CString buffer, group;
    CKXImpClipBoard::GetPupdBuffer(buffer);
    ASSERT_EQ(CKXImpClipBoard::GetNumberOfPupdGroups(buffer), 2);
    ASSERT_TRUE(CKXImpClipBoard::PruneGroupString(buffer, group));
    EXPECT_TRUE(group.IsEmpty()); // the empty group of a net bit without pull-ups
    ASSERT_TRUE(CKXImpClipBoard::PruneGroupString(buffer, group));
    int kind = 0, number = 0;
    CString t1, t2, t3;
    int used = CKXImpClipBoard::GetAssocCompInfo(group, kind, number, t1, t2, t3);
    ASSERT_GT(used, 0);
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(number, 3);
    EXPECT_EQ(t1, "Pullup");
    EXPECT_FALSE(CKXImpClipBoard::PruneGroupString(buffer, group));
}

TEST_F(ClipboardTest, MalformedDataIsRefusedWhole) {
    const std::string good = CKXImpClipBoard::EncodeAssoc(1, -1, "Series", "R1", "d");
    const std::vector<std::string> bad = {
        good + "@AC 1 -1 5:abc",          // length runs past the end
        good + "@XX\r\n",                 // unknown tag
        "@GR\r\n" + good,                 // termination inside a group, group not closed
        "@EG\r\n",                        // close without open
        "@AC 9 0 0: 0: 0:\r\n",           // unknown kind
        "@AC 1 99999999999 0: 0: 0:\r\n", // number out of range
        "@TX 3:abc",                      // no line break
        "@TX -3:abc\r\n",                 // negative length
    };
    for (const auto& data : bad) {
        std::vector<SKXClipEntry> entries;
        std::string error;
        EXPECT_FALSE(CKXImpClipBoard::ParseObjects(data, entries, error)) << data;
        EXPECT_TRUE(entries.empty());
        EXPECT_FALSE(error.empty());
    }
    // Malformed copied data is refused at publication, nothing replaces what was on the clipboard.
    publish(good, "R1");
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::SetClipboardText((good + "@XX\r\n").c_str(), "junk");
    EXPECT_FALSE(CKXImpClipBoard::PutTextOnClipBoard(1, 1));
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_TERMINATIONS);
    EXPECT_EQ(CKXImpClipBoard::GetViewerItemCount(), 1);
}

TEST_F(ClipboardTest, PasteSpecialMarkServesOnePaste) {
    publish(CKXImpClipBoard::EncodeAssoc(1, -1, "Series", "R1", "d"), "N1\r\n");
    CKXImpClipBoard::SetPasteSpecial();
    EXPECT_TRUE(CKXImpClipBoard::IsPasteSpecial());
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, TRUE, TRUE, 0, 0, 0, 1));
    EXPECT_FALSE(CKXImpClipBoard::IsPasteSpecial());
    CString buffer;
    CKXImpClipBoard::GetTerminationBuffer(buffer);
    EXPECT_FALSE(buffer.IsEmpty());
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, TRUE, 0, 0, 0, 1));
    CString text;
    CKXImpClipBoard::GetCFText(text);
    EXPECT_EQ(text, "N1\r\n");
}

TEST_F(ClipboardTest, NewCopyReplacesWhatAPastePrepared) {
    publish(CKXImpClipBoard::EncodeText("old"), "old");
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, FALSE, 0, 0, 0, 1));
    publish(CKXImpClipBoard::EncodeText("new"), "new");
    CString text;
    ASSERT_TRUE(CKXImpClipBoard::GetCFText(text));
    EXPECT_EQ(text, "new");
}

TEST_F(ClipboardTest, SharesTheProcessClipboard) {
    publish(CKXImpClipBoard::EncodeText("N1"), "N1\r\n");
    EXPECT_EQ(AfxGetClipboardText(), "N1\r\n");
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA(CKXImpClipBoard::kFormatName)));

    // Text copied elsewhere replaces our objects: it is plain text now, and the viewer shows it first.
    AfxSetClipboardText("from elsewhere");
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_PLAIN_TEXT);
    CString text;
    ASSERT_TRUE(CKXImpClipBoard::GetCFText(text));
    EXPECT_EQ(text, "from elsewhere");
    EXPECT_EQ(CKXImpClipBoard::GetViewerItemText(0), "from elsewhere");
    EXPECT_EQ(CKXImpClipBoard::GetViewerItemText(1), "N1\r\n");

    // Object data of our format put there by another module is read as carefully as any.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = AfxGlobalAllocText("@AC 1 -1 999:x\r\n");
    ASSERT_TRUE(SetClipboardData(RegisterClipboardFormatA(CKXImpClipBoard::kFormatName), h));
    CloseClipboard();
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_NONE);
    EXPECT_FALSE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, TRUE, FALSE, 0, 0, 0, 1));
    EXPECT_NE(CKXImpClipBoard::GetLastError().Find("refused"), -1);

    // A clipboard held open elsewhere makes the publication fail clearly.
    ASSERT_TRUE(OpenClipboard(nullptr));
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyCFText("x");
    CKXImpClipBoard::EndCopying();
    EXPECT_FALSE(CKXImpClipBoard::PutTextOnClipBoard(0, 1));
    CloseClipboard();
}

// The copying grid's marks of its fields stay with that publication: the clipboard and its viewer item
// hand them to a paste; text another program put there, and a later copy that marked nothing, carry none.
TEST_F(ClipboardTest, FieldMarksStayWithTheirPublication) {
    const KXClipFieldMarks marks = {{"a", "b"}, {"a", "b"}};
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyCFText("x\ty\r\nz\tw\r\n");
    CKXImpClipBoard::SetFieldMarks(marks);
    CKXImpClipBoard::EndCopying();
    ASSERT_TRUE(CKXImpClipBoard::PutTextOnClipBoard(0, 1));
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, FALSE, 0, 0, 0, 1));
    EXPECT_EQ(CKXImpClipBoard::GetPasteFieldMarks(), marks);

    AfxSetClipboardText("x\ty\r\n");
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, FALSE, 0, 0, 0, 1));
    EXPECT_TRUE(CKXImpClipBoard::GetPasteFieldMarks().empty());
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, 1, FALSE, FALSE, 0, 0, 0, 1));
    EXPECT_EQ(CKXImpClipBoard::GetPasteFieldMarks(), marks);

    publish(CKXImpClipBoard::EncodeText("x"), "x\ty\r\nz\tw\r\n");
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, FALSE, 0, 0, 0, 1));
    EXPECT_TRUE(CKXImpClipBoard::GetPasteFieldMarks().empty());
}

TEST_F(ClipboardTest, ViewerKeepsRecentItemsNewestFirst) {
    for (int i = 0; i < CKXImpClipBoard::kViewerItems + 5; ++i) {
        CKXImpClipBoard::StartCopying();
        CString t;
        t.Format("item%d", i);
        CKXImpClipBoard::CopyCFText(t);
        CKXImpClipBoard::EndCopying();
        ASSERT_TRUE(CKXImpClipBoard::PutTextOnClipBoard(0, 1));
    }
    EXPECT_EQ(CKXImpClipBoard::GetViewerItemCount(), CKXImpClipBoard::kViewerItems);
    EXPECT_EQ(CKXImpClipBoard::GetViewerItemText(0), "item24");
    ASSERT_TRUE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, 2, FALSE, FALSE, 0, 0, 0, 1));
    CString text;
    CKXImpClipBoard::GetCFText(text);
    EXPECT_EQ(text, "item22");
    EXPECT_FALSE(CKXImpClipBoard::ProcessDataForPaste(4, nullptr, 99, FALSE, FALSE, 0, 0, 0, 1));
}

TEST_F(ClipboardTest, CanPasteCallbacksSeeTheObjectKind) {
    static int seen = -1;
    CKXImpClipBoard::InitCanPasteCallBack(
        [](int kind) -> BOOL {
            seen = kind;
            return kind == 8;
        },
        [](int) -> BOOL { return TRUE; });
    publish(CKXImpClipBoard::EncodeAssoc(1, -1, "Series", "R1", "d"), "R1");
    EXPECT_TRUE(CKXImpClipBoard::CanPasteObject());
    EXPECT_EQ(seen, KX_CLIP_TERMINATIONS);
    CKXImpClipBoard::InitCanPasteCallBack(nullptr, nullptr);
    EXPECT_FALSE(CKXImpClipBoard::CanPasteObject());
    EXPECT_FALSE(CKXImpClipBoard::CanPasteText());
}

// Random bytes and random corruptions of valid data must never crash the parsers, and whatever parses must
// re-encode to the same bytes.
TEST_F(ClipboardTest, RandomInputNeverCrashesAndParsedDataReEncodes) {
    std::mt19937 rng(20261206);
    const std::string valid =
        std::string("@GR\r\n") + CKXImpClipBoard::EncodeAssoc(2, 5, "Pullup", "R1", "v=1k") + "@EG\r\n" +
        CKXImpClipBoard::EncodeAssoc(1, -1, "Series", "R2", "x") + CKXImpClipBoard::EncodeText("t");
    const std::string alphabet = "@GRETXAC 0123456789:-\r\n\t";
    for (int round = 0; round < 20000; ++round) {
        std::string data;
        if (round % 2 == 0) {
            data = valid;
            int edits = 1 + static_cast<int>(rng() % 4);
            for (int e = 0; e < edits && !data.empty(); ++e) {
                size_t at = rng() % data.size();
                switch (rng() % 3) {
                case 0:
                    data[at] = alphabet[rng() % alphabet.size()];
                    break;
                case 1:
                    data.erase(at, 1 + rng() % 3);
                    break;
                default:
                    data.insert(at, 1, static_cast<char>(rng() % 256));
                    break;
                }
            }
        } else {
            data.resize(rng() % 64);
            for (auto& c : data)
                c = (rng() % 3 == 0) ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
        }
        std::vector<SKXClipEntry> entries;
        std::string error;
        if (CKXImpClipBoard::ParseObjects(data, entries, error)) {
            std::string again;
            for (const auto& en : entries) {
                if (en.tag == SKXClipEntry::Text)
                    again += CKXImpClipBoard::EncodeText(en.text1);
                else if (en.tag == SKXClipEntry::AssocComp)
                    again += CKXImpClipBoard::EncodeAssoc(en.kind, en.number, en.text1, en.text2, en.text3);
                else if (en.tag == SKXClipEntry::GroupBegin)
                    again += "@GR\r\n";
                else
                    again += "@EG\r\n";
            }
            std::vector<SKXClipEntry> entries2;
            ASSERT_TRUE(CKXImpClipBoard::ParseObjects(again, entries2, error));
            ASSERT_EQ(entries2.size(), entries.size());
        }
        CString buffer(data), group;
        (void)CKXImpClipBoard::GetNumberOfPupdGroups(buffer);
        for (int guard = 0; guard < 100 && CKXImpClipBoard::PruneGroupString(buffer, group); ++guard) {
        }
        int kind = 0, number = 0;
        CString t1, t2, t3;
        int used = CKXImpClipBoard::GetAssocCompInfo(CString(data), kind, number, t1, t2, t3);
        ASSERT_LE(used, static_cast<int>(data.size()));
    }
}

} // namespace
