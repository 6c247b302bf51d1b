#include "ui/results/ResultsList.h"

#include "model/ScanSession.h"
#include "ui/results/CategorySectionHeader.h"
#include "ui/results/ResultsModel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace harborlite {

using Kind = ResultsModel::Kind;

ResultsList::ResultsList(ScanSession& scans, QList<ScanCategory> categories, const ScreenServices& services,
                         QWidget* parent)
    : QListView(parent)
    , scans_(scans)
    , services_(services)
    , rows_(new ResultsModel(scans, std::move(categories), this))
    , controller_(scans, *rows_, services_.reveal, [this] {
        contentHeight_ = -1;
        updateGeometry();
    })
{
    setObjectName(QStringLiteral("resultsList"));
    setAccessibleName(tr("Results"));
    setModel(rows_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setResizeMode(QListView::Adjust);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_Hover);
    setFitsContent(true);

    for (const ScanCategory category : rows_->categories()) {
        auto* header = new CategorySectionHeader(
            category, [this, category] { scans_.scan(category); }, viewport());
        header->present(rows_->section(category));
        headers_.append(header);
    }
    // Every header holds the same controls; the tallest state sets the height.
    if (!headers_.isEmpty()) {
        headerHeight_ = headers_.front()->sizeHint().height();
    }
    painter_ = new ResultsListPainter(*this, *rows_, headerHeight_, services_.iconForFile);
    setItemDelegate(painter_);
    for (auto signal : {&ScanSession::resultsChanged, &ScanSession::runningCategoriesChanged}) {
        connect(&scans_, signal, this, &ResultsList::scheduleRefresh);
    }
    // The headers follow at once, the rows on their own schedule.
    for (auto signal :
         {&ScanSession::progressChanged, &ScanSession::resultsChanged, &ScanSession::runningCategoriesChanged}) {
        connect(&scans_, signal, this, [this] { headerRefresher_.request(); });
    }
    connect(&scans_, &ScanSession::selectionChanged, this, &ResultsList::repaintSelection);
    connect(&scans_, &ScanSession::expansionChanged, this, [this] { refresher_.request(); });
    delayedRefresh_.setSingleShot(true);
    connect(&delayedRefresh_, &QTimer::timeout, this, [this] { refresher_.request(); });
    if (services_.whenIconsArrive) {
        services_.whenIconsArrive(this, [this](const QStringList& paths) { showIcons(paths); });
    }
}

ResultsList::~ResultsList() = default;

const QList<ScanCategory>& ResultsList::categories() const
{
    return rows_->categories();
}

bool ResultsList::isScanning() const
{
    return std::ranges::any_of(rows_->categories(),
                               [this](ScanCategory category) { return scans_.runningCategories().contains(category); });
}

void ResultsList::scheduleRefresh()
{
    // Results and scans of categories this list does not show leave it as
    // it is.
    if (refresher_.isPending() || rowSources() == shownSources_) {
        return;
    }
    const bool scanning = isScanning();
    if (delayedRefresh_.isActive()) {
        if (scanning) {
            return;
        }
        // The last scan ended: what it found shows at once.
        delayedRefresh_.stop();
    }
    const qint64 since = lastRefresh_.isValid() ? lastRefresh_.elapsed() : kScanningRefreshMs;
    if (scanning && since < kScanningRefreshMs) {
        delayedRefresh_.start(static_cast<int>(kScanningRefreshMs - since));
        return;
    }
    refresher_.request();
}

std::vector<ResultsList::RowSource> ResultsList::rowSources() const
{
    std::vector<RowSource> sources;
    for (const ScanCategory category : rows_->categories()) {
        RowSource source;
        const auto found = scans_.results().find(category);
        if (found != scans_.results().end()) {
            source.groups = found->second.groups.constData();
            source.groupCount = found->second.groups.size();
            source.scannedAt = found->second.scannedAt.toMSecsSinceEpoch();
        }
        source.running = scans_.runningCategories().contains(category);
        sources.push_back(source);
    }
    return sources;
}

void ResultsList::refreshHeaders()
{
    headerRefresher_.settle();
    for (CategorySectionHeader* header : std::as_const(headers_)) {
        header->present(rows_->section(header->category()));
    }
}

void ResultsList::refreshNow()
{
    refresher_.settle();
    delayedRefresh_.stop();
    lastRefresh_.start();
    shownSources_ = rowSources();
    rows_->refresh();
    lookUpIcons();
    refreshHeaders();
    contentHeight_ = -1;
    updateGeometry();
    viewport()->update();
    if (fitsContent_) {
        // The list's new height travels up the screen's layouts one posted
        // request at a time; laid out now, the screen is painted once, not
        // once before and once after.
        for (int hop = 0; hop < 4; ++hop) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        }
    }
}

void ResultsList::showBoxChange(int row)
{
    if (row < 0) {
        return;
    }
    viewport()->update(visualRect(rows_->index(row)));
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = list ? list->tableInterface() : nullptr;
    if (QAccessibleInterface* cell = table ? table->cellAt(row, 0) : nullptr) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(cell, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void ResultsList::lookUpIcons()
{
    // Asking for every listed file's icon has its kind looked up ahead, so
    // rows scrolled into view draw their own icons at once.
    if (!services_.iconForFile) {
        return;
    }
    for (int row = 0; row < rows_->rowCount(); ++row) {
        if (const ScanItem* item = rows_->row(row).kind == Kind::item ? rows_->item(rows_->row(row)) : nullptr) {
            services_.iconForFile(item->url);
        }
    }
}

void ResultsList::showIcons(const QStringList& paths)
{
    // Only the icons in view change now; the others are drawn as they come
    // into view.
    const QRect shown = viewport()->visibleRegion().boundingRect();
    if (shown.isEmpty()) {
        return;
    }
    const QSet<QString> arrived(paths.begin(), paths.end());
    const QModelIndex first = indexAt(QPoint(shown.center().x(), shown.top()));
    for (int row = first.isValid() ? first.row() : 0; row < rows_->rowCount(); ++row) {
        const QRect rect = visualRect(rows_->index(row));
        if (rect.top() > shown.bottom()) {
            break;
        }
        const ResultsModel::Row& shownRow = rows_->row(row);
        const ScanItem* item = shownRow.kind == Kind::item ? rows_->item(shownRow) : nullptr;
        if (item && arrived.contains(item->url)) {
            viewport()->update(painter_->iconRect(shownRow, rect));
        }
    }
}

void ResultsList::repaintSelection(ScanCategory category, const QUuid& id)
{
    if (!rows_->categories().contains(category)) {
        return;
    }
    const int row = rows_->rowOf(id);
    const ResultsModel::Row* changed = row < 0 ? nullptr : &rows_->row(row);
    const ScanGroup* group = changed && changed->category == category ? rows_->group(*changed) : nullptr;
    if (!group) {
        // An item that has no row (a collapsed group, a later page) still
        // changes what its group's header shows.
        repainter_.request();
        return;
    }
    const int header = rows_->rowOf(group->id);
    showBoxChange(header);
    if (changed->kind == Kind::item) {
        showBoxChange(row);
    } else {
        for (int next = header + 1; next < rows_->rowCount() && rows_->row(next).kind == Kind::item; ++next) {
            showBoxChange(next);
        }
    }
    // The "Review" pill comes or goes with the selection and gives the title
    // more or less room.
    rows_->forgetTitleHeight(group->id);
    measureTitles(visualRect(rows_->index(header)));
}

int ResultsList::measuredTitleHeight(int row) const
{
    return painter_->measuredTitleHeight(rows_->row(row), visualRect(rows_->index(row)));
}

void ResultsList::measureTitles(const QRect& area)
{
    if (area.isEmpty() || rows_->rowCount() == 0) {
        return;
    }
    if (titleWidth_ != viewport()->width()) {
        titleWidth_ = viewport()->width();
        rows_->forgetTitleHeights();
    }
    const QModelIndex first = indexAt(QPoint(area.center().x(), area.top()));
    const QModelIndex last = indexAt(QPoint(area.center().x(), area.bottom()));
    const int from = first.isValid() ? first.row() : 0;
    const int to = last.isValid() ? last.row() : rows_->rowCount() - 1;
    bool changed = false;
    for (int row = from; row <= to; ++row) {
        const ResultsModel::Row& shown = rows_->row(row);
        if (shown.kind == Kind::groupHeader && !rows_->hasTitleHeight(shown.key)) {
            changed = rows_->setTitleHeight(shown.key, measuredTitleHeight(row)) || changed;
        }
    }
    if (changed) {
        relayouter_.request();
    }
}

void ResultsList::relayout()
{
    relayouter_.settle();
    contentHeight_ = -1;
    scheduleDelayedItemsLayout();
    updateGeometry();
    viewport()->update();
}

void ResultsList::setFitsContent(bool fits)
{
    fitsContent_ = fits;
    setVerticalScrollBarPolicy(fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setSizePolicy(QSizePolicy::Preferred, fits ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    updateGeometry();
}

int ResultsList::headerHeight() const
{
    return headerHeight_;
}

int ResultsList::contentHeight() const
{
    const int width = viewport()->width();
    if (contentHeight_ < 0 || contentWidth_ != width) {
        int total = 0;
        const int header = headerHeight();
        for (int row = 0; row < rows_->rowCount(); ++row) {
            total += rows_->rowHeight(row, width, header);
        }
        contentHeight_ = total;
        contentWidth_ = width;
    }
    return contentHeight_;
}

QSize ResultsList::sizeHint() const
{
    if (!fitsContent_) {
        return QListView::sizeHint();
    }
    const QMargins margins = contentsMargins();
    return {QListView::sizeHint().width(), contentHeight() + margins.top() + margins.bottom()};
}

QSize ResultsList::minimumSizeHint() const
{
    return fitsContent_ ? QSize(QListView::minimumSizeHint().width(), sizeHint().height())
                        : QListView::minimumSizeHint();
}

void ResultsList::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    if (fitsContent_ && contentWidth_ != viewport()->width()) {
        contentHeight_ = -1;
        updateGeometry();
    }
    placeSectionHeaders();
}

void ResultsList::updateGeometries()
{
    QListView::updateGeometries();
    placeSectionHeaders();
}

void ResultsList::scrollContentsBy(int dx, int dy)
{
    QListView::scrollContentsBy(dx, dy);
    placeSectionHeaders();
}

void ResultsList::placeSectionHeaders()
{
    const int height = headerHeight();
    for (int section = 0; section < headers_.size(); ++section) {
        const int row = rows_->sectionRows(section).first;
        const QRect rect = visualRect(rows_->index(row));
        const auto [left, right] = ResultsModel::contentSpan(Kind::sectionHeader, viewport()->width());
        headers_[section]->setGeometry(left, rect.top() + ResultsModel::contentTop(rows_->row(row)), right - left,
                                       height);
    }
}

QModelIndex ResultsList::sectionIndex(ScanCategory category) const
{
    return rows_->index(rows_->find(Kind::sectionHeader, category));
}

QModelIndex ResultsList::groupIndex(ScanCategory category, const QUuid& group) const
{
    return rows_->index(rows_->find(Kind::groupHeader, category, group));
}

QModelIndex ResultsList::itemIndex(ScanCategory category, const QUuid& item) const
{
    return rows_->index(rows_->find(Kind::item, category, item));
}

QModelIndex ResultsList::showMoreIndex(ScanCategory category, const QUuid& group) const
{
    return rows_->index(rows_->find(Kind::showMore, category, group));
}

CategorySectionHeader* ResultsList::sectionHeader(ScanCategory category) const
{
    const qsizetype section = rows_->categories().indexOf(category);
    return section < 0 ? nullptr : headers_[section];
}

int ResultsList::visibleCount(const QUuid& group) const
{
    return rows_->visibleCount(group);
}

QRect ResultsList::targetRect(const QModelIndex& index, Target target) const
{
    return index.isValid() ? painter_->targetRect(rows_->row(index.row()), visualRect(index), target) : QRect();
}

ResultsList::Target ResultsList::targetAt(const QPoint& position) const
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid()) {
        return Target::none;
    }
    // Order matters: the box and the chevron lie inside the header.
    for (const Target target :
         {Target::box, Target::chevron, Target::reveal, Target::warning, Target::showMore, Target::header}) {
        if (targetRect(index, target).contains(position)) {
            return target;
        }
    }
    return Target::none;
}

QString ResultsList::toolTipAt(const QPoint& position) const
{
    switch (targetAt(position)) {
    case Target::warning:
        return ItemRowPainter::warningToolTip();
    case Target::reveal:
        return ItemRowPainter::revealToolTip();
    default:
        return {};
    }
}

void ResultsList::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    controller_.press(indexAt(position), event->button() == Qt::LeftButton ? targetAt(position) : Target::none);
    QListView::mousePressEvent(event);
}

void ResultsList::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A second tap acts like the first.
    mousePressEvent(event);
}

void ResultsList::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    const QPoint position = event->position().toPoint();
    controller_.release(indexAt(position), event->button() == Qt::LeftButton ? targetAt(position) : Target::none);
}

void ResultsList::keyPressEvent(QKeyEvent* event)
{
    const ResultsListController::KeyOutcome outcome = controller_.keyPress(event->key(), currentIndex());
    if (!outcome.handled) {
        QListView::keyPressEvent(event);
        return;
    }
    if (outcome.current) {
        setCurrentIndex(*outcome.current);
    }
    event->accept();
}

void ResultsList::wheelEvent(QWheelEvent* event)
{
    if (fitsContent_) {
        // The screen around the list scrolls, not the list.
        event->ignore();
        return;
    }
    QListView::wheelEvent(event);
}

QModelIndex ResultsList::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    using Move = ResultsListController::Move;
    constexpr std::pair<CursorAction, Move> moves[] = {
        {MoveUp, Move::up},         {MovePrevious, Move::up},       {MoveDown, Move::down}, {MoveNext, Move::down},
        {MovePageUp, Move::pageUp}, {MovePageDown, Move::pageDown}, {MoveHome, Move::home}, {MoveEnd, Move::end},
    };
    const auto* move = std::ranges::find(moves, cursorAction, &std::pair<CursorAction, Move>::first);
    return move == std::end(moves) ? currentIndex() : controller_.moveCursor(move->second, currentIndex());
}

void ResultsList::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!fitsContent_) {
        QListView::scrollTo(index, hint);
        return;
    }
    if (!index.isValid()) {
        return;
    }
    for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(ancestor);
        if (area && area->widget() && area->widget()->isAncestorOf(this)) {
            const QRect rect = visualRect(index);
            const QPoint centre = viewport()->mapTo(area->widget(), rect.center());
            area->ensureVisible(centre.x(), centre.y(), 0, rect.height() / 2 + ResultsModel::kCardPadding);
            return;
        }
    }
}

void ResultsList::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        painter_->forgetPreparedRows();
    }
    QListView::changeEvent(event);
}

void ResultsList::paintEvent(QPaintEvent* event)
{
    executeDelayedItemsLayout();
    // A selection change repaints a row and its group's header, and arriving
    // icons their own squares, which may lie far apart: each part is painted
    // by itself, not every row between them.
    const QRegion& region = event->region();
    if (region.rectCount() > 1) {
        for (const QRect& part : region) {
            QPaintEvent partEvent(part);
            paintPart(&partEvent);
        }
        return;
    }
    paintPart(event);
}

void ResultsList::paintPart(QPaintEvent* event)
{
    // Nothing is painted outside the part, where another part may have been
    // painted already: glass laid twice would show. The appearance is looked
    // up once, not for every row: it walks the widget's parents.
    painter_->beginPart(event->rect(), Palette::appearance(this));
    measureTitles(event->rect());
    {
        QPainter painter(viewport());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipRect(event->rect());
        painter_->paintCards(painter, cardsIn(event->rect()), event->rect());
    }
    QListView::paintEvent(event);
    painter_->endPart();
}

ResultsListPainter::Cards ResultsList::cardsIn(const QRect& area) const
{
    ResultsListPainter::Cards cards;
    const int width = viewport()->width();
    const QMargins reach = painter_->shadowReach();
    for (int section = 0; section < headers_.size(); ++section) {
        const auto [first, count] = rows_->sectionRows(section);
        const QRect top = visualRect(rows_->index(first));
        const QRect bottom = visualRect(rows_->index(first + count - 1));
        const int cardTop = top.top() + (rows_->row(first).firstSection ? 0 : ResultsModel::kSectionSpacing);
        const QRect card(0, cardTop, width, bottom.bottom() + 1 - cardTop);
        if (card.marginsAdded(reach).intersects(area)) {
            cards.sections.push_back(card);
        }
    }

    // Group cards: from the first row at the top of the area back to its
    // group's header, then on down past the area's bottom.
    const QModelIndex start = indexAt(QPoint(width / 2, area.top()));
    int row = start.isValid() ? start.row() : 0;
    while (row > 0 && (rows_->row(row).kind == Kind::item || rows_->row(row).kind == Kind::showMore)) {
        --row;
    }
    int groupTop = -1;
    for (; row < rows_->rowCount(); ++row) {
        const ResultsModel::Row& shown = rows_->row(row);
        // Only a group's first and last rows place its card; an expanded
        // group's many rows between are passed over unmeasured.
        if (shown.kind != Kind::groupHeader && !(groupTop >= 0 && shown.lastInGroup)) {
            continue;
        }
        const QRect rect = visualRect(rows_->index(row));
        if (shown.kind == Kind::groupHeader) {
            if (rect.top() > area.bottom()) {
                break;
            }
            groupTop = rect.top() + ResultsModel::kStackSpacing;
        }
        if (groupTop >= 0 && shown.lastInGroup) {
            const int groupBottom = rect.bottom() + 1 - (shown.lastInSection ? ResultsModel::kCardPadding : 0);
            cards.groups.emplace_back(ResultsModel::kCardPadding, groupTop, width - 2 * ResultsModel::kCardPadding,
                                      groupBottom - groupTop);
            groupTop = -1;
        }
    }
    return cards;
}

} // namespace harborlite
