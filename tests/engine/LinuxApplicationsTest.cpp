#include "engine/apps/LinuxApplications.h"
#include "engine/apps/AppCatalog.h"
#include "engine/apps/AppImages.h"
#include "engine/apps/FlatpakInstallation.h"
#include "engine/formats/DesktopEntry.h"
#include "engine/formats/DpkgDatabase.h"
#include "engine/formats/Metainfo.h"
#include "platform/HomeFolder.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"
#include "support/BadInput.h"
#include "support/FixtureTree.h"
#include "support/LinuxAppFixtures.h"
#include "support/PlistFixtures.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

// A home with AppImage folders and desktop entries, the two Flatpak
// installations, a dpkg database and the folder its lists' paths lie in.
struct LinuxMachine {
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    LinuxApplications::Roots roots{
        .appImageFolders = std::nullopt,
        .userDesktopEntries = std::nullopt,
        .flatpakUser = std::nullopt,
        .flatpakSystem = tree.path("var/lib/flatpak"),
        .flatpakAppData = std::nullopt,
        .dpkgDatabase = tree.path("var/lib/dpkg"),
        .packageFilesRoot = tree.path("root"),
    };
    LinuxApplications linux{roots};

    const InstalledApp* find(const QList<InstalledApp>& apps, const QString& id) const
    {
        for (const InstalledApp& app : apps) {
            if (app.bundleID == id) {
                return &app;
            }
        }
        return nullptr;
    }
};

QStringList idsOf(const QList<InstalledApp>& apps)
{
    QStringList ids;
    for (const InstalledApp& app : apps) {
        ids << app.bundleID;
    }
    return ids;
}

} // namespace

TEST(AppImages, NamesAndVersionsFromFileNames)
{
    struct Case {
        const char* file;
        const char* name;
        const char* version;
    };
    const Case cases[] = {
        {"Obsidian-1.4.16.AppImage", "Obsidian", "1.4.16"},
        {"Krita-5.2.2-x86_64.appimage", "Krita", "5.2.2"},
        {"FreeCAD_0.21.2-Linux-x86_64.AppImage", "FreeCAD", "0.21.2"},
        {"appimagetool-x86_64.AppImage", "appimagetool", nullptr},
        {"Firefox Nightly 120.0a1.APPIMAGE", "Firefox Nightly", "120.0a1"},
        {"Tool_v2.3-aarch64.AppImage", "Tool", "2.3"},
        {"My App.AppImage", "My App", nullptr},
        {"2048-1.0.AppImage", "2048", "1.0"},
        {"v2.AppImage", "v2", nullptr},
        {"balenaEtcher-1.18.11-x64.AppImage", "balenaEtcher", "1.18.11"},
    };
    for (const Case& c : cases) {
        const AppImages::NameAndVersion named = AppImages::fromFileName(QString::fromUtf8(c.file));
        EXPECT_EQ(named.name, QString::fromUtf8(c.name)) << c.file;
        EXPECT_EQ(named.version, c.version ? std::optional(QString::fromUtf8(c.version)) : std::nullopt) << c.file;
    }
    EXPECT_TRUE(AppImages::isAppImageName(QStringLiteral("a.appImage")));
    EXPECT_FALSE(AppImages::isAppImageName(QStringLiteral(".AppImage")));
    EXPECT_FALSE(AppImages::isAppImageName(QStringLiteral("tool.AppImage.zip")));
}

TEST(DesktopEntry, StringEscapesThenExecQuotingGiveTheProgram)
{
    const auto program = [](const QByteArray& exec) {
        return DesktopEntry::fromBytes("[Desktop Entry]\nExec=" + exec + "\n")->program();
    };
    EXPECT_EQ(program("\"/home/me/My Apps/Tool.AppImage\" %U"), QStringLiteral("/home/me/My Apps/Tool.AppImage"));
    EXPECT_EQ(program("/opt/tool --flag"), QStringLiteral("/opt/tool"));
    EXPECT_EQ(program("\"/opt/my \\\\\"odd\\\\\" tool\""), QStringLiteral("/opt/my \"odd\" tool"));
    EXPECT_EQ(program("\"/opt/back\\\\\\\\slash\""), QStringLiteral("/opt/back\\slash"));
    EXPECT_EQ(program("/opt/My\\sTool"), QStringLiteral("/opt/My"));
    const auto entry = DesktopEntry::fromBytes("[Desktop Entry]\nName=A\\sB\nIcon=x\\\\y\n");
    EXPECT_EQ(entry->text(QStringLiteral("Name")), QStringLiteral("A B"));
    EXPECT_EQ(entry->text(QStringLiteral("Icon")), QStringLiteral("x\\y"));
    EXPECT_EQ(entry->text(QStringLiteral("Missing")), std::nullopt);

    const auto visible = [](const QByteArray& lines) {
        return DesktopEntry::fromBytes("[Desktop Entry]\n" + lines)->isVisibleApplication();
    };
    EXPECT_TRUE(visible("Type=Application\nName=Tool\n"));
    EXPECT_FALSE(visible("Type=Application\nName=\n"));
    EXPECT_FALSE(visible("Type=Link\nName=Tool\n"));
    EXPECT_FALSE(visible("Type=Application\nName=Tool\nNoDisplay=true\n"));
    EXPECT_FALSE(visible("Type=Application\nName=Tool\nHidden=true\n"));
}

TEST(Metainfo, TheNewestReleaseOrNothing)
{
    EXPECT_EQ(Metainfo::newestReleaseVersion(test::metainfo({"2.1", "2.0"})), QStringLiteral("2.1"));
    EXPECT_EQ(Metainfo::newestReleaseVersion("<component><releases><release version=\"1.0\" timestamp=\"100\"/>"
                                             "<release version=\"3.0\" timestamp=\"300\"/>"
                                             "<release version=\"2.0\" date=\"1970-01-01\"/></releases></component>"),
              QStringLiteral("3.0"));
    EXPECT_EQ(Metainfo::newestReleaseVersion("<component><releases><release version=\"1.0\" date=\"2020-01-01\"/>"
                                             "<release version=\"1.5\" date=\"2021-06-01\"/></releases></component>"),
              QStringLiteral("1.5"));
    // Releases of a nested element are not the application's.
    EXPECT_EQ(
        Metainfo::newestReleaseVersion("<component><x><releases><release version=\"9\"/></releases></x></component>"),
        std::nullopt);
    const QByteArray truncated = test::metainfo({"2.1"}).left(120);
    const QByteArray binary("\x00\x01\xff\xfe<component>", 15);
    const QByteArray huge = "<component><releases><release version=\"1\"/></releases><!--"
        + QByteArray(Metainfo::maxFileBytes, 'x') + "--></component>";
    const QByteArray longVersion = test::metainfo({QString(200, QLatin1Char('9'))});
    const QByteArray blankVersion = test::metainfo({"1 2"});
    const QByteArray noReleases = "<component><id>x</id></component>";
    const QByteArray entities =
        "<!DOCTYPE c [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]><component><releases>"
        "<release version=\"&e;\"/></releases></component>";
    for (const QByteArray& bad : {truncated, binary, huge, longVersion, blankVersion, noReleases, entities}) {
        EXPECT_EQ(Metainfo::newestReleaseVersion(bad), std::nullopt) << bad.left(60).toStdString();
    }
}

TEST(DpkgDatabase, StatusParagraphsWithoutTrust)
{
    const QByteArray status = "Package: vim-common\nStatus: install ok installed\nInstalled-Size: 380\n"
                              "Architecture: all\nVersion: 2:9.0.1378-2\nDescription: Vi\n more text: here\n\n"
                              "Package: gone\r\nStatus: deinstall ok config-files\r\nVersion: 1\r\n\r\n"
                              "Package: odd\nInstalled-Size: lots\nStatus: install ok\n"
                              "Package: huge\nInstalled-Size: 99999999999999999999\nStatus: hold ok installed\n\n"
                              "garbage line without a colon\n\xff\xfe\x00binary: \x01\n\n"
                              "Package: negative\nInstalled-Size: -5\nVersion:\n\n"
                              "package: lower\nVERSION: 3\nInstalled-Size: 9223372036854775807";
    const QList<DpkgDatabase::Package> packages = DpkgDatabase::parseStatus(status);
    ASSERT_EQ(packages.size(), 6);
    EXPECT_EQ(packages.at(0).name, QStringLiteral("vim-common"));
    EXPECT_EQ(packages.at(0).version, QStringLiteral("2:9.0.1378-2"));
    EXPECT_EQ(packages.at(0).installedSize, 380 * 1024);
    EXPECT_EQ(packages.at(0).architecture, QStringLiteral("all"));
    EXPECT_TRUE(packages.at(0).isInstalled);
    EXPECT_FALSE(packages.at(1).isInstalled);
    EXPECT_EQ(packages.at(1).version, QStringLiteral("1"));
    EXPECT_EQ(packages.at(2).name, QStringLiteral("odd"));
    EXPECT_EQ(packages.at(2).installedSize, 0);
    EXPECT_FALSE(packages.at(2).isInstalled);
    EXPECT_EQ(packages.at(3).installedSize, 0);
    EXPECT_TRUE(packages.at(3).isInstalled);
    EXPECT_EQ(packages.at(4).installedSize, 0);
    EXPECT_EQ(packages.at(4).version, std::nullopt);
    EXPECT_EQ(packages.at(5).name, QStringLiteral("lower"));
    EXPECT_EQ(packages.at(5).version, QStringLiteral("3"));
    EXPECT_EQ(packages.at(5).installedSize, 0);
    EXPECT_TRUE(DpkgDatabase::parseStatus(QByteArray()).isEmpty());
    EXPECT_TRUE(DpkgDatabase::parseStatus(QByteArray(4096, '\0')).isEmpty());
}

TEST(FlatpakInstallation, ApplicationIdsFollowFlatpaksRule)
{
    for (const char* valid : {"org.gnome.Calculator", "com.example.App_2", "io.github.some_one.Tool-x", "a.b.c"}) {
        EXPECT_TRUE(FlatpakInstallation::isValidAppId(QString::fromUtf8(valid))) << valid;
    }
    for (const char* invalid : {"org.gnome", "org..x", "org.9x.y", "org.some-one.x", "org.x.y/z", "../..", ".x.y.z",
                                "org.x.ü", "org.x.y z", ""}) {
        EXPECT_FALSE(FlatpakInstallation::isValidAppId(QString::fromUtf8(invalid))) << invalid;
    }
    EXPECT_FALSE(FlatpakInstallation::isValidAppId(QStringLiteral("org.x.") + QString(250, QLatin1Char('y'))));
}

TEST(LinuxApplications, AppImagesAreTheFilesThemselves)
{
    LinuxMachine m;
    const QString obsidian = m.tree.file("home/Applications/Obsidian-1.4.16-x86_64.AppImage", 70000);
    const QString tool = m.tree.file("home/AppImages/tool.appimage", 100);
    const QString spaced = m.tree.file("home/.local/bin/My App 2.0.AppImage", 100);
    m.tree.file("home/.local/bin/script.sh", 10);
    m.tree.symlink("home/Applications/Link.AppImage", obsidian);
    m.tree.folder("home/Applications/Folder.AppImage");
    m.tree.file("home/Applications/.Hidden.AppImage", 10);
    ASSERT_TRUE(test::writeRawName(m.tree.path("home/Applications"), test::invalidUtf8Name("Bad", ".AppImage"), "x"));
    m.tree.file("home/.local/share/applications/obsidian.desktop",
                test::desktopEntry(QStringLiteral("Obsidian"), "\"" + obsidian + "\" %U", QStringLiteral("obsidian")));

    const QList<InstalledApp> all = m.linux.installedApps(true);
    // A name that is not UTF-8 names its file by its own bytes, so it can be removed.
    const QString bad = platform::pathText(platform::pathBytes(m.tree.path("home/Applications")) + "/"
                                           + test::invalidUtf8Name("Bad", ".AppImage"));
    ASSERT_EQ(idsOf(all), (QStringList{bad, obsidian, tool, spaced}));
    EXPECT_EQ(all.at(0).kind, InstalledApp::Kind::appImage);
    EXPECT_EQ(all.at(0).size, FS::size(bad));
    EXPECT_GT(all.at(0).size, 0);
    const QList<InstalledApp> apps = all.mid(1);
    const InstalledApp& first = apps.at(0);
    EXPECT_EQ(first.kind, InstalledApp::Kind::appImage);
    EXPECT_EQ(first.name, QStringLiteral("Obsidian"));
    EXPECT_EQ(first.version, QStringLiteral("1.4.16"));
    EXPECT_EQ(first.url, obsidian);
    EXPECT_EQ(first.size, FS::size(obsidian));
    EXPECT_GE(first.size, 70000);
    EXPECT_FALSE(first.isSystemScope);
    EXPECT_FALSE(first.isAppleSoftware);
    EXPECT_EQ(first.iconName, QStringLiteral("obsidian"));
    EXPECT_EQ(apps.at(1).version, QStringLiteral("\u2014"));
    EXPECT_EQ(apps.at(2).name, QStringLiteral("My App"));
    EXPECT_EQ(apps.at(2).version, QStringLiteral("2.0"));
    EXPECT_EQ(m.linux.installedApps(false).at(1).size, 0);
}

// The version a launcher integration writes into the entry that launches the
// file stands in for the file name's, which may have none.
TEST(LinuxApplications, AnAppImagesVersionComesFromItsEntryWhenItHasOne)
{
    LinuxMachine m;
    const QString plain = m.tree.file("home/AppImages/Sketch Pad.AppImage", 100);
    const QString named = m.tree.file("home/AppImages/Notes-2.4.1.AppImage", 100);
    const QString bare = m.tree.file("home/AppImages/Bare.AppImage", 100);
    const QString entries = "home/.local/share/applications/";
    m.tree.file(entries + "sketch.desktop",
                ("[Desktop Entry]\nType=Application\nName=Sketch Pad\nExec=\"" + plain
                 + "\" %U\nIcon=sketch\nX-AppImage-Version=1.0.3\n")
                    .toUtf8());
    m.tree.file(
        entries + "notes.desktop",
        ("[Desktop Entry]\nType=Application\nName=Notes\nExec=\"" + named + "\"\nX-AppImage-Version=2.4.1-beta\n")
            .toUtf8());
    m.tree.file(
        entries + "bare.desktop",
        ("[Desktop Entry]\nType=Application\nName=Bare\nExec=\"" + bare + "\"\nX-AppImage-Version=\n").toUtf8());

    const QList<InstalledApp> apps = m.linux.installedApps(false);
    ASSERT_NE(m.find(apps, plain), nullptr);
    EXPECT_EQ(m.find(apps, plain)->version, QStringLiteral("1.0.3"));
    EXPECT_EQ(m.find(apps, plain)->iconName, QStringLiteral("sketch"));
    EXPECT_EQ(m.find(apps, named)->version, QStringLiteral("2.4.1-beta"));
    EXPECT_EQ(m.find(apps, bare)->version, QStringLiteral("\u2014"));
}

// Only the user's desktop entries whose program is exactly this file are its
// leftovers; every other entry, however alike, stays.
TEST(LinuxApplications, AnAppImageLeavesOnlyTheEntriesThatLaunchIt)
{
    LinuxMachine m;
    const QString file = m.tree.file("home/Applications/My Tool-1.0.AppImage", 100);
    const QString entries = "home/.local/share/applications/";
    const QString quoted = m.tree.file(entries + "quoted.desktop", test::desktopEntry("Tool", "\"" + file + "\" %F"));
    const QString doubled =
        m.tree.file(entries + "doubled.desktop",
                    test::desktopEntry("Tool", "\"" + m.tree.path("home/Applications//My Tool-1.0.AppImage") + "\""));
    m.tree.file(entries + "backup.desktop", test::desktopEntry("Tool", "\"" + file + ".bak\""));
    m.tree.file(entries + "unquoted.desktop", test::desktopEntry("Tool", file));
    m.tree.file(entries + "relative.desktop", test::desktopEntry("Tool", "My\\sTool-1.0.AppImage"));
    m.tree.file(entries + "other.desktop", test::desktopEntry("Other", "/usr/bin/other"));
    m.tree.file(entries + "truncated.desktop", test::desktopEntry("Tool", "\"" + file + "\"").left(20));
    m.tree.file(entries + "binary.desktop",
                QByteArray("\x7f"
                           "ELF\x00\x01\x02\xff",
                           8));
    m.tree.file(entries + "huge.desktop",
                test::desktopEntry("Tool", "\"" + file + "\"") + QByteArray(DesktopEntry::maxFileBytes, '#'));
    m.tree.symlink(entries + "link.desktop", quoted);
    m.tree.file(entries + "tool.desktop.txt", test::desktopEntry("Tool", "\"" + file + "\""));

    InstalledApp app;
    app.kind = InstalledApp::Kind::appImage;
    app.bundleID = file;
    app.url = file;
    EXPECT_EQ(m.linux.leftovers(app), (QStringList{doubled, quoted}));
}

TEST(LinuxApplications, FlatpaksOfBothInstallationsWithTheirDataFolders)
{
    LinuxMachine m;
    test::FlatpakFixture editorApp =
        test::FlatpakFixture::named("Editor", "org.example.Editor", test::metainfo({"4.2", "4.1"}));
    editorApp.deployedBytes = 50000;
    test::flatpakApp(m.tree, "var/lib/flatpak", "org.example.Editor", editorApp);
    test::FlatpakFixture gameApp;
    gameApp.exportsDesktopEntry = false;
    test::flatpakApp(m.tree, "home/.local/share/flatpak", "com.example.Game", gameApp);
    m.tree.file("home/.var/app/org.example.Editor/config/settings.ini", 300);
    // Neither an invalid id, nor links that would lead out of the application, nor a missing deployment.
    test::flatpakApp(m.tree, "var/lib/flatpak", "org.example", test::FlatpakFixture::named("Short"));
    m.tree.file("var/lib/flatpak/app/org.example.Escape/x86_64/stable/0123abcd/metadata", 10);
    m.tree.symlink("var/lib/flatpak/app/org.example.Escape/current", "../../../..");
    m.tree.file("var/lib/flatpak/app/org.example.Absolute/x86_64/stable/0123abcd/metadata", 10);
    m.tree.symlink("var/lib/flatpak/app/org.example.Absolute/current",
                   m.tree.path("var/lib/flatpak/app/org.example.Editor/x86_64/stable"));
    m.tree.folder("var/lib/flatpak/app/org.example.Inactive/x86_64/stable");
    m.tree.symlink("var/lib/flatpak/app/org.example.Inactive/current", "x86_64/stable");
    m.tree.symlink("var/lib/flatpak/app/org.example.Inactive/x86_64/stable/active", "deadbeef");
    m.tree.symlink("var/lib/flatpak/app/org.example.Linked", m.tree.path("var/lib/flatpak/app/org.example.Editor"));
    // Hostile metainfo gives no version, never a failure.
    test::flatpakApp(
        m.tree, "var/lib/flatpak", "org.example.Broken",
        test::FlatpakFixture::named("Broken", {}, QByteArray("\x00\xff<component><releases><release version=", 40)));

    const QList<InstalledApp> apps = m.linux.installedApps(true);
    EXPECT_EQ(idsOf(apps), (QStringList{"org.example.Broken", "org.example.Editor", "com.example.Game"}));
    const InstalledApp* editor = m.find(apps, "org.example.Editor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->kind, InstalledApp::Kind::flatpak);
    EXPECT_EQ(editor->name, QStringLiteral("Editor"));
    EXPECT_EQ(editor->version, QStringLiteral("4.2"));
    EXPECT_EQ(editor->url, m.tree.path("var/lib/flatpak/app/org.example.Editor"));
    EXPECT_EQ(editor->size, FS::size(editor->url));
    EXPECT_GE(editor->size, 50000);
    EXPECT_TRUE(editor->isSystemScope);
    EXPECT_EQ(editor->iconName,
              m.tree.path("var/lib/flatpak/app/org.example.Editor/x86_64/stable/0123abcd/export/"
                          "share/icons/hicolor/scalable/apps/org.example.Editor.svg"));
    const InstalledApp* game = m.find(apps, "com.example.Game");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->name, QStringLiteral("Game"));
    EXPECT_EQ(game->version, QStringLiteral("\u2014"));
    EXPECT_FALSE(game->isSystemScope);
    EXPECT_EQ(m.find(apps, "org.example.Broken")->version, QStringLiteral("\u2014"));

    EXPECT_EQ(m.linux.leftovers(*editor), QStringList{m.tree.path("home/.var/app/org.example.Editor")});
    EXPECT_TRUE(m.linux.leftovers(*game).isEmpty());
    InstalledApp hostile = *editor;
    hostile.bundleID = QStringLiteral("../../Documents");
    m.tree.file("home/Documents/keep.txt", 10);
    EXPECT_TRUE(m.linux.leftovers(hostile).isEmpty());
}

TEST(LinuxApplications, DebianDesktopApplicationsAreListedFromTheDatabase)
{
    LinuxMachine m;
    const QString db = "var/lib/dpkg";
    m.tree.file("root/usr/share/applications/vim.desktop", test::desktopEntry("Vim", "vim %F", "gvim"));
    m.tree.file("root/usr/bin/vim", 10);
    m.tree.file("root/usr/share/applications/display-im6.q16.desktop",
                test::desktopEntry("ImageMagick", "/usr/bin/display-im6.q16 -nostdin %F", "display-im6.q16"));
    m.tree.file("root/usr/share/applications/python3.11.desktop",
                test::desktopEntry("Python", "/usr/bin/python3.11", {}, "NoDisplay=true\n"));
    m.tree.file("root/usr/share/applications/kde4/old.desktop", test::desktopEntry("Old", "old"));
    m.tree.file("root/usr/share/applications/broken.desktop", QByteArray("\xff\xfe\x00\x01", 4));
    test::dpkgPackage(
        m.tree, db, "Package: vim-common\nStatus: install ok installed\nInstalled-Size: 380\nVersion: 2:9.0\n",
        "vim-common", {"/usr/bin/vimtutor", "/usr/share/applications/vim.desktop", "/usr/share/applications"});
    test::dpkgPackage(m.tree, db,
                      "Package: imagemagick-6.q16\nStatus: install ok installed\nArchitecture: amd64\n"
                      "Installed-Size: 12\nVersion: 8:6.9\n",
                      "imagemagick-6.q16:amd64", {"/usr/share/applications/display-im6.q16.desktop"});
    test::dpkgPackage(m.tree, db, "Package: python3.11\nStatus: install ok installed\nVersion: 3.11\n", "python3.11",
                      {"/usr/share/applications/python3.11.desktop"});
    // No status paragraph at all; a listed entry that is missing; an unreadable entry.
    test::dpkgPackage(m.tree, db, "", "kdelibs",
                      {"/usr/share/applications/kde4/old.desktop", "/usr/share/applications/gone.desktop",
                       "/usr/share/applications/broken.desktop"});
    // Text that is not a list at all.
    m.tree.file(db + "/info/garbage.list", QByteArray("\x00\xff/usr/share/applications/\xfe.desktop\n", 36));
    m.tree.file(db + "/info/vim-common.md5sums", "/usr/share/applications/fake.desktop\n");

    const QList<InstalledApp> apps = m.linux.installedApps(true);
    EXPECT_EQ(idsOf(apps), (QStringList{"display-im6.q16", "kde4-old", "vim"}));
    const InstalledApp* vim = m.find(apps, "vim");
    ASSERT_NE(vim, nullptr);
    EXPECT_EQ(vim->kind, InstalledApp::Kind::debianPackage);
    EXPECT_TRUE(vim->isManagedByPackageManager());
    EXPECT_EQ(vim->name, QStringLiteral("Vim"));
    EXPECT_EQ(vim->version, QStringLiteral("2:9.0"));
    EXPECT_EQ(vim->size, 380 * 1024);
    EXPECT_TRUE(vim->isSystemScope);
    EXPECT_EQ(vim->url, m.tree.path("root/usr/share/applications/vim.desktop"));
    EXPECT_EQ(vim->iconName, QStringLiteral("gvim"));
    EXPECT_TRUE(vim->lastUsed.has_value());
    EXPECT_EQ(m.find(apps, "display-im6.q16")->version, QStringLiteral("8:6.9"));
    EXPECT_EQ(m.find(apps, "kde4-old")->version, QStringLiteral("\u2014"));
    EXPECT_EQ(m.find(apps, "kde4-old")->size, 0);
    EXPECT_EQ(m.linux.installedApps(false).at(1).size, 0);
    EXPECT_TRUE(m.linux.leftovers(*vim).isEmpty());
}

TEST(LinuxApplications, AMissingOrOversizedDatabaseListsNothing)
{
    LinuxMachine m;
    EXPECT_TRUE(m.linux.installedApps(true).isEmpty());
    m.tree.file("root/usr/share/applications/vim.desktop", test::desktopEntry("Vim", "vim"));
    m.tree.sparseFile("var/lib/dpkg/info/vim.list", DpkgDatabase::maxListBytes + 1);
    EXPECT_TRUE(m.linux.installedApps(true).isEmpty());
}

TEST(AppCatalog, LinuxFormsFollowTheBundlesOncePerIdentifierInNameOrder)
{
    LinuxMachine m;
    ASSERT_TRUE(test::writeBundle(m.tree.path("Applications/Zed.app"),
                                  {{"CFBundleIdentifier", "org.example.Editor"}, {"CFBundleName", "Zed"}}));
    test::flatpakApp(m.tree, "var/lib/flatpak", "org.example.Editor", test::FlatpakFixture::named("Editor"));
    test::flatpakApp(m.tree, "home/.local/share/flatpak", "org.example.Editor",
                     test::FlatpakFixture::named("Editor Too"));
    test::flatpakApp(m.tree, "home/.local/share/flatpak", "com.example.Game", test::FlatpakFixture::named("game"));
    m.tree.file("home/Applications/Beta-1.0.AppImage", 10);
    const AppCatalog catalog({m.tree.path("Applications")}, m.tree.path("Library"), m.linux);
    const QList<InstalledApp> apps = catalog.installedApps(false);
    QStringList names;
    for (const InstalledApp& app : apps) {
        names << app.name;
    }
    EXPECT_EQ(names, (QStringList{"Beta", "game", "Zed"}));
    EXPECT_EQ(apps.at(2).kind, InstalledApp::Kind::bundle);
    EXPECT_TRUE(catalog.installedIdentity().identifiers.contains(QStringLiteral("com.example.Game")));

    const AppCatalog bundlesOnly({m.tree.path("Applications")}, m.tree.path("Library"));
    EXPECT_EQ(bundlesOnly.installedApps(false).size(), 1);
}
