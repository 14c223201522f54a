// The reference designators of a design, where every new associated component takes its own.
#pragma once

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "rmx/rmx.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kxassoc {

// The designators of one design and of the blocks below it: the placed parts' (LOCATION) and the
// associated components' (one per slot). Every road that makes, copies, pastes or renames an
// associated component takes or checks its designators here. The set is read from the design once
// and then kept by the changes made through it; it is read again when the database says that a
// designator may have changed some other way (undo, redo, a placed part, a component removed by
// another road), so that making many components reads the design once, not once per component.
// Besides the parts the design has, the designators an undo or redo can bring back (setHold) count
// as taken for new designators and renames.
class Designators {
public:
    using Held = KXHeldDesignators;
    using Hold = CKXAssocCompAPI::DesignatorHold;
    static void setHold(Hold hold);

    // The set of the design, read again if a designator may have changed since it was last kept.
    static Designators& of(IDesign* design);

    // Whether a part has the designator or an undo or redo can bring back one that has it.
    bool taken(const std::string& ref) const { return m_used.count(ref) != 0 || m_held.count(ref) != 0; }
    // Whether an associated component's slot carries the designator, or an undo or redo can bring back a
    // part that has it.
    bool associated(const std::string& ref) const {
        return m_associated.count(ref) != 0 || m_held.count(ref) != 0;
    }
    // Whether a part other than the one whose slots carry `own` has the designator, or one that an undo or
    // redo can bring back has it while `own` does not.
    bool takenByOthers(const std::string& ref, const std::vector<std::string>& own) const;
    // Whether an undo or redo can bring back an associated component of the design with the name.
    bool componentNameHeld(const std::string& name) const { return m_heldComponents.count(name) != 0; }
    // The free "<prefix><n>" with the smallest n, taken for a slot.
    std::string next(const std::string& prefix);
    // A slot of an associated component takes or gives up the designator.
    void take(const std::string& ref);
    void release(const std::string& ref);
    // The associated component name "<prefix><n>" with the smallest n that no live component of the
    // design has and no undo or redo can bring back: what the design holds chooses it, not the edits
    // that were tried before (a replay of the journal gives the same name). The component is to be
    // made at once; settle() after it was made, forget() when it was not.
    std::string nextComponentName(const std::string& prefix);
    // A component of the design removed through this set: its name is free again.
    void releaseComponentName(const std::string& name);
    // After a change of the design made through this set alone: what it holds is right again.
    void settle();
    // After a change that may have failed half-way: read the design again at the next use.
    void forget() { m_generation = 0; }

private:
    // A placed part's designator (LOCATION), as read from the design.
    void takePlaced(const std::string& ref);
    void read(IDesign* design);
    void readHeld(const Held& held);
    // Calls take for every designator of the design and of the blocks below it that `names` does not list
    // yet (with true for an associated component's slot), and adds their names to it.
    template <class Take>
    static void collect(IDesign* design, std::vector<std::string>& names, std::set<std::string>& seen,
                        Take take);

    IDesign* m_design = nullptr;
    std::uint64_t m_generation = 0; // the database's designator generation the set is right for
    std::unordered_map<std::string, int> m_used;
    std::unordered_map<std::string, int> m_associated; // the designators of associated components' slots
    std::map<std::string, int> m_next; // per prefix: every lower number is taken
    std::map<std::string, int> m_nextName; // per component name prefix: every lower number's name is taken
    std::vector<std::string> m_designNames; // the design's and its blocks'
    std::unordered_set<std::string> m_held; // the designators an undo or redo can bring back
    std::unordered_set<std::string> m_heldComponents; // the design's component names one can bring back
    std::uint64_t m_heldGeneration = 0;     // of the Held that m_held was read from
    bool m_heldRead = false;
};

// The designators an associated component's slots carry (empty ones left out).
std::vector<std::string> slotDesignators(const IDTInstance* dt);

} // namespace kxassoc
