#pragma once

#include "model/FakeEngine.h"

#include <QCoreApplication>

#include <atomic>
#include <memory>
#include <mutex>

namespace harborlite::test {

inline MaintenanceTask task(const QString& id, const QString& title = {})
{
    MaintenanceTask result;
    result.id = id;
    result.title = title;
    return result;
}

inline StartupItem agentItem()
{
    StartupItem item;
    item.label = "agent";
    item.url = "/agents/agent.plist";
    return item;
}

inline RunningProcess runningProcess(qint32 pid, const QString& name)
{
    RunningProcess process;
    process.pid = pid;
    process.name = name;
    return process;
}

// Services that answer at once with what the test put in, or wait at a gate.
struct FakeServices {
    std::mutex mutex;
    QList<InstalledApp> apps;
    std::atomic<int> appLoads{0};
    std::shared_ptr<Gate> appGate;
    std::atomic<int> startupLoads{0};
    std::function<void(bool, const StartupItem&)> switchItem = [](bool, const StartupItem&) {};
    std::function<QString(const MaintenanceTask&)> maintenance = [](const MaintenanceTask& task) {
        return task.id + " done";
    };
    std::shared_ptr<Gate> maintenanceGate;
    std::atomic<int> processLoads{0};
    std::atomic<int> processLimit{0};
    bool quitAnswer = false;
    QList<bool> quitForces;
    QStringList removedLocations;
    bool removedUserSelected = false;
    std::optional<Remover::Mode> removedMode;
    CleanupReport report;
    std::shared_ptr<Gate> removeGate;
    std::atomic<int> samples{0};
    std::shared_ptr<Gate> samplerGate;
    QList<SystemSnapshot> snapshots;

    // Opens every gate, so no worker waits any longer.
    void openGates()
    {
        for (const auto& gate : {appGate, maintenanceGate, removeGate, samplerGate}) {
            if (gate) {
                gate->open();
            }
        }
    }
};

// An engine whose scanners are `script`'s and whose services are `services`;
// the disk map is the real one.
inline ModelEngine scriptedEngine(ScanScript& script, const std::shared_ptr<FakeServices>& services)
{
    ModelEngine engine;
    engine.scanner = [&script](ScanCategory category) { return script.scanner(category); };
    engine.remove = [services](const QStringList& locations, bool userSelected, Remover::Mode mode) {
        if (services->removeGate) {
            services->removeGate->pass();
        }
        std::lock_guard lock(services->mutex);
        services->removedLocations = locations;
        services->removedUserSelected = userSelected;
        services->removedMode = mode;
        return services->report;
    };
    engine.installedApps = [services](const ModelEngine::CancelTest&) {
        ++services->appLoads;
        if (services->appGate) {
            services->appGate->pass();
        }
        std::lock_guard lock(services->mutex);
        return services->apps;
    };
    engine.hasFullDiskAccess = [] { return false; };
    engine.makeSampler = [services] {
        return ModelEngine::Sampler([services] {
            const int index = services->samples++;
            if (services->samplerGate) {
                services->samplerGate->pass();
            }
            std::lock_guard lock(services->mutex);
            return index < services->snapshots.size() ? services->snapshots[index] : SystemSnapshot{};
        });
    };
    engine.topProcesses = [services](int limit) {
        ++services->processLoads;
        services->processLimit = limit;
        return QList<RunningProcess>{runningProcess(7, "worker")};
    };
    engine.quit = [services](const RunningProcess&, bool force) {
        services->quitForces.append(force);
        return services->quitAnswer;
    };
    engine.startupItems = [services] {
        ++services->startupLoads;
        return QList<StartupItem>{agentItem()};
    };
    engine.setStartupItemEnabled = [services](bool enabled, const StartupItem& item) {
        services->switchItem(enabled, item);
    };
    engine.runMaintenance = [services](const MaintenanceTask& task) {
        if (services->maintenanceGate) {
            services->maintenanceGate->pass();
        }
        return services->maintenance(task);
    };
    engine.storageBreakdown = [](const QString&) { return StorageBreakdown{100, 40, {}, 0, 0}; };
    engine.localSnapshots = [](const QString&) { return LocalSnapshots{2, 5}; };
    engine.buildDiskTree = ModelEngine::real().buildDiskTree;
    engine.listDirectory = ModelEngine::real().listDirectory;
    return engine;
}

// A banner a store raised.
struct RaisedBanner {
    QString title;
    QString message;
    bool isError = false;
};

// Records the banners `store` raises while it lives.
template <typename Store>
class BannerLog {
public:
    explicit BannerLog(const Store* store)
        : connection_(QObject::connect(store, &Store::bannerRaised,
                                       [this](const QString& title, const QString& message, bool isError) {
                                           banners_.append({title, message, isError});
                                       }))
    {
    }
    ~BannerLog() { QObject::disconnect(connection_); }
    BannerLog(const BannerLog&) = delete;
    BannerLog& operator=(const BannerLog&) = delete;

    const QList<RaisedBanner>& banners() const { return banners_; }

private:
    QList<RaisedBanner> banners_;
    QMetaObject::Connection connection_;
};

} // namespace harborlite::test
