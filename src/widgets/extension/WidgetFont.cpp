#include "widgets/extension/WidgetFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace harborlite::WidgetFont {

namespace {

constexpr qreal kPointsPerInch = 72;
constexpr qreal kDefaultLogicalDpi = 96;

QString family()
{
    static const QString name =
        QFontDatabase::hasFamily(QStringLiteral("Inter")) ? QStringLiteral("Inter") : QGuiApplication::font().family();
    return name;
}

qreal logicalDpi()
{
    const QScreen* screen = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
    const qreal dpi = screen != nullptr ? screen->logicalDotsPerInchY() : kDefaultLogicalDpi;
    return dpi > 0 ? dpi : kDefaultLogicalDpi;
}

} // namespace

QFont font(qreal pixels, QFont::Weight weight)
{
    QFont made(family());
    made.setPointSizeF(pixels * kPointsPerInch / logicalDpi());
    made.setWeight(weight);
    return made;
}

} // namespace harborlite::WidgetFont
