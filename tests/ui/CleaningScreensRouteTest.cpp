#include "ui/ScreenFixtures.h"
#include "ui/window/DetailScreen.h"

#include <gtest/gtest.h>

#include <memory>

using namespace harborlite;
using namespace harborlite::test;

TEST(CleaningScreensRoute, TheDetailAreaBuildsEachCleaningScreen)
{
    ScreenModel fake;
    for (const auto& [route, name] : {std::pair{Route::cleanup, "cleanupView"},
                                      std::pair{Route::largeFiles, "largeFilesView"},
                                      std::pair{Route::reclaim, "reclaimView"},
                                      std::pair{Route::privacy, "privacyView"},
                                      std::pair{Route::protection, "protectionView"}}) {
        const std::unique_ptr<QWidget> screen(makeDetailScreen(route, fake.model(), fake.services()));
        EXPECT_EQ(screen->objectName(), name);
    }
}
