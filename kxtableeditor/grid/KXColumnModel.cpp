#include "grid/KXColumnModel.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridIds.h"
#include "grid/KXGridScopes.h"

#include "afx/afxmenu.h"
#include "afx/afxwin.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <algorithm>
#include <set>

namespace {

constexpr UINT kNoDrawing = 2;
constexpr int kRowNumberWidth = 20;

ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

// The customisation entries of the current origin, in the model's order.
std::vector<CString> CurrentEntries(CKXColumnModel::EntryOrder order) {
    std::vector<CString> entries;
    const CStringArray& users = CKXCustomizeAPI::getUserEntriesArray();
    const CStringArray& defaults = CKXCustomizeAPI::getDefaultEntriesArray();
    const bool defaultsFirst = order == CKXColumnModel::EntryOrder::DefaultsFirst;
    for (const CStringArray* list : {defaultsFirst ? &defaults : &users, defaultsFirst ? &users : &defaults})
        for (INT_PTR i = 0; i < list->GetSize(); ++i)
            entries.push_back((*list)[i]);
    return entries;
}

// The keys (upper case) of a list of customisation entries.
std::set<CString> EntryKeys(const CStringArray& entries) {
    std::set<CString> keys;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        CString key, caption;
        int width = 0, widthType = 0, origin = 0, display = 0;
        if (CKXCustomizeAPI::parseAttributeValues(entries[i], key, width, widthType, origin, caption, display))
            keys.insert(key.MakeUpper());
    }
    return keys;
}

// The key (upper case) of one entry; empty when the entry does not parse.
CString EntryKey(const CString& entry) {
    CString key, caption;
    int width = 0, widthType = 0, origin = 0, display = 0;
    if (!CKXCustomizeAPI::parseAttributeValues(entry, key, width, widthType, origin, caption, display))
        return CString();
    return key.MakeUpper();
}

} // namespace

CKXColumnModel::CKXColumnModel(CString origin, KXGridKind kind, CString registryPrefix, EntryOrder order)
    : m_origin(std::move(origin)), m_kind(kind), m_registryPrefix(std::move(registryPrefix)), m_order(order) {}

CKXColumnInfoClass* CKXColumnModel::At(int col) const {
    CKXColumnInfoClass* info = Find(col);
    if (!info) AfxThrowInvalidArgException();
    return info;
}

CKXColumnInfoClass* CKXColumnModel::Find(int col) const {
    if (col < 0 || col >= Size()) return nullptr;
    return m_layout[static_cast<std::size_t>(col)];
}

int CKXColumnModel::ColumnOfKey(const CString& key) const {
    for (int c = m_firstCustomised; c < Size(); ++c)
        if (m_layout[static_cast<std::size_t>(c)]->m_strPropertyName.CompareNoCase(key) == 0) return c;
    return -1;
}

CString CKXColumnModel::RegistrySubKey(int col) const {
    if (col == -1) return CString();
    CString key;
    key.Format("%s\\%s", m_registryPrefix.GetString(), At(col)->m_strPropertyName.GetString());
    return key;
}

std::map<CString, int> CKXColumnModel::PropertyColumns() const {
    std::map<CString, int> columns;
    for (int c = 1; c < Size(); ++c) {
        const CKXColumnInfoClass* info = m_layout[static_cast<std::size_t>(c)];
        if (info->IsPropertyColumn()) columns.emplace(info->m_strPropertyName, c);
    }
    return columns;
}

bool CKXColumnModel::MenuCaption(int col, CString& text) const {
    if (col < 1 || col >= Size()) return false;
    text = m_layout[static_cast<std::size_t>(col - 1)]->m_strCaption;
    return true;
}

void CKXColumnModel::SelectOrigin() const {
    CKXCustomizeAPI::setCustomizationOrigin(m_origin);
    if (CKXCustomizeAPI::Initialize(false) == KX_CUSTOMIZE_RETRY) CKXCustomizeAPI::Initialize(true);
}

std::unique_ptr<CKXColumnInfoClass> CKXColumnModel::MakeColumn(int col, const CString& caption, int width,
                                                               int widthType, bool visible) const {
    auto info = std::make_unique<CKXColumnInfoClass>();
    info->m_nColumn = col;
    info->m_strCaption = caption;
    info->m_nWidth = width;
    info->m_nWidthType = widthType;
    info->m_bShown = visible ? 1 : 0;
    return info;
}

std::vector<std::unique_ptr<CKXColumnInfoClass>>
CKXColumnModel::Setup(const std::vector<FixedColumn>& fixed, int charWidth, bool showRowNumbers) {
    std::vector<std::unique_ptr<CKXColumnInfoClass>> columns;
    columns.push_back(
        MakeColumn(0, CString(), kRowNumberWidth, CKXColumnInfoClass::WidthInChars, showRowNumbers));
    for (const FixedColumn& f : fixed)
        columns.push_back(MakeColumn(static_cast<int>(columns.size()), f.caption, f.widthInChars,
                                     CKXColumnInfoClass::WidthInChars, f.visible));
    const int firstCustomised = static_cast<int>(columns.size());
    std::set<CString> keys; // each column once, however often its key is stored
    for (const CString& entry : CurrentEntries(m_order)) {
        CString key, caption;
        int width = 0, widthType = 0, origin = 0, display = 0;
        if (!CKXCustomizeAPI::parseAttributeValues(entry, key, width, widthType, origin, caption, display))
            continue;
        if (!keys.insert(CString(key).MakeUpper()).second) continue;
        const bool fixedWidth = widthType == KX_WIDTH_FIXED;
        auto info = MakeColumn(static_cast<int>(columns.size()), caption, fixedWidth ? width : charWidth * width,
                               fixedWidth ? CKXColumnInfoClass::WidthFixed : CKXColumnInfoClass::WidthInChars,
                               display == 1);
        info->m_nPropertyType = origin;
        info->m_strPropertyName = key;
        columns.push_back(std::move(info));
    }
    std::swap(columns, m_columns);
    m_layout.clear();
    for (const auto& c : m_columns)
        m_layout.push_back(c.get());
    m_firstCustomised = firstCustomised;
    return columns;
}

void CKXColumnModel::Forget() {
    m_layout.clear();
    m_columns.clear();
    m_firstCustomised = 1;
}

void CKXColumnModel::ShowRowNumbers(bool show) {
    if (CKXColumnInfoClass* rowNumbers = Find(0)) rowNumbers->m_bShown = show ? 1 : 0;
}

void CKXColumnModel::Save(int charWidth, bool parse) const {
    if (!CKXCustomizeAPI::IsInitialized()) return;
    CKXCustomizeAPI::setCustomizationOrigin(m_origin);
    // The columns the user added stay user entries: stored among the defaults too, they would come
    // back twice after the next addition and stay after the user removed them. A key the defaults hold
    // already stays there as well.
    const std::set<CString> userKeys = EntryKeys(CKXCustomizeAPI::getUserEntriesArray());
    const std::set<CString> defaultKeys = EntryKeys(CKXCustomizeAPI::getDefaultEntriesArray());
    CStringArray list;
    std::map<CString, CString> userColumns; // key (upper case) -> the entry as the grid has it now
    for (int c = m_firstCustomised; c < Size(); ++c) {
        const CKXColumnInfoClass* info = m_layout[static_cast<std::size_t>(c)];
        const CString key = CString(info->m_strPropertyName).MakeUpper();
        if (userKeys.count(key) && !defaultKeys.count(key))
            userColumns[key] = EntryOf(*info, charWidth);
        else
            list.Add(EntryOf(*info, charWidth));
    }
    SaveUserColumns(userColumns);
    CKXCustomizeAPI::saveDefaultCustomization(list);
    if (parse) CKXCustomizeAPI::parseFile(list, true);
}

CString CKXColumnModel::EntryOf(const CKXColumnInfoClass& info, int charWidth) {
    const int scale = charWidth > 0 ? charWidth : 1;
    const bool fixedWidth = info.m_nWidthType == CKXColumnInfoClass::WidthFixed;
    return CKXCustomizeAPI::formatEntry(info.m_strPropertyName, info.m_strCaption,
                                        fixedWidth ? info.m_nWidth : info.m_nWidth / scale,
                                        fixedWidth ? KX_WIDTH_FIXED : KX_WIDTH_CHARS, info.m_nPropertyType,
                                        info.m_bShown == 1);
}

void CKXColumnModel::SaveUserColumns(const std::map<CString, CString>& columns) {
    if (columns.empty()) return;
    // Each user entry the grid shows takes the width and display the grid has for it.
    const CStringArray& users = CKXCustomizeAPI::getUserEntriesArray();
    CStringArray kept;
    for (INT_PTR i = 0; i < users.GetSize(); ++i) {
        const auto now = columns.find(EntryKey(users[i]));
        kept.Add(now != columns.end() ? now->second : users[i]);
    }
    CKXCustomizeAPI::saveUserCustomization(kept);
}

bool CKXColumnModel::Customize(const std::vector<FixedColumn>& fixed, int charWidth, bool showRowNumbers,
                               int dialogKind) {
    Save(charWidth, false);
    if (!TookCustomizeAnswer(CKXCustomizeAPI::invokeCustomizeDialog(dialogKind))) return false;
    Rebuild(fixed, charWidth, showRowNumbers);
    return true;
}

int CKXColumnModel::AddUserColumn(const std::vector<FixedColumn>& fixed, int charWidth, bool showRowNumbers,
                                  const CString& entry) {
    Save(charWidth, false);
    SelectOrigin();
    const int added = CKXCustomizeAPI::addUserEntry(entry);
    if (added == 1) Rebuild(fixed, charWidth, showRowNumbers);
    return added;
}

bool CKXColumnModel::TookCustomizeAnswer(int answer) {
    // Accepted as the columns were: the command did nothing, and says so.
    if (answer == KX_CUSTOMIZE_UNCHANGED) KXMenuAnswer::Report(KXEditResult::Nothing("KXPANE-700"));
    return answer == KX_CUSTOMIZE_CHANGED;
}

void CKXColumnModel::Rebuild(const std::vector<FixedColumn>& fixed, int charWidth, bool showRowNumbers) {
    const Layout old = m_layout;
    // The former descriptors live until every grid has read the broadcast.
    const auto former = Setup(fixed, charWidth, showRowNumbers);
    Broadcast(old);
}

void CKXColumnModel::TrackWidth(CGXGridCore& grid, int col) {
    CKXColumnInfoClass* info = Find(col);
    if (!info || info->m_nWidthType != CKXColumnInfoClass::WidthInChars) return;
    const int shown = grid.CGXGridCore::GetColWidth(Col(col));
    info->m_nWidth = shown * 100 / std::max(1, grid.GetZoom());
}

void CKXColumnModel::Broadcast(const Layout& old) const {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!server) return;
    // The receivers only read the copy; it is freed when the synchronous broadcast returns.
    const Layout copy = old;
    server->Broadcast(MSG_COLUMN_LAYOUT_CHANGED, reinterpret_cast<WPARAM>(&copy), KXGridKindNumber(m_kind), 0);
}

int CKXColumnModel::FindCaptionColumn(CGXGridCore& grid, ROWCOL captionRow, const CString& caption) const {
    for (ROWCOL c = 1; c <= grid.GetColCount(); ++c) {
        CGXStyle style;
        grid.GetStyleRowCol(captionRow, c, style);
        if (style.GetIncludeUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)) &&
            style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)) == caption)
            return static_cast<int>(c);
    }
    return -1;
}

void CKXColumnModel::PlaceShownColumns(CGXGridCore& grid, ROWCOL captionRow, const LayoutHooks& hooks) const {
    for (int want = 1; want < Size(); ++want) {
        const CKXColumnInfoClass* info = m_layout[static_cast<std::size_t>(want)];
        if (info->m_bShown != 1) continue;
        const int at = FindCaptionColumn(grid, captionRow, info->m_strCaption);
        if (at >= 0) {
            if (at != want && want <= static_cast<int>(grid.GetColCount()))
                grid.MoveCols(Col(at), Col(at), Col(want), kNoDrawing, gxDo);
            grid.HideCols(Col(want), Col(want), FALSE, nullptr, kNoDrawing, gxDo);
            continue;
        }
        if (want > static_cast<int>(grid.GetColCount()) + 1) continue;
        grid.InsertCols(Col(want), 1, kNoDrawing, gxDo);
        if (hooks.styleCaption) hooks.styleCaption(want, info->m_strCaption);
        // The new column's cells come from the objects of the rows.
        if (info->IsPropertyColumn() && hooks.fillColumn) hooks.fillColumn(want, *info);
    }
}

void CKXColumnModel::HideDroppedColumns(CGXGridCore& grid, ROWCOL captionRow, const Layout& old) const {
    for (std::size_t i = 1; i < old.size(); ++i) {
        const CKXColumnInfoClass* gone = old[i];
        if (!gone) continue;
        const bool kept = std::any_of(m_layout.begin(), m_layout.end(), [gone](const CKXColumnInfoClass* c) {
            return c->m_bShown == 1 && c->m_strCaption == gone->m_strCaption;
        });
        if (kept) continue;
        for (ROWCOL c = 1; c <= grid.GetColCount(); ++c)
            if (grid.GetValueRowCol(captionRow, c) == gone->m_strCaption)
                grid.HideCols(c, c, TRUE, nullptr, kNoDrawing, gxDo);
    }
}

void CKXColumnModel::ApplyLayout(CGXGridCore& grid, ROWCOL captionRow, const Layout* old,
                                 const LayoutHooks& hooks) const {
    kxgrid::LockUpdateScope lock(grid);
    kxgrid::GridWriteScope write(grid);
    PlaceShownColumns(grid, captionRow, hooks);
    if (old) HideDroppedColumns(grid, captionRow, *old);
    for (int c = 1; c < Size() && c <= static_cast<int>(grid.GetColCount()); ++c)
        grid.SetColWidth(Col(c), Col(c), At(c)->m_nWidth, nullptr, kNoDrawing, gxDo);
    if (hooks.finish) hooks.finish();
}

CKXColumnModel::MenuChoice CKXColumnModel::ShowChooser(CWnd& owner, CPoint screen, UINT firstCommand,
                                                       const std::function<bool(int col)>& enabled) {
    CMenu menu;
    menu.CreatePopupMenu();
    UINT id = firstCommand;
    for (int c = 1; c < Size(); ++c, ++id) {
        UINT flags = MF_STRING;
        if (enabled && !enabled(c))
            flags |= MF_GRAYED;
        else if (At(c)->m_bShown)
            flags |= MF_CHECKED;
        menu.AppendMenu(flags, id, At(c)->m_strCaption);
    }
    menu.AppendMenu(MF_SEPARATOR);
    const UINT more = id;
    menu.AppendMenu(MF_STRING, more, "More...");
    const UINT chosen =
        static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, &owner));
    if (chosen == more) return MenuChoice::Customize;
    if (chosen < firstCommand || chosen >= more) return MenuChoice::Dismissed;
    const int col = static_cast<int>(chosen - firstCommand) + 1;
    if (enabled && !enabled(col)) return MenuChoice::Dismissed;
    CKXColumnInfoClass* info = At(col);
    info->m_bShown = info->m_bShown ? 0 : 1;
    return MenuChoice::Toggled;
}
