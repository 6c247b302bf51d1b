#include "shared/FileSystem.h"
#include "platform/HomeFolder.h"
#include "platform/PathText.h"
#include "support/FixtureTree.h"
#include "support/OrdinaryUser.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::CancelAfter;
using harborlite::test::FixtureTree;

namespace {

qint64 allocated(const QString& path)
{
    struct stat st { };
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return qint64(st.st_blocks) * 512;
}

struct PathCase {
    const char* input;
    const char* trimmed;
    const char* last;
    const char* parent;
};

} // namespace

TEST(FileSystemPaths, TrimLastComponentAndParent)
{
    const PathCase cases[] = {
        {"/a/b/", "/a/b", "b", "/a"}, {"/a/b///", "/a/b", "b", "/a"}, {"/", "/", "/", ""},
        {"//", "/", "/", ""},         {"/top", "/top", "top", "/"},   {"/x/.Trash", "/x/.Trash", ".Trash", "/x"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(FS::path(QString::fromUtf8(c.input)), QString::fromUtf8(c.trimmed));
        EXPECT_EQ(FS::lastPathComponent(QString::fromUtf8(c.input)), QString::fromUtf8(c.last));
        if (QByteArray(c.input) != "/" && QByteArray(c.input) != "//") {
            EXPECT_EQ(FS::parentPath(QString::fromUtf8(c.input)), QString::fromUtf8(c.parent));
        }
    }
}

TEST(FileSystemPaths, IsBelowNeedsASeparatorAfterTheRoot)
{
    EXPECT_TRUE(FS::isBelow("/usr/bin", "/usr/bin"));
    EXPECT_TRUE(FS::isBelow("/usr/bin/ls", "/usr/bin"));
    EXPECT_FALSE(FS::isBelow("/usr/binaries", "/usr/bin"));
    EXPECT_FALSE(FS::isBelow("/usr", "/usr/bin"));
    EXPECT_TRUE(FS::isBelow("/anything", "/"));
}

TEST(FileSystemPaths, HomeAndLibraryFollowTheHomeFolder)
{
    platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/al/"));
    EXPECT_EQ(FS::home(), QStringLiteral("/home/al"));
    EXPECT_EQ(FS::homePath(), QStringLiteral("/home/al"));
    EXPECT_EQ(FS::library(), QStringLiteral("/home/al/Library"));
}

TEST(FileSystemPaths, HomeAbbreviationReplacesOnlyALeadingHome)
{
    platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/al"));
    const std::pair<const char*, const char*> cases[] = {
        {"/home/al/Downloads", "~/Downloads"},
        {"/home/al", "~"},
        {"/home/alice/Downloads", "/home/alice/Downloads"},
        {"/backup/home/al/x", "/backup/home/al/x"},
        {"/etc/hosts", "/etc/hosts"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(FS::abbreviatingHome(QString::fromUtf8(input)), QString::fromUtf8(expected)) << input;
    }
}

TEST(FileSystemSize, CountsAllocatedBytesOfRegularFilesOnly)
{
    FixtureTree tree;
    const QString a = tree.file("top/a.bin", 5000);
    const QString hidden = tree.file("top/.hidden", 70000);
    const QString nested = tree.file("top/sub/deeper/n.bin", 300000);
    const QString inPackage = tree.file("top/Tool.app/Contents/MacOS/tool", 40000);
    tree.file("big/huge.bin", 2 * 1024 * 1024);
    tree.symlink("top/link-to-big", tree.path("big"));
    tree.symlink("top/loop", tree.path("top"));
    tree.symlink("top/dangling", tree.path("nowhere"));
    ::mkfifo(QFile::encodeName(tree.path("top/pipe")).constData(), 0600);

    const qint64 expected = allocated(a) + allocated(hidden) + allocated(nested) + allocated(inPackage);
    EXPECT_EQ(FS::size(tree.path("top")), expected);
    EXPECT_EQ(FS::size(tree.path("top"), {.descendIntoPackages = true}), expected);
    EXPECT_EQ(FS::size(tree.path("top/")), expected);
    // A package counts the same whichever way it is measured.
    EXPECT_EQ(FS::size(tree.path("top/Tool.app"), {.descendIntoPackages = false}),
              FS::size(tree.path("top/Tool.app"), {.descendIntoPackages = true}));
}

TEST(FileSystemSize, SingleItemsMissingPathsAndLinks)
{
    FixtureTree tree;
    const QString file = tree.file("f.bin", 12345);
    tree.file("big/huge.bin", 1024 * 1024);
    const QString link = tree.symlink("link", tree.path("big"));
    const QString sparse = tree.sparseFile("sparse.img", 50 * 1000 * 1000);

    EXPECT_EQ(FS::size(file), FS::allocatedSize(file));
    EXPECT_GT(FS::size(file), 0);
    EXPECT_EQ(FS::size(tree.path("missing")), 0);
    EXPECT_EQ(FS::allocatedSize(tree.path("missing")), 0);
    EXPECT_EQ(FS::size(QString()), 0);
    // A link given as the location counts itself, never its target.
    EXPECT_EQ(FS::size(link), allocated(link));
    EXPECT_LT(FS::size(link), 1024 * 1024);
    // A sparse file counts what it occupies, not its length.
    EXPECT_EQ(FS::size(sparse), allocated(sparse));
    EXPECT_LT(FS::size(sparse), 1000 * 1000);
}

TEST(FileSystemSize, CancellationReturnsThePartialTotal)
{
    FixtureTree tree;
    qint64 each = 0;
    for (int i = 0; i < 10; ++i) {
        each = allocated(tree.file(QStringLiteral("flat/f%1").arg(i), 8192));
    }
    // One poll before the walk starts, then one before every entry.
    CancelAfter afterFour(4);
    EXPECT_EQ(FS::size(tree.path("flat"), {.isCancelled = afterFour.predicate()}), 3 * each);
    CancelAfter atOnce(0);
    EXPECT_EQ(FS::size(tree.path("flat"), {.isCancelled = atOnce.predicate()}), 0);
}

TEST(FileSystemSize, SurvivesATreeTenThousandLevelsDeep)
{
    FixtureTree tree;
    const QString before = tree.file("root/a-before", 4096);
    const QString after = tree.file("root/z-after", 8192);
    tree.deepChain("root/m", 10000, 20000);
    // The same chain measured from its top: the bottom file is all it holds.
    const qint64 chain = FS::size(tree.path("root/m"));
    EXPECT_GE(chain, 20000);
    EXPECT_EQ(FS::size(tree.path("root")), chain + allocated(before) + allocated(after));
}

TEST(FileSystemSize, ResumesShallowFoldersAfterADeepExcursion)
{
    FixtureTree tree;
    qint64 expected = 0;
    for (int i = 0; i < 300; ++i) {
        expected += allocated(tree.file(QStringLiteral("wide/f%1").arg(i, 3, 10, QLatin1Char('0')), 1000 + i));
        if (i % 100 == 50) {
            tree.deepChain(QStringLiteral("wide/chain%1").arg(i), 200, 5000);
            expected += FS::size(tree.path(QStringLiteral("wide/chain%1").arg(i)));
        }
    }
    EXPECT_EQ(FS::size(tree.path("wide")), expected);
}

TEST(FileSystemSize, DoesNotEnterPseudoFileSystems)
{
    EXPECT_EQ(FS::size(QStringLiteral("/proc")), 0);
    EXPECT_EQ(FS::size(QStringLiteral("/sys")), 0);
}

TEST(FileSystemChildren, SortsByBytesAndFiltersHiddenEntries)
{
    FixtureTree tree;
    for (const char* name : {"beta", "Alpha", "alpha", ".hidden", "Zulu", "_under"}) {
        tree.file(QStringLiteral("dir/") + QString::fromUtf8(name), 10);
    }
    const QString dir = tree.path("dir");
    QStringList names;
    for (const QString& child : FS::children(dir, {.includingHidden = false})) {
        names << FS::lastPathComponent(child);
    }
    EXPECT_EQ(names, (QStringList{"Alpha", "Zulu", "_under", "alpha", "beta"}));
    EXPECT_EQ(FS::children(dir, {.includingHidden = true}).first(), dir + QStringLiteral("/.hidden"));
    EXPECT_EQ(FS::children(dir + QStringLiteral("/"), {.includingHidden = true}).first(),
              dir + QStringLiteral("/.hidden"));
}

TEST(FileSystemChildren, UnreadableOrMissingFoldersListNothing)
{
    FixtureTree tree;
    const QString file = tree.file("plain", 10);
    EXPECT_TRUE(FS::children(file, {.includingHidden = true}).isEmpty());
    EXPECT_TRUE(FS::children(tree.path("missing"), {.includingHidden = true}).isEmpty());
    EXPECT_TRUE(FS::children(QString(), {.includingHidden = true}).isEmpty());
}

// A link given as the folder lists the folder it points to, each entry named
// through the link; a folder that cannot be read lists nothing.
TEST(FileSystemChildren, ALinkToAFolderListsItsTargetAndAClosedFolderNothing)
{
    test::asOrdinaryUser([] {
        FixtureTree tree;
        tree.file("real/a", 10);
        tree.file("real/.b", 10);
        const QString link = tree.symlink("link", tree.path("real"));
        EXPECT_EQ(FS::children(link, {.includingHidden = true}), (QStringList{link + "/.b", link + "/a"}));
        EXPECT_EQ(FS::children(link + "/", {.includingHidden = false}), QStringList{link + "/a"});

        tree.file("closed/c", 10);
        const QByteArray closed = QFile::encodeName(tree.path("closed"));
        ASSERT_EQ(::chmod(closed.constData(), 0300), 0);
        EXPECT_TRUE(FS::children(tree.path("closed"), {.includingHidden = true}).isEmpty());
        ::chmod(closed.constData(), 0755);
    });
}

TEST(FileSystemChildren, NamesThatAreNotUtf8AreListedByTheirBytes)
{
    FixtureTree tree;
    const QString dir = tree.folder("odd");
    const QString good = tree.file("odd/good", 4096);
    const QByteArray badName = platform::pathBytes(dir) + "/bad-\xff\xfe";
    const int fd = ::open(badName.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, QByteArray(8192, 'y').constData(), 8192), 8192);
    ::close(fd);
    struct stat st { };
    ASSERT_EQ(::lstat(badName.constData(), &st), 0);

    const QStringList listed = FS::children(dir, {.includingHidden = true});
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(platform::pathBytes(listed[0]), badName);
    EXPECT_EQ(listed[1], good);
    EXPECT_EQ(FS::allocatedSize(listed[0]), qint64(st.st_blocks) * 512);
    EXPECT_TRUE(FS::modificationDate(listed[0]));
    EXPECT_EQ(FS::size(dir), allocated(good) + qint64(st.st_blocks) * 512);
}

TEST(FileSystemDates, ReadModificationAndAccessDates)
{
    FixtureTree tree;
    tree.file("f", 10);
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(1600000000, Qt::UTC);
    const QDateTime accessed = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    tree.setTimes("f", modified, accessed);

    EXPECT_EQ(FS::modificationDate(tree.path("f")), modified);
    EXPECT_EQ(FS::lastAccessDate(tree.path("f")), accessed);
    EXPECT_FALSE(FS::modificationDate(tree.path("missing")).has_value());
    EXPECT_FALSE(FS::lastAccessDate(tree.path("missing")).has_value());
}

TEST(FileSystemVolumes, CapacityOfAReadableAndAMissingLocation)
{
    FixtureTree tree;
    const FS::VolumeCapacity capacity = FS::volumeCapacity(tree.root());
    EXPECT_GT(capacity.total, 0);
    EXPECT_GE(capacity.total, capacity.free);
    const FS::VolumeCapacity missing = FS::volumeCapacity(tree.path("missing/deeper"));
    EXPECT_EQ(missing.free, 0);
    EXPECT_EQ(missing.total, 0);
}
