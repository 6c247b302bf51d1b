#include "ui/diskmap/RuvozEzazView.h"

#include "model/AppModelSetup.h"
#include "model/DiskMap.h"
#include "model/FakeEngine.h"
#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "shared/Formatting.h"
#include "shared/MemoryDefaults.h"
#include "support/FixtureTree.h"
#include "ui/ScreenFixtures.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenFrame.h"
#include "ui/diskmap/DiskColumn.h"
#include "ui/diskmap/DiskColumns.h"
#include "ui/diskmap/LegendRow.h"
#include "ui/diskmap/RootMenuButton.h"
#include "ui/diskmap/SelectionBar.h"
#include "ui/diskmap/StorageBar.h"
#include "ui/diskmap/StoragePanel.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <mutex>
#include <sys/sysmacros.h>

using namespace harborlite;
using harborlite::test::waitFor;
namespace P = harborlite::RuvozEzazPresentation;

namespace {

constexpr qint64 GB = 1'000'000'000;

DiskNode node(const QString& url, qint64 size, bool isDirectory, std::vector<DiskNode> children = {})
{
    return {QUuid::createUuid(), url, url.section(QLatin1Char('/'), -1), size, isDirectory, std::move(children)};
}

StorageBreakdown::Volume volume(const QString& role, qint64 used)
{
    return {role.isEmpty() ? QStringLiteral("Other") : role, role, used};
}

bool anyFolder(const QString&)
{
    return true;
}

bool noFolder(const QString&)
{
    return false;
}

} // namespace

// Texts and rules --------------------------------------------------------

TEST(RuvozEzazPresentation, TheRootLabelIsTheLastComponentAndTheMapButtonNeverSubstitutes)
{
    struct Case {
        QString root;
        QString label;
        QString action;
    };
    const Case cases[] = {
        {"/home/u", "u", "Map u"},
        {"/home/u/Music/", "Music", "Map Music"},
        {"/", "/", "Map /"},
        {"", "Macintosh HD", "Map "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(P::rootLabel(c.root), c.label) << c.root.toStdString();
        EXPECT_EQ(P::mapActionTitle(c.root), c.action) << c.root.toStdString();
    }
}

TEST(RuvozEzazPresentation, TheMenuOffersOnlyFoldersThatExistHere)
{
    const auto all = P::rootChoices("/home/u", "/home/u/Library", anyFolder);
    EXPECT_EQ(all,
              (QList<P::RootChoice>{{"Home Folder", "/home/u"},
                                    {"Applications", "/Applications"},
                                    {"Library", "/home/u/Library"},
                                    {"Whole Disk", "/"}}));
    const auto here = P::rootChoices("/home/u", "/home/u/Library",
                                     [](const QString& path) { return path == "/home/u" || path == "/"; });
    EXPECT_EQ(here, (QList<P::RootChoice>{{"Home Folder", "/home/u"}, {"Whole Disk", "/"}}));
    EXPECT_EQ(P::chooseFolderTitle(), QStringLiteral("Choose Folder\u2026"));
}

TEST(RuvozEzazPresentation, MainStateAndBuildButtonFollowTheBuild)
{
    EXPECT_EQ(P::mainState(true, true), P::MainState::building);
    EXPECT_EQ(P::mainState(true, false), P::MainState::building);
    EXPECT_EQ(P::mainState(false, true), P::MainState::mapped);
    EXPECT_EQ(P::mainState(false, false), P::MainState::nothingMapped);
    EXPECT_EQ(P::buildButton(true), (P::BuildButtonLook{"Stop", PaletteRole::danger}));
    EXPECT_EQ(P::buildButton(false), (P::BuildButtonLook{"Rebuild Map", PaletteRole::accent}));
    EXPECT_EQ(P::percentText(0.42), Format::percent(0.42));
    EXPECT_EQ(P::measuringText("Music"), "Measuring Music");
}

TEST(RuvozEzazPresentation, TheSelectionBarAbbreviatesOnlyALeadingHome)
{
    const platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/al"));
    struct Case {
        DiskNode node;
        P::SelectionBarLook look;
    };
    const Case cases[] = {
        {node("/home/al/Music", 2'500'000, true), {"folder.fill", "Music", "~/Music", Format::byteText(2'500'000)}},
        {node("/home/alice/x", 0, false), {"doc", "x", "/home/alice/x", "0 KB"}},
        {node("/mnt/b/home/al/x", -5, false), {"doc", "x", "/mnt/b/home/al/x", "0 KB"}},
        {node("/home/al", 7, true), {"folder.fill", "al", "~", Format::byteText(7)}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(P::selectionBar(c.node), c.look) << c.node.url.toStdString();
    }
}

TEST(RuvozEzazPresentation, TheLegendKeepsVolumesOfAGigabyteInOrderThenFree)
{
    StorageBreakdown storage{100 * GB,
                             34 * GB,
                             {volume("Data", 50 * GB), volume("Recovery", GB), volume("VM", GB - 1),
                              volume("System", 12 * GB), volume("", 3 * GB)},
                             0,
                             0};
    const QList<P::LegendEntry> entries = P::legend(storage, anyFolder);
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[0],
              (P::LegendEntry{"Your files",
                              storage.volumes[0].title() + QStringLiteral(" \u2014 ") + storage.volumes[0].detail()
                                  + ". Click to map it.",
                              50 * GB, PaletteRole::accent, "/System/Volumes/Data"}));
    EXPECT_EQ(entries[1].label, storage.volumes[1].title());
    EXPECT_EQ(entries[1].tint, PaletteRole::warning);
    EXPECT_FALSE(entries[1].isBrowsable());
    EXPECT_FALSE(entries[1].detail.endsWith("Click to map it."));
    EXPECT_EQ(entries[2].label, "macOS");
    EXPECT_EQ(entries[2].root, "/System");
    EXPECT_EQ(entries[3].label, "Other");
    EXPECT_EQ(entries[3].tint, PaletteRole::inkTertiary);
    EXPECT_EQ(entries[4],
              (P::LegendEntry{"Free", "Space available for new files", 34 * GB, PaletteRole::hairline, {}}));

    // A volume that says where it is mounted maps that folder, whatever its role.
    const StorageBreakdown linux{100 * GB, 58 * GB, {{"/", "System", 40 * GB, "/"}, {"Swap", "VM", 2 * GB, ""}}, 0, 0};
    const QList<P::LegendEntry> mounted = P::legend(linux, [](const QString& path) { return path == "/"; });
    ASSERT_EQ(mounted.size(), 3);
    EXPECT_EQ(mounted[0].root, "/");
    EXPECT_EQ(mounted[0].label, "macOS");
    EXPECT_FALSE(mounted[1].isBrowsable());

    // A folder that is not here is not offered.
    EXPECT_FALSE(P::legend(storage, noFolder)[0].isBrowsable());
    EXPECT_FALSE(P::legend(storage, noFolder)[0].detail.endsWith("Click to map it."));

    const QList<P::LegendEntry> onlyFree = P::legend({GB - 1, 0, {volume("Data", GB - 1)}, 0, 0}, anyFolder);
    ASSERT_EQ(onlyFree.size(), 1);
    EXPECT_EQ(onlyFree[0].label, "Free");
    EXPECT_EQ(Format::byteText(onlyFree[0].bytes), "0 KB");
}

TEST(RuvozEzazPresentation, RolesGiveTintsAndFolders)
{
    struct Case {
        QString role;
        PaletteRole tint;
        std::optional<QString> root;
    };
    const Case cases[] = {
        {"Data", PaletteRole::accent, "/System/Volumes/Data"},
        {"System", PaletteRole::accentDeep, "/System"},
        {"VM", PaletteRole::info, "/private/var/vm"},
        {"Preboot", PaletteRole::mintDeep, "/System/Volumes/Preboot"},
        {"Update", PaletteRole::inkTertiary, "/System/Volumes/Update"},
        {"Recovery", PaletteRole::warning, std::nullopt},
        {"data", PaletteRole::inkTertiary, std::nullopt},
        {"", PaletteRole::inkTertiary, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(P::tint(c.role), c.tint) << c.role.toStdString();
        EXPECT_EQ(P::browsableRoot(c.role), c.root) << c.role.toStdString();
    }
}

TEST(RuvozEzazPresentation, SegmentsAreProportionalWithoutMinimum)
{
    const QList<P::LegendEntry> entries{{"a", "", 50, PaletteRole::accent, {}},
                                        {"b", "", 1, PaletteRole::accent, {}},
                                        {"c", "", -4, PaletteRole::accent, {}},
                                        {"d", "", 0, PaletteRole::accent, {}}};
    EXPECT_EQ(P::segmentWidths(entries, 100, 300), (QList<double>{150, 3, 0, 0}));
    EXPECT_EQ(P::segmentWidths(entries, 0, 300), (QList<double>{0, 0, 0, 0}));
    EXPECT_EQ(P::segmentWidths(entries, -1, 300), (QList<double>{0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(P::segmentOpacity(true), 1.0);
    EXPECT_DOUBLE_EQ(P::segmentOpacity(false), 0.85);
}

TEST(RuvozEzazPresentation, SelectionComparesPaths)
{
    const P::LegendEntry data{"Your files", "", GB, PaletteRole::accent, "/System/Volumes/Data"};
    const P::LegendEntry free{"Free", "", GB, PaletteRole::hairline, {}};
    EXPECT_TRUE(P::isSelected(data, "/System/Volumes/Data/"));
    EXPECT_FALSE(P::isSelected(data, "/System/Volumes"));
    EXPECT_FALSE(P::isSelected(free, "/"));
    EXPECT_EQ(P::rowBackgroundOpacity(data, true, false), 0.75);
    EXPECT_EQ(P::rowBackgroundOpacity(data, false, true), 0.4);
    EXPECT_EQ(P::rowBackgroundOpacity(data, false, false), std::nullopt);
    EXPECT_EQ(P::rowBackgroundOpacity(free, false, true), std::nullopt);
    EXPECT_EQ(P::rowLabelRole(data), PaletteRole::ink);
    EXPECT_EQ(P::rowLabelRole(free), PaletteRole::inkTertiary);
}

// A Linux disk: a separate root, the home's file system and swap, each on a
// partition of its own, and space on the disk no file system accounts for.
// The header, the bar and the legend add up to the same capacity, and no
// container sentence claims the volumes share one pool.
TEST(RuvozEzazPresentation, ALinuxDiskAddsUpToItsCapacityWithoutAContainerSentence)
{
    StorageBreakdown disk{275 * GB,
                          60 * GB,
                          {{"/home", "Data", 30 * GB, "/home", "ext4"},
                           {"/", "", 12 * GB, "/", "ext4"},
                           {"Swap", "VM", 2 * GB, ""},
                           {"/boot/efi", "Preboot", GB / 2, "/boot/efi", "vfat"}},
                          0,
                          0};
    disk.sharesOnePool = false;
    const QList<P::LegendEntry> entries = P::legend(disk, anyFolder);
    QStringList labels;
    qint64 sum = 0;
    for (const P::LegendEntry& entry : entries) {
        labels.append(entry.label);
        sum += entry.bytes;
    }
    EXPECT_EQ(labels, (QStringList{"Your files", "/", "Swap", "Other space", "Free"}));
    EXPECT_EQ(sum, disk.capacity);
    EXPECT_EQ(entries[1].detail, "/ \u2014 ext4 file system on this disk. Click to map it.");
    EXPECT_EQ(entries[3].bytes, 275 * GB - 60 * GB - 44 * GB);
    EXPECT_FALSE(entries[3].isBrowsable());
    EXPECT_EQ(P::usedText(disk),
              Format::byteText(sum - disk.free) + " of " + Format::byteText(disk.capacity) + " used");
    EXPECT_EQ(P::explanation(disk), "");
    disk.snapshotCount = 1;
    EXPECT_FALSE(P::explanation(disk).contains("APFS"));

    // Volumes sharing one pool keep the sentence.
    disk.sharesOnePool = true;
    EXPECT_TRUE(P::explanation(disk).startsWith("These volumes share one APFS container"));

    // With no volumes listed, the used space is one segment of its own.
    const QList<P::LegendEntry> alone = P::legend({100 * GB, 40 * GB, {}, 0, 0}, anyFolder);
    ASSERT_EQ(alone.size(), 2);
    EXPECT_EQ(alone[0],
              (P::LegendEntry{"Used", "Space in use on this volume", 60 * GB, PaletteRole::inkSecondary, {}}));
    EXPECT_EQ(alone[1].label, "Free");
}

TEST(StoragePanel, TheBarOfALinuxDiskFillsItsWidthAsTheLegendSays)
{
    StorageBreakdown disk{
        275 * GB, 60 * GB, {{"/home", "Data", 30 * GB, "/home", "ext4"}, {"/", "", 12 * GB, "/", "ext4"}}, 0, 0};
    disk.sharesOnePool = false;
    StoragePanel panel([](const QString&) {}, anyFolder);
    panel.resize(700, 300);
    panel.show();
    panel.setStorage(disk, QStringLiteral("/"));
    test::settle();
    QStringList labels;
    for (LegendRow* row : panel.rows()) {
        labels.append(row->entry().label);
    }
    EXPECT_EQ(labels, (QStringList{"Your files", "/", "Other space", "Free"}));
    double filled = 0;
    for (const QRectF& segment : panel.bar()->segments()) {
        filled += segment.width();
    }
    EXPECT_NEAR(filled, panel.bar()->width(), 1e-6);
    EXPECT_EQ(panel.usedLabel()->text(), Format::byteText(215 * GB) + " of " + Format::byteText(275 * GB) + " used");
    EXPECT_TRUE(panel.explanationLabel()->text().isEmpty());
}

TEST(RuvozEzazPresentation, ExplanationAddsPurgeableAndSnapshotSentences)
{
    const QString container = "These volumes share one APFS container, so they add up to the whole disk rather than "
                              "to what any one volume reports.";
    struct Case {
        qint64 purgeable;
        int snapshots;
        QString text;
    };
    const Case cases[] = {
        {0, 0, container},
        {2'000'000, 0,
         container + " About " + Format::bytes(2'000'000) + " is purgeable, which macOS already counts as free."},
        {0, 1,
         container + QStringLiteral(" 1 Time Machine snapshot hold part of it \u2014 Maintenance can thin them.")},
        {0, 2,
         container + QStringLiteral(" 2 Time Machine snapshots hold part of it \u2014 Maintenance can thin them.")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(P::explanation({GB, 0, {}, c.purgeable, c.snapshots}), c.text) << c.snapshots;
    }
    EXPECT_EQ(P::usedText({10 * GB, 4 * GB, {}, 0, 0}),
              Format::byteText(6 * GB) + " of " + Format::byteText(10 * GB) + " used");
    EXPECT_EQ(P::usedText({10 * GB, 10 * GB, {}, 0, 0}), "0 KB of " + Format::byteText(10 * GB) + " used");
    EXPECT_FALSE(P::showsPanel(std::nullopt));
    EXPECT_FALSE(P::showsPanel(StorageBreakdown{0, 5, {}, 0, 0}));
    EXPECT_TRUE(P::showsPanel(StorageBreakdown{1, 0, {}, 0, 0}));
}

// The screen over the model ----------------------------------------------

namespace {

// A model whose map builds report one progress value and wait at the gate
// the test holds (or run the machine's own build), whose storage is what the
// test sets, and which records what it was asked.
class MapModel {
public:
    struct Shared {
        std::mutex mutex;
        QStringList builds;
        int storageRequests = 0;
        std::optional<StorageBreakdown> storage;
        std::shared_ptr<test::Gate> gate;
        bool realBuilds = false;
        std::vector<DiskNode> children;
    };

    explicit MapModel(bool realBuilds = false)
    {
        shared_->realBuilds = realBuilds;
        ModelEngine engine = test::quietEngine();
        engine.buildDiskTree = [shared = shared_, real = ModelEngine::real().buildDiskTree](
                                   const QString& root, const ModelEngine::TreeProgress& progress,
                                   const ModelEngine::CancelTest& isCancelled) {
            std::shared_ptr<test::Gate> gate;
            std::vector<DiskNode> children;
            {
                std::lock_guard lock(shared->mutex);
                shared->builds.append(root);
                gate = shared->gate;
                children = shared->children;
                if (shared->realBuilds) {
                    return real(root, progress, isCancelled);
                }
            }
            progress(0.5, QStringLiteral("Music"));
            if (gate) {
                gate->pass(isCancelled);
            }
            return node(root, 1'000, true, std::move(children));
        };
        engine.storageBreakdown = [shared = shared_](const QString&) {
            std::lock_guard lock(shared->mutex);
            ++shared->storageRequests;
            return shared->storage.value_or(StorageBreakdown{});
        };
        AppModel::Setup setup;
        setup.engine = std::move(engine);
        setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.runner = runner_;
        setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
        model_ = std::make_unique<AppModel>(defaults_, std::move(setup));
    }

    ~MapModel()
    {
        if (std::shared_ptr<test::Gate> gate = holdGate()) {
            gate->open();
        }
        model_.reset();
        runner_->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    MapModel(const MapModel&) = delete;
    MapModel& operator=(const MapModel&) = delete;

    AppModel& model() { return *model_; }
    DiskMap& map() { return model_->diskMap(); }

    std::shared_ptr<test::Gate> hold()
    {
        std::lock_guard lock(shared_->mutex);
        return shared_->gate = std::make_shared<test::Gate>();
    }
    void setStorage(std::optional<StorageBreakdown> storage)
    {
        std::lock_guard lock(shared_->mutex);
        shared_->storage = std::move(storage);
    }
    void setChildren(std::vector<DiskNode> children)
    {
        std::lock_guard lock(shared_->mutex);
        shared_->children = std::move(children);
    }
    QStringList builds() const
    {
        std::lock_guard lock(shared_->mutex);
        return shared_->builds;
    }
    // The builds once `count` of them have started on the workers.
    QStringList builds(qsizetype count) const
    {
        waitFor([&] { return builds().size() >= count; });
        return builds();
    }
    int storageRequests() const
    {
        std::lock_guard lock(shared_->mutex);
        return shared_->storageRequests;
    }

    // A screen over this model, shown; reveals and chooser answers recorded.
    struct Screen {
        std::unique_ptr<RuvozEzazView> view;
        QStringList revealed;
        std::optional<QString> chooserAnswer;
        QStringList chooserStarts;
    };

    std::unique_ptr<Screen> screen(P::FolderExists exists = {})
    {
        auto made = std::make_unique<Screen>();
        ScreenServices services;
        services.reveal = [shown = made.get()](const QStringList& paths) { shown->revealed += paths; };
        services.chooseFolder = [shown = made.get()](QWidget*, const QString& start) {
            shown->chooserStarts.append(start);
            return shown->chooserAnswer;
        };
        made->view = std::make_unique<RuvozEzazView>(map(), model_->scanSession(), model_->systemTools(),
                                                     std::move(services), std::move(exists));
        made->view->resize(1100, 900);
        made->view->show();
        QCoreApplication::processEvents();
        return made;
    }

    void waitBuilt(RuvozEzazView& view)
    {
        waitFor([&] { return !map().isBuildingTree() && map().diskTree().has_value(); });
        test::settle();
        view.refreshNow();
    }

    // Waits until every build started has ended and delivered.
    void finishWork()
    {
        runner_->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    void waitStorage(RuvozEzazView& view)
    {
        waitFor([&] { return model_->systemTools().storage().has_value(); });
        view.refreshNow();
        // The rows just made get their places.
        QCoreApplication::processEvents();
    }

private:
    std::shared_ptr<test::Gate> holdGate()
    {
        std::lock_guard lock(shared_->mutex);
        return shared_->gate;
    }

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    MemoryDefaults defaults_;
    std::shared_ptr<BackgroundRunner> runner_ = std::make_shared<BackgroundRunner>(4);
    std::unique_ptr<AppModel> model_;
};

QStringList menuTitles(QMenu* menu)
{
    QStringList titles;
    for (QAction* action : menu->actions()) {
        titles.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return titles;
}

QAction* menuItem(QMenu* menu, const QString& title)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == title) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

TEST(RuvozEzazView, ShowingMeasuresStorageButNeverBuildsAMap)
{
    const platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/u"));
    MapModel model;
    auto screen = model.screen();
    waitFor([&] { return model.storageRequests() == 1; });
    EXPECT_TRUE(model.builds().isEmpty());
    RuvozEzazView& view = *screen->view;
    EXPECT_EQ(view.root(), "/home/u");
    EXPECT_EQ(view.rootMenu()->text(), "u");
    EXPECT_EQ(view.state(), P::MainState::nothingMapped);
    EXPECT_EQ(view.emptyState()->titleLabel()->text(), "Nothing mapped yet");
    ASSERT_NE(view.emptyState()->button(), nullptr);
    EXPECT_EQ(view.emptyState()->button()->text(), "Map u");
    EXPECT_EQ(view.buildButton()->text(), "Rebuild Map");
}

TEST(RuvozEzazView, ABuildShowsItsProgressThenTheMapWithTheSelectionBar)
{
    test::FixtureTree tree;
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.root());
    MapModel model;
    const QString music = tree.path("Music");
    model.setChildren({node(music, 800, true, {node(music + "/song", 800, false)}), node(tree.path("a"), 200, false)});
    std::shared_ptr<test::Gate> gate = model.hold();
    auto screen = model.screen();
    RuvozEzazView& view = *screen->view;

    QTest::mouseClick(view.emptyState()->button(), Qt::LeftButton);
    EXPECT_EQ(model.builds(1), QStringList{tree.root()});
    EXPECT_EQ(view.state(), P::MainState::building);
    EXPECT_EQ(view.buildButton()->text(), "Stop");
    EXPECT_EQ(test::roleOf(view.buildButton()->tint()), PaletteRole::danger);
    waitFor([&] { return model.map().treeProgress().name == "Music"; });
    view.refreshNow();
    EXPECT_EQ(view.ringPercent()->text(), P::percentText(0.5));
    EXPECT_EQ(view.measuringLabel()->text(), "Measuring Music");
    EXPECT_TRUE(view.ring()->isWorking());

    gate->open();
    model.waitBuilt(view);
    EXPECT_EQ(view.state(), P::MainState::mapped);
    EXPECT_EQ(view.buildButton()->text(), "Rebuild Map");
    ASSERT_NE(view.columns(), nullptr);
    EXPECT_EQ(view.columns()->root().url, tree.root());
    // With nothing selected the bar describes the map's root.
    EXPECT_EQ(view.selectionBar()->look().location, "~");
    EXPECT_EQ(view.selectionBar()->look().size, Format::byteText(1'000));

    view.columns()->select(view.columns()->root().children.front(), 0);
    EXPECT_EQ(view.selectionBar()->look().name, "Music");
    EXPECT_EQ(view.selectionBar()->look().location, "~/Music");
    QTest::mouseClick(view.selectionBar()->revealButton(), Qt::LeftButton);
    EXPECT_EQ(screen->revealed, QStringList{music});

    // Rebuilding keeps the root and starts from the first column again.
    QTest::mouseClick(view.buildButton(), Qt::LeftButton);
    EXPECT_EQ(model.builds(2), (QStringList{tree.root(), tree.root()}));
    EXPECT_TRUE(view.columns()->path().empty());
    model.waitBuilt(view);
    EXPECT_EQ(view.selectionBar()->look().location, "~");
}

// A stopped build is never shown: the screen goes back to the map it had,
// or to nothing mapped, and stays there when the build's part arrives.
TEST(RuvozEzazView, StopLeavesTheBuildAtOnceShowingTheOlderMapOrNothing)
{
    const platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/u"));
    MapModel model;
    std::shared_ptr<test::Gate> gate = model.hold();
    auto screen = model.screen();
    RuvozEzazView& view = *screen->view;

    view.rebuild();
    ASSERT_EQ(view.state(), P::MainState::building);
    QTest::mouseClick(view.buildButton(), Qt::LeftButton);
    EXPECT_FALSE(model.map().isBuildingTree());
    view.refreshNow();
    EXPECT_EQ(view.state(), P::MainState::nothingMapped);
    gate->wake();
    model.finishWork();
    view.refreshNow();
    EXPECT_EQ(view.state(), P::MainState::nothingMapped);
    EXPECT_FALSE(model.map().diskTree());

    gate->open();
    view.rebuild();
    model.waitBuilt(view);
    EXPECT_EQ(view.state(), P::MainState::mapped);
    const QUuid older = model.map().diskTree()->id;

    std::shared_ptr<test::Gate> second = model.hold();
    view.select(QStringLiteral("/"));
    EXPECT_EQ(view.state(), P::MainState::building);
    // The building state hides the older map.
    EXPECT_FALSE(view.columns()->isVisible());
    QTest::mouseClick(view.buildButton(), Qt::LeftButton);
    view.refreshNow();
    EXPECT_EQ(view.state(), P::MainState::mapped);
    EXPECT_EQ(view.columns()->root().id, older);
    EXPECT_EQ(view.rootMenu()->text(), "/");
    second->wake();
    model.finishWork();
    view.refreshNow();
    EXPECT_EQ(view.state(), P::MainState::mapped);
    EXPECT_EQ(model.map().diskTree()->id, older);
    EXPECT_EQ(view.columns()->root().id, older);
    second->open();
}

// "Map u" pressed: its page goes while the map is built, and the focus must
// not pass on to a volume of the storage panel, where the next Space would map
// that volume instead of the folder the button named.
TEST(RuvozEzazView, AKeyAfterMappingMapsWhatTheFocusedControlNames)
{
    test::FixtureTree tree;
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    MapModel model;
    model.setStorage(StorageBreakdown{100 * GB, 30 * GB, {volume("Data", 60 * GB), volume("Recovery", 2 * GB)}, 0, 0});
    auto screen = model.screen([](const QString& path) { return path == "/System/Volumes/Data"; });
    RuvozEzazView& view = *screen->view;
    QApplication::setActiveWindow(&view);
    model.waitStorage(view);
    ASSERT_FALSE(view.storagePanel()->rows().isEmpty());
    std::shared_ptr<test::Gate> gate = model.hold();

    GlassCompatButton* mapButton = view.emptyState()->button();
    QTest::mouseClick(mapButton, Qt::LeftButton);
    EXPECT_EQ(model.builds(1), QStringList{tree.path("home")});
    ASSERT_EQ(view.state(), P::MainState::building);
    EXPECT_EQ(QApplication::focusWidget(), view.buildButton());
    gate->open();
    model.waitBuilt(view);
    ASSERT_EQ(view.state(), P::MainState::mapped);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    model.waitBuilt(view);
    for (const QString& built : model.builds()) {
        EXPECT_EQ(built, tree.path("home"));
    }
    EXPECT_EQ(view.root(), tree.path("home"));
}

TEST(RuvozEzazView, TheRootMenuMapsTheFoldersThatExist)
{
    const platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/u"));
    MapModel model;
    auto screen = model.screen([](const QString& path) { return path != "/Applications"; });
    RuvozEzazView& view = *screen->view;
    QMenu* menu = view.preparedRootMenu();
    EXPECT_EQ(menuTitles(menu),
              (QStringList{"Home Folder", "Library", "Whole Disk", "-", QStringLiteral("Choose Folder\u2026")}));
    menuItem(menu, "Library")->trigger();
    EXPECT_EQ(view.root(), "/home/u/Library");
    EXPECT_EQ(view.rootMenu()->text(), "Library");
    model.waitBuilt(view);
    menuItem(view.preparedRootMenu(), "Whole Disk")->trigger();
    EXPECT_EQ(view.rootMenu()->text(), "/");
    model.waitBuilt(view);
    EXPECT_EQ(model.builds(), (QStringList{"/home/u/Library", "/"}));
    // A choice while a build runs changes the root, the running build carries on.
    std::shared_ptr<test::Gate> gate = model.hold();
    menuItem(view.preparedRootMenu(), "Home Folder")->trigger();
    menuItem(view.preparedRootMenu(), "Whole Disk")->trigger();
    EXPECT_EQ(view.root(), "/");
    EXPECT_EQ(model.builds(3), (QStringList{"/home/u/Library", "/", "/home/u"}));
    EXPECT_TRUE(model.map().isBuildingTree());
    gate->open();
}

TEST(RuvozEzazView, TheChooserMapsTheFolderChosenAndACancelChangesNothing)
{
    test::FixtureTree tree;
    tree.file("home/Music/song", 40'000);
    tree.file("elsewhere/picked/photo", 30'000);
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    MapModel model(true);
    auto screen = model.screen();
    RuvozEzazView& view = *screen->view;

    screen->chooserAnswer = std::nullopt;
    QAction* choose = menuItem(view.preparedRootMenu(), QStringLiteral("Choose Folder\u2026"));
    choose->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(screen->chooserStarts, QStringList{tree.path("home")});
    EXPECT_EQ(view.root(), tree.path("home"));
    EXPECT_TRUE(model.builds().isEmpty());

    screen->chooserAnswer = tree.path("elsewhere/picked");
    view.chooseFolder();
    EXPECT_EQ(view.rootMenu()->text(), "picked");
    model.waitBuilt(view);
    EXPECT_EQ(view.columns()->root().url, tree.path("elsewhere/picked"));
    EXPECT_EQ(view.selectionBar()->look().location, tree.path("elsewhere/picked"));
    EXPECT_GT(view.columns()->root().size, 0);
}

TEST(RuvozEzazView, AFolderRemovedAfterItWasChosenOrAPseudoFileSystemMapsAsEmpty)
{
    test::FixtureTree tree;
    tree.file("home/x", 10'000);
    tree.file("gone/inside/file", 50'000);
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    MapModel model(true);
    auto screen = model.screen();
    RuvozEzazView& view = *screen->view;

    const QString gone = tree.path("gone");
    ASSERT_TRUE(QDir(gone).removeRecursively());
    screen->chooserAnswer = gone;
    view.chooseFolder();
    model.waitBuilt(view);
    EXPECT_EQ(view.state(), P::MainState::mapped);
    EXPECT_EQ(view.columns()->root().url, gone);
    EXPECT_EQ(view.columns()->root().size, 0);
    EXPECT_EQ(view.selectionBar()->look().size, "0 KB");
    ASSERT_NE(view.columns()->column(0), nullptr);
    EXPECT_NE(view.columns()->column(0)->content(), DiskColumn::Content::entries);

    view.select(QStringLiteral("/proc"));
    model.waitBuilt(view);
    EXPECT_EQ(view.columns()->root().url, "/proc");
    EXPECT_EQ(view.columns()->root().size, 0);
    EXPECT_TRUE(view.columns()->root().children.empty());
}

TEST(RuvozEzazView, ANetworkMountBelowTheRootIsSkippedUnlessItIsTheRoot)
{
    test::FixtureTree tree;
    tree.file("home/local", 20'000'000);
    tree.file("home/share/remote", 30'000'000);
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    const platform::Seam<QList<platform::MountEntry>>::Override mounts(
        platform::mountTable(),
        {{"/", "ext4", makedev(254, 0), "/dev/vda1"},
         {tree.path("home/share"), "nfs4", makedev(0, 60), "server:/export"}});
    MapModel model(true);
    auto screen = model.screen();
    RuvozEzazView& view = *screen->view;

    view.rebuild();
    model.waitBuilt(view);
    QStringList names;
    for (const DiskNode& child : view.columns()->root().children) {
        names.append(child.name);
    }
    EXPECT_EQ(names, QStringList{"local"});

    view.select(tree.path("home/share"));
    model.waitBuilt(view);
    ASSERT_EQ(view.columns()->root().children.size(), 1u);
    EXPECT_EQ(view.columns()->root().children.front().name, "remote");
}

TEST(RuvozEzazView, TheStoragePanelShowsOnlyForABreakdownWithACapacity)
{
    const platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/u"));
    {
        MapModel model;
        auto screen = model.screen();
        waitFor([&] { return model.storageRequests() == 1; });
        test::settle();
        screen->view->refreshNow();
        // A breakdown of no capacity: no panel.
        EXPECT_TRUE(model.model().systemTools().storage().has_value());
        EXPECT_FALSE(screen->view->storagePanel()->isVisible());
    }
    MapModel model;
    model.setStorage(StorageBreakdown{100 * GB, 99 * GB + GB / 2, {volume("Data", GB - 1)}, 0, 0});
    auto screen = model.screen();
    model.waitStorage(*screen->view);
    StoragePanel* panel = screen->view->storagePanel();
    ASSERT_TRUE(panel->isVisible());
    ASSERT_EQ(panel->rows().size(), 1);
    EXPECT_EQ(panel->rows()[0]->entry().label, "Free");
    EXPECT_EQ(panel->usedLabel()->text(), P::usedText({100 * GB, 99 * GB + GB / 2, {}, 0, 0}));
    EXPECT_EQ(panel->explanationLabel()->text(), P::explanation({100 * GB, 99 * GB + GB / 2, {}, 0, 0}));
    // Free cannot be mapped: clicking it does nothing.
    QTest::mouseClick(panel->rows()[0], Qt::LeftButton);
    EXPECT_TRUE(model.builds().isEmpty());
}

TEST(RuvozEzazView, AVolumeOfThePanelMapsItsFolderAndShowsAsTheOneMapped)
{
    test::FixtureTree tree;
    const QString data = tree.folder("System/Volumes/Data");
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    MapModel model;
    model.setStorage(StorageBreakdown{100 * GB, 38 * GB, {volume("Data", 60 * GB), volume("Recovery", 2 * GB)}, 0, 0});
    // The role's folder lives in the fixture tree.
    auto screen = model.screen([&](const QString& path) { return path == "/System/Volumes/Data" || path == data; });
    RuvozEzazView& view = *screen->view;
    model.waitStorage(view);
    StoragePanel* panel = view.storagePanel();
    ASSERT_EQ(panel->rows().size(), 3);
    for (LegendRow* row : panel->rows()) {
        EXPECT_FALSE(row->isSelected()) << row->entry().label.toStdString();
    }
    EXPECT_EQ(panel->bar()->selected(), -1);

    QTest::mouseClick(panel->rows()[1], Qt::LeftButton);
    EXPECT_TRUE(model.builds().isEmpty());
    QTest::mouseClick(panel->rows()[0], Qt::LeftButton);
    EXPECT_EQ(model.builds(1), QStringList{"/System/Volumes/Data"});
    EXPECT_EQ(view.root(), "/System/Volumes/Data");
    EXPECT_TRUE(panel->rows()[0]->isSelected());
    EXPECT_EQ(panel->bar()->selected(), 0);
    model.waitBuilt(view);

    // The bar: segments in proportion, a click on a segment that maps nothing does nothing.
    const QList<QRectF> segments = panel->bar()->segments();
    ASSERT_EQ(segments.size(), 3);
    const double width = panel->bar()->width();
    EXPECT_DOUBLE_EQ(segments[0].width(), width * 0.6);
    EXPECT_DOUBLE_EQ(segments[1].left(), width * 0.6);
    EXPECT_DOUBLE_EQ(segments[2].width(), width * 0.38);
    QTest::mouseClick(panel->bar(), Qt::LeftButton, {}, segments[2].center().toPoint());
    QTest::mouseClick(panel->bar(), Qt::LeftButton, {}, segments[1].center().toPoint());
    EXPECT_EQ(model.builds(), QStringList{"/System/Volumes/Data"});
    view.select(tree.path("home"));
    EXPECT_FALSE(panel->rows()[0]->isSelected());
    QTest::mouseClick(panel->bar(), Qt::LeftButton, {}, segments[0].center().toPoint());
    EXPECT_EQ(view.root(), "/System/Volumes/Data");
}

TEST(RuvozEzazView, EveryStateFitsTheSmallestScreenAndTheMapGrowsWithTheWindow)
{
    test::FixtureTree tree;
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    MapModel model;
    model.setStorage(
        StorageBreakdown{500 * GB, 180 * GB, {volume("System", 120 * GB), volume("Data", 190 * GB)}, 0, 0});
    const QString h = tree.path("home");
    model.setChildren({node(h + "/Videos", 600, true), node(h + "/notes.txt", 100, false)});
    std::shared_ptr<test::Gate> gate = model.hold();
    auto screen = model.screen(anyFolder);
    RuvozEzazView& view = *screen->view;
    model.waitStorage(view);
    // The screen as the smallest window gives it: the empty state and the
    // ring fit; the map keeps its browser 400 tall and scrolls to its bar.
    view.resize(760, 560);
    const QScrollBar* scroll = view.findChild<ScreenFrame*>()->scrollArea()->verticalScrollBar();
    const auto fits = [&] {
        test::settle();
        return scroll->maximum() == 0;
    };
    EXPECT_TRUE(fits()) << "nothing mapped";
    QTest::mouseClick(view.emptyState()->button(), Qt::LeftButton);
    waitFor([&] { return model.map().treeProgress().name == "Music"; });
    view.refreshNow();
    EXPECT_EQ(view.state(), P::MainState::building);
    EXPECT_TRUE(fits()) << "building";
    gate->open();
    model.waitBuilt(view);
    ASSERT_EQ(view.state(), P::MainState::mapped);
    test::settle();
    EXPECT_TRUE(view.selectionBar()->isVisible());
    EXPECT_GE(view.findChild<QWidget*>("browserPanel")->height(),
              RuvozEzazView::kBrowserMinHeight + 2 * RuvozEzazView::kBrowserPadding);

    // Choosing a row with the screen at its top brings the bar's "Reveal"
    // into view, whole.
    QScrollArea* area = view.findChild<ScreenFrame*>()->scrollArea();
    area->verticalScrollBar()->setValue(0);
    test::settle();
    const QWidget* reveal = view.selectionBar()->revealButton();
    const auto revealShown = [&] {
        const QRect button(reveal->mapTo(area->viewport(), QPoint()), reveal->size());
        return area->viewport()->rect().contains(button);
    };
    ASSERT_FALSE(revealShown()) << "the bar starts below the window's foot";
    view.columns()->select(view.columns()->root().children.front(), 0);
    test::settle();
    EXPECT_TRUE(revealShown());
    EXPECT_TRUE(reveal->isVisible());

    // A tall window gives the browser all the height left, over 400.
    view.resize(1100, 1100);
    EXPECT_TRUE(fits());
    EXPECT_GE(view.findChild<QWidget*>("browserPanel")->height(), 400 + 2 * RuvozEzazView::kBrowserPadding);
    // The bar sits at the foot of the screen, the screen's padding below it.
    EXPECT_EQ(view.selectionBar()->mapTo(&view, QPoint(0, view.selectionBar()->height())).y() + RuvozEzazView::kPadding,
              view.height());
}

TEST(RuvozEzazView, LooksRightInBothAppearances)
{
    test::FixtureTree tree;
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    MapModel model;
    model.setStorage(StorageBreakdown{
        500 * GB, 180 * GB, {volume("System", 120 * GB), volume("Data", 190 * GB), volume("VM", 8 * GB)}, 0, 0});
    const QString h = tree.path("home");
    model.setChildren({node(h + "/Videos", 600, true, {node(h + "/Videos/trip.mov", 600, false)}),
                       node(h + "/Music", 300, true), node(h + "/notes.txt", 100, false)});
    const QStringList files = test::renderScreens(
        [&]() -> QWidget* {
            ScreenServices services;
            auto* view = new RuvozEzazView(model.map(), model.model().scanSession(), model.model().systemTools(),
                                           services, anyFolder);
            model.model().systemTools().refreshStorageBreakdown();
            waitFor([&] { return model.model().systemTools().storage().has_value(); });
            if (!model.map().diskTree()) {
                view->rebuild();
                model.waitBuilt(*view);
            }
            view->refreshNow();
            return view;
        },
        QStringLiteral("ruvoz-ezaz"), {1100, 900});
    EXPECT_EQ(files.size(), 2);
}
