#include "kxcontrols/KXTclCmdManager.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct CommandTable {
    std::vector<std::unique_ptr<std::string>> words; // index = number - first
    std::unordered_map<std::string, UINT> numbers;
};

CommandTable& Table() {
    static CommandTable table;
    return table;
}

} // namespace

UINT CKXTclCmdManager::RegisterTCLCommand(LPCTSTR word) {
    if (!word || !*word) return 0;
    CommandTable& t = Table();
    auto it = t.numbers.find(word);
    if (it != t.numbers.end()) return it->second;
    constexpr size_t capacity = MSG_TCL_COMMAND_LAST - MSG_TCL_COMMAND_FIRST + 1;
    if (t.words.size() >= capacity) return 0;
    UINT number = MSG_TCL_COMMAND_FIRST + static_cast<UINT>(t.words.size());
    t.words.push_back(std::make_unique<std::string>(word));
    t.numbers.emplace(*t.words.back(), number);
    return number;
}

UINT CKXTclCmdManager::GetTCLCommandId(LPCTSTR word) {
    if (!word || !*word) return 0;
    CommandTable& t = Table();
    auto it = t.numbers.find(word);
    return it == t.numbers.end() ? 0 : it->second;
}

LPCTSTR CKXTclCmdManager::GetTCLCommandName(UINT number) {
    if (!IsTCLCommandMessage(number)) return nullptr;
    CommandTable& t = Table();
    size_t index = number - MSG_TCL_COMMAND_FIRST;
    if (index >= t.words.size()) return nullptr;
    return t.words[index]->c_str();
}

int CKXTclCmdManager::GetTCLCommandCount() { return static_cast<int>(Table().words.size()); }

void CKXTclCmdManager::ResetTCLCommands() {
    CommandTable& t = Table();
    t.numbers.clear();
    t.words.clear();
}
