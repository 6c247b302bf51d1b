// Measures FS::size against `du -s -B1` on the same trees in the same run:
// a generated tree of 200,000 entries and /usr. Each side is timed best of
// three after one warm-up pass, so both read from a warm cache.
#include "shared/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace harborlite;
using Clock = std::chrono::steady_clock;

namespace {

double bestSeconds(const std::function<qint64()>& run, qint64& result)
{
    result = run();
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        result = run();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

qint64 duBytes(const QString& path)
{
    QProcess du;
    du.start(QStringLiteral("du"), {QStringLiteral("-s"), QStringLiteral("-B1"), path});
    du.waitForFinished(-1);
    return du.readAllStandardOutput().split('\t').value(0).toLongLong();
}

qint64 countEntries(const QString& path)
{
    QProcess find;
    find.start(QStringLiteral("sh"),
               {QStringLiteral("-c"), QStringLiteral("find \"$1\" 2>/dev/null | wc -l"), QStringLiteral("sh"), path});
    find.waitForFinished(-1);
    return find.readAllStandardOutput().trimmed().toLongLong();
}

// 2,000 folders of 100 files of 1..4096 bytes, two levels deep.
void generateTree(const QString& root)
{
    for (int d = 0; d < 2000; ++d) {
        const QString dir = QStringLiteral("%1/g%2/d%3").arg(root).arg(d / 50).arg(d);
        QDir().mkpath(dir);
        const QByteArray base = QFile::encodeName(dir);
        for (int f = 0; f < 99; ++f) {
            const QByteArray name = base + "/f" + QByteArray::number(f);
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const QByteArray data((f * 37 + d) % 4096 + 1, 'x');
            if (fd >= 0) {
                [[maybe_unused]] const ssize_t written = ::write(fd, data.constData(), size_t(data.size()));
                ::close(fd);
            }
        }
    }
}

void compare(const char* label, const QString& path)
{
    const qint64 entries = countEntries(path);
    qint64 ours = 0;
    qint64 theirs = 0;
    const double ourSeconds = bestSeconds([&] { return FS::size(path); }, ours);
    const double duSeconds = bestSeconds([&] { return duBytes(path); }, theirs);
    const double ourRate = double(entries) / ourSeconds;
    const double duRate = double(entries) / duSeconds;
    std::printf("%-10s entries %9lld  FS::size %8.3f s %11.0f entries/s (%lld bytes)\n", label,
                static_cast<long long>(entries), ourSeconds, ourRate, static_cast<long long>(ours));
    std::printf("%-10s entries %9lld  du -s    %8.3f s %11.0f entries/s (%lld bytes)\n", label,
                static_cast<long long>(entries), duSeconds, duRate, static_cast<long long>(theirs));
    std::printf("%-10s ratio FS::size / du = %.2f\n\n", label, ourRate / duRate);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    generateTree(dir.path());
    compare("generated", dir.path());
    compare("/usr", QStringLiteral("/usr"));
    return 0;
}
