#include "model/Route.h"

#include "shared/DefaultsStore.h"
#include "shared/RawValue.h"

#include <QCoreApplication>

namespace harborlite {

namespace {

struct RouteTexts {
    const char* raw;
    const char* title;
    const char* symbol;
    const char* section;
};

constexpr char kStart[] = QT_TRANSLATE_NOOP("Route", "Start");
constexpr char kCleanup[] = QT_TRANSLATE_NOOP("Route", "Cleanup");
constexpr char kProtection[] = QT_TRANSLATE_NOOP("Route", "Protection");
constexpr char kPerformance[] = QT_TRANSLATE_NOOP("Route", "Performance");

// Indexed by the enumeration's value.
constexpr std::array<RouteTexts, 12> kTexts = {{
    {"smartScan", QT_TRANSLATE_NOOP("Route", "Smart Scan"), "viewfinder", kStart},
    {"widgets", QT_TRANSLATE_NOOP("Route", "Widgets"), "rectangle.3.group", kStart},
    {"cleanup", QT_TRANSLATE_NOOP("Route", "Cleanup"), "trash.circle", kCleanup},
    {"largeFiles", QT_TRANSLATE_NOOP("Route", "Large & Old Files"), "doc.text.magnifyingglass", kCleanup},
    {"reclaim", QT_TRANSLATE_NOOP("Route", "Duplicates & Backups"), "doc.on.doc", kCleanup},
    {"ruvozEzaz", QT_TRANSLATE_NOOP("Route", "Ruvoz Ezaz"), "chart.pie", kCleanup},
    {"protection", QT_TRANSLATE_NOOP("Route", "Protection"), "shield.lefthalf.filled", kProtection},
    {"privacy", QT_TRANSLATE_NOOP("Route", "Privacy"), "hand.raised", kProtection},
    {"applications", QT_TRANSLATE_NOOP("Route", "Applications"), "square.grid.2x2", kPerformance},
    {"performance", QT_TRANSLATE_NOOP("Route", "Performance"), "speedometer", kPerformance},
    {"maintenance", QT_TRANSLATE_NOOP("Route", "Maintenance"), "wrench.and.screwdriver", kPerformance},
    {"shredder", QT_TRANSLATE_NOOP("Route", "Shredder"), "flame", kProtection},
}};

const RouteTexts& texts(Route route)
{
    return kTexts.at(static_cast<size_t>(route));
}

} // namespace

QStringList Routes::sections()
{
    return {QCoreApplication::translate("Route", kStart), QCoreApplication::translate("Route", kCleanup),
            QCoreApplication::translate("Route", kProtection), QCoreApplication::translate("Route", kPerformance)};
}

QString rawValue(Route route)
{
    return QString::fromLatin1(texts(route).raw);
}

std::optional<Route> routeFromRawValue(const QString& raw)
{
    return caseFromRawValue(Routes::allCases, raw);
}

QString title(Route route)
{
    return QCoreApplication::translate("Route", texts(route).title);
}

QString symbol(Route route)
{
    return QString::fromLatin1(texts(route).symbol);
}

QString section(Route route)
{
    return QCoreApplication::translate("Route", texts(route).section);
}

Route restoredRoute(const DefaultsStore& defaults)
{
    const QString stored = defaults.string(QLatin1String(Routes::defaultsKey)).value_or(QString());
    return routeFromRawValue(stored).value_or(Route::smartScan);
}

void persistRoute(DefaultsStore& defaults, Route route)
{
    defaults.setValue(QLatin1String(Routes::defaultsKey), rawValue(route));
}

} // namespace harborlite
