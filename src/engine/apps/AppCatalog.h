#pragma once

#include "engine/apps/LinuxApplications.h"
#include "engine/models/InstalledApp.h"
#include "platform/SystemRoots.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>

namespace harborlite {

// The applications installed in the standard application folders, and after
// them the Linux forms (LinuxApplications). Every call reads the disk afresh;
// nothing is cached and nothing fails.
class AppCatalog {
public:
    struct Identity {
        QSet<QString> identifiers;
        QSet<QString> names;
    };

    // The roots default to the machine's application folders and the user's
    // own "Applications" folder, and the machine's Linux forms are listed;
    // `sharedLibrary` is the machine-wide Library. Given roots list bundles
    // only, unless Linux forms are given too.
    AppCatalog() = default;
    AppCatalog(QStringList candidateRoots, QString sharedLibrary,
               std::optional<LinuxApplications> linuxApplications = std::nullopt);

    // The candidate roots that exist, in search order.
    QStringList searchRoots() const;

    // Bundles directly inside each root, then the Linux forms, the first of
    // each identifier winning, sorted by name (natural, case-insensitive, stable).
    QList<InstalledApp> installedApps(bool includeSizes, const std::function<bool()>& isCancelled = {}) const;

    // Identifiers as written (plus "com.apple") and lower-case names of what is installed.
    Identity installedIdentity() const;

    // The existing support locations of one application the safety guard lets
    // go, in a fixed order.
    QStringList supportPaths(const QString& bundleID, const QString& appName) const;

    // What the application leaves behind: a bundle's support locations, the
    // exact leftovers of a Linux form.
    QStringList leftoverPaths(const InstalledApp& app) const;

    const std::optional<LinuxApplications>& linuxApplications() const { return linux_; }

private:
    // Unset: the machine's folders, with the home folder read at call time.
    std::optional<QStringList> candidateRoots_;
    QString sharedLibrary_ = roots::sharedLibrary;
    std::optional<LinuxApplications> linux_ = LinuxApplications();
};

} // namespace harborlite
