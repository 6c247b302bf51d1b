#include "support/ItemRows.h"

namespace harborlite::test {

void PrintTo(const ItemRow& row, std::ostream* os)
{
    *os << row.name.toStdString() << " (" << row.origin.toStdString() << ", " << row.size << ")";
}

void PrintTo(const DetailedItemRow& row, std::ostream* os)
{
    *os << row.name.toStdString() << " (" << row.origin.toStdString() << ", " << row.size << ", "
        << row.detail.toStdString() << ")";
}

QList<ItemRow> itemRows(const ScanGroup& group, const ItemCheck& check)
{
    QList<ItemRow> result;
    for (const ScanItem& item : group.items) {
        if (check) {
            check(item);
        }
        result.append({item.displayName, item.origin.value_or("-"), item.size});
    }
    return result;
}

QList<DetailedItemRow> detailedItemRows(const ScanGroup& group, const ItemCheck& check)
{
    QList<DetailedItemRow> result;
    for (const ScanItem& item : group.items) {
        if (check) {
            check(item);
        }
        result.append({item.displayName, item.origin.value_or("-"), item.size, item.detail.value_or("-")});
    }
    return result;
}

} // namespace harborlite::test
