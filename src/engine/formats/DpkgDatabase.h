#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace harborlite {

// The Debian package database, read as files: the "status" file and the
// file lists "info/<package>.list" (or "<package>:<architecture>.list").
// Nothing is trusted: files over the size limits are not read, lines that are
// not "Field: value" are skipped, text that is not UTF-8 is read with
// replacement characters, and a missing or malformed field is simply absent.
class DpkgDatabase {
public:
    static constexpr qint64 maxStatusBytes = 256LL * 1024 * 1024;
    static constexpr qint64 maxListBytes = 64LL * 1024 * 1024;

    struct Package {
        QString name;
        QString architecture;
        std::optional<QString> version;
        // Installed-Size in bytes (the field counts KiB); 0 when missing or not a number.
        qint64 installedSize = 0;
        // The third word of "Status" is "installed".
        bool isInstalled = false;
    };

    // A file a package's list names, with its owner.
    struct OwnedFile {
        QString path;
        QString package;
        // Empty when the list's name carries none.
        QString architecture;
    };

    // `folder` holds "status" and "info"; the machine's is /var/lib/dpkg.
    explicit DpkgDatabase(QString folder = QStringLiteral("/var/lib/dpkg"));

    static QList<Package> parseStatus(const QByteArray& bytes);

    // The packages of the status file; empty when it cannot be read.
    QList<Package> packages() const;

    // Every listed path below `folder` (absolute, as the lists write it) that
    // ends in `suffix`, in byte order of the list files, then list order.
    QList<OwnedFile> ownedFiles(const QString& folder, const QString& suffix) const;

private:
    QString folder_;
};

} // namespace harborlite
