#include "support/QtPrinters.h"
#include "engine/services/LocalSnapshots.h"
#include "engine/services/StorageBreakdown.h"
#include "shared/FileSystem.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

QByteArray plist(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

const QByteArray apfsInfo = plist("<dict><key>APFSContainerReference</key><string>disk3</string></dict>");

QByteArray volume(const QByteArray& name, const QByteArray& roles, const QByteArray& used)
{
    return "<dict>" + (name.isEmpty() ? QByteArray() : "<key>Name</key><string>" + name + "</string>")
        + (roles.isNull() ? QByteArray() : "<key>Roles</key><array>" + roles + "</array>")
        + (used.isEmpty() ? QByteArray() : "<key>CapacityInUse</key><integer>" + used + "</integer>") + "</dict>";
}

// A diskutil that answers "info" from diskutil.info and "apfs list" from
// diskutil.list, and a tmutil printing tmutil.out.
class StorageBreakdownTest : public ::testing::Test {
protected:
    StorageBreakdownTest()
    {
        tools.diskutil = test::writeFakeTool(tree.root(), "diskutil",
                                             "case \"$1\" in info) cat \"$0.info\";; apfs) cat \"$0.list\";; esac");
        tools.tmutil = test::writeFakeTool(tree.root(), "tmutil", "touch \"$0.ran\"; cat \"$0.out\" 2>/dev/null");
        tree.file("diskutil.info", apfsInfo);
        tree.file("tmutil.out", "Snapshots for disk /:\ncom.apple.TimeMachine.2024-01-01-000000.local\n"
                                "com.apple.TimeMachine.2024-01-02-000000.local\nother.snapshot\n");
    }

    void listing(const QByteArray& containerBody)
    {
        tree.file("diskutil.list", plist("<dict><key>Containers</key><array>"
                                         "<dict><key>ContainerReference</key><string>disk1</string>"
                                         "<key>CapacityCeiling</key><integer>1</integer></dict>"
                                         "<dict><key>ContainerReference</key><string>disk3</string>"
                                         + containerBody + "</dict></array></dict>"));
    }

    FixtureTree tree;
    platform::ToolTable tools;
};

} // namespace

TEST_F(StorageBreakdownTest, ContainerVolumesLargestFirstWithTheirTexts)
{
    listing("<key>CapacityCeiling</key><integer>500000000000</integer>"
            "<key>CapacityFree</key><integer>200000000000</integer>"
            "<key>Volumes</key><array>"
            + volume("Macintosh HD", "<string>System</string>", "10000000000")
            + volume("Data", "<string>Data</string><string>User</string>", "250000000000")
            + volume("VM", "<string>VM</string>", "10000000000") + volume("", QByteArray(), "") + "</array>");

    const StorageBreakdown breakdown = StorageBreakdown::measure("/", tools);
    EXPECT_EQ(breakdown.capacity, 500000000000);
    EXPECT_EQ(breakdown.free, 200000000000);
    EXPECT_EQ(breakdown.snapshotCount, 2);
    EXPECT_EQ(breakdown.purgeable, 0);
    ASSERT_EQ(breakdown.volumes.size(), 4);
    EXPECT_EQ(breakdown.volumes[0], (StorageBreakdown::Volume{"Data", "Data", 250000000000}));
    EXPECT_EQ(breakdown.volumes[0].title(), "Your files");
    EXPECT_EQ(breakdown.volumes[1].id(), "Macintosh HDSystem");
    EXPECT_EQ(breakdown.volumes[1].title(), "macOS system");
    EXPECT_EQ(breakdown.volumes[2].title(), "Swap & sleep image");
    EXPECT_EQ(breakdown.volumes[3], (StorageBreakdown::Volume{"Untitled", "", 0}));
    EXPECT_EQ(breakdown.volumes[3].title(), "Untitled");
    EXPECT_EQ(breakdown.volumes[3].detail(), "APFS volume in the same container");
    EXPECT_EQ(test::recordedArguments(tools.diskutil), (QStringList{"apfs", "list", "-plist"}));
}

TEST_F(StorageBreakdownTest, MissingCeilingStillListsTheVolumes)
{
    listing("<key>Volumes</key><array>" + volume("A", "<string>Preboot</string>", "5") + "</array>");
    const StorageBreakdown breakdown = StorageBreakdown::measure("/", tools);
    EXPECT_EQ(breakdown.capacity, 0);
    EXPECT_EQ(breakdown.free, 0);
    ASSERT_EQ(breakdown.volumes.size(), 1);
    EXPECT_EQ(breakdown.volumes[0].detail(), "Boot support for each volume in the container");
}

TEST_F(StorageBreakdownTest, EveryFailureFallsBackToTheVolumesCapacity)
{
    // Free space moves while the test runs; the rest is fixed.
    const auto isFallback = [this](const StorageBreakdown& breakdown) {
        return breakdown.capacity == FS::volumeCapacity(tree.root()).total && breakdown.free > 0
            && breakdown.volumes.isEmpty() && breakdown.purgeable == 0 && breakdown.snapshotCount == 0;
    };
    struct Row {
        const char* what;
        QByteArray info;
        QByteArray list;
    };
    const Row rows[] = {
        {"not on APFS", plist("<dict><key>Content</key><string>Linux</string></dict>"), ""},
        {"info not a list", "garbage", ""},
        {"info an array", plist("<array><string>disk3</string></array>"), ""},
        {"no such container", apfsInfo, plist("<dict><key>Containers</key><array></array></dict>")},
        {"containers not dictionaries", apfsInfo, plist("<dict><key>Containers</key><array><string>x</string></array></dict>")},
        {"listing broken", apfsInfo, "<plist"},
    };
    for (const Row& row : rows) {
        tree.file("diskutil.info", row.info);
        tree.file("diskutil.list", row.list);
        EXPECT_TRUE(isFallback(StorageBreakdown::measure(tree.root(), tools))) << row.what;
    }

    platform::ToolTable absent = tools;
    absent.diskutil = tree.path("missing");
    EXPECT_TRUE(isFallback(StorageBreakdown::measure(tree.root(), absent)));
    EXPECT_FALSE(QFile::exists(tools.tmutil + ".ran"));
}

TEST_F(StorageBreakdownTest, SnapshotCountNeedsTheToolAndItsSuccess)
{
    EXPECT_EQ(LocalSnapshots::snapshotCount("/Volumes/Data", tools), 2);
    EXPECT_EQ(test::recordedArguments(tools.tmutil), (QStringList{"listlocalsnapshots", "/Volumes/Data"}));

    tree.file("tmutil.out", "Snapshots for disk /:\nother.snapshot\n");
    EXPECT_EQ(LocalSnapshots::snapshotCount("/", tools), 0);

    platform::ToolTable failing = tools;
    failing.tmutil = test::writeFakeTool(tree.root(), "tmutil-failing", "echo com.apple.TimeMachine.x; exit 1");
    EXPECT_EQ(LocalSnapshots::snapshotCount("/", failing), 0);

    QFile::remove(tools.tmutil + ".ran");
    platform::ToolTable absent = tools;
    absent.tmutil = tree.path("missing");
    EXPECT_EQ(LocalSnapshots::snapshotCount("/", absent), 0);
    EXPECT_FALSE(QFile::exists(tools.tmutil + ".ran"));
    EXPECT_EQ(LocalSnapshots::snapshotCount("/", platform::ToolTable{}), 0);
    EXPECT_EQ(LocalSnapshots::purgeable("/"), 0);
}
