#include "platform/KernelFile.h"

#include "platform/PathText.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace harborlite::platform {

namespace {

constexpr std::size_t largestBuffer = std::size_t(4) << 20;
constexpr std::size_t firstBuffer = 4096;

// Bytes read from the start of the file, or -1.
ssize_t readFromStart(int fd, char* data, std::size_t size)
{
    std::size_t total = 0;
    while (total < size) {
        const ssize_t count = ::pread(fd, data + total, size - total, off_t(total));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return -1;
        }
        if (count == 0) {
            break;
        }
        total += std::size_t(count);
    }
    return ssize_t(total);
}

} // namespace

KernelFile::KernelFile(const QString& path)
    : path_(pathBytes(path))
{
}

std::string_view KernelFile::read(std::vector<char>& buffer, bool growToFit)
{
    if (path_.isEmpty()) {
        return {};
    }
    if (!fd_.isOpen()) {
        fd_.reset(::open(path_.constData(), O_RDONLY | O_CLOEXEC));
        if (!fd_.isOpen()) {
            return {};
        }
    }
    if (buffer.empty()) {
        buffer.resize(firstBuffer);
    }
    for (;;) {
        const ssize_t count = readFromStart(fd_.get(), buffer.data(), buffer.size());
        if (count < 0) {
            fd_.reset();
            return {};
        }
        if (!growToFit || std::size_t(count) < buffer.size() || buffer.size() >= largestBuffer) {
            return {buffer.data(), std::size_t(count)};
        }
        buffer.resize(buffer.size() * 2);
    }
}

QByteArray readKernelFile(const QString& path)
{
    KernelFile file(path);
    std::vector<char> buffer;
    const std::string_view text = file.read(buffer);
    return {text.data(), qsizetype(text.size())};
}

} // namespace harborlite::platform
