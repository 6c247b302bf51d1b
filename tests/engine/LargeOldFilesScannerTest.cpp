#include "engine/scanners/LargeOldFilesScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "support/FixtureTree.h"
#include "support/OrdinaryUser.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QMimeDatabase>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;
using Kind = LargeOldFilesScanner::FileKind;

namespace {

const QDateTime kNow(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);
const QDateTime kCutOff = kNow.addDays(-180);

QStringList titles(const CategoryResult& result)
{
    QStringList list;
    for (const ScanGroup& group : result.groups) {
        list.append(group.title);
    }
    return list;
}

QStringList names(const CategoryResult& result)
{
    QStringList list;
    for (const ScanGroup& group : result.groups) {
        for (const ScanItem& item : group.items) {
            list.append(item.displayName);
        }
    }
    return list;
}

class LargeOldFilesScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), kNow};

    // A file of 20,000 bytes last used `days` days before the cut-off.
    QString oldFile(const QString& relative, int days = 10, qint64 bytes = 20000)
    {
        const QString path = tree.file("home/" + relative, bytes);
        tree.setTimes("home/" + relative, kCutOff.addDays(-days - 5), kCutOff.addDays(-days));
        return path;
    }

    CategoryResult scan(
        qint64 minimumSize, ProgressRecorder& recorder, const CancelPredicate& isCancelled = [] { return false; })
    {
        return LargeOldFilesScanner(minimumSize, 180).scan(recorder.callback(), isCancelled);
    }
};

} // namespace

TEST_F(LargeOldFilesScannerTest, SizeThresholdIsInclusive)
{
    const qint64 allocated = FS::allocatedSize(oldFile("Downloads/movie.mp4"));
    ProgressRecorder recorder;
    EXPECT_EQ(names(scan(allocated, recorder)), QStringList{"movie.mp4"});
    EXPECT_TRUE(scan(allocated + 1, recorder).groups.isEmpty());
}

TEST_F(LargeOldFilesScannerTest, AgeThresholdIsStrictAndUsesTheLastUse)
{
    tree.file("home/Documents/at-cut-off.pdf", 20000);
    tree.setTimes("home/Documents/at-cut-off.pdf", kCutOff.addDays(-30), kCutOff);
    tree.file("home/Documents/second-before.pdf", 20000);
    tree.setTimes("home/Documents/second-before.pdf", kCutOff.addDays(-30), kCutOff.addSecs(-1));
    // Opened recently although changed long ago.
    tree.file("home/Documents/opened-lately.pdf", 20000);
    tree.setTimes("home/Documents/opened-lately.pdf", kCutOff.addDays(-300), kNow.addDays(-1));
    // Changed recently on a mount that keeps no access times.
    tree.file("home/Documents/changed-lately.pdf", 20000);
    tree.setTimes("home/Documents/changed-lately.pdf", kNow.addDays(-1), kCutOff.addDays(-300));

    ProgressRecorder recorder;
    const CategoryResult result = scan(1, recorder);

    EXPECT_EQ(names(result), QStringList{"second-before.pdf"});
    const ScanItem& item = result.groups[0].items[0];
    EXPECT_EQ(item.modified, kCutOff.addSecs(-1));
    EXPECT_EQ(item.detail, "Last opened " + Format::relativeDate(kCutOff.addSecs(-1)));
}

TEST_F(LargeOldFilesScannerTest, KindsGroupInFixedOrderWithTheirTexts)
{
    // Found in reverse group order: Desktop, then Documents, then Downloads.
    // Neither its name nor its bytes tell a kind.
    tree.file("home/Desktop/notes", QByteArray("\x00\x01\xfe\xff", 4).repeated(7500));
    tree.setTimes("home/Desktop/notes", kCutOff.addDays(-15), kCutOff.addDays(-10));
    oldFile("Desktop/Project.app/Contents/MacOS/tool", 10, 15000);
    oldFile("Desktop/Project.app/Contents/Resources/data", 10, 15000);
    tree.setTimes("home/Desktop/Project.app", kCutOff.addDays(-40), kCutOff.addDays(-20));
    oldFile("Documents/report.pdf");
    oldFile("Documents/song.mp3");
    oldFile("Documents/photo.png");
    oldFile("Downloads/clip.mp4");
    oldFile("Downloads/backup.zip", 10, 40000);
    oldFile("Downloads/system.iso");

    ProgressRecorder recorder;
    const CategoryResult result = scan(10000, recorder);

    ASSERT_EQ(titles(result),
              (QStringList{"Archives & Disk Images", "Videos", "Images", "Audio", "Documents", "Bundles & Libraries",
                           "Other Files"}));
    EXPECT_EQ(names(result),
              (QStringList{"backup.zip", "system.iso", "clip.mp4", "photo.png", "song.mp3", "report.pdf", "Project.app",
                           "notes"}));
    const QStringList subtitles = {"Installers and zips you already used",
                                   "Large recordings and downloads",
                                   "High resolution images and raw files",
                                   "Long recordings and lossless audio",
                                   "Big documents and exports",
                                   "Project packages and media libraries",
                                   "Everything else over the size threshold"};
    const QStringList symbols = {"doc.zipper",         "film", "photo", "waveform", "doc.richtext", "cube.box",
                                 "questionmark.folder"};
    for (qsizetype i = 0; i < result.groups.size(); ++i) {
        const ScanGroup& group = result.groups[i];
        EXPECT_EQ(group.subtitle, subtitles[i]);
        EXPECT_EQ(group.symbol, symbols[i]);
        EXPECT_TRUE(group.isOptIn);
        EXPECT_FALSE(group.isExpanded);
        for (const ScanItem& item : group.items) {
            EXPECT_TRUE(item.requiresReview);
            EXPECT_FALSE(item.isSelected);
        }
    }
    const ScanItem& bundle = result.groups[5].items[0];
    EXPECT_EQ(bundle.size, FS::size(tree.path("home/Desktop/Project.app")));
    EXPECT_EQ(bundle.modified, kCutOff.addDays(-20));
    EXPECT_EQ(recorder.reports().last().bytesFound, result.totalSize());
}

TEST_F(LargeOldFilesScannerTest, FileKindsFromMimeTypes)
{
    const QMimeDatabase db;
    const QList<QPair<const char*, Kind>> cases = {
        {"application/zip", Kind::archive},
        {"application/x-compressed-tar", Kind::archive},
        {"application/x-apple-diskimage", Kind::archive},
        {"application/x-cd-image", Kind::archive},
        {"video/mp4", Kind::video},
        {"video/x-matroska", Kind::video},
        {"image/x-canon-cr2", Kind::image},
        {"audio/flac", Kind::audio},
        {"application/pdf", Kind::document},
        {"text/markdown", Kind::document},
        {"application/vnd.openxmlformats-officedocument.wordprocessingml.document", Kind::document},
        {"application/octet-stream", Kind::other},
        {"application/x-executable", Kind::other},
    };
    for (const auto& [name, kind] : cases) {
        EXPECT_EQ(LargeOldFilesScanner::fileKind(db.mimeTypeForName(QString::fromLatin1(name))), kind) << name;
    }
    EXPECT_EQ(LargeOldFilesScanner::fileKind(QMimeType()), Kind::other);
}

TEST_F(LargeOldFilesScannerTest, HiddenLinkedSparseAndUnreadableEntriesAreNotReported)
{
    test::asOrdinaryUser([&] {
        const QString visible = oldFile("Movies/Clips/visible.mov");
        oldFile("Movies/.hidden/inside.mov");
        oldFile("Movies/.dotfile.mov");
        tree.symlink("home/Movies/link.mov", visible);
        tree.symlink("home/Movies/Clips/loop", tree.path("home/Movies"));
        tree.sparseFile("home/Movies/sparse.img", qint64(10) << 30);
        tree.setTimes("home/Movies/sparse.img", kCutOff.addDays(-10), kCutOff.addDays(-10));
        oldFile("Movies/closed/locked.mov");
        ::chmod(QFile::encodeName(tree.path("home/Movies/closed")).constData(), 0);

        ProgressRecorder recorder;
        const CategoryResult result = scan(10000, recorder);
        ::chmod(QFile::encodeName(tree.path("home/Movies/closed")).constData(), 0755);

        EXPECT_EQ(names(result), QStringList{"visible.mov"});
        for (const ScanItem& item : result.groups[0].items) {
            if (item.displayName == "visible.mov") {
                EXPECT_EQ(item.origin, "~/Movies/Clips");
            }
        }
    });
}

TEST_F(LargeOldFilesScannerTest, NoRootsGiveOnlyTheCompletionReport)
{
    ProgressRecorder recorder;
    const CategoryResult result = scan(1, recorder);

    EXPECT_TRUE(result.groups.isEmpty());
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].message, "Large & old files scan complete");
    EXPECT_EQ(reports[0].fraction, 1.0);
}

TEST_F(LargeOldFilesScannerTest, ReportsEachRootAndStopsWhenCancelled)
{
    oldFile("Downloads/a.zip");
    oldFile("Documents/b.zip");
    oldFile("Music/c.zip");
    std::atomic<bool> stop = false;
    ProgressRecorder recorder;
    const auto record = recorder.callback();
    const CategoryResult result = LargeOldFilesScanner(10000, 180)
                                      .scan(
                                          [&](const ScanProgress& p) {
                                              record(p);
                                              if (p.message.startsWith("Scanning Documents")) {
                                                  stop = true;
                                              }
                                          },
                                          [&] { return stop.load(); });

    EXPECT_EQ(names(result), QStringList{"a.zip"});
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_EQ(reports[0].message, QString::fromUtf8("Scanning Downloads\u2026"));
    EXPECT_EQ(reports[0].fraction, 0.0);
    EXPECT_EQ(reports[0].bytesFound, 0);
    EXPECT_EQ(reports[1].message, QString::fromUtf8("Scanning Documents\u2026"));
    EXPECT_NEAR(reports[1].fraction, 1.0 / 3.0, 1e-9);
    EXPECT_EQ(reports[1].bytesFound, result.totalSize());
    EXPECT_EQ(reports[2].message, "Large & old files scan complete");
}

TEST_F(LargeOldFilesScannerTest, TheUsersOwnFoldersFollowTheListedOnesByTheirLocalNames)
{
    tree.file("home/.config/user-dirs.dirs",
              QByteArray("XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                         "XDG_PICTURES_DIR=\"$HOME/Bilder\"\nXDG_VIDEOS_DIR=\"$HOME/Filme\"\n"
                         "XDG_MUSIC_DIR=\"$HOME/\"\n"));
    oldFile("Downloads/a.zip");
    oldFile("Movies/b.zip");
    oldFile("Bilder/Urlaub/c.zip");
    oldFile("Filme/urlaub.mkv");
    oldFile("Dokumente/d.zip");

    const QString folder = tree.path("home");
    EXPECT_EQ(LargeOldFilesScanner(10000, 180).searchRoots(),
              (QStringList{folder + "/Downloads", folder + "/Movies", folder + "/Dokumente", folder + "/Filme",
                           folder + "/Bilder"}));
    ProgressRecorder recorder;
    const CategoryResult result = scan(10000, recorder);
    QStringList found = names(result);
    found.sort();
    EXPECT_EQ(found, (QStringList{"a.zip", "b.zip", "c.zip", "d.zip", "urlaub.mkv"}));
    EXPECT_EQ(recorder.reports().at(3).message, QString::fromUtf8("Scanning Filme\u2026"));
}

TEST_F(LargeOldFilesScannerTest, WithoutTheDesktopsListTheVideosFolderIsWalkedToo)
{
    oldFile("Videos/holiday.mkv");
    oldFile("Movies/old.mov");
    const QString folder = tree.path("home");
    EXPECT_EQ(LargeOldFilesScanner(10000, 180).searchRoots(), (QStringList{folder + "/Movies", folder + "/Videos"}));
    ProgressRecorder recorder;
    EXPECT_EQ(names(scan(10000, recorder)), (QStringList{"old.mov", "holiday.mkv"}));
}

// However deep a file lies, the walk reaches it: no level limit passes it over.
TEST_F(LargeOldFilesScannerTest, FindsFilesHundredsOfLevelsDown)
{
    tree.deepChain("home/Downloads/deep", 400, 30000);
    QString bottom = "home/Downloads/deep";
    for (int i = 0; i < 400; ++i) {
        bottom += "/d";
    }
    tree.setTimes(bottom + "/f", kCutOff.addDays(-20), kCutOff.addDays(-10));

    ProgressRecorder recorder;
    const CategoryResult result = scan(20000, recorder);
    ASSERT_EQ(names(result), QStringList{"f"});
    EXPECT_EQ(result.groups[0].items[0].url, tree.path(bottom + "/f"));
}
