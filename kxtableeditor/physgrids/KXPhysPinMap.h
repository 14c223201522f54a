// The pin map of a physical grid: the logical pin bits behind each pin row,
// under the row's key (reference designator and pin number joined by the grid's
// separator). The rows themselves are found by their key through the grid's row
// index (CKXPhysGridWnd::FindKeyedRow).
#pragma once

#include "afx/afxstr.h"
#include "grid/gxall.h"
#include "rmx/context.h"

#include <string>
#include <unordered_map>
#include <vector>

class CKXPhysPinMap {
public:
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
    void Set(const CString& key, std::vector<CInstTermBitContext> bits) {
        m_pins[key.str()] = std::move(bits);
    }
    void Remove(const CString& key) { m_pins.erase(key.str()); }
    void Clear() { m_pins.clear(); }
    std::size_t Size() const { return m_pins.size(); }
    template <class F> void ForEach(F f) const {
        for (const auto& [key, bits] : m_pins)
            f(CString(key.c_str()), bits);
    }

private:
    char m_separator;
    std::unordered_map<std::string, std::vector<CInstTermBitContext>> m_pins;
};
