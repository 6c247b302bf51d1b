#include "ui/applications/ApplicationsView.h"
#include "ToolModel.h"
#include "support/EventWait.h"
#include "support/QtPrinters.h"
#include "ui/applications/AppListModel.h"
#include "ui/applications/UninstallPane.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PopUpPicker.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/results/ItemRow.h"

#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::ToolModel;

namespace {

InstalledApp app(const QString& name, const QString& id, qint64 size)
{
    InstalledApp made;
    made.name = name;
    made.bundleID = id;
    made.url = QStringLiteral("/opt/") + name;
    made.version = QStringLiteral("1.0");
    made.size = size;
    made.kind = InstalledApp::Kind::appImage;
    return made;
}

ScanItem leftover(const QString& name, qint64 size)
{
    ScanItem item;
    item.url = QStringLiteral("/home/me/.config/") + name;
    item.displayName = name;
    item.size = size;
    return item;
}

struct Applications {
    ToolModel tools;
    std::unique_ptr<ApplicationsView> view;

    Applications()
    {
        tools.setApps(
            {app("Alpha", "org.alpha", 3000000), app("Beta", "org.beta", 9000000), app("Gamma", "com.gamma", 0)});
        tools.setLeftovers("org.alpha", {leftover("alpha.conf", 1000000), leftover("alpha-cache", 2000000)});
        open();
    }

    void open()
    {
        view = std::make_unique<ApplicationsView>(tools.tools(), tools.scans(), tools.services());
        view->resize(1100, 760);
        view->show();
    }

    void loaded()
    {
        // The list follows the loaded applications on its own turn of the loop.
        test::waitFor([&] {
            return !tools.tools().isLoadingApps() && view->rows()->apps().size() == tools.tools().apps().size();
        });
        test::settleEvents();
    }

    QStringList rows() const
    {
        QStringList names;
        for (const InstalledApp& a : view->rows()->apps()) {
            names << a.name;
        }
        return names;
    }

    void click(const QString& name)
    {
        const QList<InstalledApp>& apps = view->rows()->apps();
        for (int row = 0; row < apps.size(); ++row) {
            if (apps.at(row).name == name) {
                const QRect rect = view->list()->visualRect(view->rows()->index(row));
                QTest::mouseClick(view->list()->viewport(), Qt::LeftButton, {}, rect.center());
                return;
            }
        }
        ADD_FAILURE() << "no row " << name.toStdString();
    }

    void waitPlanned()
    {
        test::waitFor([&] { return !view->isPlanning(); });
    }

    QString barTitle() const
    {
        PrimaryActionBar* bar = view->pane()->actionBar();
        return bar ? bar->titleLabel()->text() : QString();
    }
};

} // namespace

TEST(ApplicationsView, FirstVisitLoadsTheListOnce)
{
    Applications a;
    a.tools.hold("apps");
    a.view.reset();
    a.open();
    EXPECT_TRUE(a.tools.tools().isLoadingApps());
    EXPECT_EQ(a.view->header()->subtitleLabel()->text(), QStringLiteral("0 installed"));
    EXPECT_FALSE(a.view->loadingRow()->isHidden());
    // Coming back while it loads starts no second load.
    a.view.reset();
    a.open();
    a.tools.release("apps");
    a.loaded();
    EXPECT_EQ(a.tools.appLoads(), 1);
    EXPECT_EQ(a.view->header()->subtitleLabel()->text(), QStringLiteral("3 installed"));
    EXPECT_TRUE(a.view->loadingRow()->isHidden());
    EXPECT_EQ(a.rows(), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(a.view->placeholder()->titleLabel()->text(), QStringLiteral("Select an application"));
    // A loaded list is not loaded again; the screen's state starts afresh.
    a.view->setQuery("Be");
    a.view.reset();
    a.open();
    test::settleEvents();
    EXPECT_EQ(a.tools.appLoads(), 1);
    EXPECT_EQ(a.view->query(), QString());
    EXPECT_EQ(a.rows().size(), 3);
}

TEST(ApplicationsView, SearchAndSortKeepTheSelection)
{
    Applications a;
    a.loaded();
    a.click("Alpha");
    a.waitPlanned();
    QTest::keyClicks(a.view->searchField(), "GAM");
    EXPECT_EQ(a.rows(), QStringList{"Gamma"});
    EXPECT_EQ(a.view->selection()->bundleID, QStringLiteral("org.alpha"));
    EXPECT_FALSE(a.view->rows()->index(0).data(AppListModel::IsSelectedRole).toBool());
    a.view->searchField()->clear();
    EXPECT_TRUE(a.view->rows()->index(0).data(AppListModel::IsSelectedRole).toBool());
    a.view->sortPicker()->setCurrentIndex(1);
    emit a.view->sortPicker()->activated(1);
    EXPECT_EQ(a.rows(), (QStringList{"Beta", "Alpha", "Gamma"}));
    EXPECT_EQ(a.view->selection()->bundleID, QStringLiteral("org.alpha"));
    EXPECT_TRUE(a.view->plan().has_value());
}

// A then B before A's plan arrives: A's plan is dropped and the planning row
// stays until B's.
TEST(ApplicationsView, OnlyThePlanOfTheSelectedApplicationIsApplied)
{
    Applications a;
    a.loaded();
    a.tools.hold("plan:org.alpha");
    a.tools.hold("plan:org.beta");
    a.click("Alpha");
    EXPECT_TRUE(a.view->isPlanning());
    EXPECT_FALSE(a.view->pane()->planningRow()->isHidden());
    EXPECT_EQ(a.view->pane()->actionBar(), nullptr);
    a.click("Beta");
    a.tools.release("plan:org.alpha");
    test::waitFor([&] { return a.tools.plansMade() == 1; });
    test::settleEvents();
    EXPECT_TRUE(a.view->isPlanning());
    EXPECT_FALSE(a.view->plan().has_value());
    a.tools.release("plan:org.beta");
    a.waitPlanned();
    EXPECT_EQ(a.view->plan()->app.bundleID, QStringLiteral("org.beta"));
    EXPECT_TRUE(a.view->pane()->planningRow()->isHidden());
    EXPECT_EQ(a.barTitle(), QStringLiteral("Removes 9 MB"));
}

TEST(ApplicationsView, TogglesMoveTheTotalAndAClickAgainPlansAgain)
{
    Applications a;
    a.loaded();
    a.click("Alpha");
    a.waitPlanned();
    EXPECT_EQ(a.barTitle(), QStringLiteral("Removes 6 MB"));
    ItemRow* row = a.view->pane()->leftoverRows().first();
    QTest::mouseClick(row, Qt::LeftButton, {}, row->parts().box.center());
    EXPECT_EQ(a.barTitle(), QStringLiteral("Removes 5 MB"));
    EXPECT_EQ(a.view->pane()->actionBar()->detailLabel()->text(), QStringLiteral("The app and 1 support item(s)."));
    a.click("Alpha");
    a.waitPlanned();
    EXPECT_EQ(a.barTitle(), QStringLiteral("Removes 6 MB"));
}

TEST(ApplicationsView, UninstallRunsOnceReloadsAndPostsItsBanner)
{
    Applications a;
    a.loaded();
    a.click("Alpha");
    a.waitPlanned();
    a.tools.hold("uninstall");
    CleanupReport report;
    report.reclaimed = 6000000;
    report.removed = 3;
    a.tools.uninstallReport(report);
    a.tools.scans().setCleanupMode(Remover::Mode::permanent);
    GlassCompatButton* button = a.view->pane()->actionBar()->button();
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_TRUE(a.view->isRemoving());
    // The mode is fixed at the click; a second click is refused.
    a.tools.scans().setCleanupMode(Remover::Mode::trash);
    a.view->uninstall(*a.view->plan());
    // Another selection meanwhile is planned with a busy bar, and cleared at the end.
    a.click("Beta");
    a.waitPlanned();
    EXPECT_FALSE(a.view->pane()->actionBar()->button()->isEnabled());
    a.tools.release("uninstall");
    test::waitFor([&] { return a.tools.model().banner().has_value(); });
    test::waitFor([&] { return a.tools.appLoads() == 2 && !a.tools.tools().isLoadingApps(); });
    ASSERT_EQ(a.tools.uninstalls().size(), 1);
    EXPECT_EQ(a.tools.uninstalls().first().mode, Remover::Mode::permanent);
    EXPECT_EQ(a.tools.uninstalls().first().plan.app.bundleID, QStringLiteral("org.alpha"));
    EXPECT_FALSE(a.view->isRemoving());
    EXPECT_FALSE(a.view->selection().has_value());
    EXPECT_FALSE(a.view->plan().has_value());
    test::settleEvents();
    EXPECT_EQ(a.view->placeholder()->isVisible(), true);
    const AppModel::Banner banner = *a.tools.model().banner();
    EXPECT_EQ(banner.title, QStringLiteral("Alpha removed"));
    EXPECT_EQ(banner.message, QStringLiteral("6 MB reclaimed from 3 item(s)."));
    EXPECT_FALSE(banner.isError);
}

TEST(ApplicationsView, AnUninstallThatOutlivesTheScreenStillReloadsAndPostsItsBanner)
{
    Applications a;
    a.loaded();
    a.click("Alpha");
    a.waitPlanned();
    a.tools.hold("uninstall");
    CleanupReport report;
    report.failures = {{"/opt/Alpha", "flatpak: not installed"}, {"/x", "y"}};
    a.tools.uninstallReport(report);
    GlassCompatButton* button = a.view->pane()->actionBar()->button();
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    a.view.reset();
    a.tools.release("uninstall");
    test::waitFor([&] { return a.tools.model().banner().has_value(); });
    test::waitFor([&] { return a.tools.appLoads() == 2 && !a.tools.tools().isLoadingApps(); });
    const AppModel::Banner banner = *a.tools.model().banner();
    EXPECT_EQ(banner.title, QStringLiteral("Removed with skips"));
    EXPECT_EQ(banner.message, QStringLiteral("0 KB reclaimed from 0 item(s). 2 item(s) were protected."));
    EXPECT_TRUE(banner.isError);
}

// The run belongs to the tools: leaving the screen and coming back during an
// uninstall shows it busy, and the same application is not uninstalled twice.
TEST(ApplicationsView, AScreenMadeAnewDuringAnUninstallShowsItBusyAndRunsNoSecond)
{
    Applications a;
    a.loaded();
    a.click("Alpha");
    a.waitPlanned();
    a.tools.hold("uninstall");
    GlassCompatButton* button = a.view->pane()->actionBar()->button();
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    a.view.reset();
    a.open();
    a.loaded();
    EXPECT_TRUE(a.view->isRemoving());
    a.click("Alpha");
    a.waitPlanned();
    ASSERT_NE(a.view->pane()->actionBar(), nullptr);
    EXPECT_FALSE(a.view->pane()->actionBar()->button()->isEnabled());
    a.view->uninstall(*a.view->plan());
    EXPECT_FALSE(a.tools.tools().uninstall(*a.view->plan(), Remover::Mode::trash, [](const CleanupReport&) {}));
    a.tools.release("uninstall");
    test::waitFor([&] { return a.tools.model().banner().has_value(); });
    test::settleEvents();
    EXPECT_EQ(a.tools.uninstalls().size(), 1);
    EXPECT_FALSE(a.view->isRemoving());
    EXPECT_FALSE(a.view->selection().has_value());
    EXPECT_TRUE(a.view->placeholder()->isVisible());
}

// A Debian package's application is listed and planned, but Uninstall stays
// disabled.
TEST(ApplicationsView, APackagedApplicationIsProtected)
{
    Applications a;
    InstalledApp vim = app("Vim", "vim", 380000);
    vim.kind = InstalledApp::Kind::debianPackage;
    vim.isSystemScope = true;
    a.tools.setApps({vim});
    a.view.reset();
    a.tools.tools().loadApps();
    a.open();
    a.loaded();
    a.click("Vim");
    a.waitPlanned();
    ASSERT_NE(a.view->pane()->actionBar(), nullptr);
    EXPECT_FALSE(a.view->pane()->actionBar()->button()->isEnabled());
    EXPECT_EQ(a.view->pane()->actionBar()->detailLabel()->text(),
              QStringLiteral("Installed by a package; remove it with the package manager."));
    a.view->uninstall(*a.view->plan());
    test::settleEvents();
    EXPECT_FALSE(a.view->isRemoving());
    EXPECT_TRUE(a.tools.uninstalls().isEmpty());
}

// The Uninstall bar's surface is as wide as the cards above it, its shadow
// drawn outside it.
TEST(ApplicationsView, TheUninstallBarLinesUpWithTheCards)
{
    Applications a;
    a.loaded();
    a.click("Alpha");
    a.waitPlanned();
    test::settleEvents();
    const PrimaryActionBar* bar = a.view->pane()->actionBar();
    ASSERT_NE(bar, nullptr);
    const auto* card = a.view->pane()->findChild<QWidget*>(QStringLiteral("leftoversCard"));
    ASSERT_NE(card, nullptr);
    const auto area = [&](const QWidget* widget) {
        return QRect(widget->mapTo(a.view.get(), QPoint()), widget->size());
    };
    const QRect surface = bar->surfaceRect().toRect().translated(area(bar).topLeft());
    EXPECT_TRUE(bar->isShadowDrawnOutside());
    EXPECT_EQ(surface.left(), area(card).left());
    EXPECT_EQ(surface.right(), area(card).right());
}
