#pragma once

#include "model/AppModel.h"
#include "model/FakeEngine.h"
#include "model/ScanSession.h"
#include "model/SystemTools.h"
#include "shared/MemoryDefaults.h"
#include "ui/components/ScreenServices.h"

#include <QHash>
#include <QSet>

#include <functional>
#include <memory>
#include <mutex>

namespace harborlite::test {

// A model for the tool screens whose measuring, shredding, planning and
// uninstalling the test can hold and release, and whose file chooser answers
// what the test says. Measuring and shredding use the real file system and
// removal engine unless the test scripts them.
class ToolModel {
public:
    struct Uninstall {
        UninstallPlan plan;
        Remover::Mode mode;
    };

    ToolModel();
    ~ToolModel();
    ToolModel(const ToolModel&) = delete;
    ToolModel& operator=(const ToolModel&) = delete;

    AppModel& model() { return *model_; }
    SystemTools& tools() { return model_->systemTools(); }
    ScanSession& scans() { return model_->scanSession(); }
    const ScreenServices& services() const { return services_; }

    // The chooser hands over these paths when it is opened (nothing when none).
    void chooses(std::optional<QStringList> paths) { chosen_ = std::move(paths); }
    int chooserOpenings() const { return chooserOpenings_; }

    void hold(const QString& key);
    void release(const QString& key);
    void releaseAll();

    // Measuring a location waits while "measure:<location>" is held.
    // Shredding waits while "shred" is held; its report is the removal
    // engine's unless one is set.
    void shredReport(std::optional<CleanupReport> report);
    QList<QStringList> shredded() const;

    // Loading applications waits while "apps" is held and returns these.
    void setApps(QList<InstalledApp> apps);
    int appLoads() const;
    // A plan for the application waits while "plan:<bundle id>" is held; it
    // holds these leftovers (new identifiers each time).
    void setLeftovers(const QString& bundleID, QList<ScanItem> items);
    // Plans worked out so far.
    int plansMade() const;
    // Uninstalling waits while "uninstall" is held and returns this report.
    void uninstallReport(CleanupReport report);
    QList<Uninstall> uninstalls() const;

private:
    struct Shared;

    MemoryDefaults defaults_;
    std::shared_ptr<Shared> shared_;
    std::shared_ptr<BackgroundRunner> runner_;
    std::unique_ptr<AppModel> model_;
    ScreenServices services_;
    std::optional<QStringList> chosen_;
    int chooserOpenings_ = 0;
};

// Runs the queued refreshes and deliveries.
void settleEvents();

} // namespace harborlite::test
