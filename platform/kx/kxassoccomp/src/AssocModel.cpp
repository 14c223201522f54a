#include "AssocModel.h"

#include "Designators.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <vector>

namespace kxassoc {

namespace {

Slot slot(const char* id, const char* cell, const char* value) {
    Slot s;
    s.id = id;
    s.lib = "discrete";
    s.cell = cell;
    s.view = "sym";
    s.value = value;
    return s;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string prop(const IDTInstance* dt, const std::string& name) {
    std::unique_ptr<CPQPropertyData> p(dt->findProperty(name.c_str()));
    return p ? std::string(p->value()) : std::string();
}

// The letter prefix of a reference designator for a slot ("R1" -> "R", "D" -> "D").
std::string refPrefix(const std::string& slotId) {
    std::string p;
    for (char c : slotId) {
        if (!std::isalpha(static_cast<unsigned char>(c))) break;
        p += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return p.empty() ? std::string("X") : p;
}

void escapeInto(std::string& out, const std::string& s) {
    for (char c : s) {
        if (c == '\\' || c == ';' || c == '=' || c == '\n') out += '\\';
        out += c == '\n' ? 'n' : c;
    }
}

} // namespace

const std::vector<TermType>& termTypes() {
    static const std::vector<TermType> types = {
        {"Series", {slot("R", "resistor", "33")}, false, false},
        {"Shunt", {slot("R", "resistor", "50")}, false, true},
        {"ShuntRC", {slot("R", "resistor", "50"), slot("C", "capacitor", "100pF")}, false, true},
        {"GNDClampDiode", {slot("D", "diode", "")}, false, true},
        {"PowerClampDiode", {slot("D", "diode", "")}, true, false},
        {"DualClampDiode", {slot("D1", "diode", ""), slot("D2", "diode", "")}, true, true},
        {"Thevenin", {slot("R1", "resistor", "100"), slot("R2", "resistor", "100")}, true, true},
    };
    return types;
}

const TermType* findTermType(const std::string& name) {
    for (const auto& t : termTypes())
        if (lower(t.name) == lower(name)) return &t;
    return nullptr;
}

bool defaultTermination(const std::string& type, Settings& out) {
    const TermType* t = findTermType(type);
    if (!t) return false;
    out = Settings{};
    out.type = t->name;
    out.slots = t->slots;
    return true;
}

std::string pupdTypeName(const std::string& word) {
    std::string w = lower(word);
    if (w == "pullup") return "Pullup";
    if (w == "pulldown") return "Pulldown";
    return std::string();
}

bool defaultPupd(const std::string& type, Settings& out) {
    std::string t = pupdTypeName(type);
    if (t.empty()) return false;
    out = Settings{};
    out.type = t;
    out.slots = {slot("R", "resistor", t == "Pullup" ? "10k" : "4.7k")};
    return true;
}

std::string joinItems(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& i : items) {
        if (!out.empty()) out += ';';
        for (char c : i) {
            if (c == '\\' || c == ';') out += '\\';
            out += c;
        }
    }
    return out;
}

std::vector<std::string> splitItems(const std::string& text) {
    std::vector<std::string> items;
    std::string cur;
    bool any = false;
    for (size_t i = 0; i < text.size(); ++i) {
        any = true;
        if (text[i] == '\\' && i + 1 < text.size()) {
            cur += text[++i];
        } else if (text[i] == ';') {
            items.push_back(cur);
            cur.clear();
        } else {
            cur += text[i];
        }
    }
    if (any) items.push_back(cur);
    return items;
}

namespace {
constexpr int kMostSlots = 64;
} // namespace

Settings readSettings(const IDTInstance* dt) {
    Settings s;
    if (!dt) return s;
    s.type = dt->typeName();
    int count = std::atoi(prop(dt, "SLOT_COUNT").c_str());
    // Written without its count: the parts are those whose id is there, from the first on.
    if (prop(dt, "SLOT_COUNT").empty())
        while (count < kMostSlots && !prop(dt, "SLOT" + std::to_string(count) + ".ID").empty()) ++count;
    count = std::clamp(count, 0, kMostSlots);
    for (int i = 0; i < count; ++i) {
        std::string p = "SLOT" + std::to_string(i) + ".";
        Slot sl;
        sl.id = prop(dt, p + "ID");
        sl.lib = prop(dt, p + "LIB");
        sl.cell = prop(dt, p + "CELL");
        sl.view = prop(dt, p + "VIEW");
        sl.physName = prop(dt, p + "PHYSNAME");
        sl.value = prop(dt, p + "VALUE");
        sl.refDes = prop(dt, p + "REFDES");
        sl.keyProps = splitItems(prop(dt, p + "KEYPROPS"));
        sl.instProps = splitItems(prop(dt, p + "INSTPROPS"));
        s.slots.push_back(std::move(sl));
    }
    s.delay = prop(dt, "DELAY");
    s.high = prop(dt, "HIGH_SIGNAL");
    s.low = prop(dt, "LOW_SIGNAL");
    s.dcNet = prop(dt, "DCNET");
    return s;
}

bool writeSettings(CTransaction* tx, const IDTInstance* dt, const Settings& s, std::string& error) {
    std::vector<std::pair<std::string, std::string>> props;
    props.emplace_back("SLOT_COUNT", std::to_string(s.slots.size()));
    for (size_t i = 0; i < s.slots.size(); ++i) {
        const Slot& sl = s.slots[i];
        std::string p = "SLOT" + std::to_string(i) + ".";
        props.emplace_back(p + "ID", sl.id);
        props.emplace_back(p + "LIB", sl.lib);
        props.emplace_back(p + "CELL", sl.cell);
        props.emplace_back(p + "VIEW", sl.view);
        props.emplace_back(p + "PHYSNAME", sl.physName);
        props.emplace_back(p + "VALUE", sl.value);
        props.emplace_back(p + "REFDES", sl.refDes);
        props.emplace_back(p + "KEYPROPS", joinItems(sl.keyProps));
        props.emplace_back(p + "INSTPROPS", joinItems(sl.instProps));
    }
    props.emplace_back("DELAY", s.delay);
    props.emplace_back("HIGH_SIGNAL", s.high);
    props.emplace_back("LOW_SIGNAL", s.low);
    props.emplace_back("DCNET", s.dcNet);
    for (const auto& [name, value] : props) {
        if (value.empty()) {
            // An empty value stands for "not set": only a value set before is overwritten.
            std::unique_ptr<CPQPropertyData> old(dt->findProperty(name.c_str()));
            if (!old || !*old->value()) continue;
        }
        if (!tx->addProperty(dt, -1, name.c_str(), value.c_str())) {
            error = "cannot set " + name + ": " + tx->lastError().str();
            return false;
        }
    }
    return true;
}

bool rewriteSettings(CTransaction* tx, const IDTInstance* dt, const Settings& s, std::string& error) {
    Designators& refs = Designators::of(tx->design());
    const std::vector<std::string> before = slotDesignators(dt);
    if (!writeSettings(tx, dt, s, error)) {
        refs.forget();
        return false;
    }
    for (const std::string& ref : before)
        refs.release(ref);
    for (const std::string& ref : slotDesignators(dt))
        refs.take(ref);
    refs.settle();
    return true;
}

std::string displayText(const Settings& s) {
    std::string out = s.type;
    std::string parts;
    for (const auto& sl : s.slots) {
        if (!parts.empty()) parts += ", ";
        parts += sl.refDes.empty() ? sl.id : sl.refDes;
        if (!sl.value.empty()) parts += " " + sl.value;
    }
    if (!parts.empty()) out += ": " + parts;
    if (!s.dcNet.empty()) out += " to " + s.dcNet;
    if (!s.delay.empty()) out += "; delay " + s.delay;
    if (!s.high.empty()) out += "; high " + s.high;
    if (!s.low.empty()) out += "; low " + s.low;
    return out;
}

std::string encodeSettings(const Settings& s) {
    // name=value pairs separated by ';' with '\\' escaping '\\', ';', '=' and line breaks.
    std::vector<std::pair<std::string, std::string>> kv = {
        {"type", s.type}, {"delay", s.delay}, {"high", s.high},
        {"low", s.low},   {"dcnet", s.dcNet}, {"slots", std::to_string(s.slots.size())}};
    for (size_t i = 0; i < s.slots.size(); ++i) {
        const Slot& sl = s.slots[i];
        std::string p = std::to_string(i) + ".";
        kv.insert(kv.end(), {{p + "id", sl.id},
                             {p + "lib", sl.lib},
                             {p + "cell", sl.cell},
                             {p + "view", sl.view},
                             {p + "phys", sl.physName},
                             {p + "value", sl.value},
                             {p + "refdes", sl.refDes},
                             {p + "k", joinItems(sl.keyProps)},
                             {p + "i", joinItems(sl.instProps)}});
    }
    std::string out;
    for (const auto& [k, v] : kv) {
        if (!out.empty()) out += ';';
        escapeInto(out, k);
        out += '=';
        escapeInto(out, v);
    }
    return out;
}

bool decodeSettings(const std::string& text, Settings& s, std::string& error) {
    std::map<std::string, std::string> kv;
    std::string key, value;
    bool inValue = false;
    auto flush = [&]() -> bool {
        if (!inValue) {
            error = "entry without '='";
            return false;
        }
        if (!kv.emplace(key, value).second) {
            error = "\"" + key + "\" given twice";
            return false;
        }
        key.clear();
        value.clear();
        inValue = false;
        return true;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\') {
            if (++i >= text.size()) {
                error = "text ends inside an escape";
                return false;
            }
            c = text[i] == 'n' ? '\n' : text[i];
            (inValue ? value : key) += c;
        } else if (c == '=' && !inValue) {
            inValue = true;
        } else if (c == ';') {
            if (!flush()) return false;
        } else {
            (inValue ? value : key) += c;
        }
    }
    if (!text.empty() && !flush()) return false;
    Settings r;
    r.type = kv["type"];
    r.delay = kv["delay"];
    r.high = kv["high"];
    r.low = kv["low"];
    r.dcNet = kv["dcnet"];
    const std::string& countText = kv["slots"];
    if (countText.empty() || countText.size() > 2 ||
        !std::all_of(countText.begin(), countText.end(), [](unsigned char c) { return std::isdigit(c); })) {
        error = "bad slot count";
        return false;
    }
    int count = std::stoi(countText);
    for (int i = 0; i < count; ++i) {
        std::string p = std::to_string(i) + ".";
        Slot sl;
        sl.id = kv[p + "id"];
        sl.lib = kv[p + "lib"];
        sl.cell = kv[p + "cell"];
        sl.view = kv[p + "view"];
        sl.physName = kv[p + "phys"];
        sl.value = kv[p + "value"];
        sl.refDes = kv[p + "refdes"];
        sl.keyProps = splitItems(kv[p + "k"]);
        sl.instProps = splitItems(kv[p + "i"]);
        if (sl.id.empty()) {
            error = "slot " + std::to_string(i) + " has no id";
            return false;
        }
        r.slots.push_back(std::move(sl));
    }
    if (r.type.empty()) {
        error = "no type";
        return false;
    }
    s = std::move(r);
    return true;
}

bool removeComponent(CTransaction* tx, const IDTInstance* dt) {
    Designators& refs = Designators::of(tx->design());
    const std::vector<std::string> freed = slotDesignators(dt);
    const std::string name = dt ? dt->name() : "";
    if (!tx->removeDTInstance(dt)) {
        refs.forget();
        return false;
    }
    for (const std::string& ref : freed)
        refs.release(ref);
    refs.releaseComponentName(name);
    refs.settle();
    return true;
}

namespace {

// The live components of `dts` of the given kind (0: any kind).
template <class Range>
std::vector<IDTInstance*> liveOfKind(Range&& dts, int kind) {
    std::vector<IDTInstance*> out;
    for (IDTInstance* dt : dts)
        if (dt && dt->isAlive() && (kind == 0 || dt->assocKind() == kind)) out.push_back(dt);
    return out;
}

} // namespace

std::vector<IDTInstance*> dtsOn(const CInstTermBit& bit, int kind) {
    if (!bit) return {};
    return liveOfKind(bit.beginAssociatedDTInstance(), kind);
}

std::vector<IDTInstance*> dtsOn(const IDPInstTerm* pair, int kind) {
    if (!pair) return {};
    // Those on its lane of the pair connection, and those kept on the pin while it had none.
    std::vector<IDTInstance*> out;
    if (const CDPConnLane at = pair->connLane())
        for (IDTInstance* dt : liveOfKind(at.conn->beginAssociatedDTInstance(), kind))
            if (dt->dpConnLane() == at.lane) out.push_back(dt);
    for (IDTInstance* dt : liveOfKind(pair->beginAssociatedDTInstance(), kind))
        out.push_back(dt);
    return out;
}

std::vector<IDTInstance*> dtsOn(const CNetBit& bit, int kind) {
    if (!bit) return {};
    return liveOfKind(bit.beginAssociatedDTInstance(), kind);
}

namespace {

// Gives every slot its reference designator: one the caller named when no other part has it, else the
// common one of the add (one common pull-up/pull-down for all the net bits of one add), else the next
// free one. A copy of a component that stays therefore takes designators of its own.
void assignRefDes(Designators& refs, Settings& s, const std::string& common) {
    for (auto& sl : s.slots) {
        if (sl.refDes.empty() && !common.empty())
            sl.refDes = common;
        else if (sl.refDes.empty() || refs.taken(sl.refDes))
            sl.refDes = refs.next(refPrefix(sl.id));
        else
            refs.take(sl.refDes);
    }
}

// Completes a component just created (or not) by the transaction: writes its settings and keeps the
// designators it took.
IDTInstance* finishCreated(CTransaction* tx, Designators& refs, IDTInstance* dt, const char* what, const Settings& s,
                           std::string& error) {
    if (!dt) {
        refs.forget();
        error = std::string(what) + " not created: " + tx->lastError().str();
        return nullptr;
    }
    if (!writeSettings(tx, dt, s, error)) {
        refs.forget();
        return nullptr;
    }
    refs.settle();
    return dt;
}

} // namespace

IDTInstance* createTermination(CTransaction* tx, const CInstTermBit& bit, IDPInstTerm* pair, Settings& s,
                               std::string& error) {
    if (!tx) {
        error = "no transaction";
        return nullptr;
    }
    if (pair && !pair->connLane()) {
        error = std::string("pair pin ") + pair->name() + " is not connected to a pair net";
        return nullptr;
    }
    IDesign* design = tx->design();
    Designators& refs = Designators::of(design);
    assignRefDes(refs, s, std::string());
    std::string name = refs.nextComponentName("TERM");
    IDTInstance* dt = pair ? tx->createDTInstance(IDTInstance::eTermination, s.type.c_str(), name.c_str(), pair)
                           : tx->createDTInstance(IDTInstance::eTermination, s.type.c_str(), name.c_str(), bit);
    return finishCreated(tx, refs, dt, "termination", s, error);
}

IDTInstance* createPupd(CTransaction* tx, const CNetBit& bit, Settings& s, const std::string& commonRefDes,
                        std::string& error) {
    if (!tx) {
        error = "no transaction";
        return nullptr;
    }
    IDesign* design = tx->design();
    Designators& refs = Designators::of(design);
    assignRefDes(refs, s, commonRefDes);
    std::string name = refs.nextComponentName(pupdTypeName(s.type) == "Pullup" ? "PU" : "PD");
    IDTInstance* dt = tx->createDTInstance(IDTInstance::ePullUpDown, s.type.c_str(), name.c_str(), bit);
    return finishCreated(tx, refs, dt, "pull-up/pull-down", s, error);
}

// The field of a part a termination's edit may change by name ("value", "lib", ...); null for another.
namespace {

std::string* partField(Slot& slot, const std::string& field) {
    if (field == "value") return &slot.value;
    if (field == "lib") return &slot.lib;
    if (field == "cell") return &slot.cell;
    if (field == "view") return &slot.view;
    if (field == "physname") return &slot.physName;
    return nullptr;
}

} // namespace

// Sets the parts' looks keyed "<part>.<field>" (part from 0); false, with the cause, for a part the
// termination lacks or a field it has not.
bool applyPartLooks(const std::map<CString, CString>& looks, std::vector<Slot>& slots, std::string& error) {
    for (const auto& [key, value] : looks) {
        const std::string text = key.str();
        const size_t dot = text.find('.');
        const std::string index = text.substr(0, dot);
        const bool number = !index.empty() && index.size() <= 2 &&
                            std::all_of(index.begin(), index.end(), [](unsigned char c) { return std::isdigit(c); });
        const size_t part = number ? std::stoul(index) : slots.size();
        std::string* field =
            dot == std::string::npos || part >= slots.size() ? nullptr : partField(slots[part], text.substr(dot + 1));
        if (!field) {
            error = "the termination has no part " + (number ? std::to_string(part + 1) : index) + " to change so";
            return false;
        }
        *field = value.str();
    }
    return true;
}

// The looks of the parts that differ between the two settings of one type, keyed as applyPartLooks
// takes them.
std::map<CString, CString> changedPartLooks(const Settings& before, const Settings& after) {
    std::map<CString, CString> looks;
    for (size_t i = 0; i < after.slots.size() && i < before.slots.size(); ++i)
        for (const char* name : {"value", "lib", "cell", "view", "physname"}) {
            Slot was = before.slots[i], now = after.slots[i];
            if (*partField(was, name) != *partField(now, name))
                looks[CString(std::to_string(i) + "." + name)] = CString(*partField(now, name));
        }
    return looks;
}

} // namespace kxassoc
