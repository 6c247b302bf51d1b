#pragma once

#include <sys/resource.h>

namespace harborlite::test {

// Lowers the soft limit on open descriptors for one scope, then restores it.
class ScopedOpenFileLimit {
public:
    explicit ScopedOpenFileLimit(rlim_t soft)
    {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        struct rlimit lowered = saved_;
        lowered.rlim_cur = soft;
        ::setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~ScopedOpenFileLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
    ScopedOpenFileLimit(const ScopedOpenFileLimit&) = delete;
    ScopedOpenFileLimit& operator=(const ScopedOpenFileLimit&) = delete;

private:
    struct rlimit saved_ { };
};

} // namespace harborlite::test
