// The tree walk against gdu, ncdu and du, driven by bench/compare-peers.
//
//   walk_peers generate <folder>           builds the repeatable 500,000-entry tree
//   walk_peers compare <folder> [rounds]   times every walker side by side, warm
//   walk_peers size <folder>               one FS::size, prints the bytes
//   walk_peers map <folder>                one disk map build, prints the bytes and nodes
//
// Every side runs as its own process (ours through this executable), so each
// pays the same start-up and its peak resident memory is its own.
#include "engine/scanners/RuvozEzazScanner.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"

#include "PeerProgram.h"
#include "RoundStats.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace harborlite;
using Clock = std::chrono::steady_clock;
using harborlite::bench::loadAverage;
using harborlite::bench::Run;
using harborlite::bench::runProgram;

namespace {

struct Side {
    Side(const char* name, std::vector<std::string> command)
        : label(name)
        , arguments(std::move(command))
    {
    }
    const char* label;
    std::vector<std::string> arguments;
    std::vector<double> seconds;
    long peakKiB = 0;
    std::string output;
    bool ok = true;
};

// Every side once to warm the cache, then round by round each side once, the
// order turning each round, so a burst of load on the shared machine falls on
// all of them alike rather than on whichever runs during it.
std::vector<double> interleavedRounds(std::vector<Side>& sides, int rounds)
{
    for (Side& side : sides) {
        const Run warm = runProgram(side.arguments);
        side.ok = warm.ok;
        side.output = warm.output;
    }
    std::vector<double> loads;
    for (int round = 0; round < rounds; ++round) {
        loads.push_back(loadAverage());
        for (std::size_t k = 0; k < sides.size(); ++k) {
            Side& side = sides[(k + std::size_t(round)) % sides.size()];
            if (!side.ok) {
                continue;
            }
            const Run run = runProgram(side.arguments);
            side.seconds.push_back(run.seconds);
            side.peakKiB = std::max(side.peakKiB, run.peakKiB);
            side.ok = run.ok;
        }
    }
    return loads;
}

std::string shellOutput(const std::string& script, const std::string& folder)
{
    return runProgram({"sh", "-c", script, "sh", folder}).output;
}

// "f12" and the like, built so that GCC 12 sees no overlapping copy.
std::string numbered(char prefix, int number)
{
    std::string name(1, prefix);
    name += std::to_string(number);
    return name;
}

void writeFile(int folderFd, const std::string& name, const std::string& content)
{
    const int fd = ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::perror(name.c_str());
        std::exit(1);
    }
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n <= 0) {
            std::perror(name.c_str());
            std::exit(1);
        }
        done += std::size_t(n);
    }
    ::close(fd);
}

// 100,000 folders up to 30 deep (a random recursive tree plus one chain to
// the full depth), 390,000 files, 15 % of them empty, the others mostly below
// 4 KiB with a few of some MiB, 5 % of those copies of an earlier file's
// content, 5,000 symbolic links and 5,000 extra hard links: 500,000 entries
// below the folder. A file takes at most one block but for the few large
// ones, so the tree holds about 1.8 GB on a file system of 4 KiB blocks.
int generate(const std::string& root)
{
    constexpr int kFolders = 100000;
    constexpr int kLinks = 5000;
    constexpr int kHardLinks = 5000;
    constexpr int kEntries = 500000;
    constexpr int kMaxDepth = 30;
    constexpr int kFiles = kEntries - kFolders - kLinks - kHardLinks;
    std::mt19937_64 random(20261210);
    const auto below = [&](std::uint64_t n) { return random() % n; };

    if (::mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) {
        std::perror(root.c_str());
        return 1;
    }
    std::vector<std::string> paths{root};
    std::vector<int> depths{0};
    paths.reserve(kFolders + 1);
    for (int i = 0; i < kFolders; ++i) {
        std::size_t parent = 0;
        if (i < 30) {
            parent = std::size_t(i); // the chain to the full depth
        } else if (i >= 30 + 24) {
            do {
                parent = std::size_t(below(paths.size()));
            } while (depths[parent] >= kMaxDepth);
        }
        paths.push_back(paths[parent] + "/" + numbered('d', i));
        depths.push_back(depths[parent] + 1);
        if (::mkdir(paths.back().c_str(), 0755) != 0) {
            std::perror(paths.back().c_str());
            return 1;
        }
    }
    std::vector<std::string> contents;
    std::vector<std::string> files;
    files.reserve(kFiles);
    for (int i = 0; i < kFiles; ++i) {
        const std::string& folder = paths[1 + below(kFolders)];
        std::string content;
        if (below(100) < 15) {
            // empty, as markers and placeholders are
        } else if (!contents.empty() && below(100) < 5) {
            content = contents[below(contents.size())];
        } else {
            std::size_t size = std::size_t(1) << below(12); // 1 B .. 4 KiB, mostly small
            size += below(size);
            if (below(40000) == 0) {
                size = (1 + below(8)) << 20; // now and then 1..8 MiB
            }
            content.assign(size, char('a' + below(26)));
            content[0] = char(i);
            content += std::to_string(i);
            if (contents.size() < 20000 && size < 65536) {
                contents.push_back(content);
            }
        }
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        writeFile(fd, numbered('f', i), content);
        ::close(fd);
        files.push_back(folder + "/" + numbered('f', i));
    }
    for (int i = 0; i < kLinks; ++i) {
        const std::string target = below(2) ? paths[below(paths.size())] : files[below(files.size())];
        const std::string link = paths[1 + below(kFolders)] + "/" + numbered('l', i);
        if (::symlink(target.c_str(), link.c_str()) != 0) {
            std::perror(link.c_str());
            return 1;
        }
    }
    for (int i = 0; i < kHardLinks; ++i) {
        const std::string name = paths[1 + below(kFolders)] + "/" + numbered('h', i);
        if (::link(files[below(files.size())].c_str(), name.c_str()) != 0) {
            std::perror(name.c_str());
            return 1;
        }
    }
    std::printf("generated %d entries below %s\n", kEntries, root.c_str());
    return 0;
}

std::size_t countNodes(const DiskNode& node)
{
    std::size_t count = 1;
    for (const DiskNode& child : node.children) {
        count += countNodes(child);
    }
    return count;
}

double perSecond(double entries, double seconds)
{
    return seconds > 0 ? entries / seconds : 0;
}

int compare(const std::string& self, const std::string& folder, int rounds)
{
    const double entries = std::atof(shellOutput("find \"$1\" -mindepth 1 2>/dev/null | wc -l", folder).c_str());
    const std::string independent = shellOutput("find \"$1\" -type f -printf '%D:%i %b\\n' 2>/dev/null | sort -u | awk "
                                                "'{s += $2 * 512} END {printf \"%.0f\", s}'",
                                                folder);
    std::printf("\n== %s: %.0f entries, %d rounds after one warm-up, warm cache, contenders interleaved\n",
                folder.c_str(), entries, rounds);
    std::printf("independent count (allocated blocks of regular files, each inode once): %s bytes\n",
                independent.c_str());

    std::vector<Side> sides = {
        {"FS::size", {self, "size", folder}},
        {"disk map", {self, "map", folder}},
        {"gdu -n -s -p", {"gdu", "-n", "-s", "-p", folder}},
        {"ncdu -0 -o /dev/null", {"ncdu", "-0", "-o", "/dev/null", folder}},
        {"du -s -B1", {"du", "-s", "-B1", folder}},
    };
    const std::vector<double> loads = interleavedRounds(sides, rounds);
    const bench::Stats load = bench::stats(loads);
    std::printf("load average (1 min) at each round: min %.2f median %.2f max %.2f on %ld processors\n", load.min,
                load.median, load.max, ::sysconf(_SC_NPROCESSORS_ONLN));
    std::printf("%-22s %8s %8s %8s %12s %10s  %s\n", "", "min s", "median s", "max s", "entries/s", "peak MiB",
                "result");
    for (const Side& side : sides) {
        if (!side.ok || side.seconds.empty()) {
            std::printf("%-22s (not available)\n", side.label);
            continue;
        }
        const bench::Stats t = bench::stats(side.seconds);
        std::printf("%-22s %8.3f %8.3f %8.3f %12.0f %10.1f  %s\n", side.label, t.min, t.median, t.max,
                    perSecond(entries, t.median), double(side.peakKiB) / 1024.0, side.output.c_str());
    }
    // The ratio of each round, then its spread: both sides of a round met the same load.
    for (std::size_t ours = 0; ours < 2; ++ours) {
        for (std::size_t peer = 2; peer < sides.size(); ++peer) {
            if (!sides[ours].ok || !sides[peer].ok || sides[ours].seconds.size() != sides[peer].seconds.size()) {
                continue;
            }
            std::vector<double> ratios;
            for (std::size_t r = 0; r < sides[ours].seconds.size(); ++r) {
                ratios.push_back(sides[peer].seconds[r] / sides[ours].seconds[r]);
            }
            const bench::Stats ratio = bench::stats(ratios);
            std::printf("%s is %.2fx as fast as %s (rounds: min %.2fx median %.2fx max %.2fx)\n", sides[ours].label,
                        bench::stats(sides[peer].seconds).median / bench::stats(sides[ours].seconds).median,
                        sides[peer].label, ratio.min, ratio.median, ratio.max);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "generate") {
        return generate(argv[2]);
    }
    if (mode == "compare") {
        char self[4096] = {};
        if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0) {
            return 1;
        }
        return compare(self, argv[2], argc > 3 ? std::max(1, std::atoi(argv[3])) : 5);
    }
    if (mode == "size") {
        std::printf("%lld bytes\n", static_cast<long long>(FS::size(platform::pathText(std::string_view(argv[2])))));
        return 0;
    }
    if (mode == "map") {
        const DiskNode root = RuvozEzazScanner().buildTree(platform::pathText(std::string_view(argv[2])));
        std::printf("%lld bytes, %zu nodes\n", static_cast<long long>(root.size), countNodes(root));
        return 0;
    }
    std::fprintf(stderr, "usage: %s generate|compare|size|map <folder> [rounds]\n", argv[0]);
    return 2;
}
