#include "ui/applications/ApplicationsView.h"

#include "model/ScanSession.h"
#include "model/SystemTools.h"
#include "ui/applications/AppIconCache.h"
#include "ui/applications/AppListModel.h"
#include "ui/applications/AppRowDelegate.h"
#include "ui/applications/UninstallPane.h"
#include "ui/applications/UninstallPresentation.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/InnerCard.h"
#include "ui/components/PopUpPicker.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/ReviewText.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace harborlite {

namespace {

// Paints the Uninstall pane's action bar shadow on the detail pane, outside
// the bar, so the bar's surface lines up with the cards above it. Only the
// part of the bar the pane's scroll area shows casts a shadow.
class PaneBarShadow : public QObject {
public:
    PaneBarShadow(QWidget* detailPane, QScrollArea* scroll, UninstallPane* pane)
        : QObject(detailPane)
        , detailPane_(detailPane)
        , scroll_(scroll)
        , pane_(pane)
    {
        detailPane_->installEventFilter(this);
        pane_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == detailPane_ && event->type() == QEvent::Paint) {
            paint();
        } else if (watched == pane_
                   && (event->type() == QEvent::Move || event->type() == QEvent::Resize
                       || event->type() == QEvent::LayoutRequest || event->type() == QEvent::ChildRemoved)) {
            detailPane_->update();
        }
        return false;
    }

private:
    void paint()
    {
        PrimaryActionBar* bar = pane_->actionBar();
        if (!bar || !bar->isVisible() || !scroll_->isVisible()) {
            return;
        }
        const QRect shown(scroll_->viewport()->mapTo(detailPane_, QPoint()), scroll_->viewport()->size());
        const QRect surface = QRect(bar->mapTo(detailPane_, QPoint()), bar->size()).intersected(shown);
        if (surface.isEmpty()) {
            return;
        }
        QPainter painter(detailPane_);
        bar->paintShadow(painter, QRectF(surface));
    }

    QWidget* detailPane_;
    QScrollArea* scroll_;
    UninstallPane* pane_;
};

QWidget* searchCard(QLineEdit* edit)
{
    auto* card = new InnerCard(10);
    card->setObjectName(QStringLiteral("searchCard"));
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(9, 6, 9, 6);
    row->setSpacing(6);
    row->addWidget(new SymbolView(QStringLiteral("magnifyingglass"), 11, Palette::inkTertiary()), 0, Qt::AlignVCenter);
    edit->setFrame(false);
    edit->setFont(TypeStyle::font(12, QFont::Normal));
    edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    row->addWidget(edit, 1);
    return card;
}

} // namespace

ApplicationsView::ApplicationsView(SystemTools& tools, ScanSession& scans, const ScreenServices& services,
                                   QWidget* parent)
    : QWidget(parent)
    , tools_(tools)
    , scans_(scans)
    , services_(services)
    , icons_(new AppIconCache(services, tools.runner(), this))
    , rows_(new AppListModel(this))
    , splitter_(new QSplitter(Qt::Horizontal))
    , header_(new ScreenHeader(tr("Applications"), ApplicationsPresentation::subtitle(0),
                               QStringLiteral("square.grid.2x2")))
    , search_(new QLineEdit)
    , sortPicker_(new PopUpPicker)
    , loading_(new QWidget)
    , list_(new QListView)
    , detail_(new QStackedWidget)
    , placeholder_(new EmptyStateView(
          QStringLiteral("square.grid.2x2"), tr("Select an application"),
          tr("Harborlite lists every support file, cache, preference and launch agent an app owns before anything is "
             "removed.")))
    , pane_(new UninstallPane(services, *icons_))
    , listRefresh_(this, [this] { refreshList(); })
{
    setObjectName(QStringLiteral("applicationsView"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(splitter_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(1);

    auto* listPane = new QWidget;
    listPane->setObjectName(QStringLiteral("listPane"));
    listPane->setMinimumWidth(kListPaneMinimumWidth);
    auto* listColumn = new QVBoxLayout(listPane);
    listColumn->setContentsMargins(kPadding, kPadding, 12, 0);
    listColumn->setSpacing(12);
    listColumn->addWidget(header_);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(8);
    search_->setObjectName(QStringLiteral("searchField"));
    search_->setPlaceholderText(tr("Search apps"));
    controls->addWidget(searchCard(search_), 1, Qt::AlignVCenter);
    QStringList sorts;
    for (const SortOrder order : ApplicationsPresentation::allSortOrders) {
        sorts << ApplicationsPresentation::title(order);
    }
    sortPicker_->setItems(sorts);
    sortPicker_->setObjectName(QStringLiteral("sortPicker"));
    sortPicker_->setAccessibleName(tr("Sort by"));
    sortPicker_->setFixedWidth(106);
    controls->addWidget(sortPicker_, 0, Qt::AlignVCenter);
    listColumn->addLayout(controls);

    loading_->setObjectName(QStringLiteral("loadingRow"));
    auto* loadingRow = new QHBoxLayout(loading_);
    loadingRow->setContentsMargins(0, 0, 0, 0);
    loadingRow->setSpacing(8);
    auto* spinner = new ProgressRing(0, 2, true);
    spinner->setFixedSize(14, 14);
    loadingRow->addWidget(spinner);
    loadingRow->addWidget(new RoleLabel(tr("Measuring applications") + ReviewText::kEllipsis, Palette::inkSecondary(),
                                        TypeStyle::font(11.5, QFont::Normal)));
    loadingRow->addStretch(1);
    listColumn->addWidget(loading_);

    list_->setObjectName(QStringLiteral("appList"));
    list_->setModel(rows_);
    list_->setItemDelegate(new AppRowDelegate(*icons_, list_));
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setUniformItemSizes(true);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setMouseTracking(true);
    list_->viewport()->setAttribute(Qt::WA_Hover);
    list_->viewport()->setAutoFillBackground(false);
    list_->setAutoFillBackground(false);
    list_->setFocusPolicy(Qt::NoFocus);
    listColumn->addWidget(list_, 1);
    splitter_->addWidget(listPane);

    auto* detailPane = new QWidget;
    detailPane->setObjectName(QStringLiteral("detailPane"));
    detailPane->setMinimumWidth(kDetailPaneMinimumWidth);
    auto* detailColumn = new QVBoxLayout(detailPane);
    detailColumn->setContentsMargins(12, kPadding, kPadding, kPadding);
    detailColumn->addWidget(detail_);
    detail_->addWidget(placeholder_);
    auto* paneScroll = new QScrollArea;
    paneScroll->setFrameShape(QFrame::NoFrame);
    paneScroll->setWidgetResizable(true);
    paneScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    paneScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    paneScroll->viewport()->setAutoFillBackground(false);
    paneScroll->setWidget(pane_);
    pane_->setAutoFillBackground(false);
    detail_->addWidget(paneScroll);
    new PaneBarShadow(detailPane, paneScroll, pane_);
    splitter_->addWidget(detailPane);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kListPaneWidth, 10000});

    connect(search_, &QLineEdit::textChanged, this, &ApplicationsView::setQuery);
    connect(sortPicker_, &PopUpPicker::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(ApplicationsPresentation::allSortOrders.size())) {
            setSort(ApplicationsPresentation::allSortOrders.at(static_cast<size_t>(index)));
        }
    });
    connect(list_, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (const std::optional<InstalledApp> app = rows_->app(index)) {
            select(*app);
        }
    });
    connect(icons_, &AppIconCache::iconLoaded, list_->viewport(), qOverload<>(&QWidget::update));
    connect(&tools_, &SystemTools::appsChanged, this, [this] { listRefresh_.request(); });
    connect(&tools_, &SystemTools::isLoadingAppsChanged, this, [this] { listRefresh_.request(); });
    connect(pane_, &UninstallPane::leftoverToggled, this, &ApplicationsView::toggleLeftover);
    connect(pane_, &UninstallPane::residueToggled, this, &ApplicationsView::toggleResidue);
    connect(pane_, &UninstallPane::uninstallRequested, this, [this] {
        if (plan_) {
            uninstall(*plan_);
        }
    });
    connect(&tools_, &SystemTools::isUninstallingChanged, this, [this] {
        if (tools_.isUninstalling()) {
            refreshPane();
        } else {
            uninstallFinished();
        }
    });
    refreshList();
    refreshPane();
}

ApplicationsView::~ApplicationsView() = default;

bool ApplicationsView::isRemoving() const
{
    return tools_.isUninstalling();
}

void ApplicationsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (tools_.apps().isEmpty()) {
        tools_.loadApps();
    }
}

void ApplicationsView::setQuery(const QString& query)
{
    if (query == query_) {
        return;
    }
    query_ = query;
    if (search_->text() != query) {
        search_->setText(query);
    }
    refreshList();
}

void ApplicationsView::setSort(SortOrder sort)
{
    sort_ = sort;
    const auto at =
        std::find(ApplicationsPresentation::allSortOrders.begin(), ApplicationsPresentation::allSortOrders.end(), sort);
    sortPicker_->setCurrentIndex(static_cast<int>(at - ApplicationsPresentation::allSortOrders.begin()));
    refreshList();
}

void ApplicationsView::refreshList()
{
    listRefresh_.settle();
    header_->subtitleLabel()->setText(ApplicationsPresentation::subtitle(tools_.apps().size()));
    loading_->setVisible(tools_.isLoadingApps());
    rows_->setApps(ApplicationsPresentation::filtered(tools_.apps(), query_, sort_));
    rows_->setSelectedBundleID(selection_ ? std::optional(selection_->bundleID) : std::nullopt);
}

void ApplicationsView::refreshPane()
{
    rows_->setSelectedBundleID(selection_ ? std::optional(selection_->bundleID) : std::nullopt);
    if (!selection_) {
        detail_->setCurrentIndex(0);
        return;
    }
    detail_->setCurrentIndex(1);
    pane_->present(*selection_, plan_, ApplicationsPresentation::isProtected(*selection_), isPlanning_, isRemoving());
}

void ApplicationsView::select(const InstalledApp& app)
{
    selection_ = app;
    buildPlan(app);
}

void ApplicationsView::buildPlan(const InstalledApp& app)
{
    plan_.reset();
    isPlanning_ = true;
    refreshPane();
    tools_.planUninstall(app, this, [this, bundleID = app.bundleID](UninstallPlan plan) {
        // A newer selection owns the planning flag; its own plan clears it.
        if (!selection_ || selection_->bundleID != bundleID) {
            return;
        }
        plan_ = std::move(plan);
        isPlanning_ = false;
        refreshPane();
    });
}

void ApplicationsView::toggleLeftover(const QUuid& id)
{
    if (!plan_) {
        return;
    }
    for (ScanItem& item : plan_->leftovers) {
        if (item.id == id) {
            item.isSelected = !item.isSelected;
            refreshPane();
            return;
        }
    }
}

void ApplicationsView::toggleResidue(const QUuid& id)
{
    if (!plan_) {
        return;
    }
    for (ScanItem& item : plan_->installedResidue) {
        if (item.id == id) {
            item.isSelected = !item.isSelected;
            refreshPane();
            return;
        }
    }
}

void ApplicationsView::uninstall(const UninstallPlan& plan)
{
    if (isRemoving() || ApplicationsPresentation::isProtected(plan.app)) {
        return;
    }
    const RemovalMode mode = scans_.cleanupMode();
    // The tools outlive the screen: the list reloads and the banner shows
    // whether or not the user is still here. Whichever screen is shown when
    // the run ends clears its selection as the busy state ends.
    tools_.uninstall(plan, mode, [tools = &tools_, name = plan.app.name](const CleanupReport& report) {
        tools->loadApps();
        const UninstallPresentation::Banner banner = UninstallPresentation::banner(name, report);
        tools->raiseBanner(banner.title, banner.message, banner.isError);
    });
}

void ApplicationsView::uninstallFinished()
{
    selection_.reset();
    plan_.reset();
    refreshPane();
}

} // namespace harborlite
