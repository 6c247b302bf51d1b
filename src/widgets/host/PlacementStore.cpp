#include "widgets/host/PlacementStore.h"

#include "platform/XdgConfigHome.h"
#include "shared/DamagedJsonFile.h"
#include "widgets/kit/WidgetsLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <set>

namespace harborlite {

namespace {

const QString kPlacementsKey = QStringLiteral("placements");
const QString kIdKey = QStringLiteral("id");
const QString kKindKey = QStringLiteral("kind");
const QString kFamilyKey = QStringLiteral("family");
const QString kXKey = QStringLiteral("x");
const QString kYKey = QStringLiteral("y");
// Larger files are not placement lists.
constexpr qint64 kLargestFile = 1 << 20;

std::optional<int> coordinate(const QJsonValue& value)
{
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    constexpr double limit = 1 << 20;
    if (!std::isfinite(number) || std::abs(number) > limit) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(number));
}

} // namespace

PlacementStore::PlacementStore(QString filePath)
    : filePath_(std::move(filePath))
{
}

QString PlacementStore::standardFilePath()
{
    return platform::xdgConfigHome().get() + QStringLiteral("/harborlite-widget-host/placements.json");
}

PlacementStore::Loaded PlacementStore::load(const Offers& offers) const
{
    Loaded loaded;
    QFile file(filePath_);
    if (!file.exists()) {
        return loaded;
    }
    loaded.existed = true;
    if (!QFileInfo(filePath_).isFile() || !file.open(QIODevice::ReadOnly)) {
        qCWarning(widgetsLog) << "cannot read the widget placements" << filePath_ << "; starting with none";
        loaded.repaired = true;
        return loaded;
    }
    const QByteArray bytes = file.size() > kLargestFile ? QByteArray() : file.read(kLargestFile);
    file.close();
    QJsonDocument document = QJsonDocument::fromJson(bytes);
    loaded.repaired = !document.isObject() || !document.object().value(kPlacementsKey).isArray();
    if (loaded.repaired) {
        document = DamagedJsonFile::readable(bytes);
    }
    std::set<QUuid> seen;
    int dropped = 0;
    for (const QJsonValue& value : document.object().value(kPlacementsKey).toArray()) {
        const QJsonObject object = value.toObject();
        const QUuid id = QUuid::fromString(object.value(kIdKey).toString());
        const QString kind = object.value(kKindKey).toString();
        const std::optional<WidgetFamily> family = widgetFamilyFromRawValue(object.value(kFamilyKey).toString());
        if (!value.isObject() || id.isNull() || seen.count(id) != 0 || !family || !offers(kind, *family)) {
            ++dropped;
            continue;
        }
        seen.insert(id);
        WidgetPlacement placement{id, kind, *family, std::nullopt};
        const std::optional<int> x = coordinate(object.value(kXKey));
        const std::optional<int> y = coordinate(object.value(kYKey));
        if (x && y) {
            placement.position = QPoint(*x, *y);
        } else if (object.contains(kXKey) || object.contains(kYKey)) {
            ++dropped;
        }
        loaded.placements.push_back(placement);
    }
    loaded.repaired = loaded.repaired || dropped > 0;
    if (loaded.repaired) {
        // The file as it was stays beside the repaired one.
        const QString kept = DamagedJsonFile::keepAside(filePath_);
        save(loaded.placements);
        qCWarning(widgetsLog).noquote() << "The widget placements" << filePath_
                                        << "were damaged or named widgets the plug-in cannot show:"
                                        << loaded.placements.size() << "kept," << dropped
                                        << "entries or positions dropped;"
                                        << (kept.isEmpty() ? QStringLiteral("the file could not be kept aside.")
                                                           : QStringLiteral("the file as it was is kept as ") + kept
                                                    + QLatin1Char('.'));
    }
    return loaded;
}

bool PlacementStore::save(const std::vector<WidgetPlacement>& placements) const
{
    QJsonArray list;
    for (const WidgetPlacement& placement : placements) {
        QJsonObject object{
            {kIdKey, placement.id.toString(QUuid::WithoutBraces)},
            {kKindKey, placement.kind},
            {kFamilyKey, rawValue(placement.family)},
        };
        if (placement.position) {
            object.insert(kXKey, placement.position->x());
            object.insert(kYKey, placement.position->y());
        }
        list.append(object);
    }
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!QDir().mkpath(folder)) {
        qCWarning(widgetsLog) << "cannot create the folder for the widget placements" << folder;
        return false;
    }
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(QJsonObject{{kPlacementsKey, list}}).toJson()) < 0
        || !file.commit()) {
        qCWarning(widgetsLog) << "cannot write the widget placements" << filePath_ << ":" << file.errorString();
        return false;
    }
    return true;
}

} // namespace harborlite
