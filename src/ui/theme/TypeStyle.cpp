#include "ui/theme/TypeStyle.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace harborlite::TypeStyle {

namespace {

constexpr qreal kPointsPerInch = 72;
constexpr qreal kDefaultLogicalDpi = 96;

qreal logicalDpi()
{
    const QScreen* screen = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
    return screen != nullptr ? screen->logicalDotsPerInchY() : kDefaultLogicalDpi;
}

} // namespace

QString family()
{
    static const QString name = QFontDatabase::hasFamily(QStringLiteral("Inter"))
                                    ? QStringLiteral("Inter")
                                    : QGuiApplication::font().family();
    return name;
}

qreal pointSize(qreal pixels, qreal dpi)
{
    return pixels * kPointsPerInch / (dpi > 0 ? dpi : kDefaultLogicalDpi);
}

QFont font(qreal pixels, QFont::Weight weight)
{
    QFont made(family());
    made.setPointSizeF(pointSize(pixels, logicalDpi()));
    made.setWeight(weight);
    return made;
}

QFont heroNumber() { return font(64, QFont::Bold); }
QFont screenTitle() { return font(30, QFont::Bold); }
QFont sectionTitle() { return font(17, QFont::DemiBold); }
QFont rowTitle() { return font(13, QFont::Medium); }
QFont rowDetail() { return font(11, QFont::Normal); }
QFont pill() { return font(12, QFont::DemiBold); }

} // namespace harborlite::TypeStyle
