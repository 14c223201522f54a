// The plain-text dump of the signal grid that the pane's dumpGrid command writes.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include <cstdio>
#include <memory>
#include <string>

using namespace kxsignal;

BOOL CKXSignalDetailsGridWnd::DumpSCP(const char* path) {
    if (!path) return FALSE;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "ab"), &std::fclose);
    if (!file) return FALSE;
    // The header names the shown net (the first of several, the whole net of a shown bit); a grid
    // that shows no net names none.
    const INet* net = GetShownNet();
    std::string out = "\n---SCP Dump for net: " + std::string(net ? net->name() : "") + "---\n";
    const ROWCOL rows = GetRowCount(), cols = GetColCount();
    for (ROWCOL row = 1; row <= rows; ++row) {
        if (row >= kFirstDataRow && CellText(row, m_nColCell).IsEmpty()) break;
        if (IsRowHidden(row)) continue;
        for (ROWCOL col = 1; col <= cols; ++col) {
            if (IsColHidden(col) || GetColWidth(col) == 0) continue;
            std::string value = GetValueRowCol(row, col).GetString();
            if (value.size() < 31) value.resize(31, ' ');
            out += value + "   ";
        }
        out += "\n";
    }
    out += "\n";
    return std::fwrite(out.data(), 1, out.size(), file.get()) == out.size() ? TRUE : FALSE;
}
