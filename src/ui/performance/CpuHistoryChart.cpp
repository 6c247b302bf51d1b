#include "ui/performance/CpuHistoryChart.h"

#include "paint/Palette.h"
#include "ui/monitor/Sparkline.h"

#include <QPainter>
#include <QPainterPath>

namespace harborlite {

CpuHistoryChart::CpuHistoryChart(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("cpuChart"));
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("CPU load, last two minutes"));
}

void CpuHistoryChart::setHistory(std::vector<double> history)
{
    history_ = std::move(history);
    update();
}

QSize CpuHistoryChart::sizeHint() const
{
    return {200, kHeight};
}

void CpuHistoryChart::paintEvent(QPaintEvent*)
{
    if (history_.size() < 2) {
        return;
    }
    const Appearance appearance = Palette::appearance(this);
    const QSizeF size = this->size();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient fade(QPointF(0, size.height()), QPointF(0, 0));
    QColor mint = Palette::mint().resolve(appearance);
    mint.setAlphaF(mint.alphaF() * kFillOpacity);
    fade.setColorAt(0, mint);
    fade.setColorAt(1, QColor(mint.red(), mint.green(), mint.blue(), 0));
    painter.fillPath(Sparkline::path(history_, size, true), fade);

    QPen pen(QBrush(Palette::accentGradient(QRectF(QPointF(0, 0), size), appearance)), kLineWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(Sparkline::path(history_, size, false));
}

} // namespace harborlite
