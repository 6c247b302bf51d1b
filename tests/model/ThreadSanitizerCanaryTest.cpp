// Built only with the thread sanitizer: proves that the suppressions and the
// hand-off marks leave a race in work handed to the runner visible, and that an
// ordered hand-off stays quiet.
#include "model/BackgroundRunner.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <sys/wait.h>

using namespace harborlite;

namespace {

// Each case runs in a child process, which ends here: with status 0 when the
// sanitizer found nothing, with its exit code (66 unless told otherwise) when it
// reported, at once or at exit.
[[noreturn]] void finish()
{
    std::exit(0);
}

void writeOnBothSidesOfStart()
{
    BackgroundRunner runner(1);
    int shared = 0;
    runner.start(TaskPriority::utility, [&shared] { shared = 1; });
    shared = 2;
    runner.waitForDone();
    finish();
}

void writeInWorkAndBeforeTheResultArrives()
{
    BackgroundRunner runner(1);
    QObject receiver;
    int shared = 0;
    runner.run(
        TaskPriority::utility, &receiver, [&shared] { shared = 1; }, [] {});
    shared = 2;
    runner.waitForDone();
    QCoreApplication::sendPostedEvents();
    finish();
}

void readAfterTheResultArrives()
{
    BackgroundRunner runner(1);
    QObject receiver;
    int shared = 0;
    int seen = 0;
    runner.run(
        TaskPriority::utility, &receiver, [&shared] { shared = 1; }, [&] { seen = shared; });
    runner.waitForDone();
    QCoreApplication::sendPostedEvents();
    shared = seen + 1;
    finish();
}

void readAfterWaitingForTheWorkers()
{
    BackgroundRunner runner(1);
    int shared = 0;
    runner.start(TaskPriority::utility, [&shared] { shared = 1; });
    runner.waitForDone();
    shared = 2;
    finish();
}

bool exitedNonZero(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) != 0;
}

struct Case {
    std::string name;
    std::function<void()> run;
    bool races;
};

} // namespace

TEST(ThreadSanitizerCanary, ARaceThroughTheRunnerIsReportedAndAnOrderedHandOffIsNot)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Case cases[] = {
        {"start, then a write on both sides", writeOnBothSidesOfStart, true},
        {"run, then a write before the result", writeInWorkAndBeforeTheResultArrives, true},
        {"run, then a read once the result is in", readAfterTheResultArrives, false},
        {"start, then a write after waiting", readAfterWaitingForTheWorkers, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.races) {
            EXPECT_EXIT(c.run(), exitedNonZero, "WARNING: ThreadSanitizer: data race");
        } else {
            EXPECT_EXIT(c.run(), testing::ExitedWithCode(0), "");
        }
    }
}
