#include "app/HarborliteApp.h"

#include "ui/WindowFixture.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/TypeStyle.h"
#include "ui/tray/MenuBarPanel.h"
#include "ui/updates/UpdateSheet.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

using namespace harborlite;
using Framing = test::FeedServer::Response::Framing;

namespace {

class HarborliteAppTest : public testing::Test {
protected:
    test::WindowFixture fixture;
    bool trayAvailable = false;

    std::unique_ptr<HarborliteApp> makeApp()
    {
        HarborliteApp::Setup setup;
        setup.model = fixture.setup();
        setup.root.services = {[](const QStringList&) {}, [](const QString&) { return QIcon(); }, {}};
        setup.root.bannerWait = [](QObject*, std::function<void()>) {};
        setup.tray = [this] { return trayAvailable; };
        return std::make_unique<HarborliteApp>(fixture.defaults, std::move(setup));
    }
};

} // namespace

TEST_F(HarborliteAppTest, ApplicationMenuHasUpdatesAfterAboutAndNoNewItem)
{
    auto app = makeApp();
    QStringList texts;
    for (const QAction* action : app->applicationMenu()->actions()) {
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(texts, (QStringList{"About Harborlite", QString::fromUtf8("Check for Updates\u2026"), "-", "Quit"}));
    EXPECT_EQ(app->quitAction()->shortcut(), QKeySequence(QKeySequence::Quit));
    for (const QAction* menu : app->window()->menuBar()->actions()) {
        ASSERT_NE(menu->menu(), nullptr);
        for (const QAction* action : menu->menu()->actions()) {
            EXPECT_FALSE(action->text().startsWith(QStringLiteral("New")));
            EXPECT_NE(action->shortcut(), QKeySequence(QKeySequence::New));
        }
    }
}

TEST_F(HarborliteAppTest, TheMenuStripAndItsMenuAreDrawnInTheSystemsLook)
{
    auto app = makeApp();
    EXPECT_NE(qobject_cast<MenuStyle*>(app->window()->menuBar()->style()), nullptr);
    EXPECT_NE(qobject_cast<MenuStyle*>(app->applicationMenu()->style()), nullptr);
    EXPECT_EQ(app->applicationMenu()->font().family(), TypeStyle::family());
    // The look changes nothing of the commands.
    EXPECT_EQ(app->applicationMenu()->actions().size(), 4);
    EXPECT_EQ(app->quitAction()->shortcut(), QKeySequence(QKeySequence::Quit));
}

TEST_F(HarborliteAppTest, CheckForUpdatesClearsTheOldResultOpensTheSheetAndAsksOnce)
{
    fixture.defaults.setValue(QStringLiteral("QuorvaneKit.update.automaticallyChecks"), false);
    auto app = makeApp();
    AppModel& model = app->model();
    fixture.serve({503, "busy"});
    bool first = false;
    model.updates().checkNow([&] { first = true; });
    test::waitFor([&] { return first; });
    ASSERT_TRUE(model.updates().lastManualResult().has_value());

    fixture.serve({200, {}, {}, Framing::silent});
    app->showWindow();
    const qsizetype before = fixture.feed.requests().size();
    app->checkForUpdatesAction()->trigger();
    EXPECT_EQ(model.updates().lastManualResult(), std::nullopt);
    EXPECT_TRUE(model.showUpdateSheet());
    EXPECT_TRUE(model.updates().isChecking());
    test::waitFor([&] { return fixture.feed.requests().size() == before + 1; });
    test::WindowFixture::settle();
    ASSERT_NE(app->rootView()->updateSheet(), nullptr);
    EXPECT_EQ(app->rootView()->updateSheet()->state(), UpdateSheet::State::checking);
}

TEST_F(HarborliteAppTest, WindowOpensAtItsDefaultSizeAndKeepsItsMinimum)
{
    fixture.defaults.setValue(QStringLiteral("QuorvaneKit.update.automaticallyChecks"), false);
    auto app = makeApp();
    app->showWindow();
    const QWidget* content = app->window()->centralWidget();
    EXPECT_EQ(content->size(), QSize(HarborliteApp::kDefaultWidth, HarborliteApp::kDefaultHeight));
    EXPECT_EQ(content->minimumSize(), QSize(HarborliteApp::kMinimumWidth, HarborliteApp::kMinimumHeight));
    app->window()->resize(400, 300);
    EXPECT_GE(content->width(), HarborliteApp::kMinimumWidth);
    EXPECT_GE(content->height(), HarborliteApp::kMinimumHeight);
    EXPECT_TRUE(fixture.feed.requests().isEmpty());
}

// A desktop without a tray shows nothing and leaves the user's choice alone.
TEST_F(HarborliteAppTest, TrayItemFollowsThePreferenceWhereATrayExists)
{
    const QString key = QStringLiteral("monitor.showMenuBar");
    fixture.defaults.setValue(key, true);
    {
        auto app = makeApp();
        EXPECT_FALSE(app->tray()->isInserted());
        app->model().settings().setShowMenuBarMonitor(false);
        app->model().settings().setShowMenuBarMonitor(true);
        EXPECT_FALSE(app->tray()->isInserted());
        EXPECT_EQ(fixture.defaults.values().value(key), QJsonValue(true));
        EXPECT_EQ(fixture.defaults.writes().count(key), 3);
    }
    trayAvailable = true;
    auto app = makeApp();
    EXPECT_TRUE(app->tray()->isInserted());
    app->model().settings().setShowMenuBarMonitor(false);
    EXPECT_FALSE(app->tray()->isInserted());
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());

    bool opened = false;
    app->model().settings().setShowMenuBarMonitor(true);
    ASSERT_TRUE(app->tray()->isInserted());
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    QObject::connect(app->tray(), &TrayItem::openWindowRequested, [&] { opened = true; });
    emit app->tray()->icon()->activated(QSystemTrayIcon::Trigger);
    ASSERT_TRUE(app->tray()->isPanelOpen());
    EXPECT_FALSE(opened);
    app->tray()->panel()->openButton()->click();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(app->window()->isVisible());
    EXPECT_FALSE(app->tray()->isPanelOpen());
}

TEST_F(HarborliteAppTest, ApplicationAppearanceFollowsTheTheme)
{
    fixture.defaults.setValue(QStringLiteral("QuorvaneKit.update.automaticallyChecks"), false);
    fixture.defaults.setValue(QStringLiteral("appearance.theme"), QStringLiteral("dark"));
    auto app = makeApp();
    app->showWindow();
    EXPECT_EQ(Palette::applicationAppearance(), Appearance::dark);
    app->model().settings().setTheme(AppTheme::light);
    EXPECT_EQ(Palette::applicationAppearance(), Appearance::light);
    app->model().settings().setTheme(AppTheme::system);
    EXPECT_EQ(Palette::applicationAppearance(), std::nullopt);
}

TEST_F(HarborliteAppTest, ClosingTheWindowQuitsWithoutATrayOrWithTheMonitorOff)
{
    fixture.defaults.setValue(QStringLiteral("QuorvaneKit.update.automaticallyChecks"), false);
    trayAvailable = true;
    auto app = makeApp();
    app->showWindow();
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    app->model().settings().setShowMenuBarMonitor(false);
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    app->model().settings().setShowMenuBarMonitor(true);
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    trayAvailable = false;
    app->tray()->refresh();
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    // The window stayed on screen: nothing else changes.
    EXPECT_TRUE(app->window()->isVisible());
}

// The application must stay reachable: with the window closed and the tray
// gone, the window comes back once the panel is dismissed.
TEST_F(HarborliteAppTest, ATrayGoingAwayWhileTheWindowIsClosedBringsTheWindowBack)
{
    fixture.defaults.setValue(QStringLiteral("QuorvaneKit.update.automaticallyChecks"), false);
    trayAvailable = true;
    auto app = makeApp();
    app->showWindow();
    app->window()->close();
    ASSERT_FALSE(app->window()->isVisible());
    app->tray()->togglePanel();
    ASSERT_TRUE(app->tray()->isPanelOpen());

    trayAvailable = false;
    app->tray()->refresh();
    EXPECT_FALSE(app->tray()->isInserted());
    EXPECT_TRUE(app->tray()->isPanelOpen());
    EXPECT_FALSE(app->window()->isVisible());
    app->tray()->panel()->close();
    EXPECT_TRUE(app->window()->isVisible());
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
}
