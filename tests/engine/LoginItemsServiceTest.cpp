#include "support/QtPrinters.h"
#include "engine/services/LoginItemsService.h"
#include "engine/services/ShellRunner.h"
#include "platform/UserId.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/PlistFixtures.h"

#include <QFile>

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
// systemctl printing "systemctl.out", and an administrator prompt that logs
// each command line and exits with the status in "pkexec.status".
class LoginItemsServiceTest : public ::testing::Test {
protected:
    LoginItemsServiceTest()
    {
        tools.launchctl = test::writeFakeTool(
            tree.root(), "launchctl",
            "if [ \"$1\" = print-disabled ]; then cat \"$0.$(echo \"$2\" | tr / _)\" 2>/dev/null; exit 0; fi\n"
            "cat \"$0.err\" >&2 2>/dev/null; exit \"$(cat \"$0.status\" 2>/dev/null || echo 0)\"");
        tools.systemctl = test::writeFakeTool(tree.root(), "systemctl", "cat \"$0.out\" 2>/dev/null");
        tools.pkexec = test::writeFakeTool(tree.root(), "pkexec",
                                           "printf '%s\\n' \"$7\" >> \"$0.log\"\n"
                                           "exit \"$(cat \"$0.status\" 2>/dev/null || echo 0)\"\n");
        locations = {tree.folder("home/Library/LaunchAgents"), tree.folder("Library/LaunchAgents"),
                     tree.folder("Library/LaunchDaemons"),     tree.path("home/.config/autostart"),
                     tree.folder("etc/xdg/autostart"),         {tree.folder("etc/systemd/system"), tree.folder("lib/systemd/system")},
                     {"GNOME"}};
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
    tree.file("Library/LaunchAgents/item2.plist",
              plist("<key>Label</key><string>item2</string><key>Program</key><string>" + gone.toUtf8()
                    + "</string><key>RunAtLoad</key><true/><key>KeepAlive</key><dict><key>SuccessfulExit</key><false/></dict>"
                      "<key>Disabled</key><false/>"));
    tree.file("Library/LaunchDaemons/spaces.plist",
              plist("<key>Label</key><string>with spaces</string><key>Program</key><string>/opt/My \"Tool\"/run it</string>"
                    "<key>RunAtLoad</key><string>yes</string>"));
    tree.file("launchctl.gui_501", "disabled services = {\n\t\"item2\" => true\n\t\"item10\" => false\n\t\"odd => true\n}\n");
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
    EXPECT_EQ(administratorCommands(), (QStringList{tools.launchctl + " enable system/com.example.agent",
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
    tree.file("home/.config/autostart/only.desktop", "[Desktop Entry]\nType=Application\nName=Only Mine\nExec=/bin/sh -c true\n");
    tree.file("home/.config/autostart/mine-hidden.desktop", "[Desktop Entry]\nName=Mine Hidden\nExec=sh\nHidden=true\n");
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
    tree.file("etc/xdg/autostart/gnome-off.desktop", "[Desktop Entry]\nName=Gnome Off\nExec=sh\nX-GNOME-Autostart-enabled=false\n");
    tree.file("etc/xdg/autostart/kde.desktop", "[Desktop Entry]\nName=KDE Only\nExec=sh\nOnlyShowIn=KDE;\n");
    tree.file("etc/xdg/autostart/both.desktop", "[Desktop Entry]\nName=Both\nExec=sh\nOnlyShowIn=KDE;GNOME;\n");
    tree.file("etc/xdg/autostart/not-gnome.desktop", "[Desktop Entry]\nName=Not Gnome\nExec=sh\nNotShowIn=GNOME;\n");

    const QList<StartupItem> items = service().items();
    QStringList labels;
    for (const StartupItem& item : items) {
        labels << item.label;
    }
    EXPECT_EQ(labels, (QStringList{"Both", QString::fromUtf8("Caf\xef\xbf\xbd"), "Gnome Off", "KDE Only", "Mine Hidden",
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

TEST_F(LoginItemsServiceTest, SystemdServicesAreLaunchDaemonsSwitchedAsAdministrator)
{
    tree.file("systemctl.out", "cron.service                 enabled         enabled\n"
                               "getty@.service               enabled         enabled\n"
                               "bluetooth.service            disabled        enabled\n"
                               "masked.service               masked          enabled\n"
                               "static.service               static          -\n"
                               "odd'unit.service             disabled        enabled\n"
                               "timer.timer                  enabled         enabled\n");
    tree.file("etc/systemd/system/cron.service", "[Unit]\nDescription=x\n[Service]\nExecStart=-/usr/sbin/cron -f\nRestart=on-failure\n");
    tree.file("lib/systemd/system/cron.service", "[Service]\nExecStart=/wrong\n");
    tree.file("lib/systemd/system/bluetooth.service",
              "[Service]\nExecStart=" + tree.path("gone/bluetoothd").toUtf8() + "\nRestart=no\n");

    const QList<StartupItem> items = service().items();
    QStringList labels;
    for (const StartupItem& item : items) {
        labels << item.label;
    }
    EXPECT_EQ(labels, (QStringList{"bluetooth.service", "cron.service", "odd'unit.service"}));
    const StartupItem* cron = find(items, "cron.service");
    ASSERT_NE(cron, nullptr);
    EXPECT_EQ(cron->scope, Scope::daemon);
    EXPECT_EQ(cron->source, StartupItem::Source::systemd);
    EXPECT_TRUE(cron->isEnabled);
    EXPECT_TRUE(cron->keepsAlive);
    EXPECT_EQ(cron->programDescription, "/usr/sbin/cron");
    EXPECT_EQ(cron->url, tree.path("etc/systemd/system/cron.service"));
    const StartupItem* bluetooth = find(items, "bluetooth.service");
    ASSERT_NE(bluetooth, nullptr);
    EXPECT_FALSE(bluetooth->isEnabled);
    EXPECT_TRUE(bluetooth->isOrphaned);
    EXPECT_FALSE(bluetooth->keepsAlive);
    const StartupItem* odd = find(items, "odd'unit.service");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->programDescription, "odd'unit.service");
    EXPECT_EQ(odd->url, "odd'unit.service");

    service().setEnabled(true, *bluetooth);
    service().setEnabled(false, *cron);
    service().setEnabled(true, *odd);
    EXPECT_EQ(administratorCommands(), (QStringList{tools.systemctl + " enable bluetooth.service",
                                                    tools.systemctl + " disable cron.service",
                                                    tools.systemctl + " enable 'odd'\\''unit.service'"}));
    EXPECT_EQ(test::recordedArguments(tools.systemctl),
              (QStringList{"list-unit-files", "--type=service", "--no-legend", "--no-pager"}));
}

TEST_F(LoginItemsServiceTest, MissingToolsAndFoldersGiveAnEmptyList)
{
    platform::ToolTable absent;
    absent.launchctl = tree.path("none/launchctl");
    absent.systemctl = tree.path("none/systemctl");
    LoginItemsService::Locations nowhere = locations;
    for (QString* folder : {&nowhere.userAgents, &nowhere.globalAgents, &nowhere.daemons, &nowhere.userAutostart,
                            &nowhere.systemAutostart}) {
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
