// The base library's CSV reader chain: KXCsvParser > QPCsvParser > QPMatrixParser > QBParser > QBObject.
//
// A pin file is comma-separated text. Its first non-empty, non-comment line is the header naming the columns;
// the columns "Pin Number" and "Pin Name" (compared without case, surrounding blanks ignored; "Pin" and
// "Name" are accepted too) must be there, others are ignored. A file whose first line names no known column
// has no header: its first column is the pin number and its second the pin name. Fields may be quoted with
// '"' (a doubled quote inside stands for one). Lines starting with '#' are comments. A row with an
// unterminated quote, with fewer fields than the header needs, an empty pin number, or a pin number given
// twice is refused: the parse fails, and the status names the file and the line.
#pragma once

#include "afx/afxstr.h"

#include <map>
#include <string>
#include <vector>

class QBString {
public:
    QBString() = default;
    QBString(const char* text) : m_s(text ? text : "") {}
    QBString(const std::string& text) : m_s(text) {}
    QBString(const CString& text) : m_s(text.str()) {}
    const char* c_str() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    bool isEmpty() const { return m_s.empty(); }
    int length() const { return static_cast<int>(m_s.size()); }

private:
    std::string m_s;
};

class QBStatus {
public:
    enum Code { OK = 0, FAILED = 1 };
    bool isOk() const { return m_code == OK; }
    bool isFailed() const { return m_code != OK; }
    Code code() const { return m_code; }
    // The line of the file where the failure was found (0: not tied to a line).
    int line() const { return m_line; }
    const QBString& message() const { return m_message; }
    void setOk() {
        m_code = OK;
        m_line = 0;
        m_message = QBString();
    }
    void setFailed(const std::string& message, int line = 0) {
        m_code = FAILED;
        m_message = message;
        m_line = line;
    }

private:
    Code m_code = OK;
    int m_line = 0;
    QBString m_message;
};

class QBObject {
public:
    virtual ~QBObject() = default;
    virtual const char* getClassName() const { return "QBObject"; }
    virtual QBString getObjectKey() const { return QBString(); }
    virtual bool isEqual(const QBObject* other) const { return other == this; }
    virtual bool isKindOf(const char* className) const;
    virtual QBStatus* mergeObj(QBObject*, QBStatus* status) { return unsupported(status); }
    virtual QBObject* clone() const { return nullptr; }
    virtual QBObject* getIntersectionWith(const QBObject*) const { return nullptr; }
    virtual QBObject* getUnionWith(const QBObject*) const { return nullptr; }
    virtual QBString serializeXML() const { return QBString(); }
    virtual QBString toString() const { return QBString(getClassName()); }
    virtual void lock() {}
    virtual void unlock() {}

protected:
    static QBStatus* unsupported(QBStatus* status);
};

class QBParser : public QBObject {
public:
    explicit QBParser(const QBString& path) : m_path(path) {}
    const char* getClassName() const override { return "QBParser"; }
    bool isKindOf(const char* className) const override;
    virtual QBStatus* init(QBStatus* status);
    virtual QBStatus* read(QBStatus* status);
    virtual QBStatus* close(QBStatus* status);
    virtual QBStatus* parse(QBStatus* status);
    const QBString& path() const { return m_path; }

protected:
    QBString m_path;
    std::string m_text;
    bool m_bOpen = false;
};

// Rows of named columns.
class QPMatrixParser : public QBParser {
public:
    using QBParser::QBParser;
    const char* getClassName() const override { return "QPMatrixParser"; }
    bool isKindOf(const char* className) const override;
    QBStatus* read(QBStatus* status) override;
    virtual QBStatus* processObject(const std::vector<std::string>& row, int line, QBStatus* status);
    virtual QBString getObjectName() const { return m_path; }
    // The fields of data row i (0-based), empty when out of range.
    virtual std::vector<std::string> getRowData(int row) const;
    // Index of the internal column for an external header text, -1 when not mapped.
    virtual int matchExt2IntColumn(const std::string& header) const;
    virtual QBStatus* onErrorParsingRow(int line, const std::string& what, QBStatus* status);
    int getRowCount() const { return static_cast<int>(m_rows.size()); }

protected:
    virtual std::vector<std::string> splitLine(const std::string& line, bool& ok) const = 0;
    std::vector<std::string> m_header;
    int m_nHeaderLine = 0;
    std::vector<int> m_columnMap; // header index -> internal column, -1 unmapped
    std::vector<std::vector<std::string>> m_rows;
};

class QPCsvParser : public QPMatrixParser {
public:
    using QPMatrixParser::QPMatrixParser;
    const char* getClassName() const override { return "QPCsvParser"; }
    bool isKindOf(const char* className) const override;
    int matchExt2IntColumn(const std::string& header) const override;
    // Fills the external-to-internal column table.
    virtual void loadMapTable();

protected:
    std::vector<std::string> splitLine(const std::string& line, bool& ok) const override;
    // Internal column names and their accepted header spellings.
    std::map<std::string, int> m_mapTable;
};

class KXCsvParser : public QPCsvParser {
public:
    enum Column { PIN_NUMBER = 0, PIN_NAME = 1 };
    explicit KXCsvParser(const QBString& path);
    ~KXCsvParser() override;
    const char* getClassName() const override { return "KXCsvParser"; }
    bool isKindOf(const char* className) const override;
    void loadMapTable() override;
    QBStatus* init(QBStatus* status) override;
    QBStatus* close(QBStatus* status) override;
    // Reads and checks the whole file; the status reports failure with the line.
    QBStatus* parse(QBStatus* status) override;
    QBStatus* processObject(const std::vector<std::string>& row, int line, QBStatus* status) override;
    // After a successful parse: the pin name for a pin number, empty when the number is not in the file.
    void getPinNameFromNumber(CString& pinNumber, CString& pinName) const;

private:
    std::map<std::string, std::string> m_pins;
};
