#include "ui/diskmap/DiskRowDelegate.h"

#include "paint/Palette.h"
#include "ui/diskmap/DiskColumnsPresentation.h"
#include "ui/diskmap/DiskEntryModel.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

QFont sizeFont(QFont::Weight weight)
{
    return TypeStyle::font(DiskRowDelegate::kSizeTextPixels, weight);
}

QFont nameFont()
{
    return TypeStyle::font(DiskRowDelegate::kNameTextPixels, QFont::Normal);
}

} // namespace

DiskRowDelegate::DiskRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , regularSize_(sizeFont(QFont::Normal))
    , semiboldSize_(sizeFont(QFont::DemiBold))
    , name_(nameFont())
{
}

int DiskRowDelegate::rowHeight()
{
    static const int height = [] {
        const int text = std::max({QFontMetrics(sizeFont(QFont::DemiBold)).height(), QFontMetrics(nameFont()).height(),
                                   static_cast<int>(std::ceil(kIconSide))});
        return 2 * kVerticalPadding + text + kRowGap;
    }();
    return height;
}

QSize DiskRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {option.rect.width(), rowHeight()};
}

void DiskRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* entries = qobject_cast<const DiskEntryModel*>(index.model());
    const DiskNode* node = entries != nullptr ? entries->node(index.row()) : nullptr;
    if (node == nullptr) {
        return;
    }
    const Appearance appearance = Palette::appearance(option.widget);
    const DiskColumnsPresentation::RowLook look = DiskColumnsPresentation::rowLook(
        node->size, entries->total(), entries->isSelected(index.row()), option.state.testFlag(QStyle::State_MouseOver));
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
    const QRect row = option.rect.adjusted(0, 0, 0, -kRowGap);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (look.backgroundOpacity) {
        painter->fillPath(Shapes::roundedRect(QRectF(row), kCornerRadius),
                          Shapes::faded(Palette::mint().resolve(appearance), *look.backgroundOpacity));
    }

    const QRect inner = row.adjusted(kSidePadding, kVerticalPadding, -kSidePadding, -kVerticalPadding);
    const QRect sizeBox(inner.left(), inner.top(), kSizeWidth, inner.height());
    painter->setFont(look.sizeSemibold ? semiboldSize_ : regularSize_);
    painter->setPen(Palette::color(look.sizeRole).resolve(appearance));
    painter->drawText(sizeBox, Qt::AlignRight | Qt::AlignVCenter, look.sizeText);

    const qreal middle = inner.top() + inner.height() / 2.0;
    const qreal iconLeft = sizeBox.right() + 1 + kSpacing;
    painter->drawPixmap(QPointF(iconLeft, middle - kIconSide / 2),
                        symbol(node->isDirectory ? QStringLiteral("folder.fill") : QStringLiteral("doc"), kIconSide,
                               Palette::color(look.iconRole).resolve(appearance), ratio));

    int nameRight = inner.right() + 1;
    if (node->isDirectory) {
        const QColor chevron = Shapes::faded(Palette::color(look.chevronRole).resolve(appearance), look.chevronOpacity);
        const qreal chevronLeft = inner.right() + 1 - kChevronSide;
        painter->drawPixmap(QPointF(chevronLeft, middle - kChevronSide / 2),
                            symbol(QStringLiteral("chevron.right"), kChevronSide, chevron, ratio));
        nameRight = static_cast<int>(std::floor(chevronLeft)) - kMinimumGap;
    } else {
        nameRight -= kMinimumGap;
    }
    const int nameLeft = static_cast<int>(std::ceil(iconLeft + kIconSide)) + kSpacing;
    const QRect nameBox(nameLeft, inner.top(), std::max(0, nameRight - nameLeft), inner.height());
    painter->setFont(name_);
    painter->setPen(Palette::ink().resolve(appearance));
    const QString name = index.data(Qt::DisplayRole).toString();
    painter->drawText(nameBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      QFontMetrics(name_).elidedText(name, Qt::ElideMiddle, nameBox.width()));
    painter->restore();
}

bool DiskRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    QToolTip::showText(event->globalPos(),
                       DiskColumnsPresentation::toolTipMarkup(index.data(Qt::ToolTipRole).toString()), view,
                       option.rect);
    return true;
}

const QPixmap& DiskRowDelegate::symbol(const QString& name, qreal side, const QColor& color,
                                       qreal devicePixelRatio) const
{
    const int pixels = std::max(1, static_cast<int>(std::ceil(side * devicePixelRatio)));
    const PictureKey key{PictureLook::of(u"symbol", name, color), QSize(pixels, pixels), devicePixelRatio};
    auto found = symbols_.find(key);
    if (found == symbols_.end()) {
        found = symbols_.insert(key, Symbols::pixmap(name, side, color, devicePixelRatio));
    }
    return *found;
}

} // namespace harborlite
