#include "ui/diskmap/RuvozEzazView.h"

#include "model/DiskMap.h"
#include "model/ScanSession.h"
#include "model/SystemTools.h"
#include "paint/Palette.h"
#include "shared/FileSystem.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/ScreenHeader.h"
#include "ui/diskmap/DiskColumns.h"
#include "ui/diskmap/RootMenuButton.h"
#include "ui/diskmap/SelectionBar.h"
#include "ui/diskmap/StoragePanel.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/TypeStyle.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

namespace harborlite {

namespace P = RuvozEzazPresentation;

namespace {

constexpr qreal kShadowRadius = 20;
constexpr qreal kShadowOpacity = 0.1;
constexpr int kBuildingSpacing = 16;

} // namespace

RuvozEzazView::RuvozEzazView(DiskMap& map, ScanSession& scans, SystemTools& tools, ScreenServices services,
                             RuvozEzazPresentation::FolderExists exists, QWidget* parent)
    : QWidget(parent)
    , map_(map)
    , scans_(scans)
    , tools_(tools)
    , services_(std::move(services))
    , exists_(exists ? std::move(exists) : P::FolderExists([](const QString& path) { return FS::isDirectory(path); }))
    , root_(FS::home())
    , frame_(new ScreenFrame({QWIDGETSIZE_MAX, kSpacing, kPadding}))
    , rootMenu_(new RootMenuButton)
    , menu_(new QMenu(this))
    , buildButton_(new GlassCompatButton(QString(), true, Palette::accent()))
    , storagePanel_(new StoragePanel([this](const QString& folder) { select(folder); }, exists_))
    , browserShadow_(std::make_unique<SoftShadow>(kShadowRadius, kShadowOpacity))
{
    setObjectName(QStringLiteral("ruvozEzazView"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame_);

    auto* headerRow = new QWidget;
    headerRow->setObjectName(QStringLiteral("headerRow"));
    auto* header = new QHBoxLayout(headerRow);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(0);
    auto* screenHeader = new ScreenHeader(P::title(), P::subtitle(), P::headerSymbol());
    screenHeader->setObjectName(QStringLiteral("header"));
    header->addWidget(screenHeader, 1, Qt::AlignTop);
    header->addSpacing(12);
    auto* controls = new QHBoxLayout;
    controls->setSpacing(kControlsSpacing);
    MenuStyle::apply(menu_);
    menu_->setObjectName(QStringLiteral("rootMenuItems"));
    connect(menu_, &QMenu::aboutToShow, this, &RuvozEzazView::fillRootMenu);
    rootMenu_->setMenu(menu_);
    controls->addWidget(rootMenu_, 0, Qt::AlignVCenter);
    buildButton_->setObjectName(QStringLiteral("buildButton"));
    connect(buildButton_, &QAbstractButton::clicked, this, [this] {
        if (map_.isBuildingTree()) {
            scans_.cancelScan();
        } else {
            rebuild();
        }
    });
    controls->addWidget(buildButton_, 0, Qt::AlignVCenter);
    header->addLayout(controls);
    header->setAlignment(controls, Qt::AlignTop);
    frame_->addWidget(headerRow);

    storagePanel_->hide();
    frame_->addWidget(storagePanel_);

    auto* mainArea = new QWidget;
    mainArea->setObjectName(QStringLiteral("mainArea"));
    // One page shows at a time; the hidden ones take no room, so the empty
    // state and the ring do not ask for the height the map needs.
    auto* pages = new QVBoxLayout(mainArea);
    pages->setContentsMargins(0, 0, 0, 0);
    pages->setSpacing(0);

    buildingPage_ = new GlassPanel(kPanelRadius);
    buildingPage_->setObjectName(QStringLiteral("buildingState"));
    auto* building = new QVBoxLayout(buildingPage_);
    building->setSpacing(kBuildingSpacing);
    building->addStretch(1);
    auto* ringArea = new QWidget;
    ringArea->setFixedSize(int(kRingSide), int(kRingSide));
    ring_ = new ProgressRing(0, kRingLine, false, ringArea);
    ring_->setObjectName(QStringLiteral("buildRing"));
    ring_->setGeometry(0, 0, int(kRingSide), int(kRingSide));
    auto* percent = new RoleLabel(P::percentText(0), Palette::ink(), TypeStyle::font(26, QFont::Bold), ringArea);
    percent->setObjectName(QStringLiteral("buildPercent"));
    percent->setAlignment(Qt::AlignCenter);
    percent->setGeometry(0, 0, int(kRingSide), int(kRingSide));
    ringPercent_ = percent;
    building->addWidget(ringArea, 0, Qt::AlignHCenter);
    measuring_ = new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(12, QFont::Normal));
    measuring_->setObjectName(QStringLiteral("measuringLabel"));
    measuring_->setAlignment(Qt::AlignHCenter);
    measuring_->setElidedOnOneLine(true);
    building->addWidget(measuring_);
    building->addStretch(1);
    pages->addWidget(buildingPage_, 1);

    mappedPage_ = new QWidget;
    mappedPage_->setObjectName(QStringLiteral("mappedState"));
    auto* mapped = new QVBoxLayout(mappedPage_);
    mapped->setContentsMargins(0, 0, 0, 0);
    mapped->setSpacing(kSpacing);
    browserPanel_ = new GlassPanel(kPanelRadius);
    browserPanel_->setObjectName(QStringLiteral("browserPanel"));
    browserPanel_->setMinimumHeight(kBrowserMinHeight + 2 * kBrowserPadding);
    auto* browser = new QVBoxLayout(browserPanel_);
    browser->setContentsMargins(kBrowserPadding, kBrowserPadding, kBrowserPadding, kBrowserPadding);
    mapped->addWidget(browserPanel_, 1);
    selectionBar_ = new SelectionBar([this](const QString& path) {
        if (services_.reveal) {
            services_.reveal({path});
        }
    });
    mapped->addWidget(selectionBar_);
    pages->addWidget(mappedPage_, 1);
    // The browser's shadow falls outside its page, on the screen's column.
    frame_->columnWidget()->installEventFilter(this);

    emptyState_ = new EmptyStateView(P::headerSymbol(), P::emptyTitle(), P::emptyMessage(), P::mapActionTitle(root_),
                                     [this] { rebuild(); });
    emptyState_->setObjectName(QStringLiteral("emptyState"));
    pages->addWidget(emptyState_, 1);
    frame_->addWidget(mainArea, 1);

    for (auto changed : {&DiskMap::diskTreeChanged, &DiskMap::isBuildingTreeChanged, &DiskMap::treeProgressChanged}) {
        connect(&map_, changed, this, [this] { refresher_.request(); });
    }
    for (auto changed : {&DiskMap::expandedChildrenChanged, &DiskMap::expandingDirectoriesChanged}) {
        connect(&map_, changed, this, [this] {
            if (columns_) {
                columns_->refresh();
            }
        });
    }
    connect(&tools_, &SystemTools::storageChanged, this, [this] { refresher_.request(); });
    refreshNow();
}

RuvozEzazView::~RuvozEzazView() = default;

void RuvozEzazView::select(const QString& folder)
{
    root_ = FS::path(folder);
    if (columns_) {
        columns_->clearPath();
    }
    map_.buildDiskTree(root_);
    refreshNow();
}

void RuvozEzazView::chooseFolder()
{
    if (!services_.chooseFolder) {
        return;
    }
    const std::optional<QString> chosen = services_.chooseFolder(this, FS::home());
    if (chosen && !chosen->isEmpty()) {
        select(*chosen);
    }
}

void RuvozEzazView::rebuild()
{
    if (columns_) {
        columns_->clearPath();
    }
    map_.buildDiskTree(root_);
    refreshNow();
}

QMenu* RuvozEzazView::preparedRootMenu()
{
    fillRootMenu();
    return menu_;
}

void RuvozEzazView::fillRootMenu()
{
    menu_->clear();
    for (const P::RootChoice& choice : P::rootChoices(FS::home(), FS::library(), exists_)) {
        QAction* action = menu_->addAction(choice.title);
        action->setData(choice.path);
        connect(action, &QAction::triggered, this, [this, path = choice.path] { select(path); });
    }
    menu_->addSeparator();
    QAction* choose = menu_->addAction(P::chooseFolderTitle());
    // The chooser runs its own event loop: it starts once the menu has closed.
    connect(choose, &QAction::triggered, this, &RuvozEzazView::chooseFolder, Qt::QueuedConnection);
}

void RuvozEzazView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        tools_.refreshStorageBreakdown();
    }
}

bool RuvozEzazView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == frame_->columnWidget() && event->type() == QEvent::Paint && state_ == P::MainState::mapped
        && browserPanel_->isVisible()) {
        QPainter painter(frame_->columnWidget());
        painter.setRenderHint(QPainter::Antialiasing);
        const QRect surface(browserPanel_->mapTo(frame_->columnWidget(), QPoint(0, 0)), browserPanel_->size());
        browserShadow_->paint(painter, QRectF(surface), kPanelRadius,
                              Palette::accentDeep().resolve(Palette::appearance(this)));
    }
    return QWidget::eventFilter(watched, event);
}

void RuvozEzazView::refreshNow()
{
    refresher_.settle();
    rootMenu_->setText(P::rootLabel(root_));
    rootMenu_->setToolTip(root_);
    const bool building = map_.isBuildingTree();
    const P::BuildButtonLook look = P::buildButton(building);
    buildButton_->setText(look.title);
    buildButton_->setTint(Palette::color(look.tint));
    buildButton_->updateGeometry();
    if (GlassCompatButton* button = emptyState_->button()) {
        button->setText(P::mapActionTitle(root_));
        button->updateGeometry();
    }
    showStorage();

    state_ = P::mainState(building, map_.diskTree().has_value());
    switch (state_) {
    case P::MainState::building:
        ring_->setProgress(map_.treeProgress().fraction);
        ring_->setWorking(true);
        ringPercent_->setText(P::percentText(map_.treeProgress().fraction));
        measuring_->setText(P::measuringText(map_.treeProgress().name));
        showPage(buildingPage_);
        break;
    case P::MainState::mapped:
        ring_->setWorking(false);
        showTree();
        showPage(mappedPage_);
        break;
    case P::MainState::nothingMapped:
        ring_->setWorking(false);
        showPage(emptyState_);
        break;
    }
    frame_->columnWidget()->update();
}

void RuvozEzazView::showPage(QWidget* page)
{
    QWidget* focused = QApplication::focusWidget();
    for (QWidget* each : {buildingPage_, mappedPage_, static_cast<QWidget*>(emptyState_)}) {
        if (each == page) {
            continue;
        }
        // Hiding the focused button would pass the focus on to the next in
        // the chain, a volume of the storage panel, and the next Space would
        // map that volume: the build button keeps it instead.
        if (focused != nullptr && (focused == each || each->isAncestorOf(focused))) {
            buildButton_->setFocus(Qt::OtherFocusReason);
        }
        each->hide();
    }
    page->show();
}

void RuvozEzazView::showTree()
{
    const DiskNode& tree = *map_.diskTree();
    if (columns_ && shownTree_ == tree.id) {
        return;
    }
    shownTree_ = tree.id;
    if (!columns_) {
        DiskColumns::Source source{[this]() -> const DiskColumns::Listings& { return map_.expandedChildren(); },
                                   [this]() -> const DiskColumns::Locations& { return map_.expandingDirectories(); },
                                   [this](const DiskNode& folder) { map_.expandChildren(folder); },
                                   [this](const QString& path) {
                                       if (services_.reveal) {
                                           services_.reveal({path});
                                       }
                                   }};
        columns_ = new DiskColumns(tree, std::move(source));
        columns_->setObjectName(QStringLiteral("diskColumns"));
        browserPanel_->layout()->addWidget(columns_);
        connect(columns_, &DiskColumns::pathChanged, this, &RuvozEzazView::showSelection);
    } else {
        columns_->setRoot(tree);
    }
    showSelection();
}

void RuvozEzazView::showSelection()
{
    if (!columns_) {
        return;
    }
    selectionBar_->setNode(columns_->selectedNode());
    // In a short window the bar lies below the browser: a chosen row brings
    // it, and its "Reveal", into view.
    // Asked once the bar's new texts have their place.
    if (!columns_->path().empty() && frame_->scrollArea()) {
        QMetaObject::invokeMethod(
            this, [this] { frame_->scrollArea()->ensureWidgetVisible(selectionBar_, 0, kPadding); },
            Qt::QueuedConnection);
    }
}

void RuvozEzazView::showStorage()
{
    const std::optional<StorageBreakdown>& storage = tools_.storage();
    if (!P::showsPanel(storage)) {
        storagePanel_->hide();
        return;
    }
    storagePanel_->setStorage(*storage, root_);
    storagePanel_->setVisible(true);
}

} // namespace harborlite
