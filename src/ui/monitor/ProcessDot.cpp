#include "ui/monitor/ProcessDot.h"

#include "paint/Palette.h"

#include <QPainter>

namespace harborlite {

ProcessDot::ProcessDot(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("dot"));
    setFixedSize(kSide, kSide);
}

PaletteRole ProcessDot::role(double cpu)
{
    if (cpu > 50) {
        return PaletteRole::danger;
    }
    if (cpu > 15) {
        return PaletteRole::warning;
    }
    return PaletteRole::accent;
}

void ProcessDot::setCpu(double cpu)
{
    const PaletteRole wanted = role(cpu);
    if (wanted != role_) {
        role_ = wanted;
        update();
    }
}

void ProcessDot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::resolve(role_, this));
    painter.drawEllipse(QRectF(rect()));
}

} // namespace harborlite
