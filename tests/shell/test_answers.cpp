// One rule for what a word or an automation method answers, through the host on the example board:
// 1 when it did the work, 0 when it refused or would change nothing (with the message that says
// why, and nothing changed), 2 only for the dialogs and the few documented cases.
#include "KXDemoBoard.h"

#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "pane/KXBottomPaneContainerView.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridWnd.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>


namespace {

struct AnswerCase {
    const char* name;
    int mode;          // the open mode of the window
    const char* setup; // Tcl run first (its messages are not the word's)
    const char* line;  // the word or method
    const char* answer;
    const char* message; // the message id that must say why ("" when none is due)
};

// Refusals that answered 1, said nothing, or returned nothing at all; dialogs closed without a change.
// The matrix view V1 showing U1, which many cases start from.
constexpr const char* kViewOfU1 = "openMatrixView pin V1; matrixAdd pin component U1";
// A matrix of DQ<5..0>, MCLK, RESET_N, PG and EN (row 14) against U1, U2 and PWR1, as a prefix of a set-up.
#define kMatrixOfEn "kx::pane CreateMatrixView V1 {U1 U2 PWR1} {DQ<5..0> MCLK RESET_N PG EN}; "

// A comment on U1's PGOOD, shown.
constexpr const char* kCommentOnPgood = "kx::show clp U1; selectObject pin PGOOD; addComment pin note";

const AnswerCase kCases[] = {
    {"AddConnectionWithoutPinNumber", 1, "kx::show slp MCLK", "addConnection pin J1", "0", "KXPANE-575"},
    {"SortWithThreeColumns", 1, kShowU1, "sort pin a b c", "0", "KXPANE-231"},
    {"MatrixAddOfNoKind", 1, kShowU1, "matrixAdd pin foo J1", "0", "KXPANE-404"},
    // A naming rule or a rename on a grid without pins of a component says that the grid is of another kind.
    {"AttachRuleOnASignalGrid", 3, "kx::show slp MCLK", "kx::pane AttachSignal autoname", "0", "KXPANE-496"},
    {"RenameConnectionOnASignalGrid", 3, "kx::show slp MCLK", "renameConnection pin {U1 MCLK B14 NEWM}", "0",
     "KXPANE-496"},
    // More pin bits than the bits chosen in the bit dialog: the dialog refuses them, with the reason.
    {"ConnectOfFewerChosenBitsThanThePinHas", 3, "kx::show clp U1; kx::answer dialog CKXGetVectorBits ok lsb 0 msb 1",
     "addConnection pin {X<3..0>} {DQ<15..0>}", "0", "KXTABLE-381"},
    // A paste that places nothing names what it could not place, in every grid kind.
    {"MatrixPasteOfAFieldThatNamesNoPinOfTheGroup", 3, kMatrixOfEn "kx::select ccp 14 1; kx::key ccp Ctrl+C; "
     "kx::select ccp 14 4", "paste pin", "0", "KXTABLE-420"},
    {"MatrixPasteOfAnEmptyPullUpCell", 3, kMatrixOfEn "kx::select ccp 5 3; kx::key ccp Ctrl+C; kx::select ccp 6 3",
     "paste pin", "0", "KXTABLE-421"},
    {"MatrixPasteOfAnEmptyTerminationCell", 3, kMatrixOfEn "kx::select ccp 5 7; kx::key ccp Ctrl+C; "
     "kx::select ccp 6 7", "paste pin", "0", "KXTABLE-422"},
    {"PinGridPasteOfAnEmptyTerminationCell", 3, "kx::show clp U1; kx::select ccp 41 8; kx::key ccp Ctrl+C; "
     "kx::select ccp 40 8", "paste pin", "0", "KXTABLE-422"},
    {"SignalGridPasteOfAnEmptyTerminationCell", 3, "kx::show slp MCLK; kx::select ccp 6 11; kx::key ccp Ctrl+C",
     "paste pin", "0", "KXTABLE-422"},
    {"ExportWithoutSubTool", 1, "", "exportInterface -inst U1", "0", "KXPANE-227"},
    {"FilterBlockInLogicalView", 1, "", "filterBlock -include all", "0", "KXPANE-178"},
    {"SaveDesignWithOperand", 1, "", "saveDesign now", "0", "KXTABLE-170"},
    {"SaveDesignAsExistingBlock", 1, "", "saveDesignAs demo board", "0", "KXTABLE-301"},
    {"SwitchCancelledAtItsSave", 1, "kx::call AddSignal ZZ {} {}; kx::answer question KXCOMMON-101 cancel",
     "physicalView -prompt", "2", "KXCOMMON-101"},
    // Every road to Paste refuses alike where nothing can be pasted: the physical view's grids take no
    // paste, and a filter cell takes only a text that was copied.
    {"PasteInPhysicalView", 4, kShowU1, "paste pin", "0", "KXPANE-178"},
    {"PasteMethodInPhysicalView", 4, kShowU1, "kx::pane Paste", "0", "KXPANE-178"},
    {"PasteMethodOnAMatrixWithNothingCopied", 3, kViewOfU1, "kx::pane Paste", "0", "KXPANE-570"},
    {"PasteIntoASignalFilterCellWithNothingCopied", 3, "kx::show slp MCLK; kx::select ccp 3 8", "paste pin", "0",
     "KXPANE-570"},
    {"FilterUnknownColumnOfPart", 4, kShowU1, "filterRows pin -col Nope -filter x", "0", "KXPANE-234"},
    {"AddConnectionToNoPin", 1, kShowU1, "addConnection pin FOO NOSUCH:1", "0", "KXPANE-247"},
    {"PasteInReadOnlyWindow", 2, kShowU1, "paste pin", "0", "KXTABLE-382"},
    {"MatrixAddUnknownComponent", 1, "openMatrixView pin V1", "matrixAdd pin component NOSUCH", "0", "KXPANE-470"},
    {"MatrixAddShownComponent", 1, kViewOfU1,
     "matrixAdd pin component U1", "0", "KXPANE-470"},
    {"MatrixConnectUnknownSignal", 1, kViewOfU1,
     "matrixConnect pin NOSIG U1 PIN_NAME X", "0", "KXPANE-471"},
    {"MatrixDropOfUnknownComponent", 1, "openMatrixView pin V1", "kx::drop ccp 3 1 component NOSUCH", "0",
     "KXPANE-470"},
    {"MatrixDropOfShownComponent", 1, "openMatrixView pin V1; kx::drop ccp 3 1 component U1",
     "kx::drop ccp 3 1 component U1", "0", "KXPANE-470"},
    {"AutomationDeleteOfNothing", 1, kShowU1, "kx::pane Delete", "0", "KXTABLE-272"},
    {"AutomationDeleteOfAPin", 1, kPgoodSignalCell, "kx::pane Delete", "1", ""},
    {"AssignPinNumberDialogOkOnThePinsOwnNumber", 3,
     "kx::show clp RN1A; kx::select ccp 6 5; kx::answer dialog CKXAssignPinDialog ok", "kx::menu 35550", "0",
     "KXTABLE-196"},
    {"PhysicalAssignPinNumberTheDialogDoesNotOffer", 4,
     "kx::show clp RN1; kx::select ccp 6 4; kx::answer dialog CKXAssignPinDialog ok pin ZZ", "kx::menu 35550", "0",
     "KXTABLE-198"},
    // The dialog numbers its own pin: another pin's name is refused on both grids' roads.
    {"AssignPinNumberForAnotherPinsName", 3,
     "kx::show clp RN1A; kx::select ccp 6 5; kx::answer dialog CKXAssignPinDialog ok name B pin 5", "kx::menu 35550",
     "0", "KXTABLE-381"},
    {"PhysicalAssignPinNumberForAnotherPinsName", 4,
     "kx::show clp RN1; kx::select ccp 6 4; kx::answer dialog CKXAssignPinDialog ok name B pin 5", "kx::menu 35550",
     "0", "KXTABLE-381"},
    {"AssignPinNumberTheDialogDoesNotOffer", 3,
     "kx::show clp RN1A; kx::select ccp 6 5; kx::answer dialog CKXAssignPinDialog ok name B pin 3", "kx::menu 35550",
     "0", "KXTABLE-198"},
    {"RuleWithoutItsText", 1, kPgoodSignalCell, "addConnection pin =PREFIXPINNAME", "0",
     "KXTABLE-304"},
    {"AutomationRuleWithoutItsText", 1, kPgoodSignalCell,
     "kx::pane AddConnection =SUFFIXPINNAME", "0", "KXTABLE-304"},
    {"AutomationAttachOfNoRule", 1, kPgoodSignalCell, "kx::pane AttachSignal NOSUCHRULE", "0",
     "KXPANE-499"},
    {"AutomationMatrixSelectWithoutMatrix", 1, kShowU1, "kx::pane MatrixSelect PG U1 PIN_NAME PGOOD", "0",
     "KXPANE-403"},
    {"AutomationMatrixSelectOfNoCell", 1, kViewOfU1,
     "kx::pane MatrixSelect NOSIG U1 PIN_NAME X", "0", "KXPANE-247"},
    {"AutomationPropertyOfNoColumn", 1, kPgoodSignalCell, "kx::pane ChangePropValue NOPE 1",
     "0", "KXPANE-238"},
    {"AutomationPropertyByTheCaptionOfNoPropertyColumn", 1, kPgoodSignalCell,
     "kx::pane ChangePropValue {Pin Type} 1", "0", "KXPANE-238"},
    {"SelectObjectOfNoRow", 1, "kx::show clp U1; selectObject pin PGOOD", "selectObject pin NOSUCH", "0",
     "KXPANE-247"},
    {"SelectObjectWithNothingShown", 1, "", "selectObject pin PGOOD", "0", "KXPANE-246"},
    {"RetainPupdOfNoAnswer", 1, "", "kx::pane RetainPUPD 7", "0", "KXPANE-482"},
    {"RetainTerminationOfNoAnswer", 1, "", "kx::pane RetainTermination yes", "0", "KXPANE-482"},
    {"AutomationCopyOfAPin", 1, kPgoodSignalCell, "kx::pane Copy", "1", ""},
    {"AutomationSortOfNoColumn", 1, kShowU1, "kx::pane Sort Nope", "0", "KXPANE-231"},
    {"AutomationFilterOfNoColumn", 1, kShowU1, "kx::pane FilterRows Nope x", "0", "KXPANE-234"},
    {"AutomationSortOfAColumn", 1, kShowU1, "kx::pane Sort Signal", "1", ""},
    {"AutomationRemoveModelOfNone", 1, kPgoodSignalCell, "kx::pane RemoveModel", "0", ""},
    {"AutomationCtrSelectOfNoPin", 1, kShowU1, "kx::pane CtrSelectTerminationCol NOSUCH", "0",
     "KXPANE-247"},
    {"AutomationNextSignalPastTheLastPin", 1, "kx::show clp U1; kx::pane SelectFirstSignalCol",
     "kx::pane SelectSignalCol NOSUCH", "0", "KXPANE-247"},
    {"DocumentUndoWithNoStep", 1, "", "kx::call Undo", "0", "KXTABLE-385"},
    {"UndoWordWithNoStep", 1, kShowU1, "undo", "0", "KXTABLE-385"},
    {"DocumentRedoWithNoStep", 1, "", "kx::call Redo", "0", "KXTABLE-386"},
    {"RedoWordWithNoStep", 1, kShowU1, "redo", "0", "KXTABLE-386"},
    {"CreateBlockMenu", 1, "", "kx::menu 35510", "0", "KXPANE-456"},
    {"DocumentAddSignalOfATakenName", 1, "kx::call AddSignal ZZ {} {}", "kx::call AddSignal ZZ {} {}", "0",
     "KXPANE-521"},
    {"DocumentAddSignalOfNoName", 1, "", "kx::call AddSignal { } {} {}", "0", "KXPANE-492"},
    {"DocumentAddComponentOfATakenName", 1, "", "kx::call AddComponent R1 demo RES sym {} {}", "0", "KXPANE-252"},
    {"DocumentBlockOptionInSmallLetters", 1, "", "kx::call ChangeBlkOption suffix _A PWR1", "0", "KXPANE-493"},
    {"DocumentBlockOptionWithoutItsValue", 1, "", "kx::call ChangeBlkOption SUFFIX {} PWR1", "0", "KXPANE-494"},
    {"MalformedComponentDrop", 1, "", "kx::drop clp component nodot", "0", "KXPANE-251"},
    // File Save As answers as the word saveDesignAs does, in the editable block and the physical view alike.
    {"FileSaveAsUnderATakenName", 1, "kx::answer dialog CKXCreateBlockDlg ok library demo block board",
     "kx::menu 57604", "0", "KXTABLE-301"},
    {"SaveAsDialogUnderATakenName", 1, "kx::answer dialog CKXCreateBlockDlg ok library demo block board",
     "saveDesignAs", "0", "KXTABLE-301"},
    {"FileSaveAsInThePhysicalView", 4, "kx::answer dialog CKXCreateBlockDlg ok library demo block physcopy",
     "kx::menu 57604", "1", ""},
    // A dialog a word opened, answered OK with work that is refused, answers 0 as the dialog's menu does.
    {"FilterDialogOfBlocksTheFilterTakesAlready", 4,
     "filterBlock -exclude PWR1; kx::answer dialog CKXDlgFilterPhys ok paths @PWR1", "filterBlock", "0",
     "KXTABLE-451"},
    {"CommentDialogOfTheTextTheCommentHas", 1,
     "designComment add same; kx::answer dialog CKXCommentsDlg ok text same", "designComment edit", "0",
     "KXTABLE-302"},
    {"PhysicalViewOfAWindowThatSwitchesNoViews", 0, "", "physicalView -nosave", "0", "KXTABLE-523"},
    {"NamelessSignalDroppedOnAPinGrid", 3, "kx::show clp U1", "kx::drop ccp 41 7 signal {}", "0",
     "KXTABLE-112"},
    {"UnknownInstanceDroppedOnASignalGrid", 1, "kx::show slp MCLK", "kx::drop ccp 5 5 component NOSUCH", "0",
     "KXPANE-250"},
    {"AddTerminationOnPinsOfBothDirections", 1, "kx::show slp MCLK; kx::select ccp 5 11 6 11", "kx::menu 35522", "0",
     "KXTABLE-103"},
    {"AddPupdInAReadOnlyWindow", 2, "kx::show clp U1; selectObject pin PGOOD", "addPupd pin -type pullup -dcnet V33",
     "0", "KXTABLE-382"},
    {"SwapPinsNotAllowed", 3, "kx::show clp RN1A; kx::select ccp 6 5", "kx::pane SwapPins 3", "0", "KXPANE-498"},
    {"AssignPinNumberOfASectionAnotherComponentHolds", 3, "kx::show clp RN1A; selectObject pin A",
     "assignPinNumber pin 2", "0", "KXTABLE-343"},
    {"AutomationRemoveModelOfNoneOnANetGrid", 4, "kx::show slp RST_IN; kx::select ccp 5 2", "kx::pane RemoveModel", "0",
     "KXPANE-484"},
    {"TypingTheCellsOwnNetInAnotherCase", 3, kShowU1, "kx::edit ccp 41 7 pg", "0", "KXTABLE-348"},
    {"DocumentDeleteAliasOfNoNames", 1, "", "kx::call DeleteAlias {} {}", "0", "KXPANE-500"},
    {"DocumentCloseWhoseSaveIsCancelled", 1, "kx::call AddSignal ZZ {} {}; kx::answer question KXCOMMON-101 cancel",
     "kx::call Close", "0", "KXCOMMON-101"},
    {"DocumentUndoOfAStep", 1, "kx::show clp U1; kx::edit ccp 41 7 {}", "kx::call Undo", "1", ""},
    // A dialog closed without a change answers 2: the add dialog cancelled, the view-only dialog of a
    // read-only window closed.
    {"AddPullupDialogCancelled", 1, "kx::show clp U1; selectObject pin PGOOD; kx::answer dialog CKXPupdDlg cancel",
     "kx::menu 35509", "2", ""},
    {"ViewPullupDialogClosed", 2, "kx::show clp U1; selectObject pin RST_N; kx::answer dialog CKXPupdEditDlg cancel",
     "kx::menu 35509", "2", ""},
    // Every other dialog a menu command opens answers the same when it is cancelled.
    {"AddTerminationDialogCancelled", 1,
     "kx::show clp U1; selectObject pin PGOOD; kx::answer dialog CKXTerminationDlg cancel", "kx::menu 35522", "2",
     ""},
    {"CreateMatrixViewDialogCancelled", 1, "kx::answer dialog CKXMatrixViewDlg cancel", "kx::menu 35676", "2", ""},
    {"EditMatrixViewDialogCancelled", 1, "openMatrixView pin V1; kx::answer dialog CKXMatrixViewDlg cancel",
     "kx::menu 35706", "2", ""},
    {"SaveAsMatrixViewDialogCancelled", 1, "openMatrixView pin V1; kx::answer dialog CKXMatrixSaveAsDlg cancel",
     "kx::menu 35677", "2", ""},
    {"AssignPinNumberDialogCancelled", 3,
     "kx::show clp RN1A; kx::select ccp 6 5; kx::answer dialog CKXAssignPinDialog cancel", "kx::menu 35550", "2",
     ""},
    {"FilterBlockDialogCancelled", 4, "kx::answer dialog CKXDlgFilterPhys cancel", "kx::menu 35571", "2", ""},
    {"AddCommentDialogCancelled", 1,
     "kx::show clp U1; selectObject pin PGOOD; kx::answer dialog CKXCommentsDlg cancel", "addComment pin {}", "2", ""},
    {"ModifyCommentDialogCancelled", 1,
     "kx::show clp U1; selectObject pin PGOOD; addComment pin note; kx::answer dialog CKXCommentsDlg cancel",
     "modifyComment pin {}", "2", ""},
    {"ModifyValuesDialogCancelled", 1,
     "kx::show clp U1; kx::select ccp 41 7; kx::answer dialog CKXDlgEditValues cancel", "kx::menu 35096", "2", ""},
    // A define the design refuses after its dialog was answered is a refusal.
    {"CreateMatrixViewOfNoComponent", 1, "kx::answer dialog CKXMatrixViewDlg ok name VX components NOSUCH",
     "kx::menu 35676", "0", "KXPANE-411"},
    // A help request is answered with the usage: that is the work asked for, whatever the window, the
    // object word given or not.
    {"HelpOfAFrameWord", 1, "", "saveDesign -help", "1", "KXTABLE-170"},
    {"HelpOfAPaneWord", 1, kShowU1, "sort pin -help", "1", "KXPANE-231"},
    {"HelpOfAPaneWordWithoutItsObjectWord", 1, kShowU1, "addConnection -help", "1", "KXTABLE-160"},
    {"HelpOfAFrameWordWithAnObjectWord", 1, "", "ascend pin -help", "1", "KXTABLE-165"},
    {"HelpOfTheOtherView", 1, "", "logicalView -help", "1", "KXTABLE-167"},
    {"HelpOfTheBlockFilterInTheLogicalView", 1, "", "filterBlock -help", "1", "KXTABLE-173"},
    {"HelpOfExportWithoutSubTool", 1, "", "exportInterface -help", "1", "KXPANE-229"},
    {"HelpOfFilterRows", 1, kShowU1, "filterRows pin -help", "1", "KXPANE-234"},
    // Going up from a window that has no parent, in any mode.
    {"AscendWithoutParentInModeThree", 3, "", "ascend", "0", "KXTABLE-175"},
    {"AscendWithoutParentInModeSix", 6, "", "ascend", "0", "KXTABLE-175"},
    // The view switch whose save question was cancelled stops there, as a cancelled dialog.
    {"SwitchViewWhoseSaveQuestionIsCancelled", 3,
     "kx::show clp U1; kx::edit ccp 41 7 NEWPG; kx::answer question MSG_HOST_ASK_SAVE cancel", "kx::menu 35563",
     "2", ""},
    // A zoom that is no number is refused as one out of range.
    {"ZoomOfNoNumber", 1, "kx::show clp U1; selectWindow ccp; kx::answer dialog CKXZoomDialog ok zoom abc",
     "kx::menu 35093", "0", "KXPANE-480"},
    {"ZoomOfNothing", 1, "kx::show clp U1; selectWindow ccp; kx::answer dialog CKXZoomDialog ok zoom {}",
     "kx::menu 35093", "0", "KXPANE-480"},
    // A dialog given a value it does not offer closes without work: a refusal that says what it refused.
    {"BlockFilterOfNoBlock", 4, "kx::answer dialog CKXDlgFilterPhys ok paths @NOSUCH", "kx::menu 35571", "0",
     "KXTABLE-381"},
    {"CustomizeColumnsOfNoColumn", 1,
     "kx::show clp U1; selectWindow ccp; kx::answer dialog CKXCustomizeDialog ok hide NOSUCH", "kx::menu 35130",
     "0", "KXTABLE-381"},
    // Refusals that name their true cause: the read-only window, the mode a save depends on, the
    // characters of a name.
    {"ConnectInReadOnlyWindow", 2, kPgoodSignalCell, "addConnection pin FOO", "0",
     "KXTABLE-382"},
    {"DeleteInReadOnlyWindow", 2, kShowU1, "deleteConnection pin PGOOD", "0", "KXTABLE-382"},
    {"PlainSaveOfTheEditableBlockUnanswered", 1, "kx::call AddSignal ZZ {} {}", "saveDesign", "0", "KXTABLE-383"},
    {"SaveAsInModeThree", 3, "", "saveDesignAs demo board_v2", "0", "KXTABLE-384"},
    {"SaveAsDialogInModeThree", 3, "", "saveDesignAs", "0", "KXTABLE-384"},
    {"SwitchToTheViewShown", 4, "", "physicalView -nosave", "0", "KXTABLE-470"},
    {"ConnectWordInModeZero", 0, kPgoodSignalCell, "addConnection pin FOO", "0", "KXPANE-572"},
    {"ConnectWordInPhysicalView", 4, kShowU1, "addConnection pin FOO", "0", "KXPANE-571"},
    // The word and the method that connect a signal name meet one sequence of refusals.
    {"ConnectMethodInModeZero", 0, kPgoodSignalCell, "kx::pane AddConnection FOO", "0", "KXPANE-572"},
    {"ConnectMethodInModeZeroWithABusRow", 0, "kx::show clp U1; kx::select ccp 23 7", "kx::pane AddConnection FOO",
     "0", "KXPANE-572"},
    {"ConnectMethodInPhysicalViewWithNothingShown", 4, "", "kx::pane AddConnection FOO", "0", "KXPANE-571"},
    {"ConnectWordOnASignalGrid", 3, "kx::show slp MCLK; kx::select ccp 5 8", "addConnection pin FOO", "0",
     "KXPANE-575"},
    {"ConnectMethodOnASignalGrid", 3, "kx::show slp MCLK; kx::select ccp 5 8", "kx::pane AddConnection FOO", "0",
     "KXPANE-575"},
    // A window of mode 0 takes the typing of a Signal cell, which its journal replays.
    {"TypedSignalInModeZero", 0, kPgoodSignalCell, "kx::pane TypeSignal FOO", "1", ""},
    {"TypedSignalInPhysicalView", 4, kShowU1, "kx::pane TypeSignal FOO", "0", "KXPANE-571"},
    // The bits of a wider signal chosen in the dialog: the connection was made as asked.
    {"ConnectWithTheBitsChosenInTheDialog", 1, "kx::show clp U1; kx::answer dialog CKXGetVectorBits ok lsb 5 msb 5",
     "addConnection pin {W<65535..0>} PGOOD", "1", ""},
    {"AutomationRenameToNoSignal", 3, kPgoodSignalCell, "kx::pane RenameConnection {}", "0", "KXPANE-573"},
    {"SaveAsDialogInReadOnlyWindow", 2, "", "saveDesignAs", "0", "KXTABLE-384"},
    {"ConnectToAnInvalidName", 1, kPgoodSignalCell, "addConnection pin {A B}", "0",
     "KXTABLE-112"},
    // A menu answers from the work it ran, as the word or method of the same action does.
    {"GoToPhysicalPinWhoseSaveQuestionIsCancelled", 3,
     "kx::show clp U1; kx::edit ccp 41 7 NEWPG; kx::select ccp 41 7; kx::answer question MSG_HOST_ASK_SAVE cancel",
     "kx::menu 35570", "2", ""},
    {"ShortPinsInReadOnlyWindow", 2, kPgoodSignalCell, "kx::menu 35280", "0", "KXTABLE-382"},
    {"AutoNameInReadOnlyWindow", 2, kPgoodSignalCell, "kx::menu 35255", "0", "KXTABLE-382"},
    {"SameAsPinNameInReadOnlyWindow", 2, kPgoodSignalCell, "kx::menu 35256", "0", "KXTABLE-382"},
    {"ShortPinsOnAWholeBusRow", 3, "kx::show clp J1; kx::select ccp 6 5", "kx::menu 35280", "0", "KXTABLE-102"},
    // Every road to a naming rule (word, method, menu) meets one sequence of refusals: the read-only
    // window, then the grid kind (the physical view takes none), then open mode 0, then a selection
    // without a pin the user chose.
    {"AutoNameMenuOnASignalGridInReadOnlyWindow", 2, "kx::show slp MCLK", "kx::menu 35255", "0", "KXTABLE-382"},
    {"ShortPinsMenuWithNothingShownInReadOnlyWindow", 2, "", "kx::menu 35280", "0", "KXTABLE-382"},
    {"AutoNameMethodInReadOnlyWindow", 2, kPgoodSignalCell, "kx::pane AttachSignal =AUTONAME", "0", "KXTABLE-382"},
    {"AutoNameWordOnASignalGrid", 3, "kx::show slp MCLK; kx::select ccp 5 8", "addConnection pin =AUTONAME", "0",
     "KXPANE-496"},
    {"AutoNameMenuOnASignalGrid", 3, "kx::show slp MCLK; kx::select ccp 5 8", "kx::menu 35255", "0", "KXPANE-496"},
    {"AutoNameMethodOnAMatrix", 3, kViewOfU1, "kx::pane AttachSignal =AUTONAME", "0", "KXPANE-496"},
    {"AutoNameMethodInPhysicalView", 4, kShowU1, "kx::pane AttachSignal =AUTONAME", "0", "KXPANE-571"},
    {"AutoNameMenuInModeZero", 0, kPgoodSignalCell, "kx::menu 35255", "0", "KXPANE-572"},
    {"ShortPinsMenuInModeZero", 0, "kx::show clp U1; kx::select ccp 40 7 41 7", "kx::menu 35280", "0", "KXPANE-572"},
    {"AutoNameMethodInModeZero", 0, kPgoodSignalCell, "kx::pane AttachSignal AUTONAME", "0", "KXPANE-572"},
    {"AutoNameWordWithNoPinChosen", 3, kShowU1, "addConnection pin =AUTONAME", "0", "KXPANE-574"},
    {"AutoNameMenuWithNoPinChosen", 3, kShowU1, "kx::menu 35255", "0", "KXPANE-574"},
    {"AutoNameMethodWithNoPinChosen", 3, kShowU1, "kx::pane AttachSignal AUTONAME", "0", "KXPANE-574"},
    {"AutoNameWordOnTheColumnTitles", 3, "kx::show clp U1; kx::select ccp 4 7", "addConnection pin =AUTONAME", "0",
     "KXPANE-574"},
    {"AutoNameMenuOnTheColumnTitles", 3, "kx::show clp U1; kx::select ccp 4 7", "kx::menu 35255", "0", "KXPANE-574"},
    // The method takes the rule as the bar's list shows it, with its "=", as well as without.
    {"AutoNameMethodOfTheListsText", 3, kPgoodSignalCell, "kx::pane AttachSignal =AUTONAME", "1", ""},
    {"ShortPinsMethodOfTheListsText", 3, "kx::show clp U1; kx::select ccp 40 7 41 7",
     "kx::pane AttachSignal =SHORTPINS", "1", ""},
    {"DeleteOnANetGridRowWithoutAModel", 4, "kx::show slp RST_IN; kx::select ccp 5 2", "kx::menu 35264", "0",
     "KXPANE-484"},
    {"AutomationDeleteOnANetGridRowWithoutAModel", 4, "kx::show slp RST_IN; kx::select ccp 5 2", "kx::pane Delete",
     "0", "KXPANE-484"},
    // Work that would change nothing is refused with a message that says so.
    {"BlockFilterGivenAgain", 4, "filterBlock -exclude PWR1", "filterBlock -exclude PWR1", "0", "KXTABLE-451"},
    {"ModifyCommentToItsOwnText", 3, "kx::show clp U1; selectObject pin PGOOD; addComment pin note",
     "modifyComment pin note", "0", "KXPANE-561"},
    // Document methods given names the design does not take, or no names, say so.
    {"DocumentAliasOfNoNames", 3, "", "kx::call AliasNets {} {}", "0", "KXPANE-563"},
    {"DocumentAddBlockWithAnOptionInSmallLetters", 3, "", "kx::call AddBlock B9 demo PWR suffix _A sch", "0",
     "KXPANE-493"},
    {"DocumentAddSignalOfANameTheDesignRefuses", 3, "", "kx::call AddSignal {S\"Q} {} {}", "0", "KXPANE-565"},
    {"DocumentAddComponentOfANameTheDesignRefuses", 3, "", "kx::call AddComponent {a b} demo RES sym", "0",
     "KXPANE-565"},
    {"PasteOfTheCellsOwnText", 3, "kx::show clp U1; kx::select ccp 41 7; kx::key ccp Ctrl+C; kx::select ccp 41 7",
     "paste pin", "0", "KXTABLE-267"},
    // Menu commands that had nothing to act on, or nothing to change, say so instead of answering 1.
    {"CopyMenuWithNoRowToCopy", 3, kShowU1, "kx::menu 57634", "0", "KXPANE-483"},
    {"CopyKeyOnTheHeaderRow", 3, "kx::show clp U1; kx::select ccp 4 7", "kx::key ccp Ctrl+C", "0", "KXPANE-483"},
    {"RuleMenuClosedWithoutAChoice", 3, kPgoodSignalCell, "kx::menu 35279", "2", ""},
    {"SortOrderChosenAgain", 3, "kx::show clp U1; kx::menu 35673; kx::menu 35672", "kx::menu 35672", "0",
     "KXPANE-580"},
    {"HostCommandTheHostRuns", 3, kPgoodSignalCell, "kx::menu 35537", "0", "KXPANE-582"},
    {"SortMenuWithNoGridShown", 3, "", "kx::menu 35120", "0", "KXPANE-246"},
    {"CustomizeColumnsWithNoGridShown", 3, "", "kx::menu 35130", "0", "KXPANE-246"},
    {"InsertCommentWithNoGridShown", 3, "", "kx::menu 35555", "0", "KXPANE-246"},
    {"ModifyCommentWithNoGridShown", 3, "", "kx::menu 35557", "0", "KXPANE-246"},
    {"DeleteCommentWithNoGridShown", 3, "", "kx::menu 35556", "0", "KXPANE-246"},
    {"SortMenuOfAColumnTheMatrixLacks", 3, kViewOfU1, "kx::menu 35128", "0", "KXPANE-583"},
    {"FindInTheMatrix", 3, kViewOfU1, "kx::menu 57636", "0", "KXPANE-588"},
    {"ReplaceWithNoGridShown", 3, "", "kx::menu 57641", "0", "KXPANE-246"},
    {"OpenTheMatrixViewShown", 3, kViewOfU1, "kx::menu 35679", "0", "KXPANE-587"},
    // A word of the connectivity pane given without its grid word, while another pane has the keyboard.
    {"PaneWordWithoutItsGridWord", 3, kShowU1, "addConnection FOO [list U1 PGOOD C10]", "0", "KXTABLE-160"},
    {"CopyWordWithoutItsGridWord", 3, kShowU1, "copy PGOOD Signal", "0", "KXTABLE-164"},
    {"PaneWordGivenTheSignalListsWord", 3, kShowU1, "sort NET Name", "0", "KXPANE-231"},
    // Methods that did nothing say why.
    {"DocumentImportOfNoFile", 3, "", "kx::call ImportInterface {} {}", "0", "KXPANE-584"},
    {"ComponentListCommentMoveOfNoNames", 3, "", "kx::pane clp PreserveComments {} {} 0", "0", "KXPANE-562"},
    {"AutomationDelayOffATerminationCell", 3, kPgoodSignalCell, "kx::pane ChangeDelay 7ns", "0", "KXPANE-585"},
    {"AutomationAddOfNoPreparedTermination", 3, kPgoodSignalCell, "kx::pane AddTermination", "0", "KXPANE-586"},
    {"AutomationTerminationInReadOnlyWindow", 2, kPgoodSignalCell, "kx::pane AddTermination", "0", "KXTABLE-382"},
    {"AutomationDelayInReadOnlyWindow", 2, kPgoodSignalCell, "kx::pane ChangeDelay 7ns", "0", "KXTABLE-382"},
    {"AutomationMatrixConnectOfNoCell", 3, kViewOfU1, "kx::pane MatrixConnect {} {} {} {} {}", "0", "KXPANE-471"},
    {"AutomationMatrixRowOfNoSignal", 3, kViewOfU1, "kx::pane MatrixSelectRow {} {} {} {} {}", "0", "KXPANE-589"},
    {"AutomationMatrixDeleteOfNoPullUp", 3, kViewOfU1, "kx::pane MatrixDeletePupd {}", "0", "KXPANE-590"},
    {"AutomationMatrixPasteOfNoEntry", 3, kViewOfU1, "kx::pane MatrixPasteAssoc {} {} {} {} {} {} {}", "0",
     "KXPANE-591"},
    // The pane's Copy copies in every grid kind, the physical view's grids too, as the menu and Ctrl+C do;
    // the copy word of rows a filter or a folded bus hides copies nothing and says so.
    {"CopyMethodInThePhysicalPartGrid", 4, "kx::show clp U1; kx::select ccp 47 5", "kx::pane Copy", "1", ""},
    {"CopyMethodInThePhysicalNetGrid", 4, "kx::show slp RST_IN; kx::select ccp 5 6", "kx::pane Copy", "1", ""},
    {"CopyWordOfAFilteredPhysicalRow", 4, "kx::show clp U1; filterRows pin -col {Pin Name} -filter D*",
     "copy pin PGOOD Signal", "0", "KXPANE-594"},
    // A keyed bit of a folded bus opens its fold, for copy as for every keyed word.
    {"CopyWordOfAFoldedBusBit", 3, kShowU1, "copy pin {DQ<3>} Signal", "1", ""},
    // Ctrl+C on the Pull Up/Down cell of a pin on no signal: the row is shown, it holds nothing to copy.
    {"CtrlCOfThePullUpCellOfAPinOnNoSignal", 3, "kx::show clp U1; kx::edit ccp 41 7 {}; kx::select ccp 41 9",
     "kx::key ccp Ctrl+C", "0", "KXPANE-640"},
    // The host's notices answer from the work they did: a moved comment 1, a move that names no target
    // or a target no component can have 0 with its message, and no step.
    {"HostPinCommentMoveDone", 3, kCommentOnPgood, "kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,PGOOD:U1,RST_N 1",
     "1", ""},
    {"HostPinCommentMoveOfTwoKeys", 3, kCommentOnPgood, "kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,PGOOD 1", "0",
     "KXPANE-481"},
    {"HostPinCommentMoveToNoComponentName", 3, kCommentOnPgood,
     "kx::notify INT_MSG_PRESERVE_PIN_COMMENT {U1,PGOOD:U7\"x,OUT} 1", "0", "KXPANE-562"},
    {"PanePinCommentMoveToNoComponentName", 3, kCommentOnPgood, "kx::pane PreservePinComment U1 PGOOD {U7\"x} OUT 1",
     "0", "KXPANE-562"},
    {"HostCommentMoveNamingOneComponent", 3, kCommentOnPgood, "kx::notify INT_MSG_PRESERVE_INST_COMMENT {U1\"[exit]} 1",
     "0", "KXPANE-562"},
    {"HostCommentMoveInThePhysicalView", 4, "", "kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U7 1", "0", "KXPANE-522"},
    {"HostPinCommentMoveInThePhysicalView", 4, "", "kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,PGOOD:U1,RST_N 1", "0",
     "KXPANE-522"},
    {"HostRowNumberSetting", 3, kShowU1, "kx::notify INT_MSG_SETUP_SHOW_ROW_NUMBERS {} 1", "1", ""},
    {"HostAutoCompleteSetting", 3, kShowU1, "kx::notify INT_MSG_SETUP_AUTOCOMPLETE_CCP_SCP {} 0", "1", ""},
    {"HostSignalComboSetting", 3, kShowU1, "kx::notify INT_MSG_SETUP_SHOW_SIGNALCOMBO_CCP {} 0", "1", ""},
    {"HostSelectionRemoved", 3, "kx::select clp U2", "kx::notify INT_MSG_REMOVE_SELECTION_ALL 1", "1", ""},
    {"HostPowerGroupTied", 3, "kx::select clp U2; kx::answer dialog CKXPowerGroupDlg ok pin VDD net P3V3",
     "kx::notify INT_MSG_ASSIGN_POWER", "1", ""},
    {"HostPowerGroupDialogCancelled", 3, "kx::select clp U2; kx::answer dialog CKXPowerGroupDlg cancel",
     "kx::notify INT_MSG_ASSIGN_POWER", "2", ""},
    // A model given again, in other letters, changes nothing in either physical grid, by the word or the method.
    {"PhysicalPartModelGivenAgainInOtherLetters", 4, "kx::show clp RN1; assignModel pin RES_MODEL RN1:A:1",
     "assignModel pin res_model RN1:A:1", "0", "KXTABLE-267"},
    {"PhysicalNetModelGivenAgainInOtherLetters", 4,
     "kx::show slp RST_IN; kx::select ccp 6 2; kx::pane AssignModel RES_MODEL",
     "kx::pane AssignModel res_model", "0", "KXTABLE-267"},
    // The host's settings answer that the window took them, as the pair pins' setting does.
    {"DeleteOfNoAlias", 3, "", "kx::call DeleteAlias X Y", "0", "KXPANE-595"},
    {"MoveDirectionSettingTaken", 3, kShowU1, "kx::notify INT_MSG_SETUP_MOVEDIRECTION {} Right", "1", ""},
    {"CopyNamingSettingTaken", 3, kShowU1, "kx::notify INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY {} 1", "1", ""},
    {"CopyNamingSettingInThePhysicalView", 4, kShowU1, "kx::notify INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY {} 1", "0",
     "KXPANE-178"},
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.line;
}

class Answers : public DemoBoard, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(Answers, FollowTheRule) {
    const AnswerCase& c = GetParam();
    ASSERT_TRUE(OpenBoard(c.mode, c.setup)) << c.setup;
    Messages();
    const DesignMark before = MarkDesign();
    const bool modified = Doc()->IsModified();
    EXPECT_EQ(Run(c.line), c.answer) << c.line;
    const std::vector<std::string> shown = Messages();
    if (*c.message) {
        EXPECT_NE(std::find(shown.begin(), shown.end(), c.message), shown.end())
            << c.line << " said: " << ::testing::PrintToString(shown);
    }
    if (std::string(c.answer) != "1") {
        // A refusal or a dialog closed without a change changes nothing; a refusal says why.
        ExpectUnchangedSince(before, c.line);
        EXPECT_EQ(Doc()->IsModified(), modified) << c.line;
    }
    if (std::string(c.answer) == "0") {
        EXPECT_FALSE(shown.empty()) << c.line << " refused without a word";
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, Answers, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

// The question before a pair row's net is replaced, answered No: the word answers 2, the method (which
// cannot) 0, neither with a message, and nothing changed.
TEST_F(DemoBoard, ConnectRoadsStopAtTheDeclinedPairQuestionAlike) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    for (const char* line : {"addConnection pin NEWSIG", "kx::pane AddConnection NEWSIG"}) {
        Run("kx::select ccp 43 7");
        Messages();
        const DesignMark before = MarkDesign();
        Run("kx::answer dialog CKXDontAskAgainYesNoDlg cancel");
        EXPECT_EQ(Run(line), std::string(line).rfind("kx::pane", 0) == 0 ? "0" : "2") << line;
        EXPECT_EQ(Messages(), std::vector<std::string>{}) << line;
        ExpectUnchangedSince(before, line);
        EXPECT_FALSE(Doc()->IsModified()) << line;
    }
}

// A typed connect stopped at its own dialog cancelled (the bits of a bus name, the question before a pair
// net is replaced) answers 2 on the typing roads as the word does, without a message, and changes nothing:
// kx::edit, and Enter ending the cell's edit.
TEST_F(DemoBoard, TypedConnectsStopAtTheirCancelledDialogAsTheWordDoes) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    struct Typed {
        const char* dialog;
        const char* row;
        const char* text;
    };
    for (const Typed& t : {Typed{"CKXGetVectorBits", "40", "LVDS_P<3..0>"},
                           Typed{"CKXDontAskAgainYesNoDlg", "20", "NEWP (Differential Pair)"}}) {
        const std::string cancel = std::string("kx::answer dialog ") + t.dialog + " cancel";
        Messages();
        const DesignMark before = MarkDesign();
        Run(cancel);
        EXPECT_EQ(Run(std::string("kx::edit ccp ") + t.row + " 7 {" + t.text + "}"), "2") << t.dialog;
        EXPECT_EQ(Messages(), std::vector<std::string>{}) << t.dialog;
        ExpectUnchangedSince(before, t.dialog);

        Run(cancel);
        Run(std::string("kx::select ccp ") + t.row + " 7; kx::key ccp F2");
        CGXControl* control = Ccp()->GetActiveGrid()->GetCurrentCellControl();
        ASSERT_TRUE(control) << t.dialog;
        control->SetCurrentText(t.text);
        EXPECT_EQ(Run("kx::key ccp Enter"), "2") << t.dialog;
        EXPECT_EQ(Messages(), std::vector<std::string>{}) << t.dialog;
        ExpectUnchangedSince(before, t.dialog);
        Run("kx::key ccp Escape");
    }
    EXPECT_FALSE(Doc()->IsModified());
}

// The host's option road to the overwrite question: set, a plain paste over a connected pin asks first;
// taken off, it pastes without asking.
TEST_F(DemoBoard, TheOverwriteQuestionOptionIsTheHostsToSet) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::select ccp 41 7; kx::key ccp Ctrl+C"));
    EXPECT_EQ(Run("kx::option on_paste_prompt_before_overwrite 1"), "");
    Run("kx::select ccp 40 7");
    const DesignMark before = MarkDesign();
    Run("kx::answer question KXTABLE-139 no");
    EXPECT_EQ(Run("paste pin"), "2");
    ExpectUnchangedSince(before, "paste pin");
    EXPECT_EQ(Run("kx::option on_paste_prompt_before_overwrite 0"), "");
    Run("kx::select ccp 40 7");
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 MCLK PG\n"), std::string::npos);
}

// The overwrite question of a paste answered No stops the paste: the word answers 2, the pane's method
// (which cannot) 0, and nothing changed; answered Yes, the method pastes.
TEST_F(DemoBoard, PasteRoadsStopAtTheDeclinedOverwriteQuestionAlike) {
    const auto prompt = [](DWORD value) {
        CKXRegistrySettings::OpenRegistryKey();
        CKXRegistrySettings::SetToRegistry("on_paste_prompt_before_overwrite", value);
        CKXRegistrySettings::CloseRegistryKey();
    };
    prompt(1);
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::select ccp 41 7; kx::key ccp Ctrl+C"));
    for (const char* line : {"paste pin", "kx::pane Paste"}) {
        Run("kx::select ccp 40 7");
        const DesignMark before = MarkDesign();
        Run("kx::answer question KXTABLE-139 no");
        EXPECT_EQ(Run(line), std::string(line) == "paste pin" ? "2" : "0") << line;
        ExpectUnchangedSince(before, line);
        EXPECT_FALSE(Doc()->IsModified()) << line;
    }
    Run("kx::answer question KXTABLE-139 yes");
    EXPECT_EQ(Run("kx::pane Paste"), "1");
    prompt(0);
}

// A signal grid's paste onto cells that show the pasted text already changes nothing, by every road: it
// says so (KXTABLE-267), answers 0 and leaves no step, as the same text typed into the cell does.
TEST_F(DemoBoard, ASignalGridPasteThatChangesNothingSaysSoByEveryRoad) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp MCLK; kx::select ccp 6 8; kx::key ccp Ctrl+C"));
    for (const char* road : {"paste pin", "kx::pane Paste", "kx::key ccp Ctrl+V"}) {
        Run("kx::select ccp 6 8");
        const DesignMark before = MarkDesign();
        Messages();
        const std::string answer = Run(road);
        // A key answers as keys do; the word and the method answer that nothing was done.
        if (std::string(road) != "kx::key ccp Ctrl+V") {
            EXPECT_EQ(answer, "0") << road;
        }
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"}) << road;
        ExpectUnchangedSince(before, road);
    }
}

// The host's Assign Power in a read-only window asks for no power group: it says once that the window
// may not edit, and the answer queued for the dialog is left for another.
TEST_F(DemoBoard, AssignPowerInAReadOnlyWindowAsksNothing) {
    ASSERT_TRUE(OpenBoard(2, "kx::select clp U2; kx::answer dialog CKXPowerGroupDlg ok pin VDD net P3V3"));
    Messages();
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Run("kx::notify INT_MSG_ASSIGN_POWER"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-382"});
    ExpectUnchangedSince(before);
    EXPECT_FALSE(Doc()->IsModified());
}

// The block filter and a comment given again as they stand change nothing: no journal line either, so
// that a replay makes no edit the session did not.
TEST_F(DemoBoard, WorkGivenAgainAsItStandsLeavesNoJournalLine) {
    ASSERT_TRUE(OpenBoard(4));
    ASSERT_EQ(Run("filterBlock -exclude PWR1"), "1");
    size_t journal = JournalText().size();
    EXPECT_EQ(Run("filterBlock -exclude PWR1"), "0");
    EXPECT_EQ(JournalText().size(), journal);
    EXPECT_EQ(Run("filterBlock -include PWR1"), "1");
    Run("closeDesign -nosave");
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; selectObject pin PGOOD"));
    ASSERT_EQ(Run("addComment pin note"), "1");
    journal = JournalText().size();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("modifyComment pin note"), "0");
    EXPECT_EQ(JournalText().size(), journal);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Run("modifyComment pin other"), "1");
    EXPECT_NE(JournalText().find("EditComment(\"other\")"), std::string::npos) << JournalText();
}

// Swap Pins by the menu answers as the pane's SwapPins does: a number no pin of the component carries,
// or the pin's own number, swaps nothing and says why.
TEST_F(DemoBoard, SwapPinsByTheMenuAnswersAsTheMethod) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    ASSERT_TRUE(OpenBoard(3, "kx::show clp RN1A; kx::select ccp 6 4"));
    const DesignMark before = MarkDesign();
    const size_t journal = JournalText().size();
    Messages();
    // Pin 2 carries RN1B's A, a pin of another instance of the package: the refusal names it.
    Run("kx::answer dialog CKXSwappinsDialog ok pin 2");
    EXPECT_EQ(Run("kx::menu 35566"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-520"});
    EXPECT_EQ(Run("kx::pane SwapPins 3"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-107"});
    EXPECT_EQ(Run("kx::pane SwapPins 1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-196"});
    ExpectUnchangedSince(before);
    EXPECT_EQ(JournalText().size(), journal);
    EXPECT_FALSE(Doc()->IsModified());
    Run("closeDesign -nosave");
    // In the physical view: pin 3 of the pack carries no logical pin.
    ASSERT_TRUE(OpenBoard(4, "kx::show clp RN1; kx::select ccp 6 2"));
    Messages();
    Run("kx::answer dialog CKXSwappinsDialog ok pin 3");
    EXPECT_EQ(Run("kx::menu 35566"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-107"});
    unsetenv("KX_ALLOW_SWAP_PINS");
}

// A rename over the pins of two side-by-side grids is one edit: its journal lines replay as one step.
TEST_F(DemoBoard, ARenameOverTwoGridsIsJournalledAsOneStep) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1 U2"));
    ASSERT_EQ(Run("renameConnection pin [list U1 PGOOD C10 PWR_GOOD] [list U2 CLK 30 NEWCLK]"), "1");
    EXPECT_EQ(Run("kx::history"), "window 1\nundo Rename Signal");
    const std::string journal = JournalText();
    const size_t begin = journal.rfind("RMX.BeginStep()");
    ASSERT_NE(begin, std::string::npos) << journal;
    EXPECT_NE(journal.find("RenameConnection(\"PWR_GOOD\")", begin), std::string::npos);
    EXPECT_LT(journal.find("RenameConnection(\"NEWCLK\")", begin), journal.find("RMX.EndStep()", begin));
}

// The cell a pin grid's activation places (on its first row) is no pin the user chose: Swap Pins stays
// disabled after the pane's method was called, and the method says that no pin is selected.
TEST_F(DemoBoard, SwapPinsWaitsForAPinTheUserChose) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    const DesignMark before = MarkDesign();
    Messages();
    for (int call = 0; call < 2; ++call) {
        EXPECT_EQ(Run("kx::menustate 35566").rfind("disabled", 0), 0u);
        EXPECT_EQ(Run("kx::pane SwapPins A12"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-488"});
    }
    ExpectUnchangedSince(before);
    ASSERT_EQ(Run("kx::word selectObject pin {DQ<3>}"), "1");
    EXPECT_EQ(Run("kx::menustate 35566").rfind("enabled", 0), 0u);
    unsetenv("KX_ALLOW_SWAP_PINS");
}

// Copy takes what the user chose: a grid the user has not been in (the cell its activation placed) has
// nothing to copy on any road, in every grid kind; once a cell is chosen, every road copies it.
TEST_F(DemoBoard, CopyWaitsForACellTheUserChose) {
    const struct {
        const char* show;
        const char* select;
    } grids[] = {{kShowU1, "kx::select ccp 41 7"},
                 {"kx::show slp MCLK", "kx::select ccp 5 8"},
                 {"openMatrixView pin V1; matrixAdd pin component U1; matrixAdd pin signal MCLK", "kx::select ccp 5 4"}};
    for (const auto& g : grids) {
        ASSERT_TRUE(OpenBoard(3, g.show)) << g.show;
        Messages();
        const DWORD clipboard = GetClipboardSequenceNumber();
        EXPECT_EQ(Run("kx::pane Copy"), "0") << g.show;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-483"}) << g.show;
        EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "0") << g.show; // refused, or disabled where the cell copies nothing
        Messages();
        EXPECT_EQ(GetClipboardSequenceNumber(), clipboard) << g.show << ": something was copied";
        ASSERT_EQ(Run(g.select), "1") << g.select;
        for (const char* road : {"kx::pane Copy", "kx::menu 57634", "kx::key ccp Ctrl+C"}) {
            const DWORD before = GetClipboardSequenceNumber();
            EXPECT_EQ(Run(road), "1") << g.show << ": " << road;
            EXPECT_NE(GetClipboardSequenceNumber(), before) << g.show << ": " << road;
        }
        Run("closeDesign -nosave");
    }
}

// The design request goes to the tools that listen for it; with none listening it reached nobody.
TEST_F(DemoBoard, ADesignRequestAnswersWhetherAToolTookIt) {
    ASSERT_TRUE(OpenBoard(1));
    ClearNotifications();
    Messages();
    EXPECT_EQ(Run("kx::menu 35534"), "1");
    EXPECT_EQ(Notifications(MSG_DESIGN_REQUEST).size(), 1u);
    SetKXMsgSrvrAvailable(FALSE);
    EXPECT_EQ(Run("kx::menu 35534"), "0");
    SetKXMsgSrvrAvailable(TRUE);
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-581"});
}

// The undo of a matrix sort made by a header click brings back the order the rows had.
TEST_F(DemoBoard, UndoOfAMatrixHeaderSortBringsBackTheRowOrder) {
    ASSERT_TRUE(OpenBoard(3, "openMatrixView pin V1; matrixAdd pin component U1; matrixAdd pin signal MCLK; "
                             "matrixAdd pin signal DQ"));
    const std::string unsorted = Run("kx::window ccp");
    EXPECT_EQ(Run("kx::click ccp 1 5"), "1");
    ASSERT_NE(Run("kx::window ccp"), unsorted) << "the click sorted nothing";
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), unsorted);
}

// Go to physical pin needs a window that switches views: in open mode 0 it is disabled.
// Ctrl+V where no paste can go changes nothing and answers 0, as the word it would run.
TEST_F(DemoBoard, CtrlVWhereNoPasteCanGoAnswersZero) {
    ASSERT_TRUE(OpenBoard(4, kShowU1));
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Run("kx::select ccp 47 5; kx::key ccp Ctrl+V"), "0");
    ExpectUnchangedSince(before, "Ctrl+V in the physical view");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(DemoBoard, GoToPhysicalPinIsDisabledWithoutViewSwitching) {
    ASSERT_TRUE(OpenBoard(0, kPgoodSignalCell));
    EXPECT_EQ(Run("kx::menustate 35570").rfind("disabled", 0), 0u);
    EXPECT_EQ(Run("kx::menu 35570"), "0");
    ASSERT_TRUE(OpenBoard(3, kPgoodSignalCell));
    EXPECT_EQ(Run("kx::menustate 35570").rfind("enabled", 0), 0u);
}

// Typing nothing into a cell that holds nothing is no edit: 0, no undo step, nothing journalled.
TEST_F(DemoBoard, TypingNothingIntoAnEmptyCellAnswersZeroAndLeavesNoStep) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    ASSERT_EQ(Run("kx::edit ccp 41 7 {}"), "1"); // PGOOD's signal taken off: an edit
    const DesignMark before = MarkDesign();
    const size_t journal = JournalText().size();
    EXPECT_EQ(Run("kx::edit ccp 41 7 {}"), "0");
    EXPECT_NE(Transcript().find("edit refused: cell 41,7: nothing changed"), std::string::npos);
    ExpectUnchangedSince(before);
    EXPECT_EQ(JournalText().size(), journal);
    // The undo takes back the edit before.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_NE(Run("kx::netlist"), before.netlist);
}

class DesignRefusals : public DemoBoard {
protected:
    // Types `text` into U1's PGOOD Signal cell while the design refuses every commit: 0, the message
    // `id`, no undo step and the design as it was; typed again once the design takes commits, `retyped`
    // is an edit that answers 1.
    void ExpectCellEditRefused(const char* text, const char* id, const char* retyped);
};

void DesignRefusals::ExpectCellEditRefused(const char* text, const char* id, const char* retyped) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    const DesignMark before = MarkDesign();
    const bool modified = Doc()->IsModified();
    Messages();
    m_app->Server()->setCommitFault([] { return true; });
    const std::string answer = Run(std::string("kx::edit ccp 41 7 ") + text);
    m_app->Server()->setCommitFault(nullptr);
    EXPECT_EQ(answer, "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{id});
    EXPECT_NE(Transcript().find(std::string("edit refused: cell 41,7: ") + id), std::string::npos);
    ExpectUnchangedSince(before);
    EXPECT_EQ(Doc()->IsModified(), modified); // no save question for a change that did not happen
    EXPECT_EQ(Run(std::string("kx::edit ccp 41 7 ") + retyped), "1");
    EXPECT_NE(Run("kx::netlist"), before.netlist);
}

// A connection typed into a Signal cell that the design refuses is no edit: 0, with the message that
// says so, no undo step and the design as it was; the next edit the design takes answers 1.
TEST_F(DesignRefusals, ATypedConnectionTheDesignRefusesAnswersZeroWithItsMessage) {
    ExpectCellEditRefused("REFUSEDNET", "KXTABLE-304", "TAKENNET");
}

// A method cannot answer 2: one whose word opened its dialog answers 1 when the dialog did its work
// and 0 when the user cancelled it, the design as it was.
TEST_F(DemoBoard, AMethodWhoseDialogWasCancelledAnswersZero) {
    ASSERT_TRUE(OpenBoard(1, "kx::show clp U1; selectObject pin PGOOD"));
    ASSERT_EQ(Run("kx::answer dialog CKXTerminationDlg ok type Series; addTermination pin"), "2");
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Run("kx::answer dialog CKXTerminationDlg cancel; kx::pane EditTermination {}"), "0");
    ExpectUnchangedSince(before);
    EXPECT_EQ(Run("kx::answer dialog CKXTerminationDlg ok type Shunt value0 47; kx::pane EditTermination {}"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before.steps + 1);
}

// Clearing a Signal cell whose disconnect the design refuses is no edit either: 0, with the message
// that says so, no undo step and the pin still connected.
TEST_F(DesignRefusals, AClearedSignalCellTheDesignRefusesAnswersZeroWithItsMessage) {
    ExpectCellEditRefused("{}", "KXTABLE-319", "{}");
}

// The grid keeps the result of its last cell edit for whoever typed it: a change the design refused,
// with the message that said why, until it is forgotten before the next edit.
TEST_F(DemoBoard, TheGridTellsTheResultOfItsLastCellEdit) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_NE(grid, nullptr);
    CString id;
    const auto read = [&] {
        return grid->SendMessage(MSG_GRID_CELL_EDIT_RESULT, kCellEditRead, reinterpret_cast<LPARAM>(&id));
    };
    ASSERT_EQ(Run("kx::edit ccp 41 7 TAKENNET"), "1");
    EXPECT_EQ(read(), 1);
    m_app->Server()->setCommitFault([] { return true; });
    EXPECT_EQ(Run("kx::edit ccp 41 7 REFUSEDNET"), "0");
    m_app->Server()->setCommitFault(nullptr);
    EXPECT_EQ(read(), 0);
    EXPECT_EQ(id, CString("KXTABLE-304"));
    EXPECT_EQ(grid->SendMessage(MSG_GRID_CELL_EDIT_RESULT, kCellEditForget, 0), 1);
    EXPECT_EQ(read(), 1);
}

// The items that open a stored matrix view are offered only for the views the design stores; run
// anyway, an item past them says so and answers 0.
TEST_F(DemoBoard, AStoredViewItemIsOfferedOnlyForAViewTheDesignStores) {
    ASSERT_TRUE(OpenBoard(3));
    EXPECT_EQ(Run("kx::menustate 35679"), "disabled");
    EXPECT_EQ(Run("kx::menu 35679"), "0");
    Messages();
    EXPECT_EQ(Frame()->SendMessage(MSG_RUN_MENU_COMMAND, 35679, 0), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-402"});
    ASSERT_EQ(Run("openMatrixView pin V1"), "1");
    EXPECT_EQ(Run("kx::menustate 35679"), "enabled");
    EXPECT_EQ(Run("kx::menustate 35680"), "disabled");
    // The view shown already stays; another grid shown, the item brings the view back.
    EXPECT_EQ(Run("kx::menu 35679"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-587"});
    Run(kShowU1);
    EXPECT_EQ(Run("kx::menu 35679"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_NE(Run("kx::window ccp").find("Matrix"), std::string::npos);
}

// Every method of the pane's automation object, called without arguments while the pane shows
// nothing, refuses: it answers 0 (never nothing), says why and changes nothing. The two that
// prepare an object for the calls after them answer that object.
TEST_F(DemoBoard, EveryPaneMethodRefusesWithAMessageWhileNothingIsShown) {
    ASSERT_TRUE(OpenBoard(1));
    IDispatch* disp = Ccp()->GetIDispatch(FALSE);
    ASSERT_NE(disp, nullptr);
    const std::string netlist = Run("kx::netlist");
    Messages();
    int methods = 0;
    for (DISPID id = 1;; ++id) {
        // Empty texts for as many arguments as the method must have.
        static_assert(sizeof(COleVariant) == sizeof(VARIANT));
        std::vector<COleVariant> args;
        COleVariant result;
        HRESULT hr = DISP_E_PARAMNOTOPTIONAL;
        while (hr == DISP_E_PARAMNOTOPTIONAL && args.size() < 16) {
            DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
            hr = disp->Invoke(id, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
            args.emplace_back("");
        }
        if (hr == DISP_E_MEMBERNOTFOUND) break;
        ASSERT_EQ(hr, S_OK) << "method " << id;
        ++methods;
        const std::vector<std::string> said = Messages();
        if (result.vt == VT_DISPATCH) continue;
        EXPECT_EQ(result.vt, VT_BOOL) << "method " << id << " answers nothing";
        EXPECT_FALSE(result.vt == VT_BOOL && result.boolVal) << "method " << id << " answers 1";
        EXPECT_FALSE(said.empty()) << "method " << id << " refused without a word";
    }
    EXPECT_GE(methods, 50);
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_FALSE(Doc()->IsModified());
}

// The information a save in the parent's context shows first stops nothing, however it is closed: a
// command that went on to save did its work. Another dialog closed without an answer was cancelled.
TEST(EditResult, TheInformationBeforeASaveIsNoCancel) {
    AfxGetAnswerQueue().Reset();
    const KXShownMark mark;
    AfxDialogAnswer answer;
    EXPECT_FALSE(AfxGetAnswerQueue().TakeDialog("CKXDontAskAgainDlg", answer));
    EXPECT_FALSE(mark.DialogCancelledSince());
    EXPECT_FALSE(AfxGetAnswerQueue().TakeDialog("CKXZoomDialog", answer));
    EXPECT_TRUE(mark.DialogCancelledSince());
    AfxGetAnswerQueue().Reset();
}

// The result type itself: a callee that refused said why, or the fallback says it; never both,
// never neither.
TEST(EditResult, ACalleeRefusalIsSaidOnce) {
    CKXErrorHandler::ClearTranscript();
    {
        const KXShownMark mark;
        EXPECT_EQ(KXEditResult::Of(FALSE, "KXPANE-246").Answer(mark), 0);
        ASSERT_EQ(CKXErrorHandler::GetTranscript().size(), 1u);
        EXPECT_EQ(CKXErrorHandler::GetTranscript().back().id, CString("KXPANE-246"));
    }
    {
        const KXShownMark mark;
        CKXErrorHandler::MessageBoxOk("KXTABLE-272");
        EXPECT_EQ(KXEditResult::Of(FALSE, "KXPANE-246").Answer(mark, 3), 3);
        ASSERT_EQ(CKXErrorHandler::GetTranscript().size(), 2u);
        EXPECT_EQ(CKXErrorHandler::GetTranscript().back().id, CString("KXTABLE-272"));
    }
    const KXShownMark mark;
    EXPECT_EQ(KXEditResult::Of(TRUE, "KXPANE-246").Answer(mark, 3), 1);
    EXPECT_EQ(KXEditResult::Done(KXAnswerTwo::PlainSignalName).Answer(mark), 2);
    EXPECT_EQ(KXEditResult::Help("KXPANE-231").Answer(mark), 1);
    EXPECT_EQ(CKXErrorHandler::GetTranscript().size(), 3u);
}

} // namespace

// A usage text names the operands the word takes, and only those; a word of the connectivity pane names
// its grid word.
TEST_F(DemoBoard, UsageTextsNameTheOperandsTheWordsTake) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    EXPECT_EQ(Run("copy pin -help"), "1");
    EXPECT_NE(Transcript().find("Usage: copy pin KEY ?KEY ...? COLUMN"), std::string::npos);
    EXPECT_EQ(Run("assignPinNumber -help"), "1");
    const std::string transcript = Transcript();
    const size_t usage = transcript.rfind("Usage: assignPinNumber");
    ASSERT_NE(usage, std::string::npos);
    EXPECT_EQ(transcript.substr(usage, transcript.find('\n', usage) - usage), "Usage: assignPinNumber pin NUMBER");
    EXPECT_EQ(Run("addConnection -help"), "1");
    EXPECT_NE(Transcript().find("Usage: addConnection pin SIGNAL|RULE"), std::string::npos);
}

// An implicit power row in the selection leaves Add Termination disabled, whatever else is selected.
TEST_F(DemoBoard, AddTerminationIsDisabledWhileAnImplicitPowerRowIsSelected) {
    ASSERT_TRUE(OpenBoard(1, "kx::powerpins on"));
    Run("kx::show clp U1");
    const std::string gnd = RowShowing("| GND | H3,H4 |"), pgood = RowShowing("| PGOOD |");
    ASSERT_FALSE(gnd.empty() || pgood.empty()) << Run("kx::window ccp");
    ASSERT_EQ(Run("kx::select ccp " + pgood + " 7"), "1");
    EXPECT_EQ(Run("kx::menustate 35522").rfind("enabled", 0), 0u);
    ASSERT_EQ(Run("kx::select ccp " + gnd + " 7 " + pgood + " 7"), "1");
    EXPECT_EQ(Run("kx::menustate 35522").rfind("disabled", 0), 0u);
    Run("kx::powerpins off");
}

// The matrix's pull-up item reads Edit for one selected signal with a pull-up of any kind (RST_IN
// inherits one), Add over two rows; a read-only window views it.
TEST_F(DemoBoard, TheMatrixPullupItemFollowsTheSelectedSignal) {
    ASSERT_TRUE(OpenBoard(1));
    ASSERT_EQ(Run("openMatrixView pin V1; matrixAdd pin signal RST_IN; matrixAdd pin signal MCLK"), "1");
    ASSERT_EQ(Run("kx::select ccp 5 1"), "1");
    EXPECT_EQ(Run("kx::menustate 35509"), "enabled \"Edit Pullup/Pulldown...\"");
    ASSERT_EQ(Run("kx::select ccp 5 1 6 1"), "1");
    EXPECT_EQ(Run("kx::menustate 35509"), "enabled \"Add Pullup/Pulldown...\"");
    // A read-only window shows the view the editable window made: it stores none of its own.
    ASSERT_TRUE(OpenBoard(2));
    ASSERT_EQ(Run("openMatrixView pin V1"), "1");
    ASSERT_EQ(Run("kx::select ccp 5 1"), "1");
    EXPECT_EQ(Run("kx::menustate 35509"), "enabled \"View Pullup/Pulldown...\"");
    Run("kx::answer dialog CKXPupdEditDlg cancel");
    EXPECT_EQ(Run("kx::menu 35509"), "2"); // the view-only dialog, closed
}

// Reset to Default (the Delete command) on an implicit power pin without a tie of its own changes nothing
// and says so: the row is there, it has nothing to take off.
TEST_F(DemoBoard, ResetToDefaultOfAnUntiedPowerPinSaysThereIsNothingToTakeOff) {
    ASSERT_TRUE(OpenBoard(1, "kx::powerpins on"));
    Run("kx::show clp U1");
    const std::string row = RowShowing("| GND | H3,H4 |");
    ASSERT_FALSE(row.empty()) << Run("kx::window ccp");
    ASSERT_EQ(Run("kx::select ccp " + row + " 7"), "1");
    Messages();
    const DesignMark before = MarkDesign();
    const std::size_t printed = Transcript().size();
    EXPECT_EQ(Run("kx::menu 35264"), "0");
    const std::vector<std::string> shown = Messages();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "KXTABLE-346"), shown.end()) << ::testing::PrintToString(shown);
    // Its progress line claims no deletion either.
    const std::string said = Transcript().substr(printed);
    EXPECT_NE(said.find("progress: Deleting Connections: no connection to delete"), std::string::npos) << said;
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "KXPANE-247"), shown.end());
    ExpectUnchangedSince(before);
    Run("kx::powerpins off");
}

// Swap Pins does its work whether or not a journal is being recorded (a replaying host records none),
// and refuses pins of one part that would all take the one number, and in its dialog a number outside
// the pin's swap group though a pin of the component carries it (PGOOD's part lets it swap with no pin).
TEST_F(DemoBoard, SwapPinsSwapsWithoutAJournalAndGivesOneNumberToOnePinOfAPart) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::select ccp 40 7 41 7"));
    Messages();
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Run("kx::pane SwapPins C9"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-487"});
    // The Swap Pins dialog offers PGOOD's swap group (its part lets it swap with no pin) and takes no
    // other number, though a pin of the component carries it.
    ASSERT_EQ(Run("kx::select ccp 41 7"), "1");
    Run("kx::answer dialog CKXSwappinsDialog ok pin C9");
    EXPECT_EQ(Run("kx::menu 35566"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-489"});
    ExpectUnchangedSince(before);
    Run("kx::journal");
    ASSERT_EQ(Run("kx::word selectObject pin {DQ<3>}"), "1");
    EXPECT_EQ(Run("kx::pane SwapPins A12"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.DQ<3> PN"), "A12");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.DQ<4> PN"), "A13");
    unsetenv("KX_ALLOW_SWAP_PINS");
}
