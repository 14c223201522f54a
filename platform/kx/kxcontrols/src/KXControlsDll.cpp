#include "kxcontrols/KXControlsDll.h"

#include "kxcontrols/KXProgressBar.h"

// Nothing to prepare beyond what the library's statics do; a bar left over from an earlier editor session
// of the same process is not current any more.
extern "C" BOOL InitKXControlsDll() {
    CKXProgressBar::m_pProgressBar = nullptr;
    return TRUE;
}
