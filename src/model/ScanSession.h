#pragma once

#include "engine/models/CategoryResult.h"
#include "engine/models/CleanupReport.h"
#include "engine/models/RemovalMode.h"
#include "engine/models/ScanCategory.h"
#include "engine/models/ScanProgress.h"
#include "model/BackgroundRunner.h"
#include "model/RunGeneration.h"
#include "shared/Observable.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace harborlite {

class CategoryScanner;

// The scans and what they found: single-category scans, the smart scan over
// its eight categories, the selection inside the results and the cleanup of
// what is selected. Each category's scan and the smart scan are runs with a
// generation and a stop flag of their own: "Stop" ends the current ones, and
// only the newest run of a kind publishes. Lives on the GUI thread; every
// value changes there, announcing itself through objectWillChange()/didChange()
// and its own change signal.
class ScanSession : public Observable {
    Q_OBJECT
    Q_PROPERTY(harborlite::ScanSession::Results results READ results NOTIFY resultsChanged)
    Q_PROPERTY(harborlite::ScanSession::ProgressTable progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(
        harborlite::ScanSession::Categories runningCategories READ runningCategories NOTIFY runningCategoriesChanged)
    Q_PROPERTY(double smartScanProgress READ smartScanProgress NOTIFY smartScanProgressChanged)
    Q_PROPERTY(QString smartScanMessage READ smartScanMessage NOTIFY smartScanMessageChanged)
    Q_PROPERTY(bool isSmartScanning READ isSmartScanning NOTIFY isSmartScanningChanged)
    Q_PROPERTY(std::optional<QDateTime> lastSmartScan READ lastSmartScan NOTIFY lastSmartScanChanged)
    Q_PROPERTY(std::optional<harborlite::CleanupReport> lastReport READ lastReport NOTIFY lastReportChanged)
    Q_PROPERTY(bool isCleaning READ isCleaning NOTIFY isCleaningChanged)
    Q_PROPERTY(harborlite::RemovalMode cleanupMode READ cleanupMode WRITE setCleanupMode NOTIFY cleanupModeChanged)

public:
    using Results = std::map<ScanCategory, CategoryResult>;
    using ProgressTable = std::map<ScanCategory, ScanProgress>;
    using Categories = std::set<ScanCategory>;

    // The part of the engine the session calls, on workers, several at once.
    struct Engine {
        // A new scanner for the category, with the category's thresholds.
        std::function<std::unique_ptr<CategoryScanner>(ScanCategory)> scanner;
        // Removes the locations in order in the mode; never throws.
        std::function<CleanupReport(const QStringList& locations, bool userSelected, RemovalMode mode)> remove;
    };

    // The six categories of the Cleanup screen, in its order.
    static constexpr std::array<ScanCategory, 6> cleanupCategories = {
        ScanCategory::systemJunk, ScanCategory::trash,           ScanCategory::mailAttachments,
        ScanCategory::installers, ScanCategory::downloadedMedia, ScanCategory::leftovers,
    };

    // Scanners and the remover come from `engine`; work runs on `runner`.
    // Nothing is announced while the session is built.
    ScanSession(Engine engine, std::shared_ptr<BackgroundRunner> runner, QObject* parent = nullptr);
    // Asks running scans to stop; whatever they return later is dropped.
    ~ScanSession() override;

    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

    const Results& results() const { return results_; }
    const ProgressTable& progress() const { return progress_; }
    const Categories& runningCategories() const { return runningCategories_; }
    double smartScanProgress() const { return smartScanProgress_; }
    const QString& smartScanMessage() const { return smartScanMessage_; }
    bool isSmartScanning() const { return isSmartScanning_; }
    const std::optional<QDateTime>& lastSmartScan() const { return lastSmartScan_; }
    const std::optional<CleanupReport>& lastReport() const { return lastReport_; }
    bool isCleaning() const { return isCleaning_; }
    RemovalMode cleanupMode() const { return cleanupMode_; }
    void setCleanupMode(RemovalMode mode);

    // Scans one category in the background unless it is already scanning.
    void scan(ScanCategory category);
    // Scans the smart-scan categories one after another unless a smart scan runs.
    void startSmartScan();
    // Stops every scan of this session; what they found so far is kept. Ends
    // with scansCancelled().
    void cancelScan();

    // The category's latest result.
    std::optional<CategoryResult> result(ScanCategory category) const;
    // Flips the selection of the item with `item`'s id. The result is edited
    // in place and announced with selectionChanged(), not resultsChanged().
    void toggleItem(const ScanItem& item, ScanCategory category);
    // Deselects the group with `group`'s id when all of it is selected, else
    // selects all of it; announced with selectionChanged() for the group.
    void toggleGroup(const ScanGroup& group, ScanCategory category);
    // Announced with expansionChanged().
    void setExpanded(bool expanded, const ScanGroup& group, ScanCategory category);
    // Bytes of every item of the smart-scan categories' results, selected or not.
    qint64 totalJunk() const;
    // Bytes of every item of every result.
    qint64 reclaimable() const;
    // Removes the selected items of the categories in the current mode, then
    // drops those categories' results and raises a banner. Ignored while a
    // cleanup runs or when nothing is selected.
    void clean(const QList<ScanCategory>& categories);

signals:
    // A result came, was replaced or went.
    void resultsChanged();
    // The selection inside a stored result changed: of the item whose id is
    // `id`, or of every item of the group whose id it is.
    void selectionChanged(harborlite::ScanCategory category, const QUuid& id);
    // A group of a stored result was expanded or collapsed.
    void expansionChanged(harborlite::ScanCategory category, const QUuid& group);
    void progressChanged();
    void runningCategoriesChanged();
    void smartScanProgressChanged();
    void smartScanMessageChanged();
    void isSmartScanningChanged();
    void lastSmartScanChanged();
    void lastReportChanged();
    void isCleaningChanged();
    void cleanupModeChanged();
    // A message for the window's transient banner.
    void bannerRaised(const QString& title, const QString& message, bool isError);
    // "Stop" was pressed: cancelScan() has stopped this session's scans.
    void scansCancelled();

private:
    struct SmartScanRun;

    // Runs one scanner of `category` as a new generation of that category;
    // `onProgress` sees its values, `onResult` runs once the result is stored.
    void runScanner(ScanCategory category, const std::shared_ptr<CancellationFlag>& extraFlag,
                    std::function<void(const ScanProgress&)> onProgress, std::function<void()> onResult);
    void smartScanStep(quint64 generation, std::size_t index);
    void finishSmartScan(quint64 generation);
    void storeResult(ScanCategory category, CategoryResult result);
    void insertRunning(ScanCategory category);
    void removeRunning(ScanCategory category);
    void setProgressEntry(ScanCategory category, const ScanProgress& value);
    // The index of the group with `id` in the category's result, or -1.
    qsizetype groupIndex(ScanCategory category, const QUuid& id) const;

    Engine engine_;

    Results results_;
    ProgressTable progress_;
    Categories runningCategories_;
    double smartScanProgress_ = 0;
    QString smartScanMessage_;
    bool isSmartScanning_ = false;
    std::optional<QDateTime> lastSmartScan_;
    std::optional<CleanupReport> lastReport_;
    bool isCleaning_ = false;
    RemovalMode cleanupMode_ = RemovalMode::trash;

    std::map<ScanCategory, RunGeneration> categoryRuns_;
    RunGeneration smartRuns_;
    std::unique_ptr<SmartScanRun> smartScan_;
    // Last, so that it is released first.
    std::shared_ptr<BackgroundRunner> runner_;
};

} // namespace harborlite
