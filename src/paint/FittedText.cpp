#include "paint/FittedText.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace harborlite::FittedText {

qreal scale(qreal textWidth, qreal width, qreal minimumScale)
{
    if (textWidth <= width || textWidth <= 0) {
        return 1;
    }
    return std::max(minimumScale, width / textWidth);
}

void paint(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, qreal minimumScale,
           Qt::Alignment alignment)
{
    QFont scaled = font;
    const qreal fitted = scale(QFontMetricsF(font).horizontalAdvance(text), rect.width(), minimumScale);
    if (fitted < 1) {
        scaled.setPointSizeF(font.pointSizeF() * fitted);
    }
    const QFontMetricsF metrics(scaled);
    painter.setFont(scaled);
    painter.drawText(rect, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine),
                     metrics.elidedText(text, Qt::ElideRight, rect.width()));
}

} // namespace harborlite::FittedText
