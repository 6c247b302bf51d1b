#include "model/MonitorFeed.h"

#include "model/MonitorSettings.h"

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace harborlite {

namespace {

constexpr double shortestInterval = 0.5;
constexpr double networkScaleFloor = 1'000'000;

void waitThenTick(QObject* context, double seconds, std::function<void()> tick)
{
    const auto wait = std::chrono::milliseconds(std::llround(seconds * 1000));
    QTimer::singleShot(wait, context, std::move(tick));
}

} // namespace

MonitorFeed::MonitorFeed(const Engine& engine, const MonitorSettings& settings,
                         std::shared_ptr<BackgroundRunner> runner, TickScheduler scheduleTick, QObject* parent)
    : Observable(parent)
    , settings_(settings)
    , sampler_(engine.makeSampler())
    , scheduleTick_(scheduleTick ? std::move(scheduleTick) : TickScheduler(waitThenTick))
    , runner_(std::move(runner))
{
    connect(&settings_, &Observable::didChange, this, &MonitorFeed::followIntervalChange);
}

void MonitorFeed::startMonitoring()
{
    if (isMonitoring_) {
        return;
    }
    isMonitoring_ = true;
    refreshSnapshot();
    scheduleNextTick();
}

void MonitorFeed::scheduleNextTick()
{
    waitingInterval_ = std::max(shortestInterval, settings_.refreshInterval());
    const quint64 number = ++tickNumber_;
    scheduleTick_(this, waitingInterval_, [this, number] {
        if (number != tickNumber_) {
            return;
        }
        refreshSnapshot();
        scheduleNextTick();
    });
}

void MonitorFeed::followIntervalChange()
{
    if (isMonitoring_ && std::max(shortestInterval, settings_.refreshInterval()) != waitingInterval_) {
        scheduleNextTick();
    }
}

void MonitorFeed::refreshSnapshot()
{
    if (isSampling_) {
        return;
    }
    isSampling_ = true;
    runner_->runSampling(
        this, [sampler = sampler_] { return sampler(); },
        [this](SystemSnapshot snapshot) {
            isSampling_ = false;
            apply(snapshot);
        });
}

void MonitorFeed::apply(const SystemSnapshot& snapshot)
{
    assign(snapshot_, snapshot, &MonitorFeed::snapshotChanged);
    append(snapshot.cpuUsage, cpuSeries_, &MonitorFeed::cpuSeriesChanged);
    append(snapshot.memoryTotal > 0 ? double(snapshot.memoryUsed) / double(snapshot.memoryTotal) : 0.0, memorySeries_,
           &MonitorFeed::memorySeriesChanged);
    append(double(snapshot.networkIn), networkInSeries_, &MonitorFeed::networkInSeriesChanged);
    append(double(snapshot.networkOut), networkOutSeries_, &MonitorFeed::networkOutSeriesChanged);
    const double used = double(std::max<qint64>(0, snapshot.diskTotal - snapshot.diskFree));
    append(snapshot.diskTotal > 0 ? used / double(snapshot.diskTotal) : 0.0, storageSeries_,
           &MonitorFeed::storageSeriesChanged);
}

void MonitorFeed::append(double value, QList<double>& series, void (MonitorFeed::*changed)())
{
    QList<double> next = series;
    next.append(value);
    if (next.size() > seriesLength) {
        next.remove(0, next.size() - seriesLength);
    }
    assign(series, std::move(next), changed);
}

double MonitorFeed::networkScale() const
{
    double scale = networkScaleFloor;
    for (const QList<double>* series : {&networkInSeries_, &networkOutSeries_}) {
        for (double value : *series) {
            scale = std::max(scale, value);
        }
    }
    return scale;
}

} // namespace harborlite
