#include "engine/scanners/CategoryScanner.h"
#include "platform/HomeFolder.h"
#include "platform/SteadyClock.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::CancelAfter;
using harborlite::test::FixtureTree;

namespace {

QStringList names(const QList<ScanItem>& items)
{
    QStringList result;
    for (const ScanItem& item : items) {
        result << item.displayName;
    }
    return result;
}

const CancelPredicate never = [] { return false; };

} // namespace

TEST(ItemCollection, MissingFoldersAndFilesGiveNothingAndNoProgress)
{
    FixtureTree tree;
    const QString file = tree.file("plain", 100);
    int calls = 0;
    const auto count = [&](double, qint64) { ++calls; };
    EXPECT_TRUE(CategoryScanner::items(tree.path("missing"), std::nullopt, 0, false, never, count).isEmpty());
    EXPECT_TRUE(CategoryScanner::items(file, std::nullopt, 0, false, never, count).isEmpty());
    EXPECT_TRUE(CategoryScanner::items(tree.folder("empty"), std::nullopt, 0, false, never, count).isEmpty());
    EXPECT_EQ(calls, 0);
}

TEST(ItemCollection, ListsHiddenEntriesInSizeOrderWithProgressAndSelection)
{
    FixtureTree tree;
    platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    tree.file("home/in/b-equal", 8192);
    tree.file("home/in/a-equal", 8192);
    tree.file("home/in/.hidden", 40000);
    tree.file("home/in/zero", 0);
    tree.file("home/in/folder/inner", 20000);
    tree.setTimes("home/in/a-equal", QDateTime::fromSecsSinceEpoch(1500000000, Qt::UTC));

    // The clock stands still: no report comes from inside a measurement.
    const platform::Seam<std::chrono::steady_clock::time_point>::Override still(platform::steadyClock(), {});
    QList<double> fractions;
    QList<qint64> entries;
    const QList<ScanItem> items = CategoryScanner::items(tree.path("home/in"), QStringLiteral("Home"), 0, false, never,
                                                         [&](double f, qint64 read) {
                                                             fractions << f;
                                                             entries << read;
                                                         });
    EXPECT_EQ(names(items), (QStringList{".hidden", "folder", "a-equal", "b-equal", "zero"}));
    EXPECT_EQ(fractions, (QList<double>{0.0, 0.2, 0.4, 0.6, 0.8}));
    // Entries read inside the folders measured so far: "folder" and the file in it.
    EXPECT_EQ(entries, (QList<qint64>{0, 0, 0, 0, 2}));
    for (const ScanItem& item : items) {
        EXPECT_EQ(item.origin, QStringLiteral("Home"));
        EXPECT_TRUE(item.isSelected);
        EXPECT_FALSE(item.requiresReview);
        EXPECT_FALSE(item.detail.has_value());
        EXPECT_EQ(item.size, FS::size(item.url));
    }
    EXPECT_EQ(items.at(2).modified, QDateTime::fromSecsSinceEpoch(1500000000, Qt::UTC));

    const QList<ScanItem> review = CategoryScanner::items(tree.path("home/in"), std::nullopt, 8192, true, never);
    EXPECT_EQ(names(review), (QStringList{".hidden", "folder", "a-equal", "b-equal"}));
    for (const ScanItem& item : review) {
        EXPECT_FALSE(item.isSelected);
        EXPECT_TRUE(item.requiresReview);
        EXPECT_FALSE(item.origin.has_value());
    }
}

TEST(ItemCollection, AFolderBeingMeasuredKeepsItsProgressMoving)
{
    FixtureTree tree;
    platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    const platform::Seam<std::chrono::steady_clock::time_point>::Override still(platform::steadyClock(), {});
    constexpr int files = 40;
    for (int i = 0; i < files; ++i) {
        tree.file(QStringLiteral("home/in/big/f%1").arg(i, 2, 10, QLatin1Char('0')), 100);
    }
    tree.file("home/in/small", 100);

    const auto collect = [&](std::chrono::milliseconds interval) {
        QList<std::pair<double, qint64>> reports;
        CategoryScanner::items(
            tree.path("home/in"), std::nullopt, 0, false, never,
            [&](double f, qint64 entries) {
                reports.append({f, entries});
            },
            interval);
        return reports;
    };

    // With no least time between reports, every entry read inside "big" (the
    // folder, then each file) sends one: further into its half of the folder
    // each time, never past it.
    constexpr int entriesRead = files + 1;
    const QList<std::pair<double, qint64>> moving = collect(std::chrono::milliseconds(0));
    ASSERT_EQ(moving.size(), 1 + entriesRead + 1);
    EXPECT_EQ(moving.first(), (std::pair<double, qint64>{0.0, 0}));
    for (int i = 1; i <= entriesRead; ++i) {
        EXPECT_EQ(moving[i].second, i);
        EXPECT_GT(moving[i].first, moving[i - 1].first);
        EXPECT_LT(moving[i].first, 0.5);
    }
    EXPECT_EQ(moving.last(), (std::pair<double, qint64>{0.5, entriesRead}));

    // The interval throttles them: a clock that stands still sends none.
    EXPECT_EQ(collect(ProgressMeter::interval), (QList<std::pair<double, qint64>>{{0.0, 0}, {0.5, entriesRead}}));
}

TEST(ItemCollection, EntriesTheGuardRefusesAreLeftOut)
{
    FixtureTree tree;
    platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    // Listing the home folder itself meets the Library folder, which is pinned.
    tree.file("home/Library/Caches/x", 5000);
    tree.file("home/note.txt", 100);
    EXPECT_EQ(names(CategoryScanner::items(tree.path("home"), std::nullopt, 0, false, never)), QStringList{"note.txt"});
}

TEST(ItemCollection, CancellationKeepsWhatWasCollected)
{
    FixtureTree tree;
    platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    for (int i = 0; i < 10; ++i) {
        tree.file(QStringLiteral("home/in/f%1").arg(i), 10000 * (i + 1));
    }
    // A file polls once, before it is reached; measuring it does not poll.
    CancelAfter afterThree(3);
    const QList<ScanItem> items =
        CategoryScanner::items(tree.path("home/in"), std::nullopt, 0, false, afterThree.predicate());
    EXPECT_EQ(names(items), (QStringList{"f2", "f1", "f0"}));

    // A measurement cut short still yields its item, with the partial size.
    for (int i = 0; i < 5; ++i) {
        tree.file(QStringLiteral("home/deep/folder/f%1").arg(i), 8192);
    }
    CancelAfter midWalk(4);
    const QList<ScanItem> partial =
        CategoryScanner::items(tree.path("home/deep"), std::nullopt, 0, false, midWalk.predicate());
    ASSERT_EQ(partial.size(), 1);
    EXPECT_GT(partial.first().size, 0);
    EXPECT_LT(partial.first().size, FS::size(tree.path("home/deep/folder")));
}
