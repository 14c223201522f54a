// KXFlatMap: a map from 64-bit keys to values, kept flat: the entries lie in one vector and an
// open-addressed table of 32-bit slots (linear probing, at most half used) finds them, so that an
// entry costs no allocation of its own. For the many small entries a grid makes while it fills.
//
// An erase moves the last entry into the erased one's place: a pointer to a value holds until the
// next insert or erase.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <class Value>
class KXFlatMap {
public:
    // The value of the key, nullptr when it has none.
    const Value* Find(std::uint64_t key) const {
        const std::uint32_t slot = m_slots.empty() ? 0 : m_slots[SlotOf(key)];
        return slot == 0 ? nullptr : &m_entries[slot - 1].value;
    }
    Value* Find(std::uint64_t key) { return const_cast<Value*>(std::as_const(*this).Find(key)); }

    // The value of the key, made (value-initialised) when it had none.
    Value& operator[](std::uint64_t key) {
        if ((m_entries.size() + 1) * 2 > m_slots.size()) Grow();
        std::uint32_t& slot = m_slots[SlotOf(key)];
        if (slot == 0) {
            m_entries.push_back(Entry{key, Value{}});
            slot = static_cast<std::uint32_t>(m_entries.size());
        }
        return m_entries[slot - 1].value;
    }

    // Forgets the key; false when it had no value.
    bool Erase(std::uint64_t key) {
        if (m_slots.empty()) return false;
        std::size_t hole = SlotOf(key);
        const std::uint32_t erased = m_slots[hole];
        if (erased == 0) return false;
        CloseHole(hole);
        // The last entry takes the erased one's place, and its slot follows it.
        const std::uint32_t last = static_cast<std::uint32_t>(m_entries.size());
        if (erased != last) {
            m_slots[SlotOf(m_entries[last - 1].key)] = erased;
            m_entries[erased - 1] = std::move(m_entries[last - 1]);
        }
        m_entries.pop_back();
        return true;
    }

    // Room for `more` keys past those held, made at once (a grid about to fill its rows).
    void Reserve(std::size_t more) {
        const std::size_t want = m_entries.size() + more;
        m_entries.reserve(want);
        std::size_t slots = std::max(kFirstSlots, m_slots.size());
        while ((want + 1) * 2 > slots) slots *= 2;
        if (slots > m_slots.size()) Rehash(slots);
    }

    void Clear() {
        m_slots.clear();
        m_entries.clear();
    }
    std::size_t Size() const { return m_entries.size(); }

private:
    static constexpr std::size_t kFirstSlots = 64;
    struct Entry {
        std::uint64_t key;
        Value value;
    };

    // Keys that differ in their high bits only (a type letter, a bit) are spread over the table.
    static std::size_t Mix(std::uint64_t key) {
        key ^= key >> 33;
        key *= 0xff51afd7ed558ccdull;
        key ^= key >> 33;
        return static_cast<std::size_t>(key);
    }
    std::size_t Mask() const { return m_slots.size() - 1; }

    // The slot of the key, or the empty slot where it would go (the table is not empty).
    std::size_t SlotOf(std::uint64_t key) const {
        for (std::size_t i = Mix(key) & Mask();; i = (i + 1) & Mask()) {
            const std::uint32_t slot = m_slots[i];
            if (slot == 0 || m_entries[slot - 1].key == key) return i;
        }
    }

    // Empties the slot at `hole` and moves back the slots after it that their probe would not reach
    // across the hole, so that every key stays found without markers of erased slots.
    void CloseHole(std::size_t hole) {
        m_slots[hole] = 0;
        for (std::size_t i = (hole + 1) & Mask(); m_slots[i] != 0; i = (i + 1) & Mask()) {
            const std::size_t home = Mix(m_entries[m_slots[i] - 1].key) & Mask();
            // The slot may move to the hole when its home is not in (hole, i] going round the table.
            if (((i - home) & Mask()) >= ((i - hole) & Mask())) {
                m_slots[hole] = std::exchange(m_slots[i], 0);
                hole = i;
            }
        }
    }

    void Grow() { Rehash(std::max(kFirstSlots, m_slots.size() * 2)); }
    void Rehash(std::size_t slots) {
        m_slots.assign(slots, 0);
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            m_slots[SlotOf(m_entries[i].key)] = static_cast<std::uint32_t>(i + 1);
    }

    std::vector<std::uint32_t> m_slots; // entry's place + 1, 0 for an empty slot; size a power of two
    std::vector<Entry> m_entries;
};
