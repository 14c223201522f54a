// What the grids ask of the keyboard (whether Ctrl or Shift is held), and the update flag of a grid
// change that redraws without scrolling the current cell into view.
#pragma once

#include "grid/gxall.h"

namespace kxgrid {

inline bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }

inline bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

inline constexpr UINT kSmart = GX_SMART;

}  // namespace kxgrid
