#include "afx/afxres.h"

#include "afx/afxdoc.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {
struct ModuleTables {
    std::map<UINT, CString> strings;
    std::map<UINT, std::vector<AfxMenuItemDef>> menus;
    std::map<UINT, AfxDialogDef> dialogs;
    std::vector<std::unique_ptr<std::string>> texts; // storage for menu/dialog texts
};

struct Resources {
    std::map<HINSTANCE, ModuleTables> modules;
    std::vector<CDynLinkLibrary*> chain; // newest first
    bool shuttingDown = false;
    ~Resources() {
        shuttingDown = true;
        // The chain owns its links.
        auto links = chain;
        chain.clear();
        for (auto* l : links)
            delete l;
    }
    static Resources& get() {
        static Resources r;
        return r;
    }
    // Modules to search, in order.
    std::vector<HINSTANCE> order() const {
        std::vector<HINSTANCE> out;
        if (HINSTANCE app = AfxGetResourceHandle()) out.push_back(app);
        for (auto* l : chain) {
            if (l->m_hResource && std::find(out.begin(), out.end(), l->m_hResource) == out.end())
                out.push_back(l->m_hResource);
            if (l->m_hModule && std::find(out.begin(), out.end(), l->m_hModule) == out.end())
                out.push_back(l->m_hModule);
        }
        out.push_back(nullptr);
        return out;
    }
    const char* keep(ModuleTables& t, const char* s) {
        if (!s) return nullptr;
        t.texts.push_back(std::make_unique<std::string>(s));
        return t.texts.back()->c_str();
    }
};
Resources& R() {
    return Resources::get();
}
} // namespace

void AfxAddStringTable(HINSTANCE hModule, std::initializer_list<std::pair<UINT, const char*>> strings) {
    auto& t = R().modules[hModule];
    for (const auto& [id, text] : strings)
        t.strings[id] = text;
}

void AfxAddString(HINSTANCE hModule, UINT id, const char* text) {
    R().modules[hModule].strings[id] = text;
}

void AfxAddMenuResource(HINSTANCE hModule, UINT id, std::vector<AfxMenuItemDef> items) {
    auto& t = R().modules[hModule];
    for (auto& i : items)
        i.text = R().keep(t, i.text);
    t.menus[id] = std::move(items);
}

void AfxAddDialogResource(HINSTANCE hModule, UINT id, AfxDialogDef def) {
    auto& t = R().modules[hModule];
    for (auto& i : def.items) {
        i.className = R().keep(t, i.className);
        i.text = R().keep(t, i.text);
        i.name = R().keep(t, i.name);
    }
    t.dialogs[id] = std::move(def);
}

void AfxRemoveModuleResources(HINSTANCE hModule) {
    R().modules.erase(hModule);
}

BOOL AfxLoadStringResource(UINT id, CString& out) {
    for (HINSTANCE h : R().order()) {
        auto m = R().modules.find(h);
        if (m == R().modules.end()) continue;
        auto s = m->second.strings.find(id);
        if (s != m->second.strings.end()) {
            out = s->second;
            return TRUE;
        }
    }
    return FALSE;
}

const std::vector<AfxMenuItemDef>* AfxFindMenuResource(UINT id) {
    for (HINSTANCE h : R().order()) {
        auto m = R().modules.find(h);
        if (m == R().modules.end()) continue;
        auto s = m->second.menus.find(id);
        if (s != m->second.menus.end()) return &s->second;
    }
    return nullptr;
}

const AfxDialogDef* AfxFindDialogResource(UINT id) {
    for (HINSTANCE h : R().order()) {
        auto m = R().modules.find(h);
        if (m == R().modules.end()) continue;
        auto s = m->second.dialogs.find(id);
        if (s != m->second.dialogs.end()) return &s->second;
    }
    return nullptr;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (!hModule) return FALSE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
    if (!state.bInitialized) return;
    auto& chain = R().chain;
    std::vector<CDynLinkLibrary*> mine;
    for (auto* l : chain)
        if (l->m_hModule == state.hModule) mine.push_back(l);
    for (auto* l : mine) {
        chain.erase(std::remove(chain.begin(), chain.end(), l), chain.end());
        if (bAll)
            delete l;
        else
            l->m_hModule = l->m_hResource = nullptr; // out of the chain; its memory stays with the module
    }
    if (!bAll) {
        // Unlinked links are still owned: keep them for deletion at exit.
        static std::vector<std::unique_ptr<CDynLinkLibrary>> retired;
        for (auto* l : mine)
            retired.emplace_back(l);
    }
    state.bInitialized = FALSE;
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {
    R().chain.insert(R().chain.begin(), this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE) {
    R().chain.insert(R().chain.begin(), this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    if (R().shuttingDown) return;
    auto& chain = R().chain;
    chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}

std::vector<CDynLinkLibrary*> AfxGetResourceChain() {
    return R().chain;
}
