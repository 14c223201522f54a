// Which rows show a pin, and where the first blank row is, without a scan of
// the grid for every change: a commit reaches the rows it touched directly.
// The rows are kept in the framework's row index, which follows rows by their
// identity, so inserting, removing and sorting rows leave it right. A load
// starts it empty and each pin row it writes indexes itself; what drops it
// (putting rows back, power pin rows read again) leaves the next look-up to
// build it again in one pass.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include <algorithm>

using namespace kxsignal;

namespace {

// The key of the rows that show a pin (any of its bits).
KXRowIndex::Key PinKey(unsigned pinId) {
    return KXRowKey::PinBit(pinId, -1);
}

} // namespace

void CKXSignalDetailsGridWnd::InsertDataRows(ROWCOL at, ROWCOL count) {
    InsertRows(at, count, kNoUpdate, gxDo);
    if (m_nEmptyHint >= at) m_nEmptyHint += count;
    m_nEmptyHint = std::min(m_nEmptyHint, at); // the new rows are blank
}

void CKXSignalDetailsGridWnd::RemoveDataRows(ROWCOL from, ROWCOL to) {
    RemoveRows(from, to, kNoUpdate, gxDo);
    const ROWCOL count = to - from + 1;
    if (m_nEmptyHint > to)
        m_nEmptyHint -= count;
    else if (m_nEmptyHint > from)
        m_nEmptyHint = from;
}

void CKXSignalDetailsGridWnd::DropRowIndex() {
    m_bPinIndexValid = false;
    m_rowIndex.Clear();
    m_nEmptyHint = kFirstDataRow;
}

void CKXSignalDetailsGridWnd::StartRowIndex() {
    DropRowIndex();
    m_bPinIndexValid = true;
}

void CKXSignalDetailsGridWnd::IndexPinRow(unsigned pinId, ROWCOL row) {
    if (m_bPinIndexValid) m_rowIndex.Add(PinKey(pinId), row); // else the next look-up reads every row
}

void CKXSignalDetailsGridWnd::RowCleared(ROWCOL row) {
    m_nEmptyHint = std::min(m_nEmptyHint, std::max(row, kFirstDataRow));
}

std::vector<ROWCOL> CKXSignalDetailsGridWnd::PinRows(unsigned pinId) {
    if (!m_bPinIndexValid) {
        m_rowIndex.Clear();
        for (ROWCOL r = kFirstDataRow; r <= GetRowCount(); ++r)
            if (const int id = GetRowPinId(r); id >= 0) m_rowIndex.Add(PinKey(static_cast<unsigned>(id)), r);
        m_bPinIndexValid = true;
    }
    // A row may have taken another pin since it was recorded: only rows that still show the pin.
    std::vector<ROWCOL> rows = m_rowIndex.Rows(PinKey(pinId));
    const auto stale = std::stable_partition(rows.begin(), rows.end(),
                                             [&](ROWCOL r) { return GetRowPinId(r) == static_cast<int>(pinId); });
    for (auto it = stale; it != rows.end(); ++it)
        m_rowIndex.Remove(PinKey(pinId), *it);
    rows.erase(stale, rows.end());
    return rows;
}
