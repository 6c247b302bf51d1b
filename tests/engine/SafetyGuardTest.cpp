#include "engine/safety/SafetyGuard.h"

#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "support/Mounts.h"
#include "support/PlistFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace harborlite;

namespace {

const char* const notAbsolute = "Path is not absolute.";
const char* const filesystemRoot = "Refusing to operate on the filesystem root.";
const char* const systemApplication = "Apple system applications cannot be removed here.";
const char* const entireVolume = "Refusing to remove an entire volume.";
const char* const otherUser = "Belongs to another user account.";

QString container(const char* name)
{
    return QLatin1String(name) + QStringLiteral(" is a container Harborlite never removes.");
}

QString systemDirectory(const char* root)
{
    return QStringLiteral("Inside the protected system directory ") + QLatin1String(root) + QLatin1Char('.');
}

QString personal(const char* name)
{
    return QStringLiteral("Inside ") + QLatin1String(name) + QStringLiteral(", which is only cleaned by hand.");
}

QString liveData(const char* name)
{
    return QStringLiteral("Holds live data in ") + QLatin1String(name) + QLatin1Char('.');
}

struct Case {
    const char* path; // "~" stands for the home folder, "@" for the fixture folder
    bool userSelected;
    QString message; // empty when the path is allowed
};

struct RootCase {
    const char* root;
    const char* linkTo; // null: a real folder (or nothing) at the root
    bool used;
    bool throughLink;
    bool needsReview;
};

// A home folder and a fixture folder in a temporary folder; the only mount
// points are "/" and the fixture's "mounted" folder.
class SafetyGuardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        root = QFileInfo(dir.path()).canonicalFilePath();
        home = root + QStringLiteral("/home/me");
        ASSERT_TRUE(QDir().mkpath(home));
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/mounted")));
        homeOverride.emplace(platform::homeFolder(), home);
        mountOverride.emplace(platform::mountTable(),
                              test::mountsAt({QStringLiteral("/"), root + QStringLiteral("/mounted")}));
    }

    QString expand(const char* path) const
    {
        QString text = QString::fromUtf8(path);
        if (text.startsWith(QLatin1Char('~'))) {
            text.replace(0, 1, home);
        } else if (text.startsWith(QLatin1Char('@'))) {
            text.replace(0, 1, root);
        }
        return text;
    }

    void link(const QString& target, const char* at) const { ASSERT_TRUE(QFile::link(target, expand(at))) << at; }

    // Makes every case's link, then checks how `use` lets a scan use each root.
    void expectRootUses(const QList<RootCase>& cases,
                        SafetyGuard::RootUse (*use)(const QString&, const SafetyGuard::Context&)) const;

    void expectVerdicts(const QList<Case>& cases) const
    {
        for (const Case& c : cases) {
            const SafetyGuard::Verdict verdict = SafetyGuard::verdict(expand(c.path), c.userSelected);
            EXPECT_EQ(verdict.allowed, c.message.isEmpty()) << c.path << " userSelected " << c.userSelected;
            EXPECT_EQ(verdict.message, c.message) << c.path << " userSelected " << c.userSelected;
        }
    }

    QTemporaryDir dir;
    QString root;
    QString home;
    std::optional<platform::Seam<QString>::Override> homeOverride;
    std::optional<platform::Seam<QList<platform::MountEntry>>::Override> mountOverride;
};

} // namespace

TEST_F(SafetyGuardTest, JudgesPathsByTheRulesInOrder)
{
    expectVerdicts({
        // 1. Not absolute, judged on the text as passed: never resolved against the working folder.
        {"", false, notAbsolute},
        {"relative/file", true, notAbsolute},
        {"../etc/passwd", false, notAbsolute},
        // 3. The root, however it is written.
        {"/", false, filesystemRoot},
        {"//", true, filesystemRoot},
        {"/usr/..", false, filesystemRoot},
        // 4. Pinned containers, named by the last component as passed; only the folders themselves.
        {"~", false, container("me")},
        {"~/", true, container("me")},
        {"~/Library", true, container("Library")},
        {"~/Library/Caches", false, container("Caches")},
        {"~/Library/Caches/", false, container("Caches")},
        {"~/Library/Logs", false, container("Logs")},
        {"~/Library/Containers", false, container("Containers")},
        {"~/Library/Application Support", false, container("Application Support")},
        {"~/Library/Preferences", false, container("Preferences")},
        {"~/Library/Saved Application State", false, container("Saved Application State")},
        {"~/Library/LaunchAgents", false, container("LaunchAgents")},
        {"~/Library/Group Containers", false, container("Group Containers")},
        {"~/Library/Cookies", false, container("Cookies")},
        {"/Applications", true, container("Applications")},
        {"/Library", false, container("Library")},
        {"/Users", false, container("Users")},
        {"/Volumes", false, container("Volumes")},
        {"/private", false, container("private")},
        {"/private/tmp", false, container("tmp")},
        {"/private/var", false, container("var")},
        {"/home", false, container("home")},
        {"/media", false, container("media")},
        {"/mnt", false, container("mnt")},
        {"/run/media", false, container("media")},
        {"/tmp", true, container("tmp")},
        {"/var", false, container("var")},
        {"/usr", false, container("usr")},
        {"/usr/local", false, container("local")},
        {"/opt", false, container("opt")},
        {"~/Library/Caches/com.example.app", false, {}},
        {"~/Library/Logs/tool.log", false, {}},
        // 5. System roots and anything below them; a sibling sharing a prefix is not below.
        {"/System", false, systemDirectory("/System")},
        {"/System/Library/Fonts/Menlo.ttc", false, systemDirectory("/System")},
        {"/System/Applications/Calculator.app", false, systemDirectory("/System")},
        {"/usr/bin", true, systemDirectory("/usr/bin")},
        {"/usr/bin/ls", true, systemDirectory("/usr/bin")},
        {"/usr/lib/tool", false, systemDirectory("/usr/lib")},
        {"/usr/libexec/helper", false, systemDirectory("/usr/libexec")},
        {"/usr/sbin/tool", false, systemDirectory("/usr/sbin")},
        {"/usr/share/doc", false, systemDirectory("/usr/share")},
        {"/dev/null", false, systemDirectory("/dev")},
        {"/cores/core.1", false, systemDirectory("/cores")},
        {"/Network/Servers", false, systemDirectory("/Network")},
        {"/private/var/db/receipts", false, systemDirectory("/private/var/db")},
        {"/private/etc/hosts", false, systemDirectory("/private/etc")},
        {"/Library/Apple/System", false, systemDirectory("/Library/Apple")},
        {"/Library/Developer/CommandLineTools/usr", false, systemDirectory("/Library/Developer/CommandLineTools")},
        {"/Library/Keychains/System.keychain", false, systemDirectory("/Library/Keychains")},
        {"/Library/Security/Trust", false, systemDirectory("/Library/Security")},
        {"/etc/passwd", true, systemDirectory("/etc")},
        {"/boot/grub", false, systemDirectory("/boot")},
        {"/proc/1/status", false, systemDirectory("/proc")},
        {"/sys/kernel", false, systemDirectory("/sys")},
        {"/var/lib/dpkg/status", true, systemDirectory("/var/lib")},
        {"/usr/lib32/tool", false, systemDirectory("/usr/lib32")},
        {"/usr/lib64/tool", false, systemDirectory("/usr/lib64")},
        {"/usr/include/stdio.h", false, systemDirectory("/usr/include")},
        {"/usr/local/bin/tool", false, {}},
        {"/usr/binaries/tool", false, {}},
        {"/var/cache/apt/archives/tool.deb", false, {}},
        {"/Library/Caches/com.example", false, {}},
        // 7. Personal folders, only for items the user did not pick.
        {"~/Documents", false, personal("Documents")},
        {"~/Documents/report.txt", false, personal("Documents")},
        {"~/Documents/report.txt", true, {}},
        {"~/Desktop/note.txt", false, personal("Desktop")},
        {"~/Pictures/a.jpg", false, personal("Pictures")},
        {"~/Movies/a.mov", false, personal("Movies")},
        {"~/Music/a.mp3", false, personal("Music")},
        {"~/Public/drop", false, personal("Public")},
        {"~/Sites/index.html", false, personal("Sites")},
        {"~/Sites/index.html", true, {}},
        {"~/Documents old/report.txt", false, {}},
        {"~/Downloads/setup.zip", false, {}},
        // 8. Live data in the Library, for every caller; the message names the entry's last component.
        {"~/Library/Keychains/login.keychain-db", true, liveData("Keychains")},
        {"~/Library/Mobile Documents/file", false, liveData("Mobile Documents")},
        {"~/Library/Application Support/MobileSync", false, liveData("MobileSync")},
        {"~/Library/Application Support/MobileSync/Backup/00008030-001", true, liveData("MobileSync")},
        {"~/Library/Application Support/AddressBook/Sources", false, liveData("AddressBook")},
        {"~/Library/Messages/chat.db", false, liveData("Messages")},
        {"~/Library/Messages/chat.db", true, liveData("Messages")},
        {"~/Library/Mail/V10/MailData/Envelope Index", true, liveData("MailData")},
        {"~/Library/Calendars/Calendar.sqlitedb", false, liveData("Calendars")},
        {"~/Library/Reminders/store", false, liveData("Reminders")},
        {"~/Library/Photos/Libraries", false, liveData("Photos")},
        {"~/Library/PhotoBooth/Pictures", false, liveData("PhotoBooth")},
        {"~/Library/Safari/Bookmarks.plist", false, liveData("Bookmarks.plist")},
        {"~/Library/Group Containers/group.com.apple.notes/NoteStore.sqlite", false, liveData("group.com.apple.notes")},
        // The home's keys and password stores, for every caller too.
        {"~/.ssh", true, liveData(".ssh")},
        {"~/.ssh/id_ed25519", true, liveData(".ssh")},
        {"~/.gnupg/private-keys-v1.d/key", false, liveData(".gnupg")},
        {"~/.local/share/keyrings/login.keyring", true, liveData("keyrings")},
        {"~/.password-store/mail.gpg", true, liveData(".password-store")},
        {"~/.sshd/config", false, {}},
        {"~/.local/share/keyrings-old", false, {}},
        {"~/Library/Application Support/MobileSyncExtra", false, {}},
        {"~/Library/Mail/V10/Other", false, {}},
        {"~/Library/Safari/History.db", false, {}},
        {"~/Library/Group Containers/group.com.example/data", false, {}},
        // 9. Whole volumes: the folders above them, the volumes themselves and any mount point.
        {"/Volumes/Backup", true, entireVolume},
        {"/Volumes/Backup/", true, entireVolume},
        {"/Volumes/Backup/Old", true, {}},
        {"/media/me", false, entireVolume},
        {"/media/me/USB", false, entireVolume},
        {"/media/me/USB/photo.jpg", false, {}},
        {"/run/media/me/USB", false, entireVolume},
        {"/run/media/me/USB/photo.jpg", false, {}},
        {"/mnt/disk", false, entireVolume},
        {"/mnt/disk/photo.jpg", false, {}},
        {"@/mounted", true, entireVolume},
        {"@/mounted/file", true, {}},
        // 10. Other accounts' homes and the shared folder.
        {"/Users/Shared/file", false, otherUser},
        {"/Users/other", true, otherUser},
        {"/Users/other/Downloads/a.zip", true, otherUser},
        {"/home/other", false, otherUser},
        {"/home/other/.cache/thumbnails", true, otherUser},
        // Dot steps and repeated or trailing slashes.
        {"~/Downloads/../Documents/report.txt", false, personal("Documents")},
        {"/usr/local/../bin/ls", false, systemDirectory("/usr/bin")},
        {"/tmp/./x/../../etc/hosts", false, systemDirectory("/etc")},
        {"//usr//bin//ls", false, systemDirectory("/usr/bin")},
        {"/usr/bin/", false, systemDirectory("/usr/bin")},
        {"/../../usr/bin/ls", false, systemDirectory("/usr/bin")},
        {"/etc/.", false, systemDirectory("/etc")},
        {"/tmp/..", false, filesystemRoot},
        {"/home/./other", false, otherUser},
        // Three dots or a dotted name are names, not steps.
        {"~/.../Documents/report.txt", false, {}},
        {"~/..hidden/../Documents/report.txt", false, personal("Documents")},
        {"@/plain/file.txt", false, {}},
    });
}

TEST_F(SafetyGuardTest, ServerSpoolRuntimeAndAdministratorFoldersAreSystemFolders)
{
    expectVerdicts({
        {"/srv", false, systemDirectory("/srv")},
        {"/srv/www/index.html", true, systemDirectory("/srv")},
        {"/snap/core22/current", false, systemDirectory("/snap")},
        {"/run", false, systemDirectory("/run")},
        {"/run/user/1000/bus", true, systemDirectory("/run")},
        {"/var/spool/cron/crontabs/me", false, systemDirectory("/var/spool")},
        {"/var/mail/me", true, systemDirectory("/var/mail")},
        {"/root", false, systemDirectory("/root")},
        {"/root/.cache/tool", true, systemDirectory("/root")},
        {"/rootfs/tool", false, {}},
        {"/srvdata/tool", false, {}},
        // Logs and caches of the machine stay open to the rules that follow.
        {"/var/log/syslog.1", false, {}},
        {"/var/cache/apt/pkgcache.bin", false, {}},
        // The user's volumes below /run stay volumes, their contents stay open.
        {"/run/media/me/USB", false, entireVolume},
        {"/run/media/me/USB/photo.jpg", false, {}},
    });
}

TEST_F(SafetyGuardTest, AMountPointBelowRunIsAVolume)
{
    QString mounted;
    for (const QString& name : QDir(QStringLiteral("/run")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString candidate = QStringLiteral("/run/") + name;
        if (QFileInfo(candidate).canonicalFilePath() == candidate) {
            mounted = candidate;
            break;
        }
    }
    if (mounted.isEmpty()) {
        GTEST_SKIP() << "no folder below /run";
    }
    const platform::Seam<QList<platform::MountEntry>>::Override mountedBelowRun(
        platform::mountTable(), test::mountsAt({QStringLiteral("/"), mounted}));
    EXPECT_EQ(SafetyGuard::verdict(mounted, false).message, QString::fromLatin1(entireVolume));
    EXPECT_EQ(SafetyGuard::verdict(mounted + QStringLiteral("/file"), false).message, systemDirectory("/run"));
}

TEST_F(SafetyGuardTest, TheAdministratorsHomeIsAHomeWhenItIsOurs)
{
    const platform::Seam<QString>::Override rootHome(platform::homeFolder(), QStringLiteral("/root"));
    expectVerdicts({
        {"/root", false, container("root")},
        {"/root/.cache/tool", false, {}},
        {"/root/Documents/a.txt", false, personal("Documents")},
        {"/srv/www", false, systemDirectory("/srv")},
    });
}

TEST_F(SafetyGuardTest, TheUsersOwnFoldersArePersonalByTheirLocalNames)
{
    // Without the desktop's list only ~/Videos joins the listed folders.
    expectVerdicts({
        {"~/Videos/clip.mp4", false, personal("Videos")},
        {"~/Videos/clip.mp4", true, {}},
        {"~/Bilder/a.jpg", false, {}},
    });
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/.config")));
    QFile list(home + QStringLiteral("/.config/user-dirs.dirs"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOWNLOAD_DIR=\"$HOME/Telechargements\"\n"
               "XDG_PICTURES_DIR=\"$HOME/Medien/Bilder\"\nXDG_VIDEOS_DIR=\"$HOME/Filme\"\n"
               "XDG_PUBLICSHARE_DIR=\"$HOME/\"\nXDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n");
    list.close();
    expectVerdicts({
        {"~/Schreibtisch/notes.txt", false, personal("Schreibtisch")},
        {"~/Medien/Bilder/a.jpg", false, personal("Bilder")},
        {"~/Medien/Bilder/a.jpg", true, {}},
        {"~/Filme/clip.mp4", false, personal("Filme")},
        {"~/Videos/clip.mp4", false, {}},
        {"~/Documents/a.txt", false, personal("Documents")},
        {"~/Movies/a.mov", false, personal("Movies")},
        // Neither downloads nor templates are personal folders; the home
        // itself named as a folder switches it off rather than guarding it all.
        {"~/Telechargements/a.zip", false, {}},
        {"~/Vorlagen/a.odt", false, {}},
        {"~/notes.txt", false, {}},
    });
}

TEST_F(SafetyGuardTest, HomeUnderUsersIsNotAnotherAccount)
{
    const platform::Seam<QString>::Override usersHome(platform::homeFolder(), QStringLiteral("/Users/me"));
    expectVerdicts({
        {"/Users/me", false, container("me")},
        {"/Users/me/Library/Caches", false, container("Caches")},
        {"/Users/me/Downloads/a.zip", false, {}},
        {"/Users/me/Documents/a.txt", false, personal("Documents")},
        {"/Users/meg/Downloads/a.zip", false, otherUser},
        {"/Users/Shared", false, otherUser},
    });
}

TEST_F(SafetyGuardTest, SymbolicLinksAreJudgedByTheirTargets)
{
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/Documents/sub")));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/inner")));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/elsewhere")));
    link(QStringLiteral("/usr/bin"), "@/tools");
    link(QStringLiteral("/usr/bin/no-such-tool"), "@/dangling");
    link(QStringLiteral("home/me/Documents"), "@/documents");
    link(home + QStringLiteral("/Documents/sub"), "@/inner/deep");
    link(root + QStringLiteral("/elsewhere"), "~/Documents/out");
    link(home, "@/homelink");
    link(root + QStringLiteral("/loop2"), "@/loop1");
    link(root + QStringLiteral("/loop1"), "@/loop2");
    expectVerdicts({
        {"@/tools", false, systemDirectory("/usr/bin")},
        {"@/tools/", true, systemDirectory("/usr/bin")},
        {"@/tools/ls", true, systemDirectory("/usr/bin")},
        {"@/dangling", false, systemDirectory("/usr/bin")},
        // A relative target.
        {"@/documents/a.txt", false, personal("Documents")},
        {"@/documents/a.txt", true, {}},
        // The pinned message names the path as passed, not its target.
        {"@/homelink", false, container("homelink")},
        {"@/homelink/Library/Messages/chat.db", false, liveData("Messages")},
        // Dot-dot after a link leads to the target's parent, where the removal
        // would act; the reading as text must pass too.
        {"@/inner/deep/../notes.txt", false, personal("Documents")},
        {"@/inner/deep/../notes.txt", true, {}},
        {"~/Documents/out/../notes.txt", false, personal("Documents")},
        {"~/Documents/out/../notes.txt", true, {}},
        // A loop is judged as text.
        {"@/loop1/file", false, {}},
    });
}

void SafetyGuardTest::expectRootUses(const QList<RootCase>& cases,
                                     SafetyGuard::RootUse (*use)(const QString&, const SafetyGuard::Context&)) const
{
    for (const RootCase& c : cases) {
        if (c.linkTo) {
            link(expand(c.linkTo), c.root);
        }
    }
    const SafetyGuard::Context context = SafetyGuard::context();
    for (const RootCase& c : cases) {
        const SafetyGuard::RootUse found = use(expand(c.root), context);
        EXPECT_EQ(!found.skipped(), c.used) << c.root;
        if (!found.skipped()) {
            EXPECT_EQ(found.realPath, c.throughLink ? expand(c.linkTo) : expand(c.root)) << c.root;
            EXPECT_EQ(found.throughLink, c.throughLink) << c.root;
            EXPECT_EQ(found.needsReview, c.needsReview) << c.root;
        }
    }
}

// A root reached without a link is used as it is; one behind a link only when
// it leads to a cache of its own or somewhere outside the home's and the
// system's folders, and outside the home only for review.
TEST_F(SafetyGuardTest, ScanRootsAreResolvedOnceAndLinksLeadOnlyToCaches)
{
    for (const char* folder : {"~/.cache", "~/projects/code", "~/Documents", "~/.ssh", "~/.cache-real/x",
                               "~/Library/Caches", "@/disk/cache", "@/disk/data", "~/.local/cache-store"}) {
        ASSERT_TRUE(QDir().mkpath(expand(folder))) << folder;
    }
    const QList<RootCase> cases = {
        {"~/.cache", nullptr, true, false, false},
        {"~/Library/Caches", nullptr, true, false, false},
        {"~/missing", nullptr, false, false, false},
        {"@/disk/data", nullptr, true, false, false},
        {"~/l-home", "~", false, false, false},
        {"~/l-root", "/", false, false, false},
        {"~/l-above", "@", false, false, false},
        {"~/l-projects", "~/projects", false, false, false},
        {"~/l-documents", "~/Documents", false, false, false},
        {"~/l-keys", "~/.ssh", false, false, false},
        {"~/l-caches", "~/Library/Caches", false, false, false},
        {"~/l-system", "/usr/share", false, false, false},
        {"~/l-etc", "/etc", false, false, false},
        {"~/l-dangling", "~/nothing-here", false, false, false},
        {"~/l-own-cache", "~/.cache-real", true, true, false},
        {"~/l-nested-cache", "~/.local/cache-store", true, true, false},
        {"~/l-disk-cache", "@/disk/cache", true, true, true},
    };
    expectRootUses(cases, &SafetyGuard::rootUse);
}

// A folder whose items all start deselected follows its link wherever the
// guard allows the place as a pick of the user's, inside the home or on another
// disk; never to the home or above it, a system folder, a container or a loop.
TEST_F(SafetyGuardTest, ReviewedRootsFollowLinksToAllowedPlacesOnly)
{
    for (const char* folder :
         {"~/Sync/Downloads", "~/Documents", "~/.ssh", "@/mounted/Documents", "@/disk/Documents"}) {
        ASSERT_TRUE(QDir().mkpath(expand(folder))) << folder;
    }
    const QList<RootCase> cases = {
        {"~/Documents", nullptr, true, false, false},
        {"~/missing", nullptr, false, false, false},
        {"~/l-other-disk", "@/disk/Documents", true, true, true},
        {"~/l-volume-folder", "@/mounted/Documents", true, true, true},
        {"~/l-sync", "~/Sync/Downloads", true, true, true},
        {"~/l-personal", "~/Documents", true, true, true},
        {"~/l-home", "~", false, false, false},
        {"~/l-above", "@/home", false, false, false},
        {"~/l-root", "/", false, false, false},
        {"~/l-etc", "/etc", false, false, false},
        {"~/l-system", "/usr/share", false, false, false},
        {"~/l-container", "/usr", false, false, false},
        {"~/l-volume", "@/mounted", false, false, false},
        {"~/l-keys", "~/.ssh", false, false, false},
        {"~/l-dangling", "~/nothing-here", false, false, false},
        {"~/l-loop-a", "~/l-loop-b", false, false, false},
        {"~/l-loop-b", "~/l-loop-a", false, false, false},
    };
    expectRootUses(cases, &SafetyGuard::reviewedRootUse);
}

TEST_F(SafetyGuardTest, SystemApplicationsByPathAndIdentifier)
{
    const auto bundle = [this](const char* at, const char* identifier, bool binary) {
        QList<QPair<QString, QString>> entries = {{QStringLiteral("CFBundleName"), QStringLiteral("App")}};
        if (identifier != nullptr) {
            entries.append({QStringLiteral("CFBundleIdentifier"), QLatin1String(identifier)});
        }
        EXPECT_TRUE(test::writeBundle(expand(at), entries, binary)) << at;
    };
    bundle("@/Apps/Safari.app", "com.apple.Safari", false);
    bundle("@/Apps/Terminal.app", "com.apple.Terminal", true);
    bundle("@/Apps/Keynote.app", "com.apple.iWork.Keynote", true);
    bundle("@/Apps/Editor.app", "com.example.Editor", false);
    bundle("@/Apps/Anonymous.app", nullptr, false);
    bundle("@/Apps/Finder", "com.apple.finder", false);
    bundle("@/Apps/Tool.APP", "com.apple.Terminal", false);
    bundle("~/Documents/Mail.app", "com.apple.mail", true);

    for (const char* path : {"@/Apps/Safari.app", "@/Apps/Terminal.app", "@/Apps/Keynote.app", "@/Apps/Keynote.app/",
                             "/System/Applications/Calculator.app", "/System/Applications/Utilities/Anything"}) {
        EXPECT_TRUE(SafetyGuard::isSystemApplication(expand(path))) << path;
    }
    for (const char* path : {"@/Apps/Editor.app", "@/Apps/Anonymous.app", "@/Apps/Finder", "@/Apps/Tool.APP",
                             "@/Apps/Missing.app", "/System/ApplicationsX/Tool", "/System/Applications2"}) {
        EXPECT_FALSE(SafetyGuard::isSystemApplication(expand(path))) << path;
    }

    // In /Applications only the listed identifiers count; elsewhere any of Apple's.
    const auto known = [](const char* path, const char* identifier) {
        return SafetyGuard::isSystemApplication(QLatin1String(path), QLatin1String(identifier));
    };
    EXPECT_TRUE(known("/Applications/Safari.app", "com.apple.Safari"));
    EXPECT_TRUE(known("/Applications/Utilities/Activity Monitor.app", "com.apple.ActivityMonitor"));
    EXPECT_TRUE(known("/Applications/Xcode.app", "com.apple.dt.Xcode"));
    EXPECT_FALSE(known("/Applications/Keynote.app", "com.apple.iWork.Keynote"));
    EXPECT_TRUE(known("/Users/me/Applications/Keynote.app", "com.apple.iWork.Keynote"));
    EXPECT_TRUE(known("/Applicationsx/Keynote.app", "com.apple.iWork.Keynote"));
    EXPECT_FALSE(known("/Applications/Editor.app", "com.example.Editor"));
    EXPECT_FALSE(known("/System/ApplicationsX/Editor.app", "com.example.Editor"));
    EXPECT_FALSE(known("/opt/Safari", "com.apple.Safari"));
    EXPECT_FALSE(known("/opt/Apple.app", "com.applez.tool"));
    EXPECT_TRUE(known("/System/Applications/Editor.app", "com.example.Editor"));

    expectVerdicts({
        {"@/Apps/Safari.app", true, systemApplication},
        {"@/Apps/Keynote.app", true, systemApplication},
        {"@/Apps/Editor.app", true, {}},
        {"@/Apps/Anonymous.app", false, {}},
        // The system-application rule comes before the personal-folder rule.
        {"~/Documents/Mail.app", false, systemApplication},
    });
}
