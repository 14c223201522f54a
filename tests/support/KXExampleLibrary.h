// The example library a test starts from: a fresh copy of examples/designs in a folder of the test.
#pragma once

#include <cstdlib>
#include <filesystem>

// Copies the example library into `dir` as its folder "demo"; that folder.
inline std::filesystem::path KXCopyExampleLibrary(const std::filesystem::path& dir) {
    const char* src = std::getenv("KX_TEST_SOURCE_DIR");
    const std::filesystem::path demo = dir / "demo";
    std::filesystem::copy(std::filesystem::path(src ? src : ".") / "examples" / "designs", demo,
                          std::filesystem::copy_options::recursive);
    return demo;
}
