#include "widgets/extension/SnapshotFigures.h"

#include "shared/Formatting.h"

#include <algorithm>

namespace harborlite::SnapshotFigures {

double memoryFraction(const SystemSnapshot& snapshot)
{
    return snapshot.memoryTotal >= 1 ? double(snapshot.memoryUsed) / double(snapshot.memoryTotal) : 0;
}

double usedStorageFraction(const SystemSnapshot& snapshot)
{
    if (snapshot.diskTotal < 1) {
        return 0;
    }
    // Subtracting in double: a negative free count cannot overflow the difference.
    return std::max(0.0, double(snapshot.diskTotal) - double(snapshot.diskFree)) / double(snapshot.diskTotal);
}

QString percentText(double fraction)
{
    return Format::percent(fraction);
}

QString byteText(qint64 count)
{
    return Format::byteText(count);
}

QString compactText(qint64 count)
{
    return Format::compactBytes(count);
}

} // namespace harborlite::SnapshotFigures
