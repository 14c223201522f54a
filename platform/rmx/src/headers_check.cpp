// Compiles every public header on its own terms.
#include "rmx/DesignBuilder.h"
#include "rmx/rmx.h"
