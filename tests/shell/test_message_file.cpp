// Every message id that the editor's sources show must have a text in the editor's
// message file: a missing entry shows the bare id to the user.
#include "kxerrorhandler/KXErrorHandler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {
fs::path SourceDir() {
    const char* dir = std::getenv("KX_TEST_SOURCE_DIR");
    return dir ? fs::path(dir) : fs::path();
}

std::set<std::string> IdsShownBySources(const fs::path& root) {
    // Only our own families: ids of the sibling libraries are in their own files.
    static const std::regex id("\"(KXTABLE|KXPANE|KXPROP)-[0-9]+\"");
    std::set<std::string> ids;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        std::string s = text.str();
        for (std::sregex_iterator it(s.begin(), s.end(), id), end; it != end; ++it) {
            std::string m = it->str();
            ids.insert(m.substr(1, m.size() - 2));
        }
    }
    return ids;
}
} // namespace

TEST(MessageFile, EveryIdTheEditorShowsHasAText) {
    fs::path src = SourceDir();
    if (src.empty()) GTEST_SKIP() << "KX_TEST_SOURCE_DIR is not set";
    CKXErrorHandler::ClearMessages();
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile((src / "kxtableeditor/rmx/tblerrors.txt").string().c_str()))
        << CKXErrorHandler::GetLastLoadError().GetString();
    std::set<std::string> missing;
    for (const auto& id : IdsShownBySources(src / "kxtableeditor"))
        if (!CKXErrorHandler::HasMessage(id.c_str())) missing.insert(id);
    std::string list;
    for (const auto& id : missing) list += id + " ";
    EXPECT_TRUE(missing.empty()) << "no text for: " << list;
}
