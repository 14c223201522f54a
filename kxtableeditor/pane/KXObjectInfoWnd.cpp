// The object information window: records of the objects shown, their open grids, the beam and the
// drop-down lists (the list control itself is in KXObjectInfoWndList.cpp).
#include "pane/KXObjectInfoWnd.h"

#include "grid/KXGridWnd.h"
#include "grid/KXProjectReader.h"
#include "grid/gxrecordinfo.h"

#include <algorithm>
#include <cstddef>

IMPLEMENT_DYNAMIC(CKXObjectInfoWnd, CGXRecordInfoWnd)
IMPLEMENT_DYNAMIC(CKXObjectInfoBeam, CGXRecordInfoBeam)

namespace {

constexpr int kListHeight = 250;
constexpr int kBeamButtonWidth = CKXObjectInfoBeam::kButtonWidth;
// The project option (program GRIDWORKSHOP) that limits the open grids of each kind.
constexpr char max_open_windows[] = "max_open_windows";
constexpr int kScrollBarWidth = 16;
constexpr int kSeparatorWidth = 4;
constexpr int kMaxSize = 32766;           // larger sizes are no real window's
constexpr UINT kGridResizeNotice = 0x7CB; // to the shown grids around a resize: 1 before, 0 after
constexpr WPARAM kShowChosen = CKXObjectInfoListCtrl::kShowChosen;
constexpr int kNoDropButton = 4;
constexpr const char* kMultipleSelection = "Multiple Selection";

// Show requests that arrive while one runs (a grid activating itself while it is made) are dropped.
bool g_bActivating = false;
bool g_bShowing = false;

class GuardFlag {
public:
    explicit GuardFlag(bool& flag) : m_flag(flag), m_taken(!flag) { m_flag = true; }
    ~GuardFlag() {
        if (m_taken) m_flag = false;
    }
    bool Taken() const { return m_taken; }
    GuardFlag(const GuardFlag&) = delete;
    GuardFlag& operator=(const GuardFlag&) = delete;

private:
    bool& m_flag;
    bool m_taken;
};

std::vector<std::string> SplitKeys(const std::string& keys) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= keys.size()) {
        size_t colon = keys.find(':', start);
        if (colon == std::string::npos) colon = keys.size();
        if (colon > start) parts.push_back(keys.substr(start, colon - start));
        start = colon + 1;
    }
    return parts;
}

bool IsGroupKey(const std::string& key) {
    return key.find(':') != std::string::npos;
}

DWORD_PTR IdOfKey(const std::string& key) {
    return static_cast<DWORD_PTR>(std::strtoull(key.c_str(), nullptr, 10));
}

// "&" shows as a mnemonic prefix unless it is doubled.
CString Literal(const CString& text) {
    CString shown = text;
    shown.Replace("&", "&&");
    return shown;
}

} // namespace

// ------------------------------------------------------------------ beam

void CKXObjectInfoBeam::SetKind(int kind) {
    m_nKind = kind == 1 ? 1 : 0;
    m_strCaption = m_nKind == 0 ? "Component" : "Signal";
}

void CKXObjectInfoBeam::SetRecord(const CString& text, long count, long current) {
    SetText(text);
    SetRecordCount(count);
    SetCurrentRecord(current);
    // What the beam shows: its caption, the text and the count; the record field is not typed into.
    CString shown;
    shown.Format("%s: %s (%ld)", m_strCaption.GetString(), text.GetString(), count);
    SetWindowText(shown);
    SetReadOnlyRecordField(TRUE);
}

const char* CKXObjectInfoBeam::ButtonTip(int button) {
    if (button == 0) return "Component List";
    if (button == 1) return "Signal List";
    return "";
}

void CKXObjectInfoBeam::OnButtonPressed(int button) {
    if (button < 0 || button == kNoDropButton) return;
    CWnd* target = GetRecordInfoWnd() ? GetRecordInfoWnd() : GetParent();
    if (target) target->SendMessage(MSG_OBJECT_INFO_LIST, static_cast<WPARAM>(button), 0);
}

BOOL CKXObjectInfoBeam::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (message == WM_LBUTTONDOWN) {
        OnButtonPressed(ButtonFromPoint(point));
        return TRUE;
    }
    if (message == WM_MOUSEMOVE) m_strTip = ButtonTip(ButtonFromPoint(point));
    return CGXRecordInfoBeam::OnWndMsg(message, wParam, lParam, pResult);
}

// ------------------------------------------------------------------ record-info interface

namespace {

// Told by every grid whose current cell changes: the object window that holds the grid updates its beam.
class CKXObjectInfoWndInterface : public CGXAbstractRecordInfoWndInterface {
public:
    void UpdateRecordInfo(CGXGridCore* core) override {
        auto* grid = dynamic_cast<CKXGridWnd*>(core);
        // A grid that loses its current cell (another grid took the hands) is not the current one.
        ROWCOL row = 0, col = 0;
        if (!grid || !grid->GetCurrentCell(row, col)) return;
        if (CKXObjectInfoWnd* window = grid ? CKXObjectInfoWnd::EnclosingWindow(grid) : nullptr)
            window->UpdateRecordInfo(grid);
    }
};

int g_nWindows = 0; // object windows alive: the interface is installed while there is one

} // namespace

CKXObjectInfoWnd* CKXObjectInfoWnd::EnclosingWindow(CWnd* grid) {
    for (CWnd* w = grid ? grid->GetParent() : nullptr; w; w = w->GetParent()) {
        if (auto* info = dynamic_cast<CKXObjectInfoWnd*>(w)) return info;
        for (CWnd* child : w->GetChildren())
            if (auto* info = dynamic_cast<CKXObjectInfoWnd*>(child)) return info;
    }
    return nullptr;
}

// ------------------------------------------------------------------ window

CKXObjectInfoWnd::CKXObjectInfoWnd() {
    SetBeam(&m_beam);
    // Any interface installed before goes; the new one serves every object window.
    GXSetRecordInfoWndInterface(new CKXObjectInfoWndInterface);
    ++g_nWindows;
    ReadMaxOpenWindows();
}

CKXObjectInfoWnd::~CKXObjectInfoWnd() {
    // The grids belong to the pane; only the records go.
    m_shown.clear();
    m_byWindow.clear();
    if (m_beam.GetSafeHwnd()) m_beam.DestroyWindow();
    SetBeam(nullptr);
    // The interface's code goes with this library: it must not outlive the last window.
    if (--g_nWindows == 0) GXSetRecordInfoWndInterface(nullptr);
}

BOOL CKXObjectInfoWnd::CreateInfoWnd(CWnd* parent) {
    CRect rect(0, 0, 0, 0);
    if (parent) parent->GetClientRect(&rect);
    if (!Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, rect, parent, kWindowId)) return FALSE;
    LayoutWindows(); // the first layout makes the record-info parts
    return m_bCreated;
}

void CKXObjectInfoWnd::ReadMaxOpenWindows() {
    CKXProjectReader reader;
    int limit = kDefaultMaxOpenWindows;
    if (reader.ProjectFindProgram("GRIDWORKSHOP") == KXPROJ_OK &&
        reader.ProjectGetIntDirective(max_open_windows, limit) == KXPROJ_OK && limit > 0)
        m_nMaxOpenWindows = limit;
    else
        m_nMaxOpenWindows = kDefaultMaxOpenWindows;
}

SKXObjectInfo* CKXObjectInfoWnd::Record(const std::string& key, int kind) const {
    const RecordMap& map = m_records[Kind(kind)];
    auto it = map.find(key);
    return it == map.end() ? nullptr : it->second.get();
}

const SKXObjectInfo* CKXObjectInfoWnd::FindRecord(const std::string& key, int kind) const {
    return Record(key, kind);
}

CKXGridWnd* CKXObjectInfoWnd::FindWindowById(const std::string& key, int kind) const {
    const SKXObjectInfo* record = Record(key, kind);
    return record ? record->window : nullptr;
}

POSITION CKXObjectInfoWnd::GetFirstWindowPosition(int kind) const {
    const RecordMap& map = m_records[Kind(kind)];
    return map.empty() ? nullptr : reinterpret_cast<POSITION>(map.begin()->second.get());
}

CKXGridWnd* CKXObjectInfoWnd::GetNextWindow(POSITION& pos, int kind) const {
    const auto* record = reinterpret_cast<const SKXObjectInfo*>(pos);
    if (!record) return nullptr;
    const RecordMap& map = m_records[Kind(kind)];
    auto next = map.upper_bound(record->key);
    pos = next == map.end() ? nullptr : reinterpret_cast<POSITION>(next->second.get());
    return record->window;
}

CKXGridWnd* CKXObjectInfoWnd::GetNextGrid(size_t& index, int kind) const {
    if (index >= m_shown.size() || m_shown[index]->kind != Kind(kind)) return nullptr;
    return m_shown[index++]->window;
}

std::vector<CKXGridWnd*> CKXObjectInfoWnd::OpenWindows(int kind) const {
    std::vector<CKXGridWnd*> grids;
    for (const std::string& key : m_open[Kind(kind)])
        if (const SKXObjectInfo* record = Record(key, kind); record && record->window)
            grids.push_back(record->window);
    return grids;
}

std::vector<std::string> CKXObjectInfoWnd::RecordKeys(int kind) const {
    std::vector<std::string> keys;
    for (const auto& [key, record] : m_records[Kind(kind)])
        keys.push_back(key);
    return keys;
}

std::vector<CKXGridWnd*> CKXObjectInfoWnd::ShownGrids() const {
    std::vector<CKXGridWnd*> grids;
    for (const SKXObjectInfo* record : m_shown)
        if (record->window) grids.push_back(record->window);
    return grids;
}

// ------------------------------------------------------------------ records and lists

SKXObjectInfo* CKXObjectInfoWnd::Remember(const std::string& key, const CString& name, int kind, long data) {
    if (Kind(kind) == 1 && !IsGroupKey(key)) TakeBit(IdOfKey(key)); // counted once, as a record
    std::unique_ptr<SKXObjectInfo>& slot = m_records[Kind(kind)][key];
    if (!slot) slot = std::make_unique<SKXObjectInfo>();
    if (IsGroupKey(key)) m_groups[Kind(kind)].insert(key);
    slot->kind = Kind(kind);
    slot->name = name;
    slot->data = data;
    slot->key = key;
    return slot.get();
}

void CKXObjectInfoWnd::CreateLists() {
    for (int kind = 0; kind < kKinds; ++kind) {
        if (m_lists[kind]) continue;
        m_lists[kind] = std::make_unique<CKXObjectInfoListCtrl>(kind == 0, kind);
        m_lists[kind]->CreateList(this);
    }
    m_lists[1]->SetRunText([this](DWORD_PTR id, int column) {
        return m_pOwner ? m_pOwner->BitText(id, column) : CString();
    });
}

SKXObjectInfo* CKXObjectInfoWnd::Recall(const std::string& key, int kind) {
    if (SKXObjectInfo* record = Record(key, kind)) return record;
    if (Kind(kind) != 1 || IsGroupKey(key) || key.empty() || m_bitRuns.empty()) return nullptr;
    const unsigned long long id = IdOfKey(key);
    if (std::to_string(id) != key) return nullptr;
    if (!InBitRuns(id)) return nullptr;
    return Remember(key, m_pOwner ? m_pOwner->BitText(id, 0) : CString(key.c_str()), 1, 1);
}

bool CKXObjectInfoWnd::TakeBit(unsigned long long id) {
    if (!InBitRuns(id)) return false;
    const auto run = std::prev(m_bitRuns.upper_bound(id));
    const unsigned long long low = run->first, high = run->second;
    m_bitRuns.erase(run);
    if (low < id) m_bitRuns.emplace(low, id - 1);
    if (id < high) m_bitRuns.emplace(id + 1, high);
    --m_bitsWithoutRecord;
    return true;
}

bool CKXObjectInfoWnd::InBitRuns(unsigned long long id) const {
    auto run = m_bitRuns.upper_bound(id);
    return run != m_bitRuns.begin() && std::prev(run)->second >= id;
}

void CKXObjectInfoWnd::AddBitRows(unsigned long long first, int count, int step) {
    if (count <= 0) return;
    CreateLists();
    m_lists[1]->AddRun(static_cast<DWORD_PTR>(first), count, step);
    const unsigned long long span = static_cast<unsigned long long>(count - 1);
    const unsigned long long low = step < 0 ? first - span : first;
    // Bits remembered already (with a record of their own, or in a run) stay as they are; the others
    // join in runs.
    std::vector<std::pair<unsigned long long, unsigned long long>> runs;
    bool open = false;
    for (unsigned long long id = low; id <= low + span; ++id) {
        const bool known = InBitRuns(id) || Record(std::to_string(id), 1);
        if (!known && open)
            runs.back().second = id;
        else if (!known)
            runs.emplace_back(id, id);
        open = !known;
    }
    for (const auto& [from, to] : runs) {
        m_bitRuns.emplace(from, to);
        m_bitsWithoutRecord += to - from + 1;
    }
}

void CKXObjectInfoWnd::AddListRow(const std::string& key, const CString& name, const CString& second,
                                  const CString& third, int kind) {
    CreateLists();
    m_lists[Kind(kind)]->AddRow(IdOfKey(key), name, second, third);
}

void CKXObjectInfoWnd::CreateObjectList(const std::string& key, const CString& name, const CString& second,
                                        const CString& third, int kind, long data) {
    CreateLists();
    Remember(key, name, kind, data);
    if (!m_nMode1 && !m_nMode2) AddListRow(key, name, second, third, kind);
}

void CKXObjectInfoWnd::AddObjectRow(const std::string& key, const CString& name, const CString& second,
                                    const CString& third, int kind, long data) {
    CreateLists();
    Remember(key, name, kind, data);
    AddListRow(key, name, second, third, kind);
}

void CKXObjectInfoWnd::CreateObjectListByKey(const std::string& key, const CString& name, const CString& second,
                                             const CString& third, int kind, long data) {
    CreateLists();
    Remember(key, name, kind, data);
    if (m_nMode1 || m_nMode2 || m_bGroupFlag) return;
    AddListRow(key, name, second, third, kind);
    CKXObjectInfoListCtrl& list = *m_lists[Kind(kind)];
    if (Kind(kind) == 0) list.SetItemText(list.FindRowById(IdOfKey(key)), 2, key.c_str());
}

void CKXObjectInfoWnd::RemoveListRows(int kind, const std::set<std::string>& keys) {
    CKXObjectInfoListCtrl* list = m_lists[Kind(kind)].get();
    if (!list) return;
    // A group's key names its first object: the row of that object is not the group's.
    std::set<DWORD_PTR> ids;
    for (const std::string& key : keys)
        if (!IsGroupKey(key)) ids.insert(IdOfKey(key));
    list->RemoveRows(ids);
}

void CKXObjectInfoWnd::RenameObject(const std::string& key, int kind, const CString& name, const CString* second) {
    SKXObjectInfo* record = Record(key, kind);
    if (!record) return;
    record->name = name;
    if (CKXObjectInfoListCtrl* list = m_lists[Kind(kind)].get()) {
        const int row = list->FindRowById(IdOfKey(key));
        if (row >= 0) list->SetItemText(row, 0, name);
        if (row >= 0 && second) list->SetItemText(row, 1, *second);
    }
    if (record->window && record->window == m_pActive) UpdateRecordInfo(record->window);
}

// ------------------------------------------------------------------ showing

void CKXObjectInfoWnd::SwitchBeamKind(int kind) {
    if (m_beam.GetKind() != Kind(kind)) m_beam.SetKind(kind);
}

void CKXObjectInfoWnd::HideShownGrids() {
    for (SKXObjectInfo* record : m_shown)
        if (record->window) record->window->ShowWindow(SW_HIDE);
    m_shown.clear();
}

void CKXObjectInfoWnd::OpenAndShow(SKXObjectInfo& record, BOOL group, int mode2) {
    m_shown.push_back(&record);
    if (!record.window) {
        if (!m_pOwner) {
            m_shown.pop_back();
            return;
        }
        TrimOpenWindows(record.kind);
        CKXGridWnd* grid = group ? m_pOwner->CreateGroupObjectGrid(record.kind, record.key, mode2, m_bGroupFlag)
                                 : m_pOwner->CreateObjectGrid(record.kind, record.key, mode2);
        if (!grid) {
            m_shown.pop_back();
            return;
        }
        record.window = grid;
        m_byWindow[grid] = &record;
        m_open[record.kind].push_back(record.key);
    }
    // A kept grid follows the design while hidden and comes back as the user left it: its order,
    // filter and current cell.
    m_pActive = record.window;
    record.window->ShowWindow(SW_SHOW);
}

void CKXObjectInfoWnd::ActivateObjectWindow(const std::string& key, int kind, int mode1, int mode2) {
    GuardFlag guard(g_bActivating);
    if (!guard.Taken()) return;
    m_nMode1 = mode1;
    m_nMode2 = mode2;
    m_bSideBySide = FALSE;
    SKXObjectInfo* record = Recall(key, kind);
    if (!record) return;
    SwitchBeamKind(record->kind);
    HideShownGrids();
    OpenAndShow(*record, FALSE, mode2);
    LayoutWindows();
    if (m_pActive) UpdateRecordInfo(m_pActive);
}

void CKXObjectInfoWnd::ShowObjectInfo(const std::string& keys, int kind, int mode1, int mode2) {
    GuardFlag guard(g_bShowing);
    if (!guard.Taken()) return;
    if (kind == 2) kind = m_beam.GetKind();
    HideShownGrids();
    m_nMode1 = mode1;
    m_nMode2 = mode2;
    m_pActive = nullptr;
    const std::vector<std::string> parts = SplitKeys(keys);
    if (parts.size() == 1 && !m_bGroupFlag)
        ActivateObjectWindow(parts.front(), kind, mode1, mode2);
    else if (parts.size() > 1 && !mode1 && !m_bGroupFlag)
        ShowSeparate(parts, kind, mode2);
    else if (!parts.empty())
        ShowGroup(keys, kind, mode2);
    FinishShow();
}

void CKXObjectInfoWnd::ShowSeparate(const std::vector<std::string>& keys, int kind, int mode2) {
    m_bSideBySide = TRUE;
    for (const std::string& key : keys) {
        SKXObjectInfo* record = Recall(key, kind);
        if (!record) continue; // a key without a record shows nothing
        SwitchBeamKind(record->kind);
        OpenAndShow(*record, FALSE, mode2);
    }
    if (!m_shown.empty()) m_pActive = m_shown.front()->window;
    m_bSideBySide = m_shown.size() > 1;
}

void CKXObjectInfoWnd::ShowGroup(const std::string& keys, int kind, int mode2) {
    m_bSideBySide = FALSE;
    if (!Record(keys, kind)) CreateObjectListByKey(keys, kMultipleSelection, "", "", kind, 0);
    SKXObjectInfo* record = Record(keys, kind);
    SwitchBeamKind(record->kind);
    OpenAndShow(*record, TRUE, mode2);
}

void CKXObjectInfoWnd::FinishShow() {
    m_widths.clear();
    if (m_pOwner) m_pOwner->AfterObjectsShown(ShownGrids(), m_pActive);
    // Side by side, the grids scroll together under the window's own bar and show none of theirs.
    m_bOwnScrollBar = m_bSideBySide && m_bScrollTogether;
    for (CKXGridWnd* grid : ShownGrids()) {
        grid->ShowScrollBar(SB_VERT, !m_bOwnScrollBar);
        grid->ShowScrollBar(SB_HORZ, FALSE);
        grid->Invalidate();
    }
    LayoutWindows();
    if (m_pActive) UpdateRecordInfo(m_pActive);
}

// ------------------------------------------------------------------ closing

void CKXObjectInfoWnd::CloseRecord(SKXObjectInfo& record, BOOL remove, BOOL removeRow) {
    const int kind = record.kind;
    const std::string key = record.key;
    CKXGridWnd* grid = record.window;
    if (removeRow) RemoveListRows(kind, {key});
    if (grid) {
        grid->ShowWindow(SW_HIDE);
        std::erase(m_shown, &record);
        m_byWindow.erase(grid);
        std::erase(m_open[kind], key);
        record.window = nullptr;
        if (grid == m_pActive) {
            m_pActive = m_shown.empty() ? nullptr : m_shown.front()->window;
            LayoutWindows();
        }
        if (m_pOwner) m_pOwner->DestroyObjectGrid(grid);
    }
    std::erase(m_shown, &record);
    if (remove) {
        m_groups[kind].erase(key);
        m_records[kind].erase(key);
    }
    if (grid && m_pActive) UpdateRecordInfo(m_pActive);
}

void CKXObjectInfoWnd::CloseObjectWindowById(unsigned long long id, int kind, BOOL remove) {
    CloseObjectWindowByKey(std::to_string(id), kind, remove);
}

void CKXObjectInfoWnd::CloseObjectWindowByKey(const std::string& key, int kind, BOOL remove) {
    if (SKXObjectInfo* record = Record(key, kind)) CloseRecord(*record, remove);
}

// The rows go in one pass first; each record is then found by its key, so closing k objects
// costs k look-ups and that one pass, however many objects are remembered.
void CKXObjectInfoWnd::CloseObjectWindows(std::set<std::string>& keys, int kind, BOOL remove) {
    RemoveListRows(kind, keys);
    for (const std::string& key : keys)
        if (SKXObjectInfo* record = Record(key, kind)) CloseRecord(*record, remove, FALSE);
    keys.clear();
}

void CKXObjectInfoWnd::CloseObjectsHolding(const std::set<std::string>& ids, int kind, BOOL remove) {
    std::set<std::string> doomed, bits;
    for (const std::string& id : ids)
        if (Record(id, kind))
            doomed.insert(id);
        else if (Kind(kind) == 1 && !IsGroupKey(id) && InBitRuns(IdOfKey(id)))
            bits.insert(id);
    // A bit remembered without a record has a row and nothing else.
    RemoveListRows(kind, bits);
    if (remove)
        for (const std::string& id : bits)
            TakeBit(IdOfKey(id));
    // Only the groups are looked into: a record of one object is found by its key.
    for (const std::string& group : m_groups[Kind(kind)])
        for (const std::string& part : SplitKeys(group))
            if (ids.count(part)) {
                doomed.insert(group);
                break;
            }
    if (!doomed.empty()) CloseObjectWindows(doomed, kind, remove);
}

void CKXObjectInfoWnd::TrimOpenWindows(int kind) {
    std::deque<std::string>& open = m_open[Kind(kind)];
    const size_t limit = static_cast<size_t>(std::max(m_nMaxOpenWindows, 1));
    if (open.size() < limit) return;
    // The oldest grid that the request being shown does not show.
    for (auto it = open.begin(); it != open.end(); ++it) {
        SKXObjectInfo* record = Record(*it, kind);
        if (record && std::find(m_shown.begin(), m_shown.end(), record) != m_shown.end()) continue;
        if (!record) {
            open.erase(it);
            return;
        }
        CloseRecord(*record, FALSE);
        return;
    }
}

void CKXObjectInfoWnd::ForgetWindow(CKXGridWnd* grid) {
    auto it = m_byWindow.find(grid);
    if (it == m_byWindow.end()) return;
    SKXObjectInfo* record = it->second;
    m_byWindow.erase(it);
    std::erase(m_open[record->kind], record->key);
    std::erase(m_shown, record);
    record->window = nullptr;
    if (m_pActive == grid) m_pActive = m_shown.empty() ? nullptr : m_shown.front()->window;
}

// ------------------------------------------------------------------ beam text

void CKXObjectInfoWnd::UpdateRecordInfo(CKXGridWnd* grid) {
    auto it = m_byWindow.find(grid);
    if (it == m_byWindow.end()) return;
    const SKXObjectInfo& record = *it->second;
    m_pActive = grid;
    CString text;
    if (m_bSideBySide || m_nMode1)
        text = kMultipleSelection;
    else if (m_nMode2)
        text = "Net Bit";
    else
        text = record.name;
    m_beam.SetKind(record.kind);
    m_beam.SetRecord(Literal(text), static_cast<long>(GetRecordCount(record.kind)),
                     static_cast<long>(IdOfKey(record.key)));
}

// ------------------------------------------------------------------ layout

// The window covers its parent's inside.
CRect CKXObjectInfoWnd::ClientArea() const {
    CRect client;
    if (CWnd* parent = GetParent())
        parent->GetClientRect(&client);
    else
        GetClientRect(&client);
    return client;
}

void CKXObjectInfoWnd::LayoutWindows() {
    if (!m_bCreated) {
        if (!CreateCommon(GetParent(), WS_CHILD | WS_VSCROLL | WS_HSCROLL, GetDlgCtrlID())) return;
        SendMessage(MSG_OBJECT_INFO_LIST, 3, 0);
        m_bCreated = TRUE;
    }
    const CRect client = ClientArea();
    CRect inside = client;
    inside.bottom = std::max(inside.top, inside.bottom - GetBeamHeight());
    if (m_bOwnScrollBar) inside.right = std::max(inside.left, inside.right - kScrollBarWidth);
    if (m_beam.GetSafeHwnd())
        m_beam.MoveWindow(CRect(client.left, inside.bottom, client.right, client.bottom));
    m_separators.clear();
    const std::vector<CKXGridWnd*> grids = ShownGrids();
    int left = inside.left;
    for (size_t i = 0; i < grids.size(); ++i) {
        const bool last = i + 1 == grids.size();
        // Each grid keeps its width (the one the user gave it, else the one it has), the last one
        // taking what is left; the grids keep their height.
        CRect placed;
        grids[i]->GetWindowRect(&placed);
        // A grid is placed in its own parent's coordinates (the pane's, which share this window's left edge).
        if (CWnd* holder = grids[i]->GetParent()) holder->ScreenToClient(&placed);
        auto width = m_widths.find(grids[i]);
        const int right = last ? inside.right : left + (width == m_widths.end() ? placed.Width() : width->second);
        grids[i]->MoveWindow(CRect(left, placed.top, std::max(left, right), placed.bottom));
        left = std::max(left, right);
        if (last || !m_bSeparators) continue;
        auto separator = std::make_unique<CButton>();
        separator->Create("", WS_CHILD | WS_VISIBLE, CRect(left, inside.top, left + kSeparatorWidth, inside.bottom),
                          this, 0);
        m_separators.push_back(std::move(separator));
        left += kSeparatorWidth;
    }
    if (m_pDropped) {
        const int button = m_pDropped->GetKind() * kBeamButtonWidth;
        m_pDropped->MoveWindow(CRect(client.left + button, inside.bottom - kListHeight, client.right, inside.bottom));
    }
}

void CKXObjectInfoWnd::EqualWidths() {
    const std::vector<CKXGridWnd*> grids = ShownGrids();
    if (grids.empty()) return;
    const CRect client = ClientArea();
    const int width = client.Width() / static_cast<int>(grids.size());
    m_widths.clear();
    for (CKXGridWnd* grid : grids)
        m_widths[grid] = width;
    LayoutWindows();
}

void CKXObjectInfoWnd::OnSize(UINT type, int cx, int cy) {
    const std::vector<CKXGridWnd*> grids = ShownGrids();
    for (CKXGridWnd* grid : grids)
        grid->SendMessage(kGridResizeNotice, 1, 0);
    if (type != SIZE_MINIMIZED && cx >= 1 && cx <= kMaxSize && cy >= 1 && cy <= kMaxSize) LayoutWindows();
    for (CKXGridWnd* grid : grids)
        grid->SendMessage(kGridResizeNotice, 0, 0);
}

int CKXObjectInfoWnd::SeparatorAt(CPoint point) const {
    for (size_t i = 0; i < m_separators.size(); ++i) {
        CRect rect;
        m_separators[i]->GetWindowRect(&rect);
        ScreenToClient(&rect); // the press comes in this window's coordinates
        if (point.x >= rect.left - 1 && point.x <= rect.right + 1) return static_cast<int>(i);
    }
    return -1;
}

BOOL CKXObjectInfoWnd::DragSeparator(size_t index, int dx) {
    const std::vector<CKXGridWnd*> grids = ShownGrids();
    if (index + 1 >= grids.size() || dx == 0) return FALSE;
    CRect leftRect, rightRect;
    grids[index]->GetWindowRect(&leftRect);
    grids[index + 1]->GetWindowRect(&rightRect);
    const int leftWidth = leftRect.Width() + dx;
    const int rightWidth = rightRect.Width() - dx;
    if (leftWidth < 0 || rightWidth < 0) return FALSE; // a grid cannot be narrower than nothing
    m_widths[grids[index]] = leftWidth;
    m_widths[grids[index + 1]] = rightWidth;
    LayoutWindows();
    return TRUE;
}

// ------------------------------------------------------------------ drop-down lists

void CKXObjectInfoWnd::HideDroppedList() {
    if (m_pDropped) m_pDropped->ShowWindow(SW_HIDE);
    m_pDropped = nullptr;
}

void CKXObjectInfoWnd::DropDown(int kind) {
    HideDroppedList();
    CKXObjectInfoListCtrl* list = m_lists[Kind(kind)].get();
    if (!list || list->GetItemCount() == 0) return; // an empty list is not dropped down
    m_pDropped = list;
    list->ShowWindow(SW_SHOW);
    LayoutWindows();
    list->SetFocus();
}

void CKXObjectInfoWnd::ShowChosen(const CString& ids) {
    const int kind = m_pDropped ? m_pDropped->GetKind() : 2;
    HideDroppedList();
    HideShownGrids();
    m_bGroupFlag = FALSE;
    const SKXObjectInfo* record = Recall(ids.str(), kind == 2 ? m_beam.GetKind() : kind);
    ShowObjectInfo(ids.str(), kind, m_nMode1, record ? static_cast<int>(record->data != 0) : 0);
    if (!m_shown.empty()) {
        EqualWidths();
        m_pActive = m_shown.front()->window;
        if (m_pActive) UpdateRecordInfo(m_pActive);
        if (m_pOwner) m_pOwner->AfterObjectsChosen(m_beam.GetKind(), {m_shown.begin(), m_shown.end()});
    }
}

LRESULT CKXObjectInfoWnd::OnObjectInfoList(WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case 0:
    case 1: DropDown(static_cast<int>(wParam)); break;
    case 2:
    case 3: break;
    case kShowChosen:
        if (lParam) ShowChosen(reinterpret_cast<const char*>(lParam));
        break;
    default: EqualWidths(); break;
    }
    return 0;
}

BOOL CKXObjectInfoWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == MSG_OBJECT_INFO_LIST) {
        const LRESULT result = OnObjectInfoList(wParam, lParam);
        if (pResult) *pResult = result;
        return TRUE;
    }
    if (message == WM_SIZE) {
        OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return TRUE;
    }
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (message == WM_LBUTTONDOWN) {
        // A press on a separator starts a drag; the grids keep their widths until the release.
        m_nDragging = SeparatorAt(point);
        m_nPressX = point.x;
        if (m_nDragging >= 0) SetCapture();
        return TRUE;
    }
    if (message == WM_LBUTTONUP && m_nDragging >= 0) {
        const int separator = m_nDragging;
        m_nDragging = -1;
        ::ReleaseCapture();
        DragSeparator(static_cast<size_t>(separator), point.x - m_nPressX);
        return TRUE;
    }
    if (message == WM_VSCROLL) {
        // Side-by-side grids scroll together; otherwise only the active one does.
        for (CKXGridWnd* grid : m_bScrollTogether ? ShownGrids() : std::vector<CKXGridWnd*>{m_pActive})
            if (grid) grid->SendMessage(WM_VSCROLL, wParam, lParam);
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

// ------------------------------------------------------------------ window classes

namespace {

LPCSTR RegisterWindowClass(LPCSTR name, WNDPROC proc, HINSTANCE instance) {
    if (GetClassInfoA(instance, name, nullptr)) return name;
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc)) AfxThrowResourceException();
    return name;
}

// The window object of a window made from a class name takes over the handle and is deleted with it.
template <class Window> LRESULT HookWindow(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = new Window;
    if (!window->Attach(hWnd)) {
        delete window;
        return -1;
    }
    GXAddAutoDeleteWnd(window);
    return window->SendMessage(message, wParam, lParam);
}

} // namespace

LPCSTR CKXObjectInfoWnd::RegisterClassA(HINSTANCE hInstance) {
    return RegisterWindowClass("CKXObjectInfoWnd", &WndProcHook, hInstance);
}

BOOL CKXObjectInfoWnd::UnregisterClassA(HINSTANCE hInstance) {
    return ::UnregisterClassA("CKXObjectInfoWnd", hInstance);
}

LRESULT CKXObjectInfoWnd::WndProcHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return HookWindow<CKXObjectInfoWnd>(hWnd, message, wParam, lParam);
}

void CKXObjectInfoWnd::PostNcDestroy() {
    if (GXRemoveAutoDeleteWnd(this)) delete this;
}

LPCSTR CKXObjectInfoBeam::RegisterClassA(HINSTANCE hInstance) {
    return RegisterWindowClass("CKXObjectInfoBeam", &WndProcHook, hInstance);
}

BOOL CKXObjectInfoBeam::UnregisterClassA(HINSTANCE hInstance) {
    return ::UnregisterClassA("CKXObjectInfoBeam", hInstance);
}

LRESULT CKXObjectInfoBeam::WndProcHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return HookWindow<CKXObjectInfoBeam>(hWnd, message, wParam, lParam);
}

void CKXObjectInfoBeam::PostNcDestroy() {
    if (GXRemoveAutoDeleteWnd(this)) delete this;
}
