#include "grid/KXGridDump.h"

#include <cstdio>
#include <memory>

KXGridDump& KXGridDump::Line(const CString& text) {
    m_text += text.GetString();
    return *this;
}

KXGridDump& KXGridDump::Cells(CGXGridCore& grid, const std::function<bool(ROWCOL col)>& columnShown) {
    const ROWCOL rows = grid.GetRowCount(), cols = grid.GetColCount();
    for (ROWCOL row = 1; row <= rows; ++row) {
        if (grid.IsRowHidden(row)) continue;
        for (ROWCOL col = 1; col <= cols; ++col) {
            if (grid.IsColHidden(col)) continue;
            if (columnShown && !columnShown(col)) continue;
            std::string value = grid.GetValueRowCol(row, col).GetString();
            if (value.size() < kCellWidth) value.resize(kCellWidth, ' ');
            m_text += value + "   ";
        }
        m_text += "\n";
    }
    return *this;
}

bool KXGridDump::AppendTo(const char* path) const {
    if (!path) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "ab"), &std::fclose);
    if (!file) return false;
    const bool written = std::fwrite(m_text.data(), 1, m_text.size(), file.get()) == m_text.size();
    return written && std::fflush(file.get()) == 0;
}
