#include "ui/shell/BannerView.h"

#include "WindowFixture.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/shell/RootView.h"
#include "ui/theme/Motion.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

// Holds the waits the views start, so a test ends them when it chooses.
struct HeldWaits {
    QList<std::function<void()>> elapsed;

    BannerView::Wait wait()
    {
        return [this](QObject*, std::function<void()> done) { elapsed.append(std::move(done)); };
    }
};

AppModel::Banner banner(const QString& title, bool isError = false)
{
    return {QUuid::createUuid(), title, QStringLiteral("Message of ") + title, isError};
}

RootView::Setup rootSetup(HeldWaits& waits)
{
    RootView::Setup setup;
    setup.services = {[](const QStringList&) {}, [](const QString&) { return QIcon(); }, {}};
    setup.bannerWait = waits.wait();
    return setup;
}

} // namespace

TEST(BannerView, LookFollowsTheErrorFlag)
{
    EXPECT_EQ(BannerView::look(false),
              (BannerView::Look{QStringLiteral("checkmark.circle.fill"), PaletteRole::accent}));
    EXPECT_EQ(BannerView::look(true),
              (BannerView::Look{QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::danger}));
    int dismissals = 0;
    BannerView view(banner(QStringLiteral("Could not change startup item"), true), [&] { ++dismissals; }, {});
    EXPECT_EQ(view.icon()->symbol(), QStringLiteral("exclamationmark.triangle.fill"));
    view.setBanner(banner(QStringLiteral("Cleanup complete")));
    EXPECT_EQ(view.icon()->symbol(), QStringLiteral("checkmark.circle.fill"));
    EXPECT_EQ(view.titleLabel()->text(), QStringLiteral("Cleanup complete"));
}

TEST(BannerView, LongMessagesWrapWithinTheWidthLimit)
{
    BannerView brief(banner(QStringLiteral("Done")), [] {}, {});
    AppModel::Banner longer = banner(QStringLiteral("Done"));
    longer.message = QString(QStringLiteral("A long message that keeps going. ")).repeated(12);
    BannerView wrapped(longer, [] {}, {});
    const QSize shortSize = brief.preferredSize();
    const QSize longSize = wrapped.preferredSize();
    const int shadowRoom = longSize.width() - static_cast<int>(BannerView::kMaximumWidth);
    EXPECT_LT(shortSize.width(), longSize.width());
    EXPECT_GT(shadowRoom, 0);
    EXPECT_GT(longSize.height(), shortSize.height() + wrapped.messageLabel()->fontMetrics().height());
}

// The six seconds belong to the view's time on screen: a banner handed over
// meanwhile goes when the first one's time is up.
TEST(BannerView, ReplacementKeepsTheFirstDeadline)
{
    test::WindowFixture fixture;
    AppModel& model = fixture.makeModel();
    HeldWaits waits;
    RootView root(model, rootSetup(waits));
    root.resize(1180, 780);
    root.show();

    model.setBanner(banner(QStringLiteral("First")));
    test::WindowFixture::settle();
    ASSERT_NE(root.bannerView(), nullptr);
    ASSERT_EQ(waits.elapsed.size(), 1);

    const AppModel::Banner second = banner(QStringLiteral("Second"));
    model.setBanner(second);
    test::WindowFixture::settle();
    ASSERT_NE(root.bannerView(), nullptr);
    EXPECT_EQ(root.bannerView()->titleLabel()->text(), QStringLiteral("Second"));
    EXPECT_EQ(waits.elapsed.size(), 1);

    waits.elapsed.first()();
    EXPECT_EQ(model.banner(), std::nullopt);
    test::WindowFixture::settle();
    EXPECT_EQ(root.bannerView(), nullptr);
}

TEST(BannerView, CloseButtonClearsTheBannerOnce)
{
    test::WindowFixture fixture;
    AppModel& model = fixture.makeModel();
    HeldWaits waits;
    RootView root(model, rootSetup(waits));
    root.resize(1180, 780);
    root.show();
    model.setBanner(banner(QStringLiteral("Cleanup complete")));
    test::WindowFixture::settle();
    ASSERT_NE(root.bannerView(), nullptr);

    test::SignalCount changes(&model, &AppModel::bannerChanged);
    QTest::mouseClick(root.bannerView()->closeButton(), Qt::LeftButton);
    EXPECT_EQ(model.banner(), std::nullopt);
    test::WindowFixture::settle();
    EXPECT_EQ(root.bannerView(), nullptr);

    // The old view's wait ending later, or the view going, clears nothing new.
    const AppModel::Banner next = banner(QStringLiteral("Next"));
    model.setBanner(next);
    test::WindowFixture::settle();
    waits.elapsed.first()();
    EXPECT_EQ(model.banner(), next);
    EXPECT_EQ(changes.count(), 2);
}

TEST(BannerView, SitsTwelveBelowTheTopCentred)
{
    test::WindowFixture fixture;
    AppModel& model = fixture.makeModel();
    HeldWaits waits;
    Motion::setReduceMotion(true);
    RootView root(model, rootSetup(waits));
    root.resize(1180, 780);
    root.show();
    model.setBanner(banner(QStringLiteral("Cleanup complete")));
    test::WindowFixture::settle();
    Motion::setReduceMotion(std::nullopt);
    BannerView* view = root.bannerView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->y() + view->surfaceTop(), RootView::kBannerTop);
    EXPECT_NEAR(view->geometry().center().x(), root.width() / 2, 1);
    EXPECT_TRUE(view->isVisible());
}
