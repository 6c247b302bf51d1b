#include "ui/components/ClampedLabel.h"
#include "paint/Palette.h"
#include "ui/theme/TypeStyle.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(ClampedLabel, WrapsOntoAtMostItsLinesAndCutsTheLast)
{
    const QString text = QStringLiteral("sync: error syncing '/media/backup': Input/output error, and more words that "
                                        "go on well past what two lines of a narrow card can hold");
    ClampedLabel label(text, Palette::danger(), TypeStyle::font(10.5, QFont::Normal), 2);
    const QFontMetrics metrics(label.font());

    const QStringList narrow = label.lines(160);
    ASSERT_EQ(narrow.size(), 2);
    EXPECT_TRUE(narrow.back().endsWith(QChar(0x2026))) << narrow.back().toStdString();
    for (const QString& line : narrow) {
        EXPECT_LE(metrics.horizontalAdvance(line), 160) << line.toStdString();
    }
    EXPECT_EQ(label.heightForWidth(160), 2 * metrics.lineSpacing());

    // Wide enough for all of it: one line, nothing cut.
    const QStringList wide = label.lines(metrics.horizontalAdvance(text) + 10);
    EXPECT_EQ(wide, QStringList{text});
    EXPECT_EQ(label.heightForWidth(metrics.horizontalAdvance(text) + 10), metrics.lineSpacing());
}

TEST(ClampedLabel, LineFeedsStartLines)
{
    ClampedLabel label(QStringLiteral("first\nsecond\nthird"), Palette::ink(), TypeStyle::font(10.5, QFont::Normal), 2);
    const QStringList lines = label.lines(400);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.front(), QStringLiteral("first"));
    EXPECT_EQ(lines.back(), QStringLiteral("second third"));

    ClampedLabel empty(QString(), Palette::ink(), TypeStyle::font(10.5, QFont::Normal), 2);
    EXPECT_TRUE(empty.lines(400).isEmpty());
    EXPECT_EQ(empty.heightForWidth(400), QFontMetrics(empty.font()).lineSpacing());
}
