// Which undo history the edit that runs now writes its step to.
#pragma once

class CCommonInterface;

// The list-pane interface that takes the step of the edit running now: the pane of the grid whose grid
// transaction is open, else the sink set with CKXTransaction::SetUndoSink; NULL when there is none.
CCommonInterface* KXSinkOfRunningEdit();
