// What the pin grid's selection publishes to the host's tools: the current net to the net selection,
// the selected pins (a pair row's leg pins) to the property editor, and their terminations and
// pull-ups/pull-downs to the associated-component viewer.
#pragma once

#include "grid/gxtypes.h"
#include "rmx/schema.h"

#include <vector>

class CKXConnObjInfo;
class CKXInstanceDetailsGridWnd;
class IKXMessageServer;

class KXPinGridPublish {
public:
    explicit KXPinGridPublish(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    void PublishCurrentNet(IKXMessageServer* server, ROWCOL row, ROWCOL col);
    void PublishPropertyRecords(IKXMessageServer* server, const std::vector<ROWCOL>& rows, ROWCOL col);
    void PublishAssocRecords(const std::vector<ROWCOL>& rows, ROWCOL col);
    // The net bits of a pair row's legs on its pair net, each lane's of a vector pair; none off a pair net.
    std::vector<CNetBit> PairRowLegNetBits(ROWCOL row);
    // A pair row for the property editor: each pin bit of its legs, as pins (the caller owns them).
    std::vector<CKXConnObjInfo*> PairPinRecords(ROWCOL row);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
