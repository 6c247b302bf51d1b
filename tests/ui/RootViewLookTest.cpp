#include "ui/shell/RootView.h"

#include "WindowFixture.h"
#include "support/ImageDifference.h"
#include "ui/theme/Motion.h"
#include "ui/updates/UpdateSheet.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace harborlite;

namespace {

// Renders the window's content for a person to look at: every route in both
// appearances, the update banner and access card, the smallest window, the
// transient banner and the update sheet's states. Files go to window/ beside
// the test executable.
class RootViewLookTest : public testing::Test {
protected:
    test::WindowFixture fixture;
    QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/window");
    std::unique_ptr<RootView> root;

    RootViewLookTest()
    {
        QDir().mkpath(folder);
        // Pictures show where things come to rest.
        Motion::setReduceMotion(true);
        fixture.snapshot.diskTotal = 500'000'000'000;
        fixture.snapshot.diskFree = 180'000'000'000;
        fixture.snapshot.cpuUsage = 0.23;
        fixture.defaults.setValue(QStringLiteral("QuorvaneKit.update.automaticallyChecks"), false);
    }

    ~RootViewLookTest() override { Motion::setReduceMotion(std::nullopt); }

    void open(AppTheme theme, QSize size = {1180, 780})
    {
        if (!fixture.model) {
            fixture.makeModel();
        }
        fixture.model->settings().setTheme(theme);
        RootView::Setup setup;
        setup.services = {[](const QStringList&) {}, [](const QString&) { return QIcon(); }, {}};
        setup.bannerWait = [](QObject*, std::function<void()>) {};
        root = std::make_unique<RootView>(*fixture.model, setup);
        root->resize(size);
        root->show();
        test::waitFor([&] { return *fixture.samples >= 1 && *fixture.probes >= 1; });
        fixture.runner->waitForDone();
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            test::WindowFixture::settle();
        }
    }

    // The picture written, as it was read back.
    QImage save(QWidget* widget, const QString& name)
    {
        settle();
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        EXPECT_TRUE(widget->grab().save(file)) << file.toStdString();
        const QImage written(file);
        EXPECT_FALSE(written.isNull());
        return written;
    }
};

QString themeName(AppTheme theme)
{
    return theme == AppTheme::dark ? QStringLiteral("dark") : QStringLiteral("light");
}

} // namespace

TEST_F(RootViewLookTest, EveryRouteInBothAppearances)
{
    AppModel& model = fixture.makeModel();
    fixture.script.setItemSize(1'400'000'000);
    for (ScanCategory category : {ScanCategory::trash, ScanCategory::largeAndOld, ScanCategory::malware}) {
        model.scan(category);
    }
    test::waitFor([&] { return model.results().size() == 3; });
    std::map<std::pair<AppTheme, Route>, QImage> pictures;
    for (AppTheme theme : {AppTheme::light, AppTheme::dark}) {
        open(theme);
        for (Route route : Routes::allCases) {
            fixture.model->setRoute(route);
            pictures[{theme, route}] =
                save(root.get(), QStringLiteral("route-") + rawValue(route) + QLatin1Char('-') + themeName(theme));
        }
        root.reset();
    }
    // Every route shows a screen of its own, and each appearance its own colours.
    for (const auto& [shown, picture] : pictures) {
        for (const auto& [other, otherPicture] : pictures) {
            if (shown < other && (shown.first == other.first || shown.second == other.second)) {
                EXPECT_GT(test::differenceOf(picture, otherPicture).largest, 40)
                    << rawValue(shown.second).toStdString() << " " << themeName(shown.first).toStdString() << " and "
                    << rawValue(other.second).toStdString() << " " << themeName(other.first).toStdString();
            }
        }
    }
}

TEST_F(RootViewLookTest, BannersCardAndTheSmallestWindow)
{
    fixture.access->store(false);
    fixture.makeModel();
    fixture.makeAvailable({QStringLiteral("Scans finish in half the time on large home folders"),
                           QStringLiteral("The disk map remembers where you were")},
                          QStringLiteral("March 1, 2026"));
    for (AppTheme theme : {AppTheme::light, AppTheme::dark}) {
        open(theme);
        fixture.model->setBanner(AppModel::Banner{QUuid::createUuid(), QStringLiteral("Cleanup complete"),
                                                  QStringLiteral("1.2 GB reclaimed from 48 item(s)."), false});
        save(root.get(), QStringLiteral("extras-") + themeName(theme));
        root->resize(1000, 680);
        save(root.get(), QStringLiteral("minimum-") + themeName(theme));
        fixture.model->setBanner(
            AppModel::Banner{QUuid::createUuid(), QStringLiteral("Could not change startup item"),
                             QString(QStringLiteral("The item could not be switched. ")).repeated(6), true});
        save(root.get(), QStringLiteral("error-banner-") + themeName(theme));
        fixture.model->setBanner(std::nullopt);
        root.reset();
    }
}

TEST_F(RootViewLookTest, UpdateSheetStates)
{
    fixture.makeModel();
    for (AppTheme theme : {AppTheme::light, AppTheme::dark}) {
        open(theme);
        fixture.model->setShowUpdateSheet(true);
        settle();
        ASSERT_NE(root->updateSheet(), nullptr);
        save(root->updateSheet(), QStringLiteral("sheet-uptodate-") + themeName(theme));
        fixture.serve({404, "The feed is not there."});
        fixture.checkNow();
        save(root->updateSheet(), QStringLiteral("sheet-failed-") + themeName(theme));
        fixture.makeAvailable({QStringLiteral("Scans finish in half the time on large home folders"),
                               QStringLiteral("The disk map remembers where you were")},
                              QStringLiteral("March 1, 2026"));
        save(root->updateSheet(), QStringLiteral("sheet-available-") + themeName(theme));
        fixture.model->updates().remindLater();
        fixture.model->setShowUpdateSheet(false);
        root.reset();
    }
}
