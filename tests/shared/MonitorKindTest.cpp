#include "shared/MonitorKind.h"
#include "support/MarkingTranslator.h"

#include <gtest/gtest.h>

#include <vector>

using namespace harborlite;

TEST(MonitorKind, RawValuesAndTintsInDeclarationOrder)
{
    const struct {
        MonitorKind kind;
        const char* raw;
        PaletteRole tint;
    } rows[] = {
        {MonitorKind::cpu, "cpu", PaletteRole::accent},
        {MonitorKind::memory, "memory", PaletteRole::accentDeep},
        {MonitorKind::storage, "storage", PaletteRole::accentBright},
        {MonitorKind::network, "network", PaletteRole::info},
        {MonitorKind::battery, "battery", PaletteRole::accent},
        {MonitorKind::processes, "processes", PaletteRole::accentDeep},
        {MonitorKind::junk, "junk", PaletteRole::accent},
    };
    ASSERT_EQ(MonitorKinds::allCases.size(), std::size(rows));
    for (size_t index = 0; index < std::size(rows); ++index) {
        SCOPED_TRACE(rows[index].raw);
        EXPECT_EQ(MonitorKinds::allCases.at(index), rows[index].kind);
        EXPECT_EQ(rawValue(rows[index].kind), QLatin1String(rows[index].raw));
        EXPECT_EQ(monitorKindFromRawValue(QLatin1String(rows[index].raw)), rows[index].kind);
        EXPECT_EQ(tint(rows[index].kind), rows[index].tint);
    }
    for (const char* raw : {"CPU", " cpu", "", "gpu"}) {
        EXPECT_EQ(monitorKindFromRawValue(QLatin1String(raw)), std::nullopt) << raw;
    }
}

TEST(MonitorKind, DefaultLists)
{
    using K = MonitorKind;
    auto list = [](const auto& kinds) { return std::vector<K>(kinds.begin(), kinds.end()); };
    EXPECT_EQ(list(MonitorKinds::defaultTopBar), (std::vector<K>{K::cpu, K::memory, K::storage, K::network}));
    EXPECT_EQ(list(MonitorKinds::defaultDashboard),
              (std::vector<K>{K::cpu, K::memory, K::storage, K::network, K::battery, K::processes}));
    EXPECT_EQ(list(MonitorKinds::defaultMenuBar), (std::vector<K>{K::cpu, K::memory, K::network}));
}

// The titles stay untranslated in the table and are translated when asked for.
TEST(MonitorKind, TitlesAreTranslatedWhenAskedFor)
{
    QStringList english;
    for (MonitorKind kind : MonitorKinds::allCases) {
        english << title(kind);
    }
    const test::MarkingTranslator translator;
    for (qsizetype index = 0; index < english.size(); ++index) {
        EXPECT_EQ(title(MonitorKinds::allCases.at(std::size_t(index))),
                  QLatin1Char('[') + english[index] + QLatin1Char(']'));
    }
}
