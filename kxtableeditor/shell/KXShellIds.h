// Command ids of the host's menus that the design window handles.
#pragma once

#include "afx/afxtypes.h"

constexpr UINT ID_KX_ASCEND = 35109;
constexpr UINT ID_KX_DESIGN_REQUEST = 35534;
constexpr UINT ID_KX_CREATE_BLOCK = 35510;
constexpr UINT ID_KX_SWITCH_VIEW = 35563;
constexpr UINT ID_KX_FILTER_BLOCK = 35571;
constexpr UINT ID_KX_COMMENT_ADD = 35614;
constexpr UINT ID_KX_COMMENT_DELETE = 35615;
constexpr UINT ID_KX_COMMENT_EDIT = 35616;
constexpr UINT ID_KX_MATRIX_CREATE = 35676;
constexpr UINT ID_KX_MATRIX_SAVEAS = 35677;
constexpr UINT ID_KX_MATRIX_REMOVE = 35678;
constexpr UINT ID_KX_MATRIX_OPEN_FIRST = 35679;
constexpr UINT ID_KX_MATRIX_OPEN_LAST = 35704;
constexpr UINT ID_KX_MATRIX_EDIT = 35706;
constexpr UINT ID_KX_SAVE_REOPEN = 35624;
constexpr UINT ID_KX_EXPORT_INTERFACE = 35709;
constexpr UINT ID_KX_IMPORT_INTERFACE = 35710;
