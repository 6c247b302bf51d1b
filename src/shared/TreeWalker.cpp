#include "shared/TreeWalker.h"

#include "platform/MountTable.h"
#include "shared/BoundedWalk.h"
#include "shared/FolderListing.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace harborlite::FS {

namespace {

constexpr int kOpenDirectory = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

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
};

struct Claim {
    std::size_t root;
    qint64 bytes;
};

class Pool {
public:
    Pool(const TreeWalker::CancelPredicate& isCancelled, int threads, std::size_t roots)
        : isCancelled_(isCancelled), totals_(roots, 0)
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
    ~Pool()
    {
        for (std::thread& helper : helpers_) {
            helper.join();
        }
    }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    void addRoot(const QByteArray& path, std::size_t root)
    {
        stack_.push_back({nullptr, path.toStdString(), root});
    }

    // Counts a regular file found by the caller (a root that is a file).
    void addFile(const struct stat& st, std::size_t root, std::vector<qint64>& totals)
    {
        const qint64 bytes = qint64(st.st_blocks) * 512;
        if (st.st_nlink <= 1) {
            totals[root] += bytes;
            return;
        }
        std::lock_guard lock(claimsMutex_);
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
            work();
        }
        {
            // After a stop, threads still finishing their folder may yet push.
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return busy_ == 0; });
        }
        for (std::thread& helper : helpers_) {
            helper.join();
        }
        helpers_.clear();
        stack_.clear();
        for (const auto& [inode, claim] : claims_) {
            if (counted.insert(inode).second) {
                totals_[claim.root] += claim.bytes;
            }
        }
        return totals_;
    }

    std::vector<qint64>& callerTotals() { return totals_; }

private:
    struct Worker {
        explicit Worker(std::size_t roots) : totals(roots, 0) {}
        FolderListing listing;
        std::vector<qint64> totals;
        std::vector<std::string> subfolders;
        std::vector<std::pair<dev_t, bool>> pseudo;
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
        std::lock_guard lock(mutex_);
        wake_.notify_all();
    }

    void work()
    {
        Worker worker(totals_.size());
        Task task;
        while (take(task)) {
            walkFrom(std::move(task), worker);
            task = {};
            finish();
        }
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < totals_.size(); ++i) {
            totals_[i] += worker.totals[i];
        }
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
        std::lock_guard lock(mutex_);
        if (--busy_ == 0) {
            wake_.notify_all();
        }
    }

    void push(const std::shared_ptr<WaitingFolder>& parent, std::vector<std::string>& names, std::size_t first,
              std::size_t root)
    {
        std::lock_guard lock(mutex_);
        for (std::size_t i = names.size(); i-- > first;) {
            stack_.push_back({parent, std::move(names[i]), root});
        }
        // Another thread joins while there is more waiting than the idle ones take.
        const std::size_t running = helpers_.size() + 1;
        if (!stopped_ && running < std::size_t(maxThreads_) && stack_.size() > running - std::size_t(busy_)) {
            try {
                helpers_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                // No thread to spare: the running ones take the work.
            }
        }
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

    // Lists one open folder, counting its regular files and gathering its
    // subfolders. false once cancelled.
    bool list(Worker& worker, int fd, std::size_t root)
    {
        worker.listing.reset(fd);
        while (const struct dirent64* entry = worker.listing.next()) {
            if (cancelled()) {
                return false;
            }
            const unsigned char type = entry->d_type;
            if (type == DT_DIR) {
                worker.subfolders.emplace_back(entry->d_name);
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
                addFile(st, root, worker.totals);
            } else if (type == DT_UNKNOWN && S_ISDIR(st.st_mode)) {
                worker.subfolders.emplace_back(entry->d_name);
            }
        }
        return true;
    }

    // The rest of a folder walked by this thread alone, a level at a time.
    void walkAlone(Worker& worker, int parentFd, const std::string& name, std::size_t root)
    {
        BoundedWalk::Visitor visitor;
        visitor.enter = [&](const BoundedWalk::Folder& folder, const std::string&, std::vector<std::string>& subfolders) {
            if (pseudo(worker, folder.fd, folder.device)) {
                return true;
            }
            worker.subfolders.clear();
            const bool goOn = list(worker, folder.fd, root);
            subfolders = std::move(worker.subfolders);
            worker.subfolders = {};
            return goOn;
        };
        BoundedWalk::run(parentFd, name, visitor);
    }

    void walkFrom(Task task, Worker& worker)
    {
        while (!stopped_.load(std::memory_order_relaxed)) {
            const int fd = ::openat(task.parent ? task.parent->fd : AT_FDCWD, task.name.c_str(), kOpenDirectory);
            task.parent.reset();
            if (fd < 0) {
                return;
            }
            struct stat st {};
            worker.subfolders.clear();
            if (::fstat(fd, &st) != 0 || pseudo(worker, fd, st.st_dev) || !list(worker, fd, task.root)
                || worker.subfolders.empty()) {
                ::close(fd);
                return;
            }
            auto folder = std::make_shared<WaitingFolder>(fd, waiting_);
            task.name = std::move(worker.subfolders.front());
            if (worker.subfolders.size() > 1) {
                if (waiting_.load(std::memory_order_relaxed) < maxWaiting_) {
                    push(folder, worker.subfolders, 1, task.root);
                } else {
                    std::vector<std::string> rest(std::make_move_iterator(worker.subfolders.begin() + 1),
                                                  std::make_move_iterator(worker.subfolders.end()));
                    for (const std::string& name : rest) {
                        walkAlone(worker, folder->fd, name, task.root);
                    }
                }
            }
            task.parent = std::move(folder);
        }
    }

    const TreeWalker::CancelPredicate& isCancelled_;
    int maxThreads_ = 1;
    int maxWaiting_ = 0;
    std::atomic<bool> stopped_{false};
    std::atomic<int> waiting_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Task> stack_;
    int busy_ = 0;
    std::vector<std::thread> helpers_;
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

TreeWalker::TreeWalker(CancelPredicate isCancelled, int threads)
    : isCancelled_(std::move(isCancelled)), threads_(threads)
{
}

std::vector<qint64> TreeWalker::totals(const std::vector<QByteArray>& roots)
{
    Pool pool(isCancelled_, threads_, roots.size());
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

} // namespace harborlite::FS
