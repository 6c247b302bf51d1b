#include "model/AppModelSetup.h"
#include "model/FakeEngine.h"
#include "paint/Palette.h"
#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "platform/XdgConfigHome.h"
#include "platform/XdgDataHome.h"
#include "shared/MemoryDefaults.h"
#include "support/EventWait.h"
#include "support/FixtureTree.h"
#include "support/Mounts.h"
#include "ui/cleaning/CategorySummaryCard.h"
#include "ui/cleaning/SmartScanView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ScreenServices.h"
#include "ui/theme/Symbols.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::waitFor;

namespace {

// A home with something for every smart-scan category, laid out as the
// scanners expect it on this system: the Library folders beside the Linux
// caches, Trash and browser profiles.
void fillHome(FixtureTree& tree)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    tree.file("home/Library/Caches/com.example.Editor/Cache.db", 24'000);
    tree.file("home/.cache/thumbnails/large/3f2a.png", 6'000);
    tree.file("home/.cache/google-chrome/Default/Cache/Cache_Data/data_0", 42'000);
    tree.file("home/Library/Logs/Editor/editor.log", 5'200);
    tree.file("home/Library/Saved Application State/com.example.Editor.savedState/windows.plist", 900);
    tree.file("home/.npm/_cacache/content-v2/blob", 15'000);

    tree.file("home/.local/share/Trash/files/old-report.pdf", 33'000);
    tree.file("home/.local/share/Trash/info/old-report.pdf.trashinfo",
              QByteArray("[Trash Info]\nPath=") + QFile::encodeName(tree.path("home/Documents/old-report.pdf"))
                  + "\nDeletionDate=2026-01-02T03:04:05\n");

    tree.file("home/Library/Mail/V10/4C1A-ACCOUNT/INBOX.mbox/Messages/Attachments/12/invoice.pdf", 14'000);
    tree.file("home/Library/Application Support/com.retiredvendor.photoframe/library.db", 26'000);
    tree.file("home/.config/google-chrome/Default/History", 9'600);
    tree.file("home/.mozilla/firefox/k3x9.default-release/places.sqlite", 52'000);
    tree.file("home/Library/LaunchAgents/com.pcvark.agent.plist",
              QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Label</key>"
                         "<string>com.pcvark.agent</string></dict></plist>"));
    tree.file("home/Downloads/photoframe-2.1.deb", 5'200'000);
    tree.setTimes("home/Downloads/photoframe-2.1.deb", now.addDays(-30), now.addDays(-30));
    tree.file("home/Music/Music/Media/Downloads/episode-12.m4a", 10'400'000);
    // A file outside the home that nothing may touch.
    tree.file("elsewhere/keep.txt", 100);
}

// Selected items of the smart-scan categories, in the order cleaning gets them.
QStringList selectedLocations(const AppModel& model)
{
    QStringList locations;
    for (ScanCategory category : ScanCategories::smartScan) {
        if (const std::optional<CategoryResult> found = model.result(category)) {
            for (const ScanGroup& group : found->groups) {
                for (const ScanItem& item : group.items) {
                    if (item.isSelected) {
                        locations.append(item.url);
                    }
                }
            }
        }
    }
    return locations;
}

struct TrashInfo {
    QString path;
    QString deletionDate;
};

// The info files of a trash can by the original location they name.
std::map<QString, TrashInfo> trashInfos(const QString& can)
{
    std::map<QString, TrashInfo> infos;
    QDirIterator it(can + QStringLiteral("/info"), {QStringLiteral("*.trashinfo")}, QDir::Files);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        TrashInfo info;
        if (lines.value(0) != QStringLiteral("[Trash Info]")) {
            continue;
        }
        for (const QString& line : lines) {
            if (line.startsWith(QStringLiteral("Path="))) {
                info.path = QUrl::fromPercentEncoding(line.mid(5).toUtf8());
            } else if (line.startsWith(QStringLiteral("DeletionDate="))) {
                info.deletionDate = line.mid(13);
            }
        }
        infos[QFileInfo(file.fileName()).completeBaseName()] = info;
    }
    return infos;
}

// The window's own background, as the main window paints it.
class Canvas : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Palette::canvas().resolve(Palette::appearance(this)));
    }
};

class Shots {
public:
    explicit Shots(QWidget& window)
        : window_(window)
    {
        folder_ = QCoreApplication::applicationDirPath() + QStringLiteral("/smart-scan-road");
        QDir().mkpath(folder_);
    }
    void take(const QString& name)
    {
        for (const auto& [appearance, suffix] : {std::pair{Appearance::light, QStringLiteral("light")},
                                                 std::pair{Appearance::dark, QStringLiteral("dark")}}) {
            Palette::setOwnAppearance(&window_, appearance);
            window_.update();
            QCoreApplication::sendPostedEvents();
            EXPECT_TRUE(window_.grab().save(folder_ + QLatin1Char('/') + name + QLatin1Char('-') + suffix
                                            + QStringLiteral(".png")));
        }
    }

private:
    QWidget& window_;
    QString folder_;
};

} // namespace

// The whole road on real files: scan a filled home with the machine's own
// scanners, then clean in Trash mode and find every item in the home's Trash.
TEST(SmartScanRoad, ScanReviewAndCleanIntoTheTrash)
{
    FixtureTree tree;
    fillHome(tree);
    const QString home = tree.path("home");
    const QString can = home + QStringLiteral("/.local/share/Trash");
    platform::Seam<QString>::Override homeSeam(platform::homeFolder(), home);
    platform::Seam<QString>::Override dataSeam(platform::xdgDataHome(), home + QStringLiteral("/.local/share"));
    platform::Seam<QString>::Override configSeam(platform::xdgConfigHome(), home + QStringLiteral("/.config"));
    platform::Seam<QList<platform::MountEntry>>::Override mounts(platform::mountTable(), test::mountsAt({"/"}));

    // The real engine, except that a removal reaching outside the fixture's
    // home is refused whole and reported, so a fault cannot touch the machine.
    QStringList refused;
    ModelEngine engine = ModelEngine::real();
    const auto realRemove = engine.remove;
    engine.remove = [&refused, realRemove, home](const QStringList& locations, bool userSelected, Remover::Mode mode) {
        for (const QString& location : locations) {
            if (!location.startsWith(home + QLatin1Char('/'))) {
                refused.append(location);
            }
        }
        return refused.isEmpty() ? realRemove(locations, userSelected, mode) : CleanupReport{};
    };
    MemoryDefaults defaults;
    AppModel::Setup setup;
    setup.engine = engine;
    setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
    setup.bundleInformation = {};
    setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
    auto runner = std::make_shared<BackgroundRunner>(4);
    setup.runner = runner;
    AppModel model(defaults, setup);
    ASSERT_EQ(model.cleanupMode(), Remover::Mode::trash);

    Symbols::useIconTheme();
    Canvas window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    ScreenServices services{[](const QStringList&) {}, [](const QString&) { return QIcon(); }, {}};
    auto* view = new SmartScanView(
        model.scanSession(), model.monitorFeed(), [&model](Route route) { model.setRoute(route); }, services);
    layout->addWidget(view);
    window.resize(1100, 1000);
    window.show();
    QCoreApplication::sendPostedEvents();
    Shots shots(window);
    shots.take(QStringLiteral("1-idle"));

    auto* scan = view->findChild<GlassCompatButton*>(QStringLiteral("scanButton"));
    ASSERT_NE(scan, nullptr);
    QTest::mouseClick(scan, Qt::LeftButton);
    // The screen's first redraw after the press, before any result is back.
    QCoreApplication::sendPostedEvents(view, QEvent::MetaCall);
    EXPECT_EQ(scan->text(), QStringLiteral("Stop"));
    shots.take(QStringLiteral("2-scanning"));

    waitFor([&] { return !model.isSmartScanning(); });
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(model.smartScanMessage(), QStringLiteral("Scan complete"));
    EXPECT_EQ(scan->text(), QStringLiteral("Scan Again"));

    // Every category found what the home holds for it.
    const auto status = [&](ScanCategory category) {
        auto* card = view->findChild<CategorySummaryCard*>(QStringLiteral("summaryCard_") + rawValue(category));
        return card ? card->currentLook() : SummaryCardLook{};
    };
    for (ScanCategory category : ScanCategories::smartScan) {
        EXPECT_TRUE(status(category).statusText.endsWith(QStringLiteral(" item(s) found")))
            << rawValue(category).toStdString() << ": " << status(category).statusText.toStdString();
    }
    EXPECT_EQ(status(ScanCategory::trash).statusText, QStringLiteral("1 item(s) found"));
    EXPECT_EQ(status(ScanCategory::malware).statusTint, PaletteRole::danger);
    // Leftovers wait for the user's judgement; take them too.
    const CategoryResult leftovers = *model.result(ScanCategory::leftovers);
    model.toggleGroup(leftovers.groups.at(0), ScanCategory::leftovers);
    QCoreApplication::sendPostedEvents();
    PrimaryActionBar* bar = view->actionBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->button()->isEnabled());
    shots.take(QStringLiteral("3-results"));

    const QStringList locations = selectedLocations(model);
    ASSERT_FALSE(locations.isEmpty());
    QTest::mouseClick(bar->button(), Qt::LeftButton);
    waitFor([&] { return model.banner().has_value(); });
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    shots.take(QStringLiteral("4-cleaned"));

    EXPECT_TRUE(refused.isEmpty()) << refused.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(model.lastReport().has_value());
    for (const auto& failure : model.lastReport()->failures) {
        ADD_FAILURE() << failure.url.toStdString() << ": " << failure.reason.toStdString();
    }
    EXPECT_EQ(model.banner()->title, QStringLiteral("Cleanup complete"));
    for (ScanCategory category : ScanCategories::smartScan) {
        EXPECT_FALSE(model.result(category).has_value()) << rawValue(category).toStdString();
    }
    EXPECT_EQ(scan->text(), QStringLiteral("Scan"));
    EXPECT_EQ(view->actionBar(), nullptr);

    // Items from elsewhere now lie in the home's Trash, each with its info
    // file naming where it was; what was already in the Trash is gone with
    // its info file.
    const std::map<QString, TrashInfo> infos = trashInfos(can);
    std::map<QString, QString> trashedFrom;
    for (const auto& [name, info] : infos) {
        trashedFrom[info.path] = name;
    }
    for (const QString& location : locations) {
        EXPECT_FALSE(QFileInfo::exists(location)) << location.toStdString();
        if (location.startsWith(can + QStringLiteral("/files/"))) {
            EXPECT_FALSE(infos.contains(QFileInfo(location).fileName())) << location.toStdString();
            continue;
        }
        const auto found = trashedFrom.find(location);
        ASSERT_NE(found, trashedFrom.end()) << location.toStdString();
        EXPECT_TRUE(QFileInfo::exists(can + QStringLiteral("/files/") + found->second)) << location.toStdString();
        EXPECT_TRUE(QDateTime::fromString(infos.at(found->second).deletionDate, Qt::ISODate).isValid());
    }
    EXPECT_TRUE(QFileInfo::exists(tree.path("elsewhere/keep.txt")));
}

// The script that fills a home for trying the screens by hand gives every
// category something to find.
TEST(SmartScanRoad, FixtureHomeScriptFeedsEveryCategory)
{
    FixtureTree tree;
    const QString home = tree.path("home");
    QProcess script;
    script.start(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../scripts/fixture-home"), {home});
    ASSERT_TRUE(script.waitForFinished(test::kWaitLimitMilliseconds));
    ASSERT_EQ(script.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();

    platform::Seam<QString>::Override homeSeam(platform::homeFolder(), home);
    platform::Seam<QString>::Override dataSeam(platform::xdgDataHome(), home + QStringLiteral("/.local/share"));
    platform::Seam<QString>::Override configSeam(platform::xdgConfigHome(), home + QStringLiteral("/.config"));
    platform::Seam<QList<platform::MountEntry>>::Override mounts(platform::mountTable(), test::mountsAt({"/"}));
    const ModelEngine engine = ModelEngine::real();
    for (ScanCategory category : ScanCategories::allCases) {
        const CategoryResult found = engine.scanner(category)->scan([](const ScanProgress&) {}, [] { return false; });
        int inHome = 0;
        for (const ScanGroup& group : found.groups) {
            for (const ScanItem& item : group.items) {
                inHome += item.url.startsWith(home + QLatin1Char('/')) ? 1 : 0;
            }
        }
        EXPECT_GT(inHome, 0) << rawValue(category).toStdString();
    }
}
