#include "grid/KXPinModels.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxsmall/CKXDlgModelAssign.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <memory>

const char* KXModelTypeFilter(int direction) {
    switch (direction) {
    case ITerm::eDirInput:
        return "IbisInput";
    case ITerm::eDirOutput:
        return "IbisOutput";
    case ITerm::eDirInout:
        return "IbisIO";
    default:
        return "*";
    }
}

bool KXAskPinModel(int direction, CString& model) {
    CKXDlgModelAssign dialog(AfxGetMainWnd(), 0);
    dialog.SetWorkingDir(CKXGenUtils::GetWorkingDir());
    dialog.SetModelNameFilter("*");
    dialog.SetModelTypeFilter(KXModelTypeFilter(direction));
    if (dialog.DoModal() != IDOK) return false;
    model = dialog.GetAssignedModel();
    return true;
}

bool KXSetPinModel(CTransaction& transaction, const CContext& place, const CString& model) {
    std::unique_ptr<CPQPropertyData> old(place.findProperty(kKXPinModelProperty, false));
    const CString oldValue = old ? CString(old->value()) : CString();
    if (model.IsEmpty())
        return !oldValue.IsEmpty() && transaction.removeProperty(place, kKXPinModelProperty, oldValue);
    // The model the pin has in another letter case is the same model: no change.
    return oldValue.CompareNoCase(model) != 0 &&
           transaction.addProperty(place, kKXPinModelProperty, model, kKXUserPropertySource, false);
}
