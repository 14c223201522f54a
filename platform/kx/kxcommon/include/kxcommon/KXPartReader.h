// Part definitions kept beside the design libraries: whether a part is a standard FPGA with a pin file,
// and the function groups of a part.
//
// Files under the part directory (SetPartDirectory, else the environment variable KX_PART_DIR, else
// "<data directory>/parts" of the error handler's data directory):
//   <lib>/<cell>.csv  a standard FPGA's pin file (read with the base library's KXCsvParser).
//   <part>.fgr        function groups of a part: lines "group,pin number" with group 1, 2, ...
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"

class CKXPartReader {
public:
    // TRUE when lib/cell has a pin file; csvPath receives its path (empty otherwise).
    BOOL IsPartStandardFPGA(const CString& lib, const CString& cell, CString& csvPath);
    // The number of function groups of a part (0 when it has none or is unknown).
    int GetFunctionGroupCount(const CString& partName);
    // Fills map with the pin numbers (key and value) of one function group of a part; group 0 or a
    // negative group means all groups. The two names are tried as "<first>_<second>" and then "<first>".
    // flag: nonzero empties the map first. Returns the number of pins added.
    int GetPinsForFunctionGroup(const CString& first, const CString& second, int group, int flag,
                                CMapStringToString& map);

    static void SetPartDirectory(const char* dir);
    static CString GetPartDirectory();
};
