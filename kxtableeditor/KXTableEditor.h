// The library's entry points, as the host finds them by name.
//
// On the original platform the initialisation export carries the decorated
// standard-call name "_InitKXTableEditorDLL@0"; that decoration is an artefact
// of the calling convention there, so here it is exported under its plain name.
#pragma once

#include "afx/afxtypes.h"

#include <string>
#include <vector>

class CDocTemplate;

extern "C" {
BOOL InitKXTableEditorDLL();
CDocTemplate* DllGetDocTemplate();
BOOL DllAddToolBars();
// The platform entry: 1 process attach, 0 process detach, 2/3 thread attach/detach.
BOOL KXTableEditorDllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);
// Runs a user's step (a key pressed, a command chosen) and answers as a menu command run by its id
// does: 1 when it did its work, 0 when a handler refused or found nothing to do (its message shown),
// 2 for a dialog the user cancelled.
long KXRunAnsweredStep(void (*step)(void*), void* context);
}

// Resource ids of the library.
constexpr UINT IDR_KXTABLETYPE = 127;
constexpr UINT IDS_SIGNAL_BROWSER_DROP_DATA = 59401;
constexpr UINT IDS_SIGNAL_VIEW_DROP_DATA = 59412;
constexpr UINT IDS_COMPONENT_BROWSER_DROP_DATA = 59421;
constexpr UINT IDS_PHYSICAL_PART_FILTER_DROP_DATA = 59422;
constexpr UINT IDS_INSTANCE_VIEW_DROP_DATA = 59423;

// The clipboard format registered for the name in a string resource; 0 when it fails.
UINT RegisterFormatFromString(UINT nStringId);

// A new session of the library (its initialisation calls it): what the grids hold class-wide is
// forgotten: the pin grids' columns (the next grid sets them up from the customisation as it stands
// then) and the answers of a connect run.
void KXTableEditorNewSession();

// What the initialisation did, step by step (for checks of its order).
const std::vector<std::string>& KXTableEditorInitSteps();
void KXTableEditorClearInitSteps();
