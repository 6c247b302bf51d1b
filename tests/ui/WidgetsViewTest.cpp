#include "ui/monitor/WidgetsView.h"
#include "TrayFixture.h"
#include "shared/JsonFileDefaults.h"
#include "ui/components/CapsuleChip.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/OverhangSlot.h"
#include "ui/components/PopUpPicker.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/SwitchToggle.h"
#include "ui/monitor/AppearanceRow.h"
#include "ui/monitor/CustomizerRow.h"
#include "ui/monitor/DashboardCustomizer.h"
#include "ui/monitor/FittingLabel.h"
#include "ui/monitor/ModelMonitorInputs.h"
#include "ui/monitor/MonitorCard.h"
#include "ui/monitor/MonitorControls.h"
#include "ui/monitor/PlacementChipRow.h"
#include "ui/monitor/UpdatesRow.h"
#include "ui/updates/UpdateSheet.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace harborlite;
using Kinds = MonitorSettings::Kinds;
using Framing = test::FeedServer::Response::Framing;

namespace {

constexpr MonitorKind cpu = MonitorKind::cpu;
constexpr MonitorKind memory = MonitorKind::memory;
constexpr MonitorKind storage = MonitorKind::storage;
constexpr MonitorKind network = MonitorKind::network;
constexpr MonitorKind battery = MonitorKind::battery;
constexpr MonitorKind processes = MonitorKind::processes;
constexpr MonitorKind junk = MonitorKind::junk;

const Kinds kDefaultDashboard{cpu, memory, storage, network, battery, processes};

Kinds kindsOf(const std::vector<MonitorCard*>& cards)
{
    Kinds kinds;
    for (const MonitorCard* card : cards) {
        kinds.push_back(card->kind());
    }
    return kinds;
}

std::vector<bool> selection(const PlacementChipRow& row)
{
    std::vector<bool> selected;
    for (const CapsuleChip* chip : row.chips()) {
        selected.push_back(chip->isSelected());
    }
    return selected;
}

QJsonArray strings(std::initializer_list<const char*> values)
{
    QJsonArray array;
    for (const char* value : values) {
        array.append(QLatin1String(value));
    }
    return array;
}

class WidgetsViewTest : public testing::Test {
protected:
    test::TrayFixture fixture;

    AppModel& model()
    {
        if (!fixture.model) {
            fixture.makeTrayedModel();
        }
        return *fixture.model;
    }
    MonitorSettings& settings() { return model().settings(); }

    std::unique_ptr<WidgetsView> makeView()
    {
        auto view = std::make_unique<WidgetsView>(model());
        view->resize(1000, 1400);
        return view;
    }

    static void settled(WidgetsView& view)
    {
        test::WindowFixture::settle();
        view.refresh();
    }

    CustomizerRow* row(WidgetsView& view, MonitorKind kind)
    {
        for (CustomizerRow* each : view.customizer()->rows()) {
            if (each->kind() == kind) {
                return each;
            }
        }
        return nullptr;
    }
};

} // namespace

TEST(WidgetsView, GridAndWideKindsKeepTheDashboardsOrder)
{
    EXPECT_EQ(WidgetsView::gridKinds(kDefaultDashboard), (Kinds{cpu, memory, storage, network, battery}));
    EXPECT_EQ(WidgetsView::wideKinds(kDefaultDashboard), (Kinds{processes}));
    EXPECT_EQ(WidgetsView::gridKinds({junk, processes, cpu}), (Kinds{junk, cpu}));
    EXPECT_EQ(WidgetsView::gridKinds({processes}), Kinds{});
    EXPECT_EQ(WidgetsView::wideKinds({}), Kinds{});
}

TEST(WidgetsView, ProcessesReloadEveryTwoIntervalsButNeverSoonerThanFourSeconds)
{
    const std::pair<double, int> rows[] = {{1, 4000}, {2, 4000}, {5, 10000}, {10, 20000}, {0.5, 4000}};
    for (const auto& [interval, pause] : rows) {
        EXPECT_EQ(WidgetsView::processRefreshMilliseconds(interval), pause) << interval;
    }
}

TEST(MonitorControls, IntervalTitles)
{
    EXPECT_EQ(MonitorControls::intervalTitle(1), QStringLiteral("1 second"));
    EXPECT_EQ(MonitorControls::intervalTitle(2), QStringLiteral("2 seconds"));
    EXPECT_EQ(MonitorControls::intervalTitle(5), QStringLiteral("5 seconds"));
    EXPECT_EQ(MonitorControls::intervalTitle(10), QStringLiteral("10 seconds"));
}

TEST(UpdatesRow, CaptionNamesVersionBuildAndHost)
{
    const QString caption = UpdatesRow::caption(QStringLiteral("2.1"), 57, QStringLiteral("updates.example.org"));
    EXPECT_EQ(caption,
              QString::fromUtf8("Version 2.1 (57) \u00B7 checks updates.example.org once a day, sending "
                                "nothing about you"));
    EXPECT_TRUE(UpdatesRow::caption(QStringLiteral("0"), 0, QStringLiteral("h")).startsWith("Version 0 (0) "));
}

TEST(UpdatesRow, CaptionSaysPlainlyWhenTheBuildHasNoSite)
{
    EXPECT_EQ(UpdatesRow::caption(QStringLiteral("2.1"), 57, QString()),
              QString::fromUtf8("Version 2.1 (57) \u00B7 this build has no update site and never checks"));
}

TEST(AppearanceRow, ThreeThemesWithTheirOwnWords)
{
    const struct {
        AppTheme theme;
        const char* title;
        const char* symbol;
        const char* description;
    } rows[] = {
        {AppTheme::system, "System", "circle.lefthalf.filled",
         "Follows the macOS appearance, including the automatic day-to-night switch."},
        {AppTheme::light, "Light", "sun.max.fill", "Always the white-and-green canvas."},
        {AppTheme::dark, "Dark", "moon.fill", "Always the deep pine canvas."},
    };
    for (const auto& row : rows) {
        const AppearanceRow::Choice choice = AppearanceRow::choice(row.theme);
        EXPECT_EQ(choice.theme, row.theme);
        EXPECT_EQ(choice.title, QLatin1String(row.title));
        EXPECT_EQ(choice.symbol, QLatin1String(row.symbol));
        EXPECT_EQ(choice.description, QLatin1String(row.description));
    }
}

TEST(CustomizerRow, StateFollowsTheFirstPlaceOnTheDashboard)
{
    using State = CustomizerRow::State;
    EXPECT_EQ(CustomizerRow::state(cpu, kDefaultDashboard), (State{true, 0, false, true}));
    EXPECT_EQ(CustomizerRow::state(processes, kDefaultDashboard), (State{true, 5, true, false}));
    EXPECT_EQ(CustomizerRow::state(memory, kDefaultDashboard), (State{true, 1, true, true}));
    EXPECT_EQ(CustomizerRow::state(junk, kDefaultDashboard), State{});
    EXPECT_EQ(CustomizerRow::state(junk, {junk}), (State{true, 0, false, false}));
    EXPECT_EQ(CustomizerRow::state(cpu, {memory, cpu, cpu}), (State{true, 1, true, true}));
    EXPECT_EQ(CustomizerRow::caption(processes), QStringLiteral("The five heaviest processes running right now."));
    EXPECT_EQ(CustomizerRow::caption(junk), QStringLiteral("What the last scan found that can still be reclaimed."));
}

TEST_F(WidgetsViewTest, HeaderAndTheDefaultDashboard)
{
    auto view = makeView();
    const ScreenHeader* header = view->findChild<ScreenHeader*>();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->titleLabel()->text(), QStringLiteral("Widgets"));
    EXPECT_EQ(header->subtitleLabel()->text(),
              QStringLiteral("Live monitors for the window top bar, this dashboard, the menu bar and your desktop."));
    EXPECT_EQ(view->emptyState(), nullptr);
    EXPECT_EQ(kindsOf(view->gridCards()), (Kinds{cpu, memory, storage, network, battery}));
    EXPECT_EQ(kindsOf(view->wideCards()), (Kinds{processes}));
}

TEST_F(WidgetsViewTest, EmptyDashboardShowsTheEmptyStateWhoseRestoreResetsEverything)
{
    settings().setDashboard({});
    settings().setTopBar({junk});
    settings().setMenuBar({});
    settings().setRefreshInterval(10);
    settings().setShowMenuBarMonitor(false);
    settings().setTheme(AppTheme::dark);
    auto view = makeView();
    ASSERT_NE(view->emptyState(), nullptr);
    EXPECT_GE(view->emptyState()->minimumHeight(), WidgetsView::kEmptyStateMinHeight);
    EXPECT_EQ(view->emptyState()->titleLabel()->text(), QStringLiteral("No widgets on the dashboard"));
    EXPECT_EQ(view->emptyState()->messageLabel()->text(),
              QStringLiteral("Turn some on below and they will appear here, updating live."));
    EXPECT_TRUE(view->gridCards().empty());
    EXPECT_TRUE(view->wideCards().empty());
    ASSERT_NE(view->emptyState()->button(), nullptr);
    EXPECT_EQ(view->emptyState()->button()->text(), QStringLiteral("Restore Defaults"));

    view->emptyState()->button()->click();
    settled(*view);
    EXPECT_EQ(view->emptyState(), nullptr);
    EXPECT_EQ(view->gridCards().size(), 5u);
    EXPECT_EQ(view->wideCards().size(), 1u);
    EXPECT_EQ(settings().topBar(), (Kinds{cpu, memory, storage, network}));
    EXPECT_EQ(settings().menuBar(), (Kinds{cpu, memory, network}));
    EXPECT_EQ(settings().refreshInterval(), 2);
    EXPECT_TRUE(settings().showMenuBarMonitor());
    EXPECT_EQ(settings().theme(), AppTheme::system);
    EXPECT_EQ(fixture.defaults.values().value("monitor.dashboard"),
              QJsonValue(strings({"cpu", "memory", "storage", "network", "battery", "processes"})));
    EXPECT_EQ(fixture.defaults.values().value("appearance.theme"), QJsonValue(QStringLiteral("system")));
}

TEST_F(WidgetsViewTest, ADashboardOfOnlyProcessesHasOneWideCardAndNoEmptyState)
{
    settings().setDashboard({processes});
    auto view = makeView();
    EXPECT_EQ(view->emptyState(), nullptr);
    EXPECT_TRUE(view->gridCards().empty());
    EXPECT_EQ(view->gridSlot(), nullptr);
    EXPECT_EQ(kindsOf(view->wideCards()), (Kinds{processes}));
}

TEST_F(WidgetsViewTest, CustomizerRowsStayInOrderWhileSwitchesAndArrowsEditTheDashboard)
{
    auto view = makeView();
    Kinds order;
    for (const CustomizerRow* each : view->customizer()->rows()) {
        order.push_back(each->kind());
    }
    EXPECT_EQ(order, (Kinds{cpu, memory, storage, network, battery, processes, junk}));

    CustomizerRow* reclaim = row(*view, junk);
    EXPECT_FALSE(reclaim->isHighlighted());
    EXPECT_FALSE(reclaim->toggle()->isOn());
    EXPECT_TRUE(reclaim->upButton()->parentWidget()->isHidden());
    CustomizerRow* first = row(*view, cpu);
    EXPECT_TRUE(first->isHighlighted());
    EXPECT_FALSE(first->upButton()->isEnabled());
    EXPECT_TRUE(first->downButton()->isEnabled());
    EXPECT_FALSE(row(*view, processes)->downButton()->isEnabled());

    // The switch appends at the end, whichever way it was asked to go.
    reclaim->toggle()->click();
    settled(*view);
    EXPECT_EQ(settings().dashboard(), (Kinds{cpu, memory, storage, network, battery, processes, junk}));
    EXPECT_EQ(kindsOf(view->gridCards()).back(), junk);
    EXPECT_TRUE(reclaim->isHighlighted());
    EXPECT_FALSE(reclaim->downButton()->isEnabled());
    EXPECT_TRUE(row(*view, processes)->downButton()->isEnabled());

    row(*view, memory)->downButton()->click();
    settled(*view);
    EXPECT_EQ(settings().dashboard(), (Kinds{cpu, storage, memory, network, battery, processes, junk}));
    EXPECT_EQ(kindsOf(view->gridCards()), (Kinds{cpu, storage, memory, network, battery, junk}));
    row(*view, storage)->upButton()->click();
    settled(*view);
    EXPECT_EQ(settings().dashboard(), (Kinds{storage, cpu, memory, network, battery, processes, junk}));
    EXPECT_FALSE(row(*view, storage)->upButton()->isEnabled());

    row(*view, processes)->toggle()->click();
    settled(*view);
    EXPECT_TRUE(view->wideCards().empty());
    EXPECT_FALSE(row(*view, processes)->isHighlighted());
    EXPECT_EQ(fixture.defaults.values().value("monitor.dashboard"),
              QJsonValue(strings({"storage", "cpu", "memory", "network", "battery", "junk"})));
    order.clear();
    for (const CustomizerRow* each : view->customizer()->rows()) {
        order.push_back(each->kind());
    }
    EXPECT_EQ(order, (Kinds{cpu, memory, storage, network, battery, processes, junk}));

    settings().setDashboard({battery});
    settled(*view);
    EXPECT_FALSE(row(*view, battery)->upButton()->isEnabled());
    EXPECT_FALSE(row(*view, battery)->downButton()->isEnabled());
    EXPECT_FALSE(row(*view, battery)->upButton()->parentWidget()->isHidden());

    view->customizer()->restoreButton()->click();
    settled(*view);
    EXPECT_EQ(settings().dashboard(), kDefaultDashboard);
}

TEST_F(WidgetsViewTest, ChipRowsOfferSixKindsAndToggleThePlacesList)
{
    auto view = makeView();
    PlacementChipRow* top = view->controls()->topBarRow();
    PlacementChipRow* menu = view->controls()->menuBarRow();
    Kinds offered;
    for (const CapsuleChip* chip : top->chips()) {
        offered.push_back(*monitorKindFromRawValue(chip->objectName().mid(5)));
        EXPECT_NE(chip->text(), QStringLiteral("Top Processes"));
    }
    EXPECT_EQ(offered, (Kinds{cpu, memory, storage, network, battery, junk}));
    EXPECT_EQ(selection(*top), (std::vector<bool>{true, true, true, true, false, false}));
    EXPECT_EQ(selection(*menu), (std::vector<bool>{true, true, false, true, false, false}));
    EXPECT_EQ(top->findChild<RoleLabel*>(QStringLiteral("title"))->text(), QStringLiteral("Window top bar"));
    EXPECT_EQ(menu->findChild<RoleLabel*>(QStringLiteral("caption"))->text(),
              QStringLiteral("Values shown next to the menu bar icon. Two or three keeps it readable."));

    top->chips()[1]->click();
    settled(*view);
    EXPECT_EQ(settings().topBar(), (Kinds{cpu, storage, network}));
    EXPECT_FALSE(top->chips()[1]->isSelected());
    top->chips()[1]->click();
    settled(*view);
    EXPECT_EQ(settings().topBar(), (Kinds{cpu, storage, network, memory}));
    EXPECT_EQ(fixture.defaults.values().value("monitor.topBar"),
              QJsonValue(strings({"cpu", "storage", "network", "memory"})));

    for (int i : {0, 1, 3}) {
        menu->chips()[i]->click();
    }
    settled(*view);
    EXPECT_EQ(settings().menuBar(), Kinds{});
    EXPECT_EQ(selection(*menu), std::vector<bool>(6, false));
    EXPECT_EQ(fixture.defaults.values().value("monitor.menuBar"), QJsonValue(QJsonArray{}));
    for (CapsuleChip* chip : menu->chips()) {
        chip->click();
    }
    settled(*view);
    EXPECT_EQ(settings().menuBar(), (Kinds{cpu, memory, storage, network, battery, junk}));

    // A list holding processes keeps it; no chip can take it out.
    settings().setTopBar({processes, cpu});
    settled(*view);
    EXPECT_EQ(selection(*top), (std::vector<bool>{true, false, false, false, false, false}));
    top->chips()[0]->click();
    EXPECT_EQ(settings().topBar(), (Kinds{processes}));
}

TEST_F(WidgetsViewTest, RefreshPickerAndMenuBarSwitchWriteTheirKeys)
{
    auto view = makeView();
    PopUpPicker* picker = view->controls()->intervalPicker();
    EXPECT_EQ(picker->items(), (QStringList{"1 second", "2 seconds", "5 seconds", "10 seconds"}));
    EXPECT_EQ(picker->currentText(), QStringLiteral("2 seconds"));
    EXPECT_EQ(picker->width(), MonitorControls::kPickerWidth);
    emit picker->activated(2);
    EXPECT_EQ(settings().refreshInterval(), 5.0);
    EXPECT_EQ(fixture.defaults.values().value("monitor.refreshInterval"), QJsonValue(5.0));
    settings().setRefreshInterval(1);
    settled(*view);
    EXPECT_EQ(picker->currentText(), QStringLiteral("1 second"));
    // The screen's loop waits twice the interval, at least four seconds.
    EXPECT_EQ(view->processRefresh().nextPause(), 4000);
    settings().setRefreshInterval(10);
    EXPECT_EQ(view->processRefresh().nextPause(), 20000);

    SwitchToggle* monitor = view->controls()->menuBarSwitch();
    ASSERT_TRUE(monitor->label().has_value());
    EXPECT_EQ(monitor->label()->title, QStringLiteral("Menu bar monitor"));
    EXPECT_EQ(monitor->label()->caption,
              QStringLiteral("Shows live readings in the macOS menu bar, with a dropdown panel."));
    EXPECT_TRUE(monitor->isOn());
    monitor->click();
    settled(*view);
    EXPECT_FALSE(settings().showMenuBarMonitor());
    EXPECT_EQ(fixture.defaults.values().value("monitor.showMenuBar"), QJsonValue(false));
    EXPECT_FALSE(monitor->isOn());
    monitor->click();
    EXPECT_TRUE(settings().showMenuBarMonitor());
}

TEST_F(WidgetsViewTest, ThemeChipsStoreTheThemeAndShowItsDescription)
{
    auto view = makeView();
    AppearanceRow* appearance = view->controls()->appearanceRow();
    const auto& chips = appearance->chips();
    EXPECT_EQ(chips[0]->text(), QStringLiteral("System"));
    EXPECT_EQ(chips[2]->symbol(), QStringLiteral("moon.fill"));
    for (size_t i = 0; i < chips.size(); ++i) {
        EXPECT_EQ(chips[i]->toolTip(), AppearanceRow::choice(AppThemes::allCases[i]).description);
    }
    EXPECT_TRUE(chips[0]->isSelected());
    chips[2]->click();
    settled(*view);
    EXPECT_EQ(settings().theme(), AppTheme::dark);
    EXPECT_EQ(fixture.defaults.values().value("appearance.theme"), QJsonValue(QStringLiteral("dark")));
    EXPECT_EQ(appearance->descriptionLabel()->text(), QStringLiteral("Always the deep pine canvas."));
    EXPECT_FALSE(chips[0]->isSelected());
    EXPECT_FALSE(chips[1]->isSelected());
    EXPECT_TRUE(chips[2]->isSelected());
    // Each chip keeps its own description, whatever is chosen.
    EXPECT_EQ(chips[1]->toolTip(), QStringLiteral("Always the white-and-green canvas."));
}

TEST_F(WidgetsViewTest, UpdatesRowReadsTheCheckerAndCheckNowNeverWaits)
{
    auto view = makeView();
    UpdatesRow* updates = view->controls()->updatesRow();
    EXPECT_EQ(updates->captionLabel()->text(),
              UpdatesRow::caption(QStringLiteral("1.0"), 100, fixture.feed.site().host()));
    // Nothing stored: checks run automatically.
    EXPECT_TRUE(updates->automaticSwitch()->isOn());
    updates->automaticSwitch()->click();
    settled(*view);
    EXPECT_FALSE(model().updates().automaticallyChecks());
    EXPECT_EQ(fixture.defaults.values().value("QuorvaneKit.update.automaticallyChecks"), QJsonValue(false));
    EXPECT_FALSE(updates->automaticSwitch()->isOn());

    // A server that fails: the sheet opens at once and the row shows why.
    fixture.serve({503, "busy"});
    fixture.checkNow();
    ASSERT_TRUE(model().updates().lastManualResult().has_value());
    settled(*view);
    EXPECT_FALSE(updates->failureLabel()->isHidden());
    EXPECT_EQ(updates->failureLabel()->text(), model().updates().lastManualResult()->description);

    // One that never answers: Check Now returns at once with the sheet up.
    fixture.serve({200, {}, {}, Framing::silent});
    QStringList order;
    QObject::connect(&model(), &AppModel::showUpdateSheetChanged, [&] {
        order.append(model().updates().lastManualResult() ? QStringLiteral("sheet with a result")
                                                          : QStringLiteral("sheet"));
    });
    updates->checkNowButton()->click();
    EXPECT_EQ(order, QStringList{"sheet"});
    EXPECT_TRUE(model().showUpdateSheet());
    EXPECT_TRUE(model().updates().isChecking());
    EXPECT_FALSE(model().updates().lastManualResult().has_value());
    settled(*view);
    EXPECT_TRUE(updates->failureLabel()->isHidden());
    EXPECT_EQ(updates->checkNowButton()->text(), QStringLiteral("Check Now"));
    EXPECT_TRUE(updates->checkNowButton()->isEnabled());
}

// Without an update site "Check Now" opens the sheet, which says so, asks
// nobody and leaves no error under the row.
TEST_F(WidgetsViewTest, CheckNowWithoutAnUpdateSiteSaysSoWithoutAnError)
{
    AppModel::Setup setup = fixture.trayedSetup();
    setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl());
    fixture.model = std::make_unique<AppModel>(fixture.defaults, std::move(setup));
    fixture.serve({503, "busy"});
    auto view = makeView();
    UpdatesRow* updates = view->controls()->updatesRow();
    EXPECT_EQ(updates->captionLabel()->text(), UpdatesRow::caption(QStringLiteral("1.0"), 100, QString()));

    model().updates().checkIfDue();
    updates->checkNowButton()->click();
    settled(*view);
    EXPECT_TRUE(model().showUpdateSheet());
    EXPECT_EQ(UpdateSheet::content(model().updates()).state, UpdateSheet::State::noSite);
    EXPECT_FALSE(model().updates().lastManualResult());
    EXPECT_FALSE(model().updates().isChecking());
    EXPECT_TRUE(updates->failureLabel()->isHidden());
    EXPECT_TRUE(fixture.feed.requests().isEmpty());
}

TEST_F(WidgetsViewTest, CardsFollowEverySampleAndProcessSample)
{
    fixture.snapshot.cpuUsage = 0.37;
    fixture.snapshot.memoryTotal = 8'000'000'000;
    fixture.snapshot.memoryUsed = 2'000'000'000;
    auto view = makeView();
    model().refreshSnapshot();
    test::waitFor([&] { return model().snapshot().cpuUsage > 0; });
    settled(*view);
    const MonitorInputs inputs = monitorInputs(model());
    for (const MonitorCard* card : view->gridCards()) {
        EXPECT_EQ(card->reading(), monitorReading(card->kind(), inputs)) << rawValue(card->kind()).toStdString();
    }
    EXPECT_EQ(view->gridCards()[0]->findChild<FittingLabel*>(QStringLiteral("headline"))->text(),
              QStringLiteral("37%"));
    fixture.setProcesses(test::TrayFixture::processList(12));
    fixture.sampleProcesses();
    view->refresh();
    EXPECT_EQ(view->wideCards()[0]->findChildren<QWidget*>(QStringLiteral("processRow")).size(), 5);
}

TEST_F(WidgetsViewTest, WhileShownTheScreenMonitorsAndReloadsProcesses)
{
    auto view = makeView();
    EXPECT_FALSE(view->processRefresh().isRunning());
    EXPECT_EQ(fixture.services->processSamples, 0);
    view->show();
    EXPECT_TRUE(view->processRefresh().isRunning());
    EXPECT_EQ(view->processRefresh().armedPause(), 4000);
    test::waitFor([&] { return fixture.services->processSamples == 1 && *fixture.samples >= 1; });
    view->processRefresh().tick();
    test::waitFor([&] { return fixture.services->processSamples == 2; });
    view->hide();
    EXPECT_FALSE(view->processRefresh().isRunning());
}

TEST_F(WidgetsViewTest, TheGridsSpacingAndColumnsAreMeasuredBetweenSurfaces)
{
    auto view = makeView();
    view->show();
    test::WindowFixture::settle();
    const QMargins room = MonitorCard::shadowMargins();
    ASSERT_NE(view->gridSlot(), nullptr);
    const auto surface = [&](const MonitorCard* card) {
        return QRect(card->mapTo(view.get(), QPoint(0, 0)), card->size()).marginsRemoved(room);
    };
    const QRect slot(view->gridSlot()->mapTo(view.get(), QPoint(0, 0)), view->gridSlot()->size());
    // 1000 wide: a 948-wide column holds three columns of at least 280.
    const std::vector<MonitorCard*>& cards = view->gridCards();
    EXPECT_EQ(surface(cards[0]).left(), slot.left());
    EXPECT_EQ(surface(cards[1]).left() - surface(cards[0]).right() - 1, WidgetsView::kGridSpacing);
    EXPECT_EQ(surface(cards[3]).top() - surface(cards[0]).bottom() - 1, WidgetsView::kGridSpacing);
    EXPECT_EQ(surface(cards[2]).right(), slot.right());
    EXPECT_EQ(surface(cards[3]).left(), slot.left());
    EXPECT_GE(surface(cards[0]).width(), WidgetsView::kMinColumnWidth);
    const MonitorCard* wide = view->wideCards()[0];
    EXPECT_EQ(surface(wide).left(), slot.left());
    EXPECT_EQ(surface(wide).right(), slot.right());
    EXPECT_EQ(surface(wide).top() - slot.bottom() - 1, WidgetsView::kSpacing);
}

// Every change is stored at once and read back at the next start.
TEST(WidgetsViewRestart, ChangesMadeOnTheScreenSurviveARestart)
{
    QTemporaryDir home;
    const QString file = home.filePath(QStringLiteral("defaults.json"));
    {
        JsonFileDefaults defaults(file);
        test::TrayFixture fixture;
        AppModel model(defaults, fixture.trayedSetup());
        WidgetsView view(model);
        view.controls()->topBarRow()->chips()[5]->click();
        view.controls()->menuBarRow()->chips()[0]->click();
        emit view.controls()->intervalPicker()->activated(3);
        view.controls()->menuBarSwitch()->click();
        view.controls()->appearanceRow()->chips()[1]->click();
        view.controls()->updatesRow()->automaticSwitch()->click();
        view.customizer()->rows()[1]->toggle()->click();
        fixture.runner->waitForDone();
    }
    JsonFileDefaults defaults(file);
    test::TrayFixture fixture;
    AppModel model(defaults, fixture.trayedSetup());
    EXPECT_EQ(model.settings().topBar(), (Kinds{cpu, memory, storage, network, junk}));
    EXPECT_EQ(model.settings().menuBar(), (Kinds{memory, network}));
    EXPECT_EQ(model.settings().refreshInterval(), 10);
    EXPECT_FALSE(model.settings().showMenuBarMonitor());
    EXPECT_EQ(model.settings().theme(), AppTheme::light);
    EXPECT_FALSE(model.updates().automaticallyChecks());
    EXPECT_EQ(model.settings().dashboard(), (Kinds{cpu, storage, network, battery, processes}));
    WidgetsView view(model);
    EXPECT_EQ(selection(*view.controls()->topBarRow()), (std::vector<bool>{true, true, true, true, false, true}));
    EXPECT_EQ(view.controls()->intervalPicker()->currentText(), QStringLiteral("10 seconds"));
    EXPECT_FALSE(view.controls()->menuBarSwitch()->isOn());
    EXPECT_TRUE(view.controls()->appearanceRow()->chips()[1]->isSelected());
    EXPECT_FALSE(view.controls()->updatesRow()->automaticSwitch()->isOn());
    EXPECT_EQ(kindsOf(view.gridCards()), (Kinds{cpu, storage, network, battery}));
}

// A hand-edited settings file: unknown kinds, repeats, wrong types and a list
// of thousands. The screen shows what loading made of it and stays small.
TEST(WidgetsViewRestart, ABadSettingsFileShowsTheRepairedSettings)
{
    QTemporaryDir home;
    const QString file = home.filePath(QStringLiteral("defaults.json"));
    QJsonArray huge;
    for (int i = 0; i < 200'000; ++i) {
        huge.append(i % 3 == 0 ? QStringLiteral("gpu") : QStringLiteral("battery"));
    }
    const QJsonObject stored{
        {QStringLiteral("monitor.topBar"), strings({"cpu", "gpu", "cpu", "Memory", "junk"})},
        {QStringLiteral("monitor.menuBar"), QStringLiteral("cpu, memory")},
        {QStringLiteral("monitor.dashboard"), huge},
        {QStringLiteral("monitor.refreshInterval"), QStringLiteral("often")},
        {QStringLiteral("monitor.showMenuBar"), QJsonArray{true}},
        {QStringLiteral("appearance.theme"), 7},
        {QStringLiteral("QuorvaneKit.update.automaticallyChecks"), QStringLiteral("no")},
    };
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QJsonDocument(stored).toJson());
    }
    JsonFileDefaults defaults(file);
    test::TrayFixture fixture;
    AppModel model(defaults, fixture.trayedSetup());
    WidgetsView view(model);
    EXPECT_EQ(selection(*view.controls()->topBarRow()), (std::vector<bool>{true, false, false, false, false, true}));
    EXPECT_EQ(model.settings().topBar(), (Kinds{cpu, cpu, junk}));
    EXPECT_EQ(selection(*view.controls()->menuBarRow()), (std::vector<bool>{true, true, false, true, false, false}));
    EXPECT_EQ(kindsOf(view.gridCards()), Kinds(MonitorSettings::storedListLimit, battery));
    EXPECT_EQ(view.controls()->intervalPicker()->currentText(), QStringLiteral("2 seconds"));
    EXPECT_TRUE(view.controls()->menuBarSwitch()->isOn());
    EXPECT_TRUE(view.controls()->appearanceRow()->chips()[0]->isSelected());
    EXPECT_TRUE(view.controls()->updatesRow()->automaticSwitch()->isOn());
    // Nothing was written while loading.
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(in.readAll()).object(), stored);
}
