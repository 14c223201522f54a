// The pin map of a physical grid: the logical pin bits behind each pin row,
// under the row's key (reference designator and pin number joined by the grid's
// separator), and an index from those keys to rows that is checked against the
// cells on every use and rebuilt when rows have moved.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxall.h"
#include "rmx/context.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class CKXPhysPinMap {
public:
    // Reads the key of a row from its cells; empty for a row without one.
    using RowKeyReader = std::function<CString(ROWCOL)>;

    explicit CKXPhysPinMap(char separator) : m_separator(separator) {}

    CString Key(const CString& location, const CString& pinNumber) const {
        return location + CString(m_separator) + pinNumber;
    }

    // The bits under a key; NULL when the key names no pin.
    const std::vector<CInstTermBitContext>* Find(const CString& key) const {
        auto it = m_pins.find(key.str());
        return it == m_pins.end() ? nullptr : &it->second;
    }
    std::vector<CInstTermBitContext>& Entry(const CString& key) { return m_pins[key.str()]; }
    void Set(const CString& key, std::vector<CInstTermBitContext> bits) { m_pins[key.str()] = std::move(bits); }
    void Remove(const CString& key) { m_pins.erase(key.str()); }
    void Clear() {
        m_pins.clear();
        m_rows.clear();
    }
    std::size_t Size() const { return m_pins.size(); }
    template <class F> void ForEach(F f) const {
        for (const auto& [key, bits] : m_pins)
            f(CString(key.c_str()), bits);
    }

    // The row whose cells give the key; 0 when no row does. Rows may have moved since the index was
    // made: a stale entry makes it be read again from the rows firstRow .. lastRow.
    ROWCOL FindRow(const CString& key, ROWCOL firstRow, ROWCOL lastRow, const RowKeyReader& read) {
        auto it = m_rows.find(key.str());
        if (it != m_rows.end() && it->second >= firstRow && it->second <= lastRow && read(it->second) == key)
            return it->second;
        IndexRows(firstRow, lastRow, read);
        it = m_rows.find(key.str());
        return it == m_rows.end() ? 0 : it->second;
    }
    // Reads the index from the rows firstRow .. lastRow now. A grid calls it where it has moved its
    // rows as a whole (a load, a sort), so that the first look-up after it costs its key only.
    void IndexRows(ROWCOL firstRow, ROWCOL lastRow, const RowKeyReader& read) {
        m_rows.clear();
        m_rows.reserve(m_pins.size());
        for (ROWCOL r = firstRow; r <= lastRow; ++r) {
            const CString k = read(r);
            if (!k.IsEmpty()) m_rows.emplace(k.str(), r);
        }
    }
    void ForgetRows() { m_rows.clear(); }

private:
    char m_separator;
    std::unordered_map<std::string, std::vector<CInstTermBitContext>> m_pins;
    std::unordered_map<std::string, ROWCOL> m_rows;
};
