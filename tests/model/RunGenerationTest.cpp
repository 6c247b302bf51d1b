#include "model/RunGeneration.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(RunGeneration, OnlyTheNewestRunIsCurrent)
{
    RunGeneration runs;
    EXPECT_FALSE(runs.isCurrent(0));
    EXPECT_FALSE(runs.isCancelled());
    runs.cancel();

    const RunGeneration::Run first = runs.start();
    EXPECT_TRUE(runs.isCurrent(first.generation));
    const RunGeneration::Run second = runs.start();
    EXPECT_FALSE(runs.isCurrent(first.generation));
    EXPECT_TRUE(runs.isCurrent(second.generation));
    EXPECT_NE(first.flag, second.flag);
}

TEST(RunGeneration, AStoppedRunStaysStoppedWhenANewOneStarts)
{
    RunGeneration runs;
    const RunGeneration::Run stopped = runs.start();
    const auto stoppedTest = stopped.isCancelled();
    EXPECT_FALSE(stoppedTest());

    runs.cancel();
    EXPECT_TRUE(stoppedTest());
    EXPECT_TRUE(runs.isCancelled());

    const RunGeneration::Run next = runs.start();
    EXPECT_TRUE(stoppedTest());
    EXPECT_FALSE(next.isCancelled()());
    EXPECT_FALSE(runs.isCancelled());

    runs.cancel();
    EXPECT_TRUE(next.flag->isSet());
}
