// Selection lines of the automation journal: they make a journalled edit of a
// row's pull-up/pull-down cell replay on the same row.
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"

#include "kxcommon/KXShareGlobalData.h"

CString CKXInstanceDetailsGridWnd::JournalHandle() {
    return KXJournalHandle(Site(), m_designContext);
}

void CKXInstanceDetailsGridWnd::RecordSelectionScript(int row) {
    const char* journal = CKXShareGlobalData::m_bAutomation;
    if (!journal || row < static_cast<int>(PIN_FIRST_ROW) || static_cast<ROWCOL>(row) > GetRowCount()) return;
    const ROWCOL r = static_cast<ROWCOL>(row);
    const CString handle = JournalHandle();
    CString lines;
    int msb = -1, lsb = -1;
    if (IInstTerm* pin = GetRowInstTerm(r, msb, lsb)) {
        IInstance* instance = pin->instance();
        IDesign* design = m_designContext.design();
        // An instance the design no longer has cannot be selected on replay.
        if (!instance || !design || design->findInstance(instance->id()) != instance) return;
        lines += "\ncall " + handle + ".Clp().Select(" + KXVbsQuote(instance->name()) + ")";
    }
    CString base, msbText, lsbText;
    const CString above =
        r > PIN_FIRST_ROW ? CString(GetValueRowCol(r - 1, static_cast<ROWCOL>(m_nColPinNumber))) : CString();
    if (GetCellVectorInfo(r, base, msbText, lsbText) && above.Find(',') >= 0) {
        const CString vectorName = GetValueRowCol(r - 1, static_cast<ROWCOL>(m_nColPinName));
        lines += "\ncall " + handle + ".ConnectivityPane().SelectPUPDCol(" + KXVbsQuote(vectorName) + ")";
    } else {
        const CString pinName = GetValueRowCol(r, static_cast<ROWCOL>(m_nColPinName));
        const CString pinNumber = GetValueRowCol(r, static_cast<ROWCOL>(m_nColPinNumber));
        lines += "\ncall " + handle + ".ConnectivityPane().SelectPUPDCol(" + KXVbsQuote(pinName) + "," +
                 KXVbsQuote(pinNumber) + ")";
    }
    KXJournalWrite(journal, CString(), lines);
}
