#include "engine/system/Permissions.h"
#include "platform/FullDiskAccessProbes.h"
#include "platform/HomeFolder.h"
#include "platform/XdgDataHome.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

bool probe(const QStringList& folders)
{
    platform::Seam<QStringList>::Override probes(platform::fullDiskAccessProbes(), folders);
    return Permissions::hasFullDiskAccess();
}

} // namespace

TEST(Permissions, AccessNeedsOneProbeAndEveryExistingProbeListable)
{
    FixtureTree tree;
    const QString trash = tree.folder("Trash");
    const QString config = tree.folder(".config");
    // A regular file where a folder is expected cannot be listed, even by root.
    const QString unlistable = tree.file("Safari", 10);
    const QString missing = tree.path("missing");

    EXPECT_FALSE(probe({missing, tree.path("also-missing")}));
    EXPECT_FALSE(probe({}));
    EXPECT_TRUE(probe({trash}));
    EXPECT_TRUE(probe({trash, missing, config}));
    EXPECT_FALSE(probe({trash, unlistable}));
    EXPECT_FALSE(probe({unlistable, trash}));
    EXPECT_FALSE(probe({missing, unlistable}));
}

TEST(Permissions, DefaultProbesAreTheUsersTrashConfigAndDataFolders)
{
    FixtureTree tree;
    platform::Seam<QString>::Override home(platform::homeFolder(), tree.root());
    platform::Seam<QString>::Override data(platform::xdgDataHome(), tree.path(".local/share"));
    EXPECT_EQ(platform::fullDiskAccessProbes().get(),
              (QStringList{tree.path(".local/share/Trash"), tree.path(".config"), tree.path(".local/share")}));
    EXPECT_FALSE(Permissions::hasFullDiskAccess());
    tree.folder(".config");
    EXPECT_TRUE(Permissions::hasFullDiskAccess());
}
