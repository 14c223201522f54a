#include "grid/gxall.h"
#include <gtest/gtest.h>
