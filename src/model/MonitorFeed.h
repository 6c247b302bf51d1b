#pragma once

#include "model/BackgroundRunner.h"
#include "shared/Observable.h"
#include "shared/SystemSnapshot.h"

#include <QList>

#include <functional>
#include <memory>

namespace harborlite {

class MonitorSettings;

// The live readings: the latest system sample and the rolling series of the
// monitors. Once started, the loop takes one sample every max(0.5 s, refresh
// interval), reading the interval from the settings before every wait; a new
// interval replaces the wait under way at once, so a change from 10 s to 1 s
// shows in the next second. A tick that finds a sample in flight is skipped.
// Samples run on the runner's sampler thread. Lives on the GUI thread.
class MonitorFeed : public Observable {
    Q_OBJECT
    Q_PROPERTY(harborlite::SystemSnapshot snapshot READ snapshot NOTIFY snapshotChanged)
    Q_PROPERTY(QList<double> cpuSeries READ cpuSeries NOTIFY cpuSeriesChanged)
    Q_PROPERTY(QList<double> memorySeries READ memorySeries NOTIFY memorySeriesChanged)
    Q_PROPERTY(QList<double> networkInSeries READ networkInSeries NOTIFY networkInSeriesChanged)
    Q_PROPERTY(QList<double> networkOutSeries READ networkOutSeries NOTIFY networkOutSeriesChanged)
    Q_PROPERTY(QList<double> storageSeries READ storageSeries NOTIFY storageSeriesChanged)

public:
    // Waits `seconds`, then runs `tick` on the GUI thread unless `context` is
    // gone by then.
    using TickScheduler = std::function<void(QObject* context, double seconds, std::function<void()> tick)>;

    // The part of the engine the feed calls.
    struct Engine {
        // Takes one reading of the machine; keeps its previous readings and
        // is called one sample at a time, on the sampler thread.
        using Sampler = std::function<SystemSnapshot()>;
        // Makes the feed's one sampler.
        std::function<Sampler()> makeSampler;
    };

    // Series keep this many of the newest samples.
    static constexpr qsizetype seriesLength = 90;

    // The sampler comes from `engine`; `settings` gives the refresh interval
    // and must outlive the feed. `scheduleTick` defaults to a single-shot timer.
    MonitorFeed(const Engine& engine, const MonitorSettings& settings, std::shared_ptr<BackgroundRunner> runner,
                TickScheduler scheduleTick = {}, QObject* parent = nullptr);

    MonitorFeed(const MonitorFeed&) = delete;
    MonitorFeed& operator=(const MonitorFeed&) = delete;

    const SystemSnapshot& snapshot() const { return snapshot_; }
    const QList<double>& cpuSeries() const { return cpuSeries_; }
    const QList<double>& memorySeries() const { return memorySeries_; }
    const QList<double>& networkInSeries() const { return networkInSeries_; }
    const QList<double>& networkOutSeries() const { return networkOutSeries_; }
    const QList<double>& storageSeries() const { return storageSeries_; }

    // Takes a sample now and then one every max(0.5 s, refresh interval);
    // later calls find the loop running.
    void startMonitoring();
    // Takes one sample unless one is in flight.
    void refreshSnapshot();
    // The full scale of both network charts: their peak, at least 1,000,000.
    double networkScale() const;

signals:
    void snapshotChanged();
    void cpuSeriesChanged();
    void memorySeriesChanged();
    void networkInSeriesChanged();
    void networkOutSeriesChanged();
    void storageSeriesChanged();

private:
    void scheduleNextTick();
    void followIntervalChange();
    void apply(const SystemSnapshot& snapshot);
    void append(double value, QList<double>& series, void (MonitorFeed::*changed)());

    const MonitorSettings& settings_;
    SystemSnapshot snapshot_;
    QList<double> cpuSeries_;
    QList<double> memorySeries_;
    QList<double> networkInSeries_;
    QList<double> networkOutSeries_;
    QList<double> storageSeries_;

    Engine::Sampler sampler_;
    bool isSampling_ = false;
    bool isMonitoring_ = false;
    // The wait under way and its number: a tick whose number is no longer the
    // newest belongs to a wait that a new interval replaced.
    double waitingInterval_ = 0;
    quint64 tickNumber_ = 0;
    TickScheduler scheduleTick_;
    // Last, so that it is released first.
    std::shared_ptr<BackgroundRunner> runner_;
};

} // namespace harborlite
