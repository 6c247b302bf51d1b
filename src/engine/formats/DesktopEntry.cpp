#include "engine/formats/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>

namespace harborlite {

namespace {

const QByteArray groupHeader = QByteArrayLiteral("[Desktop Entry]");
const QByteArray byteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// The key of a "key=value" line, blanks around it dropped; empty for other lines.
QByteArray keyOf(const QByteArray& line)
{
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QByteArray() : line.left(equals).trimmed();
}

QByteArray valueOf(const QByteArray& line)
{
    return line.mid(line.indexOf('=') + 1).trimmed();
}

bool isGroupHeader(const QByteArray& line)
{
    return line.trimmed().startsWith('[');
}

QStringList listValue(const std::optional<QString>& value)
{
    return value ? value->split(QLatin1Char(';'), Qt::SkipEmptyParts) : QStringList();
}

bool meets(const QStringList& listed, const QStringList& desktops)
{
    for (const QString& desktop : desktops) {
        if (listed.contains(desktop)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::fromFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > maxFileBytes || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return fromBytes(file.read(maxFileBytes + 1));
}

std::optional<DesktopEntry> DesktopEntry::fromBytes(const QByteArray& bytes)
{
    if (bytes.size() > maxFileBytes) {
        return std::nullopt;
    }
    DesktopEntry entry;
    bool inGroup = false;
    bool found = false;
    const bool marked = bytes.startsWith(byteOrderMark);
    for (const QByteArray& raw : bytes.mid(marked ? byteOrderMark.size() : 0).split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        if (isGroupHeader(line)) {
            inGroup = line == groupHeader && !found;
            found = found || inGroup;
            continue;
        }
        const QByteArray key = keyOf(line);
        if (!inGroup || key.isEmpty() || key.contains('[')) {
            continue;
        }
        const QString name = QString::fromUtf8(key);
        if (!entry.values_.contains(name)) {
            entry.values_.insert(name, QString::fromUtf8(line.mid(line.indexOf('=') + 1).trimmed()));
        }
    }
    if (!found) {
        return std::nullopt;
    }
    return entry;
}

std::optional<QString> DesktopEntry::value(const QString& key) const
{
    const auto found = values_.constFind(key);
    return found == values_.constEnd() ? std::nullopt : std::optional<QString>(*found);
}

std::optional<QString> DesktopEntry::text(const QString& key) const
{
    const std::optional<QString> raw = value(key);
    if (!raw) {
        return std::nullopt;
    }
    QString result;
    result.reserve(raw->size());
    for (qsizetype i = 0; i < raw->size(); ++i) {
        const QChar c = raw->at(i);
        if (c != QLatin1Char('\\') || i + 1 == raw->size()) {
            result.append(c);
            continue;
        }
        const QChar next = raw->at(++i);
        switch (next.unicode()) {
        case 's':
            result.append(QLatin1Char(' '));
            break;
        case 'n':
            result.append(QLatin1Char('\n'));
            break;
        case 't':
            result.append(QLatin1Char('\t'));
            break;
        case 'r':
            result.append(QLatin1Char('\r'));
            break;
        case '\\':
            result.append(QLatin1Char('\\'));
            break;
        default:
            // Not a string escape: left for the Exec rules to read.
            result.append(c).append(next);
            break;
        }
    }
    return result;
}

QString DesktopEntry::program() const
{
    const QString exec = text(QStringLiteral("Exec")).value_or(QString()).trimmed();
    if (!exec.startsWith(QLatin1Char('"'))) {
        return exec.section(QLatin1Char(' '), 0, 0);
    }
    QString program;
    for (qsizetype i = 1; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == QLatin1Char('"')) {
            break;
        }
        if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
            ++i;
        }
        program.append(exec.at(i));
    }
    return program;
}

bool DesktopEntry::isVisibleApplication() const
{
    return value(QStringLiteral("Type")) == QLatin1String("Application")
        && !value(QStringLiteral("Name")).value_or(QString()).isEmpty()
        && value(QStringLiteral("NoDisplay")) != QLatin1String("true")
        && value(QStringLiteral("Hidden")) != QLatin1String("true");
}

bool DesktopEntry::startsIn(const QStringList& desktops) const
{
    if (value(QStringLiteral("Hidden")) == QLatin1String("true")
        || value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false")) {
        return false;
    }
    if (const auto only = value(QStringLiteral("OnlyShowIn")); only && !meets(listValue(only), desktops)) {
        return false;
    }
    return !meets(listValue(value(QStringLiteral("NotShowIn"))), desktops);
}

QByteArray DesktopEntry::switched(const QByteArray& bytes, bool enabled)
{
    const bool marked = bytes.startsWith(byteOrderMark);
    const QList<QByteArray> lines = bytes.mid(marked ? byteOrderMark.size() : 0).split('\n');
    QList<QByteArray> result;
    result.reserve(lines.size() + 1);
    bool inGroup = false;
    bool seenGroup = false;
    bool hidden = false;
    qsizetype header = -1;
    QByteArray lineEnd;
    for (const QByteArray& line : lines) {
        // Every line written keeps the file's own line ends.
        const QByteArray end = line.endsWith('\r') ? QByteArrayLiteral("\r") : QByteArray();
        if (isGroupHeader(line)) {
            inGroup = line.trimmed() == groupHeader && !seenGroup;
            result.append(line);
            if (inGroup) {
                seenGroup = true;
                header = result.size() - 1;
                lineEnd = end;
            }
            continue;
        }
        const QByteArray key = inGroup ? keyOf(line) : QByteArray();
        if (key == "Hidden") {
            if (!enabled) {
                // Set in place; a repeated key goes.
                if (!hidden) {
                    result.append("Hidden=true" + end);
                }
                hidden = true;
            } else if (!(result.size() - 1 == header && line.trimmed() == "Hidden=true")) {
                // The line written when switching off, first in the group, goes;
                // one of the user's own is set in place.
                result.append("Hidden=false" + end);
            }
            continue;
        }
        if (enabled && key == "X-GNOME-Autostart-enabled" && valueOf(line) != "true") {
            continue;
        }
        result.append(line);
    }
    if (!enabled && seenGroup && !hidden) {
        result.insert(header + 1, "Hidden=true" + lineEnd);
    }
    if (!seenGroup && !enabled) {
        result.prepend(QByteArrayLiteral("Hidden=true"));
        result.prepend(groupHeader);
    }
    return (marked ? byteOrderMark : QByteArray()) + result.join('\n');
}

} // namespace harborlite
