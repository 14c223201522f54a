// The primitive edits: each applies one Op forward, checks first and changes nothing when it is
// refused. Backward application is forward application of the inverted Op.
#include <cstdarg>

#include "apply_steps.h"

namespace rmx {

using namespace applystep;

std::string fmt(const char* f, ...) {
    va_list ap;
    va_start(ap, f);
    char buf[512];
    vsnprintf(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

std::string bitName(const std::string& name, int bit) { return bit < 0 ? name : name + "<" + std::to_string(bit) + ">"; }

IDesign* Db::findDesign(const std::string& name) const {
    auto it = m_designs.find(name);
    return it == m_designs.end() ? nullptr : it->second.get();
}

const PartDefn* Db::findPart(const std::string& name) const {
    auto it = m_parts.find(name);
    return it == m_parts.end() ? nullptr : it->second.get();
}


void Db::addChange(TxState* rec, char type, int kind, ISchemaObject* obj, IDesign* d) {
    if (!rec) return;
    auto c = std::make_unique<IChange>();
    m_type(c.get()) = type;
    m_kind(c.get()) = kind;
    m_object(c.get()) = obj;
    m_design(c.get()) = d;
    c->m_serial = newChangeSerial();
    rec->changes.push_back(std::move(c));
}

void Db::addRenameChange(TxState* rec, char type, ISchemaObject* obj, IDesign* d,
                         const std::string& previous) {
    addChange(rec, type, 3, obj, d);
    if (rec) rec->changes.back()->m_previousName = previous;
}

void Db::addConnChange(TxState* rec, int kind, const CConn& conn, const CConn* removed, const CConn* added) {
    if (!rec) return;
    auto keep = [&](const CConn* c) -> CConn* {
        if (!c) return nullptr;
        auto o = std::make_unique<CConn>(*c);
        CConn* raw = o.get();
        rec->records.push_back(std::move(o));
        return raw;
    };
    CConn* obj = keep(&conn);
    auto c = std::make_unique<IChange>();
    m_type(c.get()) = 'C';
    m_kind(c.get()) = kind;
    m_object(c.get()) = obj;
    m_design(c.get()) = conn.design();
    m_removed(c.get())[0] = keep(removed);
    m_added(c.get())[0] = keep(added);
    c->m_serial = newChangeSerial();
    rec->changes.push_back(std::move(c));
}

void Db::noteInstanceChange(const Op& op) {
    switch (op.code) {
    case OpCode::InstCreate:
    case OpCode::InstDelete:
    case OpCode::InstRename:
    case OpCode::InstMaster:
        ++m_instanceGen;
        break;
    case OpCode::Prop:
        if (op.s2 == "LOCATION") ++m_instanceGen;
        break;
    default:
        break;
    }
}

void Db::noteDesignatorChange(const Op& op) {
    bool changes = false;
    switch (op.code) {
    case OpCode::InstCreate:
    case OpCode::InstDelete:
    case OpCode::InstMaster:
    case OpCode::DTCreate:
    case OpCode::DTDelete:
        changes = true;
        break;
    case OpCode::Prop: {
        const std::string& name = op.s2;
        const std::string slotSuffix = ".REFDES";
        changes = name == "LOCATION" || name == "SLOT_COUNT" ||
                  (name.size() > slotSuffix.size() &&
                   name.compare(name.size() - slotSuffix.size(), slotSuffix.size(), slotSuffix) == 0);
        break;
    }
    default:
        break;
    }
    if (changes) m_designatorGen = newTxGeneration();
}

void Db::noteApplied(const Op& op, bool ok) {
    if (ok) {
        notePhysChange(op);
        noteInstanceChange(op);
        noteDesignatorChange(op);
    } else {  // whatever an edit that failed half-way left
        ++m_physGen;
        ++m_instanceGen;
        m_designatorGen = newTxGeneration();
    }
}

bool Db::apply(Op& op, bool inverse, TxState* rec, std::string& why) {
    ++m_gen;  // cached views are stale from the first pending change on; the physical ones by the edit
    if (inverse) {
        Op inv = invertOp(op);
        const bool ok = applyImpl(inv, rec, why);
        noteApplied(inv, ok);
        return ok;
    }
    const bool ok = applyImpl(op, rec, why);
    noteApplied(op, ok);
    return ok;
}

std::string Db::attachPathOf(const IDTInstance* dt) {
    switch (dt->attachKind()) {
    case IDTInstance::eOnInstTermBit: return pathOf(dt->instTermBit().instterm(), dt->instTermBit().bit());
    case IDTInstance::eOnNetBit: return pathOf(dt->netBit().net(), dt->netBit().bit());
    // A component on one member of a vector pair pin is named by its lane ("...%Q<3>").
    case IDTInstance::eOnDPConn:
        return dt->dpConn() ? bitName(pathOf(dt->dpConn()->dpInstTerm(), -1), dt->dpConnLane()) : "";
    case IDTInstance::eOnDPInstTerm: return dt->dpInstTerm() ? pathOf(dt->dpInstTerm(), -1) : "";
    default: return "";
    }
}


Op invertOp(const Op& op) {
    Op r = op;
    auto swapOld = [&]() {
        std::swap(r.hadOld, r.hasNew);
        std::swap(r.oldP, r.newP);
    };
    switch (op.code) {
    case OpCode::NetCreate: r.code = OpCode::NetDelete; break;
    case OpCode::NetDelete: r.code = OpCode::NetCreate; break;
    case OpCode::NetRename: std::swap(r.s1, r.s2); break;
    case OpCode::NetWidth:
        std::swap(r.n[0], r.n[2]);
        std::swap(r.n[1], r.n[3]);
        break;
    case OpCode::AliasAdd: r.code = OpCode::AliasDel; break;
    case OpCode::AliasDel: r.code = OpCode::AliasAdd; break;
    case OpCode::Conn: r.code = OpCode::Disconn; break;
    case OpCode::Disconn: r.code = OpCode::Conn; break;
    case OpCode::Move:
        std::swap(r.s1, r.s4);
        std::swap(r.n[1], r.n[2]);
        break;
    case OpCode::Prop: swapOld(); break;
    case OpCode::InstCreate: r.code = OpCode::InstDelete; break;
    case OpCode::InstDelete: r.code = OpCode::InstCreate; break;
    case OpCode::InstRename: std::swap(r.s1, r.s2); break;
    case OpCode::InstMaster: std::swap(r.s2, r.s3); break;
    case OpCode::PinCreate: r.code = OpCode::PinDelete; break;
    case OpCode::PinDelete: r.code = OpCode::PinCreate; break;
    case OpCode::PinRename: std::swap(r.s2, r.s3); break;
    case OpCode::PinType:
    case OpCode::PinWidth:
    case OpCode::PortWidth:
        std::swap(r.n[0], r.n[2]);
        std::swap(r.n[1], r.n[3]);
        break;
    case OpCode::PowerPin:
        std::swap(r.s3, r.s4);
        std::swap(r.hadOld, r.hasNew);
        break;
    case OpCode::DPNetCreate: r.code = OpCode::DPNetDelete; break;
    case OpCode::DPNetDelete: r.code = OpCode::DPNetCreate; break;
    case OpCode::DPNetRename: std::swap(r.s1, r.s2); break;
    case OpCode::DPPinCreate: r.code = OpCode::DPPinDelete; break;
    case OpCode::DPPinDelete: r.code = OpCode::DPPinCreate; break;
    case OpCode::DPConnAdd: r.code = OpCode::DPConnDel; break;
    case OpCode::DPConnDel: r.code = OpCode::DPConnAdd; break;
    case OpCode::DTCreate: r.code = OpCode::DTDelete; break;
    case OpCode::DTDelete: r.code = OpCode::DTCreate; break;
    case OpCode::DTType: std::swap(r.s2, r.s3); break;
    case OpCode::DTAttach:
        std::swap(r.n[0], r.n[1]);
        std::swap(r.s2, r.s3);
        break;
    }
    return r;
}

bool Db::applyImpl(Op& op, TxState* rec, std::string& why) {
    IDesign* d = designOf(*this, op, why);
    if (!d) return false;
    switch (op.code) {
    case OpCode::NetCreate: return applyNetCreate(op, d, rec, why);
    case OpCode::NetDelete: return applyNetDelete(op, d, rec, why);
    case OpCode::NetRename: return applyNetRename(op, d, rec, why);
    case OpCode::NetWidth: return applyNetWidth(op, d, rec, why);
    case OpCode::AliasAdd: return applyAliasAdd(op, d, rec, why);
    case OpCode::AliasDel: return applyAliasDel(op, d, rec, why);
    case OpCode::Conn:
    case OpCode::Disconn: return applyConn(op, d, rec, why);
    case OpCode::Move: return applyMove(op, d, rec, why);
    case OpCode::Prop: return applyProp(op, d, rec, why);
    case OpCode::InstCreate: return applyInstCreate(op, d, rec, why);
    case OpCode::InstDelete: return applyInstDelete(op, d, rec, why);
    case OpCode::InstRename: return applyInstRename(op, d, rec, why);
    case OpCode::InstMaster: return applyInstMaster(op, d, rec, why);
    case OpCode::PinCreate: return applyPinCreate(op, d, rec, why);
    case OpCode::PinDelete: return applyPinDelete(op, d, rec, why);
    case OpCode::PinRename: return applyPinRename(op, d, rec, why);
    case OpCode::PinType: return applyPinType(op, d, rec, why);
    case OpCode::PinWidth: return applyPinWidth(op, d, rec, why);
    case OpCode::PortWidth: return applyPortWidth(op, d, rec, why);
    case OpCode::PowerPin: return applyPowerPin(op, d, rec, why);
    case OpCode::DPNetCreate: return applyDPNetCreate(op, d, rec, why);
    case OpCode::DPNetDelete: return applyDPNetDelete(op, d, rec, why);
    case OpCode::DPNetRename: return applyDPNetRename(op, d, rec, why);
    case OpCode::DPPinCreate: return applyDPPinCreate(op, d, rec, why);
    case OpCode::DPPinDelete: return applyDPPinDelete(op, d, rec, why);
    case OpCode::DPConnAdd:
    case OpCode::DPConnDel: return applyDPConn(op, d, rec, why);
    case OpCode::DTCreate: return applyDTCreate(op, d, rec, why);
    case OpCode::DTDelete: return applyDTDelete(op, d, rec, why);
    case OpCode::DTType: return applyDTType(op, d, rec, why);
    case OpCode::DTAttach: return applyDTAttach(op, d, rec, why);
    }
    why = "unknown change";
    return false;
}

}  // namespace rmx
