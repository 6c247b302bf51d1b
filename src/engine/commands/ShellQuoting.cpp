#include "engine/commands/ShellQuoting.h"

#include <algorithm>

namespace harborlite::ShellQuoting {

namespace {

bool isPlain(QChar c)
{
    if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))) {
        return true;
    }
    return QStringLiteral("_-.,/:@%+=").contains(c);
}

} // namespace

QString quoted(const QString& value)
{
    QString text = value;
    text.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString word(const QString& value)
{
    const bool plain = !value.isEmpty() && std::all_of(value.begin(), value.end(), isPlain);
    return plain ? value : quoted(value);
}

QString doubleQuoted(const QString& value)
{
    QString text = value;
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    text.replace(QLatin1Char('$'), QStringLiteral("\\$"));
    text.replace(QLatin1Char('`'), QStringLiteral("\\`"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace harborlite::ShellQuoting
