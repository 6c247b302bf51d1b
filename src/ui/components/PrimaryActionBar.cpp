#include "ui/components/PrimaryActionBar.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace harborlite {

PrimaryActionBar::ButtonState PrimaryActionBar::buttonState(bool isEnabled, bool isBusy)
{
    return {isEnabled && !isBusy, isBusy};
}

PrimaryActionBar::PrimaryActionBar(const QString& title, const QString& detail, const QString& buttonTitle,
                                   bool isEnabled, bool isBusy, const AdaptiveColor& tint, std::function<void()> action,
                                   QWidget* parent)
    : QWidget(parent)
    , title_(new RoleLabel(title, Palette::ink(), TypeStyle::font(15, QFont::DemiBold)))
    , detail_(new RoleLabel(detail, Palette::inkSecondary(), TypeStyle::font(11.5, QFont::Normal)))
    , button_(new GlassCompatButton(buttonTitle, true, tint))
    , action_(std::move(action))
{
    button_->setMinimumLabelWidth(kMinimumLabelWidth);
    connect(button_, &QAbstractButton::clicked, this, [this] {
        if (action_) {
            action_();
        }
    });
    setButtonState(isEnabled, isBusy);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(shadowRoom()
                            + QMargins(kHorizontalPadding, kVerticalPadding, kHorizontalPadding, kVerticalPadding));
    row->setSpacing(kSpacing);
    // The detail wraps rather than being cut when the bar is narrow; the
    // texts take the room the button leaves.
    detail_->setWordWrap(true);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(title_);
    texts->addWidget(detail_);
    row->addLayout(texts, 1);
    row->addSpacerItem(new QSpacerItem(kMinimumGap, 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
    row->addWidget(button_, 0, Qt::AlignVCenter);
}

void PrimaryActionBar::setTitle(const QString& title)
{
    title_->setText(title);
}

void PrimaryActionBar::setDetail(const QString& detail)
{
    detail_->setText(detail);
}

void PrimaryActionBar::setButtonState(bool isEnabled, bool isBusy)
{
    const ButtonState state = buttonState(isEnabled, isBusy);
    button_->setEnabled(state.isClickable);
    button_->setShowsSpinner(state.showsSpinner);
}

QMargins PrimaryActionBar::shadowRoom() const
{
    if (shadowOutside_) {
        return {};
    }
    const QMarginsF shadow = shadow_.margins();
    return {static_cast<int>(std::ceil(shadow.left())), static_cast<int>(std::ceil(shadow.top())),
            static_cast<int>(std::ceil(shadow.right())), static_cast<int>(std::ceil(shadow.bottom()))};
}

QRectF PrimaryActionBar::surfaceRect() const
{
    return QRectF(rect().marginsRemoved(shadowRoom()));
}

void PrimaryActionBar::setShadowDrawnOutside(bool outside)
{
    if (outside == shadowOutside_) {
        return;
    }
    shadowOutside_ = outside;
    layout()->setContentsMargins(
        shadowRoom() + QMargins(kHorizontalPadding, kVerticalPadding, kHorizontalPadding, kVerticalPadding));
    updateGeometry();
    update();
}

void PrimaryActionBar::paintShadow(QPainter& painter, const QRectF& surface)
{
    shadow_.paint(painter, surface, kCornerRadius, Palette::accentDeep().resolve(Palette::appearance(this)));
}

void PrimaryActionBar::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    const QRectF surface = surfaceRect();
    if (!shadowOutside_) {
        paintShadow(painter, surface);
    } else {
        // Floating over the content, which no blur can hide here: the
        // canvas under the glass keeps the texts legible over what scrolls by.
        SurfaceCache::fill(painter, surface, kCornerRadius,
                           Shapes::faded(Palette::canvas().resolve(appearance), kFloatingBackdropOpacity));
    }
    GlassSurface::paint(painter, surface, kCornerRadius, appearance);
}

} // namespace harborlite
