// The instance connectivity dialog: the pins of one component instance in a pin grid of its own, with
// an Attach Signal bar (signal combo, fx function button and its menu) as the connectivity pane has,
// used right after an instance was placed to wire it at once. Every connection made in the dialog
// joins one transaction, "Instance Connectivity": OK keeps all of them as one undo step, Cancel none.
//
// Headless, each scripted answer (kx::answer dialog CKXInstConnDlg ...) is one thing the user does:
//   ok pins {A B} fx 35280        selects the pins (by pin name), then a function menu entry
//   ok pins {A} signal NAME       selects the pins, types NAME (a signal or a rule text) and applies it
//   ok pins {A} cell NAME         selects the pins, picks NAME from the first one's Signal cell list
//   ok pins {A B} paste 1         selects the pins and presses Ctrl+V on their Signal cells
//                                 (paste special: Paste Special, which asks nothing before overwriting)
//   ok                            the OK button;  cancel: the Cancel button
// An answer with `pins`, `fx`, `signal`, `cell` or `paste` leaves the dialog open for the next one;
// when no answer is left the dialog is cancelled.
#pragma once

#include <climits>

#include "afx/afxdlg.h"
#include "grid/secctrl.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXComboBoxes.h"
#include "rmx/context.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CKXTableChildFrm;
class CKXGridWnd;
class CKXGridEdit;
class CKXListComboBox;
class IKXPinGrid;
class CKXBottomPaneContainerView;

class CKXInstConnDlg : public CDialog {
public:
    enum { IDD = 9002 };
    static constexpr UINT kGridId = 9075;
    static constexpr UINT kSignalListId = 9041;
    static constexpr UINT kShortcutBarId = 9042;
    static constexpr UINT kFxButtonId = 35279;
    static constexpr UINT kSignalComboId = 35257;

    CKXInstConnDlg(CKXTableChildFrm* frame, const CDesignContext& design, const CDesignContext& design2,
                   const CInstanceContext& instance, int autoNameCounter, CWnd* parent = nullptr);
    ~CKXInstConnDlg() override;

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange*) override {}

    // The dialog's pin grid; NULL before the dialog opened or once it closed.
    CKXGridWnd* GetCCPTabWnd() const { return m_pGrid; }
    // "signal_N" for the next counter value that names no net of the design yet.
    CString GetNewAutoName();
    // The highest automatic-name counter: the number of the last "signal_N" a dialog can make.
    static constexpr int kLastAutoName = INT_MAX;
    int GetAutoNameCounter() const { return m_nAutoName; }
    void AddSignalToSignalCombos(const CString& name, DWORD_PTR data);
    void AddSignals();
    void OnSize(UINT type, int cx, int cy);
    const CString& GetCaption() const { return m_strCaption; }
    BOOL IsInitialising() const { return m_bInitialising; }
    CString GetSignalComboText() const;
    DWORD GetSignalComboEditSel() const { return m_SignalCombo.GetEditSel(); }
    std::vector<CString> GetSignalComboEntries() const;

    // The function menu and its entries.
    void OnSignalFx();
    void OnBptoolbarShortPins();
    void OnAutoNameConnect();
    void OnSameNameConnect();
    void OnBptoolbarPrefixpinname();
    void OnBptoolbarSuffixpinname();
    void OnBptoolbarPrefixpinnumber();
    void OnBptoolbarSuffixpinnumber();
    void OnBptoolbarIncrementSigName();
    // Selects the pins with these names in the grid; FALSE when none is there.
    BOOL SelectPins(const CStringArray& names);
    // Connects the selected pins as the combo's text asks (a signal name or a rule text).
    BOOL ApplySignalText(const CString& text);
    // Picks the name from the Signal cell list of the first selected pin, as the user does in the
    // grid; the list offers the design's nets and those the dialog's connections made.
    BOOL PickSignalCellEntry(const CString& name);
    // Ctrl+V on the selected pins' Signal cells: the clipboard's lines connect them, as one edit of the
    // dialog's (a line the grid refuses takes the whole paste back). FALSE when nothing was pasted.
    BOOL PasteIntoPins(BOOL bPasteSpecial);
    // The connections made since the dialog opened.
    int GetConnectCount() const { return m_nConnects; }
    // TRUE once OK kept the dialog's connections in the design.
    BOOL KeptConnections() const { return m_bKept; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    BOOL CreateControls();
    BOOL CreatePinGrid();
    BOOL SelectRuleEntry(const char* rule);
    void PrepareRule(const char* rule, const char* placeholder, int first, int last);
    BOOL ConnectSelected(const CString& text);
    // One scripted answer: what the user does in the dialog, or the OK button.
    BOOL RunAnswerStep(const std::map<CString, CString>& fields);
    CKXBottomPaneContainerView* Pane() const;
    // Commits nothing: discards what OK did not keep and forgets the nets made in the transaction.
    void EndTransaction();

    CKXTableChildFrm* m_pFrame;
    CDesignContext m_design, m_design2;
    CInstanceContext m_instance;
    int m_nAutoName;
    BOOL m_bInitialising = TRUE;
    CString m_strCaption;
    std::unique_ptr<CKXListComboBox> m_pSignalList;
    CKXAutoCompleteComboBox m_SignalCombo;
    CStatic m_AttachLabel;
    SECBitmapButton m_FxButton;
    SECShortcutBar m_ShortcutBar;
    CKXGridWnd* m_pGrid = nullptr; // made by the pane's factory, dropped when the dialog closes
    std::unique_ptr<CKXGridEdit> m_pEdit;
    int m_nConnects = 0;
    std::vector<CTclArgsList> m_echoes; // the connections made, echoed to the host when OK keeps them
    BOOL m_bKept = FALSE;
    BOOL m_bWasModified = FALSE; // the document's modified flag when the dialog opened
};

// What the host calls for an instance just placed in the design window's design: runs the dialog on
// the instance named; IDOK when its connections were kept, IDCANCEL otherwise, -1 when the window or
// the instance is not there. OK that kept no connection (none was made) answers IDCANCEL.
extern "C" int KXRunInstanceConnectivityDialog(CWnd* frame, const char* instance, int autoNameCounter);
