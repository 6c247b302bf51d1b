#include "platform/Trash.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "platform/UserId.h"
#include "platform/XdgDataHome.h"
#include "support/FixtureTree.h"
#include "support/Mounts.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
namespace Trash = harborlite::platform::Trash;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

const QDateTime deletedAt = QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7), Qt::UTC);

QByteArray localDeletionDate()
{
    return deletedAt.toLocalTime().toString("yyyy-MM-dd'T'HH:mm:ss").toLatin1();
}

QByteArray expectedInfo(const QByteArray& encodedPath)
{
    return "[Trash Info]\nPath=" + encodedPath + "\nDeletionDate=" + localDeletionDate() + "\n";
}

// A home in a fixture tree whose data folder does not exist yet, every fixture
// folder on the root mount unless a test declares more mount points.
class TrashTest : public ::testing::Test {
protected:
    FixtureTree tree;
    QString uid = QString::number(getuid());
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QString>::Override data{platform::xdgDataHome(), tree.path("home/.local/share")};
    platform::Seam<QList<platform::MountEntry>>::Override mounts{platform::mountTable(), test::mountsAt({"/"})};
    platform::Seam<QDateTime>::Override clock{platform::clock(), deletedAt};

    QString homeTrash() const { return tree.path("home/.local/share/Trash"); }
};

} // namespace

TEST_F(TrashTest, RoundTripWritesTheInfoFileAndCreatesTheHomeTrash)
{
    const QString original = tree.file("home/work/report 100%.txt", QByteArray("quarterly"));
    ASSERT_FALSE(QFileInfo::exists(tree.path("home/.local")));

    const Trash::MoveResult moved = Trash::moveToTrash(original);

    ASSERT_FALSE(moved.failure.has_value()) << moved.failure->toStdString();
    EXPECT_EQ(moved.trashedAs, homeTrash() + "/files/report 100%.txt");
    EXPECT_FALSE(QFileInfo::exists(original));
    EXPECT_EQ(contents(moved.trashedAs), "quarterly");
    const QString info = homeTrash() + "/info/report 100%.txt.trashinfo";
    EXPECT_EQ(contents(info), expectedInfo(QFile::encodeName(tree.path("home/work/")) + "report%20100%25.txt"));
    EXPECT_EQ(Trash::infoFileOf(moved.trashedAs), info);
    EXPECT_TRUE(Trash::isInsideTrash(moved.trashedAs));
    EXPECT_FALSE(Trash::isInsideTrash(original));
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(homeTrash()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(TrashTest, NameCollisionsGetNumberedNamesAndTheirOwnInfo)
{
    tree.file("home/.local/share/Trash/files/orphan", 1); // an entry without info
    tree.file("home/.local/share/Trash/info/claimed.trashinfo", 1); // info without an entry
    const QString first = tree.file("home/a/same.txt", QByteArray("1"));
    const QString second = tree.file("home/b/same.txt", QByteArray("2"));
    const QString third = tree.file("home/c/same.txt", QByteArray("3"));
    const QString orphan = tree.file("home/d/orphan", QByteArray("4"));
    const QString claimed = tree.file("home/e/claimed", QByteArray("5"));
    const QString longName = tree.file("home/f/" + QString(250, QChar(u'é')).left(124) + "xx", QByteArray("6"));

    const QStringList expected = {"same.txt", "same.txt.2", "same.txt.3", "orphan.2", "claimed.2"};
    const QStringList originals = {first, second, third, orphan, claimed};
    for (int i = 0; i < originals.size(); ++i) {
        const Trash::MoveResult moved = Trash::moveToTrash(originals[i]);
        ASSERT_FALSE(moved.failure.has_value()) << moved.failure->toStdString();
        EXPECT_EQ(moved.trashedAs, homeTrash() + "/files/" + expected[i]);
        EXPECT_EQ(contents(moved.trashedAs), QByteArray::number(i + 1));
        EXPECT_EQ(contents(homeTrash() + "/info/" + expected[i] + ".trashinfo"),
                  expectedInfo(QFile::encodeName(originals[i]).toPercentEncoding("/")));
    }
    EXPECT_EQ(contents(homeTrash() + "/files/orphan"), QByteArray(1, 'x'));

    // 250 bytes of name: with ".trashinfo" the info file would pass 255 bytes,
    // so the name is cut at a character boundary.
    const Trash::MoveResult moved = Trash::moveToTrash(longName);
    ASSERT_FALSE(moved.failure.has_value()) << moved.failure->toStdString();
    const QByteArray trashedName = QFile::encodeName(QFileInfo(moved.trashedAs).fileName());
    EXPECT_EQ(trashedName.size(), 244);
    EXPECT_TRUE(QFile::encodeName(QFileInfo(longName).fileName()).startsWith(trashedName));
    EXPECT_EQ(contents(moved.trashedAs), "6");
}

TEST_F(TrashTest, LinksAndFoldersMoveAsThemselves)
{
    const QString target = tree.file("home/target.txt", QByteArray("kept"));
    const QString link = tree.symlink("home/link", target);
    const QString folder = tree.folder("home/album");
    tree.file("home/album/.hidden", 3);

    const Trash::MoveResult movedLink = Trash::moveToTrash(link);
    ASSERT_FALSE(movedLink.failure.has_value());
    EXPECT_EQ(QFileInfo(movedLink.trashedAs).symLinkTarget(), target);
    EXPECT_EQ(contents(target), "kept");

    const Trash::MoveResult movedFolder = Trash::moveToTrash(folder);
    ASSERT_FALSE(movedFolder.failure.has_value());
    EXPECT_TRUE(QFileInfo::exists(movedFolder.trashedAs + "/.hidden"));
    EXPECT_FALSE(Trash::isInsideTrash(homeTrash() + "/files"));
    EXPECT_TRUE(Trash::isInsideTrash(movedFolder.trashedAs + "/.hidden"));
    EXPECT_FALSE(Trash::infoFileOf(movedFolder.trashedAs + "/.hidden").has_value());
}

TEST_F(TrashTest, AVolumeItemGoesToTheVolumesOwnTrashWithARelativePath)
{
    const QString volume = tree.folder("Volume");
    platform::Seam<QList<platform::MountEntry>>::Override volumeMounted(platform::mountTable(),
                                                                        test::mountsAt({"/", volume}));
    const QString item = tree.file("Volume/Photos/beach day.jpg", QByteArray("sand"));
    EXPECT_TRUE(Trash::volumeTrashes(volume).isEmpty());

    const Trash::MoveResult moved = Trash::moveToTrash(item);

    ASSERT_FALSE(moved.failure.has_value()) << moved.failure->toStdString();
    const QString can = volume + "/.Trash-" + uid;
    EXPECT_EQ(moved.trashedAs, can + "/files/beach day.jpg");
    EXPECT_EQ(contents(can + "/info/beach day.jpg.trashinfo"), expectedInfo("Photos/beach%20day.jpg"));
    EXPECT_FALSE(QFileInfo::exists(homeTrash()));
    struct stat st { };
    ASSERT_EQ(::lstat(QFile::encodeName(can).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(Trash::volumeTrashes(volume), QStringList{can});
    EXPECT_EQ(Trash::infoFileOf(moved.trashedAs), can + "/info/beach day.jpg.trashinfo");
    EXPECT_TRUE(Trash::isInsideTrash(moved.trashedAs));

    // The same folder names away from a mount point are no trash can.
    const QString lookalike = tree.file("home/.Trash-" + uid + "/files/x", 1);
    EXPECT_FALSE(Trash::infoFileOf(lookalike).has_value());
    EXPECT_FALSE(Trash::isInsideTrash(lookalike));
}

TEST_F(TrashTest, TheSharedVolumeTrashIsUsedOnlyWhenStickyAndReal)
{
    struct Case {
        const char* name;
        std::function<void(FixtureTree&, const QString&)> prepare;
        const char* expectedCan; // relative to the volume; "" for none
    };
    const QString id = uid;
    const std::vector<Case> cases = {
        {"sticky shared folder",
         [](FixtureTree& t, const QString& v) {
             t.folder(QFileInfo(v).fileName() + "/.Trash");
             ::chmod(QFile::encodeName(v + "/.Trash").constData(), 01777);
         },
         ".Trash/UID"},
        {"shared folder without the sticky bit",
         [](FixtureTree& t, const QString& v) { t.folder(QFileInfo(v).fileName() + "/.Trash"); }, ".Trash-UID"},
        {"shared folder reached through a link",
         [](FixtureTree& t, const QString& v) {
             const QString real = t.folder("elsewhere-" + QFileInfo(v).fileName());
             ::chmod(QFile::encodeName(real).constData(), 01777);
             t.symlink(QFileInfo(v).fileName() + "/.Trash", real);
         },
         ".Trash-UID"},
        {"own folder taken by a file",
         [id](FixtureTree& t, const QString& v) { t.file(QFileInfo(v).fileName() + "/.Trash-" + id, 1); }, ""},
        {"own folder as a link",
         [id](FixtureTree& t, const QString& v) {
             t.symlink(QFileInfo(v).fileName() + "/.Trash-" + id, t.folder("stolen-" + QFileInfo(v).fileName()));
         },
         ""},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString volume = tree.folder("Volume" + QString::number(index++));
        c.prepare(tree, volume);
        platform::Seam<QList<platform::MountEntry>>::Override volumeMounted(platform::mountTable(),
                                                                            test::mountsAt({"/", volume}));
        const QString item = tree.file(QFileInfo(volume).fileName() + "/item", QByteArray("v"));

        const Trash::MoveResult moved = Trash::moveToTrash(item);

        const QString expected = QString(c.expectedCan).replace("UID", uid);
        if (expected.isEmpty()) {
            ASSERT_TRUE(moved.failure.has_value());
            EXPECT_EQ(*moved.failure,
                      QString::fromUtf8("Could not move \u201Citem\u201D to the Trash: The volume has no "
                                        "Trash folder you may use."));
            EXPECT_EQ(contents(item), "v");
            EXPECT_TRUE(Trash::volumeTrashes(volume).isEmpty());
        } else {
            ASSERT_FALSE(moved.failure.has_value()) << moved.failure->toStdString();
            EXPECT_EQ(moved.trashedAs, volume + "/" + expected + "/files/item");
            EXPECT_EQ(contents(volume + "/" + expected + "/info/item.trashinfo"), expectedInfo("item"));
            EXPECT_EQ(Trash::volumeTrashes(volume), QStringList{volume + "/" + expected});
        }
        EXPECT_FALSE(QFileInfo::exists(homeTrash()));
    }
}

TEST_F(TrashTest, WhatCannotBeTrashedStaysWhereItIs)
{
    const QString volume = tree.folder("Volume");
    tree.file("Volume/kept", 1);
    const QString local = tree.folder("home/.local");
    tree.file("home/.local/share/Trash/files/old", 1);
    platform::Seam<QList<platform::MountEntry>>::Override volumeMounted(platform::mountTable(),
                                                                        test::mountsAt({"/", volume}));

    const Trash::MoveResult wholeVolume = Trash::moveToTrash(volume);
    ASSERT_TRUE(wholeVolume.failure.has_value());
    EXPECT_TRUE(wholeVolume.failure->endsWith("Refusing to remove an entire volume."));

    const Trash::MoveResult holder = Trash::moveToTrash(local);
    ASSERT_TRUE(holder.failure.has_value());
    EXPECT_TRUE(holder.failure->endsWith("It holds the Trash itself."));

    const Trash::MoveResult missing = Trash::moveToTrash(tree.path("home/gone"));
    ASSERT_TRUE(missing.failure.has_value());
    EXPECT_EQ(*missing.failure,
              QString::fromUtf8("Could not move \u201Cgone\u201D to the Trash: No such file or directory"));

    EXPECT_TRUE(QFileInfo::exists(tree.path("Volume/kept")));
    EXPECT_TRUE(QFileInfo::exists(tree.path("home/.local/share/Trash/files/old")));
    EXPECT_EQ(QDir(homeTrash() + "/info").entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST_F(TrashTest, TheWayIsNeverFollowedThroughALinkAndThePlannedPathIsRecorded)
{
    // The home behind a link of the system's own layout is still the home.
    const QString realHome = tree.folder("real-home");
    tree.file("real-home/notes/draft.txt", QByteArray("draft"));
    tree.file("real-home/decoy/draft.txt", QByteArray("decoy"));
    tree.symlink("real-home/linked-notes", tree.path("real-home/decoy"));
    const QString linkedHome = tree.symlink("home-link", realHome);
    platform::Seam<QString>::Override viaLink{platform::homeFolder(), linkedHome};
    platform::Seam<QString>::Override dataViaLink{platform::xdgDataHome(), linkedHome + "/.local/share"};

    const Trash::MoveResult moved = Trash::moveToTrash(linkedHome + "/notes/draft.txt");
    ASSERT_EQ(moved.failure, std::nullopt);
    EXPECT_EQ(contents(realHome + "/.local/share/Trash/info/draft.txt.trashinfo"),
              expectedInfo(QFile::encodeName(linkedHome + "/notes/draft.txt")));

    const Trash::MoveResult redirected = Trash::moveToTrash(linkedHome + "/linked-notes/draft.txt");
    EXPECT_EQ(redirected.failure,
              QString::fromUtf8("Could not move \u201Cdraft.txt\u201D to the Trash: "
                                "The location changed since the scan"));
    EXPECT_EQ(contents(realHome + "/decoy/draft.txt"), "decoy");
    EXPECT_FALSE(QFileInfo::exists(realHome + "/.local/share/Trash/info/draft.txt.2.trashinfo"));
}
