// Block filter of the physical view: which hierarchical blocks are left out. The list is kept in the file
// "%s/physModule.dat" of the design's folder: one hierarchical path ("@"-rooted) per line, nothing else.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <memory>
#include <vector>

class CDesignContext;
class CStringList;

// Reads the excluded paths of the file into list (appended, duplicates skipped). A missing file is an empty
// list. FALSE when the file cannot be read or a line is not a hierarchical path; list is then unchanged.
BOOL ReadExcludedSpathList(const CDesignContext& design, CStringList& list, const CString& path);
BOOL ReadExcludedSpathList(const CDesignContext& design, std::vector<CString>& list, const CString& path);
// The same, with the reason in why when FALSE (a folder of the file's name, a line that is no block path).
BOOL ReadExcludedSpathList(const CDesignContext& design, CStringList& list, const CString& path, CString& why);
BOOL ReadExcludedSpathList(const CDesignContext& design, std::vector<CString>& list, const CString& path,
                           CString& why);
// Writes text (paths, each followed by "\n") to the file, atomically. FALSE, file untouched, when a line is
// not a hierarchical path or the file cannot be written.
BOOL WriteExcludedSpathList(const CDesignContext& design, const CString& text, const CString& path);
// The same, with the reason in why when FALSE (the file system's word when the file cannot be written).
BOOL WriteExcludedSpathList(const CDesignContext& design, const CString& text, const CString& path,
                            CString& why);

// Headless dialog: the block paths to exclude come from the answer queue (field "paths", one per line).
class CKXDlgFilterPhys {
public:
    enum { IDD = 7303 };
    CKXDlgFilterPhys(void* parent = nullptr);
    ~CKXDlgFilterPhys();
    void SetConfFile(const CString& path) { m_strFile = path; }
    void SetDesignContext(const CDesignContext& design);
    int DoModal();
    // The excluded hierarchical paths, each followed by "\n".
    CString GetExcSPathList() const { return m_strExcluded; }

private:
    CString m_strFile, m_strExcluded;
    std::unique_ptr<CDesignContext> m_pDesign;
};
