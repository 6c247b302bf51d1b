#include "shared/MemoryDefaults.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <optional>

using namespace harborlite;

namespace {

struct ReadCase {
    const char* name;
    std::optional<QJsonValue> stored;
    std::optional<bool> boolean;
    double number;
    qint64 integer;
    std::optional<QString> string;
};

const ReadCase kReadCases[] = {
    {"nothing", std::nullopt, std::nullopt, 0, 0, std::nullopt},
    {"null", QJsonValue(QJsonValue::Null), std::nullopt, 0, 0, std::nullopt},
    {"true", QJsonValue(true), true, 1, 1, std::nullopt},
    {"false", QJsonValue(false), false, 0, 0, std::nullopt},
    {"zero", QJsonValue(0), false, 0, 0, std::nullopt},
    {"one", QJsonValue(1), true, 1, 1, std::nullopt},
    {"two", QJsonValue(2), std::nullopt, 2, 2, std::nullopt},
    {"fraction", QJsonValue(2.7), std::nullopt, 2.7, 2, std::nullopt},
    {"negative fraction", QJsonValue(-2.7), std::nullopt, -2.7, -2, std::nullopt},
    {"too large for an integer", QJsonValue(1e30), std::nullopt, 1e30, 0, std::nullopt},
    {"numeric string", QJsonValue(QStringLiteral("5")), std::nullopt, 5, 5, QStringLiteral("5")},
    {"padded numeric string", QJsonValue(QStringLiteral(" 2.5 ")), std::nullopt, 2.5, 2, QStringLiteral(" 2.5 ")},
    {"word", QJsonValue(QStringLiteral("yes")), std::nullopt, 0, 0, QStringLiteral("yes")},
    {"array", QJsonValue(QJsonArray{1}), std::nullopt, 0, 0, std::nullopt},
    {"object", QJsonValue(QJsonObject{{QStringLiteral("a"), 1}}), std::nullopt, 0, 0, std::nullopt},
};

} // namespace

TEST(DefaultsStore, ReadsEachStoredTypeOnlyAsItsTypedGetterAllows)
{
    const QString key = QStringLiteral("some.key");
    for (const ReadCase& row : kReadCases) {
        SCOPED_TRACE(row.name);
        MemoryDefaults defaults;
        if (row.stored) {
            defaults.setValue(key, *row.stored);
        }
        EXPECT_EQ(defaults.object(key).has_value(), row.stored && !row.stored->isNull());
        EXPECT_EQ(defaults.boolean(key), row.boolean);
        EXPECT_DOUBLE_EQ(defaults.doubleValue(key), row.number);
        EXPECT_EQ(defaults.integerValue(key), row.integer);
        EXPECT_EQ(defaults.string(key), row.string);
    }
}

TEST(MemoryDefaults, RecordsEveryWriteInOrder)
{
    MemoryDefaults defaults(QJsonObject{{QStringLiteral("a"), 1}});
    EXPECT_TRUE(defaults.writes().isEmpty());

    defaults.setValue(QStringLiteral("b"), true);
    defaults.setValue(QStringLiteral("a"), 1);

    EXPECT_EQ(defaults.writes(), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    EXPECT_EQ(defaults.values(), (QJsonObject{{QStringLiteral("a"), 1}, {QStringLiteral("b"), true}}));
}
