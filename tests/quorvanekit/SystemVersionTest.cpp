#include "platform/SystemVersion.h"
#include "platform/OpenUrl.h"

#include "support/FixtureTree.h"

#include <gtest/gtest.h>

namespace harborlite::platform {

void PrintTo(const OperatingSystemVersion& version, std::ostream* os)
{
    *os << version.majorVersion << '.' << version.minorVersion << '.' << version.patchVersion;
}

} // namespace harborlite::platform

using namespace harborlite;
using platform::OperatingSystemVersion;

namespace {

struct IntegerCase {
    const char* text;
    std::optional<qint64> value;
};

void PrintTo(const IntegerCase& row, std::ostream* os)
{
    *os << '"' << row.text << '"';
}

class DecimalInteger : public testing::TestWithParam<IntegerCase> { };

TEST_P(DecimalInteger, AcceptsASignThenDigitsWithinRange)
{
    EXPECT_EQ(platform::decimalInteger(QString::fromUtf8(GetParam().text)), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalInteger,
    testing::Values(IntegerCase{"42", 42}, IntegerCase{"+42", 42}, IntegerCase{"-3", -3}, IntegerCase{"007", 7},
                    IntegerCase{"9223372036854775807", INT64_MAX}, IntegerCase{"-9223372036854775808", INT64_MIN},
                    IntegerCase{"9223372036854775808", std::nullopt}, IntegerCase{"99999999999999999999", std::nullopt},
                    IntegerCase{"1.2.3", std::nullopt}, IntegerCase{" 4", std::nullopt},
                    IntegerCase{"4 ", std::nullopt}, IntegerCase{"", std::nullopt}, IntegerCase{"+", std::nullopt},
                    IntegerCase{"x", std::nullopt}, IntegerCase{"\xd9\xa3", std::nullopt}));

struct VersionCase {
    const char* text;
    OperatingSystemVersion version;
};

void PrintTo(const VersionCase& row, std::ostream* os)
{
    *os << '"' << row.text << '"';
}

class VersionFromText : public testing::TestWithParam<VersionCase> { };

TEST_P(VersionFromText, KeepsTheIntegerPiecesInOrder)
{
    EXPECT_EQ(platform::versionFromText(QString::fromUtf8(GetParam().text)), GetParam().version) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, VersionFromText,
                         testing::Values(VersionCase{"13", {13, 0, 0}}, VersionCase{"14.2", {14, 2, 0}},
                                         VersionCase{"12.6.1", {12, 6, 1}}, VersionCase{"13.x.4", {13, 4, 0}},
                                         VersionCase{"1..2", {1, 2, 0}}, VersionCase{"abc", {0, 0, 0}},
                                         VersionCase{"", {0, 0, 0}}, VersionCase{"1.2.3.4", {1, 2, 3}},
                                         VersionCase{"+3.-1", {3, -1, 0}},
                                         VersionCase{"99999999999999999999.5", {5, 0, 0}}));

struct OsReleaseCase {
    const char* name;
    const char* etc; // nullptr: no /etc/os-release
    const char* usrLib; // nullptr: no /usr/lib/os-release
    OperatingSystemVersion version;
};

void PrintTo(const OsReleaseCase& row, std::ostream* os)
{
    *os << row.name;
}

class SystemVersion : public testing::TestWithParam<OsReleaseCase> { };

TEST_P(SystemVersion, ReadsVersionIdOfOsRelease)
{
    test::FixtureTree tree;
    if (GetParam().etc) {
        tree.file(QStringLiteral("etc/os-release"), QByteArray(GetParam().etc));
    }
    if (GetParam().usrLib) {
        tree.file(QStringLiteral("usr/lib/os-release"), QByteArray(GetParam().usrLib));
    }
    EXPECT_EQ(platform::systemVersion(tree.root()), GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SystemVersion,
    testing::Values(OsReleaseCase{"Debian",
                                  "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                                  "VERSION_ID=\"12\"\nVERSION=\"12 (bookworm)\"\nID=debian\n",
                                  nullptr,
                                  {12, 0, 0}},
                    OsReleaseCase{"Unquoted", "# comment\nID=fedora\nVERSION_ID=39", nullptr, {39, 0, 0}},
                    OsReleaseCase{"SingleQuotes", "VERSION_ID='22.04'\n", nullptr, {22, 4, 0}},
                    OsReleaseCase{"DottedThree", "VERSION_ID=\"15.5.2\"\n", nullptr, {15, 5, 2}},
                    OsReleaseCase{"UsrLibWhenEtcIsMissing", nullptr, "VERSION_ID=\"11\"\n", {11, 0, 0}},
                    OsReleaseCase{"EtcWinsOverUsrLib", "VERSION_ID=\"12\"\n", "VERSION_ID=\"11\"\n", {12, 0, 0}},
                    OsReleaseCase{"RollingReleaseWithoutVersion",
                                  "NAME=\"Debian GNU/Linux\"\nVERSION_CODENAME=trixie\n",
                                  nullptr,
                                  {0, 0, 0}},
                    OsReleaseCase{"NoFile", nullptr, nullptr, {0, 0, 0}}),
    [](const testing::TestParamInfo<OsReleaseCase>& row) { return std::string(row.param.name); });

TEST(OpenUrl, RefusesRelativeLocationsAndMissingHandlers)
{
    test::FixtureTree tree;
    platform::ToolTable tools;
    tools.xdgOpen = tree.path(QStringLiteral("no-such-opener"));
    EXPECT_FALSE(platform::openUrl(QUrl(QStringLiteral("--help")), tools));
    EXPECT_FALSE(platform::openUrl(QUrl(QStringLiteral("https://example.org/")), tools));
}

} // namespace
