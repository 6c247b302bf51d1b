#include "engine/removal/Remover.h"
#include "engine/safety/SafetyGuard.h"
#include "platform/Clock.h"
#include "platform/FileWriter.h"
#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "platform/Trash.h"
#include "platform/XdgDataHome.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/Mounts.h"
#include "support/OpenFileLimit.h"
#include "support/QtPrinters.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using Mode = Remover::Mode;

namespace {

constexpr qint64 MiB = 1 << 20;

// Every entry below `root` (links not followed) with its kind, mode and contents.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st { };
        ::lstat(QFile::encodeName(path).constData(), &st);
        QByteArray value = QByteArray::number(st.st_mode, 8) + ':';
        if (S_ISLNK(st.st_mode)) {
            value += QFile::encodeName(QFileInfo(path).symLinkTarget());
        } else if (S_ISREG(st.st_mode)) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            value += QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        }
        entries.insert(path, value);
    }
    return entries;
}

// The snapshot without the entries at or below any of `locations`.
QMap<QString, QByteArray> outside(QMap<QString, QByteArray> entries, const QStringList& locations)
{
    entries.removeIf([&](const auto& entry) {
        return std::any_of(locations.begin(), locations.end(),
                           [&](const QString& l) { return FS::isBelow(entry.key(), l); });
    });
    return entries;
}

QStringList reasons(const CleanupReport& report)
{
    QStringList result;
    for (const CleanupReport::Failure& f : report.failures) {
        result << f.url + " -> " + f.reason;
    }
    return result;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A file of `logical` bytes holding data only in [dataAt, dataAt + 4096).
QString sparseWithData(FixtureTree& tree, const QString& relative, qint64 logical, qint64 dataAt)
{
    const QString path = tree.sparseFile(relative, logical);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    const QByteArray block(4096, 'd');
    EXPECT_EQ(::pwrite(fd, block.constData(), size_t(block.size()), dataAt), block.size());
    ::close(fd);
    return path;
}

// Records what shredding writes, passing every call on to the real file.
struct WriteLog {
    struct Write {
        off_t offset;
        qint64 size;
        bool operator==(const Write&) const = default;
    };
    QList<Write> writes;
    int syncs = 0;
    // Size and inode of the file, and whether any original byte survived, at each flush.
    QList<std::tuple<qint64, ino_t, bool>> atSync;
    int failWriteNumber = -1; // this write (0-based) fails with ENOSPC
    bool failSync = false;

    platform::FileWriter writer()
    {
        return {[this](int fd, const char* data, std::size_t size, off_t offset) -> ssize_t {
                    if (writes.size() == failWriteNumber) {
                        errno = ENOSPC;
                        return -1;
                    }
                    writes.append({offset, qint64(size)});
                    return ::pwrite(fd, data, size, offset);
                },
                [this](int fd) {
                    ++syncs;
                    struct stat st { };
                    ::fstat(fd, &st);
                    QByteArray back(st.st_size, '\0');
                    const int reader = ::open(("/proc/self/fd/" + QByteArray::number(fd)).constData(), O_RDONLY);
                    ::pread(reader, back.data(), size_t(back.size()), 0);
                    ::close(reader);
                    // Fixture files hold runs of 'x'; random bytes never hold 64 in a row.
                    atSync.append({qint64(st.st_size), st.st_ino, back.contains(QByteArray(64, 'x'))});
                    if (failSync) {
                        errno = EIO;
                        return -1;
                    }
                    return ::fsync(fd);
                }};
    }
};

class RemoverTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QString>::Override data{platform::xdgDataHome(), tree.path("home/.local/share")};
    platform::Seam<QList<platform::MountEntry>>::Override mounts{platform::mountTable(), test::mountsAt({"/"})};
    platform::Seam<QDateTime>::Override clock{platform::clock(), QDateTime(QDate(2024, 5, 1), QTime(9, 0), Qt::UTC)};

    QString homeTrash() const { return tree.path("home/.local/share/Trash"); }
};

} // namespace

TEST(RemoverMode, RawValuesAreTheCaseNames)
{
    EXPECT_EQ(Remover::allModes, (std::array<Mode, 3>{Mode::trash, Mode::permanent, Mode::shred}));
    for (Mode mode : Remover::allModes) {
        EXPECT_EQ(removerModeFromRawValue(rawValue(mode)), mode);
    }
    EXPECT_EQ(rawValue(Mode::permanent), "permanent");
    EXPECT_EQ(removerModeFromRawValue("Trash"), std::nullopt);
    EXPECT_EQ(removerModeFromRawValue(""), std::nullopt);
}

TEST_F(RemoverTest, EveryModeRemovesExactlyTheSelection)
{
    for (Mode mode : Remover::allModes) {
        SCOPED_TRACE(rawValue(mode).toStdString());
        const QString base = "home/" + rawValue(mode);
        const QString outsideFile = tree.file(base + "/keep/target.txt", QByteArray("precious"));
        const QString outsideFolder = tree.folder(base + "/keep/folder");
        tree.file(base + "/keep/folder/inner", 10);
        const QString folder = tree.folder(base + "/sel/folder");
        tree.file(base + "/sel/folder/.hidden", 700);
        tree.file(base + "/sel/folder/.cache/.deep", 5000);
        tree.symlink(base + "/sel/folder/links/to-file", outsideFile);
        tree.symlink(base + "/sel/folder/links/to-folder", outsideFolder);
        tree.symlink(base + "/sel/folder/links/dangling", tree.path("nowhere"));
        const QString big = tree.file(base + "/sel/big.bin", 5 * MiB / 2);
        const QString empty = tree.file(base + "/sel/empty");
        const QString sparse = sparseWithData(tree, base + "/sel/sparse.img", 3 * MiB, MiB);
        const QString link = tree.symlink(base + "/sel/link-to-keep", outsideFile);
        const QStringList selection = {folder, big, empty, sparse, link};
        qint64 expectedBytes = 0;
        for (const QString& s : selection) {
            expectedBytes += FS::size(s, {.descendIntoPackages = true});
        }
        const auto before = snapshot(tree.root());

        const CleanupReport report = Remover(mode).remove(selection, false);

        EXPECT_EQ(reasons(report), QStringList{});
        EXPECT_EQ(report.removed, 5);
        EXPECT_EQ(report.reclaimed, expectedBytes);
        EXPECT_GE(report.duration, 0.0);
        for (const QString& s : selection) {
            EXPECT_FALSE(FS::exists(s)) << s.toStdString();
        }
        const auto after = snapshot(tree.root());
        // Only the selection goes; the Trash (and the data folder holding it) is
        // the one place that gains entries.
        const QString dataFolder = tree.path("home/.local");
        EXPECT_EQ(outside(after, {dataFolder}), outside(before, selection + QStringList{dataFolder}));
        EXPECT_EQ(contents(outsideFile), "precious");
        if (mode == Mode::trash) {
            for (const QString& s : selection) {
                const QString name = QFileInfo(s).fileName();
                EXPECT_TRUE(FS::exists(homeTrash() + "/files/" + name)) << name.toStdString();
                EXPECT_TRUE(contents(homeTrash() + "/info/" + name + ".trashinfo").contains("Path="))
                    << name.toStdString();
            }
            EXPECT_EQ(QFileInfo(homeTrash() + "/files/link-to-keep").symLinkTarget(), outsideFile);
        } else {
            EXPECT_FALSE(FS::exists(homeTrash()));
        }
        QDir(homeTrash()).removeRecursively();
    }
}

TEST_F(RemoverTest, ShreddingWritesRandomChunksInPlaceAndFlushesOnce)
{
    const QString big = tree.file("home/big.bin", 5 * MiB / 2);
    const QString small = tree.file("home/small.txt", 5000);
    const QString empty = tree.file("home/empty");
    const QString hollow = tree.sparseFile("home/hollow.img", 50 * MiB);
    const QString sparse = sparseWithData(tree, "home/sparse.img", 3 * MiB, MiB);
    struct Case {
        QString file;
        QList<WriteLog::Write> writes;
    };
    const std::vector<Case> cases = {
        {big, {{0, MiB}, {MiB, MiB}, {2 * MiB, MiB / 2}}},
        // The whole last block, not just the 5000 bytes of data.
        {small, {{0, FS::allocatedSize(small)}}},
        {empty, {}},
        {hollow, {}},
        // Only the block that holds data; the holes stay holes.
        {sparse, {{MiB, 4096}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        struct stat st { };
        ::lstat(QFile::encodeName(c.file).constData(), &st);
        WriteLog log;
        const CleanupReport report = Remover(Mode::shred, log.writer()).remove({c.file}, false);

        EXPECT_EQ(reasons(report), QStringList{});
        EXPECT_EQ(report.removed, 1);
        EXPECT_FALSE(FS::exists(c.file));
        EXPECT_EQ(log.writes, c.writes);
        EXPECT_EQ(log.syncs, c.writes.isEmpty() ? 0 : 1);
        for (const auto& [size, inode, originalLeft] : log.atSync) {
            EXPECT_EQ(inode, st.st_ino);
            EXPECT_GE(size, qint64(st.st_size)); // never truncated
            EXPECT_FALSE(originalLeft);
        }
    }
}

TEST_F(RemoverTest, ShreddingNeverWritesBeyondTheSelection)
{
    const QString outsideFile = tree.file("home/keep/target.txt", QByteArray(3000, 'k'));
    const QString folder = tree.folder("home/sel");
    tree.file("home/sel/.hidden", 3000);
    tree.symlink("home/sel/link", outsideFile);
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.path("home/sel/pipe")).constData(), 0600), 0);
    const QString hardLinked = tree.file("home/other/shared.bin", QByteArray(3000, 'h'));
    const QString hardLink = tree.path("home/sel2/shared.bin");
    tree.folder("home/sel2");
    ASSERT_EQ(::link(QFile::encodeName(hardLinked).constData(), QFile::encodeName(hardLink).constData()), 0);
    WriteLog log;
    const CleanupReport report = Remover(Mode::shred, log.writer()).remove({folder, hardLink}, false);

    // The hidden file is overwritten, the link and the pipe removed as themselves.
    EXPECT_EQ(log.writes.size(), 1);
    EXPECT_EQ(log.syncs, 1);
    EXPECT_FALSE(FS::exists(folder));
    EXPECT_EQ(contents(outsideFile), QByteArray(3000, 'k'));
    // A hard-linked file would change under its other name too: not shredded.
    EXPECT_EQ(reasons(report),
              QStringList{hardLink + " -> "
                          + QString::fromUtf8(
                              "Could not overwrite \u201Cshared.bin\u201D: Other hard links share its contents.")});
    EXPECT_EQ(report.removed, 1);
    EXPECT_EQ(contents(hardLinked), QByteArray(3000, 'h'));
    EXPECT_TRUE(FS::exists(hardLink));
}

TEST_F(RemoverTest, AFailedOverwriteIsAFailureAndTheFileStays)
{
    const QString first = tree.file("home/a.bin", 3 * MiB);
    const QString second = tree.file("home/b.bin", 3000);
    struct Case {
        const char* name;
        int failWrite;
        bool failSync;
        QString file;
        QString reason;
    };
    const std::vector<Case> cases = {
        {"write fails", 1, false, first,
         QString::fromUtf8("Could not overwrite \u201Ca.bin\u201D: No space left on device")},
        {"flush fails", -1, true, second,
         QString::fromUtf8("Could not overwrite \u201Cb.bin\u201D: Input/output error")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteLog log;
        log.failWriteNumber = c.failWrite;
        log.failSync = c.failSync;
        const CleanupReport report = Remover(Mode::shred, log.writer()).remove({c.file}, false);

        EXPECT_EQ(reasons(report), QStringList{c.file + " -> " + c.reason});
        EXPECT_EQ(report.removed, 0);
        EXPECT_EQ(report.reclaimed, 0);
        EXPECT_TRUE(FS::exists(c.file));
    }
}

TEST_F(RemoverTest, BadInputIsRefusedOrSkippedAndNothingElseChanges)
{
    const QString kept = tree.file("home/keep/notes.txt", QByteArray("keep me"));
    const QString twice = tree.file("home/junk/twice.log", 4096);
    const QString toSystem = tree.symlink("home/junk/usr-bin", "/usr/bin");
    const QString traversal = tree.path("home/Apps/Tool.app/../../keep/notes.txt");
    tree.folder("home/Apps/Tool.app/Contents");
    const QString vanished = tree.path("home/junk/gone.tmp");
    const QString homeFolder = tree.path("home");
    const QString relative = "home/keep/notes.txt";

    for (Mode mode : Remover::allModes) {
        SCOPED_TRACE(rawValue(mode).toStdString());
        tree.file("home/junk/twice.log", 4096);
        const auto before = snapshot(tree.root());
        const QStringList refusedOnes = {"/", homeFolder, toSystem, relative};
        for (const QString& location : refusedOnes) {
            EXPECT_FALSE(SafetyGuard::verdict(location, true).allowed) << location.toStdString();
        }

        const CleanupReport report =
            Remover(mode).remove({"/", homeFolder, twice, twice, vanished, toSystem, traversal, relative}, true);

        QStringList expected;
        for (const QString& location : refusedOnes) {
            expected << location + " -> " + SafetyGuard::verdict(location, true).message;
        }
        expected.insert(3, traversal + " -> Path contains a parent traversal.");
        EXPECT_EQ(reasons(report), expected);
        EXPECT_EQ(report.removed, 1);
        EXPECT_EQ(report.reclaimed, 4096);
        EXPECT_EQ(contents(kept), "keep me");
        const QStringList changed = {twice, tree.path("home/.local")};
        EXPECT_EQ(outside(snapshot(tree.root()), changed), outside(before, changed));
    }
}

TEST_F(RemoverTest, TrashEntriesAreDeletedForGoodWithTheirInfo)
{
    const QString volume = tree.folder("Volume");
    platform::Seam<QList<platform::MountEntry>>::Override volumeMounted(platform::mountTable(),
                                                                        test::mountsAt({"/", volume}));
    const QString file = tree.file("home/old.log", 4096);
    const QString other = tree.file("home/other.log", 4096);
    const QString onVolume = tree.file("Volume/clip.mov", 8192);

    const CleanupReport moved = Remover(Mode::trash).remove({file, other, onVolume}, false);
    ASSERT_EQ(reasons(moved), QStringList{});
    EXPECT_EQ(moved.removed, 3);
    const QString trashed = homeTrash() + "/files/old.log";
    const QString volumeCan = volume + "/.Trash-" + QString::number(getuid());
    ASSERT_TRUE(FS::exists(trashed));
    ASSERT_TRUE(FS::exists(homeTrash() + "/info/old.log.trashinfo"));
    ASSERT_TRUE(FS::exists(volumeCan + "/files/clip.mov"));
    const auto before = snapshot(tree.root());

    // Moving an entry of the Trash into the Trash again would reclaim nothing:
    // in trash mode it is deleted for good, like in the other modes.
    const CleanupReport emptied = Remover(Mode::trash).remove({trashed}, false);
    EXPECT_EQ(reasons(emptied), QStringList{});
    EXPECT_EQ(emptied.removed, 1);
    EXPECT_EQ(emptied.reclaimed, 4096);
    EXPECT_FALSE(FS::exists(trashed));
    EXPECT_FALSE(FS::exists(homeTrash() + "/info/old.log.trashinfo"));
    EXPECT_FALSE(FS::exists(homeTrash() + "/files/old.log.2"));

    const CleanupReport shredded = Remover(Mode::shred).remove({volumeCan + "/files/clip.mov"}, false);
    EXPECT_EQ(reasons(shredded), QStringList{});
    EXPECT_FALSE(FS::exists(volumeCan + "/info/clip.mov.trashinfo"));

    const QStringList gone = {trashed, homeTrash() + "/info/old.log.trashinfo", volumeCan + "/files/clip.mov",
                              volumeCan + "/info/clip.mov.trashinfo"};
    EXPECT_EQ(snapshot(tree.root()), outside(before, gone));
}

TEST_F(RemoverTest, AnItemNoTrashCanTakeStaysAndFails)
{
    const QString volume = tree.folder("Volume");
    tree.file("Volume/.Trash-" + QString::number(getuid()), 1);
    platform::Seam<QList<platform::MountEntry>>::Override volumeMounted(platform::mountTable(),
                                                                        test::mountsAt({"/", volume}));
    const QString item = tree.file("Volume/keep.iso", 4096);

    const CleanupReport report = Remover(Mode::trash).remove({item}, false);

    EXPECT_EQ(
        reasons(report),
        QStringList{item + " -> "
                    + QString::fromUtf8("Could not move \u201Ckeep.iso\u201D to the Trash: The volume has no Trash "
                                        "folder you may use.")});
    EXPECT_EQ(report.removed, 0);
    EXPECT_EQ(report.reclaimed, 0);
    EXPECT_TRUE(FS::exists(item));
}

TEST_F(RemoverTest, ProgressNamesEachLocationAndEndsWithTheLast)
{
    const QString a = tree.file("home/a", 1);
    const QString b = tree.file("home/b", 1);
    QList<std::pair<double, QString>> calls;
    const auto record = [&](double fraction, const QString& location) { calls.append({fraction, location}); };

    Remover(Mode::permanent).remove({a, b}, false, record);
    EXPECT_EQ(calls, (QList<std::pair<double, QString>>{{0.0, a}, {0.5, b}, {1.0, b}}));

    calls.clear();
    const CleanupReport report = Remover(Mode::permanent).remove({}, false, record);
    EXPECT_EQ(calls, (QList<std::pair<double, QString>>{{1.0, tree.path("home")}}));
    EXPECT_EQ(report.removed, 0);
    EXPECT_EQ(report.reclaimed, 0);
    EXPECT_TRUE(report.failures.isEmpty());
    EXPECT_GE(report.duration, 0.0);
}

namespace {

constexpr uid_t nobody = 65534;

// Runs the removal in a child process acting as another user, so that rights
// are checked even though the tests run as root, and returns its report.
CleanupReport removeAs(uid_t user, Mode mode, const QStringList& locations)
{
    int channel[2];
    if (::pipe(channel) != 0) {
        ADD_FAILURE() << "pipe";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0) {
            ::_exit(2);
        }
        const CleanupReport report = Remover(mode).remove(locations, true);
        QByteArray out = QByteArray::number(report.removed) + '\n' + QByteArray::number(report.reclaimed) + '\n';
        for (const CleanupReport::Failure& f : report.failures) {
            out += f.url.toUtf8() + '\t' + f.reason.toUtf8() + '\n';
        }
        const bool sent = ::write(channel[1], out.constData(), size_t(out.size())) == out.size();
        ::_exit(sent ? 0 : 3);
    }
    ::close(channel[1]);
    QByteArray in;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        in.append(buffer, n);
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    CleanupReport report;
    const QList<QByteArray> lines = in.split('\n');
    if (lines.size() < 2) {
        ADD_FAILURE() << "no report from the child";
        return report;
    }
    report.removed = lines[0].toInt();
    report.reclaimed = lines[1].toLongLong();
    for (const QByteArray& line : lines.mid(2)) {
        if (const qsizetype tab = line.indexOf('\t'); tab > 0) {
            report.failures.append({QString::fromUtf8(line.left(tab)), QString::fromUtf8(line.mid(tab + 1))});
        }
    }
    return report;
}

void own(const QString& path, uid_t user, mode_t mode)
{
    EXPECT_EQ(::chown(QFile::encodeName(path).constData(), user, user), 0);
    EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

TEST_F(RemoverTest, MissingRightsAreFailuresThatSayPermission)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "acting as another user needs root";
    }
    own(tree.root(), 0, 0755);
    for (const char* folder : {"home/.local", "home/.local/share", "home/.local/share/Trash",
                               "home/.local/share/Trash/files", "home/.local/share/Trash/info"}) {
        own(tree.folder(folder), nobody, 0700);
    }
    // Not the user's folder: its entries cannot be removed (EACCES).
    const QString locked = tree.file("home/locked/theirs-to-keep.txt", QByteArray("locked"));
    own(locked, nobody, 0644);
    // A shared sticky folder: another user's file cannot be removed (EPERM).
    const QString sticky = tree.file("home/shared/root-owned.txt", QByteArray("sticky"));
    own(tree.path("home/shared"), 0, 01777);
    // The user's folder holding someone else's read-only file: it could be
    // deleted but not overwritten, so shredding must leave it.
    const QString foreign = tree.file("home/mine/foreign.txt", QByteArray("foreign"));
    own(foreign, 0, 0444);
    // The user's own read-only file: write access is granted back for shredding.
    const QString readOnly = tree.file("home/mine/read-only.txt", QByteArray(3000, 'r'));
    own(readOnly, nobody, 0444);
    own(tree.path("home/mine"), nobody, 0755);

    for (Mode mode : Remover::allModes) {
        SCOPED_TRACE(rawValue(mode).toStdString());
        const auto before = snapshot(tree.path("home/shared"));
        const CleanupReport report = removeAs(nobody, mode, {locked, sticky});
        EXPECT_EQ(report.removed, 0);
        EXPECT_EQ(report.reclaimed, 0);
        ASSERT_EQ(report.failures.size(), 2) << reasons(report).join('\n').toStdString();
        for (const CleanupReport::Failure& failure : report.failures) {
            EXPECT_TRUE(failure.reason.contains("permission", Qt::CaseInsensitive)) << failure.reason.toStdString();
        }
        EXPECT_TRUE(FS::exists(locked));
        EXPECT_EQ(snapshot(tree.path("home/shared")), before);
        if (mode != Mode::shred) {
            // Shredding overwrites the user's own file before its removal is refused.
            EXPECT_EQ(contents(locked), "locked");
        }
    }
    EXPECT_EQ(reasons(removeAs(nobody, Mode::permanent, {sticky})),
              QStringList{sticky + " -> "
                          + QString::fromUtf8("Could not remove \u201Croot-owned.txt\u201D: "
                                              "Permission denied (operation not permitted)")});

    const CleanupReport shredded = removeAs(nobody, Mode::shred, {foreign, readOnly});
    EXPECT_EQ(reasons(shredded),
              QStringList{foreign + " -> "
                          + QString::fromUtf8("Could not overwrite \u201Cforeign.txt\u201D: Permission denied")});
    EXPECT_EQ(contents(foreign), "foreign");
    EXPECT_EQ(shredded.removed, 1);
    EXPECT_FALSE(FS::exists(readOnly));
}

TEST_F(RemoverTest, RemovesATreeDeeperThanTheDescriptorLimit)
{
    for (const Mode mode : {Mode::permanent, Mode::shred}) {
        SCOPED_TRACE(rawValue(mode).toStdString());
        const QString top = tree.deepChain("home/deep", 3000, 5000);
        tree.file("home/deep/beside", 100);
        const qint64 size = FS::size(top);
        EXPECT_GE(size, 5000);
        CleanupReport report;
        {
            test::ScopedOpenFileLimit limit(256);
            report = Remover(mode).remove({top}, false);
        }
        EXPECT_EQ(reasons(report), QStringList{});
        EXPECT_EQ(report.removed, 1);
        EXPECT_EQ(report.reclaimed, size);
        EXPECT_FALSE(FS::exists(top));
    }
}

TEST_F(RemoverTest, AParentReplacedByALinkAfterThePlanIsRefusedInEveryMode)
{
    const QString volume = tree.folder("Volume");
    platform::Seam<QList<platform::MountEntry>>::Override volumeMounted(platform::mountTable(),
                                                                        test::mountsAt({"/", volume}));
    struct Case {
        const char* name;
        QString itemBase; // where the selected item lies
        QString decoyBase; // where the link now leads
    };
    const QList<Case> cases = {
        {"same volume", "home/same", "home/decoy-same"},
        {"from a volume to the home", "Volume/across", "home/decoy-across"},
        {"from the home to a volume", "home/onward", "Volume/decoy-onward"},
    };
    for (const Case& c : cases) {
        for (Mode mode : Remover::allModes) {
            SCOPED_TRACE(std::string(c.name) + " / " + rawValue(mode).toStdString());
            const QString base = c.itemBase + "/" + rawValue(mode);
            const QString decoy = c.decoyBase + "/" + rawValue(mode);
            const QString item = tree.file(base + "/parent/child", QByteArray(5000, 'x'));
            const QString folderItem = tree.folder(base + "/parent/folder");
            tree.file(base + "/parent/folder/inner", QByteArray("inner"));
            tree.file(decoy + "/child", QByteArray("decoy's own file"));
            tree.file(decoy + "/folder/inner", QByteArray("decoy's own folder"));
            const QString untouched = tree.file(base + "/other.txt", 4096);
            QMap<QString, QByteArray> atAction;
            const auto swapParent = [&](double, const QString& location) {
                if (location == item) {
                    ASSERT_TRUE(QFile::rename(tree.path(base + "/parent"), tree.path(base + "/moved-aside")));
                    tree.symlink(base + "/parent", tree.path(decoy));
                    atAction = snapshot(tree.root());
                }
            };

            const CleanupReport report = Remover(mode).remove({item, folderItem, untouched}, false, swapParent);

            EXPECT_EQ(reasons(report),
                      (QStringList{item + " -> The location changed since the scan",
                                   folderItem + " -> The location changed since the scan"}));
            EXPECT_EQ(report.removed, 1);
            EXPECT_EQ(report.reclaimed, 4096);
            EXPECT_FALSE(FS::exists(untouched));
            // Nothing but the one item left in the selection changed: not the decoy,
            // not the moved parent.
            const QStringList changed = {untouched, tree.path("home/.local"),
                                         volume + "/.Trash-" + QString::number(getuid())};
            EXPECT_EQ(outside(snapshot(tree.root()), changed), outside(atAction, changed));
            EXPECT_EQ(contents(tree.path(decoy + "/child")), "decoy's own file");
            EXPECT_EQ(contents(tree.path(base + "/moved-aside/child")), QByteArray(5000, 'x'));
        }
    }
}

TEST_F(RemoverTest, ALinkDeeperOnTheWayIsRefusedAndAVanishedParentIsSkipped)
{
    const QString item = tree.file("home/a/b/c/item.log", 4096);
    const QString gone = tree.file("home/gone/item.log", 4096);
    tree.file("home/decoy/b/c/item.log", QByteArray("decoy"));
    const auto swap = [&](double, const QString& location) {
        if (location == item) {
            ASSERT_TRUE(QFile::rename(tree.path("home/a"), tree.path("home/a-aside")));
            tree.symlink("home/a", tree.path("home/decoy"));
            QDir(tree.path("home/gone")).removeRecursively();
        }
    };
    for (Mode mode : Remover::allModes) {
        SCOPED_TRACE(rawValue(mode).toStdString());
        QDir(tree.path("home/a-aside")).removeRecursively();
        QFile::remove(tree.path("home/a"));
        tree.file("home/a/b/c/item.log", 4096);
        tree.file("home/gone/item.log", 4096);

        const CleanupReport report = Remover(mode).remove({item, gone}, false, swap);

        EXPECT_EQ(reasons(report), QStringList{item + " -> The location changed since the scan"});
        EXPECT_EQ(report.removed, 0);
        EXPECT_EQ(contents(tree.path("home/decoy/b/c/item.log")), "decoy");
        EXPECT_TRUE(FS::exists(tree.path("home/a-aside/b/c/item.log")));
    }
}
