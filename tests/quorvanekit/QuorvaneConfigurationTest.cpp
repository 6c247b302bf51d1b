#include "quorvanekit/QuorvaneConfiguration.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

struct FeedCase {
    const char* slug;
    const char* site;
    const char* feed;
};

void PrintTo(const FeedCase& row, std::ostream* os)
{
    *os << row.slug << " on " << row.site;
}

class FeedLocation : public testing::TestWithParam<FeedCase> { };

TEST_P(FeedLocation, AppendsTheComponentsAfterTheSitesOwnPath)
{
    const FeedCase& row = GetParam();
    const QuorvaneConfiguration configuration(QString::fromUtf8(row.slug), QUrl(QString::fromUtf8(row.site)));
    EXPECT_EQ(configuration.updateFeedURL().toString().toStdString(), row.feed);
}

INSTANTIATE_TEST_SUITE_P(Sites, FeedLocation,
                         testing::Values(FeedCase{"harborlite", "https://updates.example.org",
                                                  "https://updates.example.org/api/v1/apps/harborlite/latest.json"},
                                         FeedCase{"harborlite", "https://updates.example.org/",
                                                  "https://updates.example.org/api/v1/apps/harborlite/latest.json"},
                                         FeedCase{"harborlite", "https://example.org/updates",
                                                  "https://example.org/updates/api/v1/apps/harborlite/latest.json"},
                                         FeedCase{"harborlite", "http://127.0.0.1:8080/base/",
                                                  "http://127.0.0.1:8080/base/api/v1/apps/harborlite/latest.json"},
                                         FeedCase{"HarborLite", "https://updates.example.org",
                                                  "https://updates.example.org/api/v1/apps/harborlite/latest.json"}));

TEST(QuorvaneConfiguration, StoresTheSlugLowerCased)
{
    const QuorvaneConfiguration configuration(QStringLiteral("HarborLite"), QUrl(QStringLiteral("https://a.example")));
    EXPECT_EQ(configuration.appSlug, QStringLiteral("harborlite"));
    EXPECT_EQ(configuration,
              QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl(QStringLiteral("https://a.example"))));
    EXPECT_NE(configuration,
              QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl(QStringLiteral("https://b.example"))));
}

TEST(QuorvaneConfiguration, TheApplicationAsksTheBuildsUpdateServer)
{
    const QuorvaneConfiguration& configuration = QuorvaneConfiguration::harborlite();
    EXPECT_EQ(configuration.appSlug, QStringLiteral("harborlite"));
    EXPECT_EQ(configuration.siteURL, QuorvaneConfiguration::defaultSiteURL());
    // A build names a real server or none at all, never a placeholder.
    EXPECT_NE(configuration.siteURL.host(), QStringLiteral("updates.harborlite.invalid"));
    if (!configuration.siteURL.isEmpty()) {
        EXPECT_FALSE(configuration.siteURL.host().isEmpty());
    }
    EXPECT_TRUE(configuration.updateFeedURL().path().endsWith(QLatin1String("/api/v1/apps/harborlite/latest.json")));
}

} // namespace
