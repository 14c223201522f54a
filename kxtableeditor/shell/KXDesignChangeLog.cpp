#include "shell/KXDesignChangeLog.h"

#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/server.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

CKXDesignChangeLog& CKXDesignChangeLog::Get() {
    static CKXDesignChangeLog log;
    return log;
}

void CKXDesignChangeLog::Watch(IServer* server) {
    CKXDesignChangeLog& log = Get();
    // The listener goes with the server it was given to: a server made since where that one was (a
    // second host of the process) is another, and is listened to as well.
    if (!server || (log.m_server == server && !log.m_listening.expired())) return;
    // Designs of a former server are gone with it.
    log.m_entries.clear();
    log.m_touched.clear();
    log.m_server = server;
    auto listening = std::make_shared<bool>(true);
    log.m_listening = listening;
    log.m_listener = server->addCommitListener([listening](CTransaction* t) { Get().OnCommitted(t); });
}

void CKXDesignChangeLog::Forget() {
    CKXDesignChangeLog& log = Get();
    log.m_server = nullptr;
    log.m_listener = 0;
    log.m_listening.reset();
    log.m_entries.clear();
    log.m_touched.clear();
}

CKXDesignChangeLog::Entry* CKXDesignChangeLog::Current(const IDesign* design) {
    auto it = m_entries.find(design);
    if (it == m_entries.end()) return nullptr;
    // Logged before the design's last save: the saved file holds those changes.
    if (it->second.saveCount != design->saveCount()) {
        m_entries.erase(it);
        return nullptr;
    }
    return &it->second;
}

namespace {
std::string ObjectKey(const IDesign* design, const ISchemaObject* object) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(design)) + ":" + object->objectType() + ":" +
           std::to_string(object->id());
}

// The key of an object whose existence a change does not touch but needs: a connection needs its net.
constexpr const char* kUseMark = "~";

// What one change record touched: the object, a connection's pin (and the net it needs), a property's
// owner and name.
void AddTouchedKeys(const IChange& change, std::set<std::string>& touched) {
    const ISchemaObject* object = change.object();
    if (!object) {
        touched.insert(CKXDesignChangeLog::kAnyObject);
        return;
    }
    const IDesign* design = change.design();
    switch (change.objectType()) {
    case rmx::ObjType::Conn: {
        const auto* conn = static_cast<const CConn*>(object);
        if (const INet* net = conn->net()) touched.insert(ObjectKey(design, net) + kUseMark);
        if (const IInstTerm* pin = conn->instTerm()) {
            touched.insert(ObjectKey(design, pin));
            return;
        }
        break;
    }
    case rmx::ObjType::Property: {
        const auto* property = static_cast<const CPropertyChange*>(object);
        const std::string owner = property->owner() ? ObjectKey(design, property->owner())
                                                    : std::string(property->ownerCanonicalPath());
        touched.insert(owner + "[" + std::to_string(property->ownerBit()) + "]." + property->name());
        return;
    }
    default:
        break;
    }
    touched.insert(ObjectKey(design, object));
}
} // namespace

void CKXDesignChangeLog::OnCommitted(CTransaction* transaction) {
    if (transaction) {
        std::set<std::string> touched;
        for (auto it = transaction->beginChange(); !it.atEnd(); ++it)
            if (const IChange* change = *it) AddTouchedKeys(*change, touched);
        // The same text touches the same objects (by their names) whenever it is committed.
        m_touched[transaction->toString().GetString()] = std::move(touched);
    }
    const IDesign* design = transaction ? transaction->design() : nullptr;
    if (m_rollingBack || !design) return;
    Entry* entry = Current(design);
    if (!entry) {
        entry = &m_entries[design];
        entry->saveCount = design->saveCount();
    }
    entry->texts.emplace_back(transaction->toString().GetString());
}

std::set<std::string> CKXDesignChangeLog::TouchedBy(const std::string& transactionText) {
    const CKXDesignChangeLog& log = Get();
    auto it = log.m_touched.find(transactionText);
    if (it == log.m_touched.end()) return {kAnyObject};
    return it->second;
}

size_t CKXDesignChangeLog::PendingCount(const IDesign* design) {
    const Entry* entry = design ? Get().Current(design) : nullptr;
    return entry ? entry->texts.size() : 0;
}

bool CKXDesignChangeLog::RollBack(IDesign* design) {
    CKXDesignChangeLog& log = Get();
    Entry* entry = design ? log.Current(design) : nullptr;
    if (!entry || !log.m_server) return true;
    const std::vector<std::string> texts = std::move(entry->texts);
    log.m_entries.erase(design);
    log.m_rollingBack = true;
    bool ok = true;
    for (auto it = texts.rbegin(); ok && it != texts.rend(); ++it) {
        CTransaction back(log.m_server, it->c_str(), true, false);
        ok = back.isValid() && back.commit();
        if (!ok) break;
        // The windows that show what changed follow, as after any commit.
        if (IKXMessageServer* ms = GetKXMsgSrvr())
            ms->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&back));
    }
    log.m_rollingBack = false;
    return ok;
}

bool CKXDesignChangeLog::Overlap(const std::set<std::string>& a, const std::set<std::string>& b) {
    if (a.empty() || b.empty()) return false;
    if (a.count(kAnyObject) || b.count(kAnyObject)) return true;
    const std::string_view mark = kUseMark;
    // Two uses of one object leave each other alone; a use and a change of that object do not.
    const auto meets = [&mark](const std::string& key, const std::set<std::string>& other) {
        if (other.count(key)) return true;
        if (key.ends_with(mark)) return other.count(key.substr(0, key.size() - mark.size())) != 0;
        return other.count(key + kUseMark) != 0;
    };
    return std::any_of(a.begin(), a.end(), [&](const std::string& key) { return meets(key, b); });
}
