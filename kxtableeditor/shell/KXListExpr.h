// Moved to grid/KXListExpr.h, where the grids may include it.
#pragma once
#include "grid/KXListExpr.h"
