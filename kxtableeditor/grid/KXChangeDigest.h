// KXChangeDigest: a committed transaction sorted once into one bucket per
// object type, and typed hooks a grid overrides for the changes it shows.
//
// A grid's MSG_TRANSACTION_COMMITTED handler becomes:
//
//   class CKXMyGrid : public CKXGridWnd, private KXChangeHooks {
//       void OnNetChange(const IChange& change, INet& net) override { ... }
//       void OnConnChange(const IChange& change, CConn& conn) override { ... }
//   };
//   LRESULT CKXMyGrid::OnTransactionCommitted(WPARAM, LPARAM lParam) {
//       auto* transaction = reinterpret_cast<CTransaction*>(lParam);
//       if (!transaction) return 0;
//       const KXChangeDigest digest(*transaction);
//       kxgrid::LockUpdateScope lock(*this);
//       digest.Dispatch(*this);
//       return 0;
//   }
//
// Dispatch calls OnDigestBegin, then the typed hook of every change, bucket by
// bucket in DispatchOrder() and in commit order within a bucket, then
// OnDigestEnd. Every hook does nothing unless overridden. A hook that needs the
// whole picture (e.g. "was any alias touched") asks the digest it is given in
// OnDigestBegin/OnDigestEnd, or the digest it holds. Changes whose object is not
// of the bucket's class are counted but reach no hook.
#pragma once

#include "rmx/transaction.h"

#include <array>
#include <cstddef>
#include <vector>

class KXChangeDigest;

class KXChangeHooks {
public:
    virtual ~KXChangeHooks() = default;

    virtual void OnDigestBegin(const KXChangeDigest& /*digest*/) {}
    virtual void OnInstanceChange(const IChange& /*change*/, IInstance& /*instance*/) {}
    virtual void OnPropertyChange(const IChange& /*change*/, CPropertyChange& /*property*/) {}
    virtual void OnAliasChange(const IChange& /*change*/, CAlias& /*alias*/) {}
    virtual void OnPairConnChange(const IChange& /*change*/, IDPConn& /*pairConn*/) {}
    // A connection added or removed; for a kind-17 change (a pin bit moved), IChange::getConns
    // gives the connections it removed and added.
    virtual void OnConnChange(const IChange& /*change*/, CConn& /*conn*/) {}
    virtual void OnPairPinChange(const IChange& /*change*/, IDPInstTerm& /*pairPin*/) {}
    virtual void OnPairNetChange(const IChange& /*change*/, IDPNet& /*pairNet*/) {}
    virtual void OnComponentChange(const IChange& /*change*/, IDTInstance& /*component*/) {}
    // A port of a master design or a pin of an instance (IInstTerm derives from ITerm).
    virtual void OnTermChange(const IChange& /*change*/, ITerm& /*term*/) {}
    virtual void OnNetChange(const IChange& /*change*/, INet& /*net*/) {}
    virtual void OnDesignChange(const IChange& /*change*/, IDesign& /*design*/) {}
    virtual void OnDigestEnd(const KXChangeDigest& /*digest*/) {}
};

class KXChangeDigest {
public:
    // Sorts the change records of the transaction (every committed and pending change).
    explicit KXChangeDigest(const CTransaction& transaction);
    // Sorts a given list of records (tests, replays).
    explicit KXChangeDigest(const std::vector<IChange*>& changes, IDesign* design = nullptr,
                            IServer* server = nullptr);

    // The changes of one object type (rmx::ObjType), in commit order; empty for an unknown type.
    const std::vector<IChange*>& Of(char objectType) const;
    bool Touches(char objectType) const { return !Of(objectType).empty(); }
    // True when any of the types has a change.
    bool TouchesAny(std::initializer_list<char> objectTypes) const;
    // Number of changes of every type.
    std::size_t Count() const { return m_count; }
    bool Empty() const { return m_count == 0; }

    // The transaction's design and server (NULL when built from a list without them).
    IDesign* Design() const { return m_design; }
    IServer* Server() const { return m_server; }

    // The order in which Dispatch visits the buckets.
    static const std::array<char, 11>& DispatchOrder();
    void Dispatch(KXChangeHooks& hooks) const;

private:
    static int BucketOf(char objectType);
    void Add(IChange* change);

    std::array<std::vector<IChange*>, 11> m_buckets;
    std::size_t m_count = 0;
    IDesign* m_design = nullptr;
    IServer* m_server = nullptr;
};
