#pragma once

#include "model/GuiThread.h"

#include <QPointer>

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace harborlite {

// Carries the progress values and the final result of one background run to
// the GUI thread. At most `capacity` undelivered values wait: when the GUI
// thread lags, a new value pushes out the oldest waiting one, so a fast worker
// never floods the event queue. Values arrive in the order they were sent and
// the result arrives after every value sent before it. Nothing is delivered
// once the receiver is gone.
template <typename Value, typename Result>
class ProgressChannel : public std::enable_shared_from_this<ProgressChannel<Value, Result>> {
    struct Token { };

public:
    using ValueHandler = std::function<void(Value)>;
    using ResultHandler = std::function<void(Result)>;

    // Call on the GUI thread; the handlers run there while `receiver` exists.
    static std::shared_ptr<ProgressChannel> open(std::size_t capacity, QObject* receiver, ValueHandler onValue,
                                                 ResultHandler onResult)
    {
        Q_ASSERT(GuiThread::isCurrent());
        return std::make_shared<ProgressChannel>(Token{}, capacity, receiver, std::move(onValue), std::move(onResult));
    }

    ProgressChannel(Token, std::size_t capacity, QObject* receiver, ValueHandler onValue, ResultHandler onResult)
        : capacity_(capacity)
        , receiver_(receiver)
        , onValue_(std::move(onValue))
        , onResult_(std::move(onResult))
    {
        Q_ASSERT(capacity_ > 0);
    }

    ProgressChannel(const ProgressChannel&) = delete;
    ProgressChannel& operator=(const ProgressChannel&) = delete;

    // Any thread. Ignored after finish() and after stopValues().
    void send(Value value)
    {
        std::lock_guard lock(mutex_);
        if (finished_ || valuesStopped_) {
            return;
        }
        pending_.push_back(std::move(value));
        if (pending_.size() > capacity_) {
            pending_.pop_front();
        }
        queueDrain();
    }

    // Any thread, once; later calls are ignored.
    void finish(Result result)
    {
        std::lock_guard lock(mutex_);
        if (finished_) {
            return;
        }
        finished_ = true;
        result_.emplace(std::move(result));
        queueDrain();
    }

    // GUI thread: values not yet delivered and all later ones are dropped; the
    // result is still delivered.
    void stopValues()
    {
        Q_ASSERT(GuiThread::isCurrent());
        std::lock_guard lock(mutex_);
        valuesStopped_ = true;
        pending_.clear();
    }

private:
    // Called with the mutex held: one drain at a time waits in the event queue.
    void queueDrain()
    {
        if (drainQueued_) {
            return;
        }
        drainQueued_ = true;
        GuiThread::post([self = this->shared_from_this()] { self->drain(); });
    }

    void drain()
    {
        std::deque<Value> values;
        std::optional<Result> result;
        {
            std::lock_guard lock(mutex_);
            values.swap(pending_);
            result.swap(result_);
            drainQueued_ = false;
        }
        for (Value& value : values) {
            // A handler may stop the values or end the receiver.
            if (!receiver_ || valuesStopped_) {
                break;
            }
            onValue_(std::move(value));
        }
        if (result && receiver_) {
            onResult_(std::move(*result));
        }
    }

    const std::size_t capacity_;
    std::mutex mutex_;
    std::deque<Value> pending_;
    std::optional<Result> result_;
    bool finished_ = false;
    bool drainQueued_ = false;
    // Written on the GUI thread under the mutex, so the GUI thread may read it without.
    bool valuesStopped_ = false;
    // Made, read and used on the GUI thread only.
    QPointer<QObject> receiver_;
    ValueHandler onValue_;
    ResultHandler onResult_;
};

} // namespace harborlite
