#include "shell/KXDesignChangeLog.h"

#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/server.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <cstdint>

CKXDesignChangeLog& CKXDesignChangeLog::Get() {
    static CKXDesignChangeLog log;
    return log;
}

void CKXDesignChangeLog::Watch(IServer* server) {
    CKXDesignChangeLog& log = Get();
    if (!server || log.m_server == server) return;
    // Designs of a former server are gone with it.
    log.m_entries.clear();
    log.m_server = server;
    log.m_listener = server->addCommitListener([](CTransaction* t) { Get().OnCommitted(t); });
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

// What one change record touched: the object, a connection's pin, a property's owner and name.
std::string TouchedKey(const IChange& change) {
    const ISchemaObject* object = change.object();
    if (!object) return CKXDesignChangeLog::kAnyObject;
    const IDesign* design = change.design();
    switch (change.objectType()) {
    case rmx::ObjType::Conn:
        if (const IInstTerm* pin = static_cast<const CConn*>(object)->instTerm()) return ObjectKey(design, pin);
        break;
    case rmx::ObjType::Property: {
        const auto* property = static_cast<const CPropertyChange*>(object);
        const std::string owner = property->owner() ? ObjectKey(design, property->owner())
                                                    : std::string(property->ownerCanonicalPath());
        return owner + "[" + std::to_string(property->ownerBit()) + "]." + property->name();
    }
    default:
        break;
    }
    return ObjectKey(design, object);
}
} // namespace

void CKXDesignChangeLog::OnCommitted(CTransaction* transaction) {
    if (transaction) {
        std::set<std::string> touched;
        for (auto it = transaction->beginChange(); !it.atEnd(); ++it)
            if (const IChange* change = *it) touched.insert(TouchedKey(*change));
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
