// One selected object that can carry associated components, as grids publish
// it to the associated-component viewer (MSG_ASSOC_COMP_VIEWER_SELECTION): a
// net bit, a pin or pin bit, or a container (differential pair), with its own
// copy of the object's context. The publishing grid owns the records and frees
// them when the synchronous broadcast has returned.
#pragma once

#include "rmx/context.h"

#include <memory>
#include <variant>

class CKXAssocCompStruct {
public:
    enum Kind { kNone = -1, kNetBit = 1, kPin = 2, kContainer = 3 };
    using Context = std::variant<std::monostate, CNetBitContext, CInstTermContext, CInstTermBitContext, CContainerContext>;

    CKXAssocCompStruct(int type, Context context) : m_nType(type), m_context(std::move(context)) {}
    virtual ~CKXAssocCompStruct() = default;

    int m_nType = kNone;
    int m_nFlag = 0;
    const Context& GetContext() const { return m_context; }

private:
    Context m_context;
};
