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
#include "libfile.h"

using rmx::Db;
using rmx::Op;
using rmx::OpCode;
using namespace rmx::libfile;

namespace rmx::libfile {

std::string joinPath(const std::string& dir, const std::string& file) {
    if (dir.empty()) return file;
    return dir.back() == '/' ? dir + file : dir + "/" + file;
}

bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& why, AfxFileStamp* stamp) {
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


}  // namespace rmx::libfile

namespace {

bool writeAtomically(const std::string& path, const std::string& text, std::string& why,
                     const std::shared_ptr<AfxFileStamp>& stamp = nullptr) {
    return AfxWriteFileSafely(path, text, why, stamp);
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

namespace {

// The objects of a design, each kind sorted by name: the order of its file.
struct DesignOrder {
    std::vector<INet*> nets;
    std::vector<IInstance*> insts;
    std::vector<IDPNet*> dpnets;
    std::vector<IDTInstance*> dts;
};

template <class It>
auto byName(It it) {
    std::vector<std::remove_pointer_t<decltype(it.current())>*> v(it.begin(), it.end());
    std::sort(v.begin(), v.end(), [](auto* a, auto* b) { return std::strcmp(a->name(), b->name()) < 0; });
    return v;
}

// The header, the design line, its number, ports and pairs.
void writeInterface(std::ostream& o, const IDesign* d, const std::vector<SymbolPair>* pairs, const std::string& lib,
                    const std::string& cell, const std::string& view) {
    o << "rmx-design 1\n";
    o << "design " << word(lib) << " " << word(cell) << " " << word(view) << " "
      << (d->isSymbol() ? "symbol" : "schematic") << "\n";
    o << "number " << word(d->numberText()) << "\n";
    for (ITerm* t : d->beginPort())
        o << "port " << word(t->name()) << " " << t->msb() << " " << t->lsb() << " " << dirWord(t->direction()) << " "
          << typeWord(t->termType()) << "\n";
    if (pairs)
        for (auto& p : *pairs) o << "pair " << word(p.name) << " " << word(p.pos) << " " << word(p.neg) << "\n";
}

// Nets, aliases, instances with their pins and power pins, and the connections.
void writeConnectivity(std::ostream& o, const IDesign* d, const DesignOrder& order) {
    for (INet* n : order.nets)
        o << "net " << word(n->name()) << " " << n->msb() << " " << n->lsb() << " " << Db::m_scope(n) << " "
          << typeWord(n->termType()) << "\n";
    std::vector<std::pair<std::string, std::string>> aliases;
    for (CAlias* a : d->beginAlias()) {
        std::string x = a->first()->name(), y = a->second()->name();
        aliases.emplace_back(std::min(x, y), std::max(x, y));
    }
    std::sort(aliases.begin(), aliases.end());
    for (auto& [x, y] : aliases) o << "alias " << word(x) << " " << word(y) << "\n";
    for (IInstance* i : order.insts) {
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
    for (IInstance* i : order.insts)
        for (IInstTerm* p : i->beginInstTerm())
            for (auto& [index, bit] : Db::m_bits(p))
                if (bit.net)
                    o << "conn " << word(i->name()) << " " << word(pinBitWord(p, rmx::bitAt(p->msb(), p->lsb(), index)))
                      << " " << word(netBitWord(bit.net, bit.netBit)) << "\n";
}

// Pair pins, pair nets, pair connections and associated components.
void writePairsAndComponents(std::ostream& o, const DesignOrder& order) {
    for (IInstance* i : order.insts)
        for (IDPInstTerm* pp : i->beginDPInstTerm())
            o << "dppin " << word(i->name()) << " " << word(pp->name()) << " "
              << word(rmx::bitName(pp->positive()->name(), pp->positiveBit())) << " "
              << word(rmx::bitName(pp->negative()->name(), pp->negativeBit())) << " " << pp->origin() << "\n";
    for (IDPNet* dp : order.dpnets)
        o << "dpnet " << word(dp->name()) << " " << word(rmx::bitName(dp->positive()->name(), dp->positiveBit())) << " "
          << word(rmx::bitName(dp->negative()->name(), dp->negativeBit())) << " " << dp->positivePolarity() << " "
          << dp->negativePolarity() << "\n";
    for (IDPNet* dp : order.dpnets) {
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
    for (IDTInstance* dt : order.dts) {
        std::string at = "-";
        if (dt->attachKind() == IDTInstance::eOnInstTermBit) at = Db::pathOf(dt->instTermBit().instterm(), dt->instTermBit().bit());
        else if (dt->attachKind() == IDTInstance::eOnNetBit) at = Db::pathOf(dt->netBit().net(), dt->netBit().bit());
        else if (dt->attachKind() == IDTInstance::eOnDPConn && dt->dpConn()) at = Db::attachPathOf(dt);
        else if (dt->attachKind() == IDTInstance::eOnDPInstTerm && dt->dpInstTerm()) at = Db::attachPathOf(dt);
        o << "dt " << word(dt->name()) << " " << dt->assocKind() << " " << word(dt->typeName()) << " " << word(at) << "\n";
    }
}

void writeProperties(std::ostream& o, const IDesign* d, const DesignOrder& order) {
    // Properties last, object by object in the order above.
    auto props = [&](const ISchemaObject* obj, int bit) {
        const PropMap* m = Db::propsOf(obj, bit);
        if (!m) return;
        std::string path = Db::pathOf(obj, bit);
        for (auto& [k, v] : *m) o << "prop " << word(path) << " " << word(k) << " " << quote(v.value) << " " << v.source << "\n";
    };
    props(d, -1);
    for (INet* n : order.nets) {
        props(n, -1);
        if (!n->isScalar())
            for (auto& [index, bit] : Db::m_bits(n)) props(n, rmx::bitAt(n->msb(), n->lsb(), index));
    }
    for (IInstance* i : order.insts) {
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
    for (IDPNet* dp : order.dpnets) props(dp, -1);
    for (IDTInstance* dt : order.dts) props(dt, -1);
}

}  // namespace

std::string designText(const IDesign* d, const std::vector<SymbolPair>* pairs, const std::string& lib,
                       const std::string& cell, const std::string& view) {
    std::ostringstream o;
    writeInterface(o, d, pairs, lib, cell, view);
    const DesignOrder order{byName(d->beginNet()), byName(d->beginInstance()), byName(d->beginDPNet()),
                            byName(d->beginDTInstance())};
    writeConnectivity(o, d, order);
    writePairsAndComponents(o, order);
    writeProperties(o, d, order);
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

void rmx::noteReadForm(Db* db, IDesign* d) {
    const std::shared_ptr<AfxFileStamp>& stamp = Db::m_fileStamp(d);
    if (!stamp || !stamp->IsHeld()) return;
    auto it = db->symbolPairs().find(d);
    stamp->ReadAs(rmx::designText(d, it == db->symbolPairs().end() ? nullptr : &it->second, d->libName(),
                                  d->cellName(), d->viewName()));
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

