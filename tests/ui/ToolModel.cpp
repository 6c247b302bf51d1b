#include "ToolModel.h"

#include "engine/removal/Remover.h"
#include "model/AppModelSetup.h"
#include "shared/FileSystem.h"
#include "support/ConditionWait.h"

#include <QCoreApplication>

#include <condition_variable>

namespace harborlite::test {

struct ToolModel::Shared {
    mutable std::mutex mutex;
    std::condition_variable changed;
    QSet<QString> held;
    std::optional<CleanupReport> shredReport;
    QList<QStringList> shredded;
    QList<InstalledApp> apps;
    int appLoads = 0;
    int plansMade = 0;
    QHash<QString, QList<ScanItem>> leftovers;
    CleanupReport uninstallReport;
    QList<Uninstall> uninstalls;

    void wait(const QString& key)
    {
        std::unique_lock lock(mutex);
        waitUntil(lock, changed, [&] { return !held.contains(key); });
    }
};

ToolModel::ToolModel()
    : shared_(std::make_shared<Shared>())
    , runner_(std::make_shared<BackgroundRunner>(8))
{
    ModelEngine engine = quietEngine();
    engine.measure = [shared = shared_](const QString& location) -> std::optional<ModelEngine::Measurement> {
        shared->wait(QStringLiteral("measure:") + location);
        if (!FS::exists(location)) {
            return std::nullopt;
        }
        return ModelEngine::Measurement{FS::size(location, {.descendIntoPackages = true}),
                                        FS::modificationDate(location)};
    };
    engine.remove = [shared = shared_](const QStringList& locations, bool userSelected, Remover::Mode mode) {
        shared->wait(QStringLiteral("shred"));
        std::optional<CleanupReport> scripted;
        {
            std::lock_guard lock(shared->mutex);
            shared->shredded.append(locations);
            scripted = shared->shredReport;
        }
        return scripted ? *scripted : Remover(mode).remove(locations, userSelected);
    };
    engine.installedApps = [shared = shared_](const ModelEngine::CancelTest&) {
        shared->wait(QStringLiteral("apps"));
        std::lock_guard lock(shared->mutex);
        ++shared->appLoads;
        return shared->apps;
    };
    engine.uninstallPlan = [shared = shared_](const InstalledApp& app) {
        shared->wait(QStringLiteral("plan:") + app.bundleID);
        UninstallPlan plan;
        plan.app = app;
        std::lock_guard lock(shared->mutex);
        for (ScanItem item : shared->leftovers.value(app.bundleID)) {
            item.id = QUuid::createUuid();
            plan.leftovers.append(item);
        }
        ++shared->plansMade;
        return plan;
    };
    engine.uninstall = [shared = shared_](const UninstallPlan& plan, Remover::Mode mode) {
        shared->wait(QStringLiteral("uninstall"));
        std::lock_guard lock(shared->mutex);
        shared->uninstalls.append({plan, mode});
        return shared->uninstallReport;
    };

    AppModel::Setup setup;
    setup.engine = std::move(engine);
    setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl("http://127.0.0.1:9"));
    setup.bundleInformation = {};
    setup.systemVersion = {12, 0, 0};
    setup.runner = runner_;
    setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
    model_ = std::make_unique<AppModel>(defaults_, std::move(setup));

    services_.reveal = [](const QStringList&) {};
    services_.iconForFile = [](const QString&) { return QIcon(); };
    services_.applicationIcon = [](const QString&, int) { return QImage(); };
    services_.chooseFiles = [this](QWidget*, std::function<void(const QStringList&)> chosen) {
        ++chooserOpenings_;
        if (chosen_) {
            chosen(*chosen_);
        }
    };
}

ToolModel::~ToolModel()
{
    releaseAll();
    model_.reset();
    runner_->waitForDone();
    QCoreApplication::sendPostedEvents();
}

void ToolModel::hold(const QString& key)
{
    std::lock_guard lock(shared_->mutex);
    shared_->held.insert(key);
}

void ToolModel::release(const QString& key)
{
    std::lock_guard lock(shared_->mutex);
    shared_->held.remove(key);
    shared_->changed.notify_all();
}

void ToolModel::releaseAll()
{
    std::lock_guard lock(shared_->mutex);
    shared_->held.clear();
    shared_->changed.notify_all();
}

void ToolModel::shredReport(std::optional<CleanupReport> report)
{
    std::lock_guard lock(shared_->mutex);
    shared_->shredReport = std::move(report);
}

QList<QStringList> ToolModel::shredded() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->shredded;
}

void ToolModel::setApps(QList<InstalledApp> apps)
{
    std::lock_guard lock(shared_->mutex);
    shared_->apps = std::move(apps);
}

int ToolModel::appLoads() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->appLoads;
}

void ToolModel::setLeftovers(const QString& bundleID, QList<ScanItem> items)
{
    std::lock_guard lock(shared_->mutex);
    shared_->leftovers.insert(bundleID, std::move(items));
}

void ToolModel::uninstallReport(CleanupReport report)
{
    std::lock_guard lock(shared_->mutex);
    shared_->uninstallReport = std::move(report);
}

int ToolModel::plansMade() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->plansMade;
}

QList<ToolModel::Uninstall> ToolModel::uninstalls() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->uninstalls;
}

void settleEvents()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

} // namespace harborlite::test
