#include "platform/DesktopSettings.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

// A tool table whose desktop programs are scripts of the fixture; `present`
// lists the ones that exist.
platform::ToolTable tools(FixtureTree& tree, const QStringList& present)
{
    platform::ToolTable made;
    made.gnomeControlCenter = tree.path(QStringLiteral("bin/gnome-control-center"));
    made.plasmaSystemSettings = tree.path(QStringLiteral("bin/systemsettings"));
    made.xfceSettingsManager = tree.path(QStringLiteral("bin/xfce4-settings-manager"));
    made.xdgOpen = tree.path(QStringLiteral("bin/xdg-open"));
    for (const QString& name : present) {
        const QString path = tree.file(QStringLiteral("bin/") + name, QByteArray("#!/bin/sh\nexit 0\n"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return made;
}

} // namespace

TEST(DesktopSettings, TheDesktopsOwnSettingsElseTheFileManagerElseNothing)
{
    const QString gnome = QStringLiteral("gnome-control-center");
    const QString plasma = QStringLiteral("systemsettings");
    const QString xfce = QStringLiteral("xfce4-settings-manager");
    const QString open = QStringLiteral("xdg-open");
    const struct {
        const char* name;
        QStringList present;
        QStringList desktops;
        std::optional<QString> program; // none: nothing can open the settings
        bool opensHome;
    } rows[] = {
        {"GNOME", {gnome, open}, {"GNOME"}, gnome, false},
        {"Ubuntu's session names", {gnome, open}, {"ubuntu", "GNOME"}, gnome, false},
        {"Plasma", {gnome, plasma, open}, {"KDE"}, plasma, false},
        {"Xfce", {xfce, open}, {"XFCE"}, xfce, false},
        {"the desktop's program is missing", {open}, {"GNOME"}, open, true},
        {"an unknown desktop", {gnome, open}, {"Sway"}, open, true},
        {"outside a desktop", {gnome, open}, {}, open, true},
        {"nothing installed", {}, {"GNOME"}, std::nullopt, false},
    };
    for (const auto& row : rows) {
        FixtureTree tree;
        const platform::ToolTable table = tools(tree, row.present);
        const std::optional<platform::LaunchCommand> command =
            platform::desktopSettingsCommand(table, row.desktops, QStringLiteral("/home/anna"));
        ASSERT_EQ(command.has_value(), row.program.has_value()) << row.name;
        if (!command) {
            continue;
        }
        EXPECT_EQ(command->program, tree.path(QStringLiteral("bin/") + *row.program)) << row.name;
        EXPECT_EQ(command->arguments, row.opensHome ? QStringList{QStringLiteral("file:///home/anna")} : QStringList{})
            << row.name;
    }
}
