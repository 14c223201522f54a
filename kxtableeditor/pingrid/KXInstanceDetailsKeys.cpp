// Selecting pin rows named by text keys, and whether several instances can be
// shown together (same master, same pins).
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridKeys.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridUtil.h"

#include "afx/afxcoll.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <map>
#include <set>

using kxpingrid::Col;

// A key has its own form ("PIN", "PIN:NUMBER", "INSTANCE:PIN:NUMBER", parts may be empty); a row
// matches it when the parts the key names agree with the row's cells.
KXPinGridKeys::PinRowKey KXPinGridKeys::PinRowKey::Parse(const CString& key) {
    PinRowKey parsed;
    const int first = key.Find(':');
    if (first < 0) {
        parsed.pin = key;
        parsed.pinOnly = true;
        return parsed;
    }
    const int second = key.Find(':', first + 1);
    parsed.instance = second < 0 ? CString() : key.Left(first);
    parsed.pin = second < 0 ? key.Left(first) : key.Mid(first + 1, second - first - 1);
    parsed.number = second < 0 ? key.Mid(first + 1) : key.Mid(second + 1);
    return parsed;
}

bool KXPinGridKeys::RowMatchesKey(ROWCOL row, const PinRowKey& key) {
    if (key.pinOnly)
        return m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName)) == key.pin || IsPairNamed(row, key.pin);
    return (key.pin.IsEmpty() || m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName)) == key.pin) &&
           (key.number.IsEmpty() || m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinNumber)) == key.number) &&
           (key.instance.IsEmpty() || m_grid.GetValueRowCol(row, Col(m_grid.m_nColInstance)) == key.instance);
}

// A vector pair's row shows its pin name with the lanes (TX<3..0>); the pair's own name (TX) names it too.
bool KXPinGridKeys::IsPairNamed(ROWCOL row, const CString& name) {
    if (!m_grid.IsDiffPairRow(row)) return false;
    const IDPInstTerm* pair = m_grid.GetRowDPInstTerm(row);
    return pair && !pair->parent() && pair->msb() >= 0 && name == pair->name();
}

void KXPinGridKeys::MatchKeyRows(const PinRowKey& key, std::set<ROWCOL>& matched) {
    // The rows that show the key's most telling part are the only candidates.
    std::vector<ROWCOL> candidates;
    if (!key.pin.IsEmpty() || key.pinOnly)
        candidates = m_grid.m_rowIndex.TextRows(m_grid.kPinNameText, key.pin);
    else if (!key.number.IsEmpty())
        candidates = m_grid.m_rowIndex.TextRows(m_grid.kPinNumberText, key.number);
    bool found = false;
    for (ROWCOL row : candidates)
        if (row >= PIN_FIRST_ROW && row <= m_grid.GetRowCount() && RowMatchesKey(row, key)) {
            matched.insert(row);
            found = true;
        }
    if (found) return;
    // A bit of a folded wide pin has its row once its pin's bit rows are written.
    if (!key.pin.IsEmpty() && m_grid.m_fill->WriteWidePinBitRowsOf(key.pin)) {
        MatchKeyRows(key, matched);
        return;
    }
    // A key naming only an instance (or a cell written around the texts) is looked for row by row.
    for (ROWCOL row = PIN_FIRST_ROW; row <= m_grid.GetRowCount(); ++row)
        if (RowMatchesKey(row, key)) matched.insert(row);
}

BOOL CKXInstanceDetailsGridWnd::StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt,
                                                 int nType) {
    const BOOL stored = CKXGridWnd::StoreStyleRowCol(nRow, nCol, pStyle, mt, nType);
    if (stored && pStyle && nType == 0) IndexCellText(nRow, nCol, *pStyle);
    return stored;
}

void CKXInstanceDetailsGridWnd::SelectRowsByKey(CStringArray* pKeys, CString strColumnKey) {
    SelectRowsByKeyCount(pKeys, strColumnKey);
}

int CKXInstanceDetailsGridWnd::SelectRowsByKeyCount(CStringArray* pKeys, const CString& strColumnKey) {
    return SelectKeyedRows(pKeys, strColumnKey, nullptr);
}

void CKXInstanceDetailsGridWnd::SelectRowsNamedByKeys(CStringArray* pKeys, const CString& keyColumn,
                                                      std::vector<bool>& named) {
    SelectKeyedRows(pKeys, keyColumn, &named);
}

int CKXInstanceDetailsGridWnd::SelectKeyedRows(CStringArray* pKeys, const CString& strColumnKey,
                                               std::vector<bool>* named) {
    if (!pKeys || pKeys->GetSize() == 0) return SelectVisibleRows();
    ROWCOL col = static_cast<ROWCOL>(m_nColPinName);
    // The script words name the pin-name column by its key ("Pinname"), not by its caption.
    if (!strColumnKey.IsEmpty() && strColumnKey.CompareNoCase(kPinNameKeyColumn) != 0) {
        const CString header = GetColumnHeaderFromKey(strColumnKey);
        col = GX_INVALID;
        for (ROWCOL c = 1; c <= GetColCount(); ++c)
            if (CString(GetValueRowCol(PIN_CAPTION_ROW, c)).CompareNoCase(header) == 0) {
                col = c;
                break;
            }
        if (col == GX_INVALID) return 0; // no such column: nothing is selected
    }
    std::set<ROWCOL> matched;
    for (INT_PTR i = 0; i < pKeys->GetSize(); ++i) {
        const KXPinGridKeys::PinRowKey key = KXPinGridKeys::PinRowKey::Parse(pKeys->GetAt(i));
        std::set<ROWCOL> rows;
        m_keys->MatchKeyRows(key, rows);
        // Two values are a pin and its number, else an instance and its pin ({INSTANCE PIN}).
        if (rows.empty() && key.instance.IsEmpty() && !key.pinOnly) {
            KXPinGridKeys::PinRowKey instancePin;
            instancePin.instance = key.pin;
            instancePin.pin = key.number;
            m_keys->MatchKeyRows(instancePin, rows);
        }
        if (named && !rows.empty() && static_cast<std::size_t>(i) < named->size()) (*named)[i] = true;
        matched.insert(rows.begin(), rows.end());
    }
    if (matched.empty()) return 0;
    // A keyed word acts on the rows it names, and every keyed word alike: a row the row filter hides
    // shows again (the filter goes), and so does a bit folded into its bus row (the folds open), as a
    // journal's selection of a pin reaches it.
    const auto hidden = [this](ROWCOL r) { return IsRowHidden(r) != FALSE; };
    if (std::any_of(matched.begin(), matched.end(), hidden)) ClearRowFilter();
    for (ROWCOL row : matched)
        if (hidden(row)) OpenFoldsOf(row);
    SelectAllRows(); // takes the selection off every row and resets the current cell
    for (ROWCOL row : matched)
        SelectRange(CGXRange(row, col), TRUE, TRUE);
    return static_cast<int>(matched.size());
}

int CKXInstanceDetailsGridWnd::CollectObjectNames(const CDesignContext& design, IInstance* object, int,
                                                  std::map<CString, std::set<int>>* pPinBits,
                                                  std::map<CString, CString>* pNames) {
    IDesign* owner = design.design();
    if (!object || !owner) return 0;
    IInstance* instance = owner->findInstance(object->id());
    if (instance != object) return 0;
    int pins = 0;
    for (IInstTerm* pin : instance->beginInstTerm()) {
        ++pins;
        const CString name = pin->isScalar()
                                 ? CString(pin->name())
                                 : CSchemaUtilities::vectorName(pin->name(), pin->msb(), pin->lsb());
        if (pPinBits) {
            std::set<int>& bits = (*pPinBits)[name];
            for (int bit : pin->bits())
                bits.insert(bit);
        }
        if (pNames) (*pNames)[name] = pin->name();
    }
    return pins > 0 ? 1 : 0;
}

BOOL CKXInstanceDetailsGridWnd::AreObjectsAlike(const CDesignContext& design, CPtrList* pObjects) {
    if (!pObjects || pObjects->GetCount() <= 1) return TRUE;
    POSITION pos = pObjects->GetHeadPosition();
    auto* first = static_cast<IInstance*>(pObjects->GetNext(pos));
    if (!first) return FALSE;
    std::map<CString, CString> firstNames;
    const int firstCode = CollectObjectNames(design, first, 0, nullptr, &firstNames);
    while (pos) {
        auto* other = static_cast<IInstance*>(pObjects->GetNext(pos));
        if (!other || other->masterName() != first->masterName()) return FALSE;
        std::map<CString, CString> names;
        const int code = CollectObjectNames(design, other, 0, nullptr, &names);
        if (code != firstCode) return FALSE;
        if (code == 1) {
            if (names.size() != firstNames.size()) return FALSE;
            for (const auto& entry : firstNames)
                if (!names.count(entry.first)) return FALSE;
        }
    }
    return TRUE;
}
