#include "support/FixtureTree.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using harborlite::test::FixtureTree;

TEST(FixtureTree, LeavesNothingBehindHoweverDeepOddOrLocked)
{
    QString root;
    {
        FixtureTree tree;
        root = tree.root();
        tree.deepChain("deep", 2500, 10); // longer than PATH_MAX
        tree.file("locked/inner/file", 10);
        ASSERT_EQ(::chmod(QFile::encodeName(tree.path("locked/inner")).constData(), 0), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(tree.path("locked")).constData(), 0500), 0);
        const QByteArray odd = QFile::encodeName(tree.path("odd/")) + "bad-\xff\xfe";
        tree.folder("odd");
        const int fd = ::open(odd.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
        tree.symlink("odd/loop", tree.path("odd"));
    }
    EXPECT_FALSE(QFileInfo::exists(root));
}
