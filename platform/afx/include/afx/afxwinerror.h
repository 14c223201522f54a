// Error codes of window creation beyond the ones every window user needs (afxwin.h).
#pragma once

// A registered class gave no window: it has no window procedure, or the procedure refused the creation.
#define ERROR_CANNOT_CREATE_WINDOW 1412L
