// Mapping between script-command words and the window-message numbers that carry them.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

// First and last message number that stands for a script command (the numbering belongs to this manager).
constexpr UINT MSG_TCL_COMMAND_FIRST = 0x8411;
constexpr UINT MSG_TCL_COMMAND_LAST = 0x85A1;

// The host turns a command word into a message number here and sends that message to a window; the window
// asks for the word back with GetTCLCommandName. Numbers are handed out in registration order, one per word,
// and stay fixed for the life of the process. Words are compared exactly (script commands are case-sensitive).
class CKXTclCmdManager {
public:
    // Number of the word, registering it on first use. 0 when the word is empty or every number is taken.
    static UINT RegisterTCLCommand(LPCTSTR word);
    // Number of an already registered word, 0 when unknown.
    static UINT GetTCLCommandId(LPCTSTR word);
    // Word of a number, NULL when the number is outside the range or carries no word. The text stays valid
    // for the life of the process (until ResetTCLCommands).
    static LPCTSTR GetTCLCommandName(UINT number);
    static BOOL IsTCLCommandMessage(UINT number) {
        return number >= MSG_TCL_COMMAND_FIRST && number <= MSG_TCL_COMMAND_LAST;
    }
    static int GetTCLCommandCount();
    // Forgets every word; for tests only (previously returned names become invalid).
    static void ResetTCLCommands();
};
