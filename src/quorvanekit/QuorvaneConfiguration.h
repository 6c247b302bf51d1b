#pragma once

#include <QString>
#include <QUrl>

namespace harborlite {

// Where the update feed of one application lives, fixed at build time.
struct QuorvaneConfiguration {
    // The slug is stored lower-cased.
    QuorvaneConfiguration(const QString& appSlug, QUrl siteURL);

    QString appSlug;
    QUrl siteURL;

    bool operator==(const QuorvaneConfiguration&) const = default;

    // The update server named by the build (HARBORLITE_UPDATE_SITE).
    static const QUrl& defaultSiteURL();

    // This application's configuration: slug "harborlite" on the default site.
    static const QuorvaneConfiguration& harborlite();

    // The site with "api", "v1", "apps", the slug and "latest.json" appended as
    // path components, after any path the site has of its own.
    QUrl updateFeedURL() const;
};

} // namespace harborlite
