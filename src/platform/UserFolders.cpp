#include "platform/UserFolders.h"

#include "platform/HomeFolder.h"
#include "platform/PathText.h"
#include "platform/XdgConfigHome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace harborlite::platform {

namespace {

struct Names {
    const char* key;
    const char* fallback;
};

Names namesOf(UserFolder folder)
{
    switch (folder) {
    case UserFolder::desktop:
        return {"DESKTOP", "Desktop"};
    case UserFolder::download:
        return {"DOWNLOAD", "Downloads"};
    case UserFolder::documents:
        return {"DOCUMENTS", "Documents"};
    case UserFolder::music:
        return {"MUSIC", "Music"};
    case UserFolder::pictures:
        return {"PICTURES", "Pictures"};
    case UserFolder::videos:
        return {"VIDEOS", "Videos"};
    case UserFolder::publicShare:
        return {"PUBLICSHARE", "Public"};
    case UserFolder::templates:
        break;
    }
    return {"TEMPLATES", "Templates"};
}

// The value of one `XDG_<key>_DIR="…"` line, with "$HOME" written out;
// none when the line is not one. Backslashes escape the next character, as
// the desktop's own reader takes them.
std::optional<QString> valueOf(QStringView line, const QString& key, const QString& home)
{
    line = line.trimmed();
    const QString name = QStringLiteral("XDG_") + key + QStringLiteral("_DIR");
    if (!line.startsWith(name)) {
        return std::nullopt;
    }
    line = line.mid(name.size()).trimmed();
    if (!line.startsWith(QLatin1Char('='))) {
        return std::nullopt;
    }
    line = line.mid(1).trimmed();
    if (!line.startsWith(QLatin1Char('"'))) {
        return std::nullopt;
    }
    line = line.mid(1);
    QString value;
    if (line.startsWith(QLatin1String("$HOME/"))) {
        value = home + QLatin1Char('/');
        line = line.mid(6);
    } else if (line.startsWith(QLatin1String("$HOME\""))) {
        return home;
    } else if (!line.startsWith(QLatin1Char('/'))) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            return value;
        }
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            value.append(line.at(++i));
            continue;
        }
        value.append(c);
    }
    // No closing quote: not a line the desktop would read either.
    return std::nullopt;
}

struct CachedFile {
    QString path;
    QDateTime modified;
    qint64 size = -1;
    bool exists = false;
    QString contents;
};

QString currentContents()
{
    static QMutex mutex;
    static CachedFile cached;
    const QString path = xdgConfigHome().get() + QStringLiteral("/user-dirs.dirs");
    const QFileInfo info(path);
    const bool exists = info.isFile();
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    const qint64 size = exists ? info.size() : -1;
    const QMutexLocker lock(&mutex);
    if (cached.path != path || cached.exists != exists || cached.modified != modified || cached.size != size) {
        QString contents;
        if (exists) {
            QFile file(path);
            // A file far beyond any real one is not read at all.
            if (size <= 64 * 1024 && file.open(QIODevice::ReadOnly)) {
                contents = QString::fromUtf8(file.readAll());
            }
        }
        cached = {path, modified, size, exists, contents};
    }
    return cached.contents;
}

} // namespace

std::optional<QString> userFolderIn(const QString& contents, const QString& home, UserFolder folder)
{
    const Names names = namesOf(folder);
    const QString key = QString::fromLatin1(names.key);
    std::optional<QString> named;
    for (QStringView line : QStringView(contents).split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (std::optional<QString> value = valueOf(line, key, home)) {
            // The last line naming a folder counts, as in a shell.
            named = std::move(value);
        }
    }
    if (!named) {
        return QString::fromLatin1(names.fallback);
    }
    const QString cleaned = QDir::cleanPath(*named);
    const QString cleanHome = QDir::cleanPath(home);
    if (!isBelow(cleaned, cleanHome) || cleaned == cleanHome) {
        return std::nullopt;
    }
    return cleaned.mid(cleanHome == QLatin1String("/") ? 1 : cleanHome.size() + 1);
}

std::optional<QString> userFolder(UserFolder folder)
{
    return userFolderIn(currentContents(), homeFolder().get(), folder);
}

QStringList userFolders(std::initializer_list<UserFolder> folders, const QStringList& known)
{
    QStringList found;
    for (const UserFolder folder : folders) {
        const std::optional<QString> relative = userFolder(folder);
        if (relative && !known.contains(*relative) && !found.contains(*relative)) {
            found.append(*relative);
        }
    }
    return found;
}

} // namespace harborlite::platform
