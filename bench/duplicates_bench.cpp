// Times the duplicates scan of one folder, several rounds after one warm-up
// round, and prints min/median/max seconds with the sets, copies and bytes
// found. When `jdupes` is on the PATH, `jdupes -r -q` is timed the same way on
// the same folder in the same run and the ratio of the medians is printed.
//
//   duplicates_bench <folder> [rounds=5] [minimum size in bytes=1]
//
// jdupes considers every non-empty file, so the default minimum size is 1 byte.
// Our scan leaves out hidden entries and whatever the safety guard refuses (the
// system folders under /usr among them), which jdupes does not.
#include "engine/scanners/DuplicatesScanner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace harborlite;
using Clock = std::chrono::steady_clock;

namespace {

struct Timing {
    double min = 0;
    double median = 0;
    double max = 0;
};

Timing time(int rounds, const std::function<void()>& run)
{
    run();
    std::vector<double> seconds;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        run();
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2], seconds.back()};
}

void print(const char* label, const Timing& t)
{
    std::printf("%-10s min %8.3f s  median %8.3f s  max %8.3f s\n", label, t.min, t.median, t.max);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [rounds] [minimum size]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const qint64 minimumSize = argc > 3 ? std::atoll(argv[3]) : 1;

    CategoryResult result;
    const DuplicatesScanner scanner(minimumSize, QStringList{folder});
    const Timing ours = time(rounds, [&] { result = scanner.scan({}, [] { return false; }); });
    std::printf("folder %s, %d rounds, minimum size %lld bytes\n", argv[1], rounds,
                static_cast<long long>(minimumSize));
    print("ours", ours);
    std::printf("ours found %lld sets, %d copies, %lld bytes reclaimable\n",
                static_cast<long long>(result.groups.size()), result.itemCount(),
                static_cast<long long>(result.totalSize()));

    const QString jdupes = QStandardPaths::findExecutable(QStringLiteral("jdupes"));
    if (jdupes.isEmpty()) {
        std::printf("jdupes not found: no comparison\n");
        return 0;
    }
    QByteArray summary;
    const Timing theirs = time(rounds, [&] {
        QProcess process;
        process.start(jdupes, {QStringLiteral("-r"), QStringLiteral("-q"), QStringLiteral("-m"), folder});
        process.waitForFinished(-1);
        summary = process.readAllStandardOutput().trimmed();
    });
    print("jdupes -r", theirs);
    std::printf("jdupes found: %s\n", summary.constData());
    std::printf("ratio ours / jdupes (median) = %.2f\n", ours.median / theirs.median);
    return 0;
}
