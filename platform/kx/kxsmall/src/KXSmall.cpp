// The small services: sibling initialisation, variant manager, install root and the constraint dictionary.
#include "kxsmall/CPQRedsDictionary.h"
#include "kxsmall/KXSmallExport.h"
#include "kxsmall/RMXVariantManager.h"
#include "kxsmall/zrvCommon.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <set>
#include <string>

namespace {

std::set<std::string>& initialised() {
    static std::set<std::string> s;
    return s;
}

char* dupText(const std::string& s) {
    char* out = static_cast<char*>(std::malloc(s.size() + 1));
    if (out) std::memcpy(out, s.c_str(), s.size() + 1);
    return out;
}

const char* const kConstraints[] = {"MAX_DELAY",     "MIN_DELAY",      "MAX_LENGTH",  "MIN_LENGTH",
                                    "IMPEDANCE",     "DIFF_IMPEDANCE", "MATCH_GROUP", "PROPAGATION_DELAY",
                                    "MAX_OVERSHOOT", "STUB_LENGTH"};

} // namespace

// In the design-services unit, which knows the server.
bool KXServerIsConstraint(IServer* server, const CString& name);

extern "C" BOOL InitKXAddBlockDLL() {
    initialised().insert("kxaddblock");
    return TRUE;
}

extern "C" BOOL InitKXModelAssignDLL() {
    initialised().insert("kxmodelassign");
    return TRUE;
}

extern "C" BOOL KXSmallIsInitialised(const char* library) {
    return library && initialised().count(library) ? TRUE : FALSE;
}

extern "C" int RMXVMGetSubToolID() {
    const char* v = std::getenv("RMX_SUBTOOL_ID");
    if (!v || !*v) return 0;
    errno = 0;
    char* end = nullptr;
    long id = std::strtol(v, &end, 10);
    if (errno != 0 || *end != '\0' || id < 0 || id > INT_MAX) return 0;
    return static_cast<int>(id);
}

extern "C" char* zrvGetInstallRoot() {
    if (const char* v = std::getenv("ZRV_INSTALL_ROOT"); v && *v) return dupText(v);
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&zrvGetInstallRoot), &info) && info.dli_fname) {
        std::error_code ec;
        std::filesystem::path lib = std::filesystem::absolute(info.dli_fname, ec);
        if (!ec && lib.has_parent_path() && lib.parent_path().has_parent_path())
            return dupText(lib.parent_path().parent_path().string());
    }
    return nullptr;
}

extern "C" void zrvFree(char* text) {
    std::free(text);
}

// ---- constraint dictionary ----

CPQRedsDictionary* CPQRedsDictionary::GetDictionary() {
    static CPQRedsDictionary dictionary;
    return &dictionary;
}

bool CPQRedsDictionary::IsConstraint(const CString& name, bool caseSensitive) const {
    if (name.IsEmpty()) return false;
    auto same = [&](const char* other) {
        return caseSensitive ? name.Compare(other) == 0 : name.CompareNoCase(other) == 0;
    };
    for (const char* c : kConstraints)
        if (same(c)) return true;
    for (const auto& c : m_user)
        if (same(c)) return true;
    return m_pServer && KXServerIsConstraint(m_pServer, name);
}

void CPQRedsDictionary::AddConstraint(const CString& name) {
    if (!name.IsEmpty() && !IsConstraint(name, true)) m_user.push_back(name);
}

void CPQRedsDictionary::Reset() {
    m_user.clear();
    m_pServer = nullptr;
}
