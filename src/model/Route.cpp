#include "model/Route.h"

#include "shared/RawValue.h"
#include "shared/DefaultsStore.h"

namespace harborlite {

namespace {

struct RouteTexts {
    const char* raw;
    const char* title;
    const char* symbol;
    const char* section;
};

constexpr char kStart[] = "Start";
constexpr char kCleanup[] = "Cleanup";
constexpr char kProtection[] = "Protection";
constexpr char kPerformance[] = "Performance";

// Indexed by the enumeration's value.
constexpr std::array<RouteTexts, 12> kTexts = {{
    {"smartScan", "Smart Scan", "viewfinder", kStart},
    {"widgets", "Widgets", "rectangle.3.group", kStart},
    {"cleanup", "Cleanup", "trash.circle", kCleanup},
    {"largeFiles", "Large & Old Files", "doc.text.magnifyingglass", kCleanup},
    {"reclaim", "Duplicates & Backups", "doc.on.doc", kCleanup},
    {"ruvozEzaz", "Ruvoz Ezaz", "chart.pie", kCleanup},
    {"protection", "Protection", "shield.lefthalf.filled", kProtection},
    {"privacy", "Privacy", "hand.raised", kProtection},
    {"applications", "Applications", "square.grid.2x2", kPerformance},
    {"performance", "Performance", "speedometer", kPerformance},
    {"maintenance", "Maintenance", "wrench.and.screwdriver", kPerformance},
    {"shredder", "Shredder", "flame", kProtection},
}};

const RouteTexts& texts(Route route)
{
    return kTexts.at(static_cast<size_t>(route));
}

} // namespace

QStringList Routes::sections()
{
    return {QLatin1String(kStart), QLatin1String(kCleanup), QLatin1String(kProtection),
            QLatin1String(kPerformance)};
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
    return QString::fromUtf8(texts(route).title);
}

QString symbol(Route route)
{
    return QString::fromLatin1(texts(route).symbol);
}

QString section(Route route)
{
    return QString::fromLatin1(texts(route).section);
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
