#pragma once

#include "engine/models/PackageReceipt.h"
#include "platform/ToolTable.h"

#include <QList>
#include <QSet>

#include <optional>

// Installer receipts, read through the receipt tool of the tool table. Nothing
// here changes a receipt or a file; every call runs the tool again, and what
// cannot be read is left out. Where the tool is absent there are no receipts.
namespace harborlite::PackageReceipts {

struct ResidueItem {
    QString url;
    PackageReceipt receipt;
};

// Locations shared by other software: never residue, never a package's own.
const QSet<QString>& neverRemove();

// Receipts of every installed package whose identifier does not start with
// "com.apple.", in the tool's order.
QList<PackageReceipt> thirdParty(const platform::ToolTable& tools = {});

// The receipts that installed the application: those listing its bundle, and
// every receipt sharing a vendor prefix with them or with the bundle identifier.
QList<PackageReceipt> receipts(const QString& appPath, const QString& bundleID,
                               const std::optional<QList<PackageReceipt>>& among = std::nullopt,
                               const platform::ToolTable& tools = {});

// Locations the application's receipts placed outside the bundle that no other
// receipt claims, that still exist and that the safety guard lets the user pick.
QList<ResidueItem> residue(const QList<PackageReceipt>& appReceipts, const QString& appPath,
                           const QList<PackageReceipt>& allReceipts);

// The topmost locations of a file list, shortest first (neverRemove and "/" dropped).
QStringList maximalPaths(const QStringList& paths);

// The first two non-empty dot-separated pieces of an identifier.
std::optional<QString> vendorPrefix(const QString& identifier);

} // namespace harborlite::PackageReceipts
