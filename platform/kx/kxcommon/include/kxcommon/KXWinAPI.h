// Date, time and user name, as the editors stamp comments. Injectable, so that tests see fixed values.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <functional>

class CKXWinAPI {
public:
    // Today's date "YYYY-MM-DD" and the time "HH:MM:SS" (local time).
    static void GetDateTime(CString& date, CString& time);
    // The user's login name (USER, else LOGNAME, else "unknown").
    static CString GetUserNameA();
    static CString GetUserName() { return GetUserNameA(); }

    // Tests: fixed answers; an empty function restores the real one.
    static void SetDateTimeSource(std::function<void(CString&, CString&)> fn);
    static void SetUserNameSource(std::function<CString()> fn);
};
