#include "entry/word_reader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "entry/entry_errors.h"

namespace korvel {
namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(WordReader, ReadingPastTheEndIsAnIncompleteFile) {
    TWordReader reader = TWordReader::FromText("1 2");
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadInteger(), 2);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(MessageOf([&] { reader.ReadInteger(); }), "This file either invalid or incomplete.");
    EXPECT_EQ(MessageOf([&] { reader.ReadLine(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, MessagesNameLineAndItem) {
    TWordReader reader = TWordReader::FromText("Title\n1 2 3\n4 x 5\n");
    EXPECT_EQ(reader.ReadLine(), "Title");
    for (int expected : {1, 2, 3, 4}) EXPECT_EQ(reader.ReadInteger(), expected);
    EXPECT_EQ(MessageOf([&] { reader.ReadReal(); }),
              "Error on Line 3 Item 2\rA floating point number was expected but not found.");
}

TEST(WordReader, IntegersMustBeIntegralAndIn32Bits) {
    const std::pair<const char*, const char*> cases[] = {
        {"2.5", "Error on Line 1 Item 1\rAn integer was expected but not found."},
        {"3000000000", "Error on Line 1 Item 1\rAn integer was expected but not found."},
        {"1e", "Error on Line 1 Item 1\rAn integer was expected but not found."},
    };
    for (const auto& [text, message] : cases) {
        TWordReader reader = TWordReader::FromText(text);
        EXPECT_EQ(MessageOf([&] { reader.ReadInteger(); }), message) << text;
    }
    TWordReader reader = TWordReader::FromText("4.0 -2147483648 1E2");
    EXPECT_EQ(reader.ReadInteger(), 4);
    EXPECT_EQ(reader.ReadInteger(), -2147483648);
    EXPECT_EQ(reader.ReadInteger(), 100);
}

TEST(WordReader, BlankLinesAreSkippedButCounted) {
    TWordReader reader = TWordReader::FromText("1\r\n\r\n   \t\r\n2\r\n\r\nx\r\n");
    EXPECT_EQ(reader.ReadReal(), 1);
    EXPECT_EQ(reader.ReadReal(), 2);
    EXPECT_EQ(MessageOf([&] { reader.ReadReal(); }),
              "Error on Line 6 Item 1\rA floating point number was expected but not found.");
}

// Lines end in LF, CR LF or a lone CR (older Mac editors); all three read alike,
// titles and line numbers included.
TEST(WordReader, LoneCarriageReturnsEndLinesLikeLineFeeds) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const QString e = QString::fromLatin1(end);
        TWordReader reader =
            TWordReader::FromText("Wall title" + e + "1 2.5" + e + e + "3" + e + "x" + e);
        EXPECT_EQ(reader.LineCount(), 5) << end;
        EXPECT_EQ(reader.ReadLine(), "Wall title");
        EXPECT_EQ(reader.ReadInteger(), 1);
        EXPECT_EQ(reader.ReadReal(), 2.5L);
        EXPECT_EQ(reader.ReadInteger(), 3);
        EXPECT_EQ(reader.LastWordLine(), 4);
        EXPECT_EQ(MessageOf([&] { reader.ReadInteger(); }),
                  "Error on Line 5 Item 1\rAn integer was expected but not found.");
    }
    EXPECT_EQ(SplitLines("a\r\rb\r\nc"), (QStringList{"a", "", "b", "c"}));
}

TEST(WordReader, WordsAreSplitAtRunsOfBlanksAndTabs) {
    TWordReader reader = TWordReader::FromText("  0.5 \t\t -1.25E-3\t7  \n");
    EXPECT_EQ(reader.ReadReal(), 0.5L);
    EXPECT_EQ(reader.ReadReal(), -1.25E-3L);
    EXPECT_EQ(reader.ReadReal(), 7);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(WordReader, ReadLineTakesTheLineAfterTheWordsRead) {
    // The long-term section's title follows the line "9".
    TWordReader reader = TWordReader::FromText("New Wall\r\n1 2 3\r\n9\r\n\r\nSecond title\r\n");
    EXPECT_EQ(reader.ReadLine(), "New Wall");
    EXPECT_EQ(reader.ReadInteger(), 1);  // the rest of the line is dropped by ReadLine
    EXPECT_EQ(reader.ReadLine(), "9");
    EXPECT_EQ(reader.ReadLine(), "");  // a blank title is a title
    EXPECT_EQ(reader.ReadLine(), "Second title");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(WordReader, CountsBeyondTheTableLimitAreRefusedNamingTheLine) {
    TWordReader reader = TWordReader::FromText("3\n25\n-1\n");
    EXPECT_EQ(reader.ReadCount(20), 3);
    EXPECT_EQ(MessageOf([&] { reader.ReadCount(20); }),
              "Error on Line 2 Item 1\rA count from 0 to 20 was expected but 25 was found.");
    EXPECT_EQ(
        MessageOf([&] { reader.ReadCount(0); }),
        "Error on Line 3 Item 1\rA count from 0 to 2147483647 was expected but -1 was found.");
}

TEST(WordReader, ReadsFilesInUtf8OrWindows1252) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString utf8_name = dir.filePath("utf8.kv5d");
    const QString cp1252_name = dir.filePath("old.kv4d");
    {
        QFile f(utf8_name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Wall \xC2\xB0 \xE2\x82\xAC\r\n1.5\r\n");
        QFile g(cp1252_name);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        g.write("Wall \xB0 \x80\r\n1.5\r\n");
    }
    for (const QString& name : {utf8_name, cp1252_name}) {
        TWordReader reader(name);
        EXPECT_EQ(reader.ReadLine(), QString::fromUtf8("Wall \xC2\xB0 \xE2\x82\xAC"))
            << name.toStdString();
        EXPECT_EQ(reader.ReadReal(), 1.5L);
    }
    EXPECT_THROW(TWordReader(dir.filePath("missing.kv5d")), EInOutError);
}

}  // namespace
}  // namespace korvel
