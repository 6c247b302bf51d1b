#include "model/ProgressChannel.h"
#include "model/BackgroundRunner.h"

#include <QCoreApplication>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace harborlite;

namespace {

using Channel = ProgressChannel<int, QString>;

// Everything the GUI thread received, in order; the result is written as -1.
struct Received {
    std::vector<int> events;
    QString result;
    QThread* thread = nullptr;
};

std::shared_ptr<Channel> openChannel(std::size_t capacity, QObject* receiver, Received& received)
{
    return Channel::open(
        capacity, receiver,
        [&received](int value) {
            received.events.push_back(value);
            received.thread = QThread::currentThread();
        },
        [&received](QString result) {
            received.events.push_back(-1);
            received.result = std::move(result);
        });
}

void deliverQueuedCalls()
{
    QCoreApplication::sendPostedEvents();
}

} // namespace

class ProgressChannelBurst : public testing::TestWithParam<std::size_t> { };

TEST_P(ProgressChannelBurst, KeepsTheNewestValuesAndDeliversTheResultLast)
{
    const std::size_t capacity = GetParam();
    BackgroundRunner runner;
    QObject receiver;
    Received received;
    std::shared_ptr<Channel> channel = openChannel(capacity, &receiver, received);

    // The GUI thread drains nothing until the whole burst and the result are in.
    runner.start(TaskPriority::utility, [channel] {
        for (int value = 0; value < 1000; ++value) {
            channel->send(value);
        }
        channel->finish(QStringLiteral("done"));
    });
    runner.waitForDone();
    deliverQueuedCalls();

    std::vector<int> expected;
    for (int value = 1000 - static_cast<int>(capacity); value < 1000; ++value) {
        expected.push_back(value);
    }
    expected.push_back(-1);
    EXPECT_EQ(received.events, expected);
    EXPECT_EQ(received.result, QStringLiteral("done"));
    EXPECT_EQ(received.thread, QCoreApplication::instance()->thread());
}

// Scans keep the newest 4 values, the disk map the newest 2.
INSTANTIATE_TEST_SUITE_P(ScanAndDiskMap, ProgressChannelBurst, testing::Values(std::size_t{4}, std::size_t{2}));

TEST(ProgressChannel, BoundsOnlyWhatTheGuiThreadHasNotYetRead)
{
    QObject receiver;
    Received received;
    std::shared_ptr<Channel> channel = openChannel(4, &receiver, received);

    for (int value = 0; value < 10; ++value) {
        channel->send(value);
    }
    deliverQueuedCalls();
    channel->send(10);
    deliverQueuedCalls();
    channel->send(11);
    channel->send(12);
    channel->finish(QStringLiteral("first"));
    channel->finish(QStringLiteral("second"));
    channel->send(13);
    deliverQueuedCalls();

    EXPECT_EQ(received.events, (std::vector<int>{6, 7, 8, 9, 10, 11, 12, -1}));
    EXPECT_EQ(received.result, QStringLiteral("first"));
}

TEST(ProgressChannel, StoppedValuesAreDroppedButTheResultStillArrives)
{
    QObject receiver;
    Received received;
    std::shared_ptr<Channel> channel = openChannel(4, &receiver, received);

    channel->send(1);
    deliverQueuedCalls();
    channel->send(2);
    channel->stopValues();
    channel->send(3);
    channel->finish(QStringLiteral("partial"));
    deliverQueuedCalls();

    EXPECT_EQ(received.events, (std::vector<int>{1, -1}));
    EXPECT_EQ(received.result, QStringLiteral("partial"));
}

TEST(ProgressChannel, DeliversNothingOnceTheReceiverIsGone)
{
    auto receiver = std::make_unique<QObject>();
    Received received;
    std::shared_ptr<Channel> channel = openChannel(4, receiver.get(), received);

    channel->send(1);
    channel->finish(QStringLiteral("late"));
    receiver.reset();
    deliverQueuedCalls();

    EXPECT_TRUE(received.events.empty());
}
