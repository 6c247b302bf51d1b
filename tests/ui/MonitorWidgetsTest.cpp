#include "shared/Formatting.h"
#include "support/QtPrinters.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/monitor/FittingLabel.h"
#include "ui/monitor/MonitorCard.h"
#include "ui/monitor/MonitorChip.h"
#include "ui/monitor/ProcessDot.h"
#include "ui/monitor/RingGauge.h"
#include "ui/monitor/Sparkline.h"
#include "ui/monitor/TopStatsBar.h"
#include "ui/theme/Motion.h"

#include <QApplication>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace harborlite;

namespace {

const QString kDash = QStringLiteral(u"\u2014");

template <typename T>
T* child(const QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

std::vector<RunningProcess> processes(int count)
{
    std::vector<RunningProcess> list;
    for (int i = 0; i < count; ++i) {
        RunningProcess process;
        process.pid = 100 + i;
        process.name = QStringLiteral("p%1").arg(i);
        process.cpu = 90.0 - i;
        process.memory = 1'000'000 * (i + 1);
        list.push_back(process);
    }
    return list;
}

std::vector<double> ramp(int count)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(i / 100.0);
    }
    return values;
}

} // namespace

TEST(MonitorCard, RingLabelPerKind)
{
    MonitorInputs inputs;
    inputs.snapshot.cpuUsage = 0.42;
    inputs.snapshot.diskTotal = 1'000;
    inputs.snapshot.diskFree = 250;
    inputs.snapshot.networkIn = 1'500'000;
    const auto label = [&](MonitorKind kind) {
        return MonitorCard::ringLabel(kind, inputs, monitorReading(kind, inputs));
    };
    EXPECT_EQ(label(MonitorKind::cpu), "42%");
    EXPECT_EQ(label(MonitorKind::storage), "75%");
    EXPECT_EQ(label(MonitorKind::network), Format::compactBytes(1'500'000));
    EXPECT_FALSE(label(MonitorKind::network).endsWith("/s"));
    EXPECT_TRUE(monitorReading(MonitorKind::network, inputs).headline.endsWith("/s"));
    EXPECT_EQ(label(MonitorKind::battery), "0%");
    EXPECT_EQ(label(MonitorKind::junk), kDash);
    inputs.reclaimable = 3'000'000;
    EXPECT_EQ(label(MonitorKind::junk), Format::compactBytes(3'000'000));
    inputs.snapshot.diskTotal = 0;
    EXPECT_EQ(label(MonitorKind::storage), "0%");
}

TEST(MonitorCard, ProcessDotThresholds)
{
    EXPECT_EQ(ProcessDot::role(50.1), PaletteRole::danger);
    EXPECT_EQ(ProcessDot::role(50.0), PaletteRole::warning);
    EXPECT_EQ(ProcessDot::role(15.1), PaletteRole::warning);
    EXPECT_EQ(ProcessDot::role(15.0), PaletteRole::accent);
    EXPECT_EQ(ProcessDot::role(0), PaletteRole::accent);
}

TEST(MonitorCard, ProcessesBeforeAndAfterTheFirstSample)
{
    MonitorCard card(MonitorKind::processes);
    EXPECT_EQ(child<RoleLabel>(card, "title")->text(), "Top Processes");
    EXPECT_FALSE(child<RoleLabel>(card, "unavailable")->isHidden());
    EXPECT_FALSE(child<RoleLabel>(card, "sampling")->isHidden());
    EXPECT_EQ(child<RoleLabel>(card, "sampling")->text(), QStringLiteral(u"Sampling processes\u2026"));
    EXPECT_EQ(card.findChild<RingGauge*>(), nullptr);

    MonitorInputs inputs;
    inputs.processCount = 40;
    inputs.topProcessName = QStringLiteral("p0");
    inputs.topProcessCpu = 90;
    card.setValues(inputs, processes(40));
    EXPECT_TRUE(child<RoleLabel>(card, "unavailable")->isHidden());
    EXPECT_TRUE(child<RoleLabel>(card, "sampling")->isHidden());
    QList<QWidget*> rows = card.findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), "p0");
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("cpu"))->text(), "90.0%");
    EXPECT_EQ(rows[4]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), "p4");
    EXPECT_EQ(rows[4]->findChild<RoleLabel*>(QStringLiteral("memory"))->text(), Format::compactBytes(5'000'000));

    // The same pids with new figures keep their rows.
    std::vector<RunningProcess> next = processes(3);
    next[0].cpu = 12.34;
    card.setValues(inputs, next);
    rows = card.findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(rows.size(), 3);
    const QWidget* first = rows[0];
    next[0].cpu = 1;
    card.setValues(inputs, next);
    EXPECT_EQ(card.findChildren<QWidget*>(QStringLiteral("processRow"))[0], first);
    EXPECT_EQ(first->findChild<RoleLabel*>(QStringLiteral("cpu"))->text(), "1.0%");
}

namespace {

// Every region painted on a widget, as its paint events say.
class PaintedRegions : public QObject {
public:
    explicit PaintedRegions(QWidget& widget) { widget.installEventFilter(this); }

    QRegion painted;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
            ++paints;
        }
        return false;
    }
};

MonitorInputs cpuSample(double usage, int tick)
{
    MonitorInputs inputs;
    inputs.snapshot.cpuUsage = usage;
    for (int i = 0; i < 60; ++i) {
        inputs.cpuSeries.push_back(0.3 + 0.2 * ((i + tick) % 7) / 7.0);
    }
    return inputs;
}

} // namespace

// The card shows a live reading, a sample a second: the ring takes each new
// value at once, motion on and the card shown, and a sample repaints what it
// changed (figures, ring, line), never the card's glass and shadow whole.
TEST(MonitorCard, ASampleRepaintsOnlyWhatItChanged)
{
    Motion::setReduceMotion(false);
    MonitorCard card(MonitorKind::cpu);
    card.resize(380, 190);
    card.setValues(cpuSample(0.3, 0), {});
    card.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    auto* ring = child<RingGauge>(card, "ring");
    card.setValues(cpuSample(0.55, 1), {});
    EXPECT_DOUBLE_EQ(ring->shownFraction(), 0.55);
    QApplication::processEvents();

    PaintedRegions cardPaints(card);
    PaintedRegions ringPaints(*ring);
    card.setValues(cpuSample(0.7, 2), {});
    EXPECT_DOUBLE_EQ(ring->shownFraction(), 0.7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ringPaints.paints > 0; }));
    QRegion changed;
    for (const char* name : {"ring", "headline", "caption", "sparkline"}) {
        changed += child<QWidget>(card, name)->geometry();
    }
    EXPECT_FALSE(cardPaints.painted.isEmpty());
    EXPECT_TRUE((cardPaints.painted - changed).isEmpty());
}

// The heaviest processes change order nearly every sample: the rows stay and
// show the new ones in place, so a sample lays out and repaints the rows, not
// the card (nor, through it, the whole screen). Only a change in their number
// adds or removes rows.
TEST(MonitorCard, ProcessRowsStayWhileTheHeaviestProcessesChange)
{
    MonitorCard card(MonitorKind::processes);
    card.resize(600, 260);
    card.setValues({}, processes(5));
    card.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    QApplication::processEvents();
    const QList<QWidget*> rows = card.findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(rows.size(), 5);

    std::vector<RunningProcess> next = processes(5);
    std::reverse(next.begin(), next.end());
    next[0].pid = 900;
    next[0].name = QStringLiteral("newcomer");
    PaintedRegions cardPaints(card);
    card.setValues({}, next);
    QApplication::processEvents();
    EXPECT_EQ(card.findChildren<QWidget*>(QStringLiteral("processRow")), rows);
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), "newcomer");
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("cpu"))->text(), "86.0%");
    EXPECT_EQ(rows[4]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), "p0");
    QRegion rowAreas;
    for (const QWidget* row : rows) {
        rowAreas += row->geometry();
    }
    EXPECT_TRUE((cardPaints.painted - rowAreas).isEmpty());

    card.setValues({}, processes(2));
    QList<QWidget*> fewer = card.findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(fewer.size(), 2);
    EXPECT_EQ(fewer[0], rows[0]);
    EXPECT_EQ(fewer[0]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), "p0");
    card.setValues({}, processes(4));
    EXPECT_EQ(card.findChildren<QWidget*>(QStringLiteral("processRow")).size(), 4);
}

TEST(MonitorCard, BatteryWithoutABattery)
{
    MonitorCard card(MonitorKind::battery);
    card.setValues({}, {});
    EXPECT_FALSE(child<RoleLabel>(card, "unavailable")->isHidden());
    EXPECT_EQ(child<FittingLabel>(card, "headline")->text(), kDash);
    EXPECT_EQ(child<RoleLabel>(card, "caption")->text(), "No battery in this Mac");
    EXPECT_EQ(child<RoleLabel>(card, "ringLabel")->text(), "0%");
    EXPECT_EQ(child<RingGauge>(card, "ring")->fraction(), 0);
    EXPECT_TRUE(child<Sparkline>(card, "sparkline")->isHidden());
}

TEST(MonitorCard, SparklineNeedsTwoValuesAndShowsThemAll)
{
    MonitorCard card(MonitorKind::cpu);
    MonitorInputs inputs;
    inputs.cpuSeries = {0.5};
    card.setValues(inputs, {});
    EXPECT_TRUE(child<Sparkline>(card, "sparkline")->isHidden());
    inputs.cpuSeries = ramp(90);
    card.setValues(inputs, {});
    EXPECT_FALSE(child<Sparkline>(card, "sparkline")->isHidden());
    EXPECT_EQ(child<Sparkline>(card, "sparkline")->values().size(), 90u);
}

TEST(MonitorChip, SparklineAndHelpText)
{
    MonitorInputs inputs;
    inputs.snapshot.cpuUsage = 0.5;
    inputs.cpuSeries = ramp(90);
    MonitorChip chip(MonitorKind::cpu, true);
    chip.setReading(monitorReading(MonitorKind::cpu, inputs));
    EXPECT_EQ(child<RoleLabel>(chip, "title")->text(), "CPU");
    EXPECT_EQ(child<RoleLabel>(chip, "value")->text(), "50%");
    EXPECT_TRUE(chip.isSparklineShown());
    const std::vector<double>& shown = child<Sparkline>(chip, "sparkline")->values();
    ASSERT_EQ(shown.size(), 30u);
    EXPECT_DOUBLE_EQ(shown.front(), 0.6);
    EXPECT_DOUBLE_EQ(shown.back(), 0.89);
    EXPECT_EQ(chip.toolTip(), QStringLiteral(u"CPU: 50% \u2014 User 0% \u00B7 System 0%"));

    inputs.cpuSeries = {0.1};
    chip.setReading(monitorReading(MonitorKind::cpu, inputs));
    EXPECT_FALSE(chip.isSparklineShown());

    MonitorChip plain(MonitorKind::cpu, false);
    plain.setReading(monitorReading(MonitorKind::cpu, {}));
    EXPECT_FALSE(plain.isSparklineShown());
    EXPECT_EQ(MonitorChip::sparklineValues({1, 2}), (std::vector<double>{1, 2}));

    MonitorChip processes(MonitorKind::processes, true);
    EXPECT_EQ(child<RoleLabel>(processes, "title")->text(), "TOP PROCESSES");
}

TEST(TopStatsBar, ChipsDividersAndTheEmptyText)
{
    const struct {
        std::vector<MonitorKind> chosen;
        std::vector<MonitorKind> shown;
    } rows[] = {
        {{MonitorKind::cpu, MonitorKind::memory, MonitorKind::storage, MonitorKind::network},
         {MonitorKind::cpu, MonitorKind::memory, MonitorKind::storage, MonitorKind::network}},
        {{MonitorKind::processes}, {}},
        {{}, {}},
        {{MonitorKind::processes, MonitorKind::cpu}, {MonitorKind::cpu}},
        {{MonitorKind::junk, MonitorKind::junk}, {MonitorKind::junk, MonitorKind::junk}},
    };
    TopStatsBar bar;
    for (const auto& row : rows) {
        bar.setChosenKinds(row.chosen);
        EXPECT_EQ(TopStatsBar::shownKinds(row.chosen), row.shown);
        const QList<MonitorChip*> chips = bar.findChildren<MonitorChip*>();
        ASSERT_EQ(static_cast<size_t>(chips.size()), row.shown.size());
        for (size_t i = 0; i < row.shown.size(); ++i) {
            EXPECT_EQ(bar.chips()[i]->kind(), row.shown[i]);
        }
        const qsizetype dividers = bar.findChildren<QWidget*>(QStringLiteral("hairlineDivider")).size();
        EXPECT_EQ(dividers, row.shown.empty() ? 0 : static_cast<qsizetype>(row.shown.size()) - 1);
        EXPECT_EQ(child<RoleLabel>(bar, "emptyText")->isHidden(), !row.shown.empty());
        EXPECT_FALSE(bar.settingsButton()->isHidden());
    }
}

TEST(TopStatsBar, TicksUpdateChipsInPlace)
{
    TopStatsBar bar;
    const std::vector<MonitorChip*> before = bar.chips();
    MonitorInputs inputs;
    inputs.snapshot.cpuUsage = 0.31;
    bar.setInputs(inputs);
    bar.setChosenKinds({MonitorKind::cpu, MonitorKind::memory, MonitorKind::storage, MonitorKind::network});
    EXPECT_EQ(bar.chips(), before);
    EXPECT_EQ(child<RoleLabel>(*bar.chips()[0], "value")->text(), "31%");

    bar.setChosenKinds({MonitorKind::network, MonitorKind::cpu});
    EXPECT_EQ(child<RoleLabel>(*bar.chips()[1], "value")->text(), "31%");
}

TEST(TopStatsBar, SettingsButtonAsksForTheWidgetsScreen)
{
    TopStatsBar bar;
    QSignalSpy requested(&bar, &TopStatsBar::settingsRequested);
    EXPECT_EQ(bar.settingsButton()->toolTip(), "Choose which monitors appear here");
    EXPECT_EQ(bar.settingsButton()->property("symbol").toString(), "slider.horizontal.3");
    bar.show();
    QTest::mouseClick(bar.settingsButton(), Qt::LeftButton);
    QTest::mouseClick(bar.settingsButton(), Qt::LeftButton);
    EXPECT_EQ(requested.count(), 2);
}

TEST(TopStatsBar, ChipsScrollSidewaysWithoutABar)
{
    TopStatsBar bar;
    bar.setChosenKinds({MonitorKind::cpu, MonitorKind::memory, MonitorKind::storage, MonitorKind::network,
                        MonitorKind::battery, MonitorKind::junk});
    bar.resize(320, 80);
    bar.show();
    QApplication::processEvents();
    auto* area = child<QScrollArea>(bar, "chips");
    EXPECT_EQ(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 0);
}
