#pragma once

#include "paint/Palette.h"

#include <QString>
#include <QWidget>

namespace harborlite {

// A title and a detail on one line over a 5-high capsule bar filled to the
// fraction, never narrower than 4 so that an empty bar still shows its start.
class WidgetBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBarHeight = 5;
    static constexpr int kSpacing = 4;
    static constexpr qreal kMinimumFill = 4;
    static constexpr qreal kTrackOpacity = 0.16;

    WidgetBar(const QString& title, const QString& detail, double fraction, const AdaptiveColor& tint,
              QWidget* parent = nullptr);

    // The fill's width in a track `trackWidth` wide: the larger of 4 and the
    // track times the fraction clamped to 0...1 (not a number counts as 0).
    static qreal fillWidth(qreal trackWidth, double fraction);

    const QString& title() const { return title_; }
    const QString& detail() const { return detail_; }
    double fraction() const { return fraction_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QString detail_;
    double fraction_;
    AdaptiveColor tint_;
};

} // namespace harborlite
