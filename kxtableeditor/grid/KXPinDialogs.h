// The two dialogs of the pin commands of the pin and physical part grids: choosing another pin
// number for a pin among the candidates of the pin-name generator (with the pin names of the
// instance and a function summary of its pins), and choosing the pin to swap a pin with. Headless:
// DoModal answers from the answer queue (dialog CKXAssignPinDialog, fields "name", "pin" and
// "summary"; dialog CKXSwappinsDialog, field "pin").
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

#include <map>
#include <unordered_map>
#include <vector>

class CWnd;

class CKXAssignPinDialog {
public:
    enum { IDD = 8884 };
    enum : int {
        IDC_PIN_NUMBER = 9059,
        IDC_PIN_NAME = 9060,
        IDC_FUNCTION_SUMMARY = 9061,
        IDC_SUMMARY_BUTTON = 9062,
    };
    static constexpr int kSummaryHeight = 150; // pixels the dialog grows by while the summary shows
    static constexpr int kDialogHeight = 166;
    // One row of the function summary: a pin (one row per bit of a bus), the number it has or would
    // get, its type, and the section of its number (parts with sections, else -1).
    struct SummaryRow {
        CString name;
        CString number;
        CString type;
        int section = -1;
    };

    explicit CKXAssignPinDialog(CWnd* parent = nullptr) { (void)parent; }
    ~CKXAssignPinDialog();
    CKXAssignPinDialog(const CKXAssignPinDialog&) = delete;
    CKXAssignPinDialog& operator=(const CKXAssignPinDialog&) = delete;

    // The caller's generator of the numbers the pin may take; it stays the caller's.
    void SetPinGenerator(HMTGEN gen);
    void SetInstanceContext(const CInstanceContext& instance) { m_instance = instance; }
    void SetPinInfo(int row, CString baseName, int first, int second, CString pinNumber);
    // Fills the combos and the summary (DoModal does it first).
    BOOL OnInitDialog();
    // Scripted: "name" chooses a pin name, "pin" a pin number, "summary" 1/0 shows or hides the summary.
    int DoModal();
    // A pin name chosen: the numbers offered become those that may carry it.
    void OnSelchangePinName(const CString& name);
    // A pin number chosen: its section becomes the chosen one and the summary shows the numbers the
    // section gives each function. FALSE for a number the combo does not offer.
    BOOL OnSelchangePinNumber(const CString& number);
    void OnFunctionSummary();

    // The numbers of the pin-number combo, in the generator's order.
    const std::vector<CString>& GetCandidates() const { return m_candidates; }
    const std::vector<CString>& GetPinNames() const { return m_pinNames; }
    const CString& GetSelectedPinName() const { return m_strSelectedName; }
    const std::vector<SummaryRow>& GetSummary() const { return m_summary; }
    BOOL IsSummaryShown() const { return m_bSummaryShown; }
    int GetDialogHeight() const { return m_nHeight; }
    const CString& GetSummaryButtonText() const { return m_strSummaryButton; }
    BOOL IsChips() const { return m_bChips; }
    CString GetSelectedPinData() const { return m_pChosenNumber ? CString(m_pChosenNumber) : CString(); }

private:
    void FillNumbers(HMTGEN gen);
    void BuildSectionMap(std::map<CString, int>& sections) const;
    CString PresetName() const;
    // Function name -> pin number of the instance's own section (interned texts); read once per fill.
    using FunctionNumbers = std::unordered_map<const char*, const char*>;
    FunctionNumbers StartSectionNumbers() const;
    CString PinNumberOf(const CInstanceContext& instance, const char* pin, int bit, const char* name,
                        const FunctionNumbers& sectionNumbers) const;
    SummaryRow* SummaryRowNamed(const char* name, int section);

    std::vector<CString> m_candidates;
    std::vector<CString> m_pinNames;
    std::vector<SummaryRow> m_summary;
    CInstanceContext m_instance;
    HMTGEN m_hGen = nullptr;      // the generator the number combo shows
    HMTGEN m_hOwnGen = nullptr;   // one the dialog made for a chosen name: released by the dialog
    BOOL m_bSummaryShown = FALSE;
    int m_nHeight = kDialogHeight;
    CString m_strSummaryButton = "&Function Summary <<";
    int m_nPresetRow = -1;
    CString m_strPresetName;
    int m_nPresetFirst = -1, m_nPresetLast = -1;
    CString m_strCurrent, m_strSelectedName;
    const char* m_pStartSection = nullptr;
    const char* m_pChosenSection = nullptr;
    const char* m_pChosenNumber = nullptr;
    BOOL m_bChips = FALSE;
};

class CKXSwappinsDialog {
public:
    CKXSwappinsDialog(const CInstanceContext& instance, CString pinName, CString pinNumber, CWnd* parent = nullptr);
    // The pin numbers the pin may be swapped with (the packaging's swap groups).
    const std::vector<CString>& GetSwappablePins();
    // Only a number the dialog offers can be chosen: another is refused as MaySwap says.
    int DoModal();
    // Whether pin `pinName` of the instance, numbered `from`, may take number `to`, the pin holding `to`
    // taking `from`: the part's pin swap service lets the two numbers swap, or `to` is the pin's own
    // number (no swap to refuse here). Says why not (KXTABLE-489). The dialog asks this of the number chosen
    // in it; a number given by script is taken as it is.
    static bool MaySwap(const CInstanceContext& instance, const CString& pinName, const CString& from,
                        const CString& to);
    // The refusal of a swap partner number that no pin of the instance carries: the pin of another instance
    // of the package that carries it is named (KXTABLE-520), else the partner carries no logical pin
    // (KXTABLE-107).
    static void RefusePartner(const CInstanceContext& instance, const CString& number);
    void SetSwappablePinNo(CString pinNumber) { m_strChosen = pinNumber; }
    CString getSwappablePinNumber() const { return m_strChosen; }

private:
    CInstanceContext m_instance;
    CString m_strPinName, m_strPinNumber, m_strChosen;
    std::vector<CString> m_swappable;
    bool m_bRead = false;
};
