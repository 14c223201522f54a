#include <filesystem>
int Count(const char* dir) {
    std::error_code ec;
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) n += entry.path().empty() ? 0 : 1;
    return n;
}
