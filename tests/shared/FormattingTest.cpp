#include "shared/Formatting.h"
#include "platform/Clock.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace harborlite;

namespace {

constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double doubleMax = std::numeric_limits<double>::max();

template <typename In>
struct TextCase {
    In input;
    const char* expected;
};

} // namespace

TEST(Formatting, ByteTextUsesDecimalFileUnitsWithTrimmedDecimals)
{
    const std::vector<TextCase<qint64>> cases{
        {0, "0 bytes"},
        {1, "1 byte"},
        {2, "2 bytes"},
        {999, "999 bytes"},
        {1'000, "1 KB"},
        {1'499, "1 KB"},
        {1'500, "2 KB"},
        {2'500, "3 KB"},
        {999'499, "999 KB"},
        {999'500, "1 MB"},
        {1'000'000, "1 MB"},
        {1'250'000, "1.3 MB"},
        {1'500'000, "1.5 MB"},
        {999'949'999, "999.9 MB"},
        {999'950'000, "1 GB"},
        {1'005'000'000, "1.01 GB"},
        {1'234'567'890, "1.23 GB"},
        {25'300'000'000, "25.3 GB"},
        {999'995'000'000, "1 TB"},
        {2'000'000'000'000, "2 TB"},
        {1'500'000'000'000'000, "1.5 PB"},
        {int64Max, "9.22 EB"},
        {-1, "-1 byte"},
        {-1'500'000, "-1.5 MB"},
        {int64Min, "-9.22 EB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format::bytes(c.input).toStdString(), c.expected) << c.input;
}

TEST(Formatting, ShownByteTextIsZeroKilobytesForNothingOrLess)
{
    const std::vector<TextCase<qint64>> cases{
        {0, "0 KB"}, {-1, "0 KB"}, {int64Min, "0 KB"}, {1, "1 byte"}, {1'500'000, "1.5 MB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format::byteText(c.input).toStdString(), c.expected) << c.input;
}

TEST(Formatting, PercentRoundsHalfToEvenOnTheDecimalValue)
{
    const std::vector<TextCase<double>> cases{
        {0.256, "26%"},
        {0.0, "0%"},
        {1.0, "100%"},
        {0.125, "12%"},
        {0.135, "14%"},
        {0.005, "0%"},
        {0.015, "2%"},
        // 0.575 * 100 is 57.49999… in binary; the decimal value 57.5 rounds to 58.
        {0.575, "58%"},
        {12.5, "1,250%"},
        {-0.25, "-25%"},
        {-0.001, "0%"},
        {-0.0, "0%"},
        {notANumber, "0%"},
        {inf, "0%"},
        {-inf, "0%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format::percent(c.input).toStdString(), c.expected) << c.input;

    const QString huge = Format::percent(doubleMax);
    EXPECT_TRUE(huge.startsWith(QLatin1Char('1')) && huge.endsWith(QLatin1Char('%'))) << huge.toStdString();
}

TEST(Formatting, ScaleKeepsTheValueAtLeastOneUpToPetabytes)
{
    struct Case {
        qint64 count;
        double value;
        const char* unit;
    };
    const std::vector<Case> cases{
        {-5, 0, "B"},
        {int64Min, 0, "B"},
        {0, 0, "B"},
        {999, 999, "B"},
        {1'000, 1, "KB"},
        {999'999, 999.999, "KB"},
        {123'456'789, 123.456789, "MB"},
        {25'300'000'000, 25.3, "GB"},
        {1'000'000'000'000, 1, "TB"},
        {1'000'000'000'000'000, 1, "PB"},
        {1'000'000'000'000'000'000, 1'000, "PB"},
        {int64Max, 9'223.372036854775807, "PB"},
    };
    for (const auto& c : cases) {
        const Format::Scaled scaled = Format::scale(c.count);
        EXPECT_DOUBLE_EQ(scaled.value, c.value) << c.count;
        EXPECT_EQ(scaled.unit.toStdString(), c.unit) << c.count;
    }
}

TEST(Formatting, ByteValueAndCompactBytesChooseDecimalsByMagnitude)
{
    const std::vector<TextCase<qint64>> values{
        {999, "999"}, {1'000, "1.00"}, {123'456'789, "123"}, {25'300'000'000, "25.3"}, {99'999, "100.0"},
        {5, "5.00"},  {0, "0.00"},     {-7, "0.00"},         {int64Max, "9223"},
    };
    for (const auto& c : values)
        EXPECT_EQ(Format::byteValue(c.input).toStdString(), c.expected) << c.input;

    const std::vector<TextCase<qint64>> compact{
        {0, "0"},
        {-3, "0"},
        {int64Min, "0"},
        {999, "999B"},
        {5, "5.00B"},
        {1'000, "1.00K"},
        {1'500'000, "1.50M"},
        {25'300'000'000, "25.3G"},
        {2'000'000'000'000, "2.00T"},
        {int64Max, "9223P"},
    };
    for (const auto& c : compact)
        EXPECT_EQ(Format::compactBytes(c.input).toStdString(), c.expected) << c.input;
}

TEST(Formatting, DurationHasTwoPartsAndNeverOverflows)
{
    const std::vector<TextCase<double>> cases{
        {0, "0s"},
        {0.49, "0s"},
        {0.5, "1s"},
        {42, "42s"},
        {59.4, "59s"},
        {59.5, "1m 0s"},
        {247, "4m 7s"},
        {3'599, "59m 59s"},
        {3'600, "1h 0m"},
        {11'520, "3h 12m"},
        {86'399.5, "1d 0h"},
        {86'400, "1d 0h"},
        {190'800, "2d 5h"},
        {-1, "0s"},
        {-0.0, "0s"},
        {notANumber, "0s"},
        {inf, "0s"},
        {-inf, "0s"},
        {1e300, "106751991167300d 15h"},
        {doubleMax, "106751991167300d 15h"},
        {9.3e18, "106751991167300d 15h"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format::duration(c.input).toStdString(), c.expected) << c.input;
}

TEST(Formatting, RelativeDateNamesTheLargestNonZeroUnit)
{
    const QDateTime now(QDate(2024, 5, 15), QTime(12, 0), Qt::UTC);
    platform::Seam<QDateTime>::Override pinned(platform::clock(), now);

    struct Case {
        QDateTime date;
        const char* expected;
    };
    const std::vector<Case> cases{
        // A moment that has come, even under a second ago, is in the past.
        {now, "0 sec. ago"},
        {now.addMSecs(400), "in 0 sec."},
        {now.addMSecs(-400), "0 sec. ago"},
        {now.addMSecs(-999), "0 sec. ago"},
        {now.addSecs(-1), "1 sec. ago"},
        {now.addSecs(-10), "10 sec. ago"},
        {now.addSecs(-5 * 60 - 59), "5 min. ago"},
        {now.addSecs(3 * 3'600), "in 3 hr."},
        {now.addSecs(-(86'400 + 23 * 3'600)), "1 day ago"},
        {now.addDays(-2), "2 days ago"},
        {now.addDays(6), "in 6 days"},
        {now.addDays(-14), "2 wk. ago"},
        {now.addMonths(-1), "1 mo. ago"},
        {now.addMonths(-3).addDays(-20), "3 mo. ago"},
        {now.addMonths(11).addDays(29), "in 11 mo."},
        {now.addYears(1), "in 1 yr."},
        {now.addYears(-30).addMonths(-11), "30 yr. ago"},
        {now.addYears(-1'500), "1,500 yr. ago"},
        // The same moment written in another time zone.
        {QDateTime(QDate(2024, 5, 13), QTime(14, 0), QTimeZone(7'200)), "2 days ago"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format::relativeDate(c.date).toStdString(), c.expected)
            << c.date.toString(Qt::ISODateWithMs).toStdString();

    EXPECT_TRUE(Format::relativeDate(QDateTime()).isEmpty());
}

TEST(Formatting, RelativeDateCountsCalendarMonthsAtMonthEnds)
{
    struct Case {
        QDateTime now;
        QDateTime date;
        const char* expected;
    };
    const std::vector<Case> cases{
        // A month after 29 February is 29 March.
        {QDateTime(QDate(2024, 3, 31), QTime(12, 0), Qt::UTC), QDateTime(QDate(2024, 2, 29), QTime(12, 0), Qt::UTC),
         "1 mo. ago"},
        // An hour short of the shortened month end is still weeks.
        {QDateTime(QDate(2024, 2, 29), QTime(11, 0), Qt::UTC), QDateTime(QDate(2024, 1, 31), QTime(12, 0), Qt::UTC),
         "4 wk. ago"},
        {QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59), Qt::UTC),
         QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58), Qt::UTC), "in 11 mo."},
    };
    for (const auto& c : cases) {
        platform::Seam<QDateTime>::Override pinned(platform::clock(), c.now);
        EXPECT_EQ(Format::relativeDate(c.date).toStdString(), c.expected) << c.date.toString(Qt::ISODate).toStdString();
    }
}

TEST(Formatting, RelativeDateSurvivesTheFarEndsOfTheCalendar)
{
    const QDateTime now(QDate(2024, 5, 15), QTime(12, 0), Qt::UTC);
    platform::Seam<QDateTime>::Override pinned(platform::clock(), now);

    const QDateTime ancient(QDate(-200'000'000, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime distant(QDate(200'000'000, 1, 1), QTime(0, 0), Qt::UTC);
    ASSERT_TRUE(ancient.isValid());
    ASSERT_TRUE(distant.isValid());
    EXPECT_TRUE(Format::relativeDate(ancient).endsWith(QStringLiteral(" yr. ago")));
    EXPECT_TRUE(Format::relativeDate(distant).startsWith(QStringLiteral("in ")));
}

namespace {

// Switches the C library and Qt's default locale to German (decimal comma) and
// restores both afterwards. When no German locale is installed one is compiled
// into a temporary folder.
class GermanLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousC_ = std::setlocale(LC_ALL, nullptr);
        if (const char* path = std::getenv("LOCPATH"))
            previousLocPath_ = path;
        previousQt_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

        const char* name = "de_DE.UTF-8";
        if (!std::setlocale(LC_ALL, name) && folder_.isValid()) {
            const QString target = QDir(folder_.path()).filePath(QString::fromLatin1(name));
            const int status = QProcess::execute(
                QStringLiteral("localedef"),
                {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"), target});
            if (status == 0) {
                qputenv("LOCPATH", QFile::encodeName(folder_.path()));
                std::setlocale(LC_ALL, name);
            }
        }
        char sample[16];
        std::snprintf(sample, sizeof sample, "%.1f", 1.5);
        if (std::string(sample) != "1,5")
            GTEST_SKIP() << "no German C locale can be installed or built here";
    }

    void TearDown() override
    {
        std::setlocale(LC_ALL, previousC_.c_str());
        if (previousLocPath_)
            qputenv("LOCPATH", QByteArray::fromStdString(*previousLocPath_));
        else
            qunsetenv("LOCPATH");
        QLocale::setDefault(previousQt_);
    }

private:
    QTemporaryDir folder_;
    std::string previousC_;
    std::optional<std::string> previousLocPath_;
    QLocale previousQt_;
};

} // namespace

TEST_F(GermanLocale, TextsKeepTheDecimalPoint)
{
    EXPECT_EQ(Format::bytes(1'500'000).toStdString(), "1.5 MB");
    EXPECT_EQ(Format::bytes(1'234'567'890).toStdString(), "1.23 GB");
    EXPECT_EQ(Format::byteValue(25'300'000'000).toStdString(), "25.3");
    EXPECT_EQ(Format::compactBytes(1'500'000).toStdString(), "1.50M");
    EXPECT_EQ(Format::percent(12.5).toStdString(), "1,250%");
    EXPECT_EQ(Format::duration(190'800).toStdString(), "2d 5h");

    const QDateTime now(QDate(2024, 5, 15), QTime(12, 0), Qt::UTC);
    platform::Seam<QDateTime>::Override pinned(platform::clock(), now);
    EXPECT_EQ(Format::relativeDate(now.addSecs(-3 * 3'600)).toStdString(), "3 hr. ago");
    EXPECT_EQ(Format::relativeDate(now.addYears(-1'500)).toStdString(), "1,500 yr. ago");
}
