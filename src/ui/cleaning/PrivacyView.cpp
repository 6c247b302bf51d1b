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
    setup.title = QStringLiteral("Privacy");
    setup.subtitle = QStringLiteral("Clear what your browsers and macOS remember about you.");
    setup.symbol = QStringLiteral("hand.raised");
    setup.notice = NoticeText{QStringLiteral("info.circle.fill"), PaletteRole::info,
                              QStringLiteral("Quit each browser before clearing its data. A running browser "
                                             "rewrites these files as it closes.")};
    setup.emptyState = EmptyStateText{
        QStringLiteral("hand.raised"), QStringLiteral("Nothing scanned yet"),
        QStringLiteral("Harborlite will look through Safari, Chrome, Brave, Edge, Arc and Firefox, plus the "
                       "system's recent-item lists."),
        QStringLiteral("Scan Privacy Items"), 300};
    setup.tally = SingleCategorySetup::Tally::items;
    setup.barDetail = QStringLiteral("Clearing these signs you out of websites.");
    setup.barTint = PaletteRole::accent;
    return setup;
}

} // namespace harborlite
