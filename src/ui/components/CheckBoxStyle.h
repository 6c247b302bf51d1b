#pragma once

#include <QProxyStyle>

class QCheckBox;

namespace harborlite {

// Draws a standard check box's box as the kit's tri-state box (Fusion for the
// rest): a card-coloured rounded square with a hairline edge, filled with the
// accent and a white tick when checked. Its empty box keeps a visible edge in
// the dark appearance, where Fusion's outline, darker than the window, is lost.
class CheckBoxStyle : public QProxyStyle {
    Q_OBJECT

public:
    CheckBoxStyle();

    // Gives the check box this style, parented to it.
    static void apply(QCheckBox* box);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

} // namespace harborlite
