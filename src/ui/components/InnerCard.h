#pragma once

#include "paint/Palette.h"

#include <QWidget>

class QPainter;

namespace harborlite {

// The inner card's two colours: a plain card is the inner fill with a hairline
// border, a highlighted one mint at 0.55 with the accent at 0.35.
struct InnerCardLook {
    PaletteRole fill;
    qreal fillOpacity;
    PaletteRole border;
    qreal borderOpacity;

    bool operator==(const InnerCardLook&) const = default;
};

// Sets its children on a small rounded card inside a larger panel: the fill
// behind, a 0.8 border inside the edge over them. Adds no inset of its own.
class InnerCard : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kBorderWidth = 0.8;

    explicit InnerCard(qreal cornerRadius, bool isHighlighted = false, QWidget* parent = nullptr);

    static InnerCardLook look(bool isHighlighted);
    // The fill and border's colours in `appearance`, as one text.
    static QString surfaceLook(bool isHighlighted, Appearance appearance);
    static void paintFill(QPainter& painter, const QRectF& rect, qreal cornerRadius, bool isHighlighted,
                          Appearance appearance);
    static void paintBorder(QPainter& painter, const QRectF& rect, qreal cornerRadius, bool isHighlighted,
                            Appearance appearance);

    qreal cornerRadius() const { return cornerRadius_; }
    bool isHighlighted() const { return isHighlighted_; }
    void setHighlighted(bool highlighted);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    qreal cornerRadius_;
    bool isHighlighted_;
    QWidget* border_ = nullptr;
};

} // namespace harborlite
