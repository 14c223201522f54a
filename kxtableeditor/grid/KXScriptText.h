// Quoting of the texts the editor hands to the host: Tcl words for script
// commands, VBScript literals for journal lines, and the journal writer. Grids
// build journal lines with KXJournalLines (grid/KXJournalLine.h), which quotes
// through these.
#pragma once

#include "afx/afxstr.h"

#include <string>
#include <vector>

// One Tcl word that reads back as exactly `text`: wrapped in double quotes with
// every character that Tcl substitutes inside quotes escaped by a backslash.
CString KXTclQuote(const CString& text);

// One element of a Tcl list: the text itself when it holds nothing Tcl reads
// specially, else its quoted form.
CString KXTclListElement(const CString& text);

// The property words carry one value per selected row, joined by ",". A value goes into such a list
// with "\" and "," escaped by a backslash; KXValueListFirst reads the first value back whole.
CString KXValueListItem(const CString& value);
CString KXValueListFirst(const CString& list);

// A VBScript string literal for `text`: double quotes doubled; a line break
// becomes a concatenation with vbCr / vbLf so that the literal stays on one line.
CString KXVbsQuote(const CString& text);

// Appends one journal block (a comment line and a call line, written as they
// stand) to `journalPath` when it names a file whose name contains ".vbs".
// During a grid transaction the block waits for the transaction to end
// committed (a discarded or refused edit journals nothing). Returns true when
// the block was written or is waiting.
bool KXJournalWrite(const char* journalPath, const CString& comment, const CString& line);
// Appends the lines of one edit that hold `calls` calls, each a step of its own on replay, as the one undo
// step the edit is (KXJournalOfOneStep, KXReplaySteps.h). During a grid transaction the lines, and every
// block KXJournalWrite is given meanwhile, join the lines of the transaction's undo step, written together
// as one step when it commits: an edit over several grids, each writing its part, replays as one step.
bool KXJournalWriteStep(const char* journalPath, const CString& lines, int calls);

// Holds back the journal blocks written while it lives (innermost hold first). Keep() lets them into the
// journal, in their order, when the hold ends; otherwise they are dropped. A command made of parts that
// journal as they go (the copy a paste is made from) keeps its lines only when the whole of it was done.
class KXJournalHold {
public:
    KXJournalHold();
    ~KXJournalHold();
    KXJournalHold(const KXJournalHold&) = delete;
    KXJournalHold& operator=(const KXJournalHold&) = delete;
    void Keep() { m_keep = true; }

private:
    friend struct KXJournalHoldAccess;
    KXJournalHold* m_outer;
    bool m_keep = false;
    struct Block {
        std::string path;
        CString text;
    };
    std::vector<Block> m_blocks;
};

class CStringArray;
class CMapStringToString;

// The operands of the "editTermination" word that make the edit given as the grids receive it: per
// designator "-id" (or "-oldrefdes" when byRefDes), its "-newrefdes", "-k" and "-i" lists (the maps'
// values hold one item a line), then "-partN" (N from 1) with the part's "-value", "-lib", "-cell", "-view"
// and "-physname" where partLooks (keyed "<part from 0>.<field>") gives them, then "-delay", "-high" and
// "-low" where given.
CString KXEditTerminationOperands(const CStringArray* designators, const CMapStringToString* oldToNew,
                                  const CMapStringToString* keyProps, const CMapStringToString* instProps,
                                  const CString& delay, const CString& high, const CString& low, int byRefDes,
                                  const CMapStringToString* partLooks = nullptr);

class CStringList;

// The operands of the "editPupd" word that make the edit given as the grids receive it: the name,
// "-refdes", "-dcnets", "-keyprop" and "-injprop" where given, and "-parent" (a pair's as "dp NAME").
CString KXEditPupdOperands(const CString& name, const CString& refDes, const CString& dcNets,
                           const CStringList* keyProps, const CStringList* injProps, const CString& parent,
                           int diffPair);
