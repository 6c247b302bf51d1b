#include "ui/applications/UninstallPane.h"
#include "model/BackgroundRunner.h"
#include "support/EventWait.h"
#include "support/QtPrinters.h"
#include "ui/applications/AppIconCache.h"
#include "ui/applications/AppListModel.h"
#include "ui/applications/ApplicationsPresentation.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/results/ItemRow.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

using namespace harborlite;

namespace {

ScreenServices quietServices()
{
    return {[](const QStringList&) {}, [](const QString&) { return QIcon(); }};
}

InstalledApp tool()
{
    InstalledApp app;
    app.bundleID = QStringLiteral("org.example.Tool");
    app.name = QStringLiteral("Tool");
    app.url = QStringLiteral("/opt/Tool.AppImage");
    app.version = QStringLiteral("1.2");
    app.size = 2000000;
    return app;
}

ScanItem item(const QString& name, qint64 size, bool selected)
{
    ScanItem made;
    made.url = QStringLiteral("/home/me/.config/") + name;
    made.displayName = name;
    made.origin = QStringLiteral("~/.config");
    made.size = size;
    made.isSelected = selected;
    return made;
}

struct Pane {
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(2);
    AppIconCache icons{quietServices(), runner};
    UninstallPane pane{quietServices(), icons};

    Pane() { pane.resize(600, 800); }
    ~Pane() { runner->waitForDone(); }
};

} // namespace

TEST(UninstallPane, PlanningShowsTheRowAndNoBar)
{
    Pane p;
    p.pane.present(tool(), std::nullopt, false, true, false);
    EXPECT_FALSE(p.pane.planningRow()->isHidden());
    EXPECT_TRUE(p.pane.leftoversCard()->isHidden());
    EXPECT_TRUE(p.pane.residueCard()->isHidden());
    EXPECT_EQ(p.pane.actionBar(), nullptr);
    EXPECT_EQ(p.pane.nameLabel()->text(), QStringLiteral("Tool"));
    EXPECT_EQ(p.pane.detailLabel()->text(), QStringLiteral("Version 1.2 \u00B7 org.example.Tool"));
    EXPECT_EQ(p.pane.pills()->findChildren<StatusPill*>().size(), 1);

    p.pane.present(tool(), std::nullopt, false, false, false);
    EXPECT_TRUE(p.pane.planningRow()->isHidden());
    EXPECT_TRUE(p.pane.leftoversCard()->isHidden());
    EXPECT_EQ(p.pane.actionBar(), nullptr);
}

TEST(UninstallPane, APlanShowsItsCardsAndTheBarFollowsToggles)
{
    Pane p;
    UninstallPlan plan;
    plan.app = tool();
    plan.leftovers = {item("a", 300000, true), item("b", 100000, true)};
    p.pane.present(plan.app, plan, false, false, false);
    EXPECT_TRUE(p.pane.planningRow()->isHidden());
    EXPECT_FALSE(p.pane.leftoversCard()->isHidden());
    EXPECT_TRUE(p.pane.residueCard()->isHidden());
    EXPECT_TRUE(p.pane.leftoversEmpty()->isHidden());
    EXPECT_EQ(p.pane.leftoversTotal()->text(), QStringLiteral("400 KB"));
    ASSERT_EQ(p.pane.leftoverRows().size(), 2);
    ASSERT_NE(p.pane.actionBar(), nullptr);
    EXPECT_EQ(p.pane.actionBar()->titleLabel()->text(), QStringLiteral("Removes 2.4 MB"));
    EXPECT_EQ(p.pane.actionBar()->detailLabel()->text(), QStringLiteral("The app and 2 support item(s)."));

    QSignalSpy toggled(&p.pane, &UninstallPane::leftoverToggled);
    ItemRow* first = p.pane.leftoverRows().first();
    QTest::mouseClick(first, Qt::LeftButton, {}, first->parts().box.center());
    ASSERT_EQ(toggled.size(), 1);
    EXPECT_EQ(toggled.at(0).at(0).toUuid(), plan.leftovers.at(0).id);

    // The screen flips the item and hands the plan back: the same rows show the change.
    plan.leftovers[0].isSelected = false;
    p.pane.present(plan.app, plan, false, false, false);
    EXPECT_EQ(p.pane.leftoverRows().first(), first);
    EXPECT_FALSE(first->item().isSelected);
    EXPECT_EQ(p.pane.actionBar()->titleLabel()->text(), QStringLiteral("Removes 2.1 MB"));
    EXPECT_EQ(p.pane.actionBar()->detailLabel()->text(), QStringLiteral("The app and 1 support item(s)."));

    QSignalSpy uninstall(&p.pane, &UninstallPane::uninstallRequested);
    GlassCompatButton* button = p.pane.actionBar()->button();
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(uninstall.size(), 1);
}

TEST(UninstallPane, ResidueCardReceiptsEmptyLeftoversAndProtection)
{
    Pane p;
    UninstallPlan plan;
    plan.app = tool();
    plan.app.isSystemScope = true;
    plan.app.size = 0;
    plan.installedResidue = {item("lib", 5000, false)};
    p.pane.present(plan.app, plan, true, false, true);
    EXPECT_FALSE(p.pane.leftoversEmpty()->isHidden());
    EXPECT_EQ(p.pane.leftoversEmpty()->text(), QStringLiteral("This app keeps everything inside its own bundle."));
    EXPECT_FALSE(p.pane.residueCard()->isHidden());
    EXPECT_EQ(p.pane.residueTotal()->text(), QStringLiteral("5 KB"));
    EXPECT_TRUE(p.pane.receiptLine()->isHidden());
    QList<StatusPill*> pills = p.pane.pills()->findChildren<StatusPill*>();
    ASSERT_EQ(pills.size(), 3);
    EXPECT_EQ(p.pane.actionBar()->detailLabel()->text(),
              QStringLiteral("This is Apple system software and cannot be removed here."));
    EXPECT_FALSE(p.pane.actionBar()->button()->isEnabled());

    QSignalSpy toggled(&p.pane, &UninstallPane::residueToggled);
    ItemRow* row = p.pane.residueRows().first();
    QTest::mouseClick(row, Qt::LeftButton, {}, row->parts().box.center());
    EXPECT_EQ(toggled.size(), 1);

    plan.receipts = {PackageReceipt{QStringLiteral("org.example.pkg"), {}, std::nullopt, {}}};
    p.pane.present(plan.app, plan, false, false, false);
    EXPECT_FALSE(p.pane.receiptLine()->isHidden());
    EXPECT_EQ(
        p.pane.receiptLine()->text(),
        QStringLiteral("Removing these also forgets 1 installer receipt, which needs an administrator password."));
    plan.installedResidue.clear();
    p.pane.present(plan.app, plan, false, false, false);
    EXPECT_TRUE(p.pane.residueCard()->isHidden());
}

// A Debian package's application is protected for its own reason: the pane
// says so, and its empty leftovers card says nothing of a bundle. Another
// application shown next gets the bundle's texts back.
TEST(UninstallPane, APackagedApplicationSaysThePackageManagerRemovesIt)
{
    Pane p;
    UninstallPlan plan;
    plan.app = tool();
    plan.app.kind = InstalledApp::Kind::debianPackage;
    plan.app.url = QStringLiteral("/usr/share/applications/org.example.Tool.desktop");
    plan.app.isSystemScope = true;
    ASSERT_TRUE(ApplicationsPresentation::isProtected(plan.app));
    p.pane.present(plan.app, plan, ApplicationsPresentation::isProtected(plan.app), false, false);
    ASSERT_NE(p.pane.actionBar(), nullptr);
    EXPECT_EQ(p.pane.actionBar()->detailLabel()->text(),
              QStringLiteral("Installed by a package; remove it with the package manager."));
    EXPECT_FALSE(p.pane.actionBar()->button()->isEnabled());
    EXPECT_FALSE(p.pane.leftoversEmpty()->isHidden());
    EXPECT_EQ(p.pane.leftoversEmpty()->text(), QStringLiteral("No support files are listed for a packaged app."));

    UninstallPlan bundle;
    bundle.app = tool();
    bundle.app.isAppleSoftware = true;
    p.pane.present(bundle.app, bundle, ApplicationsPresentation::isProtected(bundle.app), false, false);
    EXPECT_EQ(p.pane.actionBar()->detailLabel()->text(),
              QStringLiteral("This is Apple system software and cannot be removed here."));
    EXPECT_EQ(p.pane.leftoversEmpty()->text(), QStringLiteral("This app keeps everything inside its own bundle."));
}

// An icon named by a desktop entry loads on a worker; the file's icon stands
// in until it arrives, and a name that finds nothing is asked for once.
TEST(AppIconCache, NamedIconsLoadOnWorkersOnce)
{
    auto runner = std::make_shared<BackgroundRunner>(2);
    std::atomic<int> loads = 0;
    ScreenServices services = quietServices();
    services.iconForFile = [](const QString&) {
        QPixmap stand(8, 8);
        stand.fill(Qt::blue);
        return QIcon(stand);
    };
    services.applicationIcon = [&loads](const QString& name, int side) {
        ++loads;
        if (name == QLatin1String("missing")) {
            return QImage();
        }
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::red);
        return image;
    };
    AppIconCache cache(services, runner);
    QSignalSpy loaded(&cache, &AppIconCache::iconLoaded);
    InstalledApp app = tool();
    app.iconName = QStringLiteral("tool");
    EXPECT_EQ(cache.icon(app, 26, 1).toImage().pixelColor(4, 4), QColor(Qt::blue));
    cache.icon(app, 26, 1);
    test::waitFor([&] { return cache.pendingCount() == 0; });
    EXPECT_EQ(loaded.size(), 1);
    const QPixmap icon = cache.icon(app, 26, 1);
    EXPECT_EQ(icon.size(), QSize(26, 26));
    EXPECT_EQ(icon.toImage().pixelColor(4, 4), QColor(Qt::red));

    app.iconName = QStringLiteral("missing");
    cache.icon(app, 26, 1);
    test::waitFor([&] { return cache.pendingCount() == 0; });
    EXPECT_EQ(cache.icon(app, 26, 1).toImage().pixelColor(4, 4), QColor(Qt::blue));
    EXPECT_EQ(loads.load(), 2);
    app.iconName.clear();
    EXPECT_EQ(cache.icon(app, 26, 1).toImage().pixelColor(4, 4), QColor(Qt::blue));
    EXPECT_EQ(loads.load(), 2);
    runner->waitForDone();
}

// Icons are kept per device pixel ratio: one logical size on a screen of
// ratio 2 is twice the pixels, and 52 pixels serve 26 points at ratio 2 but
// 52 at ratio 1. The file's icon that stands in follows the ratio too.
TEST(AppIconCache, EachRatioHasItsOwnIcon)
{
    auto runner = std::make_shared<BackgroundRunner>(2);
    ScreenServices services = quietServices();
    services.iconForFile = [](const QString&) {
        QPixmap stand(64, 64);
        stand.fill(Qt::blue);
        return QIcon(stand);
    };
    services.applicationIcon = [](const QString&, int side) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::red);
        return image;
    };
    AppIconCache cache(services, runner);
    InstalledApp app = tool();
    const auto logicalSize = [](const QPixmap& pixmap) { return pixmap.deviceIndependentSize().toSize(); };
    EXPECT_EQ(logicalSize(cache.icon(app, 26, 1)), QSize(26, 26));
    const QPixmap standInAtTwo = cache.icon(app, 26, 2);
    EXPECT_EQ(standInAtTwo.size(), QSize(52, 52));
    EXPECT_EQ(logicalSize(standInAtTwo), QSize(26, 26));

    app.iconName = QStringLiteral("tool");
    struct Case {
        int side;
        qreal ratio;
    };
    for (const Case c : {Case{52, 1}, Case{26, 2}, Case{26, 1}}) {
        SCOPED_TRACE(c.side * 10 + int(c.ratio));
        cache.icon(app, c.side, c.ratio);
        test::waitFor([&] { return cache.pendingCount() == 0; });
        const QPixmap icon = cache.icon(app, c.side, c.ratio);
        EXPECT_EQ(icon.toImage().pixelColor(4, 4), QColor(Qt::red));
        EXPECT_EQ(icon.size(), QSize(int(c.side * c.ratio), int(c.side * c.ratio)));
        EXPECT_EQ(logicalSize(icon), QSize(c.side, c.side));
    }
    runner->waitForDone();
}

TEST(AppListModel, RowsAndTheSelectionByIdentifier)
{
    AppListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    InstalledApp a = tool();
    InstalledApp b = tool();
    b.bundleID = QStringLiteral("org.example.Other");
    b.name = QStringLiteral("Other");
    model.setApps({a, b});
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1).data(Qt::DisplayRole).toString(), QStringLiteral("Other"));
    EXPECT_FALSE(model.index(0).data(AppListModel::IsSelectedRole).toBool());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setSelectedBundleID(b.bundleID);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_TRUE(model.index(1).data(AppListModel::IsSelectedRole).toBool());
    model.setSelectedBundleID(b.bundleID);
    EXPECT_EQ(changed.size(), 1);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setApps({a, b});
    EXPECT_TRUE(reset.isEmpty());
    model.setApps({b});
    EXPECT_EQ(reset.size(), 1);
    EXPECT_TRUE(model.index(0).data(AppListModel::IsSelectedRole).toBool());
    EXPECT_EQ(model.app(model.index(0))->bundleID, b.bundleID);
    EXPECT_EQ(model.app(QModelIndex()), std::nullopt);
}
