#include "ui/diskmap/DiskColumns.h"

#include "paint/Palette.h"
#include "ui/components/ThinScrollBar.h"
#include "ui/diskmap/DiskColumn.h"
#include "ui/diskmap/DiskRowDelegate.h"
#include "ui/theme/Motion.h"

#include <QEasingCurve>
#include <QListView>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace harborlite {

namespace {

using DiskColumnsPresentation::ColumnContent;

constexpr int kMinimumHeight = 200;
constexpr int kShownColumns = 3;
constexpr int kSingleStep = 20;

// The platform's ease-out curve.
QEasingCurve easeOut()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

} // namespace

DiskColumns::DiskColumns(DiskNode root, Source source, QWidget* parent)
    : QAbstractScrollArea(parent)
    , root_(std::make_shared<const DiskNode>(std::move(root)))
    , source_(std::move(source))
    , parents_{root_}
    , scroll_(new QPropertyAnimation(this))
    , delegate_(new DiskRowDelegate(this))
{
    setObjectName(QStringLiteral("diskColumns"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBar(new ThinScrollBar(Qt::Horizontal));
    scroll_->setTargetObject(horizontalScrollBar());
    scroll_->setPropertyName("value");
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(kSingleStep);
    scroll_->setDuration(kScrollMilliseconds);
    scroll_->setEasingCurve(easeOut());
    updateRange();
    placeColumns();
}

DiskColumns::~DiskColumns() = default;

void DiskColumns::setRoot(DiskNode root)
{
    scroll_->stop();
    for (auto& [index, column] : live_) {
        column->hide();
        column->deleteLater();
    }
    live_.clear();
    ownEntries_.clear();
    listedEntries_.clear();
    listScroll_.clear();
    root_ = std::make_shared<const DiskNode>(std::move(root));
    const bool hadPath = !path_.empty();
    path_.clear();
    parents_ = {root_};
    updateRange();
    horizontalScrollBar()->setValue(0);
    placeColumns();
    if (hadPath) {
        emit pathChanged();
    }
}

const DiskNode& DiskColumns::selectedNode() const
{
    return path_.empty() ? *root_ : *path_.back();
}

void DiskColumns::clearPath()
{
    if (!path_.empty()) {
        const int before = columnCount();
        path_.clear();
        parents_ = DiskColumnsPresentation::columnParents(root_, path_);
        pathEdited(before);
        placeColumns();
    }
}

void DiskColumns::select(const DiskNode& entry, int level)
{
    if (level < 0 || level >= columnCount()) {
        return;
    }
    const std::shared_ptr<const DiskEntries> entries = evaluate(parents_[static_cast<std::size_t>(level)]).entries;
    if (!entries) {
        return;
    }
    const auto found = std::find_if(entries->nodes.begin(), entries->nodes.end(),
                                    [&entry](const DiskNode* node) { return node->id == entry.id; });
    if (found != entries->nodes.end()) {
        choose(entries, *found, level);
    }
}

void DiskColumns::choose(const std::shared_ptr<const DiskEntries>& entries, const DiskNode* entry, int level)
{
    // The entry keeps the tree or listing it lies in alive, through `entries`.
    NodeRef chosen(entries, entry);
    // The listing is registered before its column can be made, so the column
    // opens on "Measuring…".
    requestListing(*chosen);
    const int before = columnCount();
    DiskColumnsPresentation::select(path_, parents_, chosen, static_cast<std::size_t>(level));
    pathEdited(before);
    placeColumns();
}

void DiskColumns::pathEdited(int columnsBefore)
{
    for (auto kept = listScroll_.begin(); kept != listScroll_.end();) {
        const bool stays =
            kept->first < columnCount() && parents_[static_cast<std::size_t>(kept->first)] == kept->second.folder;
        kept = stays ? std::next(kept) : listScroll_.erase(kept);
    }
    emit pathChanged();
    updateRange();
    if (columnCount() != columnsBefore) {
        const int target = DiskColumnsPresentation::scrollTarget(columnCount(), kColumnStride, viewport()->width());
        scroll_->stop();
        if (Motion::reduceMotion()) {
            horizontalScrollBar()->setValue(target);
        } else {
            scroll_->setStartValue(horizontalScrollBar()->value());
            scroll_->setEndValue(target);
            scroll_->start();
        }
        emit scrollingToNewestColumn(target);
    }
}

void DiskColumns::refresh()
{
    const Listings& listings = source_.listings();
    for (auto held = listedEntries_.begin(); held != listedEntries_.end();) {
        held = listings.contains(held->first) ? std::next(held) : listedEntries_.erase(held);
    }
    for (auto& [index, column] : live_) {
        const Column shown = evaluate(column->folder());
        column->setContent(shown.content, shown.entries);
    }
}

DiskColumn* DiskColumns::column(int index) const
{
    const auto found = live_.find(index);
    return found == live_.end() ? nullptr : found->second;
}

bool DiskColumns::isScrolling() const
{
    return scroll_->state() == QAbstractAnimation::Running;
}

QSize DiskColumns::sizeHint() const
{
    return {kShownColumns * kColumnStride, kMinimumHeight};
}

DiskColumns::Column DiskColumns::evaluate(const NodeRef& folder)
{
    if (!folder->children.empty()) {
        return {ColumnContent::entries, ownEntries(folder)};
    }
    std::shared_ptr<const DiskEntries> entries;
    std::optional<std::size_t> count;
    const Listings& listings = source_.listings();
    if (const auto found = listings.find(folder->url); found != listings.end()) {
        count = found->second.size();
        entries = listedEntries(folder->url, found->second);
    }
    const ColumnContent content =
        DiskColumnsPresentation::columnContent(count, source_.listing().contains(folder->url));
    return {content, content == ColumnContent::entries ? entries : nullptr};
}

std::shared_ptr<const DiskEntries> DiskColumns::ownEntries(const NodeRef& folder)
{
    std::shared_ptr<const DiskEntries>& held = ownEntries_[folder.get()];
    if (!held) {
        held = std::make_shared<const DiskEntries>(
            DiskEntries{folder, DiskColumnsPresentation::sortedEntries(folder->children)});
    }
    return held;
}

std::shared_ptr<const DiskEntries> DiskColumns::listedEntries(const QString& url, const std::vector<DiskNode>& listing)
{
    std::shared_ptr<const DiskEntries>& held = listedEntries_[url];
    if (!held) {
        // The source may replace its listings at any time; the browser keeps
        // its own copy of each one it shows.
        auto copy = std::make_shared<const std::vector<DiskNode>>(listing);
        held = std::make_shared<const DiskEntries>(DiskEntries{copy, DiskColumnsPresentation::sortedEntries(*copy)});
    }
    return held;
}

void DiskColumns::requestListing(const DiskNode& folder)
{
    if (!folder.isDirectory || !folder.children.empty() || source_.listings().contains(folder.url)
        || source_.listing().contains(folder.url)) {
        return;
    }
    source_.expand(folder);
}

void DiskColumns::updateRange()
{
    QScrollBar* bar = horizontalScrollBar();
    bar->setPageStep(std::max(1, viewport()->width()));
    bar->setRange(0, DiskColumnsPresentation::scrollTarget(columnCount(), kColumnStride, viewport()->width()));
}

void DiskColumns::placeColumns()
{
    const int offset = horizontalScrollBar()->value();
    const int width = viewport()->width();
    const int first = std::clamp(offset / kColumnStride, 0, columnCount() - 1);
    const int last = std::clamp((offset + std::max(0, width - 1)) / kColumnStride, first, columnCount() - 1);
    for (auto it = live_.begin(); it != live_.end();) {
        const int index = it->first;
        const bool same = index < columnCount() && it->second->folder() == parents_[static_cast<std::size_t>(index)];
        if (same && index >= first && index <= last) {
            ++it;
            continue;
        }
        DiskColumn* gone = it->second;
        // A column that only leaves the view comes back where it was scrolled.
        if (const int scrolled = gone->list()->verticalScrollBar()->value(); same && scrolled > 0) {
            listScroll_[index] = {gone->folder(), scrolled};
        } else if (same) {
            listScroll_.erase(index);
        }
        gone->hide();
        gone->deleteLater();
        it = live_.erase(it);
    }
    for (int index = first; index <= last; ++index) {
        DiskColumn* shown = column(index);
        const bool made = shown == nullptr;
        if (made) {
            shown = live_[index] = makeColumn(index);
        }
        const auto at = static_cast<std::size_t>(index);
        shown->setSelectedUrl(at < path_.size() ? std::optional(path_[at]->url) : std::nullopt);
        shown->setGeometry(index * kColumnStride - offset, 0, kColumnWidth, viewport()->height());
        shown->show();
        if (const auto kept = listScroll_.find(index); made && kept != listScroll_.end()) {
            shown->scrollListTo(kept->second.offset);
        }
    }
    viewport()->update();
}

DiskColumn* DiskColumns::makeColumn(int index)
{
    const NodeRef& folder = parents_[static_cast<std::size_t>(index)];
    auto* made = new DiskColumn(folder, delegate_, viewport());
    const Column shown = evaluate(folder);
    made->setContent(shown.content, shown.entries);
    connect(made, &DiskColumn::entryClicked, this, [this, made](const DiskNode* entry) {
        const auto found =
            std::find_if(live_.begin(), live_.end(), [made](const auto& held) { return held.second == made; });
        if (found != live_.end() && made->entries()->entries()) {
            choose(made->entries()->entries(), entry, found->first);
        }
    });
    connect(made, &DiskColumn::revealRequested, this, [this](const QString& path) {
        if (source_.reveal) {
            source_.reveal(path);
        }
    });
    // The column's appear task: a folder shown without a listing gets one.
    QTimer::singleShot(0, made, [this, folder] { requestListing(*folder); });
    return made;
}

void DiskColumns::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateRange();
    placeColumns();
}

void DiskColumns::scrollContentsBy(int, int)
{
    placeColumns();
}

bool DiskColumns::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        paintDividers();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void DiskColumns::paintDividers()
{
    QPainter painter(viewport());
    const QColor hairline = Palette::hairline().resolve(Palette::appearance(this));
    for (const auto& [index, column] : live_) {
        painter.fillRect(QRect(column->geometry().right() + 1, 0, kDividerWidth, viewport()->height()), hairline);
    }
}

} // namespace harborlite
