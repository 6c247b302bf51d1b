#include "ui/cleaning/ShredderTargets.h"
#include "platform/HomeFolder.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"
#include "ui/cleaning/DropZone.h"
#include "ui/cleaning/ShredderPresentation.h"
#include "ui/components/ConfirmDialog.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

using namespace harborlite;

namespace {

QStringList urlsOf(const QList<ScanItem>& items)
{
    QStringList urls;
    for (const ScanItem& item : items) {
        urls << item.url;
    }
    return urls;
}

ShredderTargets::Measurement bytes(qint64 size)
{
    return {size, std::nullopt};
}

} // namespace

TEST(ShredderTargets, OneLocationIsOneTargetListedOrPending)
{
    EXPECT_EQ(ShredderTargets::normalized(QStringLiteral("/a//b///")), QStringLiteral("/a/b"));
    EXPECT_EQ(ShredderTargets::normalized(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(ShredderTargets::normalized(QStringLiteral("/a/link/..")), QStringLiteral("/a/link/.."));

    ShredderTargets targets;
    EXPECT_EQ(targets.add({"/t/a", "/t/a/", "/t/b", "relative/c", "/t//a"}), (QStringList{"/t/a", "/t/b"}));
    EXPECT_EQ(targets.pendingCount(), 2);
    EXPECT_TRUE(targets.listed().isEmpty());
    // Pending ones count as present, and so do listed ones.
    EXPECT_TRUE(targets.add({"/t/b/"}).isEmpty());
    targets.measured("/t/b", bytes(10));
    EXPECT_TRUE(targets.add({"/t/b"}).isEmpty());
    EXPECT_EQ(targets.add({"/t/c"}), QStringList{"/t/c"});
}

// Whichever measurement ends first, the list keeps the order of adding.
TEST(ShredderTargets, ListedInTheUsersOrderOnceMeasured)
{
    test::FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    ShredderTargets targets;
    const QString big = tree.path("home/big folder");
    const QString small = tree.path("home/Documents/small.txt");
    const QString gone = tree.path("elsewhere/gone.txt");
    targets.add({big, small, gone});
    targets.measured(small, ShredderTargets::Measurement{0, QDateTime::fromSecsSinceEpoch(5, Qt::UTC)});
    EXPECT_EQ(urlsOf(targets.listed()), QStringList{small});
    targets.measured(gone, std::nullopt);
    EXPECT_EQ(targets.pendingCount(), 1);
    targets.measured(big, bytes(5000));
    EXPECT_EQ(urlsOf(targets.listed()), (QStringList{big, small}));
    EXPECT_EQ(targets.totalSize(), 5000);

    const ScanItem first = targets.listed().first();
    EXPECT_EQ(first.displayName, QStringLiteral("big folder"));
    EXPECT_EQ(first.origin, QStringLiteral("~"));
    EXPECT_TRUE(first.isSelected);
    EXPECT_FALSE(first.requiresReview);
    EXPECT_EQ(first.detail, std::nullopt);
    EXPECT_EQ(targets.listed().at(1).origin, QStringLiteral("~/Documents"));
    EXPECT_EQ(targets.listed().at(1).modified, QDateTime::fromSecsSinceEpoch(5, Qt::UTC));

    // A measurement for a location no longer wanted changes nothing.
    targets.measured(big, bytes(1));
    EXPECT_EQ(targets.totalSize(), 5000);
}

// Only the targets of a run leave the list when it ends.
TEST(ShredderTargets, ARunTakesOnlyWhatWasListed)
{
    ShredderTargets targets;
    targets.add({"/t/a", "/t/b"});
    targets.measured("/t/a", bytes(1));
    targets.measured("/t/b", bytes(2));
    QSet<QUuid> run;
    for (const ScanItem& item : targets.listed()) {
        run.insert(item.id);
    }
    targets.add({"/t/c", "/t/d"});
    targets.measured("/t/c", bytes(3));
    targets.removeAll(run);
    EXPECT_EQ(urlsOf(targets.listed()), QStringList{"/t/c"});
    EXPECT_EQ(targets.pendingCount(), 1);
    targets.remove(targets.listed().first().id);
    EXPECT_TRUE(targets.listed().isEmpty());
    EXPECT_FALSE(targets.isEmpty());
}

TEST(ShredderPresentation, Texts)
{
    EXPECT_EQ(ShredderPresentation::barTitle(1, 0), QStringLiteral("1 item(s) \u00B7 0 KB"));
    EXPECT_EQ(ShredderPresentation::barTitle(3, 2500000), QStringLiteral("3 item(s) \u00B7 2.5 MB"));
    EXPECT_EQ(ShredderPresentation::dialogTitle(1000), QStringLiteral("Permanently destroy 1000 item(s)?"));
    EXPECT_EQ(ShredderPresentation::destroyButtonTitle(0), QStringLiteral("Shred 0 KB"));

    CleanupReport report;
    report.removed = 2;
    report.reclaimed = 4000;
    EXPECT_EQ(ShredderPresentation::banner(report),
              (ShredderPresentation::Banner{"Shredded", "2 item(s) destroyed, 4 KB reclaimed.", false}));
    report.failures = {{"/a", "x"}, {"/b", "y"}};
    EXPECT_EQ(ShredderPresentation::banner(report),
              (ShredderPresentation::Banner{
                  "Shredded with skips",
                  "2 item(s) destroyed, 4 KB reclaimed. 2 item(s) were protected and left alone.", true}));
    EXPECT_EQ(ShredderPresentation::banner(CleanupReport{}).message,
              QStringLiteral("0 item(s) destroyed, 0 KB reclaimed."));
}

TEST(DropZone, OnlyLocalFilesOfADragCount)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/home/me/a file.txt"), QUrl("https://example.org/x"),
                  QUrl("file://remote.example/share/y"), QUrl::fromLocalFile("/home/me/folder/"), QUrl("smb://host/z"),
                  QUrl()});
    EXPECT_EQ(DropZone::localFiles(&data), (QStringList{"/home/me/a file.txt", "/home/me/folder/"}));
    QMimeData text;
    text.setText("/home/me/a");
    EXPECT_TRUE(DropZone::localFiles(&text).isEmpty());
    EXPECT_TRUE(DropZone::localFiles(nullptr).isEmpty());
}

TEST(DropZone, ADragOverItSaysReleaseAndADropHandsOverTheFiles)
{
    DropZone zone;
    zone.resize(600, 260);
    QSignalSpy dropped(&zone, &DropZone::dropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/t/a"), QUrl("https://example.org/b"), QUrl::fromLocalFile("/t/c")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&zone, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(zone.isDropTargeted());
    EXPECT_EQ(zone.titleLabel()->text(), QStringLiteral("Release to add"));
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&zone, &leave);
    EXPECT_FALSE(zone.isDropTargeted());
    EXPECT_EQ(zone.titleLabel()->text(), QStringLiteral("Drag files here"));

    QCoreApplication::sendEvent(&zone, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&zone, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_FALSE(zone.isDropTargeted());
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped.at(0).at(0).toStringList(), (QStringList{"/t/a", "/t/c"}));

    QSignalSpy chooser(&zone, &DropZone::chooseRequested);
    QTest::mouseClick(zone.chooseButton(), Qt::LeftButton, {}, zone.chooseButton()->rect().center());
    EXPECT_EQ(chooser.size(), 1);
    EXPECT_EQ(zone.chooseButton()->text(), QStringLiteral("Choose Files\u2026"));
}

// Only a drag that holds a local file lights the zone up; remote locations,
// a file on another host and plain text leave it as it was.
TEST(DropZone, ADragWithoutALocalFileDoesNotLightUp)
{
    struct Case {
        const char* name;
        QList<QUrl> urls;
        bool lights;
    };
    const std::vector<Case> cases{
        {"remote only", {QUrl("https://example.org/b"), QUrl("sftp://host/x")}, false},
        {"file on another host", {QUrl("file://remote.example/share/y")}, false},
        {"no urls", {}, false},
        {"one local among remote", {QUrl("smb://host/z"), QUrl::fromLocalFile("/t/a")}, true},
    };
    for (const Case& c : cases) {
        DropZone zone;
        zone.resize(600, 260);
        QMimeData data;
        if (c.urls.isEmpty()) {
            data.setText("/t/a");
        } else {
            data.setUrls(c.urls);
        }
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&zone, &enter);
        QDragMoveEvent move(QPoint(12, 12), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&zone, &move);
        EXPECT_EQ(enter.isAccepted(), c.lights) << c.name;
        EXPECT_EQ(move.isAccepted(), c.lights) << c.name;
        EXPECT_EQ(zone.isDropTargeted(), c.lights) << c.name;
        EXPECT_EQ(zone.titleLabel()->text(),
                  c.lights ? QStringLiteral("Release to add") : QStringLiteral("Drag files here"))
            << c.name;
    }
}

TEST(ConfirmDialog, DestructiveFirstThenCancelAndReturnDoesNothing)
{
    ConfirmDialog dialog("Destroy?", "For good.", "Shred 1 KB", "Cancel");
    QSignalSpy confirmed(&dialog, &ConfirmDialog::confirmed);
    dialog.open();
    dialog.adjustSize();
    EXPECT_LT(dialog.destructiveButton()->x(), dialog.cancelButton()->x());
    EXPECT_EQ(dialog.destructiveButton()->tint().light, Palette::danger().light);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(confirmed.isEmpty());
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton, {}, dialog.cancelButton()->rect().center());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(confirmed.isEmpty());
    dialog.open();
    QTest::mouseClick(dialog.destructiveButton(), Qt::LeftButton, {}, dialog.destructiveButton()->rect().center());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(confirmed.size(), 1);
    dialog.open();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(confirmed.size(), 1);
}
