#include "shared/BoundedWalk.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::FS {

namespace {

constexpr int kOpenDirectory = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

struct Level {
    BoundedWalk::Folder folder;
    std::string name;
    std::vector<std::string> pending;
    std::size_t next = 0;
};

class Chain {
public:
    explicit Chain(const BoundedWalk::Visitor& visitor) : visitor_(visitor) {}
    ~Chain()
    {
        for (const Level& level : levels_) {
            if (level.folder.fd >= 0) {
                ::close(level.folder.fd);
            }
        }
    }
    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;

    BoundedWalk::Outcome run(int parentFd, const std::string& name)
    {
        if (!enter(parentFd, name)) {
            return BoundedWalk::Outcome::stopped;
        }
        while (!levels_.empty()) {
            Level& top = levels_.back();
            if (top.next < top.pending.size()) {
                const std::string child = std::move(top.pending[top.next++]);
                if (!enter(top.folder.fd, child)) {
                    return BoundedWalk::Outcome::stopped;
                }
                continue;
            }
            const std::size_t index = levels_.size() - 1;
            if (index > 0 && levels_[index - 1].folder.fd < 0 && !reopenParentOf(index)) {
                return BoundedWalk::Outcome::lost;
            }
            const int parent = index > 0 ? levels_[index - 1].folder.fd : parentFd;
            const std::string left = std::move(top.name);
            ::close(top.folder.fd);
            levels_.pop_back();
            --openLevels_;
            if (visitor_.leave && !visitor_.leave(parent, left)) {
                return BoundedWalk::Outcome::stopped;
            }
        }
        return BoundedWalk::Outcome::completed;
    }

private:
    // false when the visitor stops the walk.
    bool enter(int parentFd, const std::string& name)
    {
        const int fd = ::openat(parentFd, name.c_str(), kOpenDirectory);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            const int error = errno;
            if (fd >= 0) {
                ::close(fd);
            }
            return !visitor_.openFailed || visitor_.openFailed(parentFd, name, error);
        }
        Level level{{fd, st.st_dev, st.st_ino}, name, {}, 0};
        if (!visitor_.enter(level.folder, name, level.pending)) {
            ::close(fd);
            return false;
        }
        levels_.push_back(std::move(level));
        ++openLevels_;
        closeShallowLevels();
        return true;
    }

    void closeShallowLevels()
    {
        for (std::size_t i = 0; openLevels_ > BoundedWalk::kMaxOpenLevels && i < levels_.size(); ++i) {
            int& fd = levels_[i].folder.fd;
            if (fd >= 0) {
                ::close(fd);
                fd = -1;
                --openLevels_;
            }
        }
    }

    bool reopenParentOf(std::size_t index)
    {
        BoundedWalk::Folder& parent = levels_[index - 1].folder;
        const int fd = ::openat(levels_[index].folder.fd, "..", kOpenDirectory);
        struct stat st {};
        if (fd < 0) {
            return false;
        }
        if (::fstat(fd, &st) != 0 || st.st_dev != parent.device || st.st_ino != parent.inode) {
            ::close(fd);
            errno = ESTALE;
            return false;
        }
        parent.fd = fd;
        ++openLevels_;
        return true;
    }

    const BoundedWalk::Visitor& visitor_;
    std::vector<Level> levels_;
    std::size_t openLevels_ = 0;
};

} // namespace

BoundedWalk::Outcome BoundedWalk::run(int parentFd, const std::string& name, const Visitor& visitor)
{
    return Chain(visitor).run(parentFd, name);
}

} // namespace harborlite::FS
