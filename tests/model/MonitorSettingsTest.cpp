#include "model/MonitorSettings.h"
#include "model/Route.h"
#include "shared/JsonFileDefaults.h"
#include "shared/MemoryDefaults.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace harborlite;

namespace {

using Kinds = MonitorSettings::Kinds;
using List = MonitorSettings::List;

constexpr MonitorKind cpu = MonitorKind::cpu;
constexpr MonitorKind memory = MonitorKind::memory;
constexpr MonitorKind storage = MonitorKind::storage;
constexpr MonitorKind network = MonitorKind::network;
constexpr MonitorKind battery = MonitorKind::battery;
constexpr MonitorKind processes = MonitorKind::processes;
constexpr MonitorKind junk = MonitorKind::junk;

const Kinds kDefaultTopBar{cpu, memory, storage, network};
const Kinds kDefaultDashboard{cpu, memory, storage, network, battery, processes};
const Kinds kDefaultMenuBar{cpu, memory, network};

QJsonArray strings(std::initializer_list<const char*> values)
{
    QJsonArray array;
    for (const char* value : values) {
        array.append(QLatin1String(value));
    }
    return array;
}

// What a freshly loaded object holds; each row names only what differs from
// the defaults.
struct LoadCase {
    const char* name;
    QJsonObject stored;
    bool showMenuBar = true;
    double interval = 2;
    Kinds topBar = kDefaultTopBar;
    Kinds dashboard = kDefaultDashboard;
    Kinds menuBar = kDefaultMenuBar;
    AppTheme theme = AppTheme::system;
};

QJsonArray repeated(const QString& value, int count)
{
    QJsonArray array;
    for (int i = 0; i < count; ++i) {
        array.append(value);
    }
    return array;
}

QJsonObject one(const char* key, const QJsonValue& value)
{
    return {{QLatin1String(key), value}};
}

std::vector<LoadCase> loadCases()
{
    return {
        {.name = "nothing stored", .stored = {}},
        {.name = "interval 3", .stored = one("monitor.refreshInterval", 3)},
        {.name = "interval 0", .stored = one("monitor.refreshInterval", 0)},
        {.name = "interval 2.5", .stored = one("monitor.refreshInterval", 2.5)},
        {.name = "interval -5", .stored = one("monitor.refreshInterval", -5)},
        {.name = "interval 1", .stored = one("monitor.refreshInterval", 1), .interval = 1},
        {.name = "interval 5", .stored = one("monitor.refreshInterval", 5), .interval = 5},
        {.name = "interval 10", .stored = one("monitor.refreshInterval", 10), .interval = 10},
        {.name = "interval as text", .stored = one("monitor.refreshInterval", QStringLiteral("5")), .interval = 5},
        {.name = "interval as a word", .stored = one("monitor.refreshInterval", QStringLiteral("often"))},
        {.name = "interval as a list", .stored = one("monitor.refreshInterval", QJsonArray{5})},
        {.name = "unknown kind dropped",
         .stored = one("monitor.topBar", strings({"cpu", "gpu", "memory"})),
         .topBar = {cpu, memory}},
        {.name = "a number among the kinds", .stored = one("monitor.topBar", QJsonArray{QStringLiteral("cpu"), 3})},
        {.name = "repeated kind kept", .stored = one("monitor.topBar", strings({"cpu", "cpu"})), .topBar = {cpu, cpu}},
        {.name = "a huge list keeps its first seven kinds",
         .stored = one("monitor.topBar", repeated(QStringLiteral("memory"), 100'000)),
         .topBar = Kinds(MonitorSettings::storedListLimit, memory)},
        {.name = "unknown kinds do not count against the limit",
         .stored = one("monitor.menuBar",
                       strings({"gpu", "gpu", "gpu", "gpu", "gpu", "gpu", "gpu", "cpu", "junk", "cpu", "network", "cpu",
                                "cpu", "battery", "storage", "memory"})),
         .menuBar = {cpu, junk, cpu, network, cpu, cpu, battery}},
        {.name = "a huge list with a number in it",
         .stored = one("monitor.dashboard",
                       [] {
                           QJsonArray array = repeated(QStringLiteral("cpu"), 50'000);
                           array.append(7);
                           return array;
                       }())},
        {.name = "emptied list", .stored = one("monitor.topBar", QJsonArray{})},
        {.name = "only unknown kinds", .stored = one("monitor.topBar", strings({"gpu", "CPU"}))},
        {.name = "list as a string", .stored = one("monitor.topBar", QStringLiteral("cpu"))},
        {.name = "dashboard",
         .stored = one("monitor.dashboard", strings({"junk", "battery"})),
         .dashboard = {junk, battery}},
        {.name = "menu bar", .stored = one("monitor.menuBar", strings({"storage"})), .menuBar = {storage}},
        {.name = "menu bar with a null",
         .stored = one("monitor.menuBar", QJsonArray{QStringLiteral("cpu"), QJsonValue()})},
        {.name = "theme dark", .stored = one("appearance.theme", QStringLiteral("dark")), .theme = AppTheme::dark},
        {.name = "theme light", .stored = one("appearance.theme", QStringLiteral("light")), .theme = AppTheme::light},
        {.name = "theme Dark", .stored = one("appearance.theme", QStringLiteral("Dark"))},
        {.name = "theme as a number", .stored = one("appearance.theme", 2)},
        {.name = "menu bar off", .stored = one("monitor.showMenuBar", false), .showMenuBar = false},
        {.name = "menu bar 0", .stored = one("monitor.showMenuBar", 0), .showMenuBar = false},
        {.name = "menu bar 1", .stored = one("monitor.showMenuBar", 1)},
        {.name = "menu bar 2", .stored = one("monitor.showMenuBar", 2)},
        {.name = "menu bar as text", .stored = one("monitor.showMenuBar", QStringLiteral("false"))},
        {.name = "menu bar null", .stored = one("monitor.showMenuBar", QJsonValue())},
    };
}

void expectLoaded(const MonitorSettings& settings, const LoadCase& row)
{
    EXPECT_EQ(settings.showMenuBarMonitor(), row.showMenuBar);
    EXPECT_EQ(settings.refreshInterval(), row.interval);
    EXPECT_EQ(settings.topBar(), row.topBar);
    EXPECT_EQ(settings.dashboard(), row.dashboard);
    EXPECT_EQ(settings.menuBar(), row.menuBar);
    EXPECT_EQ(settings.theme(), row.theme);
}

// Counts the announcements of one object.
struct Announcements {
    explicit Announcements(const Observable& observable)
    {
        QObject::connect(&observable, &Observable::objectWillChange, [this] { ++willChange; });
        QObject::connect(&observable, &Observable::didChange, [this] { ++didChange; });
    }
    int willChange = 0;
    int didChange = 0;
};

} // namespace

TEST(MonitorSettings, LoadingRepairsWhatItCannotUseAndWritesNothing)
{
    for (const LoadCase& row : loadCases()) {
        SCOPED_TRACE(row.name);
        MemoryDefaults defaults(row.stored);

        const MonitorSettings settings(defaults);

        expectLoaded(settings, row);
        EXPECT_TRUE(defaults.writes().isEmpty());
        EXPECT_EQ(defaults.values(), row.stored);
    }
}

TEST(MonitorSettings, EveryAssignmentWritesItsKeyWithItsTypeAndAnnounces)
{
    const struct {
        const char* name;
        std::function<void(MonitorSettings&)> assign;
        const char* key;
        QJsonValue stored;
    } cases[] = {
        {"menu bar off", [](MonitorSettings& s) { s.setShowMenuBarMonitor(false); }, "monitor.showMenuBar", false},
        {"menu bar unchanged", [](MonitorSettings& s) { s.setShowMenuBarMonitor(true); }, "monitor.showMenuBar", true},
        {"interval", [](MonitorSettings& s) { s.setRefreshInterval(5); }, "monitor.refreshInterval", 5.0},
        {"interval unchanged", [](MonitorSettings& s) { s.setRefreshInterval(2); }, "monitor.refreshInterval", 2.0},
        {"top bar",
         [](MonitorSettings& s) {
             s.setTopBar({junk, cpu, junk});
         },
         "monitor.topBar", strings({"junk", "cpu", "junk"})},
        {"top bar unchanged", [](MonitorSettings& s) { s.setTopBar(kDefaultTopBar); }, "monitor.topBar",
         strings({"cpu", "memory", "storage", "network"})},
        {"dashboard emptied", [](MonitorSettings& s) { s.setDashboard({}); }, "monitor.dashboard", QJsonArray{}},
        {"menu bar list", [](MonitorSettings& s) { s.setKinds(List::menuBar, {battery}); }, "monitor.menuBar",
         strings({"battery"})},
        {"theme", [](MonitorSettings& s) { s.setTheme(AppTheme::dark); }, "appearance.theme", QStringLiteral("dark")},
        {"theme unchanged", [](MonitorSettings& s) { s.setTheme(AppTheme::system); }, "appearance.theme",
         QStringLiteral("system")},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        MemoryDefaults defaults;
        MonitorSettings settings(defaults);
        Announcements announced(settings);

        row.assign(settings);

        EXPECT_EQ(defaults.writes(), QStringList{QLatin1String(row.key)});
        const QJsonValue stored = defaults.values().value(QLatin1String(row.key));
        EXPECT_EQ(stored, row.stored);
        EXPECT_EQ(stored.type(), row.stored.type());
        EXPECT_EQ(announced.willChange, 1);
        EXPECT_EQ(announced.didChange, 1);
    }
}

TEST(MonitorSettings, AnnouncesBeforeTheValueChangesAndSavesBeforeItIsDone)
{
    MemoryDefaults defaults;
    MonitorSettings settings(defaults);
    std::vector<AppTheme> themeBefore;
    std::vector<QJsonValue> storedAfter;
    QObject::connect(&settings, &Observable::objectWillChange, [&] { themeBefore.push_back(settings.theme()); });
    QObject::connect(&settings, &Observable::didChange,
                     [&] { storedAfter.push_back(defaults.values().value(QStringLiteral("appearance.theme"))); });

    settings.setTheme(AppTheme::light);

    EXPECT_EQ(themeBefore, std::vector<AppTheme>{AppTheme::system});
    EXPECT_EQ(storedAfter, std::vector<QJsonValue>{QJsonValue(QStringLiteral("light"))});
}

TEST(MonitorSettings, ToggleAndMoveEditTheListThroughItsSave)
{
    const struct {
        const char* name;
        List list;
        Kinds before;
        std::function<void(MonitorSettings&, List)> edit;
        Kinds after;
        bool written;
    } cases[] = {
        {"toggle removes the first of two",
         List::topBar,
         {cpu, cpu},
         [](MonitorSettings& s, List l) { s.toggle(cpu, l); },
         {cpu},
         true},
        {"toggle removes from the middle",
         List::dashboard,
         {cpu, memory, storage},
         [](MonitorSettings& s, List l) { s.toggle(memory, l); },
         {cpu, storage},
         true},
        {"toggle appends an absent kind",
         List::menuBar,
         {cpu, memory},
         [](MonitorSettings& s, List l) { s.toggle(junk, l); },
         {cpu, memory, junk},
         true},
        {"toggle appends to an empty list",
         List::topBar,
         {},
         [](MonitorSettings& s, List l) { s.toggle(battery, l); },
         {battery},
         true},
        {"move swaps, never shifts",
         List::topBar,
         {cpu, memory, storage},
         [](MonitorSettings& s, List l) { s.move(cpu, 2, l); },
         {storage, memory, cpu},
         true},
        {"move up by one",
         List::dashboard,
         {cpu, memory, storage},
         [](MonitorSettings& s, List l) { s.move(storage, -1, l); },
         {cpu, storage, memory},
         true},
        {"move takes the first occurrence",
         List::menuBar,
         {cpu, memory, cpu},
         [](MonitorSettings& s, List l) { s.move(cpu, 1, l); },
         {memory, cpu, cpu},
         true},
        {"move by zero still saves",
         List::topBar,
         {cpu, memory},
         [](MonitorSettings& s, List l) { s.move(memory, 0, l); },
         {cpu, memory},
         true},
        {"move before the start",
         List::topBar,
         {cpu, memory, storage},
         [](MonitorSettings& s, List l) { s.move(cpu, -1, l); },
         {cpu, memory, storage},
         false},
        {"move past the end",
         List::dashboard,
         {cpu, memory, storage},
         [](MonitorSettings& s, List l) { s.move(cpu, 3, l); },
         {cpu, memory, storage},
         false},
        {"move a kind that is absent",
         List::menuBar,
         {cpu, memory},
         [](MonitorSettings& s, List l) { s.move(junk, 1, l); },
         {cpu, memory},
         false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        MemoryDefaults defaults;
        MonitorSettings settings(defaults);
        settings.setKinds(row.list, row.before);
        const QJsonObject storedBefore = defaults.values();
        const qsizetype writesBefore = defaults.writes().size();
        Announcements announced(settings);

        row.edit(settings, row.list);

        EXPECT_EQ(settings.kinds(row.list), row.after);
        const int expectedWrites = row.written ? 1 : 0;
        EXPECT_EQ(defaults.writes().size() - writesBefore, expectedWrites);
        EXPECT_EQ(announced.willChange, expectedWrites);
        if (!row.written) {
            EXPECT_EQ(defaults.values(), storedBefore);
        }
    }
}

TEST(MonitorSettings, ResetWritesAllSixKeysInOrderEvenWhenAlreadyDefault)
{
    MemoryDefaults defaults;
    MonitorSettings settings(defaults);
    Announcements announced(settings);

    settings.resetToDefaults();

    const QStringList order{QStringLiteral("monitor.topBar"),      QStringLiteral("monitor.dashboard"),
                            QStringLiteral("monitor.menuBar"),     QStringLiteral("monitor.refreshInterval"),
                            QStringLiteral("monitor.showMenuBar"), QStringLiteral("appearance.theme")};
    EXPECT_EQ(defaults.writes(), order);
    EXPECT_EQ(announced.willChange, 6);
    expectLoaded(settings, LoadCase{.name = "defaults", .stored = {}});
    const QJsonObject expected{
        {QStringLiteral("monitor.topBar"), strings({"cpu", "memory", "storage", "network"})},
        {QStringLiteral("monitor.dashboard"), strings({"cpu", "memory", "storage", "network", "battery", "processes"})},
        {QStringLiteral("monitor.menuBar"), strings({"cpu", "memory", "network"})},
        {QStringLiteral("monitor.refreshInterval"), 2.0},
        {QStringLiteral("monitor.showMenuBar"), true},
        {QStringLiteral("appearance.theme"), QStringLiteral("system")},
    };
    EXPECT_EQ(defaults.values(), expected);
}

TEST(MonitorSettings, TheNextLaunchReadsBackWhatWasSaved)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.filePath(QStringLiteral("defaults.json"));
    {
        JsonFileDefaults defaults(path);
        MonitorSettings settings(defaults);
        settings.setShowMenuBarMonitor(false);
        settings.setRefreshInterval(10);
        settings.setTopBar({network, cpu, cpu});
        settings.setDashboard({});
        settings.toggle(junk, List::menuBar);
        settings.setTheme(AppTheme::dark);
    }

    JsonFileDefaults defaults(path);
    const MonitorSettings settings(defaults);

    expectLoaded(settings,
                 LoadCase{.name = "saved",
                          .stored = {},
                          .showMenuBar = false,
                          .interval = 10,
                          .topBar = {network, cpu, cpu},
                          .menuBar = {cpu, memory, network, junk},
                          .theme = AppTheme::dark});
    // The emptied dashboard stays stored as an empty list but loads as the default.
    EXPECT_EQ(defaults.object(QStringLiteral("monitor.dashboard")), QJsonValue(QJsonArray{}));
}

TEST(MonitorSettings, AFileWithWrongTypesEverywhereLoadsDefaultsAndStaysUntouched)
{
    const QByteArray contents = R"({
        "monitor.showMenuBar": "yes",
        "monitor.refreshInterval": [2],
        "monitor.topBar": ["cpu", 1],
        "monitor.dashboard": {"cpu": true},
        "monitor.menuBar": "cpu",
        "appearance.theme": true,
        "nav.route": "Reclaim"
    })";
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.filePath(QStringLiteral("defaults.json"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    JsonFileDefaults defaults(path);
    const MonitorSettings settings(defaults);

    expectLoaded(settings, LoadCase{.name = "defaults", .stored = {}});
    EXPECT_EQ(restoredRoute(defaults), Route::smartScan);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), contents);
}

TEST(MonitorSettings, IntervalChoicesAndThemeRawValues)
{
    EXPECT_EQ(std::vector<double>(MonitorSettings::intervalChoices.begin(), MonitorSettings::intervalChoices.end()),
              (std::vector<double>{1, 2, 5, 10}));
    ASSERT_EQ(AppThemes::allCases.size(), 3u);
    const char* raws[] = {"system", "light", "dark"};
    for (size_t index = 0; index < AppThemes::allCases.size(); ++index) {
        EXPECT_EQ(rawValue(AppThemes::allCases.at(index)), QLatin1String(raws[index]));
        EXPECT_EQ(appThemeFromRawValue(QLatin1String(raws[index])), AppThemes::allCases.at(index));
    }
    EXPECT_EQ(appThemeFromRawValue(QStringLiteral("Dark")), std::nullopt);
}

TEST(MonitorSettings, ChangesAreAnnouncedOncePerAssignment)
{
    MemoryDefaults defaults;
    MonitorSettings settings(defaults);
    Announcements announced(settings);

    settings.setRefreshInterval(1);
    settings.toggle(cpu, List::topBar);
    settings.move(junk, 1, List::topBar);

    EXPECT_EQ(announced.willChange, 2);
    EXPECT_EQ(announced.didChange, 2);
}
