#include <filesystem>
namespace fs = std::filesystem;
bool Known(const fs::path& p) {
    std::error_code ec;
    // fs::exists(p) in a comment is no call.
    return fs::is_directory(p, ec) || fs::exists(p / "x");
}
