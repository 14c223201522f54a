// The matrix view definition: the dialog in which the user names a view and lists
// its components and signals (Create Matrix View, Edit Matrix View), the dialog
// that asks for the name a shown view is saved as, and the reading of the listed
// names into the instance and net-bit paths the stored view keeps.
//
// Both dialogs are answered from the answer queue by class name:
//   CKXMatrixViewDlg     "name", "components" and "signals" (names separated by blanks or lines;
//                        a signal may be a bus or a bus range, which stands for each of its bits)
//   CKXMatrixSaveAsDlg   "name"
#pragma once

#include "kxcontrols/KXDialogs.h"

#include "afx/afxstr.h"
#include "rmx/context.h"

#include <string>
#include <vector>

class CMatrixViewData;

class CKXMatrixViewDlg : public CKXScriptedDialog {
public:
    explicit CKXMatrixViewDlg(CWnd* pParent = nullptr);
    // IDOK with the fields as answered (the preset stays in a field the answer leaves out), or IDCANCEL
    // with the preset kept.
    int DoModal();

    void SetName(const CString& name) { m_strName = name; }
    void SetComponents(const std::vector<CString>& names) { m_components = names; }
    void SetSignals(const std::vector<CString>& names) { m_signals = names; }
    const CString& GetName() const { return m_strName; }
    const std::vector<CString>& GetComponents() const { return m_components; }
    const std::vector<CString>& GetSignals() const { return m_signals; }

protected:
    void OnField(const CString& name, const CString& value) override;

private:
    CString m_strName;
    std::vector<CString> m_components;
    std::vector<CString> m_signals;
};

class CKXMatrixSaveAsDlg : public CKXScriptedDialog {
public:
    explicit CKXMatrixSaveAsDlg(CWnd* pParent = nullptr);
    int DoModal(); // IDOK or IDCANCEL
    void SetName(const CString& name) { m_strName = name; }
    const CString& GetName() const { return m_strName; }

protected:
    void OnField(const CString& name, const CString& value) override;

private:
    CString m_strName;
};

namespace kxmatrix {

// The words of a text separated by blanks, tabs or line ends.
std::vector<CString> SplitNames(const CString& text);
// The words joined by one blank.
CString JoinNames(const std::vector<CString>& names);

// The bits a range names, from the second bound to the first ({-1}: a name without bits).
std::vector<int> BitsBetween(int first, int second);

// What a stored view keeps: instance paths and net-bit (or scalar net) paths, each once, in the order named.
struct KXMatrixViewPaths {
    std::vector<CString> instances;
    std::vector<CString> signals;
};

// A view keeps its objects by their paths in the view's own design, the block whose notes hold it,
// whichever window of the block (on its own or opened within its parent) made or shows the view: the
// path an object of the window's design is stored by, and the object a stored path names in it (the
// caller deletes it; nullptr when none).
CString ViewPathOf(const CContext& object, const CDesignContext& design);
CContext* ViewObjectOf(IServer* server, const CDesignContext& design, const CString& stored);

// Reads component names (instances of the design) and signal names (a net, a bus: each bit, a range:
// each bit in it) into paths. False with the first name that names nothing (or a bit the net lacks)
// in bad; paths are then incomplete.
bool ResolveViewNames(const CDesignContext& design, const std::vector<CString>& components,
                      const std::vector<CString>& signals, KXMatrixViewPaths& paths, CString& bad);
// The names of a stored view's paths, as the definition dialog lists them; paths that no longer
// resolve are left out.
void NamesOfViewPaths(const CDesignContext& design, const KXMatrixViewPaths& paths, std::vector<CString>& components,
                      std::vector<CString>& signals);

// A net or an instance of the design renamed, with the name it had before the rename.
struct KXRename {
    INet* net = nullptr;           // a net renamed, or
    IInstance* instance = nullptr; // an instance renamed
    std::string previous;
};
// The stored views keep the nets and instances a committed transaction renamed, under their new names
// (renames in the order of its records: an object renamed twice goes through both). Nothing else of the
// views changes.
void FollowRenames(CMatrixViewData& views, const CDesignContext& design,
                   const std::vector<KXRename>& renames);

} // namespace kxmatrix
