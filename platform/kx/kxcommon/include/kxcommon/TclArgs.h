// Script argument lists: the operands of a script command, as the host hands them to a window and as a
// window echoes a command back to the host.
//
// A list is an ordered list of arguments; an argument is an ordered list of text values. A plain word of a
// command is an argument with one value; a word written as [list a b c] is one argument with several values.
//
// Text form (ToTclCommandLine / FromTclCommandLine), so that an echoed command is read back as the same
// words:
// - an argument with one value is written as a single Tcl word: bare when it needs no quoting, otherwise in
//   double quotes with \ " $ [ ] and control characters escaped by a backslash; an empty value is "";
// - an argument with several values (or none) is written as [list v1 v2 ...], each value quoted the same way.
// Reading accepts bare words, "quoted" words with backslash escapes, {braced} words (taken literally, one
// value) and [list ...] words whose elements are read the same way. Anything a plain reader cannot honour
// without running the script (other [commands], $variables, several commands) is refused with a reason.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <memory>
#include <string>
#include <vector>

class CTclArgs {
public:
    CTclArgs() = default;
    explicit CTclArgs(const char* value) { Add(value); }

    void Add(const char* value) { m_values.emplace_back(value ? value : ""); }
    // Number of values of this argument.
    int GetArgCount() const { return static_cast<int>(m_values.size()); }
    // Copies value `index` into `value`; 0 (and `value` unchanged) when there is no such value.
    int GetElement(int index, CString& value) const;
    CString GetValue(int index) const;

    class ValueIterator {
    public:
        ValueIterator() = default;
        ValueIterator(const std::vector<CString>* values, size_t pos) : m_values(values), m_pos(pos) {}
        // The value; an empty text past the end.
        CString operator*() const;
        ValueIterator& operator++() {
            ++m_pos;
            return *this;
        }
        ValueIterator operator++(int) {
            ValueIterator old = *this;
            ++m_pos;
            return old;
        }
        bool operator==(const ValueIterator& o) const { return m_values == o.m_values && m_pos == o.m_pos; }
        bool operator!=(const ValueIterator& o) const { return !(*this == o); }

    private:
        const std::vector<CString>* m_values = nullptr;
        size_t m_pos = 0;
    };
    ValueIterator beginValues() const { return ValueIterator(&m_values, 0); }
    ValueIterator endValues() const { return ValueIterator(&m_values, m_values.size()); }

    const std::vector<CString>& Values() const { return m_values; }
    // The values of an argument that is a list (a key): its values, or, when it holds one value, that text's
    // list elements, however the list was written ({U1 MCLK B14}, "U1 MCLK B14", a printed [list ...]); false
    // when the text reads as no list (an unmatched brace or quote).
    bool GetListValues(std::vector<CString>& values) const;
    bool operator==(const CTclArgs& o) const { return m_values == o.m_values; }

private:
    std::vector<CString> m_values;
};

class CTclArgsList {
public:
    CTclArgsList() = default;
    CTclArgsList(const CTclArgsList& other);
    CTclArgsList& operator=(const CTclArgsList& other);
    CTclArgsList(CTclArgsList&&) noexcept = default;
    CTclArgsList& operator=(CTclArgsList&&) noexcept = default;
    ~CTclArgsList() = default;

    // Building: an argument of one value.
    void add(const char* value);
    void Add(const char* value) { add(value); }
    // Building an argument of several values: StartArgument, AddToArgument once per value, EndArgument.
    // AddToArgument without StartArgument starts one. An argument counts from StartArgument on.
    void StartArgument();
    void AddToArgument(const char* value);
    void EndArgument();

    // Reading.
    int GetTotalArgCount() const { return static_cast<int>(m_args.size()); }
    // The argument at `index`; NULL when there is none.
    CTclArgs* GetArg(int index) const;

    class ArgIterator {
    public:
        ArgIterator() = default;
        ArgIterator(const std::vector<std::unique_ptr<CTclArgs>>* args, size_t pos)
            : m_args(args), m_pos(pos) {}
        // The argument; NULL past the end.
        CTclArgs* operator*() const;
        ArgIterator& operator++() {
            ++m_pos;
            return *this;
        }
        ArgIterator operator++(int) {
            ArgIterator old = *this;
            ++m_pos;
            return old;
        }
        bool operator==(const ArgIterator& o) const { return m_args == o.m_args && m_pos == o.m_pos; }
        bool operator!=(const ArgIterator& o) const { return !(*this == o); }

    private:
        const std::vector<std::unique_ptr<CTclArgs>>* m_args = nullptr;
        size_t m_pos = 0;
    };
    ArgIterator beginArgs() const { return ArgIterator(&m_args, 0); }
    ArgIterator endArgs() const { return ArgIterator(&m_args, m_args.size()); }

    // Removes the first argument (a selector word the receiver has consumed); FALSE when the list is empty.
    BOOL RemoveArgFromCurrentList();
    void RemoveAll();

    // The command line: every argument as one word, separated by blanks.
    CString ToTclCommandLine() const;
    // Reads a command line into a new list; NULL with `error` set when it cannot be read.
    static std::unique_ptr<CTclArgsList> FromTclCommandLine(const char* line, CString* error = nullptr);
    // One value as a Tcl word (quoted when needed).
    static CString QuoteTclWord(const char* value);
    // The elements of a Tcl list text, read as Tcl reads a list ({braced}, "quoted" and bare elements apart
    // by white space; nothing in them runs); false, `elements` unchanged, when the text is no list.
    static bool SplitTclList(const char* text, std::vector<CString>& elements);

    bool operator==(const CTclArgsList& o) const;

private:
    std::vector<std::unique_ptr<CTclArgs>> m_args;
    CTclArgs* m_open = nullptr; // argument being built (the last one), NULL when none
};
