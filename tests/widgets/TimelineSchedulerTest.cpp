#include "FakeWidget.h"

#include "platform/Clock.h"
#include "support/EventWait.h"
#include "widgets/host/TimelinePlan.h"
#include "widgets/host/TimelineScheduler.h"

#include <QPointer>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::fakeEntry;
using harborlite::test::FakeWidget;
using harborlite::test::markOf;

namespace {

const QDateTime kNow = QDateTime(QDate(2024, 5, 6), QTime(10, 30), Qt::UTC);

// Timers the test fires itself.
struct Alarms {
    struct Alarm {
        QPointer<QObject> context;
        std::chrono::milliseconds delay;
        std::function<void()> fire;
    };
    std::vector<Alarm> armed;

    TimelineScheduler::Setup setup()
    {
        return {[this](QObject* context, std::chrono::milliseconds delay, std::function<void()> fire) {
            armed.push_back({context, delay, std::move(fire)});
        }};
    }

    // The alarms still live (their context not cancelled), by delay.
    std::vector<std::chrono::milliseconds> live() const
    {
        std::vector<std::chrono::milliseconds> delays;
        for (const Alarm& alarm : armed) {
            if (alarm.context) {
                delays.push_back(alarm.delay);
            }
        }
        return delays;
    }

    // Fires the live alarm of `delay`.
    bool fire(std::chrono::milliseconds delay)
    {
        for (Alarm& alarm : armed) {
            if (alarm.context && alarm.delay == delay) {
                alarm.context = nullptr;
                alarm.fire();
                return true;
            }
        }
        return false;
    }
};

constexpr std::chrono::milliseconds kFiveMinutes{300'000};
constexpr std::chrono::milliseconds kTimeout{TimelineScheduler::kRequestTimeout};

struct Shown {
    std::vector<int> marks;
    bool onGuiThread = true;

    TimelineScheduler::Show show()
    {
        return [this](const WidgetEntry& entry) {
            marks.push_back(markOf(entry));
            onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        };
    }
};

WidgetTimeline oneEntry(int mark, qint64 reloadAfter = 300)
{
    return {{fakeEntry(kNow, mark)}, ReloadPolicy::after(kNow.addSecs(reloadAfter))};
}

} // namespace

TEST(TimelineScheduler, ShowsThePlaceholderThenTheEntryThenAsksAgainAtTheReloadDate)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeWidget widget;
    Alarms alarms;
    TimelineScheduler scheduler(alarms.setup());
    Shown shown;
    const QUuid id = QUuid::createUuid();

    scheduler.track(id, widget, WidgetFamily::systemSmall, shown.show());
    EXPECT_EQ(shown.marks, std::vector<int>{0}) << "the placeholder at once";
    EXPECT_EQ(widget.pending(), 1u);
    EXPECT_EQ(scheduler.outstanding(), 1);

    widget.answer(oneEntry(7));
    EXPECT_EQ(shown.marks, std::vector<int>{0}) << "nothing is shown off the GUI thread";
    test::waitFor([&] { return shown.marks.size() == 2; });
    EXPECT_EQ(shown.marks, (std::vector<int>{0, 7}));
    EXPECT_TRUE(shown.onGuiThread);
    EXPECT_EQ(scheduler.outstanding(), 0);
    EXPECT_EQ(scheduler.reloadDate(id), kNow.addSecs(300));
    EXPECT_EQ(alarms.live(), std::vector<std::chrono::milliseconds>{kFiveMinutes});

    ASSERT_TRUE(alarms.fire(kFiveMinutes));
    EXPECT_EQ(widget.pending(), 1u);
    widget.answer(oneEntry(8));
    test::waitFor([&] { return shown.marks.size() == 3; });
    EXPECT_EQ(shown.marks.back(), 8);
}

TEST(TimelineScheduler, DropsAnswersForWidgetsThatAreGone)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeWidget widget;
    Alarms alarms;
    auto scheduler = std::make_unique<TimelineScheduler>(alarms.setup());
    Shown kept;
    Shown closed;
    const QUuid keptId = QUuid::createUuid();
    const QUuid closedId = QUuid::createUuid();
    scheduler->track(keptId, widget, WidgetFamily::systemSmall, kept.show());
    scheduler->track(closedId, widget, WidgetFamily::systemMedium, closed.show());

    scheduler->untrack(closedId);
    widget.answer(oneEntry(1));
    widget.answer(oneEntry(2));
    test::waitFor([&] { return kept.marks.size() == 2; });
    // Let any queued answer for the closed widget arrive.
    QCoreApplication::processEvents();
    EXPECT_EQ(kept.marks, (std::vector<int>{0, 1}));
    EXPECT_EQ(closed.marks, std::vector<int>{0});
    EXPECT_FALSE(scheduler->reloadDate(closedId).has_value());

    // An answer that comes after the scheduler itself has gone is dropped too.
    ASSERT_TRUE(alarms.fire(kFiveMinutes));
    scheduler.reset();
    widget.answer(oneEntry(3));
    QCoreApplication::processEvents();
    EXPECT_EQ(kept.marks, (std::vector<int>{0, 1}));
}

TEST(TimelineScheduler, ARequestWithoutAnswerKeepsThePlaceholderAndIsRetried)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeWidget widget;
    Alarms alarms;
    TimelineScheduler scheduler(alarms.setup());
    Shown shown;
    const QUuid id = QUuid::createUuid();
    scheduler.track(id, widget, WidgetFamily::systemSmall, shown.show());

    EXPECT_EQ(alarms.live(), std::vector<std::chrono::milliseconds>{kTimeout});
    ASSERT_TRUE(alarms.fire(kTimeout));
    EXPECT_EQ(scheduler.reloadDate(id), kNow.addSecs(TimelinePlan::kRetryInterval.count()));
    ASSERT_TRUE(alarms.fire(std::chrono::milliseconds(TimelinePlan::kRetryInterval)));
    EXPECT_EQ(widget.pending(), 2u);
    EXPECT_EQ(shown.marks, std::vector<int>{0});

    // The first request answers late: the newer request's answer is the one
    // that counts, so the late one is dropped.
    widget.answer(oneEntry(5));
    widget.answer(oneEntry(6));
    test::waitFor([&] { return scheduler.outstanding() == 0 && shown.marks.size() == 2; });
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.marks, (std::vector<int>{0, 6}));
}

TEST(TimelineScheduler, AnEmptyTimelineLeavesWhatIsShown)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeWidget widget;
    Alarms alarms;
    TimelineScheduler scheduler(alarms.setup());
    Shown shown;
    const QUuid id = QUuid::createUuid();
    scheduler.track(id, widget, WidgetFamily::systemSmall, shown.show());

    widget.answer({{}, ReloadPolicy::atEnd()});
    test::waitFor([&] { return scheduler.outstanding() == 0; });
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.marks, std::vector<int>{0});
    EXPECT_EQ(scheduler.reloadDate(id), kNow.addSecs(TimelinePlan::kRetryInterval.count()));
}

TEST(TimelineScheduler, LaterEntriesAreShownAtTheirDates)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeWidget widget;
    Alarms alarms;
    TimelineScheduler scheduler(alarms.setup());
    Shown shown;
    const QUuid id = QUuid::createUuid();
    scheduler.track(id, widget, WidgetFamily::systemSmall, shown.show());

    widget.answer({{fakeEntry(kNow, 1), fakeEntry(kNow.addSecs(60), 2)}, ReloadPolicy::never()});
    test::waitFor([&] { return shown.marks.size() == 2; });
    EXPECT_EQ(alarms.live(), std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(60'000)});
    EXPECT_FALSE(scheduler.reloadDate(id).has_value());
    ASSERT_TRUE(alarms.fire(std::chrono::milliseconds(60'000)));
    EXPECT_EQ(shown.marks, (std::vector<int>{0, 1, 2}));
}

TEST(TimelineScheduler, ACompletionCalledTwiceCountsOnce)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeWidget widget;
    Alarms alarms;
    TimelineScheduler scheduler(alarms.setup());
    Shown shown;
    scheduler.track(QUuid::createUuid(), widget, WidgetFamily::systemSmall, shown.show());

    widget.answer(oneEntry(4), 2);
    test::waitFor([&] { return shown.marks.size() == 2; });
    QCoreApplication::processEvents();
    EXPECT_EQ(scheduler.outstanding(), 0);
    EXPECT_EQ(shown.marks, (std::vector<int>{0, 4}));
    EXPECT_TRUE(scheduler.waitForOutstanding(std::chrono::seconds(30)));
}
