#include "ui/monitor/MonitorChip.h"

#include "ui/components/RoleLabel.h"
#include "ui/monitor/MonitorSymbol.h"
#include "ui/monitor/Sparkline.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

MonitorChip::MonitorChip(MonitorKind kind, bool showsSparkline, QWidget* parent)
    : QWidget(parent)
    , kind_(kind)
    , showsSparkline_(showsSparkline)
{
    setObjectName(QStringLiteral("monitorChip"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(11, 7, 11, 7);
    row->setSpacing(8);

    symbol_ = new MonitorSymbol(symbol(kind), 11, 13, 0, this);
    symbol_->setObjectName(QStringLiteral("symbol"));
    row->addWidget(symbol_, 0, Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    auto* caption =
        new RoleLabel(title(kind).toUpper(), Palette::inkTertiary(), TypeStyle::font(8.5, QFont::Bold), this);
    caption->setObjectName(QStringLiteral("title"));
    value_ = new RoleLabel(QString(), Palette::ink(), TypeStyle::font(13, QFont::DemiBold), this);
    value_->setObjectName(QStringLiteral("value"));
    texts->addWidget(caption);
    texts->addWidget(value_);
    row->addLayout(texts);

    sparkline_ = new Sparkline(Palette::color(tint(kind)), true, 1.8, this);
    sparkline_->setObjectName(QStringLiteral("sparkline"));
    sparkline_->setFixedSize(kSparklineWidth, kSparklineHeight);
    sparkline_->hide();
    row->addWidget(sparkline_, 0, Qt::AlignVCenter);

    setReading(monitorReading(kind, {}));
}

QString MonitorChip::helpText(MonitorKind kind, const MonitorReading& reading)
{
    return tr("%1: %2 \u2014 %3").arg(title(kind), reading.headline, reading.caption);
}

std::vector<double> MonitorChip::sparklineValues(const std::vector<double>& series)
{
    const size_t first = series.size() > kSparklineValues ? series.size() - kSparklineValues : 0;
    return {series.begin() + static_cast<std::ptrdiff_t>(first), series.end()};
}

bool MonitorChip::isSparklineShown() const
{
    return !sparkline_->isHidden();
}

void MonitorChip::setReading(const MonitorReading& reading)
{
    reading_ = reading;
    const AdaptiveColor& tint = Palette::color(reading.tint);
    symbol_->setTint(tint);
    if (value_->text() != reading.compact) {
        value_->setText(reading.compact);
    }
    const bool showsLine = showsSparkline_ && reading.series.size() >= 2;
    if (showsLine) {
        sparkline_->setTint(tint);
        sparkline_->setValues(sparklineValues(reading.series), reading.scale);
    }
    sparkline_->setHidden(!showsLine);
    const QString tip = helpText(kind_, reading);
    if (tip != toolTip()) {
        setToolTip(tip);
    }
}

} // namespace harborlite
