// Loading a component's pins into the pin grid and sorting the pin rows.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridPupdColumn.h"
#include "pingrid/KXPinGridLoader.h"
#include "pingrid/KXPinGridPower.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXColumnModel.h"
#include "grid/KXGridSite.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxsmall/KXCsvParser.h"
#include "kxcontrols/KXSortGrid.h"
#include "kxinstsigpane/CommonInterface.h"
#include "rmx/packaging.h"

#include <cstdlib>
#include <algorithm>
#include <memory>
#include <map>
#include <set>
#include <string>
#include <utility>

using kxpingrid::Col;
using kxpingrid::kNoUpdate;
using kxpingrid::GridWriteScope;

namespace {

// Ends the class-wide progress bar: its work is done, so its last line says 100%.
void EndProgressBar() {
    if (CKXProgressBar* bar = CKXProgressBar::m_pProgressBar) {
        bar->SetPos(bar->GetUpper());
        delete bar;
    }
    CKXProgressBar::m_pProgressBar = nullptr;
}

// Replaces the class-wide progress bar with a new one for the next step of the load.
void NewProgressBar(const char* title, int count) {
    EndProgressBar();
    CKXProgressBar::m_pProgressBar = new CKXProgressBar(title, count, 50, 0, 0);
}

} // namespace

void KXPinGridLoader::SetPinNameCaptions(const char* pinName, const char* pinType) {
    CGXGridParam* pParam = m_grid.GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (pParam) pParam->SetLockReadOnly(FALSE);
    CGXStyle name, type;
    name.SetValue(pinName);
    type.SetValue(pinType);
    m_grid.SetStyleRange(CGXRange(PIN_CAPTION_ROW, Col(m_grid.m_nColPinName)), name, gxOverride, 0, kNoUpdate,
                         gxDo);
    m_grid.SetStyleRange(CGXRange(PIN_CAPTION_ROW, Col(m_grid.m_nColPinType)), type, gxOverride, 0, kNoUpdate,
                         gxDo);
    if (pParam) pParam->SetLockReadOnly(bLock);
}

void KXPinGridLoader::ShowProgress(int done, int count, const CString& instanceName) {
    const int percent = count ? done * 100 / count : 100;
    // A pin that leaves the percentage as it was shows nothing new: its step is taken with the next
    // pin that changes it (the last pin always does), one line a percent.
    if (percent == m_nProgressPercent && count == m_nProgressCount && done > 1 && done < count) {
        ++m_nProgressSkipped;
        return;
    }
    m_nProgressPercent = percent;
    m_nProgressCount = count;
    const std::string counts = "Processed " + std::to_string(percent) + "% of " + std::to_string(count);
    m_strProgressText = counts + " Pins of component " + instanceName.str();
    const int skipped = std::exchange(m_nProgressSkipped, 0);
    const CString& text = m_strProgressText;
    if (CKXProgressBar* bar = CKXProgressBar::m_pProgressBar) {
        bar->StepIt(text, done > 1 ? skipped + 1 : 1);
        bar->PeekAndPump();
    } else if (CWnd* main = AfxGetMainWnd()) {
        // Without a bar the main window's status line shows the progress.
        main->SendMessage(0x0362, 0, reinterpret_cast<LPARAM>(text.GetString()));
    }
}

BOOL CKXInstanceDetailsGridWnd::LoadComponentPins(CDesignContext design, CInstanceContext instance,
                                                  BOOL bKeepOrder) {
    if (!design || !instance) return FALSE; // nothing to load; callers check before
    // 1. The instance already shown is not loaded again.
    if (!bKeepOrder && m_arrInstanceIds.size() == 1 && !m_bForceReload) {
        const CInstanceContext shown = design.instance(m_arrInstanceIds.front());
        if (shown && shown.name().CompareNoCase(instance.name()) == 0) return TRUE;
    }
    m_designContext = design;
    const bool multiple = m_bMultipleObjects != 0;
    // 2. Instance and Ref Des columns are available in multiple-instances mode.
    GetColumnInfo(m_nColInstance)->m_bShown = multiple ? 1 : 0;
    GetColumnInfo(m_nColRefDes)->m_bShown = multiple ? 1 : 0;
    // 3.
    m_arrInstanceIds.push_back(instance->id());
    CGXGridParam* pParam = GetParam();
    const BOOL bUndo = pParam ? pParam->IsEnableUndo() : FALSE;
    if (pParam) pParam->EnableUndo(FALSE);
    const BOOL bWasLocked = IsLockUpdate();
    if (!bWasLocked) LockUpdate(TRUE);
    // Drawing and undo as before the load, whichever way it ends.
    auto unlock = [&] {
        if (!bWasLocked) {
            LockUpdate(FALSE);
            Redraw(kNoUpdate, TRUE);
        }
    };

    m_loader->PrepareLoadColumns(instance, multiple);
    if (!multiple) m_loader->ClearPinRows();
    m_loader->WriteLoadHeader(instance, multiple);
    // 11. A standard FPGA names its pins in a pin file.
    std::unique_ptr<KXCsvParser> csv;
    if (!m_loader->OpenPinFile(instance.instance(), csv)) {
        unlock();
        if (pParam) pParam->EnableUndo(bUndo);
        return FALSE;
    }
    m_pCsvParser = csv.get();
    m_pupdColumn->m_bPupdInFill = !multiple && !m_pupdColumn->HasPullComponents(design.design());
    m_pupdColumn->m_pupdFilledRows.clear();
    m_fillStyles.BeginLoad();
    m_loader->LoadInstanceRows(design, instance);
    if (!multiple) m_loader->FinishSingleLoad(instance, bKeepOrder);
    m_fillStyles.EndLoad();
    m_pupdColumn->m_bPupdInFill = false;
    m_pupdColumn->m_pupdFilledRows.clear();
    FitRowHeaderColumn(); // the row numbers, when shown, take the width of the largest
    unlock();
    m_bForceReload = 0;
    m_loader->KeepReadOnlyRows();
    m_pCsvParser = nullptr;
    if (csv) {
        QBStatus status;
        csv->close(&status);
    }
    if (pParam) pParam->EnableUndo(bUndo);
    EndProgressBar();
    return TRUE;
}

void KXPinGridLoader::PrepareLoadColumns(const CInstanceContext& instance, bool multiple) {
    // 5. The first load of a grid in a pane takes the widths of the column descriptors.
    if (m_grid.IsInitialized() && m_grid.m_bFirstLoad && m_grid.Site()) {
        m_grid.m_bFirstLoad = 0;
        for (int c = 0; c < m_grid.m_nColCount && c <= static_cast<int>(m_grid.GetColCount()); ++c)
            m_grid.SetColWidth(Col(c), Col(c), m_grid.GetColumnInfo(c)->m_nWidth, nullptr, kNoUpdate, gxDo);
    }

    // 6. Block or component.
    if (instance.containedDesign()) {
        if (!multiple) {
            m_grid.m_bIsBlock = 1;
            m_grid.HideCols(Col(m_grid.m_nColTermination), Col(m_grid.m_nColTermination), TRUE, nullptr,
                            kNoUpdate, gxDo);
            SetPinNameCaptions("Port Name", "Port Type");
            m_grid.HideCols(Col(m_grid.m_nColPinNumber), Col(m_grid.m_nColPinNumber), TRUE, nullptr,
                            kNoUpdate, gxDo);
        }
    } else {
        if (!multiple && m_grid.m_bIsBlock) {
            // A component after a block: its pin captions and its PN column come back.
            m_grid.m_bIsBlock = 0;
            const CKXColumnInfoClass* name = m_grid.Columns().Find(m_grid.m_nColPinName);
            const CKXColumnInfoClass* type = m_grid.Columns().Find(m_grid.m_nColPinType);
            SetPinNameCaptions(name ? name->m_strCaption.GetString() : "Pin Name",
                               type ? type->m_strCaption.GetString() : "Pin Type");
            const CKXColumnInfoClass* pn = m_grid.Columns().Find(m_grid.m_nColPinNumber);
            if (pn && pn->m_bShown)
                m_grid.HideCols(Col(m_grid.m_nColPinNumber), Col(m_grid.m_nColPinNumber), FALSE, nullptr,
                                kNoUpdate, gxDo);
        }
        m_grid.HideCols(Col(m_grid.m_nColTermination), Col(m_grid.m_nColTermination), FALSE, nullptr,
                        kNoUpdate, gxDo);
    }
}

void KXPinGridLoader::ClearPinRows() {
    if (m_grid.GetRowCount() < PIN_FIRST_ROW) return;
    // The rows go as the design's reading goes: no step of the grid's undo.
    GridWriteScope write(m_grid);
    m_grid.RemoveRows(PIN_FIRST_ROW, m_grid.GetRowCount(), kNoUpdate, gxDo);
}

void KXPinGridLoader::WriteLoadHeader(const CInstanceContext& instance, bool multiple) {
    // 8, 9, 10. Header.
    const CString instName = instance.name();
    IInstance* inst = instance.instance();
    const CString cellName = inst->cellName();
    const char* location = instance.physicalPackageName();
    const CString refDes = location ? location : "";
    m_grid.m_functions->m_strHeaderLabel = instance.containedDesign() ? "Block    : " : " ";
    CString headerText;
    if (!multiple) {
        headerText = "Component: " + instName + " (" + cellName + ")      Ref Des: " + refDes;
        CString dialogName = instName;
        const int amp = dialogName.Find('&');
        if (amp >= 0) dialogName.Insert(amp, '&');
        m_grid.m_functions->m_strHeaderInstanceText.Format("%s (%s)", dialogName.GetString(),
                                                           cellName.GetString());
        m_grid.m_functions->m_strHeaderSecondText = refDes.IsEmpty() ? CString() : "- " + refDes;
    } else {
        headerText = "Multiple Instances";
        m_grid.m_functions->m_strHeaderInstanceText = "Multiple Instances";
        m_grid.m_functions->m_strHeaderSecondText.Empty();
        m_grid.m_functions->m_bFunctionsComboShown = FALSE;
        m_grid.m_functions->ShowHeaderFunctions();
    }
    m_grid.m_functions->ShowHeaderTexts();
    CGXGridParam* pParam = m_grid.GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (pParam) pParam->SetLockReadOnly(FALSE);
    CGXStyle header;
    header.SetValue(headerText)
        .SetFont(CGXFont().SetFaceName("Tahoma").SetBold(TRUE))
        .SetHorizontalAlignment(DT_LEFT)
        .SetVerticalAlignment(4)
        .SetControl(static_cast<WORD>(IDS_CTRL_INSTANCE_DETAILS_HEADER))
        .SetDraw3dFrame(gxFrameInset);
    m_grid.SetStyleRange(CGXRange(0, 1), header, gxOverride, 0, kNoUpdate, gxDo);
    if (pParam) pParam->SetLockReadOnly(bLock);
}

BOOL KXPinGridLoader::OpenPinFile(IInstance* inst, std::unique_ptr<KXCsvParser>& csv) {
    CString csvPath;
    const CString cellName = inst->cellName();
    if (!m_grid.m_functions->m_partReader.IsPartStandardFPGA(inst->libName(), cellName, csvPath)) return TRUE;
    m_grid.m_bStandardFPGA = 1;
    csv = std::make_unique<KXCsvParser>(QBString(csvPath));
    QBStatus status;
    csv->parse(&status);
    if (!status.isFailed()) return TRUE;
    CKXErrorHandler::MessageBoxOk("KXTABLE-126", cellName);
    csv.reset();
    return FALSE;
}

void KXPinGridLoader::LoadInstanceRows(const CDesignContext& design, const CInstanceContext& instance) {
    IInstance* inst = instance.instance();
    // 12, 13. Pins and physical parts.
    std::vector<IInstTerm*> pins;
    std::size_t rowCount = 0; // a row a bit, and one more for a bus shown whole; a wide pin's one row
    for (IInstTerm* pin : inst->beginInstTerm()) {
        pins.push_back(pin);
        const auto width = static_cast<std::size_t>(std::abs(pin->msb() - pin->lsb())) + 1;
        rowCount += pin->msb() == pin->lsb() ? 1 : width > KXPinGridFill::kWidePinBits ? 1 : width + 1;
    }
    const int pinCount = static_cast<int>(pins.size());
    // Each row indexes its pin bit and its net, and its pin name and number texts; each pin its rows.
    m_grid.m_rowIndex.Reserve(2 * rowCount + pins.size(), 2 * rowCount, rowCount);
    // The physical parts are looked up again when a row first needs one (PhysPartOfInstance).
    for (UINT index : m_grid.m_arrInstanceIds)
        m_grid.m_functions->m_mapPhysPartInst.erase(index);
    m_grid.m_instCurrent = instance;

    ROWCOL row = m_grid.GetRowCount() + 1;
    std::set<IInstTerm*> legs;
    LoadDiffPairRows(design, inst, row, legs);
    // 15.
    m_grid.HideCols(Col(m_grid.m_nColDiffPair), Col(m_grid.m_nColDiffPair),
                    m_grid.m_bHasDiffPairs ? FALSE : TRUE, nullptr, kNoUpdate, gxDo);
    NewProgressBar("Processing Pins", pinCount);

    LoadPinRows(instance, pins, legs, row);
    // 17. Implicit power pins.
    if (CKXShareGlobalData::m_bShowPowerPins) {
        int next = static_cast<int>(m_grid.GetRowCount()) + 1;
        CInstanceContext shown = instance;
        m_grid.m_power->AddInstanceImplicitPins(next, shown);
    }
}

void KXPinGridLoader::LoadDiffPairRows(const CDesignContext& design, IInstance* inst, ROWCOL& row,
                                       std::set<IInstTerm*>& legs) {
    if (m_grid.m_bShowDiffPairs != 1 || CString(design.design()->viewName()) == "sch_1") return;
    int pairCount = 0;
    for (IDPInstTerm* pair : inst->beginDPInstTerm())
        if (pair && !pair->parent()) ++pairCount;
    NewProgressBar("Processing Diff-Pair Pins", pairCount);
    for (IDPInstTerm* pair : inst->beginDPInstTerm()) {
        if (!pair || pair->parent()) continue; // members come with their vector pair
        if (CKXProgressBar* bar = CKXProgressBar::m_pProgressBar) bar->StepIt();
        m_grid.m_bHasDiffPairs = 1;
        LoadDiffPair(pair, row, legs);
        row = m_grid.GetRowCount() + 1;
    }
}

void KXPinGridLoader::LoadDiffPair(IDPInstTerm* pair, ROWCOL& row, std::set<IInstTerm*>& legs) {
    std::vector<IDPInstTerm*> members;
    for (IDPInstTerm* m : pair->beginMember())
        members.push_back(m);
    if (pair->positive()) legs.insert(pair->positive());
    if (pair->negative()) legs.insert(pair->negative());
    for (IDPInstTerm* m : members) {
        if (m->positive()) legs.insert(m->positive());
        if (m->negative()) legs.insert(m->negative());
    }
    if (members.empty()) {
        m_grid.FillDiffPairRows(pair, PIN_ROW_DIFFPAIR, GX_INVALID, row);
        return;
    }
    if (m_grid.m_bShowVectors != 1) {
        for (IDPInstTerm* m : members) {
            const ROWCOL before = row;
            m_grid.FillDiffPairRows(m, PIN_ROW_DIFFPAIR, GX_INVALID, row);
            if (m_grid.GetRowCount() >= before) row = m_grid.GetRowCount() + 1;
        }
        return;
    }
    const ROWCOL pairRow = row;
    m_grid.FillDiffPairRows(pair, PIN_ROW_VECTOR_DIFFPAIR, GX_INVALID, row);
    if (row >= pairRow && row <= m_grid.GetRowCount()) ++row;
    for (IDPInstTerm* m : members) {
        const ROWCOL before = row;
        m_grid.FillDiffPairRows(m, PIN_ROW_DIFFPAIR_CHILD, pairRow, row);
        if (row >= before && row <= m_grid.GetRowCount() && m_grid.GetRowCount() >= before) ++row;
    }
    m_grid.m_signalCells->FillDiffPairSignalCells(pairRow, 0); // its lanes are written
    m_grid.ToggleRow(pairRow);
}

void KXPinGridLoader::LoadPinRows(const CInstanceContext& instance, const std::vector<IInstTerm*>& pins,
                                  const std::set<IInstTerm*>& legs, ROWCOL& row) {
    const CString instName = instance.name();
    const int pinCount = static_cast<int>(pins.size());
    // 16. Pins. A co-design instance shows the pins that share one physical pin as one group.
    std::set<IInstTerm*> grouped;
    if (CKXGenUtils::IsCodesign(instance)) {
        std::map<CString, std::vector<IInstTerm*>> byPhysicalPin;
        for (IInstTerm* pin : pins) {
            if (!pin->isScalar() || (m_grid.m_bHasDiffPairs && legs.count(pin))) continue;
            const CString number = CKXGenUtils::GetPinNumber(instance.instTerm(pin).bitContext(-1));
            if (!number.IsEmpty()) byPhysicalPin[number].push_back(pin);
        }
        for (auto& [number, group] : byPhysicalPin) {
            if (group.size() < 2) continue;
            m_grid.FillPowerPinRows(group, row);
            grouped.insert(group.begin(), group.end());
            row = m_grid.GetRowCount() + 1;
        }
    }
    int done = 0;
    for (IInstTerm* pin : pins) {
        ShowProgress(++done, pinCount, instName); // every pin counts, also those shown in groups
        if (grouped.count(pin)) continue;
        if (m_grid.m_bHasDiffPairs && legs.count(pin)) {
            if (pin->isScalar()) continue;
            const int showVectors = m_grid.m_bShowVectors;
            m_grid.m_bShowVectors = 0;
            for (int b = std::min(pin->msb(), pin->lsb()); b <= std::max(pin->msb(), pin->lsb()); ++b) {
                if (m_grid.GetDiffPairInstTerm(pin, b)) continue;
                const ROWCOL legRow = row;
                m_grid.FillPinRow(pin, row, b, "");
                m_grid.StylePropertyCells(pin, static_cast<int>(legRow),
                                          static_cast<int>(m_grid.GetRowCount()));
                row = m_grid.GetRowCount() + 1;
            }
            m_grid.m_bShowVectors = showVectors;
            continue;
        }
        const ROWCOL firstRow = row;
        if (pin->msb() == pin->lsb()) {
            m_grid.FillPinRow(pin, row, pin->msb(), "");
        } else if (m_grid.m_bShowVectors == 1) {
            m_grid.FillPinRow(pin, row, -1, "");
        } else {
            std::vector<int> bits = pin->bits();
            std::sort(bits.begin(), bits.end(), [](int a, int b) { return a > b; });
            for (int b : bits) {
                m_grid.FillPinRow(pin, row, b, "");
                row = m_grid.GetRowCount() + 1;
            }
        }
        m_grid.StylePropertyCells(pin, static_cast<int>(firstRow), static_cast<int>(m_grid.GetRowCount()));
        row = m_grid.GetRowCount() + 1;
    }
}

void KXPinGridLoader::FinishSingleLoad(const CInstanceContext& instance, BOOL bKeepOrder) {
    m_grid.m_nFunctionFilter = 0;
    m_grid.m_functions->GetPartSymbolProperties(instance);
    m_grid.FillPupdColumn({});
    if (!bKeepOrder) {
        // A fresh load always lists the pins in ascending order, whatever was sorted before.
        m_grid.m_nSortCol = -1;
        m_grid.SortColumn(m_grid.m_nColPinName);
    }
    m_grid.ReapplyFilters();
    m_grid.SetTopRow(PIN_FIRST_ROW <= m_grid.GetRowCount() ? PIN_FIRST_ROW : 1, kNoUpdate, TRUE);
    // The sort gave the rows new numbers: the index learns them now, so that the first edit after the
    // show costs its own rows like every later one.
    m_grid.m_rowIndex.NumberRows();
}

void KXPinGridLoader::KeepReadOnlyRows() {
    // A design opened read-only keeps its pin rows read-only.
    if (m_grid.Site() && m_grid.GetRowCount() >= PIN_FIRST_ROW) {
        if (m_grid.Site()->OpenMode() == eOpenModeContext) {
            CGXStyle readOnly;
            readOnly.SetReadOnly(TRUE);
            m_grid.SetStyleRange(CGXRange().SetRows(PIN_FIRST_ROW, m_grid.GetRowCount()), readOnly,
                                 gxOverride, 0, kNoUpdate, gxDo);
        }
    }
}

void CKXInstanceDetailsGridWnd::SortColumn(int col) {
    // Several grids side by side sort by pin name only, and all together (their rows stay in step).
    if (m_bColumnMode && col != m_nColPinName) return;
    CKXGridWnd::OnSortColumn(col);
    if (m_bColumnMode) SortColumnsWithUndo(col);
}

void CKXInstanceDetailsGridWnd::SortRows(int col, BOOL bAscending) {
    if (col < 0) return;
    const BOOL bAlpha = CCommonInterface::nSortType == 0 ? TRUE : FALSE;
    CKXSortGrid sorter(this, PIN_FIRST_ROW, TRUE, bAlpha, FALSE);
    // Child rows (levels 2 and 3) stay under their parent rows.
    sorter.SetSkipLevel({2, 3});
    sorter.SetHierarchyColumn(Col(m_nColPinName));
    sorter.SetLevelAttribute(static_cast<WORD>(IDS_UA_ROW_LEVEL));
    sorter.SetStoredCells(TRUE); // the pin grid supplies nothing on the fly past its row numbers
    if (col == m_nColPinName && CCommonInterface::nSortType == 0)
        sorter.SetSortAttribute(Col(m_nColPinName), static_cast<WORD>(IDS_UA_VECTOR_BASENAME));
    sorter.SortRows(Col(col), bAscending, 1);
}
