// The handle the automation journal names this grid's design by.
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "grid/KXJournalLine.h"

CString CKXInstanceDetailsGridWnd::JournalHandle() {
    return KXJournalHandle(Site(), m_designContext);
}
