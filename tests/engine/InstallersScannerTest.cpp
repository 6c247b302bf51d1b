#include "engine/scanners/InstallersScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "support/FixtureTree.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;

namespace {

const QDateTime kNow(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);
const QDateTime kCutOff = kNow.addDays(-14);

QStringList names(const ScanGroup& group)
{
    QStringList list;
    for (const ScanItem& item : group.items) {
        list.append(item.displayName);
    }
    return list;
}

const ScanGroup* groupTitled(const CategoryResult& result, const QString& title)
{
    for (const ScanGroup& group : result.groups) {
        if (group.title == title) {
            return &group;
        }
    }
    return nullptr;
}

class InstallersScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), kNow};

    QString download(const QString& relative, int days = 15, qint64 bytes = 20000)
    {
        const QString path = tree.file("home/" + relative, bytes);
        tree.setTimes("home/" + relative, kNow.addDays(-days));
        return path;
    }

    InstallersScanner scanner(qint64 minimumSize = 10000) const
    {
        InstallersScanner::Locations locations;
        locations.applicationFolders = QStringList{tree.path("Applications"), tree.path("home/Applications")};
        locations.systemInstallers = tree.path("Applications");
        return InstallersScanner(minimumSize, 14, locations);
    }

    CategoryResult scan(
        ProgressRecorder& recorder, qint64 minimumSize = 10000,
        const CancelPredicate& isCancelled = [] { return false; }) const
    {
        return scanner(minimumSize).scan(recorder.callback(), isCancelled);
    }
};

} // namespace

TEST(InstallersScannerNames, NormaliseKeepsLettersAndNumbersAndTrimsDigits)
{
    const QList<QPair<QString, QString>> cases = {
        {"Firefox 121.0", "firefox"},
        {"Google Chrome", "googlechrome"},
        {"123", ""},
        {"7-Zip 23", "zip"},
        {QString::fromUtf8("Caf\u00e9 2"), QString::fromUtf8("caf\u00e9")},
        {QString::fromUtf8("\u0417\u0443\u043c"), QString::fromUtf8("\u0437\u0443\u043c")},
    };
    for (const auto& [name, key] : cases) {
        EXPECT_EQ(InstallersScanner::normalise(name), key) << name.toStdString();
    }
}

TEST_F(InstallersScannerTest, OnlyFilesLeftAloneLongerThanTheSettlingTimeAreListed)
{
    const qint64 allocated = FS::allocatedSize(download("Downloads/old.dmg", 15));
    download("Downloads/recent.dmg", 13);
    download("Downloads/at-cut-off.dmg", 0);
    tree.setTimes("home/Downloads/at-cut-off.dmg", kCutOff);

    ProgressRecorder recorder;
    const CategoryResult result = scan(recorder, allocated);

    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "Installers & Disk Images");
    EXPECT_EQ(group.subtitle, "Packages and disk images for software you have already installed");
    EXPECT_EQ(group.symbol, "opticaldiscdrive");
    EXPECT_TRUE(group.isOptIn);
    EXPECT_FALSE(group.isExpanded);
    EXPECT_EQ(names(group), QStringList{"old.dmg"});
    const ScanItem& item = group.items[0];
    EXPECT_EQ(item.origin, "~/Downloads");
    EXPECT_EQ(item.size, allocated);
    EXPECT_EQ(item.modified, kNow.addDays(-15));
    EXPECT_TRUE(item.requiresReview);
    EXPECT_FALSE(item.isSelected);
    EXPECT_EQ(item.detail, "Downloaded " + Format::relativeDate(kNow.addDays(-15)));
    EXPECT_TRUE(scan(recorder, allocated + 1).groups.isEmpty());
}

TEST_F(InstallersScannerTest, InstallersOfInstalledApplicationsSaySo)
{
    tree.folder("Applications/Firefox.app");
    tree.folder("Applications/Foo.APP");
    tree.folder("home/Applications/Visual Studio Code.app");
    download("Downloads/Firefox 121.0.dmg");
    download("Downloads/Foo 2.pkg");
    download("Downloads/2024.pkg");
    download("Downloads/VisualStudioCode-1.85.deb");

    ProgressRecorder recorder;
    const CategoryResult result = scan(recorder);

    ASSERT_EQ(result.groups.size(), 1);
    QMap<QString, QString> details;
    for (const ScanItem& item : result.groups[0].items) {
        details[item.displayName] = item.detail.value_or("-");
    }
    const QString downloaded = "Downloaded " + Format::relativeDate(kNow.addDays(-15));
    EXPECT_EQ(details["Firefox 121.0.dmg"], "firefox is already installed");
    EXPECT_EQ(details["Foo 2.pkg"], downloaded);
    EXPECT_EQ(details["2024.pkg"], downloaded);
    EXPECT_EQ(details["VisualStudioCode-1.85.deb"], "visualstudiocode is already installed");
}

TEST_F(InstallersScannerTest, ExtensionsDecideTheGroupAndOnlyTheFirstLevelCounts)
{
    for (const char* name : {"Tool.app.zip", "Tool.zip", "Archive.ZIP", "data.tar.gz", "image.iso", "pkg.deb",
                             "pkg.rpm", "Tool.AppImage", "app.flatpakref", "app.snap", "notes.txt"}) {
        download(QStringLiteral("Downloads/") + QLatin1String(name));
    }
    download("Downloads/sub/inner.dmg");
    download("Downloads/.hidden.dmg");
    download("Downloads/Folder.pkg/Contents/payload");
    download("Desktop/desk.xz");

    ProgressRecorder recorder;
    const CategoryResult result = scan(recorder);

    ASSERT_EQ(result.groups.size(), 2);
    QStringList installers = names(result.groups[0]);
    installers.sort();
    EXPECT_EQ(installers,
              (QStringList{"Tool.AppImage", "Tool.app.zip", "app.flatpakref", "app.snap", "image.iso", "pkg.deb",
                           "pkg.rpm"}));
    const ScanGroup& archives = result.groups[1];
    EXPECT_EQ(archives.title, "Downloaded Archives");
    EXPECT_EQ(archives.subtitle, "Zips and tarballs you have already extracted or can fetch again");
    EXPECT_EQ(archives.symbol, "doc.zipper");
    // Roots in order, names in order within each: Downloads first, then Desktop.
    EXPECT_EQ(names(archives), (QStringList{"Archive.ZIP", "Tool.zip", "data.tar.gz", "desk.xz"}));
}

TEST_F(InstallersScannerTest, SystemInstallersAndUpdatePayloadsHaveNoAgeTest)
{
    tree.file("Applications/Install macOS Sonoma.app/Contents/SharedSupport/payload", 30000);
    tree.file("Applications/install macOS lower.app/Contents/payload", 30000);
    tree.file("Applications/Install macOS Notes.txt", 30000);
    tree.file("home/Library/Updates/061-12345/payload.pkg", 30000);
    tree.file("home/Library/Updates/tiny", 10);

    ProgressRecorder recorder;
    const CategoryResult result = scan(recorder);

    ASSERT_EQ(result.groups.size(), 1);
    const ScanGroup& group = result.groups[0];
    EXPECT_EQ(group.title, "macOS Installers");
    EXPECT_EQ(group.subtitle, "Full system installers and update payloads left on disk");
    EXPECT_EQ(group.symbol, "arrow.down.circle");
    EXPECT_EQ(names(group), (QStringList{"Install macOS Sonoma.app", "061-12345"}));
    EXPECT_EQ(group.items[0].detail, "macOS can download this again");
    EXPECT_EQ(group.items[0].origin, tree.path("Applications"));
    EXPECT_EQ(group.items[1].origin, "~/Library/Updates");
    EXPECT_EQ(group.items[0].size, FS::size(tree.path("Applications/Install macOS Sonoma.app")));
    const QList<ScanProgress> reports = recorder.reports();
    EXPECT_EQ(reports[reports.size() - 2].message, QString::fromUtf8("Checking system update downloads\u2026"));
    EXPECT_EQ(reports[reports.size() - 2].fraction, 0.85);
    EXPECT_EQ(reports.last().message, "Installer scan complete");
    EXPECT_EQ(reports.last().bytesFound, result.totalSize());
}

TEST_F(InstallersScannerTest, NothingFoundReportsEachRootAndTheEmptyEnd)
{
    tree.folder("home/Downloads");
    tree.folder("home/Documents");

    ProgressRecorder recorder;
    const CategoryResult result = scan(recorder);

    EXPECT_TRUE(result.groups.isEmpty());
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 4);
    EXPECT_EQ(reports[0].message, QString::fromUtf8("Scanning Downloads\u2026"));
    EXPECT_EQ(reports[0].fraction, 0.0);
    EXPECT_EQ(reports[1].message, QString::fromUtf8("Scanning Documents\u2026"));
    EXPECT_EQ(reports[1].fraction, 0.4);
    EXPECT_EQ(reports[3].message, "No installers found");
    EXPECT_EQ(reports[3].fraction, 1.0);
}

TEST_F(InstallersScannerTest, CancellingInTheFirstRootSkipsTheSystemPhase)
{
    download("Downloads/a.dmg");
    download("Downloads/b.dmg");
    tree.file("Applications/Install macOS Sonoma.app/Contents/payload", 30000);
    int polls = 0;

    ProgressRecorder recorder;
    const CategoryResult result = scan(recorder, 10000, [&] { return ++polls > 2; });

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(names(result.groups[0]), QStringList{"a.dmg"});
    for (const ScanProgress& p : recorder.reports()) {
        EXPECT_FALSE(p.message.startsWith("Checking"));
    }
    EXPECT_EQ(recorder.reports().last().message, "Installer scan complete");
    EXPECT_EQ(groupTitled(result, "macOS Installers"), nullptr);
}
