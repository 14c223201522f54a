// KXGridDump: the plain-text picture of a grid that scripted regression runs
// compare ("dumpGrid"). Its layout is fixed byte for byte: every shown cell of
// every shown row, padded to 31 characters and followed by three blanks, one
// line per row; the grid writes its own heading first.
//
//   KXGridDump dump;
//   dump.Line("\n---CCP Dump for instance: " + name + "---\n");
//   dump.Cells(*this, [this](ROWCOL col) { return Columns().At(col)->m_bShown != 0; });
//   return dump.AppendTo(path) ? 1 : 0;
#pragma once

#include "grid/gxall.h"

#include "afx/afxstr.h"

#include <functional>
#include <string>

class KXGridDump {
public:
    static constexpr std::size_t kCellWidth = 31;

    // Appends text as it stands.
    KXGridDump& Line(const CString& text);
    // Appends every row that is not hidden, from row 1: the cells of the columns that are not
    // hidden and that columnShown accepts (every column when it is empty).
    KXGridDump& Cells(CGXGridCore& grid, const std::function<bool(ROWCOL col)>& columnShown = {});
    const std::string& Text() const { return m_text; }
    // Appends the picture to the file; false when it cannot be opened for appending or written.
    bool AppendTo(const char* path) const;

private:
    std::string m_text;
};
