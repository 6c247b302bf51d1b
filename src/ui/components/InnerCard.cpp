#include "ui/components/InnerCard.h"

#include "ui/paintcache/PictureKey.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Shapes.h"

#include <QChildEvent>
#include <QPainter>

namespace harborlite {

namespace {

// The border lies over the children: a transparent sibling kept on top.
class CardBorder : public QWidget {
public:
    explicit CardBorder(InnerCard* card)
        : QWidget(card)
        , card_(card)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        InnerCard::paintBorder(painter, rect(), card_->cornerRadius(), card_->isHighlighted(),
                               Palette::appearance(this));
    }

private:
    InnerCard* card_;
};

// The fill and border colours of a card's look in `appearance`.
QColor fillColor(bool isHighlighted, Appearance appearance)
{
    const InnerCardLook chosen = InnerCard::look(isHighlighted);
    return Shapes::faded(Palette::color(chosen.fill).resolve(appearance), chosen.fillOpacity);
}

QColor borderColor(bool isHighlighted, Appearance appearance)
{
    const InnerCardLook chosen = InnerCard::look(isHighlighted);
    return Shapes::faded(Palette::color(chosen.border).resolve(appearance), chosen.borderOpacity);
}

} // namespace

InnerCard::InnerCard(qreal cornerRadius, bool isHighlighted, QWidget* parent)
    : QWidget(parent)
    , cornerRadius_(cornerRadius)
    , isHighlighted_(isHighlighted)
{
    border_ = new CardBorder(this);
}

InnerCardLook InnerCard::look(bool isHighlighted)
{
    if (isHighlighted) {
        return {PaletteRole::mint, 0.55, PaletteRole::accent, 0.35};
    }
    return {PaletteRole::innerFill, 1, PaletteRole::hairline, 1};
}

QString InnerCard::surfaceLook(bool isHighlighted, Appearance appearance)
{
    return QStringLiteral("inner-%1-%2")
        .arg(fillColor(isHighlighted, appearance).rgba())
        .arg(borderColor(isHighlighted, appearance).rgba());
}

void InnerCard::paintFill(QPainter& painter, const QRectF& rect, qreal cornerRadius, bool isHighlighted,
                          Appearance appearance)
{
    SurfaceCache::fill(painter, rect, cornerRadius, fillColor(isHighlighted, appearance));
}

void InnerCard::paintBorder(QPainter& painter, const QRectF& rect, qreal cornerRadius, bool isHighlighted,
                            Appearance appearance)
{
    const QColor border = borderColor(isHighlighted, appearance);
    SurfaceCache::draw(painter, rect, cornerRadius, QStringLiteral("inner-border-%1").arg(border.rgba()),
                       [&border](QPainter& onto, const QRectF& surface, qreal radius) {
                           onto.save();
                           onto.setRenderHint(QPainter::Antialiasing);
                           Shapes::strokeInside(onto, surface, radius, border, kBorderWidth);
                           onto.restore();
                       });
}

void InnerCard::setHighlighted(bool highlighted)
{
    if (highlighted != isHighlighted_) {
        isHighlighted_ = highlighted;
        update();
        border_->update();
    }
}

void InnerCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintFill(painter, rect(), cornerRadius_, isHighlighted_, Palette::appearance(this));
}

void InnerCard::resizeEvent(QResizeEvent* event)
{
    border_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void InnerCard::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->type() == QEvent::ChildAdded && border_ != nullptr && event->child() != border_) {
        border_->raise();
    }
}

} // namespace harborlite
