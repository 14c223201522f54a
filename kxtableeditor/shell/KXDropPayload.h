// Moved to grid/KXDropPayload.h, where the grids may include it.
#pragma once
#include "grid/KXDropPayload.h"
