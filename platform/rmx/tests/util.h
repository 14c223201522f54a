#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "rmx/server.h"

// A fresh temporary folder, removed with the object.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        char tmpl[] = "/tmp/rmxtestXXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string str(const std::string& sub = "") const { return sub.empty() ? path.string() : (path / sub).string(); }
};

inline std::string readFile(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void writeFile(const std::string& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

// The design's file text as saving would write it.
inline std::string snapshot(IServer& s, IDesign* d) {
    TempDir t;
    CString err;
    if (!s.saveDesignAs(d, t.str().c_str(), d->libName(), d->cellName(), d->viewName(), &err)) return "ERROR " + err.str();
    return readFile(t.str(std::string(d->cellName()) + "." + d->viewName() + ".design"));
}
