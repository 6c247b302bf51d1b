#pragma once

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace harborlite {

// Carries a plug-in's completions, which may come on any thread, to the thread
// of the object that asked, and counts the requests still out so the host can
// wait for them before it ends (the plug-in's code runs on those workers).
// The asking object owns the relay through a shared pointer, hands weak or
// shared copies to completions and closes it when it goes: work posted after
// that is dropped, and work already queued for it is discarded with it.
class CompletionRelay {
public:
    explicit CompletionRelay(QObject* target);

    // One more request is out.
    void begin();
    // A request has answered: queues `work` on the target's thread (unless the
    // relay is closed) and counts the request as back. Call once per begin().
    void finish(std::function<void()> work);

    // Drops everything posted from now on.
    void close();

    int outstanding() const;
    // Blocks until no request is out or `timeout` has passed; true when none is out.
    bool waitForOutstanding(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable answered_;
    QObject* target_;
    int outstanding_ = 0;
};

} // namespace harborlite
