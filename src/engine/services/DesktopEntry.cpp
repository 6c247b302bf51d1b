#include "engine/services/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>

namespace harborlite {

namespace {

const QByteArray groupHeader = QByteArrayLiteral("[Desktop Entry]");

// The key of a "key=value" line, blanks around it dropped; empty for other lines.
QByteArray keyOf(const QByteArray& line)
{
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QByteArray() : line.left(equals).trimmed();
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
    for (const QByteArray& raw : bytes.split('\n')) {
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
    QList<QByteArray> lines = bytes.split('\n');
    QList<QByteArray> result;
    result.reserve(lines.size() + 1);
    bool inGroup = false;
    bool seenGroup = false;
    for (const QByteArray& line : lines) {
        if (isGroupHeader(line)) {
            inGroup = line.trimmed() == groupHeader && !seenGroup;
            result.append(line);
            if (inGroup) {
                seenGroup = true;
                if (!enabled) {
                    result.append(QByteArrayLiteral("Hidden=true"));
                }
            }
            continue;
        }
        const QByteArray key = keyOf(line);
        if (inGroup && (key == "Hidden" || (enabled && key == "X-GNOME-Autostart-enabled"))) {
            continue;
        }
        result.append(line);
    }
    if (!seenGroup && !enabled) {
        result.prepend(QByteArrayLiteral("Hidden=true"));
        result.prepend(groupHeader);
    }
    return result.join('\n');
}

} // namespace harborlite
