#include <filesystem>
void Move(const std::string& from, const std::string& to) {
    std::filesystem::rename(from,
                            to + std::string("(") );
}
