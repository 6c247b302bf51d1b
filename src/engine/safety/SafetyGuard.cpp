#include "engine/safety/SafetyGuard.h"

#include "engine/EngineLog.h"
#include "engine/formats/BundleInfo.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "platform/SystemRoots.h"
#include "platform/UserFolders.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>
#include <QDebug>
#include <QStringList>

#include <algorithm>
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
        text("/System"),
        text("/bin"),
        text("/sbin"),
        text("/usr/bin"),
        text("/usr/lib"),
        text("/usr/libexec"),
        text("/usr/sbin"),
        text("/usr/share"),
        text("/dev"),
        text("/cores"),
        text("/Network"),
        text("/private/var/db"),
        text("/private/etc"),
        text("/Library/Apple"),
        text("/Library/Developer/CommandLineTools"),
        text("/Library/Keychains"),
        text("/Library/Security"),
        text("/etc"),
        text("/boot"),
        text("/proc"),
        text("/sys"),
        text("/var/lib"),
        text("/usr/lib32"),
        text("/usr/lib64"),
        text("/usr/include"),
        text("/srv"),
        text("/snap"),
        text("/run"),
        text("/var/spool"),
        text("/var/mail"),
        text("/root"),
    };
    return roots;
}

// Whether a system root does not apply to the path: the user's volumes are
// mounted under /run, and the administrator's home is a home like any other
// when the application runs as the administrator.
bool isExempt(const QString& p, const QString& root, const Context& context)
{
    if (root == QLatin1String("/run")) {
        return p != root && (p.startsWith(QLatin1String("/run/media/")) || context.mountPoints.contains(p));
    }
    if (root == QLatin1String("/root")) {
        return context.home == root;
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
        text("Music"),     text("Public"),  text("Sites"),
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
        text("Keychains"),
        text("Mobile Documents"),
        text("Application Support/MobileSync"),
        text("Application Support/AddressBook"),
        text("Messages"),
        text("Mail/V10/MailData"),
        text("Calendars"),
        text("Reminders"),
        text("Photos"),
        text("PhotoBooth"),
        text("Safari/Bookmarks.plist"),
        text("Group Containers/group.com.apple.notes"),
    };
    return entries;
}

// Inside the home folder: where Linux keeps keys and passwords.
const QStringList& protectedHomeEntries()
{
    static const QStringList entries = {
        text(".ssh"),
        text(".gnupg"),
        text(".local/share/keyrings"),
        text(".password-store"),
    };
    return entries;
}

const QStringList& systemApplicationIdentifiers()
{
    static const QStringList identifiers = {
        text("com.apple.finder"),
        text("com.apple.Safari"),
        text("com.apple.mail"),
        text("com.apple.systempreferences"),
        text("com.apple.Terminal"),
        text("com.apple.dt.Xcode"),
        text("com.apple.ActivityMonitor"),
    };
    return identifiers;
}

// Matched exactly; built with each context, since the home folder may change.
QStringList pinnedPaths(const QString& home, const QString& library)
{
    QStringList pinned = {
        home,         library,        text("/"),          roots::applications, roots::sharedLibrary,
        roots::users, roots::volumes, roots::privateRoot, roots::privateTmp,   roots::privateVar,
    };
    for (const char* entry : {"Caches", "Logs", "Containers", "Application Support", "Preferences",
                              "Saved Application State", "LaunchAgents", "Group Containers", "Cookies"}) {
        pinned.append(FS::join(library, text(entry)));
    }
    for (const char* linuxPath :
         {"/home", "/media", "/mnt", "/run/media", "/tmp", "/var", "/usr", "/usr/local", "/opt"}) {
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
    {"/Volumes/", 3},
    {"/media/", 4},
    {"/run/media/", 5},
    {"/mnt/", 3},
};

bool isVolume(const QString& p, const Context& context)
{
    for (const VolumeFolder& folder : volumeFolders) {
        if (p.startsWith(QLatin1String(folder.prefix)) && p.count(QLatin1Char('/')) + 1 <= folder.maxParts) {
            return true;
        }
    }
    // Whatever folder it hangs from, a mount point is the root of a volume.
    return context.mountPoints.contains(p) && FS::exists(p);
}

// Whether the text has an empty, dot or dot-dot step, or ends in a slash.
bool hasStepsToRemove(const QString& absolute)
{
    const qsizetype n = absolute.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (absolute.at(i) != QLatin1Char('/')) {
            continue;
        }
        if (i + 1 == n) {
            return n > 1;
        }
        qsizetype dots = 0;
        while (i + 1 + dots < n && dots < 3 && absolute.at(i + 1 + dots) == QLatin1Char('.')) {
            ++dots;
        }
        if (dots < 3 && (i + 1 + dots == n || absolute.at(i + 1 + dots) == QLatin1Char('/'))) {
            return true;
        }
    }
    return false;
}

// Dot and dot-dot steps removed as text; a dot-dot at the root stays at the root.
QString standardised(const QString& absolute)
{
    if (!hasStepsToRemove(absolute)) {
        return absolute;
    }
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
    const ssize_t length = ::readlink(platform::pathBytes(link).constData(), buffer, sizeof buffer);
    if (length <= 0 || std::size_t(length) >= sizeof buffer) {
        return std::nullopt;
    }
    return platform::pathText(QByteArray(buffer, qsizetype(length)));
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
        struct stat st { };
        if (onDisk && ::lstat(platform::pathBytes(next).constData(), &st) != 0) {
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
    return Verdict{false, message};
}

struct Question {
    QString passedName;
    bool userSelected = false;
};

Verdict judge(const QString& p, const Context& context, const Question& question)
{
    // Resolution leaves no dot-dot step; the check stays as a last line.
    if (p.contains(QLatin1String("/../"))) {
        return refused(QCoreApplication::translate("SafetyGuard", "Path contains a parent traversal."));
    }
    if (p.size() < 2) {
        return refused(QCoreApplication::translate("SafetyGuard", "Refusing to operate on the filesystem root."));
    }
    if (context.pinned.contains(p)) {
        return refused(QCoreApplication::translate("SafetyGuard", "%1 is a container Harborlite never removes.")
                           .arg(question.passedName));
    }
    for (const QString& root : systemRoots()) {
        if (FS::isBelow(p, root) && !isExempt(p, root, context)) {
            return refused(
                QCoreApplication::translate("SafetyGuard", "Inside the protected system directory %1.").arg(root));
        }
    }
    if (isSystemApplication(p)) {
        return refused(QCoreApplication::translate("SafetyGuard", "Apple system applications cannot be removed here."));
    }
    if (!question.userSelected) {
        for (const QString& folder : context.personalPaths) {
            if (FS::isBelow(p, folder)) {
                return refused(QCoreApplication::translate("SafetyGuard", "Inside %1, which is only cleaned by hand.")
                                   .arg(FS::lastPathComponent(folder)));
            }
        }
    }
    for (const QString& entry : context.livePaths) {
        if (FS::isBelow(p, entry)) {
            return refused(
                QCoreApplication::translate("SafetyGuard", "Holds live data in %1.").arg(FS::lastPathComponent(entry)));
        }
    }
    if (isVolume(p, context)) {
        return refused(QCoreApplication::translate("SafetyGuard", "Refusing to remove an entire volume."));
    }
    for (const char* usersFolder : {"/Users/", "/home/"}) {
        if (p.startsWith(QLatin1String(usersFolder)) && !FS::isBelow(p, context.home)) {
            return refused(QCoreApplication::translate("SafetyGuard", "Belongs to another user account."));
        }
    }
    return {};
}

} // namespace

Context context()
{
    Context result;
    result.home = resolved(FS::home());
    result.library = resolved(FS::library());
    result.pinned = pinnedPaths(result.home, result.library);
    for (const QString& name : personalRoots()) {
        result.personalPaths.append(FS::join(result.home, name));
    }
    for (const QString& entry : protectedLibraryEntries()) {
        result.livePaths.append(FS::join(result.library, entry));
    }
    for (const QString& entry : protectedHomeEntries()) {
        result.livePaths.append(FS::join(result.home, entry));
    }
    const QStringList mounts = platform::mountPoints();
    result.mountPoints = QSet<QString>(mounts.begin(), mounts.end());
    return result;
}

Verdict verdict(const QString& path, bool userSelected)
{
    return verdict(path, userSelected, context());
}

Verdict verdict(const QString& path, bool userSelected, const Context& context)
{
    if (!path.startsWith(QLatin1Char('/'))) {
        return refused(QCoreApplication::translate("SafetyGuard", "Path is not absolute."));
    }
    const Question question{FS::lastPathComponent(path), userSelected};

    // Removing dot-dot steps as text before resolving links reads home/link/../x
    // as home/x, while the kernel, and so the removal, walks to the parent of
    // the link's target. Both readings must pass.
    const QString asWritten = resolved(standardised(path));
    const Verdict first = judge(asWritten, context, question);
    if (!first.allowed || !hasParentStep(path)) {
        return first;
    }
    const QString asWalked = resolved(path);
    return asWalked == asWritten ? first : judge(asWalked, context, question);
}

Verdict verdictOfEntry(const QString& realFolder, const QString& name, bool userSelected, const Context& context)
{
    const QString entry = FS::join(realFolder, name);
    struct stat st { };
    if (::lstat(platform::pathBytes(entry).constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        return verdict(entry, userSelected, context);
    }
    return verdictOfRealPath(entry, userSelected, context);
}

Verdict verdictOfRealPath(const QString& realPath, bool userSelected, const Context& context)
{
    if (!realPath.startsWith(QLatin1Char('/'))) {
        return refused(QCoreApplication::translate("SafetyGuard", "Path is not absolute."));
    }
    return judge(standardised(realPath), context, {FS::lastPathComponent(realPath), userSelected});
}

namespace {

// Where a root really is, its links resolved once; empty when nothing is there.
struct RootPlace {
    QString real;
    bool throughLink = false;
};

RootPlace placeOf(const QString& root, const Context& context)
{
    if (!root.startsWith(QLatin1Char('/'))) {
        return {};
    }
    const QString lexical = standardised(root);
    const QString homeAsWritten = standardised(FS::home());
    // Where the root lies when none of its own steps is a link.
    const QString expected = FS::isBelow(lexical, homeAsWritten) && homeAsWritten != QLatin1String("/")
        ? context.home + lexical.mid(homeAsWritten.size())
        : lexical;
    const QString real = resolved(lexical);
    struct stat st { };
    if (::stat(platform::pathBytes(real).constData(), &st) != 0) {
        return {};
    }
    return {real, real != expected};
}

void logSkipped(const QString& root, const QString& real, const QString& why)
{
    qCWarning(engineLog).noquote() << "Skipping" << root << "- it leads to" << real << why;
}

// Whether a link may lead a root to its real place: never to the home or
// above it, nor anywhere the guard refuses; logged when it may not.
bool mayFollow(const QString& root, const QString& real, const Context& context, bool userSelected)
{
    if (FS::isBelow(context.home, real)) {
        logSkipped(root, real, QStringLiteral("(the home folder or a folder holding it)"));
        return false;
    }
    const Verdict judged = judge(real, context, {FS::lastPathComponent(real), userSelected});
    if (!judged.allowed) {
        logSkipped(root, real, QLatin1Char('(') + judged.message + QLatin1Char(')'));
        return false;
    }
    return true;
}

} // namespace

RootUse rootUse(const QString& root, const Context& context)
{
    const RootPlace place = placeOf(root, context);
    if (place.real.isEmpty() || !place.throughLink) {
        return {place.real, false, false};
    }
    const QString& real = place.real;
    if (!mayFollow(root, real, context, false)) {
        return {};
    }
    // The folder it lies in that is never cleaned as a whole, if any.
    QString container = FS::isBelow(real, context.home) ? context.home : QString();
    if (container.isEmpty()) {
        for (const QString& pinned : context.pinned) {
            if (FS::isBelow(real, pinned) && pinned.size() > container.size()) {
                container = pinned;
            }
        }
    }
    if (!container.isEmpty()) {
        const QStringList steps = real.mid(container.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        const bool ownCache = std::any_of(steps.cbegin(), steps.cend(), [](const QString& step) {
            return step.contains(QLatin1String("cache"), Qt::CaseInsensitive);
        });
        if (!ownCache) {
            logSkipped(root, real,
                       QStringLiteral("(inside ") + container + QStringLiteral(", and no cache of its own)"));
            return {};
        }
    }
    return {real, true, !FS::isBelow(real, context.home)};
}

RootUse reviewedRootUse(const QString& root, const Context& context)
{
    const RootPlace place = placeOf(root, context);
    if (place.real.isEmpty() || !place.throughLink) {
        return {place.real, false, false};
    }
    if (!mayFollow(root, place.real, context, true)) {
        return {};
    }
    return {place.real, true, true};
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
    return identifier.startsWith(QLatin1String("com.apple.")) && !p.startsWith(roots::applications + QLatin1Char('/'));
}

} // namespace harborlite::SafetyGuard
