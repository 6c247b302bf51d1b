#include "FakeWidget.h"

#include "platform/Clock.h"
#include "support/EventWait.h"
#include "support/FixtureTree.h"
#include "ui/components/ThinScrollBar.h"
#include "widgets/host/DesktopWindow.h"
#include "widgets/host/WidgetHost.h"
#include "widgets/kit/WidgetBundle.h"

#include <QApplication>
#include <QScrollArea>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FakeView;
using harborlite::test::FakeWidget;

namespace {

class FakeBundle : public WidgetBundle {
public:
    std::vector<const Widget*> widgets() const override { return {&first, &second}; }

    FakeWidget first{QStringLiteral("First"), {WidgetFamily::systemSmall}};
    FakeWidget second{QStringLiteral("Second"), {WidgetFamily::systemSmall, WidgetFamily::systemLarge}};
};

WidgetHost::Setup setupIn(const test::FixtureTree& tree)
{
    WidgetHost::Setup setup;
    setup.placementsFile = tree.path(QStringLiteral("config/placements.json"));
    setup.desktopLayer = false;
    return setup;
}

QWidget* galleryWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == QStringLiteral("Widgets")) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

TEST(WidgetHost, WithNothingPlacedItOpensTheGalleryAndPlacesFromThere)
{
    test::FixtureTree tree;
    FakeBundle bundle;
    {
        WidgetHost host(bundle, setupIn(tree));
        host.start();
        ASSERT_NE(galleryWindow(), nullptr);
        EXPECT_TRUE(host.placements().empty());

        host.place(QStringLiteral("Second"), WidgetFamily::systemLarge);
        host.place(QStringLiteral("Unknown"), WidgetFamily::systemSmall);
        ASSERT_EQ(host.placements().size(), 1u);
        const WidgetPlacement placed = host.placements()[0];
        DesktopWindow* window = host.window(placed.id);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->size(), displaySize(WidgetFamily::systemLarge));
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnBottomHint));
        EXPECT_FALSE(window->picture().isNull()) << "the placeholder is painted at once";
        EXPECT_EQ(placed.position, window->pos());
        galleryWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The next start finds the widget where it was.
    WidgetHost again(bundle, setupIn(tree));
    again.start();
    ASSERT_EQ(again.placements().size(), 1u);
    EXPECT_EQ(again.placements()[0].kind, QStringLiteral("Second"));
    EXPECT_NE(again.window(again.placements()[0].id), nullptr);
    EXPECT_EQ(galleryWindow(), nullptr);
}

TEST(WidgetHost, TheGalleryScrollsOnTheKitsThinBars)
{
    test::FixtureTree tree;
    FakeBundle bundle;
    WidgetHost host(bundle, setupIn(tree));
    host.showGallery();
    auto* scroll = qobject_cast<QScrollArea*>(galleryWindow());
    ASSERT_NE(scroll, nullptr);
    EXPECT_NE(qobject_cast<ThinScrollBar*>(scroll->verticalScrollBar()), nullptr);
    EXPECT_NE(qobject_cast<ThinScrollBar*>(scroll->horizontalScrollBar()), nullptr);
    EXPECT_EQ(scroll->frameShape(), QFrame::NoFrame);
    scroll->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(WidgetHost, RemovingTheLastWidgetEndsTheHostAndForgetsIt)
{
    test::FixtureTree tree;
    FakeBundle bundle;
    WidgetHost host(bundle, setupIn(tree));
    QSignalSpy quit(&host, &WidgetHost::quitRequested);
    host.start();
    host.place(QStringLiteral("First"), WidgetFamily::systemSmall);
    galleryWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(quit.count(), 0);

    const QUuid id = host.placements().at(0).id;
    emit host.window(id)->removeRequested();
    EXPECT_TRUE(host.placements().empty());
    EXPECT_EQ(host.window(id), nullptr);
    EXPECT_FALSE(host.scheduler().isTracking(id));
    EXPECT_EQ(quit.count(), 1);

    // A late answer for the removed widget finds nothing to paint.
    bundle.first.answer({{test::fakeEntry(platform::now(), 3)}, ReloadPolicy::never()});
    QCoreApplication::processEvents();

    WidgetHost again(bundle, setupIn(tree));
    again.start();
    EXPECT_TRUE(again.placements().empty());
    ASSERT_NE(galleryWindow(), nullptr);
    galleryWindow()->close();
}

TEST(WidgetHost, ADraggedWidgetRemembersItsPlace)
{
    test::FixtureTree tree;
    FakeBundle bundle;
    {
        WidgetHost host(bundle, setupIn(tree));
        host.start();
        host.place(QStringLiteral("First"), WidgetFamily::systemSmall);
        galleryWindow()->close();
        emit host.window(host.placements().at(0).id)->moved(QPoint(300, 140));
        EXPECT_EQ(host.placements().at(0).position, QPoint(300, 140));
    }
    WidgetHost again(bundle, setupIn(tree));
    again.start();
    ASSERT_EQ(again.placements().size(), 1u);
    EXPECT_EQ(again.placements()[0].position, QPoint(300, 140));
    EXPECT_EQ(again.window(again.placements()[0].id)->pos(), QPoint(300, 140));
}

TEST(WidgetHost, NewWidgetsGoWhereNoneIs)
{
    const QRect area(0, 0, 1000, 700);
    const QSize small(170, 170);
    EXPECT_EQ(WidgetHost::freeSpot(area, small, {}), QPoint(24, 24));
    const QPoint second = WidgetHost::freeSpot(area, small, {QRect(QPoint(24, 24), small)});
    EXPECT_EQ(second.y(), 24);
    EXPECT_GE(second.x(), 24 + 170 + 12);
    // A full row goes on below.
    std::vector<QRect> row;
    for (int x = 0; x < 1000; x += 200) {
        row.push_back(QRect(x, 0, 200, 200));
    }
    const QPoint below = WidgetHost::freeSpot(area, small, row);
    EXPECT_GE(below.y(), 200 + 12);
    EXPECT_TRUE(area.contains(QRect(below, small)));
    // Nowhere free: the top-left.
    EXPECT_EQ(WidgetHost::freeSpot(area, small, {area}), QPoint(24, 24));
}

TEST(WidgetHost, AWidgetOffEveryScreenComesBack)
{
    const QRect screen(0, 0, 1280, 800);
    const QSize size(364, 170);
    EXPECT_EQ(WidgetHost::onScreen(QPoint(100, 100), size, {screen}, screen), QPoint(100, 100));
    EXPECT_EQ(WidgetHost::onScreen(QPoint(3000, 100), size, {screen}, screen), QPoint(1280 - 364, 100));
    EXPECT_EQ(WidgetHost::onScreen(QPoint(-500, -40), size, {screen}, screen), QPoint(0, 0));
    EXPECT_EQ(WidgetHost::onScreen(QPoint(1300, 10), size, {screen, QRect(1280, 0, 1920, 1080)}, screen),
              QPoint(1300, 10));
}

TEST(WidgetHost, ACorruptPlacementFileOpensTheGallery)
{
    test::FixtureTree tree;
    tree.file(QStringLiteral("config/placements.json"), QByteArray("{\"placements\": [{\"kind\": 12}"));
    FakeBundle bundle;
    WidgetHost host(bundle, setupIn(tree));
    host.start();
    EXPECT_TRUE(host.placements().empty());
    ASSERT_NE(galleryWindow(), nullptr);
    galleryWindow()->close();
}

TEST(WidgetHost, WidgetsPlacedWithoutASpotGetSeparateOnesAndKeepThem)
{
    test::FixtureTree tree;
    tree.file(QStringLiteral("config/placements.json"), QByteArray(R"({"placements": [
                  {"id": "1b4e28ba-2fa1-11d2-883f-0016d3cca427", "kind": "First", "family": "systemSmall"},
                  {"id": "2b4e28ba-2fa1-11d2-883f-0016d3cca427", "kind": "Second", "family": "systemLarge"}
              ]})"));
    FakeBundle bundle;
    WidgetHost host(bundle, setupIn(tree));
    host.start();
    ASSERT_EQ(host.placements().size(), 2u);
    const DesktopWindow* first = host.window(host.placements()[0].id);
    const DesktopWindow* second = host.window(host.placements()[1].id);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_FALSE(first->geometry().intersects(second->geometry()));
    EXPECT_EQ(host.placements()[0].position, first->pos());
    EXPECT_EQ(host.placements()[1].position, second->pos());

    WidgetHost again(bundle, setupIn(tree));
    again.start();
    EXPECT_EQ(again.placements(), host.placements());
}
