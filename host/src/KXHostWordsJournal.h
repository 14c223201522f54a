// A change the host or one of its other tools makes to a design, journalled as one host line whose one
// argument holds the words of the change as a Tcl list:
//
//   call RMX.SetProp("demo.board:sch@U1 VALUE 10k")
//
// The list keeps every word whole (braces, backslashes, blanks, quotes, line breaks and other control
// characters), and the journal literal keeps the list on its line; the replay reads the same words back and
// makes the change again with them.
#pragma once

#include <string>
#include <vector>

struct SKXJournalLine;

// Appends the line "call RMX.<method>(...)" after a comment naming `what`, when a journal is written.
void KXJournalHostWords(const char* what, const char* method, const std::vector<std::string>& words);
// The words of such a line (its one argument); false with the cause when the argument is no list.
bool KXHostLineWords(const SKXJournalLine& line, std::vector<std::string>& words, std::string& why);
