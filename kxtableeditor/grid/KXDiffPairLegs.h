// Differential-pair legs: when the project asks for it (GRIDWORKSHOP
// auto_connect_dpleg), a pin bit connected onto one leg of a pair net brings the
// other leg of its pair pin along to the other net of the pair, in the same
// transaction, so that one undo takes both back.
//
//   if (KXAutoConnectDpLegAsked())
//       if (std::optional<CConn> leg = KXConnectOtherLeg(tx, CInstTermBit(pin, bit))) show(*leg);
#pragma once

#include "rmx/schema.h"

#include <optional>

class CTransaction;

// The directive reads "yes", "on" or "true" in the project's GRIDWORKSHOP section.
bool KXAutoConnectDpLegAsked();
// The net bit that pairs with this one in a pair net of its net; empty when none.
CNetBit KXPairedNetBit(const CNetBit& bit);
// The other leg of the pair pin that uses the pin bit; empty when the bit is in no pair.
CInstTermBit KXOtherLeg(const CInstTermBit& leg);
// Connects the other leg of the leg's pair pin to the paired net bit of the leg's net bit, when that
// leg is free; the connection made, or none.
std::optional<CConn> KXConnectOtherLeg(CTransaction& tx, const CInstTermBit& leg);
