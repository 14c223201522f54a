// Reading design libraries from disk: library.rmx, the .part files and the .design files, each checked
// whole before anything of it is taken; a hierarchy that holds itself is refused.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "afx/afxfile.h"
#include "db.h"
#include "libfile.h"

using rmx::Db;
using rmx::Op;
using rmx::OpCode;
using namespace rmx::libfile;

// ------------------------------------------------------------------------------------------------
// Reading

namespace {

struct Reader {
    Db* db;
    IServer* server;
    std::string file;
    int line = 0;
    std::string why;
    // Where each instance of the designs loaded by this reader was declared (design -> file and
    // instance -> line), for the hierarchy check once every file is in.
    struct InstSites {
        std::string file;
        std::map<std::string, int> lines;
    };
    std::map<std::string, InstSites> instSites;
    // What the design file being read held.
    std::shared_ptr<AfxFileStamp> stamp;

    bool err(const std::string& w) {
        why = file + ":" + std::to_string(line) + ": " + w;
        return false;
    }
    // The first line of a part or design file: "rmx-<kind> 1".
    bool header(const std::vector<std::string>& t, const std::string& kind) {
        if (t.size() != 2 || t[0] != "rmx-" + kind) return err("expected \"rmx-" + kind + " 1\"");
        if (t[1] != "1") return err("unsupported " + kind + " file version " + t[1]);
        return true;
    }
    // The statements of a part or design file, each one's words to `take`: the header line first,
    // blank lines and comments passed over. False (with the reason, at its line) when a line cannot
    // be read, the header is wrong or missing, or `take` refuses a statement.
    template <class Take>
    bool statements(const std::vector<std::string>& lines, const std::string& kind, Take&& take) {
        std::vector<std::string> t;
        std::string bad;
        bool headerSeen = false;
        for (size_t k = 0; k < lines.size(); ++k) {
            line = static_cast<int>(k + 1);
            const std::string& l = lines[k];
            if (l.empty() || l[0] == '#') continue;
            if (!rmx::tokenize(l, t, bad)) return err(bad);
            if (t.empty()) continue;  // a line of blanks holds no statement
            if (!headerSeen) {
                if (!header(t, kind)) return false;
                headerSeen = true;
                continue;
            }
            if (!take(t)) return false;
        }
        line = static_cast<int>(lines.size());
        return headerSeen || err("empty file");
    }
};

bool loadPart(Reader& r, const std::vector<std::string>& lines, const std::string& lib, const std::string& dir) {
    auto p = std::make_unique<rmx::PartDefn>();
    p->lib = lib;
    p->dir = dir;
    bool named = false;
    const bool read = r.statements(lines, "part", [&](const std::vector<std::string>& t) {
        if (t[0] == "part") {
            if (t.size() != 2) return r.err("part takes a name");
            if (named) return r.err("a second part line");
            if (!CSchemaUtilities::isValidName(t[1].c_str())) return r.err("invalid part name " + t[1]);
            if (r.db->findPart(t[1])) return r.err("part " + t[1] + " is loaded already");
            p->name = t[1];
            named = true;
        } else if (!named) {
            return r.err("expected a part line");
        } else if (t[0] == "section") {
            if (t.size() != 2 || !CSchemaUtilities::isValidName(t[1].c_str())) return r.err("section takes a name");
            if (std::find(p->sections.begin(), p->sections.end(), t[1]) != p->sections.end())
                return r.err("section " + t[1] + " twice");
            p->sections.push_back(t[1]);
        } else if (t[0] == "pin") {
            int type, group;
            if (t.size() != 6) return r.err("pin takes number, logical name, section, type and swap group");
            if (t[1].empty() || t[1].find_first_of(" ,;") != std::string::npos) return r.err("bad pin number " + t[1]);
            if (p->byNumber.count(t[1])) return r.err("pin number " + t[1] + " twice");
            if (!CSchemaUtilities::isValidName(t[2].c_str()) && !CSchemaUtilities::getValidBusSyntax(t[2].c_str()))
                return r.err("bad logical pin name " + t[2]);
            if (t[3] != "-" && std::find(p->sections.begin(), p->sections.end(), t[3]) == p->sections.end())
                return r.err("unknown section " + t[3]);
            if (!typeFromWord(t[4], type)) return r.err("unknown pin type " + t[4]);
            if (!toInt(t[5], group, 0, 1000000)) return r.err("bad swap group " + t[5]);
            rmx::PartPin pin;
            pin.number = rmx::intern(t[1]);
            pin.logical = rmx::intern(t[2]);
            pin.section = t[3] == "-" ? nullptr : rmx::intern(t[3]);
            pin.type = type;
            pin.swapGroup = group;
            p->byNumber[t[1]] = static_cast<int>(p->pins.size());
            p->pins.push_back(pin);
        } else if (t[0] == "power") {
            if (t.size() != 5 || (t[4] != "power" && t[4] != "ground"))
                return r.err("power takes number, name, net and power|ground");
            if (!CSchemaUtilities::isValidName(t[2].c_str()) || !CSchemaUtilities::isValidName(t[3].c_str()))
                return r.err("bad power pin or net name");
            p->power.push_back({t[1], t[2], t[3], t[4] == "ground"});
        } else if (t[0] == "model") {
            if (t.size() != 2 || t[1].empty()) return r.err("model takes a name");
            p->models.push_back(t[1]);
        } else {
            return r.err("unknown statement " + t[0]);
        }
        return true;
    });
    if (!read) return false;
    if (!named) return r.err("no part line");
    for (auto& pin : p->pins) pin.defn = p.get();
    std::string n = p->name;
    r.db->parts()[n] = std::move(p);
    return true;
}

bool pinRef(const std::string& text, std::string& base, int& bit) {
    CString b;
    int lsb, msb, kind;
    if (!CSchemaUtilities::parsePinName(text.c_str(), b, lsb, msb, kind) || kind == 2) return false;
    base = b.str();
    bit = msb;
    return true;
}

// One statement of a design file, with the checks of its shape.
struct Statement {
    Reader& r;
    const std::vector<std::string>& tok;
    const std::string& w;  // the statement's word

    bool need(size_t n, const char* shape) const {
        if (tok.size() != n) return r.err(std::string(w) + " takes " + shape);
        return true;
    }
    bool num(size_t i, int& v, int lo = -1, int hi = 0x7fffffff) const {
        if (!toInt(tok[i], v, lo, hi)) return r.err("bad number " + tok[i]);
        return true;
    }
};

// The statements that make the design's interface and are no edits: its number, ports and pairs.
bool isInterfaceStatement(const std::string& w) { return w == "number" || w == "port" || w == "pair"; }

bool readInterfaceStatement(const Statement& s, IDesign* d, std::vector<rmx::SymbolPair>& pairs) {
    if (s.w == "number") {
        int v;
        if (!s.need(2, "a number") || !s.num(1, v, 1)) return false;
        Db::m_number(d) = s.tok[1];
    } else if (s.w == "port") {
        int msb, lsb, dirv, type;
        if (!s.need(6, "name, msb, lsb, direction and type") || !s.num(2, msb) || !s.num(3, lsb)) return false;
        if (!CSchemaUtilities::isValidName(s.tok[1].c_str())) return s.r.err("invalid port name " + s.tok[1]);
        if ((msb < 0) != (lsb < 0)) return s.r.err("bad bit range");
        if (!dirFromWord(s.tok[4], dirv)) return s.r.err("unknown direction " + s.tok[4]);
        if (!typeFromWord(s.tok[5], type)) return s.r.err("unknown type " + s.tok[5]);
        if (!Db::addPort(d, s.tok[1], msb, lsb, dirv, type)) return s.r.err("port " + s.tok[1] + " twice");
    } else if (s.w == "pair") {
        if (!s.need(4, "name, positive and negative pin")) return false;
        if (!d->isSymbol()) return s.r.err("pair belongs in a symbol");
        if (!CSchemaUtilities::isValidName(s.tok[1].c_str())) return s.r.err("invalid pair name " + s.tok[1]);
        for (int i = 2; i <= 3; ++i) {
            CString base;
            int lsb, msb, kind;
            if (!CSchemaUtilities::parsePinName(s.tok[static_cast<size_t>(i)].c_str(), base, lsb, msb, kind) || kind == 2)
                return s.r.err("bad pair leg " + s.tok[static_cast<size_t>(i)]);
            ITerm* port = d->findPort(base);
            if (!port || (kind == 1 && !port->hasBit(msb))) return s.r.err("no port " + s.tok[static_cast<size_t>(i)]);
        }
        pairs.push_back({s.tok[1], s.tok[2], s.tok[3]});
    } else {
        return s.r.err("unknown statement " + s.w);
    }
    return true;
}

// The edit of a net, alias, instance, pin, power pin or connection statement.
bool connectivityOp(const Statement& s, const std::string& name, Op& op) {
    if (s.w == "net") {
        int msb, lsb, scope, type;
        if (!s.need(6, "name, msb, lsb, scope and type") || !s.num(2, msb) || !s.num(3, lsb) || !s.num(4, scope, 0, 2))
            return false;
        if (!CSchemaUtilities::isValidName(s.tok[1].c_str())) return s.r.err("invalid net name " + s.tok[1]);
        if (!typeFromWord(s.tok[5], type)) return s.r.err("unknown type " + s.tok[5]);
        op.code = OpCode::NetCreate;
        op.s1 = s.tok[1];
        op.n[0] = msb;
        op.n[1] = lsb;
        op.n[2] = scope;
        op.n[3] = type;
    } else if (s.w == "alias") {
        if (!s.need(3, "two net names")) return false;
        op.code = OpCode::AliasAdd;
        op.s1 = s.tok[1];
        op.s2 = s.tok[2];
    } else if (s.w == "inst") {
        if (!s.need(5, "name, library, cell and view")) return false;
        for (int i = 1; i <= 4; ++i)
            if (!CSchemaUtilities::isValidName(s.tok[static_cast<size_t>(i)].c_str())) return s.r.err("invalid name " + s.tok[static_cast<size_t>(i)]);
        op.code = OpCode::InstCreate;
        s.r.instSites[name].file = s.r.file;
        s.r.instSites[name].lines[s.tok[1]] = s.r.line;
        op.s1 = s.tok[1];
        op.s2 = s.tok[2];
        op.s3 = s.tok[3];
        op.s4 = s.tok[4];
    } else if (s.w == "pin") {
        int msb, lsb, dirv, type;
        if (s.tok.size() != 7 && s.tok.size() != 8) return s.r.err("pin takes instance, name, msb, lsb, direction, type [display name]");
        if (!s.num(3, msb) || !s.num(4, lsb)) return false;
        if (!CSchemaUtilities::isValidName(s.tok[2].c_str())) return s.r.err("invalid pin name " + s.tok[2]);
        if (!dirFromWord(s.tok[5], dirv)) return s.r.err("unknown direction " + s.tok[5]);
        if (!typeFromWord(s.tok[6], type)) return s.r.err("unknown type " + s.tok[6]);
        op.code = OpCode::PinCreate;
        op.s1 = s.tok[1];
        op.s2 = s.tok[2];
        op.s3 = s.tok.size() == 8 ? s.tok[7] : "";
        op.n[0] = msb;
        op.n[1] = lsb;
        op.n[2] = dirv;
        op.n[3] = type;
    } else if (s.w == "power") {
        if (!s.need(4, "instance, power pin and net")) return false;
        if (!CSchemaUtilities::isValidName(s.tok[3].c_str())) return s.r.err("invalid net name " + s.tok[3]);
        op.code = OpCode::PowerPin;
        op.s1 = s.tok[1];
        op.s2 = s.tok[2];
        op.s4 = s.tok[3];
        op.hasNew = true;
    } else if (s.w == "conn") {
        std::string pin, net;
        int pb, nb;
        if (!s.need(4, "instance, pin bit and net bit")) return false;
        if (!pinRef(s.tok[2], pin, pb)) return s.r.err("bad pin bit " + s.tok[2]);
        if (!pinRef(s.tok[3], net, nb)) return s.r.err("bad net bit " + s.tok[3]);
        op.code = OpCode::Conn;
        op.s1 = net;
        op.n[0] = op.n[1] = nb;
        op.s2 = s.tok[1];
        op.s3 = pin;
        op.n[2] = op.n[3] = pb;
    } else {
        return s.r.err("unknown statement " + s.w);
    }
    return true;
}

// The edit of a pair pin, pair net or pair connection statement.
bool pairOp(const Statement& s, Op& op) {
    if (s.w == "dppin") {
        std::string pos, neg;
        int pb, nb, origin;
        if (!s.need(6, "instance, name, positive, negative and origin") || !s.num(5, origin, 0, 3)) return false;
        if (!CSchemaUtilities::isValidName(s.tok[2].c_str())) return s.r.err("invalid pair name " + s.tok[2]);
        if (!pinRef(s.tok[3], pos, pb) || !pinRef(s.tok[4], neg, nb)) return s.r.err("bad pair leg");
        op.code = OpCode::DPPinCreate;
        op.s1 = s.tok[1];
        op.s2 = s.tok[2];
        op.s3 = pos;
        op.n[0] = pb;
        op.s4 = neg;
        op.n[1] = nb;
        op.n[2] = origin;
    } else if (s.w == "dpnet") {
        std::string pos, neg;
        int pb, nb, pp, np;
        if (!s.need(6, "name, positive, negative and two polarities") || !s.num(4, pp, -1, 1) || !s.num(5, np, -1, 1))
            return false;
        if (!CSchemaUtilities::isValidPairNetName(s.tok[1].c_str())) return s.r.err("invalid pair name " + s.tok[1]);
        if (!pinRef(s.tok[2], pos, pb) || !pinRef(s.tok[3], neg, nb)) return s.r.err("bad pair leg");
        op.code = OpCode::DPNetCreate;
        op.s1 = s.tok[1];
        op.s2 = pos;
        op.n[0] = pb;
        op.s3 = neg;
        op.n[1] = nb;
        op.n[2] = pp;
        op.n[3] = np;
    } else if (s.w == "dpconn") {
        if (!s.need(8, "pair net, two net bits, instance, pair pin and two pin bits")) return false;
        op.code = OpCode::DPConnAdd;
        op.s1 = s.tok[1];
        if (!s.num(2, op.n[0]) || !s.num(3, op.n[1]) || !s.num(6, op.n[2]) || !s.num(7, op.n[3])) return false;
        op.s2 = s.tok[4];
        op.s3 = s.tok[5];
    } else {
        return s.r.err("unknown statement " + s.w);
    }
    return true;
}

// The edit of an associated component or a property statement.
bool componentOrPropertyOp(const Statement& s, IDesign* d, Op& op) {
    if (s.w == "dt") {
        int kind;
        if (!s.need(5, "name, kind, type and attachment") || !s.num(2, kind, 1, 2)) return false;
        if (!CSchemaUtilities::isValidName(s.tok[1].c_str())) return s.r.err("invalid component name " + s.tok[1]);
        if (s.tok[3].empty()) return s.r.err("empty component type");
        op.code = OpCode::DTCreate;
        op.s1 = s.tok[1];
        op.s2 = s.tok[3];
        op.n[0] = kind;
        if (s.tok[4] == "-") op.n[1] = IDTInstance::eDetached;
        else {
            rmx::PathRef pr;
            if (!rmx::parsePath(s.tok[4], pr)) return s.r.err("bad attachment " + s.tok[4]);
            op.n[1] = pr.sigil == '.' ? IDTInstance::eOnInstTermBit
                      : pr.sigil == ':' ? IDTInstance::eOnNetBit
                      : pr.sigil == '%' ? IDTInstance::eOnDPConn
                                        : -1;
            if (op.n[1] < 0) return s.r.err("bad attachment " + s.tok[4]);
            op.s3 = s.tok[4];
        }
    } else if (s.w == "prop") {
        unsigned long source;
        if (!s.need(5, "path, name, value and source")) return false;
        if (!rmx::parseSource(s.tok[4], source)) return s.r.err("bad source " + s.tok[4]);
        if (s.tok[2].empty() || s.tok[2].find_first_of(" \t\n\"") != std::string::npos) return s.r.err("bad property name");
        int bit;
        ISchemaObject* o = s.r.db->resolve(d, rmx::kindNone, s.tok[1], bit);
        if (!o) return s.r.err("no object at " + s.tok[1]);
        const rmx::PropMap* m = Db::propsOf(o, bit);
        if (m && m->count(s.tok[2])) return s.r.err("property " + s.tok[2] + " twice on " + s.tok[1]);
        op.code = OpCode::Prop;
        op.s1 = s.tok[1];
        op.s2 = s.tok[2];
        op.hasNew = true;
        op.newP = rmx::Prop{s.tok[3], source};
    } else {
        return s.r.err("unknown statement " + s.w);
    }
    return true;
}

// Applies one edit statement to the registered design.
bool applyStatement(const Statement& s, IDesign* d, const std::string& name) {
    Op op;
    op.design = name;
    const std::string& w = s.w;
    bool made;
    if (w == "net" || w == "alias" || w == "inst" || w == "pin" || w == "power" || w == "conn")
        made = connectivityOp(s, name, op);
    else if (w == "dppin" || w == "dpnet" || w == "dpconn")
        made = pairOp(s, op);
    else if (w == "dt" || w == "prop")
        made = componentOrPropertyOp(s, d, op);
    else
        return s.r.err("unknown statement " + w);
    if (!made) return false;
    std::string why;
    if (!s.r.db->apply(op, false, nullptr, why)) return s.r.err(why);
    return true;
}

// The design line: "design LIB CELL VIEW schematic|symbol", of the library being read.
std::unique_ptr<IDesign> readDesignLine(Reader& r, const std::vector<std::string>& t, const std::string& libName,
                                        const std::string& dir) {
    if (t[0] != "design" || t.size() != 5)
        return r.err("expected \"design LIB CELL VIEW schematic|symbol\""), nullptr;
    for (int i = 1; i <= 3; ++i)
        if (!CSchemaUtilities::isValidName(t[static_cast<size_t>(i)].c_str()))
            return r.err("invalid name " + t[static_cast<size_t>(i)]), nullptr;
    if (t[1] != libName) return r.err("design of library " + t[1] + " in library " + libName), nullptr;
    if (t[4] != "schematic" && t[4] != "symbol") return r.err("expected schematic or symbol"), nullptr;
    if (r.server->findDesign(t[1].c_str(), t[2].c_str(), t[3].c_str()))
        return r.err("design " + t[1] + "." + t[2] + ":" + t[3] + " is loaded already"), nullptr;
    return Db::newDesign(r.server, t[1], t[2], t[3], t[4] == "symbol", dir);
}

bool loadDesign(Reader& r, const std::vector<std::string>& lines, const std::string& libName, const std::string& dir) {
    IDesign* d = nullptr;
    std::unique_ptr<IDesign> owned;
    std::vector<std::pair<int, std::vector<std::string>>> deferred;  // lines applied once the design exists
    const bool read = r.statements(lines, "design", [&](const std::vector<std::string>& t) {
        if (owned) {
            deferred.emplace_back(r.line, t);
            return true;
        }
        owned = readDesignLine(r, t, libName, dir);
        d = owned.get();
        return d != nullptr;
    });
    if (!read) return false;
    if (!d) return r.err("no design line");
    // Ports and pairs first (they are no edits), then the rest as edits on the registered design.
    std::string name = d->name();
    r.db->registerDesign(std::move(owned));
    std::vector<rmx::SymbolPair> pairs;
    for (auto& [line, tok] : deferred) {
        r.line = line;
        const Statement s{r, tok, tok[0]};
        const bool ok = isInterfaceStatement(s.w) ? readInterfaceStatement(s, d, pairs) : applyStatement(s, d, name);
        if (!ok) {
            r.db->unregisterDesign(d);
            r.instSites.erase(name);
            return false;
        }
    }
    if (!pairs.empty()) r.db->symbolPairs()[d] = pairs;
    Db::m_fileStamp(d) = r.stamp;
    rmx::noteReadForm(r.db, d);
    Db::m_modified(d) = false;
    Db::snapshotInterface(d);
    return true;
}

// Hierarchy cycles: a design that holds itself, directly or through its blocks, has no end when
// it is walked. Every design of a cycle that this reader loaded is refused (unloaded) with the
// place of the instance that closes the cycle; a design outside the cycle keeps its instances.
class CycleCheck {
public:
    explicit CycleCheck(Reader& r) : m_r(r) {}

    void run(std::string& errors) {
        for (auto& [name, sites] : m_r.instSites)
            if (IDesign* d = m_r.db->findDesign(name); d && !m_index.count(d)) visit(d);
        for (auto& scc : m_cycles) report(scc, errors);
    }

private:
    // A cycle's designs are reported by name, the same from one run to the next.
    struct ByName {
        bool operator()(const IDesign* a, const IDesign* b) const { return std::strcmp(a->name(), b->name()) < 0; }
    };
    using Cycle = std::set<IDesign*, ByName>;

    std::vector<IDesign*> mastersOf(IDesign* d) {
        std::vector<IDesign*> out;
        for (IInstance* i : d->beginInstance())
            if (IDesign* m = i->master()) out.push_back(m);
        return out;
    }
    // Tarjan's strongly connected components, with an explicit stack of frames.
    void visit(IDesign* root) {
        struct Frame {
            IDesign* d;
            std::vector<IDesign*> next;
            size_t k = 0;
        };
        std::vector<Frame> frames;
        auto enter = [&](IDesign* d) {
            m_index[d] = m_low[d] = m_counter++;
            m_stack.push_back(d);
            m_onStack.insert(d);
            frames.push_back({d, mastersOf(d)});
        };
        enter(root);
        while (!frames.empty()) {
            Frame& f = frames.back();
            if (f.k < f.next.size()) {
                IDesign* m = f.next[f.k++];
                if (m == f.d) m_selfLoop.insert(m);
                if (!m_index.count(m)) enter(m);
                else if (m_onStack.count(m)) m_low[f.d] = std::min(m_low[f.d], m_index[m]);
                continue;
            }
            IDesign* d = f.d;
            if (m_low[d] == m_index[d]) {
                Cycle scc;
                IDesign* x;
                do {
                    x = m_stack.back();
                    m_stack.pop_back();
                    m_onStack.erase(x);
                    scc.insert(x);
                } while (x != d);
                if (scc.size() > 1 || m_selfLoop.count(d)) m_cycles.push_back(scc);
            }
            frames.pop_back();
            if (!frames.empty()) m_low[frames.back().d] = std::min(m_low[frames.back().d], m_low[d]);
        }
    }
    void report(const Cycle& scc, std::string& errors) {
        for (IDesign* d : scc) {
            auto site = m_r.instSites.find(d->name());
            if (site == m_r.instSites.end()) continue;  // loaded before: the new designs are refused
            int line = 0;
            std::string through;
            for (IInstance* i : d->beginInstance()) {
                IDesign* m = i->master();
                auto at = site->second.lines.find(i->name());
                if (m && scc.count(m) && at != site->second.lines.end() && (line == 0 || at->second < line)) {
                    line = at->second;
                    through = std::string(i->name()) + " (" + m->name() + ")";
                }
            }
            errors += site->second.file + ":" + std::to_string(line) + ": design " + d->name() +
                      " contains itself through instance " + through + "\n";
        }
        for (IDesign* d : scc)
            if (m_r.instSites.count(d->name())) m_r.db->unregisterDesign(d);
    }

    Reader& m_r;
    std::map<IDesign*, int> m_index, m_low;
    int m_counter = 0;
    std::vector<IDesign*> m_stack;
    std::set<IDesign*> m_onStack, m_selfLoop;
    std::vector<Cycle> m_cycles;
};

}  // namespace

namespace {

// The library's name from the lines of its library.rmx; false (with the reason) when they do not name it.
bool readLibraryName(const std::string& libFile, const std::vector<std::string>& libLines, std::string& libName,
                     CString& error) {
    std::vector<std::string> t;
    std::string why;
    int ln = 0, state = 0;
    for (auto& l : libLines) {
        ++ln;
        if (l.empty() || l[0] == '#') continue;
        auto bad = [&](const std::string& w) {
            error = (libFile + ":" + std::to_string(ln) + ": " + w).c_str();
            return false;
        };
        if (!rmx::tokenize(l, t, why)) return bad(why);
        if (t.empty()) continue;
        if (state == 0) {
            if (t.size() != 2 || t[0] != "rmx-library") return bad("expected \"rmx-library 1\"");
            if (t[1] != "1") return bad("unsupported library file version " + t[1]);
            state = 1;
        } else if (state == 1) {
            if (t.size() != 2 || t[0] != "library" || !CSchemaUtilities::isValidName(t[1].c_str()))
                return bad("expected \"library NAME\"");
            libName = t[1];
            state = 2;
        } else {
            return bad("unknown statement " + t[0]);
        }
    }
    if (libName.empty()) {
        error = (libFile + ": no library line").c_str();
        return false;
    }
    return true;
}

// The part and design files of the library's folder, each kind sorted; false when the folder cannot be read.
bool listLibraryFiles(const std::string& dir, std::vector<std::string>& parts, std::vector<std::string>& designs) {
    DIR* dp = ::opendir(dir.c_str());
    if (!dp) return false;
    while (dirent* e = ::readdir(dp)) {
        std::string n = e->d_name;
        auto ends = [&](const std::string& s) { return n.size() > s.size() && n.compare(n.size() - s.size(), s.size(), s) == 0; };
        if (ends(".part")) parts.push_back(n);
        else if (ends(".design")) designs.push_back(n);
    }
    ::closedir(dp);
    std::sort(parts.begin(), parts.end());
    std::sort(designs.begin(), designs.end());
    return true;
}

}  // namespace

bool IServer::loadLibrary(const char* folder, CString& error, bool* partly) {
    if (partly) *partly = false;
    error = "";
    if (!folder || !*folder) {
        error = "no folder";
        return false;
    }
    std::string dir(folder);
    // A save killed half-way is finished, or what it left behind removed, before anything is read.
    AfxRecoverFolder(dir);
    std::vector<std::string> libLines;
    std::string why;
    std::string libFile = joinPath(dir, "library.rmx");
    if (!readLines(libFile, libLines, why)) {
        error = (libFile + ": " + why).c_str();
        return false;
    }
    std::string libName;
    if (!readLibraryName(libFile, libLines, libName, error)) return false;
    std::vector<std::string> parts, designs;
    if (!listLibraryFiles(dir, parts, designs)) {
        error = (dir + ": cannot be read").c_str();
        return false;
    }
    std::string errors;
    Reader r{m_db.get(), this, "", 0, "", {}, nullptr};
    for (auto& f : parts) {
        std::vector<std::string> lines;
        r.file = joinPath(dir, f);
        r.line = 0;
        if (!readLines(r.file, lines, why)) errors += r.file + ": " + why + "\n";
        else if (!loadPart(r, lines, libName, dir)) errors += r.why + "\n";
    }
    for (auto& f : designs) {
        std::vector<std::string> lines;
        r.file = joinPath(dir, f);
        r.line = 0;
        r.stamp = std::make_shared<AfxFileStamp>();
        if (!readLines(r.file, lines, why, r.stamp.get())) errors += r.file + ": " + why + "\n";
        else if (!loadDesign(r, lines, libName, dir)) errors += r.why + "\n";
    }
    CycleCheck(r).run(errors);
    m_db->bump();
    if (partly) *partly = !errors.empty();
    if (!errors.empty()) errors.pop_back();
    error = errors.c_str();
    return errors.empty();
}

bool IServer::loadDesignFile(const char* folder, const char* lib, const char* cell, const char* view,
                             CString& error) {
    error = "";
    if (!folder || !lib || !cell || !view) {
        error = "no design file";
        return false;
    }
    const std::string dir(folder);
    std::vector<std::string> lines;
    std::string why;
    Reader r{m_db.get(), this, joinPath(dir, std::string(cell) + "." + view + ".design"), 0, "", {},
             std::make_shared<AfxFileStamp>()};
    if (!readLines(r.file, lines, why, r.stamp.get())) {
        error = (r.file + ": " + why).c_str();
        return false;
    }
    std::string errors;
    if (!loadDesign(r, lines, lib, dir)) errors = r.why;
    else CycleCheck(r).run(errors);
    m_db->bump();
    while (!errors.empty() && errors.back() == '\n') errors.pop_back();
    error = errors.c_str();
    return errors.empty();
}

