#include "engine/scanners/DuplicatesScanner.h"

#include "engine/safety/SafetyGuard.h"
#include "engine/scanners/ContentWalk.h"
#include "platform/Clock.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"
#include "shared/FolderTree.h"
#include "shared/IoThreads.h"
#include "shared/TreeWalker.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace harborlite {

namespace {

using Digest = std::array<unsigned char, 32>;
using Node = FS::FolderTree::Node;

const char* const prunedNames[] = {
    "node_modules", ".git", ".build", ".venv", "venv", "__pycache__", "Pods", "Carthage", ".gradle", ".tox",
    "DerivedData",
};

bool isPruned(std::string_view name)
{
    return std::any_of(std::begin(prunedNames), std::end(prunedNames),
                       [name](const char* pruned) { return name == pruned; });
}

// The names the index walk met, kept in large blocks: one small allocation
// per file would cost more than the file's record.
class NameStore {
public:
    const char* add(std::string_view name)
    {
        if (blocks_.empty() || used_ + name.size() + 1 > kBlock) {
            blocks_.emplace_back(new char[kBlock]);
            used_ = 0;
        }
        char* at = blocks_.back().get() + used_;
        std::memcpy(at, name.data(), name.size());
        at[name.size()] = '\0';
        used_ += name.size() + 1;
        return at;
    }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;
};

// A file of at least the minimum size, as it was when indexed: its folder
// and name stand for its path, which is built only when it is read or listed.
struct Entry {
    const Node* folder = nullptr;
    const char* name = nullptr;
    qint64 size = 0;
    dev_t device = 0;
    ino_t inode = 0;
    bool linked = false; // more than one hard link

    std::string_view nameView() const { return name; }
};

enum class Verdict : unsigned char { unasked, allowed, refused };

// A file that shares its size with another.
struct Candidate {
    Entry entry;
    Verdict verdict = Verdict::unasked;
    bool signed_ = false;
    bool hashed = false;
    Digest signature{};
    Digest hash{};

    std::string path() const { return FS::FolderTree::path(*entry.folder, entry.nameView()); }
};

bool entryBefore(const Entry& a, const Entry& b)
{
    return FS::FolderTree::before(*a.folder, a.nameView(), *b.folder, b.nameView());
}

// Cancellation seen once stays seen, whichever thread saw it.
class Cancellation {
public:
    explicit Cancellation(const CancelPredicate& isCancelled) : isCancelled_(isCancelled) {}

    bool operator()()
    {
        if (latched_.load(std::memory_order_relaxed)) {
            return true;
        }
        if (isCancelled_ && isCancelled_()) {
            latched_.store(true, std::memory_order_relaxed);
            return true;
        }
        return false;
    }

private:
    const CancelPredicate& isCancelled_;
    std::atomic<bool> latched_{false};
};

class Sha256 {
public:
    Sha256() : context_(EVP_MD_CTX_new()) { ok_ = context_ != nullptr && EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) == 1; }
    ~Sha256() { EVP_MD_CTX_free(context_); }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const char* data, size_t length) { ok_ = ok_ && EVP_DigestUpdate(context_, data, length) == 1; }

    std::optional<Digest> finish()
    {
        Digest digest {};
        unsigned int length = 0;
        if (!ok_ || EVP_DigestFinal_ex(context_, digest.data(), &length) != 1 || length != digest.size()) {
            return std::nullopt;
        }
        return digest;
    }

private:
    EVP_MD_CTX* context_;
    bool ok_ = false;
};

// One read buffer per thread, reused for every file it reads.
char* readBuffer()
{
    thread_local std::unique_ptr<char[]> buffer(new char[size_t(DuplicatesScanner::hashBlock)]);
    return buffer.get();
}

class OpenedFile {
public:
    // Opens the file only if it is still the regular file indexed, of the same size.
    explicit OpenedFile(const Candidate& file)
    {
        fd_ = ::open(file.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) {
            return;
        }
        const Entry& entry = file.entry;
        if (::fstat(fd_, &before_) != 0 || !S_ISREG(before_.st_mode) || before_.st_size != entry.size
            || before_.st_dev != entry.device || before_.st_ino != entry.inode) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~OpenedFile()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    int fd() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

    // Exactly `length` bytes at `offset`, or false.
    bool readAt(char* buffer, qint64 length, qint64 offset) const
    {
        qint64 done = 0;
        while (done < length) {
            const ssize_t got = ::pread(fd_, buffer + done, size_t(length - done), off_t(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return false;
            }
            done += got;
        }
        return true;
    }

    // Whether the file still has the size and modification time it had when opened.
    bool unchanged() const
    {
        struct stat after {};
        return ::fstat(fd_, &after) == 0 && after.st_size == before_.st_size
            && after.st_mtim.tv_sec == before_.st_mtim.tv_sec && after.st_mtim.tv_nsec == before_.st_mtim.tv_nsec;
    }

private:
    int fd_ = -1;
    struct stat before_ {};
};

// SHA-256 of the first 16 KiB and, past 32 KiB, the last 16 KiB.
std::optional<Digest> signatureOf(const Candidate& file)
{
    constexpr qint64 block = DuplicatesScanner::signatureBlock;
    const qint64 size = file.entry.size;
    if (size <= 0) {
        return std::nullopt;
    }
    const OpenedFile opened(file);
    if (!opened.isOpen()) {
        return std::nullopt;
    }
    char* buffer = readBuffer();
    Sha256 sha;
    const qint64 head = std::min(size, block);
    if (!opened.readAt(buffer, head, 0)) {
        return std::nullopt;
    }
    sha.update(buffer, size_t(head));
    if (size > 2 * block) {
        if (!opened.readAt(buffer, block, size - block)) {
            return std::nullopt;
        }
        sha.update(buffer, size_t(block));
    }
    if (!opened.unchanged()) {
        return std::nullopt;
    }
    return sha.finish();
}

// SHA-256 of the whole file, read in 1 MiB blocks. Every byte of the indexed
// size must be read, and nothing more: a failed read, a shorter or longer file
// or a change during the read gives no hash.
std::optional<Digest> contentHashOf(const Candidate& file, Cancellation& cancelled)
{
    constexpr qint64 largeFile = 64 * DuplicatesScanner::hashBlock;
    const qint64 size = file.entry.size;
    const OpenedFile opened(file);
    if (!opened.isOpen()) {
        return std::nullopt;
    }
    if (size >= DuplicatesScanner::hashBlock) {
        ::posix_fadvise(opened.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    char* buffer = readBuffer();
    Sha256 sha;
    qint64 total = 0;
    bool failed = false;
    while (!failed) {
        if (cancelled()) {
            failed = true;
            break;
        }
        const ssize_t got = ::read(opened.fd(), buffer, size_t(DuplicatesScanner::hashBlock));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failed = true;
        } else if (got == 0) {
            break;
        } else {
            total += got;
            failed = total > size;
            sha.update(buffer, size_t(got));
        }
    }
    // Big files read once should not push everything else out of the page cache.
    if (size >= largeFile) {
        ::posix_fadvise(opened.fd(), 0, 0, POSIX_FADV_DONTNEED);
    }
    if (failed || total != size || !opened.unchanged()) {
        return std::nullopt;
    }
    return sha.finish();
}

double held(double fraction)
{
    return std::clamp(fraction, 0.0, 1.0);
}

// Runs work(item) for each item of `items` on the I/O threads, a few items per call.
template <typename T, typename Work>
void inParallel(std::vector<T*>& items, std::size_t chunk, Work work)
{
    const std::size_t chunks = (items.size() + chunk - 1) / chunk;
    IoThreads::forEach(chunks, [&](std::size_t k) {
        const std::size_t end = std::min(items.size(), (k + 1) * chunk);
        for (std::size_t i = k * chunk; i < end; ++i) {
            work(*items[i]);
        }
    });
}

// The members of each group regrouped by `key` (a digest, when the file has
// one), each new group keeping its members' order; groups of one are dropped.
template <typename KeyOf>
std::vector<std::vector<Candidate*>> regroup(const std::vector<std::vector<Candidate*>>& groups, KeyOf keyOf)
{
    std::vector<std::vector<Candidate*>> result;
    for (const std::vector<Candidate*>& group : groups) {
        std::vector<Candidate*> keyed;
        for (Candidate* file : group) {
            if (keyOf(*file)) {
                keyed.push_back(file);
            }
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [&](const Candidate* a, const Candidate* b) { return *keyOf(*a) < *keyOf(*b); });
        for (std::size_t begin = 0; begin < keyed.size();) {
            std::size_t end = begin + 1;
            while (end < keyed.size() && *keyOf(*keyed[end]) == *keyOf(*keyed[begin])) {
                ++end;
            }
            if (end - begin >= 2) {
                result.emplace_back(keyed.begin() + qsizetype(begin), keyed.begin() + qsizetype(end));
            }
            begin = end;
        }
    }
    return result;
}

} // namespace

DuplicatesScanner::DuplicatesScanner(qint64 minimumSize, std::optional<QStringList> roots)
    : minimumSize_(minimumSize), roots_(std::move(roots))
{
}

const QSet<QString>& DuplicatesScanner::prunedDirectories()
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const char* name : prunedNames) {
            set.insert(QString::fromLatin1(name));
        }
        return set;
    }();
    return names;
}

QStringList DuplicatesScanner::searchRoots() const
{
    return ContentWalk::existingRoots(roots_, ContentWalk::contentFolders());
}

CategoryResult DuplicatesScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    Cancellation cancelled(isCancelled);
    const SafetyGuard::Context context = SafetyGuard::context();

    // Pass 1: every file of at least the minimum size, found by the parallel
    // walk. Each root is walked once: one lying inside an earlier root is
    // that root's already, and an earlier root lying inside a later one is
    // set aside by the later one's walk.
    const QStringList roots = searchRoots();
    struct Root {
        QString named;
        QByteArray real;
        bool walked = false;
    };
    std::vector<Root> walkRoots;
    FS::TreeWalker walker([&cancelled] { return cancelled(); });
    for (const QString& named : roots) {
        Root root{named, {}, false};
        if (char* real = ::realpath(platform::pathBytes(named).constData(), nullptr)) {
            root.real = real;
            std::free(real);
        }
        struct stat st {};
        const QString realText = platform::pathText(root.real);
        root.walked = !root.real.isEmpty() && ::stat(root.real.constData(), &st) == 0 && S_ISDIR(st.st_mode)
            && std::none_of(walkRoots.begin(), walkRoots.end(), [&](const Root& earlier) {
                   return earlier.walked && FS::isBelow(realText, platform::pathText(earlier.real));
               });
        if (root.walked) {
            walker.setAside(st.st_dev, st.st_ino);
        }
        walkRoots.push_back(std::move(root));
    }

    std::vector<std::vector<Entry>> found(FS::TreeWalker::kMaxThreads);
    std::vector<NameStore> names(FS::TreeWalker::kMaxThreads);
    FS::TreeWalker::Indexing indexing;
    indexing.skipHidden = true;
    indexing.entersFolder = [](std::string_view name) { return !isPruned(name) && !ContentWalk::isPackage(name); };
    indexing.file = [&](int worker, const Node& folder, std::string_view name, const struct stat& st) {
        if (st.st_size >= minimumSize_) {
            found[std::size_t(worker)].push_back(Entry{&folder, names[std::size_t(worker)].add(name), qint64(st.st_size),
                                                       st.st_dev, st.st_ino, st.st_nlink > 1});
        }
    };
    const qsizetype rootCount = qsizetype(walkRoots.size());
    for (qsizetype i = 0; i < rootCount; ++i) {
        if (cancelled()) {
            break;
        }
        const Root& root = walkRoots[std::size_t(i)];
        report(progress, {held(0.35 * double(i) / double(std::max<qsizetype>(rootCount, 1))),
                          QStringLiteral("Indexing ") + FS::lastPathComponent(root.named) + QStringLiteral("\u2026"),
                          0});
        if (root.walked && !walker.index(root.real, std::size_t(i), indexing) && cancelled()) {
            break;
        }
    }

    std::vector<Entry> entries;
    {
        std::size_t count = 0;
        for (const std::vector<Entry>& list : found) {
            count += list.size();
        }
        entries.reserve(count);
        for (std::vector<Entry>& list : found) {
            entries.insert(entries.end(), list.begin(), list.end());
            list = {};
        }
    }
    // Further names of one file (hard links) are that file, not copies of
    // it: its first name in walk order stands for it.
    {
        std::vector<Entry*> linked;
        for (Entry& entry : entries) {
            if (entry.linked) {
                linked.push_back(&entry);
            }
        }
        std::sort(linked.begin(), linked.end(), [](const Entry* a, const Entry* b) {
            return std::tie(a->device, a->inode) < std::tie(b->device, b->inode);
        });
        for (std::size_t begin = 0; begin < linked.size();) {
            std::size_t end = begin + 1;
            while (end < linked.size() && linked[end]->device == linked[begin]->device
                   && linked[end]->inode == linked[begin]->inode) {
                ++end;
            }
            Entry* first = *std::min_element(linked.begin() + qsizetype(begin), linked.begin() + qsizetype(end),
                                             [](const Entry* a, const Entry* b) { return entryBefore(*a, *b); });
            for (std::size_t k = begin; k < end; ++k) {
                if (linked[k] != first) {
                    linked[k]->folder = nullptr;
                }
            }
            begin = end;
        }
    }
    std::erase_if(entries, [](const Entry& entry) { return entry.folder == nullptr; });
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.size < b.size; });

    // The size buckets: files that share their size with another.
    std::vector<Candidate> candidates;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (std::size_t begin = 0; begin < entries.size();) {
        std::size_t end = begin + 1;
        while (end < entries.size() && entries[end].size == entries[begin].size) {
            ++end;
        }
        if (end - begin >= 2) {
            ranges.emplace_back(candidates.size(), candidates.size() + (end - begin));
            for (std::size_t k = begin; k < end; ++k) {
                candidates.push_back({entries[k]});
            }
        }
        begin = end;
    }
    entries = {};
    std::vector<std::vector<Candidate*>> bySize;
    bySize.reserve(ranges.size());
    for (const auto& [begin, end] : ranges) {
        std::vector<Candidate*> bucket;
        for (std::size_t k = begin; k < end; ++k) {
            bucket.push_back(&candidates[k]);
        }
        bySize.push_back(std::move(bucket));
    }

    const auto judge = [&context](Candidate& file) {
        const std::string folder = FS::FolderTree::path(*file.entry.folder);
        file.verdict = SafetyGuard::verdictOfEntry(platform::pathText(folder), platform::pathText(file.entry.nameView()),
                                                   true, context)
                           .allowed
            ? Verdict::allowed
            : Verdict::refused;
    };

    // A refused file can neither keep a bucket alive nor be kept or reported.
    // A bucket asks the guard only until two of its files are allowed; the
    // others are asked once their signature matches another's.
    if (!cancelled()) {
        IoThreads::forEach(bySize.size(), [&](std::size_t k) {
            int allowed = 0;
            for (Candidate* file : bySize[k]) {
                if (allowed == 2 || cancelled()) {
                    break;
                }
                judge(*file);
                allowed += file->verdict == Verdict::allowed ? 1 : 0;
            }
        });
    }
    for (std::vector<Candidate*>& bucket : bySize) {
        std::erase_if(bucket, [](const Candidate* file) { return file->verdict == Verdict::refused; });
    }
    std::erase_if(bySize, [](const std::vector<Candidate*>& bucket) {
        return std::count_if(bucket.begin(), bucket.end(),
                             [](const Candidate* file) { return file->verdict == Verdict::allowed; })
            < 2;
    });

    // Pass 2: signatures of every file left in a bucket, then the comparison.
    if (!cancelled()) {
        std::vector<Candidate*> toSign;
        for (const std::vector<Candidate*>& bucket : bySize) {
            toSign.insert(toSign.end(), bucket.begin(), bucket.end());
        }
        inParallel(toSign, 64, [&cancelled](Candidate& file) {
            if (!cancelled()) {
                const std::optional<Digest> signature = signatureOf(file);
                file.signed_ = signature.has_value();
                file.signature = signature.value_or(Digest{});
            }
        });
    }
    const size_t sizeMatches = bySize.size();
    size_t compared = 0;
    for (; compared < sizeMatches; ++compared) {
        if (cancelled()) {
            break;
        }
        report(progress, {held(0.35 + 0.3 * double(compared) / double(std::max<size_t>(sizeMatches, 1))),
                          QStringLiteral("Comparing ") + QString::number(sizeMatches - compared)
                              + QStringLiteral(" size matches\u2026"),
                          0});
    }
    bySize.resize(compared);
    std::vector<std::vector<Candidate*>> bySignature = regroup(bySize, [](const Candidate& file) {
        return file.signed_ ? std::optional(file.signature) : std::nullopt;
    });
    bySize = {};
    if (!cancelled()) {
        std::vector<Candidate*> unasked;
        for (const std::vector<Candidate*>& group : bySignature) {
            std::copy_if(group.begin(), group.end(), std::back_inserter(unasked),
                         [](const Candidate* file) { return file->verdict == Verdict::unasked; });
        }
        inParallel(unasked, 32, judge);
        for (std::vector<Candidate*>& group : bySignature) {
            std::erase_if(group, [](const Candidate* file) { return file->verdict != Verdict::allowed; });
        }
        std::erase_if(bySignature, [](const std::vector<Candidate*>& group) { return group.size() < 2; });
    }

    // Pass 3: full hashes of the files that share size and signature. A file no
    // larger than one signature block was hashed whole by its signature.
    {
        std::vector<Candidate*> toHash;
        const size_t count = bySignature.size();
        for (size_t i = 0; i < count; ++i) {
            if (cancelled()) {
                break;
            }
            report(progress, {held(0.65 + 0.3 * double(i) / double(std::max<size_t>(count, 1))),
                              QStringLiteral("Verifying ") + QString::number(count - i)
                                  + QStringLiteral(" possible duplicates\u2026"),
                              0});
            for (Candidate* file : bySignature[i]) {
                if (cancelled()) {
                    break;
                }
                if (file->entry.size <= signatureBlock) {
                    file->hashed = true;
                    file->hash = file->signature;
                } else {
                    toHash.push_back(file);
                }
            }
        }
        // Largest first, so no thread is left with a long file at the end.
        std::stable_sort(toHash.begin(), toHash.end(),
                         [](const Candidate* a, const Candidate* b) { return a->entry.size > b->entry.size; });
        inParallel(toHash, 1, [&cancelled](Candidate& file) {
            const std::optional<Digest> hash = contentHashOf(file, cancelled);
            file.hashed = hash.has_value();
            file.hash = hash.value_or(Digest{});
        });
    }
    const std::vector<std::vector<Candidate*>> byContent = regroup(bySignature, [](const Candidate& file) {
        return file.hashed ? std::optional(file.hash) : std::nullopt;
    });

    // Grouping: the oldest copy is kept (a missing date is the distant past;
    // equal dates keep the order found), the others are reported.
    CategoryResult result;
    result.category = category();
    qint64 total = 0;
    struct Found {
        qint64 sum;
        const Candidate* kept;
        ScanGroup group;
    };
    std::vector<Found> groups;
    const auto named = [&walkRoots](const Candidate& file) {
        const Root& root = walkRoots[file.entry.folder->root];
        return FS::join(FS::path(root.named),
                        platform::pathText(FS::FolderTree::relativePath(*file.entry.folder, file.entry.nameView())));
    };
    for (std::vector<Candidate*> set : byContent) {
        // The order a walk in name order would have met them.
        std::sort(set.begin(), set.end(),
                  [](const Candidate* a, const Candidate* b) { return entryBefore(a->entry, b->entry); });
        struct Dated {
            qint64 modified;
            const Candidate* file;
            QString path;
        };
        std::vector<Dated> dated;
        for (const Candidate* file : set) {
            const QString path = named(*file);
            const std::optional<QDateTime> modified = FS::modificationDate(path);
            dated.push_back({modified ? modified->toMSecsSinceEpoch() : std::numeric_limits<qint64>::min(), file, path});
        }
        std::stable_sort(dated.begin(), dated.end(), [](const Dated& a, const Dated& b) { return a.modified < b.modified; });
        const QString& kept = dated.front().path;
        const QString keptText = FS::abbreviatingHome(kept);
        const qint64 size = FS::allocatedSize(kept);
        ScanGroup group;
        group.title = FS::lastPathComponent(kept);
        group.symbol = QStringLiteral("doc.on.doc");
        group.isOptIn = true;
        group.isExpanded = false;
        for (size_t i = 1; i < dated.size(); ++i) {
            const QString& path = dated[i].path;
            ScanItem item;
            item.url = path;
            item.displayName = FS::lastPathComponent(path);
            item.origin = FS::abbreviatingHome(FS::parentPath(path));
            item.size = size;
            item.modified = FS::modificationDate(path);
            item.requiresReview = true;
            item.detail = QStringLiteral("Copy of ") + keptText;
            item.isSelected = false;
            group.items.append(std::move(item));
        }
        const qsizetype copies = group.items.size();
        group.subtitle = QString::number(copies)
            + (copies == 1 ? QStringLiteral(" extra copy") : QStringLiteral(" extra copies"))
            + QStringLiteral(" \u00b7 keeping ") + keptText;
        total += size * copies;
        groups.push_back({size * copies, dated.front().file, std::move(group)});
    }
    // Largest first; equal sums in the order their kept copies were found.
    std::sort(groups.begin(), groups.end(), [](const Found& a, const Found& b) {
        if (a.sum != b.sum) {
            return a.sum > b.sum;
        }
        return entryBefore(a.kept->entry, b.kept->entry);
    });
    for (Found& set : groups) {
        result.groups.append(std::move(set.group));
    }

    report(progress, {1.0,
                      result.groups.isEmpty() ? QStringLiteral("No duplicates found")
                                              : QStringLiteral("Duplicate scan complete"),
                      total});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
