// Which rows show a pin, and where the first blank row is, without a scan of
// the grid for every change: a commit reaches the rows it touched directly.
// The index follows every row the grid inserts or removes; a sort or a reload
// drops it, and the next look-up builds it again in one pass.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include <algorithm>

using namespace kxsignal;

void CKXSignalDetailsGridWnd::InsertDataRows(ROWCOL at, ROWCOL count) {
    InsertRows(at, count, kNoUpdate, gxDo);
    for (auto& entry : m_pinRows)
        for (ROWCOL& r : entry.second)
            if (r >= at) r += count;
    if (m_nEmptyHint >= at) m_nEmptyHint += count;
    m_nEmptyHint = std::min(m_nEmptyHint, at); // the new rows are blank
}

void CKXSignalDetailsGridWnd::RemoveDataRows(ROWCOL from, ROWCOL to) {
    RemoveRows(from, to, kNoUpdate, gxDo);
    const ROWCOL count = to - from + 1;
    for (auto& entry : m_pinRows) {
        auto& rows = entry.second;
        rows.erase(std::remove_if(rows.begin(), rows.end(), [&](ROWCOL r) { return r >= from && r <= to; }),
                   rows.end());
        for (ROWCOL& r : rows)
            if (r > to) r -= count;
    }
    if (m_nEmptyHint > to)
        m_nEmptyHint -= count;
    else if (m_nEmptyHint > from)
        m_nEmptyHint = from;
}

void CKXSignalDetailsGridWnd::DropRowIndex() {
    m_bPinIndexValid = false;
    m_pinRows.clear();
    m_nEmptyHint = kFirstDataRow;
}

void CKXSignalDetailsGridWnd::IndexPinRow(unsigned pinId, ROWCOL row) {
    if (!m_bPinIndexValid) return; // the next look-up reads every row
    auto& rows = m_pinRows[pinId];
    if (std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(row);
}

void CKXSignalDetailsGridWnd::RowCleared(ROWCOL row) {
    m_nEmptyHint = std::min(m_nEmptyHint, std::max(row, kFirstDataRow));
}

std::vector<ROWCOL> CKXSignalDetailsGridWnd::PinRows(unsigned pinId) {
    if (!m_bPinIndexValid) {
        m_pinRows.clear();
        for (ROWCOL r = kFirstDataRow; r <= GetRowCount(); ++r) {
            const int id = GetRowPinId(r);
            if (id >= 0) m_pinRows[static_cast<unsigned>(id)].push_back(r);
        }
        m_bPinIndexValid = true;
    }
    // A row may have taken another pin since it was recorded: only rows that still show the pin.
    std::vector<ROWCOL> rows;
    auto it = m_pinRows.find(pinId);
    if (it == m_pinRows.end()) return rows;
    auto& recorded = it->second;
    recorded.erase(std::remove_if(recorded.begin(), recorded.end(),
                                  [&](ROWCOL r) {
                                      return r > GetRowCount() || GetRowPinId(r) != static_cast<int>(pinId);
                                  }),
                   recorded.end());
    rows = recorded;
    std::sort(rows.begin(), rows.end());
    return rows;
}
