#include "engine/scanners/DuplicatesScanner.h"
#include "engine/scanners/InstallersScanner.h"
#include "engine/scanners/LargeOldFilesScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "support/FixtureTree.h"
#include "support/Mounts.h"
#include "support/QtPrinters.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

const QDateTime kNow(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);

QStringList locations(const CategoryResult& result)
{
    QStringList list;
    for (const ScanGroup& group : result.groups) {
        for (const ScanItem& item : group.items) {
            list.append(item.url);
        }
    }
    list.sort();
    return list;
}

// A home whose user folders are links, as a Linux home often has them: the
// documents on another disk, the downloads in a synced folder inside the home,
// and the others to the file-system root, to /etc and to each other in a loop.
class LinkedUserFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.folder("home");
        disk = QFileInfo(tree.folder("disk/Documents")).canonicalFilePath();
        sync = QFileInfo(tree.folder("home/Sync/Downloads")).canonicalFilePath();
        tree.symlink("home/Documents", disk);
        tree.symlink("home/Downloads", sync);
        tree.symlink("home/Desktop", QStringLiteral("/"));
        tree.symlink("home/Music", QStringLiteral("/etc"));
        tree.symlink("home/Movies", tree.path("home/Pictures"));
        tree.symlink("home/Pictures", tree.path("home/Movies"));
    }

    QString oldFile(const QString& folder, const QString& name, const QByteArray& bytes)
    {
        const QString path = tree.file(folder + QLatin1Char('/') + name, bytes);
        tree.setTimes(folder + QLatin1Char('/') + name, kNow.addDays(-400), kNow.addDays(-400));
        return QFileInfo(path).canonicalFilePath();
    }

    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), kNow};
    platform::Seam<QList<platform::MountEntry>>::Override mounts{platform::mountTable(),
                                                                 test::mountsAt({QStringLiteral("/")})};
    QString disk;
    QString sync;
};

} // namespace

TEST_F(LinkedUserFoldersTest, LinkedFoldersAreWalkedOnTheirRealPathsAndOthersRefused)
{
    EXPECT_EQ(LargeOldFilesScanner(10000, 180).searchRoots(), QStringList({sync, disk}));
    EXPECT_EQ(DuplicatesScanner(10000).searchRoots(), QStringList({sync, disk}));
}

TEST_F(LinkedUserFoldersTest, ItemsBehindLinkedFoldersAreFoundAndNamedByTheirRealPaths)
{
    const QByteArray bytes(30000, 'x');
    const QString archive =
        oldFile(QStringLiteral("disk/Documents"), QStringLiteral("backup.iso"), QByteArray(40000, 'i'));
    const QString installer =
        oldFile(QStringLiteral("home/Sync/Downloads"), QStringLiteral("tool.deb"), QByteArray(50000, 'd'));
    const QString original = oldFile(QStringLiteral("disk/Documents"), QStringLiteral("report.bin"), bytes);
    const QString copy = oldFile(QStringLiteral("home/Sync/Downloads"), QStringLiteral("report copy.bin"), bytes);

    const CategoryResult large = LargeOldFilesScanner(10000, 180).scan({}, [] { return false; });
    QStringList everyFile{archive, installer, original, copy};
    everyFile.sort();
    EXPECT_EQ(locations(large), everyFile);

    InstallersScanner::Locations places;
    places.applicationFolders = QStringList{tree.path("Applications")};
    places.systemInstallers = tree.path("Applications");
    places.updates = tree.path("Updates");
    const CategoryResult installers = InstallersScanner(10000, 14, places).scan({}, [] { return false; });
    QStringList installerFiles{archive, installer};
    installerFiles.sort();
    EXPECT_EQ(locations(installers), installerFiles);

    const CategoryResult duplicates = DuplicatesScanner(10000).scan({}, [] { return false; });
    ASSERT_EQ(duplicates.groups.size(), 1);
    const QStringList copies = locations(duplicates);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies.first() == original || copies.first() == copy) << copies.first().toStdString();
}
