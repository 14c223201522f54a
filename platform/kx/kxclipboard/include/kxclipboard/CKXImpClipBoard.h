// The editor's clipboard: plain text for other programs plus typed objects (cell texts, terminations and
// pull-up/pull-down groups) in a private format, so that a paste into any grid can rebuild the objects.
//
// Private format ("KXObjects", version 1). The object data is 8-bit text made of entries, each ended by
// "\r\n":
//
//   @TX <n>:<text>                                   a cell copied as text
//   @AC <kind> <number> <n1>:<t1> <n2>:<t2> <n3>:<t3> one associated component (kind 1 termination,
//                                                    2 pull-up/pull-down); t1 type text, t2 name text,
//                                                    t3 component data (empty: nothing attached)
//   @GR                                              opens a pull-up/pull-down group (one net bit)
//   @EG                                              closes the group
//
// Every text is length-prefixed (decimal byte count, then ':' and exactly that many bytes), so texts may hold
// any bytes, including blanks, tabs and line breaks, without escaping. The whole data starts with the header
// line "KXCLIP 1\r\n". A reader accepts only data that parses completely: unknown tags, bad numbers, lengths
// that run past the end, unbalanced groups or an entry outside a group where a group is required are refused
// as a whole, with a message that names the offending entry; nothing of refused data is handed on.
//
// The plain text beside it is tab-separated columns, one line per row, lines ended by "\r\n". Beside the text
// the copying grid may mark its fields (one mark per field, line by line: what column each came from); the marks
// stay with the publication inside this process, so a clipboard another program filled carries none.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <string>
#include <string_view>
#include <vector>

class CDesignContext;
class CInstanceContext;
class CInstTermBit;
class CNetBit;
class CTransaction;
class IDTInstance;
class IDPInstTerm;

// The kinds of object data the clipboard holds (GetObjectType).
enum EKXClipObjectType {
    KX_CLIP_NONE = 0,         // the clipboard is empty
    KX_CLIP_PLAIN_TEXT = 2,   // text only, from this or another program
    KX_CLIP_TEXT_OBJECTS = 4, // cells copied as text objects
    KX_CLIP_TERMINATIONS = 8, // copied terminations
    KX_CLIP_PUPD_GROUPS = 16, // copied pull-up/pull-down groups
};

// Can-paste callbacks installed by the grid that is the paste target; they judge an object kind against the
// target's current cell.
typedef BOOL (*KXCanPasteCallBack)(int objectType);

// The associated-components library describes and rebuilds its components for the clipboard through this
// interface; it installs itself at initialisation. Without it, associated components copy as empty entries
// and paste as refusals.
class IKXClipAssocCodec {
public:
    virtual ~IKXClipAssocCodec() = default;
    // Fills the three entry texts for one component (instance may be null: nothing attached).
    virtual bool Describe(const CDesignContext& design, int bit, IDTInstance* instance, int kind,
                          CString& typeText, CString& nameText, CString& dataText) = 0;
    // Rebuilds a described component on a pin bit, pair pin or net bit inside the transaction; non-zero on
    // success.
    virtual int Paste(CTransaction* transaction, const CInstTermBit& pinBit, IDPInstTerm* pairPin,
                      const CNetBit& netBit, const CInstanceContext& instance, const CString& dataText,
                      const CString& typeText, const CString& nameText, const CString& netName, int kind,
                      int flags) = 0;
};

// Marks of a copied table's fields: one list per line of the text, one mark per field.
using KXClipFieldMarks = std::vector<std::vector<std::string>>;

// One parsed entry of the object data.
struct SKXClipEntry {
    enum Tag { Text, AssocComp, GroupBegin, GroupEnd } tag = Text;
    int kind = 0;
    int number = 0;
    std::string text1, text2, text3;
};

class CKXImpClipBoard {
public:
    // ---- copy side ----
    static void StartCopying();
    static void CopyCFText(CString text);
    static void CopyTextAsObject(CString text);
    // Appends one associated-component entry and returns its entry text.
    static CString CopyAssocComponents(const CDesignContext& design, int bit, IDTInstance* instance,
                                       int kind);
    static void StartPupdGroup();
    static void EndPupdGroup();
    // The object data gathered since StartCopying; TRUE when it is not empty.
    static BOOL GetDataBuffer(CString& buffer);
    static void SetClipboardText(const char* data, const char* text);
    // Marks the fields of the text about to be published (StartCopying forgets them).
    static void SetFieldMarks(KXClipFieldMarks marks);
    static void EndCopying();
    // Publishes what was copied: the object data when putObjects, the plain text when putText.
    static BOOL PutTextOnClipBoard(int putObjects, int putText);

    // ---- paste side ----
    static void InitCanPasteCallBack(KXCanPasteCallBack objectCallBack, KXCanPasteCallBack textCallBack);
    static BOOL CanPasteObject();
    static BOOL CanPasteText();
    // The kind of data on the clipboard (source 1) or in a clipboard-viewer item (source 0-based index + 2).
    static int GetObjectType(int source = 1);
    static BOOL GetCFText(CString& text);
    // Reads and checks the clipboard (index -1) or a viewer item (index >= 0) and prepares the termination
    // and pull-up/pull-down buffers and the text. FALSE, with GetLastError() set, when nothing usable is
    // there or the object data is malformed; the buffers are then empty.
    static BOOL ProcessDataForPaste(int format, const CDesignContext* design, int index,
                                    BOOL terminationColumn, BOOL pasteSpecial, int reserved1, int reserved2,
                                    int reserved3, int reserved4);
    // The field marks of what ProcessDataForPaste prepared: empty when its copy marked none.
    static const KXClipFieldMarks& GetPasteFieldMarks();
    static void GetTerminationBuffer(CString& buffer);
    static void GetPupdBuffer(CString& buffer);
    static int GetNumberOfPupdGroups(const CString& buffer);
    // Takes the next group off the front of buffer into group (the group's entries). FALSE when none is
    // there.
    static BOOL PruneGroupString(CString& buffer, CString& group);
    // Parses the entry at the front of text; returns the number of characters it takes, negative when none
    // can be read (an empty text gives -1, malformed data -2).
    static int GetAssocCompInfo(CString text, int& kind, int& number, CString& text1, CString& text2,
                                CString& text3);
    static int PasteAssocComponents(CTransaction* transaction, const CInstTermBit& pinBit,
                                    IDPInstTerm* pairPin, const CNetBit& netBit,
                                    const CInstanceContext& instance, CString dataText, CString typeText,
                                    CString nameText, CString netName, int kind, int flags);
    static void SetPasteSpecial();
    static BOOL IsPasteSpecial();

    // Clipboard viewer: the most recent publications, newest first.
    static int GetViewerItemCount();
    static CString GetViewerItemText(int index);

    static void SetAssocCodec(IKXClipAssocCodec* codec);
    static IKXClipAssocCodec* GetAssocCodec();
    // Text of the last refusal (empty when the last operation succeeded).
    static CString GetLastError();
    // Forgets everything: clipboard, viewer, buffers, callbacks, marks (tests, and the host between
    // sessions).
    static void Reset();

    // ---- format helpers ----
    static std::string EncodeText(std::string_view text);
    static std::string EncodeAssoc(int kind, int number, std::string_view t1, std::string_view t2,
                                   std::string_view t3);
    // Parses complete object data (with or without the header line). On failure returns false and sets error.
    static bool ParseObjects(std::string_view data, std::vector<SKXClipEntry>& entries, std::string& error);

    static bool m_bIgnoreEmptyCellsInPasteSpecial;
    // Column names given to a scripted paste special; kept for the grids that read it (the copied data
    // carries no column names, so the data prepared here does not depend on it).
    static CStringArray m_TclPasteSpecialArray;

    static constexpr int kViewerItems = 20;
    static constexpr const char* kFormatName = "KXObjects";
    static constexpr const char* kHeader = "KXCLIP 1\r\n";
};

extern "C" BOOL InitKXClipboardDll();
