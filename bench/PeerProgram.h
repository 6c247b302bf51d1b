#pragma once

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace harborlite::bench {

// The load average over the last minute, as the machine reports it.
inline double loadAverage()
{
    double load = 0;
    if (std::FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &load) != 1) {
            load = 0;
        }
        std::fclose(file);
    }
    return load;
}

struct Run {
    double seconds = 0;
    long peakKiB = 0;
    std::string output;
    bool ok = false;
};

// Runs a program with its standard output captured (first 4 KiB) and errors discarded.
inline Run runProgram(const std::vector<std::string>& arguments)
{
    Run run;
    int channel[2];
    if (::pipe(channel) != 0) {
        return run;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(channel[1], 1);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        ::close(channel[0]);
        std::vector<char*> argv;
        for (const std::string& a : arguments) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(channel[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        if (run.output.size() < 4096) {
            run.output.append(buffer, std::size_t(n));
        }
    }
    ::close(channel[0]);
    int status = 0;
    struct rusage usage { };
    ::wait4(child, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    while (!run.output.empty() && (run.output.back() == '\n' || run.output.back() == ' ')) {
        run.output.pop_back();
    }
    return run;
}

} // namespace harborlite::bench
