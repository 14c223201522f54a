// Per-process temporary paths: CTest runs many test processes at once, so a fixed
// name in the temporary folder would be shared, and removed, by several of them.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

inline std::filesystem::path KXUniqueTempPath(const std::string& name) {
    std::filesystem::path p(name);
    std::string unique = p.stem().string() + "_" + std::to_string(::getpid()) + p.extension().string();
    return std::filesystem::temp_directory_path() / unique;
}
