#include "shared/Observable.h"

#include <gtest/gtest.h>

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
