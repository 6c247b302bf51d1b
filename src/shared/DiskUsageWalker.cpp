#include "shared/DiskUsageWalker.h"

#include "platform/MountTable.h"

#include <QFile>

#include <array>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// devtmpfs reports the tmpfs magic, so it is told apart by its mount entry.
bool isDevtmpfsMount(dev_t device)
{
    return platform::fileSystemTypeOf(device) == QLatin1String("devtmpfs");
}

} // namespace

DiskUsageWalker::DiskUsageWalker(const std::function<bool()>& isCancelled)
    : isCancelled_(isCancelled)
{
}

DiskUsageWalker::~DiskUsageWalker()
{
    clear();
}

void DiskUsageWalker::clear()
{
    for (Level& level : levels_) {
        if (level.stream != nullptr) {
            ::closedir(level.stream);
        }
    }
    levels_.clear();
    openLevels_ = 0;
}

bool DiskUsageWalker::isPseudoFileSystem(int fd, dev_t device)
{
    if (device == lastCheckedDevice_ && lastCheckedDevice_ != 0) {
        return lastCheckedPseudo_;
    }
    struct statfs fs {};
    bool pseudo = false;
    if (::fstatfs(fd, &fs) == 0) {
        const auto magic = static_cast<unsigned long>(fs.f_type);
        pseudo = std::find(kPseudoMagics.begin(), kPseudoMagics.end(), magic) != kPseudoMagics.end();
        constexpr unsigned long kTmpfsMagic = 0x01021994UL;
        if (!pseudo && magic == kTmpfsMagic) {
            pseudo = isDevtmpfsMount(device);
        }
    }
    lastCheckedDevice_ = device;
    lastCheckedPseudo_ = pseudo;
    return pseudo;
}

bool DiskUsageWalker::push(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    const dev_t parentDevice = levels_.empty() ? 0 : levels_.back().device;
    if ((levels_.empty() || st.st_dev != parentDevice) && isPseudoFileSystem(fd, st.st_dev)) {
        ::close(fd);
        return false;
    }
    DIR* stream = ::fdopendir(fd);
    if (stream == nullptr) {
        ::close(fd);
        return false;
    }
    levels_.push_back({stream, st.st_dev, st.st_ino, 0});
    ++openLevels_;
    closeShallowLevels();
    return true;
}

void DiskUsageWalker::closeShallowLevels()
{
    // Close the shallowest open streams; each remembers where it stood.
    for (size_t i = 0; openLevels_ > kMaxOpenLevels && i < levels_.size(); ++i) {
        Level& level = levels_[i];
        if (level.stream == nullptr) {
            continue;
        }
        level.position = ::telldir(level.stream);
        ::closedir(level.stream);
        level.stream = nullptr;
        --openLevels_;
    }
}

bool DiskUsageWalker::reopenParentOf(size_t index)
{
    Level& parent = levels_[index - 1];
    const int fd = ::openat(::dirfd(levels_[index].stream), "..", kOpenDirectory);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != parent.device || st.st_ino != parent.inode) {
        // The tree was moved while we were below it: the way back is lost.
        ::close(fd);
        return false;
    }
    DIR* stream = ::fdopendir(fd);
    if (stream == nullptr) {
        ::close(fd);
        return false;
    }
    ::seekdir(stream, parent.position);
    parent.stream = stream;
    ++openLevels_;
    return true;
}

qint64 DiskUsageWalker::total(const QByteArray& path)
{
    clear();
    if (path.isEmpty()) {
        return 0;
    }
    struct stat root {};
    if (::lstat(path.constData(), &root) != 0) {
        return 0;
    }
    if (!S_ISDIR(root.st_mode)) {
        return qint64(root.st_blocks) * 512;
    }
    if (isCancelled_ && isCancelled_()) {
        return 0;
    }
    const int rootFd = ::open(path.constData(), kOpenDirectory);
    if (rootFd < 0 || !push(rootFd)) {
        return 0;
    }

    qint64 total = 0;
    while (!levels_.empty()) {
        Level& level = levels_.back();
        const dirent* entry = ::readdir(level.stream);
        if (entry == nullptr) {
            const size_t index = levels_.size() - 1;
            if (index > 0 && levels_[index - 1].stream == nullptr && !reopenParentOf(index)) {
                break;
            }
            ::closedir(levels_[index].stream);
            --openLevels_;
            levels_.pop_back();
            continue;
        }
        if (isDotOrDotDot(entry->d_name)) {
            continue;
        }
        if (isCancelled_ && isCancelled_()) {
            break;
        }
        const int dirFd = ::dirfd(level.stream);
        const unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN || type == DT_REG) {
            struct stat st {};
            if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            if (S_ISREG(st.st_mode)) {
                total += qint64(st.st_blocks) * 512;
                continue;
            }
            if (type == DT_REG || !S_ISDIR(st.st_mode)) {
                continue;
            }
        } else if (type != DT_DIR) {
            continue;
        }
        const int childFd = ::openat(dirFd, entry->d_name, kOpenDirectory);
        if (childFd >= 0) {
            push(childFd);
        }
    }
    clear();
    return total;
}

} // namespace harborlite::FS
