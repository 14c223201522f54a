// CMenu: menus as data. A menu handle names an item list; pop-ups are menus owned by the item that
// opens them. TrackPopupMenu takes its choice from the answer queue (see afxanswer.h).
#pragma once

#include "afx/afxwin.h"

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    // Destroys the attached menu, as MFC does (Detach first to keep it).
    ~CMenu() override;

    // The wrapper of a handle (owned by the menu; valid while the menu exists), or nullptr.
    static CMenu* FromHandle(HMENU hMenu);
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the resource chain; FALSE when no module has the menu.
    BOOL LoadMenu(UINT nIDResource);
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL DestroyMenu();

    int GetMenuItemCount() const;
    // Command id of the item at a position; -1 (as UINT) for a pop-up, 0 for a separator.
    UINT GetMenuItemID(int nPos) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    CMenu* GetSubMenu(int nPos) const;

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    // Removes the item; a pop-up it opened is kept (RemoveMenu) or destroyed (DeleteMenu).
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // Previous state (MF_ENABLED/MF_GRAYED/MF_DISABLED, MF_CHECKED), or -1 (as UINT) when absent.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);

    // Shows the menu: the owner gets WM_INITMENUPOPUP first (frames run the update handlers), then
    // the choice comes from the answer queue among the enabled command items. With TPM_RETURNCMD
    // the chosen id (0 for none) is returned; otherwise the choice is sent to the owner as
    // WM_COMMAND before returning, and the result is TRUE.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, void* lptpm) {
        (void)lptpm;
        return TrackPopupMenu(fuFlags, x, y, pWnd);
    }

    // Test and host helpers: the enabled command ids (sub-menus included) and a text dump
    // ("&Open\t35109\n---\n>Sub\n  Item\t2\n", grayed items marked with '~', checked with '*').
    std::vector<UINT> GetCommandIds(BOOL bEnabledOnly = TRUE) const;
    CString Dump() const;
    // Last position at which TrackPopupMenu was asked to show a menu.
    static CPoint GetLastTrackPoint();
    static UINT GetLastTrackFlags();

private:
    BOOL m_bOwnedByTable = FALSE; // wrappers returned by FromHandle
    friend struct AfxMenuTable;
};

BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
int AfxGetMenuCount(); // live menus (tests check for leaks)

// Runs the update handlers of pTarget for each item of the pop-up (what a frame does before a
// pop-up shows). A sub-menu item is updated with m_pSubMenu set and the id of its first item.
void AfxUpdateMenu(CCmdTarget* pTarget, CMenu* pPopup, BOOL bDisableIfNoHndler);
