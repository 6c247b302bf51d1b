#include "engine/formats/DpkgDatabase.h"

#include "engine/EngineLog.h"
#include "engine/formats/NoFollow.h"
#include "shared/FileSystem.h"

#include <limits>

namespace harborlite {

namespace {

qint64 installedBytes(const QByteArray& value)
{
    bool ok = false;
    const qint64 kibibytes = value.trimmed().toLongLong(&ok);
    if (!ok || kibibytes < 0 || kibibytes > std::numeric_limits<qint64>::max() / 1024) {
        return 0;
    }
    return kibibytes * 1024;
}

void finish(QList<DpkgDatabase::Package>& packages, DpkgDatabase::Package& current)
{
    if (!current.name.isEmpty()) {
        packages.append(std::move(current));
    }
    current = DpkgDatabase::Package();
}

} // namespace

DpkgDatabase::DpkgDatabase(QString folder)
    : folder_(FS::path(folder))
{
}

QList<DpkgDatabase::Package> DpkgDatabase::parseStatus(const QByteArray& bytes)
{
    QList<Package> packages;
    Package current;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.trimmed().isEmpty()) {
            finish(packages, current);
            continue;
        }
        // A continuation line of a long field (descriptions, conffiles).
        if (line.startsWith(' ') || line.startsWith('\t')) {
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) {
            continue;
        }
        const QByteArray field = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (field == "package") {
            // A second "Package" without a blank line between starts a new record.
            if (!current.name.isEmpty()) {
                finish(packages, current);
            }
            current.name = QString::fromUtf8(value);
        } else if (field == "architecture") {
            current.architecture = QString::fromUtf8(value);
        } else if (field == "version" && !value.isEmpty()) {
            current.version = QString::fromUtf8(value);
        } else if (field == "installed-size") {
            current.installedSize = installedBytes(value);
        } else if (field == "status") {
            const QList<QByteArray> words = value.simplified().split(' ');
            current.isInstalled = words.size() == 3 && words.at(2) == "installed";
        }
    }
    finish(packages, current);
    return packages;
}

QList<DpkgDatabase::Package> DpkgDatabase::packages() const
{
    const QString status = FS::join(folder_, QStringLiteral("status"));
    const NoFollow::FileBytes file = NoFollow::readFile(status, maxStatusBytes);
    if (file.status != NoFollow::FileBytes::Status::read) {
        if (file.status != NoFollow::FileBytes::Status::unreadable || FS::exists(status)) {
            qCWarning(engineLog) << "Package status file not read:" << status;
        }
        return {};
    }
    return parseStatus(file.bytes);
}

QList<DpkgDatabase::OwnedFile> DpkgDatabase::ownedFiles(const QString& folder, const QString& suffix) const
{
    const QByteArray prefix = FS::path(folder).toUtf8() + '/';
    const QByteArray ending = suffix.toUtf8();
    QList<OwnedFile> owned;
    for (const QString& list : FS::children(FS::join(folder_, QStringLiteral("info")), {.includingHidden = false})) {
        const QString fileName = FS::lastPathComponent(list);
        if (!fileName.endsWith(QLatin1String(".list"))) {
            continue;
        }
        const QString stem = fileName.chopped(5);
        const QString package = stem.section(QLatin1Char(':'), 0, 0);
        const QString architecture = stem.contains(QLatin1Char(':')) ? stem.section(QLatin1Char(':'), 1) : QString();
        if (package.isEmpty()) {
            continue;
        }
        const NoFollow::FileBytes file = NoFollow::readFile(list, maxListBytes);
        if (file.status != NoFollow::FileBytes::Status::read) {
            qCWarning(engineLog) << "Package file list not read:" << list;
            continue;
        }
        // Most lists name nothing in the folder: look before splitting.
        if (!file.bytes.contains(prefix)) {
            continue;
        }
        for (const QByteArray& raw : file.bytes.split('\n')) {
            const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
            if (!line.startsWith(prefix) || !line.endsWith(ending) || line.size() <= prefix.size() + ending.size()) {
                continue;
            }
            const QString path = QString::fromUtf8(line);
            // A name that is not valid text names no file we could open.
            if (path.toUtf8() == line) {
                owned.append({path, package, architecture});
            }
        }
    }
    return owned;
}

} // namespace harborlite
