#include "platform/ToolTable.h"
#include "support/FakeTool.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(ToolTable, NamesEveryToolByItsAbsolutePath)
{
    const platform::ToolTable table;
    EXPECT_EQ(table.ps, QStringLiteral("/bin/ps"));
    EXPECT_EQ(table.tmutil, QStringLiteral("/usr/bin/tmutil"));
    EXPECT_EQ(table.diskutil, QStringLiteral("/usr/sbin/diskutil"));
    EXPECT_EQ(table.lsregister,
              QStringLiteral("/System/Library/Frameworks/CoreServices.framework/Frameworks/"
                             "LaunchServices.framework/Support/lsregister"));
    EXPECT_EQ(table.sqlite3, QStringLiteral("/usr/bin/sqlite3"));
    EXPECT_EQ(table.launchctl, QStringLiteral("/bin/launchctl"));
    EXPECT_EQ(table.pkgutil, QStringLiteral("/usr/sbin/pkgutil"));
    EXPECT_EQ(table.purge, QStringLiteral("/usr/sbin/purge"));
    EXPECT_EQ(table.dscacheutil, QStringLiteral("/usr/bin/dscacheutil"));
    EXPECT_EQ(table.killall, QStringLiteral("/usr/bin/killall"));
    EXPECT_EQ(table.mdutil, QStringLiteral("/usr/bin/mdutil"));
    EXPECT_EQ(table.rm, QStringLiteral("/bin/rm"));
    EXPECT_EQ(table.pkexec, QStringLiteral("/usr/bin/pkexec"));
    EXPECT_EQ(table.shell, QStringLiteral("/bin/sh"));
}

TEST(ToolTable, ExecutableFileCheck)
{
    QTemporaryDir dir;
    const QString script = test::writeFakeTool(dir.path(), QStringLiteral("tool"), "exit 0");
    const QString plain = dir.filePath(QStringLiteral("plain"));
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString toScript = dir.filePath(QStringLiteral("link-to-tool"));
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    ASSERT_TRUE(QFile::link(script, toScript));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dangling));

    struct Row {
        QString path;
        bool executable;
    };
    const Row rows[] = {
        {script, true},      {toScript, true},  {plain, false},
        {dir.path(), false}, {dangling, false}, {dir.filePath(QStringLiteral("missing")), false},
        {QString(), false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(platform::isExecutableFile(row.path), row.executable) << row.path.toStdString();
    }
}
