#include "ui/shell/BannerView.h"

#include "paint/Palette.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace harborlite {

namespace {

constexpr int kPaddingX = 14;
constexpr int kPaddingY = 11;
constexpr int kRowSpacing = 11;
constexpr qreal kIconSide = 16;
constexpr qreal kShadowRadius = 20;
constexpr qreal kShadowOpacity = 0.18;
constexpr qreal kUnderlayOpacity = 0.75;

QMargins wholeMargins(const QMarginsF& margins)
{
    return {static_cast<int>(std::ceil(margins.left())), static_cast<int>(std::ceil(margins.top())),
            static_cast<int>(std::ceil(margins.right())), static_cast<int>(std::ceil(margins.bottom()))};
}

} // namespace

BannerView::Wait BannerView::sixSeconds()
{
    return [](QObject* context, std::function<void()> elapsed) {
        QTimer::singleShot(kLifetimeMilliseconds, context, std::move(elapsed));
    };
}

BannerView::Look BannerView::look(bool isError)
{
    if (isError) {
        return {QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::danger};
    }
    return {QStringLiteral("checkmark.circle.fill"), PaletteRole::accent};
}

BannerView::BannerView(const AppModel::Banner& banner, std::function<void()> dismiss, Wait wait, QWidget* parent)
    : QWidget(parent)
    , banner_(banner)
    , dismiss_(std::move(dismiss))
    , wait_(std::move(wait))
    , shadow_(kShadowRadius, kShadowOpacity)
{
    setObjectName(QStringLiteral("banner"));
    const QMargins room = wholeMargins(shadow_.margins());
    setContentsMargins(room + QMargins(kPaddingX, kPaddingY, kPaddingX, kPaddingY));

    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(0, 0, 0, 0);
    row_->setSpacing(kRowSpacing);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    title_ = new RoleLabel(banner_.title, Palette::ink(), TypeStyle::font(12.5, QFont::DemiBold), this);
    title_->setObjectName(QStringLiteral("bannerTitle"));
    message_ = new RoleLabel(banner_.message, Palette::inkSecondary(), TypeStyle::font(11, QFont::Normal), this);
    message_->setObjectName(QStringLiteral("bannerMessage"));
    message_->setWordWrap(true);
    texts->addWidget(title_);
    texts->addWidget(message_);

    close_ = new PlainSymbolButton(QStringLiteral("xmark"), 10, Palette::inkTertiary(), this);
    close_->setObjectName(QStringLiteral("bannerClose"));
    close_->setAccessibleName(tr("Close"));
    connect(close_, &QAbstractButton::clicked, this, [this] { fire(); });

    row_->addLayout(texts, 1);
    row_->addWidget(close_, 0, Qt::AlignVCenter);
    rebuildIcon();
}

BannerView::~BannerView()
{
    // The wait ends with the view; the dismissal it owed still happens.
    fire();
}

void BannerView::setBanner(const AppModel::Banner& banner)
{
    const bool lookChanged = banner.isError != banner_.isError;
    banner_ = banner;
    title_->setText(banner_.title);
    message_->setText(banner_.message);
    if (lookChanged) {
        rebuildIcon();
    }
    update();
}

void BannerView::rebuildIcon()
{
    delete icon_;
    const Look chosen = look(banner_.isError);
    icon_ = new SymbolView(chosen.symbol, kIconSide, Palette::color(chosen.tint), 1, this);
    icon_->setObjectName(QStringLiteral("bannerIcon"));
    row_->insertWidget(0, icon_, 0, Qt::AlignVCenter);
}

void BannerView::fire()
{
    if (dismissed_) {
        return;
    }
    dismissed_ = true;
    if (dismiss_) {
        dismiss_();
    }
}

void BannerView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (waitStarted_ || !wait_) {
        return;
    }
    waitStarted_ = true;
    QPointer<BannerView> self(this);
    wait_(this, [self] {
        if (self) {
            self->fire();
        }
    });
}

int BannerView::surfaceTop() const
{
    return wholeMargins(shadow_.margins()).top();
}

QSize BannerView::preferredSize() const
{
    const QMargins margins = contentsMargins();
    const QMargins room = wholeMargins(shadow_.margins());
    const int textWidth = std::max(title_->fontMetrics().horizontalAdvance(banner_.title),
                                   message_->fontMetrics().horizontalAdvance(banner_.message));
    const int content =
        static_cast<int>(kIconSide) + kRowSpacing + textWidth + 1 + kRowSpacing + close_->sizeHint().width();
    const int limit = static_cast<int>(kMaximumWidth) + room.left() + room.right();
    const int width = std::min(limit, content + margins.left() + margins.right());
    return {width, layout()->totalHeightForWidth(width)};
}

void BannerView::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF surface = QRectF(rect()) - QMarginsF(wholeMargins(shadow_.margins()));
    shadow_.paint(painter, surface, kCornerRadius, Palette::accentDeep().resolve(appearance));
    // Widgets cannot blur what lies below; the banner floats over text, so a
    // veil of the canvas keeps that text from showing through its own.
    painter.fillPath(Shapes::roundedRect(surface, kCornerRadius),
                     Shapes::faded(Palette::canvas().resolve(appearance), kUnderlayOpacity));
    GlassSurface::paint(painter, surface, kCornerRadius, appearance,
                        Palette::color(look(banner_.isError).tint).resolve(appearance));
}

} // namespace harborlite
