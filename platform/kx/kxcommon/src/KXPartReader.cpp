#include "kxcommon/KXPartReader.h"

#include "kxerrorhandler/KXErrorHandler.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string& PartDir() {
    static std::string dir;
    return dir;
}

// A file name part must not climb out of the part directory.
bool IsSafeName(const std::string& s) {
    return !s.empty() && s != "." && s != ".." && s.find('/') == std::string::npos &&
           s.find('\\') == std::string::npos && s.find('\0') == std::string::npos;
}

// Reads "<part>.fgr": (group, pin number) pairs; false when the file is missing.
bool ReadGroups(const std::string& part, std::vector<std::pair<int, std::string>>& out) {
    out.clear();
    if (!IsSafeName(part)) return false;
    std::string dir = CKXPartReader::GetPartDirectory().str();
    if (dir.empty()) return false;
    std::ifstream in(fs::path(dir) / (part + ".fgr"));
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t a = line.find_first_not_of(" \t");
        if (a == std::string::npos || line[a] == '#') continue;
        size_t comma = line.find(',');
        if (comma == std::string::npos) continue; // not a group line
        char* end = nullptr;
        std::string g = line.substr(0, comma);
        long group = std::strtol(g.c_str(), &end, 10);
        if (end == g.c_str() || group < 1 || group > 100000) continue;
        std::string pin = line.substr(comma + 1);
        size_t b = pin.find_first_not_of(" \t");
        size_t e = pin.find_last_not_of(" \t");
        if (b == std::string::npos) continue;
        out.emplace_back(static_cast<int>(group), pin.substr(b, e - b + 1));
    }
    return true;
}

} // namespace

void CKXPartReader::SetPartDirectory(const char* dir) {
    PartDir() = dir ? dir : "";
}

CString CKXPartReader::GetPartDirectory() {
    if (!PartDir().empty()) return CString(PartDir());
    const char* env = std::getenv("KX_PART_DIR");
    if (env && *env) return CString(env);
    CString data = CKXErrorHandler::GetDataDirectory();
    if (data.IsEmpty()) return CString();
    return CString((fs::path(data.str()) / "parts").string());
}

BOOL CKXPartReader::IsPartStandardFPGA(const CString& lib, const CString& cell, CString& csvPath) {
    csvPath.Empty();
    if (!IsSafeName(lib.str()) || !IsSafeName(cell.str())) return FALSE;
    CString dir = GetPartDirectory();
    if (dir.IsEmpty()) return FALSE;
    fs::path p = fs::path(dir.str()) / lib.str() / (cell.str() + ".csv");
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return FALSE;
    csvPath = CString(p.string());
    return TRUE;
}

int CKXPartReader::GetFunctionGroupCount(const CString& partName) {
    std::vector<std::pair<int, std::string>> groups;
    if (!ReadGroups(partName.str(), groups)) return 0;
    std::set<int> distinct;
    for (const auto& g : groups)
        distinct.insert(g.first);
    return static_cast<int>(distinct.size());
}

int CKXPartReader::GetPinsForFunctionGroup(const CString& first, const CString& second, int group, int flag,
                                           CMapStringToString& map) {
    if (flag) map.RemoveAll();
    std::vector<std::pair<int, std::string>> groups;
    bool found = !second.IsEmpty() && ReadGroups(first.str() + "_" + second.str(), groups);
    if (!found && !ReadGroups(first.str(), groups)) return 0;
    int added = 0;
    for (const auto& [g, pin] : groups) {
        if (group > 0 && g != group) continue;
        map.SetAt(pin.c_str(), pin.c_str());
        ++added;
    }
    return added;
}
