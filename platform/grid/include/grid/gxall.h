// The grid library: everything in one include.
#pragma once

#include "grid/gxcommand.h"
#include "grid/gxcontrol.h"
#include "grid/gxcore.h"
#include "grid/gxdata.h"
#include "grid/gxparam.h"
#include "grid/gxrange.h"
#include "grid/gxrecordinfo.h"
#include "grid/gxstyle.h"
#include "grid/gxstylesmap.h"
#include "grid/gxtypes.h"
#include "grid/gxwnd.h"
