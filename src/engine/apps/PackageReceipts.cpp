#include "engine/apps/PackageReceipts.h"

#include "engine/commands/ShellRunner.h"
#include "engine/safety/SafetyGuard.h"
#include "platform/ToolTable.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace harborlite {

QString PackageReceipt::installedDescription() const
{
    if (installedAt) {
        return QCoreApplication::translate("PackageReceipt", "Installed %1 by %2")
            .arg(Format::relativeDate(*installedAt), packageID);
    }
    return QCoreApplication::translate("PackageReceipt", "Installed by %1").arg(packageID);
}

namespace PackageReceipts {

namespace {

constexpr double kListTimeout = 30;
constexpr double kInfoTimeout = 15;
constexpr double kFilesTimeout = 30;

// The tool's output, or none when it could not run or exited non-zero.
std::optional<QString> pkgutil(const platform::ToolTable& tools, const QStringList& arguments, double timeout)
{
    try {
        const ShellRunner::Output output = ShellRunner::run(tools.pkgutil, arguments, timeout);
        if (output.status != 0) {
            return std::nullopt;
        }
        return output.standardOutput;
    } catch (const ShellRunner::RunError&) {
        return std::nullopt;
    }
}

bool isBlank(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

QString trimmedBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start))) {
        ++start;
    }
    while (end > start && isBlank(text.at(end - 1))) {
        --end;
    }
    return text.mid(start, end - start);
}

// Splits at the first colon that ends a non-empty piece; a leading colon is skipped.
QStringList splitAtFirstColon(const QString& line)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) != QLatin1Char(':')) {
            continue;
        }
        if (i > start) {
            pieces << line.mid(start, i - start);
            start = i + 1;
            break;
        }
        start = i + 1;
    }
    if (start < line.size()) {
        pieces << line.mid(start);
    }
    return pieces;
}

QString appendPath(const QString& base, const QString& relative)
{
    QString tail = relative;
    while (tail.startsWith(QLatin1Char('/'))) {
        tail.remove(0, 1);
    }
    return FS::join(FS::path(base), tail);
}

std::optional<PackageReceipt> receiptFor(const platform::ToolTable& tools, const QString& identifier)
{
    const std::optional<QString> info = pkgutil(tools, {QStringLiteral("--pkg-info"), identifier}, kInfoTimeout);
    if (!info) {
        return std::nullopt;
    }
    PackageReceipt receipt;
    receipt.packageID = identifier;
    QString volume = QStringLiteral("/");
    QString location;
    for (const QString& line : ShellRunner::lines(*info)) {
        const QStringList pieces = splitAtFirstColon(line);
        if (pieces.size() != 2) {
            continue;
        }
        const QString key = trimmedBlanks(pieces.at(0));
        const QString value = trimmedBlanks(pieces.at(1));
        if (key == QLatin1String("version")) {
            receipt.version = value;
        } else if (key == QLatin1String("volume")) {
            volume = value;
        } else if (key == QLatin1String("location")) {
            location = value;
        } else if (key == QLatin1String("install-time")) {
            bool ok = false;
            const double seconds = QLocale::c().toDouble(value, &ok);
            // A time that is not a finite number says nothing about the install.
            receipt.installedAt = ok && std::isfinite(seconds) && std::abs(seconds) < 1e14
                ? std::optional(QDateTime::fromMSecsSinceEpoch(qint64(std::llround(seconds * 1000)), Qt::UTC))
                : std::nullopt;
        }
    }
    const std::optional<QString> files = pkgutil(tools, {QStringLiteral("--files"), identifier}, kFilesTimeout);
    if (!files) {
        return std::nullopt;
    }
    const QString root = appendPath(volume, location);
    QStringList listed;
    for (const QString& line : ShellRunner::lines(*files)) {
        listed << appendPath(root, line);
    }
    receipt.paths = maximalPaths(listed);
    return receipt;
}

bool startsWithBelow(const QString& path, const QString& root)
{
    return path.size() > root.size() && path.startsWith(root) && path.at(root.size()) == QLatin1Char('/');
}

} // namespace

const QSet<QString>& neverRemove()
{
    static const QSet<QString> paths = {
        "/",
        "/Applications",
        "/Library",
        "/usr",
        "/opt",
        "/opt/homebrew",
        "/bin",
        "/sbin",
        "/var",
        "/var/local",
        "/private",
        "/private/var",
        "/private/etc",
        "/etc",
        "/tmp",
        "/private/tmp",
        "/usr/local",
        "/usr/local/bin",
        "/usr/local/sbin",
        "/usr/local/lib",
        "/usr/local/share",
        "/usr/local/include",
        "/usr/local/etc",
        "/usr/local/opt",
        "/usr/local/var",
        "/usr/local/share/doc",
        "/usr/local/share/man",
        "/usr/local/share/info",
        "/usr/local/lib/pkgconfig",
        "/Library/Application Support",
        "/Library/LaunchAgents",
        "/Library/LaunchDaemons",
        "/Library/PrivilegedHelperTools",
        "/Library/Extensions",
        "/Library/Preferences",
        "/Library/Frameworks",
        "/Library/Internet Plug-Ins",
        "/Library/Audio",
        "/Library/Audio/Plug-Ins",
        "/Library/Audio/Plug-Ins/HAL",
        "/Library/Security",
        "/Library/Security/SecurityAgentPlugins",
        "/Library/Fonts",
        "/Library/QuickLook",
        "/Library/Services",
        "/Library/StartupItems",
    };
    return paths;
}

QStringList maximalPaths(const QStringList& paths)
{
    QStringList candidates;
    for (const QString& location : paths) {
        const QString path = FS::path(location);
        if (path.size() >= 2 && !neverRemove().contains(path)) {
            candidates << path;
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const QString& a, const QString& b) { return a.size() < b.size(); });
    QStringList kept;
    for (const QString& path : candidates) {
        const bool inside =
            std::any_of(kept.begin(), kept.end(), [&](const QString& root) { return startsWithBelow(path, root); });
        if (!inside) {
            kept << path;
        }
    }
    return kept;
}

std::optional<QString> vendorPrefix(const QString& identifier)
{
    const QStringList pieces = identifier.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (pieces.size() < 2) {
        return std::nullopt;
    }
    return pieces.at(0) + QLatin1Char('.') + pieces.at(1);
}

QList<PackageReceipt> thirdParty(const platform::ToolTable& tools)
{
    QList<PackageReceipt> result;
    if (!platform::isExecutableFile(tools.pkgutil)) {
        return result;
    }
    const std::optional<QString> list = pkgutil(tools, {QStringLiteral("--pkgs")}, kListTimeout);
    if (!list) {
        return result;
    }
    for (const QString& identifier : ShellRunner::lines(*list)) {
        if (identifier.startsWith(QLatin1String("com.apple."))) {
            continue;
        }
        if (std::optional<PackageReceipt> receipt = receiptFor(tools, identifier)) {
            result << *receipt;
        }
    }
    return result;
}

QList<PackageReceipt> receipts(const QString& appPath, const QString& bundleID,
                               const std::optional<QList<PackageReceipt>>& among, const platform::ToolTable& tools)
{
    const QList<PackageReceipt> list = among ? *among : thirdParty(tools);
    const QString app = FS::path(appPath);
    QList<PackageReceipt> direct;
    QSet<QString> prefixes;
    for (const PackageReceipt& receipt : list) {
        const bool listsApp = std::any_of(receipt.paths.begin(), receipt.paths.end(),
                                          [&](const QString& path) { return FS::path(path) == app; });
        if (listsApp) {
            direct << receipt;
            if (const std::optional<QString> prefix = vendorPrefix(receipt.packageID)) {
                prefixes.insert(*prefix);
            }
        }
    }
    if (const std::optional<QString> prefix = vendorPrefix(bundleID)) {
        prefixes.insert(*prefix);
    }
    if (prefixes.isEmpty()) {
        return direct;
    }
    QList<PackageReceipt> result;
    for (const PackageReceipt& receipt : list) {
        const bool sharesPrefix = std::any_of(prefixes.begin(), prefixes.end(), [&](const QString& prefix) {
            return receipt.packageID.startsWith(prefix + QLatin1Char('.'));
        });
        if (sharesPrefix || direct.contains(receipt)) {
            result << receipt;
        }
    }
    return result;
}

QList<ResidueItem> residue(const QList<PackageReceipt>& appReceipts, const QString& appPath,
                           const QList<PackageReceipt>& allReceipts)
{
    const QString app = FS::path(appPath);
    QSet<QString> own;
    for (const PackageReceipt& receipt : appReceipts) {
        own.insert(receipt.packageID);
    }
    QSet<QString> claimed;
    for (const PackageReceipt& receipt : allReceipts) {
        if (own.contains(receipt.packageID)) {
            continue;
        }
        for (const QString& path : receipt.paths) {
            claimed.insert(FS::path(path));
        }
    }
    QList<ResidueItem> result;
    QSet<QString> seen;
    for (const PackageReceipt& receipt : appReceipts) {
        for (const QString& location : receipt.paths) {
            const QString path = FS::path(location);
            if (FS::isBelow(path, app)) {
                continue;
            }
            if (seen.contains(path)) {
                continue;
            }
            seen.insert(path);
            if (claimed.contains(path)) {
                continue;
            }
            const bool overlapsClaim = std::any_of(claimed.begin(), claimed.end(), [&](const QString& other) {
                return startsWithBelow(path, other) || startsWithBelow(other, path);
            });
            if (overlapsClaim || !FS::exists(path) || !SafetyGuard::verdict(path, true).allowed) {
                continue;
            }
            result << ResidueItem{location, receipt};
        }
    }
    return result;
}

} // namespace PackageReceipts

} // namespace harborlite
