// The rows a key of the pin grid's script words names ("pin", "pin:number" or "instance:pin:number"):
// the key parsed, and the rows matching it, found through the row index's texts.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"

#include <set>

class CKXInstanceDetailsGridWnd;

class KXPinGridKeys {
public:
    explicit KXPinGridKeys(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // A row key of the script words, parsed.
    struct PinRowKey {
        CString pin, number, instance;
        bool pinOnly = false; // "PIN": the pin-name cell alone decides
        static PinRowKey Parse(const CString& key);
    };
    bool RowMatchesKey(ROWCOL row, const PinRowKey& key);
    bool IsPairNamed(ROWCOL row, const CString& name);
    // Adds the rows matching the key, found through the row index's texts.
    void MatchKeyRows(const PinRowKey& key, std::set<ROWCOL>& matched);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
