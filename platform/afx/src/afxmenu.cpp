#include "afx/afxmenu.h"

#include "afx/afxanswer.h"
#include "afx/afxres.h"

#include <map>
#include <memory>
#include <unordered_map>

struct AfxMenuTable {
    struct Item {
        UINT flags = 0;
        UINT id = 0;
        CString text;
        HMENU popup = nullptr;
    };
    struct Menu {
        std::vector<Item> items;
        std::unique_ptr<CMenu> wrapper;
        UINT defaultItem = static_cast<UINT>(-1);
    };
    std::unordered_map<HMENU, std::unique_ptr<Menu>> menus;
    UINT_PTR next = 0x20000;
    CPoint lastPoint;
    UINT lastFlags = 0;

    // Never destroyed: menus with static storage may outlive any other static.
    static AfxMenuTable& get() {
        static auto* t = new AfxMenuTable;
        return *t;
    }
    Menu* find(HMENU h) {
        auto it = menus.find(h);
        return it == menus.end() ? nullptr : it->second.get();
    }
    HMENU create() {
        HMENU h = reinterpret_cast<HMENU>(next);
        next += 4;
        menus[h] = std::make_unique<Menu>();
        return h;
    }
    void destroy(HMENU h) {
        auto it = menus.find(h);
        if (it == menus.end()) return;
        std::unique_ptr<Menu> m = std::move(it->second);
        menus.erase(it);
        for (auto& i : m->items)
            if (i.popup) destroy(i.popup);
        if (m->wrapper) m->wrapper->m_hMenu = nullptr; // the wrapper goes with the menu
    }
    // Finds an item by command (searching sub-menus) or by position.
    Item* locate(HMENU h, UINT pos, UINT flags, HMENU* owner = nullptr, size_t* index = nullptr) {
        Menu* m = find(h);
        if (!m) return nullptr;
        if (flags & MF_BYPOSITION) {
            if (pos >= m->items.size()) return nullptr;
            if (owner) *owner = h;
            if (index) *index = pos;
            return &m->items[pos];
        }
        for (size_t i = 0; i < m->items.size(); ++i) {
            Item& it = m->items[i];
            if (!it.popup && !(it.flags & MF_SEPARATOR) && it.id == pos) {
                if (owner) *owner = h;
                if (index) *index = i;
                return &it;
            }
        }
        for (auto& it : m->items)
            if (it.popup)
                if (Item* found = locate(it.popup, pos, flags, owner, index)) return found;
        return nullptr;
    }
};

namespace {
AfxMenuTable& T() {
    return AfxMenuTable::get();
}
constexpr UINT kStateMask =
    MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT | MF_MENUBARBREAK | MF_MENUBREAK;

AfxMenuTable::Item makeItem(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    AfxMenuTable::Item i;
    i.flags = nFlags & ~static_cast<UINT>(MF_BYPOSITION);
    if (nFlags & MF_POPUP)
        i.popup = reinterpret_cast<HMENU>(nIDNewItem);
    else if (!(nFlags & MF_SEPARATOR))
        i.id = static_cast<UINT>(nIDNewItem);
    if (!(nFlags & MF_SEPARATOR)) i.text = lpszNewItem;
    return i;
}
} // namespace

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() {
    if (!m_bOwnedByTable && m_hMenu) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    AfxMenuTable::Menu* m = T().find(hMenu);
    if (!m) return nullptr;
    if (!m->wrapper) {
        m->wrapper = std::make_unique<CMenu>();
        m->wrapper->m_hMenu = hMenu;
        m->wrapper->m_bOwnedByTable = TRUE;
    }
    return m->wrapper.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (m_hMenu || !T().find(hMenu)) return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::CreateMenu() {
    if (m_hMenu) return FALSE;
    m_hMenu = T().create();
    return TRUE;
}

BOOL CMenu::CreatePopupMenu() {
    return CreateMenu();
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    if (m_hMenu) return FALSE;
    const std::vector<AfxMenuItemDef>* def = AfxFindMenuResource(nIDResource);
    if (!def) return FALSE;
    HMENU root = T().create();
    std::vector<HMENU> stack{root};
    for (const auto& d : *def) {
        if (d.level < 0 || static_cast<size_t>(d.level) >= stack.size()) {
            T().destroy(root); // a malformed table loads nothing
            return FALSE;
        }
        stack.resize(static_cast<size_t>(d.level) + 1);
        HMENU into = stack.back();
        if (d.flags & MF_POPUP) {
            HMENU sub = T().create();
            T().find(into)->items.push_back(makeItem(d.flags, reinterpret_cast<UINT_PTR>(sub), d.text));
            stack.push_back(sub);
        } else {
            T().find(into)->items.push_back(makeItem(d.flags, d.id, d.text));
        }
    }
    m_hMenu = root;
    return TRUE;
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    if (!IS_INTRESOURCE(lpszResourceName)) return FALSE;
    return LoadMenu(static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszResourceName)));
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    if (!T().find(h)) return FALSE;
    T().destroy(h);
    return TRUE;
}

int CMenu::GetMenuItemCount() const {
    AfxMenuTable::Menu* m = T().find(m_hMenu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const {
    AfxMenuTable::Menu* m = T().find(m_hMenu);
    if (!m || nPos < 0 || static_cast<size_t>(nPos) >= m->items.size()) return static_cast<UINT>(-1);
    const auto& i = m->items[static_cast<size_t>(nPos)];
    if (i.popup) return static_cast<UINT>(-1);
    return i.id;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    AfxMenuTable::Item* i = T().locate(m_hMenu, nID, nFlags);
    if (!i) return static_cast<UINT>(-1);
    UINT state = i->flags & (kStateMask | MF_SEPARATOR);
    if (i->popup) {
        AfxMenuTable::Menu* sub = T().find(i->popup);
        state |= MF_POPUP | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
    }
    return state;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    AfxMenuTable::Item* i = T().locate(m_hMenu, nIDItem, nFlags);
    rString = i ? i->text : CString();
    return rString.GetLength();
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    CString s;
    GetMenuString(nIDItem, s, nFlags);
    if (!lpString || nMaxCount <= 0) return s.GetLength();
    int n = std::min(s.GetLength(), nMaxCount - 1);
    std::copy(s.GetString(), s.GetString() + n, lpString);
    lpString[n] = '\0';
    return n;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    AfxMenuTable::Menu* m = T().find(m_hMenu);
    if (!m || nPos < 0 || static_cast<size_t>(nPos) >= m->items.size()) return nullptr;
    HMENU sub = m->items[static_cast<size_t>(nPos)].popup;
    return sub ? FromHandle(sub) : nullptr;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    AfxMenuTable::Menu* m = T().find(m_hMenu);
    if (!m) return FALSE;
    if ((nFlags & MF_POPUP) && !T().find(reinterpret_cast<HMENU>(nIDNewItem))) return FALSE;
    m->items.push_back(makeItem(nFlags, nIDNewItem, lpszNewItem));
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    if ((nFlags & MF_POPUP) && !T().find(reinterpret_cast<HMENU>(nIDNewItem))) return FALSE;
    HMENU owner = m_hMenu;
    size_t index = 0;
    if (nFlags & MF_BYPOSITION) {
        AfxMenuTable::Menu* m = T().find(m_hMenu);
        if (!m) return FALSE;
        index = std::min<size_t>(nPosition, m->items.size()); // past the end appends
    } else if (!T().locate(m_hMenu, nPosition, nFlags, &owner, &index)) {
        return AppendMenu(nFlags, nIDNewItem, lpszNewItem);
    }
    auto& items = T().find(owner)->items;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index),
                 makeItem(nFlags, nIDNewItem, lpszNewItem));
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    AfxMenuTable::Item* i = T().locate(m_hMenu, nPosition, nFlags);
    if (!i) return FALSE;
    if ((nFlags & MF_POPUP) && !T().find(reinterpret_cast<HMENU>(nIDNewItem))) return FALSE;
    HMENU oldPopup = i->popup;
    *i = makeItem(nFlags, nIDNewItem, lpszNewItem);
    if (oldPopup && oldPopup != i->popup) T().destroy(oldPopup); // a replaced pop-up is destroyed
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    HMENU owner = nullptr;
    size_t index = 0;
    if (!T().locate(m_hMenu, nPosition, nFlags, &owner, &index)) return FALSE;
    auto& items = T().find(owner)->items;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    HMENU owner = nullptr;
    size_t index = 0;
    if (!T().locate(m_hMenu, nPosition, nFlags, &owner, &index)) return FALSE;
    auto& items = T().find(owner)->items;
    HMENU popup = items[index].popup;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    if (popup) T().destroy(popup);
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    AfxMenuTable::Item* i = T().locate(m_hMenu, nIDEnableItem, nEnable);
    if (!i) return static_cast<UINT>(-1);
    UINT prev = i->flags & (MF_GRAYED | MF_DISABLED);
    i->flags =
        (i->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return prev;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    AfxMenuTable::Item* i = T().locate(m_hMenu, nIDCheckItem, nCheck);
    if (!i) return static_cast<UINT>(-1);
    UINT prev = i->flags & MF_CHECKED;
    i->flags = (i->flags & ~static_cast<UINT>(MF_CHECKED)) | (nCheck & MF_CHECKED);
    return prev;
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    BOOL found = FALSE;
    for (UINT id = nIDFirst; id <= nIDLast; ++id) {
        if (CheckMenuItem(id, (nFlags & MF_BYPOSITION) | (id == nIDItem ? MF_CHECKED : MF_UNCHECKED)) !=
                static_cast<UINT>(-1) &&
            id == nIDItem)
            found = TRUE;
        if (id == nIDLast) break;
    }
    return found;
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
    AfxMenuTable::Item* i = T().locate(m_hMenu, uItem, fByPos ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!i) return FALSE;
    for (auto& it : T().find(m_hMenu)->items)
        it.flags &= ~static_cast<UINT>(MF_DEFAULT);
    i->flags |= MF_DEFAULT;
    return TRUE;
}

std::vector<UINT> CMenu::GetCommandIds(BOOL bEnabledOnly) const {
    std::vector<UINT> out;
    AfxMenuTable::Menu* m = T().find(m_hMenu);
    if (!m) return out;
    for (const auto& i : m->items) {
        if (i.popup) {
            if (bEnabledOnly && (i.flags & (MF_GRAYED | MF_DISABLED))) continue;
            CMenu* sub = FromHandle(i.popup);
            auto more = sub->GetCommandIds(bEnabledOnly);
            out.insert(out.end(), more.begin(), more.end());
        } else if (!(i.flags & MF_SEPARATOR) && i.id != 0) {
            if (bEnabledOnly && (i.flags & (MF_GRAYED | MF_DISABLED))) continue;
            out.push_back(i.id);
        }
    }
    return out;
}

namespace {
void dump(HMENU h, int depth, CString& out) {
    AfxMenuTable::Menu* m = T().find(h);
    if (!m) return;
    for (const auto& i : m->items) {
        out += CString(' ', depth * 2);
        if (i.flags & MF_SEPARATOR) {
            out += "---\n";
            continue;
        }
        if (i.flags & (MF_GRAYED | MF_DISABLED)) out += '~';
        if (i.flags & MF_CHECKED) out += '*';
        if (i.popup) {
            out += ">" + i.text + "\n";
            dump(i.popup, depth + 1, out);
        } else {
            out.AppendFormat("%s\t%u\n", i.text.GetString(), i.id);
        }
    }
}
} // namespace

CString CMenu::Dump() const {
    CString out;
    dump(m_hMenu, 0, out);
    return out;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    (void)lpRect;
    if (!T().find(m_hMenu)) return FALSE;
    T().lastPoint = CPoint(x, y);
    T().lastFlags = nFlags;
    HWND owner = pWnd ? pWnd->m_hWnd : nullptr;
    if (pWnd && owner) pWnd->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_hMenu), 0);
    if (!T().find(m_hMenu)) return FALSE; // the owner destroyed the menu
    std::vector<UINT> ids = GetCommandIds(TRUE);
    UINT chosen = AfxGetAnswerQueue().TakeMenu(&ids);
    if (nFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && CWnd::FromHandle(owner) == pWnd && pWnd) pWnd->SendMessage(WM_COMMAND, chosen, 0);
    return TRUE;
}

CPoint CMenu::GetLastTrackPoint() {
    return T().lastPoint;
}
UINT CMenu::GetLastTrackFlags() {
    return T().lastFlags;
}

BOOL DestroyMenu(HMENU hMenu) {
    if (!T().find(hMenu)) return FALSE;
    T().destroy(hMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu) {
    return T().find(hMenu) != nullptr;
}
int AfxGetMenuCount() {
    return static_cast<int>(T().menus.size());
}

// ---------------------------------------------------------------- CCmdUI on menu items
void CCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    m_bEnabled = bOn;
    if (m_pMenu && !m_pSubMenu)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    else if (m_pOther)
        m_pOther->EnableWindow(bOn);
}

void CCmdUI::SetCheck(int nCheck) {
    m_bCheckChanged = TRUE;
    m_nCheck = nCheck;
    if (m_pMenu && !m_pSubMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(LPCTSTR lpszText) {
    m_bTextChanged = TRUE;
    m_strText = lpszText;
    if (m_pMenu && !m_pSubMenu) {
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        if (state == static_cast<UINT>(-1)) return;
        m_pMenu->ModifyMenu(m_nIndex,
                            MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)),
                            m_nID, lpszText);
    } else if (m_pOther) {
        m_pOther->SetWindowText(lpszText);
    }
}

void AfxUpdateMenu(CCmdTarget* pTarget, CMenu* pPopup, BOOL bDisableIfNoHndler) {
    if (!pPopup) return;
    HMENU h = pPopup->m_hMenu;
    int count = pPopup->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        if (!IsMenu(h)) return; // a handler destroyed the menu
        CCmdUI ui;
        ui.m_pMenu = pPopup;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_nIndexMax = static_cast<UINT>(count);
        ui.m_nID = pPopup->GetMenuItemID(i);
        if (ui.m_nID == 0) continue; // separator
        if (ui.m_nID == static_cast<UINT>(-1)) {
            // A sub-menu: its handler is the one of the sub-menu's first item.
            ui.m_pSubMenu = pPopup->GetSubMenu(i);
            if (!ui.m_pSubMenu) continue;
            ui.m_nID = ui.m_pSubMenu->GetMenuItemID(0);
            if (ui.m_nID == 0 || ui.m_nID == static_cast<UINT>(-1)) continue;
            ui.DoUpdate(pTarget, FALSE);
        } else {
            ui.DoUpdate(pTarget, bDisableIfNoHndler && ui.m_nID < 0xF000);
        }
        count = pPopup->GetMenuItemCount(); // handlers may add or remove items
    }
}
