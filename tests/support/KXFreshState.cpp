#include "KXFreshState.h"

#include "KXTableEditor.h"

#include "afx/afxanswer.h"
#include "afx/afxole.h"
#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"

void KXStartFromAFreshState() {
    // Column layouts an earlier case customised are not this case's: they are read again.
    CKXCustomizeAPI::Reset();
    // A host starts with the implicit power pins hidden: an earlier case's "kx::powerpins on" is not this case's.
    CKXShareGlobalData::m_bShowPowerPins = FALSE;
    KXTableEditorNewSession();
    // A pointer left over a cell would give a later grid activation that cell.
    AfxResetInputState();
    AfxGetAnswerQueue().Reset();
    CKXErrorHandler::ClearTranscript();
    // The clipboard is the process's: what an earlier case copied is not this case's to paste.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    // So is what it copied as objects and texts, and the clipboard viewer's list.
    CKXImpClipBoard::Reset();
}
