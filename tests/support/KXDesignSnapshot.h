// The saved text of a design, to compare two states of a design byte for byte.
#pragma once

#include "KXTempPath.h"

#include "rmx/server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string KXDesignSnapshot(IServer& server, IDesign* design, const std::string& tag = "snap") {
    namespace fs = std::filesystem;
    const fs::path dir = KXUniqueTempPath("kxsnap_" + tag);
    fs::remove_all(dir);
    fs::create_directories(dir);
    CString error;
    EXPECT_TRUE(server.saveDesignAs(design, dir.string().c_str(), "snap", "top", "sch", &error))
        << error.GetString();
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::string all;
    for (const auto& f : files) {
        std::ifstream in(f, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        all += f.filename().string() + "\n" + ss.str();
    }
    fs::remove_all(dir);
    return all;
}
