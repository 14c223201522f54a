// The changes committed to each design since it was last saved, as the design database's transaction
// texts, oldest first. When the last window of a design closes without saving, the log takes them back
// so that the design is as saved again: a reopen or a later save does not bring dropped edits back.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class CTransaction;
class IDesign;
class IServer;

class CKXDesignChangeLog {
public:
    // Starts logging the commits of the server (once per server; a new server replaces the old one).
    static void Watch(IServer* server);
    // A new session: the server watched so far is gone with the session before, and a new one may sit
    // at its address; what was logged of it goes too, and the next Watch listens again.
    static void Forget();
    // Takes back every change committed to the design since it was last saved, newest first, and
    // announces each; FALSE when one no longer applies (the design is then left as it is).
    static bool RollBack(IDesign* design);
    // How many changes are logged for the design since its last save.
    static size_t PendingCount(const IDesign* design);
    // The objects a committed transaction of that text touched, as its change records named them (a
    // connection by its pin and, as needed, its net; a property by its owner and name). A text never committed here touches
    // kAnyObject.
    static std::set<std::string> TouchedBy(const std::string& transactionText);
    static constexpr const char* kAnyObject = "*";
    // Whether two steps' touched objects meet: an object both changed, or one that a step needs (the
    // net of a connection it made or took away) and the other made, deleted or changed.
    static bool Overlap(const std::set<std::string>& a, const std::set<std::string>& b);

private:
    struct Entry {
        unsigned saveCount = 0;          // the design's save count the texts were logged under
        std::vector<std::string> texts;  // committed transaction texts, oldest first
    };
    static CKXDesignChangeLog& Get();
    void OnCommitted(CTransaction* transaction);
    Entry* Current(const IDesign* design);

    IServer* m_server = nullptr;
    int m_listener = 0;
    std::weak_ptr<bool> m_listening; // lives as long as the listener, which goes with its server
    bool m_rollingBack = false;
    std::map<const IDesign*, Entry> m_entries;
    std::map<std::string, std::set<std::string>> m_touched; // by transaction text
};
