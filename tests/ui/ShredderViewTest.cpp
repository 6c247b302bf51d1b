#include "ui/cleaning/ShredderView.h"
#include "ToolModel.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "support/EventWait.h"
#include "support/FixtureTree.h"
#include "support/OrdinaryUser.h"
#include "support/QtPrinters.h"
#include "ui/cleaning/DropZone.h"
#include "ui/cleaning/ShredderRow.h"
#include "ui/components/ConfirmDialog.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SheetOverlay.h"

#include <QFile>
#include <QMimeData>
#include <QScrollArea>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ToolModel;

namespace {

struct Shredder {
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    ToolModel tools;
    std::unique_ptr<ShredderView> view = std::make_unique<ShredderView>(tools.tools(), tools.services());

    Shredder()
    {
        view->resize(1000, 800);
        view->show();
    }

    QStringList listed() const
    {
        QStringList urls;
        for (const ScanItem& item : view->targets().listed()) {
            urls << item.url;
        }
        return urls;
    }

    void waitMeasured()
    {
        test::waitFor([&] { return view->targets().pendingCount() == 0; });
    }

    void drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        DropZone* zone = view->dropZone();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(zone, &enter);
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(zone, &dropped);
    }

    // Opens the confirmation through the bar's button.
    void openConfirmation()
    {
        GlassCompatButton* shred = view->actionBar()->button();
        QTest::mouseClick(shred, Qt::LeftButton, {}, shred->rect().center());
        ASSERT_NE(view->confirmation(), nullptr);
    }

    void pressDestroy()
    {
        GlassCompatButton* destroy = view->confirmation()->destructiveButton();
        QTest::mouseClick(destroy, Qt::LeftButton, {}, destroy->rect().center());
    }

    // Confirms through the dialog's destructive button.
    void confirm()
    {
        openConfirmation();
        pressDestroy();
    }

    std::optional<AppModel::Banner> waitBanner()
    {
        test::waitFor([&] { return tools.model().banner().has_value(); });
        return tools.model().banner();
    }
};

} // namespace

TEST(ShredderView, EmptyShowsNoListAndNoBar)
{
    Shredder s;
    EXPECT_TRUE(s.view->fileList()->isHidden());
    EXPECT_EQ(s.view->actionBar(), nullptr);
    EXPECT_EQ(s.view->dropZone()->titleLabel()->text(), QStringLiteral("Drag files here"));
}

// The chooser's files and folders come in its order; one that is listed or
// pending already is not added again, with or without a trailing slash.
TEST(ShredderView, ChosenLocationsAreMeasuredOffTheGuiThreadAndListedInOrder)
{
    Shredder s;
    const QString folder = s.tree.file("home/Projects/old/a.bin", 40000);
    const QString file = s.tree.file("home/notes.txt", 3000);
    const QString dir = FS::parentPath(folder);
    s.tools.chooses(QStringList{dir, file, dir + "/", file});
    QTest::mouseClick(s.view->dropZone()->chooseButton(), Qt::LeftButton, {},
                      s.view->dropZone()->chooseButton()->rect().center());
    EXPECT_EQ(s.tools.chooserOpenings(), 1);
    s.waitMeasured();
    test::settleEvents();
    EXPECT_EQ(s.listed(), (QStringList{dir, file}));
    const QList<ScanItem> items = s.view->targets().listed();
    EXPECT_EQ(items.at(0).size, FS::size(dir, {.descendIntoPackages = true}));
    EXPECT_EQ(items.at(0).origin, QStringLiteral("~/Projects"));
    EXPECT_EQ(items.at(0).displayName, QStringLiteral("old"));
    EXPECT_TRUE(items.at(1).modified.has_value());
    EXPECT_FALSE(s.view->fileList()->isHidden());
    ASSERT_EQ(s.view->rows().size(), 2);
    ASSERT_NE(s.view->actionBar(), nullptr);
    EXPECT_EQ(s.view->actionBar()->titleLabel()->text(),
              QStringLiteral("2 item(s) \u00B7 ") + Format::byteText(s.view->targets().totalSize()));

    s.tools.chooses(std::nullopt);
    QTest::mouseClick(s.view->dropZone()->chooseButton(), Qt::LeftButton, {},
                      s.view->dropZone()->chooseButton()->rect().center());
    EXPECT_EQ(s.listed().size(), 2);
}

TEST(ShredderView, TheUsersOrderHoldsWhenALargeFolderIsMeasuredLast)
{
    Shredder s;
    const QString large = s.tree.folder("home/large");
    const QString small = s.tree.file("home/small.txt", 10);
    s.tools.hold("measure:" + large);
    s.view->add({large, small});
    test::waitFor([&] { return s.view->targets().pendingCount() == 1; });
    EXPECT_EQ(s.listed(), QStringList{small});
    // Added again while pending: still one target.
    s.view->add({large + "//"});
    s.tools.release("measure:" + large);
    s.waitMeasured();
    EXPECT_EQ(s.listed(), (QStringList{large, small}));
}

// Remote locations are ignored; a file gone before it is measured is not
// listed; a link is listed as the link.
TEST(ShredderView, DropsOfRemoteVanishedAndLinkedLocations)
{
    Shredder s;
    const QString kept = s.tree.file("home/kept.txt", 100);
    const QString doomed = s.tree.file("home/doomed.txt", 100);
    const QString target = s.tree.file("home/target.txt", 5000);
    const QString link = s.tree.symlink("home/link.txt", target);
    s.tools.hold("measure:" + doomed);
    s.drop({QUrl("https://example.org/file.txt"), QUrl::fromLocalFile(kept), QUrl::fromLocalFile(doomed),
            QUrl("sftp://host/x"), QUrl::fromLocalFile(link), QUrl::fromLocalFile(kept + "/")});
    ASSERT_TRUE(QFile::remove(doomed));
    s.tools.release("measure:" + doomed);
    s.waitMeasured();
    EXPECT_EQ(s.listed(), (QStringList{kept, link}));
    EXPECT_LT(s.view->targets().listed().at(1).size, 5000);
}

TEST(ShredderView, RemovingTheLastRowHidesTheListAndTheBar)
{
    Shredder s;
    const QString empty = s.tree.file("home/empty.txt", QByteArray());
    s.view->add({empty});
    s.waitMeasured();
    test::settleEvents();
    ASSERT_EQ(s.view->rows().size(), 1);
    EXPECT_EQ(s.view->rows().first()->sizeLabel()->text(), QStringLiteral("0 KB"));
    EXPECT_EQ(s.view->actionBar()->titleLabel()->text(), QStringLiteral("1 item(s) \u00B7 0 KB"));
    GlassCompatButton* shred = s.view->actionBar()->button();
    QTest::mouseClick(shred, Qt::LeftButton, {}, shred->rect().center());
    ASSERT_NE(s.view->confirmation(), nullptr);
    EXPECT_EQ(s.view->confirmation()->destructiveButton()->text(), QStringLiteral("Shred 0 KB"));
    EXPECT_EQ(s.view->confirmation()->titleLabel()->text(), QStringLiteral("Permanently destroy 1 item(s)?"));
    // A sheet of the window over a dimmed window, the destructive button
    // first; Escape cancels.
    ConfirmDialog* sheet = s.view->confirmation();
    EXPECT_FALSE(sheet->isWindow());
    EXPECT_EQ(sheet->window(), s.view->window());
    ASSERT_NE(SheetOverlay::of(sheet), nullptr);
    EXPECT_EQ(SheetOverlay::of(sheet)->geometry(), s.view->window()->rect());
    EXPECT_LT(sheet->destructiveButton()->x(), sheet->cancelButton()->x());
    QTest::keyClick(sheet, Qt::Key_Return);
    EXPECT_TRUE(sheet->isVisible());
    QTest::keyClick(sheet, Qt::Key_Escape);
    test::waitFor([&] { return s.view->findChildren<SheetOverlay*>().isEmpty(); });
    EXPECT_TRUE(!s.view->confirmation() || !s.view->confirmation()->isVisible());
    EXPECT_TRUE(s.tools.shredded().isEmpty());

    QTest::mouseClick(shred, Qt::LeftButton, {}, shred->rect().center());
    ASSERT_NE(s.view->confirmation(), nullptr);
    GlassCompatButton* cancel = s.view->confirmation()->cancelButton();
    QTest::mouseClick(cancel, Qt::LeftButton, {}, cancel->rect().center());
    test::settleEvents();
    EXPECT_TRUE(s.tools.shredded().isEmpty());

    PlainSymbolButton* remove = s.view->rows().first()->removeButton();
    QTest::mouseClick(remove, Qt::LeftButton, {}, remove->rect().center());
    test::settleEvents();
    EXPECT_TRUE(s.view->rows().isEmpty());
    EXPECT_TRUE(s.view->fileList()->isHidden());
    EXPECT_EQ(s.view->actionBar(), nullptr);
    EXPECT_TRUE(FS::exists(empty));
}

// However the confirmation is dismissed (Escape, Cancel or the destructive
// button), the sheet and its veil go at once rather than staying hidden in the
// screen until the screen goes; the next confirmation is a new one.
TEST(ShredderView, ADismissedConfirmationIsDestroyed)
{
    Shredder s;
    s.tools.hold("shred");
    s.view->add({s.tree.file("home/a.txt", 10)});
    s.waitMeasured();
    test::settleEvents();
    const std::function<void(ConfirmDialog*)> dismissals[] = {
        [](ConfirmDialog* sheet) { QTest::keyClick(sheet, Qt::Key_Escape); },
        [](ConfirmDialog* sheet) {
            QTest::mouseClick(sheet->cancelButton(), Qt::LeftButton, {}, sheet->cancelButton()->rect().center());
        },
        [](ConfirmDialog* sheet) {
            QTest::mouseClick(sheet->destructiveButton(), Qt::LeftButton, {},
                              sheet->destructiveButton()->rect().center());
        },
    };
    for (std::size_t way = 0; way < std::size(dismissals); ++way) {
        SCOPED_TRACE(way);
        s.openConfirmation();
        const QPointer<ConfirmDialog> sheet = s.view->confirmation();
        dismissals[way](sheet);
        test::settleEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(sheet.isNull());
        EXPECT_EQ(s.view->confirmation(), nullptr);
        EXPECT_TRUE(s.view->window()->findChildren<SheetOverlay*>().isEmpty());
        EXPECT_TRUE(s.view->findChildren<ConfirmDialog*>().isEmpty());
    }
    s.tools.release("shred");
    s.waitBanner();
}

// Targets added during a run are not part of it and stay for the next one.
TEST(ShredderView, ARunShredsWhatItWasGivenAndOnlyThatLeavesTheList)
{
    Shredder s;
    const QString a = s.tree.file("home/a.txt", 2000);
    const QString b = s.tree.file("home/folder/b.txt", 3000);
    const QString later = s.tree.file("home/later.txt", 10);
    s.view->add({a, FS::parentPath(b)});
    s.waitMeasured();
    const qint64 reclaimed = FS::size(a) + FS::size(FS::parentPath(b), {.descendIntoPackages = true});
    s.tools.hold("shred");
    s.confirm();
    EXPECT_TRUE(s.view->isShredding());
    EXPECT_FALSE(s.view->actionBar()->button()->isEnabled());
    s.view->add({later});
    s.waitMeasured();
    s.tools.release("shred");
    const std::optional<AppModel::Banner> banner = s.waitBanner();
    ASSERT_EQ(s.tools.shredded().size(), 1);
    EXPECT_EQ(s.tools.shredded().first(), (QStringList{a, FS::parentPath(b)}));
    EXPECT_EQ(banner->title, QStringLiteral("Shredded"));
    EXPECT_EQ(banner->message,
              QStringLiteral("2 item(s) destroyed, ") + Format::byteText(reclaimed) + QStringLiteral(" reclaimed."));
    EXPECT_FALSE(banner->isError);
    EXPECT_FALSE(FS::exists(a));
    EXPECT_FALSE(FS::exists(FS::parentPath(b)));
    EXPECT_FALSE(s.view->isShredding());
    EXPECT_EQ(s.listed(), QStringList{later});
    EXPECT_TRUE(FS::exists(later));
}

// The dialog counts what is listed when it opens; a location measured while
// it is up is not shredded with them.
TEST(ShredderView, ConfirmingShredsExactlyTheTargetsTheDialogNamed)
{
    Shredder s;
    const QString a = s.tree.file("home/a/inside.txt", 4000);
    const QString b = s.tree.file("home/b.txt", 100);
    s.view->add({b});
    s.waitMeasured();
    s.openConfirmation();
    EXPECT_EQ(s.view->confirmation()->titleLabel()->text(), QStringLiteral("Permanently destroy 1 item(s)?"));
    s.tools.hold("measure:" + FS::parentPath(a));
    s.view->add({FS::parentPath(a)});
    s.tools.release("measure:" + FS::parentPath(a));
    s.waitMeasured();
    ASSERT_EQ(s.listed(), (QStringList{b, FS::parentPath(a)}));
    s.pressDestroy();
    const std::optional<AppModel::Banner> banner = s.waitBanner();
    ASSERT_EQ(s.tools.shredded().size(), 1);
    EXPECT_EQ(s.tools.shredded().first(), QStringList{b});
    EXPECT_EQ(banner->message.left(19), QStringLiteral("1 item(s) destroyed"));
    EXPECT_FALSE(FS::exists(b));
    EXPECT_TRUE(FS::exists(a));
    EXPECT_EQ(s.listed(), QStringList{FS::parentPath(a)});
}

// While a target is still being measured, "Shred" is off and nothing can be
// confirmed; it comes back once the measurement is in.
TEST(ShredderView, ShredIsOffWhileATargetIsStillBeingMeasured)
{
    Shredder s;
    const QString a = s.tree.file("home/a/inside.txt", 4000);
    const QString b = s.tree.file("home/b.txt", 100);
    s.tools.hold("measure:" + FS::parentPath(a));
    s.view->add({FS::parentPath(a), b});
    test::waitFor([&] { return s.listed() == QStringList{b}; });
    test::settleEvents();
    ASSERT_NE(s.view->actionBar(), nullptr);
    EXPECT_FALSE(s.view->actionBar()->button()->isEnabled());
    s.view->confirmShred();
    EXPECT_EQ(s.view->confirmation(), nullptr);
    s.tools.release("measure:" + FS::parentPath(a));
    s.waitMeasured();
    test::settleEvents();
    EXPECT_TRUE(s.view->actionBar()->button()->isEnabled());
    s.confirm();
    s.waitBanner();
    EXPECT_EQ(s.tools.shredded(), (QList<QStringList>{{FS::parentPath(a), b}}));
}

// A link is shredded as itself, never what it points to.
TEST(ShredderView, ALinkGoesAloneNeverWhatItPointsTo)
{
    Shredder s;
    const QString target = s.tree.file("home/keep/precious.txt", 5000);
    const QByteArray before = QByteArray(5000, 'x');
    const QString link = s.tree.symlink("home/link-to-precious", target);
    const QString folderLink = s.tree.symlink("home/link-to-keep", FS::parentPath(target));
    s.view->add({link, folderLink + "/"});
    s.waitMeasured();
    EXPECT_EQ(s.listed(), (QStringList{link, folderLink}));
    s.confirm();
    const std::optional<AppModel::Banner> banner = s.waitBanner();
    EXPECT_EQ(banner->title, QStringLiteral("Shredded"));
    EXPECT_FALSE(FS::exists(link));
    EXPECT_FALSE(FS::exists(folderLink));
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), before);
}

// What cannot be read inside a folder is a skip the banner reports.
TEST(ShredderView, AnUnreadableSubfolderIsASkip)
{
    test::asOrdinaryUser([] {
        Shredder s;
        const QString locked = s.tree.file("home/box/locked/inside.txt", 100);
        ::chmod(QFile::encodeName(FS::parentPath(locked)).constData(), 0);
        s.view->add({s.tree.path("home/box")});
        s.waitMeasured();
        s.confirm();
        const std::optional<AppModel::Banner> banner = s.waitBanner();
        ::chmod(QFile::encodeName(FS::parentPath(locked)).constData(), 0755);
        EXPECT_EQ(banner->title, QStringLiteral("Shredded with skips"));
        EXPECT_TRUE(banner->isError);
        EXPECT_TRUE(banner->message.endsWith(QStringLiteral(" item(s) were protected and left alone.")));
        EXPECT_TRUE(FS::exists(locked));
        EXPECT_TRUE(s.listed().isEmpty());
    });
}

// The run belongs to the tools: a screen made anew while it runs shows it busy
// and starts no second one.
TEST(ShredderView, AScreenMadeAnewDuringARunShowsItAndOffersNoSecond)
{
    Shredder s;
    const QString a = s.tree.file("home/a.txt", 100);
    const QString b = s.tree.file("home/b.txt", 100);
    s.view->add({a});
    s.waitMeasured();
    s.tools.hold("shred");
    s.confirm();
    s.view = std::make_unique<ShredderView>(s.tools.tools(), s.tools.services());
    s.view->resize(1000, 800);
    s.view->show();
    EXPECT_TRUE(s.view->isShredding());
    s.view->add({b});
    s.waitMeasured();
    test::settleEvents();
    ASSERT_NE(s.view->actionBar(), nullptr);
    EXPECT_FALSE(s.view->actionBar()->button()->isEnabled());
    s.view->shred({s.view->targets().listed().first().id});
    s.tools.release("shred");
    s.waitBanner();
    test::settleEvents();
    EXPECT_EQ(s.tools.shredded(), QList<QStringList>{{a}});
    EXPECT_FALSE(s.view->isShredding());
    EXPECT_TRUE(s.view->actionBar()->button()->isEnabled());
    EXPECT_TRUE(FS::exists(b));
}

TEST(ShredderView, ARunThatOutlivesTheScreenStillPostsItsBanner)
{
    Shredder s;
    const QString a = s.tree.file("home/a.txt", 100);
    s.view->add({a});
    s.waitMeasured();
    CleanupReport report;
    report.failures = {{a, QStringLiteral("Permission denied")}};
    s.tools.shredReport(report);
    s.tools.hold("shred");
    s.confirm();
    s.view.reset();
    s.tools.release("shred");
    const std::optional<AppModel::Banner> banner = s.waitBanner();
    EXPECT_EQ(banner->title, QStringLiteral("Shredded with skips"));
    EXPECT_EQ(banner->message,
              QStringLiteral("0 item(s) destroyed, 0 KB reclaimed. 1 item(s) were protected and left alone."));
    EXPECT_TRUE(banner->isError);
}

// The bar's surface lines up with the cards above it and stands 18 above the
// bottom edge, its shadow outside it, at the smallest and a large size.
TEST(ShredderView, TheActionBarLinesUpWithTheCards)
{
    Shredder s;
    const QString file = s.tree.file("home/notes.txt", 3000);
    s.tools.chooses(QStringList{file});
    s.view->dropZone()->chooseButton()->click();
    s.waitMeasured();
    test::settleEvents();
    ASSERT_NE(s.view->actionBar(), nullptr);
    for (const QSize size : {QSize(760, 600), QSize(1400, 900)}) {
        s.view->resize(size);
        test::settleEvents();
        const auto area = [&](const QWidget* widget) {
            return QRect(widget->mapTo(s.view.get(), QPoint()), widget->size());
        };
        const QRect card = area(s.view->dropZone());
        const PrimaryActionBar* bar = s.view->actionBar();
        const QRect surface = bar->surfaceRect().toRect().translated(area(bar).topLeft());
        EXPECT_EQ(surface.left(), card.left()) << size.width();
        EXPECT_EQ(surface.right(), card.right()) << size.width();
        EXPECT_EQ(s.view->height() - 1 - surface.bottom(), 18) << size.height();
        EXPECT_TRUE(bar->isShadowDrawnOutside());
    }
}
