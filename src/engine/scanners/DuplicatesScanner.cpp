#include "engine/scanners/DuplicatesScanner.h"

#include "engine/safety/SafetyGuard.h"
#include "engine/scanners/ContentWalk.h"
#include "platform/Clock.h"
#include "platform/FileDescriptor.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"
#include "shared/FolderTree.h"
#include "shared/IoThreads.h"
#include "shared/TreeWalker.h"

#include <QCoreApplication>

// The direct SHA-256 functions are marked deprecated in OpenSSL 3 in favour
// of the provider interface, but remain part of its interface.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <limits>
#include <malloc.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace harborlite {

namespace {

using Digest = std::array<unsigned char, 32>;
using Node = FS::FolderTree::Node;

const char* const prunedNames[] = {
    "node_modules", ".git",     ".build",  ".venv", "venv",        "__pycache__",
    "Pods",         "Carthage", ".gradle", ".tox",  "DerivedData",
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
    qint64 modifiedNs = 0;

    std::string_view nameView() const { return name; }
};

// The most files hashed in full at once.
constexpr int kFullHashThreads = 4;

enum class Verdict : unsigned char { unasked, allowed, refused };

qint64 nanoseconds(const timespec& ts)
{
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// A file that shares its size with another. `digest` holds its signature,
// then, once it is hashed in full, its content hash (a file no larger than one
// signature block is hashed whole by its signature).
struct Candidate {
    const Entry* entry = nullptr;
    Digest digest{};
    Verdict verdict = Verdict::unasked;
    bool signed_ = false;
    bool hashed = false;
};

bool entryBefore(const Entry& a, const Entry& b)
{
    return FS::FolderTree::before(*a.folder, a.nameView(), *b.folder, b.nameView());
}

// Cancellation seen once stays seen, whichever thread saw it.
class Cancellation {
public:
    explicit Cancellation(const CancelPredicate& isCancelled)
        : isCancelled_(isCancelled)
    {
    }

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

// SHA-256 through libcrypto's direct interface. The provider interface
// (EVP_MD_fetch) loads the configuration and sets up every algorithm of the
// default provider on first use, which costs a small scan milliseconds and
// about 2 MiB of the library's pages; the hashing code is the same.
class Sha256 {
public:
    Sha256() { ok_ = SHA256_Init(&context_) == 1; }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const char* data, size_t length) { ok_ = ok_ && SHA256_Update(&context_, data, length) == 1; }

    std::optional<Digest> finish()
    {
        Digest digest{};
        if (!ok_ || SHA256_Final(digest.data(), &context_) != 1) {
            return std::nullopt;
        }
        return digest;
    }

private:
    SHA256_CTX context_{};
    bool ok_ = false;
};

// The buffer one piece of reading work reuses for its files: one hash block
// mapped on first use, of which only the pages a read reaches are ever
// resident, and unmapped, not kept by the allocator, when the piece ends. A
// block allocated for every file would be faulted in again each time, and
// blocks of varying sizes fragment the threads' heaps.
class ReadBuffer {
public:
    ReadBuffer() = default;
    ~ReadBuffer()
    {
        if (data_ != nullptr) {
            ::munmap(data_, kLength);
        }
    }
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;

    // At least hashBlock bytes, or null when no memory could be mapped.
    char* get()
    {
        if (data_ == nullptr) {
            void* mapped = ::mmap(nullptr, kLength, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            data_ = mapped == MAP_FAILED ? nullptr : static_cast<char*>(mapped);
        }
        return data_;
    }

private:
    static constexpr std::size_t kLength = std::size_t(DuplicatesScanner::hashBlock);
    char* data_ = nullptr;
};

class OpenedFile {
public:
    // Opens the entry `name` of the folder open at `folderFd` for reading,
    // never through a link nor blocking on a named pipe.
    OpenedFile(int folderFd, const char* name)
        : fd_(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY))
    {
    }
    // The same, and only if it is still the regular file indexed, of the same size.
    OpenedFile(int folderFd, const Entry& entry)
        : OpenedFile(folderFd, entry.name)
    {
        if (!fd_.isOpen()) {
            return;
        }
        if (::fstat(fd_.get(), &before_) != 0 || !S_ISREG(before_.st_mode) || before_.st_size != entry.size
            || before_.st_dev != entry.device || before_.st_ino != entry.inode) {
            fd_.reset();
        }
    }

    int fd() const { return fd_.get(); }
    bool isOpen() const { return fd_.isOpen(); }

    // Exactly `length` bytes at `offset`, or false.
    bool readAt(char* buffer, qint64 length, qint64 offset) const
    {
        qint64 done = 0;
        while (done < length) {
            const ssize_t got = ::pread(fd_.get(), buffer + done, size_t(length - done), off_t(offset + done));
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
        struct stat after { };
        return ::fstat(fd_.get(), &after) == 0 && after.st_size == before_.st_size
            && after.st_mtim.tv_sec == before_.st_mtim.tv_sec && after.st_mtim.tv_nsec == before_.st_mtim.tv_nsec;
    }

private:
    platform::FileDescriptor fd_;
    struct stat before_ { };
};

// SHA-256 of the first 16 KiB and, past 32 KiB, the last 16 KiB. The file is
// not checked here: one that is not the file indexed, or has changed since
// it was indexed, is dropped when the sets are made.
std::optional<Digest> signatureOf(int folderFd, const Entry& file, ReadBuffer& scratch)
{
    constexpr qint64 block = DuplicatesScanner::signatureBlock;
    const qint64 size = file.size;
    if (size <= 0) {
        return std::nullopt;
    }
    const OpenedFile opened(folderFd, file.name);
    if (!opened.isOpen()) {
        return std::nullopt;
    }
    char* buffer = scratch.get();
    if (buffer == nullptr) {
        return std::nullopt;
    }
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
    return sha.finish();
}

// SHA-256 of the whole file, read in 1 MiB blocks. Every byte of the indexed
// size must be read, and nothing more: a failed read, a shorter or longer file
// or a change during the read gives no hash.
std::optional<Digest> contentHashOf(int folderFd, const Entry& file, ReadBuffer& scratch, Cancellation& cancelled)
{
    constexpr qint64 largeFile = 64 * DuplicatesScanner::hashBlock;
    const qint64 size = file.size;
    const OpenedFile opened(folderFd, file);
    if (!opened.isOpen()) {
        return std::nullopt;
    }
    if (size >= DuplicatesScanner::hashBlock) {
        ::posix_fadvise(opened.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    // A file smaller than a block is read one byte past its size, which still
    // shows a file that has grown, and touches no more of the buffer.
    const qint64 capacity = std::min(size + 1, DuplicatesScanner::hashBlock);
    char* buffer = scratch.get();
    if (buffer == nullptr) {
        return std::nullopt;
    }
    Sha256 sha;
    qint64 total = 0;
    bool failed = false;
    while (!failed) {
        if (cancelled()) {
            failed = true;
            break;
        }
        const ssize_t got = ::read(opened.fd(), buffer, size_t(capacity));
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

// Opens folders one step at a time from the steps it opened for the folder
// before, never following a link: folders met in path order share most of
// their steps, so each costs about one lookup rather than one per step.
class FolderChain {
public:
    FolderChain() = default;
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;

    // The folder at the absolute path, or -1 when it cannot be opened. Valid
    // until the next call.
    int open(std::string_view path)
    {
        deep_.reset();
        std::vector<std::string_view> names;
        for (std::size_t at = 0; at < path.size();) {
            const std::size_t slash = path.find('/', at);
            const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
            if (end > at) {
                names.push_back(path.substr(at, end - at));
            }
            at = end + 1;
        }
        if (steps_.empty()) {
            platform::FileDescriptor root(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            if (!root.isOpen()) {
                return -1;
            }
            steps_.push_back({{}, std::move(root)});
        }
        std::size_t kept = 1;
        while (kept < steps_.size() && kept - 1 < names.size() && steps_[kept].name == names[kept - 1]) {
            ++kept;
        }
        steps_.resize(kept);
        for (std::size_t i = steps_.size() - 1; i < names.size(); ++i) {
            const std::string name(names[i]);
            const int parent = deep_.isOpen() ? deep_.get() : steps_.back().fd.get();
            platform::FileDescriptor fd(::openat(parent, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!fd.isOpen()) {
                deep_.reset();
                return -1;
            }
            // Far down only the last step stays open: a tree thousands of
            // levels deep must not hold thousands of descriptors.
            if (!deep_.isOpen() && steps_.size() <= kMaxSteps) {
                steps_.push_back({name, std::move(fd)});
            } else {
                deep_ = std::move(fd);
            }
        }
        return deep_.isOpen() ? deep_.get() : steps_.back().fd.get();
    }

private:
    struct Step {
        std::string name;
        platform::FileDescriptor fd;
    };
    static constexpr std::size_t kMaxSteps = 64;
    std::vector<Step> steps_; // the root "/" first
    platform::FileDescriptor deep_;
};

// Runs work(folderFd, file, scratch) for every file on the I/O threads, with
// one read buffer for each piece of the work, released when the piece ends
// (held for the rest of the scan, one per thread would add up). The files are
// taken in path order, the files of one folder together: opening each file by
// its own path would look all its folders up again for every file. They are
// cut into pieces of about equal cost, a fixed share for opening a file plus
// the bytes `bytesRead(file)` of it, so that a few folders of large files
// still spread over the threads, at most `mostThreads` of them.
template <typename BytesRead, typename Work>
void inFolders(std::vector<Candidate*>& files, int mostThreads, BytesRead bytesRead, Work work)
{
    constexpr qint64 kOpenCost = 32 * 1024;
    constexpr qint64 kLeastPiece = 4 * 1024 * 1024;
    std::sort(files.begin(), files.end(),
              [](const Candidate* a, const Candidate* b) { return a->entry->folder < b->entry->folder; });
    struct Run {
        std::string path;
        std::size_t begin;
        std::size_t end;
    };
    std::vector<Run> runs;
    qint64 total = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i == 0 || files[i]->entry->folder != files[i - 1]->entry->folder) {
            runs.push_back({FS::FolderTree::path(*files[i]->entry->folder), i, i});
        }
        runs.back().end = i + 1;
        total += kOpenCost + bytesRead(*files[i]);
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.path < b.path; });

    // Each piece is a stretch of the runs in path order: from (run, file) to
    // the start of the next piece.
    struct Piece {
        std::size_t run;
        std::size_t file;
    };
    const qint64 target = std::max(kLeastPiece, total / (qint64(std::min(mostThreads, IoThreads::budget())) * 4));
    std::vector<Piece> pieces;
    qint64 cost = target;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        for (std::size_t i = runs[r].begin; i < runs[r].end; ++i) {
            if (cost >= target) {
                pieces.push_back({r, i});
                cost = 0;
            }
            cost += kOpenCost + bytesRead(*files[i]);
        }
    }
    IoThreads::forEach(
        pieces.size(),
        [&](std::size_t k) {
            const Piece end = k + 1 < pieces.size() ? pieces[k + 1] : Piece{runs.size(), 0};
            FolderChain chain;
            ReadBuffer scratch;
            for (std::size_t r = pieces[k].run; r < std::min(end.run + 1, runs.size()); ++r) {
                const std::size_t first = r == pieces[k].run ? pieces[k].file : runs[r].begin;
                const std::size_t last = r == end.run ? end.file : runs[r].end;
                if (first >= last) {
                    continue;
                }
                const int folder = chain.open(runs[r].path);
                for (std::size_t i = first; i < last; ++i) {
                    work(folder, *files[i], scratch);
                }
            }
        },
        mostThreads);
}

// Runs work(i) for every i below `count` on the I/O threads, `chunk` of them per call.
template <typename Work>
void inChunks(std::size_t count, std::size_t chunk, Work work)
{
    IoThreads::forEach((count + chunk - 1) / chunk, [&](std::size_t k) {
        for (std::size_t i = k * chunk; i < std::min(count, (k + 1) * chunk); ++i) {
            work(i);
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

// A folder the search was asked for: as named, and its real path, walked
// unless it is missing, not a folder or inside a root walked before.
struct Root {
    QString named;
    QByteArray real;
    bool walked = false;
};

// A set of identical files as checked last.
struct CopySet {
    struct Member {
        QString path;
        qint64 modified; // milliseconds
    };
    qint64 sum = 0;
    qint64 size = 0;
    const Entry* kept = nullptr;
    std::vector<Member> members; // the kept copy first
};

using Group = std::vector<Candidate*>;

// One search, pass by pass: each pass narrows the groups the one before left.
class DuplicateSearch {
public:
    DuplicateSearch(qint64 minimumSize, const ProgressCallback& progress, const CancelPredicate& isCancelled)
        : minimumSize_(minimumSize)
        , progress_(progress)
        , cancelled_(isCancelled)
        , context_(SafetyGuard::context())
    {
    }
    DuplicateSearch(const DuplicateSearch&) = delete;
    DuplicateSearch& operator=(const DuplicateSearch&) = delete;

    // The sets of copies below `roots`, largest first. What the search held
    // to find them is given back before it returns.
    std::vector<CopySet> run(const QStringList& roots)
    {
        index(roots);
        std::vector<Group> bySize = sizeBuckets(distinctFiles());
        judgeBuckets(bySize);
        std::vector<CopySet> sets = checkedSets(compareContents(compareSignatures(std::move(bySize))));
        release();
        return sets;
    }

private:
    // Pass 1: every file of at least the minimum size, found by the parallel
    // walk. Each root is walked once: one lying inside an earlier root is
    // that root's already, and an earlier root lying inside a later one is
    // set aside by the later one's walk.
    void index(const QStringList& roots)
    {
        walker_.emplace([this] { return cancelled_(); });
        for (const QString& named : roots) {
            Root root{named, {}, false};
            if (char* real = ::realpath(platform::pathBytes(named).constData(), nullptr)) {
                root.real = real;
                std::free(real);
            }
            struct stat st { };
            const QString realText = platform::pathText(root.real);
            root.walked = !root.real.isEmpty() && ::stat(root.real.constData(), &st) == 0 && S_ISDIR(st.st_mode)
                && std::none_of(roots_.begin(), roots_.end(), [&](const Root& earlier) {
                       return earlier.walked && FS::isBelow(realText, platform::pathText(earlier.real));
                   });
            if (root.walked) {
                walker_->setAside(st.st_dev, st.st_ino);
            }
            roots_.push_back(std::move(root));
        }

        // Each walk thread keeps its own files, in blocks that never move.
        found_.resize(FS::TreeWalker::kMaxThreads);
        names_.resize(FS::TreeWalker::kMaxThreads);
        FS::TreeWalker::Indexing indexing;
        indexing.skipHidden = true;
        indexing.entersFolder = [](std::string_view name) { return !isPruned(name) && !ContentWalk::isPackage(name); };
        indexing.file = [this](int worker, const Node& folder, std::string_view name, const struct stat& st) {
            if (st.st_size >= minimumSize_) {
                found_[std::size_t(worker)].push_back(Entry{&folder, names_[std::size_t(worker)].add(name),
                                                            qint64(st.st_size), st.st_dev, st.st_ino,
                                                            nanoseconds(st.st_mtim)});
            }
        };
        const qsizetype rootCount = qsizetype(roots_.size());
        for (qsizetype i = 0; i < rootCount; ++i) {
            if (cancelled_()) {
                break;
            }
            const Root& root = roots_[std::size_t(i)];
            CategoryScanner::report(progress_,
                                    {held(0.35 * double(i) / double(std::max<qsizetype>(rootCount, 1))),
                                     QCoreApplication::translate("DuplicatesScanner", "Indexing %1\u2026")
                                         .arg(FS::lastPathComponent(root.named)),
                                     0});
            if (root.walked && !walker_->index(root.real, std::size_t(i), indexing) && cancelled_()) {
                break;
            }
        }
    }

    // The files indexed, smallest first. Further names of one file (hard
    // links, or a folder a mount shows again) are that file, not copies of
    // it: its first name in walk order stands for it.
    std::vector<Entry*> distinctFiles()
    {
        std::vector<Entry*> entries;
        {
            std::size_t count = 0;
            for (const std::deque<Entry>& list : found_) {
                count += list.size();
            }
            entries.reserve(count);
        }
        for (std::deque<Entry>& list : found_) {
            for (Entry& entry : list) {
                entries.push_back(&entry);
            }
        }
        std::sort(entries.begin(), entries.end(), [](const Entry* a, const Entry* b) {
            return std::tie(a->device, a->inode) < std::tie(b->device, b->inode);
        });
        for (std::size_t begin = 0; begin < entries.size();) {
            std::size_t end = begin + 1;
            while (end < entries.size() && entries[end]->device == entries[begin]->device
                   && entries[end]->inode == entries[begin]->inode) {
                ++end;
            }
            if (end - begin > 1) {
                Entry* first = *std::min_element(entries.begin() + qsizetype(begin), entries.begin() + qsizetype(end),
                                                 [](const Entry* a, const Entry* b) { return entryBefore(*a, *b); });
                for (std::size_t k = begin; k < end; ++k) {
                    if (entries[k] != first) {
                        entries[k]->folder = nullptr;
                    }
                }
            }
            begin = end;
        }
        std::erase_if(entries, [](const Entry* entry) { return entry->folder == nullptr; });
        std::sort(entries.begin(), entries.end(), [](const Entry* a, const Entry* b) { return a->size < b->size; });
        return entries;
    }

    // The size buckets: files that share their size with another, made the
    // search's candidates.
    std::vector<Group> sizeBuckets(std::vector<Entry*> entries)
    {
        std::vector<std::pair<std::size_t, std::size_t>> runs;
        std::size_t bucketed = 0;
        for (std::size_t begin = 0; begin < entries.size();) {
            std::size_t end = begin + 1;
            while (end < entries.size() && entries[end]->size == entries[begin]->size) {
                ++end;
            }
            if (end - begin >= 2) {
                runs.emplace_back(begin, end);
                bucketed += end - begin;
            }
            begin = end;
        }
        candidates_.reserve(bucketed);
        std::vector<std::pair<std::size_t, std::size_t>> ranges;
        ranges.reserve(runs.size());
        for (const auto& [begin, end] : runs) {
            ranges.emplace_back(candidates_.size(), candidates_.size() + (end - begin));
            for (std::size_t k = begin; k < end; ++k) {
                candidates_.push_back({entries[k]});
            }
        }
        runs = {};
        entries = {};
        std::vector<Group> bySize;
        bySize.reserve(ranges.size());
        for (const auto& [begin, end] : ranges) {
            Group bucket;
            for (std::size_t k = begin; k < end; ++k) {
                bucket.push_back(&candidates_[k]);
            }
            bySize.push_back(std::move(bucket));
        }
        return bySize;
    }

    // Progress `done` steps of `count` into a pass that fills 0.3 of the bar
    // from `start`.
    void reportStep(double start, size_t done, size_t count, const QString& text) const
    {
        const double fraction = start + 0.3 * double(done) / double(std::max<size_t>(count, 1));
        CategoryScanner::report(progress_, {held(fraction), text, 0});
    }

    // Each file judged where the walk found it, a path without links.
    void judge(Candidate& file) const
    {
        const std::string path = FS::FolderTree::path(*file.entry->folder, file.entry->nameView());
        file.verdict = SafetyGuard::verdictOfRealPath(platform::pathText(path), true, context_).allowed
            ? Verdict::allowed
            : Verdict::refused;
    }

    // A refused file can neither keep a bucket alive nor be kept or reported.
    // A bucket asks the guard only until two of its files are allowed; the
    // others are asked once their signature matches another's.
    void judgeBuckets(std::vector<Group>& bySize)
    {
        if (!cancelled_()) {
            IoThreads::forEach(bySize.size(), [&](std::size_t k) {
                int allowed = 0;
                for (Candidate* file : bySize[k]) {
                    if (allowed == 2 || cancelled_()) {
                        break;
                    }
                    judge(*file);
                    allowed += file->verdict == Verdict::allowed ? 1 : 0;
                }
            });
        }
        for (Group& bucket : bySize) {
            std::erase_if(bucket, [](const Candidate* file) { return file->verdict == Verdict::refused; });
        }
        std::erase_if(bySize, [](const Group& bucket) {
            return std::count_if(bucket.begin(), bucket.end(),
                                 [](const Candidate* file) { return file->verdict == Verdict::allowed; })
                < 2;
        });
    }

    // Pass 2: signatures of every file left in a bucket, then the comparison.
    // The files whose signature matches another's are judged now; the groups
    // left share size and signature, every member allowed.
    std::vector<Group> compareSignatures(std::vector<Group> bySize)
    {
        if (!cancelled_()) {
            Group toSign;
            for (const Group& bucket : bySize) {
                toSign.insert(toSign.end(), bucket.begin(), bucket.end());
            }
            const auto signatureBytes = [](const Candidate& file) {
                constexpr qint64 block = DuplicatesScanner::signatureBlock;
                const qint64 size = file.entry->size;
                return std::min(size, block) + (size > 2 * block ? block : 0);
            };
            const auto sign = [this](int folder, Candidate& file, ReadBuffer& scratch) {
                if (!cancelled_()) {
                    const std::optional<Digest> signature = signatureOf(folder, *file.entry, scratch);
                    file.signed_ = signature.has_value();
                    file.digest = signature.value_or(Digest{});
                }
            };
            inFolders(toSign, IoThreads::budget(), signatureBytes, sign);
        }
        const size_t sizeMatches = bySize.size();
        size_t compared = 0;
        for (; compared < sizeMatches; ++compared) {
            if (cancelled_()) {
                break;
            }
            reportStep(0.35, compared, sizeMatches,
                       QCoreApplication::translate("DuplicatesScanner", "Comparing %1 size matches\u2026")
                           .arg(QString::number(sizeMatches - compared)));
        }
        bySize.resize(compared);
        std::vector<Group> bySignature = regroup(
            bySize, [](const Candidate& file) { return file.signed_ ? std::optional(file.digest) : std::nullopt; });
        bySize = {};
        if (!cancelled_()) {
            Group unasked;
            for (const Group& group : bySignature) {
                std::copy_if(group.begin(), group.end(), std::back_inserter(unasked),
                             [](const Candidate* file) { return file->verdict == Verdict::unasked; });
            }
            inChunks(unasked.size(), 32, [&](std::size_t i) { judge(*unasked[i]); });
            for (Group& group : bySignature) {
                std::erase_if(group, [](const Candidate* file) { return file->verdict != Verdict::allowed; });
            }
            std::erase_if(bySignature, [](const Group& group) { return group.size() < 2; });
        }
        return bySignature;
    }

    // Pass 3: full hashes of the files that share size and signature, then
    // the groups that share their content. A file no larger than one
    // signature block was hashed whole by its signature.
    std::vector<Group> compareContents(std::vector<Group> bySignature)
    {
        Group toHash;
        const size_t count = bySignature.size();
        for (size_t i = 0; i < count; ++i) {
            if (cancelled_()) {
                break;
            }
            reportStep(0.65, i, count,
                       QCoreApplication::translate("DuplicatesScanner", "Verifying %1 possible duplicates\u2026")
                           .arg(QString::number(count - i)));
            for (Candidate* file : bySignature[i]) {
                if (cancelled_()) {
                    break;
                }
                if (file->entry->size <= DuplicatesScanner::signatureBlock) {
                    file->hashed = true;
                } else {
                    toHash.push_back(file);
                }
            }
        }
        // Each full hash holds up to a block of memory while it reads: a few
        // at once keep the scan's peak down, and spare a spinning disk.
        const auto hash = [this](int folder, Candidate& file, ReadBuffer& scratch) {
            const std::optional<Digest> content = contentHashOf(folder, *file.entry, scratch, cancelled_);
            file.hashed = content.has_value();
            file.digest = content.value_or(Digest{});
        };
        inFolders(
            toHash, kFullHashThreads, [](const Candidate& file) { return file.entry->size; }, hash);
        return regroup(bySignature,
                       [](const Candidate& file) { return file.hashed ? std::optional(file.digest) : std::nullopt; });
    }

    // The members of one group still as indexed, dated, the oldest first
    // (equal dates keep the order found) and kept; none when fewer than two
    // are left. A file gone or changed meanwhile leaves its set: keeping a
    // copy that is no longer there would have the others removed with
    // nothing kept. A look-up of every member's path.
    std::optional<CopySet> checkedSet(Group members) const
    {
        // The order a walk in name order would have met them.
        std::sort(members.begin(), members.end(),
                  [](const Candidate* a, const Candidate* b) { return entryBefore(*a->entry, *b->entry); });
        CopySet set;
        std::vector<std::pair<const Entry*, qint64>> blocks;
        for (const Candidate* file : members) {
            const Entry& entry = *file->entry;
            const Root& root = roots_[entry.folder->root];
            QString path = FS::join(FS::path(root.named),
                                    platform::pathText(FS::FolderTree::relativePath(*entry.folder, entry.nameView())));
            // Still the file indexed, as it was then: one replaced or changed
            // since (before, while or after it was read) is no copy.
            struct stat st { };
            if (::lstat(platform::pathBytes(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)
                || st.st_dev != entry.device || st.st_ino != entry.inode || st.st_size != entry.size
                || nanoseconds(st.st_mtim) != entry.modifiedNs) {
                continue;
            }
            set.members.push_back({std::move(path), qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000});
            blocks.emplace_back(&entry, qint64(st.st_blocks) * 512);
        }
        if (set.members.size() < 2) {
            return std::nullopt;
        }
        std::vector<std::size_t> order(set.members.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return set.members[a].modified < set.members[b].modified;
        });
        std::vector<CopySet::Member> dated;
        for (const std::size_t i : order) {
            dated.push_back(std::move(set.members[i]));
        }
        set.members = std::move(dated);
        set.kept = blocks[order.front()].first;
        set.size = blocks[order.front()].second;
        set.sum = set.size * qint64(set.members.size() - 1);
        return set;
    }

    // Every group checked on the I/O threads; largest first, equal sums in
    // the order their kept copies were found.
    std::vector<CopySet> checkedSets(const std::vector<Group>& byContent) const
    {
        std::vector<std::optional<CopySet>> checked(byContent.size());
        inChunks(byContent.size(), 64, [&](std::size_t i) { checked[i] = checkedSet(byContent[i]); });
        std::vector<CopySet> sets;
        for (std::optional<CopySet>& set : checked) {
            if (set) {
                sets.push_back(std::move(*set));
            }
        }
        checked = {};
        std::sort(sets.begin(), sets.end(), [](const CopySet& a, const CopySet& b) {
            if (a.sum != b.sum) {
                return a.sum > b.sum;
            }
            return entryBefore(*a.kept, *b.kept);
        });
        return sets;
    }

    // What the search held goes before the result is built. The walk's
    // threads held it in memory pools of their own, which the result, built
    // on the scan's thread, would not reuse: give it back instead, on an I/O
    // thread when one is free, since handing back many pages takes a busy
    // machine tens of milliseconds the result need not wait for.
    void release()
    {
        candidates_ = {};
        found_ = {};
        std::vector<NameStore>().swap(names_);
        walker_.reset();
        if (!IoThreads::tryStart([] { ::malloc_trim(0); })) {
            ::malloc_trim(0);
        }
    }

    const qint64 minimumSize_;
    const ProgressCallback& progress_;
    Cancellation cancelled_;
    const SafetyGuard::Context context_;
    std::vector<Root> roots_;
    std::optional<FS::TreeWalker> walker_;
    std::vector<std::deque<Entry>> found_;
    std::vector<NameStore> names_;
    std::vector<Candidate> candidates_;
};

// The opt-in group listing a set's copies, all but the kept one.
ScanGroup groupOf(const CopySet& set)
{
    const QString& kept = set.members.front().path;
    const QString keptText = FS::abbreviatingHome(kept);
    const QString detail = QCoreApplication::translate("DuplicatesScanner", "Copy of %1").arg(keptText);
    ScanGroup group;
    group.title = FS::lastPathComponent(kept);
    group.symbol = QStringLiteral("doc.on.doc");
    group.isOptIn = true;
    group.isExpanded = false;
    for (std::size_t i = 1; i < set.members.size(); ++i) {
        const CopySet::Member& copy = set.members[i];
        ScanItem item;
        item.url = copy.path;
        item.displayName = FS::lastPathComponent(copy.path);
        item.origin = FS::abbreviatingHome(FS::parentPath(copy.path));
        item.size = set.size;
        item.modified = QDateTime::fromMSecsSinceEpoch(copy.modified, Qt::UTC);
        item.requiresReview = true;
        item.detail = detail;
        item.isSelected = false;
        group.items.append(std::move(item));
    }
    const qsizetype copies = group.items.size();
    group.subtitle =
        (copies == 1 ? QCoreApplication::translate("DuplicatesScanner", "%1 extra copy \u00b7 keeping %2")
                     : QCoreApplication::translate("DuplicatesScanner", "%1 extra copies \u00b7 keeping %2"))
            .arg(QString::number(copies), keptText);
    return group;
}

} // namespace

DuplicatesScanner::DuplicatesScanner(qint64 minimumSize, std::optional<QStringList> roots)
    : minimumSize_(minimumSize)
    , roots_(std::move(roots))
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
    DuplicateSearch search(minimumSize_, progress, isCancelled);
    const std::vector<CopySet> sets = search.run(searchRoots());

    CategoryResult result;
    result.category = category();
    qint64 total = 0;
    for (const CopySet& set : sets) {
        result.groups.append(groupOf(set));
        total += set.sum;
    }
    report(progress,
           {1.0,
            result.groups.isEmpty() ? QCoreApplication::translate("DuplicatesScanner", "No duplicates found")
                                    : QCoreApplication::translate("DuplicatesScanner", "Duplicate scan complete"),
            total});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
