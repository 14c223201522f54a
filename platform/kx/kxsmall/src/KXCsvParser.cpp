#include "kxsmall/KXCsvParser.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

// ---- QBObject ----

bool QBObject::isKindOf(const char* className) const {
    return className && std::strcmp(className, "QBObject") == 0;
}

QBStatus* QBObject::unsupported(QBStatus* status) {
    if (status) status->setFailed("operation not supported");
    return status;
}

// ---- QBParser ----

bool QBParser::isKindOf(const char* className) const {
    return (className && std::strcmp(className, "QBParser") == 0) || QBObject::isKindOf(className);
}

QBStatus* QBParser::init(QBStatus* status) {
    if (status) status->setOk();
    return status;
}

QBStatus* QBParser::read(QBStatus* status) {
    std::ifstream in(m_path.str(), std::ios::binary);
    if (!in) {
        if (status) status->setFailed(m_path.str() + ": cannot be opened");
        return status;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    m_text = ss.str();
    m_bOpen = true;
    if (status) status->setOk();
    return status;
}

QBStatus* QBParser::close(QBStatus* status) {
    m_text.clear();
    m_bOpen = false;
    if (status) status->setOk();
    return status;
}

QBStatus* QBParser::parse(QBStatus* status) {
    return read(status);
}

// ---- QPMatrixParser ----

bool QPMatrixParser::isKindOf(const char* className) const {
    return (className && std::strcmp(className, "QPMatrixParser") == 0) || QBParser::isKindOf(className);
}

QBStatus* QPMatrixParser::read(QBStatus* given) {
    // The caller's status, or one of our own that the caller never sees.
    QBStatus local;
    QBStatus* status = given ? given : &local;
    QBParser::read(status);
    if (status->isFailed()) return given;
    m_header.clear();
    m_columnMap.clear();
    m_rows.clear();
    std::istringstream in(m_text);
    std::string line;
    int lineNo = 0;
    bool haveHeader = false;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (trim(line).empty() || trim(line)[0] == '#') continue;
        bool ok = true;
        std::vector<std::string> fields = splitLine(line, ok);
        if (!ok) {
            onErrorParsingRow(lineNo, "unterminated quote", status);
            break;
        }
        if (!haveHeader) {
            haveHeader = true;
            m_nHeaderLine = lineNo;
            m_header = fields;
            bool anyMapped = false;
            for (const auto& h : m_header) {
                m_columnMap.push_back(matchExt2IntColumn(h));
                anyMapped = anyMapped || m_columnMap.back() >= 0;
            }
            if (anyMapped) continue;
            // No header words at all: the file has no header line and its columns stand in their natural
            // order.
            m_columnMap.assign(m_header.size(), -1);
            for (size_t i = 0; i < m_columnMap.size() && i < 2; ++i)
                m_columnMap[i] = static_cast<int>(i);
            m_header.clear();
        }
        processObject(fields, lineNo, status);
        if (status->isFailed()) break;
        m_rows.push_back(std::move(fields));
    }
    if (status->isOk() && !haveHeader) status->setFailed(m_path.str() + ": no header line", lineNo);
    return given;
}

QBStatus* QPMatrixParser::processObject(const std::vector<std::string>&, int, QBStatus* status) {
    return status;
}

std::vector<std::string> QPMatrixParser::getRowData(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return {};
    return m_rows[static_cast<size_t>(row)];
}

int QPMatrixParser::matchExt2IntColumn(const std::string&) const {
    return -1;
}

QBStatus* QPMatrixParser::onErrorParsingRow(int line, const std::string& what, QBStatus* status) {
    if (status) status->setFailed(m_path.str() + ": line " + std::to_string(line) + ": " + what, line);
    return status;
}

// ---- QPCsvParser ----

bool QPCsvParser::isKindOf(const char* className) const {
    return (className && std::strcmp(className, "QPCsvParser") == 0) || QPMatrixParser::isKindOf(className);
}

int QPCsvParser::matchExt2IntColumn(const std::string& header) const {
    auto it = m_mapTable.find(lower(trim(header)));
    return it == m_mapTable.end() ? -1 : it->second;
}

void QPCsvParser::loadMapTable() {
    m_mapTable.clear();
}

std::vector<std::string> QPCsvParser::splitLine(const std::string& line, bool& ok) const {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    ok = true;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(trim(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (quoted) ok = false;
    fields.push_back(trim(field));
    return fields;
}

// ---- KXCsvParser ----

KXCsvParser::KXCsvParser(const QBString& path) : QPCsvParser(path) {
    loadMapTable();
}

KXCsvParser::~KXCsvParser() = default;

bool KXCsvParser::isKindOf(const char* className) const {
    return (className && std::strcmp(className, "KXCsvParser") == 0) || QPCsvParser::isKindOf(className);
}

void KXCsvParser::loadMapTable() {
    m_mapTable = {
        {"pin number", PIN_NUMBER}, {"pin", PIN_NUMBER}, {"pin name", PIN_NAME}, {"name", PIN_NAME}};
}

QBStatus* KXCsvParser::init(QBStatus* status) {
    m_pins.clear();
    return QPCsvParser::init(status);
}

QBStatus* KXCsvParser::close(QBStatus* status) {
    m_pins.clear();
    return QPCsvParser::close(status);
}

QBStatus* KXCsvParser::parse(QBStatus* status) {
    QBStatus local;
    QBStatus* st = status ? status : &local;
    init(st);
    read(st);
    if (st->isOk()) {
        int numberCol = -1, nameCol = -1;
        for (size_t i = 0; i < m_columnMap.size(); ++i) {
            if (m_columnMap[i] == PIN_NUMBER && numberCol < 0) numberCol = static_cast<int>(i);
            if (m_columnMap[i] == PIN_NAME && nameCol < 0) nameCol = static_cast<int>(i);
        }
        if (numberCol < 0 || nameCol < 0)
            onErrorParsingRow(m_nHeaderLine, "the header lacks \"Pin Number\" or \"Pin Name\"", st);
    }
    if (st->isFailed()) m_pins.clear();
    // The text is not needed after the parse; the pin table stays for look-ups.
    m_text.clear();
    return status;
}

QBStatus* KXCsvParser::processObject(const std::vector<std::string>& row, int line, QBStatus* status) {
    // The header is known by now: find the two columns.
    int numberCol = -1, nameCol = -1;
    for (size_t i = 0; i < m_columnMap.size(); ++i) {
        if (m_columnMap[i] == PIN_NUMBER && numberCol < 0) numberCol = static_cast<int>(i);
        if (m_columnMap[i] == PIN_NAME && nameCol < 0) nameCol = static_cast<int>(i);
    }
    if (numberCol < 0 || nameCol < 0) {
        return onErrorParsingRow(m_nHeaderLine, "the header lacks \"Pin Number\" or \"Pin Name\"", status);
    }
    size_t need = static_cast<size_t>(std::max(numberCol, nameCol)) + 1;
    if (row.size() < need) return onErrorParsingRow(line, "too few fields", status);
    const std::string& number = row[static_cast<size_t>(numberCol)];
    if (number.empty()) return onErrorParsingRow(line, "empty pin number", status);
    if (!m_pins.emplace(number, row[static_cast<size_t>(nameCol)]).second)
        return onErrorParsingRow(line, "pin number " + number + " given twice", status);
    return status;
}

void KXCsvParser::getPinNameFromNumber(CString& pinNumber, CString& pinName) const {
    auto it = m_pins.find(trim(pinNumber.str()));
    pinName = it == m_pins.end() ? CString() : CString(it->second);
}
