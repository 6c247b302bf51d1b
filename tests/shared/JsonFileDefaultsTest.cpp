#include "shared/JsonFileDefaults.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using namespace harborlite;

namespace {

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(contents), contents.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ino_t inodeOf(const QString& path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(JsonFileDefaults, KeepsEveryTypeAcrossALaunch)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.filePath(QStringLiteral("config/harborlite/defaults.json"));
    const QJsonObject values{
        {QStringLiteral("flag"), true},
        {QStringLiteral("number"), 2.5},
        {QStringLiteral("text"), QStringLiteral("dark")},
        {QStringLiteral("list"), QJsonArray{QStringLiteral("cpu"), QStringLiteral("memory")}},
        {QStringLiteral("empty.list"), QJsonArray{}},
    };
    {
        JsonFileDefaults defaults(path);
        EXPECT_FALSE(QFile::exists(path));
        for (auto it = values.begin(); it != values.end(); ++it) {
            defaults.setValue(it.key(), it.value());
        }
    }

    JsonFileDefaults reread(path);
    for (auto it = values.begin(); it != values.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        ASSERT_TRUE(reread.object(it.key()).has_value());
        EXPECT_EQ(*reread.object(it.key()), it.value());
    }
    EXPECT_EQ(reread.boolean(QStringLiteral("flag")), true);
    EXPECT_EQ(entriesOf(home.filePath(QStringLiteral("config/harborlite"))),
              QStringList{QStringLiteral("defaults.json")});
}

TEST(JsonFileDefaults, AnEmptyFileReadsAsEmptyAndIsLeftAsItIs)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.filePath(QStringLiteral("defaults.json"));
    writeFile(path, "\n");
    const ino_t inode = inodeOf(path);

    JsonFileDefaults defaults(path);

    EXPECT_FALSE(defaults.object(QStringLiteral("monitor.showMenuBar")).has_value());
    EXPECT_EQ(readFile(path), QByteArray("\n"));
    EXPECT_EQ(inodeOf(path), inode);
    EXPECT_EQ(entriesOf(home.path()), QStringList{QStringLiteral("defaults.json")});
}

TEST(JsonFileDefaults, ADamagedFileIsKeptBesideAndWhatItStillHoldsWrittenBack)
{
    const struct {
        const char* name;
        QByteArray contents;
        QJsonObject readable;
    } cases[] = {
        {"truncated",
         R"({"monitor.showMenuBar": false, "monitor.topBar": ["cp)",
         {{QStringLiteral("monitor.showMenuBar"), false}}},
        {"cut inside a nested value",
         R"({"a": 1, "b": {"c": 2, "d)",
         {{QStringLiteral("a"), 1}, {QStringLiteral("b"), QJsonObject{{QStringLiteral("c"), 2}}}}},
        {"cut after a whole nested value",
         R"({"a": "x\",y", "b": [1, {"c": 2}], "c": tr)",
         {{QStringLiteral("a"), QStringLiteral("x\",y")},
          {QStringLiteral("b"), QJsonArray{1, QJsonObject{{QStringLiteral("c"), 2}}}}}},
        {"not JSON", "showMenuBar=false\n", {}},
        {"an array", R"(["monitor.showMenuBar", false])", {}},
        {"a bare value", "false", {}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        const QString path = home.filePath(QStringLiteral("defaults.json"));
        writeFile(path, row.contents);

        static int warnings = 0;
        warnings = 0;
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
                warnings += type == QtWarningMsg ? 1 : 0;
            });
        JsonFileDefaults defaults(path);
        qInstallMessageHandler(previous);

        EXPECT_EQ(warnings, 1);
        for (auto it = row.readable.begin(); it != row.readable.end(); ++it) {
            EXPECT_EQ(defaults.object(it.key()), std::optional<QJsonValue>(it.value())) << it.key().toStdString();
        }
        EXPECT_FALSE(defaults.object(QStringLiteral("monitor.topBar")).has_value());
        EXPECT_EQ(QJsonDocument::fromJson(readFile(path)).object(), row.readable);
        const QStringList entries = entriesOf(home.path());
        ASSERT_EQ(entries.size(), 2) << entries.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(entries.at(0), QStringLiteral("defaults.json"));
        EXPECT_TRUE(entries.at(1).startsWith(QStringLiteral("defaults.json.bad-"))) << entries.at(1).toStdString();
        EXPECT_EQ(readFile(home.filePath(entries.at(1))), row.contents);
    }
}

TEST(JsonFileDefaults, ReplacesTheFileWholeNeverRewritingItInPlace)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.filePath(QStringLiteral("defaults.json"));
    const QByteArray old = R"({"appearance.theme": "dark", "monitor.refreshInterval": 5})";
    writeFile(path, old);
    JsonFileDefaults defaults(path);

    // A reader holding the old file still sees all of it after the write: the
    // new contents arrive under a new inode by rename, so no moment exists in
    // which the path names a partly written file.
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    defaults.setValue(QStringLiteral("appearance.theme"), QStringLiteral("light"));

    EXPECT_EQ(before.readAll(), old);
    JsonFileDefaults reread(path);
    EXPECT_EQ(reread.string(QStringLiteral("appearance.theme")), QStringLiteral("light"));
    EXPECT_DOUBLE_EQ(reread.doubleValue(QStringLiteral("monitor.refreshInterval")), 5);
    EXPECT_EQ(entriesOf(home.path()), QStringList{QStringLiteral("defaults.json")});
}

TEST(JsonFileDefaults, AnUnwritableLocationKeepsTheValueForThisRun)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    // A regular file where the configuration folder should be.
    const QString blocker = home.filePath(QStringLiteral("config"));
    writeFile(blocker, "not a folder");
    JsonFileDefaults defaults(blocker + QStringLiteral("/defaults.json"));

    defaults.setValue(QStringLiteral("nav.route"), QStringLiteral("maintenance"));

    EXPECT_EQ(defaults.string(QStringLiteral("nav.route")), QStringLiteral("maintenance"));
    EXPECT_EQ(readFile(blocker), QByteArray("not a folder"));
    EXPECT_EQ(entriesOf(home.path()), QStringList{QStringLiteral("config")});
}

TEST(JsonFileDefaults, StandardFileLivesInTheConfigurationFolder)
{
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    const QString path = JsonFileDefaults::standardFilePath();

    if (previous.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", previous);
    }
    EXPECT_TRUE(path.startsWith(config.path() + QLatin1Char('/'))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/defaults.json"))) << path.toStdString();
}
