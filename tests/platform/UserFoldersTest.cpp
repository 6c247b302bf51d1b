#include "platform/UserFolders.h"
#include "platform/HomeFolder.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using platform::UserFolder;

namespace {

// What xdg-user-dirs writes for a German session.
const QByteArray kGerman = R"(# This file is written by xdg-user-dirs-update
# If you want to change or add directories, just edit the line you're
# interested in. All local changes will be retained on the next run.
XDG_DESKTOP_DIR="$HOME/Schreibtisch"
XDG_DOWNLOAD_DIR="$HOME/Downloads"
XDG_TEMPLATES_DIR="$HOME/Vorlagen"
XDG_PUBLICSHARE_DIR="$HOME/Öffentlich"
XDG_DOCUMENTS_DIR="$HOME/Dokumente"
XDG_MUSIC_DIR="$HOME/Musik"
XDG_PICTURES_DIR="$HOME/Bilder"
XDG_VIDEOS_DIR="$HOME/Videos"
)";

} // namespace

TEST(UserFolders, ReadsTheDesktopsNamesInTheUsersLanguage)
{
    const QString home = QStringLiteral("/home/anna");
    const QString german = QString::fromUtf8(kGerman);
    const struct {
        UserFolder folder;
        const char* relative;
    } rows[] = {
        {UserFolder::desktop, "Schreibtisch"}, {UserFolder::download, "Downloads"},
        {UserFolder::templates, "Vorlagen"},   {UserFolder::publicShare, "Öffentlich"},
        {UserFolder::documents, "Dokumente"},  {UserFolder::music, "Musik"},
        {UserFolder::pictures, "Bilder"},      {UserFolder::videos, "Videos"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::userFolderIn(german, home, row.folder), QString::fromUtf8(row.relative)) << row.relative;
    }
}

TEST(UserFolders, OnlyFoldersStrictlyInsideTheHomeCount)
{
    const QString home = QStringLiteral("/home/anna");
    const struct {
        const char* line;
        std::optional<QString> relative;
    } rows[] = {
        // No line for the folder: its default name.
        {"", QStringLiteral("Videos")},
        {"# XDG_VIDEOS_DIR=\"$HOME/Filme\"", QStringLiteral("Videos")},
        {"XDG_VIDEOS_DIR=\"$HOME/Filme\"", QStringLiteral("Filme")},
        {"  XDG_VIDEOS_DIR = \"$HOME/Medien/Filme/\"", QStringLiteral("Medien/Filme")},
        {"XDG_VIDEOS_DIR=\"/home/anna/Filme\"", QStringLiteral("Filme")},
        {"XDG_VIDEOS_DIR=\"$HOME/Mes \\\"films\\\"\"", QStringLiteral("Mes \"films\"")},
        // The home itself switches the folder off; nothing outside the home is taken.
        {"XDG_VIDEOS_DIR=\"$HOME/\"", std::nullopt},
        {"XDG_VIDEOS_DIR=\"$HOME\"", std::nullopt},
        {"XDG_VIDEOS_DIR=\"$HOME/..\"", std::nullopt},
        {"XDG_VIDEOS_DIR=\"$HOME/../bob/Videos\"", std::nullopt},
        {"XDG_VIDEOS_DIR=\"/home/annabel/Videos\"", std::nullopt},
        {"XDG_VIDEOS_DIR=\"/srv/media\"", std::nullopt},
        {"XDG_VIDEOS_DIR=\"/\"", std::nullopt},
        // Lines the desktop would not read either leave the default.
        {"XDG_VIDEOS_DIR=\"Filme\"", QStringLiteral("Videos")},
        {"XDG_VIDEOS_DIR=$HOME/Filme", QStringLiteral("Videos")},
        {"XDG_VIDEOS_DIR=\"$HOME/Filme", QStringLiteral("Videos")},
        {"XDG_VIDEOS_DIRECTORY=\"$HOME/Filme\"", QStringLiteral("Videos")},
        // The last line naming the folder counts.
        {"XDG_VIDEOS_DIR=\"$HOME/Alt\"\nXDG_VIDEOS_DIR=\"$HOME/Neu\"", QStringLiteral("Neu")},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::userFolderIn(QString::fromUtf8(row.line), home, UserFolder::videos), row.relative)
            << row.line;
    }
}

TEST(UserFolders, FollowTheHomesFileAndItsChanges)
{
    FixtureTree tree;
    const QString home = tree.folder(QStringLiteral("home"));
    platform::Seam<QString>::Override homeSeam(platform::homeFolder(), home);

    // Without the file, the default names.
    EXPECT_EQ(platform::userFolder(UserFolder::videos), QStringLiteral("Videos"));
    EXPECT_EQ(platform::userFolders({UserFolder::documents, UserFolder::videos, UserFolder::pictures},
                                    {QStringLiteral("Documents"), QStringLiteral("Pictures")}),
              QStringList{QStringLiteral("Videos")});

    tree.file(QStringLiteral("home/.config/user-dirs.dirs"), kGerman);
    EXPECT_EQ(platform::userFolder(UserFolder::pictures), QStringLiteral("Bilder"));
    EXPECT_EQ(
        platform::userFolders({UserFolder::download, UserFolder::pictures, UserFolder::videos, UserFolder::pictures},
                              {QStringLiteral("Downloads")}),
        (QStringList{QStringLiteral("Bilder"), QStringLiteral("Videos")}));

    tree.file(QStringLiteral("home/.config/user-dirs.dirs"),
              QByteArray("XDG_PICTURES_DIR=\"$HOME/Fotos und Bilder\"\nXDG_VIDEOS_DIR=\"$HOME/\"\n"));
    tree.setTimes(QStringLiteral("home/.config/user-dirs.dirs"), QDateTime::currentDateTimeUtc().addSecs(60));
    EXPECT_EQ(platform::userFolder(UserFolder::pictures), QStringLiteral("Fotos und Bilder"));
    EXPECT_EQ(platform::userFolder(UserFolder::videos), std::nullopt);
}
