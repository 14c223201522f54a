// Replay of a VBScript journal: the few line forms that the editor writes.
//
//   (blank)                               ignored
//   ' comment                             ignored
//   set H = RMX.GetActiveTab()            H names the active design window's document
//   call RMX.SelectTab("N")               makes design window N active
//   call RMX.OpenDesign("L.C:V", "M")     opens a design in an open mode (the host's own line)
//   call H.Method(args)[.Method(args)...] calls the automation methods in a chain
//
// Arguments are string literals ("" for a quote inside, joined with & vbLf,
// & vbCr or & vbCrLf), integers, True or False; an empty argument is omitted.
// Any other line is refused with its line number, and the replay stops there.
#include "KXHostApp.h"

#include "KXHostMainWnd.h"

#include "afx/afxdisp.h"
#include "afx/afxdoc.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXShareGlobalData.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {
struct Cursor {
    const std::string& s;
    size_t i = 0;
    void Skip() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r'))
            ++i;
    }
    bool Eat(char c) {
        Skip();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool EatWord(const char* w) {
        Skip();
        size_t n = std::strlen(w);
        if (s.compare(i, n, w) != 0) return false;
        if (i + n < s.size() && (std::isalnum(static_cast<unsigned char>(s[i + n])) || s[i + n] == '_'))
            return false;
        i += n;
        return true;
    }
    bool AtEnd() {
        Skip();
        return i >= s.size();
    }
    std::string Identifier() {
        Skip();
        size_t start = i;
        while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_'))
            ++i;
        return s.substr(start, i - start);
    }
};

bool ReadString(Cursor& c, std::string& out) {
    out.clear();
    for (;;) {
        c.Skip();
        if (c.i < c.s.size() && c.s[c.i] == '"') {
            ++c.i;
            for (;;) {
                if (c.i >= c.s.size()) return false;
                char ch = c.s[c.i++];
                if (ch == '"') {
                    if (c.i < c.s.size() && c.s[c.i] == '"') {
                        out += '"';
                        ++c.i;
                        continue;
                    }
                    break;
                }
                out += ch;
            }
        } else if (c.EatWord("vbCrLf")) {
            out += "\r\n";
        } else if (c.EatWord("vbLf")) {
            out += '\n';
        } else if (c.EatWord("vbCr")) {
            out += '\r';
        } else {
            return false;
        }
        if (!c.Eat('&')) return true;
    }
}

bool ReadArgs(Cursor& c, std::vector<COleVariant>& args) {
    if (!c.Eat('(')) return false;
    if (c.Eat(')')) return true;
    for (;;) {
        c.Skip();
        if (c.i < c.s.size() && (c.s[c.i] == ',' || c.s[c.i] == ')')) {
            args.push_back(COleVariant::Missing());
        } else if (c.s[c.i] == '"' || c.s.compare(c.i, 2, "vb") == 0) {
            std::string text;
            if (!ReadString(c, text)) return false;
            args.emplace_back(text.c_str());
        } else if (c.EatWord("True")) {
            args.push_back(COleVariant::Bool(TRUE));
        } else if (c.EatWord("False")) {
            args.push_back(COleVariant::Bool(FALSE));
        } else {
            size_t start = c.i;
            if (c.i < c.s.size() && c.s[c.i] == '-') ++c.i;
            while (c.i < c.s.size() && std::isdigit(static_cast<unsigned char>(c.s[c.i])))
                ++c.i;
            if (c.i == start || (c.i == start + 1 && c.s[start] == '-')) return false;
            args.emplace_back(std::atol(c.s.substr(start, c.i - start).c_str()));
        }
        if (c.Eat(')')) return true;
        if (!c.Eat(',')) return false;
    }
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return std::string();
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}
} // namespace

HRESULT CKXHostApp::InvokeOnDocument(CDocument* doc, IDispatch* disp, const char* method,
                                     std::vector<COleVariant> args, COleVariant* result) {
    HRESULT hr = AfxInvokeByName(disp, method, std::move(args), result);
    std::vector<CDocument*> open = Documents();
    if (!doc || std::find(open.begin(), open.end(), doc) != open.end()) disp->Release();
    return hr;
}

IDispatch* CKXHostApp::HandleObject(const std::string& handle, CDocument** document) {
    CDocument* bound = nullptr;
    for (auto& h : m_handles)
        if (h.first == handle) bound = h.second;
    std::vector<CDocument*> open = Documents();
    if (std::find(open.begin(), open.end(), bound) == open.end()) bound = nullptr; // closed since
    // A handle that no "set" line bound names the active design window (the journal of a
    // single window names it by its block).
    auto* doc = dynamic_cast<CKXDocument*>(bound ? bound : ActiveDocument());
    *document = doc;
    return doc && doc->m_pKXDocInterface ? doc->m_pKXDocInterface->GetDocumentInterface() : nullptr;
}

bool CKXHostApp::ReplayLine(const std::string& raw, int number, std::string& error) {
    std::string line = Trim(raw);
    auto refuse = [&](const char* why) {
        error = "line " + std::to_string(number) + ": " + why + ": " + line;
        return false;
    };
    if (line.empty() || line[0] == '\'') return true;
    Cursor c{line};
    if (c.EatWord("set")) {
        // set H = RMX.GetActiveTab()
        size_t eq = line.find('=');
        if (eq == std::string::npos) return refuse("not a journal line");
        std::string handle = Trim(line.substr(3, eq - 3));
        std::string rhs = Trim(line.substr(eq + 1));
        if (handle.empty() || rhs != "RMX.GetActiveTab()") return refuse("not a journal line");
        CDocument* doc = ActiveDocument();
        if (!doc) return refuse("no design window is open");
        for (auto& h : m_handles)
            if (h.first == handle) {
                h.second = doc;
                return true;
            }
        m_handles.emplace_back(handle, doc);
        return true;
    }
    if (!c.EatWord("call")) return refuse("not a journal line");
    c.Skip();
    if (line.compare(c.i, 14, "RMX.SelectTab(") == 0) {
        c.i += 13;
        std::vector<COleVariant> args;
        if (!ReadArgs(c, args) || args.size() != 1 || !c.AtEnd()) return refuse("not a journal line");
        std::string err;
        int tab = 0;
        if (!ParseNumber(AfxVariantToString(&args[0]).str(), tab)) return refuse("not a design window number");
        if (!ActivateTab(tab, err)) return refuse(err.c_str());
        return true;
    }
    if (line.compare(c.i, 15, "RMX.OpenDesign(") == 0) {
        c.i += 14;
        std::vector<COleVariant> args;
        if (!ReadArgs(c, args) || args.size() != 2 || !c.AtEnd()) return refuse("not a journal line");
        std::string err;
        int mode = 0;
        if (!ParseNumber(AfxVariantToString(&args[1]).str(), mode)) return refuse("not an open mode");
        if (!Open(AfxVariantToString(&args[0]).str(), mode, err)) return refuse(err.c_str());
        return true;
    }
    // The handle runs up to the first ".Name(" (a design name may itself hold '.' and ':').
    size_t pos = c.i, callAt = std::string::npos;
    for (size_t k = pos; k < line.size(); ++k) {
        if (line[k] != '.') continue;
        size_t j = k + 1;
        while (j < line.size() && (std::isalnum(static_cast<unsigned char>(line[j])) || line[j] == '_'))
            ++j;
        if (j > k + 1 && j < line.size() && line[j] == '(') {
            callAt = k;
            break;
        }
    }
    if (callAt == std::string::npos || callAt == pos) return refuse("not a journal line");
    std::string handle = Trim(line.substr(pos, callAt - pos));
    c.i = callAt;
    CDocument* doc = nullptr;
    IDispatch* obj = HandleObject(handle, &doc);
    if (!obj) return refuse("no design window is open");
    while (c.Eat('.')) {
        std::string method = c.Identifier();
        std::vector<COleVariant> args;
        if (method.empty() || !ReadArgs(c, args)) {
            obj->Release();
            return refuse("not a journal line");
        }
        COleVariant result;
        // The first call is on the document, which the call may close.
        HRESULT hr = InvokeOnDocument(doc, obj, method.c_str(), std::move(args), &result);
        doc = nullptr;
        obj = nullptr;
        if (FAILED(hr)) return refuse(("the call of " + method + " failed").c_str());
        if (result.vt == VT_DISPATCH && result.pdispVal) {
            obj = result.pdispVal;
            obj->AddRef();
        }
        c.Skip();
        if (c.AtEnd()) break;
        if (!obj) return refuse("a call on a method's result that is no object");
    }
    if (obj) obj->Release();
    if (!c.AtEnd()) return refuse("not a journal line");
    return true;
}

bool CKXHostApp::Replay(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the journal \"" + path + "\"";
        return false;
    }
    m_core.Print("replay: " + path);
    CKXShareGlobalData::SetReplay(TRUE);
    std::string line;
    int number = 0;
    bool ok = true;
    while (std::getline(in, line)) {
        ++number;
        if (!ReplayLine(line, number, error)) {
            ok = false;
            break;
        }
    }
    CKXShareGlobalData::SetReplay(FALSE);
    return ok;
}
