#include "grid/KXPupdChanges.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "rmx/context.h"
#include "rmx/schema.h"

#include <memory>

KXPupdLooksMap KXPupdLooks(CKXAssocCompAPI& api, const CDesignContext& design, const CNetBit& bit) {
    KXPupdLooksMap looks;
    IKXClipAssocCodec* codec = CKXImpClipBoard::GetAssocCodec();
    for (IDTInstance* pupd : KXPupdsOn(api, bit)) {
        CString type, designators, data;
        if (codec) codec->Describe(design, -1, pupd, CKXAssocCompAPI::PUPD, type, designators, data);
        std::unique_ptr<CPQPropertyData> dcNet(pupd->findProperty("DCNET"));
        looks[pupd] = {pupd->name(), designators, dcNet ? CString(dcNet->value()) : CString()};
    }
    return looks;
}

void KXJournalPupdChanges(KXJournalLines& journal, const KXPupdLooksMap& before, const KXPupdLooksMap& after, const char* deleteMethod,
                          const std::function<void()>& selectRow) {
    for (const auto& [pupd, was] : before) {
        const auto now = after.find(pupd);
        if (now != after.end() && now->second == was) continue;
        selectRow();
        if (now == after.end()) {
            journal.Comment("Delete Pullup/Pulldown").Pane(deleteMethod, {was.name});
        } else {
            const KXPupdLook& is = now->second;
            const CString designators = is.designators != was.designators ? is.designators : CString();
            const CString dcNet = is.dcNet != was.dcNet ? is.dcNet : CString();
            journal.Comment("Edit Pullup/Pulldown")
                .Pane("EditPUPD", {KXEditPupdOperands(was.name, designators, dcNet, nullptr, nullptr, "", 0)});
        }
        journal.OwnStep().End();
    }
}
