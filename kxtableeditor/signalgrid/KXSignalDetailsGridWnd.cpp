// The signal grid's spine: construction, set-up after the window exists, the
// auto-complete option, activation, undo hand-over to the pane, and the shared
// cell-writing helpers of the other sources.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "kxinstsigpane/CommonInterface.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXCellControls.h"
#include "kxcontrols/KXFindReplace.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

IMPLEMENT_DYNCREATE(CKXSignalDetailsGridWnd, CKXGridWnd)

BEGIN_MESSAGE_MAP(CKXSignalDetailsGridWnd, CKXGridWnd)
ON_MESSAGE(MSG_TRANSACTION_COMMITTED, &CKXSignalDetailsGridWnd::OnTransactionCommitted)
ON_MESSAGE(MSG_COLUMN_LAYOUT_CHANGED, &CKXSignalDetailsGridWnd::OnColumnLayoutChanged)
ON_MESSAGE(MSG_OBJECT_PROPERTY_CHANGED, &CKXSignalDetailsGridWnd::OnObjectPropertyChanged)
ON_MESSAGE(MSG_SHOW_POWER_PINS_CHANGED, &CKXSignalDetailsGridWnd::OnShowPowerPinsChanged)
END_MESSAGE_MAP()

using namespace kxsignal;

CKXSignalDetailsGridWnd* CKXSignalDetailsGridWnd::s_pActiveGrid = nullptr;

CKXSignalDetailsGridWnd::CKXSignalDetailsGridWnd() : CKXGridWnd(KXGridKind::Signal) {
    m_nTransState = 2;
}

CKXSignalDetailsGridWnd::~CKXSignalDetailsGridWnd() {
    if (s_pActiveGrid == this) s_pActiveGrid = nullptr;
    if (m_pTerminatingGrid == this) m_pTerminatingGrid = nullptr;
    if (m_pFindReplaceDlg) KXRemoveFindReplace(this);
    if (IKXMessageServer* server = GetKXMsgSrvr())
        if (HWND hwnd = GetSafeHwnd()) server->UnregisterWindow(hwnd);
}

void CKXSignalDetailsGridWnd::InitializeGrid(IKXGridSite* site, CDesignContext design,
                                             CDesignContext masterDesign) {
    m_designContext = design;
    m_designContext2 = masterDesign;
    SetSite(site);
    CKXGridWnd::InitializeGrid(kFirstDataRow, static_cast<ROWCOL>(m_nColCell), kCaptionRow, nullptr);
    Columns().SelectOrigin();
    if (Columns().Empty()) InitColumnInfo();
    Columns().ShowRowNumbers(m_bShowRowNumbers != 0);
    RegisterControl(Id(IDS_CTRL_PUPD_HEADER), new CGXBitmapButton(this, IDB_PUPD_HEADER), FALSE, TRUE);
    RegisterControl(Id(IDS_CTRL_COMMENTS_HEADER), new CGXBitmapButton(this, IDB_COMMENTS_HEADER), FALSE, TRUE);
    FormatHeaderRows();
    RegisterHeaderControl(static_cast<ULONG>(m_nColCell));
    RegisterBitmapEditControl();
    RegisterPupdControl();
    CDWordArray look;
    look.Add(static_cast<DWORD>(m_nColPupd));
    RegisterDynComboControl(&GetColumnSettingsKey, look);
    EnableKeySelectionSync(TRUE);
    EnableCellControlClick(TRUE);
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    m_dropTarget.RegisterTarget(this, design);

    m_pACListBox = std::make_unique<CKXGridACListBox>(this);
    m_pACListBox->Create(WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT, CRect(-1, -1, -1, -1), this,
                         IDS_CTRL_AC_LISTBOX, 0);
    DWORD autoComplete = 1;
    if (!CKXRegistrySettings::GetFromRegistry("auto_complete_signals", autoComplete)) autoComplete = 1;
    if (Site()) {
        Site()->ApplyAutoCompleteSetting(static_cast<int>(autoComplete), 0);
        SetAutoComplete(autoComplete != 0);
    }
    auto* instanceCombo =
        new CKXGridACCombo(this, IDS_STRING_AC_COMBO, IDS_STRING_AC_COMBO, 1, m_pACListBox.get(), 1, 0, 0, 0);
    instanceCombo->m_bAutoComplete = m_bAutoComplete;
    RegisterControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO), instanceCombo, FALSE, TRUE);
    auto* pinCombo = new CKXGridACCombo(this, IDS_STRING_AC_COMBO, IDS_STRING_AC_COMBO, 1, m_pACListBox.get(), 0, 0, 0, 0);
    pinCombo->m_bAutoComplete = m_bAutoComplete;
    RegisterControl(Id(IDS_CTRL_PIN_COMBO), pinCombo, FALSE, TRUE);
    SetCaption();

    if (IKXMessageServer* server = GetKXMsgSrvr())
        if (HWND hwnd = GetSafeHwnd())
            for (UINT msg : {MSG_TRANSACTION_COMMITTED, MSG_COLUMN_LAYOUT_CHANGED, MSG_OBJECT_PROPERTY_CHANGED,
                             MSG_SHOW_POWER_PINS_CHANGED})
                server->RegisterWindow(msg, hwnd);
}

void CKXSignalDetailsGridWnd::SetAutoComplete(BOOL bOn) {
    m_bAutoComplete = bOn;
    if (auto* combo = dynamic_cast<CKXGridACCombo*>(GetCurrentCellControl())) combo->m_bAutoComplete = bOn;
}

void CKXSignalDetailsGridWnd::UpdatePaneTitle() {
    if (IKXGridSite* site = Site()) site->SetPaneTitle(static_cast<UINT>(IKXGridSite::kShowsSignals));
}

void CKXSignalDetailsGridWnd::ActivateGridView() {
    s_pActiveGrid = this;
    InitCanPasteCallback();
    if (m_bConnectEcho) return; // the grid's own echo: the user's cell stays current
    if (m_pParentFrame && Site()) Site()->ActivateSiteView();
    OnActivateGrid(TRUE);
}

void CKXSignalDetailsGridWnd::AddCommand(CGXCommand* pCmd, GXCmdType ctType) {
    // The data rows follow the design: undo and redo of a design change rewrite them through the
    // commit notification, so the storing of an edited data cell is no undo step of its own.
    if (m_bStoringEdit) {
        delete pCmd;
        return;
    }
    AddCommandToSiteUndo(pCmd, ctType);
}

// ------------------------------------------------------------------ cell helpers

void CKXSignalDetailsGridWnd::WriteCell(ROWCOL row, int col, const CGXStyle& style) {
    if (col < 0 || static_cast<ROWCOL>(col) > GetColCount() || row > GetRowCount()) return;
    SetStyleRange(CGXRange(row, static_cast<ROWCOL>(col)), style, gxOverride, 0, kNoUpdate, gxDo);
}

int CKXSignalDetailsGridWnd::RowAttr(ROWCOL row, int col, KXAttr<int> attr, int absent) {
    if (col < 0 || row > GetRowCount() || static_cast<ROWCOL>(col) > GetColCount()) return absent;
    const KXRowAttrs attrs(*this, row);
    return attrs.Has(static_cast<ROWCOL>(col), attr) ? attrs.Get(static_cast<ROWCOL>(col), attr) : absent;
}

BOOL CKXSignalDetailsGridWnd::IsSameDesign(IDesign* design) const {
    IDesign* mine = m_designContext.design();
    return design && mine && CString(design->name()) == CString(mine->name());
}

void CKXSignalDetailsGridWnd::MarkModified() {
    if (IKXGridSite* site = Site(); site && m_pParentFrame) site->MarkModified();
}

CString CKXSignalDetailsGridWnd::JournalHandle() {
    return KXJournalHandle(m_pParentFrame ? Site() : nullptr, m_designContext);
}

void CKXSignalDetailsGridWnd::SendHostMessage(const char* text) {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_MESSAGE_TEXT, reinterpret_cast<WPARAM>(text), 0);
}
