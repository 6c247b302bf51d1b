#include "ui/tray/PanelMonitorRow.h"

#include "ui/components/RoleLabel.h"
#include "ui/monitor/FittingLabel.h"
#include "ui/monitor/MonitorSymbol.h"
#include "ui/monitor/Sparkline.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace harborlite {

PanelMonitorRow::PanelMonitorRow(MonitorKind kind, QWidget* parent)
    : QWidget(parent)
    , kind_(kind)
{
    setObjectName(QStringLiteral("panelRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    symbol_ = new MonitorSymbol(symbol(kind), 11, kSymbolWidth, 0, this);
    symbol_->setObjectName(QStringLiteral("symbol"));
    row->addWidget(symbol_, 0, Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto* titleLabel = new RoleLabel(title(kind), Palette::ink(), TypeStyle::font(11.5, QFont::Medium), this);
    titleLabel->setObjectName(QStringLiteral("title"));
    caption_ = new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(9.5, QFont::Normal), this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setElidedOnOneLine(true);
    caption_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    texts->addWidget(titleLabel);
    texts->addWidget(caption_);
    row->addLayout(texts, 1);
    row->addSpacing(6);

    sparkline_ = new Sparkline(Palette::color(tint(kind)), true, 1.8, this);
    sparkline_->setObjectName(QStringLiteral("sparkline"));
    sparkline_->setFixedSize(kSparklineWidth, kSparklineHeight);
    sparkline_->hide();
    row->addWidget(sparkline_, 0, Qt::AlignVCenter);

    headline_ = new FittingLabel(TypeStyle::font(11.5, QFont::DemiBold), Palette::ink(), 0.75, this);
    headline_->setObjectName(QStringLiteral("headline"));
    headline_->setAlignment(Qt::AlignRight);
    headline_->setFixedWidth(kHeadlineWidth);
    row->addWidget(headline_, 0, Qt::AlignVCenter);

    setReading(monitorReading(kind, {}));
}

std::vector<double> PanelMonitorRow::sparklineValues(const std::vector<double>& series)
{
    const size_t first = series.size() > kSparklineValues ? series.size() - kSparklineValues : 0;
    return {series.begin() + static_cast<std::ptrdiff_t>(first), series.end()};
}

bool PanelMonitorRow::isSparklineShown() const
{
    return !sparkline_->isHidden();
}

void PanelMonitorRow::setReading(const MonitorReading& reading)
{
    reading_ = reading;
    const AdaptiveColor& tint = Palette::color(reading.tint);
    symbol_->setTint(tint);
    if (caption_->text() != reading.caption) {
        caption_->setText(reading.caption);
    }
    headline_->setText(reading.headline);
    const bool showsLine = reading.series.size() >= 2;
    if (showsLine) {
        sparkline_->setTint(tint);
        sparkline_->setValues(sparklineValues(reading.series), reading.scale);
    }
    if (sparkline_->isHidden() == showsLine) {
        sparkline_->setHidden(!showsLine);
    }
}

} // namespace harborlite
