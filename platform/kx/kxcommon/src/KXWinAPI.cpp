#include "kxcommon/KXWinAPI.h"

#include <cstdlib>
#include <ctime>

namespace {
std::function<void(CString&, CString&)>& DateTimeSource() {
    static std::function<void(CString&, CString&)> fn;
    return fn;
}
std::function<CString()>& UserSource() {
    static std::function<CString()> fn;
    return fn;
}
} // namespace

void CKXWinAPI::GetDateTime(CString& date, CString& time) {
    if (DateTimeSource()) {
        DateTimeSource()(date, time);
        return;
    }
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &local);
    date = buf;
    std::strftime(buf, sizeof buf, "%H:%M:%S", &local);
    time = buf;
}

CString CKXWinAPI::GetUserNameA() {
    if (UserSource()) return UserSource()();
    for (const char* var : {"USER", "LOGNAME"}) {
        const char* v = std::getenv(var);
        if (v && *v) return CString(v);
    }
    return CString("unknown");
}

void CKXWinAPI::SetDateTimeSource(std::function<void(CString&, CString&)> fn) {
    DateTimeSource() = std::move(fn);
}

void CKXWinAPI::SetUserNameSource(std::function<CString()> fn) {
    UserSource() = std::move(fn);
}
