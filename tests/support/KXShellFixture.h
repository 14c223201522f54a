// The fixture that every suite of the editor uses: a temporary registry and
// working folder (the current directory during the test), a small design made with the design builder, the host with
// the editor library loaded, a design window opened in a chosen open mode, and
// readers for the transcript, the journal, the answer log and the notifications
// that went through the message server.
#pragma once

#include "KXHostApp.h"
#include "KXHostCore.h"

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

class CKXTableDoc;
class CKXTableChildFrm;
class CKXBottomPaneContainerView;
class CKXInstancePaneContainerView;
class CKXSignalPaneContainerView;
class CMessageRecorderWnd;

namespace rmx {
class DesignBuilder;
}

class KXShellFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The board design of the fixture: "work.board:sch" with two parts, a block and a few nets;
    // the block "work.blk:sch". Suites may add to the design before they open it.
    virtual void BuildDesign(rmx::DesignBuilder& builder);

    // Opens a design in an open mode; true when the window is there.
    bool Open(const std::string& name = "work.board:sch", int mode = 1);
    // Runs Tcl text through the host; the result, or "error: ..." when it failed.
    std::string Run(const std::string& tcl);
    // The width of the active grid's row-number column (the first of `kx::widths ccp`); -1 without one.
    int RowNumberWidth();
    // Sends a script command word straight to the active window (as the host does): its result.
    long Word(const std::string& line);

    CKXTableDoc* Doc() const;
    CKXTableChildFrm* Frame() const;
    CKXBottomPaneContainerView* Ccp() const;
    CKXInstancePaneContainerView* Clp() const;
    CKXSignalPaneContainerView* Slp() const;
    // The connectivity panes of every open window, in opening order.
    std::vector<CKXBottomPaneContainerView*> Panes() const;

    // What happened.
    std::string Transcript() const;             // every line printed, one per line
    std::vector<std::string> Messages();        // message ids shown since the last call
    std::vector<std::string> Echoes();          // script lines echoed since the last call
    std::string JournalText() const;            // the journal file's content ("" when none)
    // Replays the journal in a second host on a fresh copy of the design (BuildDesign's) and answers the
    // design it gives; every journal line must be taken (no usage message, no refusal). Stops this host.
    std::string ReplayedSnapshot(const std::string& name);
    std::vector<std::string> AnswerLog() const; // "question KXTABLE-131: no", ...
    // Notifications with their first parameter: number -> values (texts where the parameter is a text).
    std::vector<std::string> Notifications(UINT message) const;
    void ClearNotifications();

    std::filesystem::path m_dir; // temporary folder of the test
    std::filesystem::path m_lib; // design library folder
    std::filesystem::path m_journal;
    std::filesystem::path m_oldCwd; // the working folder before the test
    bool m_bJournal = true; // set before SetUp (in the constructor) to run without a journal
    std::ostringstream m_out;
    std::unique_ptr<CKXHostCore> m_core;
    std::unique_ptr<CKXHostApp> m_app;
    std::unique_ptr<CMessageRecorderWnd> m_recorder;
};

// The path of the editor library that the test executables link.
std::string KXEditorLibraryPath();
