#include "shared/FolderFilter.h"

#include "platform/MountTable.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>

namespace harborlite::FS {

namespace {

// statfs magic numbers of kernel file systems that hold no user data.
constexpr std::array<unsigned long, 14> kPseudoMagics = {
    0x9fa0UL, // proc
    0x62656572UL, // sysfs
    0x1cd1UL, // devpts
    0x27e0ebUL, // cgroup
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

} // namespace

bool isPseudoFileSystem(int fd, dev_t device)
{
    struct statfs fs { };
    if (::fstatfs(fd, &fs) != 0) {
        return false;
    }
    const auto magic = static_cast<unsigned long>(fs.f_type);
    if (std::find(kPseudoMagics.begin(), kPseudoMagics.end(), magic) != kPseudoMagics.end()) {
        return true;
    }
    return magic == kTmpfsMagic && isDevtmpfsMount(device);
}

FolderFilter::FolderFilter(const TreeWalker::Indexing* indexing, const TreeWalker::EnteredFolders* entered,
                           const std::vector<TreeWalker::Skipped>* skipped)
    : indexing_(indexing)
    , entered_(entered)
    , skipped_(skipped)
{
}

void FolderFilter::findSkipped(std::vector<const QByteArray*>& names, dev_t device, ino_t inode) const
{
    names.clear();
    if (skipped_ == nullptr) {
        return;
    }
    for (const TreeWalker::Skipped& skipped : *skipped_) {
        if (skipped.parent.device == device && skipped.parent.inode == inode) {
            names.push_back(&skipped.name);
        }
    }
}

bool FolderFilter::isSkipped(const std::vector<const QByteArray*>& names, const char* name)
{
    return !names.empty()
        && std::any_of(names.begin(), names.end(), [name](const QByteArray* skipped) { return *skipped == name; });
}

bool FolderFilter::pseudo(std::vector<std::pair<dev_t, bool>>& known, int fd, dev_t device)
{
    for (const auto& [seen, answer] : known) {
        if (seen == device) {
            return answer;
        }
    }
    const bool answer = isPseudoFileSystem(fd, device);
    known.emplace_back(device, answer);
    return answer;
}

bool FolderFilter::entersFolder(const char* name) const
{
    return indexing_ == nullptr || !indexing_->entersFolder || indexing_->entersFolder(name);
}

bool FolderFilter::setAside(int fd, const struct dirent64& entry) const
{
    if (entered_ == nullptr) {
        return false;
    }
    const std::vector<TreeWalker::Inode>& aside = entered_->aside;
    if (std::none_of(aside.begin(), aside.end(),
                     [&](const TreeWalker::Inode& folder) { return folder.inode == entry.d_ino; })) {
        return false;
    }
    struct stat st { };
    return ::fstatat(fd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
        && std::find(aside.begin(), aside.end(), TreeWalker::Inode{st.st_dev, st.st_ino}) != aside.end();
}

} // namespace harborlite::FS
