// A plain-text picture of the grid for scripted regression runs; its layout is
// fixed byte for byte.
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include <cstdio>
#include <memory>
#include <string>

int CKXInstanceDetailsGridWnd::DumpGrid(const char* path) {
    if (!path) return 0;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "ab"), &std::fclose);
    if (!file) return 0;
    std::string out;
    CString instanceName;
    if (!m_arrInstanceIds.empty() && m_designContext)
        if (CInstanceContext first = m_designContext.instance(m_arrInstanceIds.front()))
            instanceName = first.name();
    out += "\n---CCP Dump for instance: " + std::string(instanceName.GetString()) + "---\n";
    out += "\n" + std::string(m_strHeaderLabel.GetString()) + "  " + m_strHeaderInstanceText.GetString() +
           "  " + m_strHeaderSecondText.GetString() + "\n";
    out += "\nFunctions:";
    for (const CString& entry : m_arrFunctions)
        out += " \n" + std::string(entry.GetString());
    out += "\n";
    const ROWCOL rows = GetRowCount(), cols = GetColCount();
    for (ROWCOL row = 1; row <= rows; ++row) {
        if (IsRowHidden(row)) continue;
        for (ROWCOL col = 1; col <= cols; ++col) {
            if (IsColHidden(col)) continue;
            // A column beyond the descriptor list raises the invalid-argument exception.
            if (!GetColumnInfo(static_cast<int>(col))->m_bVisible) continue;
            std::string value = GetValueRowCol(row, col).GetString();
            if (value.size() < 31) value.resize(31, ' ');
            out += value + "   ";
        }
        out += "\n";
    }
    // A short write or a failed close (a full disk) is a failed dump.
    const bool written = std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
    return std::fclose(file.release()) == 0 && written ? 1 : 0;
}
