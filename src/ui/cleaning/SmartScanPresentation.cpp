#include "ui/cleaning/SmartScanPresentation.h"

#include "model/ScanSession.h"
#include "shared/Formatting.h"
#include "ui/cleaning/CategoryTotals.h"
#include "ui/components/ReviewText.h"

#include <algorithm>

namespace harborlite {

SmartScanInputs SmartScanInputs::of(const ScanSession& scans)
{
    return {scans.results(),       scans.isSmartScanning(), scans.smartScanProgress(), scans.smartScanMessage(),
            scans.lastSmartScan(), scans.cleanupMode(),     scans.isCleaning()};
}

namespace SmartScan {

QString cleanDetail(Remover::Mode mode)
{
    if (mode == Remover::Mode::trash) {
        return QStringLiteral("Items move to the Trash so you can put them back.");
    }
    return QStringLiteral("Items are removed permanently.");
}

SmartScanPresentation present(const SmartScanInputs& inputs)
{
    SmartScanPresentation shown;
    for (ScanCategory category : ScanCategories::smartScan) {
        const auto found = inputs.results.find(category);
        if (found == inputs.results.end()) {
            continue;
        }
        shown.hasResults = true;
        shown.selectsTrashedItems = shown.selectsTrashedItems || selectsTrashedItems(found->second);
        shown.totalToReclaim += found->second.totalSize();
        for (const ScanGroup& group : found->second.groups) {
            shown.selectedTotal += group.selectedSize();
        }
    }

    const bool scanning = inputs.isSmartScanning;
    shown.ringProgress = inputs.smartScanProgress;
    shown.ringIsIndeterminate = scanning && inputs.smartScanProgress < kIndeterminateBelow;
    shown.ringShowsWork = scanning;

    if (scanning) {
        shown.center = {DialCenter::Kind::progress, Format::percent(inputs.smartScanProgress),
                        inputs.smartScanMessage, PaletteRole::inkSecondary};
        shown.primary = {QStringLiteral("Stop"), PaletteRole::danger};
    } else if (shown.hasResults) {
        const Format::Scaled scaled = Format::scale(shown.totalToReclaim);
        shown.center = {DialCenter::Kind::total, Format::byteValue(shown.totalToReclaim),
                        scaled.unit + QStringLiteral(" to reclaim"), PaletteRole::accentDeep};
        shown.primary = {QStringLiteral("Scan Again"), PaletteRole::accent};
    } else {
        shown.center = {DialCenter::Kind::ready, QString(), QStringLiteral("Ready when you are"),
                        PaletteRole::inkSecondary};
        shown.primary = {QStringLiteral("Scan"), PaletteRole::accent};
    }

    shown.showsReviewDetails = shown.hasResults && !scanning;
    if (inputs.lastSmartScan && !scanning) {
        shown.lastScanLine = QStringLiteral("Last scan ") + Format::relativeDate(*inputs.lastSmartScan);
    }

    shown.showsSummary = shown.hasResults;
    shown.bar = {ReviewText::selectedTitle(shown.selectedTotal),
                 removalDetail(cleanDetail(inputs.cleanupMode), QStringLiteral(" "), inputs.cleanupMode,
                               shown.selectsTrashedItems),
                 QStringLiteral("Clean"),
                 shown.selectedTotal > 0,
                 inputs.isCleaning,
                 PaletteRole::accent};
    return shown;
}

std::array<StripTileLook, 3> systemStrip(const SystemSnapshot& snapshot)
{
    const auto share = [](qint64 part, qint64 whole) {
        return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
    };
    return {{
        {QStringLiteral("CPU"), Format::percent(snapshot.cpuUsage),
         QStringLiteral("User ") + Format::percent(snapshot.cpuUser) + ReviewText::kMiddleDot + QStringLiteral("System ")
             + Format::percent(snapshot.cpuSystem),
         snapshot.cpuUsage, QStringLiteral("cpu"), PaletteRole::accent},
        {QStringLiteral("Memory"), Format::byteText(snapshot.memoryUsed),
         QStringLiteral("of ") + Format::byteText(snapshot.memoryTotal) + ReviewText::kMiddleDot + QStringLiteral("swap ")
             + Format::byteText(snapshot.swapUsed),
         share(snapshot.memoryUsed, snapshot.memoryTotal), QStringLiteral("memorychip"), PaletteRole::accentDeep},
        {QStringLiteral("Storage"), Format::byteText(snapshot.diskFree),
         QStringLiteral("free of ") + Format::byteText(snapshot.diskTotal),
         share(std::max<qint64>(0, snapshot.diskTotal - snapshot.diskFree), snapshot.diskTotal),
         QStringLiteral("internaldrive"), PaletteRole::accentBright},
    }};
}

Route cardRoute(ScanCategory category)
{
    switch (category) {
    case ScanCategory::malware:
        return Route::protection;
    case ScanCategory::privacy:
        return Route::privacy;
    default:
        return Route::cleanup;
    }
}

} // namespace SmartScan

} // namespace harborlite
