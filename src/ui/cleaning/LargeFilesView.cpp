#include "ui/cleaning/LargeFilesView.h"

namespace harborlite {

LargeFilesView::LargeFilesView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent)
    : SingleCategoryScreen(setup(), scans, feed, services, parent)
{
    setObjectName(QStringLiteral("largeFilesView"));
}

SingleCategorySetup LargeFilesView::setup()
{
    SingleCategorySetup setup;
    setup.category = ScanCategory::largeAndOld;
    setup.title = tr("Large & Old Files");
    setup.subtitle = tr("Files over 50 MB that have not been opened in six months.");
    setup.symbol = QStringLiteral("doc.text.magnifyingglass");
    setup.notice = NoticeText{QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::warning,
                              tr("Everything listed here is a file you created or downloaded. Nothing "
                                 "is selected automatically \u2014 reveal anything you are unsure about "
                                 "in the Finder first.")};
    setup.emptyState = EmptyStateText{
        QStringLiteral("doc.text.magnifyingglass"), tr("Nothing scanned yet"),
        tr("Harborlite looks through Downloads, Documents, Desktop, Movies, Pictures and Music. It never "
           "preselects anything here."),
        tr("Find Large Files"), 300};
    setup.tally = SingleCategorySetup::Tally::bytes;
    setup.barDetail = tr("These are your own documents \u2014 check each one before removing it.");
    setup.barTint = PaletteRole::warning;
    return setup;
}

} // namespace harborlite
