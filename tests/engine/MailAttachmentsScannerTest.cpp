#include "engine/scanners/MailAttachmentsScanner.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "support/BadInput.h"
#include "support/FixtureTree.h"
#include "support/ItemRows.h"
#include "support/OrdinaryUser.h"
#include "support/Progress.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::ProgressRecorder;

namespace {

const QString ellipsis = QString::fromUtf8("\u2026");

using Row = test::ItemRow;

QList<Row> rows(const ScanGroup& group)
{
    return test::itemRows(group, [](const ScanItem& item) {
        EXPECT_TRUE(item.isSelected);
        EXPECT_FALSE(item.requiresReview);
        EXPECT_FALSE(item.detail.has_value());
    });
}

class MailAttachmentsScannerTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QDateTime>::Override clock{platform::clock(), QDateTime(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC)};

    static QString store(const QString& relative) { return "home/Library/Mail/" + relative; }
    static QString downloads(const QString& relative)
    {
        return "home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/" + relative;
    }
};

} // namespace

TEST_F(MailAttachmentsScannerTest, WithoutMailDataThereAreFourReportsAndNoGroups)
{
    ProgressRecorder recorder;
    const CategoryResult result = MailAttachmentsScanner().scan(recorder.callback(), [] { return false; });

    EXPECT_EQ(result.category, ScanCategory::mailAttachments);
    EXPECT_TRUE(result.groups.isEmpty());
    EXPECT_EQ(result.scannedAt, platform::now());
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 4);
    const QList<std::pair<double, QString>> expected = {
        {0.1, "Locating Mail data" + ellipsis},
        {0.4, "Measuring attachments" + ellipsis},
        {0.8, "Checking Mail Downloads" + ellipsis},
        {1.0, "Mail scan complete"},
    };
    for (qsizetype i = 0; i < 4; ++i) {
        EXPECT_EQ(reports[i].fraction, expected[i].first);
        EXPECT_EQ(reports[i].message, expected[i].second);
        EXPECT_EQ(reports[i].bytesFound, 0);
    }
}

TEST_F(MailAttachmentsScannerTest, FindsAttachmentFoldersInAccountsAndTheDownloads)
{
    // Listed: measured whole, the nested Attachments folder inside included.
    tree.file(store("V10/ACCOUNT-1/INBOX.mbox/Attachments/17/report.pdf"), 2 * 4096);
    tree.file(store("V10/ACCOUNT-1/INBOX.mbox/Attachments/17/Attachments/inner.png"), 4096);
    tree.file(store("V10/ACCOUNT-1/New\nFolder.mbox/Attachments/3/photo.jpg"), 4096);
    tree.file(store("V10/ACCOUNT-2/Archive.mbox/Attachments/9/movie.mov"), 5 * 4096);
    tree.file(store("V9/ACCOUNT-3/Old.mbox/Attachments/1/a.txt"), 4096);
    // Not listed: the mail application's own data, lower-case "v", an empty
    // folder, a file named Attachments, hidden folders, links out of the store.
    tree.file(store("V10/MailData/Attachments/index"), 4096);
    tree.file(store("v10/ACCOUNT-4/Box.mbox/Attachments/1/a.txt"), 4096);
    tree.folder(store("V10/ACCOUNT-2/Sent.mbox/Attachments"));
    tree.file(store("V10/ACCOUNT-2/Drafts.mbox/Attachments"), 4096);
    tree.file(store("V10/ACCOUNT-2/.Hidden.mbox/Attachments/1/a.txt"), 4096);
    tree.file("outside/Box.mbox/Attachments/1/big.iso", 8 * 4096);
    tree.symlink(store("V10/ACCOUNT-LINK"), tree.path("outside"));
    tree.symlink(store("V10/ACCOUNT-2/Junk.mbox"), tree.path("outside/Box.mbox"));
    tree.symlink(store("V10/ACCOUNT-2/Trash.mbox/Attachments"), tree.path("outside/Box.mbox/Attachments"));
    tree.symlink(store("V11"), tree.path("outside"));
    tree.file(store("V12"), 4096);
    tree.file(store("V10/ACCOUNT-FILE"), 4096);
    ASSERT_TRUE(test::writeRawName(tree.folder(store("V10/ACCOUNT-2/Odd.mbox")),
                                   test::invalidUtf8Name("Attach", "ments"), "x"));
    tree.file(downloads("report.pdf"), 2 * 4096);
    tree.file(downloads(".hidden"), 4096);
    tree.file(downloads("empty.txt"), 0);

    ProgressRecorder recorder;
    const CategoryResult result = MailAttachmentsScanner().scan(recorder.callback(), [] { return false; });

    ASSERT_EQ(result.groups.size(), 2);
    const ScanGroup& stored = result.groups[0];
    EXPECT_EQ(stored.title, "Downloaded Attachments");
    EXPECT_EQ(stored.subtitle, "Mail keeps the message and can fetch these again");
    EXPECT_EQ(stored.symbol, "paperclip");
    EXPECT_FALSE(stored.isOptIn);
    EXPECT_FALSE(stored.isExpanded);
    EXPECT_EQ(rows(stored),
              (QList<Row>{{"Archive.mbox", "Mail attachments", 5 * 4096},
                          {"INBOX.mbox", "Mail attachments", 3 * 4096},
                          {"New\nFolder.mbox", "Mail attachments", 4096},
                          {"Old.mbox", "Mail attachments", 4096}}));
    EXPECT_EQ(stored.items[1].url, tree.path(store("V10/ACCOUNT-1/INBOX.mbox/Attachments")));

    const ScanGroup& opened = result.groups[1];
    EXPECT_EQ(opened.title, "Mail Downloads");
    EXPECT_EQ(opened.subtitle, "Attachments opened straight from a message");
    EXPECT_EQ(opened.symbol, "arrow.down.doc");
    EXPECT_FALSE(opened.isOptIn);
    EXPECT_EQ(rows(opened),
              (QList<Row>{{"report.pdf", "Mail Downloads", 2 * 4096},
                          {".hidden", "Mail Downloads", 4096},
                          {"empty.txt", "Mail Downloads", 0}}));

    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 4);
    EXPECT_EQ(reports[2].bytesFound, 0);
    EXPECT_EQ(reports[3].bytesFound, 13 * 4096);
}

TEST_F(MailAttachmentsScannerTest, CancellingBetweenAccountsKeepsTheFirstAndStillReports)
{
    tree.file(store("V10/A/INBOX.mbox/Attachments/1/a.pdf"), 2 * 4096);
    // How often the first account asks, measured on a store holding only it.
    int perAccount = 0;
    bool counting = false;
    const auto countFrom04 = [&](const ScanProgress& p) { counting = counting || p.fraction == 0.4; };
    MailAttachmentsScanner().scan(countFrom04, [&] {
        perAccount += counting ? 1 : 0;
        return false;
    });
    tree.file(store("V10/B/INBOX.mbox/Attachments/1/b.pdf"), 4096);
    tree.file(downloads("report.pdf"), 4096);

    counting = false;
    int asked = 0;
    ProgressRecorder recorder;
    const auto progress = [&](const ScanProgress& p) {
        countFrom04(p);
        recorder.callback()(p);
    };
    const CategoryResult result =
        MailAttachmentsScanner().scan(progress, [&] { return counting && ++asked > perAccount; });

    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(rows(result.groups[0]), (QList<Row>{{"INBOX.mbox", "Mail attachments", 2 * 4096}}));
    const QList<ScanProgress> reports = recorder.reports();
    ASSERT_EQ(reports.size(), 4);
    EXPECT_EQ(reports[3].message, "Mail scan complete");
    EXPECT_EQ(reports[3].bytesFound, 2 * 4096);
}

TEST_F(MailAttachmentsScannerTest, AnUnreadableFolderIsPassedOverAndTheWalkGoesOn)
{
    test::asOrdinaryUser([&] {
        const QString locked = tree.folder(store("V10/A/Locked.mbox"));
        tree.file(store("V10/A/Locked.mbox/Attachments/1/a.pdf"), 4096);
        tree.file(store("V10/A/Open.mbox/Attachments/1/b.pdf"), 2 * 4096);
        ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);

        const CategoryResult result = MailAttachmentsScanner().scan([](const ScanProgress&) {}, [] { return false; });

        ::chmod(QFile::encodeName(locked).constData(), 0755);
        ASSERT_EQ(result.groups.size(), 1);
        EXPECT_EQ(rows(result.groups[0]), (QList<Row>{{"Open.mbox", "Mail attachments", 2 * 4096}}));
    });
}

TEST_F(MailAttachmentsScannerTest, AStoreAndDownloadsFolderThatAreFilesHoldNothing)
{
    tree.file("home/Library/Mail", 4096);
    tree.file("home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads", 4096);

    ProgressRecorder recorder;
    const CategoryResult result = MailAttachmentsScanner().scan(recorder.callback(), [] { return false; });

    EXPECT_TRUE(result.groups.isEmpty());
    ASSERT_EQ(recorder.reports().size(), 4);
    EXPECT_EQ(recorder.reports().last().bytesFound, 0);
}
