// Comments of a design (one design comment, pin comments keyed by instance and pin key) and the stored matrix
// views, kept in a file beside the design.
//
// File "<cell>.<tool>.notes" in the design's folder (the folder given to loadComments, or the folder of the
// file it names). Text, one record per line, fields separated by tabs, with "\\", "\t", "\n" and "\r" escaped
// as "\\\\", "\\t", "\\n", "\\r", and each byte of a control character or of bytes that are no UTF-8 text
// as "\\xHH" (two hex digits), so that the file is UTF-8 text without controls:
//
//   KXNOTES 1
//   D <text> <date> <time> <user>                  the design comment (at most one)
//   P <instance key> <pin key> <text> <date> <time> <user>
//   V <view name>                                  a matrix view; the lines below it belong to it
//   I <instance path>
//   S <signal path>
//
// The file is written to a temporary file in the same folder and renamed over the old one, so a crash leaves
// either the old or the new file. A file that does not parse is refused as a whole: loadComments returns
// false, GetLastError names the file and line, and the store stays empty (the design itself is not affected).
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class AfxFileStamp;
class CStringArray;

class CMatrixViewData {
public:
    void GetMatrixComponentList(const CString& view, CStringArray& paths) const;
    void GetMatrixSignalList(const CString& view, CStringArray& paths) const;
    void GetMatrixComponentList(const CString& view, std::vector<CString>& paths) const;
    void GetMatrixSignalList(const CString& view, std::vector<CString>& paths) const;
    // Appending to a view that does not exist yet creates it; a path the view lists already is not
    // listed twice.
    void AddInstanceToMatrixView(const CString& view, const CString& path);
    void AddSignalToMatrixView(const CString& view, const CString& path);
    // Creates an empty view; FALSE when the name is empty or taken.
    BOOL CreateView(const CString& view);
    BOOL RemoveView(const CString& view);
    // Puts a whole view in at a place among the views (a place past the end appends it); FALSE, and
    // nothing changes, when the name is empty or taken.
    BOOL InsertView(int index, const CString& view, const std::vector<CString>& instances,
                    const std::vector<CString>& signals);
    // Gives a view a new name and content in its place; FALSE, and nothing changes, when there is no
    // view of that name or the new name is empty or another view's.
    BOOL ReplaceView(const CString& view, const CString& newName, const std::vector<CString>& instances,
                     const std::vector<CString>& signals);
    // A net of the design renamed: in every view, the paths of it (the path from, or a bit of it: from
    // followed by "<") take the path to, a path listed twice then kept once (where it was first). The
    // views keep their revisions: the windows that show them follow the rename themselves; the store is
    // dirty. Returns how many views changed.
    int RenameNet(const CString& from, const CString& to);
    // An instance renamed: its path from takes the path to in every view, as a net's does.
    int RenameInstance(const CString& from, const CString& to);
    // The place of a view among the views; -1 when there is none.
    int IndexOfView(const CString& view) const;
    std::size_t Count() const { return m_views.size(); }
    BOOL HasView(const CString& view) const;
    void GetViewNames(std::vector<CString>& names) const;
    // Nonzero when the view changed since it was last marked loaded.
    BOOL IsViewModified(const CString& view) const;
    void SetMatrixViewModified(const CString& view, BOOL modified);
    // A number that every change of the view renews, never given to another view of the store (0 when
    // there is no such view). Several windows show one store: each knows from the number it loaded
    // whether the view changed since, whoever loaded it last.
    std::uint64_t ViewRevision(const CString& view) const;
    void Clear();

    // Modified since the store was loaded or saved.
    bool IsDirty() const { return m_bDirty; }
    void SetDirty(bool dirty) { m_bDirty = dirty; }

private:
    friend class CComments;
    struct View {
        CString name;
        std::vector<CString> instances;
        std::vector<CString> signals;
        bool modified = true;
        std::uint64_t revision = 0;
    };
    View* find(const CString& view);
    const View* find(const CString& view) const;
    View& findOrCreate(const CString& view);
    // Marks a view changed: modified, a new revision, and the store dirty.
    void touch(View& v);
    // Each view's paths in the list take the path a rename gives them (renamed: true with the new path
    // for a path of the renamed object), a path listed twice then kept once; the views changed.
    using PathRename = std::function<bool(const std::string& path, std::string& renamed)>;
    int renamePaths(std::vector<CString> View::*list, const PathRename& renamed);
    std::vector<View> m_views;
    bool m_bDirty = false;
    std::uint64_t m_lastRevision = 0;
};

class CComments {
public:
    // tool: the writing tool's name; cell: the design's cell; number: the design's version number.
    CComments(const CString& tool, const CString& cell, double number);
    ~CComments();
    CComments(const CComments&) = delete;
    CComments& operator=(const CComments&) = delete;

    // Reads the comments of the design at path (a folder, or a file in the design's folder). A missing
    // comments file is an empty store (true); an unreadable or malformed one gives false and an empty store.
    bool loadComments(const CString& path);
    // Writes the comments beside the design named at load (or at path when given); true on success. A file
    // that loadComments refused is not written over (false, with the reason).
    bool saveComments(const CString& path = CString());
    // Writes the comments as those of another design: the design named cell in folder (a Save As). The
    // store keeps its own file and its modified mark; true on success, else false with the reason in
    // GetLastError(). A comments file of that name that is there already is not written over.
    bool saveCommentsAs(const CString& folder, const CString& cell);
    CString GetFilePath() const { return m_strFile; }
    // Whether a save in place would change the comments file: the store differs from what the file held
    // when the store last read or wrote it. A store with nothing in it and no file has nothing to save.
    bool hasChangesToSave() const;
    // Whether the comments file changed on disk since the store last read or wrote it (another process
    // saved it): a save in place is refused.
    bool fileChangedOnDisk() const;
    // Gives the design comment back as the store's own file holds it (as the store last read or wrote
    // it there): the comment the store held went with a save under another name.
    void restoreFileDesignComment();
    CString GetLastError() const { return m_strError; }

    // The text a comment stores for the text given, in stored; the answer says why it cannot be stored
    // (empty when it can). A comment is UTF-8 text of printable characters, tabs and line breaks. The
    // text a Tcl host passes writes a NUL as C0 80 (named as the NUL it is) and a character beyond U+FFFF
    // as a pair of surrogates (stored as that character). The store itself takes any text (a file of an
    // older writer may hold other bytes): the file writes what is no text as escapes and reads them back.
    static std::string StoredText(const std::string& given, std::string& stored);

    bool getDesignComments(CString& text, CString& date, CString& time, CString& user) const;
    bool addDesignComments(const CString& text, const CString& date, const CString& time,
                           const CString& user);
    bool removeDesignComments();

    bool getPinComments(const CString& instanceKey, const CString& pinKey, CString& text, CString& date,
                        CString& time, CString& user) const;
    bool addPinComments(const CString& instanceKey, const CString& pinKey, const CString& text,
                        const CString& date, const CString& time, const CString& user);
    bool removePinComments(const CString& instanceKey, const CString& pinKey);
    // An instance renamed: its pins' comments move to the new instance key. A pin that already has a
    // comment under the new key keeps it, and the old one stays where it was. Returns how many moved;
    // movedPins (when given) gets their pin keys.
    int moveInstanceComments(const CString& fromInstance, const CString& toInstance,
                             std::vector<CString>* movedPins = nullptr);
    // Moves the comments of those pins only (what an undo of the move above takes back).
    int movePinComments(const CString& fromInstance, const CString& toInstance, const std::vector<CString>& pins);
    int GetPinCommentCount() const { return static_cast<int>(m_pins.size()); }

    CMatrixViewData* GetMatrixViewData() { return &m_views; }

    bool IsModified() const { return m_bModified || m_views.IsDirty(); }

    // Builds the file name for a design folder (or a file in it); empty when path names no folder.
    CString CommentsFileFor(const CString& path) const;

private:
    struct Entry {
        CString text, date, time, user;
    };
    bool parse(const std::string& data, const CString& file);
    CString FileFor(const CString& path, const CString& cell) const;
    std::string serialize() const;

    CString m_strTool;
    CString m_strCell;
    double m_dNumber;
    CString m_strFile;
    CString m_strError;
    bool m_bHasDesign = false;
    Entry m_design;
    // The design comment as the file at m_strFile holds it (as last read or written there).
    bool m_bFileHasDesign = false;
    Entry m_fileDesign;
    // Keyed by the texts themselves (a pair of CStrings would compare their pointers under C++20 rules).
    std::map<std::pair<std::string, std::string>, Entry> m_pins;
    CMatrixViewData m_views;
    bool m_bModified = false;
    // The file at m_strFile was refused: it is never written over, so that nothing in it is lost.
    bool m_bLoadRefused = false;
    CString m_strRefusedFile;
    // What the file at m_strFile held when this store read or wrote it: a save does not write over a
    // notes file another process saved since.
    std::shared_ptr<AfxFileStamp> m_stamp;
};
