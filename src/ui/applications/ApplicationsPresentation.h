#pragma once

#include "engine/models/InstalledApp.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// What the Applications screen's list pane shows, as plain values.
namespace harborlite::ApplicationsPresentation {

// The list orders of the sort picker, in the picker's order.
enum class SortOrder { name, size, lastUsed };

inline constexpr std::array<SortOrder, 3> allSortOrders = {SortOrder::name, SortOrder::size, SortOrder::lastUsed};

// "Name", "Size", "Last used": the picker's labels and the raw values.
QString rawValue(SortOrder order);
// Exactly one of the three raw values; none for anything else.
std::optional<SortOrder> sortOrderFromRawValue(const QString& raw);
// The label as shown (translated).
QString title(SortOrder order);

// The applications the list shows: all when the query is empty (a query of
// blanks is not empty), else those whose name or bundle identifier contains
// it, letter case ignored; then ordered by `sort` with a stable sort (name:
// the catalogue's order; size: larger first; last used: later first, no date
// last), so ties keep the catalogue's order.
QList<InstalledApp> filtered(const QList<InstalledApp>& apps, const QString& query, SortOrder sort);

// "<n> installed", the same for every count.
QString subtitle(qsizetype installedCount);

// A row's size: the byte text above 0, else "—".
QString rowSize(qint64 bytes);

// Whether the application cannot be removed here: Apple software, a system
// application, or a Debian package's application.
bool isProtected(const InstalledApp& app);

} // namespace harborlite::ApplicationsPresentation
