#include "model/ScanSession.h"

#include "engine/scanners/CategoryScanner.h"
#include "model/ProgressChannel.h"
#include "platform/Clock.h"
#include "shared/Formatting.h"

#include <algorithm>
#include <utility>

namespace harborlite {

namespace {

using ScanChannel = ProgressChannel<ScanProgress, CategoryResult>;

// Unread progress values kept for the GUI thread.
constexpr std::size_t scanProgressBuffer = 4;

// The smart scan's share of the whole for one category.
constexpr double smartScanShare = 0.125;

QString cleanupMessage(const CleanupReport& report)
{
    QString message = ScanSession::tr("%1 reclaimed from %2 item(s).")
                          .arg(Format::byteText(report.reclaimed), QString::number(report.removed));
    if (!report.failures.isEmpty()) {
        message += QLatin1Char(' ')
            + ScanSession::tr("%1 item(s) were protected and left alone.").arg(QString::number(report.failures.size()));
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

ScanSession::ScanSession(Engine engine, std::shared_ptr<BackgroundRunner> runner, QObject* parent)
    : Observable(parent)
    , engine_(std::move(engine))
    , smartScanMessage_(tr("Ready to scan"))
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

void ScanSession::setCleanupMode(RemovalMode mode)
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
    setProgressEntry(category, {0, tr("Starting\u2026"), 0});
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
    assign(smartScanMessage_, tr("Scanning %1\u2026").arg(title(category)), &ScanSession::smartScanMessageChanged);
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
    assign(smartScanMessage_, cancelled ? tr("Scan cancelled") : tr("Scan complete"),
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
    assign(smartScanMessage_, tr("Scan cancelled"), &ScanSession::smartScanMessageChanged);
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

qsizetype ScanSession::groupIndex(ScanCategory category, const QUuid& id) const
{
    const auto found = results_.find(category);
    if (found == results_.end()) {
        return -1;
    }
    const QList<ScanGroup>& groups = found->second.groups;
    const auto group =
        std::find_if(groups.cbegin(), groups.cend(), [&id](const ScanGroup& candidate) { return candidate.id == id; });
    return group == groups.cend() ? -1 : group - groups.cbegin();
}

// The edits below find their target reading only, then write that one value,
// so a result shared with a reader is copied at most along the written path.

void ScanSession::toggleItem(const ScanItem& item, ScanCategory category)
{
    const auto found = results_.find(category);
    if (found == results_.end()) {
        return;
    }
    change([&] {
        const QList<ScanGroup>& groups = std::as_const(found->second.groups);
        for (qsizetype g = 0; g < groups.size(); ++g) {
            const QList<ScanItem>& items = groups[g].items;
            for (qsizetype i = 0; i < items.size(); ++i) {
                if (items[i].id == item.id) {
                    ScanItem& target = found->second.groups[g].items[i];
                    target.isSelected = !target.isSelected;
                    return;
                }
            }
        }
    });
    emit selectionChanged(category, item.id);
}

void ScanSession::toggleGroup(const ScanGroup& group, ScanCategory category)
{
    const qsizetype index = groupIndex(category, group.id);
    if (index < 0) {
        return;
    }
    change([&] {
        const ScanGroup& current = std::as_const(results_.at(category).groups)[index];
        if (current.items.isEmpty()) {
            return;
        }
        const bool select = current.selectionState() != ScanGroup::SelectionState::all;
        for (ScanItem& item : results_.at(category).groups[index].items) {
            item.isSelected = select;
        }
    });
    emit selectionChanged(category, group.id);
}

void ScanSession::setExpanded(bool expanded, const ScanGroup& group, ScanCategory category)
{
    const qsizetype index = groupIndex(category, group.id);
    if (index < 0) {
        return;
    }
    change([&] { results_.at(category).groups[index].isExpanded = expanded; });
    emit expansionChanged(category, group.id);
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
    const RemovalMode mode = cleanupMode_;
    runner_->run(
        TaskPriority::userInitiated, this,
        [remove = engine_.remove, locations, userSelected, mode] { return remove(locations, userSelected, mode); },
        [this, categories](CleanupReport report) {
            assign(isCleaning_, false, &ScanSession::isCleaningChanged);
            const QString title =
                report.failures.isEmpty() ? tr("Cleanup complete") : tr("Cleanup finished with skips");
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
