// DesignBuilder and the synthetic design generator.
#include <algorithm>

#include "db.h"

namespace rmx {

namespace {
bool splitBits(const std::string& text, std::string& base, int& msb, int& lsb) {
    CString b;
    int l, m, kind;
    if (!CSchemaUtilities::parsePinName(text.c_str(), b, l, m, kind)) return false;
    base = b.str();
    msb = m;
    lsb = l;
    return true;
}
}  // namespace

DesignBuilder::DesignBuilder(IServer* server, std::string lib, std::string folder)
    : m_server(server), m_lib(std::move(lib)), m_folder(std::move(folder)) {}

void DesignBuilder::fail(const std::string& what) {
    if (m_error.empty()) m_error = what;
}

bool DesignBuilder::inSchematic(const char* call) {
    if (m_design) return true;
    fail(std::string(call) + ": no schematic");
    return false;
}

IDesign* DesignBuilder::design() const { return m_design; }
CDesignContext DesignBuilder::context() const { return CDesignContext(m_server, m_design); }

DesignBuilder& DesignBuilder::symbol(const std::string& cell) {
    m_symbol = m_server->findDesign(m_lib.c_str(), cell.c_str(), "sym");
    if (!m_symbol) m_symbol = m_server->createDesign(m_lib.c_str(), cell.c_str(), "sym", true, m_folder.c_str());
    if (!m_symbol) fail("symbol " + cell + ": cannot be made");
    m_partName = cell;
    return *this;
}

DesignBuilder& DesignBuilder::port(const std::string& name, int direction, ITerm::ITermType type) {
    return bus(name, -1, -1, direction, type);
}

DesignBuilder& DesignBuilder::bus(const std::string& name, int msb, int lsb, int direction, ITerm::ITermType type) {
    IDesign* d = m_symbol;
    if (!d) {
        fail("port " + name + ": no symbol");
        return *this;
    }
    if (!CSchemaUtilities::isValidName(name.c_str()) || !Db::addPort(d, name, msb, lsb, direction, type))
        fail("port " + name + ": invalid or taken");
    Db::snapshotInterface(d);
    return *this;
}

DesignBuilder& DesignBuilder::symbolProp(const std::string& name, const std::string& value) {
    if (!m_symbol) return fail("symbolProp: no symbol"), *this;
    CTransaction t(CDesignContext(m_server, m_symbol));
    if (!t.addProperty(CDesignContext(m_server, m_symbol), name.c_str(), value.c_str()) || !t.commit())
        fail("symbolProp " + name + ": " + t.lastError().str());
    if (name == "PART_NAME") m_partName = value;
    return *this;
}

DesignBuilder& DesignBuilder::symbolPair(const std::string& name, const std::string& pos, const std::string& neg) {
    if (!m_symbol) return fail("symbolPair: no symbol"), *this;
    m_server->db()->symbolPairs()[m_symbol].push_back({name, pos, neg});
    return *this;
}

DesignBuilder& DesignBuilder::partDefinition(const std::string& name) {
    auto& parts = m_server->db()->parts();
    if (!parts.count(name)) {
        auto p = std::make_unique<PartDefn>();
        p->name = name;
        p->lib = m_lib;
        p->dir = m_folder;
        parts[name] = std::move(p);
    }
    m_partName = name;
    return *this;
}

DesignBuilder& DesignBuilder::packagePin(const std::string& number, const std::string& logical,
                                         const std::string& section, ITerm::ITermType type, int swapGroup) {
    if (m_partName.empty()) return fail("packagePin: no part"), *this;
    partDefinition(m_partName);
    PartDefn* p = m_server->db()->parts()[m_partName].get();
    if (p->byNumber.count(number)) return fail("packagePin " + number + ": twice"), *this;
    if (!section.empty() && std::find(p->sections.begin(), p->sections.end(), section) == p->sections.end())
        p->sections.push_back(section);
    PartPin pin;
    pin.defn = p;
    pin.number = intern(number);
    pin.logical = intern(logical);
    pin.section = section.empty() ? nullptr : intern(section);
    pin.type = type;
    pin.swapGroup = swapGroup;
    p->byNumber[number] = static_cast<int>(p->pins.size());
    p->pins.push_back(pin);
    return *this;
}

DesignBuilder& DesignBuilder::signalModel(const std::string& name) {
    if (m_partName.empty()) return fail("signalModel: no part"), *this;
    partDefinition(m_partName);
    m_server->db()->parts()[m_partName]->models.push_back(name);
    return *this;
}

DesignBuilder& DesignBuilder::powerPin(const std::string& number, const std::string& name, const std::string& net,
                                       bool ground) {
    if (m_partName.empty()) return fail("powerPin: no part"), *this;
    partDefinition(m_partName);
    m_server->db()->parts()[m_partName]->power.push_back({number, name, net, ground});
    return *this;
}

DesignBuilder& DesignBuilder::schematic(const std::string& cell, const std::string& view) {
    m_design = m_server->findDesign(m_lib.c_str(), cell.c_str(), view.c_str());
    if (!m_design) m_design = m_server->createDesign(m_lib.c_str(), cell.c_str(), view.c_str(), false, m_folder.c_str());
    if (!m_design) fail("schematic " + cell + ": cannot be made");
    m_symbol = nullptr;
    return *this;
}

DesignBuilder& DesignBuilder::schematicPort(const std::string& name, int msb, int lsb, int direction) {
    if (!inSchematic("schematicPort")) return *this;
    if (!Db::addPort(m_design, name, msb, lsb, direction, -1)) return fail("schematicPort " + name + ": taken"), *this;
    Db::snapshotInterface(m_design);
    if (!m_design->findNet(name.c_str())) net(name, msb, lsb);
    return *this;
}

DesignBuilder& DesignBuilder::instance(const std::string& name, const std::string& cell, const std::string& refdes,
                                       const std::string& view) {
    if (!inSchematic("instance")) return *this;
    CTransaction t(context());
    IInstance* i = t.createInstance(name.c_str(), m_lib.c_str(), cell.c_str(), view.c_str());
    if (i && !refdes.empty()) t.addProperty(i, -1, "LOCATION", refdes.c_str(), 0);
    if (!i || !t.commit()) fail("instance " + name + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::net(const std::string& name, int msb, int lsb) {
    if (!inSchematic("net")) return *this;
    CTransaction t(context());
    if (!t.createNet(name.c_str(), static_cast<unsigned>(msb), static_cast<unsigned>(lsb)) || !t.commit())
        fail("net " + name + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::connect(const std::string& inst, const std::string& pin, const std::string& netText) {
    if (!inSchematic("connect")) return *this;
    IInstance* i = m_design->findInstance(inst.c_str());
    std::string pb, nb;
    int pm, pl, nm, nl;
    if (!i || !splitBits(pin, pb, pm, pl) || !splitBits(netText, nb, nm, nl))
        return fail("connect " + inst + " " + pin + " " + netText + ": bad names"), *this;
    IInstTerm* p = i->findInstTerm(pb.c_str());
    if (!p) return fail("connect: no pin " + inst + "." + pb), *this;
    CTransaction t(context());
    INet* n = m_design->findNet(nb.c_str());
    if (!n) {
        int hi = std::max(nm, nl), lo = std::min(nm, nl);
        if (nm < 0 && !p->isScalar() && pm < 0) {
            hi = std::max(p->msb(), p->lsb());
            lo = std::min(p->msb(), p->lsb());
        }
        n = t.createNet(nb.c_str(), static_cast<unsigned>(hi), static_cast<unsigned>(lo));
    }
    if (!n || !t.addConn(n, static_cast<unsigned>(nm), static_cast<unsigned>(nl), p, static_cast<unsigned>(pm),
                         static_cast<unsigned>(pl)) ||
        !t.commit())
        fail("connect " + inst + " " + pin + " " + netText + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::prop(const std::string& path, const std::string& name, const std::string& value,
                                   unsigned long flags) {
    if (!inSchematic("prop")) return *this;
    CTransaction t(context());
    if (!t.addProperty(kindNone, path.c_str(), name.c_str(), value.c_str(), flags) || !t.commit())
        fail("prop " + path + " " + name + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::pinNumber(const std::string& inst, const std::string& pinBit, const std::string& number,
                                        const std::string& section) {
    prop("@" + inst + "." + pinBit, "PN", number);
    if (!section.empty()) prop("@" + inst + "." + pinBit, "SEC", section);
    return *this;
}

DesignBuilder& DesignBuilder::alias(const std::string& a, const std::string& b) {
    if (!inSchematic("alias")) return *this;
    CTransaction t(context());
    if (!t.addAlias(m_design->findNet(a.c_str()), m_design->findNet(b.c_str())) || !t.commit())
        fail("alias " + a + " " + b + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::dpNet(const std::string& name, const std::string& pos, const std::string& neg) {
    if (!inSchematic("dpNet")) return *this;
    std::string pb, nb;
    int pm, pl, nm, nl;
    if (!splitBits(pos, pb, pm, pl) || !splitBits(neg, nb, nm, nl)) return fail("dpNet " + name + ": bad legs"), *this;
    CTransaction t(context());
    if (!t.createDPNet(name.c_str(), m_design->findNet(pb.c_str()), pm, IDPNet::ePositive,
                       m_design->findNet(nb.c_str()), nm, IDPNet::eNegative) ||
        !t.commit())
        fail("dpNet " + name + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::dpPin(const std::string& inst, const std::string& name, const std::string& pos,
                                    const std::string& neg) {
    if (!inSchematic("dpPin")) return *this;
    IInstance* i = m_design->findInstance(inst.c_str());
    std::string pb, nb;
    int pm, pl, nm, nl;
    if (!i || !splitBits(pos, pb, pm, pl) || !splitBits(neg, nb, nm, nl)) return fail("dpPin " + name + ": bad legs"), *this;
    CTransaction t(context());
    if (!t.createDPInstTerm(i, name.c_str(), i->findInstTerm(pb.c_str()), pm, i->findInstTerm(nb.c_str()), nm) ||
        !t.commit())
        fail("dpPin " + name + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::dpConnect(const std::string& inst, const std::string& pairPin, const std::string& pairNet) {
    if (!inSchematic("dpConnect")) return *this;
    IInstance* i = m_design->findInstance(inst.c_str());
    IDPInstTerm* pp = i ? i->findDPInstTerm(pairPin.c_str()) : nullptr;
    IDPNet* dp = m_design->findDPNet(pairNet.c_str());
    if (!pp || !dp) return fail("dpConnect " + inst + "%" + pairPin + " " + pairNet + ": not found"), *this;
    CTransaction t(context());
    if (!t.addDPConn(dp, dp->msb(), dp->lsb(), pp, pp->msb(), pp->lsb()) || !t.commit())
        fail("dpConnect: " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::termination(const std::string& name, const std::string& type, const std::string& inst,
                                          const std::string& pinBit) {
    if (!inSchematic("termination")) return *this;
    IInstance* i = m_design->findInstance(inst.c_str());
    std::string pb;
    int pm, pl;
    IInstTerm* p = (i && splitBits(pinBit, pb, pm, pl)) ? i->findInstTerm(pb.c_str()) : nullptr;
    if (!p) return fail("termination " + name + ": no pin " + inst + "." + pinBit), *this;
    CTransaction t(context());
    if (!t.createDTInstance(IDTInstance::eTermination, type.c_str(), name.c_str(), CInstTermBit(p, pm)) || !t.commit())
        fail("termination " + name + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::pairTermination(const std::string& name, const std::string& type, const std::string& inst,
                                              const std::string& pairPin) {
    if (!inSchematic("pairTermination")) return *this;
    IInstance* i = m_design->findInstance(inst.c_str());
    IDPInstTerm* pp = i ? i->findDPInstTerm(pairPin.c_str()) : nullptr;
    if (!pp || !pp->dpConn()) return fail("pairTermination " + name + ": no pair connection"), *this;
    CTransaction t(context());
    if (!t.createDTInstance(IDTInstance::eTermination, type.c_str(), name.c_str(), pp->dpConn()) || !t.commit())
        fail("pairTermination " + name + ": " + t.lastError().str());
    return *this;
}

DesignBuilder& DesignBuilder::pull(const std::string& name, const std::string& type, const std::string& netBit) {
    if (!inSchematic("pull")) return *this;
    std::string nb;
    int nm, nl;
    INet* n = splitBits(netBit, nb, nm, nl) ? m_design->findNet(nb.c_str()) : nullptr;
    if (!n) return fail("pull " + name + ": no net " + netBit), *this;
    CTransaction t(context());
    if (!t.createDTInstance(IDTInstance::ePullUpDown, type.c_str(), name.c_str(), CNetBit(n, nm)) || !t.commit())
        fail("pull " + name + ": " + t.lastError().str());
    return *this;
}

// ------------------------------------------------------------------------------------------------

IDesign* generateSyntheticDesign(IServer* server, int fpgaPins, int extraConnections) {
    if (!server || fpgaPins < 64) return nullptr;
    DesignBuilder b(server, "bench");
    std::string cell = "FPGA" + std::to_string(fpgaPins);
    const int powerEvery = 16, pairEvery = 8;  // of each 16 pins: 1 power pin, 2 pair legs, 13 bus bits
    int groups = fpgaPins / powerEvery;
    int busWords = (groups * 13 + 31) / 32;
    b.symbol(cell).symbolProp("PART_NAME", cell);
    for (int w = 0; w < busWords; ++w) b.bus("B" + std::to_string(w), 31, 0, ITerm::eDirInout, ITerm::eTermInout);
    for (int g = 0; g < groups; ++g) {
        b.port("P" + std::to_string(g), ITerm::eDirOutput, ITerm::eTermOutput);
        b.port("N" + std::to_string(g), ITerm::eDirOutput, ITerm::eTermOutput);
        if (g % pairEvery == 0)
            b.symbolPair("D" + std::to_string(g), "P" + std::to_string(g), "N" + std::to_string(g));
    }
    b.partDefinition(cell);
    int number = 1, bitNo = 0;
    for (int g = 0; g < groups; ++g) {
        std::string sec = "S" + std::to_string(g % 8);
        b.powerPin("V" + std::to_string(g), g % 2 ? "GND" : "VCC", g % 2 ? "GND" : "VCC", g % 2 == 1);
        b.packagePin(std::to_string(number++), "P" + std::to_string(g), sec, ITerm::eTermOutput, 1);
        b.packagePin(std::to_string(number++), "N" + std::to_string(g), sec, ITerm::eTermOutput, 1);
        for (int k = 0; k < 13; ++k, ++bitNo)
            b.packagePin(std::to_string(number++), bitName("B" + std::to_string(bitNo / 32), 31 - bitNo % 32), sec,
                         ITerm::eTermInout, 2);
    }
    b.schematic("top");
    b.instance("U1", cell, "U1");
    IDesign* d = b.design();
    if (!d || !b.ok()) return nullptr;
    IInstance* u1 = d->findInstance("U1");
    // Pin numbers and one net per signal pin bit, in one transaction.
    CTransaction t(b.context());
    number = 1;
    bitNo = 0;
    for (int g = 0; g < groups; ++g) {
        for (const char* leg : {"P", "N"}) {
            IInstTerm* p = u1->findInstTerm((leg + std::to_string(g)).c_str());
            t.addProperty(p, -1, "PN", std::to_string(number++).c_str(), 0);
            INet* n = t.createNet(("S" + std::string(leg) + std::to_string(g)).c_str(), static_cast<unsigned>(-1),
                                  static_cast<unsigned>(-1));
            t.addConn(n, static_cast<unsigned>(-1), static_cast<unsigned>(-1), p, static_cast<unsigned>(-1),
                      static_cast<unsigned>(-1));
        }
        for (int k = 0; k < 13; ++k, ++bitNo) {
            IInstTerm* p = u1->findInstTerm(("B" + std::to_string(bitNo / 32)).c_str());
            int bit = 31 - bitNo % 32;
            t.addProperty(p, bit, "PN", std::to_string(number++).c_str(), 0);
            std::string netName = "DATA" + std::to_string(bitNo / 32);
            INet* n = d->findNet(netName.c_str());
            if (!n) n = t.createNet(netName.c_str(), 31, 0);
            t.addConn(n, static_cast<unsigned>(bit), static_cast<unsigned>(bit), p, static_cast<unsigned>(bit),
                      static_cast<unsigned>(bit));
        }
    }
    for (int g = 0; g < groups; g += pairEvery) {
        IDPNet* dp = t.createDPNet(("DP" + std::to_string(g)).c_str(), d->findNet(("SP" + std::to_string(g)).c_str()), -1,
                                   IDPNet::ePositive, d->findNet(("SN" + std::to_string(g)).c_str()), -1, IDPNet::eNegative);
        IDPInstTerm* pp = u1->findDPInstTerm(("D" + std::to_string(g)).c_str());
        if (dp && pp) t.addDPConn(dp, -1, -1, pp, -1, -1);
    }
    if (!t.commit()) return nullptr;
    // Extra load: small two-pin parts joined to a wide bus, for designs with many connections.
    if (extraConnections > 0) {
        b.symbol("R2").port("A").port("B");
        b.schematic("top");
        CTransaction x(b.context());
        INet* bus = x.createNet("LOAD", static_cast<unsigned>(extraConnections / 2), 0);
        for (int k = 0; k < extraConnections / 2; ++k) {
            IInstance* r = x.createInstance(("R" + std::to_string(k)).c_str(), "bench", "R2", "sym");
            if (!r) return nullptr;
            x.addConn(bus, static_cast<unsigned>(k), static_cast<unsigned>(k), r->findInstTerm("A"),
                      static_cast<unsigned>(-1), static_cast<unsigned>(-1));
            x.addConn(bus, static_cast<unsigned>(k + 1), static_cast<unsigned>(k + 1), r->findInstTerm("B"),
                      static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        }
        if (!x.commit()) return nullptr;
    }
    return d;
}

}  // namespace rmx
