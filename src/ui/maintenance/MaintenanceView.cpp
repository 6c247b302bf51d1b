#include "ui/maintenance/MaintenanceView.h"

#include "model/MonitorFeed.h"
#include "model/SystemTools.h"
#include "paint/Palette.h"
#include "platform/ToolTable.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/InnerCard.h"
#include "ui/components/NoticeBlock.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/SymbolView.h"
#include "ui/maintenance/MaintenanceCard.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

namespace harborlite {

namespace {

constexpr int kRowPaddingX = 12;
constexpr int kRowPaddingY = 8;
constexpr int kRowSpacing = 10;
constexpr qreal kRowSymbolSide = 12;

// One row of "Recent runs" on an inner card.
QWidget* recentRunRow(const MaintenancePresentation::RecentRun& run, QWidget* parent)
{
    auto* card = new InnerCard(MaintenanceView::kRowCornerRadius, false, parent);
    card->setObjectName(QStringLiteral("recentRun"));
    auto* layout = new QHBoxLayout(card);
    layout->setContentsMargins(kRowPaddingX, kRowPaddingY, kRowPaddingX, kRowPaddingY);
    layout->setSpacing(kRowSpacing);
    layout->addWidget(new SymbolView(run.symbol, kRowSymbolSide, Palette::color(run.symbolRole), 1, card), 0,
                      Qt::AlignVCenter);
    auto* message = new RoleLabel(run.message, Palette::inkSecondary(), TypeStyle::font(11.5, QFont::Normal), card);
    message->setObjectName(QStringLiteral("recentRunMessage"));
    message->setWordWrap(true);
    layout->addWidget(message, 1);
    auto* time = new RoleLabel(run.time, Palette::inkTertiary(), TypeStyle::font(10, QFont::Normal), card);
    time->setObjectName(QStringLiteral("recentRunTime"));
    layout->addWidget(time, 0, Qt::AlignVCenter);
    return card;
}

} // namespace

MaintenanceView::MaintenanceView(SystemTools& tools, MonitorFeed& feed, QList<MaintenanceTask> tasks, QWidget* parent)
    : QWidget(parent)
    , tools_(tools)
    , tasks_(std::move(tasks))
    , frame_(new ScreenFrame({kMaxColumnWidth}))
{
    setObjectName(QStringLiteral("maintenanceView"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame_);

    auto* header = new ScreenHeader(MaintenancePresentation::title(), MaintenancePresentation::subtitle(),
                                    MaintenancePresentation::headerSymbol());
    header->setObjectName(QStringLiteral("header"));
    frame_->addWidget(header);
    auto* notice = new NoticeBlock(QStringLiteral("key.fill"), PaletteRole::info, MaintenancePresentation::notice());
    notice->setObjectName(QStringLiteral("notice"));
    frame_->addWidget(notice);

    auto* grid = new QWidget;
    grid->setObjectName(QStringLiteral("taskGrid"));
    auto* layout = new AdaptiveGrid(kGridMinColumn, kGridSpacing, grid);
    for (const MaintenanceTask& task : tasks_) {
        auto* card = new MaintenanceCard(task, [this, task] { tools_.runMaintenance(task); });
        layout->addWidget(card);
        cards_.append(card);
    }
    frame_->addWidget(grid);
    grid_ = grid;
    // A short page keeps to the top.
    frame_->addStretch(1);

    // A run that ends, however it ends, may have changed the snapshots.
    connect(&tools_, &SystemTools::runningMaintenanceChanged, this, [this] {
        if (!tools_.runningMaintenance()) {
            tools_.refreshLocalSnapshots();
        }
    });
    for (auto changed : {&SystemTools::runningMaintenanceChanged, &SystemTools::maintenanceLogChanged,
                         &SystemTools::localSnapshotsChanged}) {
        connect(&tools_, changed, this, [this] { refresher_.request(); });
    }
    connect(&feed, &MonitorFeed::snapshotChanged, this, [this] { refresher_.request(); });
    refreshNow();
}

void MaintenanceView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        tools_.refreshLocalSnapshots();
    }
}

void MaintenanceView::refreshNow()
{
    refresher_.settle();
    const std::optional<QString>& running = tools_.runningMaintenance();
    const auto& log = tools_.maintenanceLog();
    for (MaintenanceCard* card : cards_) {
        const MaintenanceTask& task = card->task();
        const MaintenancePresentation::CardInputs inputs = MaintenancePresentation::cardInputs(
            task, running, log, tools_.localSnapshots(), platform::isExecutableFile(task.requiredTool));
        card->setLook(MaintenancePresentation::cardLook(task, inputs));
    }
    showRecentRuns(MaintenancePresentation::recentRuns(log));
}

void MaintenanceView::showRecentRuns(const QList<MaintenancePresentation::RecentRun>& rows)
{
    if (rows == rows_ && (recentRuns_ != nullptr) == !rows.isEmpty()) {
        return;
    }
    rows_ = rows;
    delete recentRuns_;
    recentRuns_ = nullptr;
    if (rows.isEmpty()) {
        return;
    }
    recentRuns_ = new GlassPanel(kLogCornerRadius);
    recentRuns_->setObjectName(QStringLiteral("recentRuns"));
    auto* column = new QVBoxLayout(recentRuns_);
    column->setContentsMargins(kLogPadding, kLogPadding, kLogPadding, kLogPadding);
    column->setSpacing(kLogSpacing);
    auto* title = new RoleLabel(MaintenancePresentation::recentRunsTitle(), Palette::ink(), TypeStyle::sectionTitle(),
                                recentRuns_);
    title->setObjectName(QStringLiteral("recentRunsTitle"));
    column->addWidget(title);
    for (const MaintenancePresentation::RecentRun& run : rows) {
        column->addWidget(recentRunRow(run, recentRuns_));
    }
    frame_->column()->insertWidget(frame_->column()->indexOf(grid_) + 1, recentRuns_);
}

} // namespace harborlite
