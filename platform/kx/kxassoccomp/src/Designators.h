// The reference designators of a design, where every new associated component takes its own.
#pragma once

#include "rmx/rmx.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace kxassoc {

// The designators of one design and of the blocks below it: the placed parts' (LOCATION) and the
// associated components' (one per slot). Every road that makes, copies, pastes or renames an
// associated component takes or checks its designators here. The set is read from the design once
// and then kept by the changes made through it; it is read again when the database says that a
// designator may have changed some other way (undo, redo, a placed part, a component removed by
// another road), so that making many components reads the design once, not once per component.
class Designators {
public:
    // The set of the design, read again if a designator may have changed since it was last kept.
    static Designators& of(IDesign* design);

    bool taken(const std::string& ref) const { return m_used.count(ref) != 0; }
    // Whether a part other than the one whose slots carry `own` has the designator.
    bool takenByOthers(const std::string& ref, const std::vector<std::string>& own) const;
    // The free "<prefix><n>" with the smallest n, taken.
    std::string next(const std::string& prefix);
    void take(const std::string& ref);
    void release(const std::string& ref);
    // After a change of the design made through this set alone: what it holds is right again.
    void settle();
    // After a change that may have failed half-way: read the design again at the next use.
    void forget() { m_generation = 0; }

private:
    void read(IDesign* design);

    IDesign* m_design = nullptr;
    std::uint64_t m_generation = 0; // the database's designator generation the set is right for
    std::unordered_map<std::string, int> m_used;
    std::map<std::string, int> m_next; // per prefix: every lower number is taken
};

// The designators an associated component's slots carry (empty ones left out).
std::vector<std::string> slotDesignators(const IDTInstance* dt);

} // namespace kxassoc
