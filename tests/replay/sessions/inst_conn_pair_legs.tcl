# The instance connectivity dialog lists the pins as the component's pin grid shows them: with pairs
# shown as their legs there, a leg is connected in the dialog and the replay finds it in that grid.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "pairs as legs" [setViewOption pin dp_off] 1
kx::show clp R1
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
kx::answer dialog CKXInstConnDlg ok pins "CLK CLK_P" signal "FCLK"
kx::answer dialog CKXInstConnDlg ok
check "a leg connected in the dialog" [kx::instconn U1 6] 1
checkMessages
