// Reader of the list expressions carried by the part-description drop payload:
// ( "lib.cell:view" "text" ) ( "name" "value" x "1" ) ... with quoted strings,
// symbols, numbers and ';' comments. Nodes live in a pool that is released as a
// whole.
#pragma once

#include "afx/afxstr.h"

#include <cstddef>
#include <memory>
#include <vector>

struct SKXListNode {
    char kind = 0;                // 'L' list cell, 'Q' quoted string, 'S' symbol, 'N' number
    SKXListNode* first = nullptr; // 'L': first element
    SKXListNode* rest = nullptr;  // 'L': next cell
    const char* text = nullptr;   // 'Q', 'S'
    double number = 0.0;          // 'N'
};

// Called when memory cannot be obtained: (size, attempt). Returning true asks for
// another attempt; false gives up.
using KXListOutOfMemoryHandler = bool (*)(size_t size, int attempt);

// Pool of zero-filled pieces cut from blocks of 8000 bytes (a larger request gets a
// block of its own). Freed pieces are kept by size for reuse.
class CKXListNodePool {
public:
    static constexpr size_t kBlockSize = 8000;

    void* Alloc(size_t size); // nullptr when memory cannot be obtained
    void Free(void* piece, size_t size);
    void ReleaseAll();

    static void SetOutOfMemoryHandler(KXListOutOfMemoryHandler handler);
    // Tests only: make the next `count` block requests fail.
    static void FailNextBlocks(int count);

private:
    void* NewBlock(size_t size);
    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_cur = nullptr;
    size_t m_left = 0;
    std::vector<std::pair<size_t, void*>> m_free;
};

// One parse: owns its pool; nodes stay valid while the object lives.
class CKXListExpr {
public:
    // Reads one expression from `text`. Returns the root (may be partial after a
    // syntax error) and sets `error` to "Need closing )", "Illegal character to
    // start symbol name.", "Lists nested deeper than 200 levels" or "Out of memory" when something
    // went wrong.
    SKXListNode* Parse(const char* text, CString& error);

    int Line() const { return m_line; }
    int Column() const { return m_col; }

private:
    int Get();
    void Unget(int ch);
    // Reads one expression (list, number, quoted string or symbol) through Get and Unget.
    SKXListNode* ParseListExpression(CString& error);
    // The next character that is neither white space nor inside a ';' comment; EOF at the end.
    int NextSignificant();
    // The atoms and lists ParseListExpression reads, after their first character.
    SKXListNode* ReadList(CString& error);
    SKXListNode* ReadNumber(int first);
    SKXListNode* ReadQuoted();
    SKXListNode* ReadSymbol(int first);
    // A node of the kind from the pool; nullptr, with the out-of-memory mark set, when none is left.
    SKXListNode* ListAllocNode(char kind);
    const char* SaveText(const std::string& s);

    CKXListNodePool m_pool;
    const char* m_text = nullptr;
    size_t m_pos = 0;
    int m_line = 1, m_col = 0;
    bool m_oom = false;
    int m_depth = 0; // lists open around the expression being read
};

SKXListNode* ListNodeGetItems(const SKXListNode* node);
SKXListNode* ListNodeGetRest(const SKXListNode* node);
CString ListNodeGetText(const SKXListNode* node);
