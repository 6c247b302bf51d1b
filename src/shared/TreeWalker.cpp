#include "shared/TreeWalker.h"

#include "platform/MountTable.h"
#include "shared/BoundedWalk.h"
#include "shared/FolderListing.h"
#include "shared/IoThreads.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <unordered_map>

namespace harborlite::FS {

namespace {

// statfs magic numbers of kernel file systems that hold no user data.
constexpr std::array<unsigned long, 14> kPseudoMagics = {
    0x9fa0UL,     // proc
    0x62656572UL, // sysfs
    0x1cd1UL,     // devpts
    0x27e0ebUL,   // cgroup
    0x63677270UL, // cgroup2
    0x64626720UL, // debugfs
    0x74726163UL, // tracefs
    0x73636673UL, // securityfs
    0xcafe4a11UL, // bpf
    0x62656570UL, // configfs
    0x6165676cUL, // pstore
    0xde5e81e4UL, // efivarfs
    0x42494e4dUL, // binfmt_misc
    0x19800202UL, // mqueue
};
constexpr unsigned long kTmpfsMagic = 0x01021994UL;

// devtmpfs reports the tmpfs magic, so it is told apart by its mount entry.
bool isDevtmpfsMount(dev_t device)
{
    return platform::fileSystemTypeOf(device) == QLatin1String("devtmpfs");
}

using Inode = TreeWalker::Inode;
using Node = FolderTree::Node;

// An open folder whose pushed subfolders still wait to be opened from it.
struct WaitingFolder {
    WaitingFolder(int descriptor, std::atomic<int>& count) : fd(descriptor), held(count) { ++held; }
    ~WaitingFolder()
    {
        ::close(fd);
        --held;
    }
    WaitingFolder(const WaitingFolder&) = delete;
    WaitingFolder& operator=(const WaitingFolder&) = delete;
    int fd;
    std::atomic<int>& held;
};

struct Task {
    std::shared_ptr<WaitingFolder> parent; // none for a root, whose name is its path
    std::string name;
    std::size_t root = 0;
    const Node* parentNode = nullptr; // indexing: the folder it lies in
};

struct Claim {
    std::size_t root;
    qint64 bytes;
};

// What a walk does with the regular files it meets: count them, or hand them
// to an indexing visitor with the folders recorded.
struct Mode {
    const TreeWalker::Indexing* indexing = nullptr;
    FolderTree* folders = nullptr;
    TreeWalker::EnteredFolders* entered = nullptr;
};

class Pool {
public:
    Pool(const TreeWalker::CancelPredicate& isCancelled, int threads, std::size_t roots, Mode mode)
        : isCancelled_(isCancelled), mode_(mode), totals_(roots, 0)
    {
        // Within the descriptor limit: per thread a BoundedWalk and its current
        // folder, then the waiting folders, with room left for the rest of the process.
        struct rlimit limit {};
        const long soft = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
            ? long(std::min<rlim_t>(limit.rlim_cur, 1 << 20))
            : 1024;
        constexpr long kReserved = 32;
        constexpr long kPerThread = long(BoundedWalk::kMaxOpenLevels) + 4;
        maxThreads_ = int(std::clamp<long>(std::min<long>(threads, (soft - kReserved) / (2 * kPerThread)), 1,
                                           TreeWalker::kMaxThreads));
        maxWaiting_ = int(std::clamp<long>((soft - kReserved - maxThreads_ * kPerThread) / 2, 0,
                                           TreeWalker::kMaxWaitingFolders));
    }
    ~Pool() { waitForHelpers(); }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    void addRoot(const QByteArray& path, std::size_t root) { stack_.push_back({nullptr, path.toStdString(), root}); }

    // Counts a regular file found by the caller (a root that is a file).
    void addFile(const struct stat& st, std::size_t root, std::vector<qint64>& totals)
    {
        const qint64 bytes = qint64(st.st_blocks) * 512;
        if (st.st_nlink <= 1) {
            totals[root] += bytes;
            return;
        }
        const std::lock_guard lock(claimsMutex_);
        const auto [it, inserted] = claims_.try_emplace(Inode{st.st_dev, st.st_ino}, Claim{root, bytes});
        if (!inserted) {
            it->second.root = std::min(it->second.root, root);
        }
    }

    // Walks every root pushed, the calling thread included, and returns the totals.
    std::vector<qint64> run(std::unordered_set<Inode, TreeWalker::InodeHash>& counted, bool walk)
    {
        std::reverse(stack_.begin(), stack_.end());
        if (walk) {
            work(0);
        }
        {
            // After a stop, threads still finishing their folder may yet push.
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return busy_ == 0; });
        }
        waitForHelpers();
        stack_.clear();
        for (const auto& [inode, claim] : claims_) {
            if (counted.insert(inode).second) {
                totals_[claim.root] += claim.bytes;
            }
        }
        return totals_;
    }

    std::vector<qint64>& callerTotals() { return totals_; }
    bool stopped() const { return stopped_.load(); }

private:
    struct Worker {
        Worker(int index, std::size_t roots) : number(index), totals(roots, 0) {}
        int number;
        FolderListing listing;
        std::vector<qint64> totals;
        std::vector<std::string> subfolders;
        std::vector<std::pair<dev_t, bool>> pseudo;
        std::vector<const Node*> nodes; // indexing: the folders a BoundedWalk is in
    };

    bool cancelled()
    {
        if (stopped_.load(std::memory_order_relaxed)) {
            return true;
        }
        if (isCancelled_ && isCancelled_()) {
            stop();
            return true;
        }
        return false;
    }

    void stop()
    {
        stopped_ = true;
        const std::lock_guard lock(mutex_);
        wake_.notify_all();
    }

    void work(int number)
    {
        Worker worker(number, totals_.size());
        Task task;
        while (take(task)) {
            walkFrom(std::move(task), worker);
            task = {};
            finish();
        }
        const std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < totals_.size(); ++i) {
            totals_[i] += worker.totals[i];
        }
    }

    void waitForHelpers()
    {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return helpers_ == 0; });
    }

    bool take(Task& task)
    {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return !stack_.empty() || busy_ == 0 || stopped_; });
        if (stack_.empty() || stopped_) {
            wake_.notify_all();
            return false;
        }
        task = std::move(stack_.back());
        stack_.pop_back();
        ++busy_;
        return true;
    }

    void finish()
    {
        const std::lock_guard lock(mutex_);
        if (--busy_ == 0) {
            wake_.notify_all();
        }
    }

    // Called with mutex_ held: another thread joins while there is more
    // waiting than the idle ones take and the I/O budget has one to spare.
    void maybeStartHelper()
    {
        const int running = started_ + 1;
        if (stopped_ || running >= maxThreads_ || stack_.size() <= std::size_t(running - busy_)) {
            return;
        }
        const int number = ++started_;
        ++helpers_;
        if (!IoThreads::tryStart([this, number] {
                work(number);
                const std::lock_guard lock(mutex_);
                --helpers_;
                wake_.notify_all();
            })) {
            --started_;
            --helpers_;
        }
    }

    void push(const std::shared_ptr<WaitingFolder>& parent, std::vector<std::string>& names, std::size_t first,
              std::size_t root, const Node* parentNode)
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t i = names.size(); i-- > first;) {
            stack_.push_back({parent, std::move(names[i]), root, parentNode});
        }
        maybeStartHelper();
        wake_.notify_all();
    }

    bool pseudo(Worker& worker, int fd, dev_t device)
    {
        for (const auto& [known, answer] : worker.pseudo) {
            if (known == device) {
                return answer;
            }
        }
        const bool answer = isPseudoFileSystem(fd, device);
        worker.pseudo.emplace_back(device, answer);
        return answer;
    }

    bool entersFolder(const char* name) const
    {
        const TreeWalker::Indexing* indexing = mode_.indexing;
        return indexing == nullptr || !indexing->entersFolder || indexing->entersFolder(name);
    }

    // Whether a subfolder listed in the open folder `fd` was set aside: its
    // entry's inode matches one, and so do its device and inode.
    bool setAside(int fd, const struct dirent64& entry) const
    {
        if (mode_.entered == nullptr) {
            return false;
        }
        const std::vector<Inode>& aside = mode_.entered->aside;
        if (std::none_of(aside.begin(), aside.end(), [&](const Inode& folder) { return folder.inode == entry.d_ino; })) {
            return false;
        }
        struct stat st {};
        return ::fstatat(fd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
            && std::find(aside.begin(), aside.end(), Inode{st.st_dev, st.st_ino}) != aside.end();
    }

    // One regular file, counted or handed over.
    void file(Worker& worker, const Node* folder, const char* name, const struct stat& st, std::size_t root)
    {
        if (mode_.indexing != nullptr) {
            mode_.indexing->file(worker.number, *folder, name, st);
        } else {
            addFile(st, root, worker.totals);
        }
    }

    // Lists one open folder, taking its regular files and gathering its
    // subfolders. false once cancelled.
    bool list(Worker& worker, int fd, std::size_t root, const Node* node)
    {
        const bool skipHidden = mode_.indexing != nullptr && mode_.indexing->skipHidden;
        worker.listing.reset(fd);
        while (const struct dirent64* entry = worker.listing.next()) {
            if (cancelled()) {
                return false;
            }
            if (skipHidden && entry->d_name[0] == '.') {
                continue;
            }
            const unsigned char type = entry->d_type;
            if (type == DT_DIR) {
                if (entersFolder(entry->d_name) && !setAside(fd, *entry)) {
                    worker.subfolders.emplace_back(entry->d_name);
                }
                continue;
            }
            if (type != DT_REG && type != DT_UNKNOWN) {
                continue;
            }
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            if (S_ISREG(st.st_mode)) {
                file(worker, node, entry->d_name, st, root);
            } else if (type == DT_UNKNOWN && S_ISDIR(st.st_mode) && entersFolder(entry->d_name)
                       && !setAside(fd, *entry)) {
                worker.subfolders.emplace_back(entry->d_name);
            }
        }
        return true;
    }

    // Whether an opened folder is to be walked, recording it when indexing. A
    // folder below its parent's mount is on its parent's file system and no
    // second name of a folder seen before: folders are reached twice only
    // through mounts (a bind mount of a parent), so only the roots of mounts
    // are looked at and remembered.
    const Node* admit(Worker& worker, int fd, bool anotherMount, const Task& task, bool& walkIt)
    {
        walkIt = true;
        if (anotherMount) {
            struct stat st {};
            walkIt = ::fstat(fd, &st) == 0 && !pseudo(worker, fd, st.st_dev);
            if (walkIt && mode_.indexing != nullptr && !mode_.entered->enter(Inode{st.st_dev, st.st_ino})
                && task.parentNode != nullptr) {
                walkIt = false;
            }
        }
        if (!walkIt || mode_.indexing == nullptr) {
            return nullptr;
        }
        return &mode_.folders->add(worker.number, task.parentNode, task.root, task.name);
    }

    // The rest of a folder walked by this thread alone, a level at a time.
    void walkAlone(Worker& worker, int parentFd, const std::string& name, std::size_t root, const Node* parentNode)
    {
        const bool indexing = mode_.indexing != nullptr;
        BoundedWalk::Visitor visitor;
        visitor.enter = [&](const BoundedWalk::Folder& folder) {
            if (pseudo(worker, folder.fd, folder.device)) {
                return BoundedWalk::Step::skip;
            }
            if (indexing) {
                if (!mode_.entered->enter(Inode{folder.device, folder.inode})) {
                    return BoundedWalk::Step::skip;
                }
                const std::size_t slash = folder.path.rfind('/');
                const std::string_view own = slash == std::string_view::npos ? folder.path : folder.path.substr(slash + 1);
                const Node* parent = worker.nodes.empty() ? parentNode : worker.nodes.back();
                worker.nodes.push_back(&mode_.folders->add(worker.number, parent, root, own));
            }
            return BoundedWalk::Step::go;
        };
        visitor.entry = [&](const BoundedWalk::Folder& folder, const BoundedWalk::Entry& entry) {
            if (cancelled()) {
                return BoundedWalk::Step::stop;
            }
            const char* entryName = entry.name.data();
            if (indexing && mode_.indexing->skipHidden && entryName[0] == '.') {
                return BoundedWalk::Step::skip;
            }
            if (entry.type == DT_DIR) {
                return entersFolder(entryName) ? BoundedWalk::Step::go : BoundedWalk::Step::skip;
            }
            struct stat st {};
            if (entry.type == DT_REG && ::fstatat(folder.fd, entryName, &st, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISREG(st.st_mode)) {
                file(worker, indexing ? worker.nodes.back() : nullptr, entryName, st, root);
            }
            return BoundedWalk::Step::skip;
        };
        if (indexing) {
            visitor.leave = [&](int, const std::string&) {
                worker.nodes.pop_back();
                return true;
            };
        }
        BoundedWalk::run(parentFd, name, visitor);
        worker.nodes.clear();
    }

    void walkFrom(Task task, Worker& worker)
    {
        while (!stopped_.load(std::memory_order_relaxed)) {
            const int parentFd = task.parent ? task.parent->fd : AT_FDCWD;
            bool anotherMount = true;
            const int fd = task.parent ? FolderListing::openBelow(parentFd, task.name.c_str(), anotherMount)
                                       : FolderListing::open(parentFd, task.name.c_str());
            if (fd < 0) {
                FolderListing::reportSkipped(parentFd, task.name.c_str(), errno);
                return;
            }
            task.parent.reset();
            bool walkIt = false;
            const Node* node = admit(worker, fd, anotherMount, task, walkIt);
            worker.subfolders.clear();
            if (!walkIt || !list(worker, fd, task.root, node) || worker.subfolders.empty()) {
                ::close(fd);
                return;
            }
            auto folder = std::make_shared<WaitingFolder>(fd, waiting_);
            task.name = std::move(worker.subfolders.front());
            task.parentNode = node;
            if (worker.subfolders.size() > 1) {
                if (waiting_.load(std::memory_order_relaxed) < maxWaiting_) {
                    push(folder, worker.subfolders, 1, task.root, node);
                } else {
                    std::vector<std::string> rest(std::make_move_iterator(worker.subfolders.begin() + 1),
                                                  std::make_move_iterator(worker.subfolders.end()));
                    for (const std::string& name : rest) {
                        walkAlone(worker, folder->fd, name, task.root, node);
                    }
                }
            }
            task.parent = std::move(folder);
        }
    }

    const TreeWalker::CancelPredicate& isCancelled_;
    const Mode mode_;
    int maxThreads_ = 1;
    int maxWaiting_ = 0;
    std::atomic<bool> stopped_{false};
    std::atomic<int> waiting_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Task> stack_;
    int busy_ = 0;
    int started_ = 0;
    int helpers_ = 0;
    std::vector<qint64> totals_;
    std::mutex claimsMutex_;
    std::unordered_map<Inode, Claim, TreeWalker::InodeHash> claims_;
};

} // namespace

bool isPseudoFileSystem(int fd, dev_t device)
{
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) {
        return false;
    }
    const auto magic = static_cast<unsigned long>(fs.f_type);
    if (std::find(kPseudoMagics.begin(), kPseudoMagics.end(), magic) != kPseudoMagics.end()) {
        return true;
    }
    return magic == kTmpfsMagic && isDevtmpfsMount(device);
}

bool TreeWalker::EnteredFolders::enter(const Inode& folder)
{
    const std::lock_guard lock(mutex);
    return inodes.insert(folder).second;
}

TreeWalker::TreeWalker(CancelPredicate isCancelled, int threads)
    : isCancelled_(std::move(isCancelled)), threads_(threads), folders_(kMaxThreads)
{
}

std::vector<qint64> TreeWalker::totals(const std::vector<QByteArray>& roots)
{
    Pool pool(isCancelled_, threads_, roots.size(), {});
    bool anyFolder = false;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        struct stat st {};
        if (roots[i].isEmpty() || ::lstat(roots[i].constData(), &st) != 0) {
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            pool.addRoot(roots[i], i);
            anyFolder = true;
        } else if (S_ISREG(st.st_mode)) {
            pool.addFile(st, i, pool.callerTotals());
        } else {
            pool.callerTotals()[i] += qint64(st.st_blocks) * 512;
        }
    }
    // Items that are not folders count without a poll, as one entry each.
    return pool.run(counted_, anyFolder && !(isCancelled_ && isCancelled_()));
}

qint64 TreeWalker::total(const QByteArray& root)
{
    return totals({root}).front();
}

bool TreeWalker::index(const QByteArray& root, std::size_t rootIndex, const Indexing& indexing)
{
    char* real = root.isEmpty() ? nullptr : ::realpath(root.constData(), nullptr);
    if (real == nullptr) {
        return false;
    }
    const QByteArray path(real);
    std::free(real);
    if (isCancelled_ && isCancelled_()) {
        return false;
    }
    Pool pool(isCancelled_, threads_, rootIndex + 1, {&indexing, &folders_, &entered_});
    pool.addRoot(path, rootIndex);
    pool.run(counted_, true);
    return !pool.stopped();
}

void TreeWalker::setAside(dev_t device, ino_t inode)
{
    entered_.enter(Inode{device, inode});
    entered_.aside.push_back(Inode{device, inode});
}

} // namespace harborlite::FS
