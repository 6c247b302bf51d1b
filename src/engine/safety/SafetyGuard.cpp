#include "engine/safety/SafetyGuard.h"

#include "engine/services/BundleInfo.h"
#include "platform/MountTable.h"
#include "platform/SystemRoots.h"
#include "platform/UserFolders.h"
#include "shared/FileSystem.h"

#include <QFile>
#include <QStringList>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::SafetyGuard {

namespace {

// The kernel gives up with ELOOP after this many symbolic links in one path.
constexpr int maxLinkSteps = 40;

QString text(const char* latin1)
{
    return QString::fromLatin1(latin1);
}

// Matched as the path itself or anything below it, in this order. Linux's own
// folders come last, so the others keep their place and their messages.
const QStringList& systemRoots()
{
    static const QStringList roots = {
        text("/System"), text("/bin"), text("/sbin"), text("/usr/bin"), text("/usr/lib"),
        text("/usr/libexec"), text("/usr/sbin"), text("/usr/share"), text("/dev"),
        text("/cores"), text("/Network"), text("/private/var/db"), text("/private/etc"),
        text("/Library/Apple"), text("/Library/Developer/CommandLineTools"),
        text("/Library/Keychains"), text("/Library/Security"),
        text("/etc"), text("/boot"), text("/proc"), text("/sys"), text("/var/lib"),
        text("/usr/lib32"), text("/usr/lib64"), text("/usr/include"),
        text("/srv"), text("/snap"), text("/run"), text("/var/spool"), text("/var/mail"),
        text("/root"),
    };
    return roots;
}

// Whether a system root does not apply to the path: the user's volumes are
// mounted under /run, and the administrator's home is a home like any other
// when the application runs as the administrator.
bool isExempt(const QString& p, const QString& root, const QString& home)
{
    if (root == QLatin1String("/run")) {
        return p != root
            && (p.startsWith(QLatin1String("/run/media/")) || platform::mountPoints().contains(p));
    }
    if (root == QLatin1String("/root")) {
        return home == root;
    }
    return false;
}

// Inside the home folder; skipped for items the user picked. The user's own
// documents, desktop, pictures, videos, music and public folders, as the
// desktop names them, follow the listed ones.
QStringList personalRoots()
{
    QStringList names = {
        text("Documents"), text("Desktop"), text("Pictures"), text("Movies"),
        text("Music"), text("Public"), text("Sites"),
    };
    using platform::UserFolder;
    names.append(platform::userFolders({UserFolder::documents, UserFolder::desktop, UserFolder::pictures,
                                        UserFolder::videos, UserFolder::music, UserFolder::publicShare},
                                       names));
    return names;
}

// Inside the Library folder.
const QStringList& protectedLibraryEntries()
{
    static const QStringList entries = {
        text("Keychains"), text("Mobile Documents"), text("Application Support/MobileSync"),
        text("Application Support/AddressBook"), text("Messages"), text("Mail/V10/MailData"),
        text("Calendars"), text("Reminders"), text("Photos"), text("PhotoBooth"),
        text("Safari/Bookmarks.plist"), text("Group Containers/group.com.apple.notes"),
    };
    return entries;
}

const QStringList& systemApplicationIdentifiers()
{
    static const QStringList identifiers = {
        text("com.apple.finder"), text("com.apple.Safari"), text("com.apple.mail"),
        text("com.apple.systempreferences"), text("com.apple.Terminal"),
        text("com.apple.dt.Xcode"), text("com.apple.ActivityMonitor"),
    };
    return identifiers;
}

// Matched exactly. Rebuilt on every call: the home folder is read each time.
QStringList pinnedPaths(const QString& home, const QString& library)
{
    QStringList pinned = {
        home, library, text("/"), roots::applications, roots::sharedLibrary, roots::users,
        roots::volumes, roots::privateRoot, roots::privateTmp, roots::privateVar,
    };
    for (const char* entry : { "Caches", "Logs", "Containers", "Application Support", "Preferences",
                               "Saved Application State", "LaunchAgents", "Group Containers",
                               "Cookies" }) {
        pinned.append(FS::join(library, text(entry)));
    }
    for (const char* linuxPath : { "/home", "/media", "/mnt", "/run/media", "/tmp", "/var", "/usr",
                                   "/usr/local", "/opt" }) {
        pinned.append(text(linuxPath));
    }
    return pinned;
}

// Folders whose direct entries are whole volumes, with the most parts a path
// split at every "/" may have to be such an entry (or the folder above it):
// /Volumes/Name, and on Linux /media/user/Name, /run/media/user/Name, /mnt/Name.
struct VolumeFolder {
    const char* prefix;
    qsizetype maxParts;
};
constexpr VolumeFolder volumeFolders[] = {
    { "/Volumes/", 3 }, { "/media/", 4 }, { "/run/media/", 5 }, { "/mnt/", 3 },
};

bool isVolume(const QString& p)
{
    for (const VolumeFolder& folder : volumeFolders) {
        if (p.startsWith(QLatin1String(folder.prefix)) && p.count(QLatin1Char('/')) + 1 <= folder.maxParts) {
            return true;
        }
    }
    // Whatever folder it hangs from, a mount point is the root of a volume.
    return FS::exists(p) && platform::mountPoints().contains(p);
}

// Dot and dot-dot steps removed as text; a dot-dot at the root stays at the root.
QString standardised(const QString& absolute)
{
    QStringList parts;
    for (const QString& part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty()) {
                parts.removeLast();
            }
        } else if (part != QLatin1String(".")) {
            parts.append(part);
        }
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

std::optional<QString> linkTarget(const QString& link)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(QFile::encodeName(link).constData(), buffer, sizeof buffer);
    if (length <= 0 || std::size_t(length) >= sizeof buffer) {
        return std::nullopt;
    }
    return QFile::decodeName(QByteArray(buffer, qsizetype(length)));
}

// Walks the absolute path step by step as the kernel does: symbolic links are
// replaced by their targets and a dot-dot step goes to the parent of where the
// walk has really arrived. From the first step that does not exist (or cannot
// be read) on, the rest is applied as text.
QString resolved(const QString& absolute)
{
    QStringList pending;
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (auto it = parts.crbegin(); it != parts.crend(); ++it) {
        pending.append(*it);
    }
    QString current = QStringLiteral("/");
    bool onDisk = true;
    int links = 0;
    while (!pending.isEmpty()) {
        const QString part = pending.takeLast();
        if (part == QLatin1String(".")) {
            continue;
        }
        if (part == QLatin1String("..")) {
            current = FS::parentPath(current);
            continue;
        }
        const QString next = FS::join(current, part);
        struct stat st {};
        if (onDisk && ::lstat(QFile::encodeName(next).constData(), &st) != 0) {
            onDisk = false;
        }
        if (onDisk && S_ISLNK(st.st_mode) && links < maxLinkSteps) {
            if (const std::optional<QString> target = linkTarget(next)) {
                ++links;
                const QStringList targetParts = target->split(QLatin1Char('/'), Qt::SkipEmptyParts);
                for (auto it = targetParts.crbegin(); it != targetParts.crend(); ++it) {
                    pending.append(*it);
                }
                if (target->startsWith(QLatin1Char('/'))) {
                    current = QStringLiteral("/");
                }
                continue;
            }
        }
        current = next;
    }
    return current;
}

bool hasParentStep(const QString& path)
{
    return path.split(QLatin1Char('/')).contains(QLatin1String(".."));
}

Verdict refused(const QString& message)
{
    return Verdict { false, message };
}

struct Context {
    QString home;
    QString library;
    QString passedName;
    bool userSelected = false;
};

Verdict judge(const QString& p, const Context& context)
{
    // Resolution leaves no dot-dot step; the check stays as a last line.
    if (p.contains(QLatin1String("/../"))) {
        return refused(QStringLiteral("Path contains a parent traversal."));
    }
    if (p.size() < 2) {
        return refused(QStringLiteral("Refusing to operate on the filesystem root."));
    }
    if (pinnedPaths(context.home, context.library).contains(p)) {
        return refused(context.passedName + QStringLiteral(" is a container Harborlite never removes."));
    }
    for (const QString& root : systemRoots()) {
        if (FS::isBelow(p, root) && !isExempt(p, root, context.home)) {
            return refused(QStringLiteral("Inside the protected system directory ") + root
                           + QLatin1Char('.'));
        }
    }
    if (isSystemApplication(p)) {
        return refused(QStringLiteral("Apple system applications cannot be removed here."));
    }
    if (!context.userSelected) {
        const QStringList personal = personalRoots();
        for (const QString& name : personal) {
            if (FS::isBelow(p, FS::join(context.home, name))) {
                return refused(QStringLiteral("Inside ") + FS::lastPathComponent(name)
                               + QStringLiteral(", which is only cleaned by hand."));
            }
        }
    }
    for (const QString& entry : protectedLibraryEntries()) {
        if (FS::isBelow(p, FS::join(context.library, entry))) {
            return refused(QStringLiteral("Holds live data in ") + FS::lastPathComponent(entry)
                           + QLatin1Char('.'));
        }
    }
    if (isVolume(p)) {
        return refused(QStringLiteral("Refusing to remove an entire volume."));
    }
    for (const char* usersFolder : { "/Users/", "/home/" }) {
        if (p.startsWith(QLatin1String(usersFolder)) && !FS::isBelow(p, context.home)) {
            return refused(QStringLiteral("Belongs to another user account."));
        }
    }
    return {};
}

} // namespace

Verdict verdict(const QString& path, bool userSelected)
{
    if (!path.startsWith(QLatin1Char('/'))) {
        return refused(QStringLiteral("Path is not absolute."));
    }
    Context context;
    context.home = resolved(FS::home());
    context.library = resolved(FS::library());
    context.passedName = FS::lastPathComponent(path);
    context.userSelected = userSelected;

    // Removing dot-dot steps as text before resolving links reads home/link/../x
    // as home/x, while the kernel, and so the removal, walks to the parent of
    // the link's target. Both readings must pass.
    const QString asWritten = resolved(standardised(path));
    const Verdict first = judge(asWritten, context);
    if (!first.allowed || !hasParentStep(path)) {
        return first;
    }
    const QString asWalked = resolved(path);
    return asWalked == asWritten ? first : judge(asWalked, context);
}

bool isSystemApplication(const QString& path)
{
    const QString p = FS::path(path);
    if (FS::isBelow(p, roots::systemApplications)) {
        return true;
    }
    if (!p.endsWith(QLatin1String(".app"))) {
        return false;
    }
    const std::optional<BundleInfo> info = BundleInfo::read(p);
    return info && info->identifier && isSystemApplication(p, *info->identifier);
}

bool isSystemApplication(const QString& path, const QString& identifier)
{
    const QString p = FS::path(path);
    if (FS::isBelow(p, roots::systemApplications)) {
        return true;
    }
    if (!p.endsWith(QLatin1String(".app"))) {
        return false;
    }
    if (systemApplicationIdentifiers().contains(identifier)) {
        return true;
    }
    // Apple's own applications live outside /Applications; what Apple publishes
    // in /Applications may be removed like any other application.
    return identifier.startsWith(QLatin1String("com.apple."))
        && !p.startsWith(roots::applications + QLatin1Char('/'));
}

} // namespace harborlite::SafetyGuard
