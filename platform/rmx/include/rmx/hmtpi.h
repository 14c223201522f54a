// Pin-name generator: walks the package pins of a part definition. Handles are opaque; every
// text it returns is interned (hmtHashSaveStrng), so equal texts are the same pointer and may be
// compared by pointer.
#pragma once

extern "C" {

typedef struct hmtPart_* HMTPART;  // a part definition
typedef struct hmtGen_* HMTGEN;    // a generator (a position in a list of pins)
typedef struct hmtPin_* HMTPIN;    // a package pin

// The one stored copy of a text (nullptr for nullptr).
const char* hmtHashSaveStrng(const char* text);

// A new generator over all pins of the part (flags: 15 = all pins, the only value used; any
// value gives all pins). nullptr for a null part. Release with hmtStopGen.
HMTGEN hmtStartGenPins(HMTPART part, int flags);
// A new generator over the pins of the pin's section (for a pin without section: the part's pins
// without section, which is every pin of a part without sections).
HMTGEN hmtStartGenParentSectionPins(HMTPIN pin);
// The next pin, nullptr at the end (and for a null generator).
HMTPIN hmtGenPins(HMTGEN gen);
void hmtResetGen(HMTGEN gen);
void hmtStopGen(HMTGEN gen);
// Pin number, logical (function) name and section name of a pin; the section is nullptr when
// the pin has none.
const char* hmtPinName(HMTPIN pin);
const char* hmtLogPinName(HMTPIN pin);
const char* hmtGetSectionPinParentSection(HMTPIN pin);

}  // extern "C"
