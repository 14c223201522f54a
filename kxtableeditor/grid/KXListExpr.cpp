#include "grid/KXListExpr.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
KXListOutOfMemoryHandler g_oomHandler = nullptr;
int g_failBlocks = 0;

size_t Align(size_t size) {
    if (size < 4) return 2;
    if (size < 8) return 4;
    return 8;
}

constexpr size_t kMaxAtom = 1000;
constexpr size_t kMaxString = 299997;
// Lists nest at most this deep: a deeper text is refused rather than read into the stack.
constexpr int kMaxDepth = 200;
} // namespace

void CKXListNodePool::SetOutOfMemoryHandler(KXListOutOfMemoryHandler handler) {
    g_oomHandler = handler;
}
void CKXListNodePool::FailNextBlocks(int count) {
    g_failBlocks = count;
}

void* CKXListNodePool::NewBlock(size_t size) {
    for (int attempt = 1;; ++attempt) {
        std::byte* block = nullptr;
        if (g_failBlocks > 0) {
            --g_failBlocks;
        } else {
            block = new (std::nothrow) std::byte[size]();
        }
        if (block) {
            m_blocks.emplace_back(block);
            return block;
        }
        // No handler, or the handler gives up: the failure is reported to the caller.
        if (!g_oomHandler || !g_oomHandler(size, attempt)) return nullptr;
    }
}

void* CKXListNodePool::Alloc(size_t size) {
    if (size == 0) size = 1;
    size_t align = Align(size);
    size = (size + align - 1) / align * align;
    for (auto it = m_free.begin(); it != m_free.end(); ++it) {
        if (it->first == size) {
            void* p = it->second;
            m_free.erase(it);
            std::memset(p, 0, size);
            return p;
        }
    }
    if (size > kBlockSize) return NewBlock(size);
    size_t pad = m_cur ? (align - reinterpret_cast<uintptr_t>(m_cur) % align) % align : 0;
    if (!m_cur || m_left < size + pad) {
        auto* block = static_cast<std::byte*>(NewBlock(kBlockSize));
        if (!block) return nullptr;
        m_cur = block;
        m_left = kBlockSize;
        pad = 0;
    }
    m_cur += pad;
    m_left -= pad;
    void* p = m_cur;
    m_cur += size;
    m_left -= size;
    return p;
}

void CKXListNodePool::Free(void* piece, size_t size) {
    if (!piece) return;
    size_t align = Align(size ? size : 1);
    size = ((size ? size : 1) + align - 1) / align * align;
    m_free.emplace_back(size, piece);
}

void CKXListNodePool::ReleaseAll() {
    m_free.clear();
    m_blocks.clear();
    m_cur = nullptr;
    m_left = 0;
}

int CKXListExpr::Get() {
    if (!m_text || m_text[m_pos] == '\0') return EOF;
    unsigned char ch = static_cast<unsigned char>(m_text[m_pos++]);
    if (ch == '\n') {
        ++m_line;
        m_col = 0;
    } else {
        ++m_col;
    }
    return ch;
}

void CKXListExpr::Unget(int ch) {
    if (ch == EOF || m_pos == 0) return;
    --m_pos;
    if (ch == '\n') {
        --m_line;
    } else if (m_col > 0) {
        --m_col;
    }
}

SKXListNode* CKXListExpr::ListAllocNode(char kind) {
    void* p = m_pool.Alloc(sizeof(SKXListNode));
    if (!p) {
        m_oom = true;
        return nullptr;
    }
    auto* node = new (p) SKXListNode();
    node->kind = kind;
    return node;
}

const char* CKXListExpr::SaveText(const std::string& s) {
    auto* p = static_cast<char*>(m_pool.Alloc(s.size() + 1));
    if (!p) {
        m_oom = true;
        return nullptr;
    }
    std::memcpy(p, s.data(), s.size());
    p[s.size()] = '\0';
    return p;
}

int CKXListExpr::NextSignificant() {
    int ch;
    for (;;) {
        do
            ch = Get();
        while (ch != EOF && std::isspace(ch));
        if (ch != ';') return ch;
        while (ch != EOF && ch != '\n')
            ch = Get();
    }
}

SKXListNode* CKXListExpr::ParseListExpression(CString& error) {
    const int ch = NextSignificant();
    if (ch == EOF) return nullptr;
    if (ch == '(') return ReadList(error);
    if (std::isdigit(ch) || ch == '-') return ReadNumber(ch);
    if (ch == '"') return ReadQuoted();
    if (std::isalpha(ch) || ch == '_') return ReadSymbol(ch);
    error = "Illegal character to start symbol name.";
    return nullptr;
}

SKXListNode* CKXListExpr::ReadList(CString& error) {
    SKXListNode* head = nullptr;
    SKXListNode* tail = nullptr;
    for (;;) {
        const int next = NextSignificant();
        if (next == ')') return head;
        if (next == EOF) {
            error = "Need closing )";
            return head;
        }
        Unget(next);
        if (m_depth >= kMaxDepth) {
            error.Format("Lists nested deeper than %d levels", kMaxDepth);
            return head;
        }
        ++m_depth;
        SKXListNode* elem = ParseListExpression(error);
        --m_depth;
        if (m_oom) {
            error = "Out of memory";
            return head;
        }
        SKXListNode* cell = ListAllocNode('L');
        if (!cell) {
            error = "Out of memory";
            return head;
        }
        cell->first = elem;
        if (tail)
            tail->rest = cell;
        else
            head = cell;
        tail = cell;
        if (!error.IsEmpty()) return head;
    }
}

SKXListNode* CKXListExpr::ReadNumber(int first) {
    std::string s(1, static_cast<char>(first));
    for (;;) {
        int c = Get();
        if (c == EOF) break;
        if (std::isspace(c) || c == '(' || c == ')' || c == '"') {
            Unget(c);
            break;
        }
        if (s.size() < kMaxAtom) s += static_cast<char>(c);
    }
    SKXListNode* node = ListAllocNode('N');
    if (node) node->number = std::atof(s.c_str());
    return node;
}

SKXListNode* CKXListExpr::ReadQuoted() {
    std::string s;
    for (;;) {
        int c = Get();
        if (c == EOF || c == '"') break;
        if (c == '\\') {
            c = Get();
            if (c == EOF) break;
        }
        if (s.size() < kMaxString) s += static_cast<char>(c);
    }
    SKXListNode* node = ListAllocNode('Q');
    if (node) node->text = SaveText(s);
    return node;
}

SKXListNode* CKXListExpr::ReadSymbol(int first) {
    std::string s(1, static_cast<char>(first));
    for (;;) {
        int c = Get();
        if (c == EOF) break;
        if (!(std::isalnum(c) || c == '_' || c == '-')) {
            Unget(c);
            break;
        }
        if (s.size() < kMaxAtom) s += static_cast<char>(c);
    }
    SKXListNode* node = ListAllocNode('S');
    if (node) node->text = SaveText(s);
    return node;
}

SKXListNode* CKXListExpr::Parse(const char* text, CString& error) {
    m_pool.ReleaseAll();
    m_text = text;
    m_pos = 0;
    m_line = 1;
    m_col = 0;
    m_oom = false;
    m_depth = 0;
    error.Empty();
    SKXListNode* root = ParseListExpression(error);
    if (m_oom) error = "Out of memory";
    return root;
}

SKXListNode* ListNodeGetItems(const SKXListNode* node) {
    return node && node->kind == 'L' ? node->first : nullptr;
}
SKXListNode* ListNodeGetRest(const SKXListNode* node) {
    return node && node->kind == 'L' ? node->rest : nullptr;
}
CString ListNodeGetText(const SKXListNode* node) {
    return node && node->kind == 'Q' && node->text ? CString(node->text) : CString();
}
