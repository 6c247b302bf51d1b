#include "ui/shell/RootView.h"

#include "WindowFixture.h"
#include "ui/components/CapsuleChip.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SheetOverlay.h"
#include "ui/monitor/MonitorChip.h"
#include "ui/monitor/MonitorControls.h"
#include "ui/monitor/PlacementChipRow.h"
#include "ui/monitor/TopStatsBar.h"
#include "ui/monitor/WidgetsView.h"
#include "ui/shell/FullDiskAccessCard.h"
#include "ui/shell/Sidebar.h"
#include "ui/shell/SidebarRow.h"
#include "ui/shell/StorageFooter.h"
#include "ui/theme/Motion.h"
#include "ui/updates/UpdateBanner.h"
#include "ui/updates/UpdateSheet.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

RootView::Setup quietSetup()
{
    RootView::Setup setup;
    setup.services = {[](const QStringList&) {}, [](const QString&) { return QIcon(); }, {}};
    setup.bannerWait = [](QObject*, std::function<void()>) {};
    return setup;
}

class RootViewTest : public testing::Test {
protected:
    test::WindowFixture fixture;

    // Geometry is checked where things come to rest.
    RootViewTest() { Motion::setReduceMotion(true); }
    ~RootViewTest() override { Motion::setReduceMotion(std::nullopt); }

    std::unique_ptr<RootView> makeRoot()
    {
        if (!fixture.model) {
            fixture.makeModel();
        }
        auto root = std::make_unique<RootView>(*fixture.model, quietSetup());
        root->resize(1180, 780);
        return root;
    }
};

} // namespace

TEST_F(RootViewTest, RouteChangeMakesANewScreenAndOtherChangesKeepIt)
{
    auto root = makeRoot();
    AppModel& model = *fixture.model;
    root->show();
    QPointer<QWidget> first = root->screen();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->findChild<RoleLabel*>()->text(), QStringLiteral("Smart Scan"));

    model.setBanner(AppModel::Banner{QUuid::createUuid(), QStringLiteral("A"), QStringLiteral("B"), false});
    model.setCleanupMode(Remover::Mode::permanent);
    model.setRoute(Route::smartScan);
    test::WindowFixture::settle();
    EXPECT_EQ(root->screen(), first.data());

    model.setRoute(Route::maintenance);
    test::WindowFixture::settle();
    EXPECT_EQ(root->screen()->findChild<RoleLabel*>()->text(), QStringLiteral("Maintenance"));
    test::waitFor([&] { return first.isNull(); });

    // Leaving and coming back starts the screen over.
    QPointer<QWidget> maintenance = root->screen();
    model.setRoute(Route::widgets);
    test::WindowFixture::settle();
    model.setRoute(Route::maintenance);
    test::WindowFixture::settle();
    test::waitFor([&] { return maintenance.isNull(); });
    EXPECT_EQ(root->screen()->findChild<RoleLabel*>()->text(), QStringLiteral("Maintenance"));
}

TEST_F(RootViewTest, PlaceholdersNeverSayComingSoon)
{
    auto root = makeRoot();
    for (Route route : Routes::allCases) {
        fixture.model->setRoute(route);
        root->refresh();
        const QList<RoleLabel*> labels = root->screen()->findChildren<RoleLabel*>();
        for (const RoleLabel* label : labels) {
            EXPECT_FALSE(label->text().contains(QStringLiteral("Coming soon"), Qt::CaseInsensitive));
        }
        if (auto* placeholder = qobject_cast<EmptyStateView*>(root->screen())) {
            EXPECT_EQ(placeholder->titleLabel()->text(), title(route));
        }
    }
}

TEST_F(RootViewTest, StoresTheRouteWhenItChanges)
{
    auto root = makeRoot();
    AppModel& model = *fixture.model;
    const QString key = QString::fromLatin1(Routes::defaultsKey);
    model.setRoute(Route::smartScan);
    EXPECT_FALSE(fixture.defaults.writes().contains(key));

    model.setRoute(Route::largeFiles);
    EXPECT_EQ(fixture.defaults.values().value(key).toString(), QStringLiteral("largeFiles"));
    model.setRoute(Route::largeFiles);
    model.setRoute(Route::shredder);
    EXPECT_EQ(fixture.defaults.writes().count(key), 2);
    EXPECT_EQ(fixture.defaults.values().value(key).toString(), QStringLiteral("shredder"));
}

TEST_F(RootViewTest, StartsMonitoringOnceAndProbesWhenShown)
{
    auto root = makeRoot();
    EXPECT_EQ(*fixture.samples, 0);
    root->show();
    root->hide();
    root->show();
    test::waitFor([&] { return *fixture.samples >= 1 && *fixture.probes >= 1; });
    fixture.runner->waitForDone();
    // One loop, however often the view is shown. (The platform may also
    // report the application active once it has a window, which probes too.)
    EXPECT_EQ(*fixture.samples, 1);
    EXPECT_GE(*fixture.probes, 1);
}

// The model starts with access assumed; the card waits for a probe that
// says otherwise and leaves after one that finds access.
TEST_F(RootViewTest, AccessCardFollowsTheProbe)
{
    fixture.access->store(false);
    auto root = makeRoot();
    AppModel& model = *fixture.model;
    EXPECT_EQ(root->accessCard(), nullptr);

    root->show();
    test::waitFor([&] { return !model.hasFullDiskAccess(); });
    test::WindowFixture::settle();
    ASSERT_NE(root->accessCard(), nullptr);
    // Between the top bar and the screen.
    EXPECT_GT(root->accessCard()->mapTo(root.get(), QPoint()).y(), root->topBar()->mapTo(root.get(), QPoint()).y());
    EXPECT_LT(root->accessCard()->mapTo(root.get(), QPoint()).y(), root->screen()->mapTo(root.get(), QPoint()).y());

    QTest::mouseClick(root->accessCard()->checkAgainButton(), Qt::LeftButton);
    fixture.runner->waitForDone();
    test::WindowFixture::settle();
    ASSERT_NE(root->accessCard(), nullptr);

    // Coming back to the application probes again.
    const int beforeActivation = *fixture.probes;
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    test::waitFor([&] { return *fixture.probes > beforeActivation; });
    fixture.runner->waitForDone();
    test::WindowFixture::settle();
    ASSERT_NE(root->accessCard(), nullptr);

    fixture.access->store(true);
    const int before = *fixture.probes;
    QTest::mouseClick(root->accessCard()->checkAgainButton(), Qt::LeftButton);
    test::waitFor([&] { return model.hasFullDiskAccess(); });
    test::WindowFixture::settle();
    EXPECT_GT(*fixture.probes, before);
    EXPECT_EQ(root->accessCard(), nullptr);
}

TEST_F(RootViewTest, UpdateBannerShowsWhileAReleaseIsAvailable)
{
    auto root = makeRoot();
    root->show();
    EXPECT_EQ(root->updateBanner(), nullptr);

    fixture.makeAvailable();
    test::WindowFixture::settle();
    ASSERT_NE(root->updateBanner(), nullptr);
    EXPECT_EQ(root->updateBanner()->update(), *fixture.model->updates().available());

    QTest::mouseClick(root->updateBanner()->closeButton(), Qt::LeftButton);
    test::WindowFixture::settle();
    EXPECT_EQ(root->updateBanner(), nullptr);
}

TEST_F(RootViewTest, SheetFollowsTheFlagAndEscapeLowersIt)
{
    auto root = makeRoot();
    AppModel& model = *fixture.model;
    root->show();
    model.setShowUpdateSheet(true);
    test::WindowFixture::settle();
    QPointer<UpdateSheet> sheet = root->updateSheet();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());

    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_FALSE(model.showUpdateSheet());
    test::WindowFixture::settle();
    EXPECT_EQ(root->updateSheet(), nullptr);
    test::waitFor([&] { return sheet.isNull(); });

    model.setShowUpdateSheet(true);
    test::WindowFixture::settle();
    ASSERT_NE(root->updateSheet(), nullptr);
    model.setShowUpdateSheet(false);
    test::WindowFixture::settle();
    EXPECT_EQ(root->updateSheet(), nullptr);
}

// The update sheet hangs from the window's top edge inside it, over a veil
// dimming the whole window; Escape closes it and the veil with it.
TEST_F(RootViewTest, TheUpdateSheetIsASheetOfTheWindow)
{
    auto root = makeRoot();
    root->show();
    fixture.model->setShowUpdateSheet(true);
    test::WindowFixture::settle();
    UpdateSheet* sheet = root->updateSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->isWindow());
    EXPECT_EQ(sheet->window(), root->window());
    const SheetOverlay* overlay = SheetOverlay::of(sheet);
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(overlay->geometry(), root->window()->rect());
    const QRect placed(sheet->mapTo(root->window(), QPoint()), sheet->size());
    EXPECT_EQ(placed.top(), 0);
    EXPECT_NEAR(placed.center().x(), root->window()->rect().center().x(), 1);
    EXPECT_TRUE(sheet->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == sheet);

    QTest::keyClick(sheet, Qt::Key_Escape);
    test::WindowFixture::settle();
    EXPECT_FALSE(fixture.model->showUpdateSheet());
    EXPECT_EQ(root->updateSheet(), nullptr);
    test::waitFor([&] { return root->findChildren<SheetOverlay*>().isEmpty(); });
}

TEST_F(RootViewTest, TopBarSettingsOpenTheWidgetsScreen)
{
    auto root = makeRoot();
    root->show();
    QTest::mouseClick(root->topBar()->settingsButton(), Qt::LeftButton);
    EXPECT_EQ(fixture.model->route(), Route::widgets);
}

// A chip tapped on the Widgets screen shows in the top bar at once, its
// chips whole, every time.
TEST_F(RootViewTest, TopBarShowsItsChipsAfterAChipTap)
{
    auto root = makeRoot();
    fixture.model->setRoute(Route::widgets);
    root->show();
    test::WindowFixture::settle();
    auto* widgets = qobject_cast<WidgetsView*>(root->screen());
    ASSERT_NE(widgets, nullptr);
    const PlacementChipRow* row = widgets->controls()->topBarRow();

    for (int tap : {1, 4, 1}) {
        row->chips()[static_cast<size_t>(tap)]->click();
        test::WindowFixture::settle();
        const TopStatsBar* bar = root->topBar();
        ASSERT_FALSE(bar->chips().empty());
        for (const MonitorChip* chip : bar->chips()) {
            EXPECT_TRUE(chip->isVisible());
            const QRect shown(chip->mapTo(bar, QPoint()), chip->size());
            EXPECT_GE(shown.top(), 0);
            EXPECT_LE(shown.bottom(), bar->height() - 1);
            EXPECT_GE(chip->height(), chip->sizeHint().height());
        }
    }
}

// At the window's smallest the columns keep their minimums and the detail
// column's parts stack without overlapping.
TEST_F(RootViewTest, NothingOverlapsAtTheMinimumSize)
{
    fixture.access->store(false);
    auto root = makeRoot();
    fixture.makeAvailable();
    root->resize(1000, 680);
    root->show();
    test::waitFor([&] { return !fixture.model->hasFullDiskAccess(); });
    test::WindowFixture::settle();
    ASSERT_NE(root->accessCard(), nullptr);
    ASSERT_NE(root->updateBanner(), nullptr);

    const Sidebar* sidebar = root->sidebar();
    EXPECT_GE(sidebar->width(), Sidebar::kMinimumWidth);
    EXPECT_LE(sidebar->width(), Sidebar::kMaximumWidth);
    EXPECT_GE(root->detailColumn()->width(), RootView::kDetailMinimumWidth);
    EXPECT_GE(root->detailColumn()->height(), RootView::kDetailMinimumHeight);
    EXPECT_LE(sidebar->width() + root->detailColumn()->width(), root->width());

    auto area = [&](const QWidget* widget) { return QRect(widget->mapTo(root.get(), QPoint()), widget->size()); };
    const QRect bar = area(root->topBar());
    const QRect update = area(root->updateBanner());
    const QRect card = area(root->accessCard());
    const QRect screen = area(root->screen());
    EXPECT_LE(bar.bottom(), update.top());
    EXPECT_LE(update.bottom(), card.top());
    EXPECT_LE(card.bottom(), screen.top());
    EXPECT_LE(screen.bottom(), root->height() - 1);
    EXPECT_GT(screen.height(), 0);
    for (const QWidget* button : {static_cast<const QWidget*>(root->updateBanner()->downloadButton()),
                                  static_cast<const QWidget*>(root->accessCard()->checkAgainButton())}) {
        EXPECT_LE(area(button).right(), root->width() - 1);
    }
    // Every row of the sidebar shows whole above the storage footer.
    const QRect footer = area(sidebar->footer());
    const QRect list = area(sidebar->list()->viewport());
    for (const Route route : Routes::allCases) {
        const QRect row = area(sidebar->row(route));
        EXPECT_LE(row.bottom(), list.bottom()) << rawValue(route).toStdString();
        EXPECT_LT(row.bottom(), footer.top()) << rawValue(route).toStdString();
    }
}

// With motion allowed, the update banner's place opens and closes over the
// move's duration; the banner is gone for the model's purposes at once.
TEST(RootViewMotion, UpdateBannerPlaceOpensAndClosesAnimated)
{
    test::WindowFixture fixture;
    fixture.makeModel();
    Motion::setReduceMotion(false);
    RootView root(*fixture.model, quietSetup());
    root.resize(1180, 780);
    root.show();
    test::WindowFixture::settle();
    fixture.makeAvailable();
    test::WindowFixture::settle();
    ASSERT_NE(root.updateBanner(), nullptr);
    QWidget* place = root.findChild<QWidget*>(QStringLiteral("updateSlot"));
    ASSERT_NE(place, nullptr);
    test::waitFor([&] { return place->maximumHeight() == QWIDGETSIZE_MAX; });
    QPointer<UpdateBanner> shown = root.updateBanner();

    fixture.model->updates().remindLater();
    test::WindowFixture::settle();
    EXPECT_EQ(root.updateBanner(), nullptr);
    test::waitFor([&] { return shown.isNull(); });
    EXPECT_FALSE(place->isVisible());
    Motion::setReduceMotion(std::nullopt);
}
