// CKXAssocCompStruct: one selected object that can carry associated components,
// as grids publish it to the associated-component viewer: a net bit, a pin or pin
// bit, or a container (differential pair), with an owned copy of its context. A
// grid broadcasts MSG_ASSOC_COMP_VIEWER_SELECTION with the design context first
// and a CKXAssocCompArray second; the broadcast is synchronous, so the records are
// freed by the grid when it returns. The host reads them as the viewer does.
#pragma once

#include "rmx/context.h"

#include <memory>
#include <vector>

struct CKXAssocCompStruct {
    enum Type { NET = 1, PIN = 2, CONTAINER = 3 };
    // The same kinds by the names the pin grid's code uses.
    static constexpr int kNetBit = NET;
    static constexpr int kPin = PIN;
    static constexpr int kContainer = CONTAINER;

    CKXAssocCompStruct(int type, int flag, std::unique_ptr<CContext> context)
        : m_nType(type), m_nFlag(flag), m_pContext(std::move(context)) {}
    // A copy of a net-bit, pin, pin-bit or container context.
    template <class Context>
    CKXAssocCompStruct(int type, const Context& context)
        : CKXAssocCompStruct(type, 0, std::make_unique<Context>(context)) {}

    int m_nType = 0;
    int m_nFlag = 0;
    std::unique_ptr<CContext> m_pContext;
};

using CKXAssocCompArray = std::vector<std::unique_ptr<CKXAssocCompStruct>>;
