// A highlight request: which object to highlight (its canonical path and two integers, such as a bit
// range), how (mode), in which panes (type bits: 2 component list, 4 signal list, 8 connectivity pane),
// and with which colours.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

constexpr int KX_HILITE_TYPE_COMPONENT = 2;
constexpr int KX_HILITE_TYPE_SIGNAL = 4;
constexpr int KX_HILITE_TYPE_CONNECTIVITY = 8;

class CKXHiliteObject {
public:
    // bHilite: TRUE to highlight, FALSE to remove a highlight.
    explicit CKXHiliteObject(bool bHilite = true) : m_bHilite(bHilite) {}

    BOOL IsHilite() const { return m_bHilite ? TRUE : FALSE; }
    void SetHilite(bool bHilite) { m_bHilite = bHilite; }

    int GetMode() const { return m_nMode; }
    void SetMode(int mode) { m_nMode = mode; }
    int ObjectType() const { return m_nType; }
    void SetType(int type) { m_nType = type; }

    // The object by context (its canonical path is kept) and two integers.
    template <class Context> void SetObject(const Context& object, int first, int second) {
        SetObject(CString(object.cpath()), first, second);
    }
    void SetObject(const CString& cpath, int first, int second) {
        m_strPath = cpath;
        m_nFirst = first;
        m_nSecond = second;
    }
    const CString& GetObjectPath() const { return m_strPath; }
    int GetFirst() const { return m_nFirst; }
    int GetSecond() const { return m_nSecond; }

    // Colour by state: 0 normal, anything else highlighted.
    COLORREF GetColor(int state) const { return state ? m_crHilite : m_crNormal; }
    void SetColor(int state, COLORREF color) { (state ? m_crHilite : m_crNormal) = color; }

private:
    bool m_bHilite = true;
    int m_nMode = 0;
    int m_nType = 0;
    CString m_strPath;
    int m_nFirst = -1;
    int m_nSecond = -1;
    COLORREF m_crNormal = RGB(255, 255, 255);
    COLORREF m_crHilite = RGB(255, 255, 0);
};
