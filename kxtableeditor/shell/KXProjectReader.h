// Moved to grid/KXProjectReader.h, where the grids may include it.
#pragma once
#include "grid/KXProjectReader.h"
