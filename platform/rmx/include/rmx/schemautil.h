// The one bus syntax of the system: a bit is NAME<7>, a range is NAME<7..0> (left number
// first, either order allowed). Names are made of letters, digits and "_+-#!", and do not start
// with "+", "-", "#" or "!". Every bit name the database produces and accepts uses this form.
#pragma once

#include <cstddef>

#include "afx/afxstr.h"

// Bit numbers run from 0 to this, so that a bus is at most kRmxMaxBit + 1 bits wide: a name with a
// higher bit number is no name, and the database refuses a wider bit range (a net, a port or a pin
// made, widened or read from a file), before anything of it is made.
constexpr int kRmxMaxBit = 65535;

class CSchemaUtilities {
public:
    // Name of one bit ("D<3>"); a negative bit gives the plain name.
    static CString vectorName(const char* name, int bit);
    // Name of a bit range ("D<7..0>"); equal bits give the one-bit form, both negative the plain
    // name.
    static CString vectorName(const char* name, int msb, int lsb);
    // The same written into a caller's buffer of the given size, always terminated, cut to
    // fit; returns the buffer. A null or empty buffer is left alone and nullptr returned.
    static const char* vectorName(const char* name, int bit, char* buffer, std::size_t size);
    static const char* vectorName(const char* name, int msb, int lsb, char* buffer, std::size_t size);
    template <std::size_t N>
    static const char* vectorName(const char* name, int bit, char (&buffer)[N]) {
        return vectorName(name, bit, buffer, N);
    }
    template <std::size_t N>
    static const char* vectorName(const char* name, int msb, int lsb, char (&buffer)[N]) {
        return vectorName(name, msb, lsb, buffer, N);
    }
    static const char* vectorName(const char* name, int bit, CString& buffer);
    static const char* vectorName(const char* name, int msb, int lsb, CString& buffer);

    // Splits "D", "D<3>" or "D<7..0>" into the base name and the bits: lsb receives the right
    // number, msb the left one (both -1 for a plain name, both the bit for one bit); kind is
    // 0 plain, 1 one bit, 2 range. False (outputs untouched) when the text does not parse.
    static bool parsePinName(const char* text, CString& base, int& lsb, int& msb, int& kind);
    static bool parsePinName(const char* text, CString& base, unsigned& lsb, unsigned& msb, int& kind);
    static bool parsePinName(const char* text, CString& base, int& lsb, int& msb);

    // True when the text is a valid bus name: a name with a bit or a bit range.
    static bool getValidBusSyntax(const char* text);
    // True for a valid plain object name.
    static bool isValidName(const char* text);
    // True for a valid pair net name: a plain name, or a name with one bit ("EW<3>") for a pair
    // over two net bits.
    static bool isValidPairNetName(const char* text);
    // Bracket style in which bit names are shown and typed: 0 angle brackets (the default), nonzero
    // square brackets. The host sets it for the session; names in the database keep angle brackets.
    static int getVectorDisplayFormat();
    static void setVectorDisplayFormat(int format);
};
