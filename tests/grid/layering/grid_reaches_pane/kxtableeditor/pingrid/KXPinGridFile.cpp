// A pin grid file that reaches the pane.
#include "grid/KXGridSite.h"
#include "pane/KXBottomPaneContainerView.h"
