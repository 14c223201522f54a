// Umbrella header of the headless Windows/MFC stand-in.
#pragma once

#include "afx/afxtypes.h"
#include "afx/afxstr.h"
#include "afx/afxobj.h"
#include "afx/afxcoll.h"
#include "afx/afxmsg.h"
#include "afx/afxwin.h"
#include "afx/afxanswer.h"
#include "afx/afxdoc.h"
#include "afx/afxres.h"
#include "afx/afxmenu.h"
#include "afx/afxgdi.h"
#include "afx/afxdlg.h"
#include "afx/afxdisp.h"
#include "afx/afxole.h"
#include "afx/afxreg.h"
