#include "grid/KXFindAnswer.h"

#include "grid/KXEditResult.h"

#include "kxcontrols/KXFindReplace.h"

bool KXRunFindReplace(CKXFindReplaceDlg& dialog, BOOL bFind) {
    const BOOL done = dialog.ShowFindReplaceDialog(bFind);
    switch (dialog.GetLastOutcome()) {
    case CKXFindReplaceDlg::Outcome::NotFound:
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-421", dialog.GetLastFind()));
        return false;
    case CKXFindReplaceDlg::Outcome::Found:
        if (!done) KXMenuAnswer::Report(KXEditResult::Nothing("KXPANE-623", dialog.GetLastFind()));
        return done != FALSE;
    case CKXFindReplaceDlg::Outcome::NotAnswered:
        break;
    }
    return false;
}
