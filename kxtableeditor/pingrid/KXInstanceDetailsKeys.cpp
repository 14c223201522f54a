// Selecting pin rows named by text keys, and whether several instances can be
// shown together (same master, same pins).
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "afx/afxcoll.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/schemautil.h"

#include <set>

void CKXInstanceDetailsGridWnd::SelectRowsByKey(CStringArray* pKeys, CString keyColumn) {
    SelectRowsByKeyCount(pKeys, keyColumn);
}

int CKXInstanceDetailsGridWnd::SelectRowsByKeyCount(CStringArray* pKeys, const CString& keyColumn) {
    const ROWCOL last = GetRowCount();
    if (!pKeys || pKeys->GetSize() == 0) {
        int count = 0;
        for (ROWCOL row = PIN_FIRST_ROW; row <= last; ++row)
            if (!IsRowHidden(row)) {
                SelectRange(CGXRange().SetRows(row), TRUE, TRUE);
                ++count;
            }
        return count;
    }
    ROWCOL col = static_cast<ROWCOL>(m_nColPinName);
    // The script words name the pin-name column by its key ("Pinname"), not by its caption.
    if (!keyColumn.IsEmpty() && keyColumn.CompareNoCase(kPinNameKeyColumn) != 0) {
        const CString header = GetColumnHeaderFromKey(keyColumn);
        col = GetColCount() + 1;
        for (ROWCOL c = 1; c <= GetColCount(); ++c)
            if (CString(GetValueRowCol(PIN_CAPTION_ROW, c)).CompareNoCase(header) == 0) {
                col = c;
                break;
            }
    }
    bool usePin = true, useNumber = true, useInstance = true;
    std::set<CString> keys;
    for (INT_PTR i = 0; i < pKeys->GetSize(); ++i) {
        const CString key = pKeys->GetAt(i);
        const int first = key.Find(':');
        if (first < 0) {
            keys.insert(key);
            useNumber = useInstance = false;
            continue;
        }
        const int second = key.Find(':', first + 1);
        if (second < 0) {
            const CString pin = key.Left(first), number = key.Mid(first + 1);
            keys.insert(pin + number);
            useInstance = false;
            if (pin.IsEmpty()) usePin = false;
            if (number.IsEmpty()) useNumber = false;
            continue;
        }
        const CString instance = key.Left(first), pin = key.Mid(first + 1, second - first - 1),
                      number = key.Mid(second + 1);
        keys.insert(pin + number + instance);
        if (instance.IsEmpty()) useInstance = false;
        if (pin.IsEmpty()) usePin = false;
        if (number.IsEmpty()) useNumber = false;
    }
    std::set<ROWCOL> matched;
    for (ROWCOL row = PIN_FIRST_ROW; row <= last; ++row) {
        CString rowKey;
        if (usePin) rowKey += GetValueRowCol(row, static_cast<ROWCOL>(m_nColPinName));
        if (useNumber) rowKey += GetValueRowCol(row, static_cast<ROWCOL>(m_nColPinNumber));
        if (useInstance) rowKey += GetValueRowCol(row, static_cast<ROWCOL>(m_nColInstance));
        if (keys.count(rowKey)) matched.insert(row);
    }
    if (matched.empty()) return 0;
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
