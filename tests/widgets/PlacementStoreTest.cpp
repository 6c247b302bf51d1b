#include "widgets/host/PlacementStore.h"
#include "support/FixtureTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

bool offers(const QString& kind, WidgetFamily family)
{
    if (kind == QLatin1String("HarborliteSystemMonitor")) {
        return family != WidgetFamily::systemExtraLarge;
    }
    return kind == QLatin1String("HarborliteStorage")
        && (family == WidgetFamily::systemSmall || family == WidgetFamily::systemMedium);
}

QJsonArray savedList(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("placements")).toArray();
}

const QUuid kFirst = QUuid::fromString(QStringLiteral("1b4e28ba-2fa1-11d2-883f-0016d3cca427"));
const QUuid kSecond = QUuid::fromString(QStringLiteral("2b4e28ba-2fa1-11d2-883f-0016d3cca427"));

} // namespace

TEST(PlacementStore, TheFirstRunHasNoFileAndNoPlacements)
{
    test::FixtureTree tree;
    const PlacementStore store(tree.path(QStringLiteral("config/placements.json")));
    const PlacementStore::Loaded loaded = store.load(offers);
    EXPECT_FALSE(loaded.existed);
    EXPECT_FALSE(loaded.repaired);
    EXPECT_TRUE(loaded.placements.empty());
    EXPECT_FALSE(QFile::exists(store.filePath())) << "loading never writes a file that was not there";
}

TEST(PlacementStore, PlacementsComeBackAsTheyWereSaved)
{
    test::FixtureTree tree;
    const PlacementStore store(tree.path(QStringLiteral("config/placements.json")));
    const std::vector<WidgetPlacement> placements = {
        {kFirst, QStringLiteral("HarborliteSystemMonitor"), WidgetFamily::systemLarge, QPoint(40, -12)},
        {kSecond, QStringLiteral("HarborliteStorage"), WidgetFamily::systemSmall, std::nullopt},
    };
    ASSERT_TRUE(store.save(placements));
    const PlacementStore::Loaded loaded = store.load(offers);
    EXPECT_TRUE(loaded.existed);
    EXPECT_FALSE(loaded.repaired);
    EXPECT_EQ(loaded.placements, placements);
}

namespace {

// The file as it was, kept beside the repaired one.
QByteArray keptBeside(const QString& path)
{
    const QFileInfo info(path);
    const QStringList kept = info.dir().entryList({info.fileName() + QStringLiteral(".bad-*")}, QDir::Files);
    EXPECT_EQ(kept.size(), 1) << kept.join(QLatin1Char(' ')).toStdString();
    QFile file(info.dir().filePath(kept.value(0)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(PlacementStore, AFileThatIsNotAPlacementListReadsAsNoneIsKeptBesideAndIsRewritten)
{
    const char* contents[] = {
        "", "{", "not json at all", "[1, 2, 3]", "{\"placements\": 4}", "{\"other\": []}", "\xff\xfe\x00garbage",
    };
    for (const char* content : contents) {
        test::FixtureTree tree;
        const QString path = tree.file(QStringLiteral("config/placements.json"), QByteArray(content));
        const PlacementStore::Loaded loaded = PlacementStore(path).load(offers);
        EXPECT_TRUE(loaded.existed) << content;
        EXPECT_TRUE(loaded.repaired) << content;
        EXPECT_TRUE(loaded.placements.empty()) << content;
        EXPECT_TRUE(savedList(path).isEmpty()) << content;
        EXPECT_EQ(keptBeside(path), QByteArray(content));
    }
}

TEST(PlacementStore, AFileCutShortKeepsTheEntriesThatEndedBeforeTheDamage)
{
    test::FixtureTree tree;
    const QByteArray content = QStringLiteral(R"({"placements": [
        {"id": "%1", "kind": "HarborliteStorage", "family": "systemMedium", "x": 100, "y": 200},
        {"id": "%2", "kind": "HarborliteSystemMonitor", "family": "systemSm)")
                                   .arg(kFirst.toString(QUuid::WithoutBraces), kSecond.toString(QUuid::WithoutBraces))
                                   .toUtf8();
    const QString path = tree.file(QStringLiteral("config/placements.json"), content);
    const PlacementStore::Loaded loaded = PlacementStore(path).load(offers);
    EXPECT_TRUE(loaded.repaired);
    const std::vector<WidgetPlacement> expected = {
        {kFirst, QStringLiteral("HarborliteStorage"), WidgetFamily::systemMedium, QPoint(100, 200)},
    };
    EXPECT_EQ(loaded.placements, expected);
    EXPECT_EQ(savedList(path).size(), 1);
    EXPECT_EQ(keptBeside(path), content);
}

TEST(PlacementStore, EntriesThePlugInCannotShowAreDroppedAndTheRestKept)
{
    test::FixtureTree tree;
    const QString good = kFirst.toString(QUuid::WithoutBraces);
    const QByteArray content = QStringLiteral(R"({"placements": [
        {"id": "%1", "kind": "HarborliteStorage", "family": "systemMedium", "x": 100, "y": 200},
        {"id": "%1", "kind": "HarborliteStorage", "family": "systemSmall"},
        {"id": "%2", "kind": "SomeoneElsesWidget", "family": "systemSmall"},
        {"id": "%2", "kind": "HarborliteStorage", "family": "systemLarge"},
        {"id": "%2", "kind": "HarborliteStorage", "family": "huge"},
        {"id": "not-a-uuid", "kind": "HarborliteStorage", "family": "systemSmall"},
        {"kind": "HarborliteStorage", "family": "systemSmall"},
        "a string",
        7,
        {"id": "%2", "kind": "HarborliteSystemMonitor", "family": "systemSmall", "x": "left", "y": 1e300}
    ]})")
                                   .arg(good, kSecond.toString(QUuid::WithoutBraces))
                                   .toUtf8();
    const QString path = tree.file(QStringLiteral("config/placements.json"), content);
    const PlacementStore::Loaded loaded = PlacementStore(path).load(offers);
    EXPECT_TRUE(loaded.repaired);
    const std::vector<WidgetPlacement> expected = {
        {kFirst, QStringLiteral("HarborliteStorage"), WidgetFamily::systemMedium, QPoint(100, 200)},
        {kSecond, QStringLiteral("HarborliteSystemMonitor"), WidgetFamily::systemSmall, std::nullopt},
    };
    EXPECT_EQ(loaded.placements, expected);
    EXPECT_EQ(savedList(path).size(), 2);
    EXPECT_EQ(keptBeside(path), content);
    // The repaired file loads clean.
    const PlacementStore::Loaded again = PlacementStore(path).load(offers);
    EXPECT_FALSE(again.repaired);
    EXPECT_EQ(again.placements, expected);
}

TEST(PlacementStore, AFolderInThePlaceOfTheFileIsLeftAlone)
{
    test::FixtureTree tree;
    const QString path = tree.folder(QStringLiteral("config/placements.json"));
    const PlacementStore store(path);
    const PlacementStore::Loaded loaded = store.load(offers);
    EXPECT_TRUE(loaded.placements.empty());
    EXPECT_FALSE(store.save({{kFirst, QStringLiteral("HarborliteStorage"), WidgetFamily::systemSmall, {}}}));
}

TEST(PlacementStore, TheStandardFileLivesInTheHostsOwnConfigFolder)
{
    EXPECT_TRUE(
        PlacementStore::standardFilePath().endsWith(QStringLiteral("/.config/harborlite-widget-host/placements.json")));
}
