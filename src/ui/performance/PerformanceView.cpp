#include "ui/performance/PerformanceView.h"

#include "model/MonitorFeed.h"
#include "model/SystemTools.h"
#include "paint/Palette.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/StatTile.h"
#include "ui/performance/CpuHistoryChart.h"
#include "ui/performance/ProcessRow.h"
#include "ui/performance/StartupRow.h"
#include "ui/theme/TypeStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

namespace P = PerformancePresentation;

namespace {

GlassCompatButton* refreshButton(QWidget* parent)
{
    auto* button = new GlassCompatButton(P::refresh(), false, Palette::accent(), parent);
    button->setFont(TypeStyle::font(12, QFont::DemiBold));
    return button;
}

GlassPanel* card(qreal radius, int padding, int spacing, QVBoxLayout*& column)
{
    auto* panel = new GlassPanel(radius);
    column = new QVBoxLayout(panel);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(spacing);
    return panel;
}

// Moves the widgets of a list layout into the given order, after whatever
// sits before them (`first` items).
template <typename Row>
void order(QVBoxLayout* list, const QList<Row*>& rows, int first)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (list->indexOf(rows[i]) != first + i) {
            list->removeWidget(rows[i]);
            list->insertWidget(first + int(i), rows[i]);
        }
    }
}

} // namespace

PerformanceView::PerformanceView(SystemTools& tools, MonitorFeed& feed, QWidget* parent)
    : QWidget(parent)
    , tools_(tools)
    , feed_(feed)
    , frame_(new ScreenFrame({kMaxColumnWidth}))
    , lastLoad_(feed.snapshot().cpuUsage)
{
    setObjectName(QStringLiteral("performanceView"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame_);

    auto* header = new ScreenHeader(P::title(), P::subtitle(), P::headerSymbol());
    header->setObjectName(QStringLiteral("header"));
    frame_->addWidget(header);
    frame_->addWidget(gauges());
    frame_->addWidget(startupSection());
    frame_->addWidget(processSection());
    frame_->addStretch(1);

    refreshTimer_.setInterval(P::kRefreshMilliseconds);
    connect(&refreshTimer_, &QTimer::timeout, &tools_, &SystemTools::refreshProcesses);
    connect(&feed_, &MonitorFeed::snapshotChanged, this, [this] { sampled(); });
    connect(&tools_, &SystemTools::startupItemsChanged, this, [this] { refresher_.request(); });
    connect(&tools_, &SystemTools::processesChanged, this, [this] { refresher_.request(); });
    refreshNow();
}

QWidget* PerformanceView::gauges()
{
    auto* gauges = new QWidget;
    gauges->setObjectName(QStringLiteral("gauges"));
    auto* column = new QVBoxLayout(gauges);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kGaugeSpacing);
    tileRow_ = new QHBoxLayout;
    tileRow_->setSpacing(kTileSpacing);
    column->addLayout(tileRow_);

    QVBoxLayout* chartColumn = nullptr;
    GlassPanel* chartCard = card(kChartCornerRadius, kChartPadding, kChartSpacing, chartColumn);
    chartCard->setObjectName(QStringLiteral("chartCard"));
    auto* titleRow = new QHBoxLayout;
    auto* chartTitle = new RoleLabel(P::chartTitle(), Palette::inkSecondary(), TypeStyle::font(11, QFont::DemiBold));
    chartTitle->setObjectName(QStringLiteral("chartTitle"));
    titleRow->addWidget(chartTitle);
    titleRow->addStretch(1);
    uptime_ = new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal));
    uptime_->setObjectName(QStringLiteral("uptime"));
    titleRow->addWidget(uptime_);
    chartColumn->addLayout(titleRow);
    chart_ = new CpuHistoryChart;
    chartColumn->addWidget(chart_);
    column->addWidget(chartCard);
    return gauges;
}

QWidget* PerformanceView::startupSection()
{
    QVBoxLayout* column = nullptr;
    GlassPanel* section = card(kCardCornerRadius, kCardPadding, kCardSpacing, column);
    section->setObjectName(QStringLiteral("startupSection"));
    auto* header = new QHBoxLayout;
    auto* title = new RoleLabel(P::startupTitle(), Palette::ink(), TypeStyle::sectionTitle());
    title->setObjectName(QStringLiteral("startupTitle"));
    header->addWidget(title, 0, Qt::AlignVCenter);
    header->addStretch(1);
    startupCount_ = new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(11, QFont::Normal));
    startupCount_->setObjectName(QStringLiteral("startupCount"));
    header->addWidget(startupCount_, 0, Qt::AlignVCenter);
    GlassCompatButton* refresh = refreshButton(section);
    refresh->setObjectName(QStringLiteral("refreshStartupItems"));
    connect(refresh, &QAbstractButton::clicked, &tools_, &SystemTools::loadStartupItems);
    header->addWidget(refresh, 0, Qt::AlignVCenter);
    column->addLayout(header);

    noStartupItems_ = new RoleLabel(P::noStartupItems(), Palette::inkTertiary(), TypeStyle::font(12, QFont::Normal));
    noStartupItems_->setObjectName(QStringLiteral("noStartupItems"));
    noStartupItems_->setWordWrap(true);
    column->addWidget(noStartupItems_);
    startupList_ = new QVBoxLayout;
    startupList_->setSpacing(kStartupRowSpacing);
    column->addLayout(startupList_);
    return section;
}

QWidget* PerformanceView::processSection()
{
    QVBoxLayout* column = nullptr;
    GlassPanel* section = card(kCardCornerRadius, kCardPadding, kCardSpacing, column);
    section->setObjectName(QStringLiteral("processSection"));
    auto* header = new QHBoxLayout;
    auto* title = new RoleLabel(P::processTitle(), Palette::ink(), TypeStyle::sectionTitle());
    title->setObjectName(QStringLiteral("processTitle"));
    header->addWidget(title, 0, Qt::AlignVCenter);
    header->addStretch(1);
    GlassCompatButton* refresh = refreshButton(section);
    refresh->setObjectName(QStringLiteral("refreshProcesses"));
    connect(refresh, &QAbstractButton::clicked, &tools_, &SystemTools::refreshProcesses);
    header->addWidget(refresh, 0, Qt::AlignVCenter);
    column->addLayout(header);

    // Column labels over the rows' columns: the rows' padding, then the same widths.
    auto* labels = new QHBoxLayout;
    labels->setContentsMargins(ProcessRow::kPaddingX, 0, ProcessRow::kPaddingX, 0);
    labels->setSpacing(ProcessRow::kSpacing);
    const QFont labelFont = TypeStyle::font(10, QFont::DemiBold);
    const auto label = [&](const QString& text, int width, const char* name) {
        auto* shown = new RoleLabel(text, Palette::inkTertiary(), labelFont);
        shown->setObjectName(QLatin1String(name));
        if (width > 0) {
            shown->setFixedWidth(width);
            shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        return shown;
    };
    labels->addWidget(label(P::processColumn(), 0, "processColumn"), 1);
    labels->addWidget(label(P::cpuColumn(), ProcessRow::kCpuWidth, "cpuColumn"));
    labels->addWidget(label(P::memoryColumn(), ProcessRow::kMemoryWidth, "memoryColumn"));
    // A widget rather than a spacer: a layout leaves out its spacing before a
    // spacer, and the rows have that spacing before their button column.
    auto* actionColumn = new QWidget;
    actionColumn->setObjectName(QStringLiteral("actionColumn"));
    actionColumn->setFixedWidth(ProcessRow::kActionWidth);
    labels->addWidget(actionColumn);
    column->addLayout(labels);

    processBox_ = new QWidget;
    processBox_->setObjectName(QStringLiteral("processList"));
    processBox_->installEventFilter(this);
    processList_ = new QVBoxLayout(processBox_);
    processList_->setContentsMargins(0, 0, 0, 0);
    processList_->setSpacing(kProcessRowSpacing);
    column->addWidget(processBox_);
    return section;
}

void PerformanceView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous() || refreshTimer_.isActive()) {
        return;
    }
    tools_.loadStartupItems();
    tools_.refreshProcesses();
    refreshTimer_.start();
}

void PerformanceView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        refreshTimer_.stop();
    }
}

bool PerformanceView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == processBox_ && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        pointerOverProcesses_ = event->type() == QEvent::Enter;
        if (!pointerOverProcesses_) {
            processesLetGo();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool PerformanceView::processesHeld() const
{
    return pointerOverProcesses_
        || std::any_of(processRows_.begin(), processRows_.end(), [](ProcessRow* row) { return row->isHeld(); });
}

void PerformanceView::processesLetGo()
{
    // On the next turn, so a click being released reaches its row first.
    if (processOrderDeferred_ && !processesHeld()) {
        refresher_.request();
    }
}

void PerformanceView::sampled()
{
    const double load = feed_.snapshot().cpuUsage;
    if (load != lastLoad_ && isVisible()) {
        history_ = P::appended(std::move(history_), load);
        chart_->setHistory(history_);
    }
    lastLoad_ = load;
    refresher_.request();
}

void PerformanceView::refreshNow()
{
    refresher_.settle();
    const SystemSnapshot& snapshot = feed_.snapshot();
    showTiles(P::tiles(snapshot));
    uptime_->setText(P::uptimeText(snapshot.uptime));
    showStartupItems();
    showProcesses();
}

void PerformanceView::showTiles(const QList<StatTileLook>& tiles)
{
    const bool sameKinds = tiles.size() == shownTiles_.size()
        && std::equal(tiles.begin(), tiles.end(), shownTiles_.begin(),
                      [](const StatTileLook& a, const StatTileLook& b) {
                          return a.title == b.title && a.symbol == b.symbol && a.tint == b.tint;
                      });
    if (!sameKinds) {
        for (StatTile* tile : tiles_) {
            tileRow_->removeWidget(tile);
            tile->deleteLater();
        }
        tiles_.clear();
        for (const StatTileLook& tile : tiles) {
            auto* shown = new StatTile(tile.title, tile.value, tile.caption, tile.fraction, tile.symbol,
                                       Palette::color(tile.tint));
            shown->setObjectName(QStringLiteral("tile"));
            tileRow_->addWidget(shown, 1, Qt::AlignVCenter);
            tiles_.append(shown);
        }
    } else {
        for (qsizetype i = 0; i < tiles.size(); ++i) {
            tiles_[i]->setValue(tiles[i].value);
            tiles_[i]->setCaption(tiles[i].caption);
            tiles_[i]->setFraction(tiles[i].fraction);
        }
    }
    shownTiles_ = tiles;
}

void PerformanceView::showStartupItems()
{
    const QList<StartupItem>& items = tools_.startupItems();
    startupCount_->setText(P::startupCount(items));
    noStartupItems_->setVisible(items.isEmpty());
    QList<StartupRow*> rows;
    for (const StartupItem& item : items) {
        const auto kept = std::find_if(startupRows_.begin(), startupRows_.end(),
                                       [&](StartupRow* row) { return row->item().id() == item.id(); });
        StartupRow* row = nullptr;
        if (kept != startupRows_.end()) {
            row = *kept;
            startupRows_.erase(kept);
            if (!(row->item() == item)) {
                row->setItem(item);
            }
        } else {
            // The item as its row shows it now.
            row = new StartupRow(item, [this, id = item.id()](bool enabled) {
                for (StartupRow* current : startupRows_) {
                    if (current->item().id() == id) {
                        tools_.setStartupItem(current->item(), enabled);
                        return;
                    }
                }
            });
        }
        rows.append(row);
    }
    for (StartupRow* gone : startupRows_) {
        startupList_->removeWidget(gone);
        gone->deleteLater();
    }
    startupRows_ = rows;
    order(startupList_, startupRows_, 0);
}

void PerformanceView::showProcesses()
{
    const QList<RunningProcess> shown = tools_.processes().mid(0, P::kShownProcesses);
    // A row stays with one process: a pid reused by a later process is a new row.
    const auto sameProcess = [](const RunningProcess& a, const RunningProcess& b) {
        return a.pid == b.pid && a.startTime == b.startTime && a.isApplication == b.isApplication;
    };
    if (processesHeld()) {
        for (ProcessRow* row : processRows_) {
            const auto now = std::find_if(shown.begin(), shown.end(), [&](const RunningProcess& process) {
                return sameProcess(process, row->process());
            });
            if (now != shown.end()) {
                row->setProcess(*now);
            }
        }
        processOrderDeferred_ = true;
        return;
    }
    processOrderDeferred_ = false;
    QList<ProcessRow*> rows;
    for (const RunningProcess& process : shown) {
        const auto kept = std::find_if(processRows_.begin(), processRows_.end(),
                                       [&](ProcessRow* row) { return sameProcess(row->process(), process); });
        ProcessRow* row = nullptr;
        if (kept != processRows_.end()) {
            row = *kept;
            processRows_.erase(kept);
            row->setProcess(process);
        } else {
            // The row hands over the process it showed when pressed.
            row = new ProcessRow(process,
                                 [this](const RunningProcess& pressed, bool force) { tools_.quit(pressed, force); });
            connect(row, &ProcessRow::heldChanged, this, &PerformanceView::processesLetGo);
        }
        rows.append(row);
    }
    for (ProcessRow* gone : processRows_) {
        processList_->removeWidget(gone);
        gone->deleteLater();
    }
    processRows_ = rows;
    order(processList_, processRows_, 0);
}

} // namespace harborlite
