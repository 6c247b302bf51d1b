// The duplicates scan against `jdupes -r` on the same folder, driven by
// bench/compare-peers.
//
//   duplicates_bench compare <folder> [rounds=5] [minimum size=1]
//   duplicates_bench sets <folder> [minimum size=1]     one scan, its sets on stdout
//
// Both sides run as child processes, round by round with the order turning
// each round (so a burst of load on a shared machine falls on both), one
// warm-up round first: min/median/max seconds, peak resident memory and the
// load average. Each side's peak on an empty folder is its start-up memory;
// the peak above it is what the scan itself takes, the libraries the program
// loads apart. jdupes considers every non-empty file, so the default minimum
// size is 1 byte. The sets are compared after jdupes' are held to what our
// scan looks at (no hidden entries, nothing below a pruned folder or a
// package), each set as its distinct files (device and inode), so hard links
// of one file count once.
#include "engine/scanners/ContentWalk.h"
#include "engine/scanners/DuplicatesScanner.h"
#include "platform/PathText.h"

#include "PeerProgram.h"
#include "RoundStats.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <sstream>
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

namespace {

using Inode = std::pair<unsigned long long, unsigned long long>;
using Sets = std::set<std::vector<Inode>>;

struct Run {
    double seconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

// Runs a program with its standard output written to `output`.
Run runProgram(const std::vector<std::string>& arguments, const std::string& output)
{
    Run run;
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        ::dup2(out, 1);
        ::dup2(null, 2);
        std::vector<char*> argv;
        for (const std::string& a : arguments) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage { };
    ::wait4(child, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

std::string readAll(const std::string& path)
{
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            text.append(buffer, n);
        }
        std::fclose(file);
    }
    return text;
}

std::optional<Inode> inodeOf(const std::string& path)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return Inode{st.st_dev, st.st_ino};
}

void addSet(Sets& sets, const std::vector<std::string>& paths)
{
    std::set<Inode> files;
    for (const std::string& path : paths) {
        if (const std::optional<Inode> inode = inodeOf(path)) {
            files.insert(*inode);
        }
    }
    if (files.size() >= 2) {
        sets.insert(std::vector<Inode>(files.begin(), files.end()));
    }
}

// Whether our scan looks at the file at all: no step below the folder is
// hidden, a pruned folder or a package.
bool looked(const std::string& folder, const std::string& path)
{
    std::string_view rest(path);
    if (rest.substr(0, folder.size()) != folder) {
        return false;
    }
    rest.remove_prefix(folder.size());
    std::vector<std::string_view> steps;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view step = rest.substr(0, slash);
        if (!step.empty()) {
            steps.push_back(step);
        }
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string_view step = steps[i];
        if (step.front() == '.') {
            return false;
        }
        if (i + 1 < steps.size()
            && (DuplicatesScanner::prunedDirectories().contains(QString::fromUtf8(step.data(), qsizetype(step.size())))
                || ContentWalk::isPackage(step))) {
            return false;
        }
    }
    return true;
}

// jdupes prints each set as its paths, one a line, with a blank line after it.
Sets jdupesSets(const std::string& folder, const std::string& text)
{
    Sets sets;
    std::vector<std::string> paths;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) {
            addSet(sets, paths);
            paths.clear();
        } else if (looked(folder, line)) {
            paths.push_back(line);
        }
    }
    addSet(sets, paths);
    return sets;
}

// Ours: a set per line, its paths separated by NUL.
Sets ourSets(const std::string& text)
{
    Sets sets;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> paths;
        std::size_t start = 0;
        for (std::size_t nul; (nul = line.find('\0', start)) != std::string::npos; start = nul + 1) {
            paths.push_back(line.substr(start, nul - start));
        }
        paths.push_back(line.substr(start));
        addSet(sets, paths);
    }
    return sets;
}

int printSets(const QString& folder, qint64 minimumSize)
{
    const DuplicatesScanner scanner(minimumSize, QStringList{folder});
    const CategoryResult result = scanner.scan({}, [] { return false; });
    for (const ScanGroup& group : result.groups) {
        const QString kept = group.items.front().detail->mid(QStringLiteral("Copy of ").size());
        std::string line = platform::pathBytes(kept).toStdString();
        for (const ScanItem& item : group.items) {
            line += '\0';
            line += platform::pathBytes(item.url).toStdString();
        }
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}

struct Side {
    Side(const char* name, std::vector<std::string> command, std::size_t folderArgument, std::string file)
        : label(name)
        , arguments(std::move(command))
        , folderAt(folderArgument)
        , output(std::move(file))
    {
    }
    // The same command on another folder.
    std::vector<std::string> on(const std::string& folder) const
    {
        std::vector<std::string> moved = arguments;
        moved[folderAt] = folder;
        return moved;
    }
    const char* label;
    std::vector<std::string> arguments;
    std::size_t folderAt;
    std::string output;
    std::vector<double> seconds;
    long peakKiB = 0;
    // Peak resident memory of a scan of an empty folder: what the program
    // holds before it scans anything (for ours, Qt and the libraries it loads).
    long startKiB = 0;
    bool ok = true;
};

int compare(const std::string& self, const std::string& folder, int rounds, long long minimumSize)
{
    const std::string scratch = "/tmp/harborlite-duplicates-" + std::to_string(::getpid());
    std::vector<Side> sides = {
        {"ours", {self, "sets", folder, std::to_string(minimumSize)}, 2, scratch + "-ours"},
        {"jdupes -r", {"jdupes", "-r", "-q", folder}, 3, scratch + "-jdupes"},
    };
    const std::string empty = scratch + "-empty";
    ::mkdir(empty.c_str(), 0700);
    for (Side& side : sides) {
        side.startKiB = runProgram(side.on(empty), "/dev/null").peakKiB;
    }
    ::rmdir(empty.c_str());
    std::printf("\n== duplicates in %s: %d rounds after one warm-up, interleaved, minimum size %lld bytes\n",
                folder.c_str(), rounds, minimumSize);
    for (Side& side : sides) {
        side.ok = runProgram(side.arguments, side.output).ok;
    }
    std::vector<double> loads;
    for (int round = 0; round < rounds; ++round) {
        loads.push_back(loadAverage());
        for (std::size_t k = 0; k < sides.size(); ++k) {
            Side& side = sides[(k + std::size_t(round)) % sides.size()];
            if (!side.ok) {
                continue;
            }
            const Run run = runProgram(side.arguments, side.output);
            side.seconds.push_back(run.seconds);
            side.peakKiB = std::max(side.peakKiB, run.peakKiB);
            side.ok = run.ok;
        }
    }
    const bench::Stats load = bench::stats(loads);
    std::printf("load average (1 min) at each round: min %.2f median %.2f max %.2f on %ld processors\n", load.min,
                load.median, load.max, ::sysconf(_SC_NPROCESSORS_ONLN));
    for (const Side& side : sides) {
        if (!side.ok || side.seconds.empty()) {
            std::printf("%-10s (not available)\n", side.label);
            continue;
        }
        const bench::Stats t = bench::stats(side.seconds);
        std::printf("%-10s min %8.3f s  median %8.3f s  max %8.3f s  peak %8.1f MiB  at start-up %6.1f MiB\n",
                    side.label, t.min, t.median, t.max, double(side.peakKiB) / 1024.0, double(side.startKiB) / 1024.0);
    }
    if (sides[0].ok && sides[1].ok && sides[0].seconds.size() == sides[1].seconds.size()) {
        std::vector<double> ratios;
        for (std::size_t r = 0; r < sides[0].seconds.size(); ++r) {
            ratios.push_back(sides[0].seconds[r] / sides[1].seconds[r]);
        }
        const bench::Stats ratio = bench::stats(ratios);
        std::printf("ours / jdupes wall time: median of medians %.2fx (rounds: min %.2fx median %.2fx max %.2fx); "
                    "peak memory %.2fx\n",
                    bench::stats(sides[0].seconds).median / bench::stats(sides[1].seconds).median, ratio.min,
                    ratio.median, ratio.max, double(sides[0].peakKiB) / double(std::max(sides[1].peakKiB, 1L)));
        const auto scanKiB = [](const Side& side) { return std::max(side.peakKiB - side.startKiB, 1L); };
        std::printf("memory the scan itself takes (peak above start-up): ours %.1f MiB, jdupes %.1f MiB, %.2fx\n",
                    double(scanKiB(sides[0])) / 1024.0, double(scanKiB(sides[1])) / 1024.0,
                    double(scanKiB(sides[0])) / double(scanKiB(sides[1])));
        const Sets ours = ourSets(readAll(sides[0].output));
        const Sets theirs = jdupesSets(folder, readAll(sides[1].output));
        std::size_t onlyOurs = 0;
        std::size_t onlyTheirs = 0;
        for (const std::vector<Inode>& set : ours) {
            onlyOurs += theirs.count(set) == 0 ? 1 : 0;
        }
        for (const std::vector<Inode>& set : theirs) {
            onlyTheirs += ours.count(set) == 0 ? 1 : 0;
        }
        std::printf("sets (distinct files each): ours %zu, jdupes %zu; only ours %zu, only jdupes %zu: %s\n",
                    ours.size(), theirs.size(), onlyOurs, onlyTheirs,
                    onlyOurs == 0 && onlyTheirs == 0 ? "the same sets" : "DIFFERENT");
    }
    for (const Side& side : sides) {
        ::unlink(side.output.c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "sets") {
        return printSets(platform::pathText(std::string_view(argv[2])), argc > 3 ? std::atoll(argv[3]) : 1);
    }
    if (mode == "compare") {
        char self[4096] = {};
        if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0) {
            return 1;
        }
        std::string folder = argv[2];
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return compare(self, folder, argc > 3 ? std::max(1, std::atoi(argv[3])) : 5,
                       argc > 4 ? std::atoll(argv[4]) : 1);
    }
    std::fprintf(stderr, "usage: %s compare <folder> [rounds] [minimum size] | sets <folder> [minimum size]\n",
                 argv[0]);
    return 2;
}
