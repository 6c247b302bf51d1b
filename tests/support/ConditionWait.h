#pragma once

#include "support/EventWait.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <source_location>

namespace harborlite::test {

namespace detail {

inline void failHungWait(const std::source_location& where)
{
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "the wait was still unmet after " << kWaitLimit.count() << " s";
}

} // namespace detail

// Waits on `changed` until `done` holds, as condition_variable::wait() does, but
// no longer than kWaitLimit: past it the test fails, naming the file and line of
// the wait, and the waiter goes on with false instead of hanging. Workers call
// it too, so it records a failure rather than throw.
template <typename Done>
bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& changed, Done done,
               const std::source_location where = std::source_location::current())
{
    if (changed.wait_for(lock, kWaitLimit, std::move(done))) {
        return true;
    }
    detail::failHungWait(where);
    return false;
}

// As future.wait(), bounded the same way.
template <typename Future>
bool waitUntilReady(const Future& future, const std::source_location where = std::source_location::current())
{
    if (future.wait_for(kWaitLimit) == std::future_status::ready) {
        return true;
    }
    detail::failHungWait(where);
    return false;
}

} // namespace harborlite::test
