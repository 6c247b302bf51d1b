#include "ui/shell/Sidebar.h"

#include "paint/BrandMark.h"
#include "paint/Palette.h"
#include "shared/Formatting.h"
#include "ui/components/RoleLabel.h"
#include "ui/shell/SidebarRow.h"
#include "ui/shell/StorageFooter.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

namespace {

constexpr qreal kTileSide = 30;
constexpr qreal kTileRadius = 10;
constexpr qreal kMarkSide = 17;
constexpr qreal kMarkThickness = 0.24;

// The logo tile, product name and tag line, with the block's insets inside it
// so the tile's shadow has room.
class BrandBlock : public QWidget {
public:
    static constexpr int kLeading = 16;
    static constexpr int kTop = 18;
    static constexpr int kBottom = 14;

    explicit BrandBlock(QWidget* parent)
        : QWidget(parent)
        , shadow_(10, 0.3)
    {
        setObjectName(QStringLiteral("brand"));
        setFixedHeight(kTop + static_cast<int>(kTileSide) + kBottom);
    }

    static QFont nameFont() { return TypeStyle::font(15, QFont::Bold); }
    static QFont tagFont() { return TypeStyle::font(10, QFont::Normal); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const Appearance appearance = Palette::appearance(this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF tile(kLeading, kTop, kTileSide, kTileSide);
        shadow_.paint(painter, tile, kTileRadius, Palette::accentDeep().resolve(appearance));
        painter.fillPath(Shapes::roundedRect(tile, kTileRadius), Palette::accentGradient(tile, appearance));
        const QRectF mark(tile.center().x() - kMarkSide / 2, tile.center().y() - kMarkSide / 2, kMarkSide, kMarkSide);
        BrandMark::paint(painter, mark, kMarkThickness, Qt::white, BrandMark::kSweep);

        const QFontMetrics nameMetrics(nameFont());
        const QFontMetrics tagMetrics(tagFont());
        const qreal textLeft = tile.right() + 10;
        const qreal textWidth = std::max<qreal>(0, width() - textLeft - kLeading);
        const qreal top = tile.center().y() - (nameMetrics.height() + tagMetrics.height()) / 2.0;
        painter.setFont(nameFont());
        painter.setPen(Palette::ink().resolve(appearance));
        painter.drawText(QRectF(textLeft, top, textWidth, nameMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         QCoreApplication::translate("Sidebar", "Harborlite"));
        painter.setFont(tagFont());
        painter.setPen(Palette::inkTertiary().resolve(appearance));
        painter.drawText(QRectF(textLeft, top + nameMetrics.height(), textWidth, tagMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         tagMetrics.elidedText(QCoreApplication::translate("Sidebar", "Keep your Mac light"),
                                               Qt::ElideRight, static_cast<int>(textWidth)));
    }

private:
    SoftShadow shadow_;
};

// The scrolling list of sections; it paints the selected row's gradient and
// shadow behind the rows, where the shadow may spill over its neighbours.
class RowList : public QWidget {
public:
    RowList(const std::map<Route, SidebarRow*>* rows, QWidget* parent)
        : QWidget(parent)
        , rows_(rows)
        , shadow_(8, 0.28)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        for (const auto& [route, row] : *rows_) {
            if (!row->isSelected()) {
                continue;
            }
            const Appearance appearance = Palette::appearance(this);
            QPainter painter(this);
            painter.setRenderHint(QPainter::Antialiasing);
            const QRectF area(row->mapTo(this, QPoint(0, 0)), row->size());
            shadow_.paint(painter, area, SidebarRow::kCornerRadius, Palette::accentDeep().resolve(appearance));
            painter.fillPath(Shapes::roundedRect(area, SidebarRow::kCornerRadius),
                             Palette::accentGradient(area, appearance));
        }
    }

private:
    const std::map<Route, SidebarRow*>* rows_;
    SoftShadow shadow_;
};

qint64 sizeOf(const AppModel::Results& results, ScanCategory category)
{
    const auto found = results.find(category);
    return found == results.end() ? 0 : found->second.totalSize();
}

std::optional<QString> countBadge(const AppModel::Results& results, ScanCategory category)
{
    const auto found = results.find(category);
    const int count = found == results.end() ? 0 : found->second.itemCount();
    if (count <= 0) {
        return std::nullopt;
    }
    return QString::number(count);
}

std::optional<QString> bytesBadge(qint64 sum)
{
    if (sum <= 0) {
        return std::nullopt;
    }
    return Format::byteText(sum);
}

} // namespace

std::optional<QString> Sidebar::badge(Route route, const AppModel::Results& results)
{
    switch (route) {
    case Route::cleanup: {
        qint64 sum = 0;
        for (ScanCategory category : AppModel::cleanupCategories) {
            sum += sizeOf(results, category);
        }
        return bytesBadge(sum);
    }
    case Route::largeFiles:
        return countBadge(results, ScanCategory::largeAndOld);
    case Route::reclaim:
        return bytesBadge(sizeOf(results, ScanCategory::duplicates) + sizeOf(results, ScanCategory::deviceBackups));
    case Route::protection:
        return countBadge(results, ScanCategory::malware);
    case Route::smartScan:
    case Route::widgets:
    case Route::ruvozEzaz:
    case Route::privacy:
    case Route::applications:
    case Route::performance:
    case Route::maintenance:
    case Route::shredder:
        return std::nullopt;
    }
    return std::nullopt;
}

Sidebar::Sidebar(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model)
{
    setObjectName(QStringLiteral("sidebar"));
    setMinimumWidth(kMinimumWidth);
    setMaximumWidth(kMaximumWidth);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(new BrandBlock(this));

    listContent_ = new RowList(&rows_, this);
    auto* sections = new QVBoxLayout(listContent_);
    sections_ = sections;
    sections->setContentsMargins(8, 0, 8, kListBottomInset);
    sections->setSpacing(kSectionGap);
    for (const QString& section : Routes::sections()) {
        auto* group = new QVBoxLayout;
        group->setSpacing(3);
        auto* heading =
            new RoleLabel(section.toUpper(), Palette::inkTertiary(), TypeStyle::font(10, QFont::Bold), listContent_);
        heading->setObjectName(QStringLiteral("sectionTitle"));
        heading->setContentsMargins(12, 0, 12, 3);
        group->addWidget(heading);
        for (Route route : Routes::allCases) {
            if (harborlite::section(route) != section) {
                continue;
            }
            auto* row = new SidebarRow(route, listContent_);
            rows_.emplace(route, row);
            connect(row, &QAbstractButton::clicked, this, [this, route] { model_.setRoute(route); });
            group->addWidget(row);
        }
        sections->addLayout(group);
    }
    sections->addStretch(1);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("sidebarList"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidgetResizable(true);
    scroll_->viewport()->setAutoFillBackground(false);
    scroll_->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    scroll_->setWidget(listContent_);
    // The wash shows through: setWidget() makes the list fill its background.
    listContent_->setAutoFillBackground(false);
    column->addWidget(scroll_, 1);
    scroll_->viewport()->installEventFilter(this);

    footer_ = new StorageFooter(this);
    auto* footerBox = new QVBoxLayout;
    footerBox->setContentsMargins(12, 12, 12, 12);
    footerBox->addWidget(footer_);
    column->addLayout(footerBox);

    for (auto changed : {&AppModel::routeChanged, &AppModel::resultsChanged, &AppModel::snapshotChanged}) {
        connect(&model_, changed, this, &Sidebar::scheduleRefresh);
    }
    refresh();
}

int Sidebar::openingWidth()
{
    // Wide badges: a byte count in the hundreds of megabytes, a count in the hundreds.
    const QString bytes = QStringLiteral("888.8 MB");
    const QString count = QStringLiteral("888");
    int widest = 0;
    for (const Route route : Routes::allCases) {
        std::optional<QString> sample;
        if (route == Route::cleanup || route == Route::reclaim) {
            sample = bytes;
        } else if (route == Route::largeFiles || route == Route::protection) {
            sample = count;
        }
        widest = std::max(widest, SidebarRow::neededWidth(title(route), sample));
    }
    // The list's own insets, 8 on each side.
    return std::clamp(widest + 16, kIdealWidth, kMaximumWidth);
}

int Sidebar::sectionGap(int available, int content, int sections)
{
    const int gaps = std::max(1, sections - 1);
    const int room = available - content - kListBottomInset;
    return std::clamp(room / gaps, kSmallestSectionGap, kSectionGap);
}

void Sidebar::fitSections()
{
    const int count = static_cast<int>(Routes::sections().size());
    const int atNoGaps = sections_->sizeHint().height() - sections_->spacing() * (count - 1)
        - sections_->contentsMargins().bottom() - sections_->contentsMargins().top();
    const int gap = sectionGap(scroll_->viewport()->height(), atNoGaps, count);
    if (gap != sections_->spacing()) {
        sections_->setSpacing(gap);
    }
}

bool Sidebar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
        fitSections();
    }
    return QWidget::eventFilter(watched, event);
}

QSize Sidebar::sizeHint() const
{
    return {openingWidth(), QWidget::sizeHint().height()};
}

void Sidebar::scheduleRefresh()
{
    refresher_.request();
}

void Sidebar::refresh()
{
    const Route current = model_.route();
    const AppModel::Results& results = model_.results();
    bool selectionMoved = false;
    for (const auto& [route, row] : rows_) {
        selectionMoved = selectionMoved || row->isSelected() != (route == current);
        row->setSelected(route == current);
        row->setBadge(badge(route, results));
    }
    if (selectionMoved) {
        listContent_->update();
    }
    const SystemSnapshot& snapshot = model_.snapshot();
    footer_->setDisk(snapshot.diskFree, snapshot.diskTotal);
}

void Sidebar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::sidebarWash().resolve(Palette::appearance(this)));
}

} // namespace harborlite
