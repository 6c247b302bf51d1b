#include "quorvanekit/QuorvaneConfiguration.h"

#include <utility>

namespace harborlite {

QuorvaneConfiguration::QuorvaneConfiguration(const QString& slug, QUrl site)
    : appSlug(slug.toLower())
    , siteURL(std::move(site))
{
}

const QUrl& QuorvaneConfiguration::defaultSiteURL()
{
    static const QUrl site(QStringLiteral(HARBORLITE_UPDATE_SITE));
    return site;
}

const QuorvaneConfiguration& QuorvaneConfiguration::harborlite()
{
    static const QuorvaneConfiguration configuration(QStringLiteral("harborlite"), defaultSiteURL());
    return configuration;
}

QUrl QuorvaneConfiguration::updateFeedURL() const
{
    QString path = siteURL.path(QUrl::FullyDecoded);
    for (const QString& component : {QStringLiteral("api"), QStringLiteral("v1"), QStringLiteral("apps"), appSlug,
                                     QStringLiteral("latest.json")}) {
        if (!path.endsWith(u'/')) {
            path += u'/';
        }
        path += component;
    }
    QUrl feed = siteURL;
    feed.setPath(path, QUrl::DecodedMode);
    return feed;
}

} // namespace harborlite
