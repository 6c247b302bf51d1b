#include "platform/MountedVolumes.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using platform::MountedVolume;

TEST(MountedVolumes, MountPointsAreReadFromTheFifthFieldWithEscapesDecoded)
{
    const QByteArray table =
        "22 1 253:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
        "40 22 0:36 / /proc rw,nosuid - proc proc rw\n"
        "51 22 8:17 / /media/alice/USB\\040Stick rw - vfat /dev/sdb1 rw\n"
        "52 22 8:18 / /mnt/tab\\011and\\134slash rw - ext4 /dev/sdb2 rw\n"
        "53 22 8:17 / /media/alice/USB\\040Stick rw - vfat /dev/sdb1 rw\n"
        "garbage\n"
        "\n"
        "54 22 8:19 / /mnt/odd\\04 rw - ext4 /dev/sdb3 rw";
    EXPECT_EQ(platform::mountPointsFromMountInfo(table),
              (QStringList{"/", "/proc", "/media/alice/USB Stick", "/mnt/tab\tand\\slash", "/mnt/odd\\04"}));
}

TEST(MountedVolumes, VolumesAreTheUsersRemovableMountsInNameOrder)
{
    const QStringList points = {"/",
                                "/home",
                                "/media/alice/USB Stick",
                                "/run/media/alice/Backup",
                                "/run/media/bob/Other",
                                "/mnt/data",
                                "/mnt",
                                "/mediaextra",
                                "/media/Zeta",
                                "/srv/Alpha"};
    EXPECT_EQ(platform::volumesAmong(points, "alice"),
              (QList<MountedVolume>{{"Backup", "/run/media/alice/Backup"},
                                    {"USB Stick", "/media/alice/USB Stick"},
                                    {"Zeta", "/media/Zeta"},
                                    {"data", "/mnt/data"},
                                    {"mnt", "/mnt"}}));
    EXPECT_EQ(platform::volumesAmong({"/run/media/alice/Backup"}, ""), QList<MountedVolume>{});
}

TEST(MountedVolumes, TheRealMountTableHoldsTheRoot)
{
    EXPECT_TRUE(platform::mountPoints().get().contains("/"));
}
