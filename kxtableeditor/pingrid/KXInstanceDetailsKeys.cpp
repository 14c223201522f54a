// Selecting pin rows named by text keys, and whether several instances can be
// shown together (same master, same pins).
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "afx/afxcoll.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/schemautil.h"

#include <map>
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
        col = GX_INVALID;
        for (ROWCOL c = 1; c <= GetColCount(); ++c)
            if (CString(GetValueRowCol(PIN_CAPTION_ROW, c)).CompareNoCase(header) == 0) {
                col = c;
                break;
            }
        if (col == GX_INVALID) return 0; // no such column: nothing is selected
    }
    // Each key has its own form ("PIN", "PIN:NUMBER", "INSTANCE:PIN:NUMBER", parts may be empty);
    // a row matches a key when the parts that key names agree.
    enum : unsigned { kPin = 1, kNumber = 2, kInstance = 4 };
    std::map<unsigned, std::set<CString>> keysByForm;
    for (INT_PTR i = 0; i < pKeys->GetSize(); ++i) {
        const CString key = pKeys->GetAt(i);
        const int first = key.Find(':');
        if (first < 0) {
            keysByForm[kPin].insert(key + "\n\n");
            continue;
        }
        const int second = key.Find(':', first + 1);
        const CString instance = second < 0 ? CString() : key.Left(first);
        const CString pin = second < 0 ? key.Left(first) : key.Mid(first + 1, second - first - 1);
        const CString number = second < 0 ? key.Mid(first + 1) : key.Mid(second + 1);
        const unsigned form = (pin.IsEmpty() ? 0u : kPin) | (number.IsEmpty() ? 0u : kNumber) |
                              (instance.IsEmpty() ? 0u : kInstance);
        keysByForm[form].insert(pin + "\n" + number + "\n" + instance);
    }
    std::set<ROWCOL> matched;
    for (ROWCOL row = PIN_FIRST_ROW; row <= last; ++row) {
        const CString pin = GetValueRowCol(row, static_cast<ROWCOL>(m_nColPinName));
        const CString number = GetValueRowCol(row, static_cast<ROWCOL>(m_nColPinNumber));
        const CString instance = GetValueRowCol(row, static_cast<ROWCOL>(m_nColInstance));
        for (const auto& [form, keys] : keysByForm) {
            const CString rowKey = ((form & kPin) ? pin : CString()) + "\n" +
                                   ((form & kNumber) ? number : CString()) + "\n" +
                                   ((form & kInstance) ? instance : CString());
            if (keys.count(rowKey)) {
                matched.insert(row);
                break;
            }
        }
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
