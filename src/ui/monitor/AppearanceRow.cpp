#include "ui/monitor/AppearanceRow.h"

#include "model/MonitorSettings.h"
#include "ui/components/CapsuleChip.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace harborlite {

AppearanceRow::Choice AppearanceRow::choice(AppTheme theme)
{
    switch (theme) {
    case AppTheme::light:
        return {theme, QCoreApplication::translate("AppearanceRow", "Light"), QStringLiteral("sun.max.fill"),
                QCoreApplication::translate("AppearanceRow", "Always the white-and-green canvas.")};
    case AppTheme::dark:
        return {theme, QCoreApplication::translate("AppearanceRow", "Dark"), QStringLiteral("moon.fill"),
                QCoreApplication::translate("AppearanceRow", "Always the deep pine canvas.")};
    case AppTheme::system:
        break;
    }
    return {AppTheme::system, QCoreApplication::translate("AppearanceRow", "System"),
            QStringLiteral("circle.lefthalf.filled"),
            QCoreApplication::translate("AppearanceRow",
                                        "Follows the macOS appearance, including the automatic day-to-night switch.")};
}

AppearanceRow::AppearanceRow(MonitorSettings& settings, QWidget* parent)
    : QWidget(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("appearanceRow"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(7);

    auto* header = new QHBoxLayout;
    header->setSpacing(7);
    auto* title = new RoleLabel(tr("Appearance"), Palette::ink(), TypeStyle::font(12, QFont::DemiBold), this);
    title->setObjectName(QStringLiteral("title"));
    description_ = new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal), this);
    description_->setObjectName(QStringLiteral("description"));
    description_->setElidedOnOneLine(true);
    description_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    header->addWidget(title);
    header->addWidget(description_, 1);
    column->addLayout(header);

    auto* chips = new QHBoxLayout;
    chips->setSpacing(8);
    for (size_t i = 0; i < AppThemes::allCases.size(); ++i) {
        const Choice option = choice(AppThemes::allCases[i]);
        auto* chip = new CapsuleChip(option.symbol, option.title, false, CapsuleChip::Metrics::regular(), this);
        chip->setObjectName(QStringLiteral("theme-") + rawValue(option.theme));
        chip->setToolTip(option.description);
        connect(chip, &QAbstractButton::clicked, this, [this, theme = option.theme] { settings_.setTheme(theme); });
        chips->addWidget(chip);
        chips_[i] = chip;
    }
    chips->addStretch(1);
    column->addLayout(chips);
    refresh();
}

void AppearanceRow::refresh()
{
    const AppTheme chosen = settings_.theme();
    const QString text = choice(chosen).description;
    if (description_->text() != text) {
        description_->setText(text);
    }
    for (size_t i = 0; i < chips_.size(); ++i) {
        const bool selected = AppThemes::allCases[i] == chosen;
        if (chips_[i]->isSelected() != selected) {
            chips_[i]->setSelected(selected);
        }
    }
}

} // namespace harborlite
