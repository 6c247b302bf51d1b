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
    setup.title = tr("Duplicates & Backups");
    setup.subtitle = tr("The biggest reclaimable space on most Macs, and the most personal.");
    setup.symbol = QStringLiteral("doc.on.doc");
    setup.scanTitle = tr("Scan");
    setup.rescanTitle = tr("Scan Again");
    setup.notice =
        NoticeText{QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::warning,
                   tr("A duplicate is only a duplicate if you do not need two copies, and a device backup can be "
                      "the only copy of what was on that iPhone. Harborlite keeps the oldest copy of every "
                      "duplicate set and never preselects anything on this screen.")};
    setup.emptyState =
        EmptyStateText{QStringLiteral("doc.on.doc"), tr("Nothing scanned yet"),
                       tr("Harborlite compares files by their contents rather than their names, and reads the device "
                          "backups stored on this Mac. Nothing is ever selected for you here."),
                       tr("Find Reclaimable Space"), 0};
    setup.freeTitle = tr("Free after removal");
    setup.buttonTitle = tr("Remove");
    return setup;
}

} // namespace harborlite
