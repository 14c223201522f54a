// Setting the pin grid up: header block, cell controls, user options, the
// message-server subscriptions, and the view options that change its look.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridSetup.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXInstanceDetailsHeader.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"

#include "grid/KXEditControls.h"
#include "grid/KXPlusMinusEditButton.h"
#include "grid/KXSpinControl.h"
#include "grid/KXScriptText.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXCellControls.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "grid/KXGlobalMessages.h"

CKXInstanceDetailsGridWnd* CKXInstanceDetailsGridWnd::m_pCurrentPinGrid = nullptr;

BEGIN_MESSAGE_MAP(CKXInstanceDetailsGridWnd, CKXGridWnd)
ON_MESSAGE(MSG_TRANSACTION_COMMITTED, &CKXInstanceDetailsGridWnd::OnTransactionCommitted)
ON_MESSAGE(MSG_COLUMN_LAYOUT_CHANGED, &CKXInstanceDetailsGridWnd::OnColumnLayoutChanged)
ON_MESSAGE(MSG_INSTANCE_CHANGED, &CKXInstanceDetailsGridWnd::OnInstanceChanged)
ON_MESSAGE(MSG_OBJECT_PROPERTY_CHANGED, &CKXInstanceDetailsGridWnd::OnObjectPropertyChanged)
ON_MESSAGE(MSG_IMPORT_CSV, &CKXInstanceDetailsGridWnd::OnImportCsv)
ON_MESSAGE(MSG_SHOW_POWER_PINS_CHANGED, &CKXInstanceDetailsGridWnd::OnShowPowerPinsChanged)
ON_REGISTERED_MESSAGE(MSG_TOGGLE_PINNAME, &CKXInstanceDetailsGridWnd::OnTogglePinName)
ON_WM_PAINT()
END_MESSAGE_MAP()

using kxpingrid::Col;
using kxpingrid::GridWriteScope;
using kxpingrid::kNoUpdate;

namespace {

constexpr UINT kHeaderControl = 52520; // the grid library's header cell

int RegistrySubKey(int col, CString& key) {
    CKXInstanceDetailsGridWnd::GetRegistrySubKey(col, key);
    return key.IsEmpty() ? 0 : 1;
}

void CopyListEntries(const CKXListComboBox& from, CKXListComboBox& to) {
    for (int i = 0; i < from.GetCount(); ++i) {
        CString text;
        from.GetText(i, text);
        to.SetItemData(to.AddString(text), from.GetItemData(i));
    }
}

// A DWORD option of the controls library's registry key; the default when it is not there.
DWORD ReadOption(const char* name, DWORD fallback) {
    DWORD value = fallback;
    if (!CKXRegistrySettings::GetFromRegistry(name, value)) value = fallback;
    return value;
}

} // namespace

KXPinGridSetup::KXPinGridSetup(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

KXPinGridSetup::~KXPinGridSetup() = default;

void CKXInstanceDetailsGridWnd::InitializeGrid(CWnd* pOwner, CDesignContext design, CDesignContext design2,
                                               int inConnectDialog, CStringList* pSignals) {
    m_pOwner = pOwner;
    SetSite(dynamic_cast<IKXGridSite*>(pOwner));
    m_designContext = design;
    m_designContext2 = design2;
    m_bInConnectDialog = inConnectDialog;
    m_bHostCommits = inConnectDialog ? 1 : 0; // the dialog keeps or throws away its edits as a whole
    m_nFunctionFilter = 0;
    CKXGridWnd::InitializeGrid(PIN_FIRST_ROW, 1, PIN_CAPTION_ROW, nullptr);
    CKXCustomizeAPI::setCustomizationOrigin("CCP");
    if (CKXCustomizeAPI::Initialize(false) == KX_CUSTOMIZE_RETRY) CKXCustomizeAPI::Initialize(true);
    if (m_arrColumnInfo.empty()) SetupColumns();
    m_setup->RegisterCellControls();
    if (CGXGridParam* pParam = GetParam()) pParam->EnableUndo(FALSE);
    m_dropTarget.RegisterTarget(this, design);
    m_setup->CreateHeader();
    FindReplace();
    m_setup->CreateSignalControls(design, pSignals);
    m_setup->ApplySignalCellOptions();
    RegisterControl(static_cast<WORD>(IDS_CTRL_VECTOR_CONNECTIVITY), m_pSignalCombo, FALSE, TRUE);
    RegisterControl(static_cast<WORD>(IDS_CTRL_DIFFPAIR_CELL), m_setup->m_pSignalSpin, FALSE, TRUE);
    RegisterControl(9046, new CGXComboBox(this, 9046, 9047, 2), FALSE, TRUE);
    m_setup->SubscribeToDesignMessages();
    if (CGXGridParam* pParam = GetParam()) pParam->EnableUndo(TRUE);
    m_pCurrentPinGrid = this;
}

// The look of the grid and the controls of its cells: header, bitmaps, pull-up/pull-down, drop lists,
// the bitmap buttons.
void KXPinGridSetup::RegisterCellControls() {
    m_grid.SetupGridLook();
    m_grid.RegisterHeaderControl(static_cast<ULONG>(m_grid.m_nColPinName));
    m_grid.RegisterBitmapEditControl();
    m_grid.RegisterPupdControl();
    CDWordArray look;
    look.Add(static_cast<DWORD>(m_grid.m_nColPupd));
    look.Add(static_cast<DWORD>(m_grid.m_nColComments));
    look.Add(static_cast<DWORD>(m_grid.m_nColDiffPair));
    m_grid.RegisterDynComboControl(&RegistrySubKey, look);
    m_grid.RegisterBitmapButtonControl();
    m_grid.EnableKeySelectionSync(TRUE);
    m_grid.EnableCellControlClick(TRUE);
    const struct {
        UINT id, bitmap;
    } buttons[] = {{IDS_CTRL_PIN_PUPD_HEADER, 8891}, {IDS_CTRL_PIN_COMMENTS_HEADER, 9092},
                   {IDS_CTRL_DIFFPAIR_HEADER, 9091},  {IDS_CTRL_DIFFPAIR_ROW, 9090},
                   {IDS_UA_DIFFPAIR_POSITIVE, 9088},  {IDS_UA_DIFFPAIR_NEGATIVE, 9087}};
    for (const auto& b : buttons)
        m_grid.RegisterControl(static_cast<WORD>(b.id), new CGXBitmapButton(&m_grid, b.bitmap), FALSE, TRUE);
    m_grid.SetupGridLook();
}

// The plus/minus and padded pin-name cells, and the signal and pair cells with their drop lists.
void KXPinGridSetup::CreateSignalControls(const CDesignContext& design, CStringList* pSignals) {
    // Past its row numbers the pin grid shows what it stores.
    CKXPlusMinusEditButton::RegisterControls(&m_grid, IDS_CTRL_MINUS_BUTTON, IDS_CTRL_PLUS_BUTTON, 18, true);
    CKXPlusMinusEditButton::RegisterControls(&m_grid, IDS_CTRL_MERGED_SIBLING, IDS_CTRL_MERGED_SIBLING_PLUS,
                                             18, true);
    for (UINT id :
         {IDS_CTRL_CHILD_PINNAME_CELL, IDS_UA_SCALAR_PINNAME_CELL, IDS_UA_SINGLEBIT_VECTOR_PINNAME_CELL})
        m_grid.RegisterControl(static_cast<WORD>(id), new CKXPaddedEditControl(&m_grid, id, 18), FALSE, TRUE);
    m_grid.m_pSignalList = std::make_unique<CKXListComboBox>(&m_grid);
    m_pDiffPairList = std::make_unique<CKXListComboBox>(&m_grid);
    if (pSignals)
        for (POSITION pos = pSignals->GetHeadPosition(); pos;)
            m_grid.m_pSignalList->AddString(pSignals->GetNext(pos));
    // The signal cells offer the names of the signal list given here, else the pane's lists. In the
    // instance connectivity dialog the list is the grid's own, a copy of the pane's: the nets the
    // dialog makes join it and go with the dialog when it is cancelled.
    CKXListComboBox* signals = m_grid.m_pSignalList.get();
    CKXListComboBox* pairs = m_pDiffPairList.get();
    CKXListComboBox* paneSignals = m_grid.Site() && !pSignals ? m_grid.Site()->SignalDropList() : nullptr;
    if (paneSignals && m_grid.m_bInConnectDialog) {
        CopyListEntries(*paneSignals, *m_grid.m_pSignalList);
    } else if (paneSignals) {
        signals = paneSignals;
    }
    if (m_grid.Site() && m_grid.Site()->DiffPairDropList()) pairs = m_grid.Site()->DiffPairDropList();
    m_grid.m_pSignalCombo = new CKXSpinControl(&m_grid, 2001, 9041, 0, signals, FALSE);
    m_pSignalSpin = new CKXSpinControl(&m_grid, 2002, 9093, 0, pairs, FALSE);
    // Bus bounds and completions come from the design's nets.
    m_grid.m_pSignalCombo->SetDesignContext(design);
    m_pSignalSpin->SetDesignContext(design);
}

// The user's options for the signal cells: completion and the combo, told to the pane as well.
void KXPinGridSetup::ApplySignalCellOptions() {
    if (CKXRegistrySettings::OpenRegistryKey()) {
        const int autoComplete = static_cast<int>(ReadOption("auto_complete_signals", 1));
        if (m_grid.Site()) m_grid.Site()->ApplyAutoCompleteSetting(autoComplete, 0);
        m_grid.SetAutoComplete(autoComplete);
        const int showCombo = static_cast<int>(ReadOption("show_signal_combo_in_ccp", 0));
        if (m_grid.Site()) m_grid.Site()->ApplyShowSignalComboSetting(showCombo, 0);
        m_grid.ShowSignalCombo(showCombo);
    } else {
        m_grid.SetAutoComplete(TRUE);
        m_grid.ShowSignalCombo(FALSE);
    }
    CKXRegistrySettings::CloseRegistryKey();
}

void KXPinGridSetup::SubscribeToDesignMessages() {
    IKXMessageServer* server = GetKXMsgSrvr();
    HWND hwnd = m_grid.GetSafeHwnd();
    if (!server || !hwnd) return;
    for (UINT msg : {MSG_TRANSACTION_COMMITTED, MSG_COLUMN_LAYOUT_CHANGED, MSG_IMPORT_CSV, MSG_OBJECT_PROPERTY_CHANGED,
                     MSG_INSTANCE_CHANGED, MSG_SHOW_POWER_PINS_CHANGED})
        server->RegisterWindow(msg, hwnd);
}

void KXPinGridSetup::CreateHeader() {
    if (m_grid.m_pHeader || !m_grid.GetSafeHwnd()) return;
    auto header = std::make_unique<CKXInstanceDetailsHeader>(nullptr);
    if (!header->Create(IDD_INSTANCE_DETAILS_HEADER, &m_grid)) return;
    header->AttachGrid(&m_grid);
    m_grid.m_pHeader = header.release();
    // The wrapper destroys the bar's window with itself; the cell keeps the bar usable under the mouse.
    m_grid.RegisterControl(static_cast<WORD>(IDS_CTRL_INSTANCE_DETAILS_HEADER),
                           new CKXWndWrapper(&m_grid, m_grid.m_pHeader, TRUE, TRUE, FALSE), FALSE, TRUE);
    m_grid.m_functions->ShowHeaderTexts();
    m_grid.m_functions->ShowHeaderFunctions();
}

void KXPinGridFunctions::ShowHeaderTexts() {
    if (!m_grid.m_pHeader) return;
    m_grid.m_pHeader->SetComponentInfo(m_strHeaderInstanceText, m_strHeaderSecondText, m_strHeaderLabel);
    m_grid.m_pHeader->SetViewOptions(m_grid.m_bShowVectors, m_grid.m_bShowDiffPairs);
    m_grid.m_pHeader->SetExpandAll(m_grid.m_bExpandAll ? 1 : 0);
    if (m_grid.m_pHeader->GetSafeHwnd()) {
        m_grid.m_pHeader->Invalidate(TRUE);
        m_grid.m_pHeader->UpdateWindow();
    }
}

void CKXInstanceDetailsGridWnd::SetupGridLook() {
    const BOOL bWasLocked = LockUpdate(TRUE);
    {
        GridWriteScope scope(*this);
        if (GetRowCount() < PIN_FIRST_ROW - 1) SetRowCount(PIN_FIRST_ROW - 1, kNoUpdate);
        SetColCount(Col(m_nColCount - 1), kNoUpdate);
        const ROWCOL last = GetColCount();
        for (int c = 1; c < m_nColCount; ++c) {
            StyleCaptionCell(c, GetColumnInfo(c)->m_strCaption);
            SetColWidth(Col(c), Col(c), GetColumnInfo(c)->m_nWidth, nullptr, kNoUpdate, gxDo);
        }
        if (last >= 1) {
            SetStyleRange(CGXRange().SetCols(1, last), CGXStyle().SetFont(CGXFont().SetFaceName("Tahoma")),
                          gxOverride, 0, kNoUpdate, gxDo);
            m_setup->StyleFilterCells(1, last);
            SetRowHeight(3, 3, 4, nullptr, kNoUpdate, gxDo);
            SetRowHeight(5, 5, 4, nullptr, kNoUpdate, gxDo);
            SetRowHeight(0, 1, 22, nullptr, kNoUpdate, gxDo);
            m_setup->CoverHeaderBands();
            CGXStyle header;
            header.SetControl(static_cast<WORD>(IDS_CTRL_INSTANCE_DETAILS_HEADER))
                .SetInterior(RGB(240, 240, 240));
            SetStyleRange(CGXRange(0, 1), header, gxOverride, 0, kNoUpdate, gxDo);
            SetStyleRange(CGXRange(0, 0), CGXStyle().SetEnabled(FALSE), gxOverride, 0, kNoUpdate, gxDo);
        }
        SetFrozenRows(4, 3, kNoUpdate);
    }
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
}

void KXPinGridSetup::StyleFilterCells(ROWCOL first, ROWCOL last) {
    CGXStyle filter;
    filter.SetValue("*")
        .SetControl(static_cast<WORD>(IDS_CTRL_FILTER_COMBO))
        .SetChoiceList("*\n")
        .SetVerticalAlignment(DT_VCENTER)
        .SetTextColor(RGB(0, 0, 0))
        .SetInterior(RGB(255, 255, 255));
    m_grid.SetStyleRange(CGXRange(4, first, 4, last), filter, gxOverride, 0, kNoUpdate, gxDo);
}

void KXPinGridSetup::CoverHeaderBands() {
    const ROWCOL last = m_grid.GetColCount();
    if (last < 1) return;
    CGXStyle spacer;
    spacer.SetControl(static_cast<WORD>(kHeaderControl)).SetEnabled(FALSE).SetInterior(RGB(240, 240, 240));
    m_grid.SetStyleRange(CGXRange(3, 0, 3, last), spacer, gxOverride, 0, kNoUpdate, gxDo);
    m_grid.SetStyleRange(CGXRange(5, 0, 5, last), spacer, gxOverride, 0, kNoUpdate, gxDo);
    m_grid.SetCoveredCellsRowCol(0, 1, 1, last, kNoUpdate, gxDo);
    m_grid.SetCoveredCellsRowCol(0, 0, 1, 0, kNoUpdate, gxDo);
    m_grid.SetCoveredCellsRowCol(3, 0, 3, last, kNoUpdate, gxDo);
    m_grid.SetCoveredCellsRowCol(5, 0, 5, last, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::TakeViewOptions(int busOption, int dpOption) {
    // The options the load reads: the next load shows the rows they ask for.
    m_bShowVectors = busOption ? 1 : 0;
    m_bShowDiffPairs = dpOption ? 1 : 0;
    if (m_pHeader) m_pHeader->SetViewOptions(m_bShowVectors, m_bShowDiffPairs);
}

void CKXInstanceDetailsGridWnd::RecordViewOptionsScript(int busOption, int dpOption) {
    TakeViewOptions(busOption, dpOption);
    const char* journal = CKXShareGlobalData::m_bAutomation;
    if (!journal) return;
    // The grid's components are shown first: the replay sets the options in this grid, wherever the
    // pane's active view (a matrix view, another component) has gone since.
    CString bus, dp;
    bus.Format("%d", busOption);
    dp.Format("%d", dpOption);
    KXJournalLines line(JournalHandle());
    line.Pane("SetViewOptions", {bus, dp}).End();
    KXJournalWrite(journal, CString(), ShownObjectsJournalLine() + line.Text());
}

void CKXInstanceDetailsGridWnd::RefreshCellControls(int row, BOOL bExpand) {
    const BOOL bWasLocked = LockUpdate(TRUE);
    auto refresh = [this, bExpand](ROWCOL r) {
        CGXStyle style;
        GetStyleRowCol(r, Col(m_nColPinName), style);
        if (!style.GetIncludeControl()) return;
        if (auto* button = dynamic_cast<CKXPlusMinusEditButton*>(GetRegisteredControl(style.GetControl())))
            button->SetExpandState(r, Col(m_nColPinName), bExpand);
        // A wide pin's row a command opened on the bits it named gets the rest of its bits.
        if (bExpand && !kxpingrid::NamedBitRowsOnly::Active()) WriteWidePinBitRows(r);
    };
    if (row == -1) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r)
            if (!IsRowHidden(r)) refresh(r);
    } else if (row >= static_cast<int>(PIN_FIRST_ROW) && static_cast<ROWCOL>(row) <= GetRowCount()) {
        refresh(static_cast<ROWCOL>(row));
    }
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
}

void CKXInstanceDetailsGridWnd::ExpandAllPins(CString onOff, CString scope) {
    const BOOL bExpand = onOff.CompareNoCase("on") == 0;
    if (scope == "-selection") {
        CRowColArray rows;
        GetSelectedRows(rows, FALSE, TRUE);
        for (INT_PTR i = 0; i < rows.GetSize(); ++i)
            RefreshCellControls(static_cast<int>(rows[i]), bExpand);
    } else if (scope.IsEmpty()) {
        RefreshCellControls(-1, bExpand);
        m_bExpandAll = bExpand;
        if (m_pHeader) m_pHeader->SetExpandAll(bExpand ? 1 : 0);
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        CGXStyle header;
        header.SetFont(CGXFont().SetFaceName("Tahoma").SetBold(TRUE));
        SetStyleRange(CGXRange(0, 1), header, gxOverride, 0, kNoUpdate, gxDo);
    }
}

void CKXInstanceDetailsGridWnd::UpdateHeaderCaption() {
    if (m_bMultipleObjects) {
        m_functions->m_strHeaderInstanceText = "Multiple Instances Selected";
        m_functions->m_strHeaderSecondText.Empty();
        m_functions->m_strHeaderLabel.Empty();
        m_functions->ShowHeaderTexts();
        return;
    }
    if (m_arrInstanceIds.size() != 1 || !m_designContext) return;
    const CInstanceContext inst = m_designContext.instance(m_arrInstanceIds.front());
    if (!inst) return;
    // The instance and the cell of its master.
    m_functions->m_strHeaderInstanceText.Format("%s (%s)", inst.name().GetString(),
                                                inst.instance()->cellName());
    const char* location = inst.physicalPackageName();
    m_functions->m_strHeaderSecondText = location && *location ? "- " + CString(location) : CString();
    m_functions->m_strHeaderLabel.Empty();
    m_functions->ShowHeaderTexts();
}

void CKXInstanceDetailsGridWnd::SetAutoComplete(BOOL bOn) {
    m_bAutoComplete = bOn;
    if (m_pSignalCombo) m_pSignalCombo->SetAutoComplete(bOn);
}

void CKXInstanceDetailsGridWnd::ShowSignalCombo(BOOL bShow) {
    m_bShowSignalCombo = bShow;
    if (m_pSignalCombo) m_pSignalCombo->SetShowArrows(bShow);
    if (m_setup->m_pSignalSpin) m_setup->m_pSignalSpin->SetShowArrows(bShow);
}

void CKXInstanceDetailsGridWnd::UpdatePaneTitle() {
    if (Site()) Site()->SetPaneTitle(static_cast<UINT>(8951));
}

void CKXInstanceDetailsGridWnd::ActivateGridView() {
    m_pCurrentPinGrid = this;
    m_pPasteTarget = this;
    CKXImpClipBoard::InitCanPasteCallBack(&CKXInstanceDetailsGridWnd::CanPasteObjectHere,
                                          &CKXInstanceDetailsGridWnd::CanPasteTextHere);
    if (Site()) Site()->ActivateSiteView();
    if (GetSafeHwnd()) SetFocus();
}
