#include "Designators.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <set>

namespace kxassoc {

namespace {

std::string prop(const ISchemaObject* object, const std::string& name) {
    std::unique_ptr<CPQPropertyData> p(object->findProperty(name.c_str()));
    return p && p->value() ? std::string(p->value()) : std::string();
}

std::uint64_t generationOf(const IDesign* design) {
    return design && design->server() ? design->server()->designatorGeneration() : 0;
}

Designators::Hold g_hold = nullptr;

} // namespace

std::vector<std::string> slotDesignators(const IDTInstance* dt) {
    std::vector<std::string> refs;
    const int count = std::clamp(std::atoi(prop(dt, "SLOT_COUNT").c_str()), 0, 64);
    for (int i = 0; i < count; ++i)
        if (std::string ref = prop(dt, "SLOT" + std::to_string(i) + ".REFDES"); !ref.empty())
            refs.push_back(std::move(ref));
    return refs;
}

void Designators::setHold(Hold hold) {
    g_hold = hold;
}

Designators& Designators::of(IDesign* design) {
    static Designators set;
    const std::uint64_t now = generationOf(design);
    if (set.m_design != design || set.m_generation != now || !now) {
        set.read(design);
        set.m_generation = now;
    }
    if (g_hold) {
        const Held& held = g_hold();
        if (!set.m_heldRead || set.m_heldGeneration != held.generation) set.readHeld(held);
    } else if (set.m_heldRead) {
        set.readHeld(Held{});
    }
    return set;
}

template <class Take>
void Designators::collect(IDesign* design, std::vector<std::string>& names, std::set<std::string>& seen,
                          Take take) {
    if (!design || !seen.insert(design->name()).second) return;
    std::vector<IDesign*> designs{design};
    for (size_t k = 0; k < designs.size(); ++k) {
        names.emplace_back(designs[k]->name());
        for (IDTInstance* dt : designs[k]->beginDTInstance())
            if (dt && dt->isAlive())
                for (const std::string& ref : slotDesignators(dt))
                    take(ref, true);
        for (IInstance* inst : designs[k]->beginInstance()) {
            if (!inst || !inst->isAlive()) continue;
            if (IDesign* inner = inst->containedDesign()) {
                if (seen.insert(inner->name()).second) designs.push_back(inner);
            } else if (std::string location = prop(inst, "LOCATION"); !location.empty()) {
                take(location, false);
            }
        }
    }
}

void Designators::read(IDesign* design) {
    m_design = design;
    m_used.clear();
    m_associated.clear();
    m_next.clear();
    m_nextName.clear(); // a component may have gone some other way (undo, redo, a refused edit)
    m_designNames.clear();
    // What an undo can bring back is read again for the design (none when no hold is set).
    m_held.clear();
    m_heldComponents.clear();
    m_heldRead = false;
    std::set<std::string> seen;
    collect(design, m_designNames, seen, [this](const std::string& ref, bool slot) {
        if (slot)
            take(ref);
        else
            takePlaced(ref);
    });
}

void Designators::readHeld(const Held& held) {
    m_held.clear();
    m_heldComponents.clear();
    m_next.clear(); // the numbers below a hint may have been held only
    m_nextName.clear();
    m_heldGeneration = held.generation;
    m_heldRead = true;
    IServer* server = m_design ? m_design->server() : nullptr;
    if (m_design) {
        const std::string own = m_design->name();
        for (auto it = held.components.lower_bound({own, std::string()});
             it != held.components.end() && it->first == own; ++it)
            m_heldComponents.insert(it->second);
    }
    // The design and its blocks, then the blocks whose instances can come back, with theirs.
    std::vector<std::string> names = m_designNames;
    std::set<std::string> seen(names.begin(), names.end());
    auto hold = [this](const std::string& ref, bool) { m_held.insert(ref); };
    for (size_t k = 0; k < names.size(); ++k) {
        const std::string name = names[k];
        for (auto it = held.designators.lower_bound({name, std::string()});
             it != held.designators.end() && it->first == name; ++it)
            m_held.insert(it->second);
        for (auto it = held.masters.lower_bound({name, std::string()});
             it != held.masters.end() && it->first == name; ++it) {
            IDesign* master = server ? server->findDesign(it->second.c_str()) : nullptr;
            if (master && !master->isSymbol()) collect(master, names, seen, hold);
        }
    }
}

bool Designators::takenByOthers(const std::string& ref, const std::vector<std::string>& own) const {
    const auto owned = std::count(own.begin(), own.end(), ref);
    if (owned == 0 && m_held.count(ref) != 0) return true;
    auto it = m_used.find(ref);
    return it != m_used.end() && it->second > owned;
}

std::string Designators::next(const std::string& prefix) {
    int& n = m_next[prefix];
    n = std::max(n, 1);
    while (taken(prefix + std::to_string(n)))
        ++n;
    std::string ref = prefix + std::to_string(n++);
    take(ref);
    return ref;
}

void Designators::take(const std::string& ref) {
    if (ref.empty()) return;
    ++m_used[ref];
    ++m_associated[ref];
}

void Designators::takePlaced(const std::string& ref) {
    if (!ref.empty()) ++m_used[ref];
}

namespace {

// A freed "<prefix><n>" is the first free one of its prefix again if it is below the others.
void lowerHint(std::map<std::string, int>& hints, const std::string& name) {
    size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])))
        --digits;
    if (digits == name.size() || name.size() - digits > 9) return;
    auto hint = hints.find(name.substr(0, digits));
    if (hint != hints.end()) hint->second = std::min(hint->second, std::atoi(name.c_str() + digits));
}

} // namespace

void Designators::release(const std::string& ref) {
    if (auto slot = m_associated.find(ref); slot != m_associated.end() && --slot->second <= 0) m_associated.erase(slot);
    auto it = m_used.find(ref);
    if (it == m_used.end()) return;
    if (--it->second > 0) return;
    m_used.erase(it);
    lowerHint(m_next, ref);
}

std::string Designators::nextComponentName(const std::string& prefix) {
    auto taken = [this, &prefix](int n) {
        const std::string name = prefix + std::to_string(n);
        IDTInstance* dt = m_design ? m_design->findDTInstance(name.c_str()) : nullptr;
        return (dt && dt->isAlive()) || componentNameHeld(name);
    };
    // The hint only spares walking the names below it, which are all taken: it is dropped whenever the
    // design changed some other way than through this set.
    int& n = m_nextName[prefix];
    n = std::max(n, 1);
    while (taken(n))
        ++n;
    return prefix + std::to_string(n);
}

void Designators::releaseComponentName(const std::string& name) {
    lowerHint(m_nextName, name);
}

void Designators::settle() {
    m_generation = generationOf(m_design);
}

} // namespace kxassoc
