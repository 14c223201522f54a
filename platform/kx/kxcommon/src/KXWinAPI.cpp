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
    // SOURCE_DATE_EPOCH (seconds since 1970, UTC) fixes the time stamps, so that a replayed journal
    // writes the same comment files as the run that recorded it.
    std::tm local{};
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    char* end = nullptr;
    const long long fixed = epoch && *epoch ? std::strtoll(epoch, &end, 10) : -1;
    if (fixed >= 0 && end && *end == '\0') {
        const std::time_t t = static_cast<std::time_t>(fixed);
        gmtime_r(&t, &local);
    } else {
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &local);
    }
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
