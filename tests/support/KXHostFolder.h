// The ground of a test that runs kxhost as its own process: a folder of the test's own holding a fresh
// copy of the example library ("demo") and an empty registry ("registry"), and the files the host
// writes read back.
#pragma once

#include "KXExampleLibrary.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace kxhosttest {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class HostFolder : public testing::Test {
protected:
    // `prefix` names the folder (with the process id), so that suites run side by side apart.
    explicit HostFolder(std::string prefix) : m_prefix(std::move(prefix)) {}

    void SetUp() override {
        namespace fs = std::filesystem;
        m_dir = fs::path(testing::TempDir()) / (m_prefix + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "registry");
        KXCopyExampleLibrary(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir;

private:
    std::string m_prefix;
};

}  // namespace kxhosttest
