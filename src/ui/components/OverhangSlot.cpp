#include "ui/components/OverhangSlot.h"

#include <QEvent>

#include <algorithm>

namespace harborlite {

OverhangSlot::OverhangSlot(QWidget* content, const QMargins& overhang, QWidget* parent)
    : QWidget(parent)
    , content_(content)
    , overhang_(overhang)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    content_->setParent(parentWidget());
    content_->installEventFilter(this);
}

OverhangSlot::~OverhangSlot()
{
    delete content_;
}

QSize OverhangSlot::sizeHint() const
{
    if (!content_) {
        return {};
    }
    const QSize grown = content_->sizeHint();
    const int width = std::max(0, grown.width() - overhang_.left() - overhang_.right());
    return {width, heightForWidth(width)};
}

QSize OverhangSlot::minimumSizeHint() const
{
    if (!content_) {
        return {};
    }
    return {std::max(0, content_->minimumSizeHint().width() - overhang_.left() - overhang_.right()), 0};
}

bool OverhangSlot::hasHeightForWidth() const
{
    return true;
}

int OverhangSlot::heightForWidth(int width) const
{
    if (!content_) {
        return 0;
    }
    const int grownWidth = width + overhang_.left() + overhang_.right();
    const int wanted =
        content_->hasHeightForWidth() ? content_->heightForWidth(grownWidth) : content_->sizeHint().height();
    const int grown = std::clamp(wanted, content_->minimumHeight(), content_->maximumHeight());
    return std::max(0, grown - overhang_.top() - overhang_.bottom());
}

bool OverhangSlot::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        if (content_) {
            content_->setParent(parentWidget());
            content_->setVisible(isVisible());
        }
        follow();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        follow();
        break;
    case QEvent::Show:
        if (content_) {
            follow();
            content_->show();
        }
        break;
    case QEvent::Hide:
        if (content_) {
            content_->hide();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool OverhangSlot::eventFilter(QObject* watched, QEvent* event)
{
    // The content's own layout asked for another size, or its limits resized
    // it (a widget without a layout only resizes): the slot follows.
    const bool resizedItself =
        event->type() == QEvent::Resize && content_->size() != geometry().marginsAdded(overhang_).size();
    if (watched == content_ && (event->type() == QEvent::LayoutRequest || resizedItself)) {
        updateGeometry();
    }
    return QWidget::eventFilter(watched, event);
}

void OverhangSlot::follow()
{
    if (content_) {
        content_->setGeometry(geometry().marginsAdded(overhang_));
    }
}

} // namespace harborlite
