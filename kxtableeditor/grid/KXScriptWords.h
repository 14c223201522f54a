// The script words of the editor, spelled once: the command tables of the design
// window and the connectivity pane dispatch them, and the grids, the pane and the
// frame use the same constants when they echo a word to the host or ask the host
// to run one. A word misspelt here fails to dispatch everywhere at once instead of
// leaving one echo that no table knows.
#pragma once

namespace KXScriptWord {

// The design window's words.
inline constexpr char ascend[] = "ascend";
inline constexpr char physicalView[] = "physicalView";
inline constexpr char logicalView[] = "logicalView";
inline constexpr char selectWindow[] = "selectWindow";
inline constexpr char saveDesign[] = "saveDesign";
inline constexpr char saveDesignAs[] = "saveDesignAs";
inline constexpr char undo[] = "undo";
inline constexpr char redo[] = "redo";
inline constexpr char filterBlock[] = "filterBlock";
inline constexpr char designComment[] = "designComment";
inline constexpr char exportInterface[] = "exportInterface";
inline constexpr char importInterface[] = "importInterface";
inline constexpr char closeDesign[] = "closeDesign";

// The connectivity pane's words.
inline constexpr char addConnection[] = "addConnection";
inline constexpr char addPupd[] = "addPupd";
inline constexpr char addTermination[] = "addTermination";
inline constexpr char assignPinNumber[] = "assignPinNumber";
inline constexpr char assignModel[] = "assignModel";
inline constexpr char changeCustomColumn[] = "changeCustomColumn";
inline constexpr char copy[] = "copy";
inline constexpr char deleteConnection[] = "deleteConnection";
inline constexpr char deletePupd[] = "deletePupd";
inline constexpr char deleteTermination[] = "deleteTermination";
inline constexpr char editTermination[] = "editTermination";
inline constexpr char selectObject[] = "selectObject";
inline constexpr char addComment[] = "addComment";
inline constexpr char modifyComment[] = "modifyComment";
inline constexpr char deleteComment[] = "deleteComment";
inline constexpr char editPupd[] = "editPupd";
inline constexpr char paste[] = "paste";
inline constexpr char removeModel[] = "removeModel";
inline constexpr char renameConnection[] = "renameConnection";
inline constexpr char removeDiffPairPin[] = "removeDiffPairPin";
inline constexpr char setViewOption[] = "setViewOption";
inline constexpr char expandPins[] = "expandPins";
inline constexpr char filterRows[] = "filterRows";
inline constexpr char trackInSignalList[] = "trackInSignalList";
inline constexpr char editPhysicalPin[] = "editPhysicalPin";
inline constexpr char editLogicalPin[] = "editLogicalPin";
inline constexpr char sort[] = "sort";
inline constexpr char dumpGrid[] = "dumpGrid";
inline constexpr char swapSignal[] = "swapSignal";
inline constexpr char openMatrixView[] = "openMatrixView";
inline constexpr char matrixConnect[] = "matrixConnect";
inline constexpr char matrixAdd[] = "matrixAdd";

// The host's own word that the design window reports to it when a window comes to the
// front; the editor never handles it.
inline constexpr char switchTab[] = "switchTab";

} // namespace KXScriptWord
