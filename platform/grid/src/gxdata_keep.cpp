// What rows were before the changes of an edit that may still be refused: each change notes what it
// takes away, and the grid puts the notes back newest first.
#include "grid/gxdata.h"

std::unique_ptr<CGXData::RowRecord> CGXData::CopySlot(const RowSlot& from)
{
    auto rec = std::make_unique<RowRecord>();
    rec->slot.size = from.size;
    rec->slot.hidden = from.hidden;
    rec->slot.id = from.id;
    if (from.line) {
        rec->slot.line.emplace();
        if (from.line->style)
            rec->slot.line->style = std::make_unique<CGXStyle>(*from.line->style);
        rec->slot.line->cells = from.line->cells;
    }
    return rec;
}

size_t CGXData::BeginKeepRows()
{
    ++m_nKeepDepth;
    m_keptRows.clear(); // a row changed again after the mark is noted again, for this mark
    return m_kept.size();
}

void CGXData::EndKeepRows()
{
    if (m_nKeepDepth == 0 || --m_nKeepDepth > 0)
        return;
    m_kept.clear();
    m_keptRows.clear();
}

std::vector<CGXData::KeptStep> CGXData::TakeKeptSteps(size_t nMark)
{
    std::vector<KeptStep> steps;
    if (nMark >= m_kept.size())
        return steps;
    steps.assign(std::make_move_iterator(m_kept.begin() + static_cast<std::ptrdiff_t>(nMark)),
                 std::make_move_iterator(m_kept.end()));
    m_kept.resize(nMark);
    m_keptRows.clear();
    return steps;
}

BOOL CGXData::PutBackRow(ROWCOL nRow, RowRecord& row)
{
    if (nRow == 0 || nRow > GetRowCount())
        return FALSE;
    RowSlot& slot = m_rows[nRow];
    if (slot.hidden != row.slot.hidden)
        row.slot.hidden ? ++m_nHiddenRows : --m_nHiddenRows;
    slot = std::move(row.slot);
    return TRUE;
}

void CGXData::NoteRow(ROWCOL nRow)
{
    if (!Keeping() || nRow == 0 || nRow > GetRowCount() || !m_keptRows.insert(nRow).second)
        return;
    KeptStep step;
    step.row = nRow;
    step.rows.push_back(CopySlot(m_rows[nRow]));
    m_kept.push_back(std::move(step));
}

void CGXData::NoteRemoved(ROWCOL nFromRow, ROWCOL nToRow)
{
    if (!Keeping() || nFromRow == 0 || nFromRow > nToRow || nToRow > GetRowCount())
        return;
    KeptStep step;
    step.kind = KeptStep::Kind::Removed;
    step.row = nFromRow;
    step.rows = CopyRows(nFromRow, nToRow);
    m_kept.push_back(std::move(step));
    m_keptRows.clear();
}

void CGXData::NoteInserted(ROWCOL nRow, ROWCOL nCount)
{
    if (!Keeping() || nCount == 0)
        return;
    KeptStep step;
    step.kind = KeptStep::Kind::Inserted;
    step.row = nRow;
    step.count = nCount;
    m_kept.push_back(std::move(step));
    m_keptRows.clear();
}

void CGXData::NoteAll()
{
    if (!Keeping())
        return;
    KeptStep step;
    step.kind = KeptStep::Kind::All;
    step.row = 1;
    step.rows = CopyRows(1, GetRowCount());
    m_kept.push_back(std::move(step));
    m_keptRows.clear();
}
