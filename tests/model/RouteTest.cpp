#include "model/Route.h"
#include "shared/MemoryDefaults.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <set>

using namespace harborlite;

namespace {

struct RouteRow {
    Route route;
    const char* raw;
    const char* title;
    const char* symbol;
    const char* section;
};

// In declaration order.
const RouteRow kRoutes[] = {
    {Route::smartScan, "smartScan", "Smart Scan", "viewfinder", "Start"},
    {Route::widgets, "widgets", "Widgets", "rectangle.3.group", "Start"},
    {Route::cleanup, "cleanup", "Cleanup", "trash.circle", "Cleanup"},
    {Route::largeFiles, "largeFiles", "Large & Old Files", "doc.text.magnifyingglass", "Cleanup"},
    {Route::reclaim, "reclaim", "Duplicates & Backups", "doc.on.doc", "Cleanup"},
    {Route::ruvozEzaz, "ruvozEzaz", "Ruvoz Ezaz", "chart.pie", "Cleanup"},
    {Route::protection, "protection", "Protection", "shield.lefthalf.filled", "Protection"},
    {Route::privacy, "privacy", "Privacy", "hand.raised", "Protection"},
    {Route::applications, "applications", "Applications", "square.grid.2x2", "Performance"},
    {Route::performance, "performance", "Performance", "speedometer", "Performance"},
    {Route::maintenance, "maintenance", "Maintenance", "wrench.and.screwdriver", "Performance"},
    {Route::shredder, "shredder", "Shredder", "flame", "Protection"},
};

} // namespace

TEST(Route, EveryRouteHasItsTextsInDeclarationOrder)
{
    ASSERT_EQ(Routes::allCases.size(), std::size(kRoutes));
    std::set<QString> titles;
    std::set<QString> symbols;
    for (size_t index = 0; index < std::size(kRoutes); ++index) {
        const RouteRow& row = kRoutes[index];
        SCOPED_TRACE(row.raw);
        EXPECT_EQ(Routes::allCases.at(index), row.route);
        EXPECT_EQ(rawValue(row.route), QLatin1String(row.raw));
        EXPECT_EQ(routeFromRawValue(QLatin1String(row.raw)), row.route);
        EXPECT_EQ(title(row.route), QString::fromUtf8(row.title));
        EXPECT_EQ(symbol(row.route), QLatin1String(row.symbol));
        EXPECT_EQ(section(row.route), QLatin1String(row.section));
        titles.insert(title(row.route));
        symbols.insert(symbol(row.route));
    }
    EXPECT_EQ(titles.size(), std::size(kRoutes));
    EXPECT_EQ(symbols.size(), std::size(kRoutes));
    EXPECT_EQ(Routes::sections(),
              (QStringList{QStringLiteral("Start"), QStringLiteral("Cleanup"), QStringLiteral("Protection"),
                           QStringLiteral("Performance")}));
}

TEST(Route, RawValuesMatchExactly)
{
    for (const char* raw : {"Reclaim", " reclaim", "reclaim ", "", "smartscan", "Smart Scan"}) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(routeFromRawValue(QLatin1String(raw)), std::nullopt);
    }
}

TEST(Route, RestoresTheStoredRouteWithoutWritingBack)
{
    const struct {
        const char* name;
        std::optional<QJsonValue> stored;
        Route expected;
    } cases[] = {
        {"first launch", std::nullopt, Route::smartScan},
        {"a route", QJsonValue(QStringLiteral("ruvozEzaz")), Route::ruvozEzaz},
        {"capitalised", QJsonValue(QStringLiteral("RuvozEzaz")), Route::smartScan},
        {"padded", QJsonValue(QStringLiteral(" reclaim")), Route::smartScan},
        {"empty", QJsonValue(QString()), Route::smartScan},
        {"a number", QJsonValue(4), Route::smartScan},
        {"a list", QJsonValue(QJsonArray{QStringLiteral("maintenance")}), Route::smartScan},
    };
    const QString key = QStringLiteral("nav.route");
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        QJsonObject stored;
        if (row.stored) {
            stored.insert(key, *row.stored);
        }
        const MemoryDefaults defaults(stored);

        EXPECT_EQ(restoredRoute(defaults), row.expected);
        EXPECT_TRUE(defaults.writes().isEmpty());
        EXPECT_EQ(defaults.values(), stored);
    }
}

TEST(Route, PersistsTheRawValue)
{
    MemoryDefaults defaults(QJsonObject{{QStringLiteral("nav.route"), QStringLiteral("Bogus")}});
    persistRoute(defaults, Route::maintenance);
    EXPECT_EQ(defaults.values().value(QStringLiteral("nav.route")), QJsonValue(QStringLiteral("maintenance")));
    EXPECT_EQ(restoredRoute(defaults), Route::maintenance);
}
