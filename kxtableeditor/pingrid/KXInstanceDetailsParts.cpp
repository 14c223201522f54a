// Part sections around the pin grid: the header's Functions choice for the
// shown instance, the section check of a pin-number assignment, and finding
// the pin bit that carries a pin number.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXInstanceDetailsHeader.h"

#include "grid/KXGridSite.h"
#include "grid/KXPartSections.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/hmtpi.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <memory>

namespace {

CString PropertyValue(const CContext& object, const char* name) {
    std::unique_ptr<CPQPropertyData> prop(object.findProperty(name, true));
    return prop ? CString(prop->value()) : CString();
}

} // namespace

void KXPinGridFunctions::ResetFunctions(BOOL bShow) {
    m_arrFunctions.clear();
    m_strSelectedFunction.Empty();
    m_bFunctionsComboShown = bShow;
    ShowHeaderFunctions();
}

void KXPinGridFunctions::ShowHeaderFunctions() {
    if (!m_grid.m_pHeader) return;
    m_grid.m_pHeader->ResetFunctions();
    for (const CString& f : m_arrFunctions)
        m_grid.m_pHeader->AddFunction(f);
    if (!m_strSelectedFunction.IsEmpty()) m_grid.m_pHeader->SelectFunction(m_strSelectedFunction);
    m_grid.m_pHeader->ShowFunctionsCombo(m_bFunctionsComboShown);
}

void CKXInstanceDetailsGridWnd::ChooseFunction(const CString& text, int function) {
    m_functions->m_strSelectedFunction = text;
    RefreshFilter(0, function, TRUE);
}

void KXPinGridFunctions::GetPartSymbolProperties(CInstanceContext instance) {
    if (!instance) {
        ResetFunctions(FALSE);
        return;
    }
    const CString view = instance.instance()->viewName();
    if (m_bPartRefreshOff || instance.containedDesign() || view.Find("sym_") >= 0) {
        ResetFunctions(FALSE);
        return;
    }
    m_bFunctionsComboShown = TRUE;
    CString chips;
    CString partName;
    const char* package = instance.physicalPackageName();
    if (package && *package) {
        chips = PropertyValue(instance, "CHIPS_PART_NAME");
        if (!chips.IsEmpty()) {
            partName = chips;
            const CString packType = PropertyValue(instance, "PACK_TYPE");
            if (!packType.IsEmpty()) partName = chips + "_" + packType;
        }
    }
    m_strPartName = partName;
    int groups = m_partReader.GetFunctionGroupCount(m_strPartName);
    if (groups == 0) {
        m_strPartName = chips;
        groups = m_partReader.GetFunctionGroupCount(m_strPartName);
    }
    ResetFunctions(TRUE);
    if (groups > 1) {
        for (int g = 1; g <= groups; ++g) {
            CString text;
            text.Format("%d", g);
            m_arrFunctions.push_back(text);
        }
        m_arrFunctions.push_back("All");
        m_strSelectedFunction = "All";
        ShowHeaderFunctions();
    } else {
        ResetFunctions(FALSE);
    }
}

BOOL KXPinGridFunctions::CheckAssignedSection(const CInstanceContext& instance, const CString& section,
                                              BOOL silent, CTransaction* transaction) {
    if (!instance) return FALSE;
    if (!transaction) transaction = CKXTransaction::GetCurrentTransactionObj();
    // Nothing can be written without a transaction; that is a failure, not a success.
    if (!transaction) return FALSE;
    auto beforeWrite = [this] {
        if (!CKXTransaction::IsTransactionStarted()) m_grid.m_nTransState = 1;
    };
    const char* package = instance.physicalPackageName();
    if (package && *package) {
        IServer* server = instance.server();
        const char* holder =
            server ? server->partDataService()->getSectionHolder(instance, package, section.GetString())
                   : nullptr;
        const char* self = hmtHashSaveStrng(instance.spath().GetString());
        if (holder && holder != self) {
            CString name = holder;
            if (server)
                if (ISchemaObject* obj = server->findObject(instance.designContext(), holder))
                    name = obj->name();
            if (!silent) {
                if (CKXErrorHandler::MessageBoxOkCancel("KXTABLE-133", name) != IDOK) return FALSE;
            } else {
                CKXErrorHandler::MessageBoxOk("KXTABLE-133", name);
            }
            // The other instance takes this one's section, and the pin numbers that go with it.
            const CString current = PropertyValue(instance, "SEC");
            if (!current.IsEmpty()) {
                beforeWrite();
                transaction->addProperty(rmx::kindInstance, holder, "SEC", current.GetString(), 0);
                if (server)
                    if (std::unique_ptr<CContext> c(server->getContext(instance.designContext(), holder)); c)
                        if (const auto* other = dynamic_cast<const CInstanceContext*>(c.get()))
                            KXNumberPinsForSection(*transaction, *other, current.GetString());
            }
        }
    }
    beforeWrite();
    transaction->addProperty(instance, "SEC", section.GetString(), 0);
    // Its pins read the new section's numbers: a section and pin numbers of another never meet.
    KXNumberPinsForSection(*transaction, instance, section.GetString());

    if (IKXGridSite* site = m_grid.Site()) {
        IKXMessageServer* msg = GetKXMsgSrvr();
        if (msg && site->OpenMode() == eOpenModeContext) {
            const CDesignContext top = CKXGenUtils::GetTopMostParent(m_grid.m_designContext);
            if (top) {
                site->FlagDocumentModified();
                const CString name = top.name();
                msg->Broadcast(MSG_TOP_DESIGN_MODIFIED, reinterpret_cast<WPARAM>(name.GetString()),
                               reinterpret_cast<LPARAM>(&m_grid.m_designContext), 0);
            }
        }
    }
    return TRUE;
}

const char* KXPinGridFunctions::CollectInstancePinNumbers(const CInstanceContext* instance,
                                                          const char* pinNumber) {
    if (!instance || !*instance || !pinNumber) return nullptr;
    for (IInstTerm* pin : instance->instance()->beginInstTerm()) {
        if (!pin) continue;
        const CInstTermContext term = instance->instTerm(pin);
        for (int bit : pin->bits()) {
            const CInstTermBitContext bitContext = term.bitContext(bit);
            if (PropertyValue(bitContext, "PN") == pinNumber)
                return hmtHashSaveStrng(bitContext.spath().GetString());
        }
    }
    return nullptr;
}
