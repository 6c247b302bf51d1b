#pragma once

#include "engine/models/CategoryResult.h"

#include <QDateTime>

namespace harborlite::test {

// Small builders for the results the list tests show.
inline ScanItem sampleItem(const QString& name, qint64 size, bool selected = true)
{
    ScanItem item;
    item.url = QStringLiteral("/fixture/") + name;
    item.displayName = name;
    item.size = size;
    item.isSelected = selected;
    return item;
}

inline ScanGroup sampleGroup(const QString& title, QList<ScanItem> items, bool expanded = false, bool optIn = false)
{
    ScanGroup group;
    group.title = title;
    group.subtitle = title + QStringLiteral(" subtitle");
    group.symbol = QStringLiteral("folder.fill");
    group.items = std::move(items);
    group.isExpanded = expanded;
    group.isOptIn = optIn;
    return group;
}

// `count` items named "<prefix> <i>" of `size` bytes each, the first `selected` of them selected.
inline QList<ScanItem> sampleItems(const QString& prefix, int count, qint64 size, int selected)
{
    QList<ScanItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        items.append(sampleItem(prefix + QLatin1Char(' ') + QString::number(i), size, i < selected));
    }
    return items;
}

inline CategoryResult sampleResult(ScanCategory category, QList<ScanGroup> groups)
{
    return {category, std::move(groups), QDateTime::currentDateTimeUtc()};
}

} // namespace harborlite::test
