#pragma once

#include "widgets/kit/Widget.h"

#include <QThread>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace harborlite::test {

// The entry of a FakeWidget: a number the test chose.
struct FakeEntry {
    int mark = 0;
};

inline WidgetEntry fakeEntry(const QDateTime& date, int mark)
{
    return {date, std::make_shared<const FakeEntry>(FakeEntry{mark})};
}

inline int markOf(const WidgetEntry& entry)
{
    return static_cast<const FakeEntry*>(entry.value.get())->mark;
}

// A view that remembers the marks it was given and on which thread.
class FakeView : public WidgetView {
public:
    void setEntry(const WidgetEntry& entry) override
    {
        marks.push_back(markOf(entry));
        onGuiThread = onGuiThread && QThread::currentThread() == thread();
    }

    std::vector<int> marks;
    bool onGuiThread = true;
};

// A widget whose timeline requests wait until the test answers them, from a
// thread of its own as a provider's worker would. The placeholder's mark is 0.
class FakeWidget : public Widget {
public:
    explicit FakeWidget(QString kind = QStringLiteral("FakeKind"),
                        std::vector<WidgetFamily> families = {WidgetFamily::systemSmall, WidgetFamily::systemMedium})
        : kind_(std::move(kind))
        , families_(std::move(families))
    {
    }

    QString kind() const override { return kind_; }
    QString displayName() const override { return QStringLiteral("Fake"); }
    QString description() const override { return QStringLiteral("A widget of the tests."); }
    std::vector<WidgetFamily> supportedFamilies() const override { return families_; }

    WidgetEntry placeholder(const TimelineProviderContext&) const override
    {
        return fakeEntry(QDateTime::fromSecsSinceEpoch(0, Qt::UTC), 0);
    }

    void getSnapshot(const TimelineProviderContext&, std::function<void(WidgetEntry)> completion) const override
    {
        completion(fakeEntry(QDateTime::fromSecsSinceEpoch(0, Qt::UTC), -1));
    }

    void getTimeline(const TimelineProviderContext&, std::function<void(WidgetTimeline)> completion) const override
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(completion));
    }

    std::unique_ptr<WidgetView> makeView(WidgetFamily family) const override
    {
        auto view = std::make_unique<FakeView>();
        view->resize(displaySize(family));
        return view;
    }

    std::size_t pending() const
    {
        std::lock_guard lock(mutex_);
        return pending_.size();
    }

    // Answers the oldest request waiting with `timeline`, from another thread.
    void answer(WidgetTimeline timeline, int times = 1)
    {
        std::function<void(WidgetTimeline)> completion;
        {
            std::lock_guard lock(mutex_);
            completion = std::move(pending_.front());
            pending_.erase(pending_.begin());
        }
        std::thread worker([&] {
            for (int i = 0; i < times; ++i) {
                completion(timeline);
            }
        });
        worker.join();
    }

private:
    QString kind_;
    std::vector<WidgetFamily> families_;
    mutable std::mutex mutex_;
    mutable std::vector<std::function<void(WidgetTimeline)>> pending_;
};

} // namespace harborlite::test
