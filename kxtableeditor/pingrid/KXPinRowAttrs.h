// The row model of the pin grid: what its pin rows keep in the user attributes of their
// pin-name, Instance and DIFF_PAIR cells, named once with the type each value has (see
// grid/KXRowAttrs.h for the reading rules). Internal to the pin grid.
#pragma once

#include "pingrid/KXPinGridIds.h"

#include "grid/KXRowAttrs.h"

namespace kxpingrid {

// Pin-name cell.
inline constexpr KXAttr<int> kInstTermId{IDS_UA_INSTTERM_ID};         // the pin's database id
inline constexpr KXAttr<int> kDiffPairConnId{IDS_UA_DIFFPAIR_CONN_ID}; // a pair row's pair pin id
inline constexpr KXAttr<int> kDiffPairRow{IDS_UA_DIFFPAIR_ROW};        // 1 on a pair row
inline constexpr KXAttr<int> kParentRowOffset{IDS_UA_PARENT_ROW_OFFSET}; // rows up to the parent row
inline constexpr KXAttr<CString> kPowerPinRow{IDS_UA_POWER_PIN_ROW};     // a power group row when not empty
inline constexpr KXAttr<CString> kPowerPinChildRow{IDS_UA_POWER_PIN_CHILD_ROW};
inline constexpr KXAttr<CString> kVectorBaseName{IDS_UA_VECTOR_BASENAME};
inline constexpr KXAttr<CString> kVectorMsb{IDS_UA_VECTOR_MSB}; // decimal texts
inline constexpr KXAttr<CString> kVectorLsb{IDS_UA_VECTOR_LSB};
// Instance and DIFF_PAIR cells.
inline constexpr KXAttr<CString> kInstanceIndex{IDS_UA_INSTANCE_INDEX}; // the instance's id, as a decimal text

} // namespace kxpingrid
