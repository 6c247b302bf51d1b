#include "engine/system/StorageBreakdown.h"
#include "engine/system/DiskLayout.h"
#include "engine/system/LocalSnapshots.h"
#include "platform/HomeFolder.h"
#include "platform/KernelRoots.h"
#include "platform/MountTable.h"
#include "shared/FileSystem.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

#include <optional>
#include <sys/sysmacros.h>

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
        tree.file("tmutil.out",
                  "Snapshots for disk /:\ncom.apple.TimeMachine.2024-01-01-000000.local\n"
                  "com.apple.TimeMachine.2024-01-02-000000.local\nother.snapshot\n");
    }

    void listing(const QByteArray& containerBody)
    {
        tree.file("diskutil.list",
                  plist("<dict><key>Containers</key><array>"
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
        {"containers not dictionaries", apfsInfo,
         plist("<dict><key>Containers</key><array><string>x</string></array></dict>")},
        {"listing broken", apfsInfo, "<plist"},
    };
    for (const Row& row : rows) {
        tree.file("diskutil.info", row.info);
        tree.file("diskutil.list", row.list);
        EXPECT_TRUE(isFallback(StorageBreakdown::measure(tree.root(), tools))) << row.what;
    }

    // Without diskutil, and with no disk the kernel lists.
    platform::ToolTable absent = tools;
    absent.diskutil = tree.path("missing");
    const platform::Seam<QString>::Override noDisks(platform::sysRoot(), tree.folder("empty-sys"));
    EXPECT_TRUE(isFallback(StorageBreakdown::measure(tree.root(), absent)));
    EXPECT_FALSE(QFile::exists(tools.tmutil + ".ran"));
}

namespace {

// A machine whose root lies on an encrypted partition of disk vda, with a
// separate home (the user's home inside it) and the boot partitions on vda, a
// second disk vdb, zram swap, a swap partition and a swap file.
class DiskLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.file("sys/block/vda/size", "500000000\n");
        for (const char* part : {"vda1", "vda2", "vda3", "vda4", "vda5"}) {
            tree.folder(QStringLiteral("sys/block/vda/") + part);
        }
        tree.file("sys/block/vdb/size", "100000\n");
        tree.folder("sys/block/vdb/vdb1");
        tree.file("sys/block/dm-0/size", "400000000\n");
        tree.folder("sys/block/dm-0/slaves/vda3");
        tree.file("sys/block/zram0/size", "800\n");
        tree.folder("sys/block/zram0/slaves");
        link(253, 0, "dm-0");
        link(254, 1, "vda/vda1");
        link(254, 2, "vda/vda2");
        link(254, 4, "vda/vda4");
        link(254, 17, "vdb/vdb1");

        root = tree.folder("root");
        for (const char* folder :
             {"root/home/me", "root/boot", "root/boot/efi", "root/srv", "root/mnt/other", "root/run"}) {
            tree.folder(folder);
        }
        swapfile = tree.file("root/swap file", 8192);
        tree.file("proc/swaps",
                  "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
                  "/dev/vda5                               partition\t2097148\t\t0\t\t-2\n"
                      + QFile::encodeName(swapfile).replace(" ", "\\040")
                      + "                 file\t\t4\t\t0\t\t-3\n"
                        "/dev/zram0                              partition\t1000\t\t0\t\t100\n"
                        "garbage\n");
        mounts.emplace(platform::mountTable(),
                       QList<platform::MountEntry>{
                           {root, "ext4", makedev(253, 0), "/dev/mapper/root"},
                           {tree.path("root/home"), "xfs", makedev(254, 4), "/dev/vda4"},
                           {tree.path("root/boot"), "ext4", makedev(254, 2), "/dev/vda2"},
                           {tree.path("root/boot/efi"), "vfat", makedev(254, 1), "/dev/vda1"},
                           {tree.path("root/srv"), "ext4", makedev(253, 0), "/dev/mapper/root"},
                           {tree.path("root/mnt/other"), "ext4", makedev(254, 17), "/dev/vdb1"},
                           {tree.path("root/run"), "tmpfs", makedev(0, 25), "tmpfs"},
                       });
    }

    void link(unsigned major, unsigned minor, const QString& target)
    {
        tree.symlink(QStringLiteral("sys/dev/block/%1:%2").arg(major).arg(minor), tree.path("sys/block/" + target));
    }

    FixtureTree tree;
    QString root;
    QString swapfile;
    platform::Seam<QString>::Override sys{platform::sysRoot(), tree.path("sys")};
    platform::Seam<QString>::Override proc{platform::procRoot(), tree.path("proc")};
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("root/home/me")};
    std::optional<platform::Seam<QList<platform::MountEntry>>::Override> mounts;
};

} // namespace

TEST_F(DiskLayoutTest, TheDiskHoldingTheFolderWithItsFileSystemsAndSwap)
{
    // Each file system uses as many GB as its mount point has characters
    // past the root, and has one GB available.
    constexpr qint64 GB = 1'000'000'000;
    QStringList asked;
    const DiskLayout::UseOf use = [&](const QString& mountPoint) {
        asked << mountPoint;
        return std::optional<DiskLayout::Use>({(mountPoint.size() - root.size() + 10) * GB, GB});
    };
    const std::optional<StorageBreakdown> breakdown = DiskLayout::of(tree.path("root/srv"), use);
    ASSERT_TRUE(breakdown);
    EXPECT_EQ(breakdown->capacity, 500000000LL * 512);
    // The file systems of vda, each once; vdb, zram and tmpfs are not on it.
    // The folder's own counts from its first mount point, not from the
    // second place it is mounted at; the swap file comes out of it.
    const qint64 swapFile = 4 * 1024;
    const qint64 swapPartition = 2097148LL * 1024;
    // The home's file system holds the user's files; the separate root is
    // no sealed system volume: it keeps its mount point and says what it is.
    EXPECT_EQ(breakdown->volumes,
              (QList<StorageBreakdown::Volume>{
                  {tree.path("root/boot/efi"), "Preboot", 19 * GB, tree.path("root/boot/efi"), "vfat"},
                  {tree.path("root/home"), "Data", 15 * GB, tree.path("root/home"), "xfs"},
                  {tree.path("root/boot"), "Preboot", 15 * GB, tree.path("root/boot"), "ext4"},
                  {root, "", 10 * GB - swapFile, root, "ext4"},
                  {"Swap", "VM", swapPartition + swapFile, ""},
              }));
    EXPECT_EQ(breakdown->volumes[1].title(), "Your files");
    EXPECT_EQ(breakdown->volumes[3].title(), root);
    EXPECT_EQ(breakdown->volumes[3].detail(), "ext4 file system on this disk");
    EXPECT_EQ(breakdown->volumes[4].title(), "Swap & sleep image");
    // Partitions of their own share no pool.
    EXPECT_FALSE(breakdown->sharesOnePool);
    // Free is what the four file systems have available.
    EXPECT_EQ(breakdown->free, 4 * GB);
    asked.sort();
    EXPECT_EQ(asked, (QStringList{root, tree.path("root/boot"), tree.path("root/boot/efi"), tree.path("root/home")}));

    // A file system that cannot be asked is left out.
    const std::optional<StorageBreakdown> partly = DiskLayout::of(root, [&](const QString& mountPoint) {
        return mountPoint == tree.path("root/home") ? std::nullopt : use(mountPoint);
    });
    ASSERT_TRUE(partly);
    EXPECT_EQ(partly->volumes.size(), 4);
    EXPECT_EQ(partly->free, 3 * GB);

    // Through the breakdown, without diskutil: this disk, nothing purgeable, no snapshots.
    platform::ToolTable noDiskutil;
    noDiskutil.diskutil = tree.path("missing/diskutil");
    noDiskutil.tmutil = tree.path("missing/tmutil");
    const StorageBreakdown measured = StorageBreakdown::measure(root, noDiskutil);
    EXPECT_EQ(measured.capacity, 500000000LL * 512);
    EXPECT_EQ(measured.volumes.size(), 5);
    EXPECT_EQ(measured.purgeable, 0);
    EXPECT_EQ(measured.snapshotCount, 0);
}

// Volumes that draw on one pool: subvolumes of one btrfs file system (the
// root and the home, counted once as the file system holding the home), and
// logical volumes of one group on one encrypted partition.
TEST_F(DiskLayoutTest, BtrfsSubvolumesAndLogicalVolumesShareOnePool)
{
    constexpr qint64 GB = 1'000'000'000;
    const DiskLayout::UseOf use = [&](const QString& mountPoint) {
        return std::optional<DiskLayout::Use>({(mountPoint.size() - root.size() + 10) * GB, GB});
    };
    mounts.reset();
    mounts.emplace(platform::mountTable(),
                   QList<platform::MountEntry>{
                       {root, "btrfs", makedev(0, 40), "/dev/vda2"},
                       {tree.path("root/home"), "btrfs", makedev(0, 40), "/dev/vda2"},
                       {tree.path("root/boot/efi"), "vfat", makedev(254, 1), "/dev/vda1"},
                   });
    std::optional<StorageBreakdown> breakdown = DiskLayout::of(root, use);
    ASSERT_TRUE(breakdown);
    EXPECT_EQ(breakdown->volumes,
              (QList<StorageBreakdown::Volume>{
                  {tree.path("root/boot/efi"), "Preboot", 19 * GB, tree.path("root/boot/efi"), "vfat"},
                  {root, "Data", 10 * GB - 4 * 1024, root, "btrfs"},
                  {"Swap", "VM", 2097148LL * 1024 + 4 * 1024, ""},
              }));
    EXPECT_TRUE(breakdown->sharesOnePool);

    // The same file system at one place only is no pool of volumes.
    mounts.reset();
    mounts.emplace(platform::mountTable(), QList<platform::MountEntry>{{root, "btrfs", makedev(0, 40), "/dev/vda2"}});
    breakdown = DiskLayout::of(root, use);
    ASSERT_TRUE(breakdown);
    EXPECT_FALSE(breakdown->sharesOnePool);

    // Two logical volumes on the one encrypted partition.
    tree.file("sys/block/dm-1/size", "100000000\n");
    tree.folder("sys/block/dm-1/slaves/dm-0");
    tree.file("sys/block/dm-2/size", "100000000\n");
    tree.folder("sys/block/dm-2/slaves/dm-0");
    link(253, 1, "dm-1");
    link(253, 2, "dm-2");
    mounts.reset();
    mounts.emplace(platform::mountTable(),
                   QList<platform::MountEntry>{
                       {root, "ext4", makedev(253, 1), "/dev/mapper/vg-root"},
                       {tree.path("root/home"), "ext4", makedev(253, 2), "/dev/mapper/vg-home"},
                   });
    breakdown = DiskLayout::of(root, use);
    ASSERT_TRUE(breakdown);
    ASSERT_EQ(breakdown->volumes.size(), 3);
    EXPECT_EQ(breakdown->volumes[0].role, "Data");
    EXPECT_EQ(breakdown->volumes[1].role, "");
    EXPECT_EQ(breakdown->volumes[2].role, "VM");
    EXPECT_TRUE(breakdown->sharesOnePool);
}

TEST_F(DiskLayoutTest, FoldersOnNoDiskFallBackToTheirOwnCapacity)
{
    platform::ToolTable noDiskutil;
    noDiskutil.diskutil = tree.path("missing/diskutil");
    const StorageBreakdown onTmpfs = StorageBreakdown::measure(tree.path("root/run"), noDiskutil);
    EXPECT_TRUE(onTmpfs.volumes.isEmpty());
    EXPECT_FALSE(onTmpfs.sharesOnePool);
    EXPECT_EQ(onTmpfs.capacity, FS::volumeCapacity(tree.path("root/run")).total);
    // A device-mapper layer whose disk is missing, or layers that loop, name no disk.
    QFile::remove(tree.path("sys/block/dm-0/slaves/vda3"));
    tree.folder("sys/block/dm-0/slaves/dm-0");
    EXPECT_TRUE(StorageBreakdown::measure(root, noDiskutil).volumes.isEmpty());
    EXPECT_FALSE(DiskLayout::of(root).has_value());
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
