#include "engine/system/DesktopApplications.h"
#include "platform/KernelRoots.h"
#include "platform/UserId.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

constexpr uid_t kUser = 1000;

QByteArray entry(const QByteArray& name, const QByteArray& exec, const QByteArray& extra = {})
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nName[de]=Anders\nExec=" + exec + "\n" + extra;
}

// Desktop entries in a user and a system folder, programs in a search path
// and processes under a fixture proc root.
class DesktopApplicationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = tree.file("bin/editor", "#!/bin/sh\n");
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        tree.symlink("bin/edit-link", editor);
        tool = tree.file("bin/tool", "#!/bin/sh\n");
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
        viewer = tree.file("opt/My Viewer/viewer", "#!/bin/sh\n");
        QFile::setPermissions(viewer, QFile::ReadOwner | QFile::ExeOwner);

        tree.file("apps/user/viewer.desktop",
                  entry("Viewer", "\"" + QFile::encodeName(viewer) + "\" --new", "NoDisplay=true\n"));
        tree.file("apps/system/editor.desktop", entry("Editor", "editor %F"));
        tree.file("apps/system/linked.desktop", entry("Linked Editor", "edit-link %F"));
        tree.file("apps/system/viewer.desktop", entry("Viewer", "\"" + QFile::encodeName(viewer) + "\" --new"));
        tree.file("apps/system/tool.desktop", entry("Tool", "tool", "NoDisplay=true\n"));
        tree.file("apps/system/gone.desktop", entry("Gone", "/nowhere/gone"));
        tree.file("apps/system/org.example.Paint.desktop", entry("Paint", "flatpak run org.example.Paint"));
        tree.file("apps/system/service.desktop", "[Desktop Entry]\nType=Service\nName=Service\nExec=tool\n");
        tree.file("apps/system/malformed.desktop", QByteArray("\xff\xfe=\n[Desktop Entry\nExec=editor\n"));
        tree.file("apps/system/huge.desktop", entry("Huge", "editor") + QByteArray(1100 * 1024, '#'));
        tree.symlink("apps/system/loop.desktop", tree.path("apps/system/loop.desktop"));
        tree.file("apps/system/notes.txt", entry("Notes", "editor"));
    }

    void process(qint32 pid, const QString& executable, uid_t owner = kUser)
    {
        const QString folder = QStringLiteral("proc/%1").arg(pid);
        tree.file(folder + "/status", "Name:\tx\nUmask:\t0022\nUid:\t" + QByteArray::number(owner) + "\t0\t0\t0\n");
        if (!executable.isEmpty()) {
            tree.symlink(folder + "/exe", executable);
        }
    }

    QList<qint32> pids(const QList<ProcessService::Application>& applications)
    {
        QList<qint32> result;
        for (const ProcessService::Application& application : applications) {
            result << application.pid;
        }
        return result;
    }

    DesktopApplications applications()
    {
        return DesktopApplications(
            {{tree.path("apps/user"), tree.path("apps/system"), tree.path("apps/missing")}, {tree.path("bin")}});
    }

    FixtureTree tree;
    QString editor;
    QString tool;
    QString viewer;
    platform::Seam<QString>::Override proc{platform::procRoot(), tree.path("proc")};
    platform::Seam<uid_t>::Override user{platform::userId(), kUser};
};

} // namespace

TEST_F(DesktopApplicationsTest, TheUsersProcessesRunningAVisibleEntrysProgramAreApplications)
{
    process(100, editor);
    process(101, viewer);
    process(102, editor, 0);
    process(103, tool);
    process(104, editor + " (deleted)");
    process(105, tree.path("bin/edit-link"));
    process(106, QString());
    process(107, "/usr/bin/unknown");
    process(1, editor);
    process(::getpid(), editor);
    tree.file("proc/self/status", "Uid:\t1000\n");

    // 108 names no process; pids may come in any order and more than once.
    const QList<ProcessService::Application> found =
        applications().running({108, 107, 106, 105, 104, 103, 102, 101, 100, 100, 1, 0, -5, ::getpid()});
    // 101's entry is hidden by the user's copy, 102 is another user's, 103's
    // entry is not shown, 106 and 107 run nothing known.
    ASSERT_EQ(pids(found), (QList<qint32>{100, 104, 105}));
    EXPECT_EQ(found[0].localizedName, QStringLiteral("Editor"));
    EXPECT_EQ(found[0].bundleID, QStringLiteral("editor"));
    // A program replaced while it runs, or started through a link, is still
    // the program; the first entry found for it names it.
    EXPECT_EQ(found[1].localizedName, QStringLiteral("Editor"));
    EXPECT_EQ(found[2].localizedName, QStringLiteral("Editor"));
    EXPECT_EQ(found[2].bundleID, QStringLiteral("editor"));
}

TEST_F(DesktopApplicationsTest, EverythingInAFlatpakSandboxIsAnApplication)
{
    process(200, QString());
    tree.file("proc/200/root/.flatpak-info", "[Application]\nname=org.example.Paint\nruntime=runtime/x\n");
    process(201, "/app/bin/helper");
    tree.file("proc/201/root/.flatpak-info", "[Application]\nname=org.example.Unlisted\n");
    process(202, QString());
    tree.file("proc/202/root/.flatpak-info", "[Instance]\ninstance-id=1\n");
    process(203, QString(), 0);
    tree.file("proc/203/root/.flatpak-info", "[Application]\nname=org.example.Paint\n");

    const QList<ProcessService::Application> found = applications().running({200, 201, 202, 203});
    ASSERT_EQ(pids(found), (QList<qint32>{200, 201, 202}));
    EXPECT_EQ(found[0].localizedName, QStringLiteral("Paint"));
    EXPECT_EQ(found[0].bundleID, QStringLiteral("org.example.Paint"));
    EXPECT_EQ(found[1].localizedName, std::nullopt);
    EXPECT_EQ(found[1].bundleID, QStringLiteral("org.example.Unlisted"));
    EXPECT_EQ(found[2].bundleID, std::nullopt);
}

TEST_F(DesktopApplicationsTest, TheStandardFoldersFollowTheDataHomeAndTheDataFolders)
{
    const QByteArray saved = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", "/opt/share/:relative:/var/lib/flatpak/exports/share");
    const DesktopApplications::Locations standard = DesktopApplications::Locations::standard();
    qunsetenv("XDG_DATA_DIRS");
    const DesktopApplications::Locations fallback = DesktopApplications::Locations::standard();
    qputenv("XDG_DATA_DIRS", saved);
    EXPECT_EQ(standard.entryFolders.mid(1),
              (QStringList{"/opt/share/applications", "/var/lib/flatpak/exports/share/applications"}));
    EXPECT_TRUE(standard.entryFolders.first().endsWith("/applications"));
    EXPECT_EQ(fallback.entryFolders.mid(1), (QStringList{"/usr/local/share/applications", "/usr/share/applications"}));
}
