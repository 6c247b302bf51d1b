#include "engine/scanners/DuplicatesScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
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
using harborlite::test::ProgressRecorder;

namespace {

// Bytes that differ from one seed to the next and along the file.
QByteArray content(qint64 size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2166136261u ^ quint32(seed);
    for (qint64 i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = char(state >> 24);
    }
    return bytes;
}

const QDateTime kNow(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);

QDateTime daysAgo(int days)
{
    return kNow.addDays(-days);
}

QStringList titles(const CategoryResult& result)
{
    QStringList list;
    for (const ScanGroup& group : result.groups) {
        list.append(group.title);
    }
    return list;
}

QStringList names(const ScanGroup& group)
{
    QStringList list;
    for (const ScanItem& item : group.items) {
        list.append(item.displayName);
    }
    return list;
}

class DuplicatesScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), kNow};

    QString file(const QString& relative, const QByteArray& bytes, int ageInDays = 10)
    {
        const QString path = tree.file("home/" + relative, bytes);
        tree.setTimes("home/" + relative, daysAgo(ageInDays));
        return path;
    }

    CategoryResult scan(
        qint64 minimumSize, ProgressRecorder& recorder, const CancelPredicate& isCancelled = [] { return false; },
        std::optional<QStringList> roots = std::nullopt)
    {
        return DuplicatesScanner(minimumSize, std::move(roots)).scan(recorder.callback(), isCancelled);
    }
};

} // namespace

TEST_F(DuplicatesScannerTest, TwoCopiesKeepTheOlderAndReportTheNewer)
{
    const QByteArray bytes = content(40000, 1);
    file("Documents/Report.pdf", bytes, 3);
    const QString older = file("Downloads/Report.pdf", bytes, 30);
    file("Downloads/smaller.pdf", bytes.left(39999), 3);
    file("Desktop/smaller copy.pdf", bytes.left(39999), 3);

    ProgressRecorder recorder;
    const CategoryResult result = scan(40000, recorder);

    EXPECT_EQ(result.category, ScanCategory::duplicates);
    EXPECT_EQ(result.scannedAt, kNow);
    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "Report.pdf");
    EXPECT_EQ(group.subtitle, QString::fromUtf8("1 extra copy \u00b7 keeping ~/Downloads/Report.pdf"));
    EXPECT_EQ(group.symbol, "doc.on.doc");
    EXPECT_TRUE(group.isOptIn);
    EXPECT_FALSE(group.isExpanded);
    ASSERT_EQ(group.items.size(), 1);
    const ScanItem& item = group.items[0];
    EXPECT_EQ(item.url, tree.path("home/Documents/Report.pdf"));
    EXPECT_EQ(item.displayName, "Report.pdf");
    EXPECT_EQ(item.origin, "~/Documents");
    EXPECT_EQ(item.size, FS::allocatedSize(older));
    EXPECT_EQ(item.modified, daysAgo(3));
    EXPECT_TRUE(item.requiresReview);
    EXPECT_FALSE(item.isSelected);
    EXPECT_EQ(item.detail, "Copy of ~/Downloads/Report.pdf");

    const ScanProgress last = recorder.reports().last();
    EXPECT_EQ(last.fraction, 1.0);
    EXPECT_EQ(last.message, "Duplicate scan complete");
    EXPECT_EQ(last.bytesFound, FS::allocatedSize(older));
}

TEST_F(DuplicatesScannerTest, ThreeCopiesGiveTwoItemsAndGroupsComeLargestFirst)
{
    const QByteArray small = content(20000, 2);
    file("Downloads/small.bin", small, 40);
    file("Documents/small.bin", small, 20);
    file("Music/small.bin", small, 30);
    const QByteArray large = content(300000, 3);
    file("Pictures/large.bin", large, 5);
    file("Movies/large.bin", large, 50);

    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);

    ASSERT_EQ(titles(result), (QStringList{"large.bin", "small.bin"}));
    EXPECT_EQ(result.groups[0].subtitle, QString::fromUtf8("1 extra copy \u00b7 keeping ~/Movies/large.bin"));
    EXPECT_EQ(result.groups[1].subtitle, QString::fromUtf8("2 extra copies \u00b7 keeping ~/Downloads/small.bin"));
    // Newer copies follow in date order, oldest first.
    EXPECT_EQ(result.groups[1].items[0].url, tree.path("home/Music/small.bin"));
    EXPECT_EQ(result.groups[1].items[1].url, tree.path("home/Documents/small.bin"));
    const qint64 keptSmall = FS::allocatedSize(tree.path("home/Downloads/small.bin"));
    for (const ScanItem& item : result.groups[1].items) {
        EXPECT_EQ(item.size, keptSmall);
    }
    EXPECT_EQ(recorder.reports().last().bytesFound, result.totalSize());
}

TEST_F(DuplicatesScannerTest, SameHeadAndTailWithDifferentMiddlesAreNotCopies)
{
    const QByteArray bytes = content(100000, 4);
    QByteArray changed = bytes;
    changed[50000] = char(changed[50000] ^ 0x5a);
    file("Downloads/a.bin", bytes);
    file("Documents/b.bin", changed);

    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);

    EXPECT_TRUE(result.groups.isEmpty());
    const QList<ScanProgress> reports = recorder.reports();
    EXPECT_EQ(reports.last().message, "No duplicates found");
    EXPECT_EQ(reports.last().bytesFound, 0);
    // They shared the signature, so they were verified.
    EXPECT_EQ(reports[reports.size() - 2].message, QString::fromUtf8("Verifying 1 possible duplicates\u2026"));
}

TEST_F(DuplicatesScannerTest, EqualDatesKeepTheCopyFoundFirst)
{
    const QByteArray bytes = content(5000, 5);
    file("Documents/x.bin", bytes, 7);
    file("Downloads/x.bin", bytes, 7);

    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].subtitle, QString::fromUtf8("1 extra copy \u00b7 keeping ~/Downloads/x.bin"));
    EXPECT_EQ(result.groups[0].items[0].url, tree.path("home/Documents/x.bin"));
}

TEST_F(DuplicatesScannerTest, PrunedHiddenPackagedAndLinkedFilesAreNeverSeen)
{
    const QByteArray bytes = content(5000, 6);
    const QString original = file("Downloads/original.bin", bytes);
    for (const char* place : {"Documents/app/node_modules/x.bin", "Documents/repo/.git/x.bin",
                              "Documents/DerivedData/x.bin", "Documents/.hidden/x.bin", "Documents/.x.bin",
                              "Documents/Tool.app/Contents/x.bin", "Documents/Shots.photoslibrary/x.bin"}) {
        file(QString::fromUtf8(place), bytes);
    }
    tree.symlink("home/Desktop/link.bin", original);

    ProgressRecorder recorder;
    EXPECT_TRUE(scan(1000, recorder).groups.isEmpty());
}

TEST_F(DuplicatesScannerTest, AFileTheGuardRefusesIsNeitherKeptNorReported)
{
    const QByteArray bytes = content(5000, 7);
    file("Library/Messages/oldest.bin", bytes, 90);
    file("Downloads/a.bin", bytes, 20);
    file("Downloads/b.bin", bytes, 10);
    file("Documents/lonely.bin", content(6000, 8));
    file("Library/Messages/lonely.bin", content(6000, 8));

    ProgressRecorder recorder;
    const CategoryResult result = scan(
        1000, recorder, [] { return false; },
        QStringList{tree.path("home/Downloads"), tree.path("home/Documents"), tree.path("home/Library/Messages")});

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].title, "a.bin");
    EXPECT_EQ(names(result.groups[0]), QStringList{"b.bin"});
    // The refused copy never made its size bucket count.
    const QList<ScanProgress> reports = recorder.reports();
    EXPECT_EQ(reports[3].message, QString::fromUtf8("Comparing 1 size matches\u2026"));
}

TEST_F(DuplicatesScannerTest, TwoNamesOfOneFileAreOneFile)
{
    const QByteArray bytes = content(5000, 9);
    const QString first = file("Downloads/first.bin", bytes, 20);
    const QString second = tree.path("home/Documents/second.bin");
    tree.folder("home/Documents");
    ASSERT_EQ(::link(QFile::encodeName(first).constData(), QFile::encodeName(second).constData()), 0);

    ProgressRecorder recorder;
    EXPECT_TRUE(scan(1000, recorder).groups.isEmpty());

    file("Music/real copy.bin", bytes, 5);
    const CategoryResult result = scan(1000, recorder);
    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].title, "first.bin");
    EXPECT_EQ(names(result.groups[0]), QStringList{"real copy.bin"});
}

TEST_F(DuplicatesScannerTest, AFolderReachedTwiceCountsOnce)
{
    const QByteArray bytes = content(5000, 10);
    file("Downloads/sub/a.bin", bytes, 20);
    file("Downloads/sub/b.bin", bytes, 10);
    // A folder linked into itself, and the same folder given again as a root.
    tree.symlink("home/Downloads/sub/loop", tree.path("home/Downloads"));
    tree.symlink("home/Documents", tree.path("home/Downloads"));

    ProgressRecorder recorder;
    const CategoryResult result = scan(
        1000, recorder, [] { return false; },
        QStringList{tree.path("home/Downloads"), tree.path("home/Downloads/sub"), tree.path("home/Documents")});

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(names(result.groups[0]), QStringList{"b.bin"});
}

TEST_F(DuplicatesScannerTest, FilesThatVanishShrinkOrGrowMidScanAreNeverCopies)
{
    const QByteArray bytes = content(70000, 11);
    file("Downloads/keep.bin", bytes, 50);
    file("Downloads/copy.bin", bytes, 40);
    const QString vanishing = file("Downloads/vanishing.bin", bytes, 30);
    const QString shrinking = file("Downloads/shrinking.bin", bytes, 20);
    const QString growing = file("Downloads/growing.bin", bytes, 10);

    ProgressRecorder recorder;
    const auto record = recorder.callback();
    const CategoryResult result = DuplicatesScanner(1000).scan(
        [&](const ScanProgress& p) {
            record(p);
            if (p.message.startsWith("Comparing")) {
                QFile::remove(vanishing);
            }
            if (p.message.startsWith("Verifying")) {
                ASSERT_EQ(::truncate(QFile::encodeName(shrinking).constData(), 1000), 0);
                QFile out(growing);
                ASSERT_TRUE(out.open(QIODevice::Append));
                out.write("more");
            }
        },
        [] { return false; });

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].title, "keep.bin");
    EXPECT_EQ(names(result.groups[0]), QStringList{"copy.bin"});
}

TEST_F(DuplicatesScannerTest, AnUnreadableFileDropsOut)
{
    test::asOrdinaryUser([&] {
        const QByteArray bytes = content(5000, 12);
        file("Downloads/a.bin", bytes, 20);
        file("Downloads/b.bin", bytes, 10);
        const QString locked = file("Downloads/c.bin", bytes, 30);
        ::chmod(QFile::encodeName(locked).constData(), 0);
        tree.file("home/Documents/closed/d.bin", bytes);
        ::chmod(QFile::encodeName(tree.path("home/Documents/closed")).constData(), 0);

        ProgressRecorder recorder;
        const CategoryResult result = scan(1000, recorder);
        ::chmod(QFile::encodeName(tree.path("home/Documents/closed")).constData(), 0755);

        ASSERT_EQ(result.groups.size(), 1);
        EXPECT_EQ(result.groups[0].title, "a.bin");
        EXPECT_EQ(names(result.groups[0]), QStringList{"b.bin"});
    });
}

TEST_F(DuplicatesScannerTest, SparseFilesThatDifferEarlyAreNeverReadInFull)
{
    constexpr qint64 tenGigabytes = qint64(10) << 30;
    const QString first = tree.sparseFile("home/Downloads/disk-a.img", tenGigabytes);
    tree.sparseFile("home/Downloads/disk-b.img", tenGigabytes);
    QFile out(first);
    ASSERT_TRUE(out.open(QIODevice::ReadWrite));
    out.write("x");
    out.close();

    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);

    EXPECT_TRUE(result.groups.isEmpty());
    for (const ScanProgress& p : recorder.reports()) {
        EXPECT_FALSE(p.message.startsWith("Verifying"));
    }
}

TEST_F(DuplicatesScannerTest, ManyFilesInOneFolder)
{
    tree.folder("home/Downloads/crowd");
    const QByteArray folder = QFile::encodeName(tree.path("home/Downloads/crowd"));
    for (int i = 0; i < 20000; ++i) {
        const QByteArray name = folder + "/f" + QByteArray::number(i);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    const QByteArray bytes = content(5000, 13);
    file("Downloads/crowd/z-a.bin", bytes, 20);
    file("Downloads/crowd/z-b.bin", bytes, 10);

    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(names(result.groups[0]), QStringList{"z-b.bin"});
}

TEST_F(DuplicatesScannerTest, ProgressCountsDownThroughEachPass)
{
    for (int size : {3000, 4000, 5000}) {
        const QByteArray bytes = content(size, size);
        file(QString("Downloads/%1-a.bin").arg(size), bytes, 20);
        file(QString("Documents/%1-b.bin").arg(size), bytes, 10);
    }
    // Same size, different signature: compared, never verified.
    file("Documents/3000-c.bin", content(3000, 1));

    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);

    EXPECT_EQ(result.groups.size(), 3);
    const QList<ScanProgress> reports = recorder.reports();
    QStringList messages;
    QList<double> fractions;
    for (const ScanProgress& p : reports) {
        messages.append(p.message);
        fractions.append(p.fraction);
        if (p.fraction < 1.0) {
            EXPECT_EQ(p.bytesFound, 0);
        }
    }
    EXPECT_EQ(messages,
              (QStringList{QString::fromUtf8("Indexing Downloads\u2026"), QString::fromUtf8("Indexing Documents\u2026"),
                           QString::fromUtf8("Comparing 3 size matches\u2026"),
                           QString::fromUtf8("Comparing 2 size matches\u2026"),
                           QString::fromUtf8("Comparing 1 size matches\u2026"),
                           QString::fromUtf8("Verifying 3 possible duplicates\u2026"),
                           QString::fromUtf8("Verifying 2 possible duplicates\u2026"),
                           QString::fromUtf8("Verifying 1 possible duplicates\u2026"), "Duplicate scan complete"}));
    const QList<double> expected = {0.0, 0.175, 0.35, 0.45, 0.55, 0.65, 0.75, 0.85, 1.0};
    ASSERT_EQ(fractions.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(fractions[i], expected[i], 1e-9) << i;
    }
}

TEST_F(DuplicatesScannerTest, NothingToSearchGivesOnlyTheFinalReport)
{
    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);

    EXPECT_TRUE(result.groups.isEmpty());
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].message, "No duplicates found");
    EXPECT_EQ(reports[0].fraction, 1.0);
}

TEST_F(DuplicatesScannerTest, CancellingDuringIndexingGivesNoGroups)
{
    const QByteArray bytes = content(5000, 14);
    file("Downloads/a.bin", bytes, 20);
    file("Downloads/b.bin", bytes, 10);
    file("Downloads/c.bin", bytes, 5);

    ProgressRecorder recorder;
    CancelAfter cancel(3);
    const CategoryResult result = scan(1000, recorder, cancel.predicate());

    EXPECT_TRUE(result.groups.isEmpty());
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[1].message, "No duplicates found");
}

TEST_F(DuplicatesScannerTest, CancellingWhileVerifyingKeepsTheSetsAlreadyHashed)
{
    // Small files are hashed whole by their signatures, before any cancellation.
    for (int size : {3000, 4000}) {
        const QByteArray bytes = content(size, size);
        file(QString("Downloads/%1-a.bin").arg(size), bytes, 20);
        file(QString("Downloads/%1-b.bin").arg(size), bytes, 10);
    }
    std::atomic<bool> stop = false;
    ProgressRecorder recorder;
    const auto record = recorder.callback();
    const CategoryResult result = DuplicatesScanner(1000).scan(
        [&](const ScanProgress& p) {
            record(p);
            if (p.message.startsWith("Verifying 1 ")) {
                stop = true;
            }
        },
        [&] { return stop.load(); });

    ASSERT_EQ(titles(result), QStringList{"3000-a.bin"});
    EXPECT_EQ(recorder.reports().last().message, "Duplicate scan complete");
}

TEST_F(DuplicatesScannerTest, CopiesInTheUsersOwnFoldersAreFoundByTheirLocalNames)
{
    tree.file("home/.config/user-dirs.dirs",
              QByteArray("XDG_PICTURES_DIR=\"$HOME/Bilder\"\nXDG_VIDEOS_DIR=\"$HOME/Filme\"\n"));
    const QByteArray photo = content(40000, 7);
    const QByteArray clip = content(50000, 8);
    file("Downloads/IMG_0001.jpg", photo, 30);
    file("Bilder/Sommer/IMG_0001.jpg", photo, 3);
    // ~/Videos is not walked: the desktop keeps the videos in ~/Filme.
    file("Videos/clip.mp4", clip, 30);
    file("Movies/clip.mp4", clip, 3);
    file("Filme/clip copy.mp4", clip, 2);

    ProgressRecorder recorder;
    const CategoryResult result = scan(40000, recorder);
    ASSERT_EQ(result.groups.size(), 2);
    EXPECT_EQ(result.groups[0].title, "clip.mp4");
    ASSERT_EQ(result.groups[0].items.size(), 1);
    EXPECT_EQ(result.groups[0].items[0].origin, "~/Filme");
    EXPECT_EQ(result.groups[0].items[0].detail, "Copy of ~/Movies/clip.mp4");
    EXPECT_EQ(result.groups[1].title, "IMG_0001.jpg");
    ASSERT_EQ(result.groups[1].items.size(), 1);
    EXPECT_EQ(result.groups[1].items[0].origin, "~/Bilder/Sommer");
}

// However deep a copy lies, the index walk reaches it.
TEST_F(DuplicatesScannerTest, FindsACopyHundredsOfLevelsDown)
{
    const QByteArray bytes = content(30000, 21);
    file("Downloads/original.bin", bytes, 40);
    QString bottom = "Documents/deep";
    tree.deepChain("home/" + bottom, 400);
    for (int i = 0; i < 400; ++i) {
        bottom += "/d";
    }
    file(bottom + "/copy.bin", bytes, 10);

    ProgressRecorder recorder;
    const CategoryResult result = scan(1000, recorder);
    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].title, "original.bin");
    ASSERT_EQ(result.groups[0].items.size(), 1);
    EXPECT_EQ(result.groups[0].items[0].url, tree.path("home/" + bottom + "/copy.bin"));
}
