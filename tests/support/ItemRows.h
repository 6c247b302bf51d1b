#pragma once

#include "engine/models/ScanGroup.h"

#include <QList>
#include <QString>

#include <functional>
#include <ostream>

namespace harborlite::test {

// An item as the scanner tests compare it: its name, its origin ("-" when it
// has none) and its size.
struct ItemRow {
    QString name;
    QString origin;
    qint64 size;
    bool operator==(const ItemRow&) const = default;
};

// The same with the item's detail ("-" when it has none).
struct DetailedItemRow {
    QString name;
    QString origin;
    qint64 size;
    QString detail;
    bool operator==(const DetailedItemRow&) const = default;
};

void PrintTo(const ItemRow& row, std::ostream* os);
void PrintTo(const DetailedItemRow& row, std::ostream* os);

// The group's items as rows, in order; `check` is run on every item first.
using ItemCheck = std::function<void(const ScanItem&)>;
QList<ItemRow> itemRows(const ScanGroup& group, const ItemCheck& check = {});
QList<DetailedItemRow> detailedItemRows(const ScanGroup& group, const ItemCheck& check = {});

} // namespace harborlite::test
