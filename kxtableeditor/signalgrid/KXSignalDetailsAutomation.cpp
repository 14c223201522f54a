// The automation road to a termination: InitTermination checks the selected rows'
// pins and prepares the associated-components automation object, whose add command
// comes back to the grid as the addTermination script word.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"

using namespace kxsignal;

KXAssocAutomation& CKXSignalDetailsGridWnd::AssocAutomation() {
    if (!m_assocAutomation) m_assocAutomation = std::make_unique<KXAssocAutomation>(CKXShareGlobalData::m_pServer);
    return *m_assocAutomation;
}

int CKXSignalDetailsGridWnd::InitTermination(const CString& text) {
    if (!CanAddTermination()) return 0;
    KXAssocAutomation& automation = AssocAutomation();
    automation.setServer(CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : m_designContext.server());
    automation.setDesignContext(m_designContext2 ? m_designContext2 : m_designContext);
    automation.setHierarchyDesignContext(m_designContext);
    if (!automation.InitTermination(text)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", automation.GetLastError());
        return 0;
    }
    // Every pin bit of the selected rows must take the termination now; the add itself checks again.
    const std::vector<ROWCOL> rows = TerminationTargets();
    if (rows.empty()) return 0;
    for (ROWCOL r : rows)
        for (const CInstTermBit& bit : RowPinBits(r))
            if (!CheckTerminationBit(bit, rows.size() > 1)) return 0;
    return 1;
}
