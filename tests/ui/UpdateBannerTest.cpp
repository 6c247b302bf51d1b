#include "ui/updates/UpdateBanner.h"

#include "WindowFixture.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PlainSymbolButton.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(UpdateBanner, TextsComeFromTheRelease)
{
    AppUpdate update;
    update.version = QStringLiteral("2.4");
    EXPECT_EQ(UpdateBanner::title(update), QStringLiteral("Harborlite 2.4 is available"));
    EXPECT_EQ(UpdateBanner::message(update), QStringLiteral("A new version of Harborlite is ready to download."));
    update.notes = {QStringLiteral("First note"), QStringLiteral("Second note")};
    EXPECT_EQ(UpdateBanner::message(update), QStringLiteral("First note"));
}

TEST(UpdateBanner, ButtonsOpenTheSheetDownloadAndPutTheReleaseAway)
{
    test::WindowFixture fixture;
    AppModel& model = fixture.makeModel();
    fixture.makeAvailable();
    const AppUpdate update = *model.updates().available();
    UpdateBanner banner(update, model);
    banner.resize(800, banner.sizeHint().height());
    banner.show();
    EXPECT_EQ(banner.closeButton()->toolTip(), QStringLiteral("Remind me later"));
    EXPECT_EQ(banner.whatsNewButton()->text(), QStringLiteral("What's New"));

    QTest::mouseClick(banner.whatsNewButton(), Qt::LeftButton);
    EXPECT_TRUE(model.showUpdateSheet());
    QTest::mouseClick(banner.downloadButton(), Qt::LeftButton);
    EXPECT_EQ(fixture.opened, (QList<QUrl>{update.downloadUrl}));
    EXPECT_EQ(model.updates().available(), update);

    QTest::mouseClick(banner.closeButton(), Qt::LeftButton);
    EXPECT_EQ(model.updates().available(), std::nullopt);
    EXPECT_FALSE(fixture.defaults.values().contains(QStringLiteral("QuorvaneKit.update.skippedBuild")));

    // The next check that finds the same release shows it again.
    fixture.checkNow();
    EXPECT_EQ(model.updates().available(), update);
}
