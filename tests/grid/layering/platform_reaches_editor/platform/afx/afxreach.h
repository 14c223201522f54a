// A platform header that reaches the editor.
#include "pingrid/KXPinGrid.h"
