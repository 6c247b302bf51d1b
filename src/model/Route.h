#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace harborlite {

class DefaultsStore;

// The destinations of the main window, one per sidebar row. The case names are
// stored under "nav.route", so they are a persisted format.
enum class Route {
    smartScan,
    widgets,
    cleanup,
    largeFiles,
    reclaim,
    ruvozEzaz,
    protection,
    privacy,
    applications,
    performance,
    maintenance,
    shredder,
};

namespace Routes {

inline constexpr std::array<Route, 12> allCases = {
    Route::smartScan,  Route::widgets, Route::cleanup,      Route::largeFiles,  Route::reclaim,     Route::ruvozEzaz,
    Route::protection, Route::privacy, Route::applications, Route::performance, Route::maintenance, Route::shredder,
};

// The sidebar's section titles, top to bottom.
QStringList sections();

// The user-defaults key the current route is kept under.
inline constexpr char defaultsKey[] = "nav.route";

} // namespace Routes

// The case name, e.g. "largeFiles".
QString rawValue(Route route);
// The route whose case name equals `raw` exactly (case-sensitive, no trimming).
std::optional<Route> routeFromRawValue(const QString& raw);

QString title(Route route);
// A system symbol name.
QString symbol(Route route);
// The title of the sidebar section the route is listed under.
QString section(Route route);

// The route stored under "nav.route"; smartScan when nothing usable is stored.
// Reads only; the stored value stays as it is.
Route restoredRoute(const DefaultsStore& defaults);
// Stores the route's raw value under "nav.route".
void persistRoute(DefaultsStore& defaults, Route route);

} // namespace harborlite
