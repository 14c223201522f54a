// Process-wide data that the host and the editors share.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <cstdio>
#include <vector>

class IServer;
class CDesignContext;

// The host's project file, as the host loaded it: program sections, each with directives, each with one or
// more value texts. Readers (the editors' project reader) select sections and directives by name.
struct SKXProjectDirective {
    CString name;
    std::vector<CString> values;
};
struct SKXProjectSection {
    CString name;
    std::vector<SKXProjectDirective> directives;
};
class CKXVpxProject {
public:
    std::vector<SKXProjectSection> m_sections;
    // The section of that name (compared without regard to case), NULL when none.
    const SKXProjectSection* FindSection(const char* name) const;
    // The directive of that name in a section (compared without regard to case), NULL when none.
    static const SKXProjectDirective* FindDirective(const SKXProjectSection& section, const char* name);
    // Adds a value to a directive, creating the section and the directive as needed (the host's loader).
    void AddValue(const char* section, const char* directive, const char* value);
};

// Where the designs of a library live on disk.
class IKXDataAccessContext {
public:
    virtual ~IKXDataAccessContext() = default;
    // The directory of the design lib.cell:view; TRUE with dir set, FALSE (dir empty) when unknown.
    virtual BOOL GetDesignDirectory(const char* lib, const char* cell, const char* view, int flags,
                                    CString& dir) = 0;
};

// The data-access context of the connectivity server in CKXShareGlobalData::m_pServer: the folder each
// loaded design was read from. It is the default of CKXShareGlobalData::m_pDataAccessContext.
class CKXServerDataAccess : public IKXDataAccessContext {
public:
    BOOL GetDesignDirectory(const char* lib, const char* cell, const char* view, int flags,
                            CString& dir) override;
};

class CKXShareGlobalData {
public:
    // The connectivity server; NULL before the host set it.
    static IServer* m_pServer;
    // The current (top) design of the host.
    static CDesignContext* m_pDesign;
    // The host's loaded project file.
    static CKXVpxProject* m_pVpxProject;
    // The path of the automation journal, or NULL when no journal is written (the name is historical).
    static char* m_bAutomation;
    // TRUE while a journal is being replayed (questions then count as answered yes).
    static BOOL m_bReplay;
    // While a replay runs the lines of one edit journalled a call per row (between RMX.BeginStep() and
    // RMX.EndStep()): the number of that group, 0 outside one. The undo history keeps the steps the
    // calls of one group make as one step, as the edit was.
    static int m_nReplayStepGroup;
    // Whether the grids show power pins.
    static BOOL m_bShowPowerPins;
    // TRUE while an editor asks the host to open a design whose opening its own journal line repeats
    // (an ascend to the parent): the host then journals no opening of its own.
    static BOOL m_bOpenJournalled;
    // The transaction log, or NULL.
    static FILE* m_fpTransLogFile;
    // The design directories (the server's by default).
    static IKXDataAccessContext* m_pDataAccessContext;

    // Sets or clears (NULL) the journal path; the text is copied and owned here.
    static void SetAutomationPath(const char* path);
    // Sets the replay flag here and in the answer queue.
    static void SetReplay(BOOL replay);
    // Appends a line to the transaction log when one is open (flushed at once).
    static void LogTransactionMessage(const CString& text);
    // TRUE when a journal is written and its path names a ".vbs" file.
    static BOOL IsJournalling();
    // Appends text to the journal ("ab"); FALSE when there is no journal or it cannot be opened.
    static BOOL AppendToJournal(const CString& text);
    // A journal string literal for text: quotes doubled, line breaks joined in as vbCr/vbLf
    // so that user text can never end the call line and start a statement of its own.
    static CString JournalString(const CString& text);
};

class CKXShareAppData {
public:
    // Set while the host application is closing (documents then do not echo their close).
    static BOOL m_bIsAppClosing;
};
