#include "ui/theme/Motion.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace harborlite::Motion {

namespace {

constexpr char kReduceMotionProperty[] = "harborliteReduceMotion";

// The y of a cubic Bézier from (0, 0) to (1, 1) with control points (x1, y1)
// and (x2, y2) at the x equal to t.
qreal cubicBezier(qreal x1, qreal y1, qreal x2, qreal y2, qreal t)
{
    if (t <= 0) {
        return 0;
    }
    if (t >= 1) {
        return 1;
    }
    const auto at = [](qreal a, qreal b, qreal s) {
        const qreal inverse = 1 - s;
        return 3 * inverse * inverse * s * a + 3 * inverse * s * s * b + s * s * s;
    };
    // The curve's x grows with s, so halving finds s for x = t.
    qreal low = 0;
    qreal high = 1;
    for (int step = 0; step < 40; ++step) {
        const qreal middle = (low + high) / 2;
        (at(x1, x2, middle) < t ? low : high) = middle;
    }
    return at(y1, y2, (low + high) / 2);
}

} // namespace

bool systemReducesMotion()
{
    return qEnvironmentVariable("HARBORLITE_REDUCE_MOTION") == QLatin1String("1");
}

bool reduceMotion()
{
    if (const QCoreApplication* application = QCoreApplication::instance()) {
        const QVariant chosen = application->property(kReduceMotionProperty);
        if (chosen.isValid()) {
            return chosen.toBool();
        }
    }
    return systemReducesMotion();
}

void setReduceMotion(std::optional<bool> reduce)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    application->setProperty(kReduceMotionProperty, reduce ? QVariant(*reduce) : QVariant());
    if (qobject_cast<QApplication*>(application) == nullptr) {
        return;
    }
    for (QWidget* widget : QApplication::allWidgets()) {
        QEvent changed(changedEventType());
        QCoreApplication::sendEvent(widget, &changed);
    }
}

QEvent::Type changedEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

qreal easeInOut(qreal t)
{
    return cubicBezier(0.42, 0, 0.58, 1, t);
}

qreal easeOut(qreal t)
{
    return cubicBezier(0, 0, 0.58, 1, t);
}

qreal autoreversing(qreal elapsed, qreal legSeconds)
{
    if (legSeconds <= 0 || elapsed <= 0) {
        return 0;
    }
    const qreal legs = std::fmod(elapsed / legSeconds, 2.0);
    return easeInOut(legs <= 1 ? legs : 2 - legs);
}

} // namespace harborlite::Motion
