#include "kxclipboard/CKXImpClipBoard.h"

#include "afx/afxole.h"

#include <algorithm>
#include <charconv>
#include <deque>

namespace {

// One publication on the clipboard: plain text and, when objects were copied, the object data.
struct ClipItem {
    std::string text;
    std::string objects; // without the header line; empty: plain text only
    bool hasObjects = false;
    KXClipFieldMarks marks; // the copying grid's marks of the text's fields (this process only)
};

struct ClipState {
    // copy session
    bool copying = false;
    std::string cfText;
    std::string data;
    int groupDepth = 0;
    std::string pendingText;
    std::string pendingObjects;
    bool pendingSet = false;
    KXClipFieldMarks pendingMarks;
    // published
    std::deque<ClipItem> items; // newest first
    ClipItem current;           // the process clipboard as last read
    bool hasCurrent = false;
    // paste preparation
    std::string termBuffer;
    std::string pupdBuffer;
    std::string pasteText;
    KXClipFieldMarks pasteMarks;
    bool pasteSpecial = false;
    KXCanPasteCallBack objectCallBack = nullptr;
    KXCanPasteCallBack textCallBack = nullptr;
    IKXClipAssocCodec* codec = nullptr;
    std::string lastError;
};

ClipState& state() {
    static ClipState s;
    return s;
}

void appendLength(std::string& out, std::string_view text) {
    out += std::to_string(text.size());
    out += ':';
    out.append(text.data(), text.size());
}

// A cursor over object data; every read checks the bounds.
class Reader {
public:
    explicit Reader(std::string_view d) : m_d(d) {}
    bool atEnd() const { return m_pos >= m_d.size(); }
    size_t pos() const { return m_pos; }
    bool literal(std::string_view lit) {
        if (m_d.substr(m_pos, lit.size()) != lit) return false;
        m_pos += lit.size();
        return true;
    }
    bool number(long long& value, bool allowSign) {
        size_t start = m_pos;
        bool neg = false;
        if (allowSign && m_pos < m_d.size() && m_d[m_pos] == '-') {
            neg = true;
            ++m_pos;
        }
        size_t digits = m_pos;
        while (m_pos < m_d.size() && m_d[m_pos] >= '0' && m_d[m_pos] <= '9' && m_pos - digits < 10)
            ++m_pos;
        if (m_pos == digits || (m_pos < m_d.size() && m_d[m_pos] >= '0' && m_d[m_pos] <= '9')) {
            m_pos = start;
            return false;
        }
        long long v = 0;
        std::from_chars(m_d.data() + digits, m_d.data() + m_pos, v);
        value = neg ? -v : v;
        return true;
    }
    bool lengthText(std::string& out) {
        long long n = 0;
        if (!number(n, false) || !literal(":")) return false;
        if (static_cast<unsigned long long>(n) > m_d.size() - m_pos) return false;
        out.assign(m_d.substr(m_pos, static_cast<size_t>(n)));
        m_pos += static_cast<size_t>(n);
        return true;
    }

private:
    std::string_view m_d;
    size_t m_pos = 0;
};

// Parses one entry at the reader; the trailing "\r\n" is part of the entry.
bool parseEntry(Reader& r, SKXClipEntry& e, std::string& error) {
    if (r.literal("@TX ")) {
        e = SKXClipEntry{};
        e.tag = SKXClipEntry::Text;
        if (!r.lengthText(e.text1)) {
            error = "bad text length";
            return false;
        }
    } else if (r.literal("@AC ")) {
        e = SKXClipEntry{};
        e.tag = SKXClipEntry::AssocComp;
        long long kind = 0, number = 0;
        if (!r.number(kind, false) || !r.literal(" ") || !r.number(number, true) || !r.literal(" ")) {
            error = "bad kind or number";
            return false;
        }
        if (kind != 1 && kind != 2) {
            error = "unknown component kind " + std::to_string(kind);
            return false;
        }
        if (number < -1 || number > 0x7fffffff) {
            error = "number out of range";
            return false;
        }
        e.kind = static_cast<int>(kind);
        e.number = static_cast<int>(number);
        if (!r.lengthText(e.text1) || !r.literal(" ") || !r.lengthText(e.text2) || !r.literal(" ") ||
            !r.lengthText(e.text3)) {
            error = "bad component texts";
            return false;
        }
    } else if (r.literal("@GR")) {
        e = SKXClipEntry{};
        e.tag = SKXClipEntry::GroupBegin;
    } else if (r.literal("@EG")) {
        e = SKXClipEntry{};
        e.tag = SKXClipEntry::GroupEnd;
    } else {
        error = "unknown entry";
        return false;
    }
    if (!r.literal("\r\n")) {
        error = "entry not ended by a line break";
        return false;
    }
    return true;
}

// Splits checked entries into the termination and pull-up/pull-down buffers.
void buildBuffers(const std::vector<SKXClipEntry>& entries, std::string& term, std::string& pupd) {
    term.clear();
    pupd.clear();
    bool inGroup = false;
    for (const auto& e : entries) {
        switch (e.tag) {
        case SKXClipEntry::GroupBegin:
            inGroup = true;
            pupd += "@GR\r\n";
            break;
        case SKXClipEntry::GroupEnd:
            inGroup = false;
            pupd += "@EG\r\n";
            break;
        case SKXClipEntry::AssocComp:
            if (inGroup)
                pupd += CKXImpClipBoard::EncodeAssoc(e.kind, e.number, e.text1, e.text2, e.text3);
            else if (e.kind == 1)
                term += CKXImpClipBoard::EncodeAssoc(e.kind, e.number, e.text1, e.text2, e.text3);
            break;
        case SKXClipEntry::Text:
            break;
        }
    }
}

int typeOf(const ClipItem& item) {
    if (!item.hasObjects) return item.text.empty() ? KX_CLIP_NONE : KX_CLIP_PLAIN_TEXT;
    std::vector<SKXClipEntry> entries;
    std::string error;
    if (!CKXImpClipBoard::ParseObjects(item.objects, entries, error))
        return item.text.empty() ? KX_CLIP_NONE : KX_CLIP_PLAIN_TEXT;
    bool group = false, term = false, text = false;
    for (const auto& e : entries) {
        if (e.tag == SKXClipEntry::GroupBegin)
            group = true;
        else if (e.tag == SKXClipEntry::AssocComp && e.kind == 1)
            term = true;
        else if (e.tag == SKXClipEntry::Text)
            text = true;
    }
    if (group) return KX_CLIP_PUPD_GROUPS;
    if (term) return KX_CLIP_TERMINATIONS;
    if (text) return KX_CLIP_TEXT_OBJECTS;
    return item.text.empty() ? KX_CLIP_NONE : KX_CLIP_PLAIN_TEXT;
}

UINT objectFormat() {
    static const UINT format = RegisterClipboardFormatA(CKXImpClipBoard::kFormatName);
    return format;
}

std::string blockBytes(HANDLE h) {
    if (!h) return std::string();
    size_t n = GlobalSize(h);
    const char* p = static_cast<const char*>(GlobalLock(h));
    std::string out = p ? std::string(p, n) : std::string();
    GlobalUnlock(h);
    return out;
}

HGLOBAL bytesBlock(const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h) return nullptr;
    if (char* p = static_cast<char*>(GlobalLock(h))) {
        std::copy(bytes.begin(), bytes.end(), p);
        GlobalUnlock(h);
    }
    return h;
}

// Puts an item on the process clipboard, which other windows and programs read.
bool publishToSystem(const ClipItem& item) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    bool ok = true;
    if (!item.text.empty()) {
        HGLOBAL h = AfxGlobalAllocText(item.text.c_str());
        if (!SetClipboardData(CF_TEXT, h)) {
            GlobalFree(h);
            ok = false;
        }
    }
    if (item.hasObjects) {
        HGLOBAL h = bytesBlock(item.objects);
        if (!SetClipboardData(objectFormat(), h)) {
            GlobalFree(h);
            ok = false;
        }
    }
    CloseClipboard();
    return ok;
}

// The process clipboard may have been filled by someone else since our last publication; what is there now is
// the newest item.
void syncFromSystem() {
    auto& s = state();
    ClipItem now;
    bool any = false;
    if (OpenClipboard(nullptr)) {
        if (HANDLE h = GetClipboardData(CF_TEXT)) {
            now.text = AfxGlobalText(h).str();
            any = true;
        }
        if (HANDLE h = GetClipboardData(objectFormat())) {
            now.objects = blockBytes(h);
            now.hasObjects = true;
            any = true;
        }
        CloseClipboard();
    } else {
        return; // someone holds the clipboard open: keep what we know
    }
    s.hasCurrent = any;
    s.current = now;
    if (!any) return;
    if (!s.items.empty()) {
        const ClipItem& f = s.items.front();
        if (f.text == now.text && f.hasObjects == now.hasObjects && f.objects == now.objects) {
            s.current.marks = f.marks; // still our own publication
            return;
        }
    }
    s.items.push_front(std::move(now));
    while (s.items.size() > static_cast<size_t>(CKXImpClipBoard::kViewerItems))
        s.items.pop_back();
    s.pasteText.clear();
    s.pasteMarks.clear();
    s.termBuffer.clear();
    s.pupdBuffer.clear();
}

// What is on the clipboard now (null: nothing).
const ClipItem* currentItem() {
    syncFromSystem();
    return state().hasCurrent ? &state().current : nullptr;
}

// A clipboard-viewer item, newest first; a negative index is the clipboard itself.
const ClipItem* itemFor(int index) {
    if (index < 0) return currentItem();
    syncFromSystem();
    auto& s = state();
    size_t i = static_cast<size_t>(index);
    return i < s.items.size() ? &s.items[i] : nullptr;
}

} // namespace

bool CKXImpClipBoard::m_bIgnoreEmptyCellsInPasteSpecial = false;
CStringArray CKXImpClipBoard::m_TclPasteSpecialArray;

std::string CKXImpClipBoard::EncodeText(std::string_view text) {
    std::string out = "@TX ";
    appendLength(out, text);
    out += "\r\n";
    return out;
}

std::string CKXImpClipBoard::EncodeAssoc(int kind, int number, std::string_view t1, std::string_view t2,
                                         std::string_view t3) {
    std::string out = "@AC " + std::to_string(kind) + " " + std::to_string(number) + " ";
    appendLength(out, t1);
    out += ' ';
    appendLength(out, t2);
    out += ' ';
    appendLength(out, t3);
    out += "\r\n";
    return out;
}

bool CKXImpClipBoard::ParseObjects(std::string_view data, std::vector<SKXClipEntry>& entries,
                                   std::string& error) {
    entries.clear();
    std::string_view header = kHeader;
    if (data.substr(0, header.size()) == header) data.remove_prefix(header.size());
    Reader r(data);
    bool inGroup = false;
    int index = 0;
    while (!r.atEnd()) {
        // Blank lines between entries carry nothing and are passed over.
        if (r.literal("\r\n")) continue;
        SKXClipEntry e;
        std::string what;
        size_t at = r.pos();
        if (!parseEntry(r, e, what)) {
            error = "entry " + std::to_string(index + 1) + " (offset " + std::to_string(at) + "): " + what;
            entries.clear();
            return false;
        }
        if (e.tag == SKXClipEntry::GroupBegin) {
            if (inGroup) {
                error = "entry " + std::to_string(index + 1) + ": group opened inside a group";
                entries.clear();
                return false;
            }
            inGroup = true;
        } else if (e.tag == SKXClipEntry::GroupEnd) {
            if (!inGroup) {
                error = "entry " + std::to_string(index + 1) + ": group closed without being opened";
                entries.clear();
                return false;
            }
            inGroup = false;
        } else if (inGroup && (e.tag != SKXClipEntry::AssocComp || e.kind != 2)) {
            error = "entry " + std::to_string(index + 1) + ": a group holds only pull-ups and pull-downs";
            entries.clear();
            return false;
        }
        entries.push_back(std::move(e));
        ++index;
    }
    if (inGroup) {
        error = "last group is not closed";
        entries.clear();
        return false;
    }
    return true;
}

// ---- copy side ----

void CKXImpClipBoard::StartCopying() {
    auto& s = state();
    s.copying = true;
    s.cfText.clear();
    s.data.clear();
    s.groupDepth = 0;
    s.pendingText.clear();
    s.pendingObjects.clear();
    s.pendingSet = false;
    s.pendingMarks.clear();
}

void CKXImpClipBoard::CopyCFText(CString text) {
    state().cfText = text.str();
}

void CKXImpClipBoard::CopyTextAsObject(CString text) {
    state().data += EncodeText(text.str());
}

CString CKXImpClipBoard::CopyAssocComponents(const CDesignContext& design, int bit, IDTInstance* instance,
                                             int kind) {
    auto& s = state();
    CString type, name, data;
    if (instance && s.codec && !s.codec->Describe(design, bit, instance, kind, type, name, data)) {
        type.Empty();
        name.Empty();
        data.Empty();
    }
    if (kind != 1 && kind != 2) kind = 1;
    std::string entry = EncodeAssoc(kind, bit, type.str(), name.str(), data.str());
    s.data += entry;
    return CString(entry);
}

void CKXImpClipBoard::StartPupdGroup() {
    auto& s = state();
    if (s.groupDepth > 0) EndPupdGroup();
    s.data += "@GR\r\n";
    s.groupDepth = 1;
}

void CKXImpClipBoard::EndPupdGroup() {
    auto& s = state();
    if (s.groupDepth == 0) return;
    s.data += "@EG\r\n";
    s.groupDepth = 0;
}

BOOL CKXImpClipBoard::GetDataBuffer(CString& buffer) {
    auto& s = state();
    if (s.groupDepth > 0) EndPupdGroup();
    buffer = CString(s.data);
    return !s.data.empty();
}

void CKXImpClipBoard::SetClipboardText(const char* data, const char* text) {
    auto& s = state();
    s.pendingObjects = data ? data : "";
    s.pendingText = text ? text : "";
    s.pendingSet = true;
}

void CKXImpClipBoard::SetFieldMarks(KXClipFieldMarks marks) {
    state().pendingMarks = std::move(marks);
}

void CKXImpClipBoard::EndCopying() {
    auto& s = state();
    if (s.groupDepth > 0) EndPupdGroup();
    if (!s.pendingSet) {
        s.pendingObjects = s.data;
        s.pendingText = s.cfText;
    }
    s.copying = false;
}

BOOL CKXImpClipBoard::PutTextOnClipBoard(int putObjects, int putText) {
    auto& s = state();
    if (s.copying) EndCopying();
    ClipItem item;
    if (putText) {
        item.text = s.pendingSet ? s.pendingText : s.cfText;
        item.marks = std::move(s.pendingMarks);
    }
    s.pendingMarks.clear();
    if (putObjects) {
        std::string objects = s.pendingSet ? s.pendingObjects : s.data;
        std::vector<SKXClipEntry> entries;
        std::string error;
        // Only well-formed data is published; a caller that handed something else gets a refusal.
        if (!objects.empty()) {
            if (!ParseObjects(objects, entries, error)) {
                s.lastError = "copied data refused: " + error;
                return FALSE;
            }
            std::string_view body = objects;
            std::string_view header = kHeader;
            if (body.substr(0, header.size()) == header) body.remove_prefix(header.size());
            item.objects.assign(body);
            item.hasObjects = true;
        }
    }
    if (item.text.empty() && !item.hasObjects) {
        s.lastError = "nothing to put on the clipboard";
        return FALSE;
    }
    if (!publishToSystem(item)) {
        s.lastError = "the clipboard is held open by another window";
        return FALSE;
    }
    s.items.push_front(std::move(item));
    // What an earlier paste prepared no longer describes the clipboard.
    s.pasteText.clear();
    s.pasteMarks.clear();
    s.termBuffer.clear();
    s.pupdBuffer.clear();
    while (s.items.size() > static_cast<size_t>(kViewerItems))
        s.items.pop_back();
    s.pendingSet = false;
    s.lastError.clear();
    return TRUE;
}

// ---- paste side ----

void CKXImpClipBoard::InitCanPasteCallBack(KXCanPasteCallBack objectCallBack,
                                           KXCanPasteCallBack textCallBack) {
    state().objectCallBack = objectCallBack;
    state().textCallBack = textCallBack;
}

BOOL CKXImpClipBoard::CanPasteObject() {
    auto cb = state().objectCallBack;
    return cb ? cb(GetObjectType(1)) : FALSE;
}

BOOL CKXImpClipBoard::CanPasteText() {
    auto cb = state().textCallBack;
    return cb ? cb(GetObjectType(1)) : FALSE;
}

int CKXImpClipBoard::GetObjectType(int source) {
    const ClipItem* item = itemFor(source <= 1 ? -1 : source - 2);
    return item ? typeOf(*item) : KX_CLIP_NONE;
}

BOOL CKXImpClipBoard::GetCFText(CString& text) {
    syncFromSystem();
    auto& s = state();
    if (!s.pasteText.empty()) {
        text = CString(s.pasteText);
        return TRUE;
    }
    const ClipItem* item = itemFor(-1);
    text = item ? CString(item->text) : CString();
    return !text.IsEmpty();
}

BOOL CKXImpClipBoard::ProcessDataForPaste(int /*format*/, const CDesignContext* /*design*/, int index,
                                          BOOL terminationColumn, BOOL /*pasteSpecial*/, int, int, int, int) {
    auto& s = state();
    // A paste-special mark serves one paste. Paste special changes how the grids enter the text (no overwrite
    // question, empty cells skipped when asked); the data prepared here is the same.
    s.pasteSpecial = false;
    s.termBuffer.clear();
    s.pupdBuffer.clear();
    s.pasteText.clear();
    s.pasteMarks.clear();
    const ClipItem* item = itemFor(index < 0 ? -1 : index);
    if (!item) {
        s.lastError = "the clipboard is empty";
        return FALSE;
    }
    std::string term, pupd;
    if (item->hasObjects) {
        std::vector<SKXClipEntry> entries;
        std::string error;
        if (!ParseObjects(item->objects, entries, error)) {
            s.lastError = "clipboard data refused: " + error;
            return FALSE;
        }
        buildBuffers(entries, term, pupd);
    }
    if (terminationColumn && term.empty()) {
        s.lastError = "the clipboard holds no terminations";
        return FALSE;
    }
    if (!terminationColumn && item->text.empty() && pupd.empty()) {
        s.lastError = "the clipboard holds no text";
        return FALSE;
    }
    s.termBuffer = std::move(term);
    s.pupdBuffer = std::move(pupd);
    s.pasteText = item->text;
    s.pasteMarks = item->marks;
    s.lastError.clear();
    return TRUE;
}

const KXClipFieldMarks& CKXImpClipBoard::GetPasteFieldMarks() {
    return state().pasteMarks;
}

void CKXImpClipBoard::GetTerminationBuffer(CString& buffer) {
    buffer = CString(state().termBuffer);
}

void CKXImpClipBoard::GetPupdBuffer(CString& buffer) {
    buffer = CString(state().pupdBuffer);
}

int CKXImpClipBoard::GetNumberOfPupdGroups(const CString& buffer) {
    std::vector<SKXClipEntry> entries;
    std::string error;
    if (!ParseObjects(buffer.str(), entries, error)) {
        state().lastError = "pull-up/pull-down data refused: " + error;
        return 0;
    }
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const SKXClipEntry& e) {
        return e.tag == SKXClipEntry::GroupBegin;
    }));
}

BOOL CKXImpClipBoard::PruneGroupString(CString& buffer, CString& group) {
    group.Empty();
    std::string_view data = buffer.str();
    // Leading line breaks left by earlier consumption are not data.
    size_t skip = data.find_first_not_of("\r\n");
    if (skip == std::string_view::npos) {
        buffer.Empty();
        return FALSE;
    }
    Reader r(data.substr(skip));
    SKXClipEntry e;
    std::string error;
    if (!parseEntry(r, e, error) || e.tag != SKXClipEntry::GroupBegin) {
        state().lastError = "pull-up/pull-down data refused: a group was expected";
        return FALSE;
    }
    size_t bodyStart = r.pos();
    for (;;) {
        size_t at = r.pos();
        if (!parseEntry(r, e, error) || e.tag == SKXClipEntry::GroupBegin ||
            (e.tag == SKXClipEntry::AssocComp && e.kind != 2) || e.tag == SKXClipEntry::Text) {
            state().lastError = "pull-up/pull-down data refused: malformed group";
            return FALSE;
        }
        if (e.tag == SKXClipEntry::GroupEnd) {
            std::string_view rest = data.substr(skip);
            group = CString(std::string(rest.substr(bodyStart, at - bodyStart)));
            buffer = CString(std::string(rest.substr(r.pos())));
            return TRUE;
        }
    }
}

int CKXImpClipBoard::GetAssocCompInfo(CString text, int& kind, int& number, CString& text1, CString& text2,
                                      CString& text3) {
    std::string_view data = text.str();
    if (data.empty()) return -1;
    Reader r(data);
    SKXClipEntry e;
    std::string error;
    if (!parseEntry(r, e, error) || e.tag != SKXClipEntry::AssocComp) {
        state().lastError =
            "clipboard entry refused: " + (error.empty() ? std::string("not a component") : error);
        return -2;
    }
    kind = e.kind;
    number = e.number;
    text1 = CString(e.text1);
    text2 = CString(e.text2);
    text3 = CString(e.text3);
    // The line break stays for the caller, who trims it.
    return static_cast<int>(r.pos() - 2);
}

int CKXImpClipBoard::PasteAssocComponents(CTransaction* transaction, const CInstTermBit& pinBit,
                                          IDPInstTerm* pairPin, const CNetBit& netBit,
                                          const CInstanceContext& instance, CString dataText,
                                          CString typeText, CString nameText, CString netName, int kind,
                                          int flags) {
    auto& s = state();
    if (!transaction) {
        s.lastError = "no transaction to paste into";
        return 0;
    }
    if (!s.codec) {
        s.lastError = "associated components cannot be pasted: their library is not initialised";
        return 0;
    }
    return s.codec->Paste(transaction, pinBit, pairPin, netBit, instance, dataText, typeText, nameText,
                          netName, kind, flags);
}

void CKXImpClipBoard::SetPasteSpecial() {
    state().pasteSpecial = true;
}

BOOL CKXImpClipBoard::IsPasteSpecial() {
    return state().pasteSpecial;
}

int CKXImpClipBoard::GetViewerItemCount() {
    syncFromSystem();
    return static_cast<int>(state().items.size());
}

CString CKXImpClipBoard::GetViewerItemText(int index) {
    const ClipItem* item = itemFor(index);
    return item ? CString(item->text) : CString();
}

void CKXImpClipBoard::SetAssocCodec(IKXClipAssocCodec* codec) {
    state().codec = codec;
}

IKXClipAssocCodec* CKXImpClipBoard::GetAssocCodec() {
    return state().codec;
}

CString CKXImpClipBoard::GetLastError() {
    return CString(state().lastError);
}

void CKXImpClipBoard::Reset() {
    IKXClipAssocCodec* codec = state().codec;
    state() = ClipState{};
    state().codec = codec;
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    m_bIgnoreEmptyCellsInPasteSpecial = false;
    m_TclPasteSpecialArray.RemoveAll();
}

extern "C" BOOL InitKXClipboardDll() {
    return TRUE;
}
