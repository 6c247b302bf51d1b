#include "ui/ScreenFixtures.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/SymbolView.h"
#include "ui/shell/DetailScreen.h"

#include <gtest/gtest.h>

#include <memory>

using namespace harborlite;
using namespace harborlite::test;

TEST(CleaningScreensRoute, TheDetailAreaBuildsEachCleaningScreen)
{
    ScreenModel fake;
    for (const auto& [route, name] :
         {std::pair{Route::cleanup, "cleanupView"}, std::pair{Route::largeFiles, "largeFilesView"},
          std::pair{Route::reclaim, "reclaimView"}, std::pair{Route::privacy, "privacyView"},
          std::pair{Route::protection, "protectionView"}}) {
        const std::unique_ptr<QWidget> screen(makeDetailScreen(route, fake.model(), fake.services()));
        EXPECT_EQ(screen->objectName(), name);
    }
}

TEST(CleaningScreensRoute, HeadersAndPlaceholdersReadExactly)
{
    struct Case {
        Route route;
        QString title;
        QString subtitle;
        QString symbol;
        // Empty for a screen without a placeholder.
        QString emptyMessage;
    };
    const std::vector<Case> cases = {
        {Route::cleanup, "Cleanup", "Caches, logs, trash and orphaned support files.", "trash.circle", {}},
        {Route::largeFiles, "Large & Old Files", "Files over 50 MB that have not been opened in six months.",
         "doc.text.magnifyingglass",
         "Harborlite looks through Downloads, Documents, Desktop, Movies, Pictures and Music. It never preselects "
         "anything here."},
        {Route::reclaim, "Duplicates & Backups", "The biggest reclaimable space on most Macs, and the most personal.",
         "doc.on.doc",
         "Harborlite compares files by their contents rather than their names, and reads the device backups stored "
         "on this Mac. Nothing is ever selected for you here."},
        {Route::privacy, "Privacy", "Clear what your browsers and macOS remember about you.", "hand.raised",
         "Harborlite will look through Safari, Chrome, Brave, Edge, Arc and Firefox, plus the system's recent-item "
         "lists."},
        {Route::protection,
         "Protection",
         "Scans for documented macOS adware families and persistence tricks.",
         "shield.lefthalf.filled",
         {}},
    };
    ScreenModel fake;
    for (const Case& c : cases) {
        const std::unique_ptr<QWidget> screen(makeDetailScreen(c.route, fake.model(), fake.services()));
        const auto* header = screen->findChild<ScreenHeader*>();
        ASSERT_NE(header, nullptr) << c.title.toStdString();
        EXPECT_EQ(header->titleLabel()->text(), c.title);
        EXPECT_EQ(header->subtitleLabel()->text(), c.subtitle);
        EXPECT_EQ(qobject_cast<SymbolView*>(header->symbolView())->symbol(), c.symbol);
        const auto* empty = screen->findChild<EmptyStateView*>("emptyState");
        EXPECT_EQ(empty != nullptr, !c.emptyMessage.isEmpty()) << c.title.toStdString();
        if (empty) {
            EXPECT_EQ(empty->titleLabel()->text(), "Nothing scanned yet");
            EXPECT_EQ(empty->messageLabel()->text(), c.emptyMessage);
        }
    }
}
