#include "shared/Observable.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace harborlite;

namespace {

class Counter : public Observable {
public:
    int value() const { return value_; }
    void setValue(int value) { publish(value_, value); }

private:
    int value_ = 0;
};

} // namespace

TEST(Observable, AnnouncesBeforeAndAfterEveryAssignmentEvenOfAnEqualValue)
{
    Counter counter;
    std::vector<int> seenBefore;
    std::vector<int> seenAfter;
    QObject::connect(&counter, &Observable::objectWillChange, [&] { seenBefore.push_back(counter.value()); });
    QObject::connect(&counter, &Observable::didChange, [&] { seenAfter.push_back(counter.value()); });

    counter.setValue(5);
    counter.setValue(5);
    counter.setValue(7);

    EXPECT_EQ(seenBefore, (std::vector<int>{0, 5, 5}));
    EXPECT_EQ(seenAfter, (std::vector<int>{5, 5, 7}));
}

TEST(Observable, ForwardsEachChildChangeOnceUntilTheParentIsGone)
{
    Counter child;
    auto parent = std::make_unique<Counter>();
    parent->forwardChanges(&child);
    int willChange = 0;
    int didChange = 0;
    QObject::connect(parent.get(), &Observable::objectWillChange, [&] { ++willChange; });
    QObject::connect(parent.get(), &Observable::didChange, [&] { ++didChange; });

    child.setValue(1);
    child.setValue(1);
    EXPECT_EQ(willChange, 2);
    EXPECT_EQ(didChange, 2);
    EXPECT_EQ(parent->value(), 0);

    parent.reset();
    child.setValue(2);
    EXPECT_EQ(child.value(), 2);
}
