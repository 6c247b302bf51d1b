#include "ui/cleaning/SmartScanView.h"

#include "model/MonitorFeed.h"
#include "model/ScanSession.h"
#include "paint/BrandMark.h"
#include "paint/Palette.h"
#include "ui/cleaning/CategorySummaryCard.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/ScreenServices.h"
#include "ui/components/StatTile.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/TypeStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLayout>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

namespace harborlite {

namespace {

constexpr qreal kDialCornerRadius = 28;
constexpr int kDialVerticalPadding = 26;
constexpr int kDialSpacing = 20;
constexpr int kRingTopPadding = 6;
constexpr int kCenterSpacing = 2;
constexpr int kButtonSpacing = 10;
constexpr int kStripSpacing = 12;
constexpr int kBrandSide = 62;
constexpr int kReadyGap = 6;
constexpr int kMessageMaxWidth = 180;

// Draws the dial's soft shadow on the page behind it: the shadow reaches
// further than the column's padding, so the dial cannot draw it itself.
class DialShadow : public QObject {
public:
    DialShadow(QWidget* page, QWidget* dial)
        : QObject(page)
        , page_(page)
        , dial_(dial)
    {
        page->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == page_ && event->type() == QEvent::Paint && dial_ && dial_->isVisible()) {
            QPainter painter(page_);
            const QRectF surface(dial_->mapTo(page_, QPoint(0, 0)), dial_->size());
            shadow_.paint(painter, surface, kDialCornerRadius,
                          Palette::accentDeep().resolve(Palette::appearance(page_)));
        }
        return false;
    }

private:
    QWidget* page_;
    QPointer<QWidget> dial_;
    SoftShadow shadow_{26, 0.13};
};

QFont secondLineFont(DialCenter::Kind kind)
{
    if (kind == DialCenter::Kind::progress) {
        return TypeStyle::font(11.5, QFont::Normal);
    }
    return TypeStyle::font(12, QFont::Medium);
}

// The dial's two buttons are the page's main controls, a size up from the rest.
QFont largeControlFont()
{
    return TypeStyle::font(14, QFont::DemiBold);
}

} // namespace

SmartScanView::SmartScanView(ScanSession& scans, MonitorFeed& feed, std::function<void(Route)> open,
                             const ScreenServices& services, QWidget* parent)
    : QWidget(parent)
    , scans_(scans)
    , feed_(feed)
    , open_(std::move(open))
{
    Q_UNUSED(services);
    setObjectName(QStringLiteral("smartScanView"));

    frame_ = new ScreenFrame({kMaxColumnWidth, kColumnSpacing, kPadding});
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame_);

    auto* header =
        new ScreenHeader(tr("Smart Scan"), tr("One pass across junk, leftovers, threats and privacy traces."),
                         QStringLiteral("viewfinder"));
    header->setObjectName(QStringLiteral("header"));
    frame_->addWidget(header);
    QWidget* dial = buildDial();
    frame_->addWidget(dial);
    new DialShadow(frame_->columnWidget()->parentWidget(), dial);
    frame_->addWidget(buildGrid());
    frame_->addWidget(buildStrip());
    // A short page keeps to the top; the header and the dial never grow.
    frame_->addStretch(1);

    for (auto changed :
         {&ScanSession::resultsChanged, &ScanSession::runningCategoriesChanged, &ScanSession::isSmartScanningChanged,
          &ScanSession::smartScanProgressChanged, &ScanSession::smartScanMessageChanged,
          &ScanSession::lastSmartScanChanged, &ScanSession::cleanupModeChanged, &ScanSession::isCleaningChanged}) {
        connect(&scans_, changed, this, &SmartScanView::scheduleRefresh);
    }
    connect(&scans_, &ScanSession::selectionChanged, this, &SmartScanView::scheduleRefresh);
    connect(&feed_, &MonitorFeed::snapshotChanged, this, &SmartScanView::scheduleRefresh);
    refresh();
}

QWidget* SmartScanView::buildDial()
{
    auto* panel = new GlassPanel(kDialCornerRadius);
    panel->setObjectName(QStringLiteral("dial"));
    auto* stack = new QVBoxLayout(panel);
    stack->setContentsMargins(0, kDialVerticalPadding + kRingTopPadding, 0, kDialVerticalPadding);
    stack->setSpacing(kDialSpacing);

    auto* ringArea = new QWidget;
    ringArea->setFixedSize(kRingSide, kRingSide);
    ring_ = new ProgressRing(0, kRingLineWidth, false, ringArea);
    ring_->setObjectName(QStringLiteral("dialRing"));
    ring_->setGeometry(0, 0, kRingSide, kRingSide);
    auto* center = new QWidget(ringArea);
    center->setGeometry(0, 0, kRingSide, kRingSide);
    auto* centerStack = new QVBoxLayout(center);
    centerStack->setContentsMargins(0, 0, 0, 0);
    centerStack->setSpacing(kCenterSpacing);
    centerStack->addStretch(1);
    brandMark_ = new BrandMark(0.2, Palette::accent());
    brandMark_->setObjectName(QStringLiteral("dialBrandMark"));
    brandMark_->setFixedSize(kBrandSide, kBrandSide);
    centerStack->addWidget(brandMark_, 0, Qt::AlignHCenter);
    firstLine_ = new RoleLabel(QString(), Palette::ink(), TypeStyle::heroNumber());
    firstLine_->setObjectName(QStringLiteral("dialValue"));
    firstLine_->setAlignment(Qt::AlignCenter);
    // The number takes the ring's width and centres itself, so a longer one
    // never waits for a new layout pass to fit.
    centerStack->addWidget(firstLine_);
    secondLineGap_ = new QWidget;
    secondLineGap_->setFixedHeight(kReadyGap - kCenterSpacing);
    centerStack->addWidget(secondLineGap_);
    secondLine_ = new RoleLabel(QString(), Palette::inkSecondary(), secondLineFont(DialCenter::Kind::ready));
    secondLine_->setObjectName(QStringLiteral("dialCaption"));
    secondLine_->setAlignment(Qt::AlignCenter);
    centerStack->addWidget(secondLine_, 0, Qt::AlignHCenter);
    centerStack->addStretch(1);
    stack->addWidget(ringArea, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kButtonSpacing);
    buttons->addStretch(1);
    primary_ = new GlassCompatButton(tr("Scan"), true, Palette::accent());
    primary_->setObjectName(QStringLiteral("scanButton"));
    primary_->setFont(largeControlFont());
    connect(primary_, &QAbstractButton::clicked, this, &SmartScanView::pressPrimary);
    buttons->addWidget(primary_);
    review_ = new GlassCompatButton(tr("Review Details"), false, Palette::accent());
    review_->setObjectName(QStringLiteral("reviewButton"));
    review_->setFont(largeControlFont());
    connect(review_, &QAbstractButton::clicked, this, [this] { open_(Route::cleanup); });
    buttons->addWidget(review_);
    buttons->addStretch(1);
    stack->addLayout(buttons);

    lastScan_ = new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal));
    lastScan_->setObjectName(QStringLiteral("lastScanLine"));
    lastScan_->setAlignment(Qt::AlignCenter);
    stack->addWidget(lastScan_);
    return panel;
}

QWidget* SmartScanView::buildGrid()
{
    grid_ = new QWidget;
    grid_->setObjectName(QStringLiteral("summaryGrid"));
    auto* layout = new AdaptiveGrid(kCardMinColumn, kGridSpacing, grid_);
    for (ScanCategory category : ScanCategories::smartScan) {
        auto* card = new CategorySummaryCard(category, std::nullopt, false,
                                             [this, category] { open_(SmartScan::cardRoute(category)); });
        layout->addWidget(card);
        cards_[category] = card;
    }
    return grid_;
}

QWidget* SmartScanView::buildStrip()
{
    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("systemStrip"));
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kStripSpacing);
    const std::array<StatTileLook, 3> looks = SmartScan::systemStrip(feed_.snapshot());
    for (std::size_t index = 0; index < looks.size(); ++index) {
        const StatTileLook& look = looks[index];
        tiles_[index] =
            new StatTile(look.title, look.value, look.caption, look.fraction, look.symbol, Palette::color(look.tint));
        tiles_[index]->setObjectName(QStringLiteral("stripTile") + QString::number(index));
        row->addWidget(tiles_[index], 1, Qt::AlignVCenter);
    }
    return strip;
}

void SmartScanView::pressPrimary()
{
    if (scans_.isSmartScanning()) {
        scans_.cancelScan();
    } else {
        scans_.startSmartScan();
    }
}

void SmartScanView::scheduleRefresh()
{
    refresher_.request();
}

void SmartScanView::applyCenter(const DialCenter& center)
{
    const bool ready = center.kind == DialCenter::Kind::ready;
    brandMark_->setVisible(ready);
    secondLineGap_->setVisible(ready);
    firstLine_->setVisible(!ready);
    firstLine_->setText(center.firstLine);
    secondLine_->setText(center.secondLine);
    secondLine_->setColor(Palette::color(center.secondLineRole));
    secondLine_->setFont(secondLineFont(center.kind));
    const bool progress = center.kind == DialCenter::Kind::progress;
    secondLine_->setElidedOnOneLine(progress);
    secondLine_->setMaximumWidth(progress ? kMessageMaxWidth : QWIDGETSIZE_MAX);
    // Lay the centre out at once rather than on the next pass, so no frame
    // shows the new message at the old one's width.
    secondLine_->parentWidget()->layout()->activate();
}

void SmartScanView::refresh()
{
    refresher_.settle();
    shown_ = SmartScan::present(SmartScanInputs::of(scans_));

    ring_->setIndeterminate(shown_.ringIsIndeterminate);
    ring_->setWorking(shown_.ringShowsWork);
    ring_->setProgress(shown_.ringProgress);
    applyCenter(shown_.center);
    primary_->setText(shown_.primary.title);
    primary_->setTint(Palette::color(shown_.primary.tint));
    review_->setVisible(shown_.showsReviewDetails);
    lastScan_->setVisible(shown_.lastScanLine.has_value());
    lastScan_->setText(shown_.lastScanLine.value_or(QString()));

    grid_->setVisible(shown_.showsSummary);
    for (auto& [category, card] : cards_) {
        card->setState(scans_.result(category), scans_.runningCategories().contains(category));
    }
    const std::array<StatTileLook, 3> strip = SmartScan::systemStrip(feed_.snapshot());
    for (std::size_t index = 0; index < strip.size(); ++index) {
        tiles_[index]->setValue(strip[index].value);
        tiles_[index]->setCaption(strip[index].caption);
        tiles_[index]->setFraction(strip[index].fraction);
    }

    if (!shown_.showsSummary) {
        frame_->setBottomBar(nullptr);
        return;
    }
    auto* bar = qobject_cast<PrimaryActionBar*>(frame_->bottomBar());
    if (!bar) {
        bar = new PrimaryActionBar(
            shown_.bar.title, shown_.bar.detail, shown_.bar.buttonTitle, false, false, Palette::color(shown_.bar.tint),
            [this] {
                scans_.clean(QList<ScanCategory>(ScanCategories::smartScan.begin(), ScanCategories::smartScan.end()));
            });
        bar->setObjectName(QStringLiteral("actionBar"));
        bar->button()->setObjectName(QStringLiteral("cleanButton"));
        frame_->setBottomBar(bar);
    }
    bar->setTitle(shown_.bar.title);
    bar->setDetail(shown_.bar.detail);
    bar->setButtonState(shown_.bar.isEnabled, shown_.bar.isBusy);
}

PrimaryActionBar* SmartScanView::actionBar() const
{
    return qobject_cast<PrimaryActionBar*>(frame_->bottomBar());
}

} // namespace harborlite
