// A plain-text picture of the grid for scripted regression runs; its layout is
// fixed byte for byte (see KXGridDump).
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFunctions.h"

#include "grid/KXGridDump.h"

int CKXInstanceDetailsGridWnd::DumpGrid(const char* path) {
    if (!path) return 0;
    CString instanceName;
    if (!m_arrInstanceIds.empty() && m_designContext)
        if (CInstanceContext first = m_designContext.instance(m_arrInstanceIds.front()))
            instanceName = first.name();
    KXGridDump dump;
    dump.Line("\n---CCP Dump for instance: " + instanceName + "---\n");
    dump.Line("\n" + m_functions->m_strHeaderLabel + "  " + m_functions->m_strHeaderInstanceText + "  " +
              m_functions->m_strHeaderSecondText + "\n");
    dump.Line("\nFunctions:");
    for (const CString& entry : m_functions->m_arrFunctions)
        dump.Line(" \n" + entry);
    dump.Line("\n");
    // A column beyond the descriptor list raises the invalid-argument exception.
    dump.Cells(*this, [this](ROWCOL col) { return GetColumnInfo(static_cast<int>(col))->m_bShown != 0; });
    return dump.AppendTo(path) ? 1 : 0;
}
