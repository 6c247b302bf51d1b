#include "widgets/kit/WidgetBundle.h"
#include "support/EventWait.h"
#include "widgets/extension/MonitorEntry.h"
#include "widgets/extension/MonitorProvider.h"

#include <QCoreApplication>
#include <QPluginLoader>

#include <gtest/gtest.h>

#include <mutex>
#include <optional>

using namespace harborlite;

namespace {

// The built plug-in, loaded once for every test and never unloaded.
const WidgetBundle* bundle()
{
    static WidgetBundle* const loaded = [] {
        QPluginLoader loader(QStringLiteral(HARBORLITE_WIDGETS_PLUGIN));
        auto* made = qobject_cast<WidgetBundle*>(loader.instance());
        EXPECT_NE(made, nullptr) << loader.errorString().toStdString();
        return made;
    }();
    return loaded;
}

// The plug-in's entry, which has the same type on both sides.
const MonitorEntry& monitorEntry(const WidgetEntry& entry)
{
    return *static_cast<const MonitorEntry*>(entry.value.get());
}

} // namespace

TEST(WidgetBundle, TheBuiltPlugInDeclaresTheSystemMonitorThenStorage)
{
    ASSERT_NE(bundle(), nullptr);
    const std::vector<const Widget*> widgets = bundle()->widgets();
    ASSERT_EQ(widgets.size(), 2u);
    EXPECT_EQ(widgets[0]->kind(), QStringLiteral("HarborliteSystemMonitor"));
    EXPECT_EQ(widgets[0]->displayName(), QStringLiteral("System Monitor"));
    EXPECT_EQ(widgets[0]->description(), QStringLiteral("CPU, memory, storage and network at a glance."));
    EXPECT_EQ(
        widgets[0]->supportedFamilies(),
        (std::vector<WidgetFamily>{WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}));
    EXPECT_EQ(widgets[1]->kind(), QStringLiteral("HarborliteStorage"));
    EXPECT_EQ(widgets[1]->displayName(), QStringLiteral("Storage"));
    EXPECT_EQ(widgets[1]->description(), QStringLiteral("How much room is left on your startup disk."));
    EXPECT_EQ(widgets[1]->supportedFamilies(),
              (std::vector<WidgetFamily>{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
}

TEST(WidgetBundle, ThePlugInsPreviewIsThePlaceholderAtOnce)
{
    ASSERT_NE(bundle(), nullptr);
    for (const Widget* widget : bundle()->widgets()) {
        std::optional<WidgetEntry> preview;
        widget->getSnapshot({WidgetFamily::systemSmall, true, displaySize(WidgetFamily::systemSmall)},
                            [&](WidgetEntry entry) { preview = std::move(entry); });
        ASSERT_TRUE(preview.has_value());
        EXPECT_EQ(monitorEntry(*preview).snapshot, MonitorProvider::placeholderSnapshot());
        EXPECT_EQ(monitorEntry(widget->placeholder({})).snapshot, MonitorProvider::placeholderSnapshot());
    }
}

TEST(WidgetBundle, ThePlugInsTimelineIsOneLiveEntryReloadedFiveMinutesLater)
{
    ASSERT_NE(bundle(), nullptr);
    const Widget* widget = bundle()->widgets().at(0);
    std::mutex mutex;
    std::optional<WidgetTimeline> timeline;
    widget->getTimeline({WidgetFamily::systemMedium, false, displaySize(WidgetFamily::systemMedium)},
                        [&](WidgetTimeline made) {
                            {
                                std::lock_guard lock(mutex);
                                timeline = std::move(made);
                            }
                            test::wakeWaiters();
                        });
    test::waitFor([&] {
        std::lock_guard lock(mutex);
        return timeline.has_value();
    });
    ASSERT_EQ(timeline->entries.size(), 1u);
    const WidgetEntry& entry = timeline->entries[0];
    EXPECT_EQ(entry.date, monitorEntry(entry).date);
    EXPECT_GT(monitorEntry(entry).snapshot.memoryTotal, 0);
    EXPECT_EQ(timeline->policy.kind, ReloadPolicy::Kind::after);
    const qint64 wait = entry.date.msecsTo(timeline->policy.date);
    EXPECT_GE(wait, 300'000);
    EXPECT_LT(wait, 330'000);
}

TEST(WidgetBundle, EveryKindAndFamilyHasAViewOfItsSize)
{
    ASSERT_NE(bundle(), nullptr);
    for (const Widget* widget : bundle()->widgets()) {
        for (const WidgetFamily family : widget->supportedFamilies()) {
            const std::unique_ptr<WidgetView> view = widget->makeView(family);
            ASSERT_NE(view, nullptr);
            view->setEntry(widget->placeholder({family, false, displaySize(family)}));
            EXPECT_EQ(view->size(), displaySize(family));
            EXPECT_FALSE(view->findChildren<QWidget*>().isEmpty());
        }
    }
}
