#pragma once

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace harborlite {

// One installer receipt with the topmost locations its package placed.
struct PackageReceipt {
    QString packageID;
    QString version;
    std::optional<QDateTime> installedAt;
    // Shortest path first.
    QStringList paths;

    QString id() const { return packageID; }
    bool operator==(const PackageReceipt&) const = default;

    // "Installed <relative time> by <id>", or "Installed by <id>" without a date.
    QString installedDescription() const;
};

} // namespace harborlite
