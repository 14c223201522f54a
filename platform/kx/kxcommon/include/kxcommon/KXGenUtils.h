// General utilities of the editors: the name syntax of signals, pins and differential pairs, escaping for
// script texts, and look-ups of pin and part data in the design.
//
// Name syntax (one for signals and pins, the design's bus syntax with an optional step):
//   name                 a scalar
//   name<7>              one bit
//   name<7..0>           a range, first bound the msb, second the lsb (either order is allowed)
//   name<7..0:2>         a range with a step (every second bit); the step must be at least 1
//   name\g               (a signal only) the net has global scope
// - Square brackets may stand for the angle brackets ("name[7..0]"); a name keeps the kind it was typed with.
// - The base name is made of the design's name characters: letters, digits and "_+-#!", not starting with
//   "+", "-", "#" or "!". A bracket that belongs to the name is escaped: \[ \] \< \>.
// - Bounds and steps are decimal numbers from 0 to KX_NAME_MAX_BIT without sign or blanks.
// - Leading and trailing blanks are ignored.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include "afx/afxcoll.h"

#include <map>
#include <vector>

class CDesignContext;
class CInstanceContext;
class CNetContext;
class CInstTermContext;
class CInstTermBitContext;
class IInstance;
class IInstTerm;
class INet;
class IDPInstTerm;
class IDPNet;
class IDesign;
class IPhysPartDefn;

// The highest bit number a name may give: the design database's (kRmxMaxBit).
constexpr int KX_NAME_MAX_BIT = 65535;

// Net scope values that ParseSignalName reports.
constexpr int KX_SCOPE_LOCAL = 0;
constexpr int KX_SCOPE_GLOBAL = 1;

// The suffixes of the two leg nets of a differential pair.
constexpr const char* KX_DP_POSITIVE_SUFFIX = "_P";
constexpr const char* KX_DP_NEGATIVE_SUFFIX = "_N";
// The marker that signal lists append to differential-pair names.
constexpr const char* KX_DP_MARKER = " (Differential Pair)";

// One implicit pin of a part definition: pin name, pin number, power signal, kind ("Power" or "NC").
class CImplicitPin {
public:
    CImplicitPin() = default;
    CImplicitPin(const char* pinName, const char* pinNumber, const char* signal, const char* kind)
        : m_strPinName(pinName), m_strPinNumber(pinNumber), m_strSignal(signal), m_strKind(kind) {}
    CString m_strPinName;
    CString m_strPinNumber;
    CString m_strSignal;
    CString m_strKind;

    const CString& GetPinName() const { return m_strPinName; }
    const CString& GetPinNumber() const { return m_strPinNumber; }
    const CString& GetSignalName() const { return m_strSignal; }
    const CString& GetPinType() const { return m_strKind; }
};
// What a power assignment of implicit pins answers when the design refused a pin: the pins it had
// tied are taken back, and the edit that asked for it must not go on (TRUE: changed, FALSE: nothing to do).
constexpr int kPowerTieRefused = -1;

// Pin name -> the implicit pins of that name (owned by the caller after GetImplicitPins: delete each
// record and each array; FreeImplicitPins does that).
using CKXImplicitPinArray = CArray<CImplicitPin*>;
using CKXImplicitPinMap = CMap<CString, const char*, CKXImplicitPinArray*, CKXImplicitPinArray*>;

class CKXGenUtils {
public:
    // --- Names (no design needed) ---

    // Splits a signal name. On success: display name (normalised text), net name (the base name, escapes
    // resolved), lsb and msb (left as the caller preset them, normally -1, for a scalar), step (1 unless
    // given), pin type (left as preset: the text carries none), scope (KX_SCOPE_*), stride flag (1 when a
    // step other than 1 was given), expand flag (1 when the name covers more than one bit). On failure
    // nothing is written and FALSE is returned.
    static BOOL ParseSignalName(const CString& text, CString& displayName, CString& netName, int& lsb,
                                int& msb, int& step, int& pinType, int& scope, int& stride, int& expand);
    // Short form: base name and the two bounds.
    static BOOL ParseSignalName(const CString& text, CString& netName, int& lsb, int& msb);

    // Splits a pin name (no scope suffix): display name, base name, lsb, msb, step, scope (always local),
    // pin type (left as preset). FALSE and nothing written when the text is not a pin name.
    static BOOL ParsePinName(const CString& text, CString& displayName, CString& baseName, int& lsb, int& msb,
                             int& step, int& scope, int& pinType);
    static BOOL ParsePinName(const CString& text, CString& baseName, int& lsb, int& msb);

    // Splits a differential-pair name: full name (the normalised text without the pair marker), base name,
    // second (the lsb position) and first (the msb position), both -1 without a range, and flag = 1 when
    // the text carried the pair marker KX_DP_MARKER. FALSE when the text is not a pair name.
    static BOOL ParseDPName(const CString& text, CString& name, CString& base, int& second, int& first,
                            int& flag);
    // The two leg-net names of a pair's base name: base + "_P" and base + "_N" (a range stays at the end:
    // "D<3..0>" gives "D_P<3..0>" and "D_N<3..0>"). FALSE for an empty or unparsable base.
    static BOOL GetDiffPairNetNames(const CString& base, CString& positive, CString& negative);

    // Orders two bounds so that lsb <= msb.
    static void AdjustLsbMsb(int& lsb, int& msb);
    // TRUE when the name is the no-connect net "NC" (any letter case, blanks around ignored).
    static BOOL IsNC(const CString& name);

    // Puts a backslash before every occurrence of ch.
    static void EscapeCharacter(CString& text, char ch);
    // Puts a backslash before every '[' and ']'.
    static void EscapeSquareBrackets(CString& text);

    // TRUE when `a` is one of the hierarchical paths listed in `b`, or lies below one of them, or the other
    // way round (callers pass the path and the list in either order). Lists separate paths by blanks, tabs,
    // line breaks, ';' or ','. An empty list excludes nothing.
    static BOOL IsSPathToBeExcluded(const CString& a, const CString& b);

    // Checks a property value by the property's rules; may rewrite it (trimmed). FALSE with a reason in
    // `message` when the value is not allowed (see the .cpp for the rules).
    static BOOL ValidatePropValue(const CString& propName, const CString& value, CString& message);

    // The working directory of the editor (for file dialogs): KX_WORK_DIR when set, else the current one.
    static CString GetWorkingDir();

    // Whether pin swapping is allowed at all (environment variable KX_ALLOW_SWAP_PINS is set).
    static BOOL IsSwapPinsAllowed();

    // --- Design look-ups ---
    // The pin's type as the grids show it: "Input", "Output", "Bidirectional", "In/Out", "Power", "Ground",
    // or "" when unknown.
    static CString GetPinType(const IInstTerm* pin);
    static CString GetPinType(const CInstTermContext& pin);
    // The instance's reference designator (its "LOCATION" property); "" when none.
    static CString GetLocationProp(const IInstance* instance);
    static CString GetLocationProp(const CInstanceContext& instance);
    // The pin numbers ("PN") of bits first..second of a pin, separated by ","; a scalar pin (or bits -1)
    // gives the pin's own number. Bits without a number are left out.
    static CString GetPNProp(const CInstTermContext& pin, int first, int second);
    static CString GetPNProp(const CInstTermContext& pin, int bit);
    // The pin number of one pin bit.
    static CString GetPinNumber(const CInstTermBitContext& bit);
    // The logical name of a pin bit: the pin's name with the bit ("D<3>"), the plain name for a scalar.
    static CString GetPinLogicalName(const CInstTermBitContext& bit);
    // Display names of a pair pin and a pair net: the name, with the bit range for a vector pair.
    static CString GetDiffPairName(const IDPInstTerm* pair);
    static CString GetDiffPairName(const IDPNet* pair);
    // The bus name of a net: its "BUS_NAME" property, else its name with its range.
    static CString GetBusName(const CNetContext& net);
    // Whether the instance is marked co-design (its "CODESIGN" property is TRUE, YES or 1).
    static BOOL IsCodesign(const IInstance* instance);
    static BOOL IsCodesign(const CInstanceContext& instance);
    // The package definition of an instance (a new object the caller deletes); NULL when it has none.
    static IPhysPartDefn* GetPhysPartDefn(const CInstanceContext& instance);
    // Fills map (pin name -> new array of new records) with the implicit pins of a package; returns how
    // many. The caller frees them with FreeImplicitPins.
    static int GetImplicitPins(const IPhysPartDefn* defn, CKXImplicitPinMap& map);
    static void FreeImplicitPins(CKXImplicitPinMap& map);
    // The number of implicit power pins of the design's instances tied to net bits lsb..msb of a net
    // (a scalar net: the net itself); their "instance.pin" names go to pinNames when given.
    static int GetConnectedPowerPins(const CDesignContext* design, const INet* net, int lsb, int msb,
                                     std::vector<CString>* pinNames = nullptr);
    // The net named by a signal text (a logical name with an optional bit, or a physical net name);
    // bit receives the bit (-1 for a whole net); NULL when none.
    static INet* GetNetFromPNN(const CDesignContext& design, const CString& signal, int& bit);
    // The logical name of a power signal (the net's name with its bit); the text itself when unknown.
    static CString GetPowerSigLogicalName(const CDesignContext& design, const CString& signal);
    // The physical net name of a power signal ("PHYS_NET_NAME" of the net bit); the text itself when unknown.
    static CString GetPowerSigPhysicalName(const CDesignContext& design, const CString& signal);
    // The signal models the pin's part offers; TRUE when there is at least one.
    static BOOL GetDefaultPinSignalModel(CStringList& candidates, const CInstTermBitContext& pin);
    // The assigned model (the "SIGNAL_MODEL" property of the bit, else of the pin); "" when none.
    static CString GetPinSignalModel(const CInstTermBitContext& pin);
    static CString GetPinSignalModel(const IInstTerm* pin);
    // The top-most design above a design context (following parent instances).
    static CDesignContext GetTopMostParent(const CDesignContext& design);
    // Whether the connections of two pin bits may be swapped: two different bits of one instance's part
    // whose pin numbers the server's pin-swap service lets swap. TRUE means allowed, FALSE refused; callers
    // test for TRUE (a caller that reads 0 as "allowed" would refuse every swappable pair).
    static BOOL CanSwapConnections(const CDesignContext& design, const IInstTerm* pinA, int bitA,
                                   const IInstTerm* pinB, int bitB);
};
