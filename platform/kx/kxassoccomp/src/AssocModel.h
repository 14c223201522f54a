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

// Text forms.
std::string joinItems(const std::vector<std::string>& items);
std::vector<std::string> splitItems(const std::string& text);
std::string displayText(const Settings& s);
// Settings as one text (for the clipboard) and back; false on malformed text.
std::string encodeSettings(const Settings& s);
bool decodeSettings(const std::string& text, Settings& s, std::string& error);

// Reference designators in use in the design (every slot of every live DT instance).
std::map<std::string, int> usedRefDes(IDesign* design);
// The designators in use, kept between the additions of one operation so that adding to many pins does not
// read every component again each time. It is read afresh when the design, the number of live components or
// the designator epoch (bumped by every rename) differ from when it was read.
struct RefDesCache {
    IDesign* design = nullptr;
    size_t liveCount = 0;
    unsigned epoch = 0;
    bool valid = false;
    std::map<std::string, int> used;
    std::map<std::string, int> next; // per prefix: every lower number is taken
    void invalidate() { valid = false; }
};
size_t liveDTCount(IDesign* design);
unsigned& refDesEpoch();
std::map<std::string, int>& usedRefDes(IDesign* design, RefDesCache& cache);
// After the caller's own change: the cache stays valid with the designators it took.
void refreshCount(IDesign* design, RefDesCache& cache);
std::string nextRefDes(const std::string& prefix, std::map<std::string, int>& used);
std::string nextRefDes(const std::string& prefix, RefDesCache& cache);

// Live DT instances of an attachment, of one kind (0: all).
std::vector<IDTInstance*> dtsOn(const CInstTermBit& bit, int kind);
std::vector<IDTInstance*> dtsOn(const IDPInstTerm* pair, int kind);
std::vector<IDTInstance*> dtsOn(const CNetBit& bit, int kind);

// Removes a component (every designator cache reads the design again afterwards).
bool removeComponent(CTransaction* tx, const IDTInstance* dt);

// Creates a DT instance with settings at a pin bit, pair pin or net bit; allocates missing reference
// designators.
IDTInstance* createTermination(CTransaction* tx, const CInstTermBit& bit, IDPInstTerm* pair, Settings& s,
                               RefDesCache& cache, std::string& error);
IDTInstance* createPupd(CTransaction* tx, const CNetBit& bit, Settings& s, const std::string& commonRefDes,
                        RefDesCache& cache, std::string& error);

} // namespace kxassoc
