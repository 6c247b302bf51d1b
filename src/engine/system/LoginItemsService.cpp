#include "engine/system/LoginItemsService.h"

#include "engine/EngineLog.h"
#include "engine/apps/CodeSignatureInspector.h"
#include "engine/apps/NameOrder.h"
#include "engine/commands/ShellQuoting.h"
#include "engine/commands/ShellRunner.h"
#include "engine/formats/DesktopEntry.h"
#include "engine/formats/NoFollow.h"
#include "engine/formats/PropertyList.h"
#include "platform/ErrorDescription.h"
#include "platform/FileReplacement.h"
#include "platform/SystemRoots.h"
#include "platform/UserId.h"
#include "platform/XdgConfigHome.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace harborlite {

namespace {

constexpr double launchctlLimit = 120;
constexpr double systemctlLimit = 120;

QString extensionOf(const QString& path)
{
    const QString name = FS::lastPathComponent(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? QString() : name.mid(dot + 1);
}

QString withoutExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? name : name.left(dot);
}

// The owning application, signature and orphan test of a program named by an
// absolute path; relative programs are left alone.
void describeProgram(StartupItem& item, const QString& program, bool searchPath)
{
    const bool absolute = program.startsWith(QLatin1Char('/'));
    if (absolute) {
        item.isOrphaned = !FS::exists(program);
    } else if (searchPath && !program.isEmpty()) {
        item.isOrphaned = QStandardPaths::findExecutable(program).isEmpty();
    }
    if (!absolute) {
        return;
    }
    const std::optional<QString> owner = CodeSignatureInspector::owningApplication(program);
    if (owner) {
        item.owningAppName = withoutExtension(FS::lastPathComponent(*owner));
    }
    if (!item.isOrphaned) {
        item.signature = CodeSignatureInspector::inspect(owner.value_or(program));
    }
}

QString domainFor(StartupItem::Scope scope)
{
    return scope == StartupItem::Scope::daemon ? QStringLiteral("system")
                                               : QStringLiteral("gui/") + QString::number(platform::userId().get());
}

// The program of a unit's ExecStart: its first word, without the prefixes
// that change how systemd runs it.
QString unitProgram(const QString& execStart)
{
    QString command = execStart.trimmed();
    while (!command.isEmpty() && QStringLiteral("@-:+!").contains(command.front())) {
        command.remove(0, 1);
    }
    return command.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

struct UnitFile {
    QString execStart;
    QString restart;
    // Whether [Install] says how to enable it: a unit without it is started
    // by others (static) and cannot be switched.
    bool installable = false;
};

// A unit file of its own (not a link), of at most the desktop entry size.
std::optional<UnitFile> readUnit(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile()) {
        return std::nullopt;
    }
    if (info.size() > DesktopEntry::maxFileBytes) {
        qCWarning(engineLog) << "launch items: passing over the oversized unit file" << path;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    UnitFile found;
    QByteArray section;
    for (const QByteArray& raw : file.read(DesktopEntry::maxFileBytes).split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            section = line;
            found.installable = found.installable || section == "[Install]";
        } else if (section == "[Service]" && line.startsWith("ExecStart=") && found.execStart.isEmpty()) {
            found.execStart = QString::fromUtf8(line.mid(10));
        } else if (section == "[Service]" && line.startsWith("Restart=")) {
            found.restart = QString::fromUtf8(line.mid(8)).trimmed();
        }
    }
    return found;
}

// The units enabled in a unit folder: the links that "systemctl enable" made
// in its ".wants" and ".requires" folders.
QSet<QString> enabledUnits(const QString& folder)
{
    QSet<QString> enabled;
    for (const QString& wants : FS::children(folder, {.includingHidden = false})) {
        if (!wants.endsWith(QLatin1String(".wants")) && !wants.endsWith(QLatin1String(".requires"))) {
            continue;
        }
        for (const QString& link : FS::children(wants, {.includingHidden = false})) {
            if (QFileInfo(link).isSymLink()) {
                enabled.insert(FS::lastPathComponent(link));
            }
        }
    }
    return enabled;
}

// Writes the user's copy of an entry as a file of its own: a link at its
// name is replaced, never written through.
void write(const QString& folder, const QString& name, const QByteArray& bytes)
{
    if (const std::optional<int> error = platform::replaceFile(folder, name, bytes)) {
        throw ShellRunner::RunError::commandFailed(folder + QLatin1Char('/') + name + QStringLiteral(": ")
                                                   + platform::errorDescription(*error));
    }
}

QByteArray contents(const QString& path)
{
    const NoFollow::FileBytes read = NoFollow::readFile(path, DesktopEntry::maxFileBytes);
    if (read.status != NoFollow::FileBytes::Status::read) {
        throw ShellRunner::RunError::commandFailed(
            path + QStringLiteral(": ")
            + QCoreApplication::translate("LoginItemsService", "Not a readable entry file of its own."));
    }
    return read.bytes;
}

// An entry file of the folder's own: a regular file, not a link to one
// elsewhere, in a folder that is not a link itself.
bool isOwnEntry(const QString& folder, const QString& name)
{
    return NoFollow::entryType(folder) == NoFollow::EntryType::folder
        && NoFollow::entryType(folder + QLatin1Char('/') + name) == NoFollow::EntryType::file;
}

std::optional<DesktopEntry> ownEntry(const QString& folder, const QString& name)
{
    if (!isOwnEntry(folder, name)) {
        return std::nullopt;
    }
    const NoFollow::FileBytes read = NoFollow::readFile(folder + QLatin1Char('/') + name, DesktopEntry::maxFileBytes);
    return read.status == NoFollow::FileBytes::Status::read ? DesktopEntry::fromBytes(read.bytes) : std::nullopt;
}

} // namespace

LoginItemsService::Locations LoginItemsService::Locations::standard()
{
    return {FS::library() + QStringLiteral("/LaunchAgents"),
            roots::sharedLibrary + QStringLiteral("/LaunchAgents"),
            roots::sharedLibrary + QStringLiteral("/LaunchDaemons"),
            platform::xdgConfigHome().get() + QStringLiteral("/autostart"),
            QStringLiteral("/etc/xdg/autostart"),
            platform::xdgConfigHome().get() + QStringLiteral("/systemd/user"),
            QStringLiteral("/etc/systemd/system"),
            platform::currentDesktops().get()};
}

LoginItemsService::LoginItemsService(Locations locations, platform::ToolTable tools)
    : locations_(std::move(locations))
    , tools_(std::move(tools))
{
}

QList<StartupItem> LoginItemsService::items() const
{
    QList<StartupItem> items;
    appendLaunchdItems(items);
    appendAutostartItems(items);
    appendSystemdItems(items);
    NameOrder().sort(items, [](const StartupItem& item) { return item.label; });
    return items;
}

QSet<QString> LoginItemsService::disabledLabels() const
{
    QSet<QString> labels;
    for (const QString& domain : {domainFor(StartupItem::Scope::userAgent), domainFor(StartupItem::Scope::daemon)}) {
        ShellRunner::Output output;
        try {
            output = ShellRunner::run(tools_.launchctl, {QStringLiteral("print-disabled"), domain}, launchctlLimit);
        } catch (const ShellRunner::RunError&) {
            continue;
        }
        for (const QString& line : ShellRunner::lines(output.standardOutput)) {
            const QString trimmed = line.trimmed();
            if (!trimmed.endsWith(QLatin1String("=> true"))) {
                continue;
            }
            const qsizetype first = trimmed.indexOf(QLatin1Char('"'));
            const qsizetype second = first < 0 ? -1 : trimmed.indexOf(QLatin1Char('"'), first + 1);
            if (second > first) {
                labels.insert(trimmed.mid(first + 1, second - first - 1));
            }
        }
    }
    return labels;
}

void LoginItemsService::appendLaunchdItems(QList<StartupItem>& items) const
{
    // Nothing starts a launchd property list where launchctl is absent.
    if (!platform::isExecutableFile(tools_.launchctl)) {
        return;
    }
    const QSet<QString> disabled = disabledLabels();
    const std::pair<QString, StartupItem::Scope> folders[] = {
        {locations_.userAgents, StartupItem::Scope::userAgent},
        {locations_.globalAgents, StartupItem::Scope::globalAgent},
        {locations_.daemons, StartupItem::Scope::daemon},
    };
    for (const auto& [folder, scope] : folders) {
        for (const QString& path : FS::children(folder, {.includingHidden = false})) {
            if (extensionOf(path) != QLatin1String("plist")) {
                continue;
            }
            const std::optional<PropertyList> list = PropertyList::fromFile(path);
            if (!list || list->kind() != PropertyList::Kind::Dictionary) {
                continue;
            }
            StartupItem item;
            item.source = StartupItem::Source::launchd;
            item.label = list->string(QStringLiteral("Label")).value_or(withoutExtension(FS::lastPathComponent(path)));
            QString program = list->string(QStringLiteral("Program")).value_or(QString());
            if (program.isEmpty()) {
                program = list->stringList(QStringLiteral("ProgramArguments")).value_or(QStringList()).value(0);
            }
            describeProgram(item, program, false);
            item.programDescription = program.isEmpty() ? FS::lastPathComponent(path) : program;
            item.url = path;
            item.scope = scope;
            item.isEnabled = !disabled.contains(item.label) && list->boolean(QStringLiteral("Disabled")) != true;
            item.runsAtLoad = list->boolean(QStringLiteral("RunAtLoad")).value_or(false);
            const std::optional<PropertyList> keepAlive = list->value(QStringLiteral("KeepAlive"));
            item.keepsAlive =
                keepAlive && (keepAlive->toBool() == true || keepAlive->kind() == PropertyList::Kind::Dictionary);
            items.append(std::move(item));
        }
    }
}

void LoginItemsService::appendAutostartItems(QList<StartupItem>& items) const
{
    // Links add nothing: an entry is a file of the folder's own.
    const auto entries = [](const QString& folder) {
        QStringList names;
        for (const QString& path : FS::children(folder, {.includingHidden = false})) {
            if (extensionOf(path) == QLatin1String("desktop") && isOwnEntry(folder, FS::lastPathComponent(path))) {
                names.append(FS::lastPathComponent(path));
            }
        }
        return names;
    };
    const QStringList systemNames = entries(locations_.systemAutostart);
    QStringList names = systemNames;
    for (const QString& name : entries(locations_.userAutostart)) {
        if (!names.contains(name)) {
            names.append(name);
        }
    }
    for (const QString& name : names) {
        const QString systemPath = locations_.systemAutostart + QLatin1Char('/') + name;
        const QString userPath = locations_.userAutostart + QLatin1Char('/') + name;
        const std::optional<DesktopEntry> system =
            systemNames.contains(name) ? ownEntry(locations_.systemAutostart, name) : std::nullopt;
        const std::optional<DesktopEntry> user = ownEntry(locations_.userAutostart, name);
        if (!system && !user) {
            continue;
        }
        // The user's copy replaces the system's entry; a copy that only hides
        // it still shows it under its own name and program.
        const DesktopEntry& deciding = user ? *user : *system;
        const auto shown = [&](const QString& key) {
            std::optional<QString> value = user ? user->value(key) : std::nullopt;
            return value ? value : system ? system->value(key) : std::nullopt;
        };
        const std::optional<QString> type = shown(QStringLiteral("Type"));
        if (type && *type != QLatin1String("Application")) {
            continue;
        }
        const QString program = user && user->value(QStringLiteral("Exec")) ? user->program()
            : system                                                        ? system->program()
                                                                            : QString();
        StartupItem item;
        item.source = StartupItem::Source::autostart;
        item.label = shown(QStringLiteral("Name")).value_or(withoutExtension(name));
        describeProgram(item, program, true);
        item.programDescription = program.isEmpty() ? name : program;
        item.url = system ? systemPath : userPath;
        item.scope = system ? StartupItem::Scope::globalAgent : StartupItem::Scope::userAgent;
        item.isEnabled = deciding.startsIn(locations_.desktops);
        item.runsAtLoad = true;
        items.append(std::move(item));
    }
}

void LoginItemsService::appendSystemdItems(QList<StartupItem>& items) const
{
    const std::pair<QString, StartupItem::Scope> folders[] = {
        {locations_.userUnits, StartupItem::Scope::userAgent},
        {locations_.systemUnits, StartupItem::Scope::daemon},
    };
    for (const auto& [folder, scope] : folders) {
        const QSet<QString> enabled = enabledUnits(folder);
        for (const QString& path : FS::children(folder, {.includingHidden = false})) {
            const QString unit = FS::lastPathComponent(path);
            if (!unit.endsWith(QLatin1String(".service")) || unit.endsWith(QLatin1String("@.service"))) {
                continue;
            }
            const std::optional<UnitFile> file = readUnit(path);
            if (!file || !file->installable) {
                continue;
            }
            StartupItem item;
            item.source = StartupItem::Source::systemd;
            item.label = unit;
            const QString program = unitProgram(file->execStart);
            describeProgram(item, program, false);
            item.programDescription = program.isEmpty() ? unit : program;
            item.url = path;
            item.scope = scope;
            item.isEnabled = enabled.contains(unit);
            item.runsAtLoad = true;
            item.keepsAlive = !file->restart.isEmpty() && file->restart != QLatin1String("no");
            items.append(std::move(item));
        }
    }
}

void LoginItemsService::setEnabled(bool enabled, const StartupItem& item) const
{
    switch (item.source) {
    case StartupItem::Source::launchd:
        switchLaunchd(enabled, item);
        return;
    case StartupItem::Source::autostart:
        switchAutostart(enabled, item);
        return;
    case StartupItem::Source::systemd:
        switchSystemd(enabled, item);
        return;
    }
}

void LoginItemsService::switchSystemd(bool enabled, const StartupItem& item) const
{
    const QString verb = enabled ? QStringLiteral("enable") : QStringLiteral("disable");
    if (item.scope == StartupItem::Scope::userAgent) {
        const ShellRunner::Output output = ShellRunner::run(
            tools_.systemctl, {QStringLiteral("--user"), verb, QStringLiteral("--"), item.label}, systemctlLimit);
        if (output.status != 0) {
            throw ShellRunner::RunError::launchFailed(output.standardError);
        }
        return;
    }
    // "--" ends the options: a unit named like one ("-H.service") stays a unit.
    ShellRunner::runPrivileged(ShellQuoting::word(tools_.systemctl) + QLatin1Char(' ') + verb + QStringLiteral(" -- ")
                                   + ShellQuoting::word(item.label),
                               tools_);
}

void LoginItemsService::switchLaunchd(bool enabled, const StartupItem& item) const
{
    const QString verb = enabled ? QStringLiteral("enable") : QStringLiteral("disable");
    const QString target = domainFor(item.scope) + QLatin1Char('/') + item.label;
    if (item.scope == StartupItem::Scope::userAgent) {
        const ShellRunner::Output output = ShellRunner::run(tools_.launchctl, {verb, target}, launchctlLimit);
        if (output.status != 0) {
            throw ShellRunner::RunError::launchFailed(output.standardError);
        }
        return;
    }
    // The label is written as one shell word, so that it names exactly that
    // label whatever characters it holds.
    ShellRunner::runPrivileged(ShellQuoting::word(tools_.launchctl) + QLatin1Char(' ') + verb + QLatin1Char(' ')
                                   + ShellQuoting::word(target),
                               tools_);
}

void LoginItemsService::switchAutostart(bool enabled, const StartupItem& item) const
{
    const QString name = FS::lastPathComponent(item.url);
    const QString userPath = locations_.userAutostart + QLatin1Char('/') + name;
    const bool shared = item.scope == StartupItem::Scope::globalAgent;
    // A link at the user's path is no copy: it is replaced by one, never written through.
    const bool hasUserCopy = isOwnEntry(locations_.userAutostart, name);
    const QByteArray base = contents(hasUserCopy ? userPath : item.url);
    const QByteArray updated = DesktopEntry::switched(base, enabled);
    if (enabled && shared) {
        // Back to the system's entry when the copy says nothing else and the
        // entry starts on its own.
        const QByteArray original = contents(item.url);
        const std::optional<DesktopEntry> entry = DesktopEntry::fromBytes(original);
        if (entry && entry->value(QStringLiteral("Hidden")) != QLatin1String("true")
            && entry->value(QStringLiteral("X-GNOME-Autostart-enabled")) != QLatin1String("false")
            && updated == DesktopEntry::switched(original, true)) {
            QFile copy(userPath);
            if (hasUserCopy && !copy.remove()) {
                throw ShellRunner::RunError::commandFailed(userPath + QStringLiteral(": ") + copy.errorString());
            }
            return;
        }
    }
    write(locations_.userAutostart, name, updated);
}

} // namespace harborlite
