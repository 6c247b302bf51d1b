#pragma once

#include "engine/commands/ShellRunner.h"
#include "engine/removal/Remover.h"
#include "model/ModelEngine.h"
#include "support/ConditionWait.h"
#include "support/EventWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QUuid>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>

namespace harborlite::test {

// An engine that finds nothing, removes nothing and reads nothing of the
// machine; a test replaces the functions it drives.
inline ModelEngine quietEngine()
{
    ModelEngine engine;
    engine.scanner = [](ScanCategory) -> std::unique_ptr<CategoryScanner> { return nullptr; };
    engine.remove = [](const QStringList&, bool, Remover::Mode) { return CleanupReport{}; };
    engine.installedApps = [](const ModelEngine::CancelTest&) { return QList<InstalledApp>{}; };
    engine.hasFullDiskAccess = [] { return true; };
    engine.measure = [](const QString&) { return std::optional<ModelEngine::Measurement>(); };
    engine.uninstallPlan = [](const InstalledApp& app) {
        UninstallPlan plan;
        plan.app = app;
        return plan;
    };
    engine.uninstall = [](const UninstallPlan&, Remover::Mode) { return CleanupReport{}; };
    engine.makeSampler = [] { return ModelEngine::Sampler([] { return SystemSnapshot{}; }); };
    engine.topProcesses = [](int) { return QList<RunningProcess>{}; };
    engine.quit = [](const RunningProcess&, bool) { return false; };
    engine.startupItems = [] { return QList<StartupItem>{}; };
    engine.setStartupItemEnabled = [](bool, const StartupItem&) {};
    engine.runMaintenance = [](const MaintenanceTask&) { return QString(); };
    engine.storageBreakdown = [](const QString&) { return StorageBreakdown{}; };
    engine.localSnapshots = [](const QString&) { return LocalSnapshots{}; };
    engine.buildDiskTree = [](const QString& root, const ModelEngine::TreeProgress&, const ModelEngine::CancelTest&) {
        return DiskNode{QUuid::createUuid(), root, root, 0, true, {}};
    };
    engine.listDirectory = [](const QString&, const ModelEngine::CancelTest&) { return std::vector<DiskNode>{}; };
    return engine;
}

// Counts the emissions of one signal of `sender` while it lives.
class SignalCount {
public:
    template <typename Sender, typename Signal>
    SignalCount(const Sender* sender, Signal signal)
        : connection_(QObject::connect(sender, signal, [this] { ++count_; }))
    {
    }
    ~SignalCount() { QObject::disconnect(connection_); }
    SignalCount(const SignalCount&) = delete;
    SignalCount& operator=(const SignalCount&) = delete;

    int count() const { return count_; }

private:
    int count_ = 0;
    QMetaObject::Connection connection_;
};

// A gate that workers wait at until the test opens it (or their stop flag
// is seen after a wake()).
class Gate {
public:
    void open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void wake()
    {
        std::lock_guard lock(mutex_);
        changed_.notify_all();
    }
    // Waits until open or until `stop` answers true after a wake().
    void pass(const std::function<bool()>& stop = {})
    {
        std::unique_lock lock(mutex_);
        waitUntil(lock, changed_, [&] { return open_ || (stop && stop()); });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

// Scanners of every category that report the progress the test gave them,
// then wait at their category's gate (unless the category runs freely) and
// return one group of one selected item per scan; a stopped scan's item is
// named "partial".
class ScanScript {
public:
    // Scans of the category started from now on wait at a new gate.
    std::shared_ptr<Gate> hold(ScanCategory category)
    {
        std::lock_guard lock(mutex_);
        return gates_[category] = std::make_shared<Gate>();
    }
    void release(ScanCategory category) { gate(category)->open(); }

    void releaseAll()
    {
        std::lock_guard lock(mutex_);
        for (auto& [category, gate] : gates_) {
            gate->open();
        }
    }
    // Lets waiting scans look at their stop flags.
    void wakeAll()
    {
        std::lock_guard lock(mutex_);
        for (auto& [category, gate] : gates_) {
            gate->wake();
        }
    }
    void setReports(ScanCategory category, QList<ScanProgress> reports)
    {
        std::lock_guard lock(mutex_);
        reports_[category] = std::move(reports);
    }
    void setItemSize(qint64 size) { itemSize_ = size; }
    int started(ScanCategory category) const
    {
        std::lock_guard lock(mutex_);
        const auto found = started_.find(category);
        return found == started_.end() ? 0 : found->second;
    }
    // Blocks the test until `count` scans of the category have started.
    void waitStarted(ScanCategory category, int count = 1)
    {
        std::unique_lock lock(mutex_);
        waitUntil(lock, startedChanged_, [&] { return started_[category] >= count; });
    }

    std::unique_ptr<CategoryScanner> scanner(ScanCategory category);

private:
    class Scanner;

    std::shared_ptr<Gate> gate(ScanCategory category)
    {
        std::lock_guard lock(mutex_);
        const auto found = gates_.find(category);
        return found == gates_.end() ? nullptr : found->second;
    }

    mutable std::mutex mutex_;
    std::condition_variable startedChanged_;
    std::map<ScanCategory, std::shared_ptr<Gate>> gates_;
    std::map<ScanCategory, QList<ScanProgress>> reports_;
    std::map<ScanCategory, int> started_;
    std::atomic<qint64> itemSize_{1000};
};

class ScanScript::Scanner : public CategoryScanner {
public:
    Scanner(ScanScript& script, ScanCategory category)
        : script_(script)
        , category_(category)
    {
    }

    ScanCategory category() const override { return category_; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override
    {
        QList<ScanProgress> reports;
        {
            std::lock_guard lock(script_.mutex_);
            ++script_.started_[category_];
            reports = script_.reports_[category_];
            script_.startedChanged_.notify_all();
        }
        for (const ScanProgress& report : reports) {
            progress(report);
        }
        if (const std::shared_ptr<Gate> gate = script_.gate(category_)) {
            gate->pass(isCancelled);
        }
        ScanItem item;
        item.url = QStringLiteral("/fake/") + rawValue(category_);
        item.displayName = isCancelled() ? QStringLiteral("partial") : QStringLiteral("whole");
        item.size = script_.itemSize_;
        ScanGroup group;
        group.title = QStringLiteral("Group");
        group.items = {item};
        return {category_, {group}, QDateTime::currentDateTimeUtc()};
    }

private:
    ScanScript& script_;
    ScanCategory category_;
};

inline std::unique_ptr<CategoryScanner> ScanScript::scanner(ScanCategory category)
{
    return std::make_unique<Scanner>(*this, category);
}

} // namespace harborlite::test
