#include "engine/scanners/PrivacyScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/ItemRows.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;

namespace {

const QString ellipsis = QString::fromUtf8("\u2026");
const QString dash = QString::fromUtf8(" \u2014 ");

using Row = test::ItemRow;

QList<Row> rows(const ScanGroup& group)
{
    return test::itemRows(group, [](const ScanItem& item) {
        EXPECT_FALSE(item.isSelected);
        EXPECT_TRUE(item.requiresReview);
        EXPECT_FALSE(item.detail.has_value());
    });
}

class PrivacyScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), QDateTime(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC)};

    static QString library(const QString& relative) { return "home/Library/" + relative; }
    qint64 allocated(const QString& relative) const { return FS::allocatedSize(tree.path(relative)); }
};

} // namespace

TEST_F(PrivacyScannerTest, BrowsersKeepTheLibraryFolderFirstAndTheLinuxFolderAfter)
{
    const QList<PrivacyScanner::Browser> browsers = PrivacyScanner::browsers();
    QStringList names;
    for (const PrivacyScanner::Browser& browser : browsers) {
        names.append(browser.name);
    }
    EXPECT_EQ(names, (QStringList{"Safari", "Safari Caches", "Google Chrome", "Brave", "Microsoft Edge", "Arc"}));
    EXPECT_EQ(browsers[2].roots,
              (QStringList{tree.path(library("Application Support/Google/Chrome/Default")),
                           tree.path("home/.config/google-chrome/Default")}));
    EXPECT_EQ(browsers[3].roots.last(), tree.path("home/.config/BraveSoftware/Brave-Browser/Default"));
    EXPECT_EQ(browsers[4].roots.last(), tree.path("home/.config/microsoft-edge/Default"));
    EXPECT_EQ(browsers[0].roots.size(), 1);
    EXPECT_EQ(browsers[5].roots.size(), 1);
}

TEST_F(PrivacyScannerTest, ListsBrowserFirefoxAndRecentItemTraces)
{
    const QString safari = library("Containers/com.apple.Safari/Data/Library/");
    tree.file(safari + "Safari/History.db", 3 * 4096);
    tree.file(safari + "Safari/TopSites.plist", 4096);
    tree.file(safari + "Caches/com.apple.Safari/Cache.db", 5 * 4096);
    tree.file(safari + "Caches/WebKit/blob", 4096);
    // Chrome, Brave and Edge in their Linux folders.
    const QString chrome = "home/.config/google-chrome/Default/";
    tree.file(chrome + "History", 2 * 4096);
    tree.file(chrome + "Network/Cookies", 4096);
    tree.file(chrome + "Sessions/Session_1", 4096);
    tree.file(chrome + "Top Sites", 0);
    tree.file("home/.config/BraveSoftware/Brave-Browser/Default/History", 4096);
    tree.file("outside/cookies", 7 * 4096);
    tree.symlink("home/.config/microsoft-edge/Default/Network/Cookies", tree.path("outside/cookies"));
    tree.file("home/Documents/History", 4096);
    tree.symlink("home/.config/microsoft-edge/Default/History", tree.path("home/Documents/History"));
    // Arc's profile folder is missing: its other folders count for nothing.
    tree.file(library("Application Support/Arc/User Data/Profile 1/History"), 4096);
    // Firefox: the Library's profiles, then the Linux ones.
    tree.file(library("Application Support/Firefox/Profiles/abc.default/cookies.sqlite"), 4096);
    tree.file("home/.mozilla/firefox/xyz.default-release/places.sqlite", 2 * 4096);
    tree.file("home/.mozilla/firefox/xyz.default-release/cookies.sqlite", 4096);
    tree.file("home/.mozilla/firefox/Crash Reports/events/1", 4096);
    tree.file("home/.mozilla/firefox/profiles.ini", 4096);
    tree.file("home/.mozilla/firefox/.hidden/places.sqlite", 4096);
    tree.file("outside/profile/places.sqlite", 4096);
    tree.symlink("home/.mozilla/firefox/linked.profile", tree.path("outside/profile"));
    // Recent items.
    const QString lists = library("Application Support/com.apple.sharedfilelist/");
    tree.file(lists + "com.apple.LSSharedFileList.RecentDocuments.sfl2", 4096);
    tree.file(lists + "a.sfl", 4096);
    tree.file(lists + "b.sfl3", 4096);
    tree.file(lists + "c.SFL2", 4096);
    tree.file(lists + "d.txt", 4096);
    tree.file(lists + ".hidden.sfl2", 4096);
    tree.file(library("Preferences/com.apple.LaunchServices.QuarantineEventsV2"), 2 * 4096);

    ProgressRecorder recorder;
    const CategoryResult result = PrivacyScanner().scan(recorder.callback(), [] { return false; });

    EXPECT_EQ(result.category, ScanCategory::privacy);
    ASSERT_EQ(result.groups.size(), 3);
    const ScanGroup& browsing = result.groups[0];
    EXPECT_EQ(browsing.title, "Browsing Traces");
    EXPECT_EQ(browsing.subtitle,
              QString::fromUtf8("History, cookies and session data \u2014 you will be signed out of sites"));
    EXPECT_EQ(browsing.symbol, "network");
    EXPECT_TRUE(browsing.isOptIn);
    EXPECT_FALSE(browsing.isExpanded);
    const qint64 link = allocated("home/.config/microsoft-edge/Default/Network/Cookies");
    QList<Row> expected = {
        {"Safari" + dash + "Browsing history", "Safari", 3 * 4096},
        {"Safari" + dash + "Top sites", "Safari", 4096},
        {"Safari Caches" + dash + "Cache storage", "Safari Caches", 6 * 4096},
        {"Google Chrome" + dash + "Browsing history", "Google Chrome", 2 * 4096},
        {"Google Chrome" + dash + "Cookies", "Google Chrome", 4096},
        {"Google Chrome" + dash + "Session storage", "Google Chrome", 4096},
        {"Google Chrome" + dash + "Top sites", "Google Chrome", 0},
        {"Brave" + dash + "Browsing history", "Brave", 4096},
        {"Microsoft Edge" + dash + "Cookies", "Microsoft Edge", link},
    };
    std::stable_sort(expected.begin(), expected.end(), [](const Row& a, const Row& b) { return a.size > b.size; });
    EXPECT_EQ(rows(browsing), expected);
    EXPECT_LT(link, 7 * 4096);
    EXPECT_EQ(browsing.items[0].url, tree.path(safari + "Caches"));

    const ScanGroup& firefox = result.groups[1];
    EXPECT_EQ(firefox.title, "Firefox Profiles");
    EXPECT_EQ(firefox.subtitle, "Per-profile history and cookie stores");
    EXPECT_EQ(firefox.symbol, "flame");
    EXPECT_TRUE(firefox.isOptIn);
    EXPECT_EQ(rows(firefox),
              (QList<Row>{
                  {"abc.default" + dash + "Cookies", "Firefox", 4096},
                  {"xyz.default-release" + dash + "History & bookmarks index", "Firefox", 2 * 4096},
                  {"xyz.default-release" + dash + "Cookies", "Firefox", 4096},
              }));

    const ScanGroup& recent = result.groups[2];
    EXPECT_EQ(recent.title, "Recent Items");
    EXPECT_EQ(recent.subtitle, "Recently opened file lists across the system");
    EXPECT_EQ(recent.symbol, "clock.arrow.circlepath");
    EXPECT_TRUE(recent.isOptIn);
    EXPECT_EQ(rows(recent),
              (QList<Row>{
                  {".hidden", "Recent items list", 4096},
                  {"a", "Recent items list", 4096},
                  {"b", "Recent items list", 4096},
                  {"com.apple.LSSharedFileList.RecentDocuments", "Recent items list", 4096},
                  {"Download history", "LaunchServices quarantine log", 2 * 4096},
              }));

    const qint64 browserBytes = 15 * 4096 + link;
    const QList<ScanProgress> reports = recorder.reports();
    const QStringList browsers = {"Safari", "Safari Caches", "Google Chrome", "Brave", "Microsoft Edge", "Arc"};
    ASSERT_EQ(reports.size(), 10);
    EXPECT_EQ(reports[0].fraction, 0.1);
    EXPECT_EQ(reports[0].message, "Checking browsers" + ellipsis);
    for (int i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(reports[1 + i].fraction, 0.1 + i * 0.4 / 6);
        EXPECT_EQ(reports[1 + i].message, "Checking " + browsers[i] + ellipsis);
        EXPECT_EQ(reports[1 + i].bytesFound, 0);
    }
    EXPECT_EQ(reports[7].fraction, 0.5);
    EXPECT_EQ(reports[7].message, "Checking Firefox profiles" + ellipsis);
    EXPECT_EQ(reports[7].bytesFound, browserBytes);
    EXPECT_EQ(reports[8].fraction, 0.75);
    EXPECT_EQ(reports[8].message, "Checking recent item lists" + ellipsis);
    EXPECT_EQ(reports[8].bytesFound, browserBytes);
    EXPECT_EQ(reports[9].fraction, 1.0);
    EXPECT_EQ(reports[9].message, "Privacy scan complete");
    EXPECT_EQ(reports[9].bytesFound, browserBytes + 4 * 4096 + 6 * 4096);
}

TEST_F(PrivacyScannerTest, NothingToFindGivesNoGroups)
{
    tree.file("home/.mozilla/firefox", 4096);
    tree.file(library("Application Support/com.apple.sharedfilelist"), 4096);

    ProgressRecorder recorder;
    const CategoryResult result = PrivacyScanner().scan(recorder.callback(), [] { return false; });

    EXPECT_TRUE(result.groups.isEmpty());
    EXPECT_EQ(recorder.reports().last().message, "Privacy scan complete");
    EXPECT_EQ(recorder.reports().last().bytesFound, 0);
}

TEST_F(PrivacyScannerTest, CancellingStillChecksTheQuarantineLogAndReports)
{
    tree.file("home/.config/google-chrome/Default/History", 2 * 4096);
    tree.file("home/.mozilla/firefox/xyz.default/places.sqlite", 4096);
    tree.file(library("Application Support/com.apple.sharedfilelist/a.sfl2"), 4096);
    tree.file(library("Preferences/com.apple.LaunchServices.QuarantineEventsV2"), 4096);
    bool stop = false;
    ProgressRecorder recorder;
    const auto progress = [&](const ScanProgress& p) {
        stop = stop || p.message == "Checking Brave" + ellipsis;
        recorder.callback()(p);
    };
    const CategoryResult result = PrivacyScanner().scan(progress, [&] { return stop; });

    ASSERT_EQ(result.groups.size(), 2);
    EXPECT_EQ(rows(result.groups[0]),
              (QList<Row>{{"Google Chrome" + dash + "Browsing history", "Google Chrome", 2 * 4096}}));
    EXPECT_EQ(rows(result.groups[1]), (QList<Row>{{"Download history", "LaunchServices quarantine log", 4096}}));
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 8);
    EXPECT_EQ(reports.last().message, "Privacy scan complete");
    EXPECT_EQ(reports.last().bytesFound, 3 * 4096);
}
