// Clipboard object data: what parses is encoded again and parses to the same entries; the
// termination and pull-up buffers are taken apart entry by entry as the grids do.
#include "FuzzSupport.h"

#include "kxclipboard/CKXImpClipBoard.h"

namespace {

bool Same(const SKXClipEntry& a, const SKXClipEntry& b) {
    return a.tag == b.tag && a.kind == b.kind && a.number == b.number && a.text1 == b.text1 && a.text2 == b.text2 &&
           a.text3 == b.text3;
}

std::string Encode(const std::vector<SKXClipEntry>& entries) {
    std::string out;
    for (const SKXClipEntry& e : entries) {
        switch (e.tag) {
        case SKXClipEntry::Text: out += CKXImpClipBoard::EncodeText(e.text1); break;
        case SKXClipEntry::AssocComp: out += CKXImpClipBoard::EncodeAssoc(e.kind, e.number, e.text1, e.text2, e.text3); break;
        case SKXClipEntry::GroupBegin: out += "@GR\r\n"; break;
        case SKXClipEntry::GroupEnd: out += "@EG\r\n"; break;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = kxfuzz::Text(data, size);
    std::vector<SKXClipEntry> entries;
    std::string error;
    if (CKXImpClipBoard::ParseObjects(text, entries, error)) {
        std::string again = Encode(entries);
        std::vector<SKXClipEntry> back;
        KX_FUZZ_CHECK(CKXImpClipBoard::ParseObjects(again, back, error), error + "\n" + again);
        KX_FUZZ_CHECK(back.size() == entries.size(), again);
        for (size_t i = 0; i < back.size(); ++i) KX_FUZZ_CHECK(Same(back[i], entries[i]), again);
    }
    // The buffers as the paste side reads them.
    CString buffer(text.c_str());
    for (int guard = 0; guard < 10000; ++guard) {
        int kind = 0, number = 0;
        CString t1, t2, t3;
        int used = CKXImpClipBoard::GetAssocCompInfo(buffer, kind, number, t1, t2, t3);
        if (used <= 0) break;
        KX_FUZZ_CHECK(used <= buffer.GetLength(), "an entry longer than its buffer");
        buffer.Delete(0, used);
        buffer.TrimLeft("\r\n");
    }
    CString groups(text.c_str()), group;
    CKXImpClipBoard::GetNumberOfPupdGroups(groups);
    for (int guard = 0; guard < 10000 && CKXImpClipBoard::PruneGroupString(groups, group); ++guard) {
    }
    return 0;
}
