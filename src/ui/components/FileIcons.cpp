#include "ui/components/FileIcons.h"

#include "shared/ThreadHandOff.h"
#include "ui/theme/Symbols.h"

#include <QFile>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPixmap>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite {

namespace {

// Paths looked at before their kinds go to the GUI thread together.
constexpr std::size_t kBatch = 64;
// A desktop entry names its icon near the top.
constexpr qsizetype kEntryHead = 64 * 1024;
// An icon file a desktop entry names is read only when it is this small,
// and kept at the size rows draw it at twice over.
constexpr qint64 kIconFileBytes = 1024 * 1024;
constexpr int kIconPixels = 32;

const QString kGenericFile = QStringLiteral("text-x-generic");
const QString kApplication = QStringLiteral("application-x-executable");

// The icon of the "[Desktop Entry]" group of a regular file, or nothing. The
// file is opened without following a link and without waiting on a pipe.
QString desktopEntryIcon(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    QByteArray head;
    struct stat status { };
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        head.resize(kEntryHead);
        const ssize_t read = ::read(fd, head.data(), static_cast<size_t>(head.size()));
        head.resize(read > 0 ? read : 0);
    }
    ::close(fd);
    bool inGroup = false;
    for (const QByteArray& raw : head.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            if (inGroup) {
                break;
            }
            inGroup = line == "[Desktop Entry]";
        } else if (inGroup && line.startsWith("Icon=")) {
            return QString::fromUtf8(line.mid(5)).trimmed();
        }
    }
    return {};
}

// The image file a desktop entry names by its path: a regular file of at most
// kIconFileBytes, read without blocking; null otherwise.
QImage iconFile(const QString& path)
{
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode)
        || status.st_size > kIconFileBytes) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return {};
    }
    QImageReader reader(&file);
    const QSize size = reader.size();
    if (size.isValid()) {
        reader.setScaledSize(size.scaled(kIconPixels, kIconPixels, Qt::KeepAspectRatio));
    }
    return reader.read();
}

} // namespace

FileIcons::FileIcons(QObject* parent)
    : QObject(parent)
{
    Symbols::useIconTheme();
    thread_.setMaxThreadCount(1);
    placeholder_ = QIcon::fromTheme(kGenericFile);
}

FileIcons::~FileIcons()
{
    {
        std::lock_guard lock(mutex_);
        waiting_.clear();
    }
    ThreadHandOff::waitForDone(thread_);
}

FileIcons::Stamp FileIcons::stampOf(const QString& path)
{
    struct stat status { };
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    return {quint64(status.st_dev), quint64(status.st_ino), quint32(status.st_mode & S_IFMT),
            qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

FileIcons::Kind FileIcons::kindOf(const QString& path)
{
    // Told before the entry is looked at: one written meanwhile is looked at again.
    const Stamp stamp = stampOf(path);
    switch (stamp.type) {
    case S_IFLNK:
        return {QStringLiteral("inode/symlink"), QStringLiteral("inode-symlink"), kGenericFile, {}, stamp};
    case S_IFDIR:
        if (path.endsWith(QStringLiteral(".app"), Qt::CaseInsensitive)) {
            return {QStringLiteral("application/x-bundle"), kApplication, kApplication, {}, stamp};
        }
        return {QStringLiteral("inode/directory"), QStringLiteral("folder"), QStringLiteral("folder"), {}, stamp};
    case S_IFREG:
        if (path.endsWith(QStringLiteral(".desktop"))) {
            const QString icon = desktopEntryIcon(path);
            if (icon.startsWith(QLatin1Char('/'))) {
                return {QStringLiteral("application:") + icon, {}, kApplication, iconFile(icon), stamp};
            }
            if (!icon.isEmpty()) {
                return {QStringLiteral("application:") + icon, icon, kApplication, {}, stamp};
            }
        }
        break;
    default:
        break;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    return {type.name(), type.iconName(), type.genericIconName(), {}, stamp};
}

QIcon FileIcons::icon(const QString& path)
{
    std::optional<Stamp> kept;
    QIcon shown = placeholder_;
    if (const Known* known = kindOfPath_.object(path)) {
        if (const QIcon* kindIcon = iconOfKind_.object(known->kind)) {
            // Shown as kept; whether the path still holds that entry is
            // looked at on the thread, never here.
            kept = known->stamp;
            shown = *kindIcon;
        } else {
            // Its kind's icon was let go: looked up again.
            kindOfPath_.remove(path);
        }
    }
    if (!asked_.contains(path)) {
        asked_.insert(path);
        bool start = false;
        {
            std::lock_guard lock(mutex_);
            waiting_.push_back({path, kept});
            start = !lookingUp_;
            lookingUp_ = true;
        }
        if (start) {
            ThreadHandOff::start(thread_, [this] { lookUp(); });
        }
    }
    return shown;
}

void FileIcons::lookUp()
{
    for (;;) {
        std::vector<Waiting> paths;
        {
            std::lock_guard lock(mutex_);
            while (!waiting_.empty() && paths.size() < kBatch) {
                paths.push_back(std::move(waiting_.front()));
                waiting_.pop_front();
            }
            if (paths.empty()) {
                lookingUp_ = false;
                return;
            }
        }
        QList<std::pair<QString, std::optional<Kind>>> found;
        found.reserve(qsizetype(paths.size()));
        for (const Waiting& waiting : paths) {
            const bool unchanged = waiting.kept && *waiting.kept == stampOf(waiting.path);
            found.append({waiting.path, unchanged ? std::nullopt : std::optional<Kind>(kindOf(waiting.path))});
        }
        // Dropped with this object when it goes first; carried, so that the
        // thread sanitizer sees the hand-off through Qt's queue.
        auto carried = ThreadHandOff::carry([this, found = std::move(found)] { take(found); });
        const ThreadHandOff::InsideQt postingIsQtsOwnBookkeeping;
        QMetaObject::invokeMethod(this, std::move(carried), Qt::QueuedConnection);
    }
}

void FileIcons::take(const QList<std::pair<QString, std::optional<Kind>>>& found)
{
    QStringList paths;
    paths.reserve(found.size());
    for (const auto& [path, told] : found) {
        asked_.remove(path);
        if (!told) {
            continue;
        }
        const Kind& kind = *told;
        paths.append(path);
        kindOfPath_.insert(path, new Known{kind.key, kind.stamp});
        if (iconOfKind_.contains(kind.key)) {
            continue;
        }
        QIcon made = kind.image.isNull() ? QIcon::fromTheme(kind.iconName) : QIcon(QPixmap::fromImage(kind.image));
        if (made.isNull()) {
            made = QIcon::fromTheme(kind.fallbackName);
        }
        iconOfKind_.insert(kind.key, new QIcon(made.isNull() ? placeholder_ : made));
    }
    if (!paths.isEmpty()) {
        emit arrived(paths);
    }
}

} // namespace harborlite
