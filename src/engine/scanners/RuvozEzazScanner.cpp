#include "engine/scanners/RuvozEzazScanner.h"

#include "engine/EngineLog.h"
#include "engine/models/SizeOrder.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"
#include "shared/TreeWalker.h"

#include <QCoreApplication>

#include <atomic>
#include <limits>
#include <mutex>

namespace harborlite {

namespace {

using Entry = FS::TreeWalker::Entry;

qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

// The network file systems mounted below the root, outermost only: any
// access to one may wait as long as its server is away, so the map never
// opens them. A root on one (or inside one) is the user's choice and is read.
std::vector<QByteArray> networkMountsBelow(const QString& root)
{
    QStringList found;
    for (const platform::MountEntry& mount : platform::mountTable().get()) {
        if (platform::isNetworkFileSystem(mount.fileSystemType) && mount.mountPoint != root
            && FS::isBelow(mount.mountPoint, root)) {
            found.append(mount.mountPoint);
        }
    }
    std::vector<QByteArray> outermost;
    for (const QString& mount : found) {
        const bool nested = std::any_of(found.begin(), found.end(), [&](const QString& other) {
            return other != mount && FS::isBelow(mount, other);
        });
        if (!nested) {
            qCWarning(engineLog) << "disk map: not entering the network file system at" << mount;
            outermost.push_back(platform::pathBytes(mount));
        }
    }
    return outermost;
}

// Tells `progress` about the root's entries in listing order, each once the
// ones before it are measured, and decides which entries the map keeps: those
// told about before a cancellation, as a build one entry at a time would.
class Reports {
public:
    Reports(const RuvozEzazScanner::Progress& progress, const RuvozEzazScanner::CancelPredicate& isCancelled)
        : progress_(progress)
        , isCancelled_(isCancelled)
    {
    }

    bool stopped() const { return stopped_.load(std::memory_order_relaxed) || (isCancelled_ && isCancelled_()); }

    void listed(const Entry& root)
    {
        std::lock_guard lock(mutex_);
        for (const Entry& entry : root.children) {
            names_.append(platform::pathText(entry.name));
        }
        done_.assign(root.children.size(), false);
        advance();
    }

    void finished(std::size_t index)
    {
        std::lock_guard lock(mutex_);
        done_[index] = true;
        advance();
    }

    std::size_t kept() const
    {
        std::lock_guard lock(mutex_);
        return kept_;
    }

private:
    void advance()
    {
        const std::size_t count = done_.size();
        while (!stopped_ && kept_ < count && (kept_ == 0 || done_[kept_ - 1])) {
            if (stopped()) {
                stopped_ = true;
                return;
            }
            if (progress_) {
                progress_(double(kept_) / double(count), names_[qsizetype(kept_)]);
            }
            if (stopped()) {
                stopped_ = true;
                return;
            }
            ++kept_;
        }
    }

    const RuvozEzazScanner::Progress& progress_;
    const RuvozEzazScanner::CancelPredicate& isCancelled_;
    mutable std::mutex mutex_;
    std::atomic<bool> stopped_{false};
    QStringList names_;
    std::vector<bool> done_;
    std::size_t kept_ = 0;
};

// A node for a walked entry whose children are folded below `minimumSize`.
// An entry's bytes are its node's size: a listed folder's are its children's
// and its folded files'. Only the nodes kept are made.
DiskNode nodeFor(Entry&& entry, const QString& url, qint64 minimumSize)
{
    DiskNode node{QUuid::createUuid(), url, FS::lastPathComponent(url), entry.bytes, entry.isDirectory, {}};
    if (!entry.isListed) {
        return node;
    }
    qint64 folded = entry.folded;
    for (Entry& child : entry.children) {
        if (child.bytes <= 0) {
            continue;
        }
        if (child.bytes < minimumSize) {
            folded = saturatingAdd(folded, child.bytes);
            continue;
        }
        const QString childUrl = FS::join(url, platform::pathText(child.name));
        node.children.push_back(nodeFor(std::move(child), childUrl, minimumSize));
    }
    // With no child kept the folder counts whole, which is what the folded
    // sum already is.
    if (folded > 0 && !node.children.empty()) {
        node.children.push_back({QUuid::createUuid(),
                                 url,
                                 QCoreApplication::translate("RuvozEzazScanner", "Smaller items"),
                                 folded,
                                 true,
                                 {}});
    }
    sortBySize(node.children);
    return node;
}

} // namespace

DiskNode RuvozEzazScanner::buildTree(const QString& at, const Progress& progress,
                                     const CancelPredicate& isCancelled) const
{
    const QString root = FS::path(at);
    DiskNode result{QUuid::createUuid(), root, FS::lastPathComponent(root), 0, true, {}};
    if (result.name.isEmpty()) {
        result.name = QStringLiteral("Macintosh HD");
    }
    Reports reports(progress, isCancelled);
    FS::TreeWalker walker([&reports] { return reports.stopped(); });
    walker.skipFolders(networkMountsBelow(root));
    FS::TreeWalker::Levels levels;
    levels.depth = std::max(maxDepth_, 1);
    levels.smallFile = minimumSize_;
    levels.listed = [&reports](const Entry& listed) { reports.listed(listed); };
    levels.finished = [&reports](std::size_t index) { reports.finished(index); };
    Entry tree = walker.levels(platform::pathBytes(root), levels);

    const std::size_t kept = std::min(reports.kept(), tree.children.size());
    for (std::size_t i = 0; i < kept; ++i) {
        Entry& entry = tree.children[i];
        // Every entry of the root stays, however small.
        if (entry.bytes > 0) {
            const QString url = FS::join(root, platform::pathText(entry.name));
            result.size = saturatingAdd(result.size, entry.bytes);
            result.children.push_back(nodeFor(std::move(entry), url, minimumSize_));
        }
    }
    sortBySize(result.children);
    if (progress) {
        progress(1.0, FS::lastPathComponent(root));
    }
    return result;
}

std::vector<DiskNode> RuvozEzazScanner::expansion(const QString& folder, const CancelPredicate& isCancelled) const
{
    const QString root = FS::path(folder);
    FS::TreeWalker walker(isCancelled);
    walker.skipFolders(networkMountsBelow(root));
    FS::TreeWalker::Levels levels;
    levels.depth = 1;
    Entry tree = walker.levels(platform::pathBytes(root), levels);
    std::vector<DiskNode> nodes;
    nodes.reserve(tree.children.size());
    for (Entry& entry : tree.children) {
        if (entry.bytes > 0) {
            const QString url = FS::join(root, platform::pathText(entry.name));
            nodes.push_back({QUuid::createUuid(), url, FS::lastPathComponent(url), entry.bytes, entry.isDirectory, {}});
        }
    }
    sortBySize(nodes);
    return nodes;
}

} // namespace harborlite
