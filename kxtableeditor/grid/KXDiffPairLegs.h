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
#include <vector>

class CKXAssocCompAPI;
class CTransaction;

// The directive reads "on" (in any case) in the project's GRIDWORKSHOP section; while a journal is
// replayed, what the journal said of it (RMX.AutoConnectDpLeg), once it said something.
bool KXAutoConnectDpLegAsked();
// The net bit that pairs with this one in a pair net of its net; empty when none.
CNetBit KXPairedNetBit(const CNetBit& bit);
// The other leg of the pair pin that uses the pin bit; empty when the bit is in no pair.
CInstTermBit KXOtherLeg(const CInstTermBit& leg);
// Connects the other leg of the leg's pair pin to the paired net bit of the leg's net bit, when that
// leg is free; the connection made, or none.
std::optional<CConn> KXConnectOtherLeg(CTransaction& tx, const CInstTermBit& leg);

// ---- a pair pin's connection to a pair net

// Where the terminations of a pair pin's connection sit: each lane (member pair; the pair itself when it
// has none), then, for a vector pair with a connection, the connection as a whole.
std::vector<IDPInstTerm*> KXPairTerminationSites(IDPInstTerm* pair);
// Deletes the termination on one such site in the transaction; true when one went.
bool KXDeletePairTermination(CTransaction& tx, CKXAssocCompAPI& api, IDPInstTerm* site);
// Parts the pair pin from its pair net (its pair connection as it stands); false when it has none.
bool KXRemovePairConn(CTransaction& tx, const IDPInstTerm* pair);
// What Delete takes of a pair pin's row: the terminations of its connection (when asked), then the
// connection. False when the pair has no connection.
bool KXRemovePairConnection(CTransaction& tx, CKXAssocCompAPI& api, IDPInstTerm* pair, bool deleteTerms);
// A lane of a vector pair pin leaves the pair's connection (Delete on the lane, the lane moved onto
// another pair). A pair pin holds one pair connection, so the lanes that stay take connections of their
// own on the net bits they had, with the terminations they had on the pair's; the lane's terminations
// are deleted (deleteTerms) or kept on the lane for its next connection. False when the pair's
// connection does not carry the lane.
bool KXPartLaneFromPairConnection(CTransaction& tx, CKXAssocCompAPI& api, IDPInstTerm* lane, bool deleteTerms);
// After a leg left its net: once no leg of the pair (of any lane) is on a net, the pair connection that
// carried the leg goes as Delete on the pair's row takes it, with its terminations. True when it went.
bool KXRemovePairConnectionWithoutLegs(CTransaction& tx, CKXAssocCompAPI& api, const CInstTermBit& leg);
