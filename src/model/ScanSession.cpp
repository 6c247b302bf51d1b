#include "model/ScanSession.h"

#include "model/ProgressChannel.h"
#include "platform/Clock.h"
#include "shared/Formatting.h"

#include <algorithm>

namespace harborlite {

namespace {

using ScanChannel = ProgressChannel<ScanProgress, CategoryResult>;

// Unread progress values kept for the GUI thread.
constexpr std::size_t scanProgressBuffer = 4;

// The smart scan's share of the whole for one category.
constexpr double smartScanShare = 0.125;

QString ellipsis()
{
    return QString(QChar(0x2026));
}

QString cleanupMessage(const CleanupReport& report)
{
    QString message = Format::byteText(report.reclaimed) + QStringLiteral(" reclaimed from ")
        + QString::number(report.removed) + QStringLiteral(" item(s).");
    if (!report.failures.isEmpty()) {
        message += QLatin1Char(' ') + QString::number(report.failures.size())
            + QStringLiteral(" item(s) were protected and left alone.");
    }
    return message;
}

} // namespace

// The smart scan in flight: its generation, its stop flag and the channel of
// the category it is scanning, whose progress "Stop" silences.
struct ScanSession::SmartScanRun {
    quint64 generation = 0;
    std::shared_ptr<CancellationFlag> flag;
    std::shared_ptr<ScanChannel> channel;
};

ScanSession::ScanSession(const ModelEngine& engine, std::shared_ptr<BackgroundRunner> runner, QObject* parent)
    : Observable(parent)
    , engine_{engine.scanner, engine.remove}
    , smartScanMessage_(QStringLiteral("Ready to scan"))
    , runner_(std::move(runner))
{
}

ScanSession::~ScanSession()
{
    for (auto& entry : categoryRuns_) {
        entry.second.cancel();
    }
    smartRuns_.cancel();
}

void ScanSession::setCleanupMode(Remover::Mode mode)
{
    assign(cleanupMode_, mode, &ScanSession::cleanupModeChanged);
}

// Scans ----------------------------------------------------------------------

void ScanSession::scan(ScanCategory category)
{
    if (runningCategories_.contains(category)) {
        return;
    }
    insertRunning(category);
    setProgressEntry(category, {0, QStringLiteral("Starting") + ellipsis(), 0});
    runScanner(category, nullptr, {}, {});
}

void ScanSession::runScanner(ScanCategory category, const std::shared_ptr<CancellationFlag>& extraFlag,
                             std::function<void(const ScanProgress&)> onProgress, std::function<void()> onResult)
{
    const RunGeneration::Run run = categoryRuns_[category].start();
    const quint64 generation = run.generation;
    auto channel = ScanChannel::open(
        scanProgressBuffer, this,
        [this, category, generation, onProgress = std::move(onProgress)](ScanProgress value) {
            if (!categoryRuns_[category].isCurrent(generation)) {
                return;
            }
            setProgressEntry(category, value);
            if (onProgress) {
                onProgress(value);
            }
        },
        [this, category, generation, onResult = std::move(onResult)](CategoryResult result) {
            if (categoryRuns_[category].isCurrent(generation)) {
                storeResult(category, std::move(result));
                removeRunning(category);
            }
            if (onResult) {
                onResult();
            }
        });
    if (smartScan_ && extraFlag == smartScan_->flag) {
        smartScan_->channel = channel;
    }
    std::shared_ptr<const CategoryScanner> scanner = engine_.scanner(category);
    CancelPredicate isCancelled = [flag = run.flag, extraFlag] {
        return flag->isSet() || (extraFlag && extraFlag->isSet());
    };
    runner_->start(TaskPriority::utility, [scanner, channel, isCancelled = std::move(isCancelled)] {
        channel->finish(scanner->scan([channel](const ScanProgress& value) { channel->send(value); }, isCancelled));
    });
}

void ScanSession::startSmartScan()
{
    if (isSmartScanning_) {
        return;
    }
    assign(isSmartScanning_, true, &ScanSession::isSmartScanningChanged);
    assign(smartScanProgress_, 0.0, &ScanSession::smartScanProgressChanged);
    const RunGeneration::Run run = smartRuns_.start();
    smartScan_ = std::make_unique<SmartScanRun>(SmartScanRun{run.generation, run.flag, nullptr});
    smartScanStep(run.generation, 0);
}

void ScanSession::smartScanStep(quint64 generation, std::size_t index)
{
    if (!smartRuns_.isCurrent(generation)) {
        return;
    }
    if (index == ScanCategories::smartScan.size() || smartScan_->flag->isSet()) {
        finishSmartScan(generation);
        return;
    }
    const ScanCategory category = ScanCategories::smartScan[index];
    insertRunning(category);
    assign(smartScanMessage_, QStringLiteral("Scanning ") + title(category) + ellipsis(),
           &ScanSession::smartScanMessageChanged);
    const double base = double(index) * smartScanShare;
    runScanner(
        category, smartScan_->flag,
        [this, generation, base](const ScanProgress& value) {
            if (!smartRuns_.isCurrent(generation)) {
                return;
            }
            assign(smartScanProgress_, base + value.fraction * smartScanShare, &ScanSession::smartScanProgressChanged);
            assign(smartScanMessage_, value.message, &ScanSession::smartScanMessageChanged);
        },
        [this, generation, index] { smartScanStep(generation, index + 1); });
}

void ScanSession::finishSmartScan(quint64 generation)
{
    if (!smartRuns_.isCurrent(generation)) {
        return;
    }
    const bool cancelled = smartScan_->flag->isSet();
    assign(smartScanProgress_, 1.0, &ScanSession::smartScanProgressChanged);
    assign(smartScanMessage_, cancelled ? QStringLiteral("Scan cancelled") : QStringLiteral("Scan complete"),
           &ScanSession::smartScanMessageChanged);
    assign(isSmartScanning_, false, &ScanSession::isSmartScanningChanged);
    assign(lastSmartScan_, std::optional<QDateTime>(platform::now()), &ScanSession::lastSmartScanChanged);
    smartScan_->channel.reset();
}

void ScanSession::cancelScan()
{
    for (auto& entry : categoryRuns_) {
        entry.second.cancel();
    }
    smartRuns_.cancel();
    if (smartScan_ && smartScan_->channel) {
        smartScan_->channel->stopValues();
    }
    assign(isSmartScanning_, false, &ScanSession::isSmartScanningChanged);
    assign(runningCategories_, Categories{}, &ScanSession::runningCategoriesChanged);
    assign(smartScanMessage_, QStringLiteral("Scan cancelled"), &ScanSession::smartScanMessageChanged);
    emit scansCancelled();
}

void ScanSession::storeResult(ScanCategory category, CategoryResult result)
{
    Results results = results_;
    results.insert_or_assign(category, std::move(result));
    assign(results_, std::move(results), &ScanSession::resultsChanged);
}

void ScanSession::insertRunning(ScanCategory category)
{
    Categories running = runningCategories_;
    running.insert(category);
    assign(runningCategories_, std::move(running), &ScanSession::runningCategoriesChanged);
}

void ScanSession::removeRunning(ScanCategory category)
{
    Categories running = runningCategories_;
    running.erase(category);
    assign(runningCategories_, std::move(running), &ScanSession::runningCategoriesChanged);
}

void ScanSession::setProgressEntry(ScanCategory category, const ScanProgress& value)
{
    ProgressTable table = progress_;
    table.insert_or_assign(category, value);
    assign(progress_, std::move(table), &ScanSession::progressChanged);
}

// Selection and cleanup -----------------------------------------------------

std::optional<CategoryResult> ScanSession::result(ScanCategory category) const
{
    const auto found = results_.find(category);
    if (found == results_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void ScanSession::editResult(ScanCategory category, const std::function<bool(CategoryResult&)>& edit)
{
    std::optional<CategoryResult> copy = result(category);
    if (!copy || !edit(*copy)) {
        return;
    }
    storeResult(category, std::move(*copy));
}

void ScanSession::toggleItem(const ScanItem& item, ScanCategory category)
{
    editResult(category, [&item](CategoryResult& result) {
        for (ScanGroup& group : result.groups) {
            for (ScanItem& candidate : group.items) {
                if (candidate.id == item.id) {
                    candidate.isSelected = !candidate.isSelected;
                    return true;
                }
            }
        }
        return true;
    });
}

void ScanSession::toggleGroup(const ScanGroup& group, ScanCategory category)
{
    editResult(category, [&group](CategoryResult& result) {
        const auto found = std::find_if(result.groups.begin(), result.groups.end(),
                                        [&group](const ScanGroup& candidate) { return candidate.id == group.id; });
        if (found == result.groups.end()) {
            return false;
        }
        if (found->items.isEmpty()) {
            return true;
        }
        const bool select = found->selectionState() != ScanGroup::SelectionState::all;
        for (ScanItem& item : found->items) {
            item.isSelected = select;
        }
        return true;
    });
}

void ScanSession::setExpanded(bool expanded, const ScanGroup& group, ScanCategory category)
{
    editResult(category, [&group, expanded](CategoryResult& result) {
        const auto found = std::find_if(result.groups.begin(), result.groups.end(),
                                        [&group](const ScanGroup& candidate) { return candidate.id == group.id; });
        if (found == result.groups.end()) {
            return false;
        }
        found->isExpanded = expanded;
        return true;
    });
}

qint64 ScanSession::totalJunk() const
{
    qint64 total = 0;
    for (ScanCategory category : ScanCategories::smartScan) {
        const auto found = results_.find(category);
        if (found != results_.end()) {
            total += found->second.totalSize();
        }
    }
    return total;
}

qint64 ScanSession::reclaimable() const
{
    qint64 total = 0;
    for (const auto& [category, result] : results_) {
        total += result.totalSize();
    }
    return total;
}

void ScanSession::clean(const QList<ScanCategory>& categories)
{
    if (isCleaning_) {
        return;
    }
    QStringList locations;
    for (ScanCategory category : categories) {
        const auto found = results_.find(category);
        if (found == results_.end()) {
            continue;
        }
        for (const ScanGroup& group : found->second.groups) {
            for (const ScanItem& item : group.items) {
                if (item.isSelected) {
                    locations.append(item.url);
                }
            }
        }
    }
    if (locations.isEmpty()) {
        return;
    }
    const bool userSelected = categories.contains(ScanCategory::largeAndOld);
    assign(isCleaning_, true, &ScanSession::isCleaningChanged);
    const Remover::Mode mode = cleanupMode_;
    runner_->run(
        TaskPriority::userInitiated, this,
        [remove = engine_.remove, locations, userSelected, mode] { return remove(locations, userSelected, mode); },
        [this, categories](CleanupReport report) {
            assign(isCleaning_, false, &ScanSession::isCleaningChanged);
            const QString title = report.failures.isEmpty() ? QStringLiteral("Cleanup complete")
                                                            : QStringLiteral("Cleanup finished with skips");
            const QString message = cleanupMessage(report);
            assign(lastReport_, std::optional<CleanupReport>(std::move(report)), &ScanSession::lastReportChanged);
            Results results = results_;
            for (ScanCategory category : categories) {
                results.erase(category);
            }
            assign(results_, std::move(results), &ScanSession::resultsChanged);
            emit bannerRaised(title, message, false);
        });
}

} // namespace harborlite
