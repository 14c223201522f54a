// Associated components: terminations on pin bits and pair pins, pull-up/pull-down resistors between a net
// bit and a DC net. They live in the design database as DT instances and change only inside transactions, so
// undo and the grids' refresh see them like any other edit.
//
// The object is stateful: a caller sets the context (transaction, design contexts, flags), then the current
// object (pin bit, pair pin or net bit), then asks a question or runs an action.
#pragma once

#include "afx/afxdisp.h"
#include "afx/afxmsg.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CDesignContext;
class CNetBitContext;
class CInstTermBit;
class CNetBit;
class CTransaction;
class IDesign;
class IDTInstance;
class IDPInstTerm;
class IServer;
class CStringArray;
class CPtrArray;

// The DT instances of the current object, keyed by their type text ("Series", "Pullup", ...).
using KXMultiMap = std::multimap<CString, IDTInstance*>;
// Per reference designator, a list of "name=value" property items.
using KXPropListMap = std::map<CString, std::vector<CString>>;
// Called when the library needs a fresh transaction for a step; may return null.
typedef CTransaction* (*KXTransactionCallBack)(CString name);
// Called when the library's work is to be committed on apply (the caller keeps the edit it runs in);
// FALSE when the caller's edit refused the commit.
typedef BOOL (*KXCommitCallBack)(CString name);

enum PUPDMODE { PUPD_MODE_NONE = 0, PUPD_MODE_COMMON = 1, PUPD_MODE_SEPARATE = 2 };

struct SKXAssocCompState;

// What an undo or a redo can bring back into designs (by name) that an edit running now does not take
// away: reference designators, instances of masters (design names) whose parts then come back too, and
// associated components by name. A new associated component does not take such a designator or name,
// nor is one renamed to such a designator.
struct KXHeldDesignators {
    std::uint64_t generation = 0;                              // moves whenever what follows changes
    std::set<std::pair<std::string, std::string>> designators; // (design, designator)
    std::set<std::pair<std::string, std::string>> masters;     // (design, master design)
    std::set<std::pair<std::string, std::string>> components;  // (design, component name)
};

class CKXAssocCompAPI {
public:
    enum AssocCompType { TERMINATION = 1, PUPD = 2 };

    CKXAssocCompAPI();
    ~CKXAssocCompAPI();
    CKXAssocCompAPI(const CKXAssocCompAPI&) = delete;
    CKXAssocCompAPI& operator=(const CKXAssocCompAPI&) = delete;

    // ---- reference designators ----
    // Asked at the start of every edit of associated components; without one (the default) only the
    // parts the design has now count.
    using DesignatorHold = const KXHeldDesignators& (*)();
    static void SetDesignatorHold(DesignatorHold hold);
    // Whether a new part may not take the designator: a placed part of the design or of a block below it
    // has it (LOCATION), an associated component's slot carries it, or an undo or redo can bring back a
    // part that has it.
    static bool IsDesignatorTaken(IDesign* design, const CString& ref);
    // Whether an associated component of the design (or of a block below it) carries the designator in a
    // slot, or an undo or redo can bring back one that does.
    static bool IsAssociatedDesignator(IDesign* design, const CString& ref);

    // ---- context ----
    void setTransaction(CTransaction* transaction, bool ownedByCaller);
    void setVPXProject(void* project);
    void setServer(IServer* server);
    void setDesignContext(const CDesignContext& design);
    void setHierarchyDesignContext(const CDesignContext& design);
    void setDesignOpenMode(int mode);
    void InitCKXTransaction(KXTransactionCallBack callBack);
    // Where CommitTransactionOnApply commits: the caller's edit. Without one (null) the library commits
    // the transaction it was given itself.
    void InitCKXCommit(KXCommitCallBack callBack);
    KXCommitCallBack GetCommitCallBack() const;
    void setKindOfOperation(int kind);
    void setMultipleSelection(bool multiple);
    void setNewSignalFlag(bool newSignal);
    void WillRemoveExistingPupd(bool remove);
    void SetShortBeforePupd(bool shortFirst);
    void refDesChanged(bool changed);
    void setAssociatedInstance(IDTInstance* instance);
    void setDelayConstraint(CString delay);
    // side is "High" or "Low".
    void SetTerminationSignal(CString signal, CString side);

    // ---- current object ----
    void setInstTermBit(const CInstTermBit& bit);
    CInstTermBit getInstTermBit() const;
    void setDPInstTermBit(IDPInstTerm* pairPin);
    void setNetBit(const CNetBit& bit);

    // ---- queries ----
    IDTInstance* getAssociatedInstance(int kind);
    int getMultipleAssociatedInstance(int kind, CPtrArray& list);
    int getMultipleAssociatedInstance(int kind, std::vector<IDTInstance*>& list);
    int getAssocInstanceArray(int kind, KXMultiMap& map);
    CString getAppliedAssocCompType(int kind);
    CString getDisplayText(int kind);
    void GetPupdInfoOnThisNet(const CNetBitContext& netBit, bool& localPullup, bool& localPulldown,
                              bool& aliasPullup, bool& aliasPulldown);
    PUPDMODE GetPupdModeSelected() const;
    // One common pull-up/pull-down for all net bits of the next applies (PUPD_MODE_COMMON), or one each.
    void SetPupdMode(PUPDMODE mode);
    int getComponentCount() const;
    void getSlotIds(CStringArray& ids) const;
    void getSlotIds(std::vector<CString>& ids) const;
    // Loads the signals of the design (candidates for DC nets and termination signals); 0 when there are
    // none.
    int readSignals();
    int getSignalCount() const;
    void getLCVPropFromSetup(bool reset);
    void getLCVPropFromInstance(IDTInstance* instance);
    BOOL IsDCNetExists(bool report);

    // ---- dialogs (answered from the answer queue) ----
    // Opens on the termination of the current pin bit or pair when it has one (else on the type's
    // defaults); FALSE when cancelled, or when the one termination shown (no multiple selection) was
    // left as it was (DialogChangedNothing then answers true).
    // The termination shown, answered with its own type, is changed in place, not applied: the dialog
    // answers TRUE with DialogEdit() naming the change (perhaps none, over several pins), for the
    // caller's editTermination; the dialog's whole choice stays prepared for AddTermination on a
    // selected pin that has no termination.
    BOOL invokeTerminationDialog(bool& stop, bool fromMatrix, bool apply);
    bool DialogChangedNothing() const;
    // The change the last termination dialog made to the termination it showed (its name, the parts'
    // looks it changed keyed "<part>.<field>" as EditTermination takes them, delay and signals); false
    // when the dialog chose a termination to add instead.
    bool DialogEdit(CString& name, std::map<CString, CString>& partLooks, CString& delay, CString& high,
                    CString& low) const;
    BOOL invokePUPDDialog(bool edit);

    // ---- actions: nonzero on success ----
    int AddTermination(int argument);
    BOOL ApplyTermination(bool commit, bool refresh);
    int AddTerminationInstance(CString slotId, CString lib, CString cell, CString view, CString physName,
                               CString value, CStringArray* reserved, CStringArray* keyProps,
                               CStringArray* instProps);
    int EditTermination(std::set<CString>& refDesSet, std::map<CString, CString>& newRefDes, CString& delay,
                        CString& high, CString& low, KXPropListMap& keyProps, KXPropListMap& instProps,
                        int byRefDes, const std::map<CString, CString>* partLooks = nullptr);
    int AddPupdInstance(CString type, CString lib, CString cell, CString view, CString physName,
                        CString value, CStringArray& keyProps, CStringArray& instProps, CString dcNet);
    BOOL ApplyPupd(bool commit, bool refresh);
    int EditPupd(const CNetBit& netBit, CString word, CString refDes, CString dcNets, CStringArray* keyProps,
                 CStringArray* instProps);
    // Deletes the pull-ups/pull-downs of the net bit; refDesList names which (blank or comma separated),
    // empty: all.
    int DeletePupd(const CNetBit& netBit, CString refDesList);
    // The same with the names as a set (component names or reference designators; empty: all).
    int DeletePupd(const CNetBit& netBit, const std::set<CString>& names);
    BOOL deleteAssocCompInstance(int kind);
    BOOL ApplyDelayChanges(int kind);
    BOOL CommitTransactionOnApply(CString name);
    void resetPropertyGridArray();
    void resetPreCommitObjects();

    // Forgets the context, the current object and the prepared components (a new set of shown objects).
    void Initialize();
    // Hands the prepared termination / pull-up to the host as the script command that adds it
    // ("addTermination
    // ..." / "addPupd ..."), every value quoted for the script language. TRUE when the host's main window got
    // it.
    BOOL SendAddTermCommand();
    BOOL SendAddPupdCommand(int withParts = 1, int common = 0, int shortFirst = 0);
    // The prepared termination (kind 1) or pull-up/pull-down (kind 2) as one text, which the automation
    // object's InitTermination / InitPUPD take back; empty when nothing is prepared.
    CString GetPreparedText(int kind) const;
    // The text of the last command built by the two above (also when no host window took it).
    CString GetLastCommandText() const;

    // Reported by the last refused operation (empty when none).
    CString GetLastError() const;
    // How often this object called its caller's hands: the transaction hand for a step of a dialog
    // ("step Add Termination", "step Add Pupd") and the commit hand ("commit <name>").
    int GetHandCalls(const CString& what) const;

    // ---- public data ----
    CString m_strTerminationType;
    CString& m_strName = m_strTerminationType;
    int m_nModeFlags = 0; // 2: the spare transaction is the current one
    bool m_bHasExistingTermination = false;
    bool& m_bHasAssociatedInstance = m_bHasExistingTermination;
    CTransaction* m_pSpareTransaction = nullptr;
    CTransaction*& m_pPreCommitTransaction = m_pSpareTransaction;
    bool m_bAppliedInDialog = false;
    bool& m_bApplied = m_bAppliedInDialog;
    std::vector<CString> m_arrSignals;

    // 1 while a scripted pull-up/pull-down is applied.
    static int bApplyPUPDDump;

protected:
    std::unique_ptr<SKXAssocCompState> m_p;
};

// The automation road: an add started by a script client and finished by the following script command. The
// automation object carries its own library state, so its context calls go straight to it. Its dispatch
// interface (GetIDispatch) offers InitTermination(text), InitPUPD(text), SendAddTermCommand() and
// SendAddPupdCommand(); the object belongs to its creator (releasing the last reference does not delete it).
class KXAssocAutomation : public CCmdTarget, public CKXAssocCompAPI {
public:
    explicit KXAssocAutomation(IServer* server);
    // Prepares a termination of the type named by text, or the one a GetPreparedText text describes; 0 when
    // refused.
    int InitTermination(CString text);
    // Prepares a pull-up/pull-down ("pullup"/"pulldown", optionally followed by the DC net), or the one a
    // GetPreparedText text describes; 0 when refused.
    int InitPUPD(CString text);
    // Forgets the prepared termination: a set-up that is refused leaves none prepared for the add after it.
    void ForgetTermination();

protected:
    long DispInitTermination(LPCTSTR text) { return InitTermination(text); }
    long DispInitPUPD(LPCTSTR text) { return InitPUPD(text); }
    BOOL DispSendAddTermCommand() { return SendAddTermCommand(); }
    BOOL DispSendAddPupdCommand() { return SendAddPupdCommand(1, 0, 0); }
    DECLARE_DISPATCH_MAP()
};

// How the pull-up/pull-down edit dialog closed: cancelled (or left unanswered); its answer refused by
// the edit (the library's GetLastError says why; nothing was changed); or accepted, its edit made in the
// library's transaction (an edit that gives the pull-ups what they have already changes nothing). A
// read-only dialog, only looked at, is accepted.
enum class KXPupdDialogResult { Cancelled, Refused, Accepted };

// Opens the pull-up/pull-down edit dialog for a net bit that has pull-ups.
extern "C++" KXPupdDialogResult ShowPupdDlg(CKXAssocCompAPI* api, const CDesignContext& design,
                                            const CDesignContext& hierarchyDesign, const CNetBitContext& netBit,
                                            BOOL readOnly);

// Initialisation export (exported under its plain C name on this platform).
extern "C" BOOL InitKXAssocCompDLL();
