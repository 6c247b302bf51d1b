#include "shared/BoundedWalk.h"

#include "shared/FolderListing.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace harborlite::FS {

namespace {

struct Slot {
    std::uint32_t offset = 0;
    std::uint16_t length = 0;
    unsigned char type = DT_UNKNOWN;
};

struct Level {
    BoundedWalk::Folder folder;
    std::string name;
    std::size_t pathLength = 0;
    std::string names; // the listing, each name followed by a NUL
    std::vector<Slot> slots;
    std::size_t next = 0;
};

unsigned char typeOf(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return DT_DIR;
    case S_IFREG:
        return DT_REG;
    case S_IFLNK:
        return DT_LNK;
    case S_IFIFO:
        return DT_FIFO;
    case S_IFSOCK:
        return DT_SOCK;
    case S_IFCHR:
        return DT_CHR;
    case S_IFBLK:
        return DT_BLK;
    default:
        return DT_UNKNOWN;
    }
}

class Chain {
public:
    Chain(const BoundedWalk::Visitor& visitor, BoundedWalk::Options options)
        : visitor_(visitor)
        , options_(options)
    {
    }
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
        path_ = name;
        if (!enter(parentFd, name)) {
            return BoundedWalk::Outcome::stopped;
        }
        while (!levels_.empty()) {
            Level& top = levels_.back();
            if (top.next < top.slots.size()) {
                const Slot slot = top.slots[top.next++];
                const char* entryName = top.names.data() + slot.offset;
                unsigned char type = slot.type;
                if (type == DT_UNKNOWN) {
                    struct stat st { };
                    if (::fstatat(top.folder.fd, entryName, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                        continue;
                    }
                    type = typeOf(st.st_mode);
                }
                BoundedWalk::Folder shown = top.folder;
                shown.path = path_;
                const BoundedWalk::Step step = visitor_.entry
                    ? visitor_.entry(shown, {std::string_view(entryName, slot.length), type})
                    : BoundedWalk::Step::go;
                if (step == BoundedWalk::Step::stop) {
                    return BoundedWalk::Outcome::stopped;
                }
                if (step == BoundedWalk::Step::go && type == DT_DIR) {
                    const std::string child(entryName, slot.length);
                    const int parent = top.folder.fd;
                    const std::size_t back = path_.size();
                    if (path_.empty() || path_.back() != '/') {
                        path_ += '/';
                    }
                    path_ += child;
                    const bool goOn = enter(parent, child);
                    if (levels_.back().pathLength != path_.size() || !goOn) {
                        path_.resize(back);
                    }
                    if (!goOn) {
                        return BoundedWalk::Outcome::stopped;
                    }
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
            if (!levels_.empty()) {
                path_.resize(levels_.back().pathLength);
            }
            if (visitor_.leave && !visitor_.leave(parent, left)) {
                return BoundedWalk::Outcome::stopped;
            }
        }
        return BoundedWalk::Outcome::completed;
    }

private:
    // Opens, lists and shows one folder; false when the walk is to stop.
    bool enter(int parentFd, const std::string& name)
    {
        const int fd = FolderListing::open(parentFd, name.c_str());
        struct stat st { };
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            const int error = errno;
            if (fd >= 0) {
                ::close(fd);
            }
            if (visitor_.openFailed) {
                return visitor_.openFailed(parentFd, name, error);
            }
            FolderListing::reportSkipped(parentFd, name.c_str(), error);
            return true;
        }
        Level level;
        level.folder = {fd, st.st_dev, st.st_ino, levels_.size(), {}, 0};
        level.name = name;
        level.pathLength = path_.size();
        listing_.reset(fd);
        while (const struct dirent64* entry = listing_.next()) {
            if (options_.skipHidden && entry->d_name[0] == '.') {
                continue;
            }
            const std::size_t length = std::char_traits<char>::length(entry->d_name);
            level.slots.push_back({std::uint32_t(level.names.size()), std::uint16_t(length), entry->d_type});
            level.names.append(entry->d_name, length + 1);
        }
        level.folder.listingError = listing_.error();
        if (options_.nameOrder) {
            const std::string& names = level.names;
            std::sort(level.slots.begin(), level.slots.end(), [&names](const Slot& a, const Slot& b) {
                return std::string_view(names.data() + a.offset, a.length)
                    < std::string_view(names.data() + b.offset, b.length);
            });
        }
        BoundedWalk::Folder shown = level.folder;
        shown.path = path_;
        const BoundedWalk::Step step = visitor_.enter ? visitor_.enter(shown) : BoundedWalk::Step::go;
        if (step != BoundedWalk::Step::go) {
            ::close(fd);
            return step == BoundedWalk::Step::skip;
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
        const int fd = ::openat(levels_[index].folder.fd, "..", FolderListing::kOpenFlags);
        struct stat st { };
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
    const BoundedWalk::Options options_;
    FolderListing listing_;
    std::vector<Level> levels_;
    std::size_t openLevels_ = 0;
    std::string path_;
};

} // namespace

BoundedWalk::Outcome BoundedWalk::run(int parentFd, const std::string& name, const Visitor& visitor, Options options)
{
    return Chain(visitor, options).run(parentFd, name);
}

BoundedWalk::Outcome BoundedWalk::run(int parentFd, const std::string& name, const Visitor& visitor)
{
    return run(parentFd, name, visitor, Options{});
}

} // namespace harborlite::FS
