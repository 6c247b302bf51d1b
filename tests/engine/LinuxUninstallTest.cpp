#include "engine/removal/Uninstaller.h"
#include "platform/HomeFolder.h"
#include "platform/RunningApplications.h"
#include "platform/ToolTable.h"
#include "shared/FileSystem.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/LinuxAppFixtures.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using namespace std::chrono_literals;

namespace {

// A home with AppImages, desktop entries and Flatpak data, a system Flatpak
// installation, and a fake flatpak that records its arguments and removes
// the application's folder of the installation it is told to use.
class LinuxUninstallTest : public ::testing::Test {
protected:
    LinuxUninstallTest()
    {
        tree.folder("tools");
        tools.flatpak = test::writeFakeTool(tree.path("tools"), QStringLiteral("flatpak"),
                                            "case \"$3\" in --system) inst=\"" + tree.path("var/lib/flatpak").toUtf8()
                                                + "\";; *) inst=\"" + tree.path("home/.local/share/flatpak").toUtf8()
                                                + "\";; esac\n"
                                                  "status=$(cat \"$0.status\" 2>/dev/null || echo 0)\n"
                                                  "[ \"$status\" = 0 ] && rm -rf \"$inst/app/$4\"\n"
                                                  "[ \"$status\" = 0 ] || echo \"error: $4 not uninstalled\" >&2\n"
                                                  "exit \"$status\"\n");
        tools.pkexec = tree.path("tools/no-pkexec");
        tools.pkgutil = tree.path("tools/no-pkgutil");
    }

    // The file identities the uninstaller asked running applications about.
    mutable QList<std::optional<platform::FileIdentity>> asked;

    Uninstaller uninstaller() const
    {
        LinuxApplications::Roots roots;
        roots.flatpakSystem = tree.path("var/lib/flatpak");
        roots.dpkgDatabase = tree.path("var/lib/dpkg");
        roots.packageFilesRoot = tree.path("root");
        const platform::RunningApplications nothingRuns{
            [this](const QString&, const QString&, const std::optional<platform::FileIdentity>& planned) {
                asked.append(planned);
                return QList<platform::RunningInstance>();
            },
            [](const platform::RunningInstance&) {}, [](const platform::RunningInstance&) {},
            [](const platform::RunningInstance&) { return true; }};
        return Uninstaller(AppCatalog({tree.path("Applications")}, tree.path("Library"), LinuxApplications(roots)),
                           10ms, {}, tools, nothingRuns);
    }

    InstalledApp listed(const QString& id) const
    {
        LinuxApplications::Roots roots;
        roots.flatpakSystem = tree.path("var/lib/flatpak");
        roots.dpkgDatabase = tree.path("var/lib/dpkg");
        roots.packageFilesRoot = tree.path("root");
        for (const InstalledApp& app : LinuxApplications(roots).installedApps(true)) {
            if (app.bundleID == id) {
                return app;
            }
        }
        ADD_FAILURE() << "not listed: " << id.toStdString();
        return {};
    }

    static QStringList urls(const QList<ScanItem>& items)
    {
        QStringList result;
        for (const ScanItem& item : items) {
            result << item.url;
        }
        return result;
    }

    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::ToolTable tools;
};

} // namespace

TEST_F(LinuxUninstallTest, AnAppImageGoesWithTheEntriesThatLaunchItAndNothingElse)
{
    const QString file = tree.file("home/Applications/Tool-1.0.AppImage", 20000);
    const QString other = tree.file("home/Applications/Other-1.0.AppImage", 100);
    const QString entry = tree.file("home/.local/share/applications/appimagekit-tool.desktop",
                                    test::desktopEntry("Tool", "\"" + file + "\" %U"));
    const QString unrelated =
        tree.file("home/.local/share/applications/other.desktop", test::desktopEntry("Other", "\"" + other + "\""));
    tree.file("home/.config/Tool/settings.json", 10);

    const UninstallPlan plan = uninstaller().plan(listed(file));
    EXPECT_EQ(urls(plan.leftovers), QStringList{entry});
    EXPECT_TRUE(plan.leftovers.first().isSelected);
    EXPECT_EQ(plan.leftovers.first().origin, QStringLiteral("~/.local/share/applications"));
    EXPECT_TRUE(plan.installedResidue.isEmpty());
    EXPECT_TRUE(plan.receipts.isEmpty());

    // What is quit is matched against the file as it was listed, not whatever bears its name later.
    ASSERT_TRUE(plan.appFile.has_value());
    EXPECT_EQ(plan.appFile, platform::regularFileIdentity(file));
    const CleanupReport report = uninstaller().uninstall(plan, Remover::Mode::permanent);
    EXPECT_EQ(asked, (QList<std::optional<platform::FileIdentity>>{plan.appFile}));
    EXPECT_TRUE(report.failures.isEmpty());
    EXPECT_EQ(report.removed, 2);
    EXPECT_GE(report.reclaimed, 20000);
    EXPECT_FALSE(FS::exists(file));
    EXPECT_FALSE(FS::exists(entry));
    EXPECT_TRUE(FS::exists(other));
    EXPECT_TRUE(FS::exists(unrelated));
    EXPECT_TRUE(FS::exists(tree.path("home/.config/Tool/settings.json")));
}

TEST_F(LinuxUninstallTest, AFlatpakIsUninstalledByFlatpakThenItsDataGoes)
{
    test::flatpakApp(tree, "var/lib/flatpak", "org.example.Editor", test::FlatpakFixture::named("Editor"));
    test::flatpakApp(tree, "home/.local/share/flatpak", "com.example.Game", test::FlatpakFixture::named("Game"));
    const QString data = tree.file("home/.var/app/org.example.Editor/config/settings.ini", 3000);
    tree.file("home/.var/app/org.example.EditorPlugin/keep", 10);

    const InstalledApp editor = listed("org.example.Editor");
    const UninstallPlan plan = uninstaller().plan(editor);
    EXPECT_EQ(urls(plan.leftovers), QStringList{tree.path("home/.var/app/org.example.Editor")});
    const CleanupReport report = uninstaller().uninstall(plan, Remover::Mode::permanent);
    EXPECT_TRUE(report.failures.isEmpty()) << report.failures.first().reason.toStdString();
    EXPECT_EQ(test::recordedArguments(tools.flatpak),
              (QStringList{"uninstall", "--noninteractive", "--system", "org.example.Editor"}));
    EXPECT_EQ(report.removed, 2);
    EXPECT_GE(report.reclaimed, editor.size + 3000);
    EXPECT_FALSE(FS::exists(editor.url));
    EXPECT_FALSE(FS::exists(data));
    EXPECT_TRUE(FS::exists(tree.path("home/.var/app/org.example.EditorPlugin/keep")));
    EXPECT_TRUE(FS::exists(tree.path("home/.local/share/flatpak/app/com.example.Game")));

    const CleanupReport user =
        uninstaller().uninstall(uninstaller().plan(listed("com.example.Game")), Remover::Mode::trash);
    EXPECT_TRUE(user.failures.isEmpty());
    EXPECT_EQ(test::recordedArguments(tools.flatpak),
              (QStringList{"uninstall", "--noninteractive", "--user", "com.example.Game"}));
}

// When flatpak is missing or refuses, the application stays installed and so
// does its data: removing the data alone would leave it broken.
TEST_F(LinuxUninstallTest, AFlatpakThatCannotBeRemovedKeepsItsData)
{
    test::flatpakApp(tree, "var/lib/flatpak", "org.example.Editor", test::FlatpakFixture::named("Editor"));
    const QString data = tree.file("home/.var/app/org.example.Editor/config/settings.ini", 30);
    const UninstallPlan plan = uninstaller().plan(listed("org.example.Editor"));

    tree.file("tools/flatpak.status", "1");
    const CleanupReport refused = uninstaller().uninstall(plan, Remover::Mode::permanent);
    ASSERT_EQ(refused.failures.size(), 1);
    EXPECT_EQ(refused.failures.first().url, plan.app.url);
    EXPECT_EQ(refused.failures.first().reason, QStringLiteral("error: org.example.Editor not uninstalled"));
    EXPECT_EQ(refused.removed, 0);
    EXPECT_TRUE(FS::exists(data));

    const QString missing = tree.path("tools/absent-flatpak");
    tools.flatpak = missing;
    const CleanupReport noTool = uninstaller().uninstall(plan, Remover::Mode::permanent);
    ASSERT_EQ(noTool.failures.size(), 1);
    EXPECT_EQ(noTool.failures.first().reason,
              QStringLiteral("This version of macOS does not include ") + missing + QStringLiteral("."));
    EXPECT_TRUE(FS::exists(data));
    EXPECT_TRUE(FS::exists(plan.app.url));

    UninstallPlan forged = plan;
    forged.app.bundleID = QStringLiteral("--help");
    tools.flatpak = tree.path("tools/flatpak");
    tree.file("tools/flatpak.status", "0");
    const CleanupReport bad = uninstaller().uninstall(forged, Remover::Mode::permanent);
    ASSERT_EQ(bad.failures.size(), 1);
    EXPECT_TRUE(FS::exists(data));
}

// A Debian package's application is listed but never removed here.
TEST_F(LinuxUninstallTest, ADebianPackagesApplicationIsNeverRemoved)
{
    const QString desktop = tree.file("root/usr/share/applications/vim.desktop", test::desktopEntry("Vim", "vim"));
    test::dpkgPackage(tree, "var/lib/dpkg", "Package: vim\nStatus: install ok installed\nVersion: 9\n", "vim",
                      {"/usr/share/applications/vim.desktop"});
    tree.file("home/.var/app/vim/keep", 10);
    const InstalledApp vim = listed("vim");
    const UninstallPlan plan = uninstaller().plan(vim);
    EXPECT_TRUE(plan.leftovers.isEmpty());
    EXPECT_TRUE(plan.installedResidue.isEmpty());
    UninstallPlan forced = plan;
    ScanItem item;
    item.url = tree.path("home/.var/app/vim");
    item.isSelected = true;
    forced.leftovers = {item};
    const CleanupReport report = uninstaller().uninstall(forced, Remover::Mode::permanent);
    ASSERT_EQ(report.failures.size(), 1);
    EXPECT_EQ(report.failures.first().url, desktop);
    EXPECT_EQ(report.removed, 0);
    EXPECT_TRUE(FS::exists(desktop));
    EXPECT_TRUE(FS::exists(tree.path("home/.var/app/vim/keep")));
}

// What vanished between planning and removing is skipped without a failure.
TEST_F(LinuxUninstallTest, AnApplicationGoneSinceItsPlanIsSkipped)
{
    const QString file = tree.file("home/Applications/Tool-1.0.AppImage", 100);
    const UninstallPlan appImage = uninstaller().plan(listed(file));
    ASSERT_TRUE(QFile::remove(file));
    const CleanupReport first = uninstaller().uninstall(appImage, Remover::Mode::permanent);
    EXPECT_TRUE(first.failures.isEmpty());
    EXPECT_EQ(first.removed, 0);

    const QString folder =
        test::flatpakApp(tree, "var/lib/flatpak", "org.example.Editor", test::FlatpakFixture::named("Editor"));
    const UninstallPlan flatpak = uninstaller().plan(listed("org.example.Editor"));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    const CleanupReport second = uninstaller().uninstall(flatpak, Remover::Mode::permanent);
    EXPECT_TRUE(second.failures.isEmpty());
    EXPECT_EQ(second.removed, 0);
    EXPECT_TRUE(test::recordedArguments(tools.flatpak).isEmpty());
}
