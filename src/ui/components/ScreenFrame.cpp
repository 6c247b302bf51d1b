#include "ui/components/ScreenFrame.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

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

} // namespace

ScreenFrame::ScreenFrame(Metrics metrics, Scrolling scrolling, QWidget* parent)
    : QWidget(parent)
    , metrics_(metrics)
    , columnWidget_(new QWidget)
    , column_(new QVBoxLayout(columnWidget_))
    , barSlot_(new QWidget)
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

    barSlot_->setObjectName(QStringLiteral("bottomBarSlot"));
    auto* slotLayout = new QVBoxLayout(barSlot_);
    slotLayout->setContentsMargins(kBarSidePadding, 0, kBarSidePadding, kBarBottomPadding);
    slotLayout->setSpacing(0);
    barSlot_->hide();
    outer->addWidget(barSlot_);
}

void ScreenFrame::addWidget(QWidget* widget, int stretch)
{
    column_->insertWidget(column_->count() - 1, widget, stretch);
}

void ScreenFrame::addStretch(int stretch)
{
    column_->insertStretch(column_->count() - 1, stretch);
}

void ScreenFrame::setBottomBar(QWidget* bar)
{
    if (bar == bar_) {
        return;
    }
    if (bar_) {
        barSlot_->layout()->removeWidget(bar_);
        bar_->deleteLater();
        bar_->hide();
    }
    bar_ = bar;
    if (bar_) {
        barSlot_->layout()->addWidget(bar_);
        bar_->show();
    }
    barSlot_->setVisible(bar_ != nullptr);
}

} // namespace harborlite
