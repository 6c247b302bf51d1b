#include "engine/scanners/DownloadedMediaScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;

namespace {

const QDateTime kNow(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);

const QString kPodcasts = "home/Library/Group Containers/243LU875E5.groups.com.apple.podcasts/Library/Cache";
const QString kTv = "home/Movies/TV/Media/Downloads";

QStringList titles(const CategoryResult& result)
{
    QStringList list;
    for (const ScanGroup& group : result.groups) {
        list.append(group.title);
    }
    return list;
}

QStringList names(const ScanGroup& group)
{
    QStringList list;
    for (const ScanItem& item : group.items) {
        list.append(item.displayName);
    }
    return list;
}

class DownloadedMediaScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), kNow};

    CategoryResult scan(
        qint64 minimumSize, ProgressRecorder& recorder, const CancelPredicate& isCancelled = [] { return false; })
    {
        return DownloadedMediaScanner(minimumSize).scan(recorder.callback(), isCancelled);
    }
};

} // namespace

TEST_F(DownloadedMediaScannerTest, ListedChildrenBelowTheMinimumAreLeftOut)
{
    tree.file(kTv + "/Film.m4v", 200000);
    tree.file(kTv + "/Trailer.m4v", 5000);
    tree.file(kTv + "/.hidden.m4v", 300000);
    tree.setTimes(kTv + "/Film.m4v", kNow.addDays(-3));

    ProgressRecorder recorder;
    const CategoryResult result = scan(100000, recorder);

    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "TV & Movie Downloads");
    EXPECT_EQ(group.subtitle, "Offline copies of purchases and rentals");
    EXPECT_EQ(group.symbol, "tv");
    EXPECT_TRUE(group.isOptIn);
    EXPECT_FALSE(group.isExpanded);
    ASSERT_EQ(names(group), QStringList{"Film.m4v"});
    const ScanItem& item = group.items[0];
    EXPECT_EQ(item.origin, "~/Movies/TV/Media/Downloads");
    EXPECT_EQ(item.size, FS::allocatedSize(tree.path(kTv + "/Film.m4v")));
    EXPECT_EQ(item.modified, kNow.addDays(-3));
    EXPECT_EQ(item.detail, "Re-downloads from your library");
    EXPECT_TRUE(item.requiresReview);
    EXPECT_FALSE(item.isSelected);
    EXPECT_EQ(recorder.reports().last().message, "Media scan complete");
    EXPECT_EQ(recorder.reports().last().bytesFound, item.size);
}

TEST_F(DownloadedMediaScannerTest, AWholeLocationAtExactlyTheMinimumIsOneItem)
{
    tree.file(kPodcasts + "/episode.mp3", 30000);
    tree.file(kPodcasts + "/more/episode2.mp3", 30000);
    const qint64 size = FS::size(tree.path(kPodcasts));

    ProgressRecorder recorder;
    const CategoryResult result = scan(size, recorder);
    ASSERT_EQ(titles(result), QStringList{"Podcast Episodes"});
    EXPECT_EQ(names(result.groups[0]), QStringList{"Cache"});
    EXPECT_EQ(result.groups[0].items[0].detail, "Streams again on demand");
    EXPECT_EQ(result.groups[0].symbol, "mic");

    EXPECT_TRUE(scan(size + 1, recorder).groups.isEmpty());
}

TEST_F(DownloadedMediaScannerTest, NothingPresentGivesOneReportPerSource)
{
    ProgressRecorder recorder;
    const CategoryResult result = scan(1, recorder);

    EXPECT_TRUE(result.groups.isEmpty());
    QStringList messages;
    QList<double> fractions;
    for (const ScanProgress& p : recorder.reports()) {
        messages.append(p.message);
        fractions.append(p.fraction);
    }
    EXPECT_EQ(messages,
              (QStringList{QString::fromUtf8("Checking Podcast Episodes\u2026"),
                           QString::fromUtf8("Checking TV & Movie Downloads\u2026"),
                           QString::fromUtf8("Checking Music Downloads\u2026"),
                           QString::fromUtf8("Checking Photo Caches\u2026"),
                           QString::fromUtf8("Checking Books & Audiobooks\u2026"), "No downloaded media found"}));
    const QList<double> expected = {0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
    ASSERT_EQ(fractions.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(fractions[i], expected[i], 1e-9) << i;
    }
}

TEST_F(DownloadedMediaScannerTest, SourcesKeepTheirOrderAndTotalsGrowPerSource)
{
    tree.file(kPodcasts + "/small.mp3", 20000);
    tree.file(kTv + "/Huge.m4v", 400000);
    tree.file("home/Library/Caches/com.apple.Music/track.m4a", 50000);
    tree.file("home/Pictures/iPod Photo Cache/thumbs", 20000);
    // Inside a folder the guard protects, whoever asks.
    tree.file("home/Library/Application Support/MobileSync/iOS Photo Cache/cache", 900000);

    ProgressRecorder recorder;
    const CategoryResult result = scan(1, recorder);

    ASSERT_EQ(titles(result),
              (QStringList{"Podcast Episodes", "TV & Movie Downloads", "Music Downloads", "Photo Caches"}));
    EXPECT_EQ(names(result.groups[3]), QStringList{"iPod Photo Cache"});
    EXPECT_EQ(result.groups[3].items[0].detail, "Photos rebuilds this");
    const qint64 podcasts = result.groups[0].items[0].size;
    const qint64 tv = result.groups[1].items[0].size;
    // The reports while checking a source do not yet count its own items.
    for (const ScanProgress& p : recorder.reports()) {
        if (p.message.startsWith("Checking TV")) {
            EXPECT_EQ(p.bytesFound, podcasts);
        }
        if (p.message.startsWith("Checking Music")) {
            EXPECT_EQ(p.bytesFound, podcasts + tv);
        }
    }
    EXPECT_EQ(recorder.reports().last().bytesFound, result.totalSize());
}

TEST_F(DownloadedMediaScannerTest, CancellingKeepsTheCurrentSourcesItems)
{
    tree.file(kTv + "/A.m4v", 30000);
    tree.file(kTv + "/B.m4v", 20000);
    tree.file("home/Library/Caches/com.apple.Music/track.m4a", 50000);
    int polls = 0;

    ProgressRecorder recorder;
    // Polled before each source, before each existing location and before each child.
    const CategoryResult result = scan(1, recorder, [&] { return ++polls > 4; });

    ASSERT_EQ(titles(result), QStringList{"TV & Movie Downloads"});
    EXPECT_EQ(names(result.groups[0]), QStringList{"A.m4v"});
    EXPECT_EQ(recorder.reports().last().message, "Media scan complete");
}
