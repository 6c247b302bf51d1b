#include "engine/scanners/MailAttachmentsScanner.h"

#include "engine/formats/NoFollow.h"
#include "engine/models/SizeOrder.h"
#include "engine/scanners/ScanSteps.h"
#include "platform/Clock.h"
#include "platform/PathText.h"
#include "shared/BoundedWalk.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>
#include <dirent.h>
#include <fcntl.h>
#include <vector>

namespace harborlite {

namespace {

using namespace NoFollow;
using namespace ScanSteps;

const QString attachmentsName = QStringLiteral("Attachments");

// The account folders of every version folder ("V" and more) of the store;
// MailData holds the mail application's own indexes, not an account.
QStringList accountFolders(const QString& store, const CancelPredicate& isCancelled)
{
    QStringList accounts;
    for (const QString& version : FS::children(store, {.includingHidden = false})) {
        if (!FS::lastPathComponent(version).startsWith(QLatin1Char('V')) || entryType(version) != EntryType::folder) {
            continue;
        }
        for (const QString& entry : FS::children(version, {.includingHidden = false})) {
            if (cancelled(isCancelled)) {
                break;
            }
            if (FS::lastPathComponent(entry) != QLatin1String("MailData")) {
                accounts.append(entry);
            }
        }
    }
    return accounts;
}

} // namespace

CategoryResult MailAttachmentsScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    CategoryResult result;
    result.category = category();
    const std::optional<Root> mail = root(FS::join(FS::library(), QStringLiteral("Mail")));

    report(progress, {0.1, QCoreApplication::translate("MailAttachmentsScanner", "Locating Mail data\u2026"), 0});
    const QStringList accounts = mail ? accountFolders(mail->location, isCancelled) : QStringList();

    report(progress, {0.4, QCoreApplication::translate("MailAttachmentsScanner", "Measuring attachments\u2026"), 0});
    QList<ScanItem> stored;
    for (const QString& account : accounts) {
        if (cancelled(isCancelled)) {
            break;
        }
        stored += attachments(account, mail->needsReview, isCancelled);
    }
    sortBySize(stored);
    appendIfAny(result.groups,
                {.title = QCoreApplication::translate("MailAttachmentsScanner", "Downloaded Attachments"),
                 .subtitle = QCoreApplication::translate("MailAttachmentsScanner",
                                                         "Mail keeps the message and can fetch these again"),
                 .symbol = QStringLiteral("paperclip"),
                 .isOptIn = false,
                 .items = stored,
                 .isExpanded = false});

    report(progress, {0.8, QCoreApplication::translate("MailAttachmentsScanner", "Checking Mail Downloads\u2026"), 0});
    const QString downloads =
        FS::join(FS::library(), QStringLiteral("Containers/com.apple.mail/Data/Library/Mail Downloads"));
    appendIfAny(result.groups,
                {.title = QCoreApplication::translate("MailAttachmentsScanner", "Mail Downloads"),
                 .subtitle = QCoreApplication::translate("MailAttachmentsScanner",
                                                         "Attachments opened straight from a message"),
                 .symbol = QStringLiteral("arrow.down.doc"),
                 .isOptIn = false,
                 .items = items(downloads, QCoreApplication::translate("MailAttachmentsScanner", "Mail Downloads"), 0,
                                false, isCancelled),
                 .isExpanded = false});

    report(
        progress,
        {1.0, QCoreApplication::translate("MailAttachmentsScanner", "Mail scan complete"), totalSize(result.groups)});
    result.scannedAt = platform::now();
    return result;
}

QList<ScanItem> MailAttachmentsScanner::attachments(const QString& account, bool requiresReview,
                                                    const CancelPredicate& isCancelled) const
{
    QList<ScanItem> found;
    // An account that is a file holds nothing; one that is a link leads out of the store.
    if (entryType(account) != EntryType::folder) {
        return found;
    }
    // In name order, hidden entries left out, links seen but never entered.
    std::vector<QString> folders{account};
    FS::BoundedWalk::Visitor visitor;
    visitor.entry = [&](const FS::BoundedWalk::Folder& folder, const FS::BoundedWalk::Entry& entry) {
        if (cancelled(isCancelled)) {
            return FS::BoundedWalk::Step::stop;
        }
        const QString name = platform::pathText(entry.name);
        const QString location = FS::join(folders[folder.depth], name);
        if (name != attachmentsName) {
            if (entry.type == DT_DIR) {
                folders.resize(folder.depth + 2);
                folders[folder.depth + 1] = location;
            }
            return FS::BoundedWalk::Step::go;
        }
        // Measured whole, so an Attachments folder inside it is never an item of its own.
        if (entry.type != DT_DIR || !isAllowed(location)) {
            return FS::BoundedWalk::Step::skip;
        }
        const qint64 size = FS::size(location, {.descendIntoPackages = true, .isCancelled = isCancelled});
        if (size > 0) {
            const QString parent = FS::lastPathComponent(FS::parentPath(location));
            found.append(item(location, parent.isEmpty() ? attachmentsName : parent,
                              QCoreApplication::translate("MailAttachmentsScanner", "Mail attachments"), size,
                              requiresReview));
        }
        return FS::BoundedWalk::Step::skip;
    };
    FS::BoundedWalk::run(AT_FDCWD, platform::pathBytes(account).toStdString(), visitor,
                         {.nameOrder = true, .skipHidden = true});
    return found;
}

} // namespace harborlite
