#include "engine/scanners/SystemJunkScanner.h"
#include "engine/safety/SafetyGuard.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "platform/PathText.h"
#include "platform/SteadyClock.h"
#include "shared/FileSystem.h"
#include "support/BadInput.h"
#include "support/FixtureTree.h"
#include "support/OrdinaryUser.h"
#include "support/PlistFixtures.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;

namespace {

const QString ellipsis = QString::fromUtf8("\u2026");

struct Row {
    QString name;
    QString origin;
    qint64 size;
    bool selected;
    bool review;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name.toStdString() << " (" << row.origin.toStdString() << ", " << row.size
        << (row.selected ? ", selected" : "") << (row.review ? ", review" : "") << ")";
}

QList<Row> rows(const ScanGroup& group)
{
    QList<Row> result;
    for (const ScanItem& item : group.items) {
        result.append({item.displayName, item.origin.value_or("-"), item.size, item.isSelected, item.requiresReview});
    }
    return result;
}

struct Report {
    double fraction;
    QString message;
    qint64 bytes;
    bool operator==(const Report&) const = default;
};

void PrintTo(const Report& report, std::ostream* os)
{
    *os << report.fraction << " " << report.message.toStdString() << " " << report.bytes;
}

// Fractions come from sums of tenths; compare them to a millionth.
double rounded(double fraction)
{
    return std::round(fraction * 1e6) / 1e6;
}

QList<Report> reported(const QList<ScanProgress>& reports)
{
    QList<Report> result;
    for (const ScanProgress& p : reports) {
        result.append({rounded(p.fraction), p.message, p.bytesFound});
    }
    return result;
}

QByteArray xmlPreferences()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<plist version=\"1.0\"><dict><key>Shown</key><true/></dict></plist>\n";
}

QByteArray binaryPreferences()
{
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, "Count", plist_new_uint(3));
    return test::binaryList(root);
}

class SystemJunkScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), QDateTime(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC)};
    // Reports from inside a measurement come only when this clock moves.
    platform::Seam<std::chrono::steady_clock::time_point>::Override still{platform::steadyClock(), {}};

    SystemJunkScanner scanner(std::chrono::milliseconds reportInterval = ProgressMeter::interval) const
    {
        return SystemJunkScanner(tree.path("shared/Library"),
                                 AppCatalog({tree.path("apps")}, tree.path("shared/Library")), reportInterval);
    }

    QString library(const QString& relative) const { return "home/Library/" + relative; }
};

} // namespace

TEST_F(SystemJunkScannerTest, NothingToFindStillReportsEveryPhase)
{
    ProgressRecorder recorder;
    const CategoryResult result = scanner().scan(recorder.callback(), [] { return false; });

    EXPECT_EQ(result.category, ScanCategory::systemJunk);
    EXPECT_TRUE(result.groups.isEmpty());
    EXPECT_EQ(result.scannedAt, platform::now());
    QList<Report> expected = {
        {0.05, "Reading user caches" + ellipsis, 0},
        {0.2, "Reading system caches" + ellipsis, 0},
        {0.35, "Collecting logs" + ellipsis, 0},
        {0.5, "Checking saved application state" + ellipsis, 0},
        {0.65, "Looking for developer junk" + ellipsis, 0},
        {0.8, "Looking for package manager caches" + ellipsis, 0},
    };
    const char* const managers[] = {"Homebrew",  "npm",    "Yarn",  "pnpm",       "pip",
                                    "CocoaPods", "Gradle", "Cargo", "Go modules", "Docker"};
    for (int k = 0; k < 10; ++k) {
        expected.append({rounded(0.8 + 0.01 * k), QString("Measuring the ") + managers[k] + " cache" + ellipsis, 0});
    }
    expected.append({0.9, "Auditing preference files" + ellipsis, 0});
    expected.append({1.0, "System junk scan complete", 0});
    EXPECT_EQ(reported(recorder.reports()), expected);
}

TEST_F(SystemJunkScannerTest, ListsEachPhaseInOrderWithTheLinuxCachesAfterTheLibrary)
{
    tree.file(library("Caches/com.example.big/data"), 3 * 4096);
    tree.folder(library("Caches/empty"));
    tree.file(library("Caches/.hidden"), 4096);
    tree.file("outside/huge", 10 * 4096);
    tree.symlink(library("Caches/escape"), tree.path("outside"));
    tree.file("home/Documents/letter.txt", 4096);
    tree.symlink(library("Caches/documents"), tree.path("home/Documents"));
    tree.file("home/.cache/thumbnails/large/a.png", 2 * 4096);
    tree.file("home/.cache/fontconfig", 4096);
    tree.file("shared/Library/Caches/com.shared", 4096);
    tree.file(library("Logs/tool.log"), 4096);
    tree.file("shared/Library/Logs/system.log", 5 * 4096);
    tree.file(library("Saved Application State/com.example.savedState/window"), 4096);
    tree.file(library("Developer/Xcode/DerivedData/Project-abc/Build"), 2 * 4096);
    tree.file(library("Developer/Xcode/iOS DeviceSupport/17.0/Symbols"), 3 * 4096);
    tree.file(library("Developer/Xcode/Archives/2024-01-01/App.xcarchive"), 4096);
    tree.file("home/.npm/_cacache/index", 4096);
    tree.folder("home/.gradle/caches");
    tree.file("home/go/pkg/mod/cache/download", 2 * 4096);

    // A link is measured as itself, never as what it points at.
    const qint64 link = FS::allocatedSize(tree.path(library("Caches/escape")));
    ASSERT_LT(link, 10 * 4096);
    QList<Row> userCacheRows = {{"com.example.big", "-", 3 * 4096, true, false},
                                {".hidden", "-", 4096, true, false},
                                {"empty", "-", 0, true, false},
                                {"escape", "-", link, true, false}};
    std::stable_sort(userCacheRows.begin(), userCacheRows.end(),
                     [](const Row& a, const Row& b) { return a.size > b.size; });
    userCacheRows += QList<Row>{{"thumbnails", "-", 2 * 4096, true, false}, {"fontconfig", "-", 4096, true, false}};

    ProgressRecorder recorder;
    const CategoryResult result = scanner().scan(recorder.callback(), [] { return false; });

    struct Expected {
        const char* title;
        const char* subtitle;
        const char* symbol;
        QList<Row> rows;
    };
    const QList<Expected> expected = {
        {"User Cache Files", "Rebuilt automatically the next time each app runs", "internaldrive", userCacheRows},
        {"System Cache Files", "Shared caches under /Library", "gearshape.2", {{"com.shared", "-", 4096, true, false}}},
        {"Log Files",
         "Diagnostic output from apps and the system",
         "doc.text",
         {{"tool.log", "-", 4096, true, false}, {"system.log", "-", 5 * 4096, true, false}}},
        {"Saved Application State",
         "Window layouts restored when apps reopen",
         "macwindow.on.rectangle",
         {{"com.example.savedState", "-", 4096, true, false}}},
        {"Developer Junk",
         "Xcode build products, device support and simulator caches",
         "hammer",
         {{"Project-abc", "Xcode Derived Data", 2 * 4096, true, false},
          {"17.0", "iOS Device Support", 3 * 4096, false, true},
          {"2024-01-01", "Xcode Archives", 4096, false, true}}},
        {"Package Manager Caches",
         "Downloaded archives your tools can fetch again",
         "shippingbox.and.arrow.backward",
         {{"Go modules cache", tree.path("home/go/pkg/mod/cache/download"), 2 * 4096, true, false},
          {"npm cache", tree.path("home/.npm/_cacache"), 4096, true, false}}},
    };
    ASSERT_EQ(result.groups.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const ScanGroup& group = result.groups[i];
        EXPECT_EQ(group.title, QString::fromUtf8(expected[i].title));
        EXPECT_EQ(group.subtitle, QString::fromUtf8(expected[i].subtitle));
        EXPECT_EQ(group.symbol, QString::fromUtf8(expected[i].symbol));
        EXPECT_FALSE(group.isOptIn);
        EXPECT_FALSE(group.isExpanded);
        EXPECT_EQ(rows(group), expected[i].rows) << group.title.toStdString();
        for (const ScanItem& item : group.items) {
            EXPECT_FALSE(item.detail.has_value());
        }
    }
    EXPECT_EQ(result.groups[0].items[4].url, tree.path("home/.cache/thumbnails"));
    EXPECT_EQ(result.groups[5].items[0].url, tree.path("home/go/pkg/mod/cache/download"));

    const QList<Report> reports = reported(recorder.reports());
    const qint64 userCaches = 7 * 4096 + link;
    // User caches: the Library's five children over 0.05...0.125, ~/.cache's two over 0.125...0.2.
    const QString readingCaches = "Reading user caches" + ellipsis;
    QList<Report> phaseOne;
    for (const Report& r : reports) {
        if (r.message.startsWith(readingCaches)) {
            phaseOne.append(r);
        }
    }
    // The message counts the entries read inside the folders measured so far:
    // com.example.big and its file, then the empty folder.
    const QString twoRead = readingCaches + " (2)";
    const QString threeRead = readingCaches + " (3)";
    EXPECT_EQ(phaseOne,
              (QList<Report>{{0.05, readingCaches, 0},
                             {0.05, readingCaches, 0},
                             {0.065, readingCaches, 0},
                             {0.08, twoRead, 0},
                             {0.095, twoRead, 0},
                             {0.11, threeRead, 0},
                             {0.125, threeRead, 0},
                             {0.1625, threeRead, 0}}));
    // Reports inside a phase carry the total as it stood when the phase started.
    EXPECT_TRUE(reports.contains(Report{0.2, "Reading system caches" + ellipsis, userCaches}));
    EXPECT_TRUE(reports.contains(Report{0.35, "Collecting logs" + ellipsis, userCaches + 4096}));
    EXPECT_TRUE(reports.contains(Report{0.425, "Collecting logs" + ellipsis, userCaches + 4096}));
    EXPECT_TRUE(reports.contains(Report{0.6875, "Measuring iOS Device Support" + ellipsis, userCaches + 8 * 4096}));
    EXPECT_TRUE(reports.contains(Report{0.7625, "Measuring Xcode Archives" + ellipsis, userCaches + 8 * 4096}));
    EXPECT_EQ(reports.last(), (Report{1.0, "System junk scan complete", result.totalSize()}));
    EXPECT_EQ(result.totalSize(), userCaches + 17 * 4096);
}

TEST_F(SystemJunkScannerTest, CancellingInTheUserCachesKeepsWhatWasFoundAndFinishesEveryPhase)
{
    tree.file(library("Caches/a/data"), 4096);
    tree.deepChain(library("Caches/b"), 3, 2 * 4096);
    tree.file(library("Caches/c/data"), 4096);
    tree.file(library("Logs/tool.log"), 4096);
    bool stop = false;
    ProgressRecorder recorder;
    int userCacheReports = 0;
    const auto progress = [&](const ScanProgress& p) {
        // The report before the second child of the Caches folder.
        if (p.message.startsWith("Reading user caches" + ellipsis) && ++userCacheReports == 3) {
            stop = true;
        }
        recorder.callback()(p);
    };
    const CategoryResult result = scanner().scan(progress, [&] { return stop; });

    ASSERT_EQ(result.groups.size(), 1);
    // The second child's measurement was cut short: it keeps what it counted so far.
    const QList<Row> found = rows(result.groups[0]);
    ASSERT_EQ(found.size(), 2);
    EXPECT_TRUE(found.contains(Row{"a", "-", 4096, true, false}));
    const qint64 partial = found[0].name == "b" ? found[0].size : found[1].size;
    EXPECT_LT(partial, 2 * 4096);
    QStringList starts;
    for (const ScanProgress& p : recorder.reports()) {
        starts.append(p.message);
    }
    starts.removeDuplicates();
    // The first child, a folder holding one file, was read before the stop.
    EXPECT_EQ(starts,
              (QStringList{"Reading user caches" + ellipsis, "Reading user caches" + ellipsis + " (2)",
                           "Reading system caches" + ellipsis, "Collecting logs" + ellipsis,
                           "Checking saved application state" + ellipsis, "Looking for developer junk" + ellipsis,
                           "Looking for package manager caches" + ellipsis, "Auditing preference files" + ellipsis,
                           "System junk scan complete"}));
    EXPECT_EQ(recorder.reports().last().bytesFound, 4096 + partial);
}

TEST_F(SystemJunkScannerTest, ALargeCacheFolderKeepsItsPhaseMoving)
{
    constexpr int files = 30;
    for (int i = 0; i < files; ++i) {
        tree.file(library(QStringLiteral("Caches/com.example.large/f%1").arg(i, 2, 10, QLatin1Char('0'))), 4096);
    }
    tree.file("home/.cache/after", 4096);
    ProgressRecorder recorder;
    // No least time between reports: every entry read sends one.
    scanner(std::chrono::milliseconds(0)).scan(recorder.callback(), [] { return false; });

    const QString readingCaches = "Reading user caches" + ellipsis;
    const auto read = [&](int entries) { return readingCaches + QStringLiteral(" (%1)").arg(entries); };
    QList<Report> inside;
    for (const Report& r : reported(recorder.reports())) {
        if (r.fraction > 0.05 && r.fraction < 0.125) {
            inside.append(r);
        }
    }
    // While the folder is measured: the folder, then each file, one report
    // each, every one further into the Library's half of the phase.
    ASSERT_EQ(inside.size(), files + 1);
    for (int i = 0; i <= files; ++i) {
        EXPECT_EQ(inside[i].message, read(i + 1));
        if (i > 0) {
            EXPECT_GT(inside[i].fraction, inside[i - 1].fraction);
        }
    }
    EXPECT_TRUE(reported(recorder.reports()).contains(Report{0.125, read(files + 1), 0}));
}

TEST_F(SystemJunkScannerTest, AuditsPreferencesForBrokenAndUnclaimedFiles)
{
    ASSERT_TRUE(test::writeBundle(tree.path("apps/Installed.app"), {{"CFBundleIdentifier", "com.vendor.installed"}}));
    ASSERT_TRUE(test::writeBundle(tree.path("apps/Case.app"), {{"CFBundleIdentifier", "com.vendor.case"}}));
    const QString prefs = library("Preferences/");
    tree.file(prefs + "com.apple.broken.plist", QByteArray("\x00\x01garbage", 9));
    tree.file(prefs + "com.apple.finder.plist", xmlPreferences());
    tree.file(prefs + "loginwindow.plist", xmlPreferences());
    tree.file(prefs + "com.vendor.tool.plist", binaryPreferences());
    tree.file(prefs + "com.vendor.installed.plist", xmlPreferences());
    tree.file(prefs + "com.vendor.Case.plist", xmlPreferences());
    tree.file(prefs + "com.vendor.upper.PLIST", QByteArray("garbage"));
    tree.file(prefs + "com.vendor.text.plist", QByteArray(" \n\t{\n    Shown = YES;\n}\n"));
    tree.file(prefs + "com.vendor.array.plist", QByteArray("(one, two)"));
    tree.file(prefs + "com.vendor.empty.plist", QByteArray());
    tree.file(prefs + "com.vendor.cycle.plist", test::cyclicBinaryList());
    tree.file(prefs + "com.vendor.malformed.plist", QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a</key>"));
    tree.sparseFile(prefs + "com.vendor.huge.plist", 9 * 1024 * 1024);
    tree.file(prefs + "com.vendor.folder.plist/inside", 4096);
    tree.file("elsewhere/com.vendor.linked.plist", xmlPreferences());
    tree.symlink(prefs + "com.vendor.linked.plist", tree.path("elsewhere/com.vendor.linked.plist"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.path(prefs + "com.vendor.pipe.plist")).constData(), 0600), 0);
    tree.file(prefs + "com.vendor.new\nline.plist", QByteArray("garbage"));
    tree.file(prefs + ".com.vendor.hidden.plist", QByteArray("garbage"));
    tree.file(prefs + "ByHost/com.vendor.host.plist", QByteArray("garbage"));
    ASSERT_TRUE(test::writeRawName(tree.path(prefs), test::invalidUtf8Name("com.vendor.", ".plist"), "garbage"));

    ProgressRecorder recorder;
    const CategoryResult result = scanner().scan(recorder.callback(), [] { return false; });

    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "Broken Preferences");
    EXPECT_EQ(group.subtitle, "Corrupt plists and settings with no owning app");
    EXPECT_EQ(group.symbol, "slider.horizontal.3");
    EXPECT_TRUE(group.isOptIn);
    EXPECT_FALSE(group.isExpanded);
    QMap<QString, Row> byName;
    for (const ScanItem& item : group.items) {
        EXPECT_EQ(item.size, FS::allocatedSize(item.url));
        EXPECT_EQ(item.url, tree.path(prefs + item.displayName));
        byName.insert(item.displayName,
                      {item.displayName, item.origin.value_or("-"), 0, item.isSelected, item.requiresReview});
    }
    const QString unreadable = "Unreadable property list";
    const QMap<QString, Row> expected = {
        {"com.apple.broken.plist", {"com.apple.broken.plist", unreadable, 0, false, false}},
        {"com.vendor.tool.plist", {"com.vendor.tool.plist", "No installed app claims com.vendor.tool", 0, false, true}},
        {"com.vendor.Case.plist", {"com.vendor.Case.plist", "No installed app claims com.vendor.Case", 0, false, true}},
        {"com.vendor.empty.plist", {"com.vendor.empty.plist", unreadable, 0, false, false}},
        {"com.vendor.cycle.plist", {"com.vendor.cycle.plist", unreadable, 0, false, false}},
        {"com.vendor.malformed.plist", {"com.vendor.malformed.plist", unreadable, 0, false, false}},
        {"com.vendor.new\nline.plist", {"com.vendor.new\nline.plist", unreadable, 0, false, false}},
        {".com.vendor.hidden.plist", {".com.vendor.hidden.plist", unreadable, 0, false, false}},
        // A name that is not UTF-8 is a file like any other, named by its own bytes.
        {platform::pathText(test::invalidUtf8Name("com.vendor.", ".plist")),
         {platform::pathText(test::invalidUtf8Name("com.vendor.", ".plist")), unreadable, 0, false, false}},
    };
    EXPECT_EQ(byName, expected);
    for (qsizetype i = 1; i < group.items.size(); ++i) {
        EXPECT_GE(group.items[i - 1].size, group.items[i].size);
    }
}

TEST_F(SystemJunkScannerTest, AFileThatCannotBeOpenedIsUnreadable)
{
    test::asOrdinaryUser([&] {
        const QString locked = tree.file(library("Preferences/com.vendor.locked.plist"), xmlPreferences());
        ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);

        const CategoryResult result = scanner().scan([](const ScanProgress&) {}, [] { return false; });

        ::chmod(QFile::encodeName(locked).constData(), 0644);
        ASSERT_EQ(result.groups.size(), 1);
        EXPECT_EQ(rows(result.groups[0]),
                  (QList<Row>{{"com.vendor.locked.plist", "Unreadable property list", FS::allocatedSize(locked), false,
                               false}}));
    });
}

TEST_F(SystemJunkScannerTest, CancellingTheAuditKeepsTheFilesExamined)
{
    for (const char* name : {"com.vendor.a.plist", "com.vendor.b.plist", "com.vendor.c.plist", "com.vendor.d.plist"}) {
        tree.file(library("Preferences/") + name, xmlPreferences());
    }
    bool stop = false;
    ProgressRecorder recorder;
    const auto progress = [&](const ScanProgress& p) {
        // The audit reports 0.9 + 0.1 * i / 4 before file i: stop once file b is reached.
        if (p.message == "Auditing preference files" + ellipsis && p.fraction > 0.92) {
            stop = true;
        }
        recorder.callback()(p);
    };
    const CategoryResult result = scanner().scan(progress, [&] { return stop; });

    ASSERT_EQ(result.groups.size(), 1);
    QStringList names;
    for (const ScanItem& item : result.groups[0].items) {
        names.append(item.displayName);
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{"com.vendor.a.plist", "com.vendor.b.plist"}));
    EXPECT_EQ(recorder.reports().last().message, "System junk scan complete");
    EXPECT_EQ(recorder.reports().last().bytesFound, result.totalSize());
}

TEST_F(SystemJunkScannerTest, APackageManagerCacheAmongTheUserCachesIsOfferedOnce)
{
    tree.file(library("Caches/pip/http/wheel"), 2 * 4096);
    tree.file(library("Caches/Homebrew/downloads/tool.tar.gz"), 3 * 4096);
    tree.file(library("Caches/com.example.app/data"), 4096);

    const CategoryResult result = scanner().scan({}, [] { return false; });

    QStringList urls;
    for (const ScanGroup& group : result.groups) {
        for (const ScanItem& item : group.items) {
            urls.append(item.url);
        }
    }
    EXPECT_EQ(urls.count(tree.path(library("Caches/pip"))), 1);
    EXPECT_EQ(urls.count(tree.path(library("Caches/Homebrew"))), 1);
    EXPECT_EQ(result.totalSize(), 6 * 4096);
    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].title, QStringLiteral("User Cache Files"));
}

TEST_F(SystemJunkScannerTest, RootsThatAreFilesOrMissingGiveNothing)
{
    tree.file("home/Library/Caches", 4096);
    tree.file("home/.cache", 4096);
    tree.file("home/Library/Preferences", 4096);
    tree.file("home/Library/Developer", 4096);

    const CategoryResult result = scanner().scan([](const ScanProgress&) {}, [] { return false; });

    EXPECT_TRUE(result.groups.isEmpty());
}

TEST_F(SystemJunkScannerTest, TheLinuxCachesAreTheHomesCacheFolderWhateverTheEnvironmentSays)
{
    tree.file("home/.ssh/id_ed25519", 4096);
    tree.file("home/.cache/thumbnails/a.png", 4096);
    const QByteArray previous = qgetenv("XDG_CACHE_HOME");
    const bool hadPrevious = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(tree.path("home")));

    const CategoryResult result = scanner().scan([](const ScanProgress&) {}, [] { return false; });

    if (hadPrevious) {
        qputenv("XDG_CACHE_HOME", previous);
    } else {
        qunsetenv("XDG_CACHE_HOME");
    }
    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(rows(result.groups[0]), (QList<Row>{{"thumbnails", "-", 4096, true, false}}));
}

struct LinkedCachesCase {
    const char* name;
    const char* target; // "~" the home, "@" the fixture folder
};

void PrintTo(const LinkedCachesCase& row, std::ostream* os)
{
    *os << row.name;
}

class LinkedUserCaches : public SystemJunkScannerTest, public testing::WithParamInterface<LinkedCachesCase> {
protected:
    QString expand(const char* target) const
    {
        QString text = QString::fromUtf8(target);
        if (text.startsWith('~')) {
            return tree.path("home") + text.mid(1);
        }
        return text.startsWith('@') ? tree.root() + text.mid(1) : text;
    }
};

// A cache folder that is a link to the home, above it, to the system or to
// anything that is not a cache of its own offers nothing: what lies there is
// the user's data or the system's, not something that rebuilds itself.
TEST_P(LinkedUserCaches, OfferNothingBehindALinkThatLeadsOutOfTheCaches)
{
    tree.file("home/.ssh/id_ed25519", 4096);
    tree.file("home/.gnupg/pubring.kbx", 4096);
    tree.file("home/.config/app/settings.ini", 4096);
    tree.file("home/projects/thesis/chapter1.tex", 8192);
    tree.file("home/Documents/letter.odt", 4096);
    tree.file("elsewhere/important/data.db", 4096);
    tree.file("home/Library/Logs/app.log", 4096);
    for (const char* cache : {".cache", "Library/Caches"}) {
        tree.symlink(QStringLiteral("home/") + QLatin1String(cache), expand(GetParam().target));
    }

    const CategoryResult result = scanner().scan({}, [] { return false; });

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.groups[0].title, "Log Files");
    EXPECT_EQ(rows(result.groups[0]), (QList<Row>{{"app.log", "-", 4096, true, false}}));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, LinkedUserCaches,
    testing::Values(LinkedCachesCase{"TheHome", "~"}, LinkedCachesCase{"TheRoot", "/"},
                    LinkedCachesCase{"AboveTheHome", "@"}, LinkedCachesCase{"AFolderOfTheHome", "~/projects"},
                    LinkedCachesCase{"APersonalFolder", "~/Documents"}, LinkedCachesCase{"TheKeys", "~/.ssh"},
                    LinkedCachesCase{"SettingsInTheHome", "~/.config"}, LinkedCachesCase{"TheSystem", "/usr/share"}),
    [](const testing::TestParamInfo<LinkedCachesCase>& row) { return std::string(row.param.name); });

// Behind a link to a folder outside the home that is no cache, nothing is
// ever preselected: at most it is listed for the user to look at.
TEST_F(SystemJunkScannerTest, AFolderOutsideTheHomeBehindALinkIsNeverPreselected)
{
    tree.file("elsewhere/important/data.db", 4096);
    tree.symlink("home/.cache", tree.path("elsewhere"));

    const CategoryResult result = scanner().scan({}, [] { return false; });

    for (const ScanGroup& group : result.groups) {
        for (const ScanItem& item : group.items) {
            EXPECT_FALSE(item.isSelected) << item.url.toStdString();
            EXPECT_TRUE(item.requiresReview) << item.url.toStdString();
        }
    }
}

// A cache kept on another disk through a link stays visible, named where it
// really is, and is never preselected.
TEST_F(SystemJunkScannerTest, ACacheOnAnotherDiskIsListedForReviewOnly)
{
    tree.file("disk/user-cache/thumbnails/a.png", 2 * 4096);
    tree.file("disk/user-cache/fonts/b.bin", 4096);
    tree.symlink("home/.cache", tree.path("disk/user-cache"));
    tree.file("home/Library/Caches/com.example.app/data", 4096);

    const CategoryResult result = scanner().scan({}, [] { return false; });

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(rows(result.groups[0]),
              (QList<Row>{{"com.example.app", "-", 4096, true, false},
                          {"thumbnails", "-", 2 * 4096, false, true},
                          {"fonts", "-", 4096, false, true}}));
    EXPECT_EQ(result.groups[0].items[1].url, tree.path("disk/user-cache/thumbnails"));
}

// No scanner offers the home's keys and password stores, even to a user who picks them.
TEST_F(SystemJunkScannerTest, KeysAndPasswordStoresAreNeverOffered)
{
    tree.file("home/.cache/thumbnails/a.png", 4096);
    for (const char* store : {".ssh", ".gnupg", ".local/share/keyrings", ".password-store"}) {
        const QString location = tree.folder(QStringLiteral("home/") + QLatin1String(store));
        tree.symlink(QStringLiteral("home/.cache/") + QFileInfo(location).fileName() + "-link", location);
        EXPECT_FALSE(SafetyGuard::verdict(location, true).allowed) << store;
    }

    const CategoryResult result = scanner().scan({}, [] { return false; });

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(rows(result.groups[0]), (QList<Row>{{"thumbnails", "-", 4096, true, false}}));
}
