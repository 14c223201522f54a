// The entries of the connectivity pane's undo history.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "afx/afxstr.h"
#include "grid/gxcommand.h"

class CGXGridCore;
class IServer;

// Either a grid command (a change of a grid's cells) that the pane keeps on behalf of the grid that made it,
// or a committed design transaction, kept as the transaction's text. Executing a transaction entry commits
// the reverse of that text to the design (undo) or the text itself again (redo), announces the commit like
// any other, and records the entry for the opposite direction with the grid it runs on.
class CKXUndoCmd : public CGXCommand {
public:
    // Wraps a grid command; the entry owns it from now on.
    CKXUndoCmd(CGXGridCore* grid, CGXCommand* command);
    // A committed transaction, from its text (CTransaction::toString()). Executing it undoes the transaction.
    explicit CKXUndoCmd(const char* transactionText);
    // The same, made by a grid transaction of `grid`; bUndo FALSE makes an entry that redoes the transaction.
    CKXUndoCmd(CGXGridCore* grid, const char* transactionText, LPCTSTR description, BOOL bUndo = TRUE);
    // One step made of several committed transactions (in the order they were committed).
    void AppendTransactionText(const char* transactionText);
    ~CKXUndoCmd() override;

    // Text for the transaction log: the description (the transaction's name or the grid command's name).
    virtual CString GetDescription();
    CString GetName() override { return GetDescription(); }
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

    BOOL IsTransactionCmd() const { return m_pCommand == nullptr; }
    BOOL IsUndoOfTransaction() const { return m_bUndo; }
    const std::vector<std::string>& GetTransactionTexts() const { return m_texts; }
    CGXCommand* GetCommand() const { return m_pCommand.get(); }
    CGXGridCore* GetGrid() const { return m_pGrid; }
    // What an undo or a redo of the entry can bring back, each with the name of the design it is in: the
    // reference designators its texts take from a part or give to one (a part's LOCATION, a component's
    // SLOT<n>.REFDES), the masters (design names) of the instances they remove or make, and the names of
    // the associated components they remove or make. Read once.
    struct NamesBroughtBack {
        std::vector<std::pair<std::string, std::string>> designators;
        std::vector<std::pair<std::string, std::string>> masters;
        std::vector<std::pair<std::string, std::string>> components;
    };
    const NamesBroughtBack& BringsBack() const;
    // Changes whenever an entry is made, grows or goes: what the histories name may have changed.
    static std::uint64_t EntriesGeneration();

    // The grid whose undo or redo runs now; NULL outside Execute.
    static CGXGridCore* GetCurrentUndoGrid();
    // The server that transaction entries are applied to (the process's design server).
    static void SetServer(IServer* server);
    static IServer* GetServer();

    // The grid that made the change (the pane activates it before undoing there).
    CGXGridCore* m_pGrid = nullptr;

private:
    std::unique_ptr<CGXCommand> m_pCommand;
    std::vector<std::string> m_texts;
    mutable NamesBroughtBack m_broughtBack;
    mutable size_t m_textsRead = 0; // the texts m_broughtBack was read from
    CString m_strDescription;
    BOOL m_bUndo = TRUE;
};
