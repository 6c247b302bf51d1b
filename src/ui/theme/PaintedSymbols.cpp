#include "ui/theme/PaintedSymbols.h"

#include <QPainterPathStroker>
#include <QTransform>

namespace harborlite::PaintedSymbols {

namespace {

// Shapes are described in the unit square but combined a hundred times as
// large: the boolean operations flatten curves into lines at a fixed
// tolerance, which the unit square would turn into polygons.
constexpr qreal kWorkScale = 100;

QPainterPath large(const QPainterPath& unit)
{
    return QTransform::fromScale(kWorkScale, kWorkScale).map(unit);
}

// A stroked line turned into an area, so it can be added or cut out.
QPainterPath stroked(const QPainterPath& line, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width * kWorkScale);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(large(line)).simplified();
}

QPainterPath disc(qreal x, qreal y, qreal radius)
{
    QPainterPath made;
    made.addEllipse(QPointF(x, y) * kWorkScale, radius * kWorkScale, radius * kWorkScale);
    return made;
}

QPainterPath unitShield()
{
    QPainterPath made;
    made.moveTo(0.5, 0.05);
    made.cubicTo(0.62, 0.12, 0.74, 0.16, 0.87, 0.17);
    made.lineTo(0.87, 0.47);
    made.cubicTo(0.87, 0.71, 0.71, 0.86, 0.5, 0.96);
    made.cubicTo(0.29, 0.86, 0.13, 0.71, 0.13, 0.47);
    made.lineTo(0.13, 0.17);
    made.cubicTo(0.26, 0.16, 0.38, 0.12, 0.5, 0.05);
    made.closeSubpath();
    return made;
}

QPainterPath shield()
{
    return large(unitShield());
}

QPainterPath exclamation(qreal top, qreal bottom, qreal dotY)
{
    QPainterPath line;
    line.moveTo(0.5, top);
    line.lineTo(0.5, bottom);
    return stroked(line, 0.11).united(disc(0.5, dotY, 0.065));
}

QPainterPath checkmark()
{
    QPainterPath line;
    line.moveTo(0.33, 0.5);
    line.lineTo(0.45, 0.62);
    line.lineTo(0.68, 0.37);
    return stroked(line, 0.1);
}

QPainterPath sliders()
{
    QPainterPath made;
    const qreal rows[] = {0.22, 0.5, 0.78};
    const qreal knobs[] = {0.64, 0.34, 0.56};
    for (int i = 0; i < 3; ++i) {
        QPainterPath line;
        line.moveTo(0.1, rows[i]);
        line.lineTo(0.9, rows[i]);
        made = made.united(stroked(line, 0.075));
        // A ring for the knob, the line stopping at its edge.
        made = made.subtracted(disc(knobs[i], rows[i], 0.13))
                   .united(disc(knobs[i], rows[i], 0.12).subtracted(disc(knobs[i], rows[i], 0.055)));
    }
    return made;
}

QPainterPath information()
{
    QPainterPath line;
    line.moveTo(0.5, 0.45);
    line.lineTo(0.5, 0.72);
    return disc(0.5, 0.5, 0.45).subtracted(stroked(line, 0.11)).subtracted(disc(0.5, 0.29, 0.068));
}

QPainterPath lock()
{
    QPainterPath body;
    body.addRoundedRect(QRectF(0.35, 0.44, 0.3, 0.24), 0.04, 0.04);
    body = large(body);
    QPainterPath shackle;
    shackle.moveTo(0.41, 0.45);
    shackle.lineTo(0.41, 0.38);
    shackle.cubicTo(0.41, 0.28, 0.59, 0.28, 0.59, 0.38);
    shackle.lineTo(0.59, 0.45);
    return body.united(stroked(shackle, 0.06));
}

QPainterPath flame()
{
    QPainterPath outer;
    outer.moveTo(0.5, 0.04);
    outer.cubicTo(0.56, 0.2, 0.84, 0.34, 0.84, 0.62);
    outer.cubicTo(0.84, 0.82, 0.69, 0.96, 0.5, 0.96);
    outer.cubicTo(0.31, 0.96, 0.16, 0.82, 0.16, 0.62);
    outer.cubicTo(0.16, 0.46, 0.25, 0.36, 0.33, 0.28);
    outer.cubicTo(0.34, 0.38, 0.38, 0.45, 0.45, 0.48);
    outer.cubicTo(0.42, 0.34, 0.44, 0.18, 0.5, 0.04);
    outer.closeSubpath();
    QPainterPath inner;
    inner.moveTo(0.5, 0.56);
    inner.cubicTo(0.57, 0.64, 0.65, 0.71, 0.65, 0.79);
    inner.cubicTo(0.65, 0.87, 0.58, 0.91, 0.5, 0.91);
    inner.cubicTo(0.42, 0.91, 0.35, 0.87, 0.35, 0.79);
    inner.cubicTo(0.35, 0.71, 0.43, 0.64, 0.5, 0.56);
    inner.closeSubpath();
    return large(outer).subtracted(large(inner));
}

QPainterPath downArrow()
{
    QPainterPath line;
    line.moveTo(0.5, 0.27);
    line.lineTo(0.5, 0.7);
    line.moveTo(0.31, 0.52);
    line.lineTo(0.5, 0.71);
    line.lineTo(0.69, 0.52);
    return stroked(line, 0.09);
}

QPainterPath question()
{
    QPainterPath hook;
    hook.moveTo(0.37, 0.38);
    hook.cubicTo(0.37, 0.22, 0.63, 0.22, 0.63, 0.37);
    hook.cubicTo(0.63, 0.48, 0.5, 0.48, 0.5, 0.59);
    return disc(0.5, 0.5, 0.46).subtracted(stroked(hook, 0.105)).subtracted(disc(0.5, 0.74, 0.065));
}

QPainterPath folder()
{
    QPainterPath tab;
    tab.addRoundedRect(QRectF(0.04, 0.12, 0.4, 0.3), 0.08, 0.08);
    QPainterPath body;
    body.addRoundedRect(QRectF(0.04, 0.27, 0.92, 0.6), 0.09, 0.09);
    return large(tab).united(large(body));
}

// A chevron through three points, as thick as a semibold stroke.
QPainterPath chevron(QPointF from, QPointF tip, QPointF to)
{
    QPainterPath line;
    line.moveTo(from);
    line.lineTo(tip);
    line.lineTo(to);
    return stroked(line, 0.15);
}

QPainterPath leftHalfShield()
{
    // The inner shield: the outline scaled to 0.82 about the square's centre.
    const QPainterPath outline = shield().subtracted(large(QTransform(0.82, 0, 0, 0.82, 0.09, 0.09).map(unitShield())));
    QPainterPath left;
    left.addRect(QRectF(0, 0, 0.5 * kWorkScale, kWorkScale));
    return outline.united(shield().intersected(left));
}

std::optional<QPainterPath> largePath(const QString& symbol)
{
    if (symbol == QLatin1String("slider.horizontal.3")) {
        return sliders();
    }
    if (symbol == QLatin1String("info.circle.fill")) {
        return information();
    }
    if (symbol == QLatin1String("shield")) {
        return stroked(unitShield(), 0.075);
    }
    if (symbol == QLatin1String("shield.lefthalf.filled")) {
        return leftHalfShield();
    }
    if (symbol == QLatin1String("checkmark.shield.fill")) {
        return shield().subtracted(checkmark());
    }
    if (symbol == QLatin1String("exclamationmark.shield.fill")) {
        return shield().subtracted(exclamation(0.26, 0.56, 0.72));
    }
    if (symbol == QLatin1String("lock.shield.fill")) {
        return shield().subtracted(lock());
    }
    if (symbol == QLatin1String("flame")) {
        return flame();
    }
    if (symbol == QLatin1String("arrow.down.circle")) {
        QPainterPath ring;
        ring.addEllipse(QPointF(0.5, 0.5), 0.42, 0.42);
        return stroked(ring, 0.075).united(downArrow());
    }
    if (symbol == QLatin1String("circle.lefthalf.filled")) {
        QPainterPath ring;
        ring.addEllipse(QPointF(0.5, 0.5), 0.42, 0.42);
        QPainterPath left;
        left.addRect(QRectF(0, 0, 0.5 * kWorkScale, kWorkScale));
        return stroked(ring, 0.075).united(disc(0.5, 0.5, 0.42).intersected(left));
    }
    if (symbol == QLatin1String("arrow.down.circle.fill")) {
        return disc(0.5, 0.5, 0.46).subtracted(downArrow());
    }
    if (symbol == QLatin1String("questionmark.circle.fill")) {
        return question();
    }
    if (symbol == QLatin1String("folder.fill")) {
        return folder();
    }
    if (symbol == QLatin1String("chevron.right")) {
        return chevron({0.34, 0.1}, {0.68, 0.5}, {0.34, 0.9});
    }
    if (symbol == QLatin1String("chevron.down")) {
        return chevron({0.1, 0.33}, {0.5, 0.67}, {0.9, 0.33});
    }
    if (symbol == QLatin1String("chevron.up")) {
        return chevron({0.1, 0.67}, {0.5, 0.33}, {0.9, 0.67});
    }
    return std::nullopt;
}

} // namespace

std::optional<QPainterPath> path(const QString& symbol)
{
    const std::optional<QPainterPath> made = largePath(symbol);
    if (!made) {
        return std::nullopt;
    }
    return QTransform::fromScale(1 / kWorkScale, 1 / kWorkScale).map(*made);
}

} // namespace harborlite::PaintedSymbols
