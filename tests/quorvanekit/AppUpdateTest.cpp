#include "quorvanekit/AppUpdate.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

const QByteArray kComplete = R"({
  "version": "2.1",
  "build": 121,
  "minimumSystemVersion": "12.6.1",
  "downloadUrl": "https://example.org/Harborlite-2.1.tar.gz",
  "pageUrl": "https://example.org/releases/2.1",
  "releaseNotesUrl": "https://example.org/releases/2.1/notes",
  "releasedAt": "2026-11-30",
  "notes": ["Faster scans", "A new map"]
})";

TEST(AppUpdateDecode, ReadsEveryField)
{
    const auto result = AppUpdate::decode(kComplete);
    ASSERT_TRUE(std::holds_alternative<AppUpdate>(result));
    const AppUpdate expected{QStringLiteral("2.1"),
                             121,
                             QStringLiteral("12.6.1"),
                             QUrl(QStringLiteral("https://example.org/Harborlite-2.1.tar.gz")),
                             QUrl(QStringLiteral("https://example.org/releases/2.1")),
                             QUrl(QStringLiteral("https://example.org/releases/2.1/notes")),
                             QStringLiteral("2026-11-30"),
                             {QStringLiteral("Faster scans"), QStringLiteral("A new map")}};
    EXPECT_EQ(std::get<AppUpdate>(result), expected);
}

TEST(AppUpdateDecode, OptionalFieldsMayBeAbsentOrNull)
{
    for (const QByteArray& json :
         {QByteArray(R"({"version": "2", "build": 7, "downloadUrl": "https://example.org/d"})"),
          QByteArray(R"({"version": "2", "build": 7, "downloadUrl": "https://example.org/d", "notes": null,
                         "pageUrl": null, "releaseNotesUrl": null, "releasedAt": null,
                         "minimumSystemVersion": null, "unknown": {"nested": [1, 2]}})")}) {
        const auto result = AppUpdate::decode(json);
        ASSERT_TRUE(std::holds_alternative<AppUpdate>(result)) << json.toStdString();
        const AppUpdate& update = std::get<AppUpdate>(result);
        EXPECT_EQ(update.version, QStringLiteral("2"));
        EXPECT_EQ(update.build, 7);
        EXPECT_EQ(update.downloadUrl, QUrl(QStringLiteral("https://example.org/d")));
        EXPECT_TRUE(update.notes.isEmpty());
        EXPECT_FALSE(update.pageUrl);
        EXPECT_FALSE(update.releaseNotesUrl);
        EXPECT_FALSE(update.releasedAt);
        EXPECT_FALSE(update.minimumSystemVersion);
    }
}

TEST(AppUpdateDecode, BuildKeepsAllSixtyFourBits)
{
    const auto result =
        AppUpdate::decode(R"({"version": "2", "build": 9007199254740993, "downloadUrl": "https://example.org/d"})");
    ASSERT_TRUE(std::holds_alternative<AppUpdate>(result));
    EXPECT_EQ(std::get<AppUpdate>(result).build, 9007199254740993);
}

struct FailureCase {
    const char* name;
    const char* json;
    FeedError::Kind kind;
};

void PrintTo(const FailureCase& row, std::ostream* os)
{
    *os << row.name;
}

class AppUpdateDecodeFailure : public testing::TestWithParam<FailureCase> { };

TEST_P(AppUpdateDecodeFailure, GivesTheDecodersError)
{
    const auto result = AppUpdate::decode(QByteArray(GetParam().json));
    ASSERT_TRUE(std::holds_alternative<FeedError>(result));
    const FeedError& error = std::get<FeedError>(result);
    EXPECT_EQ(error.kind, GetParam().kind);
    EXPECT_EQ(error,
              GetParam().kind == FeedError::Kind::valueMissing ? FeedError::valueMissing()
                                                               : FeedError::dataCorrupted());
}

constexpr auto missing = FeedError::Kind::valueMissing;
constexpr auto corrupted = FeedError::Kind::dataCorrupted;

INSTANTIATE_TEST_SUITE_P(
    Documents, AppUpdateDecodeFailure,
    testing::Values(
        FailureCase{"NoDownloadUrl", R"({"version": "2", "build": 7})", missing},
        FailureCase{"NullVersion", R"({"version": null, "build": 7, "downloadUrl": "https://e.org/d"})", missing},
        FailureCase{"NoBuild", R"({"version": "2", "downloadUrl": "https://e.org/d"})", missing},
        FailureCase{"QuotedBuild", R"({"version": "2", "build": "120", "downloadUrl": "https://e.org/d"})", corrupted},
        FailureCase{"FractionalBuild", R"({"version": "2", "build": 1.5, "downloadUrl": "https://e.org/d"})",
                    corrupted},
        FailureCase{"BuildOutOfRange", R"({"version": "2", "build": 1e30, "downloadUrl": "https://e.org/d"})",
                    corrupted},
        FailureCase{"NumericVersion", R"({"version": 2, "build": 7, "downloadUrl": "https://e.org/d"})", corrupted},
        FailureCase{"NumericPageUrl", R"({"version": "2", "build": 7, "downloadUrl": "https://e.org/d", "pageUrl": 3})",
                    corrupted},
        FailureCase{"UnparsableUrl", R"({"version": "2", "build": 7, "downloadUrl": "https://exa mple.org/d"})",
                    corrupted},
        FailureCase{"EmptyUrl", R"({"version": "2", "build": 7, "downloadUrl": ""})", corrupted},
        FailureCase{"NotesNotAList", R"({"version": "2", "build": 7, "downloadUrl": "https://e.org/d", "notes": "x"})",
                    corrupted},
        FailureCase{"NoteNotAString",
                    R"({"version": "2", "build": 7, "downloadUrl": "https://e.org/d", "notes": ["a", 1]})", corrupted},
        FailureCase{"Truncated", R"({"version": "2", "build": 7, "downloadUrl": "https://e.o)", corrupted},
        FailureCase{"NotAnObject", R"([{"version": "2", "build": 7, "downloadUrl": "https://e.org/d"}])", corrupted},
        FailureCase{"Empty", "", corrupted}),
    [](const testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

} // namespace
