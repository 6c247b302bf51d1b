#include "engine/commands/ShellQuoting.h"
#include "engine/commands/ShellRunner.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace harborlite;

TEST(ShellQuoting, WritesTheExpectedForms)
{
    EXPECT_EQ(ShellQuoting::quoted(QStringLiteral("it's")), QStringLiteral("'it'\\''s'"));
    EXPECT_EQ(ShellQuoting::quoted(QString()), QStringLiteral("''"));
    EXPECT_EQ(ShellQuoting::word(QStringLiteral("com.example.app")), QStringLiteral("com.example.app"));
    EXPECT_EQ(ShellQuoting::word(QStringLiteral("gui/501/com.example.agent")),
              QStringLiteral("gui/501/com.example.agent"));
    EXPECT_EQ(ShellQuoting::word(QStringLiteral("a b")), QStringLiteral("'a b'"));
    EXPECT_EQ(ShellQuoting::word(QString()), QStringLiteral("''"));
    EXPECT_EQ(ShellQuoting::doubleQuoted(QStringLiteral("/Applications/Foo.app")),
              QStringLiteral("\"/Applications/Foo.app\""));
    // Each backslash doubled, each double quote behind exactly one backslash.
    EXPECT_EQ(ShellQuoting::doubleQuoted(QStringLiteral("a\\b\"c\\\"d")), QStringLiteral("\"a\\\\b\\\"c\\\\\\\"d\""));
}

TEST(ShellQuoting, EveryValueReachesTheShellAsOneLiteralArgument)
{
    QTemporaryDir dir;
    const QString pwned = dir.filePath(QStringLiteral("pwned"));
    const QStringList values = {
        QStringLiteral("plain"),
        QStringLiteral("two  spaces"),
        QStringLiteral("it's"),
        QStringLiteral("'"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("$(touch %1)").arg(pwned),
        QStringLiteral("`touch %1`").arg(pwned),
        QStringLiteral("x; touch %1").arg(pwned),
        QStringLiteral("$HOME ${HOME} ~"),
        QStringLiteral("line\nbreak\n"),
        QStringLiteral("back\\slash\\"),
        QStringLiteral("*?[a]"),
        QStringLiteral("-n"),
        QString(),
    };
    const std::function<QString(const QString&)> quotings[] = {ShellQuoting::quoted, ShellQuoting::word,
                                                               ShellQuoting::doubleQuoted};
    for (const auto& quote : quotings) {
        for (const QString& value : values) {
            // printf gets the value as its second argument; "|" marks both ends.
            const QString line = QStringLiteral("printf '|%s|' ") + quote(value);
            const ShellRunner::Output output =
                ShellRunner::run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line}, 10);
            EXPECT_EQ(output.status, 0) << line.toStdString();
            EXPECT_EQ(output.standardOutput, QLatin1Char('|') + value + QLatin1Char('|')) << line.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(pwned));
}
