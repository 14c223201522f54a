// What the host application does for the table editor library: loads it, owns
// the main window that receives the library's echoes and messages, opens
// designs through the library's document template, answers the library's
// questions from the answer queue, and replays journals.
#pragma once

#include "KXHostCore.h"

#include "afx/afxdisp.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class IDesign;

class CKXHostMainWnd;
class CDocTemplate;
class CDocument;
class CFrameWnd;
class CMDIChildWnd;
class CView;
class CWnd;
class CWinApp;
class IServer;
class CDesignContext;
class CInstanceContext;
class IDispatch;
class CKXVpxProject;
struct SKXJournalLine;

class CKXHostApp {
public:
    explicit CKXHostApp(CKXHostCore& core);
    ~CKXHostApp();
    CKXHostApp(const CKXHostApp&) = delete;
    CKXHostApp& operator=(const CKXHostApp&) = delete;

    // Loads the design library folder, then the editor library, initialises it and
    // gets its document template. `journal`: a ".vbs" journal path, or empty.
    // `library`: the editor library's file (empty: beside the host's own folder).
    bool Start(const std::string& designLib, const std::string& journal, std::string& error,
               const std::string& library = std::string());
    // Reads the project file ("[PROGRAM]" sections of "DIRECTIVE value ..." lines) into the
    // shared project object that the editor's settings reader reads.
    bool LoadProject(const std::string& path, std::string& error);
    // Closes the open designs and unloads the library.
    void Stop();
    // The designs whose last save failed (by any road: a word, a menu, a method, a close) and that no
    // later save wrote, each with the reason: the edits the host was asked to save and did not. Each
    // failure is said on standard error as it happens, whatever the options.
    const std::map<std::string, std::string>& UnsavedDesigns() const { return m_unsaved; }
    // The designs a script asked to open (kx::open) that did not open and that no later open of the same
    // name opened, each with the reason; NoteOpen says each failure on standard error as it happens.
    const std::map<std::string, std::string>& UnopenedDesigns() const { return m_unopened; }
    void NoteOpen(const std::string& design, bool opened, const std::string& why);
    // Replays a journal through the automation objects with the replay flag set.
    bool Replay(const std::string& path, std::string& error);

    CKXHostCore& Core() { return m_core; }
    CKXHostMainWnd* MainWnd() { return m_pMainWnd; }
    CDocTemplate* Template() { return m_pTemplate; }
    IServer* Server() { return m_pServer.get(); }

    // The active design window and its document, or nullptr. While a journal line's calls run on the
    // window its handle names, that window is the one the words its editor asks for act on.
    CFrameWnd* ActiveFrame() const;
    CDocument* ActiveDocument() const;
    // The connectivity pane of a design window: the document's view that is a pane but no list
    // pane; nullptr without a document or pane.
    static CView* PaneViewOf(CDocument* doc);
    // Design windows in tab order (from 1).
    std::vector<CDocument*> Documents() const;

    bool Open(const std::string& name, int mode, std::string& error);
    // Opens the block of a block instance of the active window's design within that design, as the host
    // application does: in open mode 2 (in the context of its parent, read-only), 3 or 6 (within its
    // parent, editable). The block's window can ascend to the parent. A read-only window opens its blocks
    // read-only (mode 2) only. A window already showing the block in that mode is made active.
    bool OpenBlock(const std::string& instance, int mode, std::string& error);
    // The design an editor's request to open names: a design name as it is; the design path "@" (the root
    // of a design's hierarchy, as a window that opens its design again sends it) the active window's root
    // design.
    std::string RequestedDesign(const std::string& name) const;
    // The open modes a design window takes (0 1 2 3 4 6).
    static bool IsOpenMode(int mode);
    // Whether the file can take the journal (a name with ".vbs", a file that opens for appending); else why
    // not.
    static bool CanJournalTo(const std::string& journal, std::string& error);
    // A decimal integer, optionally signed, and nothing else.
    static bool ParseNumber(const std::string& text, int& value);
    // Calls an automation method on a document's interface. The call may close the document
    // (Close): its interface is then gone with it and is not released again.
    HRESULT InvokeOnDocument(CDocument* doc, IDispatch* disp, const char* method, std::vector<COleVariant> args,
                             COleVariant* result);
    // The usage of an automation method as the host command `command` calls it ("kx::pane ccp EditTermination
    // TEXT": TEXT, NUMBER or 0|1 a parameter, ?VALUE? one that may be left out); false when the object has no
    // method of that name, `usage` then saying so.
    static bool MethodUsage(IDispatch* disp, const std::string& command, const std::string& method,
                            std::string& usage);
    // Why a call of a method whose usage that is did not run (`given` arguments): the usage and the cause.
    static std::string MethodCallFailure(const std::string& usage, size_t given, HRESULT hr);
    bool Close(std::string& error);
    // The same, telling whether the window closed (a cancelled save question or a refused close keeps it).
    bool Close(std::string& error, bool& closed);
    bool ActivateTab(int tab, std::string& error);
    // A grid window of the active design window by the name the host's commands give it: "clp" or "slp" (the
    // list's grid), "ccp N" (the connectivity pane's N-th shown grid, from 1); nullptr with the cause.
    CWnd* GridWindow(const std::string& name, std::string& error);
    // The host's option that shows the parts' implicit power pins: the open windows follow a change, and
    // the journal records it, so that a replay shows the rows its power pin edits select.
    void ShowPowerPins(bool show);
    // Sets a user option in the registry and tells the open windows, as kx::option does; journalled as
    // RMX.SetOption, so that a replay's windows, those opened after it too, read what the session's read.
    bool SetOption(const std::string& name, const std::string& value, std::string& error);
    // The schematic tool's edit of the active window's design (kx::schematic): made and committed in a
    // transaction of the design, announced to the open windows with the tool's own notices, and journalled.
    bool SchematicEdit(const std::vector<std::string>& words, std::string& result);

    // kx::notify's words: the host's message sent as its windows and other tools send it (the changes it
    // carries committed first); the answer, or false with the cause. A message of the other tools is
    // journalled (call RMX.Notify).
    bool Notify(const std::vector<std::string>& words, std::string& result);
    // kx::setprop's words (PATH NAME VALUE): the property set outside the editor, announced to the windows
    // and journalled (call RMX.SetProp); the number of windows reached, or false with the cause.
    bool SetProperty(const std::vector<std::string>& words, std::string& result);
    // Runs again the words of a host line of the journal (RMX.Notify, RMX.SetProp, RMX.Schematic).
    bool ReplayHostWords(int kind, const std::vector<std::string>& words, std::string& result);

    // "instance pin[bit] net[bit]" per connected pin bit of the active design, sorted.
    std::vector<std::string> Netlist(std::string& error) const;
    // A design's connections, one "instance pin<bit> net<bit>" line per connected pin bit, sorted.
    static std::vector<std::string> NetlistOf(IDesign* design);
    // Runs a script word of the active design window (the window's, its pane's or a list
    // pane's); its result in `result`, false with `error` when no window takes the word.
    bool Route(const std::string& word, const std::vector<KXHostArg>& args, long& result, std::string& error);
    // Runs a user's step (a key, a command) as the editor answers it: 1 when it did its work, 0 when a
    // handler refused or found nothing to do, 2 for a dialog cancelled; 1 without the editor library.
    long AnsweredStep(const std::function<void()>& step);

private:
    // The steps of Start.
    void ConnectTranscript();
    void WatchSaves();
    bool LoadDesignLibrary(const std::string& designLib, std::string& error);
    bool StartJournal(const std::string& journal, std::string& error);
    bool CreateMainWindow(std::string& error);
    bool LoadEditorLibrary(const std::string& library, std::string& error);
    void RegisterCommands();
    // The list panes' selections and the grids driven as a user drives them (kx::select, kx::edit, ...).
    void RegisterGridCommands();
    // The design window's sizes: the main window, the splitters, the separators between grids.
    void RegisterFrameCommands();
public:
    // kx::show clp -group NAME ...: the component list's selection shown together in one grid.
    bool ShowGroup(const std::vector<std::string>& a, std::string& r);
private:
    // What the host application does to a design besides the editor (CSV import, a property change).
    void RegisterDesignCommands();
    // What the host's other tools hear from the windows and tell them (kx::published, kx::modelcheck).
    void RegisterPeerCommands();
    // The connectivity pane's object information window (kx::objects) and the instance connectivity dialog.
    void RegisterObjectCommands();
    // The connectivity pane's own window: its title bar and Attach Signal row, what it tells an
    // accessibility client, and its non-client activation (kx::ccpbar, kx::access, kx::ncactivate).
    void RegisterPaneCommands();
    void RegisterWords();
    std::string NotLoadedReason(const std::string& name) const;
    std::string BlockNotFound(const CDesignContext& parent, const CInstanceContext& block,
                              const std::string& instance) const;
    bool ReplayLine(const std::string& line, int number, std::string& error);
    bool ReplayCalls(SKXJournalLine& line, std::string& reason);
    IDispatch* HandleObject(const std::string& handle, CDocument** document);

    CKXHostCore& m_core;
    std::unique_ptr<CWinApp> m_pApp;
    CKXHostMainWnd* m_pMainWnd = nullptr;
    std::unique_ptr<IServer> m_pServer;
    std::unique_ptr<CDesignContext> m_pCurrentDesign;
    std::unique_ptr<CKXVpxProject> m_pProject;
    void* m_hLibrary = nullptr;
    CDocTemplate* m_pTemplate = nullptr;
    std::vector<std::pair<std::string, CDocument*>> m_handles; // journal handles bound by "set"
    // The window a replayed line's handle names, while its calls run, and the window active as they
    // began: a call that makes another window active (an open, a descend) gives its words to that one.
    CDocument* m_callDocument = nullptr;
    CMDIChildWnd* m_callActive = nullptr;
    std::map<std::string, std::string> m_unsaved;                // design -> why its last save failed
    std::map<std::string, std::string> m_unopened;               // design -> why its open failed
    std::vector<std::string> m_notLoaded;                        // "FILE:LINE: reason" of files refused
};
