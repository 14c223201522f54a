// What a Find or Replace of a grid came to, answered as every menu command answers: a text no searched
// cell holds is said (KXPANE-421) and answers 0; a replace that found the text only where no typed value
// goes (a read-only cell) changed nothing, is said (KXPANE-623) and answers 0.
#pragma once

#include "afx/afxtypes.h"

class CKXFindReplaceDlg;

// Runs the grid's find/replace dialog for finding (TRUE) or replacing (FALSE) and reports its outcome;
// true when it found (or replaced) a cell.
bool KXRunFindReplace(CKXFindReplaceDlg& dialog, BOOL bFind);
