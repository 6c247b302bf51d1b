#include "ui/results/ResultsList.h"

#include "model/ScanSession.h"
#include "ui/results/CategorySectionHeader.h"
#include "ui/results/ItemRowPainter.h"
#include "ui/results/ResultsModel.h"
#include "ui/results/RowPainting.h"
#include "ui/components/InnerCard.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/LayerStack.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/SurfaceCache.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace harborlite {

namespace {

using Kind = ResultsModel::Kind;

constexpr int kGroupSpacing = 10;
constexpr int kGroupSymbolWidth = 17;
constexpr qreal kGroupSymbolSide = 13;
constexpr int kGroupSizeWidth = 68;
constexpr int kChevronSide = 10;
constexpr int kChevronTarget = 18;
constexpr int kCountPaddingX = 6;
constexpr int kCountPaddingY = 2;
constexpr qreal kCountFillOpacity = 0.7;
constexpr int kMinimumSpacer = 8;
constexpr qreal kShadowRadius = 16;
constexpr qreal kShadowOpacity = 0.08;
// A card's shadow is drawn from one drawing of this many rows: its upper half
// over the card's top, its lower half over the card's bottom, and its middle
// row between them.
constexpr int kShadowProbeRows = 128;

// The card's rows from its top (and up from its bottom) that its shadow's
// ends cover; the shadow's rows between are all alike.
int shadowSplit(const QRect& card)
{
    return std::min(card.height(), kShadowProbeRows) / 2;
}
// Small targets take a few pixels more than they draw.
constexpr int kTargetSlack = 3;

QFont groupTitleFont()
{
    return TypeStyle::font(12.5, QFont::DemiBold);
}

QFont countFont()
{
    return TypeStyle::font(10.5, QFont::DemiBold);
}

QFont groupSizeFont()
{
    return TypeStyle::font(12, QFont::Bold);
}

QFont sectionTextFont()
{
    return TypeStyle::font(12, QFont::Normal);
}

int textWidth(const QFont& font, const QString& text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

// Group titles have no line limit: they wrap between words, and inside a word
// longer than the line.
QTextOption titleOption()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

int wrappedTitleHeight(const QString& title, int width)
{
    const QFont font = groupTitleFont();
    QTextLayout layout(title, font);
    layout.setTextOption(titleOption());
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        ++lines;
    }
    layout.endLayout();
    return std::max(1, lines) * QFontMetrics(font).height();
}

// Where the parts of a group header lie inside its content rectangle.
struct GroupParts {
    QRect box;
    QRect symbol;
    QRect title;
    QRect subtitle;
    QRect pill;
    QRect count;
    QRect size;
    QRect chevron;
};

// `titleHeight` is the title's height at the width it gets (one line unless measured).
GroupParts groupParts(const QRect& content, const ResultsPresentation::GroupHeader& header, bool hasSubtitle,
                      int titleHeight)
{
    GroupParts made;
    const int middle = content.center().y();
    const auto centred = [&](int x, int width, int height) {
        return QRect(x, middle - (height - 1) / 2, width, height);
    };
    made.box = centred(content.left(), ItemRowPainter::kBoxSide, ItemRowPainter::kBoxSide);
    made.symbol = centred(made.box.right() + 1 + kGroupSpacing, kGroupSymbolWidth, kGroupSymbolWidth);
    made.chevron = centred(content.right() + 1 - kChevronTarget, kChevronTarget, kChevronTarget);
    const int sizeWidth = std::max(kGroupSizeWidth, textWidth(groupSizeFont(), header.size));
    made.size = QRect(made.chevron.left() - kGroupSpacing - sizeWidth, content.top(), sizeWidth, content.height());
    const QFontMetrics countMetrics(countFont());
    const int countWidth = textWidth(countFont(), header.count) + 2 * kCountPaddingX;
    made.count = centred(made.size.left() - kGroupSpacing - countWidth, countWidth,
                         countMetrics.height() + 2 * kCountPaddingY);
    int trailing = made.count.left();
    if (header.showsReview) {
        const QSizeF pill = RowPainting::pillSize(ResultsPresentation::reviewPillText(), true);
        const int width = static_cast<int>(std::ceil(pill.width()));
        made.pill = centred(trailing - kGroupSpacing - width, width, static_cast<int>(std::ceil(pill.height())));
        trailing = made.pill.left();
    }
    const int left = made.symbol.right() + 1 + kGroupSpacing;
    const int right = trailing - kGroupSpacing - kMinimumSpacer - kGroupSpacing;
    const int width = std::max(0, right - left);
    const int subtitleHeight = hasSubtitle ? QFontMetrics(TypeStyle::rowDetail()).height() : 0;
    const int top = middle - (titleHeight + (hasSubtitle ? 1 + subtitleHeight : 0)) / 2;
    made.title = QRect(left, top, width, titleHeight);
    if (hasSubtitle) {
        made.subtitle = QRect(left, top + titleHeight + 1, width, subtitleHeight);
    }
    return made;
}

QRect showMoreButton(const QRect& content, const QString& title)
{
    const QSizeF size = RowPainting::buttonSize(title);
    const int width = static_cast<int>(std::ceil(size.width()));
    const int height = static_cast<int>(std::ceil(size.height()));
    return QRect(content.center().x() - width / 2, content.top(), width, height);
}

} // namespace

// Paints every row kind but the section header, whose widget lies over it.
class ResultsList::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(ResultsList& list)
        : QStyledItemDelegate(&list)
        , list_(list)
    {
    }

    // The row's content rectangle inside the row's rectangle.
    static QRect content(const ResultsModel& rows, const ResultsModel::Row& row, const QRect& rect, int headerHeight)
    {
        const auto [left, right] = ResultsModel::contentSpan(row.kind, rect.width());
        const int top = rect.top() + ResultsModel::contentTop(row);
        int height = 0;
        switch (row.kind) {
        case Kind::sectionHeader:
            height = headerHeight;
            break;
        case Kind::item:
            height = ItemRowPainter::height(rows.item(row) ? *rows.item(row) : ScanItem{});
            break;
        case Kind::groupHeader:
        case Kind::sectionText:
        case Kind::showMore: {
            const int bottomSpace = (row.lastInSection ? ResultsModel::kCardPadding : 0)
                                    + (row.lastInGroup ? ResultsModel::kGroupPadding : 0)
                                    + (row.kind == Kind::sectionText && row.padded ? ResultsModel::kTextPadding : 0);
            height = rect.bottom() + 1 - bottomSpace - top;
            break;
        }
        }
        return QRect(rect.left() + left, top, right - left, height);
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const int width = list_.viewport()->width();
        return {width, list_.rows_->rowHeight(index.row(), width, list_.headerHeight())};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const ResultsModel& rows = *list_.rows_;
        const ResultsModel::Row& row = rows.row(index.row());
        const Appearance appearance =
            list_.paintingAppearance_ ? *list_.paintingAppearance_ : Palette::appearance(&list_);
        const QRect area = content(rows, row, option.rect, list_.headerHeight());
        const bool focused = list_.hasFocus() && list_.currentIndex() == index;
        const bool hovered = option.state.testFlag(QStyle::State_MouseOver);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (!list_.paintingPart_.isNull()) {
            painter->setClipRect(list_.paintingPart_, Qt::IntersectClip);
        }
        switch (row.kind) {
        case Kind::sectionHeader:
            break;
        case Kind::sectionText:
            painter->setFont(sectionTextFont());
            painter->setPen(Palette::inkTertiary().resolve(appearance));
            painter->drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, rows.text(row));
            break;
        case Kind::groupHeader:
            if (const ScanGroup* group = rows.group(row)) {
                // A title measured taller than its row was laid out for
                // stays inside the row until the rows are laid out again.
                painter->setClipRect(option.rect, Qt::IntersectClip);
                paintGroup(*painter, area, *group, rows.header(*group), rows.titleHeight(group->id), appearance,
                           focused);
            }
            break;
        case Kind::item:
            if (const ScanItem* item = rows.item(row)) {
                list_.preparedRows_.paint(*painter, area, *item, list_.icon(item->url), hovered, focused, appearance);
            }
            break;
        case Kind::showMore:
            if (const auto paging = rows.paging(row)) {
                const QRect button = showMoreButton(area, paging->title);
                const bool overButton = hovered && button.contains(list_.viewport()->mapFromGlobal(QCursor::pos()));
                RowPainting::paintPlainButton(*painter, button, paging->title, appearance, overButton, focused);
            }
            break;
        }
        painter->restore();
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid()) {
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        }
        const QString tip = list_.toolTipAt(event->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            return false;
        }
        QToolTip::showText(event->globalPos(), tip, view);
        return true;
    }

private:
    static void paintGroup(QPainter& painter, const QRect& area, const ScanGroup& group,
                           const ResultsPresentation::GroupHeader& header, int titleHeight, Appearance appearance,
                           bool focused)
    {
        const GroupParts parts = groupParts(area, header, !group.subtitle.isEmpty(), titleHeight);
        RowPainting::paintBox(painter, parts.box, header.state, appearance, focused);
        const QRectF symbol(parts.symbol.center().x() + 1 - kGroupSymbolSide / 2,
                            parts.symbol.center().y() + 1 - kGroupSymbolSide / 2, kGroupSymbolSide, kGroupSymbolSide);
        Symbols::paint(painter, symbol, group.symbol, Palette::accentDeep().resolve(appearance));

        painter.setFont(groupTitleFont());
        painter.setPen(Palette::ink().resolve(appearance));
        painter.drawText(QRectF(parts.title), group.title, titleOption());
        if (!parts.subtitle.isEmpty()) {
            painter.setFont(TypeStyle::rowDetail());
            painter.setPen(Palette::inkTertiary().resolve(appearance));
            painter.drawText(parts.subtitle, Qt::AlignLeft | Qt::AlignVCenter,
                             painter.fontMetrics().elidedText(group.subtitle, Qt::ElideRight, parts.subtitle.width()));
        }
        if (header.showsReview) {
            RowPainting::paintPill(painter, parts.pill, ResultsPresentation::reviewPillText(),
                                   Palette::warning().resolve(appearance), QStringLiteral("hand.raised.fill"));
        }
        painter.fillPath(Shapes::capsule(parts.count),
                         Shapes::faded(Palette::hairline().resolve(appearance), kCountFillOpacity));
        painter.setFont(countFont());
        painter.setPen(Palette::inkTertiary().resolve(appearance));
        painter.drawText(parts.count, Qt::AlignCenter, header.count);

        painter.setFont(groupSizeFont());
        painter.setPen(Palette::ink().resolve(appearance));
        painter.drawText(parts.size, Qt::AlignRight | Qt::AlignVCenter, header.size);

        const QPointF centre = QRectF(parts.chevron).center();
        painter.save();
        painter.translate(centre);
        painter.rotate(group.isExpanded ? 90 : 0);
        Symbols::paint(painter, QRectF(-kChevronSide / 2.0, -kChevronSide / 2.0, kChevronSide, kChevronSide),
                       QStringLiteral("chevron.right"), Palette::inkSecondary().resolve(appearance));
        painter.restore();
    }

    ResultsList& list_;
};

ResultsList::ResultsList(ScanSession& scans, QList<ScanCategory> categories, const ScreenServices& services,
                         QWidget* parent)
    : QListView(parent)
    , scans_(scans)
    , services_(services)
    , rows_(new ResultsModel(scans, std::move(categories), this))
    , delegate_(new Delegate(*this))
    , shadow_(std::make_unique<SoftShadow>(kShadowRadius, kShadowOpacity))
{
    setObjectName(QStringLiteral("resultsList"));
    setAccessibleName(tr("Results"));
    setModel(rows_);
    setItemDelegate(delegate_);
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
    for (auto signal : {&ScanSession::resultsChanged, &ScanSession::runningCategoriesChanged}) {
        connect(&scans_, signal, this, &ResultsList::scheduleRefresh);
    }
    // The headers follow at once, the rows on their own schedule.
    for (auto signal : {&ScanSession::progressChanged, &ScanSession::resultsChanged,
                        &ScanSession::runningCategoriesChanged}) {
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
            const QRect area = Delegate::content(*rows_, shownRow, rect, headerHeight());
            viewport()->update(ItemRowPainter::layout(area, *item).icon);
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
    const ResultsModel::Row& shown = rows_->row(row);
    const ScanGroup* group = rows_->group(shown);
    if (!group) {
        return rows_->titleHeight(shown.key);
    }
    const QRect area = Delegate::content(*rows_, shown, visualRect(rows_->index(row)), headerHeight());
    const GroupParts parts = groupParts(area, rows_->header(*group), !group->subtitle.isEmpty(),
                                        rows_->titleHeight(group->id));
    return wrappedTitleHeight(group->title, parts.title.width());
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

QIcon ResultsList::icon(const QString& path) const
{
    return services_.iconForFile ? services_.iconForFile(path) : QIcon();
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
    if (!index.isValid()) {
        return {};
    }
    const ResultsModel::Row& row = rows_->row(index.row());
    const QRect rect = visualRect(index);
    const QRect area = Delegate::content(*rows_, row, rect, headerHeight());
    switch (row.kind) {
    case Kind::groupHeader: {
        const ScanGroup* group = rows_->group(row);
        if (!group) {
            return {};
        }
        const GroupParts parts = groupParts(area, rows_->header(*group), !group->subtitle.isEmpty(),
                                            rows_->titleHeight(group->id));
        switch (target) {
        case Target::box:
            return parts.box.adjusted(-kTargetSlack, -kTargetSlack, kTargetSlack, kTargetSlack);
        case Target::chevron:
            return parts.chevron;
        case Target::header:
            return area.adjusted(-ResultsModel::kGroupPadding, -ResultsModel::kGroupPadding,
                                 ResultsModel::kGroupPadding,
                                 row.lastInGroup ? ResultsModel::kGroupPadding : 0);
        default:
            return {};
        }
    }
    case Kind::item: {
        const ScanItem* item = rows_->item(row);
        if (!item) {
            return {};
        }
        const ItemRowPainter::Layout parts = ItemRowPainter::layout(area, *item);
        switch (target) {
        case Target::box:
            return parts.box.adjusted(-kTargetSlack, -kTargetSlack, kTargetSlack, kTargetSlack);
        case Target::reveal:
            return parts.reveal.adjusted(-4, -4, 4, 4);
        case Target::warning:
            return parts.warning;
        default:
            return {};
        }
    }
    case Kind::showMore:
        if (target == Target::showMore) {
            if (const auto paging = rows_->paging(row)) {
                return showMoreButton(area, paging->title);
            }
        }
        return {};
    case Kind::sectionHeader:
    case Kind::sectionText:
        break;
    }
    return {};
}

ResultsList::Target ResultsList::targetAt(const QPoint& position) const
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid()) {
        return Target::none;
    }
    // Order matters: the box and the chevron lie inside the header.
    for (const Target target : {Target::box, Target::chevron, Target::reveal, Target::warning, Target::showMore,
                                Target::header}) {
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
    pressedIndex_ = indexAt(position);
    pressedTarget_ = event->button() == Qt::LeftButton ? targetAt(position) : Target::none;
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
    const QModelIndex index = indexAt(position);
    const Target target = pressedTarget_;
    pressedTarget_ = Target::none;
    if (event->button() != Qt::LeftButton || target == Target::none || index != pressedIndex_
        || targetAt(position) != target) {
        return;
    }
    act(index, target);
}

void ResultsList::act(const QModelIndex& index, Target target)
{
    const ResultsModel::Row& row = rows_->row(index.row());
    switch (target) {
    case Target::box:
        toggle(index);
        break;
    case Target::header:
    case Target::chevron:
        if (const ScanGroup* group = rows_->group(row)) {
            setExpanded(index, !group->isExpanded);
        }
        break;
    case Target::reveal:
        if (const ScanItem* item = rows_->item(row); item && services_.reveal) {
            services_.reveal({item->url});
        }
        break;
    case Target::showMore:
        expandOrPage(index);
        break;
    case Target::warning:
    case Target::none:
        break;
    }
}

void ResultsList::toggle(const QModelIndex& index)
{
    if (!index.isValid()) {
        return;
    }
    const ResultsModel::Row& row = rows_->row(index.row());
    switch (row.kind) {
    case Kind::groupHeader:
        if (const ScanGroup* group = rows_->group(row)) {
            // The toggle reads only the id. A copy of the whole group would
            // share its items with the stored result, which would then have
            // to copy every one of them to write the selection.
            ScanGroup key;
            key.id = group->id;
            scans_.toggleGroup(key, row.category);
        }
        break;
    case Kind::item:
        if (const ScanItem* item = rows_->item(row)) {
            const ScanItem copy = *item;
            scans_.toggleItem(copy, row.category);
        }
        break;
    case Kind::showMore:
        expandOrPage(index);
        break;
    case Kind::sectionHeader:
    case Kind::sectionText:
        break;
    }
}

void ResultsList::expandOrPage(const QModelIndex& index)
{
    if (!index.isValid()) {
        return;
    }
    const ResultsModel::Row& row = rows_->row(index.row());
    if (row.kind == Kind::showMore) {
        rows_->showMore(row.key);
        contentHeight_ = -1;
        updateGeometry();
    } else if (row.kind == Kind::groupHeader) {
        if (const ScanGroup* group = rows_->group(row)) {
            setExpanded(index, !group->isExpanded);
        }
    }
}

void ResultsList::setExpanded(const QModelIndex& index, bool expanded)
{
    const ResultsModel::Row& row = rows_->row(index.row());
    if (const ScanGroup* group = rows_->group(row)) {
        const ScanGroup copy = *group;
        scans_.setExpanded(expanded, copy, row.category);
    }
}

void ResultsList::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    switch (event->key()) {
    case Qt::Key_Space:
        toggle(current);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        expandOrPage(current);
        event->accept();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (current.isValid()) {
            const ResultsModel::Row& row = rows_->row(current.row());
            const bool right = event->key() == Qt::Key_Right;
            if (row.kind == Kind::groupHeader) {
                if (const ScanGroup* group = rows_->group(row); group && group->isExpanded != right) {
                    setExpanded(current, right);
                }
            } else if (!right && (row.kind == Kind::item || row.kind == Kind::showMore)) {
                setCurrentIndex(groupIndex(row.category, rows_->group(row) ? rows_->group(row)->id : QUuid()));
            }
        }
        event->accept();
        return;
    default:
        QListView::keyPressEvent(event);
    }
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
    const int count = rows_->rowCount();
    const auto navigable = [&](int row) { return rows_->flags(rows_->index(row)).testFlag(Qt::ItemIsSelectable); };
    const auto step = [&](int from, int direction, int times) {
        int found = -1;
        for (int row = from + direction; row >= 0 && row < count && times > 0; row += direction) {
            if (navigable(row)) {
                found = row;
                --times;
            }
        }
        return found;
    };
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    constexpr int pageRows = 10;
    int target = -1;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        target = current < 0 ? step(count, -1, 1) : step(current, -1, 1);
        break;
    case MoveDown:
    case MoveNext:
        target = step(current, 1, 1);
        break;
    case MovePageUp:
        target = step(std::max(current, 0), -1, pageRows);
        if (target < 0) {
            target = step(-1, 1, 1);
        }
        break;
    case MovePageDown:
        target = step(current, 1, pageRows);
        if (target < 0) {
            target = step(count, -1, 1);
        }
        break;
    case MoveHome:
        target = step(-1, 1, 1);
        break;
    case MoveEnd:
        target = step(count, -1, 1);
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return target < 0 ? currentIndex() : rows_->index(target);
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
        preparedRows_.clear();
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
    // painted already: glass laid twice would show.
    paintingPart_ = event->rect();
    // Looked up once, not for every row: it walks the widget's parents.
    paintingAppearance_ = Palette::appearance(this);
    measureTitles(event->rect());
    {
        QPainter painter(viewport());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipRect(paintingPart_);
        paintCards(painter, event->rect());
    }
    QListView::paintEvent(event);
    paintingPart_ = {};
    paintingAppearance_.reset();
}

QMargins ResultsList::shadowReach() const
{
    return (shadow_->margins() + QMarginsF(1, 1, 1, 1)).toMargins();
}

void ResultsList::paintCardShadow(QPainter& painter, const QRect& card, const QColor& color)
{
    // The probe is drawn at the painter's ratio, so a high-DPI screen gets
    // its pixels one to one instead of a picture of ratio 1 scaled up.
    const qreal plain = SurfaceCache::plainRatio(painter);
    const qreal ratio = plain > 0 ? plain : 1;
    const QMargins margins = shadowReach();
    const QSize probeSize(card.width() + margins.left() + margins.right(),
                          kShadowProbeRows + margins.top() + margins.bottom());
    const auto onProbe = [ratio](qreal logical) { return int(std::ceil(logical * ratio)); };
    if (shadowProbeSize_ != probeSize || shadowProbeColor_ != color || shadowProbeRatio_ != ratio) {
        shadowProbe_ =
            QImage(onProbe(probeSize.width()), onProbe(probeSize.height()), QImage::Format_ARGB32_Premultiplied);
        shadowProbe_.fill(Qt::transparent);
        {
            QPainter probe(&shadowProbe_);
            probe.setRenderHint(QPainter::Antialiasing);
            probe.scale(ratio, ratio);
            shadow_->paint(probe, QRectF(margins.left(), margins.top(), card.width(), kShadowProbeRows),
                           ResultsModel::kCardRadius, color);
        }
        shadowProbeSize_ = probeSize;
        shadowProbeColor_ = color;
        shadowProbeRatio_ = ratio;
        constexpr int bandRows = 32;
        QImage band(shadowProbe_.width(), bandRows, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < bandRows; ++y) {
            std::memcpy(band.scanLine(y), shadowProbe_.constScanLine(onProbe(margins.top() + kShadowProbeRows / 2)),
                        std::size_t(band.bytesPerLine()));
        }
        shadowBand_ = QPixmap::fromImage(std::move(band));
    }
    // The probe's upper half over the card's top, its lower half over the
    // card's bottom, and its middle row (the band) tiled between them.
    const int split = shadowSplit(card);
    const int left = card.left() - margins.left();
    const int width = probeSize.width();
    const int topRows = margins.top() + split;
    const auto fromProbe = [&](int top, int rows) {
        return QRectF(0, top * ratio, shadowProbe_.width(), rows * ratio);
    };
    painter.drawImage(QRectF(left, card.top() - margins.top(), width, topRows), shadowProbe_, fromProbe(0, topRows));
    const int bottomFrom = margins.top() + kShadowProbeRows - split;
    const int bottomRows = probeSize.height() - bottomFrom;
    painter.drawImage(QRectF(left, card.bottom() + 1 - split, width, bottomRows), shadowProbe_,
                      fromProbe(bottomFrom, bottomRows));
    const int middle = card.height() - 2 * split;
    if (middle <= 0) {
        return;
    }
    const QRect between(left, card.top() + split, width, middle);
    if (plain <= 0 || ratio != std::round(ratio)) {
        // Rows that may fall inside device pixels: the band's row stretched down them.
        painter.drawImage(QRectF(between), shadowProbe_, fromProbe(margins.top() + kShadowProbeRows / 2, 1));
        return;
    }
    painter.save();
    const QRect onDevice = painter.deviceTransform().mapRect(QRectF(between)).toRect();
    SurfaceCache::useDevicePixels(painter);
    SurfaceCache::tile(painter, onDevice, shadowBand_);
    painter.restore();
}

void ResultsList::paintCards(QPainter& painter, const QRect& area)
{
    const Appearance appearance = Palette::appearance(this);
    const int width = viewport()->width();
    const QColor shadowColor = Palette::accentDeep().resolve(appearance);
    const QMargins reach = shadowReach();
    const QString glassLook = GlassSurface::look(appearance);
    const QString innerLook = InnerCard::surfaceLook(false, appearance);
    // Shadow, glass and a group's inner card lie over one another down most
    // of the list: laid as one stack, their rows between the corners blend once.
    LayerStack stack;
    for (int section = 0; section < headers_.size(); ++section) {
        const auto [first, count] = rows_->sectionRows(section);
        const QRect top = visualRect(rows_->index(first));
        const QRect bottom = visualRect(rows_->index(first + count - 1));
        const int cardTop = top.top() + (rows_->row(first).firstSection ? 0 : ResultsModel::kSectionSpacing);
        const QRect card(0, cardTop, width, bottom.bottom() + 1 - cardTop);
        if (!card.marginsAdded(reach).intersects(area)) {
            continue;
        }
        const int split = shadowSplit(card);
        stack.add(
            card.top() - reach.top(), card.bottom() + reach.bottom(), card.top() + split, card.bottom() - split,
            [this, card, shadowColor](QPainter& onto) { paintCardShadow(onto, card, shadowColor); },
            QStringLiteral("card-shadow-%1-%2-%3").arg(card.left()).arg(card.width()).arg(shadowColor.rgba()));
        stack.addRoundedRect(
            card, ResultsModel::kCardRadius,
            [card, appearance](QPainter& onto) {
                GlassSurface::paint(onto, QRectF(card), ResultsModel::kCardRadius, appearance);
            },
            QStringLiteral("%1-%2-%3").arg(glassLook).arg(card.left()).arg(card.width()));
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
            const QRect card(ResultsModel::kCardPadding, groupTop, width - 2 * ResultsModel::kCardPadding,
                             groupBottom - groupTop);
            stack.addRoundedRect(
                card, ResultsModel::kGroupRadius,
                [card, appearance](QPainter& onto) {
                    InnerCard::paintFill(onto, card, ResultsModel::kGroupRadius, false, appearance);
                    InnerCard::paintBorder(onto, card, ResultsModel::kGroupRadius, false, appearance);
                },
                QStringLiteral("%1-%2-%3").arg(innerLook).arg(card.left()).arg(card.width()));
            groupTop = -1;
        }
    }
    stack.paint(painter, area);
}

} // namespace harborlite
