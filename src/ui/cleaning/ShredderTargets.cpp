#include "ui/cleaning/ShredderTargets.h"

#include "shared/FileSystem.h"

#include <limits>

namespace harborlite {

QString ShredderTargets::normalized(const QString& path)
{
    QString result;
    result.reserve(path.size());
    for (const QChar c : path) {
        if (c == QLatin1Char('/') && result.endsWith(QLatin1Char('/'))) {
            continue;
        }
        result.append(c);
    }
    return FS::path(result);
}

QStringList ShredderTargets::add(const QStringList& paths)
{
    QStringList toMeasure;
    for (const QString& given : paths) {
        const QString path = normalized(given);
        if (!path.startsWith(QLatin1Char('/'))) {
            continue;
        }
        const bool known =
            std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.path == path; });
        if (known) {
            continue;
        }
        entries_.append({path, std::nullopt});
        toMeasure << path;
    }
    return toMeasure;
}

void ShredderTargets::measured(const QString& path, const std::optional<Measurement>& measurement)
{
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        Entry& entry = entries_[i];
        if (entry.path != path || entry.item) {
            continue;
        }
        if (!measurement) {
            entries_.removeAt(i);
            return;
        }
        ScanItem item;
        item.url = path;
        item.displayName = FS::lastPathComponent(path);
        item.origin = FS::abbreviatingHome(FS::parentPath(path));
        item.size = measurement->size;
        item.modified = measurement->modified;
        item.requiresReview = false;
        item.isSelected = true;
        entry.item = std::move(item);
        return;
    }
}

QList<ScanItem> ShredderTargets::listed() const
{
    QList<ScanItem> items;
    for (const Entry& entry : entries_) {
        if (entry.item) {
            items.append(*entry.item);
        }
    }
    return items;
}

qsizetype ShredderTargets::pendingCount() const
{
    return std::count_if(entries_.begin(), entries_.end(), [](const Entry& entry) { return !entry.item; });
}

qint64 ShredderTargets::totalSize() const
{
    qint64 total = 0;
    for (const Entry& entry : entries_) {
        if (entry.item) {
            const qint64 size = entry.item->size;
            total = size > 0 && total > std::numeric_limits<qint64>::max() - size ? std::numeric_limits<qint64>::max()
                                                                                  : total + size;
        }
    }
    return total;
}

void ShredderTargets::remove(const QUuid& id)
{
    entries_.removeIf([&](const Entry& entry) { return entry.item && entry.item->id == id; });
}

void ShredderTargets::removeAll(const QSet<QUuid>& ids)
{
    entries_.removeIf([&](const Entry& entry) { return entry.item && ids.contains(entry.item->id); });
}

} // namespace harborlite
