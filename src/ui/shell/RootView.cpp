#include "ui/shell/RootView.h"

#include "model/AppModel.h"
#include "platform/DesktopSettings.h"
#include "platform/HomeFolder.h"
#include "platform/XdgConfigHome.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/SheetOverlay.h"
#include "ui/monitor/ModelMonitorInputs.h"
#include "ui/monitor/TopStatsBar.h"
#include "ui/shell/DetailScreen.h"
#include "ui/shell/FullDiskAccessCard.h"
#include "ui/shell/Sidebar.h"
#include "ui/theme/Motion.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/WindowCanvas.h"
#include "ui/updates/UpdateBanner.h"
#include "ui/updates/UpdateSheet.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

constexpr int kTopBarTop = 14;
constexpr int kSlotTop = 10;
constexpr int kBannerMoveMilliseconds = 400;

// The top bar draws its shadow inside its own bounds; the column's insets
// are measured to its glass, so the bar's shadow room comes off them.
constexpr qreal kTopBarShadowRadius = 10;

QMargins insetsAround(const QMarginsF& shadowRoom, int top)
{
    auto less = [](int wanted, qreal room) { return std::max(0, wanted - static_cast<int>(std::ceil(room))); };
    return {less(RootView::kColumnInset, shadowRoom.left()), less(top, shadowRoom.top()),
            less(RootView::kColumnInset, shadowRoom.right()), 0};
}

QWidget* slot(QWidget* parent, const QString& name)
{
    auto* box = new QWidget(parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(RootView::kColumnInset, kSlotTop, RootView::kColumnInset, 0);
    layout->setSpacing(0);
    box->hide();
    return box;
}

} // namespace

RootView::RootView(AppModel& model, QWidget* parent)
    : RootView(model, Setup{}, parent)
{
}

RootView::RootView(AppModel& model, Setup setup, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , setup_(std::move(setup))
    , persistedRoute_(model.route())
{
    setObjectName(QStringLiteral("rootView"));
    aurora_ = new AuroraBackground(this);
    aurora_->lower();
    canvas_ = new WindowCanvas(model_.settings().theme(), this);

    auto* whole = new QHBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setObjectName(QStringLiteral("split"));
    split_->setChildrenCollapsible(false);
    split_->setHandleWidth(1);
    split_->setStyleSheet(QStringLiteral("QSplitter::handle { background: transparent; }"));
    whole->addWidget(split_);

    sidebar_ = new Sidebar(model_, split_);
    split_->addWidget(sidebar_);

    detail_ = new QWidget(split_);
    detail_->setObjectName(QStringLiteral("detailColumn"));
    detail_->setMinimumSize(kDetailMinimumWidth, kDetailMinimumHeight);
    detailLayout_ = new QVBoxLayout(detail_);
    detailLayout_->setContentsMargins(0, 0, 0, 0);
    detailLayout_->setSpacing(0);

    auto* topSlot = new QWidget(detail_);
    auto* topLayout = new QVBoxLayout(topSlot);
    topLayout->setContentsMargins(insetsAround(SoftShadow(kTopBarShadowRadius, 0).margins(), kTopBarTop));
    topBar_ = new TopStatsBar(topSlot);
    topLayout->addWidget(topBar_);
    connect(topBar_, &TopStatsBar::settingsRequested, this, [this] { model_.setRoute(Route::widgets); });
    detailLayout_->addWidget(topSlot);

    updateSlot_ = slot(detail_, QStringLiteral("updateSlot"));
    detailLayout_->addWidget(updateSlot_);
    accessSlot_ = slot(detail_, QStringLiteral("accessSlot"));
    detailLayout_->addWidget(accessSlot_);

    split_->addWidget(detail_);
    split_->setStretchFactor(0, 0);
    split_->setStretchFactor(1, 1);
    split_->setSizes({Sidebar::openingWidth(), 1000});

    // What the frame shows; a scan's progress and the selection are the
    // screens' own business.
    connect(&model_.settings(), &Observable::didChange, this, &RootView::scheduleRefresh);
    connect(&model_.updates(), &Observable::didChange, this, &RootView::scheduleRefresh);
    for (auto changed :
         {&AppModel::routeChanged, &AppModel::showUpdateSheetChanged, &AppModel::bannerChanged,
          &AppModel::hasFullDiskAccessChanged, &AppModel::resultsChanged, &AppModel::lastSmartScanChanged,
          &AppModel::snapshotChanged, &AppModel::cpuSeriesChanged, &AppModel::memorySeriesChanged,
          &AppModel::storageSeriesChanged, &AppModel::networkInSeriesChanged, &AppModel::networkOutSeriesChanged,
          &AppModel::processesChanged}) {
        connect(&model_, changed, this, &RootView::scheduleRefresh);
    }
    connect(&model_, &AppModel::routeChanged, this, &RootView::routeChanged);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) {
            model_.refreshPermissions();
        }
    });
    refresh();
}

RootView::~RootView()
{
    // A banner view going with the window still clears the model's banner;
    // this view must not hear of it half destroyed.
    disconnect(&model_, nullptr, this, nullptr);
    delete sheet_;
}

void RootView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (started_) {
        return;
    }
    started_ = true;
    model_.startMonitoring();
    model_.refreshPermissions();
}

void RootView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    aurora_->setGeometry(rect());
    placeBanner();
}

void RootView::routeChanged()
{
    if (model_.route() != persistedRoute_) {
        persistedRoute_ = model_.route();
        model_.persistRoute();
    }
}

void RootView::scheduleRefresh()
{
    refresher_.request();
}

void RootView::refresh()
{
    refresher_.settle();
    if (canvas_->theme() != model_.settings().theme()) {
        canvas_->setTheme(model_.settings().theme());
    }
    refreshTopBar();
    refreshUpdateBanner();
    refreshAccessCard();
    refreshScreen();
    refreshSheet();
    refreshBanner();
}

void RootView::refreshTopBar()
{
    topBar_->setChosenKinds(model_.settings().topBar());
    topBar_->setInputs(monitorInputs(model_));
}

void RootView::refreshUpdateBanner()
{
    const std::optional<AppUpdate>& available = model_.updates().available();
    if (!available) {
        if (updateBanner_ != nullptr) {
            leavingUpdate_ = updateBanner_;
            updateBanner_ = nullptr;
            moveUpdateSlot(false);
        }
        return;
    }
    if (updateBanner_ == nullptr) {
        delete leavingUpdate_;
        updateBanner_ = new UpdateBanner(*available, model_, updateSlot_);
        updateSlot_->layout()->addWidget(updateBanner_);
        moveUpdateSlot(true);
    } else if (updateBanner_->update() != *available) {
        updateBanner_->setUpdate(*available);
    }
}

void RootView::moveUpdateSlot(bool opening)
{
    for (auto* running : updateSlot_->findChildren<QPropertyAnimation*>(QString(), Qt::FindDirectChildrenOnly)) {
        running->stop();
        delete running;
    }
    updateSlot_->setMaximumHeight(QWIDGETSIZE_MAX);
    const bool animated = isVisible() && !Motion::reduceMotion();
    if (opening) {
        updateSlot_->show();
        if (!animated) {
            return;
        }
        auto* grow = new QPropertyAnimation(updateSlot_, "maximumHeight", updateSlot_);
        grow->setStartValue(0);
        grow->setEndValue(updateSlot_->sizeHint().height());
        grow->setDuration(kBannerMoveMilliseconds);
        grow->setEasingCurve(QEasingCurve::OutCubic);
        connect(grow, &QAbstractAnimation::finished, updateSlot_,
                [slot = updateSlot_] { slot->setMaximumHeight(QWIDGETSIZE_MAX); });
        grow->start(QAbstractAnimation::DeleteWhenStopped);
        return;
    }
    if (!animated) {
        delete leavingUpdate_;
        updateSlot_->hide();
        return;
    }
    auto* shrink = new QPropertyAnimation(updateSlot_, "maximumHeight", updateSlot_);
    shrink->setStartValue(updateSlot_->height());
    shrink->setEndValue(0);
    shrink->setDuration(kBannerMoveMilliseconds);
    shrink->setEasingCurve(QEasingCurve::InCubic);
    connect(shrink, &QAbstractAnimation::finished, this, [this] {
        delete leavingUpdate_;
        if (updateBanner_ == nullptr) {
            updateSlot_->hide();
        }
        updateSlot_->setMaximumHeight(QWIDGETSIZE_MAX);
    });
    shrink->start(QAbstractAnimation::DeleteWhenStopped);
}

void RootView::refreshAccessCard()
{
    if (model_.hasFullDiskAccess()) {
        if (accessCard_ != nullptr) {
            delete accessCard_;
            accessCard_ = nullptr;
            accessSlot_->hide();
        }
        return;
    }
    if (accessCard_ != nullptr) {
        return;
    }
    FullDiskAccessCard::Desktop desktop{.openSettings = {}, .reveal = setup_.services.reveal};
    if (const std::optional<platform::LaunchCommand> settings = platform::desktopSettingsCommand(
            setup_.tools, platform::currentDesktops().get(), platform::homeFolder().get())) {
        desktop.openSettings = [command = *settings] { platform::launch(command); };
    }
    accessCard_ = new FullDiskAccessCard([this] { model_.refreshPermissions(); }, std::move(desktop), accessSlot_);
    accessSlot_->layout()->setContentsMargins(insetsAround(QMarginsF(accessCard_->shadowMargins()), kSlotTop));
    accessSlot_->layout()->addWidget(accessCard_);
    accessSlot_->show();
}

void RootView::refreshScreen()
{
    const Route route = model_.route();
    if (screenRoute_ == route) {
        return;
    }
    if (screen_ != nullptr) {
        screen_->hide();
        screen_->deleteLater();
    }
    screen_ = makeDetailScreen(route, model_, setup_.services, detail_);
    screenRoute_ = route;
    detailLayout_->addWidget(screen_, 1);
    screen_->show();
}

void RootView::refreshSheet()
{
    if (model_.showUpdateSheet()) {
        if (!sheet_) {
            sheet_ = new UpdateSheet(
                model_, model_.updates(), [this] { model_.setShowUpdateSheet(false); }, this);
            SheetOverlay::present(sheet_, this);
        }
        return;
    }
    if (sheet_) {
        UpdateSheet* closing = sheet_;
        sheet_ = nullptr;
        closing->hide();
        closing->deleteLater();
    }
}

void RootView::refreshBanner()
{
    const std::optional<AppModel::Banner>& current = model_.banner();
    if (!current) {
        removeBanner();
        return;
    }
    if (banner_ != nullptr) {
        if (banner_->banner() != *current) {
            banner_->setBanner(*current);
            placeBanner();
        }
        return;
    }
    QPointer<AppModel> model(&model_);
    banner_ = new BannerView(
        *current,
        [model] {
            if (model && model->banner()) {
                model->setBanner(std::nullopt);
            }
        },
        setup_.bannerWait, this);
    placeBanner();
    banner_->raise();
    banner_->show();
    if (!Motion::reduceMotion()) {
        auto* arrive = new QPropertyAnimation(banner_, "pos", banner_);
        const QPoint rest = banner_->pos();
        arrive->setStartValue(QPoint(rest.x(), -banner_->height()));
        arrive->setEndValue(rest);
        arrive->setDuration(kBannerMoveMilliseconds);
        arrive->setEasingCurve(QEasingCurve::OutCubic);
        banner_->move(rest.x(), -banner_->height());
        arrive->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void RootView::removeBanner()
{
    if (banner_ == nullptr) {
        return;
    }
    BannerView* leaving = banner_;
    banner_ = nullptr;
    leaving->retire();
    leaving->setObjectName(QStringLiteral("leavingBanner"));
    leaving->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (Motion::reduceMotion() || !leaving->isVisible()) {
        leaving->deleteLater();
        return;
    }
    auto* leave = new QPropertyAnimation(leaving, "pos", leaving);
    leave->setStartValue(leaving->pos());
    leave->setEndValue(QPoint(leaving->x(), -leaving->height()));
    leave->setDuration(kBannerMoveMilliseconds);
    leave->setEasingCurve(QEasingCurve::InCubic);
    connect(leave, &QAbstractAnimation::finished, leaving, &QObject::deleteLater);
    leave->start(QAbstractAnimation::DeleteWhenStopped);
}

void RootView::placeBanner()
{
    if (banner_ == nullptr) {
        return;
    }
    const QSize size = banner_->preferredSize();
    banner_->setGeometry((width() - size.width()) / 2, kBannerTop - banner_->surfaceTop(), size.width(), size.height());
}

} // namespace harborlite
