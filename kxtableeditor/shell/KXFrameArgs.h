// Reading the arguments of the frame's script commands. The handlers take the
// values out of their argument list first (one vector of values per argument)
// and decide with these functions, so the rules can be checked on their own.
#pragma once

#include "afx/afxstr.h"

#include <vector>

using KXArgValues = std::vector<std::vector<CString>>;

// First value of argument i, or nullptr when the argument or its value is missing.
const CString* KXFirstValue(const KXArgValues& args, size_t i);

// closeDesign: "-nosave" (any case) or anything beginning with "-n" -> 0; "-save"
// (any case) or beginning with "-s" -> 1; anything else -> -2.
int KXCloseOption(const CString& word);

// physicalView / logicalView: 0 no save, 1 save, -1 prompt, -2 wrong word.
// Only the whole word "-prompt" (any case) asks.
int KXViewOption(const CString& word);

// filterBlock option word: 1 exclude ("-exclude"/"-e" any case), 0 include
// ("-include"/"-i"), -1 anything else.
int KXFilterOption(const CString& word);

// designComment: the chosen operation and its text.
enum class EKXCommentOp { None, Add, Edit, Delete, Help };
EKXCommentOp KXParseDesignComment(const KXArgValues& args, CString& text);

// exportInterface / importInterface arguments.
struct SKXInterfaceArgs {
    CString inst;
    CString file;
    bool instGiven = false;
    bool fileGiven = false;
    int localAsInout = 0;
};
// Returns the message id to show (empty when the arguments are good). A word
// right after "-inst" or "-file" is that option's value even when it contains
// "-h", "-i" or "-f"; only a whole option word takes the place of the value.
CString KXParseExportArgs(const KXArgValues& args, SKXInterfaceArgs& out);
CString KXParseImportArgs(const KXArgValues& args, SKXInterfaceArgs& out);

// The instance path of a hierarchical path, as the block-name path of scripts:
// instance names from the top down joined by ':'. `nameAt` gives the instance
// name of a hierarchical path prefix ("@u1@u2" -> "u2").
template <typename NameAt> CString KXBlockNamePath(const CString& spath, NameAt nameAt) {
    CString path = spath;
    CString names = nameAt(path);
    for (;;) {
        int at = path.ReverseFind('@');
        if (at <= 0) break;
        path = path.Left(at);
        names = nameAt(path) + ":" + names;
    }
    return names;
}
