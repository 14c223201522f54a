// CKXAssocCompStruct: one selected design object as the associated-component
// viewer takes it (a net bit, a pin bit or a container), with an owned copy of
// its context. A grid publishes an array of them with
// MSG_ASSOC_COMP_VIEWER_SELECTION (the design context first, the array second).
#pragma once

#include "rmx/context.h"

#include <memory>
#include <vector>

struct CKXAssocCompStruct {
    enum Type { NET = 1, PIN = 2, CONTAINER = 3 };
    CKXAssocCompStruct(int type, int flag, std::unique_ptr<CContext> context)
        : m_nType(type), m_nFlag(flag), m_pContext(std::move(context)) {}
    int m_nType = 0;
    int m_nFlag = 0;
    std::unique_ptr<CContext> m_pContext;
};

using CKXAssocCompArray = std::vector<std::unique_ptr<CKXAssocCompStruct>>;
