// Undoable commands and the lists that hold them.
#pragma once

#include "grid/gxtypes.h"

#include <memory>
#include <deque>
#include <vector>

class CGXGridCore;

// A recorded change. Execute returns to the recorded state and records the command for the opposite
// direction with the grid's AddCommand(command, type).
class CGXCommand {
public:
    CGXCommand() = default;
    virtual ~CGXCommand() = default;
    CGXCommand(const CGXCommand&) = delete;
    CGXCommand& operator=(const CGXCommand&) = delete;

    virtual BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) = 0;
    virtual CString GetName() { return m_sName; }
    // True for the record of a store into cells (their styles or values before it).
    virtual bool IsCellStore() const { return false; }
    void SetName(LPCTSTR name) { m_sName = name; }

    // Position of the current cell when the command was recorded (restored by Undo/Redo).
    ROWCOL m_nRow = GX_INVALID;
    ROWCOL m_nCol = GX_INVALID;

protected:
    CString m_sName;
};

// An owning list of commands; the tail is the most recent one.
class CGXCommandList {
public:
    int GetCount() const { return static_cast<int>(m_list.size()); }
    BOOL IsEmpty() const { return m_list.empty(); }
    CGXCommand* GetTail() const { return m_list.empty() ? nullptr : m_list.back().get(); }
    CGXCommand* GetHead() const { return m_list.empty() ? nullptr : m_list.front().get(); }
    CGXCommand* GetAt(int i) const
    {
        return i >= 0 && i < GetCount() ? m_list[static_cast<size_t>(i)].get() : nullptr;
    }
    void AddTail(CGXCommand* pCmd) { m_list.emplace_back(pCmd); }
    void AddTail(std::unique_ptr<CGXCommand> pCmd) { m_list.push_back(std::move(pCmd)); }
    std::unique_ptr<CGXCommand> RemoveTail();
    std::unique_ptr<CGXCommand> RemoveHead();
    void RemoveAll() { m_list.clear(); }
    // Drops the oldest commands beyond the limit.
    void LimitTo(int nMax);

private:
    std::deque<std::unique_ptr<CGXCommand>> m_list;
};

// A group of commands recorded inside a transaction; undone and redone as one step.
class CGXBlockCmd : public CGXCommand {
public:
    explicit CGXBlockCmd(LPCTSTR name = "") { SetName(name); }
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;
    CGXCommandList& GetList() { return m_list; }

private:
    CGXCommandList m_list;
};
