#include "ui/monitor/TopStatsBar.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/HairlineDivider.h"
#include "ui/components/RoleLabel.h"
#include "ui/monitor/MonitorChip.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>

#include <algorithm>

namespace harborlite {

namespace {

// The glass button with a symbol for its label.
class SymbolButton : public GlassCompatButton {
public:
    SymbolButton(const QString& symbol, qreal symbolSide, QWidget* parent)
        : GlassCompatButton(QString(), false, Palette::accent(), parent)
        , symbol_(symbol)
        , symbolSide_(symbolSide)
    {
        setMinimumLabelWidth(symbolSide);
        setProperty("symbol", symbol);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        GlassCompatButton::paintEvent(event);
        const QColor color = GlassCompatButtonStyle::labelColor(false, Palette::appearance(this));
        const qreal ratio = devicePixelRatioF();
        if (cached_.isNull() || cachedColor_ != color || cached_.devicePixelRatio() != ratio) {
            cached_ = Symbols::pixmap(symbol_, symbolSide_, color, ratio);
            cachedColor_ = color;
        }
        QRectF square(0, 0, symbolSide_, symbolSide_);
        square.moveCenter(QRectF(rect()).center());
        QPainter painter(this);
        painter.drawPixmap(square.topLeft(), cached_);
    }

private:
    QString symbol_;
    qreal symbolSide_;
    // The symbol as last drawn, kept while its colour stays.
    QPixmap cached_;
    QColor cachedColor_;
};

} // namespace

TopStatsBar::TopStatsBar(QWidget* parent)
    : QWidget(parent)
    , surface_(kCornerRadius, 10, 0.07)
{
    setObjectName(QStringLiteral("topStatsBar"));
    auto* bar = new QHBoxLayout(this);
    bar->setContentsMargins(surface_.margins() + QMargins(5, 3, 5, 3));
    bar->setSpacing(4);

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("chips"));
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(true);
    scrollArea_->viewport()->setAutoFillBackground(false);
    strip_ = new QWidget;
    stripLayout_ = new QHBoxLayout(strip_);
    stripLayout_->setContentsMargins(0, 0, 0, 0);
    stripLayout_->setSpacing(4);
    emptyText_ =
        new RoleLabel(tr("No monitors selected"), Palette::inkTertiary(), TypeStyle::font(11, QFont::Normal), strip_);
    emptyText_->setObjectName(QStringLiteral("emptyText"));
    emptyText_->setContentsMargins(11, 9, 11, 9);
    stripLayout_->addWidget(emptyText_);
    stripLayout_->addStretch(1);
    scrollArea_->setWidget(strip_);
    // The glass shows through: setWidget() makes the strip fill its background.
    strip_->setAutoFillBackground(false);
    bar->addWidget(scrollArea_, 1);

    settingsButton_ = new SymbolButton(QStringLiteral("slider.horizontal.3"), 11, this);
    settingsButton_->setObjectName(QStringLiteral("settingsButton"));
    settingsButton_->setToolTip(tr("Choose which monitors appear here"));
    settingsButton_->setAccessibleName(settingsButton_->toolTip());
    bar->addWidget(settingsButton_, 0, Qt::AlignVCenter);
    bar->addSpacing(6);
    connect(settingsButton_, &QAbstractButton::clicked, this, &TopStatsBar::settingsRequested);

    setChosenKinds(std::vector<MonitorKind>(MonitorKinds::defaultTopBar.begin(), MonitorKinds::defaultTopBar.end()));
}

std::vector<MonitorKind> TopStatsBar::shownKinds(const std::vector<MonitorKind>& chosen)
{
    std::vector<MonitorKind> shown;
    std::copy_if(chosen.begin(), chosen.end(), std::back_inserter(shown),
                 [](MonitorKind kind) { return kind != MonitorKind::processes; });
    return shown;
}

void TopStatsBar::setChosenKinds(const std::vector<MonitorKind>& chosen)
{
    std::vector<MonitorKind> shown = shownKinds(chosen);
    if (shown == kinds_) {
        return;
    }
    kinds_ = std::move(shown);
    rebuildChips();
}

void TopStatsBar::rebuildChips()
{
    for (QWidget* item : stripItems_) {
        delete item;
    }
    stripItems_.clear();
    chips_.clear();
    emptyText_->setHidden(!kinds_.empty());
    int index = 0;
    for (const MonitorKind kind : kinds_) {
        if (index > 0) {
            auto* divider = new HairlineDivider(Qt::Vertical, strip_);
            divider->setFixedHeight(kDividerHeight);
            stripLayout_->insertWidget(stripLayout_->count() - 1, divider, 0, Qt::AlignVCenter);
            stripItems_.push_back(divider);
        }
        auto* chip = new MonitorChip(kind, true, strip_);
        chip->setReading(monitorReading(kind, inputs_));
        stripLayout_->insertWidget(stripLayout_->count() - 1, chip, 0, Qt::AlignVCenter);
        stripItems_.push_back(chip);
        chips_.push_back(chip);
        ++index;
    }
    // A child added to a strip already on screen stays hidden until the next
    // turn of the event loop, and a hidden child adds nothing to the height.
    for (QWidget* item : stripItems_) {
        item->show();
    }
    scrollArea_->setFixedHeight(strip_->sizeHint().height());
}

void TopStatsBar::setInputs(const MonitorInputs& inputs)
{
    inputs_ = inputs;
    for (MonitorChip* chip : chips_) {
        chip->setReading(monitorReading(chip->kind(), inputs_));
    }
}

void TopStatsBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    surface_.paint(painter, *this);
}

} // namespace harborlite
