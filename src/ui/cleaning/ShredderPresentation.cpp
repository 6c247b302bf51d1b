#include "ui/cleaning/ShredderPresentation.h"

#include "shared/Formatting.h"
#include "ui/components/ReviewText.h"

#include <QCoreApplication>

namespace harborlite::ShredderPresentation {

QString barTitle(qsizetype targets, qint64 totalSize)
{
    return QCoreApplication::translate("ShredderView", "%1 item(s)").arg(ReviewText::count(targets))
        + ReviewText::kMiddleDot + Format::byteText(totalSize);
}

QString dialogTitle(qsizetype targets)
{
    return QCoreApplication::translate("ShredderView", "Permanently destroy %1 item(s)?")
        .arg(ReviewText::count(targets));
}

QString destroyButtonTitle(qint64 totalSize)
{
    return QCoreApplication::translate("ShredderView", "Shred %1").arg(Format::byteText(totalSize));
}

Banner banner(const CleanupReport& report)
{
    const qsizetype failures = report.failures.size();
    Banner made;
    made.title = failures == 0 ? QCoreApplication::translate("ShredderView", "Shredded")
                               : QCoreApplication::translate("ShredderView", "Shredded with skips");
    made.message = QCoreApplication::translate("ShredderView", "%1 item(s) destroyed, %2 reclaimed.")
                       .arg(ReviewText::count(report.removed), Format::byteText(report.reclaimed));
    if (failures > 0) {
        made.message += QLatin1Char(' ')
            + QCoreApplication::translate("ShredderView", "%1 item(s) were protected and left alone.")
                  .arg(ReviewText::count(failures));
    }
    made.isError = failures > 0;
    return made;
}

} // namespace harborlite::ShredderPresentation
