// Column customisation per grid kind ("origin": "CCP", "SCP", "PHYSCP", "PHYCCP", "MATRIX").
//
// An entry describes one column: "key|caption|width|origin|display", for example "PN|Pin
// Number|12s|DEFAULT|SHOW":
// - width: a number followed by "s" (characters, scaled by the grid's font) or "f" (fixed, pixels);
// - origin: DEFAULT, INSTPROP, PINPROP, NETPROP or USER (0, 1, 2, 3, 4);
// - display: SHOW or HIDE. An entry may be enclosed in one pair of double quotes.
// Each origin has default entries (the grid's columns as the grid last saved them, or built-in ones) and
// user entries (columns added in the customise dialog that the grid has not yet taken into its defaults).
//
// Storage: one file per origin, "<dir>/<origin>.cust", with the line "KXCUSTOMIZE 1", then lines
// "D <entry>" (default) and "U <entry>" (user). The directory is SetStorageDirectory's, else the environment
// variable KX_CUSTOMIZE_DIR, else the folder of the user settings (AfxGetRegistryDirectory); when that is
// empty the customisation lives in memory only. A file that cannot be read makes Initialize(false) answer
// KX_CUSTOMIZE_RETRY (-5) and keep nothing; Initialize(true) then starts again from the built-in entries.
//
// The service is process-wide: every operation is static, and GetCKXCustomizeObj() gives the one object for
// callers that prefer an instance.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

constexpr int KX_CUSTOMIZE_RETRY = -5;

// What invokeCustomizeDialog answers for an accepted dialog: something changed, or nothing did.
constexpr int KX_CUSTOMIZE_CHANGED = 1;
constexpr int KX_CUSTOMIZE_UNCHANGED = 0;

// Width kinds and display values that parseAttributeValues reports.
constexpr int KX_WIDTH_CHARS = 1;
constexpr int KX_WIDTH_FIXED = 2;
constexpr int KX_ORIGIN_DEFAULT = 0;
constexpr int KX_ORIGIN_INSTPROP = 1;
constexpr int KX_ORIGIN_PINPROP = 2;
constexpr int KX_ORIGIN_NETPROP = 3;
constexpr int KX_ORIGIN_USER = 4;

class CKXCustomizeAPI {
public:
    static CKXCustomizeAPI* GetCKXCustomizeObj();

    // Selects the grid kind that the following calls concern.
    static void setCustomizationOrigin(const char* origin);
    static CString getCustomizationOrigin();

    // Loads the stored customisation of the current origin (once per origin; again with bReset).
    // 0 on success; KX_CUSTOMIZE_RETRY when the stored file is unreadable (call again with true, which
    // sets the built-in entries aside the bad file's name + ".bad").
    static int Initialize(bool bReset);
    static BOOL IsInitialized();

    // Splits an entry. FALSE (outputs untouched) when it is not a valid entry.
    static BOOL parseAttributeValues(const CString& entry, CString& key, int& width, int& widthType,
                                     int& origin, CString& caption, int& display);
    // Builds an entry; width is in characters (KX_WIDTH_CHARS) or pixels (KX_WIDTH_FIXED).
    static CString formatEntry(const CString& key, const CString& caption, int width, int widthType,
                               int origin, BOOL shown);

    // The current origin's entries.
    static const CStringArray& getDefaultEntriesArray();
    static const CStringArray& getUserEntriesArray();

    // The grid's current columns become the default entries of the current origin (invalid entries are
    // refused: FALSE and nothing changes).
    static BOOL saveDefaultCustomization(const CStringArray& entries);
    // The user entries of the current origin become these (a column added in the customise dialog keeps
    // the width and display the grid gave it); invalid entries are refused: FALSE and nothing changes.
    static BOOL saveUserCustomization(const CStringArray& entries);
    // Takes a list as the current customisation; with bMerge the user entries whose key the list holds are
    // dropped (they are in the defaults now), without it the user entries are emptied.
    static BOOL parseFile(const CStringArray& entries, bool bMerge);
    // Writes every initialised origin's file (temporary file, then renamed over the old one); TRUE without
    // writing anything when the customisation lives in memory only.
    static BOOL saveFile();

    // The customise dialog for a grid kind, answered from the answer queue (dialog "CKXCustomizeDialog").
    // Fields: "hide" and "show" (keys separated by ','), "order" (keys in their new order; others follow),
    // "width.<key>" (new width, "12s" or "40f"), "add" (entries to add as user entries, separated by ';'),
    // "remove" (keys of user entries to remove). Returns 1 when accepted and something changed, 0 when
    // accepted without a change, 2 when cancelled, -1 when an answer field is invalid (nothing changes).
    static int invokeCustomizeDialog(int gridKind);
    // Adds an entry as a user entry of the current origin, as the customise dialog's "add" does:
    // 1 when added, 0 when the origin has a column of its key already (nothing changes), -1 when it is
    // no valid entry.
    static int addUserEntry(const CString& entry);

    static void SetStorageDirectory(const char* dir);
    static CString GetStorageDirectory();
    // Forgets everything held in memory (tests).
    static void Reset();
};
