// The import of logical pin names: the PIN_NAME cells show the pins' logical
// names, a standard FPGA's from its pin file. The design is not edited.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFunctions.h"

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxsmall/KXCsvParser.h"
#include "rmx/schemautil.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The text of a vector pin's row whose bits got the names: with a pin file, the file's bus when the
// names share one base and their indexes step down by one over the whole range; else the pin's own
// range name.
CString VectorRowText(IInstTerm* pin, int msb, int lsb, const std::vector<CString>& names, bool fromFile) {
    const CString own = CSchemaUtilities::vectorName(pin->name(), msb, lsb);
    if (!fromFile) return own;
    CString base;
    int previous = 0, highest = 0, lowest = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int open = names[i].Find('<');
        const CString b = open < 0 ? names[i] : names[i].Left(open);
        const int index =
            open < 0 ? -1 : std::atoi(names[i].Mid(open + 1, names[i].GetLength() - open - 2).GetString());
        if (i == 0) {
            base = b;
            highest = lowest = index;
        } else if (b.CompareNoCase(base) != 0 || index != previous - 1) {
            return own;
        }
        previous = index;
        lowest = index;
    }
    if (highest - lowest + 1 == std::abs(msb - lsb) + 1) return CSchemaUtilities::vectorName(base, highest, lowest);
    return own;
}

} // namespace

LRESULT CKXInstanceDetailsGridWnd::OnImportCsv(WPARAM, LPARAM) {
    if (m_bImportCsvEnabled) ImportCsv();
    return 0;
}

void CKXInstanceDetailsGridWnd::ImportCsv() {
    if (m_arrInstanceIds.size() != 1 || !m_designContext) return;
    const CInstanceContext instance = m_designContext.instance(m_arrInstanceIds.front());
    if (!instance) return;
    IInstance* inst = instance.instance();
    const CString cellName = inst->cellName();
    CString csvPath;
    std::unique_ptr<KXCsvParser> csv;
    if (m_functions->m_partReader.IsPartStandardFPGA(inst->libName(), cellName, csvPath)) {
        csv = std::make_unique<KXCsvParser>(QBString(csvPath));
        QBStatus status;
        csv->parse(&status);
        if (status.isFailed()) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-126", cellName);
            return;
        }
    }
    CGXGridParam* param = GetParam();
    if (param) {
        param->SetLockReadOnly(FALSE);
        param->EnableUndo(FALSE);
    }
    const ROWCOL pinCol = static_cast<ROWCOL>(m_nColPinName);
    auto write = [this, pinCol](ROWCOL row, const CString& text) {
        if (row <= GetRowCount()) SetValueRange(CGXRange(row, pinCol), text, gxOverride, 0, GX_SMART);
    };
    // The name of one bit: the logical name, or the pin file's name for its pin number.
    auto bitName = [&](IInstTerm* pin, int bit) {
        const CInstTermBitContext context = instance.instTerm(pin).bitContext(bit);
        CString name = pin->isScalar() ? CKXGenUtils::GetPinLogicalName(context)
                                       : CSchemaUtilities::vectorName(pin->name(), bit);
        if (csv) {
            CString number = CKXGenUtils::GetPinNumber(context), fromFile;
            csv->getPinNameFromNumber(number, fromFile);
            if (!fromFile.IsEmpty()) {
                fromFile.MakeLower();
                name = fromFile;
            }
        }
        return name;
    };
    for (ROWCOL row = PIN_FIRST_ROW; row <= GetRowCount(); ++row) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
        if (!pin) continue;
        if (msb == lsb) {
            write(row, bitName(pin, msb));
            continue;
        }
        const int step = msb > lsb ? -1 : 1;
        std::vector<CString> names;
        for (int bit = msb;; bit += step) {
            names.push_back(bitName(pin, bit));
            if (bit == lsb) break;
        }
        // Not a bus: the vector row keeps its range name; every bit row still gets its own bit's
        // name (shifting the names up by one row would put each on the wrong bit).
        const CString rowText = VectorRowText(pin, msb, lsb, names, csv != nullptr);
        ROWCOL next = row;
        write(row, rowText);
        for (const CString& name : names)
            write(++next, name);
        row = next;
    }
    if (param) {
        param->EnableUndo(TRUE);
        param->SetLockReadOnly(TRUE);
    }
    if (csv) {
        QBStatus status;
        csv->close(&status);
    }
}
