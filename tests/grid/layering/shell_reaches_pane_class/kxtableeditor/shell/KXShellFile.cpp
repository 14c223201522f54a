// A shell file that reaches the pane class.
#include "pane/KXConnectivityPane.h"
#include "pane/KXBottomPaneContainerView.h"
