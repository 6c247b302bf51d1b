#include "engine/formats/Metainfo.h"

#include <QDateTime>
#include <QXmlStreamReader>

#include <optional>

namespace harborlite::Metainfo {

namespace {

struct Release {
    QString version;
    std::optional<qint64> time;
};

std::optional<qint64> releaseTime(const QXmlStreamAttributes& attributes)
{
    bool ok = false;
    const qint64 timestamp = attributes.value(QLatin1String("timestamp")).toLongLong(&ok);
    if (ok) {
        return timestamp;
    }
    const QString date = attributes.value(QLatin1String("date")).toString();
    const QDateTime parsed = QDateTime::fromString(date.left(10), Qt::ISODate);
    if (parsed.isValid()) {
        return parsed.toSecsSinceEpoch();
    }
    return std::nullopt;
}

bool isPlainVersion(const QString& version)
{
    if (version.isEmpty() || version.size() > maxVersionLength) {
        return false;
    }
    for (const QChar c : version) {
        if (!c.isPrint() || c.isSpace()) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<QString> newestReleaseVersion(const QByteArray& xml)
{
    if (xml.size() > maxFileBytes) {
        return std::nullopt;
    }
    QXmlStreamReader reader(xml);
    QList<Release> releases;
    int releasesDepth = -1;
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++depth;
            if (reader.name() == QLatin1String("releases") && releasesDepth < 0 && depth == 2) {
                releasesDepth = depth;
            } else if (reader.name() == QLatin1String("release") && releasesDepth > 0 && depth == releasesDepth + 1) {
                releases.append(
                    {reader.attributes().value(QLatin1String("version")).toString(), releaseTime(reader.attributes())});
            }
        } else if (reader.isEndElement()) {
            if (depth == releasesDepth) {
                releasesDepth = 0;
            }
            --depth;
        }
    }
    if (reader.hasError() || releases.isEmpty()) {
        return std::nullopt;
    }
    const Release* newest = &releases.first();
    for (const Release& release : releases) {
        if (release.time && (!newest->time || *release.time > *newest->time)) {
            newest = &release;
        }
    }
    if (!isPlainVersion(newest->version)) {
        return std::nullopt;
    }
    return newest->version;
}

} // namespace harborlite::Metainfo
