#include "kxsmall/KXCsvParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string writeCsv(const std::string& name, const std::string& content) {
    fs::path p = fs::temp_directory_path() / ("kxsmall_csv_" + std::to_string(::getpid()) + "_" + name);
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
}

// The name the parser gives a pin number; the output starts non-empty so that a lookup that
// does not clear it shows.
CString nameOf(KXCsvParser& parser, const char* pinNumber) {
    CString number = pinNumber, name = "(unset)";
    parser.getPinNameFromNumber(number, name);
    return name;
}

TEST(CsvParser, ReadsPinNamesByNumber) {
    std::string path = writeCsv("good.csv", "# pin file\r\nPin Number, Pin Name ,Bank\r\nA1,DATA<7>,1\r\n"
                                            "\"B 2\",\"CLK, main\",2\r\nC3,\"say \"\"hi\"\"\",3\r\n");
    KXCsvParser parser{QBString(path)};
    QBStatus status;
    parser.parse(&status);
    ASSERT_TRUE(status.isOk()) << status.message().c_str();
    EXPECT_EQ(nameOf(parser, "A1"), "DATA<7>");
    EXPECT_EQ(nameOf(parser, "B 2"), "CLK, main");
    EXPECT_EQ(nameOf(parser, "C3"), "say \"hi\"");
    EXPECT_TRUE(nameOf(parser, "Z9").IsEmpty());
    parser.close(&status);
    EXPECT_TRUE(status.isOk());
    EXPECT_TRUE(nameOf(parser, "A1").IsEmpty());
    fs::remove(path);
}

TEST(CsvParser, BadFilesAreRefusedWithTheirLine) {
    const std::vector<std::pair<std::string, int>> bad = {
        {"Pin Number,Pin Name\nA1,X\nA2\n", 3},     // too few fields
        {"Pin Number,Pin Name\nA1,X\n\"A2,Y\n", 3}, // unterminated quote
        {"Pin Number,Pin Name\nA1,X\nA1,Y\n", 3},   // number twice
        {"Pin Number,Pin Name\n,X\n", 2},           // empty number
        {"# c\nPin Number,Label\nA1,X\n", 2},       // header lacks the name column
        {"# only a comment\n", 1},                  // no header at all
    };
    int i = 0;
    for (const auto& [content, line] : bad) {
        std::string path = writeCsv("bad" + std::to_string(i++) + ".csv", content);
        KXCsvParser parser{QBString(path)};
        QBStatus status;
        parser.parse(&status);
        EXPECT_TRUE(status.isFailed()) << content;
        EXPECT_EQ(status.line(), line) << content << status.message().c_str();
        EXPECT_NE(status.message().str().find(path), std::string::npos);
        EXPECT_TRUE(nameOf(parser, "A1").IsEmpty()) << "nothing of a refused file is used";
        fs::remove(path);
    }
}

TEST(CsvParser, FileWithoutHeaderUsesTheFirstTwoColumns) {
    std::string path = writeCsv("plain.csv", "A1,DATA<0>\nA2,DATA<1>,extra\n");
    KXCsvParser parser{QBString(path)};
    QBStatus status;
    parser.parse(&status);
    ASSERT_TRUE(status.isOk()) << status.message().c_str();
    EXPECT_EQ(nameOf(parser, "A1"), "DATA<0>");
    EXPECT_EQ(nameOf(parser, "A2"), "DATA<1>");
    fs::remove(path);
}

TEST(CsvParser, MissingFileFails) {
    KXCsvParser parser(QBString("/nonexistent/dir/pins.csv"));
    QBStatus status;
    parser.parse(&status);
    EXPECT_TRUE(status.isFailed());
}

TEST(CsvParser, ClassChain) {
    KXCsvParser parser(QBString("x.csv"));
    QBObject* base = &parser;
    EXPECT_STREQ(base->getClassName(), "KXCsvParser");
    for (const char* c : {"KXCsvParser", "QPCsvParser", "QPMatrixParser", "QBParser", "QBObject"})
        EXPECT_TRUE(base->isKindOf(c)) << c;
    EXPECT_FALSE(base->isKindOf("Other"));
    EXPECT_FALSE(base->isKindOf(nullptr));
}

} // namespace
