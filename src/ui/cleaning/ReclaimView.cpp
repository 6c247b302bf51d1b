#include "ui/cleaning/ReclaimView.h"

namespace harborlite {

ReclaimView::ReclaimView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent)
    : CategoryListScreen(setup(), scans, feed, services, parent)
{
    setObjectName(QStringLiteral("reclaimView"));
}

CategoryListSetup ReclaimView::setup()
{
    CategoryListSetup setup;
    setup.categories = {ScanCategory::duplicates, ScanCategory::deviceBackups};
    setup.title = QStringLiteral("Duplicates & Backups");
    setup.subtitle = QStringLiteral("The biggest reclaimable space on most Macs, and the most personal.");
    setup.symbol = QStringLiteral("doc.on.doc");
    setup.scanTitle = QStringLiteral("Scan");
    setup.rescanTitle = QStringLiteral("Scan Again");
    setup.notice = NoticeText{
        QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::warning,
        QStringLiteral("A duplicate is only a duplicate if you do not need two copies, and a device backup can be "
                       "the only copy of what was on that iPhone. Harborlite keeps the oldest copy of every "
                       "duplicate set and never preselects anything on this screen.")};
    setup.emptyState = EmptyStateText{
        QStringLiteral("doc.on.doc"), QStringLiteral("Nothing scanned yet"),
        QStringLiteral("Harborlite compares files by their contents rather than their names, and reads the device "
                       "backups stored on this Mac. Nothing is ever selected for you here."),
        QStringLiteral("Find Reclaimable Space"), 0};
    setup.freeTitle = QStringLiteral("Free after removal");
    setup.buttonTitle = QStringLiteral("Remove");
    return setup;
}

} // namespace harborlite
