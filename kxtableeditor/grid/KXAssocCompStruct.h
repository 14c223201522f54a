// The records a grid publishes to the associated-component viewer (shared with the host, which shows them).
#pragma once

#include "kxcommon/KXAssocCompStruct.h"
