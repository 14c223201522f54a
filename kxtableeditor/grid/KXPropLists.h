// The property lists of the termination and pull-up words (-k, -i): per designator, the
// items its map value holds, one a line (empty lines dropped).
#pragma once

#include "kxassoccomp/CKXAssocCompAPI.h"

#include <map>
#include <set>
#include <vector>

KXPropListMap KXPropListsOf(const CMapStringToString* lists);
// The items of one such list text.
std::vector<CString> KXPropItemsOfLines(const CString& text);

class CTclArgs;
class CTclArgsList;

// A property list as every word that takes one reads it (-k, -i, -keyprop, -injprop): the values of an
// argument given as several ([list A=1 {B=x y}]), or the list elements of an argument given as one text
// ({A=1 B=2} is two properties, {{B=x y}} one); false when the text reads as no list.
bool KXReadPropertyList(const CTclArgs& arg, std::vector<CString>& items);
// Adds the items to a script line as one argument that KXReadPropertyList reads back as the same items.
void KXAddPropertyList(CTclArgsList& words, const std::vector<CString>& items);

// The operands of the "editTermination" word as the association library's edit takes them: the
// designators named, the renames (old designator to new), and the key and instance property lists.
struct KXTerminationEditArgs {
    std::set<CString> designators;
    std::map<CString, CString> renames;
    KXPropListMap keyProps;
    KXPropListMap instProps;
    std::map<CString, CString> partLooks; // "<part>.<field>" (part from 0) to the part's new look
};
KXTerminationEditArgs KXTerminationEditArgsOf(const CStringArray* designators,
                                              const CMapStringToString* oldToNew,
                                              const CMapStringToString* keyProps,
                                              const CMapStringToString* instProps,
                                              const CMapStringToString* partLooks = nullptr);

// The per-part operands of the scripted termination add: the text a part has in `list` ("" for a
// part past its end or without a list), and the property list a part has in `lists` (NULL likewise).
CString KXPartText(const CStringArray* list, INT_PTR part);
CStringArray* KXPartList(const CObArray* lists, INT_PTR part);
// Whether the scripted termination add gives a part at all: any of its texts is given. A part given
// with an empty library, cell and view is a part of no library (as a design file may hold one), whose
// physical name and value are kept as given.
bool KXPartGiven(const CStringArray* libs, const CStringArray* cells, const CStringArray* views,
                 const CStringArray* physNames, const CStringArray* values, INT_PTR part);

// Raises the replay flag for the life of a scripted termination or pull-up edit, so that the
// association library asks no questions, and puts back the flag it found.
class KXScriptedAssocScope {
public:
    KXScriptedAssocScope();
    ~KXScriptedAssocScope();
    KXScriptedAssocScope(const KXScriptedAssocScope&) = delete;
    KXScriptedAssocScope& operator=(const KXScriptedAssocScope&) = delete;

private:
    BOOL m_saved;
};

class CKXGridWnd;

// The change the termination dialog made to the termination it showed, kept in its type: the grid
// makes it in place (names, other properties and parts' designators stay) by its editTermination, on
// that termination or, over several pins, on each pin's.
struct KXTerminationDialogEdit {
    std::vector<CString> names; // the termination shown; over several pins, every pin's
    CMapStringToString partLooks; // "<part from 0>.<field>" to the part's new look
    CString delay, high, low;
};
// Reads the last dialog's change into `edit`; false when the dialog chose a termination to add instead.
bool KXTerminationDialogEditOf(const CKXAssocCompAPI& api, KXTerminationDialogEdit& edit);
// Makes the change on the grid's selected terminations named as the editTermination word does (one
// step, journalled as that word); TRUE when it did.
BOOL KXMakeTerminationDialogEdit(CKXGridWnd& grid, const KXTerminationDialogEdit& edit);
