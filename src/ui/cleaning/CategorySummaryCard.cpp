#include "ui/cleaning/CategorySummaryCard.h"

#include "paint/Palette.h"
#include "shared/Formatting.h"
#include "ui/components/InnerCard.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/ReviewText.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

constexpr qreal kSymbolPixels = 15;
constexpr qreal kSpinnerSide = 16;
constexpr qreal kSpinnerLine = 2;

} // namespace

CategorySummaryCard::CategorySummaryCard(ScanCategory category, const std::optional<CategoryResult>& result,
                                         bool isRunning, std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , category_(category)
    , look_(look(category, result, isRunning))
    , action_(std::move(action))
    , titleFont_(TypeStyle::font(13, QFont::DemiBold))
    , statusFont_(TypeStyle::font(11, QFont::Normal))
    , sizeFont_(TypeStyle::font(12.5, QFont::Bold))
    , spinner_(new ProgressRing(0, kSpinnerLine, true, this))
{
    setObjectName(QStringLiteral("summaryCard_") + rawValue(category));
    setAccessibleName(look_.title);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    spinner_->setObjectName(QStringLiteral("cardSpinner"));
    spinner_->setFixedSize(int(kSpinnerSide), int(kSpinnerSide));
    spinner_->setVisible(look_.trailing == SummaryCardLook::Trailing::spinner);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (action_) {
            action_();
        }
    });
}

SummaryCardLook CategorySummaryCard::look(ScanCategory category, const std::optional<CategoryResult>& result,
                                          bool isRunning)
{
    SummaryCardLook shown;
    shown.title = title(category);
    shown.symbol = symbol(category);
    const int itemCount = result ? result->itemCount() : 0;
    shown.statusTint = category == ScanCategory::malware && itemCount > 0 ? PaletteRole::danger : PaletteRole::accent;

    if (isRunning) {
        shown.statusText = tr("Scanning\u2026");
        shown.trailing = SummaryCardLook::Trailing::spinner;
    } else if (!result) {
        shown.statusText = blurb(category);
    } else if (itemCount > 0) {
        shown.statusText = ReviewText::itemsFound(itemCount);
        shown.trailing = SummaryCardLook::Trailing::size;
        shown.sizeText = Format::byteText(result->totalSize());
    } else {
        shown.statusText = category == ScanCategory::malware ? tr("No threats found") : tr("Nothing to clean");
        shown.trailing = SummaryCardLook::Trailing::checkmark;
    }
    return shown;
}

void CategorySummaryCard::setState(const std::optional<CategoryResult>& result, bool isRunning)
{
    SummaryCardLook next = look(category_, result, isRunning);
    if (next == look_) {
        return;
    }
    look_ = std::move(next);
    spinner_->setVisible(look_.trailing == SummaryCardLook::Trailing::spinner);
    placeSpinner();
    // The trailing element's width decides whether the title wraps.
    updateGeometry();
    update();
}

QSize CategorySummaryCard::sizeHint() const
{
    const qreal texts = QFontMetricsF(titleFont_).height() + kTextSpacing + QFontMetricsF(statusFont_).height();
    const int height = int(std::ceil(std::max(kIconSide, texts))) + 2 * kPadding;
    return {250, height};
}

int CategorySummaryCard::titleLines(int width) const
{
    const qreal textWidth = textRect(width).width();
    const QRectF wrapped =
        QFontMetricsF(titleFont_)
            .boundingRect(QRectF(0, 0, std::max<qreal>(1, textWidth), 1e6), Qt::TextWordWrap, look_.title);
    return std::max(1, static_cast<int>(std::lround(wrapped.height() / QFontMetricsF(titleFont_).lineSpacing())));
}

int CategorySummaryCard::heightForWidth(int width) const
{
    const QFontMetricsF title(titleFont_);
    const qreal titleHeight = title.height() + (titleLines(width) - 1) * title.lineSpacing();
    const qreal texts = titleHeight + kTextSpacing + QFontMetricsF(statusFont_).height();
    return int(std::ceil(std::max(kIconSide, texts))) + 2 * kPadding;
}

QRectF CategorySummaryCard::textRect(qreal width) const
{
    const qreal trailing = trailingWidth();
    const qreal textLeft = kPadding + kIconSide + kSpacing;
    const qreal textRight = width - kPadding - (trailing > 0 ? trailing + kSpacing : 0);
    return {textLeft, 0, std::max<qreal>(0, textRight - textLeft), 0};
}

QSize CategorySummaryCard::minimumSizeHint() const
{
    return {int(kIconSide) + 2 * kPadding, sizeHint().height()};
}

qreal CategorySummaryCard::trailingWidth() const
{
    switch (look_.trailing) {
    case SummaryCardLook::Trailing::nothing:
        return 0;
    case SummaryCardLook::Trailing::spinner:
        return kSpinnerSide;
    case SummaryCardLook::Trailing::checkmark:
        return kSymbolPixels + 2;
    case SummaryCardLook::Trailing::size:
        return QFontMetricsF(sizeFont_).horizontalAdvance(look_.sizeText);
    }
    return 0;
}

void CategorySummaryCard::placeSpinner()
{
    spinner_->move(width() - kPadding - int(kSpinnerSide), (height() - int(kSpinnerSide)) / 2);
}

void CategorySummaryCard::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    placeSpinner();
}

void CategorySummaryCard::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    isHovering_ = true;
    update();
}

void CategorySummaryCard::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    isHovering_ = false;
    update();
}

void CategorySummaryCard::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF bounds = rect();
    InnerCard::paintFill(painter, bounds, kCornerRadius, isHovering_, appearance);

    const QColor tint = Palette::color(look_.statusTint).resolve(appearance);
    const qreal middle = bounds.height() / 2;
    const QRectF circle(kPadding, middle - kIconSide / 2, kIconSide, kIconSide);
    SurfaceCache::disc(painter, circle, Shapes::faded(tint, kIconFillOpacity));
    const qreal symbolSide = kSymbolPixels + 2;
    Symbols::paint(
        painter,
        QRectF(circle.center().x() - symbolSide / 2, circle.center().y() - symbolSide / 2, symbolSide, symbolSide),
        look_.symbol, tint);

    const qreal trailing = trailingWidth();
    const QRectF textArea = textRect(bounds.width());
    const qreal textLeft = textArea.left();
    const qreal textWidth = textArea.width();
    const QFontMetricsF titleMetrics(titleFont_);
    const QFontMetricsF statusMetrics(statusFont_);
    const qreal titleHeight = titleMetrics.height() + (titleLines(width()) - 1) * titleMetrics.lineSpacing();
    const qreal textsHeight = titleHeight + kTextSpacing + statusMetrics.height();
    const qreal top = middle - textsHeight / 2;

    painter.setFont(titleFont_);
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(QRectF(textLeft, top, textWidth, titleHeight), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                     look_.title);
    painter.setFont(statusFont_);
    painter.setPen(Palette::inkSecondary().resolve(appearance));
    painter.drawText(QRectF(textLeft, top + titleHeight + kTextSpacing, textWidth, statusMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     statusMetrics.elidedText(look_.statusText, Qt::ElideRight, textWidth));

    const QRectF trailingRect(bounds.width() - kPadding - trailing, 0, trailing, bounds.height());
    if (look_.trailing == SummaryCardLook::Trailing::checkmark) {
        Symbols::paint(painter, QRectF(trailingRect.left(), middle - symbolSide / 2, symbolSide, symbolSide),
                       QStringLiteral("checkmark.circle.fill"), Palette::accent().resolve(appearance));
    } else if (look_.trailing == SummaryCardLook::Trailing::size) {
        painter.setFont(sizeFont_);
        painter.setPen(Palette::accentDeep().resolve(appearance));
        painter.drawText(trailingRect, Qt::AlignRight | Qt::AlignVCenter, look_.sizeText);
    }

    InnerCard::paintBorder(painter, bounds, kCornerRadius, isHovering_, appearance);
}

} // namespace harborlite
