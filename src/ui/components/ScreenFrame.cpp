#include "ui/components/ScreenFrame.h"

#include "ui/components/PrimaryActionBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

namespace {

// Centres the column and keeps it within its maximum width; wider windows
// leave equal margins on both sides.
QWidget* centring(QWidget* column, int maxWidth)
{
    auto* holder = new QWidget;
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    column->setMaximumWidth(maxWidth);
    // The column takes all the width up to its maximum; the two spacers share
    // only what is left beyond it.
    constexpr int columnWeight = 1 << 20;
    row->addStretch(1);
    row->addWidget(column, columnWeight);
    row->addStretch(1);
    return holder;
}

// The floating bar's shadow, cast on the content below it. It lets the
// pointer through, so what lies under the shadow can still be clicked.
class BarShadow : public QWidget {
public:
    explicit BarShadow(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("bottomBarShadow"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

    void follow(PrimaryActionBar* bar, const QRect& surface)
    {
        // The bar asks to be placed whenever its texts change; the shadow
        // only changes with the bar or its place.
        if (bar == bar_ && surface == surface_) {
            return;
        }
        bar_ = bar;
        surface_ = surface;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!bar_) {
            return;
        }
        QPainter painter(this);
        bar_->paintShadow(painter, QRectF(surface_.translated(-pos())));
    }

private:
    QPointer<PrimaryActionBar> bar_;
    QRect surface_;
};

constexpr int kShadowRoom = 40;

// A bar's height at `width`: what its layout asks for (more when its texts
// wrap), or what it was given.
int heightOf(const QWidget& bar, int width)
{
    const int wanted = bar.hasHeightForWidth() ? bar.heightForWidth(width) : bar.sizeHint().height();
    return std::max(wanted, bar.minimumHeight());
}

} // namespace

ScreenFrame::ScreenFrame(Metrics metrics, Scrolling scrolling, QWidget* parent)
    : QWidget(parent)
    , metrics_(metrics)
    , columnWidget_(new QWidget)
    , column_(new QVBoxLayout(columnWidget_))
{
    columnWidget_->setObjectName(QStringLiteral("screenColumn"));
    column_->setContentsMargins(metrics.padding, metrics.padding, metrics.padding, metrics.padding);
    column_->setSpacing(metrics.spacing);
    // Extra height goes below the last element unless one asks for it with a stretch.
    column_->addStretch(0);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    QWidget* centred = centring(columnWidget_, metrics.maxWidth);
    centredRow_ = centred->layout();
    if (scrolling == Scrolling::scrolls) {
        scrollArea_ = new QScrollArea;
        scrollArea_->setObjectName(QStringLiteral("screenScrollArea"));
        scrollArea_->setFrameShape(QFrame::NoFrame);
        scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollArea_->setWidgetResizable(true);
        scrollArea_->viewport()->setAutoFillBackground(false);
        scrollArea_->setWidget(centred);
        // The window's canvas shows through; setWidget() turns the fill on.
        centred->setAutoFillBackground(false);
        outer->addWidget(scrollArea_, 1);
    } else {
        outer->addWidget(centred, 1);
    }
    barShadow_ = new BarShadow(this);
}

void ScreenFrame::addWidget(QWidget* widget, int stretch)
{
    column_->insertWidget(column_->count() - 1, widget, stretch);
}

void ScreenFrame::addStretch(int stretch)
{
    column_->insertStretch(column_->count() - 1, stretch);
}

QRect ScreenFrame::barRect(const QSize& size, const Metrics& metrics, int barHeight)
{
    const int column = std::min(size.width(), metrics.maxWidth);
    const int left = (size.width() - column) / 2 + metrics.padding;
    const int width = std::max(0, column - 2 * metrics.padding);
    return {left, size.height() - kBarBottomPadding - barHeight, width, barHeight};
}

int ScreenFrame::bottomInset() const
{
    return bar_ ? heightOf(*bar_, barRect(size(), metrics_, 0).width()) + kBarBottomPadding : 0;
}

void ScreenFrame::setBottomBar(QWidget* bar)
{
    if (bar == bar_) {
        return;
    }
    if (bar_) {
        bar_->removeEventFilter(this);
        bar_->deleteLater();
        bar_->hide();
    }
    bar_ = bar;
    auto* primary = qobject_cast<PrimaryActionBar*>(bar_);
    if (primary) {
        primary->setShadowDrawnOutside(true);
    }
    if (bar_) {
        bar_->setParent(this);
        bar_->installEventFilter(this);
        bar_->show();
        bar_->raise();
    }
    barShadow_->setVisible(primary != nullptr);
    placeBar();
}

void ScreenFrame::placeBar()
{
    centredRow_->setContentsMargins(0, 0, 0, bottomInset());
    if (!bar_) {
        static_cast<BarShadow*>(barShadow_)->follow(nullptr, {});
        return;
    }
    const QRect surface = barRect(size(), metrics_, heightOf(*bar_, barRect(size(), metrics_, 0).width()));
    bar_->setGeometry(surface);
    barShadow_->setGeometry(surface.adjusted(-kShadowRoom, -kShadowRoom, kShadowRoom, kShadowRoom));
    static_cast<BarShadow*>(barShadow_)->follow(qobject_cast<PrimaryActionBar*>(bar_), surface);
    barShadow_->raise();
    bar_->raise();
}

void ScreenFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeBar();
}

bool ScreenFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bar_ && event->type() == QEvent::LayoutRequest) {
        placeBar();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace harborlite
