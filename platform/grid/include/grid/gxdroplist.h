// The drop-down list window a combo cell keeps of its own (one list box that the combo cells of a grid
// share, say): the control names it here, so that whoever plays the list's user finds the list that is
// down and sends the control's edit window the list's messages, as the list window itself does.
#pragma once

#include "afx/afxdlg.h"

class CGXComboBox;

// The combo's own list (NULL: the combo keeps its choices in the cell's style, or has forgotten its list).
void GXSetDroppedList(const CGXComboBox* combo, CListBox* list);
CListBox* GXGetDroppedList(const CGXComboBox* combo);

// The list's messages to the edit window of its combo cell: its selection changed, the user ended the
// list on an entry (a click, Enter), or cancelled it (Escape, a click elsewhere).
enum : UINT { GX_LIST_SELCHANGE = 0x7C3, GX_LIST_ENDED = 0x7AD, GX_LIST_CANCELLED = 0x7B8 };

// GX_LIST_CANCELLED's wParam: the list was cancelled where the edit goes on (Escape, a click elsewhere in
// the grid), or because the keyboard focus went to another window (a click in another pane or window),
// which ends the edit.
enum : WPARAM { GX_LIST_CANCEL_IN_EDIT = 0, GX_LIST_CANCEL_FOCUS_LOST = 1 };
