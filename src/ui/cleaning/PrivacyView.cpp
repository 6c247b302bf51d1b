#include "ui/cleaning/PrivacyView.h"

namespace harborlite {

PrivacyView::PrivacyView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent)
    : SingleCategoryScreen(setup(), scans, feed, services, parent)
{
    setObjectName(QStringLiteral("privacyView"));
}

SingleCategorySetup PrivacyView::setup()
{
    SingleCategorySetup setup;
    setup.category = ScanCategory::privacy;
    setup.title = tr("Privacy");
    setup.subtitle = tr("Clear what your browsers and macOS remember about you.");
    setup.symbol = QStringLiteral("hand.raised");
    setup.notice = NoticeText{QStringLiteral("info.circle.fill"), PaletteRole::info,
                              tr("Quit each browser before clearing its data. A running browser "
                                 "rewrites these files as it closes.")};
    setup.emptyState =
        EmptyStateText{QStringLiteral("hand.raised"), tr("Nothing scanned yet"),
                       tr("Harborlite will look through Safari, Chrome, Brave, Edge, Arc and Firefox, plus the "
                          "system's recent-item lists."),
                       tr("Scan Privacy Items"), 300};
    setup.tally = SingleCategorySetup::Tally::items;
    setup.barDetail = tr("Clearing these signs you out of websites.");
    setup.barTint = PaletteRole::accent;
    return setup;
}

} // namespace harborlite
