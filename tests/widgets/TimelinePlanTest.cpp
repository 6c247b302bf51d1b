#include "widgets/host/TimelinePlan.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

const QDateTime kNow = QDateTime(QDate(2024, 5, 6), QTime(10, 30), Qt::UTC);

QDateTime at(qint64 seconds)
{
    return kNow.addSecs(seconds);
}

} // namespace

TEST(TimelinePlan, ShowsTheLatestPastEntryAndWaitsForTheOthers)
{
    const TimelinePlan plan =
        TimelinePlan::of({at(-600), at(-10), at(0), at(120), at(900)}, ReloadPolicy::after(at(1200)), kNow);
    EXPECT_EQ(plan.current, 2u);
    ASSERT_EQ(plan.upcoming.size(), 2u);
    EXPECT_EQ(plan.upcoming[0], std::make_pair(std::size_t(3), at(120)));
    EXPECT_EQ(plan.upcoming[1], std::make_pair(std::size_t(4), at(900)));
    EXPECT_EQ(plan.reload, at(1200));
}

TEST(TimelinePlan, ReloadDatesByPolicy)
{
    const struct {
        const char* name;
        std::vector<QDateTime> dates;
        ReloadPolicy policy;
        std::optional<QDateTime> reload;
    } rows[] = {
        {"after, five minutes on", {at(0)}, ReloadPolicy::after(at(300)), at(300)},
        {"after, in the past", {at(0)}, ReloadPolicy::after(at(-50)), at(60)},
        {"after, too soon", {at(0)}, ReloadPolicy::after(at(5)), at(60)},
        {"after, no date", {at(0)}, ReloadPolicy::after(QDateTime()), at(60)},
        {"after, no entries", {}, ReloadPolicy::after(at(300)), at(300)},
        {"at end", {at(0), at(400)}, ReloadPolicy::atEnd(), at(400)},
        {"at end of the past", {at(-100)}, ReloadPolicy::atEnd(), at(60)},
        {"at end, no entries", {}, ReloadPolicy::atEnd(), at(300)},
        {"never", {at(0)}, ReloadPolicy::never(), std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(TimelinePlan::of(row.dates, row.policy, kNow).reload, row.reload) << row.name;
    }
}

TEST(TimelinePlan, OnlyFutureEntriesLeaveTheShownOneInPlace)
{
    const TimelinePlan plan = TimelinePlan::of({at(30), at(90)}, ReloadPolicy::atEnd(), kNow);
    EXPECT_FALSE(plan.current.has_value());
    ASSERT_EQ(plan.upcoming.size(), 2u);
    EXPECT_EQ(plan.upcoming[0].first, 0u);
    EXPECT_TRUE(TimelinePlan::of({}, ReloadPolicy::never(), kNow).upcoming.empty());
}
