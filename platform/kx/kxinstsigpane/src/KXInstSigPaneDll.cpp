#include "kxinstsigpane/KXInstSigPaneDll.h"

#include "kxinstsigpane/CommonInterface.h"

// The sort kind starts alphabetic for every editor session.
extern "C" BOOL InitKXInstSigPaneDll() {
    CCommonInterface::nSortType = 0;
    return TRUE;
}
