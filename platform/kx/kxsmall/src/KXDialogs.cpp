// The scripted dialogs of the small libraries: the multiple-value editor and the model assignment.
#include "kxsmall/CKXDlgEditValues.h"
#include "kxsmall/CKXDlgModelAssign.h"

#include "afx/afxanswer.h"
#include "afx/afxcoll.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <fnmatch.h>

namespace fs = std::filesystem;

// ---- multiple-value editor ----

CKXModifyValueList::CKXModifyValueList(const CString& label, const CString& value, const CString& hint,
                                       CKXModifyValueList* next)
    : m_strLabel(label), m_strValue(value), m_strHint(hint), m_strNewValue(value), m_pNext(next) {}

CKXDlgEditValues::CKXDlgEditValues(CKXModifyValueList* first, int mode, KXCheckValueCallBack check,
                                   const CString& title, const CString& text, const CStringArray* choices,
                                   CWnd*)
    : m_pFirst(first), m_nMode(mode), m_pCheck(check), m_strTitle(title), m_strText(text) {
    if (choices)
        for (INT_PTR i = 0; i < choices->GetSize(); ++i)
            m_choices.push_back(choices->GetAt(i));
}

CKXDlgEditValues::CKXDlgEditValues(CKXModifyValueList* first, int mode, KXCheckValueCallBack check,
                                   const CString& title, const CString& text,
                                   const std::vector<CString>& choices, CWnd*)
    : m_pFirst(first), m_nMode(mode), m_pCheck(check), m_strTitle(title), m_strText(text),
      m_choices(choices) {}

int CKXDlgEditValues::DoModal() {
    m_strError.Empty();
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXDlgEditValues", answer)) return IDCANCEL;
    // Every new value is checked before any item changes, so a refused answer leaves all items as they were.
    std::vector<std::pair<CKXModifyValueList*, CString>> updates;
    int index = 0;
    // The chain is walked with a bound: a cyclic chain handed in by mistake cannot hang the editor.
    for (CKXModifyValueList* item = m_pFirst; item && index < 100000; item = item->GetNext(), ++index) {
        CString key;
        key.Format("value%d", index);
        auto it = answer.fields.find(key);
        CString value = it == answer.fields.end() ? item->GetOldValue() : it->second;
        if (m_pCheck) {
            CString message;
            if (!m_pCheck(value, message)) {
                m_strError = message.IsEmpty() ? CString("value refused: ") + value : message;
                return IDCANCEL;
            }
        }
        updates.emplace_back(item, value);
    }
    for (auto& [item, value] : updates)
        item->SetNewValue(value);
    auto opt = answer.fields.find("option");
    m_bOption = opt != answer.fields.end() && (opt->second == "1" || opt->second.CompareNoCase("true") == 0);
    return IDOK;
}

// ---- model assignment ----

CKXDlgModelAssign::CKXDlgModelAssign(CWnd*, int) {}

std::vector<CString> CKXDlgModelAssign::GetModelList() const {
    std::vector<CString> models;
    std::error_code ec;
    if (m_strDir.IsEmpty() || !fs::is_directory(m_strDir.str(), ec)) return models;
    // The iterator steps with an error code: a folder that goes away meanwhile ends the list.
    for (fs::directory_iterator it(m_strDir.str(), ec), end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code entryEc;
        if (!entry.is_regular_file(entryEc) || entry.path().extension() != ".mdl") continue;
        std::string name = entry.path().stem().string();
        if (!m_strNameFilter.IsEmpty() && fnmatch(m_strNameFilter.GetString(), name.c_str(), 0) != 0)
            continue;
        std::ifstream in(entry.path());
        std::string line;
        if (!std::getline(in, line)) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("MODEL ", 0) != 0) continue;
        std::string type = line.substr(6);
        if (m_strTypeFilter != "*" && !m_strTypeFilter.IsEmpty() && m_strTypeFilter != type.c_str()) continue;
        models.emplace_back(name);
    }
    std::sort(models.begin(), models.end(),
              [](const CString& a, const CString& b) { return a.str() < b.str(); });
    return models;
}

int CKXDlgModelAssign::DoModal() {
    m_strModel.Empty();
    m_strError.Empty();
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXDlgModelAssign", answer)) return IDCANCEL;
    auto it = answer.fields.find("model");
    if (it == answer.fields.end() || it->second.IsEmpty()) {
        m_strError = "no model chosen";
        return IDCANCEL;
    }
    std::vector<CString> models = GetModelList();
    if (std::find(models.begin(), models.end(), it->second) == models.end()) {
        m_strError.Format("model \"%s\" is not among the models offered", it->second.GetString());
        return IDCANCEL;
    }
    m_strModel = it->second;
    return IDOK;
}
