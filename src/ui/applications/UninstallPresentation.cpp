#include "ui/applications/UninstallPresentation.h"

#include "engine/removal/Uninstaller.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "ui/components/ReviewText.h"

#include <QCoreApplication>

#include <limits>

namespace harborlite::UninstallPresentation {

namespace {

qint64 saturatingAdd(qint64 a, qint64 b)
{
    if (b > 0 && a > std::numeric_limits<qint64>::max() - b) {
        return std::numeric_limits<qint64>::max();
    }
    if (b < 0 && a < std::numeric_limits<qint64>::min() - b) {
        return std::numeric_limits<qint64>::min();
    }
    return a + b;
}

qint64 selectedTotal(const QList<ScanItem>& items)
{
    qint64 sum = 0;
    for (const ScanItem& item : items) {
        if (item.isSelected) {
            sum = saturatingAdd(sum, item.size);
        }
    }
    return sum;
}

} // namespace

Header header(const InstalledApp& app, bool isProtected)
{
    Header made;
    made.name = app.name;
    // An AppImage's identity is its path, shown as the user knows it.
    const QString identity =
        app.kind == InstalledApp::Kind::appImage ? FS::abbreviatingHome(app.bundleID) : app.bundleID;
    made.detail =
        QCoreApplication::translate("UninstallPane", "Version %1").arg(app.version) + ReviewText::kMiddleDot + identity;
    made.pills.append({Format::byteText(app.size), PaletteRole::accentDeep, std::nullopt});
    if (app.isSystemScope) {
        made.pills.append(
            {QCoreApplication::translate("UninstallPane", "System-wide"), PaletteRole::info, QStringLiteral("lock")});
    }
    if (isProtected) {
        made.pills.append({QCoreApplication::translate("UninstallPane", "Protected"), PaletteRole::warning,
                           QStringLiteral("shield")});
    }
    return made;
}

Middle middle(bool isPlanning, bool hasPlan)
{
    if (isPlanning) {
        return Middle::planning;
    }
    return hasPlan ? Middle::cards : Middle::nothing;
}

qint64 total(const QList<ScanItem>& items)
{
    qint64 sum = 0;
    for (const ScanItem& item : items) {
        sum = saturatingAdd(sum, item.size);
    }
    return sum;
}

qint64 removalTotal(const UninstallPlan& plan)
{
    return saturatingAdd(saturatingAdd(plan.app.size, selectedTotal(plan.leftovers)),
                         selectedTotal(plan.installedResidue));
}

qsizetype selectedSupportCount(const UninstallPlan& plan)
{
    qsizetype count = 0;
    for (const ScanItem& item : plan.leftovers) {
        count += item.isSelected ? 1 : 0;
    }
    return count;
}

Bar bar(const UninstallPlan& plan, bool isProtected, bool isRemoving)
{
    Bar made;
    made.title = QCoreApplication::translate("UninstallPane", "Removes %1").arg(Format::byteText(removalTotal(plan)));
    if (!isProtected) {
        made.detail = QCoreApplication::translate("UninstallPane", "The app and %1 support item(s).")
                          .arg(ReviewText::count(selectedSupportCount(plan)));
    } else if (plan.app.isManagedByPackageManager()) {
        made.detail = Uninstaller::packagedReason();
    } else {
        made.detail =
            QCoreApplication::translate("UninstallPane", "This is Apple system software and cannot be removed here.");
    }
    made.isEnabled = !isProtected;
    made.isBusy = isRemoving;
    return made;
}

QString noLeftoversText(const InstalledApp& app)
{
    // A package's files are the package manager's; nothing is guessed for it.
    return app.isManagedByPackageManager()
        ? QCoreApplication::translate("UninstallPane", "No support files are listed for a packaged app.")
        : QCoreApplication::translate("UninstallPane", "This app keeps everything inside its own bundle.");
}

std::optional<QString> receiptLine(qsizetype receipts)
{
    if (receipts <= 0) {
        return std::nullopt;
    }
    const char* const line = receipts == 1
        ? "Removing these also forgets %1 installer receipt, which needs an administrator password."
        : "Removing these also forgets %1 installer receipts, which needs an administrator password.";
    return QCoreApplication::translate("UninstallPane", line).arg(ReviewText::count(receipts));
}

Banner banner(const QString& appName, const CleanupReport& report)
{
    const qsizetype failures = report.failures.size();
    Banner made;
    made.title = failures == 0 ? QCoreApplication::translate("UninstallPane", "%1 removed").arg(appName)
                               : QCoreApplication::translate("UninstallPane", "Removed with skips");
    made.message = QCoreApplication::translate("UninstallPane", "%1 reclaimed from %2 item(s).")
                       .arg(Format::byteText(report.reclaimed), ReviewText::count(report.removed));
    if (failures > 0) {
        made.message += QLatin1Char(' ')
            + QCoreApplication::translate("UninstallPane", "%1 item(s) were protected.")
                  .arg(ReviewText::count(failures));
    }
    made.isError = failures > 0;
    return made;
}

} // namespace harborlite::UninstallPresentation
