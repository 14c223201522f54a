// CTieredVector: a sequence with index access whose inserts and erases at any position do not move
// the items after it one by one.
//
// The items live in blocks of kBlock slots, each block a ring. Every block but the last is full, so
// item i is in block i / kBlock at ring offset i % kBlock: index access is a shift, a mask and an add.
// An insert moves the items of its own block between the position and the nearer end of the block,
// then hands one item on from each later block to the next (the last item of a ring becomes the
// first of the next ring): at most kBlock / 2 + size / kBlock moves, where a std::vector moves the
// whole tail. An erase is the same the other way. Lists of a few items keep one small ring that
// grows by doubling up to kBlock.
//
// The interface is the part of std::vector's that lists of rows and items use: random-access
// iterators (the std algorithms sort, search and merge through them), insert and erase of one item
// or of a range, push_back, resize. Iterators hold an index, so an insert or erase invalidates
// them as it does a vector's; references are not stable either. T must be default-constructible
// and move-assignable; slots not in use hold a value-initialized T.
#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

template <class T, unsigned LogBlock = 8>
class CTieredVector {
    static_assert(LogBlock >= 2 && LogBlock <= 16, "blocks of 4 to 65536 slots");

public:
    static constexpr size_t kBlock = size_t{1} << LogBlock;
    static constexpr size_t kFirstCapacity = 4; // the ring of a list of a few items

    using value_type = T;
    using size_type = size_t;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using const_reference = const T&;

    template <bool Const>
    class Iter {
    public:
        using Owner = std::conditional_t<Const, const CTieredVector, CTieredVector>;
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using reference = std::conditional_t<Const, const T&, T&>;
        using pointer = std::conditional_t<Const, const T*, T*>;

        Iter() = default;
        Iter(Owner* owner, difference_type i) : m_owner(owner), m_i(i) {}
        // iterator -> const_iterator
        template <bool C = Const, class = std::enable_if_t<C>>
        Iter(const Iter<false>& o) : m_owner(o.m_owner), m_i(o.m_i) {}

        reference operator*() const { return (*m_owner)[static_cast<size_t>(m_i)]; }
        pointer operator->() const { return &**this; }
        reference operator[](difference_type n) const { return (*m_owner)[static_cast<size_t>(m_i + n)]; }
        Iter& operator++() { ++m_i; return *this; }
        Iter operator++(int) { Iter t = *this; ++m_i; return t; }
        Iter& operator--() { --m_i; return *this; }
        Iter operator--(int) { Iter t = *this; --m_i; return t; }
        Iter& operator+=(difference_type n) { m_i += n; return *this; }
        Iter& operator-=(difference_type n) { m_i -= n; return *this; }
        friend Iter operator+(Iter it, difference_type n) { return it += n; }
        friend Iter operator+(difference_type n, Iter it) { return it += n; }
        friend Iter operator-(Iter it, difference_type n) { return it -= n; }
        friend difference_type operator-(const Iter& a, const Iter& b) { return a.m_i - b.m_i; }
        friend bool operator==(const Iter& a, const Iter& b) { return a.m_i == b.m_i; }
        friend auto operator<=>(const Iter& a, const Iter& b) { return a.m_i <=> b.m_i; }
        // The position from the start of the sequence.
        size_t index() const { return static_cast<size_t>(m_i); }

    private:
        friend class Iter<!Const>;
        Owner* m_owner = nullptr;
        difference_type m_i = 0;
    };
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    CTieredVector() = default;
    explicit CTieredVector(size_t n) { resize(n); }
    CTieredVector(std::initializer_list<T> items) {
        for (const T& t : items) push_back(t);
    }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    T& operator[](size_t i) { return m_blocks[i >> LogBlock].At(i & kMask); }
    const T& operator[](size_t i) const { return m_blocks[i >> LogBlock].At(i & kMask); }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return (*this)[m_size - 1]; }
    const T& back() const { return (*this)[m_size - 1]; }

    iterator begin() { return iterator(this, 0); }
    iterator end() { return iterator(this, static_cast<difference_type>(m_size)); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, static_cast<difference_type>(m_size)); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    void clear() {
        m_blocks.clear();
        m_size = 0;
    }
    // Storage comes a block at a time; only the table of blocks is sized ahead.
    void reserve(size_t n) { m_blocks.reserve((n >> LogBlock) + 1); }

    void push_back(T v) {
        RoomAtEnd().PushBack(std::move(v));
        ++m_size;
    }
    void pop_back() {
        DropSpare();
        m_blocks.back().TakeBack();
        --m_size;
    }
    void resize(size_t n) {
        while (m_size > n) pop_back();
        while (m_size < n) push_back(T());
    }

    iterator insert(const_iterator pos, T v) {
        InsertAt(pos.index(), std::move(v));
        return iterator(this, static_cast<difference_type>(pos.index()));
    }
    // Inserts [first, last) before pos: item by item when that moves less than shifting the tail.
    template <class It, class = std::enable_if_t<!std::is_integral_v<It>>>
    iterator insert(const_iterator pos, It first, It last) {
        const size_t at = pos.index();
        const size_t count = static_cast<size_t>(std::distance(first, last));
        if (ByItem(count, m_size - at)) {
            for (size_t k = 0; k < count; ++k, ++first) InsertAt(at + k, T(*first));
        } else {
            const size_t old = m_size;
            for (size_t k = 0; k < count; ++k) push_back(T());
            for (size_t j = old; j-- > at;) (*this)[j + count] = std::move((*this)[j]);
            for (size_t k = 0; k < count; ++k, ++first) (*this)[at + k] = *first;
        }
        return iterator(this, static_cast<difference_type>(at));
    }

    iterator erase(const_iterator pos) {
        EraseAt(pos.index());
        return iterator(this, static_cast<difference_type>(pos.index()));
    }
    iterator erase(const_iterator first, const_iterator last) {
        const size_t at = first.index();
        const size_t count = last.index() - at;
        if (ByItem(count, m_size - last.index())) {
            for (size_t k = 0; k < count; ++k) EraseAt(at);
        } else {
            for (size_t j = last.index(); j < m_size; ++j) (*this)[j - count] = std::move((*this)[j]);
            for (size_t k = 0; k < count; ++k) pop_back();
        }
        return iterator(this, static_cast<difference_type>(at));
    }

    void swap(CTieredVector& o) noexcept {
        m_blocks.swap(o.m_blocks);
        std::swap(m_size, o.m_size);
    }

    // The blocks in use (for checks and measurements).
    size_t BlockCount() const { return m_blocks.size(); }

private:
    static constexpr size_t kMask = kBlock - 1;

    // One ring: slots.size() (a power of two) places, count of them in use from head on.
    struct Block {
        std::vector<T> slots;
        size_t head = 0;
        size_t count = 0;

        size_t Wrap(size_t k) const { return k & (slots.size() - 1); }
        T& At(size_t off) { return slots[Wrap(head + off)]; }
        const T& At(size_t off) const { return slots[Wrap(head + off)]; }
        bool Full() const { return count == slots.size(); }
        void PushBack(T&& v) {
            At(count) = std::move(v);
            ++count;
        }
        void PushFront(T&& v) {
            head = Wrap(head + slots.size() - 1);
            slots[head] = std::move(v);
            ++count;
        }
        T TakeBack() {
            T v = std::move(At(count - 1));
            At(count - 1) = T();
            --count;
            return v;
        }
        T TakeFront() {
            T v = std::move(slots[head]);
            slots[head] = T();
            head = Wrap(head + 1);
            --count;
            return v;
        }
        // Opens a place at off by moving the items on the nearer side of it.
        void InsertAt(size_t off, T&& v) {
            if (off < count / 2) {
                head = Wrap(head + slots.size() - 1);
                for (size_t j = 0; j < off; ++j) At(j) = std::move(At(j + 1));
            } else {
                for (size_t j = count; j > off; --j) At(j) = std::move(At(j - 1));
            }
            At(off) = std::move(v);
            ++count;
        }
        void EraseAt(size_t off) {
            if (off < count / 2) {
                for (size_t j = off; j > 0; --j) At(j) = std::move(At(j - 1));
                slots[head] = T();
                head = Wrap(head + 1);
            } else {
                for (size_t j = off; j + 1 < count; ++j) At(j) = std::move(At(j + 1));
                At(count - 1) = T();
            }
            --count;
        }
        void Grow(size_t capacity) {
            std::vector<T> fresh(capacity);
            for (size_t j = 0; j < count; ++j) fresh[j] = std::move(At(j));
            slots.swap(fresh);
            head = 0;
        }
    };

    // The last block with a free place: a new one after a full block (the first ring starts small).
    Block& RoomAtEnd() {
        if (m_blocks.empty() || m_blocks.back().count == kBlock) {
            m_blocks.emplace_back();
            m_blocks.back().slots.resize(m_blocks.size() == 1 ? kFirstCapacity : kBlock);
        } else if (m_blocks.back().Full()) {
            m_blocks.back().Grow(std::min(m_blocks.back().slots.size() * 2, kBlock));
        }
        return m_blocks.back();
    }
    // An emptied last block is kept for the next insert (no allocation each time a list goes to and
    // fro across a block boundary); it goes before anything is removed, so that the blocks before
    // the last stay full.
    void DropSpare() {
        if (!m_blocks.empty() && m_blocks.back().count == 0) m_blocks.pop_back();
    }
    void InsertAt(size_t i, T v) {
        RoomAtEnd();
        const size_t home = i >> LogBlock;
        for (size_t k = m_blocks.size() - 1; k > home; --k) m_blocks[k].PushFront(m_blocks[k - 1].TakeBack());
        m_blocks[home].InsertAt(i & kMask, std::move(v));
        ++m_size;
    }
    void EraseAt(size_t i) {
        DropSpare();
        const size_t home = i >> LogBlock;
        m_blocks[home].EraseAt(i & kMask);
        for (size_t k = home + 1; k < m_blocks.size(); ++k) m_blocks[k - 1].PushBack(m_blocks[k].TakeFront());
        --m_size;
    }
    // Whether count items one at a time cost less than moving a tail of that length.
    bool ByItem(size_t count, size_t tail) const {
        return count * (kBlock / 2 + m_blocks.size() + 1) < tail + count;
    }

    std::vector<Block> m_blocks;
    size_t m_size = 0;
};
