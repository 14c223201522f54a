// A physical grid file that reaches the pin grid.
#include "grid/KXGridWnd.h"
#include "pingrid/KXPinGrid.h"
