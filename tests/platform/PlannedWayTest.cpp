#include "platform/PlannedWay.h"
#include "support/FixtureTree.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using platform::PlannedWay;

namespace {

// The device and inode of an open folder or of a path.
std::pair<dev_t, ino_t> identity(int fd)
{
    struct stat st { };
    ::fstat(fd, &st);
    return {st.st_dev, st.st_ino};
}

std::pair<dev_t, ino_t> identity(const QString& path)
{
    struct stat st { };
    ::lstat(QFile::encodeName(path).constData(), &st);
    return {st.st_dev, st.st_ino};
}

} // namespace

TEST(PlannedWayTest, OpensTheParentWithoutFollowingLinksEitherWay)
{
    FixtureTree tree;
    tree.file("real-home/a/b/item", 1);
    tree.file("real-home/decoy/b/item", 1);
    tree.symlink("real-home/linked", tree.path("real-home/a"));
    tree.symlink("real-home/a/b/link-item", tree.path("real-home/decoy"));
    tree.file("real-home/plain", 1);
    tree.file("outside/x/item", 1);
    tree.symlink("outside/to-x", tree.path("outside/x"));
    // The home itself may lie behind a link of the system's layout.
    const QString home = tree.symlink("home", tree.path("real-home"));

    struct Case {
        QString location;
        int error;
        QString parent; // the folder expected open
    };
    const QList<Case> cases = {
        {home + "/a/b/item", 0, tree.path("real-home/a/b")},
        {home + "/a/b/link-item", 0, tree.path("real-home/a/b")},
        {home + "/item-at-top", 0, tree.path("real-home")},
        {home + "/linked/b/item", ELOOP, {}},
        {home + "/a/b/link-item/b/item", ELOOP, {}},
        {tree.path("outside/x/item"), 0, tree.path("outside/x")},
        {tree.path("outside/to-x/item"), ELOOP, {}},
        {tree.path("real-home/linked/b/item"), ELOOP, {}},
        {home + "/missing/item", ENOENT, {}},
        {home + "/plain/item", ENOTDIR, {}},
        {home + "/a/../a/b/item", EINVAL, {}},
        {"relative/item", EINVAL, {}},
        {"/", EINVAL, {}},
    };
    for (const PlannedWay::Steps steps : {PlannedWay::Steps::kernel, PlannedWay::Steps::oneByOne}) {
        const PlannedWay way(home, steps);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.location.toStdString() + (steps == PlannedWay::Steps::kernel ? " (kernel)" : " (steps)"));
            const PlannedWay::Parent parent = way.openParent(c.location);
            EXPECT_EQ(parent.error, c.error);
            EXPECT_EQ(parent.changed(), c.error == ELOOP);
            EXPECT_EQ(parent.folder.isOpen(), c.error == 0);
            if (c.error == 0) {
                EXPECT_EQ(identity(parent.folder.get()), identity(c.parent));
                EXPECT_EQ(parent.name, QFile::encodeName(c.location.section('/', -1)));
            }
        }
    }
}
