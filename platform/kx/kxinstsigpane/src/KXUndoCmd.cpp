#include "kxinstsigpane/KXUndoCmd.h"

#include <cctype>
#include <string_view>
#include <utility>

#include "KXUndoSink.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/transaction.h"
#include "rmx/transaction_text.h"

namespace {
CGXGridCore* g_currentUndoGrid = nullptr;
IServer* g_server = nullptr;
std::uint64_t g_entriesGeneration = 0;

bool IsDesignatorProperty(const std::string& name) {
    if (name == "LOCATION") return true;
    // SLOT<n>.REFDES
    constexpr std::string_view slot = "SLOT", refdes = ".REFDES";
    if (name.size() <= slot.size() + refdes.size() || name.compare(0, slot.size(), slot) != 0 ||
        name.compare(name.size() - refdes.size(), refdes.size(), refdes) != 0)
        return false;
    for (size_t i = slot.size(); i < name.size() - refdes.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

// Sets the current undo grid for the duration of an Execute, nesting safely.
class UndoGridScope {
public:
    explicit UndoGridScope(CGXGridCore* grid) : m_previous(g_currentUndoGrid) { g_currentUndoGrid = grid; }
    ~UndoGridScope() { g_currentUndoGrid = m_previous; }
    UndoGridScope(const UndoGridScope&) = delete;
    UndoGridScope& operator=(const UndoGridScope&) = delete;

private:
    CGXGridCore* m_previous;
};
} // namespace

CKXUndoCmd::CKXUndoCmd(CGXGridCore* grid, CGXCommand* command) : m_pGrid(grid), m_pCommand(command) {
    if (m_pCommand) m_strDescription = m_pCommand->GetName();
    ++g_entriesGeneration;
}

CKXUndoCmd::CKXUndoCmd(const char* transactionText) { AppendTransactionText(transactionText); }

CKXUndoCmd::CKXUndoCmd(CGXGridCore* grid, const char* transactionText, LPCTSTR description, BOOL bUndo)
    : m_pGrid(grid), m_strDescription(description ? description : ""), m_bUndo(bUndo) {
    AppendTransactionText(transactionText);
}

CKXUndoCmd::~CKXUndoCmd() {
    ++g_entriesGeneration;
}

void CKXUndoCmd::AppendTransactionText(const char* transactionText) {
    m_texts.emplace_back(transactionText ? transactionText : "");
    ++g_entriesGeneration;
}

const CKXUndoCmd::NamesBroughtBack& CKXUndoCmd::BringsBack() const {
    for (; m_textsRead < m_texts.size(); ++m_textsRead) {
        CTransactionTextChanges changes = CTransactionTextChanges::read(m_texts[m_textsRead].c_str());
        for (auto& p : changes.properties) {
            if (!IsDesignatorProperty(p.name)) continue;
            if (p.hadOld && !p.oldValue.empty())
                m_broughtBack.designators.emplace_back(p.design, std::move(p.oldValue));
            if (p.hasNew && !p.newValue.empty())
                m_broughtBack.designators.emplace_back(p.design, std::move(p.newValue));
        }
        for (auto& i : changes.instances)
            m_broughtBack.masters.emplace_back(std::move(i.design), std::move(i.master));
        for (auto& dt : changes.components)
            m_broughtBack.components.emplace_back(std::move(dt.design), std::move(dt.name));
    }
    return m_broughtBack;
}

std::uint64_t CKXUndoCmd::EntriesGeneration() {
    return g_entriesGeneration;
}

CString CKXUndoCmd::GetDescription() {
    if (m_pCommand && m_strDescription.IsEmpty()) return m_pCommand->GetName();
    return m_strDescription;
}

CGXGridCore* CKXUndoCmd::GetCurrentUndoGrid() { return g_currentUndoGrid; }
void CKXUndoCmd::SetServer(IServer* server) { g_server = server; }
IServer* CKXUndoCmd::GetServer() { return g_server; }

BOOL CKXUndoCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType) {
    if (m_pCommand) {
        // The grid's own command restores its cells and records its opposite with that grid.
        CGXGridCore* target = m_pGrid ? m_pGrid : pGrid;
        UndoGridScope scope(target);
        return m_pCommand->Execute(target, ctType);
    }

    IServer* server = g_server ? g_server : CKXShareGlobalData::m_pServer;
    if (!server) return FALSE;
    UndoGridScope scope(m_pGrid ? m_pGrid : pGrid);

    // Undo applies the reverse of the texts, newest first; redo applies them again, oldest first. A text that
    // no longer fits the design is refused by the server before it changes anything; the texts of the step
    // applied before it are then taken back, so that a step is undone (or redone) whole or not at all.
    const size_t n = m_texts.size();
    if (n == 0) return FALSE;
    std::vector<const std::string*> applied;
    for (size_t i = 0; i < n; ++i) {
        const std::string& text = m_bUndo ? m_texts[n - 1 - i] : m_texts[i];
        CTransaction t(server, text.c_str(), true, !m_bUndo);
        if (!t.isValid() || !t.commit()) {
            for (auto it = applied.rbegin(); it != applied.rend(); ++it) {
                CTransaction back(server, (*it)->c_str(), true, m_bUndo);
                if (back.isValid() && back.commit()) KXAnnounceCommit(&back);
            }
            return FALSE;
        }
        KXAnnounceCommit(&t);
        applied.push_back(&text);
    }

    auto opposite = std::make_unique<CKXUndoCmd>(m_pGrid, m_texts.front().c_str(), m_strDescription.GetString(),
                                                 !m_bUndo);
    for (size_t i = 1; i < n; ++i) opposite->AppendTransactionText(m_texts[i].c_str());
    KXRecordOpposite(pGrid, std::move(opposite), ctType);
    return TRUE;
}
