// The instance connectivity dialog.
#include "pane/KXInstConnDlg.h"
#include "grid/KXScriptWords.h"

#include "pane/KXBottomPaneContainerView.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"
#include "grid/KXSpinControl.h"
#include "pingrid/KXPinGrid.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxanswer.h"
#include "afx/afxmenu.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"

#include <algorithm>
#include <string>
#include <sstream>

namespace {

constexpr const char* kTransactionName = "Instance Connectivity";
constexpr const char* kRuleEntries[] = {"=AUTONAME",       "=PINNAME",         "=PREFIXPINNAME",
                                        "=SUFFIXPINNAME",  "=PREFIXPINNUMBER", "=SUFFIXPINNUMBER",
                                        "=INCREMENTSIGNAME"};
constexpr UINT kFxBitmap = 8882;
constexpr int kButtonWidth = 80, kButtonHeight = 25;
constexpr int kGridMargin = 10, kGridTop = 45, kGridBottom = 45;

enum : UINT {
    kShortPins = 35280,
    kAutoName = 35255,
    kSameName = 35256,
    kPrefixPinName = 35275,
    kSuffixPinName = 35276,
    kPrefixPinNumber = 35277,
    kSuffixPinNumber = 35278,
    kIncrementSigName = 35282,
};

// The words of a field value as a Tcl list writes them ("A B", "{A B} C").
CStringArray Words(const CString& text) {
    CStringArray words;
    std::istringstream in(text.str());
    std::string word;
    while (in >> std::ws && !in.eof()) {
        if (in.peek() == '{') {
            in.get();
            std::getline(in, word, '}');
        } else {
            in >> word;
        }
        words.Add(word.c_str());
    }
    return words;
}

} // namespace

CKXInstConnDlg::CKXInstConnDlg(CKXTableChildFrm* frame, const CDesignContext& design, const CDesignContext& design2,
                               const CInstanceContext& instance, int autoNameCounter, CWnd* parent)
    : CDialog(IDD, parent), m_pFrame(frame), m_design(design), m_design2(design2), m_instance(instance),
      m_nAutoName(autoNameCounter) {
    m_pSignalList = std::make_unique<CKXListComboBox>(this);
}

CKXInstConnDlg::~CKXInstConnDlg() {
    // A dialog that goes without OK keeps none of its connections.
    EndTransaction();
    if (CKXBottomPaneContainerView* pane = Pane(); pane && m_pGrid) pane->DestroyGrid(m_pGrid);
    m_pGrid = nullptr;
}

CKXBottomPaneContainerView* CKXInstConnDlg::Pane() const {
    return m_pFrame ? m_pFrame->GetConnectivityPane() : nullptr;
}

// ------------------------------------------------------------------ opening

BOOL CKXInstConnDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    IInstance* inst = m_instance.instance();
    m_strCaption.Format("Connectivity for Instance: %s of part: %s", inst ? inst->name() : "",
                        inst ? inst->cellName() : "");
    SetWindowText(m_strCaption);
    if (Pane() && !Pane()->IsEditable()) {
        KXRefuseReadOnlyWindow(); // a read-only window connects nothing
        EndDialog(IDCANCEL);
        return FALSE;
    }
    // The physical view shows physical parts: its journal could not select the logical pins the
    // dialog connects, so the connections are made in the logical view only.
    if (Pane() && Pane()->GetViewMode() == eOpenModePhysical) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-265", inst ? inst->name() : "");
        EndDialog(IDCANCEL);
        return FALSE;
    }
    // Opening, the dialog takes the keyboard from the pane: a cell left in edit there is stored (a list
    // down goes up without a choice) as leaving its grid does, an edit of its own before the dialog's.
    SetFocus();
    if (!CreateControls() || !CreatePinGrid()) {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    m_bInitialising = FALSE;
    for (const char* rule : kRuleEntries)
        AddSignalToSignalCombos(rule, 0);
    AddSignals();
    m_bWasModified = Pane()->IsDocumentModified();
    Pane()->EmptyTransactionNetMap();
    m_pEdit = std::make_unique<CKXGridEdit>(*m_pGrid, m_design, kTransactionName);
    if (!*m_pEdit) {
        EndDialog(IDCANCEL); // another edit is running: nothing may be changed now
        return FALSE;
    }
    // A replay shows the instance in the pane first: its pin grid takes the connections there.
    KXJournalLines lines(KXJournalHandle(Pane(), m_design));
    lines.Clp("Select", {inst->name()}).Write();
    // The connects' lines wait for OK, which writes them as the one step the dialog's connects are.
    if (IKXPinGrid* pins = CKXBottomPaneContainerView::PinGridOf(m_pGrid)) pins->HoldJournal();
    return TRUE;
}

BOOL CKXInstConnDlg::CreateControls() {
    m_pSignalList->Create(0x00A00003, CRect(-1, -1, -1, -1), this, kSignalListId);
    if (m_ShortcutBar.Create(this, WS_CHILD | WS_VISIBLE, kShortcutBarId)) m_ShortcutBar.AddBar("Connectivity Details");
    m_AttachLabel.Create("&Attach Signal:", WS_CHILD | WS_VISIBLE, CRect(9, 7, 77, 25), this);
    if (m_FxButton.Create("", WS_CHILD | WS_VISIBLE, CRect(81, 7, 101, 27), this, kFxButtonId))
        m_FxButton.AttachBitmap(kFxBitmap);
    return m_SignalCombo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(105, 7, 350, 200), this,
                                kSignalComboId);
}

BOOL CKXInstConnDlg::CreatePinGrid() {
    CKXBottomPaneContainerView* pane = Pane();
    if (!pane || !m_instance.instance()) return FALSE;
    m_pGrid = pane->CreateGrid(KXGridKind::Pin, 1);
    IKXPinGrid* pins = CKXBottomPaneContainerView::PinGridOf(m_pGrid);
    if (!pins) return FALSE;
    m_pGrid->SetDlgCtrlID(kGridId);
    // The dialog's rows are those of the component's grid in the pane: its journal selects the pins
    // there (pairs shown as their legs there are legs here too). A component the pane shows in no grid
    // gets a new one, with the options this grid was made with.
    CKXGridWnd* paneGrid = pane->FindComponentWindow(m_instance.instance()->id());
    if (IKXPinGrid* shown = CKXBottomPaneContainerView::PinGridOf(paneGrid))
        pins->TakeViewOptions(shown->GetBusOption(), shown->GetDiffPairOption());
    pins->LoadComponentPins(m_design, m_instance, FALSE);
    return TRUE;
}

void CKXInstConnDlg::AddSignalToSignalCombos(const CString& name, DWORD_PTR data) {
    if (m_pSignalList->GetSafeHwnd()) m_pSignalList->SetItemData(m_pSignalList->AddString(name), data);
    m_SignalCombo.SetItemData(m_SignalCombo.AddString(name), data);
}

// Every net by the name the pane offers it by, in one merge into each list: a design of ten
// thousand nets costs a sort of them, not ten thousand sorted inserts.
void CKXInstConnDlg::AddSignals() {
    if (!m_design) return;
    std::vector<CAfxItemList::NewItem> entries;
    for (const CNetContext& net : m_design.nets())
        if (INet* n = net.net()) entries.push_back({CKXBottomPaneContainerView::OfferedName(n), n->id()});
    std::stable_sort(entries.begin(), entries.end(), [](const CAfxItemList::NewItem& a, const CAfxItemList::NewItem& b) {
        return a.text.CompareNoCase(b.text) < 0;
    });
    if (m_pSignalList->GetSafeHwnd()) m_pSignalList->AddStrings(entries);
    m_SignalCombo.AddStrings(std::move(entries));
}

CString CKXInstConnDlg::GetNewAutoName() {
    CString name;
    // A name a net already has would join that net: the counter moves on past it, never beyond its range
    // (an empty name connects nothing).
    do {
        if (m_nAutoName >= kLastAutoName) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-281", std::to_string(m_nAutoName).c_str());
            return CString();
        }
        name.Format("signal_%d", ++m_nAutoName);
    } while (m_design && m_design.net(name.GetString()).net());
    return name;
}

// ------------------------------------------------------------------ layout

void CKXInstConnDlg::OnSize(UINT, int, int) {
    if (m_bInitialising || !GetSafeHwnd()) return;
    CRect client;
    GetClientRect(&client);
    if (m_ShortcutBar.GetSafeHwnd()) m_ShortcutBar.MoveWindow(client);
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->MoveWindow(client.right - 175, client.bottom - 35, kButtonWidth, kButtonHeight);
    if (CWnd* cancel = GetDlgItem(IDCANCEL))
        cancel->MoveWindow(client.right - 90, client.bottom - 35, kButtonWidth, kButtonHeight);
    if (m_pGrid)
        m_pGrid->MoveWindow(CRect(client.left + kGridMargin, client.top + kGridTop, client.right - kGridMargin,
                                  client.bottom - kGridBottom));
}

// ------------------------------------------------------------------ the function menu

void CKXInstConnDlg::OnSignalFx() {
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    const std::pair<UINT, const char*> items[] = {
        {kShortPins, "Short Pins"},           {kAutoName, "Auto Name"},
        {kSameName, "Same As Pin Name"},      {kPrefixPinName, "Prefix Pin Name"},
        {kSuffixPinName, "Suffix Pin Name"},  {kPrefixPinNumber, "Prefix Pin Number"},
        {kSuffixPinNumber, "Suffix Pin Number"}, {kIncrementSigName, "Increment Signal Name"}};
    for (const auto& [id, text] : items)
        menu.AppendMenu(MF_STRING, id, text);
    // The menu drops from the button's lower-left corner.
    CRect button(0, 0, 0, 0);
    if (m_FxButton.GetSafeHwnd()) m_FxButton.GetWindowRect(&button);
    const UINT chosen = menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, button.left, button.bottom, this);
    if (chosen) SendMessage(WM_COMMAND, chosen, 0);
}

BOOL CKXInstConnDlg::SelectRuleEntry(const char* rule) {
    const int at = m_SignalCombo.FindStringExact(-1, rule);
    if (at >= 0) m_SignalCombo.SetCurSel(at);
    else m_SignalCombo.SetWindowText(rule);
    return at >= 0;
}

void CKXInstConnDlg::OnBptoolbarShortPins() {
    SelectRuleEntry("=SHORTPINS");
    ConnectSelected(GetNewAutoName());
}

void CKXInstConnDlg::OnAutoNameConnect() {
    SelectRuleEntry("=AUTONAME");
    ConnectSelected(GetNewAutoName());
}

void CKXInstConnDlg::OnSameNameConnect() {
    SelectRuleEntry("=PINNAME");
    ConnectSelected("=PINNAME");
}

void CKXInstConnDlg::PrepareRule(const char* rule, const char* placeholder, int first, int last) {
    SelectRuleEntry(rule);
    CString text;
    m_SignalCombo.GetWindowText(text);
    m_SignalCombo.SetWindowText(text + placeholder);
    m_SignalCombo.SetFocus();
    m_SignalCombo.SetEditSel(first, last);
}

void CKXInstConnDlg::OnBptoolbarPrefixpinname() { PrepareRule("=PREFIXPINNAME", "(<string>)", 15, 23); }
void CKXInstConnDlg::OnBptoolbarSuffixpinname() { PrepareRule("=SUFFIXPINNAME", "(<string>)", 15, 23); }
void CKXInstConnDlg::OnBptoolbarPrefixpinnumber() { PrepareRule("=PREFIXPINNUMBER", "(<string>)", 17, 25); }
void CKXInstConnDlg::OnBptoolbarSuffixpinnumber() { PrepareRule("=SUFFIXPINNUMBER", "(<string>)", 17, 25); }
void CKXInstConnDlg::OnBptoolbarIncrementSigName() {
    PrepareRule("=INCREMENTSIGNAME", "(<signal, start_num>)", 18, 37);
}

BOOL CKXInstConnDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case kFxButtonId: OnSignalFx(); return TRUE;
    case kShortPins: OnBptoolbarShortPins(); return TRUE;
    case kAutoName: OnAutoNameConnect(); return TRUE;
    case kSameName: OnSameNameConnect(); return TRUE;
    case kPrefixPinName: OnBptoolbarPrefixpinname(); return TRUE;
    case kSuffixPinName: OnBptoolbarSuffixpinname(); return TRUE;
    case kPrefixPinNumber: OnBptoolbarPrefixpinnumber(); return TRUE;
    case kSuffixPinNumber: OnBptoolbarSuffixpinnumber(); return TRUE;
    case kIncrementSigName: OnBptoolbarIncrementSigName(); return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
    }
}

// ------------------------------------------------------------------ connecting

BOOL CKXInstConnDlg::SelectPins(const CStringArray& names) {
    IKXPinGrid* pins = CKXBottomPaneContainerView::PinGridOf(m_pGrid);
    if (!pins || names.IsEmpty()) return FALSE;
    CStringArray keys;
    keys.Copy(names);
    return pins->SelectRowsByKeyCount(&keys, IKXPinGrid::kPinNameKeyColumn) > 0;
}

BOOL CKXInstConnDlg::ConnectSelected(const CString& text) {
    IKXPinGrid* pins = CKXBottomPaneContainerView::PinGridOf(m_pGrid);
    if (!pins || !m_pEdit || !*m_pEdit || text.IsEmpty()) return FALSE;
    // The host hears of the connections only once OK kept them.
    CTclArgsList echo;
    echo.Add(KXScriptWord::addConnection);
    echo.Add("pin");
    echo.Add(text);
    pins->AddSelectedPinsToArgs(&echo);
    const int connected = pins->ConnectSelectedPins(text, 0);
    if (connected <= 0) return FALSE;
    pins->ShowOpenEditChanges();
    ++m_nConnects;
    m_echoes.push_back(std::move(echo));
    return TRUE;
}

BOOL CKXInstConnDlg::ApplySignalText(const CString& text) {
    CString upper = text;
    upper.MakeUpper();
    if (upper == "=SHORTPINS") {
        OnBptoolbarShortPins();
        return TRUE;
    }
    if (upper == "=AUTONAME") return ConnectSelected(GetNewAutoName());
    m_SignalCombo.SetWindowText(text);
    return ConnectSelected(text);
}

BOOL CKXInstConnDlg::PickSignalCellEntry(const CString& name) {
    IKXPinGrid* pins = CKXBottomPaneContainerView::PinGridOf(m_pGrid);
    if (!pins || !m_pEdit || !*m_pEdit || name.IsEmpty()) return FALSE;
    CTclArgsList echo;
    echo.Add(KXScriptWord::addConnection);
    echo.Add("pin");
    echo.Add(name);
    pins->AddSelectedPinsToArgs(&echo);
    if (!pins->PickSignalCellEntry(name)) return FALSE;
    pins->ShowOpenEditChanges();
    ++m_nConnects;
    m_echoes.push_back(std::move(echo));
    return TRUE;
}

BOOL CKXInstConnDlg::PasteIntoPins(BOOL bPasteSpecial) {
    IKXPinGrid* pins = CKXBottomPaneContainerView::PinGridOf(m_pGrid);
    if (!pins || !m_pEdit || !*m_pEdit) return FALSE;
    std::vector<CTclArgsList> echoes;
    if (pins->PasteOnSelectedPins(bPasteSpecial, &echoes) <= 0) return FALSE;
    pins->ShowOpenEditChanges();
    ++m_nConnects;
    for (CTclArgsList& echo : echoes)
        m_echoes.push_back(std::move(echo));
    return TRUE;
}

CString CKXInstConnDlg::GetSignalComboText() const {
    CString text;
    m_SignalCombo.GetWindowText(text);
    return text;
}

std::vector<CString> CKXInstConnDlg::GetSignalComboEntries() const {
    std::vector<CString> entries;
    for (int i = 0; i < m_SignalCombo.GetCount(); ++i) {
        CString entry;
        m_SignalCombo.GetLBText(i, entry);
        entries.push_back(entry);
    }
    return entries;
}

// ------------------------------------------------------------------ closing

void CKXInstConnDlg::OnOK() {
    // The dialog's connections are kept as one undo step; with none there is nothing to keep.
    if (m_pEdit && *m_pEdit && m_nConnects > 0) m_bKept = m_pEdit->Commit();
    EndTransaction();
    if (CKXBottomPaneContainerView* pane = Pane(); pane && m_bKept)
        for (CTclArgsList& echo : m_echoes)
            pane->SendEchoList(echo);
    m_echoes.clear();
    EndDialog(IDOK);
}

void CKXInstConnDlg::OnCancel() {
    EndTransaction();
    EndDialog(IDCANCEL);
}

void CKXInstConnDlg::EndTransaction() {
    if (!m_pEdit) return;
    m_pEdit.reset(); // discards what was not committed
    if (IKXPinGrid* pins = CKXBottomPaneContainerView::PinGridOf(m_pGrid)) {
        pins->ForgetOpenEdit();
        pins->ReleaseJournal(m_bKept);
    }
    CKXBottomPaneContainerView* pane = Pane();
    if (!pane) return;
    // The nets the dialog's connections made are gone with a discarded transaction.
    pane->EmptyTransactionNetMap();
    if (!m_bKept) pane->RestoreDocumentModified(m_bWasModified);
}

BOOL CKXInstConnDlg::RunAnswerStep(const std::map<CString, CString>& fields) {
    auto field = [&fields](const char* name) -> const CString* {
        auto it = fields.find(name);
        return it == fields.end() ? nullptr : &it->second;
    };
    const CString* pins = field("pins");
    const CString* fx = field("fx");
    const CString* signal = field("signal");
    const CString* cell = field("cell");
    const CString* paste = field("paste");
    if (!pins && !fx && !signal && !cell && !paste) return FALSE; // the OK button
    if (pins && !SelectPins(Words(*pins))) return TRUE;
    if (fx) SendMessage(WM_COMMAND, static_cast<WPARAM>(std::atoi(*fx)), 0);
    if (signal) {
        // Typed into the combo: into the placeholder of a rule a function entry prepared.
        m_SignalCombo.TypeText(*signal);
        ApplySignalText(GetSignalComboText());
    }
    if (cell) PickSignalCellEntry(*cell);
    if (paste) PasteIntoPins(paste->CompareNoCase("special") == 0);
    return TRUE;
}

INT_PTR CKXInstConnDlg::DoModal() {
    if (GetSafeHwnd()) return -1;
    m_bEnded = FALSE;
    m_nModalResult = -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (!createDialog(parent)) return -1;
    while (!m_bEnded) {
        AfxDialogAnswer answer;
        if (!AfxGetAnswerQueue().TakeDialog(GetAnswerKey(), answer) || !answer.bOK) {
            OnCancel();
            break;
        }
        if (!RunAnswerStep(answer.fields)) OnOK();
    }
    const int result = m_nModalResult;
    if (GetSafeHwnd()) DestroyWindow();
    if (CKXBottomPaneContainerView* pane = Pane(); pane && m_pGrid) pane->DestroyGrid(m_pGrid);
    m_pGrid = nullptr;
    return result;
}

int KXRunInstanceConnectivityDialog(CWnd* frameWnd, const char* instance, int autoNameCounter) {
    auto* frame = dynamic_cast<CKXTableChildFrm*>(frameWnd);
    CKXTableDoc* doc = frame ? frame->GetTableDoc() : nullptr;
    if (!doc || !instance) return -1;
    if (autoNameCounter < 0 || autoNameCounter >= CKXInstConnDlg::kLastAutoName) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-281", std::to_string(autoNameCounter).c_str());
        return IDCANCEL;
    }
    const CDesignContext design = doc->GetDesignContext();
    const CInstanceContext inst = design ? design.instance(instance) : CInstanceContext();
    if (!inst.instance()) return -1;
    CKXInstConnDlg dialog(frame, design, doc->GetMasterDesignContext(), inst, autoNameCounter, frame);
    const INT_PTR result = dialog.DoModal();
    return result == IDOK && dialog.KeptConnections() ? IDOK : IDCANCEL;
}
