// Named base styles and the registry of user attributes.
#pragma once

#include "grid/gxstyle.h"

#include <map>
#include <memory>
#include <vector>

// Base styles are numbered from 1 in the order they are registered; 0 means "no base style".
class CGXStylesMap {
public:
    CGXStylesMap();
    virtual ~CGXStylesMap();
    CGXStylesMap(const CGXStylesMap&) = delete;
    CGXStylesMap& operator=(const CGXStylesMap&) = delete;

    // Registers "Standard", "Row Header" and "Column Header" (once; later calls keep what exists).
    virtual void CreateStandardStyles();

    // Registers a base style under a name; a name that exists gets the new style and keeps its id.
    WORD RegisterStyle(LPCTSTR pszName, const CGXStyle& style, BOOL bSystemStyle = FALSE);
    WORD GetBaseStyleId(LPCTSTR pszName) const; // 0 when unknown
    BOOL LookupStyle(WORD wStyleId, CGXStyle*& pStyle) const;
    const CGXStyle* LookupStyle(WORD wStyleId) const;
    BOOL GetStyleName(WORD wStyleId, CString& name) const;
    BOOL IsSystemStyle(WORD wStyleId) const;
    int GetStyleCount() const { return static_cast<int>(m_styles.size()); }
    // The base style registered at the given position (0-based), 0 when out of range.
    WORD GetStyleIdAt(int index) const;

    // User attributes known to the grid (shown by property pages; a style describes how to edit them).
    void AddUserAttribute(WORD nID, const CGXStyle* pStyle = nullptr);
    void AddUserAttribute(WORD nID, const CGXStyle& style) { AddUserAttribute(nID, &style); }
    BOOL IsUserAttribute(WORD nID) const { return m_userAttributes.count(nID) != 0; }
    const CGXStyle* GetUserAttributeStyle(WORD nID) const;
    int GetUserAttributeCount() const { return static_cast<int>(m_userAttributes.size()); }

    WORD m_wStyleStandard = 0;
    WORD m_wStyleRowHeader = 0;
    WORD m_wStyleColHeader = 0;

private:
    struct Entry {
        CString name;
        std::unique_ptr<CGXStyle> style;
        bool system = false;
    };
    std::vector<Entry> m_styles; // id = index + 1
    std::map<WORD, std::unique_ptr<CGXStyle>> m_userAttributes;
};
