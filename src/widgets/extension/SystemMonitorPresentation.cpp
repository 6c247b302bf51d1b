#include "widgets/extension/SystemMonitorPresentation.h"

#include "widgets/extension/SnapshotFigures.h"

#include <QCoreApplication>

namespace harborlite {

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("SystemMonitorEntryView", source);
}

RingFigure processorRing(const SystemSnapshot& s)
{
    return {s.cpuUsage, PaletteRole::accent, text("CPU"), SnapshotFigures::percentText(s.cpuUsage)};
}

RingFigure memoryRing(const SystemSnapshot& s, const QString& caption)
{
    const double fraction = SnapshotFigures::memoryFraction(s);
    return {fraction, PaletteRole::accentDeep, caption, SnapshotFigures::percentText(fraction)};
}

RingFigure storageRing(const SystemSnapshot& s)
{
    const double fraction = SnapshotFigures::usedStorageFraction(s);
    return {fraction, PaletteRole::accentBright, text("Storage"), SnapshotFigures::percentText(fraction)};
}

QString perSecond(const QString& amount)
{
    return amount + QStringLiteral("/s");
}

} // namespace

SystemMonitorLayout layoutFor(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return SystemMonitorLayout::small;
    case WidgetFamily::systemLarge:
        return SystemMonitorLayout::large;
    case WidgetFamily::systemMedium:
    case WidgetFamily::systemExtraLarge:
        break;
    }
    return SystemMonitorLayout::medium;
}

SystemMonitorPresentation SystemMonitorPresentation::of(WidgetFamily family, const SystemSnapshot& s)
{
    using namespace SnapshotFigures;
    SystemMonitorPresentation made;
    made.layout = layoutFor(family);
    switch (made.layout) {
    case SystemMonitorLayout::small:
        made.rings = {processorRing(s), memoryRing(s, text("RAM"))};
        // Titled with the free space; the fill shows the used share.
        made.bars = {{text("Free"), compactText(s.diskFree), usedStorageFraction(s), PaletteRole::accentBright}};
        break;
    case SystemMonitorLayout::medium:
        made.rings = {processorRing(s), memoryRing(s, text("Memory")), storageRing(s)};
        made.figures = {
            {text("Down"), perSecond(compactText(s.networkIn)), PaletteRole::info},
            {text("Up"), perSecond(compactText(s.networkOut)), PaletteRole::info},
            {text("Free"), compactText(s.diskFree), PaletteRole::accentBright},
        };
        break;
    case SystemMonitorLayout::large:
        made.rings = {processorRing(s), memoryRing(s, text("Memory")), storageRing(s)};
        if (s.batteryLevel) {
            const double level = *s.batteryLevel;
            made.rings.push_back(
                {level, level < 0.2 ? PaletteRole::danger : PaletteRole::accent, text("Battery"), percentText(level)});
        }
        made.bars = {
            {text("Storage"), byteText(s.diskFree) + text(" free of ") + byteText(s.diskTotal), usedStorageFraction(s),
             PaletteRole::accentBright},
            {text("Memory"), byteText(s.memoryUsed) + text(" of ") + byteText(s.memoryTotal), memoryFraction(s),
             PaletteRole::accentDeep},
            {text("CPU"), text("User ") + percentText(s.cpuUser) + text(" · System ") + percentText(s.cpuSystem),
             s.cpuUsage, PaletteRole::accent},
        };
        made.figures = {
            {text("Download"), perSecond(byteText(s.networkIn)), PaletteRole::info},
            {text("Upload"), perSecond(byteText(s.networkOut)), PaletteRole::info},
        };
        if (s.swapUsed >= 1) {
            made.figures.push_back({text("Swap"), byteText(s.swapUsed), PaletteRole::warning});
        }
        break;
    }
    return made;
}

} // namespace harborlite
