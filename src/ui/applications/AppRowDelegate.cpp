#include "ui/applications/AppRowDelegate.h"

#include "ui/applications/AppIconCache.h"
#include "ui/applications/AppListModel.h"
#include "ui/applications/ApplicationsPresentation.h"
#include "ui/components/InnerCard.h"
#include "ui/theme/TypeStyle.h"

#include <QPainter>

namespace harborlite {

AppRowDelegate::AppRowDelegate(AppIconCache& icons, QObject* parent)
    : QStyledItemDelegate(parent)
    , icons_(icons)
{
}

QSize AppRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {option.rect.width(), kRowHeight};
}

void AppRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant value = index.data(AppListModel::AppRole);
    if (!value.isValid()) {
        return;
    }
    const InstalledApp app = value.value<InstalledApp>();
    const bool highlighted =
        index.data(AppListModel::IsSelectedRole).toBool() || option.state.testFlag(QStyle::State_MouseOver);
    const Appearance appearance = Palette::appearance(option.widget);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(option.rect).adjusted(0, kRowGap / 2.0, 0, -kRowGap / 2.0);
    InnerCard::paintFill(*painter, card, kCornerRadius, highlighted, appearance);
    InnerCard::paintBorder(*painter, card, kCornerRadius, highlighted, appearance);

    const qreal ratio = option.widget ? option.widget->devicePixelRatioF() : 1.0;
    const QRectF iconRect(card.left() + kHorizontalPadding, card.center().y() - kIconSide / 2.0, kIconSide, kIconSide);
    const QPixmap icon = icons_.icon(app, kIconSide, ratio);
    if (!icon.isNull()) {
        painter->drawPixmap(iconRect.toRect(), icon);
    }

    const QFont sizeFont = TypeStyle::font(11, QFont::DemiBold);
    const QString size = ApplicationsPresentation::rowSize(app.size);
    const qreal sizeWidth = QFontMetricsF(sizeFont).horizontalAdvance(size);
    const qreal right = card.right() - kHorizontalPadding;
    painter->setFont(sizeFont);
    painter->setPen(Palette::inkSecondary().resolve(appearance));
    painter->drawText(QRectF(right - sizeWidth, card.top(), sizeWidth, card.height()),
                      Qt::AlignRight | Qt::AlignVCenter, size);

    const qreal textLeft = iconRect.right() + kSpacing;
    const qreal textWidth = std::max<qreal>(0, right - sizeWidth - 6 - textLeft);
    const QFont nameFont = TypeStyle::font(12.5, QFont::Medium);
    const QFont versionFont = TypeStyle::font(10, QFont::Normal);
    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF versionMetrics(versionFont);
    const qreal top = card.center().y() - (nameMetrics.height() + versionMetrics.height()) / 2;
    painter->setFont(nameFont);
    painter->setPen(Palette::ink().resolve(appearance));
    painter->drawText(QRectF(textLeft, top, textWidth, nameMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                      nameMetrics.elidedText(app.name, Qt::ElideRight, textWidth));
    painter->setFont(versionFont);
    painter->setPen(Palette::inkTertiary().resolve(appearance));
    painter->drawText(QRectF(textLeft, top + nameMetrics.height(), textWidth, versionMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      versionMetrics.elidedText(app.version, Qt::ElideRight, textWidth));
    painter->restore();
}

} // namespace harborlite
