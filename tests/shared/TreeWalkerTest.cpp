#include "shared/TreeWalker.h"
#include "platform/OpenFileLimit.h"
#include "shared/BoundedWalk.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/OpenFileLimit.h"
#include "support/Progress.h"

#include <QDirIterator>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::CancelAfter;
using harborlite::test::FixtureTree;
using harborlite::test::ScopedOpenFileLimit;

namespace {

constexpr qint64 MiB = 1 << 20;

void hardLink(const QString& existing, const QString& added)
{
    ASSERT_EQ(::link(QFile::encodeName(existing).constData(), QFile::encodeName(added).constData()), 0);
}

// A spine `depth` folders deep where every level also holds a side folder
// with one file: each level leaves a sibling waiting, far more than the
// walker keeps open. Built with openat so no path has to fit PATH_MAX.
QString comb(FixtureTree& tree, const QString& relative, int depth)
{
    const QString top = tree.folder(relative);
    int fd = ::open(QFile::encodeName(top).constData(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && fd >= 0; ++i) {
        EXPECT_EQ(::mkdirat(fd, "side", 0755), 0);
        const int side = ::openat(fd, "side", O_RDONLY | O_DIRECTORY);
        const int file = ::openat(side, "f", O_WRONLY | O_CREAT, 0644);
        const QByteArray data(100 + i, 'x');
        EXPECT_EQ(::write(file, data.constData(), size_t(data.size())), data.size());
        ::close(file);
        ::close(side);
        EXPECT_EQ(::mkdirat(fd, "spine", 0755), 0);
        const int next = ::openat(fd, "spine", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ::close(fd);
    return top;
}

// An independent count: allocated blocks of the regular files below `root`,
// each inode once, links not followed.
qint64 blocksOfRegularFiles(const QString& root)
{
    QSet<QPair<quint64, quint64>> seen;
    qint64 total = 0;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        struct stat st { };
        if (::lstat(QFile::encodeName(it.next()).constData(), &st) == 0 && S_ISREG(st.st_mode)
            && !seen.contains({st.st_dev, st.st_ino})) {
            seen.insert({st.st_dev, st.st_ino});
            total += qint64(st.st_blocks) * 512;
        }
    }
    return total;
}

// Folders of files, hard links within and across roots, links to folders,
// a fifo, a wide folder and a comb deep enough to exhaust the waiting folders.
struct MixedTree {
    FixtureTree tree;
    std::vector<QByteArray> roots;

    MixedTree()
    {
        for (int i = 0; i < 40; ++i) {
            for (int j = 0; j < 5; ++j) {
                tree.file(QStringLiteral("a/wide/d%1/f%2").arg(i).arg(j), 1000 * (i + 1) + j);
            }
        }
        const QString shared = tree.file("a/shared", 3 * 4096);
        tree.folder("b");
        hardLink(shared, tree.path("a/wide/d3/shared-again"));
        hardLink(shared, tree.path("b/shared-elsewhere"));
        tree.file("b/own", 5000);
        tree.symlink("b/to-a", tree.path("a"));
        tree.symlink("a/wide/to-b", tree.path("b"));
        EXPECT_EQ(::mkfifo(QFile::encodeName(tree.path("b/pipe")).constData(), 0600), 0);
        comb(tree, "c", 400);
        tree.deepChain("c/chain", 300, 7000);
        roots = {QFile::encodeName(tree.path("a")), QFile::encodeName(tree.path("b")),
                 QFile::encodeName(tree.path("c")), QFile::encodeName(tree.path("b/own"))};
    }
};

} // namespace

TEST(TreeWalker, ParallelAndSingleThreadedWalksGiveTheSameTotals)
{
    MixedTree fixture;
    const std::vector<qint64> single = FS::TreeWalker({}, 1).totals(fixture.roots);
    for (int threads : {2, 8}) {
        for (int round = 0; round < 3; ++round) {
            EXPECT_EQ(FS::TreeWalker({}, threads).totals(fixture.roots), single) << threads << " threads";
        }
    }
    // The shared file belongs to the first root that reaches it; nested roots
    // without hard links count on their own.
    EXPECT_EQ(single[0], blocksOfRegularFiles(fixture.tree.path("a")));
    EXPECT_EQ(single[1],
              blocksOfRegularFiles(fixture.tree.path("b")) - FS::allocatedSize(fixture.tree.path("a/shared")));
    EXPECT_EQ(single[2], blocksOfRegularFiles(fixture.tree.path("c")));
    EXPECT_EQ(single[3], FS::allocatedSize(fixture.tree.path("b/own")));
    EXPECT_EQ(FS::size(fixture.tree.root()), blocksOfRegularFiles(fixture.tree.root()));
}

TEST(TreeWalker, HardLinksCountOncePerWalker)
{
    FixtureTree tree;
    const QString file = tree.file("one/big", MiB);
    tree.folder("two");
    hardLink(file, tree.path("one/big-again"));
    hardLink(file, tree.path("two/big-third"));
    const qint64 once = FS::allocatedSize(file);
    EXPECT_GE(once, MiB);
    EXPECT_EQ(FS::size(tree.path("one")), once);
    EXPECT_EQ(FS::size(tree.root()), once);
    EXPECT_EQ(FS::size(tree.path("two/big-third")), once);

    FS::TreeWalker walker;
    EXPECT_EQ(walker.totals({QFile::encodeName(tree.path("two")), QFile::encodeName(tree.path("one"))}),
              (std::vector<qint64>{once, 0}));
    // Later walks of the same walker do not count it again.
    EXPECT_EQ(walker.total(QFile::encodeName(tree.path("one"))), 0);
}

TEST(TreeWalker, ALinkIsMeasuredAsItselfWithOrWithoutATrailingSlash)
{
    FixtureTree tree;
    tree.file("target/big", MiB);
    const QString link = tree.symlink("link", tree.path("target"));
    EXPECT_EQ(FS::size(link + "/"), FS::size(link));
    EXPECT_EQ(FS::size(link + "//"), FS::allocatedSize(link));
    EXPECT_LT(FS::size(link + "/"), MiB);
}

TEST(TreeWalker, StaysWithinALowDescriptorLimit)
{
    MixedTree fixture;
    const std::vector<qint64> expected = FS::TreeWalker({}, 1).totals(fixture.roots);
    fixture.tree.deepChain("c/deeper", 3000, 9000);
    const qint64 deeper = FS::TreeWalker({}, 1).total(QFile::encodeName(fixture.tree.path("c/deeper")));
    EXPECT_GE(deeper, 9000);
    ScopedOpenFileLimit limit(128);
    std::vector<qint64> measured = FS::TreeWalker().totals(fixture.roots);
    measured[2] -= deeper;
    EXPECT_EQ(measured, expected);
}

TEST(TreeWalker, CancellationStopsEveryThread)
{
    MixedTree fixture;
    const std::vector<qint64> full = FS::TreeWalker().totals(fixture.roots);
    for (int after : {0, 1, 50, 500}) {
        CancelAfter cancel(after);
        const std::vector<qint64> partial = FS::TreeWalker(cancel.predicate()).totals(fixture.roots);
        for (std::size_t i = 0; i < full.size(); ++i) {
            EXPECT_LE(partial[i], full[i]) << after;
        }
        if (after == 0) {
            // Only the root that is a file counts: it takes no poll.
            EXPECT_EQ(partial, (std::vector<qint64>{0, 0, 0, full[3]})) << after;
        }
    }
}

TEST(TreeWalker, MissingRootsAndPseudoFileSystemsCountNothing)
{
    FixtureTree tree;
    EXPECT_EQ(FS::TreeWalker().totals({QFile::encodeName(tree.path("missing")), QByteArray(), "/proc", "/sys"}),
              (std::vector<qint64>{0, 0, 0, 0}));
}

TEST(OpenFileLimit, RaisesTheSoftLimitToTheHardLimit)
{
    struct rlimit before { };
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    ScopedOpenFileLimit lowered(std::min<rlim_t>(before.rlim_max, 256));
    EXPECT_TRUE(platform::raiseOpenFileLimit());
    struct rlimit after { };
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &after), 0);
    EXPECT_EQ(after.rlim_cur, before.rlim_max);
}

namespace {

// Every regular file below the root, in the order a serial walk in name order meets them.
QStringList filesInNameOrder(const QString& root, bool skipHidden)
{
    QStringList files;
    std::vector<QString> folders{root};
    FS::BoundedWalk::Visitor visitor;
    visitor.entry = [&](const FS::BoundedWalk::Folder& folder, const FS::BoundedWalk::Entry& entry) {
        const QString path =
            folders[folder.depth] + '/' + QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        if (entry.type == DT_DIR) {
            folders.resize(folder.depth + 2);
            folders[folder.depth + 1] = path;
        } else if (entry.type == DT_REG) {
            files << path;
        }
        return FS::BoundedWalk::Step::go;
    };
    FS::BoundedWalk::run(AT_FDCWD, QFile::encodeName(root).toStdString(), visitor,
                         {.nameOrder = true, .skipHidden = skipHidden});
    return files;
}

struct Met {
    const FS::FolderTree::Node* folder;
    std::string name;
};

// What an index walk handed over, sorted into walk order, as paths.
QStringList sortedPaths(std::vector<std::vector<Met>>& perWorker)
{
    std::vector<Met> all;
    for (std::vector<Met>& list : perWorker) {
        all.insert(all.end(), list.begin(), list.end());
    }
    std::sort(all.begin(), all.end(),
              [](const Met& a, const Met& b) { return FS::FolderTree::before(*a.folder, a.name, *b.folder, b.name); });
    QStringList paths;
    for (const Met& met : all) {
        paths << QString::fromStdString(FS::FolderTree::path(*met.folder, met.name));
    }
    return paths;
}

} // namespace

// The parallel walk hands every regular file over once, with a folder that
// names it; sorted by walk order they read as a serial walk in name order.
TEST(TreeWalker, IndexingHandsOverEveryFileOnceInAnyThreadCount)
{
    MixedTree fixture;
    const QString a = fixture.tree.path("a");
    const QString c = fixture.tree.path("c");
    const QStringList expected = filesInNameOrder(a, false) + filesInNameOrder(c, false);
    ASSERT_GT(expected.size(), 600);
    for (int threads : {1, 8}) {
        FS::TreeWalker walker({}, threads);
        std::vector<std::vector<Met>> perWorker(FS::TreeWalker::kMaxThreads);
        FS::TreeWalker::Indexing indexing;
        indexing.file = [&](int worker, const FS::FolderTree::Node& folder, std::string_view name,
                            const struct stat& st) {
            EXPECT_TRUE(S_ISREG(st.st_mode));
            perWorker[std::size_t(worker)].push_back({&folder, std::string(name)});
        };
        EXPECT_TRUE(walker.index(QFile::encodeName(a), 0, indexing));
        EXPECT_TRUE(walker.index(QFile::encodeName(c), 1, indexing));
        EXPECT_EQ(sortedPaths(perWorker), expected) << threads << " threads";
    }
}

TEST(TreeWalker, IndexingPassesOverHiddenRefusedAndSetAsideFolders)
{
    FixtureTree tree;
    tree.file("r/.hidden/h", 10);
    tree.file("r/.dot", 10);
    tree.file("r/keep/k", 10);
    tree.file("r/node_modules/n", 10);
    tree.file("r/aside/inner/i", 10);
    tree.file("r/top", 10);
    struct stat aside { };
    ASSERT_EQ(::stat(QFile::encodeName(tree.path("r/aside")).constData(), &aside), 0);

    FS::TreeWalker walker;
    walker.setAside(aside.st_dev, aside.st_ino);
    std::vector<std::vector<Met>> perWorker(FS::TreeWalker::kMaxThreads);
    FS::TreeWalker::Indexing indexing;
    indexing.skipHidden = true;
    indexing.entersFolder = [](std::string_view name) { return name != "node_modules"; };
    indexing.file = [&](int worker, const FS::FolderTree::Node& folder, std::string_view name, const struct stat&) {
        perWorker[std::size_t(worker)].push_back({&folder, std::string(name)});
    };
    const QByteArray root = QFile::encodeName(tree.path("r"));
    ASSERT_TRUE(walker.index(root, 0, indexing));
    EXPECT_EQ(sortedPaths(perWorker), (QStringList{tree.path("r/keep/k"), tree.path("r/top")}));
    // The folder set aside is walked as a root of its own.
    perWorker.assign(FS::TreeWalker::kMaxThreads, {});
    ASSERT_TRUE(walker.index(QFile::encodeName(tree.path("r/aside")), 1, indexing));
    EXPECT_EQ(sortedPaths(perWorker), QStringList{tree.path("r/aside/inner/i")});
}

namespace {

// "name=bytes" of an entry, "(folded)" after a listed folder's folded bytes,
// children in brackets; in blocks of 4096.
QString levelShape(const FS::TreeWalker::Entry& entry)
{
    QString text = QString::fromUtf8(entry.name) + '=' + QString::number(entry.bytes / 4096);
    if (entry.isListed) {
        QStringList parts;
        for (const FS::TreeWalker::Entry& child : entry.children) {
            parts << levelShape(child);
        }
        text += "(" + QString::number(entry.folded / 4096) + ")[" + parts.join(',') + ']';
    } else if (entry.isDirectory) {
        text += '/';
    }
    return text;
}

} // namespace

TEST(TreeWalker, LevelsListTheFirstLevelsEntryByEntryAndCountTheRestWhole)
{
    FixtureTree tree;
    tree.file("root/b-file", 2 * 4096);
    tree.file("root/a/small", 4096);
    tree.file("root/a/large", 5 * 4096);
    tree.file("root/a/deep/x/y", 3 * 4096);
    tree.file("root/a/deep/z", 4096);
    tree.file("root/tiny", 4096);
    tree.file("root/empty");
    tree.symlink("root/link", tree.path("root/a"));
    const QString shared = tree.file("root/c/linked", 4 * 4096);
    hardLink(shared, tree.path("root/a/deep/x/again"));
    hardLink(shared, tree.path("root/c/twice"));

    FS::TreeWalker::Levels levels;
    levels.depth = 3;
    levels.smallFile = 2 * 4096;
    for (int threads : {1, 8}) {
        const FS::TreeWalker::Entry root =
            FS::TreeWalker({}, threads).levels(QFile::encodeName(tree.path("root")), levels);
        // Level-1 files stay however small; below it small files fold; the
        // hard-linked file counts once, where listing order first reaches it:
        // a/deep/x, counted whole at the depth limit.
        EXPECT_EQ(levelShape(root).toStdString(),
                  tree.path("root").toStdString()
                      + "=17(0)["
                        "a=14(1)[deep=8(1)[x=7/],large=5],"
                        "b-file=2,"
                        "c=0(0)[linked=0,twice=0],"
                        "empty=0,link=0,tiny=1]")
            << threads << " threads";
        EXPECT_EQ(root.bytes, blocksOfRegularFiles(tree.path("root")));
    }
}

TEST(TreeWalker, LevelsTellWhenEachRootEntryIsCountedAndNeverOpenSkippedFolders)
{
    FixtureTree tree;
    for (int i = 0; i < 6; ++i) {
        tree.deepChain(QStringLiteral("root/d%1").arg(i), 20 + i, 4096 * (i + 1));
    }
    tree.file("root/file", 4096);
    tree.file("root/away/inside", 100 * 4096);
    tree.file("root/d0/away/inside", 100 * 4096);

    std::mutex mutex;
    QStringList listed;
    std::vector<std::size_t> finished;
    FS::TreeWalker::Levels levels;
    levels.depth = 2;
    levels.listed = [&](const FS::TreeWalker::Entry& root) {
        std::lock_guard lock(mutex);
        for (const FS::TreeWalker::Entry& entry : root.children) {
            listed << QString::fromUtf8(entry.name);
        }
        EXPECT_TRUE(finished.empty());
    };
    levels.finished = [&](std::size_t index) {
        std::lock_guard lock(mutex);
        finished.push_back(index);
    };
    FS::TreeWalker walker;
    walker.skipFolders({QFile::encodeName(tree.path("root/away")), QFile::encodeName(tree.path("root/d0/away"))});
    const FS::TreeWalker::Entry root = walker.levels(QFile::encodeName(tree.path("root")), levels);

    EXPECT_EQ(listed, (QStringList{"d0", "d1", "d2", "d3", "d4", "d5", "file"}));
    std::sort(finished.begin(), finished.end());
    EXPECT_EQ(finished, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(root.bytes, 4096 * (1 + 2 + 3 + 4 + 5 + 6 + 1));
    EXPECT_EQ(root.children.size(), 7u);
}

TEST(TreeWalker, CancelledLevelsKeepWhatWasCountedAndFinishNothingMore)
{
    MixedTree fixture;
    FS::TreeWalker::Levels levels;
    levels.depth = 2;
    std::atomic<int> finished{0};
    levels.finished = [&](std::size_t) { ++finished; };
    const qint64 full = FS::TreeWalker().levels(QFile::encodeName(fixture.tree.root()), levels).bytes;
    EXPECT_GT(finished.load(), 0);
    for (int after : {0, 1, 50, 500}) {
        finished = 0;
        CancelAfter cancel(after);
        const FS::TreeWalker::Entry partial =
            FS::TreeWalker(cancel.predicate()).levels(QFile::encodeName(fixture.tree.root()), levels);
        EXPECT_LE(partial.bytes, full) << after;
        if (after == 0) {
            EXPECT_TRUE(partial.children.empty());
            EXPECT_EQ(finished.load(), 0);
        }
    }
    EXPECT_TRUE(FS::TreeWalker().levels(QFile::encodeName(fixture.tree.path("missing")), levels).children.empty());
    EXPECT_TRUE(FS::TreeWalker().levels("/proc", levels).children.empty());
}
