// What the fuzz targets share: a scratch folder of the process, file helpers and a check that
// stops the run with a message (libFuzzer keeps the input that stopped it).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace kxfuzz {

// A folder of this process, emptied for each input (in memory where the system offers it).
inline std::filesystem::path Scratch(const char* name) {
    namespace fs = std::filesystem;
    fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path dir = base / ("kxfuzz-" + std::to_string(::getpid())) / name;
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir, ec);
    return dir;
}

inline void Write(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

inline std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string Text(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

[[noreturn]] inline void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "property broken: %s\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace kxfuzz

#define KX_FUZZ_CHECK(cond, detail)                        \
    do {                                                   \
        if (!(cond)) ::kxfuzz::Fail(#cond, (detail));      \
    } while (0)
