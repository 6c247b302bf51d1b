#include "shared/TreeWalker.h"

#include "shared/BoundedWalk.h"
#include "shared/FolderFilter.h"
#include "shared/FolderListing.h"
#include "shared/IoThreads.h"
#include "shared/LevelNode.h"
#include "shared/LinkClaims.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <unordered_map>

namespace harborlite::FS {

namespace {

using Inode = TreeWalker::Inode;
using Node = FolderTree::Node;
using Entry = TreeWalker::Entry;

// An open folder whose pushed subfolders still wait to be opened from it.
struct WaitingFolder {
    WaitingFolder(int descriptor, std::atomic<int>& count)
        : fd(descriptor)
        , held(count)
    {
        ++held;
    }
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
    // Levels: the folder's own entry when it is listed, else the entry its bytes count for.
    LevelNode* level = nullptr;
    bool listed = false;
};

// A subfolder found by a listing of levels.
struct Sub {
    std::string name;
    LevelNode* level = nullptr;
};

// What a walk does with the regular files it meets: count them, or hand them
// to an indexing visitor with the folders recorded.
struct Mode {
    const TreeWalker::Indexing* indexing = nullptr;
    FolderTree* folders = nullptr;
    TreeWalker::EnteredFolders* entered = nullptr;
    const TreeWalker::Levels* levels = nullptr;
    // Folders never opened (TreeWalker::skipFolders).
    const std::vector<TreeWalker::Skipped>* skipped = nullptr;
};

// What one thread of a walk keeps for itself.
struct Worker {
    Worker(int index, std::size_t roots)
        : number(index)
        , totals(roots, 0)
    {
    }
    int number;
    FolderListing listing;
    std::vector<qint64> totals;
    std::vector<std::string> subfolders;
    std::vector<std::pair<dev_t, bool>> pseudo;
    std::vector<const Node*> nodes; // indexing: the folders a BoundedWalk is in
    // Levels: a listed folder's names and what came of them.
    std::vector<std::pair<std::string, unsigned char>> names;
    std::vector<Sub> subs;
    std::vector<LevelNode*> fresh;
    std::vector<std::pair<LevelNode*, struct stat>> linked;
    // Names of the current folder never opened.
    std::vector<const QByteArray*> skipped;
};

// How many threads a walk runs and how many opened folders wait at most:
// within the descriptor limit, per thread a BoundedWalk and its current
// folder, then the waiting folders, with room left for the rest of the process.
struct DescriptorBudget {
    int threads = 1;
    int waitingFolders = 0;
};

DescriptorBudget descriptorBudget(int threads)
{
    struct rlimit limit { };
    const long soft = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        ? long(std::min<rlim_t>(limit.rlim_cur, 1 << 20))
        : 1024;
    constexpr long kReserved = 32;
    constexpr long kPerThread = long(BoundedWalk::kMaxOpenLevels) + 4;
    DescriptorBudget budget;
    budget.threads = int(
        std::clamp<long>(std::min<long>(threads, (soft - kReserved) / (2 * kPerThread)), 1, TreeWalker::kMaxThreads));
    budget.waitingFolders =
        int(std::clamp<long>((soft - kReserved - budget.threads * kPerThread) / 2, 0, TreeWalker::kMaxWaitingFolders));
    return budget;
}

class Pool {
public:
    Pool(const TreeWalker::CancelPredicate& isCancelled, int threads, std::size_t roots, Mode mode)
        : isCancelled_(isCancelled)
        , mode_(mode)
        , filter_(mode.indexing, mode.entered, mode.skipped)
        , budget_(descriptorBudget(threads))
        , totals_(roots, 0)
    {
    }
    ~Pool() { waitForHelpers(); }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    void addRoot(const QByteArray& path, std::size_t root) { stack_.push_back({nullptr, path.toStdString(), root}); }

    // Counts a regular file found by the caller (a root that is a file), or
    // one counted whole for the levels entry `owner`.
    void addFile(const struct stat& st, std::size_t root, std::vector<qint64>& totals, LevelNode* owner = nullptr)
    {
        const qint64 bytes = qint64(st.st_blocks) * 512;
        if (st.st_nlink <= 1) {
            if (root >= totals.size()) {
                totals.resize(root + 1, 0);
            }
            totals[root] += bytes;
            return;
        }
        claims_.claim({st.st_dev, st.st_ino}, bytes, root, owner);
    }

    // Lists the root of a walk of levels on the calling thread; its
    // subfolders wait for queueRoot(). The root's entries are numbered
    // without gaps: 0 .. count - 1 in name order.
    bool listRoot(int fd, const struct stat& st, LevelNode& root)
    {
        rootFd_ = fd;
        Worker worker(0, 0);
        const bool complete = listLevel(worker, fd, st, root, nullptr);
        rootSubs_ = std::move(worker.subs);
        std::vector<std::uint32_t> ordinals;
        ordinals.reserve(root.children.size());
        for (const LevelNode& child : root.children) {
            ordinals.push_back(child.ordinal);
        }
        std::sort(ordinals.begin(), ordinals.end());
        for (LevelNode& child : root.children) {
            child.ordinal =
                std::uint32_t(std::lower_bound(ordinals.begin(), ordinals.end(), child.ordinal) - ordinals.begin());
            child.top = child.ordinal;
        }
        return complete;
    }

    // Queues the root's subfolders, the first on top.
    void queueRoot()
    {
        if (rootSubs_.empty()) {
            ::close(rootFd_);
            return;
        }
        auto folder = std::make_shared<WaitingFolder>(rootFd_, waiting_);
        const std::lock_guard lock(mutex_);
        for (std::size_t i = rootSubs_.size(); i-- > 0;) {
            Sub& sub = rootSubs_[i];
            if (tracked_) {
                tracked_[sub.level->top] = 1;
            }
            stack_.push_back(levelTask(folder, std::move(sub)));
        }
        rootSubs_.clear();
        for (int started = started_;; started = started_) {
            maybeStartHelper();
            if (started_ == started) {
                break;
            }
        }
    }

    // After run(): the bytes counted whole go to the entries of a walk of levels.
    void settleLevels()
    {
        for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
            if (slot < totals_.size()) {
                slots_[slot]->bytes = saturatingAdd(slots_[slot]->bytes, totals_[slot]);
            }
        }
    }

    // Walks every root pushed, the calling thread included, and returns the totals.
    std::vector<qint64> run(std::unordered_set<Inode, TreeWalker::InodeHash>& counted, bool walk)
    {
        {
            // A walk of levels has started helpers on the queued root already.
            const std::lock_guard lock(mutex_);
            std::reverse(stack_.begin(), stack_.end());
        }
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
        claims_.settle(counted, totals_);
        return totals_;
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

    std::vector<qint64>& callerTotals() { return totals_; }
    bool stopped() const { return stopped_.load(); }

private:
    void stop()
    {
        stopped_ = true;
        const std::lock_guard lock(mutex_);
        wake_.notify_all();
    }

    // Per-thread totals start at the count of slots known now; a walk of levels
    // grows totals_ under the lock while helpers run.
    std::size_t slotCount()
    {
        const std::lock_guard lock(mutex_);
        return totals_.size();
    }

    void work(int number)
    {
        Worker worker(number, slotCount());
        Task task;
        while (take(task)) {
            walkFrom(std::move(task), worker);
            task = {};
            finish();
        }
        const std::lock_guard lock(mutex_);
        if (totals_.size() < worker.totals.size()) {
            totals_.resize(worker.totals.size(), 0);
        }
        for (std::size_t i = 0; i < worker.totals.size(); ++i) {
            totals_[i] = saturatingAdd(totals_[i], worker.totals[i]);
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
        if (stopped_ || running >= budget_.threads || stack_.size() <= std::size_t(running - busy_)) {
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
              std::size_t root, const Node* parentNode, LevelNode* level)
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t i = names.size(); i-- > first;) {
            stack_.push_back({parent, std::move(names[i]), root, parentNode, level, false});
        }
        maybeStartHelper();
        wake_.notify_all();
    }

    static Task levelTask(const std::shared_ptr<WaitingFolder>& parent, Sub&& sub)
    {
        const std::size_t slot = sub.level->slot == kNoSlot ? 0 : sub.level->slot;
        return {parent, std::move(sub.name), slot, nullptr, sub.level, sub.level->isListed};
    }

    void pushLevels(const std::shared_ptr<WaitingFolder>& parent, std::vector<Sub>& subs)
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t i = subs.size(); i-- > 0;) {
            stack_.push_back(levelTask(parent, std::move(subs[i])));
        }
        subs.clear();
        maybeStartHelper();
        wake_.notify_all();
    }

    // The work of the root's entry `top` changes: `more` folders to come, one
    // done; the entry is finished when none is left.
    void track(std::size_t top, std::size_t more, bool oneDone = true)
    {
        if (!tracked_) {
            return;
        }
        if (more > 0) {
            tracked_[top] += int(more);
        }
        if (oneDone && --tracked_[top] == 0 && !stopped_.load(std::memory_order_relaxed)) {
            mode_.levels->finished(top);
        }
    }

    // One regular file, counted or handed over.
    void file(Worker& worker, const Node* folder, const char* name, const struct stat& st, std::size_t root,
              LevelNode* level)
    {
        if (mode_.indexing != nullptr) {
            mode_.indexing->file(worker.number, *folder, name, st);
        } else {
            addFile(st, root, worker.totals, level);
        }
    }

    // Lists one open folder, taking its regular files and gathering its
    // subfolders. false once cancelled.
    bool list(Worker& worker, int fd, const struct stat& own, std::size_t root, const Node* node, LevelNode* level)
    {
        const bool skipHidden = mode_.indexing != nullptr && mode_.indexing->skipHidden;
        filter_.findSkipped(worker.skipped, own.st_dev, own.st_ino);
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
                if (filter_.entersFolder(entry->d_name) && !FolderFilter::isSkipped(worker.skipped, entry->d_name)
                    && !filter_.setAside(fd, *entry)) {
                    worker.subfolders.emplace_back(entry->d_name);
                }
                continue;
            }
            if (type != DT_REG && type != DT_UNKNOWN) {
                continue;
            }
            struct stat st { };
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            if (S_ISREG(st.st_mode)) {
                file(worker, node, entry->d_name, st, root, level);
            } else if (type == DT_UNKNOWN && S_ISDIR(st.st_mode) && filter_.entersFolder(entry->d_name)
                       && !FolderFilter::isSkipped(worker.skipped, entry->d_name) && !filter_.setAside(fd, *entry)) {
                worker.subfolders.emplace_back(entry->d_name);
            }
        }
        return true;
    }

    // Lists one open folder of a walk of levels entry by entry into
    // `folder`'s children (ordinals in name order). Its subfolders come first
    // and, when `open` holds the folder, are pushed before its files are
    // looked at, so other threads start on them at once; without it they are
    // left in the worker. false once cancelled, with the entries so far kept.
    bool listLevel(Worker& worker, int fd, const struct stat& own, LevelNode& folder,
                   const std::shared_ptr<WaitingFolder>& open)
    {
        filter_.findSkipped(worker.skipped, own.st_dev, own.st_ino);
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
        // Every name gives at most one child: the children never move once placed.
        folder.children.reserve(worker.names.size());
        if (folder.level == 0 && mode_.levels->finished) {
            tracked_ = std::make_unique<std::atomic<int>[]>(std::max<std::size_t>(worker.names.size(), 1));
        }
        worker.subs.clear();
        worker.linked.clear();
        for (std::size_t i = 0; complete && i < worker.names.size(); ++i) {
            const auto& [name, type] = worker.names[i];
            if (type == DT_DIR && !FolderFilter::isSkipped(worker.skipped, name.c_str())) {
                worker.fresh.push_back(&addChild(folder, name, i, true));
            }
        }
        queueFolders(worker, folder, open);
        const qint64 smallFile = mode_.levels->smallFile;
        for (std::size_t i = 0; complete && i < worker.names.size(); ++i) {
            const auto& [name, type] = worker.names[i];
            if (type == DT_DIR) {
                continue;
            }
            if (cancelled()) {
                complete = false;
                break;
            }
            struct stat st { };
            if ((type == DT_REG || type == DT_UNKNOWN) && ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            if (S_ISDIR(st.st_mode)) {
                if (!FolderFilter::isSkipped(worker.skipped, name.c_str())) {
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
            if (st.st_nlink <= 1 && folder.level >= 1 && bytes < smallFile) {
                folder.folded += bytes;
                continue;
            }
            LevelNode& child = addChild(folder, name, i, false);
            if (st.st_nlink <= 1) {
                child.bytes = bytes;
            } else {
                worker.linked.emplace_back(&child, st);
            }
        }
        // Folders known only from their stat (no entry type) follow the files.
        queueFolders(worker, folder, open);
        for (const auto& [child, st] : worker.linked) {
            claims_.claim({st.st_dev, st.st_ino}, qint64(st.st_blocks) * 512, 0, child);
        }
        return complete;
    }

    LevelNode& addChild(LevelNode& folder, const std::string& name, std::size_t ordinal, bool isDirectory)
    {
        LevelNode& child = folder.children.emplace_back();
        child.name = QByteArray(name.data(), qsizetype(name.size()));
        child.isDirectory = isDirectory;
        child.isListed = isDirectory && folder.level + 1 < mode_.levels->depth;
        child.parent = &folder;
        child.ordinal = std::uint32_t(ordinal);
        child.level = folder.level + 1;
        child.top = child.level == 1 ? ordinal : folder.top;
        return child;
    }

    // Gives the folders just added their slots, then pushes them with `open`
    // (as work of the folder's root entry) or leaves them in the worker.
    void queueFolders(Worker& worker, const LevelNode& folder, const std::shared_ptr<WaitingFolder>& open)
    {
        if (worker.fresh.empty()) {
            return;
        }
        {
            const std::lock_guard lock(slotsMutex_);
            for (LevelNode* child : worker.fresh) {
                if (!child->isListed) {
                    child->slot = slots_.size();
                    slots_.push_back(child);
                }
            }
        }
        for (LevelNode* child : worker.fresh) {
            worker.subs.push_back({child->name.toStdString(), child});
        }
        worker.fresh.clear();
        if (open) {
            track(folder.top, worker.subs.size(), false);
            pushLevels(open, worker.subs);
        }
    }

    // Whether an opened folder is to be walked, recording it when indexing. A
    // folder below its parent's mount is on its parent's file system and no
    // second name of a folder seen before: folders are reached twice only
    // through mounts (a bind mount of a parent), so only the roots of mounts
    // are looked at for that and remembered. `st` is the folder's own stat
    // when it was taken.
    const Node* admit(Worker& worker, int fd, const struct stat* st, bool anotherMount, const Task& task, bool& walkIt)
    {
        walkIt = true;
        if (anotherMount) {
            walkIt = st != nullptr && !FolderFilter::pseudo(worker.pseudo, fd, st->st_dev);
            if (walkIt && mode_.indexing != nullptr && !mode_.entered->enter(Inode{st->st_dev, st->st_ino})
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
    void walkAlone(Worker& worker, int parentFd, const std::string& name, std::size_t root, const Node* parentNode,
                   LevelNode* level)
    {
        const bool indexing = mode_.indexing != nullptr;
        BoundedWalk::Visitor visitor;
        std::vector<std::vector<const QByteArray*>> skippedByDepth;
        visitor.enter = [&](const BoundedWalk::Folder& folder) {
            if (FolderFilter::pseudo(worker.pseudo, folder.fd, folder.device)) {
                return BoundedWalk::Step::skip;
            }
            if (mode_.skipped != nullptr && !mode_.skipped->empty()) {
                filter_.findSkipped(worker.skipped, folder.device, folder.inode);
                skippedByDepth.resize(folder.depth + 1);
                skippedByDepth[folder.depth] = worker.skipped;
            }
            if (indexing) {
                if (!mode_.entered->enter(Inode{folder.device, folder.inode})) {
                    return BoundedWalk::Step::skip;
                }
                const std::size_t slash = folder.path.rfind('/');
                const std::string_view own =
                    slash == std::string_view::npos ? folder.path : folder.path.substr(slash + 1);
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
                if (folder.depth < skippedByDepth.size()) {
                    worker.skipped = skippedByDepth[folder.depth];
                    if (FolderFilter::isSkipped(worker.skipped, entryName)) {
                        return BoundedWalk::Step::skip;
                    }
                }
                return filter_.entersFolder(entryName) ? BoundedWalk::Step::go : BoundedWalk::Step::skip;
            }
            struct stat st { };
            if (entry.type == DT_REG && ::fstatat(folder.fd, entryName, &st, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISREG(st.st_mode)) {
                file(worker, indexing ? worker.nodes.back() : nullptr, entryName, st, root, level);
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
            const std::size_t top = task.level != nullptr ? task.level->top : 0;
            const int parentFd = task.parent ? task.parent->fd : AT_FDCWD;
            bool anotherMount = true;
            const int fd = task.parent ? FolderListing::openBelow(parentFd, task.name.c_str(), anotherMount)
                                       : FolderListing::open(parentFd, task.name.c_str());
            if (fd < 0) {
                FolderListing::reportSkipped(parentFd, task.name.c_str(), errno);
                track(top, 0);
                return;
            }
            task.parent.reset();
            // The folder's own device and inode are needed at the root of a
            // mount, to find the folders never opened, and in a walk of levels.
            const bool needsStat = anotherMount || task.listed || (mode_.skipped != nullptr && !mode_.skipped->empty());
            struct stat st { };
            const bool known = needsStat && ::fstat(fd, &st) == 0;
            bool walkIt = false;
            const Node* node = admit(worker, fd, known ? &st : nullptr, anotherMount, task, walkIt);
            walkIt = walkIt && (known || !needsStat);
            if (walkIt && task.listed) {
                const auto open = std::make_shared<WaitingFolder>(fd, waiting_);
                if (listLevel(worker, fd, st, *task.level, open)) {
                    track(top, 0);
                }
                return;
            }
            worker.subfolders.clear();
            if (!walkIt || !list(worker, fd, st, task.root, node, task.level) || worker.subfolders.empty()) {
                ::close(fd);
                if (!stopped_.load(std::memory_order_relaxed)) {
                    track(top, 0);
                }
                return;
            }
            track(top, worker.subfolders.size());
            auto folder = std::make_shared<WaitingFolder>(fd, waiting_);
            task.name = std::move(worker.subfolders.front());
            task.parentNode = node;
            if (worker.subfolders.size() > 1) {
                if (waiting_.load(std::memory_order_relaxed) < budget_.waitingFolders) {
                    push(folder, worker.subfolders, 1, task.root, node, task.level);
                } else {
                    std::vector<std::string> rest(std::make_move_iterator(worker.subfolders.begin() + 1),
                                                  std::make_move_iterator(worker.subfolders.end()));
                    for (const std::string& name : rest) {
                        walkAlone(worker, folder->fd, name, task.root, node, task.level);
                        if (stopped_.load(std::memory_order_relaxed)) {
                            return;
                        }
                        track(top, 0);
                    }
                }
            }
            task.parent = std::move(folder);
        }
    }

    const TreeWalker::CancelPredicate& isCancelled_;
    const Mode mode_;
    const FolderFilter filter_;
    const DescriptorBudget budget_;
    std::atomic<bool> stopped_{false};
    std::atomic<int> waiting_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Task> stack_;
    int busy_ = 0;
    int started_ = 0;
    int helpers_ = 0;
    std::vector<qint64> totals_;
    LinkClaims claims_;
    // Levels: work left per root entry, the folders counted whole by slot, the root's subfolders.
    std::unique_ptr<std::atomic<int>[]> tracked_;
    std::mutex slotsMutex_;
    std::vector<LevelNode*> slots_;
    std::vector<Sub> rootSubs_;
    int rootFd_ = -1;
};

} // namespace

bool TreeWalker::EnteredFolders::enter(const Inode& folder)
{
    const std::lock_guard lock(mutex);
    return inodes.insert(folder).second;
}

TreeWalker::TreeWalker(CancelPredicate isCancelled, int threads)
    : isCancelled_(std::move(isCancelled))
    , threads_(threads)
    , folders_(kMaxThreads)
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
        struct stat st { };
        if (::stat(parent.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            skipped_.push_back({{st.st_dev, st.st_ino}, folder.mid(slash + 1)});
        }
    }
}

std::vector<qint64> TreeWalker::totals(const std::vector<QByteArray>& roots)
{
    Pool pool(isCancelled_, threads_, roots.size(), {nullptr, nullptr, nullptr, nullptr, &skipped_});
    bool anyFolder = false;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        struct stat st { };
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

TreeWalker::Entry TreeWalker::levels(const QByteArray& root, const Levels& levels)
{
    LevelNode top;
    top.name = root;
    top.isDirectory = true;
    top.isListed = true;
    Levels settings = levels;
    settings.depth = std::max(levels.depth, 1);
    Pool pool(isCancelled_, threads_, 0, {nullptr, nullptr, nullptr, &settings, &skipped_});
    const int fd = root.isEmpty() ? -1 : ::open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return entryOf(std::move(top));
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || isPseudoFileSystem(fd, st.st_dev) || pool.cancelled()) {
        ::close(fd);
        return entryOf(std::move(top));
    }
    const bool complete = pool.listRoot(fd, st, top);
    if (settings.listed) {
        Entry shown{top.name, true, true, 0, {}, 0};
        shown.children.resize(top.children.size());
        for (const LevelNode& child : top.children) {
            shown.children[child.ordinal] = {child.name, child.isDirectory, child.isListed, child.bytes, {}, 0};
        }
        settings.listed(shown);
    }
    if (complete && settings.finished) {
        for (const LevelNode& child : top.children) {
            if (!child.isDirectory && !pool.cancelled()) {
                settings.finished(child.ordinal);
            }
        }
    }
    pool.queueRoot();
    pool.run(counted_, complete && !pool.cancelled());
    pool.settleLevels();
    return entryOf(std::move(top));
}

} // namespace harborlite::FS
