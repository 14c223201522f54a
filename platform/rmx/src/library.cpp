// Design libraries on disk: a folder with library.rmx, one .part file per part definition and one
// .design file per design. See FORMAT.md. Loading checks everything and takes nothing of a bad
// file; saving writes a temporary file and renames it over the old one.
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

using rmx::Db;
using rmx::Op;
using rmx::OpCode;

namespace {

std::string joinPath(const std::string& dir, const std::string& file) {
    if (dir.empty()) return file;
    return dir.back() == '/' ? dir + file : dir + "/" + file;
}

// The lines of a file; the stamp (when given) takes what the file held.
bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& why,
               AfxFileStamp* stamp = nullptr) {
    std::string text;
    if (!AfxReadFile(path, text, why, stamp)) return false;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return true;
}

bool writeAtomically(const std::string& path, const std::string& text, std::string& why,
                     const std::shared_ptr<AfxFileStamp>& stamp = nullptr) {
    return AfxWriteFileSafely(path, text, why, stamp);
}

bool toInt(const std::string& s, int& v, int lo, int hi) {
    long long x;
    if (!rmx::parseInt(s, lo, hi, x)) return false;
    v = static_cast<int>(x);
    return true;
}

const char* typeWord(int t) {
    switch (t) {
    case 0: return "input";
    case 1: return "output";
    case 2: return "bidirectional";
    case 3: return "inout";
    case 4: return "power";
    case 5: return "ground";
    default: return "unknown";
    }
}

bool typeFromWord(const std::string& w, int& t) {
    const char* words[] = {"unknown", "input", "output", "bidirectional", "inout", "power", "ground"};
    for (int i = 0; i < 7; ++i)
        if (w == words[i]) {
            t = i - 1;
            return true;
        }
    return false;
}

const char* dirWord(int d) {
    switch (d) {
    case 1: return "in";
    case 2: return "out";
    case 3: return "inout";
    default: return "none";
    }
}

bool dirFromWord(const std::string& w, int& d) {
    const char* words[] = {"none", "in", "out", "inout"};
    for (int i = 0; i < 4; ++i)
        if (w == words[i]) {
            d = i;
            return true;
        }
    return false;
}

using rmx::quote;

// Words that need no quotes are written bare, everything else quoted.
std::string word(const std::string& s) {
    if (s.empty()) return "\"\"";
    for (char c : s)
        if (c == '"' || c == '\\' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '#') return quote(s);
    return s;
}

std::string pinBitWord(const IInstTerm* p, int bit) { return rmx::bitName(p->name(), p->isScalar() ? -1 : bit); }
std::string netBitWord(const INet* n, int bit) { return rmx::bitName(n->name(), n->isScalar() ? -1 : bit); }

}  // namespace

// ------------------------------------------------------------------------------------------------
// Writing

namespace rmx {

std::string designText(const IDesign* d, const std::vector<SymbolPair>* pairs, const std::string& lib,
                       const std::string& cell, const std::string& view) {
    std::ostringstream o;
    o << "rmx-design 1\n";
    o << "design " << word(lib) << " " << word(cell) << " " << word(view) << " "
      << (d->isSymbol() ? "symbol" : "schematic") << "\n";
    o << "number " << word(d->numberText()) << "\n";
    for (ITerm* t : d->beginPort())
        o << "port " << word(t->name()) << " " << t->msb() << " " << t->lsb() << " " << dirWord(t->direction()) << " "
          << typeWord(t->termType()) << "\n";
    if (pairs)
        for (auto& p : *pairs) o << "pair " << word(p.name) << " " << word(p.pos) << " " << word(p.neg) << "\n";

    auto byName = [](auto it) {
        std::vector<std::remove_pointer_t<decltype(it.current())>*> v(it.begin(), it.end());
        std::sort(v.begin(), v.end(), [](auto* a, auto* b) { return std::strcmp(a->name(), b->name()) < 0; });
        return v;
    };
    auto nets = byName(d->beginNet());
    auto insts = byName(d->beginInstance());
    auto dpnets = byName(d->beginDPNet());
    auto dts = byName(d->beginDTInstance());

    for (INet* n : nets)
        o << "net " << word(n->name()) << " " << n->msb() << " " << n->lsb() << " " << Db::m_scope(n) << " "
          << typeWord(n->termType()) << "\n";
    std::vector<std::pair<std::string, std::string>> aliases;
    for (CAlias* a : d->beginAlias()) {
        std::string x = a->first()->name(), y = a->second()->name();
        aliases.emplace_back(std::min(x, y), std::max(x, y));
    }
    std::sort(aliases.begin(), aliases.end());
    for (auto& [x, y] : aliases) o << "alias " << word(x) << " " << word(y) << "\n";
    for (IInstance* i : insts) {
        o << "inst " << word(i->name()) << " " << word(i->libName()) << " " << word(i->cellName()) << " "
          << word(i->viewName()) << "\n";
        for (IInstTerm* p : i->beginInstTerm()) {
            o << "pin " << word(i->name()) << " " << word(p->name()) << " " << p->msb() << " " << p->lsb() << " "
              << dirWord(p->direction()) << " " << typeWord(p->termType());
            if (*p->displayName()) o << " " << word(p->displayName());
            o << "\n";
        }
        for (auto& [pin, net] : Db::m_powerNets(i)) o << "power " << word(i->name()) << " " << word(pin) << " " << word(net) << "\n";
    }
    for (IInstance* i : insts)
        for (IInstTerm* p : i->beginInstTerm())
            for (auto& [index, bit] : Db::m_bits(p))
                if (bit.net)
                    o << "conn " << word(i->name()) << " " << word(pinBitWord(p, rmx::bitAt(p->msb(), p->lsb(), index)))
                      << " " << word(netBitWord(bit.net, bit.netBit)) << "\n";
    for (IInstance* i : insts)
        for (IDPInstTerm* pp : i->beginDPInstTerm())
            o << "dppin " << word(i->name()) << " " << word(pp->name()) << " "
              << word(rmx::bitName(pp->positive()->name(), pp->positiveBit())) << " "
              << word(rmx::bitName(pp->negative()->name(), pp->negativeBit())) << " " << pp->origin() << "\n";
    for (IDPNet* dp : dpnets)
        o << "dpnet " << word(dp->name()) << " " << word(rmx::bitName(dp->positive()->name(), dp->positiveBit())) << " "
          << word(rmx::bitName(dp->negative()->name(), dp->negativeBit())) << " " << dp->positivePolarity() << " "
          << dp->negativePolarity() << "\n";
    for (IDPNet* dp : dpnets) {
        auto connIt = dp->beginConn();
        std::vector<IDPConn*> conns(connIt.begin(), connIt.end());
        std::sort(conns.begin(), conns.end(), [](IDPConn* a, IDPConn* b) {
            return Db::pathOf(a->dpInstTerm(), -1) < Db::pathOf(b->dpInstTerm(), -1);
        });
        for (IDPConn* k : conns)
            o << "dpconn " << word(dp->name()) << " " << k->netMsb() << " " << k->netLsb() << " "
              << word(k->dpInstTerm()->instance()->name()) << " " << word(k->dpInstTerm()->name()) << " "
              << k->instTermMsb() << " " << k->instTermLsb() << "\n";
    }
    for (IDTInstance* dt : dts) {
        std::string at = "-";
        if (dt->attachKind() == IDTInstance::eOnInstTermBit) at = Db::pathOf(dt->instTermBit().instterm(), dt->instTermBit().bit());
        else if (dt->attachKind() == IDTInstance::eOnNetBit) at = Db::pathOf(dt->netBit().net(), dt->netBit().bit());
        else if (dt->attachKind() == IDTInstance::eOnDPConn && dt->dpConn()) at = Db::attachPathOf(dt);
        o << "dt " << word(dt->name()) << " " << dt->assocKind() << " " << word(dt->typeName()) << " " << word(at) << "\n";
    }
    // Properties last, object by object in the order above.
    auto props = [&](const ISchemaObject* obj, int bit) {
        const PropMap* m = Db::propsOf(obj, bit);
        if (!m) return;
        std::string path = Db::pathOf(obj, bit);
        for (auto& [k, v] : *m) o << "prop " << word(path) << " " << word(k) << " " << quote(v.value) << " " << v.source << "\n";
    };
    props(d, -1);
    for (INet* n : nets) {
        props(n, -1);
        if (!n->isScalar())
            for (auto& [index, bit] : Db::m_bits(n)) props(n, rmx::bitAt(n->msb(), n->lsb(), index));
    }
    for (IInstance* i : insts) {
        props(i, -1);
        for (IInstTerm* p : i->beginInstTerm()) {
            props(p, -1);
            if (!p->isScalar())
                for (auto& [index, bit] : Db::m_bits(p)) props(p, rmx::bitAt(p->msb(), p->lsb(), index));
        }
        for (IDPInstTerm* pp : i->beginDPInstTerm()) {
            props(pp, -1);
            for (IDPInstTerm* m : pp->beginMember()) props(m, -1);
        }
    }
    for (IDPNet* dp : dpnets) props(dp, -1);
    for (IDTInstance* dt : dts) props(dt, -1);
    return o.str();
}

std::string partText(const PartDefn& p) {
    std::ostringstream o;
    o << "rmx-part 1\n";
    o << "part " << word(p.name) << "\n";
    for (auto& s : p.sections) o << "section " << word(s) << "\n";
    for (auto& pin : p.pins)
        o << "pin " << word(pin.number) << " " << word(pin.logical) << " " << word(pin.section ? pin.section : "-") << " "
          << typeWord(pin.type) << " " << pin.swapGroup << "\n";
    for (auto& pw : p.power)
        o << "power " << word(pw.number) << " " << word(pw.name) << " " << word(pw.net) << " "
          << (pw.ground ? "ground" : "power") << "\n";
    for (auto& m : p.models) o << "model " << word(m) << "\n";
    return o.str();
}

}  // namespace rmx

static bool writeLibraryFile(const std::string& folder, const std::string& lib, std::string& why) {
    std::string path = joinPath(folder, "library.rmx");
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        // A folder holds one library: saving another library's design there would make a file
        // that no load accepts.
        std::vector<std::string> lines, t;
        std::string ignored;
        if (readLines(path, lines, ignored))
            for (auto& l : lines)
                if (rmx::tokenize(l, t, ignored) && t.size() == 2 && t[0] == "library" && t[1] != lib) {
                    why = folder + " holds library " + t[1] + ", not " + lib;
                    return false;
                }
        return true;
    }
    return writeAtomically(path, "rmx-library 1\nlibrary " + word(lib) + "\n", why);
}

// The stamp (when given) is the file's as this server last read or wrote it: a file another process saved
// since is not written over.
static bool saveTo(Db* db, IDesign* d, const std::string& folder, const std::string& lib, const std::string& cell,
                   const std::string& view, std::string& why, const std::shared_ptr<AfxFileStamp>& stamp) {
    if (folder.empty()) {
        why = std::string(d->name()) + ": the design has no library folder";
        return false;
    }
    ::mkdir(folder.c_str(), 0755);
    if (!writeLibraryFile(folder, lib, why)) return false;
    auto it = db->symbolPairs().find(d);
    std::string text = rmx::designText(d, it == db->symbolPairs().end() ? nullptr : &it->second, lib, cell, view);
    return writeAtomically(joinPath(folder, cell + "." + view + ".design"), text, why, stamp);
}

// The stamp of the design's own file, made when the design has none yet (a design made in memory).
static const std::shared_ptr<AfxFileStamp>& fileStampOf(IDesign* d) {
    auto& stamp = Db::m_fileStamp(d);
    if (!stamp) stamp = std::make_shared<AfxFileStamp>();
    return stamp;
}

bool IServer::saveDesign(IDesign* d, CString* error) {
    std::string why;
    if (!d || findDesign(d->name()) != d) why = "no such design";
    else if (saveTo(m_db.get(), d, d->directory(), d->libName(), d->cellName(), d->viewName(), why, fileStampOf(d))) {
        // Saved once the file is in place: a batch whose commit fails leaves the design as unsaved as it was.
        AfxFileBatch::WhenInPlace([d] {
            Db::m_modified(d) = false;
            ++Db::m_saveCount(d);
            Db::snapshotInterface(d);
        });
        return true;
    }
    if (error) *error = why.c_str();
    return false;
}

bool IServer::saveDesign(const char* name, CString* error) { return saveDesign(findDesign(name), error); }

// The path of the design's own file in its library folder.
static std::string designFileOf(IDesign* d) {
    return joinPath(d->directory(), std::string(d->cellName()) + "." + d->viewName() + ".design");
}

bool IServer::hasChangesToSave(IDesign* d) const {
    if (!d || !*d->directory()) return d != nullptr;
    const std::shared_ptr<AfxFileStamp>& stamp = Db::m_fileStamp(d);
    if (!stamp || !stamp->IsHeld()) return true;
    struct stat st {};
    if (::stat(designFileOf(d).c_str(), &st) != 0) return true;
    auto it = m_db->symbolPairs().find(d);
    const std::string text = rmx::designText(d, it == m_db->symbolPairs().end() ? nullptr : &it->second, d->libName(),
                                             d->cellName(), d->viewName());
    return !stamp->Holds(text);
}

bool IServer::designFileChangedOnDisk(IDesign* d) const {
    if (!d || !*d->directory()) return false;
    const std::shared_ptr<AfxFileStamp>& stamp = Db::m_fileStamp(d);
    return stamp && !stamp->Matches(designFileOf(d));
}

// Whether a save names the design's own file.
static bool sameFile(IDesign* d, const char* folder, const char* lib, const char* cell, const char* view) {
    if (std::strcmp(d->libName(), lib) || std::strcmp(d->cellName(), cell) || std::strcmp(d->viewName(), view))
        return false;
    std::error_code ec;
    return *d->directory() && std::filesystem::equivalent(d->directory(), folder, ec);
}

bool IServer::saveDesignAs(IDesign* d, const char* folder, const char* lib, const char* cell, const char* view,
                           CString* error, bool newFile) {
    std::string why;
    if (!d || !folder || !CSchemaUtilities::isValidName(lib) || !CSchemaUtilities::isValidName(cell) ||
        !CSchemaUtilities::isValidName(view)) {
        why = "bad design or name";
    } else {
        std::shared_ptr<AfxFileStamp> stamp;
        if (newFile) {
            stamp = std::make_shared<AfxFileStamp>();
            stamp->Absent();
        } else if (sameFile(d, folder, lib, cell, view)) {
            stamp = fileStampOf(d);
        }
        if (saveTo(m_db.get(), d, folder, lib, cell, view, why, stamp)) return true;
    }
    if (error) *error = why.c_str();
    return false;
}

bool IServer::saveLibrary(const char* lib, const char* folder, CString* error) {
    std::string why;
    if (!lib || !folder || !*folder) why = "no library or folder";
    else {
        ::mkdir(folder, 0755);
        bool ok = writeLibraryFile(folder, lib, why);
        for (auto& [n, p] : m_db->parts())
            if (ok && p->lib == lib) ok = writeAtomically(joinPath(folder, p->name + ".part"), rmx::partText(*p), why);
        for (IDesign* d : beginDesign())
            if (ok && std::strcmp(d->libName(), lib) == 0) {
                // Into another folder the design's file is a new one, with a stamp of its own.
                if (!sameFile(d, folder, lib, d->cellName(), d->viewName())) Db::m_fileStamp(d).reset();
                ok = saveTo(m_db.get(), d, folder, lib, d->cellName(), d->viewName(), why, fileStampOf(d));
                if (ok) {
                    Db::m_dir(d) = folder;
                    Db::m_modified(d) = false;
                    ++Db::m_saveCount(d);
                    Db::snapshotInterface(d);
                }
            }
        if (ok) return true;
    }
    if (error) *error = why.c_str();
    return false;
}

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
};

bool loadPart(Reader& r, const std::vector<std::string>& lines, const std::string& lib, const std::string& dir) {
    auto p = std::make_unique<rmx::PartDefn>();
    p->lib = lib;
    p->dir = dir;
    std::vector<std::string> t;
    std::string why;
    bool header = false, named = false;
    for (size_t k = 0; k < lines.size(); ++k) {
        r.line = static_cast<int>(k + 1);
        const std::string& l = lines[k];
        if (l.empty() || l[0] == '#') continue;
        if (!rmx::tokenize(l, t, why)) return r.err(why);
        if (t.empty()) continue;  // a line of blanks holds no statement
        if (!header) {
            if (!r.header(t, "part")) return false;
            header = true;
            continue;
        }
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
    }
    r.line = static_cast<int>(lines.size());
    if (!header) return r.err("empty file");
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

bool loadDesign(Reader& r, const std::vector<std::string>& lines, const std::string& libName, const std::string& dir) {
    std::vector<std::string> t;
    std::string why;
    IDesign* d = nullptr;
    std::unique_ptr<IDesign> owned;
    std::vector<rmx::SymbolPair> pairs;
    std::vector<std::pair<int, std::vector<std::string>>> deferred;  // lines applied once the design exists
    bool header = false;
    for (size_t k = 0; k < lines.size(); ++k) {
        r.line = static_cast<int>(k + 1);
        const std::string& l = lines[k];
        if (l.empty() || l[0] == '#') continue;
        if (!rmx::tokenize(l, t, why)) return r.err(why);
        if (t.empty()) continue;  // a line of blanks holds no statement
        if (!header) {
            if (!r.header(t, "design")) return false;
            header = true;
            continue;
        }
        if (!owned) {
            if (t[0] != "design" || t.size() != 5) return r.err("expected \"design LIB CELL VIEW schematic|symbol\"");
            for (int i = 1; i <= 3; ++i)
                if (!CSchemaUtilities::isValidName(t[static_cast<size_t>(i)].c_str())) return r.err("invalid name " + t[static_cast<size_t>(i)]);
            if (t[1] != libName) return r.err("design of library " + t[1] + " in library " + libName);
            if (t[4] != "schematic" && t[4] != "symbol") return r.err("expected schematic or symbol");
            if (r.server->findDesign(t[1].c_str(), t[2].c_str(), t[3].c_str()))
                return r.err("design " + t[1] + "." + t[2] + ":" + t[3] + " is loaded already");
            owned = Db::newDesign(r.server, t[1], t[2], t[3], t[4] == "symbol", dir);
            d = owned.get();
            continue;
        }
        deferred.emplace_back(r.line, t);
    }
    r.line = static_cast<int>(lines.size());
    if (!header) return r.err("empty file");
    if (!d) return r.err("no design line");
    // Ports and pairs first (they are no edits), then the rest as edits on the registered design.
    std::string name = d->name();
    r.db->registerDesign(std::move(owned));
    auto undo = [&]() {
        r.db->unregisterDesign(d);
        r.instSites.erase(name);
        return false;
    };
    for (auto& entry : deferred) {
        const std::vector<std::string>& tok = entry.second;
        r.line = entry.first;
        const std::string& w = tok[0];
        auto need = [&](size_t n, const char* shape) {
            if (tok.size() != n) return r.err(std::string(w) + " takes " + shape);
            return true;
        };
        auto num = [&](size_t i, int& v, int lo = -1, int hi = 0x7fffffff) {
            if (!toInt(tok[i], v, lo, hi)) return r.err("bad number " + tok[i]);
            return true;
        };
        Op op;
        op.design = name;
        bool isOp = true;
        if (w == "number") {
            int v;
            if (!need(2, "a number") || !num(1, v, 1)) return undo();
            Db::m_number(d) = tok[1];
            isOp = false;
        } else if (w == "port") {
            int msb, lsb, dirv, type;
            if (!need(6, "name, msb, lsb, direction and type") || !num(2, msb) || !num(3, lsb)) return undo();
            if (!CSchemaUtilities::isValidName(tok[1].c_str())) return r.err("invalid port name " + tok[1]), undo();
            if ((msb < 0) != (lsb < 0)) return r.err("bad bit range"), undo();
            if (!dirFromWord(tok[4], dirv)) return r.err("unknown direction " + tok[4]), undo();
            if (!typeFromWord(tok[5], type)) return r.err("unknown type " + tok[5]), undo();
            if (!Db::addPort(d, tok[1], msb, lsb, dirv, type)) return r.err("port " + tok[1] + " twice"), undo();
            isOp = false;
        } else if (w == "pair") {
            if (!need(4, "name, positive and negative pin")) return undo();
            if (!d->isSymbol()) return r.err("pair belongs in a symbol"), undo();
            if (!CSchemaUtilities::isValidName(tok[1].c_str())) return r.err("invalid pair name " + tok[1]), undo();
            for (int i = 2; i <= 3; ++i) {
                CString base;
                int lsb, msb, kind;
                if (!CSchemaUtilities::parsePinName(tok[static_cast<size_t>(i)].c_str(), base, lsb, msb, kind) || kind == 2)
                    return r.err("bad pair leg " + tok[static_cast<size_t>(i)]), undo();
                ITerm* port = d->findPort(base);
                if (!port || (kind == 1 && !port->hasBit(msb))) return r.err("no port " + tok[static_cast<size_t>(i)]), undo();
            }
            pairs.push_back({tok[1], tok[2], tok[3]});
            isOp = false;
        } else if (w == "net") {
            int msb, lsb, scope, type;
            if (!need(6, "name, msb, lsb, scope and type") || !num(2, msb) || !num(3, lsb) || !num(4, scope, 0, 2))
                return undo();
            if (!CSchemaUtilities::isValidName(tok[1].c_str())) return r.err("invalid net name " + tok[1]), undo();
            if (!typeFromWord(tok[5], type)) return r.err("unknown type " + tok[5]), undo();
            op.code = OpCode::NetCreate;
            op.s1 = tok[1];
            op.n[0] = msb;
            op.n[1] = lsb;
            op.n[2] = scope;
            op.n[3] = type;
        } else if (w == "alias") {
            if (!need(3, "two net names")) return undo();
            op.code = OpCode::AliasAdd;
            op.s1 = tok[1];
            op.s2 = tok[2];
        } else if (w == "inst") {
            if (!need(5, "name, library, cell and view")) return undo();
            for (int i = 1; i <= 4; ++i)
                if (!CSchemaUtilities::isValidName(tok[static_cast<size_t>(i)].c_str())) return r.err("invalid name " + tok[static_cast<size_t>(i)]), undo();
            op.code = OpCode::InstCreate;
            r.instSites[name].file = r.file;
            r.instSites[name].lines[tok[1]] = r.line;
            op.s1 = tok[1];
            op.s2 = tok[2];
            op.s3 = tok[3];
            op.s4 = tok[4];
        } else if (w == "pin") {
            int msb, lsb, dirv, type;
            if (tok.size() != 7 && tok.size() != 8) return r.err("pin takes instance, name, msb, lsb, direction, type [display name]"), undo();
            if (!num(3, msb) || !num(4, lsb)) return undo();
            if (!CSchemaUtilities::isValidName(tok[2].c_str())) return r.err("invalid pin name " + tok[2]), undo();
            if (!dirFromWord(tok[5], dirv)) return r.err("unknown direction " + tok[5]), undo();
            if (!typeFromWord(tok[6], type)) return r.err("unknown type " + tok[6]), undo();
            op.code = OpCode::PinCreate;
            op.s1 = tok[1];
            op.s2 = tok[2];
            op.s3 = tok.size() == 8 ? tok[7] : "";
            op.n[0] = msb;
            op.n[1] = lsb;
            op.n[2] = dirv;
            op.n[3] = type;
        } else if (w == "power") {
            if (!need(4, "instance, power pin and net")) return undo();
            if (!CSchemaUtilities::isValidName(tok[3].c_str())) return r.err("invalid net name " + tok[3]), undo();
            op.code = OpCode::PowerPin;
            op.s1 = tok[1];
            op.s2 = tok[2];
            op.s4 = tok[3];
            op.hasNew = true;
        } else if (w == "conn") {
            std::string pin, net;
            int pb, nb;
            if (!need(4, "instance, pin bit and net bit")) return undo();
            if (!pinRef(tok[2], pin, pb)) return r.err("bad pin bit " + tok[2]), undo();
            if (!pinRef(tok[3], net, nb)) return r.err("bad net bit " + tok[3]), undo();
            op.code = OpCode::Conn;
            op.s1 = net;
            op.n[0] = op.n[1] = nb;
            op.s2 = tok[1];
            op.s3 = pin;
            op.n[2] = op.n[3] = pb;
        } else if (w == "dppin") {
            std::string pos, neg;
            int pb, nb, origin;
            if (!need(6, "instance, name, positive, negative and origin") || !num(5, origin, 0, 3)) return undo();
            if (!CSchemaUtilities::isValidName(tok[2].c_str())) return r.err("invalid pair name " + tok[2]), undo();
            if (!pinRef(tok[3], pos, pb) || !pinRef(tok[4], neg, nb)) return r.err("bad pair leg"), undo();
            op.code = OpCode::DPPinCreate;
            op.s1 = tok[1];
            op.s2 = tok[2];
            op.s3 = pos;
            op.n[0] = pb;
            op.s4 = neg;
            op.n[1] = nb;
            op.n[2] = origin;
        } else if (w == "dpnet") {
            std::string pos, neg;
            int pb, nb, pp, np;
            if (!need(6, "name, positive, negative and two polarities") || !num(4, pp, -1, 1) || !num(5, np, -1, 1))
                return undo();
            if (!CSchemaUtilities::isValidPairNetName(tok[1].c_str())) return r.err("invalid pair name " + tok[1]), undo();
            if (!pinRef(tok[2], pos, pb) || !pinRef(tok[3], neg, nb)) return r.err("bad pair leg"), undo();
            op.code = OpCode::DPNetCreate;
            op.s1 = tok[1];
            op.s2 = pos;
            op.n[0] = pb;
            op.s3 = neg;
            op.n[1] = nb;
            op.n[2] = pp;
            op.n[3] = np;
        } else if (w == "dpconn") {
            if (!need(8, "pair net, two net bits, instance, pair pin and two pin bits")) return undo();
            op.code = OpCode::DPConnAdd;
            op.s1 = tok[1];
            if (!num(2, op.n[0]) || !num(3, op.n[1]) || !num(6, op.n[2]) || !num(7, op.n[3])) return undo();
            op.s2 = tok[4];
            op.s3 = tok[5];
        } else if (w == "dt") {
            int kind;
            if (!need(5, "name, kind, type and attachment") || !num(2, kind, 1, 2)) return undo();
            if (!CSchemaUtilities::isValidName(tok[1].c_str())) return r.err("invalid component name " + tok[1]), undo();
            if (tok[3].empty()) return r.err("empty component type"), undo();
            op.code = OpCode::DTCreate;
            op.s1 = tok[1];
            op.s2 = tok[3];
            op.n[0] = kind;
            if (tok[4] == "-") op.n[1] = IDTInstance::eDetached;
            else {
                rmx::PathRef pr;
                if (!rmx::parsePath(tok[4], pr)) return r.err("bad attachment " + tok[4]), undo();
                op.n[1] = pr.sigil == '.' ? IDTInstance::eOnInstTermBit
                          : pr.sigil == ':' ? IDTInstance::eOnNetBit
                          : pr.sigil == '%' ? IDTInstance::eOnDPConn
                                            : -1;
                if (op.n[1] < 0) return r.err("bad attachment " + tok[4]), undo();
                op.s3 = tok[4];
            }
        } else if (w == "prop") {
            unsigned long source;
            if (!need(5, "path, name, value and source")) return undo();
            if (!rmx::parseSource(tok[4], source)) return r.err("bad source " + tok[4]), undo();
            if (tok[2].empty() || tok[2].find_first_of(" \t\n\"") != std::string::npos) return r.err("bad property name"), undo();
            int bit;
            ISchemaObject* o = r.db->resolve(d, rmx::kindNone, tok[1], bit);
            if (!o) return r.err("no object at " + tok[1]), undo();
            const rmx::PropMap* m = Db::propsOf(o, bit);
            if (m && m->count(tok[2])) return r.err("property " + tok[2] + " twice on " + tok[1]), undo();
            op.code = OpCode::Prop;
            op.s1 = tok[1];
            op.s2 = tok[2];
            op.hasNew = true;
            op.newP = rmx::Prop{tok[3], source};
        } else {
            return r.err("unknown statement " + w), undo();
        }
        if (isOp) {
            std::string why2;
            if (!r.db->apply(op, false, nullptr, why2)) return r.err(why2), undo();
        }
    }
    if (!pairs.empty()) r.db->symbolPairs()[d] = pairs;
    Db::m_fileStamp(d) = r.stamp;
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
    {
        std::vector<std::string> t;
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
    }
    DIR* dp = ::opendir(dir.c_str());
    if (!dp) {
        error = (dir + ": cannot be read").c_str();
        return false;
    }
    std::vector<std::string> parts, designs;
    while (dirent* e = ::readdir(dp)) {
        std::string n = e->d_name;
        auto ends = [&](const std::string& s) { return n.size() > s.size() && n.compare(n.size() - s.size(), s.size(), s) == 0; };
        if (ends(".part")) parts.push_back(n);
        else if (ends(".design")) designs.push_back(n);
    }
    ::closedir(dp);
    std::sort(parts.begin(), parts.end());
    std::sort(designs.begin(), designs.end());
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
