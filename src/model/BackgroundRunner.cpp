#include "model/BackgroundRunner.h"

#include <algorithm>

namespace harborlite {

BackgroundRunner::BackgroundRunner(int workerThreads)
{
    workers_.setMaxThreadCount(std::max(1, workerThreads));
    sampler_.setMaxThreadCount(1);
    // The sampler keeps its thread rather than starting one per sample.
    sampler_.setExpiryTimeout(-1);
}

BackgroundRunner::~BackgroundRunner()
{
    workers_.clear();
    sampler_.clear();
    waitForDone();
}

void BackgroundRunner::start(TaskPriority priority, std::function<void()> work)
{
    ThreadHandOff::start(workers_, std::move(work), poolPriority(priority));
}

void BackgroundRunner::waitForDone()
{
    ThreadHandOff::waitForDone(workers_);
    ThreadHandOff::waitForDone(sampler_);
}

int BackgroundRunner::poolPriority(TaskPriority priority)
{
    return priority == TaskPriority::userInitiated ? 1 : 0;
}

} // namespace harborlite
