#include "platform/PathText.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

struct BytesCase {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const BytesCase& row, std::ostream* os)
{
    *os << row.name;
}

class PathBytes : public testing::TestWithParam<BytesCase> { };

} // namespace

// Whatever bytes a name holds, the text read from them gives them back.
TEST_P(PathBytes, SurviveTheTripToTextAndBack)
{
    const QByteArray& bytes = GetParam().bytes;
    const QString text = platform::pathText(bytes);
    EXPECT_EQ(platform::pathBytes(text), bytes);
    EXPECT_EQ(platform::pathBytes(platform::pathText(bytes + "/" + bytes)), bytes + "/" + bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PathBytes,
    testing::Values(BytesCase{"Empty", ""}, BytesCase{"Ascii", "/home/me/notes.txt"},
                    BytesCase{"TwoThreeAndFourByteCharacters", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
                    BytesCase{"ReplacementCharacterItself", "a\xef\xbf\xbd"}, BytesCase{"LoneHighByte", "bad-\xff\xfe"},
                    BytesCase{"Latin1", "na\xefve"}, BytesCase{"Overlong", "\xc0\xaf\xe0\x80\xaf"},
                    BytesCase{"EncodedSurrogates", "\xed\xa0\x80\xed\xb2\x80"},
                    BytesCase{"BeyondTheLastCharacter", "\xf4\x90\x80\x80"}, BytesCase{"CutShort", "x\xe2\x82"},
                    BytesCase{"ContinuationWithoutLead", "\x80\xbf"},
                    BytesCase{"CharacterAfterABadByte", "\xff\xf0\x9f\x98\x80\xff"}),
    [](const testing::TestParamInfo<BytesCase>& row) { return std::string(row.param.name); });

TEST(PathText, ReadsUtf8AsTextAndKeepsOtherBytesApart)
{
    EXPECT_EQ(platform::pathText(QByteArray("caf\xc3\xa9")), QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(platform::pathText(QByteArray("a\xef\xbf\xbd")), QStringLiteral("a\uFFFD"));
    // A byte that is not UTF-8 is neither the replacement character nor another byte.
    const QString bad = platform::pathText(QByteArray("a\xff"));
    EXPECT_NE(bad, QStringLiteral("a\uFFFD"));
    EXPECT_NE(bad, platform::pathText(QByteArray("a\xfe")));
    EXPECT_EQ(bad.size(), 2);
    EXPECT_EQ(platform::pathText(std::string_view("x")), QStringLiteral("x"));
}

TEST(PathBytes, WritesTextAsUtf8LikeQt)
{
    for (const QString& text : {QStringLiteral("/home/me"), QString::fromUtf8("r\xc3\xa9sum\xc3\xa9 \xf0\x9f\x98\x80"),
                                QStringLiteral("a\uFFFD")}) {
        EXPECT_EQ(platform::pathBytes(text), QFile::encodeName(text)) << text.toStdString();
    }
}
