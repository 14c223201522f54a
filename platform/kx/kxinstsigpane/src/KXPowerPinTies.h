// The implicit power pins of one instance by pin name, read from the design once: the net each is
// tied to now and whether that tie is the instance's own. Edits that tie or release many pins keep
// it up to date as they go instead of asking the instance again for every pin.
#pragma once

#include "rmx/schema.h"

#include <string>
#include <unordered_map>

class CKXPowerPinTies {
public:
    struct Tie {
        CString net;     // the net the pin is tied to now
        CString partNet; // the part's net, which the pin takes again when its own tie is released
        bool own = false;
    };

    explicit CKXPowerPinTies(const IInstance& inst) {
        for (const CImplicitPowerPin& p : inst.implicitPowerPins())
            m_byName.try_emplace(p.pinName.str(), Tie{p.netName, p.partNetName, p.tiedByInstance});
    }

    // The pin's tie; nullptr when the instance has no implicit power pin of that name tied to a net.
    const Tie* Find(const CString& pin) const {
        const auto it = m_byName.find(pin.str());
        return it == m_byName.end() ? nullptr : &it->second;
    }
    // The pin is tied to `net` by the instance now.
    void Tied(const CString& pin, const CString& net) {
        Tie& tie = m_byName[pin.str()];
        tie.net = net;
        tie.own = true;
    }
    // The instance's own tie of the pin is gone: the pin has its part's net again.
    void Released(const CString& pin) {
        Tie& tie = m_byName[pin.str()];
        tie.net = tie.partNet;
        tie.own = false;
    }

private:
    std::unordered_map<std::string, Tie> m_byName;
};
