#include "platform/DesktopSettings.h"

#include <QProcess>
#include <QUrl>

namespace harborlite::platform {

namespace {

// The settings program of a desktop, by its name in $XDG_CURRENT_DESKTOP.
std::optional<QString> settingsProgram(const ToolTable& tools, const QString& desktop)
{
    const QString name = desktop.toUpper();
    if (name == QLatin1String("GNOME") || name == QLatin1String("UNITY") || name == QLatin1String("UBUNTU")
        || name == QLatin1String("BUDGIE")) {
        return tools.gnomeControlCenter;
    }
    if (name == QLatin1String("KDE")) {
        return tools.plasmaSystemSettings;
    }
    if (name == QLatin1String("XFCE")) {
        return tools.xfceSettingsManager;
    }
    return std::nullopt;
}

} // namespace

std::optional<LaunchCommand> desktopSettingsCommand(const ToolTable& tools, const QStringList& desktops,
                                                    const QString& home)
{
    for (const QString& desktop : desktops) {
        if (const std::optional<QString> program = settingsProgram(tools, desktop);
            program && isExecutableFile(*program)) {
            return LaunchCommand{*program, {}};
        }
    }
    if (isExecutableFile(tools.xdgOpen) && home.startsWith(QLatin1Char('/'))) {
        return LaunchCommand{tools.xdgOpen, {QUrl::fromLocalFile(home).toString(QUrl::FullyEncoded)}};
    }
    return std::nullopt;
}

bool launch(const LaunchCommand& command)
{
    return QProcess::startDetached(command.program, command.arguments);
}

} // namespace harborlite::platform
