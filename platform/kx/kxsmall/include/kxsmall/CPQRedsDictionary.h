// Property server: the dictionary of constraint properties and the merge engine.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

class CTransaction;
class IServer;
class CDesignContext;

class CPQRedsDictionary {
public:
    static CPQRedsDictionary* GetDictionary();
    // True when name is a constraint property (case-insensitive); regardless of user-added names when
    // userDefinedToo is false.
    bool IsConstraint(const CString& name, bool userDefinedToo) const;
    void AddConstraint(const CString& name);
    void Reset();

private:
    std::vector<CString> m_user;
};

class CMergeEngine {
public:
    // kind 10: net, 19: net range/bit; mode 4: the properties of from are copied onto into where into lacks them.
    // Nonzero on success.
    static int MergeObjects(CTransaction* transaction, const CDesignContext& design, const CString& from,
                            const CString& into, int kind, int mode);
};
