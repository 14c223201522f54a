// Model assignment dialog: lists the signal models found in the working directory that match the name and
// type filters and returns the chosen one. Headless: DoModal answers from the answer queue (field "model").
//
// Models are files "<name>.mdl" in the working directory whose first line is "MODEL <type>", the type being
// one of "IbisInput", "IbisOutput", "IbisIO". The type filter "*" matches every type.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

class CWnd;

class CKXDlgModelAssign {
public:
    enum { IDD = 7302 };
    CKXDlgModelAssign(CWnd* parent = nullptr, int flags = 0);
    void SetWorkingDir(const CString& dir) { m_strDir = dir; }
    void SetModelNameFilter(const CString& filter) { m_strNameFilter = filter; }
    void SetModelTypeFilter(const CString& filter) { m_strTypeFilter = filter; }
    // The models that the filters let through, sorted by name.
    std::vector<CString> GetModelList() const;
    // IDOK when a listed model was chosen.
    int DoModal();
    CString GetAssignedModel() const { return m_strModel; }
    CString GetLastError() const { return m_strError; }

private:
    CString m_strDir, m_strNameFilter = "*", m_strTypeFilter = "*", m_strModel, m_strError;
};
