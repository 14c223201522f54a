// The record-info window: a frame with a record beam (buttons, record number and count) at its bottom.
#pragma once

#include "grid/gxtypes.h"

#include "afx/afxwin.h"

class CGXGridCore;

// The beam along the bottom of a record-info window.
class CGXRecordInfoBeam : public CWnd {
    DECLARE_DYNAMIC(CGXRecordInfoBeam)
public:
    CGXRecordInfoBeam() = default;
    void SetRecordCount(long n) { m_nRecordCount = n; }
    long GetRecordCount() const { return m_nRecordCount; }
    void SetCurrentRecord(long n) { m_nCurrentRecord = n; }
    long GetCurrentRecord() const { return m_nCurrentRecord; }
    void SetText(LPCTSTR text) { m_sText = text; }
    const CString& GetText() const { return m_sText; }
    void SetRecordInfoWnd(CWnd* pWnd) { m_pRecordInfoWnd = pWnd; }
    CWnd* GetRecordInfoWnd() const { return m_pRecordInfoWnd; }
    // Buttons are numbered from 0 at the left; each is GetButtonWidth() pixels wide.
    int GetButtonWidth() const { return m_nButtonWidth; }
    void SetButtonWidth(int cx) { m_nButtonWidth = cx; }
    int ButtonFromPoint(CPoint pt) const;
    // A pressed button; the base reports nothing.
    virtual void OnButtonPressed(int nButton) { (void)nButton; }
    // The record-number field is read-only when set.
    void SetReadOnlyRecordField(BOOL b) { m_bReadOnlyField = b; }
    BOOL IsReadOnlyRecordField() const { return m_bReadOnlyField; }

protected:
    long m_nRecordCount = 0;
    long m_nCurrentRecord = 0;
    CString m_sText;
    CWnd* m_pRecordInfoWnd = nullptr;
    int m_nButtonWidth = 16;
    BOOL m_bReadOnlyField = FALSE;
};

// The frame: holds the beam and the scroll bars around its inside area.
class CGXRecordInfoWnd : public CWnd {
    DECLARE_DYNAMIC(CGXRecordInfoWnd)
public:
    CGXRecordInfoWnd();
    ~CGXRecordInfoWnd() override;
    // Creates the beam (as a child of pParent when given, else of this window); FALSE on failure.
    BOOL CreateCommon(CWnd* pParent, DWORD dwStyle, UINT nID);
    CGXRecordInfoBeam* GetBeam() const { return m_pBeam; }
    void SetBeam(CGXRecordInfoBeam* pBeam) { m_pBeam = pBeam; }
    int GetBeamHeight() const { return m_nBeamHeight; }
    int GetBeamWidth() const { return m_nBeamWidth; }
    // The client area less the beam.
    void GetInsideRect(CRect& rect) const;
    virtual void LayoutWindows() {}

protected:
    CGXRecordInfoBeam* m_pBeam = nullptr;
    BOOL m_bOwnBeam = FALSE;
    int m_nBeamHeight = 18;
    int m_nBeamWidth = 200;
};

// Told whenever a grid's current cell changes. One object is installed for the process.
class CGXAbstractRecordInfoWndInterface {
public:
    virtual ~CGXAbstractRecordInfoWndInterface() = default;
    virtual void UpdateRecordInfo(CGXGridCore* pGrid) = 0;
};

// Installs the process-wide interface (owned; a previous one is deleted). Null uninstalls.
void GXSetRecordInfoWndInterface(CGXAbstractRecordInfoWndInterface* pInterface);
CGXAbstractRecordInfoWndInterface* GXGetRecordInfoWndInterface();

// Windows the library deletes when they are destroyed (windows created from a class name).
void GXAddAutoDeleteWnd(CWnd* pWnd);
BOOL GXRemoveAutoDeleteWnd(CWnd* pWnd); // TRUE when the window was listed
BOOL GXIsAutoDeleteWnd(const CWnd* pWnd);
