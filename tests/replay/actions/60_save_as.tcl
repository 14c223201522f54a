# In editing mode a save is a save as a new block. The window stays open: a replay answers the
# question whether to save a closing window with yes, which the recording did not.
kx::answer dialog CKXCreateBlockDlg ok library demo block board_replayed
check "save as" [saveDesign] 1
checkMessages
