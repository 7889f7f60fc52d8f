#include <gtest/gtest.h>

#include "dialogs/dialog_units.h"
#include "dialogs/title_text.h"

namespace korvel {
namespace {

TEST(DialogUnits, EnglishShowsFeetAndPoundsPerSquareFoot) {
    EXPECT_EQ(ShownValue(240.0L, "L2", 1), 20.0L);
    EXPECT_EQ(HeldValue(20.0L, "L2", 1), 240.0L);
    EXPECT_EQ(HeldValue(144.0L, "F/L2^2", 1), 1.0L);
    EXPECT_EQ(ShownValue(1.0L, "F/L2^2", 1), 144.0L);
}

TEST(DialogUnits, OtherLabelsAndSystemsShowWhatIsHeld) {
    EXPECT_EQ(ShownValue(240.0L, "L", 1), 240.0L);
    EXPECT_EQ(ShownValue(33.0L, "deg.", 1), 33.0L);
    EXPECT_EQ(ShownValue(6.096L, "L2", 2), 6.096L);
    EXPECT_EQ(HeldValue(6.096L, "L2", 2), 6.096L);
    EXPECT_EQ(HeldValue(50.0L, "F/L2^2", 2), 50.0L);
    EXPECT_EQ(HeldValue(20.0L, "L2", 3), 20.0L);
}

TEST(TitleText, LineBreaksBecomeBlanks) {
    EXPECT_EQ(SingleLineTitle("Wall\r\nEast"), QString("Wall East"));
    EXPECT_EQ(SingleLineTitle("a\nb\rc"), QString("a b c"));
    EXPECT_EQ(SingleLineTitle(QString("a") + QChar(0x2029) + "b"), QString("a b"));
    EXPECT_FALSE(HasLineBreak("plain title"));
    EXPECT_TRUE(HasLineBreak("two\nlines"));
}

TEST(TitleText, CutAtEightyCharacters) {
    EXPECT_EQ(SingleLineTitle(QString(100, u'x')).size(), kTitleMaxLength);
    EXPECT_EQ(SingleLineTitle(QString(80, u'y')), QString(80, u'y'));
}

}  // namespace
}  // namespace korvel
