# The window of open mode 3 saves in place, comments included, and closes unmodified. The journal
# ends here: the windows that the host closes when it stops are not part of the recording.
check "save" [saveDesign] 1
check "close" [kx::close] 1
checkMessages
kx::journal
