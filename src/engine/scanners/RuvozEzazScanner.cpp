#include "engine/scanners/RuvozEzazScanner.h"

#include "engine/scanners/SizeOrder.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"
#include "shared/TreeWalker.h"

#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace harborlite {

namespace {

qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

// An entry gathered while listing, before the sizes measured in one batch are known.
struct Pending {
    QString url;
    bool isDirectory = false;
    qint64 size = 0;
    std::optional<std::size_t> measured; // index into the batch of entries measured whole
    bool listed = false;                 // a folder whose children were gathered
    std::vector<Pending> children;
    qint64 folded = 0; // small files folded as they were listed
};

class Build {
public:
    Build(const RuvozEzazScanner& scanner, const RuvozEzazScanner::CancelPredicate& isCancelled)
        : scanner_(scanner), isCancelled_(isCancelled), walker_(isCancelled)
    {
    }

    // One top-level entry: its entries gathered down to the depth limit, then
    // everything measured whole walked in one parallel batch.
    std::optional<DiskNode> topLevel(const QString& url)
    {
        batch_.clear();
        std::optional<Pending> pending = gather(url, 1, 0);
        if (!pending) {
            return std::nullopt;
        }
        sizes_ = walker_.totals(batch_);
        return finish(std::move(*pending));
    }

private:
    bool cancelled() const { return isCancelled_ && isCancelled_(); }

    std::size_t measureWhole(const QString& url)
    {
        batch_.push_back(platform::pathBytes(url));
        return batch_.size() - 1;
    }

    bool isPseudoFolder(const QString& url)
    {
        const int fd = ::open(platform::pathBytes(url).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        struct stat st {};
        const bool pseudo = ::fstat(fd, &st) == 0 && FS::isPseudoFileSystem(fd, st.st_dev);
        ::close(fd);
        return pseudo;
    }

    // `parentDevice` 0 when the parent's is not known.
    std::optional<Pending> gather(const QString& url, int depth, dev_t parentDevice)
    {
        if (cancelled()) {
            return std::nullopt;
        }
        struct stat st {};
        const bool known = ::lstat(platform::pathBytes(url).constData(), &st) == 0;
        if (known && S_ISLNK(st.st_mode)) {
            return std::nullopt;
        }
        Pending pending;
        pending.url = url;
        pending.isDirectory = known && S_ISDIR(st.st_mode);
        if (!pending.isDirectory) {
            if (known && S_ISREG(st.st_mode) && st.st_nlink > 1) {
                // Its bytes go to whichever of its names the walk reaches first.
                pending.measured = measureWhole(url);
                return pending;
            }
            pending.size = known ? qint64(st.st_blocks) * 512 : 0;
            return pending.size > 0 ? std::optional(std::move(pending)) : std::nullopt;
        }
        if (depth >= scanner_.maxDepth()) {
            pending.measured = measureWhole(url);
            return pending;
        }
        // A file system is checked where it is mounted, at the first of its folders met.
        if (st.st_dev != parentDevice && isPseudoFolder(url)) {
            return std::nullopt;
        }
        pending.listed = true;
        for (const QString& child : FS::children(url, true)) {
            if (cancelled()) {
                break;
            }
            std::optional<Pending> node = gather(child, depth + 1, st.st_dev);
            if (!node) {
                continue;
            }
            if (!node->isDirectory && !node->measured && node->size < scanner_.minimumSize()) {
                pending.folded = saturatingAdd(pending.folded, node->size);
                continue;
            }
            pending.children.push_back(std::move(*node));
        }
        return pending;
    }

    std::optional<DiskNode> finish(Pending pending)
    {
        DiskNode node{QUuid::createUuid(), pending.url, FS::lastPathComponent(pending.url), pending.size,
                      pending.isDirectory, {}};
        if (pending.measured) {
            node.size = sizes_[*pending.measured];
        } else if (pending.listed) {
            qint64 folded = pending.folded;
            qint64 kept = 0;
            for (Pending& child : pending.children) {
                std::optional<DiskNode> built = finish(std::move(child));
                if (!built) {
                    continue;
                }
                if (built->size < scanner_.minimumSize()) {
                    folded = saturatingAdd(folded, built->size);
                    continue;
                }
                kept = saturatingAdd(kept, built->size);
                node.children.push_back(std::move(*built));
            }
            // With no child kept the folder counts whole: the folded sum is what
            // walking it again would give, and a second walk would find its
            // hard links already counted.
            node.size = saturatingAdd(kept, folded);
            if (folded > 0 && !node.children.empty()) {
                node.children.push_back(
                    {QUuid::createUuid(), pending.url, QStringLiteral("Smaller items"), folded, true, {}});
            }
            sortBySize(node.children);
        }
        if (node.size <= 0) {
            return std::nullopt;
        }
        return node;
    }

    const RuvozEzazScanner& scanner_;
    const RuvozEzazScanner::CancelPredicate& isCancelled_;
    FS::TreeWalker walker_;
    std::vector<QByteArray> batch_;
    std::vector<qint64> sizes_;
};

} // namespace

DiskNode RuvozEzazScanner::buildTree(const QString& at, const Progress& progress,
                                     const CancelPredicate& isCancelled) const
{
    const QString root = FS::path(at);
    const QStringList children = FS::children(root, true);
    const qsizetype count = children.size();
    Build build(*this, isCancelled);
    DiskNode result{QUuid::createUuid(), root, FS::lastPathComponent(root), 0, true, {}};
    if (result.name.isEmpty()) {
        result.name = QStringLiteral("Macintosh HD");
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (isCancelled && isCancelled()) {
            break;
        }
        if (progress) {
            progress(double(i) / double(std::max<qsizetype>(count, 1)), FS::lastPathComponent(children[i]));
        }
        if (std::optional<DiskNode> node = build.topLevel(children[i])) {
            result.size = saturatingAdd(result.size, node->size);
            result.children.push_back(std::move(*node));
        }
    }
    sortBySize(result.children);
    if (progress) {
        progress(1.0, FS::lastPathComponent(root));
    }
    return result;
}

} // namespace harborlite
