#include <filesystem>
namespace files = std::filesystem;
bool Regular(const files::directory_entry& entry) { return entry.is_regular_file(); }
