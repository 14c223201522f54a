// The state behind the associated-component API: what the next add, edit or dialog works on.
#pragma once
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "AssocModel.h"
#include "kxcommon/KXShareGlobalData.h"

#include <map>
#include <string>
#include <vector>

struct SKXAssocCompState {
    IServer* server = nullptr;
    void* project = nullptr;
    CDesignContext design;
    CDesignContext hierDesign;
    int openMode = 0;
    KXTransactionCallBack callBack = nullptr;
    KXCommitCallBack commitCallBack = nullptr;
    std::map<std::string, int> handCalls; // per hand and step name (a few names: bounded)
    CTransaction* transaction = nullptr;
    int kind = 1;
    bool multiple = false;
    bool newSignal = false;
    bool removeExistingPupd = false;
    bool shortBefore = false;
    bool refDesChanged = false;
    IDTInstance* associated = nullptr;

    enum Target { None, Pin, Pair, Net } target = None;
    CInstTermBit pinBit;
    IDPInstTerm* pair = nullptr;
    CNetBit netBit;

    kxassoc::Settings term; // termination to add (type, slots, delay, signals)
    bool termSlotsGiven = false;
    bool replaceFromDialog = false; // the user saw the existing termination in the dialog and changed it
    bool dialogChangedNothing = false; // the last termination dialog was closed on the termination it showed
    bool dialogEdits = false;          // ... was answered with a change of the termination it showed
    std::string dialogEditName;
    kxassoc::Settings dialogBefore;             // the termination it showed, as it was
    kxassoc::Settings pupd;                  // pull-up/pull-down to add
    bool pupdReady = false;
    PUPDMODE pupdMode = PUPD_MODE_NONE;
    std::string commonRefDes;
    // A common part's settings and the replay step group it was made in: a journal writes one common add
    // over several net bits as one add per net bit within one step group, which share the part again.
    std::string commonSettings;
    int commonGroup = 0;

    void forgetCommonPart() {
        const int group = CKXShareGlobalData::m_nReplayStepGroup;
        if (group != 0 && group == commonGroup && kxassoc::encodeSettings(pupd) == commonSettings) return;
        commonRefDes.clear();
    }

    std::string error;
    std::string lastCommand;
};

namespace kxassoc {
// Helpers the API's files share.
std::string lowerText(std::string s);
std::vector<std::string> splitNames(const std::string& text);
// The transaction an action works in: the spare one of a joined edit, or the host's for a dialog step.
CTransaction* workTransaction(CKXAssocCompAPI& api, SKXAssocCompState& s, const char* stepName, bool dialogStep);
} // namespace kxassoc
