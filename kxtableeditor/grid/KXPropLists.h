// The property lists of the termination and pull-up words (-k, -i): per designator, the
// items its map value holds, one a line (empty lines dropped).
#pragma once

#include "kxassoccomp/CKXAssocCompAPI.h"

KXPropListMap KXPropListsOf(const CMapStringToString* lists);
