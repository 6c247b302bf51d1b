#include "engine/apps/AppCatalog.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "support/FixtureTree.h"
#include "support/PlistFixtures.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::writeBundle;

namespace {

// A machine with the two shared application folders, a home with its own
// Applications folder, and a shared Library.
struct Machine {
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    AppCatalog catalog{{tree.path("Applications"), tree.path("Applications/Utilities"), tree.path("home/Applications")},
                       tree.path("Library")};

    QString app(const QString& relative, const QList<QPair<QString, QString>>& entries, bool binary = false)
    {
        const QString path = tree.path(relative);
        EXPECT_TRUE(writeBundle(path, entries, binary));
        return path;
    }
};

QStringList namesOf(const QList<InstalledApp>& apps)
{
    QStringList names;
    for (const InstalledApp& app : apps) {
        names << app.name;
    }
    return names;
}

} // namespace

TEST(AppCatalog, ListsBundlesDirectlyInsideTheRootsOncePerIdentifier)
{
    Machine m;
    const QString shared = m.app(
        "Applications/Tool.app",
        {{"CFBundleIdentifier", "com.example.tool"}, {"CFBundleName", "Tool"}, {"CFBundleShortVersionString", "3.1"}});
    m.tree.file("Applications/Tool.app/Contents/MacOS/tool", 50000);
    m.app("home/Applications/Tool.app", {{"CFBundleIdentifier", "com.example.tool"}, {"CFBundleName", "Mine"}});
    m.app("Applications/Utilities/Disk.app", {{"CFBundleIdentifier", "com.apple.disk"}, {"CFBundleVersion", "1234"}},
          true);
    m.app("Applications/Folder/Nested.app", {{"CFBundleIdentifier", "com.example.nested"}});
    m.app("Applications/Caps.APP", {{"CFBundleIdentifier", "com.example.caps"}});
    m.app("Applications/.Hidden.app", {{"CFBundleIdentifier", "com.example.hidden"}});
    m.app("Applications/NoId.app", {{"CFBundleName", "NoId"}});
    m.app("home/Applications/Empty.app",
          {{"CFBundleIdentifier", "org.empty"}, {"CFBundleDisplayName", ""}, {"CFBundleName", "Fallback"}});
    m.tree.folder("home/Applications/Broken.app");
    m.tree.file("home/Applications/Broken.app/Contents/Info.plist", QByteArray("<plist><dict><key>"));

    const QList<InstalledApp> apps = m.catalog.installedApps(true);
    EXPECT_EQ(namesOf(apps), (QStringList{"", "Disk", "Tool"}));

    const InstalledApp& tool = apps.at(2);
    EXPECT_EQ(tool.url, shared);
    EXPECT_EQ(tool.version, QStringLiteral("3.1"));
    EXPECT_TRUE(tool.isSystemScope);
    EXPECT_FALSE(tool.isAppleSoftware);
    EXPECT_EQ(tool.size, FS::size(shared, {.descendIntoPackages = true}));
    EXPECT_GT(tool.size, 50000);
    EXPECT_TRUE(tool.lastUsed.has_value());

    const InstalledApp& disk = apps.at(1);
    EXPECT_EQ(disk.version, QStringLiteral("1234"));
    EXPECT_TRUE(disk.isAppleSoftware);
    EXPECT_EQ(apps.at(0).bundleID, QStringLiteral("org.empty"));
    EXPECT_FALSE(apps.at(0).isSystemScope);
    EXPECT_EQ(apps.at(0).version, QStringLiteral("\u2014"));

    for (const InstalledApp& app : m.catalog.installedApps(false)) {
        EXPECT_EQ(app.size, 0);
    }
}

TEST(AppCatalog, NamesFallBackToTheFileNameAndSortNaturally)
{
    Machine m;
    m.app("Applications/App 10.app", {{"CFBundleIdentifier", "a.ten"}});
    m.app("Applications/app 2.app", {{"CFBundleIdentifier", "a.two"}});
    m.app("Applications/App 1.app", {{"CFBundleIdentifier", "a.one"}});
    EXPECT_EQ(namesOf(m.catalog.installedApps(false)), (QStringList{"App 1", "app 2", "App 10"}));
}

TEST(AppCatalog, InstalledIdentityAndSearchRoots)
{
    Machine m;
    EXPECT_TRUE(m.catalog.searchRoots().isEmpty());
    AppCatalog::Identity empty = m.catalog.installedIdentity();
    EXPECT_EQ(empty.identifiers, QSet<QString>{"com.apple"});
    EXPECT_TRUE(empty.names.isEmpty());

    m.app("home/Applications/Zed.app", {{"CFBundleIdentifier", "dev.Zed"}, {"CFBundleName", "Zed Editor"}});
    m.tree.folder("Applications");
    EXPECT_EQ(m.catalog.searchRoots(), (QStringList{m.tree.path("Applications"), m.tree.path("home/Applications")}));
    const AppCatalog::Identity identity = m.catalog.installedIdentity();
    EXPECT_EQ(identity.identifiers, (QSet<QString>{"com.apple", "dev.Zed"}));
    EXPECT_EQ(identity.names, QSet<QString>{"zed editor"});
}

TEST(AppCatalog, ALinkedBundleIsListedAsTheLinkItself)
{
    Machine m;
    const QString elsewhere = m.app("home/Documents/Real.app", {{"CFBundleIdentifier", "com.example.real"}});
    m.tree.file("home/Documents/Real.app/Contents/MacOS/real", 200000);
    const QString link = m.tree.symlink("Applications/Real.app", elsewhere);
    const QList<InstalledApp> apps = m.catalog.installedApps(true);
    ASSERT_EQ(apps.size(), 1);
    EXPECT_EQ(apps.first().url, link);
    EXPECT_LT(apps.first().size, 200000);
}

TEST(AppCatalog, SupportPathsInTableOrderGuardedAndConfinedToTheLibrary)
{
    Machine m;
    const QString prefs = m.tree.file("home/Library/Preferences/com.example.tool.plist", 10);
    EXPECT_EQ(m.catalog.supportPaths("com.example.tool", "Tool"), QStringList{prefs});

    const QString support = m.tree.folder("home/Library/Application Support/com.example.tool");
    const QString byName = m.tree.folder("home/Library/Caches/Tool");
    const QString agent = m.tree.file("Library/LaunchAgents/com.example.tool.plist", 10);
    const QString userAgent = m.tree.file("home/Library/LaunchAgents/com.example.tool.plist", 10);
    EXPECT_EQ(m.catalog.supportPaths("com.example.tool", "Tool"),
              (QStringList{support, prefs, byName, userAgent, agent}));

    // Names that are not one path component never lead out of the Library.
    m.tree.file("home/Documents/secret.txt", 10);
    m.tree.folder("home/Library/Caches/x");
    EXPECT_TRUE(m.catalog.supportPaths("../../Documents", "../../Documents").isEmpty());
    EXPECT_TRUE(m.catalog.supportPaths("com.example.other", "").isEmpty());
    EXPECT_TRUE(m.catalog.supportPaths("", "x/../..").isEmpty());
    // A folder the guard refuses (live data) is never offered.
    m.tree.folder("home/Library/Application Support/MobileSync");
    EXPECT_TRUE(m.catalog.supportPaths("com.example.sync", "MobileSync").isEmpty());
}
