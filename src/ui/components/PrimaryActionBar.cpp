#include "ui/components/PrimaryActionBar.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/GlassSurface.h"
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
                                   bool isEnabled, bool isBusy, const AdaptiveColor& tint,
                                   std::function<void()> action, QWidget* parent)
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

    const QMarginsF shadow = shadow_.margins();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(static_cast<int>(std::ceil(shadow.left())) + kHorizontalPadding,
                            static_cast<int>(std::ceil(shadow.top())) + kVerticalPadding,
                            static_cast<int>(std::ceil(shadow.right())) + kHorizontalPadding,
                            static_cast<int>(std::ceil(shadow.bottom())) + kVerticalPadding);
    row->setSpacing(kSpacing);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(title_);
    texts->addWidget(detail_);
    row->addLayout(texts);
    row->addSpacerItem(new QSpacerItem(kMinimumGap, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
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

QRectF PrimaryActionBar::surfaceRect() const
{
    const QMarginsF shadow = shadow_.margins();
    return QRectF(rect()).marginsRemoved(QMarginsF(std::ceil(shadow.left()), std::ceil(shadow.top()),
                                                   std::ceil(shadow.right()), std::ceil(shadow.bottom())));
}

void PrimaryActionBar::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    const QRectF surface = surfaceRect();
    shadow_.paint(painter, surface, kCornerRadius, Palette::accentDeep().resolve(appearance));
    GlassSurface::paint(painter, surface, kCornerRadius, appearance);
}

} // namespace harborlite
