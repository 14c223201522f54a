// Moved to grid/KXGlobalMessages.h, where the grids may include it.
#pragma once
#include "grid/KXGlobalMessages.h"
