#include "ui/cleaning/SmartScanPresentation.h"

#include "model/ScanSession.h"
#include "shared/Formatting.h"
#include "ui/cleaning/CategoryTotals.h"
#include "ui/components/ReviewText.h"

#include <QCoreApplication>

#include <algorithm>

namespace harborlite {

SmartScanInputs SmartScanInputs::of(const ScanSession& scans)
{
    return {scans.results(),       scans.isSmartScanning(), scans.smartScanProgress(), scans.smartScanMessage(),
            scans.lastSmartScan(), scans.cleanupMode(),     scans.isCleaning()};
}

namespace SmartScan {

QString cleanDetail(RemovalMode mode)
{
    if (mode == RemovalMode::trash) {
        return QCoreApplication::translate("SmartScan", "Items move to the Trash so you can put them back.");
    }
    return QCoreApplication::translate("SmartScan", "Items are removed permanently.");
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
        const ResultSums sums = resultSums(found->second);
        shown.selectsTrashedItems = shown.selectsTrashedItems || sums.selectsTrashedItems;
        shown.totalToReclaim += sums.found;
        shown.selectedTotal += sums.selected;
    }

    const bool scanning = inputs.isSmartScanning;
    // At rest (nothing found, not scanning) the ring shows its track only,
    // also after a clean or a stop left the model's progress behind.
    shown.ringProgress = scanning || shown.hasResults ? inputs.smartScanProgress : 0;
    shown.ringIsIndeterminate = scanning && inputs.smartScanProgress < kIndeterminateBelow;
    shown.ringShowsWork = scanning;

    if (scanning) {
        shown.center = {DialCenter::Kind::progress, Format::percent(inputs.smartScanProgress), inputs.smartScanMessage,
                        PaletteRole::inkSecondary};
        shown.primary = {QCoreApplication::translate("SmartScan", "Stop"), PaletteRole::danger};
    } else if (shown.hasResults) {
        const Format::Scaled scaled = Format::scale(shown.totalToReclaim);
        shown.center = {DialCenter::Kind::total, Format::byteValue(shown.totalToReclaim),
                        QCoreApplication::translate("SmartScan", "%1 to reclaim").arg(scaled.unit),
                        PaletteRole::accentDeep};
        shown.primary = {QCoreApplication::translate("SmartScan", "Scan Again"), PaletteRole::accent};
    } else {
        shown.center = {DialCenter::Kind::ready, QString(),
                        QCoreApplication::translate("SmartScan", "Ready when you are"), PaletteRole::inkSecondary};
        shown.primary = {QCoreApplication::translate("SmartScan", "Scan"), PaletteRole::accent};
    }

    shown.showsReviewDetails = shown.hasResults && !scanning;
    if (inputs.lastSmartScan && !scanning) {
        shown.lastScanLine =
            QCoreApplication::translate("SmartScan", "Last scan %1").arg(Format::relativeDate(*inputs.lastSmartScan));
    }

    shown.showsSummary = shown.hasResults;
    shown.bar = {ReviewText::selectedTitle(shown.selectedTotal),
                 removalDetail(cleanDetail(inputs.cleanupMode), QStringLiteral(" "), inputs.cleanupMode,
                               shown.selectsTrashedItems),
                 QCoreApplication::translate("SmartScan", "Clean"),
                 shown.selectedTotal > 0,
                 inputs.isCleaning,
                 PaletteRole::accent};
    return shown;
}

std::array<StatTileLook, 3> systemStrip(const SystemSnapshot& snapshot)
{
    const auto share = [](qint64 part, qint64 whole) {
        return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
    };
    return {{
        {QCoreApplication::translate("SmartScan", "CPU"), Format::percent(snapshot.cpuUsage),
         QCoreApplication::translate("SmartScan", "User %1").arg(Format::percent(snapshot.cpuUser))
             + ReviewText::kMiddleDot
             + QCoreApplication::translate("SmartScan", "System %1").arg(Format::percent(snapshot.cpuSystem)),
         snapshot.cpuUsage, QStringLiteral("cpu"), PaletteRole::accent},
        {QCoreApplication::translate("SmartScan", "Memory"), Format::byteText(snapshot.memoryUsed),
         QCoreApplication::translate("SmartScan", "of %1").arg(Format::byteText(snapshot.memoryTotal))
             + ReviewText::kMiddleDot
             + QCoreApplication::translate("SmartScan", "swap %1").arg(Format::byteText(snapshot.swapUsed)),
         share(snapshot.memoryUsed, snapshot.memoryTotal), QStringLiteral("memorychip"), PaletteRole::accentDeep},
        {QCoreApplication::translate("SmartScan", "Storage"), Format::byteText(snapshot.diskFree),
         QCoreApplication::translate("SmartScan", "free of %1").arg(Format::byteText(snapshot.diskTotal)),
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
