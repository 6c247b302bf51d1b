#include "engine/scanners/DeviceBackupsScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "support/FixtureTree.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;

namespace {

const QDateTime kNow(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);
const QDateTime kBackedUp(QDate(2024, 5, 20), QTime(10, 0), Qt::UTC);

QByteArray infoList(const QString& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict>"
        + entries.toUtf8() + "</dict></plist>\n";
}

QStringList names(const ScanGroup& group)
{
    QStringList list;
    for (const ScanItem& item : group.items) {
        list.append(item.displayName);
    }
    return list;
}

QStringList messages(const ProgressRecorder& recorder)
{
    QStringList list;
    for (const ScanProgress& p : recorder.reports()) {
        list.append(p.message);
    }
    return list;
}

class DeviceBackupsScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), kNow};

    // Backups kept in a folder the guard allows, so their items can be seen.
    DeviceBackupsScanner scanner() const
    {
        DeviceBackupsScanner::Locations locations;
        locations.backupRoots = QStringList{tree.path("home/Backups")};
        return DeviceBackupsScanner(locations);
    }
};

} // namespace

TEST_F(DeviceBackupsScannerTest, NothingFoundGivesThreeReports)
{
    ProgressRecorder recorder;
    const CategoryResult result = DeviceBackupsScanner().scan(recorder.callback(), [] { return false; });

    EXPECT_EQ(result.category, ScanCategory::deviceBackups);
    EXPECT_TRUE(result.groups.isEmpty());
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_EQ(reports[0].message, QString::fromUtf8("Looking for device backups\u2026"));
    EXPECT_EQ(reports[0].fraction, 0.1);
    EXPECT_EQ(reports[1].message, QString::fromUtf8("Looking for device software updates\u2026"));
    EXPECT_EQ(reports[1].fraction, 0.7);
    EXPECT_EQ(reports[2].message, "No device backups found");
    EXPECT_EQ(reports[2].fraction, 1.0);
    EXPECT_EQ(reports[2].bytesFound, 0);
}

TEST_F(DeviceBackupsScannerTest, BackupsAreNamedAndDescribedFromTheirInfoList)
{
    tree.file("home/Backups/aaa/Info.plist",
              infoList("<key>Device Name</key><string>Ada's phone</string>"
                       "<key>Product Name</key><string>iPhone 15</string>"));
    tree.file("home/Backups/aaa/data", 40000);
    tree.file("home/Backups/bbb/data", 30000);
    tree.setTimes("home/Backups/bbb", kNow.addDays(-9));
    tree.file("home/Backups/ccc/Info.plist",
              infoList("<key>Last Backup Date</key><date>2024-05-20T10:00:00Z</date>"
                       "<key>Device Name</key><integer>7</integer>"));
    tree.file("home/Backups/ccc/data", 20000);
    tree.file("home/Backups/ddd/Info.plist", "<plist><dict><key>Device Name</key><string>cut off");
    tree.file("home/Backups/ddd/data", 10000);
    tree.file("home/Backups/eee/Info.plist",
              infoList("<key>Product Name</key><string>iPad Air</string>"
                       "<key>Last Backup Date</key><date>2024-05-20T10:00:00Z</date>"));
    tree.file("home/Backups/eee/data", 5000);
    tree.folder("home/Backups/empty");
    tree.file("home/Backups/loose-file", 50000);

    ProgressRecorder recorder;
    const CategoryResult result = scanner().scan(recorder.callback(), [] { return false; });

    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "Device Backups");
    EXPECT_EQ(group.subtitle, "Full iPhone and iPad backups stored on this Mac");
    EXPECT_EQ(group.symbol, "iphone.gen3");
    EXPECT_TRUE(group.isOptIn);
    EXPECT_FALSE(group.isExpanded);
    ASSERT_EQ(names(group), (QStringList{"Ada's phone", "bbb", "ccc", "ddd", "eee"}));
    const QString relative = Format::relativeDate(kBackedUp);
    EXPECT_EQ(group.items[0].detail, "iPhone 15");
    EXPECT_EQ(group.items[1].detail, "Local backup of a device");
    EXPECT_EQ(group.items[1].modified, kNow.addDays(-9));
    EXPECT_EQ(group.items[2].detail, "last backed up " + relative);
    EXPECT_EQ(group.items[2].modified, kBackedUp);
    EXPECT_EQ(group.items[3].detail, "Local backup of a device");
    EXPECT_EQ(group.items[4].detail, QString::fromUtf8("iPad Air \u00b7 last backed up ") + relative);
    for (const ScanItem& item : group.items) {
        EXPECT_EQ(item.origin, "~/Backups");
        EXPECT_EQ(item.size, FS::size(item.url));
        EXPECT_TRUE(item.requiresReview);
        EXPECT_FALSE(item.isSelected);
    }

    // Seven entries, the loose file included; the empty backup measured and left out.
    QStringList measuring;
    QList<double> fractions;
    for (const ScanProgress& p : recorder.reports()) {
        if (p.message.startsWith("Measuring")) {
            measuring.append(p.message);
            fractions.append(p.fraction);
        }
    }
    EXPECT_EQ(measuring.size(), 6);
    EXPECT_EQ(measuring.first(), QString::fromUtf8("Measuring backup 1 of 7\u2026"));
    EXPECT_EQ(measuring.last(), QString::fromUtf8("Measuring backup 6 of 7\u2026"));
    EXPECT_NEAR(fractions[1], 0.1 + 0.5 / 7.0, 1e-9);
    EXPECT_EQ(recorder.reports().last().message, "Backup scan complete");
    EXPECT_EQ(recorder.reports().last().bytesFound, result.totalSize());
}

TEST_F(DeviceBackupsScannerTest, BackupsInTheProtectedSyncFolderStayUnlisted)
{
    tree.file("home/Library/Application Support/MobileSync/Backup/abc/data", 40000);
    tree.file("home/Library/iTunes/iPhone Software Updates/iPhone_Restore.ipsw", 30000);
    tree.setTimes("home/Library/iTunes/iPhone Software Updates/iPhone_Restore.ipsw", kNow.addDays(-2));
    tree.file("home/Library/iTunes/iPad Software Updates/iPad_Restore.ipsw", 60000);

    ProgressRecorder recorder;
    const CategoryResult result = DeviceBackupsScanner().scan(recorder.callback(), [] { return false; });

    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "Device Software Updates");
    EXPECT_EQ(group.subtitle, "iOS and iPadOS restore images kept after an update");
    EXPECT_EQ(group.symbol, "arrow.down.circle");
    EXPECT_TRUE(group.isOptIn);
    ASSERT_EQ(names(group), (QStringList{"iPad_Restore.ipsw", "iPhone_Restore.ipsw"}));
    EXPECT_EQ(group.items[1].origin, "~/Library/iTunes/iPhone Software Updates");
    EXPECT_EQ(group.items[1].detail, "Downloaded again when a device needs it");
    EXPECT_EQ(group.items[1].modified, kNow.addDays(-2));
    EXPECT_FALSE(messages(recorder).join("|").contains("Measuring"));
}

TEST_F(DeviceBackupsScannerTest, CancellingWhileMeasuringEndsTheScanWithoutFurtherReports)
{
    tree.file("home/Backups/one/data", 40000);
    tree.file("home/Backups/two/data", 40000);
    tree.file("home/Library/iTunes/iPhone Software Updates/iPhone_Restore.ipsw", 30000);
    std::atomic<bool> stop = false;
    ProgressRecorder recorder;
    const auto record = recorder.callback();
    const CategoryResult result = scanner().scan(
        [&](const ScanProgress& p) {
            record(p);
            if (p.message.startsWith("Measuring backup 1")) {
                stop = true;
            }
        },
        [&] { return stop.load(); });

    // The measurement under way stops at once, so the first backup counts nothing.
    EXPECT_TRUE(result.groups.isEmpty());
    EXPECT_EQ(messages(recorder),
              (QStringList{QString::fromUtf8("Looking for device backups\u2026"),
                           QString::fromUtf8("Measuring backup 1 of 2\u2026")}));
}
