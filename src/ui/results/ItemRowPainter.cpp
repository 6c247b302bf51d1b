#include "ui/results/ItemRowPainter.h"

#include "shared/Formatting.h"
#include "ui/results/RowPainting.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite::ItemRowPainter {

namespace {

QFont nameFont()
{
    return TypeStyle::rowTitle();
}

QFont detailFont()
{
    return TypeStyle::rowDetail();
}

QFont sizeFont()
{
    return TypeStyle::font(11.5, QFont::Medium);
}

int lineHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}

// A detail never takes more than this share of the row, so the name keeps room.
constexpr qreal kDetailShare = 0.35;

} // namespace

QString warningToolTip()
{
    return QCoreApplication::translate("ItemRowPainter", "Check this one before removing it.");
}

QString revealToolTip()
{
    return QCoreApplication::translate("ItemRowPainter", "Reveal in Finder");
}

QString sizeText(const ScanItem& item)
{
    return Format::byteText(item.size);
}

int height(const ScanItem& item)
{
    const int texts = lineHeight(nameFont()) + (item.origin ? lineHeight(detailFont()) : 0);
    return 2 * kVerticalPadding + std::max(kBoxSide, texts);
}

Layout layout(const QRect& rect, const ScanItem& item)
{
    Layout made;
    const QRect inner = rect.adjusted(kHorizontalPadding, kVerticalPadding, -kHorizontalPadding, -kVerticalPadding);
    const int middle = inner.center().y();
    const auto centred = [&](int x, int width, int height) {
        return QRect(x, middle - (height - 1) / 2, width, height);
    };

    made.box = centred(inner.left(), kBoxSide, kBoxSide);
    made.icon = centred(made.box.right() + 1 + kSpacing, kIconSide, kIconSide);

    made.reveal = centred(inner.right() + 1 - kRevealSide, kRevealSide, kRevealSide);
    const int sizeWidth =
        std::max(kSizeWidth, static_cast<int>(std::ceil(QFontMetricsF(sizeFont()).horizontalAdvance(sizeText(item)))));
    made.size = QRect(made.reveal.left() - kSpacing - sizeWidth, inner.top(), sizeWidth, inner.height());
    int trailing = made.size.left();
    if (item.detail) {
        const int wanted = static_cast<int>(std::ceil(QFontMetricsF(detailFont()).horizontalAdvance(*item.detail)));
        const int width = std::min(wanted, static_cast<int>(inner.width() * kDetailShare));
        made.detail = QRect(trailing - kSpacing - width, inner.top(), width, inner.height());
        trailing = made.detail.left();
    }
    if (item.requiresReview) {
        made.warning = centred(trailing - kSpacing - kWarningSide, kWarningSide, kWarningSide);
        trailing = made.warning.left();
    }

    const int textLeft = made.icon.right() + 1 + kSpacing;
    const int textRight = trailing - kSpacing - kMinimumSpacer - kSpacing;
    const int textWidth = std::max(0, textRight - textLeft);
    const int nameHeight = lineHeight(nameFont());
    if (item.origin) {
        const int originHeight = lineHeight(detailFont());
        const int top = middle - (nameHeight + originHeight) / 2;
        made.name = QRect(textLeft, top, textWidth, nameHeight);
        made.origin = QRect(textLeft, top + nameHeight, textWidth, originHeight);
    } else {
        made.name = centred(textLeft, textWidth, nameHeight);
    }
    return made;
}

QString shownName(const ScanItem& item, int width)
{
    return QFontMetrics(nameFont()).elidedText(item.displayName, Qt::ElideMiddle, width);
}

QString shownOrigin(const ScanItem& item, int width)
{
    return item.origin ? QFontMetrics(detailFont()).elidedText(*item.origin, Qt::ElideMiddle, width) : QString();
}

Prepared prepare(const QSize& size, const ScanItem& item)
{
    Prepared made;
    made.layout = layout(QRect(QPoint(0, 0), size), item);
    constexpr int leading = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::LayoutDirection direction = QGuiApplication::layoutDirection();
    made.name = ShapedText(shownName(item, made.layout.name.width()), nameFont(), leading, direction);
    if (item.origin) {
        made.origin = ShapedText(shownOrigin(item, made.layout.origin.width()), detailFont(), leading, direction);
    }
    if (item.detail) {
        made.detail =
            ShapedText(QFontMetrics(detailFont()).elidedText(*item.detail, Qt::ElideRight, made.layout.detail.width()),
                       detailFont(), leading, direction);
    }
    made.size = ShapedText(sizeText(item), sizeFont(), Qt::AlignRight | Qt::AlignVCenter, direction);
    return made;
}

void paint(QPainter& painter, const QRect& rect, const ScanItem& item, const QIcon& icon, bool hovering, bool focused,
           Appearance appearance)
{
    paint(painter, rect, prepare(rect.size(), item), item, icon, hovering, focused, appearance);
}

void paint(QPainter& painter, const QRect& rect, const Prepared& prepared, const ScanItem& item, const QIcon& icon,
           bool hovering, bool focused, Appearance appearance)
{
    const QPoint at = rect.topLeft();
    const Layout& parts = prepared.layout;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (hovering) {
        painter.fillPath(Shapes::roundedRect(rect, kCornerRadius),
                         Shapes::faded(Palette::mint().resolve(appearance), kHoverOpacity));
    }
    RowPainting::paintBox(painter, parts.box.translated(at),
                          item.isSelected ? ScanGroup::SelectionState::all : ScanGroup::SelectionState::none,
                          appearance, focused);
    icon.paint(&painter, parts.icon.translated(at));

    painter.setPen(Palette::ink().resolve(appearance));
    prepared.name.draw(painter, parts.name.translated(at));
    painter.setPen(Palette::inkTertiary().resolve(appearance));
    if (item.origin) {
        prepared.origin.draw(painter, parts.origin.translated(at));
    }
    if (item.detail) {
        prepared.detail.draw(painter, parts.detail.translated(at));
    }
    if (item.requiresReview) {
        Symbols::paint(painter, parts.warning.translated(at), QStringLiteral("exclamationmark.triangle.fill"),
                       Palette::warning().resolve(appearance));
    }
    painter.setPen(Palette::inkSecondary().resolve(appearance));
    prepared.size.draw(painter, parts.size.translated(at));
    Symbols::paint(painter, parts.reveal.translated(at), QStringLiteral("arrow.up.forward.app"),
                   (hovering ? Palette::accentDeep() : Palette::inkTertiary()).resolve(appearance));
    painter.restore();
}

} // namespace harborlite::ItemRowPainter
