// The design look-ups of CKXGenUtils.
#include "kxcommon/KXGenUtils.h"

#include "rmx/context.h"
#include "rmx/packaging.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"

#include <algorithm>
#include <memory>
#include <strings.h>

namespace {

// A property's value, "" when absent; the record is released here.
CString PropValue(CPQPropertyData* data) {
    std::unique_ptr<CPQPropertyData> owned(data);
    return owned ? CString(owned->value()) : CString();
}

CString RangeName(const char* name, int msb, int lsb) {
    if (msb < 0 && lsb < 0) return CString(name);
    return CSchemaUtilities::vectorName(name, msb, lsb);
}

} // namespace

CString CKXGenUtils::GetPinType(const IInstTerm* pin) {
    if (!pin) return CString();
    switch (pin->termType()) {
    case ITerm::eTermInput:
        return "Input";
    case ITerm::eTermOutput:
        return "Output";
    case ITerm::eTermBidirectional:
        return "Bidirectional";
    case ITerm::eTermInout:
        return "In/Out";
    case ITerm::eTermPower:
        return "Power";
    case ITerm::eTermGround:
        return "Ground";
    default:
        return CString();
    }
}

CString CKXGenUtils::GetPinType(const CInstTermContext& pin) {
    return GetPinType(pin.instTerm());
}

CString CKXGenUtils::GetLocationProp(const IInstance* instance) {
    return instance ? PropValue(instance->findProperty("LOCATION")) : CString();
}

CString CKXGenUtils::GetLocationProp(const CInstanceContext& instance) {
    return instance ? PropValue(instance.findProperty("LOCATION")) : CString();
}

CString CKXGenUtils::GetPNProp(const CInstTermContext& pin, int first, int second) {
    const IInstTerm* term = pin.instTerm();
    if (!term) return CString();
    if (term->isScalar()) return pin.bitContext(-1).physicalPinName();
    int hi, lo;
    if (first < 0 && second < 0) {
        hi = std::max(term->msb(), term->lsb());
        lo = std::min(term->msb(), term->lsb());
    } else {
        hi = std::max(first, second);
        lo = std::min(first, second);
        if (lo < 0) lo = hi;
    }
    std::string out;
    for (int b = hi; b >= lo; --b) {
        if (!term->hasBit(b)) continue;
        CString pn = pin.bitContext(b).physicalPinName();
        if (pn.IsEmpty()) continue;
        if (!out.empty()) out += ",";
        out += pn.str();
    }
    return CString(out);
}

CString CKXGenUtils::GetPNProp(const CInstTermContext& pin, int bit) {
    return GetPNProp(pin, bit, bit);
}

CString CKXGenUtils::GetPinNumber(const CInstTermBitContext& bit) {
    return bit ? bit.physicalPinName() : CString();
}

CString CKXGenUtils::GetPinLogicalName(const CInstTermBitContext& bit) {
    const IInstTerm* term = bit.instTerm();
    if (!term) return CString();
    if (term->isScalar() || bit.bit() < 0) return CString(term->name());
    return CSchemaUtilities::vectorName(term->name(), bit.bit());
}

CString CKXGenUtils::GetDiffPairName(const IDPInstTerm* pair) {
    return pair ? RangeName(pair->name(), pair->msb(), pair->lsb()) : CString();
}

CString CKXGenUtils::GetDiffPairName(const IDPNet* pair) {
    return pair ? RangeName(pair->name(), pair->msb(), pair->lsb()) : CString();
}

CString CKXGenUtils::GetBusName(const CNetContext& net) {
    const INet* n = net.net();
    if (!n) return CString();
    CString bus = PropValue(n->findProperty("BUS_NAME"));
    return bus.IsEmpty() ? RangeName(n->name(), n->msb(), n->lsb()) : bus;
}

BOOL CKXGenUtils::IsCodesign(const IInstance* instance) {
    if (!instance) return FALSE;
    CString v = PropValue(instance->findProperty("CODESIGN"));
    v.Trim();
    return v.CompareNoCase("TRUE") == 0 || v.CompareNoCase("YES") == 0 || v == "1";
}

BOOL CKXGenUtils::IsCodesign(const CInstanceContext& instance) {
    return IsCodesign(instance.instance());
}

IPhysPartDefn* CKXGenUtils::GetPhysPartDefn(const CInstanceContext& instance) {
    if (!instance) return nullptr;
    CDesignContext design = instance.design();
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&design, &instance));
    if (!part) return nullptr;
    return part->partDefn();
}

int CKXGenUtils::GetImplicitPins(const IPhysPartDefn* defn, CKXImplicitPinMap& map) {
    if (!defn) return 0;
    int count = 0;
    for (const auto& p : defn->implicitPowerPins()) {
        CKXImplicitPinArray*& list = map[p.pinName];
        if (!list) list = new CKXImplicitPinArray();
        const char* kind = p.netName.IsEmpty() ? "NC" : "Power";
        list->Add(new CImplicitPin(p.pinName, p.pinNumber, p.netName, kind));
        ++count;
    }
    return count;
}

void CKXGenUtils::FreeImplicitPins(CKXImplicitPinMap& map) {
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString name;
        CKXImplicitPinArray* list = nullptr;
        map.GetNextAssoc(pos, name, list);
        if (!list) continue;
        for (INT_PTR i = 0; i < list->GetSize(); ++i)
            delete list->GetAt(i);
        delete list;
    }
    map.RemoveAll();
}

int CKXGenUtils::GetConnectedPowerPins(const CDesignContext* design, const INet* net, int lsb, int msb,
                                       std::vector<CString>* pinNames) {
    if (!design || !*design || !net) return 0;
    AdjustLsbMsb(lsb, msb);
    // The names a power pin may be tied to: the net itself, or each of the asked bits.
    std::vector<CString> names;
    if (net->isScalar() || lsb < 0) {
        names.emplace_back(net->name());
    } else {
        for (int b = lsb; b <= msb; ++b)
            if (net->hasBit(b)) names.push_back(CSchemaUtilities::vectorName(net->name(), b));
    }
    int count = 0;
    for (const CInstanceContext& inst : design->instances()) {
        const IInstance* i = inst.instance();
        if (!i) continue;
        for (const auto& p : i->implicitPowerPins()) {
            if (std::find(names.begin(), names.end(), p.netName) == names.end()) continue;
            ++count;
            if (pinNames) pinNames->push_back(CString(i->name()) + "." + p.pinName);
        }
    }
    return count;
}

INet* CKXGenUtils::GetNetFromPNN(const CDesignContext& design, const CString& signal, int& bit) {
    if (!design) return nullptr;
    CString base;
    int lsb = -1, msb = -1;
    if (ParseSignalName(signal, base, lsb, msb)) {
        CNetContext net = design.net(base.GetString());
        if (net && (msb < 0 || net.net()->hasBit(msb))) {
            bit = msb;
            return net.net();
        }
    }
    // A physical net name: the net bit whose "PHYS_NET_NAME" it is.
    for (const CNetContext& net : design.nets()) {
        const INet* n = net.net();
        if (!n) continue;
        for (int b : n->bits()) {
            if (net.bitContext(b).physicalNetName() == signal) {
                bit = b;
                return net.net();
            }
        }
    }
    return nullptr;
}

CString CKXGenUtils::GetPowerSigLogicalName(const CDesignContext& design, const CString& signal) {
    int bit = -1;
    INet* net = GetNetFromPNN(design, signal, bit);
    if (!net) return signal;
    return bit < 0 ? CString(net->name()) : CSchemaUtilities::vectorName(net->name(), bit);
}

CString CKXGenUtils::GetPowerSigPhysicalName(const CDesignContext& design, const CString& signal) {
    int bit = -1;
    INet* net = GetNetFromPNN(design, signal, bit);
    if (!net) return signal;
    CString phys = design.net(net).bitContext(bit).physicalNetName();
    return phys.IsEmpty() ? signal : phys;
}

BOOL CKXGenUtils::GetDefaultPinSignalModel(CStringList& candidates, const CInstTermBitContext& pin) {
    candidates.RemoveAll();
    if (!pin) return FALSE;
    std::unique_ptr<IPhysPartDefn> defn(GetPhysPartDefn(pin.instance()));
    if (!defn) return FALSE;
    for (const auto& m : defn->signalModels())
        candidates.AddTail(m);
    return candidates.IsEmpty() ? FALSE : TRUE;
}

CString CKXGenUtils::GetPinSignalModel(const CInstTermBitContext& pin) {
    if (!pin) return CString();
    CString own = PropValue(pin.findProperty("PIN_SIGNAL_MODEL"));
    if (!own.IsEmpty()) return own;
    return GetPinSignalModel(pin.instTerm());
}

CString CKXGenUtils::GetPinSignalModel(const IInstTerm* pin) {
    return pin ? PropValue(pin->findProperty("PIN_SIGNAL_MODEL")) : CString();
}

CDesignContext CKXGenUtils::GetTopMostParent(const CDesignContext& design) {
    CDesignContext top = design;
    // A hierarchy is finite, but guard against a damaged one all the same.
    for (int depth = 0; depth < 1000; ++depth) {
        CInstanceContext parent = top.parent();
        if (!parent) break;
        CDesignContext up = parent.design();
        if (!up) break;
        top = up;
    }
    return top;
}

BOOL CKXGenUtils::CanSwapConnections(const CDesignContext& design, const IInstTerm* pinA, int bitA,
                                     const IInstTerm* pinB, int bitB) {
    if (!design || !pinA || !pinB) return FALSE;
    if (pinA == pinB && bitA == bitB) return FALSE;
    if (pinA->instance() != pinB->instance()) return FALSE;
    IServer* server = design.server();
    if (!server) return FALSE;
    CInstanceContext inst = design.instance(pinA->instance());
    CString pnA = inst.instTerm(pinA).bitContext(bitA).physicalPinName();
    CString pnB = inst.instTerm(pinB).bitContext(bitB).physicalPinName();
    if (pnA.IsEmpty() || pnB.IsEmpty()) return FALSE;
    return server->pinSwapService()->canSwap(inst, pnA, pnB) ? TRUE : FALSE;
}
