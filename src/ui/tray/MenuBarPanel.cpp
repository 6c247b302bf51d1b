#include "ui/tray/MenuBarPanel.h"

#include "engine/system/MaintenanceService.h"
#include "model/AppModel.h"
#include "paint/BrandMark.h"
#include "shared/Formatting.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/HairlineDivider.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/monitor/ModelMonitorInputs.h"
#include "ui/monitor/ProcessDot.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/TypeStyle.h"
#include "ui/tray/PanelMonitorRow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace harborlite {

namespace {

constexpr qreal kTileSide = 24;
constexpr qreal kTileRadius = 8;
constexpr qreal kMarkSide = 14;
constexpr qreal kMarkThickness = 0.24;
constexpr int kMenuButtonWidth = 30;
constexpr qreal kMenuSymbolSide = 15;

// The product's mark in white on the accent gradient's rounded tile.
class BrandTile : public QWidget {
public:
    explicit BrandTile(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("brandTile"));
        setFixedSize(static_cast<int>(kTileSide), static_cast<int>(kTileSide));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF tile(rect());
        painter.fillPath(Shapes::roundedRect(tile, kTileRadius),
                         Palette::accentGradient(tile, Palette::appearance(this)));
        QRectF mark(0, 0, kMarkSide, kMarkSide);
        mark.moveCenter(tile.center());
        BrandMark::paint(painter, mark, kMarkThickness, Qt::white, BrandMark::kSweep);
    }
};

QWidget* padded(QWidget* content, int horizontal, int vertical, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(horizontal, vertical, horizontal, vertical);
    layout->setSpacing(0);
    content->setParent(box);
    layout->addWidget(content);
    return box;
}

void setTextIfChanged(RoleLabel* label, const QString& text)
{
    if (label->text() != text) {
        label->setText(text);
    }
}

} // namespace

std::vector<MonitorKind> MenuBarPanel::panelKinds()
{
    std::vector<MonitorKind> kinds;
    std::copy_if(MonitorKinds::allCases.begin(), MonitorKinds::allCases.end(), std::back_inserter(kinds),
                 [](MonitorKind kind) { return kind != MonitorKind::processes; });
    return kinds;
}

QString MenuBarPanel::statusLine(double uptime)
{
    if (uptime > 0) {
        return QCoreApplication::translate("MenuBarPanel", "Up %1").arg(Format::duration(uptime));
    }
    return QCoreApplication::translate("MenuBarPanel", "Monitoring");
}

std::optional<MaintenanceTask> MenuBarPanel::task(const QList<MaintenanceTask>& tasks, const QString& id)
{
    const auto found =
        std::find_if(tasks.begin(), tasks.end(), [&id](const MaintenanceTask& task) { return task.id == id; });
    if (found == tasks.end()) {
        return std::nullopt;
    }
    return *found;
}

QPoint MenuBarPanel::placement(const QRect& tray, const QSize& size, const QRect& screen)
{
    const auto clampX = [&](int x) {
        return std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
    };
    const auto clampY = [&](int y) {
        return std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    };
    if (tray.isEmpty()) {
        return {clampX(screen.right() + 1 - kGap - size.width()), clampY(screen.top() + kGap)};
    }
    const int x = clampX(tray.center().x() - size.width() / 2);
    const int below = tray.bottom() + 1 + kGap;
    if (below + size.height() <= screen.bottom() + 1) {
        return {x, below};
    }
    return {x, clampY(tray.top() - kGap - size.height())};
}

MenuBarPanel::MenuBarPanel(AppModel& model, QList<MaintenanceTask> tasks, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , model_(model)
    , tasks_(std::move(tasks))
    , processRefresh_([this] { model_.refreshProcesses(); }, [] { return kRefreshMilliseconds; }, this)
{
    setObjectName(QStringLiteral("menuBarPanel"));
    setWindowTitle(QStringLiteral("Harborlite"));
    // A click on the tray icon while the panel is open only closes it.
    setAttribute(Qt::WA_NoMouseReplay);
    // The panel is no main window: closing it never ends the application.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedWidth(kWidth);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(padded(buildHeader(), 14, 11, this));
    column->addWidget(new HairlineDivider(Qt::Horizontal, this));
    column->addWidget(padded(buildRows(), 14, 12, this));
    column->addWidget(new HairlineDivider(Qt::Horizontal, this));
    column->addWidget(padded(buildProcesses(), 14, 11, this));
    column->addWidget(new HairlineDivider(Qt::Horizontal, this));
    column->addWidget(padded(buildActions(), 14, 11, this));

    const auto request = [this] { refresher_.request(); };
    watchMonitorInputs(model_, this, request);
    connect(&model_.scanSession(), &ScanSession::isSmartScanningChanged, this, request);
    refresh();
}

MenuBarPanel::~MenuBarPanel()
{
    unwatchMonitorInputs(model_, this);
}

QWidget* MenuBarPanel::buildHeader()
{
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(9);
    row->addWidget(new BrandTile(header), 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    auto* name = new RoleLabel(QStringLiteral("Harborlite"), Palette::ink(), TypeStyle::font(13, QFont::Bold), header);
    name->setObjectName(QStringLiteral("productName"));
    status_ = new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10, QFont::Normal), header);
    status_->setObjectName(QStringLiteral("status"));
    texts->addWidget(name);
    texts->addWidget(status_);
    row->addLayout(texts);
    row->addStretch(1);
    return header;
}

QWidget* MenuBarPanel::buildRows()
{
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(9);
    const std::vector<MonitorKind> kinds = panelKinds();
    for (size_t i = 0; i < kinds.size(); ++i) {
        rows_[i] = new PanelMonitorRow(kinds[i], box);
        column->addWidget(rows_[i]);
    }
    return box;
}

QWidget* MenuBarPanel::buildProcesses()
{
    auto* box = new QWidget;
    processLayout_ = new QVBoxLayout(box);
    processLayout_->setContentsMargins(0, 0, 0, 0);
    processLayout_->setSpacing(5);
    auto* heading =
        new RoleLabel(tr("HEAVIEST PROCESSES"), Palette::inkTertiary(), TypeStyle::font(9, QFont::Bold), box);
    heading->setObjectName(QStringLiteral("processHeading"));
    sampling_ = new RoleLabel(tr("Sampling\u2026"), Palette::inkTertiary(), TypeStyle::font(11, QFont::Normal), box);
    sampling_->setObjectName(QStringLiteral("sampling"));
    processLayout_->addWidget(heading);
    processLayout_->addWidget(sampling_);
    return box;
}

QWidget* MenuBarPanel::buildActions()
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    open_ = new GlassCompatButton(tr("Open Harborlite"), true, Palette::accent(), box);
    open_->setObjectName(QStringLiteral("openButton"));
    smartScan_ = new GlassCompatButton(tr("Smart Scan"), false, Palette::accent(), box);
    smartScan_->setObjectName(QStringLiteral("smartScanButton"));
    menuButton_ =
        new PlainSymbolButton(QStringLiteral("ellipsis.circle"), kMenuSymbolSide, Palette::inkSecondary(), box);
    menuButton_->setObjectName(QStringLiteral("menuButton"));
    menuButton_->setFixedWidth(kMenuButtonWidth);
    menuButton_->setAccessibleName(tr("More"));
    row->addWidget(open_);
    row->addWidget(smartScan_);
    row->addStretch(1);
    row->addWidget(menuButton_, 0, Qt::AlignVCenter);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("panelMenu"));
    freeMemory_ = menu_->addAction(tr("Free Up Memory"), this, [this] { runTask(QStringLiteral("freeRAM")); });
    flushDns_ = menu_->addAction(tr("Flush DNS Cache"), this, [this] { runTask(QStringLiteral("flushDNS")); });
    menu_->addSeparator();
    quit_ = menu_->addAction(tr("Quit Harborlite"), this, &MenuBarPanel::quitRequested);
    menu_->setToolTipsVisible(true);
    MenuStyle::apply(menu_);
    connect(menu_, &QMenu::aboutToShow, this, &MenuBarPanel::showTaskAvailability);

    connect(open_, &QAbstractButton::clicked, this, [this] {
        emit openWindowRequested();
        close();
    });
    connect(smartScan_, &QAbstractButton::clicked, this, &MenuBarPanel::startSmartScan);
    connect(menuButton_, &QAbstractButton::clicked, this,
            [this] { menu_->popup(menuButton_->mapToGlobal(QPoint(0, menuButton_->height()))); });
    return box;
}

void MenuBarPanel::open(const Anchor& anchor)
{
    anchor_ = anchor;
    refresh();
    adjustSize();
    place();
    show();
    raise();
}

void MenuBarPanel::place()
{
    const QPoint probe = anchor_.tray.isEmpty() ? anchor_.cursor : anchor_.tray.center();
    QScreen* screen = QGuiApplication::screenAt(probe);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    move(placement(anchor_.tray, size(), screen->availableGeometry()));
}

void MenuBarPanel::refresh()
{
    refresher_.settle();
    setTextIfChanged(status_, statusLine(model_.snapshot().uptime));
    const MonitorInputs inputs = monitorInputs(model_);
    for (PanelMonitorRow* row : rows_) {
        row->setReading(monitorReading(row->kind(), inputs));
    }
    showProcesses(model_.processes());
    smartScan_->setEnabled(!model_.isSmartScanning());
    showTaskAvailability();
}

void MenuBarPanel::showProcesses(const QList<RunningProcess>& processes)
{
    const auto count = static_cast<size_t>(std::min<qsizetype>(processes.size(), kProcessRows));
    sampling_->setHidden(count > 0);
    // Rows keep their place while the heaviest processes change order every
    // sample; only a change in their number lays the panel out again.
    // Called from the model's notifications, never from a row's own signal.
    if (processRows_.size() != count) {
        while (processRows_.size() > count) {
            delete processRows_.back().row;
            processRows_.pop_back();
        }
        while (processRows_.size() < count) {
            addProcessRow();
        }
        // The panel is as tall as its content.
        layout()->activate();
        adjustSize();
    }
    for (size_t i = 0; i < count; ++i) {
        const RunningProcess& process = processes[static_cast<qsizetype>(i)];
        processRows_[i].dot->setCpu(process.cpu);
        setTextIfChanged(processRows_[i].name, process.name);
        setTextIfChanged(processRows_[i].cpu, QString::asprintf("%.1f%%", process.cpu));
    }
}

void MenuBarPanel::addProcessRow()
{
    auto* rowWidget = new QWidget(sampling_->parentWidget());
    rowWidget->setObjectName(QStringLiteral("processRow"));
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    auto* dot = new ProcessDot(rowWidget);
    auto* name = new RoleLabel(QString(), Palette::ink(), TypeStyle::font(11, QFont::Normal), rowWidget);
    name->setObjectName(QStringLiteral("name"));
    name->setElidedOnOneLine(true);
    name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* cpu = new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(10.5, QFont::Medium), rowWidget);
    cpu->setObjectName(QStringLiteral("cpu"));
    cpu->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(dot, 0, Qt::AlignVCenter);
    row->addWidget(name, 1);
    row->addSpacing(6);
    row->addWidget(cpu);
    processLayout_->addWidget(rowWidget);
    processRows_.push_back({rowWidget, dot, name, cpu});
}

void MenuBarPanel::showTaskAvailability()
{
    for (const auto& [action, id] :
         {std::pair{freeMemory_, QStringLiteral("freeRAM")}, std::pair{flushDns_, QStringLiteral("flushDNS")}}) {
        const std::optional<MaintenanceTask> found = task(tasks_, id);
        const bool available = found && MaintenanceService::isAvailable(*found);
        action->setEnabled(available);
        action->setToolTip(found && !available ? MaintenanceService::missingToolReason(*found) : QString());
    }
}

void MenuBarPanel::runTask(const QString& id)
{
    if (const std::optional<MaintenanceTask> found = task(tasks_, id)) {
        model_.runMaintenance(*found);
    }
}

void MenuBarPanel::startSmartScan()
{
    if (model_.isSmartScanning()) {
        return;
    }
    emit openWindowRequested();
    model_.setRoute(Route::smartScan);
    model_.startSmartScan();
    close();
}

void MenuBarPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    model_.startMonitoring();
    processRefresh_.start();
}

void MenuBarPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    processRefresh_.stop();
    emit closed();
}

void MenuBarPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Without a compositor a translucent window shows black corners, so the
    // corners are cut instead.
    setMask(QRegion(Shapes::roundedRect(QRectF(rect()), kCornerRadius).toFillPolygon().toPolygon()));
    if (isVisible()) {
        place();
    }
}

void MenuBarPanel::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(rect());
    painter.fillRect(area, Palette::canvas().resolve(appearance));
    Shapes::strokeInside(painter, area, kCornerRadius, Palette::hairline().resolve(appearance), 1);
}

} // namespace harborlite
