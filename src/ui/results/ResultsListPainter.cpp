#include "ui/results/ResultsListPainter.h"

#include "ui/components/InnerCard.h"
#include "ui/paintcache/PictureKey.h"
#include "ui/paintcache/ProbeAndBand.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/results/ItemRowPainter.h"
#include "ui/results/ResultsList.h"
#include "ui/results/RowPainting.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/LayerStack.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QCursor>
#include <QHelpEvent>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

using Kind = ResultsModel::Kind;

constexpr int kGroupSpacing = 10;
constexpr int kGroupSymbolWidth = 17;
constexpr qreal kGroupSymbolSide = 13;
constexpr int kGroupSizeWidth = 68;
constexpr int kChevronSide = 10;
constexpr int kChevronTarget = 18;
constexpr int kCountPaddingX = 6;
constexpr int kCountPaddingY = 2;
constexpr qreal kCountFillOpacity = 0.7;
constexpr int kMinimumSpacer = 8;
constexpr qreal kShadowRadius = 16;
constexpr qreal kShadowOpacity = 0.08;
// A card's shadow is drawn from one drawing of this many rows: its upper half
// over the card's top, its lower half over the card's bottom, and its middle
// row between them.
constexpr int kShadowProbeRows = 128;

// The card's rows from its top (and up from its bottom) that its shadow's
// ends cover; the shadow's rows between are all alike.
int shadowSplit(const QRect& card)
{
    return std::min(card.height(), kShadowProbeRows) / 2;
}
// Small targets take a few pixels more than they draw.
constexpr int kTargetSlack = 3;

QFont groupTitleFont()
{
    return TypeStyle::font(12.5, QFont::DemiBold);
}

QFont countFont()
{
    return TypeStyle::font(10.5, QFont::DemiBold);
}

QFont groupSizeFont()
{
    return TypeStyle::font(12, QFont::Bold);
}

QFont sectionTextFont()
{
    return TypeStyle::font(12, QFont::Normal);
}

int textWidth(const QFont& font, const QString& text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

// Group titles have no line limit: they wrap between words, and inside a word
// longer than the line.
QTextOption titleOption()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

int wrappedTitleHeight(const QString& title, int width)
{
    const QFont font = groupTitleFont();
    QTextLayout layout(title, font);
    layout.setTextOption(titleOption());
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        ++lines;
    }
    layout.endLayout();
    return std::max(1, lines) * QFontMetrics(font).height();
}

// Where the parts of a group header lie inside its content rectangle.
struct GroupParts {
    QRect box;
    QRect symbol;
    QRect title;
    QRect subtitle;
    QRect pill;
    QRect count;
    QRect size;
    QRect chevron;
};

// `titleHeight` is the title's height at the width it gets (one line unless measured).
GroupParts groupParts(const QRect& content, const ResultsPresentation::GroupHeader& header, bool hasSubtitle,
                      int titleHeight)
{
    GroupParts made;
    const int middle = content.center().y();
    const auto centred = [&](int x, int width, int height) {
        return QRect(x, middle - (height - 1) / 2, width, height);
    };
    made.box = centred(content.left(), ItemRowPainter::kBoxSide, ItemRowPainter::kBoxSide);
    made.symbol = centred(made.box.right() + 1 + kGroupSpacing, kGroupSymbolWidth, kGroupSymbolWidth);
    made.chevron = centred(content.right() + 1 - kChevronTarget, kChevronTarget, kChevronTarget);
    const int sizeWidth = std::max(kGroupSizeWidth, textWidth(groupSizeFont(), header.size));
    made.size = QRect(made.chevron.left() - kGroupSpacing - sizeWidth, content.top(), sizeWidth, content.height());
    const QFontMetrics countMetrics(countFont());
    const int countWidth = textWidth(countFont(), header.count) + 2 * kCountPaddingX;
    made.count =
        centred(made.size.left() - kGroupSpacing - countWidth, countWidth, countMetrics.height() + 2 * kCountPaddingY);
    int trailing = made.count.left();
    if (header.showsReview) {
        const QSizeF pill = RowPainting::pillSize(ResultsPresentation::reviewPillText(), true);
        const int width = static_cast<int>(std::ceil(pill.width()));
        made.pill = centred(trailing - kGroupSpacing - width, width, static_cast<int>(std::ceil(pill.height())));
        trailing = made.pill.left();
    }
    const int left = made.symbol.right() + 1 + kGroupSpacing;
    const int right = trailing - kGroupSpacing - kMinimumSpacer - kGroupSpacing;
    const int width = std::max(0, right - left);
    const int subtitleHeight = hasSubtitle ? QFontMetrics(TypeStyle::rowDetail()).height() : 0;
    const int top = middle - (titleHeight + (hasSubtitle ? 1 + subtitleHeight : 0)) / 2;
    made.title = QRect(left, top, width, titleHeight);
    if (hasSubtitle) {
        made.subtitle = QRect(left, top + titleHeight + 1, width, subtitleHeight);
    }
    return made;
}

QRect showMoreButton(const QRect& content, const QString& title)
{
    const QSizeF size = RowPainting::buttonSize(title);
    const int width = static_cast<int>(std::ceil(size.width()));
    const int height = static_cast<int>(std::ceil(size.height()));
    return QRect(content.center().x() - width / 2, content.top(), width, height);
}

// A group's header row: box, symbol, title (and subtitle), "Review" pill, count, size and chevron.
void paintGroup(QPainter& painter, const QRect& area, const ScanGroup& group,
                const ResultsPresentation::GroupHeader& header, int titleHeight, Appearance appearance, bool focused)
{
    const GroupParts parts = groupParts(area, header, !group.subtitle.isEmpty(), titleHeight);
    RowPainting::paintBox(painter, parts.box, header.state, appearance, focused);
    const QRectF symbol(parts.symbol.center().x() + 1 - kGroupSymbolSide / 2,
                        parts.symbol.center().y() + 1 - kGroupSymbolSide / 2, kGroupSymbolSide, kGroupSymbolSide);
    Symbols::paint(painter, symbol, group.symbol, Palette::accentDeep().resolve(appearance));

    painter.setFont(groupTitleFont());
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(QRectF(parts.title), group.title, titleOption());
    if (!parts.subtitle.isEmpty()) {
        painter.setFont(TypeStyle::rowDetail());
        painter.setPen(Palette::inkTertiary().resolve(appearance));
        painter.drawText(parts.subtitle, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(group.subtitle, Qt::ElideRight, parts.subtitle.width()));
    }
    if (header.showsReview) {
        RowPainting::paintPill(painter, parts.pill, ResultsPresentation::reviewPillText(),
                               Palette::warning().resolve(appearance), QStringLiteral("hand.raised.fill"));
    }
    painter.fillPath(Shapes::capsule(parts.count),
                     Shapes::faded(Palette::hairline().resolve(appearance), kCountFillOpacity));
    painter.setFont(countFont());
    painter.setPen(Palette::inkTertiary().resolve(appearance));
    painter.drawText(parts.count, Qt::AlignCenter, header.count);

    painter.setFont(groupSizeFont());
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(parts.size, Qt::AlignRight | Qt::AlignVCenter, header.size);

    const QPointF centre = QRectF(parts.chevron).center();
    painter.save();
    painter.translate(centre);
    painter.rotate(group.isExpanded ? 90 : 0);
    Symbols::paint(painter, QRectF(-kChevronSide / 2.0, -kChevronSide / 2.0, kChevronSide, kChevronSide),
                   QStringLiteral("chevron.right"), Palette::inkSecondary().resolve(appearance));
    painter.restore();
}

} // namespace

ResultsListPainter::ResultsListPainter(ResultsList& list, const ResultsModel& rows, int headerHeight,
                                       std::function<QIcon(const QString&)> iconForFile)
    : QStyledItemDelegate(&list)
    , list_(list)
    , rows_(rows)
    , headerHeight_(headerHeight)
    , iconForFile_(std::move(iconForFile))
    , shadow_(std::make_unique<SoftShadow>(kShadowRadius, kShadowOpacity))
{
}

ResultsListPainter::~ResultsListPainter() = default;

QRect ResultsListPainter::content(const ResultsModel::Row& row, const QRect& rect) const
{
    const auto [left, right] = ResultsModel::contentSpan(row.kind, rect.width());
    const int top = rect.top() + ResultsModel::contentTop(row);
    int height = 0;
    switch (row.kind) {
    case Kind::sectionHeader:
        height = headerHeight_;
        break;
    case Kind::item:
        height = ItemRowPainter::height(rows_.item(row) ? *rows_.item(row) : ScanItem{});
        break;
    case Kind::groupHeader:
    case Kind::sectionText:
    case Kind::showMore: {
        const int bottomSpace = (row.lastInSection ? ResultsModel::kCardPadding : 0)
            + (row.lastInGroup ? ResultsModel::kGroupPadding : 0)
            + (row.kind == Kind::sectionText && row.padded ? ResultsModel::kTextPadding : 0);
        height = rect.bottom() + 1 - bottomSpace - top;
        break;
    }
    }
    return QRect(rect.left() + left, top, right - left, height);
}

QRect ResultsListPainter::targetRect(const ResultsModel::Row& row, const QRect& rect, RowTarget target) const
{
    const QRect area = content(row, rect);
    switch (row.kind) {
    case Kind::groupHeader: {
        const ScanGroup* group = rows_.group(row);
        if (!group) {
            return {};
        }
        const GroupParts parts =
            groupParts(area, rows_.header(*group), !group->subtitle.isEmpty(), rows_.titleHeight(group->id));
        switch (target) {
        case RowTarget::box:
            return parts.box.adjusted(-kTargetSlack, -kTargetSlack, kTargetSlack, kTargetSlack);
        case RowTarget::chevron:
            return parts.chevron;
        case RowTarget::header:
            return area.adjusted(-ResultsModel::kGroupPadding, -ResultsModel::kGroupPadding,
                                 ResultsModel::kGroupPadding, row.lastInGroup ? ResultsModel::kGroupPadding : 0);
        default:
            return {};
        }
    }
    case Kind::item: {
        const ScanItem* item = rows_.item(row);
        if (!item) {
            return {};
        }
        const ItemRowPainter::Layout parts = ItemRowPainter::layout(area, *item);
        switch (target) {
        case RowTarget::box:
            return parts.box.adjusted(-kTargetSlack, -kTargetSlack, kTargetSlack, kTargetSlack);
        case RowTarget::reveal:
            return parts.reveal.adjusted(-4, -4, 4, 4);
        case RowTarget::warning:
            return parts.warning;
        default:
            return {};
        }
    }
    case Kind::showMore:
        if (target == RowTarget::showMore) {
            if (const auto paging = rows_.paging(row)) {
                return showMoreButton(area, paging->title);
            }
        }
        return {};
    case Kind::sectionHeader:
    case Kind::sectionText:
        break;
    }
    return {};
}

QRect ResultsListPainter::iconRect(const ResultsModel::Row& row, const QRect& rect) const
{
    const ScanItem* item = row.kind == Kind::item ? rows_.item(row) : nullptr;
    return item ? ItemRowPainter::layout(content(row, rect), *item).icon : QRect();
}

int ResultsListPainter::measuredTitleHeight(const ResultsModel::Row& row, const QRect& rect) const
{
    const ScanGroup* group = rows_.group(row);
    if (!group) {
        return rows_.titleHeight(row.key);
    }
    const GroupParts parts =
        groupParts(content(row, rect), rows_.header(*group), !group->subtitle.isEmpty(), rows_.titleHeight(group->id));
    return wrappedTitleHeight(group->title, parts.title.width());
}

void ResultsListPainter::beginPart(const QRect& part, Appearance appearance)
{
    part_ = part;
    appearance_ = appearance;
}

void ResultsListPainter::endPart()
{
    part_ = {};
    appearance_.reset();
}

QSize ResultsListPainter::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int width = list_.viewport()->width();
    return {width, rows_.rowHeight(index.row(), width, headerHeight_)};
}

void ResultsListPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const ResultsModel::Row& row = rows_.row(index.row());
    const Appearance appearance = appearance_ ? *appearance_ : Palette::appearance(&list_);
    const QRect area = content(row, option.rect);
    const bool focused = list_.hasFocus() && list_.currentIndex() == index;
    const bool hovered = option.state.testFlag(QStyle::State_MouseOver);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (!part_.isNull()) {
        painter->setClipRect(part_, Qt::IntersectClip);
    }
    switch (row.kind) {
    case Kind::sectionHeader:
        break;
    case Kind::sectionText:
        painter->setFont(sectionTextFont());
        painter->setPen(Palette::inkTertiary().resolve(appearance));
        painter->drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, rows_.text(row));
        break;
    case Kind::groupHeader:
        if (const ScanGroup* group = rows_.group(row)) {
            // A title measured taller than its row was laid out for
            // stays inside the row until the rows are laid out again.
            painter->setClipRect(option.rect, Qt::IntersectClip);
            paintGroup(*painter, area, *group, rows_.header(*group), rows_.titleHeight(group->id), appearance, focused);
        }
        break;
    case Kind::item:
        if (const ScanItem* item = rows_.item(row)) {
            const QIcon icon = iconForFile_ ? iconForFile_(item->url) : QIcon();
            preparedRows_.paint(*painter, area, *item, icon, hovered, focused, appearance);
        }
        break;
    case Kind::showMore:
        if (const auto paging = rows_.paging(row)) {
            const QRect button = showMoreButton(area, paging->title);
            const bool overButton = hovered && button.contains(list_.viewport()->mapFromGlobal(QCursor::pos()));
            RowPainting::paintPlainButton(*painter, button, paging->title, appearance, overButton, focused);
        }
        break;
    }
    painter->restore();
}

bool ResultsListPainter::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    const QString tip = list_.toolTipAt(event->pos());
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(event->globalPos(), tip, view);
    return true;
}

QMargins ResultsListPainter::shadowReach() const
{
    return (shadow_->margins() + QMarginsF(1, 1, 1, 1)).toMargins();
}

void ResultsListPainter::paintCardShadow(QPainter& painter, const QRect& card, const QColor& color)
{
    // The probe is drawn at the painter's ratio, so a high-DPI screen gets
    // its pixels one to one instead of a picture of ratio 1 scaled up. Its
    // upper half goes over the card's top, its lower half over the card's
    // bottom, and its middle row between them.
    const qreal plain = SurfaceCache::plainRatio(painter);
    const qreal ratio = plain > 0 ? plain : 1;
    const QMargins margins = shadowReach();
    const QSize probe(card.width() + margins.left() + margins.right(),
                      kShadowProbeRows + margins.top() + margins.bottom());
    const auto rows = [ratio](int logical) { return int(std::ceil(logical * ratio)); };
    const int split = shadowSplit(card);
    const PictureKey key{PictureLook::of(u"card-shadow", shadow_->radius(), shadow_->opacity(), color, card.width()),
                         QSize(rows(probe.width()), rows(probe.height())), ratio};
    ProbeAndBand::draw(
        painter, QRectF(card.marginsAdded(margins)),
        {key, rows(margins.top() + split), rows(probe.height()) - rows(margins.top() + kShadowProbeRows - split)},
        [&](QPainter& onto) {
            shadow_->paint(onto, QRectF(margins.left(), margins.top(), card.width(), kShadowProbeRows),
                           ResultsModel::kCardRadius, color);
        });
}

void ResultsListPainter::paintCards(QPainter& painter, const Cards& cards, const QRect& area)
{
    const Appearance appearance = appearance_ ? *appearance_ : Palette::appearance(&list_);
    const QColor shadowColor = Palette::accentDeep().resolve(appearance);
    const QString glassLook = GlassSurface::look(appearance);
    const QString innerLook = InnerCard::surfaceLook(false, appearance);
    // Shadow, glass and a group's inner card lie over one another down most
    // of the list: laid as one stack, their rows between the corners blend once.
    LayerStack stack;
    const QMargins reach = shadowReach();
    for (const QRect& card : cards.sections) {
        const int split = shadowSplit(card);
        stack.add(
            card.top() - reach.top(), card.bottom() + reach.bottom(), card.top() + split, card.bottom() - split,
            [this, card, shadowColor](QPainter& onto) { paintCardShadow(onto, card, shadowColor); },
            PictureLook::of(u"card-shadow", card.left(), card.width(), shadowColor));
        stack.addRoundedRect(
            card, ResultsModel::kCardRadius,
            [card, appearance](QPainter& onto) {
                GlassSurface::paint(onto, QRectF(card), ResultsModel::kCardRadius, appearance);
            },
            PictureLook::of(u"card", glassLook, card.left(), card.width()));
    }
    for (const QRect& card : cards.groups) {
        stack.addRoundedRect(
            card, ResultsModel::kGroupRadius,
            [card, appearance](QPainter& onto) {
                InnerCard::paintFill(onto, card, ResultsModel::kGroupRadius, false, appearance);
                InnerCard::paintBorder(onto, card, ResultsModel::kGroupRadius, false, appearance);
            },
            PictureLook::of(u"card", innerLook, card.left(), card.width()));
    }
    stack.paint(painter, area);
}

} // namespace harborlite
