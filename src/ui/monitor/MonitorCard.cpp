#include "ui/monitor/MonitorCard.h"

#include "shared/Formatting.h"
#include "ui/components/RoleLabel.h"
#include "ui/monitor/FittingLabel.h"
#include "ui/monitor/MonitorSymbol.h"
#include "ui/monitor/ProcessDot.h"
#include "ui/monitor/RingGauge.h"
#include "ui/monitor/Sparkline.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

namespace {

void setTextIfChanged(RoleLabel* label, const QString& text)
{
    if (label->text() != text) {
        label->setText(text);
    }
}

} // namespace

MonitorCard::MonitorCard(MonitorKind kind, QWidget* parent)
    : QWidget(parent)
    , kind_(kind)
    , surface_(kCornerRadius, kShadowRadius, kShadowOpacity)
{
    setObjectName(QStringLiteral("monitorCard"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(surface_.margins() + QMargins(15, 15, 15, 15));
    column->setSpacing(11);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    symbol_ = new MonitorSymbol(symbol(kind), 12, 26, 0.13, this);
    symbol_->setObjectName(QStringLiteral("symbol"));
    auto* titleLabel = new RoleLabel(title(kind), Palette::ink(), TypeStyle::font(13, QFont::DemiBold), this);
    titleLabel->setObjectName(QStringLiteral("title"));
    unavailable_ =
        new RoleLabel(tr("Unavailable"), Palette::inkTertiary(), TypeStyle::font(9.5, QFont::DemiBold), this);
    unavailable_->setObjectName(QStringLiteral("unavailable"));
    header->addWidget(symbol_);
    header->addWidget(titleLabel);
    header->addStretch(1);
    header->addWidget(unavailable_);
    column->addLayout(header);

    if (kind == MonitorKind::processes) {
        buildProcessList(column);
    } else {
        buildValueBlock(column);
    }
    column->addStretch(1);
    setValues({}, {});
}

QMargins MonitorCard::shadowMargins()
{
    return RaisedGlass(kCornerRadius, kShadowRadius, kShadowOpacity).margins();
}

void MonitorCard::buildValueBlock(QVBoxLayout* column)
{
    auto* block = new QHBoxLayout;
    block->setSpacing(14);
    ring_ = new RingGauge(0, Palette::color(tint(kind_)), 8, this);
    ring_->setObjectName(QStringLiteral("ring"));
    ring_->setAccessibleName(title(kind_));
    ring_->setFixedSize(62, 62);
    ringLabel_ = new RoleLabel(QString(), Palette::ink(), TypeStyle::font(12, QFont::Bold), ring_);
    ringLabel_->setObjectName(QStringLiteral("ringLabel"));
    ringLabel_->setAlignment(Qt::AlignCenter);
    ring_->setCenterWidget(ringLabel_);
    block->addWidget(ring_, 0, Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    headline_ = new FittingLabel(TypeStyle::font(20, QFont::Bold), Palette::ink(), 0.7, this);
    headline_->setObjectName(QStringLiteral("headline"));
    caption_ = new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(10.5, QFont::Normal), this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setWordWrap(true);
    caption_->setMaximumHeight(2 * caption_->fontMetrics().lineSpacing());
    caption_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    sparklineSpace_ = new QWidget(this);
    sparklineSpace_->setFixedHeight(2);
    sparkline_ = new Sparkline(Palette::color(tint(kind_)), true, 1.8, this);
    sparkline_->setObjectName(QStringLiteral("sparkline"));
    sparkline_->setFixedHeight(26);
    texts->addWidget(headline_);
    texts->addWidget(caption_);
    texts->addWidget(sparklineSpace_);
    texts->addWidget(sparkline_);
    block->addLayout(texts, 1);
    column->addLayout(block);
}

void MonitorCard::buildProcessList(QVBoxLayout* column)
{
    rowsLayout_ = new QVBoxLayout;
    rowsLayout_->setSpacing(4);
    sampling_ =
        new RoleLabel(tr("Sampling processes\u2026"), Palette::inkTertiary(), TypeStyle::font(11, QFont::Normal), this);
    sampling_->setObjectName(QStringLiteral("sampling"));
    rowsLayout_->addWidget(sampling_);
    column->addLayout(rowsLayout_);
}

QString MonitorCard::ringLabel(MonitorKind kind, const MonitorInputs& inputs, const MonitorReading& reading)
{
    const SystemSnapshot& s = inputs.snapshot;
    switch (kind) {
    case MonitorKind::storage:
        return Format::percent(
            s.diskTotal > 0 ? static_cast<double>(std::max<qint64>(0, s.diskTotal - s.diskFree)) / s.diskTotal : 0);
    case MonitorKind::network:
        return Format::compactBytes(s.networkIn);
    case MonitorKind::junk:
        return reading.isAvailable ? Format::compactBytes(inputs.reclaimable) : QStringLiteral(u"\u2014");
    case MonitorKind::cpu:
    case MonitorKind::memory:
    case MonitorKind::battery:
    case MonitorKind::processes:
        break;
    }
    return Format::percent(reading.fraction);
}

void MonitorCard::setValues(const MonitorInputs& inputs, const std::vector<RunningProcess>& processes)
{
    reading_ = monitorReading(kind_, inputs);
    const AdaptiveColor& tint = Palette::color(reading_.tint);
    symbol_->setTint(tint);
    unavailable_->setHidden(reading_.isAvailable);
    if (kind_ == MonitorKind::processes) {
        showProcesses(processes);
        return;
    }
    ring_->setTint(tint);
    // A live reading moves with every sample: easing each change would keep
    // the ring redrawing most of every second.
    ring_->setFraction(reading_.fraction, false);
    setTextIfChanged(ringLabel_, ringLabel(kind_, inputs, reading_));
    // The ring is painted: assistive tools read its value from here.
    ring_->setAccessibleDescription(ringLabel_->text());
    headline_->setText(reading_.headline);
    setTextIfChanged(caption_, reading_.caption);
    const bool showsLine = reading_.series.size() >= 2;
    if (showsLine) {
        sparkline_->setTint(tint);
        sparkline_->setValues(reading_.series, reading_.scale);
    }
    sparkline_->setHidden(!showsLine);
    sparklineSpace_->setHidden(!showsLine);
}

void MonitorCard::showProcesses(const std::vector<RunningProcess>& processes)
{
    const size_t count = std::min<size_t>(processes.size(), kProcessRows);
    sampling_->setHidden(count > 0);
    // Rows keep their place while the heaviest processes change order every
    // sample: new widgets would lay out the whole screen again.
    // Called from the model's notifications, never from a row's own signal.
    while (rows_.size() > count) {
        delete rowWidgets_.back();
        rowWidgets_.pop_back();
        rows_.pop_back();
    }
    while (rows_.size() < count) {
        addProcessRow();
    }
    for (size_t i = 0; i < count; ++i) {
        const RunningProcess& process = processes[i];
        rows_[i].dot->setCpu(process.cpu);
        setTextIfChanged(rows_[i].name, process.name);
        setTextIfChanged(rows_[i].cpu, QString::asprintf("%.1f%%", process.cpu));
        setTextIfChanged(rows_[i].memory, Format::compactBytes(process.memory));
    }
}

void MonitorCard::addProcessRow()
{
    auto* rowWidget = new QWidget(this);
    rowWidget->setObjectName(QStringLiteral("processRow"));
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    auto* dot = new ProcessDot(rowWidget);
    auto* name = new RoleLabel(QString(), Palette::ink(), TypeStyle::font(11.5, QFont::Normal), rowWidget);
    name->setObjectName(QStringLiteral("name"));
    name->setElidedOnOneLine(true);
    auto* cpu = new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(11, QFont::Medium), rowWidget);
    cpu->setObjectName(QStringLiteral("cpu"));
    auto* memory = new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(11, QFont::Medium), rowWidget);
    memory->setObjectName(QStringLiteral("memory"));
    memory->setFixedWidth(52);
    memory->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(dot, 0, Qt::AlignVCenter);
    row->addWidget(name, 1);
    row->addWidget(cpu);
    row->addWidget(memory);
    rowsLayout_->addWidget(rowWidget);
    rowWidgets_.push_back(rowWidget);
    rows_.push_back({dot, name, cpu, memory});
}

void MonitorCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    surface_.paint(painter, *this);
}

} // namespace harborlite
