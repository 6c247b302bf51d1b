// The disk map of a whole folder tree ("/" by default) against gdu on the
// same tree, in the same run: after one warm-up of each, every round runs
// both, the order swapped from one round to the next so that neither always
// meets the cache the other left. Each side is its own process (ours is this
// executable building the map as the application does), so both pay the
// same start-up. Prints each side's min/median/max, the ratio of the medians
// and the spread of the per-round ratios.
//
//   disk_map_vs_gdu [folder=/] [rounds=7]
//   disk_map_vs_gdu --map <folder>          one build, prints bytes and nodes
#include "PeerProgram.h"
#include "RoundStats.h"
#include "engine/scanners/RuvozEzazScanner.h"
#include "platform/OpenFileLimit.h"

#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace harborlite;
using harborlite::bench::stats;
using Clock = std::chrono::steady_clock;
using harborlite::bench::Run;
using harborlite::bench::runProgram;

namespace {

std::size_t countNodes(const DiskNode& node)
{
    std::size_t count = 1;
    for (const DiskNode& child : node.children) {
        count += countNodes(child);
    }
    return count;
}

int buildOnce(const char* folder)
{
    platform::raiseOpenFileLimit();
    const DiskNode root = RuvozEzazScanner().buildTree(QFile::decodeName(folder));
    std::printf("%lld bytes, %zu nodes\n", static_cast<long long>(root.size), countNodes(root));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--map") {
        return buildOnce(argv[2]);
    }
    const std::string folder = argc > 1 ? argv[1] : "/";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0) {
        return 1;
    }
    const std::vector<std::string> ours{self, "--map", folder};
    const std::vector<std::string> peer{"gdu", "-n", "-p", "-s", folder};

    std::printf("disk map vs gdu on %s: %ld processors, load average ", folder.c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN));
    if (FILE* load = std::fopen("/proc/loadavg", "r")) {
        double one = 0, five = 0, fifteen = 0;
        if (std::fscanf(load, "%lf %lf %lf", &one, &five, &fifteen) == 3) {
            std::printf("%.2f %.2f %.2f", one, five, fifteen);
        }
        std::fclose(load);
    }
    std::printf("\n%d interleaved rounds after one warm-up of each\n", rounds);

    const Run warmOurs = runProgram(ours);
    const Run warmPeer = runProgram(peer);
    if (!warmOurs.ok || !warmPeer.ok) {
        std::printf("not comparable: disk map %s, gdu %s\n", warmOurs.ok ? "ran" : "failed",
                    warmPeer.ok ? "ran" : "failed (is gdu installed?)");
        return 1;
    }
    std::printf("disk map: %s\ngdu:      %s\n", warmOurs.output.c_str(), warmPeer.output.c_str());

    std::vector<double> oursSeconds;
    std::vector<double> peerSeconds;
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        Run a;
        Run b;
        if (round % 2 == 0) {
            a = runProgram(ours);
            b = runProgram(peer);
        } else {
            b = runProgram(peer);
            a = runProgram(ours);
        }
        if (!a.ok || !b.ok) {
            std::printf("round %d failed\n", round + 1);
            return 1;
        }
        oursSeconds.push_back(a.seconds);
        peerSeconds.push_back(b.seconds);
        ratios.push_back(b.seconds / a.seconds);
        std::printf("round %d: disk map %.3f s, gdu %.3f s, %.2fx\n", round + 1, a.seconds, b.seconds,
                    b.seconds / a.seconds);
    }
    const auto o = stats(oursSeconds);
    const auto p = stats(peerSeconds);
    const auto r = stats(ratios);
    std::printf("%-10s %9s %9s %9s\n", "", "min s", "median s", "max s");
    std::printf("%-10s %9.3f %9.3f %9.3f\n", "disk map", o.min, o.median, o.max);
    std::printf("%-10s %9.3f %9.3f %9.3f\n", "gdu", p.min, p.median, p.max);
    std::printf("gdu / disk map, medians: %.2fx; per round: min %.2fx median %.2fx max %.2fx\n", p.median / o.median,
                r.min, r.median, r.max);
    return 0;
}
