#pragma once

#include "engine/models/ScanItem.h"

#include <QList>

namespace harborlite {

// A titled list of items inside one category result.
struct ScanGroup {
    enum class SelectionState { none, partial, all };

    QUuid id = QUuid::createUuid();
    QString title;
    QString subtitle;
    QString symbol;
    bool isOptIn = false;
    QList<ScanItem> items;
    bool isExpanded = false;

    bool operator==(const ScanGroup&) const = default;

    qint64 selectedSize() const;
    int selectedCount() const;
    SelectionState selectionState() const;
};

} // namespace harborlite
