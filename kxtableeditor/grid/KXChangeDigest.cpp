#include "grid/KXChangeDigest.h"

#include <algorithm>

namespace {

// Instances first (a replaced master rebuilds rows the later hooks then refresh), components and
// terms after the connections they sit on.
constexpr std::array<char, 11> kOrder = {
    rmx::ObjType::Instance, rmx::ObjType::Property, rmx::ObjType::Alias,     rmx::ObjType::PairConn,
    rmx::ObjType::Conn,     rmx::ObjType::PairPin,  rmx::ObjType::PairNet,   rmx::ObjType::Component,
    rmx::ObjType::Term,     rmx::ObjType::Net,      rmx::ObjType::Design,
};

template <class T, class Hook> void Call(IChange* change, KXChangeHooks& hooks, Hook hook) {
    if (auto* object = dynamic_cast<T*>(change->object())) (hooks.*hook)(*change, *object);
}

} // namespace

KXChangeDigest::KXChangeDigest(const CTransaction& transaction)
    : m_design(transaction.design()), m_server(transaction.server()) {
    for (IChange* change : transaction.beginChange())
        Add(change);
}

KXChangeDigest::KXChangeDigest(const std::vector<IChange*>& changes, IDesign* design, IServer* server)
    : m_design(design), m_server(server) {
    for (IChange* change : changes)
        Add(change);
}

int KXChangeDigest::BucketOf(char objectType) {
    const auto it = std::find(kOrder.begin(), kOrder.end(), objectType);
    return it == kOrder.end() ? -1 : static_cast<int>(it - kOrder.begin());
}

void KXChangeDigest::Add(IChange* change) {
    if (!change) return;
    const int bucket = BucketOf(change->objectType());
    if (bucket < 0) return;
    m_buckets[static_cast<std::size_t>(bucket)].push_back(change);
    ++m_count;
}

const std::vector<IChange*>& KXChangeDigest::Of(char objectType) const {
    static const std::vector<IChange*> none;
    const int bucket = BucketOf(objectType);
    return bucket < 0 ? none : m_buckets[static_cast<std::size_t>(bucket)];
}

bool KXChangeDigest::TouchesAny(std::initializer_list<char> objectTypes) const {
    return std::any_of(objectTypes.begin(), objectTypes.end(), [this](char t) { return Touches(t); });
}

const std::array<char, 11>& KXChangeDigest::DispatchOrder() {
    return kOrder;
}

void KXChangeDigest::Dispatch(KXChangeHooks& hooks) const {
    hooks.OnDigestBegin(*this);
    for (std::size_t b = 0; b < kOrder.size(); ++b) {
        for (IChange* change : m_buckets[b]) {
            switch (kOrder[b]) {
            case rmx::ObjType::Instance: Call<IInstance>(change, hooks, &KXChangeHooks::OnInstanceChange); break;
            case rmx::ObjType::Property:
                Call<CPropertyChange>(change, hooks, &KXChangeHooks::OnPropertyChange);
                break;
            case rmx::ObjType::Alias: Call<CAlias>(change, hooks, &KXChangeHooks::OnAliasChange); break;
            case rmx::ObjType::PairConn: Call<IDPConn>(change, hooks, &KXChangeHooks::OnPairConnChange); break;
            case rmx::ObjType::Conn: Call<CConn>(change, hooks, &KXChangeHooks::OnConnChange); break;
            case rmx::ObjType::PairPin: Call<IDPInstTerm>(change, hooks, &KXChangeHooks::OnPairPinChange); break;
            case rmx::ObjType::PairNet: Call<IDPNet>(change, hooks, &KXChangeHooks::OnPairNetChange); break;
            case rmx::ObjType::Component:
                Call<IDTInstance>(change, hooks, &KXChangeHooks::OnComponentChange);
                break;
            case rmx::ObjType::Term: Call<ITerm>(change, hooks, &KXChangeHooks::OnTermChange); break;
            case rmx::ObjType::Net: Call<INet>(change, hooks, &KXChangeHooks::OnNetChange); break;
            case rmx::ObjType::Design: Call<IDesign>(change, hooks, &KXChangeHooks::OnDesignChange); break;
            default: break;
            }
        }
    }
    hooks.OnDigestEnd(*this);
}
