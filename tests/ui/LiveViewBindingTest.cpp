#include "TrayFixture.h"
#include "ui/monitor/WidgetsView.h"
#include "ui/tray/MenuBarPanel.h"
#include "ui/tray/TrayItem.h"

#include <QEvent>

#include <gtest/gtest.h>

#include <array>

using namespace harborlite;

namespace {

// Counts the calls queued to an object and run: each coalesced refresh of a
// view is one.
class QueuedCalls : public QObject {
public:
    explicit QueuedCalls(QObject* watched) { watched->installEventFilter(this); }

    int count() const { return count_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall) {
            ++count_;
        }
        return false;
    }

private:
    int count_ = 0;
};

using Refreshes = std::array<int, 3>;

} // namespace

// The tray item's tip, the tray panel and the Widgets screen read the live
// samples, the processes and the results' totals: a scan's progress, the disk
// map, the route and the cleanup mode leave them alone.
TEST(LiveViewBindingTest, TheTrayAndTheWidgetsScreenRefreshOnlyForWhatTheyShow)
{
    test::TrayFixture fixture;
    AppModel& model = fixture.makeTrayedModel();
    TrayItem tray(model, [] { return true; }, {});
    ASSERT_TRUE(tray.isInserted());
    MenuBarPanel panel(model, {});
    WidgetsView widgets(model);
    test::WindowFixture::settle();
    QueuedCalls trayCalls(&tray);
    QueuedCalls panelCalls(&panel);
    QueuedCalls widgetsCalls(&widgets);
    const auto refreshes = [&] {
        test::WindowFixture::settle();
        return Refreshes{trayCalls.count(), panelCalls.count(), widgetsCalls.count()};
    };

    fixture.script.setReports(ScanCategory::trash,
                              {{0.25, QStringLiteral("Looking"), 10}, {0.5, QStringLiteral("Still looking"), 20}});
    fixture.script.hold(ScanCategory::trash);
    model.scan(ScanCategory::trash);
    test::waitFor([&] {
        const auto found = model.progress().find(ScanCategory::trash);
        return found != model.progress().end() && found->second.fraction == 0.5;
    });
    model.buildDiskTree(QStringLiteral("/nowhere"));
    test::waitFor([&] { return model.diskTree().has_value(); });
    model.setRoute(Route::maintenance);
    model.setCleanupMode(RemovalMode::shred);
    EXPECT_EQ(refreshes(), (Refreshes{0, 0, 0}));

    const auto eachGrew = [](const Refreshes& before, const Refreshes& after) {
        return after[0] > before[0] && after[1] > before[1] && after[2] > before[2];
    };
    Refreshes before = refreshes();
    fixture.script.release(ScanCategory::trash);
    test::waitFor([&] { return model.result(ScanCategory::trash).has_value(); });
    EXPECT_TRUE(eachGrew(before, refreshes())) << "a result";

    before = refreshes();
    const int samples = *fixture.samples;
    model.refreshSnapshot();
    test::waitFor([&] { return *fixture.samples > samples && model.cpuSeries().size() == 1; });
    EXPECT_TRUE(eachGrew(before, refreshes())) << "a sample";

    before = refreshes();
    fixture.setProcesses(test::TrayFixture::processList(3));
    fixture.sampleProcesses();
    EXPECT_TRUE(eachGrew(before, refreshes())) << "the processes";
}
