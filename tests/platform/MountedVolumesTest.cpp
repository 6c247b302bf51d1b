#include "platform/MountedVolumes.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using platform::MountedVolume;

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
