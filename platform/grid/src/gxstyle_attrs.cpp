// A style's user attributes: the counted list, the shared value objects and their pools.
#include "gxstyleparts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// ---------------------------------------------------------------- the list
CGXStyle::UAList::Entry* CGXStyle::UAList::LowerBound(WORD id)
{
    if (size > kWalked)
        return std::lower_bound(begin(), end(), id, [](const Entry& e, WORD key) { return e.id < key; });
    Entry* it = begin();
    while (it != end() && it->id < id)
        ++it;
    return it;
}

namespace {

// Lists of the common sizes live in chunks of blocks of one size: a grid's lists come and go by the
// thousand (a row's cells own one or two each), and the general allocator is slow for them, most of
// all in a fresh process whose heap has no freed blocks yet. A chunk is aligned to its size, so a
// block finds its chunk from its address. A chunk whose blocks are all free goes back to the general
// allocator, but for one kept per size, so memory follows the lists alive. Like the value pools, the
// blocks serve the thread that fills grids.
class ListBlocks {
public:
    // Capacities are rounded up to steps of kStep entries; lists past the last class are not kept.
    static unsigned Rounded(unsigned capacity)
    {
        const unsigned stepped = (std::max(capacity, 1u) + kStep - 1) / kStep * kStep;
        return stepped <= kStep * kClasses ? stepped : capacity;
    }
    void* Take(unsigned capacity, size_t bytes)
    {
        if (!Class(capacity))
            return ::operator new(bytes);
        SizeClass& size = m_classes[capacity / kStep - 1];
        Chunk* chunk = size.roomy ? size.roomy : NewChunk(size);
        void* block = chunk->free;
        if (block) {
            chunk->free = chunk->free->next;
        } else {
            block = chunk->carved;
            chunk->carved += bytes;
        }
        if (chunk->live++ == 0)
            --size.idle;
        if (!chunk->free && static_cast<size_t>(chunk->End() - chunk->carved) < bytes)
            Unlink(size, chunk); // full
        return block;
    }
    void Give(void* block, unsigned capacity)
    {
        if (!Class(capacity)) {
            ::operator delete(block);
            return;
        }
        SizeClass& size = m_classes[capacity / kStep - 1];
        Chunk* chunk = ChunkOf(block);
        const bool wasFull = !chunk->listed;
        chunk->free = new (block) Free{chunk->free};
        if (wasFull)
            Link(size, chunk);
        if (--chunk->live > 0)
            return;
        if (size.idle == 0) {
            ++size.idle; // kept for the next lists, so that one list made and dropped again costs no chunk
            return;
        }
        Unlink(size, chunk);
        chunk->~Chunk();
        ::operator delete(chunk, std::align_val_t{kChunkBytes});
    }

private:
    static constexpr unsigned kStep = 4;
    static constexpr unsigned kClasses = 8;
    static constexpr size_t kChunkBytes = 32u << 10;
    struct Free {
        Free* next;
    };
    struct Chunk {
        Chunk* prev = nullptr; // in the size's list of chunks with room
        Chunk* next = nullptr;
        Free* free = nullptr;  // blocks given back
        char* carved;          // blocks never handed out start here
        unsigned live = 0;     // blocks handed out
        bool listed = false;
        explicit Chunk(char* first) : carved(first) {}
        char* End() { return reinterpret_cast<char*>(this) + kChunkBytes; }
    };
    struct SizeClass {
        Chunk* roomy = nullptr; // chunks with a block to hand out, the one to take from first
        unsigned idle = 0;      // chunks with no block handed out
    };
    static constexpr size_t kFirstBlock = (sizeof(Chunk) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) *
                                          alignof(std::max_align_t);
    static bool Class(unsigned capacity) { return capacity % kStep == 0 && capacity <= kStep * kClasses; }
    static Chunk* ChunkOf(void* block)
    {
        return reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(block) & ~(std::uintptr_t{kChunkBytes} - 1));
    }
    static Chunk* NewChunk(SizeClass& size)
    {
        void* memory = ::operator new(kChunkBytes, std::align_val_t{kChunkBytes});
        auto* chunk = new (memory) Chunk(static_cast<char*>(memory) + kFirstBlock);
        ++size.idle;
        Link(size, chunk);
        return chunk;
    }
    static void Link(SizeClass& size, Chunk* chunk)
    {
        chunk->prev = nullptr;
        chunk->next = size.roomy;
        if (size.roomy)
            size.roomy->prev = chunk;
        size.roomy = chunk;
        chunk->listed = true;
    }
    static void Unlink(SizeClass& size, Chunk* chunk)
    {
        (chunk->prev ? chunk->prev->next : size.roomy) = chunk->next;
        if (chunk->next)
            chunk->next->prev = chunk->prev;
        chunk->prev = chunk->next = nullptr;
        chunk->listed = false;
    }
    SizeClass m_classes[kClasses];
};

// Never destroyed: styles held by objects of static duration release their lists during exit.
ListBlocks& Blocks()
{
    static ListBlocks* blocks = new ListBlocks;
    return *blocks;
}

} // namespace

CGXStyle::UAList* CGXStyle::UAList::Make(unsigned capacity)
{
    capacity = ListBlocks::Rounded(capacity);
    void* block = Blocks().Take(capacity, sizeof(UAList) + capacity * sizeof(Entry));
    return new (block) UAList{1, 0, capacity};
}

CGXStyle::UAList* CGXStyle::UAList::Copy(const UAList& from, unsigned capacity)
{
    UAList* list = Make(std::max(capacity, from.size));
    std::memcpy(static_cast<void*>(list->begin()), from.begin(), from.size * sizeof(Entry));
    list->size = from.size;
    for (const Entry& e : from)
        Hold(e.value);
    return list;
}

void CGXStyle::UAList::Free(UAList* list)
{
    for (const Entry& e : *list)
        Drop(e.value);
    const unsigned capacity = list->capacity;
    list->~UAList();
    Blocks().Give(list, capacity);
}

void CGXStyle::Drop(const CGXAbstractUserAttribute* p)
{
    if (--p->m_nHolders == 0)
        delete p;
}

// A list of this style's own to change: made, or copied from the one it shares, with room for a few
// more entries (a copy is mostly made to add an attribute or three).
CGXStyle::UAList& CGXStyle::uas(unsigned room)
{
    if (!m_uas) {
        m_uas = UAList::Make(room);
    } else if (m_uas->refs > 1) {
        UAList* copy = UAList::Copy(*m_uas, m_uas->size + room);
        UAList::Release(m_uas);
        m_uas = copy;
    }
    return *m_uas;
}

namespace {
constexpr unsigned kListRoom = 4;
} // namespace

void CGXStyle::SetUserAttributeShared(WORD nID, const CGXAbstractUserAttribute* p)
{
    Hold(p);
    UAList* list = &uas(kListRoom);
    UAList::Entry* it = list->LowerBound(nID);
    if (it != list->end() && it->id == nID) {
        Drop(it->value);
        it->value = p;
        return;
    }
    if (list->size == list->capacity) {
        const auto at = it - list->begin();
        UAList* grown = UAList::Copy(*list, list->capacity * 2 + kListRoom);
        UAList::Release(list);
        m_uas = list = grown;
        it = list->begin() + at;
    }
    std::copy_backward(it, list->end(), list->end() + 1);
    *it = {nID, p};
    ++list->size;
}

void CGXStyle::RemoveUserAttribute(WORD nID)
{
    if (!GetIncludeUserAttribute(nID))
        return;
    UAList& list = uas(0);
    UAList::Entry* it = list.LowerBound(nID);
    Drop(it->value);
    std::copy(it + 1, list.end(), it);
    --list.size;
}

void CGXStyle::MergeUserAttributes(const CGXStyle& src, bool over)
{
    if (!src.m_uas || src.m_uas->size == 0)
        return;
    if (!m_uas || m_uas->size == 0) {
        ++src.m_uas->refs; // shared until one side changes
        UAList::Release(m_uas);
        m_uas = src.m_uas;
        return;
    }
    for (const UAList::Entry& e : *src.m_uas) {
        if (!over && GetIncludeUserAttribute(e.id))
            continue;
        SetUserAttributeShared(e.id, e.value);
    }
}

void CGXStyle::VisitUserAttributes(void (*visit)(void*, WORD, const CGXAbstractUserAttribute&), void* context) const
{
    if (m_uas)
        for (const UAList::Entry& e : *m_uas)
            visit(context, e.id, *e.value);
}

namespace {

// What an absent attribute reads as: the empty text and 0.
class CGXEmptyUserAttribute : public CGXAbstractUserAttribute {
public:
    CGXAbstractUserAttribute* Clone() const override { return new CGXEmptyUserAttribute; }
};
const CGXEmptyUserAttribute kAbsentAttribute;

// Attribute values are immutable once stored, so cells with the same short text, the same whole
// number or the same ellipsis share one value object: a grid of ten thousand rows holds a few
// hundred distinct values ("0", "1", bit numbers, levels), not an object per cell. The pools are
// bounded; past the bound a value gets its own object as before. A pooled object is held by its
// pool, so it lives as long as the program.
constexpr size_t kMostPooledValues = size_t{1} << 16;
constexpr size_t kLongestPooledText = 32;
constexpr double kLargestPooledNumber = 1e9;
// Whole numbers from a little below 0 (ids, offsets, -1 for "none") are looked up by index; the index
// grows as larger ones are met, up to the pool's bound.
constexpr long long kFirstIndexedNumber = -16;
constexpr size_t kIndexedNumbers = kMostPooledValues;
constexpr size_t kFirstIndexRoom = 4096;

using Attr = CGXAbstractUserAttribute;

struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

} // namespace

// The pools hold their objects through the same count as the lists: an object goes when neither its
// pool nor any style holds it any more, whichever is destroyed last at exit.
struct CGXStylePools {
    class Held {
    public:
        Held() = default;
        explicit Held(const Attr* p) : m_p(p) { CGXStylePools::Hold(p); }
        Held(Held&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
        Held& operator=(Held&& o) noexcept
        {
            std::swap(m_p, o.m_p);
            return *this;
        }
        ~Held()
        {
            if (m_p)
                CGXStylePools::Drop(m_p);
        }
        const Attr* get() const { return m_p; }

    private:
        const Attr* m_p = nullptr;
    };

    static void Hold(const Attr* p) { CGXStyle::Hold(p); }
    static void Drop(const Attr* p) { CGXStyle::Drop(p); }

    template <class Map, class Key>
    static const Attr* Keep(Map& pool, Key&& key, const Attr* value)
    {
        if (pool.size() < kMostPooledValues)
            pool.emplace(std::forward<Key>(key), Held(value));
        return value;
    }

    static const Attr* Text(const char* text)
    {
        static std::unordered_map<std::string, Held, TextHash, std::equal_to<>> pool;
        const std::string_view view(text);
        if (view.size() > kLongestPooledText)
            return new CGXUserAttribute(text);
        if (auto it = pool.find(view); it != pool.end())
            return it->second.get();
        return Keep(pool, std::string(view), new CGXUserAttribute(text));
    }

    static const Attr* Number(double number)
    {
        // (NaN fails the first test; below the bound a number is whole when it survives the round trip.)
        if (!(std::fabs(number) < kLargestPooledNumber))
            return new CGXUserAttribute(number);
        const auto key = static_cast<long long>(number);
        if (static_cast<double>(key) != number || (key == 0 && std::signbit(number)))
            return new CGXUserAttribute(number);
        if (key >= kFirstIndexedNumber && key < kFirstIndexedNumber + static_cast<long long>(kIndexedNumbers)) {
            static std::vector<Held> indexed;
            const auto index = static_cast<size_t>(key - kFirstIndexedNumber);
            if (index >= indexed.size())
                indexed.resize(std::min(kIndexedNumbers, std::max({index + 1, indexed.size() * 2, kFirstIndexRoom})));
            Held& slot = indexed[index];
            if (!slot.get())
                slot = Held(Lasting(number));
            return slot.get();
        }
        static std::unordered_map<long long, Held> pool;
        if (auto it = pool.find(key); it != pool.end())
            return it->second.get();
        return Keep(pool, key, new CGXUserAttribute(number));
    }

    // A number object that lives as long as the program: a show meets thousands of ids at once, so
    // these are made side by side in one store, which holds each of them (no holder's Drop deletes one).
    static const Attr* Lasting(double number)
    {
        static auto* store = new std::deque<CGXUserAttribute>; // never destroyed, as the objects it holds
        const Attr* made = &store->emplace_back(number);
        Hold(made);
        return made;
    }

    static const Attr* Copy(const Attr& value)
    {
        if (const auto* ellipse = dynamic_cast<const CGXEllipseUserAttribute*>(&value)) {
            static std::unordered_map<int, Held> pool;
            const int type = ellipse->GetEllipseType();
            if (auto it = pool.find(type); it != pool.end())
                return it->second.get();
            return Keep(pool, type, value.Clone());
        }
        return value.Clone();
    }
};

CGXStyle& CGXStyle::SetUserAttribute(WORD nID, LPCTSTR text)
{
    SetUserAttributeShared(nID, CGXStylePools::Text(text ? text : ""));
    return *this;
}

CGXStyle& CGXStyle::SetUserAttribute(WORD nID, double value)
{
    SetUserAttributeShared(nID, CGXStylePools::Number(value));
    return *this;
}

CGXStyle& CGXStyle::SetUserAttribute(WORD nID, const CGXAbstractUserAttribute& value)
{
    SetUserAttributeShared(nID, CGXStylePools::Copy(value));
    return *this;
}

CGXStyle& CGXStyle::SetUserAttributePtr(WORD nID, CGXAbstractUserAttribute* pValue)
{
    if (!pValue) {
        RemoveUserAttribute(nID);
        return *this;
    }
    SetUserAttributeShared(nID, pValue);
    return *this;
}

CGXStyle& CGXStyle::SetUserAttributeFrom(WORD nID, const CGXStyle& src, WORD nSrcID)
{
    const UAList::Entry* e = src.m_uas ? src.m_uas->Find(nSrcID) : nullptr;
    if (e)
        SetUserAttributeShared(nID, e->value);
    else
        RemoveUserAttribute(nID);
    return *this;
}

const CGXAbstractUserAttribute& CGXStyle::GetUserAttribute(WORD nID) const
{
    if (m_uas)
        if (const UAList::Entry* e = m_uas->Find(nID))
            return *e->value;
    return kAbsentAttribute;
}

BOOL CGXStyle::GetIncludeUserAttribute(WORD nID) const { return m_uas && m_uas->Find(nID); }

const CGXAbstractUserAttribute* CGXStyle::FindUserAttribute(WORD nID) const
{
    const UAList::Entry* e = m_uas ? m_uas->Find(nID) : nullptr;
    return e ? e->value : nullptr;
}

CGXStyle& CGXStyle::SetIncludeUserAttribute(WORD nID, BOOL b)
{
    if (!b)
        RemoveUserAttribute(nID);
    else if (!GetIncludeUserAttribute(nID))
        SetUserAttribute(nID, "");
    return *this;
}

int CGXStyle::GetUserAttributeCount() const { return m_uas ? static_cast<int>(m_uas->size) : 0; }
