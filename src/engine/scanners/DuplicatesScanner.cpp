#include "engine/scanners/DuplicatesScanner.h"

#include "engine/safety/SafetyGuard.h"
#include "engine/scanners/ContentWalk.h"
#include "platform/Clock.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"
#include "shared/ThreadHandOff.h"

#include <QHash>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <iterator>
#include <limits>
#include <set>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace harborlite {

namespace {

using Digest = std::array<unsigned char, 32>;

// `asking`: the guard is to be asked together with the signature.
enum class Verdict { unasked, asking, allowed, refused };

// A file of the size buckets, as it was when indexed.
struct Candidate {
    QString path;
    qint64 size = 0;
    dev_t device = 0;
    ino_t inode = 0;
    Verdict verdict = Verdict::unasked;
    std::optional<Digest> signature;
    std::optional<Digest> hash;
};

bool isAllowed(const QString& path)
{
    return SafetyGuard::verdict(path, true).allowed;
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

// One read buffer per worker thread, reused for every file it reads.
char* readBuffer()
{
    thread_local std::unique_ptr<char[]> buffer(new char[size_t(DuplicatesScanner::hashBlock)]);
    return buffer.get();
}

class OpenedFile {
public:
    // Opens the candidate only if it is still the regular file indexed, of the same size.
    explicit OpenedFile(const Candidate& file)
    {
        fd_ = ::open(platform::pathBytes(file.path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) {
            return;
        }
        if (::fstat(fd_, &before_) != 0 || !S_ISREG(before_.st_mode) || before_.st_size != file.size
            || before_.st_dev != file.device || before_.st_ino != file.inode) {
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
    if (file.size <= 0) {
        return std::nullopt;
    }
    const OpenedFile opened(file);
    if (!opened.isOpen()) {
        return std::nullopt;
    }
    char* buffer = readBuffer();
    Sha256 sha;
    const qint64 head = std::min(file.size, block);
    if (!opened.readAt(buffer, head, 0)) {
        return std::nullopt;
    }
    sha.update(buffer, size_t(head));
    if (file.size > 2 * block) {
        if (!opened.readAt(buffer, block, file.size - block)) {
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
    const OpenedFile opened(file);
    if (!opened.isOpen()) {
        return std::nullopt;
    }
    if (file.size >= DuplicatesScanner::hashBlock) {
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
            failed = total > file.size;
            sha.update(buffer, size_t(got));
        }
    }
    // Big files read once should not push everything else out of the page cache.
    if (file.size >= largeFile) {
        ::posix_fadvise(opened.fd(), 0, 0, POSIX_FADV_DONTNEED);
    }
    if (failed || total != file.size || !opened.unchanged()) {
        return std::nullopt;
    }
    return sha.finish();
}

// Runs batches of work on a bounded pool; the caller waits for all of them.
class Workers {
public:
    Workers()
    {
        pool_.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 8));
        slots_.release(pool_.maxThreadCount() * 4);
    }
    ~Workers() { wait(); }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    void run(std::function<void()> work)
    {
        slots_.acquire();
        ThreadHandOff::start(pool_, [this, work = std::move(work)] {
            work();
            slots_.release();
        });
    }

    void wait() { ThreadHandOff::waitForDone(pool_); }

private:
    QThreadPool pool_;
    QSemaphore slots_;
};

// Gathers consecutive candidates into batches of about `budget` bytes of reading.
class Batcher {
public:
    Batcher(Workers& workers, qint64 budget, std::function<void(Candidate&)> work)
        : workers_(workers), budget_(budget), work_(std::move(work))
    {
    }
    ~Batcher() { flush(); }
    Batcher(const Batcher&) = delete;
    Batcher& operator=(const Batcher&) = delete;

    void add(Candidate& file, qint64 bytes)
    {
        pending_.push_back(&file);
        pendingBytes_ += bytes;
        if (pendingBytes_ >= budget_) {
            flush();
        }
    }

    void flush()
    {
        if (pending_.empty()) {
            return;
        }
        workers_.run([files = std::move(pending_), work = work_] {
            for (Candidate* file : files) {
                work(*file);
            }
        });
        pending_.clear();
        pendingBytes_ = 0;
    }

private:
    Workers& workers_;
    qint64 budget_;
    std::function<void(Candidate&)> work_;
    std::vector<Candidate*> pending_;
    qint64 pendingBytes_ = 0;
};

double held(double fraction)
{
    return std::clamp(fraction, 0.0, 1.0);
}

QByteArray key(const Candidate& file, const Digest& digest)
{
    QByteArray text(reinterpret_cast<const char*>(&file.size), sizeof file.size);
    text.append(reinterpret_cast<const char*>(digest.data()), qsizetype(digest.size()));
    return text;
}

// Candidates regrouped by key within each bucket, each group in the order its
// members were met; groups of one are dropped.
template <typename KeyOf>
std::vector<std::vector<Candidate*>> regroup(const std::vector<std::vector<Candidate*>>& buckets, KeyOf keyOf)
{
    std::vector<std::vector<Candidate*>> groups;
    for (const std::vector<Candidate*>& bucket : buckets) {
        QHash<QByteArray, size_t> index;
        for (Candidate* file : bucket) {
            const std::optional<QByteArray> k = keyOf(*file);
            if (!k) {
                continue;
            }
            auto it = index.find(*k);
            if (it == index.end()) {
                it = index.insert(*k, groups.size());
                groups.emplace_back();
            }
            groups[*it].push_back(file);
        }
    }
    std::erase_if(groups, [](const std::vector<Candidate*>& group) { return group.size() < 2; });
    return groups;
}

} // namespace

DuplicatesScanner::DuplicatesScanner(qint64 minimumSize, std::optional<QStringList> roots)
    : minimumSize_(minimumSize), roots_(std::move(roots))
{
}

const QSet<QString>& DuplicatesScanner::prunedDirectories()
{
    static const QSet<QString> names = {
        QStringLiteral("node_modules"), QStringLiteral(".git"),        QStringLiteral(".build"),
        QStringLiteral(".venv"),        QStringLiteral("venv"),        QStringLiteral("__pycache__"),
        QStringLiteral("Pods"),         QStringLiteral("Carthage"),    QStringLiteral(".gradle"),
        QStringLiteral(".tox"),         QStringLiteral("DerivedData"),
    };
    return names;
}

QStringList DuplicatesScanner::searchRoots() const
{
    return ContentWalk::existingRoots(roots_, ContentWalk::contentFolders());
}

CategoryResult DuplicatesScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    Cancellation cancelled(isCancelled);
    Workers workers;

    // Pass 1: size buckets, in the order their first file was met. Further
    // names of one file (hard links, a folder reached twice) are that file, not
    // copies of it: its first name stands for it. While the walk goes on, files
    // that share their size with another are signed on the workers, and the
    // first two of each bucket are put to the guard.
    std::deque<Candidate> candidates;
    std::vector<std::vector<Candidate*>> bySize;
    std::unordered_map<qint64, size_t> sizeIndex;
    std::set<std::pair<dev_t, ino_t>> namedFiles;
    {
        Batcher early(workers, 8 * 2 * signatureBlock, [](Candidate& file) {
            if (file.verdict == Verdict::asking) {
                file.verdict = isAllowed(file.path) ? Verdict::allowed : Verdict::refused;
            }
            if (file.verdict != Verdict::refused) {
                file.signature = signatureOf(file);
            }
        });
        const QStringList roots = searchRoots();
        ContentWalk walk([&cancelled] { return cancelled(); });
        for (qsizetype i = 0; i < roots.size(); ++i) {
            if (cancelled()) {
                break;
            }
            const QString& root = roots.at(i);
            report(progress, {held(0.35 * double(i) / double(std::max<qsizetype>(roots.size(), 1))),
                              QStringLiteral("Indexing ") + FS::lastPathComponent(root) + QStringLiteral("\u2026"), 0});
            const bool finished = walk.walk(root, [&](const ContentEntry& entry) {
                switch (entry.kind) {
                case ContentEntry::Kind::folder:
                    return !prunedDirectories().contains(entry.name);
                case ContentEntry::Kind::file:
                    break;
                default:
                    return false;
                }
                if (entry.size < minimumSize_ || !namedFiles.insert({entry.device, entry.inode}).second) {
                    return false;
                }
                auto [it, added] = sizeIndex.try_emplace(entry.size, bySize.size());
                if (added) {
                    bySize.emplace_back();
                }
                std::vector<Candidate*>& bucket = bySize[it->second];
                candidates.push_back({entry.path, entry.size, entry.device, entry.inode, Verdict::unasked, {}, {}});
                bucket.push_back(&candidates.back());
                if (bucket.size() == 2) {
                    for (Candidate* file : bucket) {
                        file->verdict = Verdict::asking;
                        early.add(*file, std::min(file->size, 2 * signatureBlock));
                    }
                } else if (bucket.size() > 2) {
                    early.add(*bucket.back(), std::min(entry.size, 2 * signatureBlock));
                }
                return false;
            });
            if (!finished) {
                break;
            }
        }
    }
    workers.wait();
    std::erase_if(bySize, [](const std::vector<Candidate*>& bucket) { return bucket.size() < 2; });

    // A refused file can neither keep a bucket alive nor be kept or reported.
    // The guard is slow, so a bucket asks it only until two of its files are
    // allowed; the others are asked once their signature matches another's.
    if (!cancelled()) {
        for (std::vector<Candidate*>& bucket : bySize) {
            qsizetype allowed = std::count_if(bucket.begin(), bucket.end(),
                                              [](const Candidate* file) { return file->verdict == Verdict::allowed; });
            if (allowed >= 2) {
                continue;
            }
            workers.run([&bucket, allowed]() mutable {
                for (Candidate* file : bucket) {
                    if (allowed == 2) {
                        break;
                    }
                    if (file->verdict == Verdict::unasked) {
                        file->verdict = isAllowed(file->path) ? Verdict::allowed : Verdict::refused;
                        allowed += file->verdict == Verdict::allowed ? 1 : 0;
                    }
                }
            });
        }
        workers.wait();
    }
    for (std::vector<Candidate*>& bucket : bySize) {
        std::erase_if(bucket, [](const Candidate* file) { return file->verdict == Verdict::refused; });
    }
    std::erase_if(bySize, [](const std::vector<Candidate*>& bucket) {
        return std::count_if(bucket.begin(), bucket.end(),
                             [](const Candidate* file) { return file->verdict == Verdict::allowed; })
            < 2;
    });

    // Pass 2: the signatures are in; what is left is to compare them.
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
        return file.signature ? std::optional(key(file, *file.signature)) : std::nullopt;
    });
    if (!cancelled()) {
        std::vector<Candidate*> unasked;
        for (const std::vector<Candidate*>& group : bySignature) {
            std::copy_if(group.begin(), group.end(), std::back_inserter(unasked),
                         [](const Candidate* file) { return file->verdict == Verdict::unasked; });
        }
        constexpr size_t chunk = 32;
        for (size_t begin = 0; begin < unasked.size(); begin += chunk) {
            workers.run([&unasked, begin, end = std::min(begin + chunk, unasked.size())] {
                for (size_t i = begin; i < end; ++i) {
                    unasked[i]->verdict = isAllowed(unasked[i]->path) ? Verdict::allowed : Verdict::refused;
                }
            });
        }
        workers.wait();
        for (std::vector<Candidate*>& group : bySignature) {
            std::erase_if(group, [](const Candidate* file) { return file->verdict != Verdict::allowed; });
        }
        std::erase_if(bySignature, [](const std::vector<Candidate*>& group) { return group.size() < 2; });
    }

    // Pass 3: full hashes of the files that share size and signature. A file no
    // larger than one signature block was hashed whole by its signature.
    {
        Batcher batcher(workers, hashBlock, [&cancelled](Candidate& file) { file.hash = contentHashOf(file, cancelled); });
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
                if (file->size <= signatureBlock) {
                    file->hash = file->signature;
                } else {
                    batcher.add(*file, file->size);
                }
            }
        }
    }
    workers.wait();
    const std::vector<std::vector<Candidate*>> byContent = regroup(bySignature, [](const Candidate& file) {
        return file.hash ? std::optional(key(file, *file.hash)) : std::nullopt;
    });

    // Grouping: the oldest copy is kept (a missing date is the distant past;
    // equal dates keep the order found), the others are reported.
    CategoryResult result;
    result.category = category();
    qint64 total = 0;
    std::vector<std::pair<qint64, ScanGroup>> groups;
    for (const std::vector<Candidate*>& set : byContent) {
        std::vector<std::pair<qint64, const Candidate*>> dated;
        for (const Candidate* file : set) {
            const std::optional<QDateTime> modified = FS::modificationDate(file->path);
            dated.emplace_back(modified ? modified->toMSecsSinceEpoch() : std::numeric_limits<qint64>::min(), file);
        }
        std::stable_sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        const QString kept = dated.front().second->path;
        const QString keptText = FS::abbreviatingHome(kept);
        const qint64 size = FS::allocatedSize(kept);
        ScanGroup group;
        group.title = FS::lastPathComponent(kept);
        group.symbol = QStringLiteral("doc.on.doc");
        group.isOptIn = true;
        group.isExpanded = false;
        for (size_t i = 1; i < dated.size(); ++i) {
            const QString& path = dated[i].second->path;
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
        groups.emplace_back(size * copies, std::move(group));
    }
    std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [sum, group] : groups) {
        result.groups.append(std::move(group));
    }

    report(progress, {1.0,
                      result.groups.isEmpty() ? QStringLiteral("No duplicates found")
                                              : QStringLiteral("Duplicate scan complete"),
                      total});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
