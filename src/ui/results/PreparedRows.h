#pragma once

#include "engine/models/ScanItem.h"
#include "paint/Palette.h"
#include "ui/results/ItemRowPainter.h"

#include <QCache>
#include <QHashFunctions>
#include <QIcon>
#include <QRect>
#include <QSize>

class QPainter;

namespace harborlite {

// Item rows as last measured, kept by what they show and their size: a scroll
// step or a click repaints every row in view, and placing a row's parts and
// cutting its texts to fit cost more than drawing them.
class PreparedRows {
public:
    // Draws the row in `area` as ItemRowPainter::paint does.
    void paint(QPainter& painter, const QRect& area, const ScanItem& item, const QIcon& icon, bool hovering,
               bool focused, Appearance appearance);

    // Forgets every row (the fonts changed).
    void clear() { rows_.clear(); }

private:
    struct Key {
        QUuid id;
        // The texts, the size and the review mark, as one value.
        size_t content = 0;
        QSize size;

        bool operator==(const Key&) const = default;

        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.id, key.content, key.size.width(), key.size.height());
        }
    };

    // Many screens of rows; each is a few short strings.
    static constexpr qsizetype kMostRows = 2000;
    QCache<Key, ItemRowPainter::Prepared> rows_{kMostRows};
};

} // namespace harborlite
