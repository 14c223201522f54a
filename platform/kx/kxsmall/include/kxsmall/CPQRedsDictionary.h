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
    // True when name is a constraint property: one the design server's dictionary lists (when a server is
    // set), one of the electrical rules known here ("MAX_DELAY", "MIN_DELAY", "MAX_LENGTH", "MIN_LENGTH",
    // "IMPEDANCE", "DIFF_IMPEDANCE", "MATCH_GROUP", "PROPAGATION_DELAY", "MAX_OVERSHOOT", "STUB_LENGTH") or
    // one added with AddConstraint. Names compare without case unless caseSensitive.
    bool IsConstraint(const CString& name, bool caseSensitive) const;
    void AddConstraint(const CString& name);
    // The design server whose dictionary is consulted too (null: none).
    void SetServer(IServer* server) { m_pServer = server; }
    void Reset();

private:
    std::vector<CString> m_user;
    IServer* m_pServer = nullptr;
};

class CMergeEngine {
public:
    // kind 10: net, 19: net range/bit; mode 4: the properties of from are copied onto into where into lacks
    // them. Nonzero on success.
    static int MergeObjects(CTransaction* transaction, const CDesignContext& design, const CString& from,
                            const CString& into, int kind, int mode);
};
