#include "engine/scanners/RuvozEzazScanner.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::CancelAfter;
using harborlite::test::FixtureTree;

namespace {

// Sizes in whole blocks, so allocated and logical sizes agree.
constexpr qint64 U = 8192;
constexpr qint64 kMinimum = 10 * U;

// Name, size and children of a node, ids left out: "name=size[child,child]".
QString shape(const DiskNode& node)
{
    QString text = node.name + '=' + QString::number(node.size / U) + (node.isDirectory ? "/" : "");
    if (!node.children.empty()) {
        QStringList parts;
        for (const DiskNode& child : node.children) {
            parts << shape(child);
        }
        text += '[' + parts.join(',') + ']';
    }
    return text;
}

struct Report {
    double fraction;
    QString name;
    bool operator==(const Report&) const = default;
};

} // namespace

TEST(RuvozEzazScanner, FoldsSmallChildrenBelowTheTopLevelAndSortsLargestFirst)
{
    FixtureTree tree;
    tree.file("root/small-file", 5 * U);
    tree.file("root/folder/big", 20 * U);
    tree.file("root/top/mid/a", 30 * U);
    tree.file("root/top/mid/b", 4 * U);
    tree.file("root/top/mid/c", 3 * U);
    tree.file("root/top/all-small/x", 4 * U);
    tree.file("root/top/all-small/y", 7 * U);
    tree.file("root/top/all-small/deeper/z", 2 * U);
    tree.file("root/.hidden/h", 12 * U);
    tree.file("root/empty-file");
    tree.folder("root/empty-folder");
    tree.file("root/target/huge", 50 * U);
    tree.symlink("root/top/link-to-target", tree.path("root/target"));
    tree.file("root/deep/l2/l3/l4/l5/bottom", 11 * U);
    tree.file("root/deep/l2/l3/l4/beside", 11 * U);

    const DiskNode map = RuvozEzazScanner(kMinimum, 4).buildTree(tree.path("root/"));
    EXPECT_EQ(shape(map),
              "root=159/["
              "target=50/[huge=50],"
              "top=50/[mid=37/[a=30,Smaller items=7/],all-small=13/],"
              "deep=22/[l2=22/[l3=22/[l4=22/]]],"
              "folder=20/[big=20],"
              ".hidden=12/[h=12],"
              "small-file=5]");
    EXPECT_EQ(map.url, tree.path("root"));
    EXPECT_TRUE(map.isDirectory);
    const DiskNode& smaller = map.children[1].children[0].children[1];
    EXPECT_EQ(smaller.url, tree.path("root/top/mid"));
    EXPECT_TRUE(smaller.children.empty());
    // A folder whose children were all folded counts whole.
    EXPECT_EQ(map.children[1].children[1].size, FS::size(tree.path("root/top/all-small")));

    const DiskNode expansion = RuvozEzazScanner(kMinimum, 1).buildTree(tree.path("root/top"));
    EXPECT_EQ(shape(expansion), "top=50/[mid=37/,all-small=13/]");

    const DiskNode again = RuvozEzazScanner(kMinimum, 4).buildTree(tree.path("root"));
    EXPECT_EQ(shape(again), shape(map));
    EXPECT_NE(again, map);
    EXPECT_EQ(map, map);
    EXPECT_EQ(qHash(map), qHash(DiskNode(map)));
}

TEST(RuvozEzazScanner, HardLinksCountOnceInTheWholeMap)
{
    FixtureTree tree;
    const QString file = tree.file("root/a/in-a", 40 * U);
    tree.folder("root/b/deep/er/still");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(),
                     QFile::encodeName(tree.path("root/b/deep/er/still/in-b")).constData()),
              0);
    tree.file("root/b/own", 12 * U);
    const DiskNode map = RuvozEzazScanner(kMinimum, 4).buildTree(tree.path("root"));
    EXPECT_EQ(shape(map), "root=52/[a=40/[in-a=40],b=12/[own=12]]");
}

TEST(RuvozEzazScanner, ProgressNamesEachTopLevelEntryThenTheRoot)
{
    FixtureTree tree;
    for (const char* name : {"a", "b", "c", "d"}) {
        tree.file(QStringLiteral("root/") + name, U);
    }
    tree.folder("empty");
    std::mutex mutex;
    QList<Report> reports;
    const RuvozEzazScanner::Progress record = [&](double fraction, const QString& name) {
        std::lock_guard lock(mutex);
        reports.append({fraction, name});
    };
    RuvozEzazScanner().buildTree(tree.path("root"), record);
    EXPECT_EQ(reports, (QList<Report>{{0.0, "a"}, {0.25, "b"}, {0.5, "c"}, {0.75, "d"}, {1.0, "root"}}));
    // Folders measured side by side are still told about in listing order.
    for (int i = 0; i < 8; ++i) {
        tree.deepChain(QStringLiteral("folders/f%1").arg(i), 40 - 4 * i, (i + 1) * U);
    }
    reports.clear();
    RuvozEzazScanner().buildTree(tree.path("folders"), record);
    QList<Report> expected;
    for (int i = 0; i < 8; ++i) {
        expected.append({i / 8.0, QStringLiteral("f%1").arg(i)});
    }
    expected.append({1.0, "folders"});
    EXPECT_EQ(reports, expected);
    reports.clear();
    const DiskNode empty = RuvozEzazScanner().buildTree(tree.path("empty"), record);
    EXPECT_EQ(reports, (QList<Report>{{1.0, "empty"}}));
    EXPECT_EQ(shape(empty), "empty=0/");
}

TEST(RuvozEzazScanner, CancellationKeepsWhatWasMeasured)
{
    FixtureTree tree;
    for (int i = 0; i < 6; ++i) {
        tree.file(QStringLiteral("root/f%1").arg(i), (i + 1) * U);
    }
    int calls = 0;
    std::mutex mutex;
    // Answers true once the fourth top-level entry has started.
    int started = 0;
    const RuvozEzazScanner::Progress count = [&](double, const QString&) {
        std::lock_guard lock(mutex);
        ++started;
    };
    const auto afterThree = [&] {
        std::lock_guard lock(mutex);
        ++calls;
        return started > 3;
    };
    const DiskNode map = RuvozEzazScanner().buildTree(tree.path("root"), count, afterThree);
    EXPECT_EQ(shape(map), "root=6/[f2=3,f1=2,f0=1]");
    EXPECT_GT(calls, 0);

    CancelAfter atOnce(0);
    const DiskNode none = RuvozEzazScanner().buildTree(QStringLiteral("/"), {}, atOnce.predicate());
    EXPECT_EQ(none.name, "/");
    EXPECT_TRUE(none.children.empty());
}

TEST(RuvozEzazScanner, PseudoFileSystemsAreNotEntered)
{
    const DiskNode map = RuvozEzazScanner().buildTree(QStringLiteral("/proc"));
    EXPECT_EQ(map.size, 0);
    EXPECT_TRUE(map.children.empty());
}

TEST(RuvozEzazScanner, NetworkFileSystemsAreNotEnteredUnlessTheMapIsOfOne)
{
    FixtureTree tree;
    tree.file("root/local", 20 * U);
    tree.file("root/share/remote", 30 * U);
    tree.file("root/share/nested/deeper", 12 * U);
    tree.file("root/deep/er/mount/remote", 40 * U);
    tree.file("root/deep/er/kept", 11 * U);
    const platform::Seam<QList<platform::MountEntry>>::Override mounts(
        platform::mountTable(),
        {{"/", "ext4", makedev(254, 0), "/dev/vda1"},
         {tree.path("root/share"), "nfs4", makedev(0, 60), "server:/export"},
         {tree.path("root/share/nested"), "cifs", makedev(0, 61), "//server/nested"},
         {tree.path("root/deep/er/mount"), "fuse.sshfs", makedev(0, 62), "me@host:"}});

    EXPECT_EQ(shape(RuvozEzazScanner(kMinimum, 4).buildTree(tree.path("root"))),
              "root=31/[local=20,deep=11/[er=11/[kept=11]]]");
    // A map of the share itself reads it, but not the share mounted inside it.
    EXPECT_EQ(shape(RuvozEzazScanner(kMinimum, 4).buildTree(tree.path("root/share"))), "share=30/[remote=30]");
    EXPECT_EQ(shape(RuvozEzazScanner(kMinimum, 4).buildTree(tree.path("root/share/nested"))), "nested=12/[deeper=12]");
}

TEST(RuvozEzazScanner, AnExpansionListsOneLevelLargestFirstWithFoldersMeasuredWhole)
{
    FixtureTree tree;
    tree.file("folder/b-file", 3 * U);
    tree.file("folder/a-file", 3 * U);
    tree.file("folder/.hidden/inside/deep", 9 * U);
    tree.file("folder/sub/x", 2 * U);
    tree.file("folder/sub/y/z", 5 * U);
    tree.file("folder/empty");
    tree.folder("folder/empty-folder");
    tree.symlink("folder/link", tree.path("folder/sub"));
    ASSERT_EQ(::link(QFile::encodeName(tree.path("folder/sub/x")).constData(),
                     QFile::encodeName(tree.path("folder/sub/y/x-again")).constData()),
              0);

    const std::vector<DiskNode> level = RuvozEzazScanner().expansion(tree.path("folder"));
    QStringList shapes;
    for (const DiskNode& node : level) {
        shapes << shape(node);
        EXPECT_EQ(node.url, tree.path("folder/" + node.name));
    }
    // Equal sizes keep name order.
    EXPECT_EQ(shapes, (QStringList{".hidden=9/", "sub=7/", "a-file=3", "b-file=3"}));
    EXPECT_TRUE(RuvozEzazScanner().expansion(tree.path("missing")).empty());
    CancelAfter atOnce(0);
    EXPECT_TRUE(RuvozEzazScanner().expansion(tree.path("folder"), atOnce.predicate()).empty());
}

// Names that are not UTF-8 are entries like any other: the map's total is
// every byte below the root, as a walk that never looks at names counts it.
TEST(RuvozEzazScanner, NamesThatAreNotUtf8CountInTheMap)
{
    FixtureTree tree;
    tree.file("root/plain/big", 20 * U);
    tree.folder("root/plain/deeper");
    const QByteArray root = platform::pathBytes(tree.path("root"));
    const auto write = [](const QByteArray& path, qint64 bytes) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << path.toStdString();
        ASSERT_EQ(::write(fd, QByteArray(bytes, 'x').constData(), size_t(bytes)), bytes);
        ::close(fd);
    };
    ASSERT_EQ(::mkdir((root + "/dossier-\xe9").constData(), 0755), 0);
    write(root + "/dossier-\xe9/inside", 30 * U);
    write(root + "/top-\xff", 3 * U);
    write(root + "/plain/bad-\xfe", 12 * U);
    write(root + "/plain/deeper/bad-\xfd", 2 * U);

    const DiskNode map = RuvozEzazScanner(kMinimum, 4).buildTree(tree.path("root"), {}, {});
    EXPECT_EQ(map.size, FS::size(tree.path("root")));
    EXPECT_EQ(map.size, (20 + 30 + 3 + 12 + 2) * U);
    QStringList names;
    for (const DiskNode& child : map.children) {
        names << shape(child);
    }
    EXPECT_EQ(names,
              (QStringList{"plain=34/[big=20,bad-" + platform::pathText(QByteArray("\xfe")) + "=12,Smaller items=2/]",
                           platform::pathText(QByteArray("dossier-\xe9")) + "=30/[inside=30]",
                           platform::pathText(QByteArray("top-\xff")) + "=3"}));
}
