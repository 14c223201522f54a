// Inner model of the associated components: termination types, the settings of a component as stored in its
// DT instance's properties, and the reading and writing of those properties.
#pragma once

#include "kxassoccomp/CKXAssocCompAPI.h"

#include "rmx/rmx.h"

#include <map>
#include <string>
#include <vector>

namespace kxassoc {

// One component slot of a termination ("R", "C", "D1"...).
struct Slot {
    std::string id;
    std::string lib, cell, view, physName, value, refDes;
    std::vector<std::string> keyProps, instProps; // "name=value" items
};

// Settings of one termination or pull-up/pull-down.
struct Settings {
    std::string type;
    std::vector<Slot> slots;      // a pull-up/pull-down has exactly one
    std::string delay, high, low; // terminations
    std::string dcNet;            // pull-ups/pull-downs
};

struct TermType {
    const char* name;
    std::vector<Slot> slots;
    bool usesHigh;
    bool usesLow;
};

const std::vector<TermType>& termTypes();
const TermType* findTermType(const std::string& name);
// Default settings of a termination type (empty type: nullptr).
bool defaultTermination(const std::string& type, Settings& out);
bool defaultPupd(const std::string& type, Settings& out);
// "pullup"/"Pullup" -> "Pullup", "pulldown" -> "Pulldown", else "".
std::string pupdTypeName(const std::string& word);

// Properties of a DT instance <-> settings.
Settings readSettings(const IDTInstance* dt);
bool writeSettings(CTransaction* tx, const IDTInstance* dt, const Settings& s, std::string& error);
// Writes the new settings of a component that is there, its designators kept in the design's set.
bool rewriteSettings(CTransaction* tx, const IDTInstance* dt, const Settings& s, std::string& error);

// Text forms.
std::string joinItems(const std::vector<std::string>& items);
std::vector<std::string> splitItems(const std::string& text);
std::string displayText(const Settings& s);
// Settings as one text (for the clipboard) and back; false on malformed text.
std::string encodeSettings(const Settings& s);
bool decodeSettings(const std::string& text, Settings& s, std::string& error);

// Live DT instances of an attachment, of one kind (0: all).
std::vector<IDTInstance*> dtsOn(const CInstTermBit& bit, int kind);
std::vector<IDTInstance*> dtsOn(const IDPInstTerm* pair, int kind);
std::vector<IDTInstance*> dtsOn(const CNetBit& bit, int kind);

// Removes a component; its designators are free again.
bool removeComponent(CTransaction* tx, const IDTInstance* dt);

// Creates a DT instance with settings at a pin bit, pair pin or net bit. Its slots keep the designators
// given them that no other part has and take the next free ones otherwise (Designators.h).
IDTInstance* createTermination(CTransaction* tx, const CInstTermBit& bit, IDPInstTerm* pair, Settings& s,
                               std::string& error);
IDTInstance* createPupd(CTransaction* tx, const CNetBit& bit, Settings& s, const std::string& commonRefDes,
                        std::string& error);

// Sets the parts' looks keyed "<part>.<field>" (part from 0; field value, lib, cell, view or physname);
// false, with the cause, for a part the termination lacks or a field it has not.
bool applyPartLooks(const std::map<CString, CString>& looks, std::vector<Slot>& slots, std::string& error);
// The looks of the parts that differ between two settings of one type, keyed as applyPartLooks takes them.
std::map<CString, CString> changedPartLooks(const Settings& before, const Settings& after);

} // namespace kxassoc
