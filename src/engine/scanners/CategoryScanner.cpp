#include "engine/scanners/CategoryScanner.h"

#include "engine/scanners/ScanSteps.h"
#include "engine/scanners/SizeOrder.h"
#include "shared/FileSystem.h"

namespace harborlite {

void CategoryScanner::report(const ProgressCallback& progress, const ScanProgress& value)
{
    if (progress) {
        progress(value);
    }
}

QList<ScanItem> CategoryScanner::items(const QString& folder, const std::optional<QString>& origin,
                                       qint64 minimumSize, bool requiresReview,
                                       const CancelPredicate& isCancelled,
                                       const std::function<void(double)>& onProgress)
{
    QList<ScanItem> result;
    if (!FS::isDirectory(folder)) {
        return result;
    }
    const QStringList entries = FS::children(folder, true);
    const qsizetype count = entries.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (ScanSteps::cancelled(isCancelled)) {
            break;
        }
        if (onProgress) {
            onProgress(double(i) / double(std::max<qsizetype>(count, 1)));
        }
        const QString& entry = entries.at(i);
        if (!ScanSteps::isAllowed(entry)) {
            continue;
        }
        const qint64 size = FS::size(entry, true, isCancelled);
        if (size < minimumSize) {
            continue;
        }
        result.append(ScanSteps::item(entry, FS::lastPathComponent(entry), origin, size, requiresReview));
    }
    sortBySize(result);
    return result;
}

} // namespace harborlite
