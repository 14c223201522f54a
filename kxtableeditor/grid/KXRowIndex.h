// KXRowIndex: which rows of a grid show a given design object, so that a change
// reaches its rows directly instead of through a scan of the grid.
//
// A key names what a row shows: a pin bit, a net bit, a whole net, or anything
// else a grid kind lists (a pair pin, a component, a matrix cell's object), made
// with KXRowKey::Of(type, id, bit) from the object's type letter, its database id
// and a bit (-1 for the whole object). A row may carry several keys (a pin row
// carries its pin bit and the net bit it is connected to) and a key may be on
// several rows (every row of a net).
//
//   KXRowIndex index(grid);
//   index.Add(KXRowKey::PinBit(pin->id(), bit), row);       // while filling the row
//   index.Add(KXRowKey::NetBit(net->id(), netBit), row);
//   for (ROWCOL r : index.Rows(KXRowKey::NetBit(id, 3)))    // rows in ascending order
//       RefreshRow(r);
//   index.Remove(KXRowKey::NetBit(oldNet, 3), row);           // the row shows another net now
//
// The index holds rows by their identity in the grid's row storage, not by
// number: rows inserted, removed, moved or sorted around them (and the undo of
// a removal) leave the index right without being told, and a removed row is no
// longer returned. Hidden rows (a filter) keep their identity and are returned;
// a caller that wants only the visible ones asks the grid. Only a refill of the
// grid (new rows for old objects) needs Clear() and a new Add for each row.
//
// Rows are also found by a text they show (a pin's name, a pin number), under a type letter of the
// grid's choosing: AddText(type, text, row) while the text is written, TextRows(type, text) to find
// them. A row keeps a text key after it shows another text, and texts are told apart by a 64-bit hash
// of their type and characters, so callers check what the row shows. A text costs no allocation of its
// own unless it is on several rows, so that a grid can index its texts while it fills.
//
// Costs: Add, Remove and Rows cost the key's rows. A row's number is followed
// through the rows inserted and removed since it was last known (the grid's log
// of row shifts); only after rows were moved or sorted does the first Rows()
// call renumber every row once (a walk of the row storage).
#pragma once

#include "grid/KXFlatMap.h"
#include "grid/gxall.h"

#include "afx/afxstr.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

// A key of the index: the type letter, the id and the bit of what a row shows.
struct KXRowKey {
    static constexpr char kPinBit = 'T';
    static constexpr char kNet = 'N';
    static constexpr char kNetBit = 'B';

    static std::uint64_t Of(char type, unsigned id, int bit = -1) {
        // type in the top 8 bits, the bit (+1, so that -1 is 0) in the next 24, the id in the low 32
        return (static_cast<std::uint64_t>(static_cast<unsigned char>(type)) << 56) |
               (static_cast<std::uint64_t>(static_cast<unsigned>(bit + 1) & 0xFFFFFFu) << 32) | id;
    }
    static std::uint64_t PinBit(unsigned pinId, int bit) { return Of(kPinBit, pinId, bit); }
    static std::uint64_t NetBit(unsigned netId, int bit) { return Of(kNetBit, netId, bit); }
    static std::uint64_t Net(unsigned netId) { return Of(kNet, netId); }
};

class KXRowIndex {
public:
    using Key = std::uint64_t;

    explicit KXRowIndex(CGXGridCore& grid) : m_grid(grid) {}
    KXRowIndex(const KXRowIndex&) = delete;
    KXRowIndex& operator=(const KXRowIndex&) = delete;

    // Forgets every key (the grid was refilled).
    void Clear();
    // Room for `keys` more keys, `texts` more texts and `rows` more rows, made at once before a fill.
    void Reserve(std::size_t keys, std::size_t texts, std::size_t rows);
    // The row shows the key (again: nothing changes).
    void Add(Key key, ROWCOL row);
    // The row shows each of the keys.
    void Add(std::initializer_list<Key> keys, ROWCOL row);
    // The row no longer shows the key.
    void Remove(Key key, ROWCOL row);
    // No row shows the key any more.
    void RemoveKey(Key key) { m_rowsByKey.Erase(key); }

    // The rows that show the key, ascending; empty when none.
    std::vector<ROWCOL> Rows(Key key) const;
    // The first of them, 0 when none.
    ROWCOL FirstRow(Key key) const;
    bool Has(Key key, ROWCOL row) const;
    // Number of keys with at least one row recorded (rows removed since may still count).
    size_t KeyCount() const { return m_rowsByKey.Size(); }

    // Numbers every row now (one walk of the row storage) when rows changed their numbers since the
    // last look-up: a grid calls it after it filled, sorted or moved its rows as a whole, so that the
    // look-ups of the next edit cost their keys only.
    void NumberRows() const;

    // The row shows the text (a text key of the type).
    void AddText(char type, const CString& text, ROWCOL row);
    // The rows that show or showed the text, ascending; empty when none.
    std::vector<ROWCOL> TextRows(char type, const CString& text) const;

private:
    // The current number of a row identity, 0 when the row is gone.
    ROWCOL RowOf(std::uint64_t id) const;
    void Renumber() const;
    std::vector<ROWCOL> RowsOfIds(std::span<const std::uint64_t> ids) const;
    // The row identities of a key: most keys are on one row, kept without an allocation of its own.
    // Identities whose rows were removed are set aside, so that a key that rows come and go on (a pin
    // connected and disconnected again and again) costs its rows, not its history; they are looked at
    // again after a change that may bring a removed row back (the undo of a removal cuts the grid's log).
    class RowIds {
    public:
        std::span<const std::uint64_t> All() const {
            return m_more && !m_more->many.empty() ? std::span<const std::uint64_t>(m_more->many)
                                                   : std::span<const std::uint64_t>(&m_one, m_one ? 1 : 0);
        }
        bool Contains(std::uint64_t id) const {
            return std::ranges::find(All(), id) != All().end() ||
                   (m_more && std::ranges::find(m_more->gone, id) != m_more->gone.end());
        }
        // `fresh`: the row was given its identity while it is the row last noted (no look-up since), so
        // a key that has it has it last.
        void Add(std::uint64_t id, bool fresh) {
            // A key on one row (most are) is kept in place.
            if (!m_more && (m_one == 0 || m_one == id))
                m_one = id;
            else
                AddMore(id, fresh);
        }
        void Erase(std::uint64_t id);
        bool Empty() const { return All().empty() && (!m_more || m_more->gone.empty()); }
        // Sets aside the identities the index finds no row for (gone at the grid's cut version `cut`),
        // after taking back those set aside before an earlier cut; the rows of the others, ascending.
        std::vector<ROWCOL> Rows(std::uint64_t cut, const KXRowIndex& index);

    private:
        void AddMore(std::uint64_t id, bool fresh);
        void Keep(std::uint64_t id);
        // What a key on several rows, or with rows set aside, needs besides.
        struct More {
            std::vector<std::uint64_t> many; // all the identities once there are more than one
            std::vector<std::uint64_t> gone; // identities whose rows were removed
            std::uint64_t goneCut = 0;       // the grid's cut version when they were set aside
        };
        More& Extra() {
            if (!m_more) m_more = std::make_unique<More>();
            return *m_more;
        }
        std::uint64_t m_one = 0;      // the one identity while there is one (0: none)
        std::unique_ptr<More> m_more; // null while the key has one row and none set aside
    };
    // Row identities by text, under the text's hash: a text on one row keeps it in place, the others
    // in a list of their own.
    class TextIds {
    public:
        void Add(std::uint64_t id) {
            if (m_one == 0)
                m_one = id;
            else if (m_one != id || !m_many.empty())
                AddMore(id);
        }
        std::span<const std::uint64_t> All() const {
            return m_many.empty() ? std::span<const std::uint64_t>(&m_one, m_one ? 1 : 0)
                                  : std::span<const std::uint64_t>(m_many);
        }

    private:
        void AddMore(std::uint64_t id);
        std::uint64_t m_one = 0;            // the first identity (0: none yet)
        std::vector<std::uint64_t> m_many;  // all of them once there are more
    };
    static std::uint64_t TextHash(char type, const CString& text);
    // The identity of the row, its place noted; the next key or text of the same row at the same
    // layout (a fill indexes several of each row) costs neither again. 0: the row has none.
    std::uint64_t NoteRow(ROWCOL row);
    struct Noted {
        const CGXData* data = nullptr;
        ROWCOL row = 0;
        std::uint64_t layout = 0;
        std::uint64_t id = 0;
        bool fresh = false; // the identity was given when the row was noted, and no look-up came since
    };
    mutable Noted m_noted; // the row NoteRow met last (a walk of the rows forgets it)
    CGXData* Data() const { return m_grid.GetData(); }

    CGXGridCore& m_grid;
    mutable KXFlatMap<RowIds> m_rowsByKey; // key -> row identities (look-ups set gone ones aside)
    KXFlatMap<TextIds> m_rowsByText;       // hash of type + text -> row identities
    // A row's number (0: gone) at a layout version.
    struct Place {
        ROWCOL row;
        std::uint64_t layout;
    };
    // The place of a row identity now, followed from where it was known; false when only a walk tells.
    bool Follow(Place& place) const;
    // The places of row identities: a grid gives identities one after another, so those from the first
    // one met on are kept in a vector by identity (no allocation a row, and a clear that frees nothing);
    // an identity before it or far past the others goes to a map.
    class Places {
    public:
        Place* Find(std::uint64_t id);
        void Set(std::uint64_t id, Place place);
        void Clear();
        void Reserve(std::size_t more) { m_byId.reserve(m_byId.size() + more); }

    private:
        static constexpr std::uint64_t kNone = ~std::uint64_t{0}; // the layout of a place not set
        std::vector<Place> m_byId;                     // identity m_nFirst + i at i
        std::uint64_t m_nFirst = 0;                    // 0: none met since the last clear
        std::unordered_map<std::uint64_t, Place> m_others;
    };
    mutable Places m_rowOfId; // row identity -> its place
    // The rows the last walk found, by identity from m_nWalkFirstId (0: none), when the identities lie
    // close together (as a fill gives them); otherwise the walk's places are in m_rowOfId.
    mutable std::vector<ROWCOL> m_walkRows;
    mutable std::uint64_t m_nWalkFirstId = 0;
    // The row the last walk found for an identity outside m_rowOfId (0: none).
    ROWCOL WalkRow(std::uint64_t id) const {
        return id >= m_nWalkFirstId && id - m_nWalkFirstId < m_walkRows.size() ? m_walkRows[id - m_nWalkFirstId] : 0;
    }
    mutable std::uint64_t m_nLayout = ~std::uint64_t{0};            // layout of the last walk: an identity
                                                                    // not in m_rowOfId was gone then
};
