#include "platform/MountPoints.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(MountPoints, ReadsTheFifthFieldWithEscapesDecoded)
{
    const QByteArray text =
        "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "40 26 8:17 / /media/me/My\\040Disk rw,nosuid shared:5 - vfat /dev/sdb1 rw\n"
        "41 26 8:18 / /mnt/tab\\011and\\134slash rw - ext4 /dev/sdb2 rw\n"
        "42 26 8:19 / /mnt/caf\\303\\251 rw - ext4 /dev/sdb3 rw\n"
        "43 26 8:20 / /mnt/odd\\9x\\04 rw - ext4 /dev/sdb4 rw\n"
        "truncated line\n"
        "\n";
    EXPECT_EQ(platform::parseMountInfo(text),
              QStringList({ QStringLiteral("/"), QStringLiteral("/media/me/My Disk"),
                            QStringLiteral("/mnt/tab\tand\\slash"), QStringLiteral("/mnt/café"),
                            QStringLiteral("/mnt/odd\\9x\\04") }));
}

TEST(MountPoints, TheRunningSystemHasARoot)
{
    EXPECT_TRUE(platform::mountPoints().get().contains(QStringLiteral("/")));
}
