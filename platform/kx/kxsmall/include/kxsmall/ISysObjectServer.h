// System object server: names of system objects (pin bits' pin types) and the hand-over of associated
// instances to the packaging side.
#pragma once

#include "afx/afxtypes.h"

class CDesignContext;
class CInstTermBitContext;
class CTransaction;
class IDTInstance;

class ISysObjectServer {
public:
    virtual ~ISysObjectServer() = default;
    static ISysObjectServer* GetSysObjectServer();
    // Name of a system object by id; the caller owns the text and frees it with FreeName. Null when unknown.
    virtual char* GetSysObjectName(long id) = 0;
    // Name of the pin bit's system object: its pin type ("Input", "Output", "Inout", ...); null when none.
    virtual char* GetSysObjectName(const CInstTermBitContext& bit) = 0;
    virtual void FreeName(char* name) = 0;
    // Attaches an associated instance to the transaction's packaging step; true when it did something.
    virtual bool HandleAssociatedInstance(CDesignContext* design, IDTInstance* instance,
                                          CTransaction* transaction) = 0;
};
