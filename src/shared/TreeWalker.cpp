#include "shared/TreeWalker.h"

#include "platform/MountTable.h"
#include "shared/BoundedWalk.h"
#include "shared/FolderListing.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <fcntl.h>
#include <limits>
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
// The root of a walk of levels is the folder the user named, link or not.
constexpr int kOpenRoot = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY;

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

qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

using Inode = TreeWalker::Inode;
using Entry = TreeWalker::Entry;

constexpr std::size_t kNoSlot = std::numeric_limits<std::size_t>::max();

// Where bytes are counted: a root of totals(), or an entry of a walk of levels.
// Only the thread that lists a folder changes its children; parent, ordinal
// and slot never change once the folder's listing is complete.
struct Node {
    QByteArray name;
    bool isDirectory = false;
    bool isListed = false;
    qint64 bytes = 0;
    qint64 folded = 0;
    std::vector<Node> children;
    const Node* parent = nullptr;
    std::uint32_t ordinal = 0;
    // The per-thread totals' slot of a node whose bytes several threads count.
    std::size_t slot = kNoSlot;
    // The root's entry it lies in, and its level below the root (the root's entries are 1).
    std::size_t top = 0;
    int level = 0;
};

std::vector<std::uint32_t> placeOf(const Node* node)
{
    std::vector<std::uint32_t> place;
    for (; node != nullptr; node = node->parent) {
        place.push_back(node->ordinal);
    }
    std::reverse(place.begin(), place.end());
    return place;
}

// Whether `a` comes before `b` in listing order, depth first.
bool earlier(const Node* a, const Node* b)
{
    if (a->parent == b->parent) {
        return a->ordinal < b->ordinal;
    }
    const std::vector<std::uint32_t> first = placeOf(a);
    const std::vector<std::uint32_t> second = placeOf(b);
    return std::lexicographical_compare(first.begin(), first.end(), second.begin(), second.end());
}

Entry entryOf(Node&& node)
{
    Entry entry{std::move(node.name), node.isDirectory, node.isListed, node.bytes, {}, node.folded};
    if (node.isListed) {
        qint64 bytes = node.folded;
        std::sort(node.children.begin(), node.children.end(),
                  [](const Node& a, const Node& b) { return a.ordinal < b.ordinal; });
        entry.children.reserve(node.children.size());
        for (Node& child : node.children) {
            entry.children.push_back(entryOf(std::move(child)));
            bytes = saturatingAdd(bytes, entry.children.back().bytes);
        }
        entry.bytes = bytes;
    }
    return entry;
}

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
    // The folder's own node when it is listed, else the node its bytes count for.
    Node* node = nullptr;
    bool listed = false;
};

// A subfolder found by a listing.
struct Sub {
    std::string name;
    Node* node = nullptr;
    bool listed = false;
};

struct Claim {
    Node* owner;
    qint64 bytes;
};

class Pool {
public:
    Pool(const TreeWalker::CancelPredicate& isCancelled, int threads, const std::vector<TreeWalker::Skipped>& skipped,
         int depth = 0, qint64 smallFile = 0, std::function<void(std::size_t)> finished = {})
        : isCancelled_(isCancelled), skipped_(skipped), depth_(depth), smallFile_(smallFile),
          finished_(std::move(finished))
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

    // A root of totals(): a folder walked from its path.
    void addRoot(const QByteArray& path, Node& node) { stack_.push_back({nullptr, path.toStdString(), &node, false}); }

    // Counts a regular file found by the caller (a root that is a file).
    void addFile(const struct stat& st, Node& owner)
    {
        if (st.st_nlink <= 1) {
            owner.bytes += qint64(st.st_blocks) * 512;
        } else {
            claim({st.st_dev, st.st_ino}, qint64(st.st_blocks) * 512, &owner);
        }
    }

    // Nodes whose bytes the threads count apart, by slot; set before the walk.
    void setSlots(std::vector<Node*> nodes) { slots_ = std::move(nodes); }

    // Lists the root of a walk of levels on the calling thread; its
    // subfolders wait for queueRoot().
    bool listRoot(int fd, const struct stat& st, Node& root)
    {
        rootFd_ = fd;
        const bool complete = listLevel(rootWorker_, fd, st, root, nullptr);
        // The root's entries are numbered without gaps: 0 .. count - 1 in name order.
        std::vector<std::uint32_t> ordinals;
        ordinals.reserve(root.children.size());
        for (const Node& child : root.children) {
            ordinals.push_back(child.ordinal);
        }
        std::sort(ordinals.begin(), ordinals.end());
        for (Node& child : root.children) {
            child.ordinal = std::uint32_t(std::lower_bound(ordinals.begin(), ordinals.end(), child.ordinal)
                                          - ordinals.begin());
            child.top = child.ordinal;
        }
        return complete;
    }

    // Queues the root's subfolders, first entry on top.
    void queueRoot()
    {
        if (rootWorker_.subs.empty()) {
            ::close(rootFd_);
            return;
        }
        auto folder = std::make_shared<WaitingFolder>(rootFd_, waiting_);
        for (std::size_t i = rootWorker_.subs.size(); i-- > 0;) {
            Sub& sub = rootWorker_.subs[i];
            if (finished_) {
                tracked_[sub.node->top] = 1;
            }
            stack_.push_back({folder, std::move(sub.name), sub.node, sub.listed});
        }
        rootWorker_.subs.clear();
    }

    // Walks every root pushed, the calling thread included, and sets the bytes of every node.
    void run(std::unordered_set<Inode, TreeWalker::InodeHash>& counted, bool walk)
    {
        if (walk) {
            {
                std::lock_guard lock(mutex_);
                startHelpers();
            }
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
                claim.owner->bytes = saturatingAdd(claim.owner->bytes, claim.bytes);
            }
        }
        for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
            if (slot < totals_.size()) {
                slots_[slot]->bytes = saturatingAdd(slots_[slot]->bytes, totals_[slot]);
            }
        }
    }

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

private:
    // A file with several links among a listed folder's entries, claimed once the entries stay put.
    struct Linked {
        Node* node;
        Inode inode;
        qint64 bytes;
    };

    struct Worker {
        FolderListing listing;
        std::vector<qint64> totals;
        std::vector<Sub> subs;
        std::vector<std::pair<std::string, unsigned char>> names;
        std::vector<Linked> linked;
        std::vector<Node*> fresh;
        std::vector<std::pair<dev_t, bool>> pseudo;
        std::vector<const QByteArray*> skipped;

        void count(std::size_t slot, qint64 bytes)
        {
            if (slot >= totals.size()) {
                totals.resize(slot + 1, 0);
            }
            totals[slot] += bytes;
        }
    };

    void stop()
    {
        stopped_ = true;
        std::lock_guard lock(mutex_);
        wake_.notify_all();
    }

    void claim(Inode inode, qint64 bytes, Node* owner)
    {
        std::lock_guard lock(claimsMutex_);
        const auto [it, inserted] = claims_.try_emplace(inode, Claim{owner, bytes});
        if (!inserted && earlier(owner, it->second.owner)) {
            it->second.owner = owner;
        }
    }

    // A folder of a root's entry is done, and `more` of its subfolders are to come.
    void track(std::size_t top, std::size_t more)
    {
        if (!finished_) {
            return;
        }
        if (more > 0) {
            tracked_[top] += int(more);
        }
        if (--tracked_[top] == 0 && !stopped_.load(std::memory_order_relaxed)) {
            finished_(top);
        }
    }

    void work()
    {
        Worker worker;
        Task task;
        while (take(task)) {
            walkFrom(std::move(task), worker);
            task = {};
            finish();
        }
        std::lock_guard lock(mutex_);
        if (totals_.size() < worker.totals.size()) {
            totals_.resize(worker.totals.size(), 0);
        }
        for (std::size_t i = 0; i < worker.totals.size(); ++i) {
            totals_[i] = saturatingAdd(totals_[i], worker.totals[i]);
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

    // Another thread joins while there is more waiting than the idle ones take.
    void startHelpers()
    {
        while (!stopped_ && helpers_.size() + 1 < std::size_t(maxThreads_)
               && stack_.size() > helpers_.size() + 1 - std::size_t(busy_)) {
            try {
                helpers_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                return; // no thread to spare: the running ones take the work
            }
        }
    }

    void push(const std::shared_ptr<WaitingFolder>& parent, std::vector<Sub>& subs, std::size_t first)
    {
        std::lock_guard lock(mutex_);
        for (std::size_t i = subs.size(); i-- > first;) {
            stack_.push_back({parent, std::move(subs[i].name), subs[i].node, subs[i].listed});
        }
        startHelpers();
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

    // The names in the folder (device, inode) that are never opened.
    void findSkipped(Worker& worker, dev_t device, ino_t inode)
    {
        worker.skipped.clear();
        for (const TreeWalker::Skipped& skipped : skipped_) {
            if (skipped.parent.device == device && skipped.parent.inode == inode) {
                worker.skipped.push_back(&skipped.name);
            }
        }
    }

    static bool isSkipped(const Worker& worker, const char* name)
    {
        return std::any_of(worker.skipped.begin(), worker.skipped.end(),
                           [name](const QByteArray* skipped) { return *skipped == name; });
    }

    // Lists one open folder counted whole for `node`, counting its regular
    // files and gathering its subfolders. false once cancelled.
    bool list(Worker& worker, int fd, const struct stat& folder, Node* node)
    {
        if (!skipped_.empty()) {
            findSkipped(worker, folder.st_dev, folder.st_ino);
        }
        qint64 bytes = 0;
        bool complete = true;
        worker.listing.reset(fd);
        while (const struct dirent64* entry = worker.listing.next()) {
            if (cancelled()) {
                complete = false;
                break;
            }
            const unsigned char type = entry->d_type;
            if (type == DT_DIR) {
                if (worker.skipped.empty() || !isSkipped(worker, entry->d_name)) {
                    worker.subs.push_back({entry->d_name, node, false});
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
                if (st.st_nlink <= 1) {
                    bytes += qint64(st.st_blocks) * 512;
                } else {
                    claim({st.st_dev, st.st_ino}, qint64(st.st_blocks) * 512, node);
                }
            } else if (type == DT_UNKNOWN && S_ISDIR(st.st_mode)
                       && (worker.skipped.empty() || !isSkipped(worker, entry->d_name))) {
                worker.subs.push_back({entry->d_name, node, false});
            }
        }
        worker.count(node->slot, bytes);
        return complete;
    }

    // Lists one open folder entry by entry into `folder`'s children (ordinals
    // in name order). Its subfolders come first and, when `open` holds the
    // folder, are pushed before its files are looked at, so other threads
    // start on them at once; without it they are left in the worker. false
    // once cancelled, with the entries listed so far kept.
    bool listLevel(Worker& worker, int fd, const struct stat& own, Node& folder,
                   const std::shared_ptr<WaitingFolder>& open)
    {
        if (!skipped_.empty()) {
            findSkipped(worker, own.st_dev, own.st_ino);
        }
        bool complete = true;
        worker.names.clear();
        worker.listing.reset(fd);
        while (const struct dirent64* entry = worker.listing.next()) {
            if (cancelled()) {
                complete = false;
                break;
            }
            worker.names.emplace_back(entry->d_name, entry->d_type);
        }
        std::sort(worker.names.begin(), worker.names.end());
        const int level = folder.level + 1;
        // Every name gives at most one child: the children never move once placed.
        folder.children.reserve(worker.names.size());
        if (level == 1 && finished_) {
            tracked_ = std::make_unique<std::atomic<int>[]>(std::max<std::size_t>(worker.names.size(), 1));
        }
        worker.subs.clear();
        worker.linked.clear();
        for (std::size_t i = 0; complete && i < worker.names.size(); ++i) {
            const auto& [name, type] = worker.names[i];
            if (type == DT_DIR && (worker.skipped.empty() || !isSkipped(worker, name.c_str()))) {
                worker.fresh.push_back(&addChild(folder, name, i, true));
            }
        }
        queueFolders(worker, folder, open);
        for (std::size_t i = 0; complete && i < worker.names.size(); ++i) {
            const auto& [name, type] = worker.names[i];
            if (type == DT_DIR) {
                continue;
            }
            if (cancelled()) {
                complete = false;
                break;
            }
            struct stat st {};
            if ((type == DT_REG || type == DT_UNKNOWN)
                && ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            if (S_ISDIR(st.st_mode)) {
                if (worker.skipped.empty() || !isSkipped(worker, name.c_str())) {
                    worker.fresh.push_back(&addChild(folder, name, i, true));
                }
                continue;
            }
            if (!S_ISREG(st.st_mode)) {
                // Links and special files hold no bytes of their own here.
                addChild(folder, name, i, false);
                continue;
            }
            const qint64 bytes = qint64(st.st_blocks) * 512;
            if (st.st_nlink <= 1 && level > 1 && bytes < smallFile_) {
                folder.folded += bytes;
                continue;
            }
            Node& child = addChild(folder, name, i, false);
            if (st.st_nlink <= 1) {
                child.bytes = bytes;
            } else {
                worker.linked.push_back({&child, Inode{st.st_dev, st.st_ino}, bytes});
            }
        }
        // Folders known only from their stat (no entry type) follow the files.
        queueFolders(worker, folder, open);
        for (const Linked& linked : worker.linked) {
            claim(linked.inode, linked.bytes, linked.node);
        }
        return complete;
    }

    Node& addChild(Node& folder, const std::string& name, std::size_t ordinal, bool isDirectory)
    {
        Node& child = folder.children.emplace_back();
        child.name = QByteArray(name.data(), qsizetype(name.size()));
        child.isDirectory = isDirectory;
        child.isListed = isDirectory && folder.level + 1 < depth_;
        child.parent = &folder;
        child.ordinal = std::uint32_t(ordinal);
        child.level = folder.level + 1;
        child.top = child.level == 1 ? ordinal : folder.top;
        return child;
    }

    // Gives the folders just added their slots, then pushes them with `open`
    // (counted as work of the folder's root entry) or leaves them in the worker.
    void queueFolders(Worker& worker, const Node& folder, const std::shared_ptr<WaitingFolder>& open)
    {
        if (worker.fresh.empty()) {
            return;
        }
        {
            std::lock_guard lock(slotsMutex_);
            for (Node* child : worker.fresh) {
                if (!child->isListed) {
                    child->slot = slots_.size();
                    slots_.push_back(child);
                }
            }
        }
        for (Node* child : worker.fresh) {
            worker.subs.push_back({child->name.toStdString(), child, child->isListed});
        }
        worker.fresh.clear();
        if (open) {
            if (finished_) {
                tracked_[folder.top] += int(worker.subs.size());
            }
            push(open, worker.subs, 0);
            worker.subs.clear();
        }
    }

    // The rest of a folder walked by this thread alone, a level at a time.
    void walkAlone(Worker& worker, int parentFd, const std::string& name, Node* node)
    {
        BoundedWalk::Visitor visitor;
        visitor.enter = [&](const BoundedWalk::Folder& folder, const std::string&, std::vector<std::string>& subfolders) {
            if (pseudo(worker, folder.fd, folder.device)) {
                return true;
            }
            struct stat st {};
            st.st_dev = folder.device;
            st.st_ino = folder.inode;
            worker.subs.clear();
            const bool goOn = list(worker, folder.fd, st, node);
            for (Sub& sub : worker.subs) {
                subfolders.push_back(std::move(sub.name));
            }
            worker.subs.clear();
            return goOn;
        };
        BoundedWalk::run(parentFd, name, visitor);
    }

    void walkFrom(Task task, Worker& worker)
    {
        while (!stopped_.load(std::memory_order_relaxed)) {
            const int fd = ::openat(task.parent ? task.parent->fd : AT_FDCWD, task.name.c_str(), kOpenDirectory);
            task.parent.reset();
            const std::size_t top = task.node->top;
            if (fd < 0) {
                track(top, 0);
                return;
            }
            struct stat st {};
            worker.subs.clear();
            if (::fstat(fd, &st) != 0 || pseudo(worker, fd, st.st_dev)) {
                ::close(fd);
                track(top, 0);
                return;
            }
            if (task.listed) {
                const auto open = std::make_shared<WaitingFolder>(fd, waiting_);
                if (listLevel(worker, fd, st, *task.node, open)) {
                    track(top, 0);
                }
                return;
            }
            if (!list(worker, fd, st, task.node)) {
                ::close(fd);
                return;
            }
            if (worker.subs.empty()) {
                ::close(fd);
                track(top, 0);
                return;
            }
            track(top, worker.subs.size());
            auto folder = std::make_shared<WaitingFolder>(fd, waiting_);
            Sub next = std::move(worker.subs.front());
            if (worker.subs.size() > 1) {
                if (waiting_.load(std::memory_order_relaxed) < maxWaiting_) {
                    push(folder, worker.subs, 1);
                } else {
                    std::vector<Sub> rest(std::make_move_iterator(worker.subs.begin() + 1),
                                          std::make_move_iterator(worker.subs.end()));
                    for (const Sub& sub : rest) {
                        walkAlone(worker, folder->fd, sub.name, sub.node);
                        if (stopped_.load(std::memory_order_relaxed)) {
                            return;
                        }
                        track(top, 0);
                    }
                }
            }
            task = {std::move(folder), std::move(next.name), next.node, next.listed};
        }
    }

    const TreeWalker::CancelPredicate& isCancelled_;
    const std::vector<TreeWalker::Skipped>& skipped_;
    int depth_ = 0;
    qint64 smallFile_ = 0;
    std::function<void(std::size_t)> finished_;
    std::unique_ptr<std::atomic<int>[]> tracked_;
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
    std::mutex slotsMutex_;
    std::vector<Node*> slots_;
    Worker rootWorker_;
    int rootFd_ = -1;
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

void TreeWalker::skipFolders(const std::vector<QByteArray>& folders)
{
    for (const QByteArray& folder : folders) {
        const qsizetype slash = folder.lastIndexOf('/');
        if (slash < 0 || slash + 1 >= folder.size()) {
            continue;
        }
        const QByteArray parent = slash == 0 ? QByteArray("/") : folder.left(slash);
        struct stat st {};
        if (::stat(parent.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            skipped_.push_back({{st.st_dev, st.st_ino}, folder.mid(slash + 1)});
        }
    }
}

std::vector<qint64> TreeWalker::totals(const std::vector<QByteArray>& roots)
{
    std::vector<Node> nodes(roots.size());
    std::vector<Node*> counted;
    counted.reserve(roots.size());
    for (std::size_t i = 0; i < roots.size(); ++i) {
        nodes[i].ordinal = std::uint32_t(i);
        nodes[i].top = i;
        nodes[i].slot = i;
        counted.push_back(&nodes[i]);
    }
    Pool pool(isCancelled_, threads_, skipped_);
    pool.setSlots(std::move(counted));
    bool anyFolder = false;
    // Pushed last to first, so the first root is taken first.
    for (std::size_t i = roots.size(); i-- > 0;) {
        struct stat st {};
        if (roots[i].isEmpty() || ::lstat(roots[i].constData(), &st) != 0) {
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            pool.addRoot(roots[i], nodes[i]);
            anyFolder = true;
        } else if (S_ISREG(st.st_mode)) {
            pool.addFile(st, nodes[i]);
        } else {
            nodes[i].bytes += qint64(st.st_blocks) * 512;
        }
    }
    // Items that are not folders count without a poll, as one entry each.
    pool.run(counted_, anyFolder && !(isCancelled_ && isCancelled_()));
    std::vector<qint64> result;
    result.reserve(nodes.size());
    for (const Node& node : nodes) {
        result.push_back(node.bytes);
    }
    return result;
}

qint64 TreeWalker::total(const QByteArray& root)
{
    return totals({root}).front();
}

TreeWalker::Entry TreeWalker::levels(const QByteArray& root, const Levels& levels)
{
    Node top;
    top.name = root;
    top.isDirectory = true;
    top.isListed = true;
    Pool pool(isCancelled_, threads_, skipped_, std::max(levels.depth, 1), levels.smallFile, levels.finished);
    const int fd = root.isEmpty() ? -1 : ::open(root.constData(), kOpenRoot);
    struct stat st {};
    if (fd < 0) {
        return entryOf(std::move(top));
    }
    if (::fstat(fd, &st) != 0 || isPseudoFileSystem(fd, st.st_dev) || pool.cancelled()) {
        ::close(fd);
        return entryOf(std::move(top));
    }
    const bool complete = pool.listRoot(fd, st, top);
    if (levels.listed) {
        Entry shown{top.name, true, true, 0, {}, 0};
        shown.children.resize(top.children.size());
        for (const Node& child : top.children) {
            shown.children[child.ordinal] = {child.name, child.isDirectory, child.isListed, child.bytes, {}, 0};
        }
        levels.listed(shown);
    }
    if (complete && levels.finished) {
        for (const Node& child : top.children) {
            if (!child.isDirectory && !pool.cancelled()) {
                levels.finished(child.ordinal);
            }
        }
    }
    pool.queueRoot();
    pool.run(counted_, complete && !pool.cancelled());
    return entryOf(std::move(top));
}

} // namespace harborlite::FS
