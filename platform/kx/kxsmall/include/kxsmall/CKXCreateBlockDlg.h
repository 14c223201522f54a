// Block creation and "save as": makes a new block (sub-project) design from the current one in a chosen
// library. Headless: DoModal answers from the answer queue (fields "library" and "block").
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <functional>
#include <memory>
#include <string>

class CDesignContext;
class CStringArray;

class CKXCreateBlockDlg {
public:
    enum { IDD = 7304 };
    // mode 1: new block, 2: save the design as a new block
    CKXCreateBlockDlg(void* parent = nullptr);
    ~CKXCreateBlockDlg();
    void SetDesignContext(const CDesignContext& design);
    void SetMode(int mode) { m_nMode = mode; }
    void SetViewName(const CString& view) { m_strView = view; }
    int GetMode() const { return m_nMode; }
    int DoModal();
    CString GetSelectedLib() const { return m_strLib; }
    CString GetBlockName() const { return m_strBlock; }
    // Creates the block: copies the design as library.block:view and saves it. Nonzero on success.
    int CreateSubProject(int kind, CString lib, CString block, CString a4, CString a5, CString a6, int i7,
                         int i8, int i9, int i10, int i11, int i12, CStringArray& list1, CStringArray& list2);
    CString GetLastError() const { return m_strError; }
    // Whether the last CreateSubProject refused the names because the file system cannot take them.
    bool NameTooLong() const { return m_bNameTooLong; }
    // Whether the last CreateSubProject was refused because another host held the library's lock.
    bool LibraryLocked() const { return m_bLibraryLocked; }
    // Files that belong with the new block (its comments): written by CreateSubProject into the block's
    // folder together with the design file, so that the block comes with both or with neither. The
    // writer gets the folder and the block's name; false with the reason when it cannot write.
    using CompanionWriter = std::function<bool(const std::string& folder, const CString& block, std::string& why)>;
    void SetCompanionWriter(CompanionWriter writer) { m_companions = std::move(writer); }

private:
    std::unique_ptr<CDesignContext> m_pDesign;
    int m_nMode = 1;
    CString m_strView, m_strLib, m_strBlock, m_strError;
    bool m_bNameTooLong = false;
    bool m_bLibraryLocked = false;
    CompanionWriter m_companions;
};
