#include "ui/results/PreparedRows.h"

#include <memory>

namespace harborlite {

void PreparedRows::paint(QPainter& painter, const QRect& area, const ScanItem& item, const QIcon& icon, bool hovering,
                         bool focused, Appearance appearance)
{
    const Key key{
        .id = item.id,
        .content = qHashMulti(0, item.displayName, item.origin.value_or(QString()), item.origin.has_value(),
                              item.detail.value_or(QString()), item.detail.has_value(), item.size, item.requiresReview),
        .size = area.size(),
    };
    const ItemRowPainter::Prepared* prepared = rows_.object(key);
    if (prepared == nullptr) {
        auto made = std::make_unique<ItemRowPainter::Prepared>(ItemRowPainter::prepare(area.size(), item));
        prepared = made.get();
        rows_.insert(key, made.release());
    }
    ItemRowPainter::paint(painter, area, *prepared, item, icon, hovering, focused, appearance);
}

} // namespace harborlite
