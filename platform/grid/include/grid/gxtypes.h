// Basic types, enumerations and constants of the grid library.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <cstdint>

// Row and column indexes. Row 0 is the column-header row, column 0 the row-header column.
using ROWCOL = DWORD;

// "No row / no column": also what callers pass as -1.
inline constexpr ROWCOL GX_INVALID = 0xFFFFFFFFu;
inline constexpr ROWCOL GX_MAXROWCOL = 0xFFFFFFFEu;
// Upper bound for row and column counts; larger requests are refused rather than exhausting memory.
inline constexpr ROWCOL GX_MAXCOUNT = 0x01000000u;

// How a style is merged into another one.
enum GXModifyType {
    gxOverride = 0, // attributes of the source replace those of the target
    gxApplyNew = 1, // only attributes the target does not have yet are taken
    gxCopy = 2,     // the target becomes a copy of the source
    gxExclude = 3,  // attributes present in the source are removed from the target
    gxRemove = 4    // the stored style is removed altogether
};

// Why a command runs.
enum GXCmdType { gxDo = 0, gxUndo = 1, gxRedo = 2, gxRollback = 3 };

// Range kinds.
enum GXRangeType { rtCells = 0, rtRows = 1, rtCols = 2, rtTable = 3 };

// Update flags. The grid draws nothing; the flags are kept for call compatibility and counted as repaints.
#define GX_UPDATENOW 0x00u
#define GX_INVALIDATE 0x01u
#define GX_SMART 0x02u
#define GX_NOREDRAW 0x04u
#define GX_SCROLLINVIEW 0x08u

// Current-cell movement directions (MoveCurrentCell and the Enter-key action).
#define GX_UP 1
#define GX_LEFT 2
#define GX_DOWN 3
#define GX_RIGHT 4
#define GX_PGUP 6
#define GX_PGDOWN 5
#define GX_TOP 7
#define GX_BOTTOM 8
#define GX_MOSTLEFT 9
#define GX_MOSTRIGHT 10
#define GX_TOPLEFT 11
#define GX_BOTTOMRIGHT 12

// Selection flags for CGXGridParam::EnableSelection.
#define GX_SELNONE 0x00u
#define GX_SELROW 0x01u
#define GX_SELCOL 0x02u
#define GX_SELTABLE 0x04u
#define GX_SELCELL 0x08u
#define GX_SELMULTIPLE 0x10u
#define GX_SELSHIFT 0x20u
#define GX_SELKEYBOARD 0x40u
#define GX_SELFULL 0x80u
#define GX_SELALL 0xFFu

// Hit-test results.
#define GX_NOHIT 0
#define GX_HORZLINE 1
#define GX_VERTLINE 2
#define GX_CELLHIT 3
#define GX_HEADERHIT 4

// Column/row tracking modes.
#define GX_TRACKHEIGHT 1
#define GX_TRACKWIDTH 2

// Cell control ids of the library's own controls.
#define GX_IDS_CTRL_EDIT 52512
#define GX_IDS_CTRL_STATIC 52513
#define GX_IDS_CTRL_COMBOBOX 52514
#define GX_IDS_CTRL_PUSHBTN 52515
#define GX_IDS_CTRL_CHECKBOX 52516
#define GX_IDS_CTRL_BITMAPBTN 52517
#define GX_IDS_CTRL_LISTBOX 52518
#define GX_IDS_CTRL_HEADER 52520
#define GX_IDS_CTRL_TEXTFIT 52527
#define GX_IDS_CTRL_WNDWRAPPER 52530

// Library user attributes.
#define GX_IDS_UA_TOOLTIPTEXT 51022
#define GX_IDS_UA_ELLIPSISTYPE 52792

// Ellipsis kinds of CGXEllipseUserAttribute.
enum GXEllipseType { gxNoEllipse = 0, gxDotEllipse = 1, gxPoundEllipse = 2 };

// Borders of a style.
enum GXBorderType { gxBorderTop = 0, gxBorderLeft = 1, gxBorderBottom = 2, gxBorderRight = 3, gxBorderAll = 4 };

// 3-D frames of a cell.
enum GXDraw3dFrameType { gxFrameNormal = 0, gxFrameInset = 1, gxFrameRaised = 2 };

// Text alignment (the same values the drawing routines use).
#ifndef DT_LEFT
#define DT_LEFT 0x0000u
#define DT_CENTER 0x0001u
#define DT_RIGHT 0x0002u
#define DT_TOP 0x0000u
#define DT_VCENTER 0x0004u
#define DT_BOTTOM 0x0008u
#endif

// Pen styles.
#ifndef PS_SOLID
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#endif

// Brush hatch styles (a solid brush has no hatch).
#ifndef BS_SOLID
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HATCHED 2
#endif
#ifndef HS_HORIZONTAL
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5
#endif

// Merge-cell modes of a style.
#define GX_MERGE_DISABLED 0
#define GX_MERGE_HORIZONTAL 1
#define GX_MERGE_VERTICAL 2
#define GX_MERGE_COMPVALUE 4
