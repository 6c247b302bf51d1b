#include "engine/scanners/TrashScanner.h"
#include "engine/removal/Remover.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "platform/MountedVolumes.h"
#include "platform/PathText.h"
#include "platform/XdgDataHome.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/ItemRows.h"
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

using Row = test::ItemRow;

QList<Row> rows(const ScanGroup& group)
{
    return test::itemRows(group);
}

class TrashScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    QString uid = QString::number(getuid());
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QString>::Override data{platform::xdgDataHome(), tree.path("home/.local/share")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), QDateTime(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC)};
    platform::Seam<QList<platform::MountedVolume>>::Override volumes{platform::mountedVolumes(), {}};

    QString homeFiles() const { return "home/.local/share/Trash/files/"; }
};

} // namespace

TEST_F(TrashScannerTest, NothingInTheTrashGivesNoGroupsAndThreeReports)
{
    ProgressRecorder recorder;
    const CategoryResult result = TrashScanner().scan(recorder.callback(), [] { return false; });

    EXPECT_EQ(result.category, ScanCategory::trash);
    EXPECT_TRUE(result.groups.isEmpty());
    EXPECT_EQ(result.scannedAt, platform::now());
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_EQ(reports[0].fraction, 0.2);
    EXPECT_EQ(reports[0].message, QString::fromUtf8("Reading the Trash\u2026"));
    EXPECT_EQ(reports[1].fraction, 0.6);
    EXPECT_EQ(reports[1].message, QString::fromUtf8("Checking mounted volumes\u2026"));
    EXPECT_EQ(reports[2].fraction, 1.0);
    EXPECT_EQ(reports[2].message, "Trash scan complete");
    EXPECT_EQ(reports[2].bytesFound, 0);
}

TEST_F(TrashScannerTest, ListsTheHomeTrashThenEachVolumeByNameAndSize)
{
    tree.file(homeFiles() + ".hidden", 4096);
    tree.file(homeFiles() + "album/photo.jpg", 3 * 4096);
    tree.file("home/.local/share/Trash/info/album.trashinfo", 100);
    // Volume A: the user's own Trash folder.
    tree.file("vols/A/.Trash-" + uid + "/files/small", 4096);
    tree.file("vols/A/.Trash-" + uid + "/files/large", 5 * 4096);
    tree.folder("vols/A/.Trash-" + uid + "/info");
    // Volume B: the shared Trash (sticky) and the user's own, both listed.
    tree.file("vols/B/.Trash/" + uid + "/files/shared-entry", 2 * 4096);
    tree.folder("vols/B/.Trash/" + uid + "/info");
    ::chmod(QFile::encodeName(tree.path("vols/B/.Trash")).constData(), 01777);
    tree.file("vols/B/.Trash-" + uid + "/files/own-entry", 6 * 4096);
    tree.folder("vols/B/.Trash-" + uid + "/info");
    // Volume C: only another user's Trash.
    tree.file("vols/C/.Trash-9999/files/theirs", 4096);
    tree.folder("vols/C/.Trash-9999/info");
    platform::Seam<QList<platform::MountedVolume>>::Override mounted(
        platform::mountedVolumes(),
        {{"A", tree.path("vols/A")}, {"B", tree.path("vols/B")}, {"C", tree.path("vols/C")}});

    ProgressRecorder recorder;
    const CategoryResult result = TrashScanner().scan(recorder.callback(), [] { return false; });

    ASSERT_EQ(result.groups.size(), 2);
    const ScanGroup& homeGroup = result.groups[0];
    EXPECT_EQ(homeGroup.title, "Trash");
    EXPECT_EQ(homeGroup.subtitle, "Items you already moved to the Trash");
    EXPECT_EQ(homeGroup.symbol, "trash");
    EXPECT_FALSE(homeGroup.isOptIn);
    EXPECT_FALSE(homeGroup.isExpanded);
    EXPECT_EQ(rows(homeGroup), (QList<Row>{{"album", "Home", 3 * 4096}, {".hidden", "Home", 4096}}));
    EXPECT_EQ(homeGroup.items[0].url, tree.path(homeFiles() + "album"));

    const ScanGroup& volumeGroup = result.groups[1];
    EXPECT_EQ(volumeGroup.title, "Volume Trash");
    EXPECT_EQ(volumeGroup.subtitle, "Trash folders on external and network volumes");
    EXPECT_EQ(volumeGroup.symbol, "externaldrive.badge.xmark");
    EXPECT_FALSE(volumeGroup.isOptIn);
    EXPECT_FALSE(volumeGroup.isExpanded);
    EXPECT_EQ(rows(volumeGroup),
              (QList<Row>{{"large", "A", 5 * 4096},
                          {"small", "A", 4096},
                          {"own-entry", "B", 6 * 4096},
                          {"shared-entry", "B", 2 * 4096}}));
    for (const ScanGroup& group : result.groups) {
        for (const ScanItem& item : group.items) {
            EXPECT_TRUE(item.isSelected);
            EXPECT_FALSE(item.requiresReview);
        }
    }
    EXPECT_EQ(recorder.reports().last().bytesFound, result.totalSize());
    EXPECT_EQ(result.totalSize(), 18 * 4096);
}

TEST_F(TrashScannerTest, CancellingInTheHomeTrashKeepsWhatWasReadAndStillReports)
{
    // How many times listing one entry asks the predicate.
    tree.file("probe/one", 4096);
    int perEntry = 0;
    CategoryScanner::items(tree.path("probe"), std::nullopt, 0, false, [&] {
        ++perEntry;
        return false;
    });
    tree.file(homeFiles() + "a", 4096);
    tree.file(homeFiles() + "b", 2 * 4096);
    tree.file(homeFiles() + "c", 3 * 4096);
    tree.file("vols/A/.Trash-" + uid + "/files/x", 4096);
    tree.folder("vols/A/.Trash-" + uid + "/info");
    platform::Seam<QList<platform::MountedVolume>>::Override mounted(platform::mountedVolumes(),
                                                                     {{"A", tree.path("vols/A")}});

    ProgressRecorder recorder;
    CancelAfter cancel(perEntry);
    const CategoryResult result = TrashScanner().scan(recorder.callback(), cancel.predicate());

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(rows(result.groups[0]), (QList<Row>{{"a", "Home", 4096}}));
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_EQ(reports[2].fraction, 1.0);
    EXPECT_EQ(reports[2].bytesFound, 4096);
}

TEST_F(TrashScannerTest, ScansWithoutAProgressCallbackOrCancelPredicate)
{
    tree.file(homeFiles() + "old.log", 4096);
    const CategoryResult result = TrashScanner().scan({}, {});
    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].items.size(), 1);
}

// A name that is not UTF-8 is listed with its own bytes, so emptying the Trash
// reaches it (and its info file) instead of leaving it behind for ever.
TEST_F(TrashScannerTest, AnEntryWhoseNameIsNotUtf8IsListedAndCanBeEmptied)
{
    tree.file(homeFiles() + "plain.log", 4096);
    tree.folder("home/.local/share/Trash/info");
    const QByteArray files = platform::pathBytes(tree.path(homeFiles()));
    const QByteArray info = platform::pathBytes(tree.path("home/.local/share/Trash/info/"));
    const QByteArray name = "caf\xe9-\xff.txt";
    for (const QByteArray& path : {files + name, info + name + ".trashinfo"}) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << path.toStdString();
        ASSERT_EQ(::write(fd, QByteArray(3 * 4096, 'x').constData(), 3 * 4096), 3 * 4096);
        ::close(fd);
    }

    const CategoryResult result = TrashScanner().scan({}, {});
    ASSERT_EQ(result.groups.size(), 1);
    ASSERT_EQ(result.groups[0].items.size(), 2);
    const ScanItem& odd = result.groups[0].items[0];
    EXPECT_EQ(platform::pathBytes(odd.url), files + name);
    EXPECT_EQ(odd.size, 3 * 4096);

    QStringList locations;
    for (const ScanItem& item : result.groups[0].items) {
        locations.append(item.url);
    }
    const CleanupReport report = Remover(RemovalMode::trash).remove(locations, false);
    EXPECT_TRUE(report.failures.isEmpty());
    EXPECT_EQ(report.removed, 2);
    EXPECT_EQ(report.reclaimed, 4 * 4096);
    struct stat st { };
    EXPECT_NE(::lstat((files + name).constData(), &st), 0);
    EXPECT_NE(::lstat((info + name + ".trashinfo").constData(), &st), 0);
    EXPECT_TRUE(TrashScanner().scan({}, {}).groups.isEmpty());
}
