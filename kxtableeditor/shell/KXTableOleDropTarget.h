// Moved to grid/KXTableOleDropTarget.h, where the grids may include it.
#pragma once
#include "grid/KXTableOleDropTarget.h"
