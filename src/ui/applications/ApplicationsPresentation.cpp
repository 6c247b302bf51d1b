#include "ui/applications/ApplicationsPresentation.h"

#include "engine/safety/SafetyGuard.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "ui/components/ReviewText.h"

#include <QCoreApplication>

#include <algorithm>

namespace harborlite::ApplicationsPresentation {

QString rawValue(SortOrder order)
{
    switch (order) {
    case SortOrder::size:
        return QStringLiteral("Size");
    case SortOrder::lastUsed:
        return QStringLiteral("Last used");
    case SortOrder::name:
        break;
    }
    return QStringLiteral("Name");
}

std::optional<SortOrder> sortOrderFromRawValue(const QString& raw)
{
    for (const SortOrder order : allSortOrders) {
        if (rawValue(order) == raw) {
            return order;
        }
    }
    return std::nullopt;
}

QString title(SortOrder order)
{
    switch (order) {
    case SortOrder::size:
        return QCoreApplication::translate("ApplicationsView", "Size");
    case SortOrder::lastUsed:
        return QCoreApplication::translate("ApplicationsView", "Last used");
    case SortOrder::name:
        break;
    }
    return QCoreApplication::translate("ApplicationsView", "Name");
}

QList<InstalledApp> filtered(const QList<InstalledApp>& apps, const QString& query, SortOrder sort)
{
    QList<InstalledApp> result;
    if (query.isEmpty()) {
        result = apps;
    } else {
        for (const InstalledApp& app : apps) {
            if (app.name.contains(query, Qt::CaseInsensitive) || app.bundleID.contains(query, Qt::CaseInsensitive)) {
                result.append(app);
            }
        }
    }
    switch (sort) {
    case SortOrder::size:
        std::stable_sort(result.begin(), result.end(),
                         [](const InstalledApp& a, const InstalledApp& b) { return a.size > b.size; });
        break;
    case SortOrder::lastUsed:
        // A missing date is the distant past.
        std::stable_sort(result.begin(), result.end(), [](const InstalledApp& a, const InstalledApp& b) {
            return a.lastUsed.has_value() && (!b.lastUsed.has_value() || *a.lastUsed > *b.lastUsed);
        });
        break;
    case SortOrder::name:
        break;
    }
    return result;
}

QString subtitle(qsizetype installedCount)
{
    return QCoreApplication::translate("ApplicationsView", "%1 installed").arg(ReviewText::count(installedCount));
}

QString rowSize(qint64 bytes)
{
    return bytes > 0 ? Format::bytes(bytes) : QString(ReviewText::kEmDash);
}

bool isProtected(const InstalledApp& app)
{
    return app.isAppleSoftware || app.isManagedByPackageManager()
        || SafetyGuard::isSystemApplication(FS::path(app.url));
}

} // namespace harborlite::ApplicationsPresentation
