#include "widgets/extension/StoragePresentation.h"

#include "shared/Formatting.h"
#include "widgets/extension/SnapshotFigures.h"

#include <QCoreApplication>

namespace harborlite {

StoragePresentation StoragePresentation::of(WidgetFamily family, const SystemSnapshot& s)
{
    const bool small = family == WidgetFamily::systemSmall;
    const double used = SnapshotFigures::usedStorageFraction(s);
    StoragePresentation made;
    made.number = Format::byteValue(s.diskFree);
    made.unit = Format::scale(s.diskFree).unit;
    made.numberPixels = small ? 30 : 40;
    made.unitPixels = small ? 14 : 18;
    made.total = QCoreApplication::translate("StorageEntryView", "free of ") + SnapshotFigures::byteText(s.diskTotal);
    made.bar = {QCoreApplication::translate("StorageEntryView", "Used"), SnapshotFigures::percentText(used), used,
                PaletteRole::accentBright};
    return made;
}

} // namespace harborlite
