#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace harborlite {

// The "[Desktop Entry]" group of a freedesktop.org desktop entry file, as the
// autostart rules read it. Files come from anywhere, so reading never trusts
// them: text that is not UTF-8 is read with replacement characters, and a
// file without the group gives no entry.
class DesktopEntry {
public:
    static constexpr qint64 maxFileBytes = 1024 * 1024;

    // None when the file cannot be read, is larger than maxFileBytes or has
    // no "[Desktop Entry]" group.
    static std::optional<DesktopEntry> fromFile(const QString& path);
    static std::optional<DesktopEntry> fromBytes(const QByteArray& bytes);

    // The unlocalised value of the key; none when missing.
    std::optional<QString> value(const QString& key) const;

    // The value of a string key with the escapes of string values undone
    // ("\s", "\n", "\t", "\r", "\\"); none when missing.
    std::optional<QString> text(const QString& key) const;

    // The program of "Exec": its first argument, the string escapes undone
    // first, then the quoting of the Exec rules; empty without "Exec".
    QString program() const;

    // An application a launcher lists: "Type=Application" with a name, and
    // neither "NoDisplay=true" nor "Hidden=true".
    bool isVisibleApplication() const;

    // Whether the entry starts at login under the autostart rules in the given
    // desktops: not "Hidden=true", not "X-GNOME-Autostart-enabled=false", and
    // neither left out by "OnlyShowIn" nor by "NotShowIn".
    bool startsIn(const QStringList& desktops) const;

    // The file's bytes switched on or off for autostart, every other byte kept
    // (comments, locale keys, a byte order mark, CRLF line ends, a missing
    // final newline), so that off then on gives the file back as it was: off
    // sets a "Hidden" line of the group to "Hidden=true" in place, else writes
    // that line first in the group; on takes that first line out again, sets
    // any other "Hidden" line to "Hidden=false" in place and takes out an
    // "X-GNOME-Autostart-enabled" line that is not "true".
    static QByteArray switched(const QByteArray& bytes, bool enabled);

private:
    QHash<QString, QString> values_;
};

} // namespace harborlite
