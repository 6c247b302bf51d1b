#pragma once

#include "paint/Palette.h"

#include <QString>
#include <QWidget>

namespace harborlite {

// A small two-line figure: the title in upper case over the value, which
// shrinks to 0.7 of its size before it is cut.
class LabelledFigure : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 1;
    static constexpr qreal kValueMinimumScale = 0.7;

    LabelledFigure(const QString& title, const QString& value, const AdaptiveColor& color, QWidget* parent = nullptr);

    // The title as drawn: in upper case ("Down" shows as "DOWN").
    static QString shownTitle(const QString& title);

    const QString& title() const { return title_; }
    const QString& value() const { return value_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QString value_;
    AdaptiveColor color_;
};

} // namespace harborlite
