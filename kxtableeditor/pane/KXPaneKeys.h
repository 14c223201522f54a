// The rows a keyed word names: every key must name a row, or the word acts on none of them.
#pragma once

#include "afx/afx.h"

#include <optional>
#include <vector>

class CKXGridWnd;

namespace kxpane {

// The keys whose flag is down, as a refusal names them; none when every key named a row.
std::optional<CString> UnnamedKeysText(const CStringArray& keys, const std::vector<bool>& named);

// Selects the rows of the grid the keys name, key by key (in the key column; "" the grid's own); the keys
// that named no row, as a refusal names them (then nothing stays selected), or none when every key did.
std::optional<CString> SelectRowsOfEveryKeyIn(CKXGridWnd& grid, CStringArray& keys, const CString& keyColumn);

} // namespace kxpane
