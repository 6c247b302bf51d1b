#include "platform/MountTable.h"

#include <gtest/gtest.h>

#include <sys/sysmacros.h>

using namespace harborlite;

TEST(MountTable, ReadsTheFifthFieldWithEscapesDecoded)
{
    const QByteArray text = "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                            "40 26 8:17 / /media/me/My\\040Disk rw,nosuid shared:5 - vfat /dev/sdb1 rw\n"
                            "41 26 8:18 / /mnt/tab\\011and\\134slash rw - ext4 /dev/sdb2 rw\n"
                            "42 26 8:19 / /mnt/caf\\303\\251 rw - ext4 /dev/sdb3 rw\n"
                            "43 26 8:20 / /mnt/odd\\9x\\04 rw - ext4 /dev/sdb4 rw\n"
                            "truncated line\n"
                            "\n";
    const QList<platform::MountEntry> entries = platform::parseMountInfo(text);
    QStringList points;
    for (const platform::MountEntry& entry : entries) {
        points << entry.mountPoint;
    }
    EXPECT_EQ(
        points,
        QStringList({QStringLiteral("/"), QStringLiteral("/media/me/My Disk"), QStringLiteral("/mnt/tab\tand\\slash"),
                     QStringLiteral("/mnt/café"), QStringLiteral("/mnt/odd\\9x\\04")}));
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[0].fileSystemType, QStringLiteral("ext4"));
    EXPECT_EQ(entries[0].device, makedev(254, 0));
    EXPECT_EQ(entries[1].fileSystemType, QStringLiteral("vfat"));
    EXPECT_EQ(entries[1].device, makedev(8, 17));
}

TEST(MountTable, TheRunningSystemHasARoot)
{
    EXPECT_TRUE(platform::mountPoints().contains(QStringLiteral("/")));
}

TEST(MountTable, FileSystemTypeByDevice)
{
    platform::Seam<QList<platform::MountEntry>>::Override table(
        platform::mountTable(),
        {{QStringLiteral("/"), QStringLiteral("ext4"), makedev(254, 0)},
         {QStringLiteral("/dev"), QStringLiteral("devtmpfs"), makedev(0, 5)}});
    EXPECT_EQ(platform::fileSystemTypeOf(makedev(0, 5)), QStringLiteral("devtmpfs"));
    EXPECT_EQ(platform::fileSystemTypeOf(makedev(254, 0)), QStringLiteral("ext4"));
    EXPECT_EQ(platform::fileSystemTypeOf(makedev(9, 9)), QString());
    EXPECT_EQ(platform::mountPoints(), (QStringList{"/", "/dev"}));
}
