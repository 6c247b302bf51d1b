#include "engine/system/LoginItemsService.h"
#include "engine/apps/CodeSignatureInspector.h"
#include "engine/commands/ShellRunner.h"
#include "engine/formats/DesktopEntry.h"
#include "platform/UserId.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/PlistFixtures.h"
#include "support/QtPrinters.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using RunError = ShellRunner::RunError;
using Scope = StartupItem::Scope;

namespace {

QByteArray plist(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body + "</dict></plist>\n";
}

// Launch folders, autostart folders and unit folders in a fixture tree; a
// launchctl answering print-disabled from "launchctl.<domain with _>", a
// systemctl failing with "systemctl.err" and the status in "systemctl.status",
// and an administrator prompt that logs each command line and exits with the
// status in "pkexec.status".
class LoginItemsServiceTest : public ::testing::Test {
protected:
    LoginItemsServiceTest()
    {
        tools.launchctl = test::writeFakeTool(
            tree.root(), "launchctl",
            "if [ \"$1\" = print-disabled ]; then cat \"$0.$(echo \"$2\" | tr / _)\" 2>/dev/null; exit 0; fi\n"
            "cat \"$0.err\" >&2 2>/dev/null; exit \"$(cat \"$0.status\" 2>/dev/null || echo 0)\"");
        tools.systemctl =
            test::writeFakeTool(tree.root(), "systemctl",
                                "cat \"$0.err\" >&2 2>/dev/null; exit \"$(cat \"$0.status\" 2>/dev/null || echo 0)\"");
        tools.pkexec = test::writeFakeTool(tree.root(), "pkexec",
                                           "printf '%s\\n' \"$7\" >> \"$0.log\"\n"
                                           "exit \"$(cat \"$0.status\" 2>/dev/null || echo 0)\"\n");
        locations = {tree.folder("home/Library/LaunchAgents"), tree.folder("Library/LaunchAgents"),
                     tree.folder("Library/LaunchDaemons"),     tree.path("home/.config/autostart"),
                     tree.folder("etc/xdg/autostart"),         tree.folder("home/.config/systemd/user"),
                     tree.folder("etc/systemd/system"),        {"GNOME"}};
    }

    LoginItemsService service() const { return LoginItemsService(locations, tools); }

    const StartupItem* find(const QList<StartupItem>& items, const QString& label) const
    {
        for (const StartupItem& item : items) {
            if (item.label == label) {
                return &item;
            }
        }
        ADD_FAILURE() << "no item " << label.toStdString();
        return nullptr;
    }

    QStringList administratorCommands() const
    {
        QFile log(tools.pkexec + ".log");
        if (!log.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QByteArray read(const QString& relative) const
    {
        QFile file(tree.path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    FixtureTree tree;
    platform::ToolTable tools;
    LoginItemsService::Locations locations;
    platform::Seam<uid_t>::Override uid{platform::userId(), 501};
};

} // namespace

TEST_F(LoginItemsServiceTest, LaunchdListsReadAsTheirFoldersAndLaunchctlSay)
{
    tree.folder("Applications/Foo.app/Contents/MacOS");
    const QString foo = tree.file("Applications/Foo.app/Contents/MacOS/Foo", "x");
    const QString gone = tree.path("Applications/Gone.app/Contents/MacOS/Gone");
    tree.file("home/Library/LaunchAgents/item10.plist",
              plist("<key>Label</key><string>item10</string><key>ProgramArguments</key><array><string>" + foo.toUtf8()
                    + "</string><string>--daemon</string></array><key>KeepAlive</key><false/>"));
    tree.file("home/Library/LaunchAgents/com.example.nolabel.plist", plist("<key>ProgramArguments</key><array/>"));
    tree.file("home/Library/LaunchAgents/com.example.upper.PLIST", plist("<key>Label</key><string>upper</string>"));
    tree.file("home/Library/LaunchAgents/.com.example.hidden.plist", plist("<key>Label</key><string>hidden</string>"));
    tree.file("home/Library/LaunchAgents/broken.plist", "<plist><dict><key>Label</key>");
    tree.file("home/Library/LaunchAgents/array.plist", "<plist><array><string>x</string></array></plist>");
    plist_t binary = plist_new_dict();
    plist_dict_set_item(binary, "Label", plist_new_string("binary agent"));
    plist_dict_set_item(binary, "Program", plist_new_string("relative-tool"));
    plist_dict_set_item(binary, "Disabled", plist_new_bool(1));
    ASSERT_TRUE(test::writeFile(tree.path("home/Library/LaunchAgents/binary.plist"), test::binaryList(binary)));
    tree.file(
        "Library/LaunchAgents/item2.plist",
        plist("<key>Label</key><string>item2</string><key>Program</key><string>" + gone.toUtf8()
              + "</string><key>RunAtLoad</key><true/><key>KeepAlive</key><dict><key>SuccessfulExit</key><false/></dict>"
                "<key>Disabled</key><false/>"));
    tree.file(
        "Library/LaunchDaemons/spaces.plist",
        plist("<key>Label</key><string>with spaces</string><key>Program</key><string>/opt/My \"Tool\"/run it</string>"
              "<key>RunAtLoad</key><string>yes</string>"));
    tree.file("launchctl.gui_501",
              "disabled services = {\n\t\"item2\" => true\n\t\"item10\" => false\n\t\"odd => true\n}\n");
    tree.file("launchctl.system", "\t\"with spaces\" => true  \n");

    const QList<StartupItem> items = service().items();
    QStringList labels;
    for (const StartupItem& item : items) {
        labels << item.label;
    }
    EXPECT_EQ(labels, (QStringList{"binary agent", "com.example.nolabel", "item2", "item10", "with spaces"}));

    const StartupItem* item10 = find(items, "item10");
    ASSERT_NE(item10, nullptr);
    EXPECT_EQ(item10->programDescription, foo);
    EXPECT_EQ(item10->url, tree.path("home/Library/LaunchAgents/item10.plist"));
    EXPECT_EQ(item10->id(), item10->url);
    EXPECT_EQ(item10->scope, Scope::userAgent);
    EXPECT_TRUE(item10->isEnabled);
    EXPECT_FALSE(item10->isOrphaned);
    EXPECT_EQ(item10->owningAppName, QStringLiteral("Foo"));
    EXPECT_EQ(item10->signature, CodeSignatureInspector::inspect(tree.path("Applications/Foo.app")));
    EXPECT_FALSE(item10->keepsAlive);
    EXPECT_EQ(item10->source, StartupItem::Source::launchd);

    const StartupItem* nolabel = find(items, "com.example.nolabel");
    ASSERT_NE(nolabel, nullptr);
    EXPECT_EQ(nolabel->programDescription, "com.example.nolabel.plist");
    EXPECT_FALSE(nolabel->isOrphaned);
    EXPECT_EQ(nolabel->owningAppName, std::nullopt);
    EXPECT_EQ(nolabel->signature, CodeSignature{});

    const StartupItem* binaryItem = find(items, "binary agent");
    ASSERT_NE(binaryItem, nullptr);
    EXPECT_EQ(binaryItem->programDescription, "relative-tool");
    EXPECT_FALSE(binaryItem->isOrphaned);
    EXPECT_FALSE(binaryItem->isEnabled);

    const StartupItem* item2 = find(items, "item2");
    ASSERT_NE(item2, nullptr);
    EXPECT_EQ(item2->scope, Scope::globalAgent);
    EXPECT_FALSE(item2->isEnabled);
    EXPECT_TRUE(item2->isOrphaned);
    EXPECT_EQ(item2->owningAppName, QStringLiteral("Gone"));
    EXPECT_EQ(item2->signature, CodeSignature{});
    EXPECT_TRUE(item2->runsAtLoad);
    EXPECT_TRUE(item2->keepsAlive);

    const StartupItem* spaces = find(items, "with spaces");
    ASSERT_NE(spaces, nullptr);
    EXPECT_EQ(spaces->scope, Scope::daemon);
    EXPECT_EQ(spaces->programDescription, "/opt/My \"Tool\"/run it");
    EXPECT_TRUE(spaces->isOrphaned);
    EXPECT_FALSE(spaces->isEnabled);
    EXPECT_FALSE(spaces->runsAtLoad);
    EXPECT_EQ(rawValue(spaces->scope), "Launch daemon");
}

TEST_F(LoginItemsServiceTest, LaunchdSwitchingByScope)
{
    StartupItem item;
    item.label = "com.example.agent";
    item.scope = Scope::userAgent;
    service().setEnabled(false, item);
    EXPECT_EQ(test::recordedArguments(tools.launchctl), (QStringList{"disable", "gui/501/com.example.agent"}));
    EXPECT_TRUE(administratorCommands().isEmpty());

    tree.file("launchctl.status", "3");
    tree.file("launchctl.err", "Could not find service");
    try {
        service().setEnabled(true, item);
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error, RunError::launchFailed("Could not find service"));
    }

    item.scope = Scope::daemon;
    service().setEnabled(true, item);
    item.scope = Scope::globalAgent;
    service().setEnabled(false, item);
    item.label = "x; rm -rf /";
    item.scope = Scope::daemon;
    service().setEnabled(false, item);
    EXPECT_EQ(administratorCommands(),
              (QStringList{tools.launchctl + " enable system/com.example.agent",
                           tools.launchctl + " disable gui/501/com.example.agent",
                           tools.launchctl + " disable 'system/x; rm -rf /'"}));

    tree.file("pkexec.status", "126");
    try {
        service().setEnabled(true, item);
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error, RunError::cancelled());
    }
}

TEST_F(LoginItemsServiceTest, AutostartEntriesFollowTheFreedesktopRules)
{
    tree.file("home/.config/autostart/only.desktop",
              "[Desktop Entry]\nType=Application\nName=Only Mine\nExec=/bin/sh -c true\n");
    tree.file("home/.config/autostart/mine-hidden.desktop",
              "[Desktop Entry]\nName=Mine Hidden\nExec=sh\nHidden=true\n");
    tree.file("home/.config/autostart/noexec.desktop", "[Desktop Entry]\nName=No Exec\n");
    tree.file("home/.config/autostart/missing.desktop",
              "[Desktop Entry]\nName=Missing\nExec=harborlite-no-such-program --flag\n");
    tree.file("home/.config/autostart/latin1.desktop", QByteArray("[Desktop Entry]\nName=Caf\xe9\nExec=sh\n"));
    tree.file("home/.config/autostart/link.desktop", "[Desktop Entry]\nType=Link\nName=Link\nURL=http://x\n");
    tree.file("home/.config/autostart/nogroup.desktop", "Name=No Group\nExec=sh\n");
    tree.file("home/.config/autostart/notes.txt", "[Desktop Entry]\nName=Text\n");
    tree.file("etc/xdg/autostart/shared.desktop",
              "[Desktop Entry]\nName=Shared\nName[de]=Geteilt\nExec=\"/opt/my \\\"odd\\\" tool\" %u\n");
    tree.file("etc/xdg/autostart/overridden.desktop", "[Desktop Entry]\nName=Overridden\nExec=/bin/true\n");
    tree.file("home/.config/autostart/overridden.desktop", "[Desktop Entry]\nHidden=true\n");
    tree.file("etc/xdg/autostart/gnome-off.desktop",
              "[Desktop Entry]\nName=Gnome Off\nExec=sh\nX-GNOME-Autostart-enabled=false\n");
    tree.file("etc/xdg/autostart/kde.desktop", "[Desktop Entry]\nName=KDE Only\nExec=sh\nOnlyShowIn=KDE;\n");
    tree.file("etc/xdg/autostart/both.desktop", "[Desktop Entry]\nName=Both\nExec=sh\nOnlyShowIn=KDE;GNOME;\n");
    tree.file("etc/xdg/autostart/not-gnome.desktop", "[Desktop Entry]\nName=Not Gnome\nExec=sh\nNotShowIn=GNOME;\n");

    const QList<StartupItem> items = service().items();
    QStringList labels;
    for (const StartupItem& item : items) {
        labels << item.label;
    }
    EXPECT_EQ(labels,
              (QStringList{"Both", QString::fromUtf8("Caf\xef\xbf\xbd"), "Gnome Off", "KDE Only", "Mine Hidden",
                           "Missing", "No Exec", "Not Gnome", "Only Mine", "Overridden", "Shared"}));
    struct Row {
        QString label;
        Scope scope;
        bool enabled;
        bool orphaned;
        QString program;
    };
    const Row rows[] = {
        {"Only Mine", Scope::userAgent, true, false, "/bin/sh"},
        {"Mine Hidden", Scope::userAgent, false, false, "sh"},
        {"No Exec", Scope::userAgent, true, false, "noexec.desktop"},
        {"Missing", Scope::userAgent, true, true, "harborlite-no-such-program"},
        {"Shared", Scope::globalAgent, true, true, "/opt/my \"odd\" tool"},
        {"Overridden", Scope::globalAgent, false, false, "/bin/true"},
        {"Gnome Off", Scope::globalAgent, false, false, "sh"},
        {"KDE Only", Scope::globalAgent, false, false, "sh"},
        {"Both", Scope::globalAgent, true, false, "sh"},
        {"Not Gnome", Scope::globalAgent, false, false, "sh"},
    };
    for (const Row& row : rows) {
        const StartupItem* item = find(items, row.label);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->scope, row.scope) << row.label.toStdString();
        EXPECT_EQ(item->isEnabled, row.enabled) << row.label.toStdString();
        EXPECT_EQ(item->isOrphaned, row.orphaned) << row.label.toStdString();
        EXPECT_EQ(item->programDescription, row.program) << row.label.toStdString();
        EXPECT_EQ(item->source, StartupItem::Source::autostart);
        EXPECT_TRUE(item->runsAtLoad);
    }
    EXPECT_EQ(find(items, "Overridden")->url, tree.path("etc/xdg/autostart/overridden.desktop"));
    EXPECT_EQ(find(items, "Only Mine")->url, tree.path("home/.config/autostart/only.desktop"));
}

TEST_F(LoginItemsServiceTest, AutostartIsSwitchedThroughTheUsersOwnCopy)
{
    const QByteArray mine = "# keep me\n[Desktop Entry]\nName=Mine\nExec=sh\n\n[Desktop Action x]\nHidden=keep\n";
    tree.file("home/.config/autostart/mine.desktop", mine);
    const QByteArray shared = "[Desktop Entry]\nName=Shared\nExec=sh\nX-GNOME-Autostart-enabled=true\n";
    tree.file("etc/xdg/autostart/shared.desktop", shared);
    const QByteArray off = "[Desktop Entry]\nName=Off\nExec=sh\nX-GNOME-Autostart-enabled=false\n";
    tree.file("etc/xdg/autostart/off.desktop", off);
    const auto item = [this](const QString& label) { return *find(service().items(), label); };

    service().setEnabled(false, item("Mine"));
    EXPECT_EQ(read("home/.config/autostart/mine.desktop"),
              "# keep me\n[Desktop Entry]\nHidden=true\nName=Mine\nExec=sh\n\n[Desktop Action x]\nHidden=keep\n");
    EXPECT_FALSE(item("Mine").isEnabled);
    service().setEnabled(true, item("Mine"));
    EXPECT_EQ(read("home/.config/autostart/mine.desktop"), mine);
    EXPECT_TRUE(item("Mine").isEnabled);

    // A shared entry is switched off by a copy of its own, never in place.
    service().setEnabled(false, item("Shared"));
    EXPECT_EQ(read("etc/xdg/autostart/shared.desktop"), shared);
    EXPECT_EQ(read("home/.config/autostart/shared.desktop"),
              "[Desktop Entry]\nHidden=true\nName=Shared\nExec=sh\nX-GNOME-Autostart-enabled=true\n");
    EXPECT_FALSE(item("Shared").isEnabled);
    service().setEnabled(true, item("Shared"));
    EXPECT_FALSE(QFile::exists(tree.path("home/.config/autostart/shared.desktop")));
    EXPECT_TRUE(item("Shared").isEnabled);

    // One the system ships switched off needs the user's copy to start.
    service().setEnabled(true, item("Off"));
    EXPECT_EQ(read("etc/xdg/autostart/off.desktop"), off);
    EXPECT_EQ(read("home/.config/autostart/off.desktop"), "[Desktop Entry]\nName=Off\nExec=sh\n");
    EXPECT_TRUE(item("Off").isEnabled);
    EXPECT_TRUE(administratorCommands().isEmpty());

    // A user folder that cannot be written reports the failure.
    tree.file("blocked", "a file where the folder should be");
    locations.userAutostart = tree.path("blocked/autostart");
    try {
        service().setEnabled(false, item("Shared"));
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.kind(), RunError::Kind::commandFailed);
        EXPECT_TRUE(error.detail().startsWith(tree.path("blocked/autostart/shared.desktop") + ": "));
    }
}

// Only the units a user or an administrator installed are listed: files of
// their own that can be enabled, never links to a package's units.
TEST_F(LoginItemsServiceTest, SystemdUnitsOfTheUserAndTheAdministratorAreListedAndSwitched)
{
    const QByteArray install = "[Install]\nWantedBy=multi-user.target\n";
    tree.file("etc/systemd/system/backup.service",
              "[Unit]\nDescription=x\n[Service]\nExecStart=-/usr/local/bin/backup --daily\nRestart=on-failure\n"
                  + install);
    tree.symlink("etc/systemd/system/multi-user.target.wants/backup.service",
                 tree.path("etc/systemd/system/backup.service"));
    tree.file("lib/systemd/system/cron.service", "[Service]\nExecStart=/usr/sbin/cron\n" + install);
    tree.symlink("etc/systemd/system/cron.service", tree.path("lib/systemd/system/cron.service"));
    tree.symlink("etc/systemd/system/multi-user.target.wants/cron.service",
                 tree.path("lib/systemd/system/cron.service"));
    tree.symlink("etc/systemd/system/masked.service", "/dev/null");
    tree.file("etc/systemd/system/static.service", "[Service]\nExecStart=/bin/true\n");
    tree.file("etc/systemd/system/getty@.service", "[Service]\nExecStart=/sbin/agetty\n" + install);
    tree.file("etc/systemd/system/odd'unit.service", "[Service]\n" + install);
    tree.file("etc/systemd/system/gone.service",
              "[Service]\nExecStart=" + tree.path("gone/daemon").toUtf8() + "\nRestart=no\n" + install);
    tree.file("etc/systemd/system/nightly.timer", "[Timer]\nOnCalendar=daily\n" + install);
    tree.file("home/.config/systemd/user/sync.service",
              "[Service]\nExecStart=sync-tool --watch\n[Install]\nWantedBy=default.target\n");
    tree.symlink("home/.config/systemd/user/default.target.wants/sync.service",
                 tree.path("home/.config/systemd/user/sync.service"));
    tree.file("home/.config/systemd/user/idle.service",
              "[Service]\nExecStart=/bin/sleep 1\n[Install]\nWantedBy=default.target\n");

    const QList<StartupItem> items = service().items();
    QStringList labels;
    for (const StartupItem& item : items) {
        labels << item.label;
    }
    EXPECT_EQ(labels,
              (QStringList{"backup.service", "gone.service", "idle.service", "odd'unit.service", "sync.service"}));
    const StartupItem* backup = find(items, "backup.service");
    ASSERT_NE(backup, nullptr);
    EXPECT_EQ(backup->scope, Scope::daemon);
    EXPECT_EQ(backup->source, StartupItem::Source::systemd);
    EXPECT_TRUE(backup->isEnabled);
    EXPECT_TRUE(backup->keepsAlive);
    EXPECT_TRUE(backup->runsAtLoad);
    EXPECT_EQ(backup->programDescription, "/usr/local/bin/backup");
    EXPECT_EQ(backup->url, tree.path("etc/systemd/system/backup.service"));
    const StartupItem* gone = find(items, "gone.service");
    ASSERT_NE(gone, nullptr);
    EXPECT_FALSE(gone->isEnabled);
    EXPECT_TRUE(gone->isOrphaned);
    EXPECT_FALSE(gone->keepsAlive);
    const StartupItem* odd = find(items, "odd'unit.service");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->programDescription, "odd'unit.service");
    const StartupItem* sync = find(items, "sync.service");
    ASSERT_NE(sync, nullptr);
    EXPECT_EQ(sync->scope, Scope::userAgent);
    EXPECT_TRUE(sync->isEnabled);
    EXPECT_EQ(sync->programDescription, "sync-tool");
    const StartupItem* idle = find(items, "idle.service");
    ASSERT_NE(idle, nullptr);
    EXPECT_FALSE(idle->isEnabled);

    service().setEnabled(true, *gone);
    service().setEnabled(false, *backup);
    service().setEnabled(true, *odd);
    EXPECT_EQ(administratorCommands(),
              (QStringList{tools.systemctl + " enable -- gone.service", tools.systemctl + " disable -- backup.service",
                           tools.systemctl + " enable -- 'odd'\\''unit.service'"}));
    // The user's own units need no administrator.
    service().setEnabled(false, *sync);
    EXPECT_EQ(test::recordedArguments(tools.systemctl), (QStringList{"--user", "disable", "--", "sync.service"}));
    EXPECT_EQ(administratorCommands().size(), 3);
    tree.file("systemctl.status", "1\n");
    tree.file("systemctl.err", "Failed to enable unit: Unit file idle.service does not exist.\n");
    try {
        service().setEnabled(true, *idle);
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.kind(), RunError::Kind::launchFailed);
        EXPECT_TRUE(error.detail().contains("does not exist")) << error.detail().toStdString();
    }
}

// Files that are malformed, too large or links that go nowhere add nothing
// and stop nothing else from being listed.
TEST_F(LoginItemsServiceTest, BadUnitFilesAndAutostartEntriesAreLeftOut)
{
    const QByteArray install = "[Install]\nWantedBy=multi-user.target\n";
    tree.file("etc/systemd/system/good.service", "[Service]\nExecStart=/bin/true\n" + install);
    tree.file("etc/systemd/system/huge.service",
              "[Service]\nExecStart=/bin/true\n" + install + QByteArray(1100 * 1024, '#'));
    tree.symlink("etc/systemd/system/loop.service", tree.path("etc/systemd/system/loop.service"));
    tree.file("etc/systemd/system/garbage.service", QByteArray("\x00\xff\xfe[Serv\nExec\x01Start", 18));
    tree.folder("etc/systemd/system/folder.service");
    tree.symlink("etc/systemd/system/multi-user.target.wants/loop.service", tree.path("nowhere"));
    tree.file("etc/xdg/autostart/good.desktop", "[Desktop Entry]\nType=Application\nName=Good\nExec=/bin/true\n");
    tree.file("etc/xdg/autostart/huge.desktop",
              "[Desktop Entry]\nType=Application\nName=Huge\nExec=/bin/true\n" + QByteArray(1100 * 1024, '#'));
    tree.file("etc/xdg/autostart/garbage.desktop", QByteArray("\xff\xfe\x00Name=Garbage\n", 17));
    tree.symlink("etc/xdg/autostart/loop.desktop", tree.path("etc/xdg/autostart/loop.desktop"));
    tree.symlink("home/.config/autostart/loop.desktop", tree.path("home/.config/autostart/loop.desktop"));
    tree.symlink("home/.config/systemd/user/default.target.wants",
                 tree.path("home/.config/systemd/user/default.target.wants"));

    QStringList labels;
    for (const StartupItem& item : service().items()) {
        labels << item.label;
    }
    EXPECT_EQ(labels, (QStringList{"Good", "good.service"}));
}

TEST_F(LoginItemsServiceTest, MissingToolsAndFoldersGiveAnEmptyList)
{
    platform::ToolTable absent;
    absent.launchctl = tree.path("none/launchctl");
    absent.systemctl = tree.path("none/systemctl");
    LoginItemsService::Locations nowhere = locations;
    for (QString* folder : {&nowhere.userAgents, &nowhere.globalAgents, &nowhere.daemons, &nowhere.userAutostart,
                            &nowhere.systemAutostart, &nowhere.userUnits, &nowhere.systemUnits}) {
        *folder = tree.path("none");
    }
    EXPECT_TRUE(LoginItemsService(nowhere, absent).items().isEmpty());

    StartupItem item;
    item.label = "x";
    try {
        LoginItemsService(nowhere, absent).setEnabled(true, item);
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.kind(), RunError::Kind::launchFailed);
    }
}

TEST_F(LoginItemsServiceTest, AUnitNamedLikeAnOptionStaysAUnit)
{
    const QByteArray unit = "[Service]\nExecStart=/bin/true\n[Install]\nWantedBy=default.target\n";
    tree.file("home/.config/systemd/user/-H.service", unit);
    tree.file("etc/systemd/system/--root=x.service", unit);
    const QList<StartupItem> items = service().items();

    service().setEnabled(true, *find(items, "-H.service"));
    service().setEnabled(true, *find(items, "--root=x.service"));

    EXPECT_EQ(test::recordedArguments(tools.systemctl), (QStringList{"--user", "enable", "--", "-H.service"}));
    EXPECT_EQ(administratorCommands(), QStringList{tools.systemctl + " enable -- --root=x.service"});
}

// Every file below the fixture's root (links not followed) with its kind and bytes.
static QMap<QString, QByteArray> world(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QFile file(path);
        entries.insert(path,
                       info.isSymLink() ? "link:" + QFile::encodeName(info.symLinkTarget())
                           : info.isFile() && file.open(QIODevice::ReadOnly)
                           ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                           : QByteArray("folder"));
    }
    return entries;
}

TEST_F(LoginItemsServiceTest, AutostartLinksAreNeverListedNorWrittenThrough)
{
    const QByteArray elsewhere = "[Desktop Entry]\nName=Elsewhere\nExec=sh\n";
    tree.file("outside/elsewhere.desktop", elsewhere);
    tree.symlink("home/.config/autostart/elsewhere.desktop", tree.path("outside/elsewhere.desktop"));
    const QByteArray system = "[Desktop Entry]\nName=Shared\nExec=sh\n";
    tree.file("etc/xdg/autostart/shared.desktop", system);
    // The user's "copy" is a link to the system's own entry.
    tree.symlink("home/.config/autostart/shared.desktop", tree.path("etc/xdg/autostart/shared.desktop"));
    tree.symlink("etc/xdg/autostart/linked.desktop", tree.path("outside/elsewhere.desktop"));

    QStringList labels;
    for (const StartupItem& item : service().items()) {
        labels << item.label;
    }
    EXPECT_EQ(labels, QStringList{"Shared"});

    const QMap<QString, QByteArray> before = world(tree.root());
    const StartupItem shared = *find(service().items(), "Shared");
    EXPECT_FALSE(shared.needsAdministrator());
    service().setEnabled(false, shared);

    // The link was replaced by a real copy; nothing it pointed to changed.
    const QString copy = tree.path("home/.config/autostart/shared.desktop");
    EXPECT_FALSE(QFileInfo(copy).isSymLink());
    EXPECT_EQ(read("home/.config/autostart/shared.desktop"), "[Desktop Entry]\nHidden=true\nName=Shared\nExec=sh\n");
    QMap<QString, QByteArray> after = world(tree.root());
    after.remove(copy);
    QMap<QString, QByteArray> expected = before;
    expected.remove(copy);
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(find(service().items(), "Shared")->isEnabled);

    // A folder of entries that is itself a link lists nothing and is never written into.
    const QString realFolder = tree.folder("outside/autostart");
    tree.file("outside/autostart/mine.desktop", "[Desktop Entry]\nName=Mine\nExec=sh\n");
    locations.userAutostart = tree.symlink("home/linked-autostart", realFolder);
    labels.clear();
    for (const StartupItem& item : service().items()) {
        labels << item.label;
    }
    EXPECT_EQ(labels, QStringList{"Shared"});
    const QMap<QString, QByteArray> beforeSwitch = world(tree.root());
    try {
        service().setEnabled(false, *find(service().items(), "Shared"));
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.kind(), RunError::Kind::commandFailed);
    }
    EXPECT_EQ(world(tree.root()), beforeSwitch);
}

TEST_F(LoginItemsServiceTest, OffThenOnGivesTheUsersFileBackByteForByte)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    const QList<std::pair<const char*, QByteArray>> files = {
        {"plain", "[Desktop Entry]\nName=Plain\nExec=sh\nX-GNOME-Autostart-enabled=true\n"},
        {"crlf",
         bom
             + "# made by hand\r\n[Desktop Entry]\r\nName=Crlf\r\nName[de]=Zeilen\r\nComment[fr]=caf\xc3\xa9\r\n"
               "Exec=sh\r\n\r\n# trailing comment\r\nX-GNOME-Autostart-enabled=true\r\n"
               "[Desktop Action x]\r\nHidden=keep"},
        {"own-hidden", "[Desktop Entry]\nName=Own Hidden\n# keep\nHidden=false\nExec=sh"},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const QString relative = QStringLiteral("home/.config/autostart/%1.desktop").arg(name);
        tree.file(relative, bytes);
        const QString label = DesktopEntry::fromBytes(bytes)->value("Name").value_or("");
        ASSERT_FALSE(label.isEmpty());

        service().setEnabled(false, *find(service().items(), label));
        EXPECT_FALSE(find(service().items(), label)->isEnabled);
        EXPECT_TRUE(read(relative).startsWith(bytes.startsWith(bom) ? bom : QByteArray()));
        service().setEnabled(true, *find(service().items(), label));

        EXPECT_EQ(read(relative), bytes);
        EXPECT_TRUE(find(service().items(), label)->isEnabled);
    }
    // A copy of a system entry, switched off and on, goes and leaves the system's entry as it was.
    const QByteArray system = bom + "[Desktop Entry]\r\nName=Shared\r\nX-GNOME-Autostart-enabled=true\r\nExec=sh";
    tree.file("etc/xdg/autostart/shared.desktop", system);
    service().setEnabled(false, *find(service().items(), "Shared"));
    EXPECT_EQ(read("home/.config/autostart/shared.desktop"),
              bom + "[Desktop Entry]\r\nHidden=true\r\nName=Shared\r\nX-GNOME-Autostart-enabled=true\r\nExec=sh");
    service().setEnabled(true, *find(service().items(), "Shared"));
    EXPECT_FALSE(QFile::exists(tree.path("home/.config/autostart/shared.desktop")));
    EXPECT_EQ(read("etc/xdg/autostart/shared.desktop"), system);
}

TEST_F(LoginItemsServiceTest, LaunchdListsAreLeftOutWhereLaunchctlIsAbsent)
{
    tree.file("home/Library/LaunchAgents/com.example.agent.plist",
              plist("<key>Label</key><string>com.example.agent</string><key>Program</key><string>/bin/true</string>"));
    tree.file("Library/LaunchDaemons/com.example.daemon.plist",
              plist("<key>Label</key><string>com.example.daemon</string>"));
    EXPECT_EQ(service().items().size(), 2);

    tools.launchctl = tree.path("none/launchctl");
    EXPECT_TRUE(service().items().isEmpty());
}
