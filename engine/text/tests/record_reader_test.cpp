#include "text/record_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::text {
namespace {

// Message of the ReadError thrown by `f`, or "" when none is thrown.
template <typename F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (const ReadError& e) {
        return e.what();
    }
    return "";
}

TEST(RecordReaderTest, RecordContinuesOntoLaterLines) {
    std::istringstream in("1 2\n3\n\n   \n4\n");
    RecordReader r(in);
    r.BeginRecord("WALL");
    std::vector<int> got;
    for (int i = 0; i < 4; ++i) got.push_back(r.ReadInt());
    EXPECT_EQ(got, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(r.LineNumber(), 5);
}

TEST(RecordReaderTest, NextRecordSkipsRestOfLine) {
    std::istringstream in("1 2 99 junk\n3 4\n");
    RecordReader r(in);
    r.BeginRecord("A");
    EXPECT_EQ(r.ReadInt(), 1);
    EXPECT_EQ(r.ReadInt(), 2);
    r.BeginRecord("B");
    EXPECT_EQ(r.ReadInt(), 3);
    EXPECT_EQ(r.LineNumber(), 2);
}

TEST(RecordReaderTest, BeginRecordWithoutReadingConsumesNoLine) {
    std::istringstream in("5\n6\n");
    RecordReader r(in);
    r.BeginRecord("A");
    r.BeginRecord("B");
    EXPECT_EQ(r.ReadInt(), 5);
    EXPECT_EQ(r.LineNumber(), 1);
}

TEST(RecordReaderTest, SeparatorsAndLineEnds) {
    std::istringstream in("1,2\t3 ,\t, 4\r\n\r\n5.5,-6\r\n");
    RecordReader r(in);
    r.BeginRecord("MIXED");
    EXPECT_EQ(r.ReadInt(), 1);
    EXPECT_EQ(r.ReadInt(), 2);
    EXPECT_EQ(r.ReadInt(), 3);
    EXPECT_EQ(r.ReadInt(), 4);
    EXPECT_DOUBLE_EQ(r.ReadReal(), 5.5);
    EXPECT_DOUBLE_EQ(r.ReadReal(), -6.0);
}

TEST(RecordReaderTest, ReadLineTakesWholeNextLine) {
    std::istringstream in("7 8\nTITLE, with commas  \r\n\n9\n");
    RecordReader r(in);
    r.BeginRecord("N");
    EXPECT_EQ(r.ReadInt(), 7);
    EXPECT_EQ(r.ReadLine("TITLE"), "TITLE, with commas  ");
    EXPECT_EQ(r.ReadLine("BLANK"), "");
    EXPECT_EQ(r.LineNumber(), 3);
    // After ReadLine, numbers come from a fresh line.
    EXPECT_EQ(r.ReadInt(), 9);
    EXPECT_EQ(ErrorOf([&] { r.ReadLine("MORE"); }), "END OF FILE IN RECORD MORE");
}

TEST(RecordReaderTest, ByteOrderMarkIsIgnored) {
    std::istringstream in(
        "\xEF\xBB\xBF"
        "12\n");
    RecordReader r(in);
    EXPECT_EQ(r.ReadInt(), 12);
}

TEST(RecordReaderTest, EndOfFileNamesRecord) {
    struct Case {
        const char* text;
        int numbers;  // read successfully before the end of file
    };
    for (const Case& c : {Case{"", 0}, Case{"\n\n", 0}, Case{"1 2", 2}, Case{"1\n \n", 1}}) {
        std::istringstream in(c.text);
        RecordReader r(in);
        r.BeginRecord("SOIL");
        for (int i = 0; i < c.numbers; ++i) r.ReadReal();
        EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }), "END OF FILE IN RECORD SOIL") << c.text;
    }
}

TEST(RecordReaderTest, EndOfFileAtRecordStart) {
    std::istringstream in("1 2 3");
    RecordReader r(in);
    r.BeginRecord("A");
    r.ReadInt();
    r.BeginRecord("B");  // the rest of "1 2 3" is not part of B
    EXPECT_EQ(ErrorOf([&] { r.ReadInt(); }), "END OF FILE IN RECORD B");
}

struct RealCase {
    const char* word;
    double value;
};

TEST(RecordReaderTest, ReadsRealForms) {
    for (const RealCase& c :
         {RealCase{"1.5", 1.5}, RealCase{"-2E-5", -2e-5}, RealCase{"3.", 3.0}, RealCase{".5", 0.5},
          RealCase{"+.5", 0.5}, RealCase{"1.0D+03", 1e3}, RealCase{"2d2", 200.0},
          RealCase{"7", 7.0}, RealCase{"1e+0", 1.0}, RealCase{"0.1", 0.1}, RealCase{"1E-400", 0.0},
          RealCase{"000123.4500", 123.45}}) {
        std::istringstream in(c.word);
        RecordReader r(in);
        EXPECT_EQ(r.ReadReal(), c.value) << c.word;
    }
    std::istringstream in("-0.0");
    RecordReader r(in);
    EXPECT_TRUE(std::signbit(r.ReadReal()));
}

TEST(RecordReaderTest, RejectsInvalidReals) {
    for (const char* word : {"X1", "1.5.2", "0x10", "inf", "-nan", "nan", "Infinity", "1E", "1E+",
                             "E5", ".", "-", "1.0Q3", "1e999", "--1", "1-2", "1..", "3D-2x"}) {
        std::istringstream in(std::string("\n") + word + "\n");
        RecordReader r(in);
        r.BeginRecord("WALL");
        EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }),
                  std::string("INVALID NUMBER '") + word + "' IN RECORD WALL");
    }
}

struct IntCase {
    const char* word;
    int32_t value;
};

TEST(RecordReaderTest, ReadsIntegers) {
    for (const IntCase& c :
         {IntCase{"0", 0}, IntCase{"-17", -17}, IntCase{"+17", 17}, IntCase{"007", 7},
          IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", -2147483647 - 1},
          IntCase{"3.0", 3}, IntCase{"3.", 3}, IntCase{"1.0D+01", 10}, IntCase{"-2E3", -2000}}) {
        std::istringstream in(c.word);
        RecordReader r(in);
        EXPECT_EQ(r.ReadInt(), c.value) << c.word;
    }
}

TEST(RecordReaderTest, RejectsInvalidIntegers) {
    for (const char* word : {"3.5", "2147483648", "-2147483649", "99999999999999999999", "3E10",
                             "1e999", "12a", "+-3", "-+3", "+", "0x1F", "inf"}) {
        std::istringstream in(word);
        RecordReader r(in);
        r.BeginRecord("NODES");
        EXPECT_EQ(ErrorOf([&] { r.ReadInt(); }),
                  std::string("INVALID NUMBER '") + word + "' IN RECORD NODES");
    }
}

TEST(RecordReaderTest, DefaultRecordName) {
    std::istringstream in("");
    RecordReader r(in);
    EXPECT_EQ(ErrorOf([&] { r.ReadInt(); }), "END OF FILE IN RECORD DATA");
}

TEST(RecordReaderTest, JunkAndHugeLinesAreHandled) {
    std::string junk("12 \x01\x02\0\xff", 7);
    std::istringstream in(junk + "\n" + std::string(1'000'000, '9') + " 4\n" +
                          std::string(200'000, ' ') + "5\n");
    RecordReader r(in);
    r.BeginRecord("J");
    EXPECT_EQ(r.ReadInt(), 12);
    EXPECT_EQ(ErrorOf([&] { r.ReadInt(); }), "INVALID NUMBER '\?\?\?\?' IN RECORD J");
    // A million-digit word: rejected, and the message stays short.
    const std::string message = ErrorOf([&] { r.ReadInt(); });
    EXPECT_EQ(message, "INVALID NUMBER '" + std::string(40, '9') + "...' IN RECORD J");
    EXPECT_EQ(r.ReadInt(), 4);
    EXPECT_EQ(r.ReadInt(), 5);
}

}  // namespace
}  // namespace korvel::text
