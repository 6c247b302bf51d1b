#include "ui/shell/FullDiskAccessCard.h"

#include "paint/Palette.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace harborlite {

namespace {

constexpr int kPadding = 15;
constexpr qreal kShadowRadius = 16;
constexpr qreal kShadowOpacity = 0.12;

} // namespace

FullDiskAccessCard::FullDiskAccessCard(std::function<void()> recheck, Desktop desktop, QWidget* parent)
    : QWidget(parent)
    , recheck_(std::move(recheck))
    , desktop_(std::move(desktop))
    , shadow_(kShadowRadius, kShadowOpacity)
{
    setObjectName(QStringLiteral("fullDiskAccessCard"));
    setContentsMargins(shadowMargins() + QMargins(kPadding, kPadding, kPadding, kPadding));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(13);
    auto* shield = new SymbolView(QStringLiteral("lock.shield.fill"), 21, Palette::warning(), 1, this);
    row->addWidget(shield, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout;
    column->setSpacing(5);
    title_ = new RoleLabel(tr("Grant Full Disk Access to scan everything"), Palette::ink(),
                           TypeStyle::font(13.5, QFont::DemiBold), this);
    explanation_ = new RoleLabel(tr("macOS hides the Trash, Mail, Safari and app containers from apps without it. "
                                    "Harborlite will keep working, but those areas will look empty."),
                                 Palette::inkSecondary(), TypeStyle::font(11.5, QFont::Normal), this);
    explanation_->setWordWrap(true);
    column->addWidget(title_);
    column->addWidget(explanation_);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 2, 0, 0);
    buttons->setSpacing(8);
    openSettings_ = new GlassCompatButton(tr("Open System Settings"), true, Palette::accent(), this);
    openSettings_->setObjectName(QStringLiteral("openSettingsButton"));
    reveal_ = new GlassCompatButton(tr("Reveal Harborlite"), false, Palette::accent(), this);
    reveal_->setObjectName(QStringLiteral("revealButton"));
    checkAgain_ = new GlassCompatButton(tr("Check Again"), false, Palette::accent(), this);
    checkAgain_->setObjectName(QStringLiteral("checkAgainButton"));
    buttons->addWidget(openSettings_);
    buttons->addWidget(reveal_);
    buttons->addWidget(checkAgain_);
    buttons->addStretch(1);
    column->addLayout(buttons);
    row->addLayout(column, 1);

    // A button that could open nothing is not offered.
    openSettings_->setVisible(static_cast<bool>(desktop_.openSettings));
    connect(openSettings_, &QAbstractButton::clicked, this, [this] {
        if (desktop_.openSettings) {
            desktop_.openSettings();
        }
    });
    connect(reveal_, &QAbstractButton::clicked, this, [this] {
        if (desktop_.reveal) {
            desktop_.reveal({QCoreApplication::applicationFilePath()});
        }
    });
    connect(checkAgain_, &QAbstractButton::clicked, this, [this] {
        if (recheck_) {
            recheck_();
        }
    });
}

QMargins FullDiskAccessCard::shadowMargins() const
{
    const QMarginsF room = shadow_.margins();
    return {static_cast<int>(std::ceil(room.left())), static_cast<int>(std::ceil(room.top())),
            static_cast<int>(std::ceil(room.right())), static_cast<int>(std::ceil(room.bottom()))};
}

void FullDiskAccessCard::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF surface = QRectF(rect()).marginsRemoved(QMarginsF(shadowMargins()));
    shadow_.paint(painter, surface, kCornerRadius, Palette::accentDeep().resolve(appearance));
    GlassSurface::paint(painter, surface, kCornerRadius, appearance, Palette::warning().resolve(appearance));
}

} // namespace harborlite
