#include "engine/scanners/LeftoversScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "support/FixtureTree.h"
#include "support/ItemRows.h"
#include "support/PlistFixtures.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::CancelAfter;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;

namespace {

const QString ellipsis = QString::fromUtf8("\u2026");
const QDateTime now(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);

AppCatalog::Identity identity(const QStringList& identifiers, const QStringList& names = {})
{
    AppCatalog::Identity result;
    result.identifiers = QSet<QString>(identifiers.begin(), identifiers.end());
    result.identifiers.insert("com.apple");
    result.names = QSet<QString>(names.begin(), names.end());
    return result;
}

using Row = test::DetailedItemRow;

QList<Row> rows(const ScanGroup& group)
{
    return test::detailedItemRows(group, [](const ScanItem& item) {
        EXPECT_FALSE(item.isSelected);
        EXPECT_TRUE(item.requiresReview);
    });
}

class LeftoversScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), now};

    LeftoversScanner scanner() const { return LeftoversScanner(AppCatalog({tree.path("apps")}, tree.path("shared"))); }

    // A folder of the Library holding `blocks` blocks, changed two days ago.
    void entry(const QString& relative, int blocks = 1)
    {
        tree.file("home/Library/" + relative + "/data", blocks * 4096);
        tree.setTimes("home/Library/" + relative, now.addDays(-2));
    }
};

} // namespace

TEST(LeftoversRules, NormalizeDropsTeamAndGroupPrefixes)
{
    const QList<std::pair<QString, QString>> cases = {
        {"ABCDE12345.com.example.shared", "com.example.shared"},
        {"abcde12345.com.example.shared", "abcde12345.com.example.shared"},
        {"ABCDE1234.com.example.shared", "ABCDE1234.com.example.shared"},
        {"ABCDE123456.com.example.shared", "ABCDE123456.com.example.shared"},
        {"ÄBCDE12345.com.example.shared", "com.example.shared"},
        {"ABCDE12345", "ABCDE12345"},
        {"group.com.example.app", "com.example.app"},
        {"groups.com.example.app", "com.example.app"},
        {"ABCDE12345.group.com.example.app", "com.example.app"},
        {"group.groups.com.example.app", "groups.com.example.app"},
        {"com.example.app", "com.example.app"},
        {"", ""},
    };
    for (const auto& [identifier, normalized] : cases) {
        EXPECT_EQ(LeftoversScanner::normalize(identifier), normalized) << identifier.toStdString();
    }
}

TEST(LeftoversRules, AnEntryIsAnOrphanOnlyWhenNothingClaimsIt)
{
    const AppCatalog::Identity installed = identity({"com.example.editor", "Com.Upper.Editor"}, {"my.writer.app"});
    const QList<std::pair<QString, bool>> cases = {
        {"org.example.other", true},
        {"com.example.editor", false},
        {"com.example.editor.agent", false},
        {"com.example.other", false},
        {"com.example", false},
        {"com.exampl.x", false},
        {"com.apple.Safari", false},
        {".com.hidden.thing", false},
        {"crashreporter", false},
        {"BRAVESOFTWARE", false},
        {"org.example.with space", false},
        {"My.Writer.App", false},
        {"com.upper.editor", true},
        {"group.org.example.other", true},
        {"ABCDE12345.org.example.other", true},
        {"org..example", false},
    };
    for (const auto& [identifier, orphan] : cases) {
        EXPECT_EQ(LeftoversScanner::isOrphan(identifier, installed), orphan) << identifier.toStdString();
    }
}

TEST_F(LeftoversScannerTest, ListsUnclaimedEntriesOfTheSevenFoldersInOneOptInGroup)
{
    ASSERT_TRUE(test::writeBundle(tree.path("apps/Editor.app"), {{"CFBundleIdentifier", "com.example.editor"}}));
    entry("Application Support/org.example.gone", 3);
    entry("Application Support/com.example.editor.helper");
    entry("Application Support/com.apple.sharedfilelist");
    entry("Application Support/Google");
    entry("Containers/org.example.gone.sandboxed", 2);
    entry("Group Containers/ABCDE12345.org.example.shared");
    entry("Saved Application State/org.example.viewer.savedState");
    entry("HTTPStorages/org.example.web");
    entry("Application Scripts/org.example.script");
    entry("WebKit/org.example.kit");
    entry("Caches/org.example.cached");
    tree.folder("home/Library/WebKit/org.example.empty");
    tree.file("home/Library/Application Support/.org.example.hidden/data", 4096);
    // A link out of the folder counts as itself; one into a personal folder is refused.
    tree.file("outside/big", 10 * 4096);
    tree.symlink("home/Library/Containers/org.example.link", tree.path("outside"));
    tree.file("home/Documents/report.txt", 4096);
    tree.symlink("home/Library/Containers/org.example.documents", tree.path("home/Documents"));
    entry("HTTPStorages/org.example.new\nline");

    ProgressRecorder recorder;
    const CategoryResult result = scanner().scan(recorder.callback(), [] { return false; });

    EXPECT_EQ(result.category, ScanCategory::leftovers);
    EXPECT_EQ(result.scannedAt, now);
    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "Orphaned Support Files");
    EXPECT_EQ(group.subtitle,
              QString::fromUtf8("No installed application claims these folders \u2014 review before removing"));
    EXPECT_EQ(group.symbol, "shippingbox");
    EXPECT_TRUE(group.isOptIn);
    EXPECT_FALSE(group.isExpanded);
    const QString twoDays = "Last changed 2 days ago";
    const qint64 link = FS::allocatedSize(tree.path("home/Library/Containers/org.example.link"));
    QList<Row> expected = {
        {"org.example.gone", "Library/Application Support", 3 * 4096, twoDays},
        {"org.example.gone.sandboxed", "Library/Containers", 2 * 4096, twoDays},
        {"ABCDE12345.org.example.shared", "Library/Group Containers", 4096, twoDays},
        {"org.example.viewer", "Library/Saved Application State", 4096, twoDays},
        {"org.example.new\nline", "Library/HTTPStorages", 4096, twoDays},
        {"org.example.web", "Library/HTTPStorages", 4096, twoDays},
        {"org.example.script", "Library/Application Scripts", 4096, twoDays},
        {"org.example.kit", "Library/WebKit", 4096, twoDays},
    };
    if (link > 0) {
        const QString changed =
            Format::relativeDate(*FS::modificationDate(tree.path("home/Library/Containers/org.example.link")));
        expected.insert(2, {"org.example.link", "Library/Containers", link, "Last changed " + changed});
    }
    std::stable_sort(expected.begin(), expected.end(), [](const Row& a, const Row& b) { return a.size > b.size; });
    EXPECT_EQ(rows(group), expected);
    for (const ScanItem& item : group.items) {
        if (item.displayName == "org.example.viewer") {
            EXPECT_EQ(item.url, tree.path("home/Library/Saved Application State/org.example.viewer.savedState"));
        }
    }

    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 9);
    EXPECT_EQ(reports[0].message, "Listing installed applications" + ellipsis);
    EXPECT_EQ(reports[0].fraction, 0.05);
    EXPECT_EQ(reports[1].message, "Checking Application Support" + ellipsis);
    EXPECT_EQ(reports[1].fraction, 0.1);
    EXPECT_EQ(reports[2].message, "Checking Containers" + ellipsis);
    EXPECT_DOUBLE_EQ(reports[2].fraction, 0.1 + 0.85 / 7);
    EXPECT_EQ(reports[2].bytesFound, 3 * 4096);
    EXPECT_EQ(reports[7].message, "Checking WebKit" + ellipsis);
    EXPECT_EQ(reports[8].message, "Leftovers scan complete");
    EXPECT_EQ(reports[8].fraction, 1.0);
    EXPECT_EQ(reports[8].bytesFound, result.totalSize());
}

TEST_F(LeftoversScannerTest, NothingOrphanedGivesNoGroupsAndStillFinishes)
{
    entry("Application Support/com.apple.TextEdit");
    tree.file("home/Library/Containers", 4096);

    ProgressRecorder recorder;
    const CategoryResult result = scanner().scan(recorder.callback(), [] { return false; });

    EXPECT_TRUE(result.groups.isEmpty());
    EXPECT_EQ(recorder.reports().last().message, "Leftovers scan complete");
    EXPECT_EQ(recorder.reports().last().bytesFound, 0);
}

TEST_F(LeftoversScannerTest, CancellingBetweenFoldersKeepsTheEarlierFolders)
{
    entry("Application Support/org.example.small");
    entry("Application Support/org.example.large", 2);
    entry("Containers/org.example.later", 4);
    bool stop = false;
    ProgressRecorder recorder;
    const auto progress = [&](const ScanProgress& p) {
        stop = stop || p.message == "Checking Containers" + ellipsis;
        recorder.callback()(p);
    };
    const CategoryResult result = scanner().scan(progress, [&] { return stop; });

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_TRUE(result.groups[0].isOptIn);
    EXPECT_EQ(rows(result.groups[0]),
              (QList<Row>{{"org.example.large", "Library/Application Support", 2 * 4096, "Last changed 2 days ago"},
                          {"org.example.small", "Library/Application Support", 4096, "Last changed 2 days ago"}}));
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 4);
    EXPECT_EQ(reports[3].message, "Leftovers scan complete");
    EXPECT_EQ(reports[3].bytesFound, 3 * 4096);
}
