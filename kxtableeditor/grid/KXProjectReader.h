// Reader of the settings in the host's loaded project file: program sections
// holding directives with one or more values. Values may refer to environment
// variables with "$NAME", "${NAME}" or "$(NAME)".
#pragma once

#include "afx/afxstr.h"
#include "kxcommon/KXShareGlobalData.h"

#include <functional>
#include <vector>

// Status values of the reader operations.
enum : int {
    KXPROJ_OK = 0,
    KXPROJ_NOT_FOUND = 1,
    KXPROJ_NO_VALUE = 2,
    KXPROJ_EXPAND_ERROR = 3, // a value refers to a variable that cannot be expanded
};

// Reads the project that the host loaded (the shared project object unless
// another one is given).
class CKXProjectReader {
public:
    explicit CKXProjectReader(CKXVpxProject* project = nullptr) : m_pProject(project) {}
    int m_bExpand = 1; // values are expanded only when this equals 1

    int ProjectFindProgram(const char* program);
    int ProjectFindDirective(const char* directive);
    int ProjectGetDirectiveString(CString& value);
    int ProjectGetDirectiveInt(int& value);
    int ProjectGetDirectiveBool(BOOL& value, int style);
    int ProjectGetIntDirective(const char* directive, int& value);
    int ProjectGetBoolDirective(const char* directive, BOOL& value, int style);

    // Reads "NAME value..." lines under "[SECTION]" headers into a project; '#'
    // starts a comment. Returns false with the line number in `error` for a line
    // it cannot read; the project is then unchanged.
    static bool LoadText(const char* text, CKXVpxProject& project, CString& error);

private:
    CKXVpxProject* Project() const { return m_pProject ? m_pProject : CKXShareGlobalData::m_pVpxProject; }
    CKXVpxProject* m_pProject = nullptr;
    const SKXProjectSection* m_pSection = nullptr;
    const SKXProjectDirective* m_pDirective = nullptr;
    size_t m_cursor = 0;
};

// The text set by the last failed look-up (process-wide, never cleared).
const CString& KXProjectErrorText();

// 1 with the expanded text, 0 with an error text. The result is limited to
// 2047 characters; a longer one is refused with an error.
int ExpandEnvironmentReferences(const char* text, CString& expanded, CString& error);

// The installation root when `name` is exactly "ZRV_INST_DIR", else FALSE.
BOOL GetInstallDirectory(const char* name, CString& dir);

// Source of the installation root: the install-root service (zrvGetInstallRoot) unless another is set;
// setting none returns to the service.
using KXInstallRootProvider = std::function<bool(CString& root)>;
void KXSetInstallRootProvider(KXInstallRootProvider provider);
bool KXInstallRootFromService(CString& root);
