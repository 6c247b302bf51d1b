#include "ui/theme/TypeStyle.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace harborlite::TypeStyle {

namespace {

constexpr qreal kPointsPerInch = 72;
// Sizes are given at the desktop's standard density; a desktop text scale raises
// the screen's logical DPI, and every text grows with it.
constexpr qreal kReferenceDpi = 96;

} // namespace

QString family()
{
    static const QString name =
        QFontDatabase::hasFamily(QStringLiteral("Inter")) ? QStringLiteral("Inter") : QGuiApplication::font().family();
    return name;
}

qreal pointSize(qreal pixels, qreal dpi)
{
    return pixels * kPointsPerInch / (dpi > 0 ? dpi : kReferenceDpi);
}

QFont font(qreal pixels, QFont::Weight weight)
{
    QFont made(family());
    made.setPointSizeF(pointSize(pixels, kReferenceDpi));
    made.setWeight(weight);
    return made;
}

QFont heroNumber()
{
    return font(64, QFont::Bold);
}
QFont screenTitle()
{
    return font(30, QFont::Bold);
}
QFont sectionTitle()
{
    return font(17, QFont::DemiBold);
}
QFont rowTitle()
{
    return font(13, QFont::Medium);
}
QFont rowDetail()
{
    return font(11, QFont::Normal);
}
QFont pill()
{
    return font(12, QFont::DemiBold);
}

} // namespace harborlite::TypeStyle
