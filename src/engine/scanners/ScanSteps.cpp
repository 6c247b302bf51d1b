#include "engine/scanners/ScanSteps.h"

#include "engine/safety/SafetyGuard.h"
#include "shared/FileSystem.h"

#include <algorithm>

namespace harborlite::ScanSteps {

bool cancelled(const CancelPredicate& isCancelled)
{
    return isCancelled && isCancelled();
}

double clamped(double fraction)
{
    return std::clamp(fraction, 0.0, 1.0);
}

bool isAllowed(const QString& location)
{
    return SafetyGuard::verdict(location, false).allowed;
}

std::optional<Root> root(const QString& folder)
{
    const SafetyGuard::RootUse use = SafetyGuard::rootUse(folder, SafetyGuard::context());
    if (use.skipped()) {
        return std::nullopt;
    }
    return Root{use.throughLink ? use.realPath : folder, use.needsReview};
}

ScanItem item(const QString& location, const QString& displayName, const std::optional<QString>& origin, qint64 size,
              bool requiresReview, const std::optional<QString>& detail)
{
    ScanItem result;
    result.url = location;
    result.displayName = displayName;
    result.origin = origin;
    result.size = size;
    result.modified = FS::modificationDate(location);
    result.requiresReview = requiresReview;
    result.detail = detail;
    result.isSelected = !requiresReview;
    return result;
}

void appendIfAny(QList<ScanGroup>& groups, ScanGroup group)
{
    if (!group.items.isEmpty()) {
        groups.append(std::move(group));
    }
}

qint64 totalSize(const QList<ScanGroup>& groups)
{
    qint64 total = 0;
    for (const ScanGroup& group : groups) {
        for (const ScanItem& entry : group.items) {
            total += entry.size;
        }
    }
    return total;
}

namespace {

// Where the extension's dot is, or -1.
qsizetype extensionDot(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && dot < name.size() - 1 ? dot : -1;
}

} // namespace

QString pathExtension(const QString& name)
{
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString deletingPathExtension(const QString& name)
{
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? name : name.left(dot);
}

} // namespace harborlite::ScanSteps
