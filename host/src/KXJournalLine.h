// The few line forms of a VBScript journal that the editor writes, read without running them:
//
//   (blank)                               ignored
//   ' comment                             ignored (' Undo step: NAME and ' End of undo step name the
//                                         undo steps the lines between them make)
//   set H = RMX.GetActiveTab()            H names the active design window's document
//   call RMX.SelectTab("N")               makes design window N active
//   call RMX.OpenDesign("L.C:V", "M")     opens a design in an open mode (the host's own line)
//   call RMX.OpenBlock("INSTANCE", "M")   opens the block of an instance of the active window's design
//                                         within it, in open mode 2, 3 or 6 (the host's own line)
//   call RMX.ShowPowerPins("1")           shows ("1") or hides ("0") the parts' implicit power pins
//   call RMX.SetOption("NAME VALUE")      a user option set as kx::option sets it (the windows told), its
//                                         words a Tcl list
//   call RMX.AutoConnectDpLeg("1")        a pair's leg connected brings the other leg along ("1") or
//                                         not ("0"), as the session's project said
//   call RMX.Notify("NAME ...")           a message of the host's other tools that changed a design or its
//                                         undo lists, its words (a Tcl list) as kx::notify takes them
//   call RMX.SetProp("PATH NAME VALUE")   a property the host set outside the editor, as kx::setprop
//   call RMX.Schematic("net A B")        the schematic tool's edit of the active window's design, its
//                                         words as kx::schematic takes them
//   call RMX.BeginStep()                  the calls up to RMX.EndStep() are one edit: one undo step
//   call RMX.EndStep()
//   call H.Method(args)[.Method(args)...] calls the automation methods in a chain
//
// Arguments are string literals ("" for a quote inside, joined with & vbLf, & vbCr or & vbCrLf),
// integers, True or False, or Array("A","B",...) of string literals (a one-dimensional array of texts);
// an empty argument is omitted.
#pragma once

#include "afx/afxdisp.h"

#include <string>
#include <vector>

struct SKXJournalCall {
    std::string method;
    std::vector<COleVariant> args;
};

struct SKXJournalLine {
    enum Kind {
        Ignored,
        SetHandle,
        SelectTab,
        OpenDesign,
        OpenBlock,
        ShowPowerPins,
        SetOption,
        AutoConnectDpLeg,
        Notify,
        SetProp,
        Schematic,
        BeginStep,
        EndStep,
        Call
    };
    Kind kind = Ignored;
    std::string handle;               // SetHandle and Call
    std::vector<SKXJournalCall> calls; // the host's calls: one, with its arguments; Call: the chain
    std::string text;                  // the line without the blanks around it
};

// A one-dimensional array of texts, as an automation method that takes a list gets it.
COleVariant KXStringArrayVariant(const std::vector<std::string>& items);

// Reads one line. False with the reason ("not a journal line") when it is none of the forms.
bool KXParseJournalLine(const std::string& raw, SKXJournalLine& out, std::string& why);
