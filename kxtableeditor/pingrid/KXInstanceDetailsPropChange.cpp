// A property of an instance, pin or pin bit changed elsewhere: the custom
// property columns of that property are filled again.
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "kxcommon/KXShareGlobalData.h"
#include "rmx/server.h"

#include <algorithm>

LRESULT CKXInstanceDetailsGridWnd::OnObjectPropertyChanged(WPARAM wParam, LPARAM lParam) {
    const char* property = reinterpret_cast<const char*>(wParam);
    const char* path = reinterpret_cast<const char*>(lParam);
    IServer* server =
        CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : m_designContext.server();
    if (!property || !path || !server) return 0;
    int bit = -1;
    ISchemaObject* object = server->findObject(path, &bit);
    if (!object) return 0;
    IInstance* instance = nullptr;
    IInstTerm* pin = nullptr;
    if (auto* inst = dynamic_cast<IInstance*>(object)) {
        instance = inst;
    } else if (auto* term = dynamic_cast<IInstTerm*>(object)) {
        pin = term;
        instance = term->instance();
    } else {
        return 0;
    }
    if (!instance) return 0;
    const bool shown =
        std::find(m_arrInstanceIds.begin(), m_arrInstanceIds.end(), instance->id()) != m_arrInstanceIds.end();
    IDesign* design = m_designContext.design();
    if (!shown || !design || design->findInstance(instance->id()) != instance) return 1;

    const CString name(property);
    for (std::size_t i = 1; i < m_arrColumnInfo.size(); ++i) {
        const CKXColumnInfoClass* info = m_arrColumnInfo[i];
        if (!info || !info->IsPropertyColumn() || info->m_strPropertyName.CompareNoCase(name) != 0) continue;
        const int col = static_cast<int>(i);
        if (!pin) {
            RefreshRowStyles(name, 1, col, -1);
            continue;
        }
        for (ROWCOL row = PIN_FIRST_ROW; row <= GetRowCount(); ++row) {
            int msb = -1, lsb = -1;
            IInstTerm* rowPin = GetRowInstTerm(row, msb, lsb);
            if (rowPin != pin || GetRowInstance(row).instance() != instance) continue;
            if (msb != bit || lsb != bit) continue;
            RefreshRowStyles(name, 2, col, static_cast<int>(row));
            break;
        }
    }
    return 0;
}
